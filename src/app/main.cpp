// Program entry: the application object, then the windows in their fixed order
// (see ApplicationWindows), then the message loop until the main window closes.
#include "app/windows.h"

#include <QApplication>

#include <clocale>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt switched the C library to the user's locale; numbers handled by the C
  // library stay in the C locale, user-facing ones go through QLocale.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("orvex-controller"));
  QApplication::setApplicationVersion(QStringLiteral(ORVEX_VERSION));
  // Closing the main window ends the program, whatever else is open.
  QApplication::setQuitOnLastWindowClosed(false);

  orvex::ApplicationWindows windows;
  QObject::connect(windows.main(), &orvex::TMain::closed, &app, &QApplication::quit);
  windows.main()->show();
  return QApplication::exec();
}
