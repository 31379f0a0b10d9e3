#pragma once

#include "provisioning/com_port_settings.h"

#include <QByteArray>
#include <QSerialPort>

namespace orvex {

// The serial port that carries the provisioning line. It is closed except
// during a write: Open, WriteStr and Close are called in turn by one handler.
// Settings changed while the port is closed take effect at the next Open.
// Failures raise orvex::Error; those that come with a system error number
// (errno, GetLastError() on Windows) end in " (Error: <number>)".
// GUI thread only.
class ComPort {
 public:
  ComPort();
  ComPort(const ComPort&) = delete;
  ComPort& operator=(const ComPort&) = delete;

  ComPortSettings& settings() { return settings_; }
  const ComPortSettings& settings() const { return settings_; }
  bool isOpen() const { return port_.isOpen(); }

  // Opens the port named by the settings for exclusive reading and writing and
  // applies the line settings; nothing when it is open already. Raises
  // "Unable to open com port (Error: n)" when it cannot be opened, and
  // "SetCommState function failed (Error: n)" when a setting is refused, in
  // which case the port is closed again.
  void Open();
  // Writes `bytes` as one block and waits until they have left the port or the
  // time-out (1000 ms plus 100 ms per byte) has run out; returns the number of
  // bytes written. A failed write raises "WriteFile function failed (Error: n)",
  // one that runs out of time raises a text with the number of bytes written;
  // either way the port is closed, so the next write starts clean.
  qint64 WriteStr(const QByteArray& bytes);
  // Abandons whatever is still queued for sending and closes the port; nothing
  // when it is closed.
  void Close();

 private:
  void ApplyLineSettings();
  [[noreturn]] void FailSetting(int systemError);
  [[noreturn]] void FailWrite(int systemError);
  qint64 QueuedOutputBytes() const;

  ComPortSettings settings_;
  QSerialPort port_;
};

// The write time-out for a block of `bytes` bytes, in milliseconds.
qint64 WriteTimeoutMs(qint64 bytes);

}  // namespace orvex
