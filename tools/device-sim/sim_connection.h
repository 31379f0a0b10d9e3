#pragma once

#include "pv_day.h"
#include "sim_options.h"

#include <QByteArray>
#include <QObject>
#include <QTextStream>
#include <QTimer>

class QTcpSocket;

namespace orvex {

// One client of the simulator: sends it the frames of a PV day at the chosen
// rate, misbehaving as the options ask, and prints each command line it sends.
// Owns the socket; deletes itself when the client is gone.
class SimConnection : public QObject {
  Q_OBJECT

 public:
  // Takes ownership of socket. `out` must outlive the connection.
  SimConnection(QTcpSocket* socket, const SimOptions& options, QTextStream& out,
                QObject* parent = nullptr);

 private:
  void onFrameTick();
  void writeFrames(const QByteArray& bytes);
  void writeDelayedPart();
  void end();
  void readCommands();
  void printCommand(const QByteArray& line, bool terminated);
  void printLine(const QString& text);

  QTcpSocket* socket_;
  const SimOptions options_;
  QTextStream& out_;
  const QString peer_;
  const PvDay day_;
  QTimer frameTimer_;
  QTimer splitTimer_;
  quint64 framesMade_ = 0;
  QByteArray gathered_;     // frames held back for a burst
  QByteArray delayedPart_;  // the second part of a split write
  QByteArray commandLine_;  // received bytes of a line not yet ended
};

}  // namespace orvex
