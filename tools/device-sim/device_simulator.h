#pragma once

#include "sim_options.h"

#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTextStream>

namespace orvex {

// The simulated device: listens on every interface (127.0.0.1 included) and
// serves each client with a SimConnection. GUI or main thread only.
class DeviceSimulator : public QObject {
  Q_OBJECT

 public:
  // `out` receives one line per event and must outlive the simulator.
  DeviceSimulator(const SimOptions& options, QTextStream& out, QObject* parent = nullptr);

  // Starts listening; the error text when the port cannot be had.
  bool listen(QString* error);
  // The port listened on (the chosen one when the options asked for any).
  quint16 port() const { return server_.serverPort(); }

 private:
  void acceptClients();

  const SimOptions options_;
  QTextStream& out_;
  QTcpServer server_;
};

}  // namespace orvex
