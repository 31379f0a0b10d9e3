// orvex-device-sim: a stand-in for the PV monitoring unit on TCP, for demos
// and for the client's integration tests. See --help.

#include "device_simulator.h"
#include "interrupt_watcher.h"
#include "sim_options.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <variant>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("orvex-device-sim"));
  QTextStream out(stdout);
  QTextStream err(stderr);

  const auto parsed = orvex::ParseSimOptions(QCoreApplication::arguments());
  if (const auto* help = std::get_if<orvex::SimHelp>(&parsed)) {
    out << help->text << Qt::flush;
    return 0;
  }
  if (const auto* error = std::get_if<QString>(&parsed)) {
    err << *error << Qt::endl;
    return 2;
  }
  const auto& options = std::get<orvex::SimOptions>(parsed);

  orvex::InterruptWatcher interrupts;
  orvex::DeviceSimulator simulator(options, out);
  QString listenError;
  if (!simulator.listen(&listenError)) {
    err << listenError << Qt::endl;
    return 1;
  }
  QObject::connect(&interrupts, &orvex::InterruptWatcher::interrupted, &app,
                   &QCoreApplication::quit);
  out << "listening on port " << simulator.port() << Qt::endl;
  const int status = app.exec();
  out << "stopped" << Qt::endl;
  return status;
}
