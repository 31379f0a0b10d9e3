#include "device_simulator.h"

#include "sim_connection.h"

#include <QTcpSocket>

namespace orvex {

DeviceSimulator::DeviceSimulator(const SimOptions& options, QTextStream& out, QObject* parent)
    : QObject(parent), options_(options), out_(out) {
  connect(&server_, &QTcpServer::newConnection, this, &DeviceSimulator::acceptClients);
}

bool DeviceSimulator::listen(QString* error) {
  if (server_.listen(QHostAddress::Any, options_.port)) return true;
  *error =
      QStringLiteral("Cannot listen on port %1: %2").arg(options_.port).arg(server_.errorString());
  return false;
}

void DeviceSimulator::acceptClients() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    new SimConnection(socket, options_, out_, this);
  }
}

}  // namespace orvex
