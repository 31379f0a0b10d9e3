#pragma once

#include <QByteArray>
#include <QString>

#include <termios.h>

namespace orvex::test {

// A pseudo-terminal pair standing in for the device's serial port: the code
// under test opens the slave by its path, the test reads what it sent from the
// master. The test keeps the slave open too, so the pair lives between opens
// and its line settings can be read while the port is open.
class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool isValid() const { return master_ >= 0; }
  // The slave's path, "/dev/pts/<n>", which QSerialPort takes as a port name.
  QString portName() const { return portName_; }

  // What the port has sent: waits until `count` bytes have come or `timeoutMs`
  // has passed, and returns what came.
  QByteArray Read(qsizetype count, int timeoutMs = 3000);
  // Everything sent so far, once nothing more has come for `quietMs`.
  QByteArray ReadAll(int quietMs = 150);

  // The line settings of the terminal as the port left them, and its rate in bit/s.
  termios LineSettings() const;
  int OutputRate() const;

  // Fills the terminal's output until it takes no more, as a device that has
  // stopped reading would; returns the bytes it took.
  qint64 StopReading();

 private:
  int master_ = -1;
  int slave_ = -1;
  QString portName_;
};

}  // namespace orvex::test
