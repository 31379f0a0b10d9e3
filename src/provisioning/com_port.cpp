#include "com_port.h"

#include "core/error.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/ioctl.h>
#endif

namespace orvex {
namespace {

// Qt's read buffer; the output side has no such setting in QSerialPort, a
// write goes to the driver as one block.
constexpr qint64 kReadBufferBytes = 1024;

void ClearSystemError() {
#ifdef Q_OS_WIN
  SetLastError(0);
#else
  errno = 0;
#endif
}

int LastSystemError() {
#ifdef Q_OS_WIN
  return static_cast<int>(GetLastError());
#else
  return errno;
#endif
}

// QSerialPort refuses some values itself (a rate of zero, RTS under hardware
// handshaking) without asking the system; the system's word for those.
int InvalidParameterError() {
#ifdef Q_OS_WIN
  return ERROR_INVALID_PARAMETER;
#else
  return EINVAL;
#endif
}

// A driver without modem-control lines (a pseudo-terminal, some USB bridges)
// has no DTR or RTS to hold inactive.
bool HasNoModemLines(int systemError) {
#ifdef Q_OS_WIN
  Q_UNUSED(systemError);
  return false;
#else
  return systemError == ENOTTY;
#endif
}

QString WithSystemError(const QString& text, int systemError) {
  return text + QStringLiteral(" (Error: %1)").arg(systemError);
}

QSerialPort::DataBits QtDataBits(DataBits bits) {
  switch (bits) {
    case DataBits::Five:
      return QSerialPort::Data5;
    case DataBits::Six:
      return QSerialPort::Data6;
    case DataBits::Seven:
      return QSerialPort::Data7;
    case DataBits::Eight:
      break;
  }
  return QSerialPort::Data8;
}

// Nothing when the port cannot take the stop bits with that character size.
std::optional<QSerialPort::StopBits> QtStopBits(StopBits bits, DataBits dataBits) {
  switch (bits) {
    case StopBits::One:
      break;
    case StopBits::OneAndHalf:
#ifdef Q_OS_WIN
      Q_UNUSED(dataBits);
      return QSerialPort::OneAndHalfStop;
#else
      // termios has no 1.5 stop bits, and QSerialPort quietly sends one instead.
      // A UART sends two stop bits after a 5-bit character as one and a half; with
      // longer characters 1.5 stop bits do not exist (Windows refuses them too).
      if (dataBits == DataBits::Five) return QSerialPort::TwoStop;
      return std::nullopt;
#endif
    case StopBits::Two:
      return QSerialPort::TwoStop;
  }
  return QSerialPort::OneStop;
}

QSerialPort::Parity QtParity(Parity parity) {
  switch (parity) {
    case Parity::None:
      break;
    case Parity::Odd:
      return QSerialPort::OddParity;
    case Parity::Even:
      return QSerialPort::EvenParity;
    case Parity::Mark:
      return QSerialPort::MarkParity;
    case Parity::Space:
      return QSerialPort::SpaceParity;
  }
  return QSerialPort::NoParity;
}

// QSerialPort knows RTS/CTS handshaking and XON/XOFF in both directions; a
// combination of flags beyond the dialog's choices maps to the nearest of them.
QSerialPort::FlowControl QtFlowControl(const FlowFlags& flags) {
  if (flags.ctsOutputFlow || flags.rts == RtsControl::Handshake) {
    return QSerialPort::HardwareControl;
  }
  if (flags.xonXoffOut || flags.xonXoffIn) return QSerialPort::SoftwareControl;
  return QSerialPort::NoFlowControl;
}

}  // namespace

qint64 WriteTimeoutMs(qint64 bytes) { return 1000 + 100 * bytes; }

ComPort::ComPort() { port_.setObjectName(QStringLiteral("ComPort1")); }

void ComPort::Open() {
  if (port_.isOpen()) return;
  port_.clearError();
  port_.setPortName(settings_.port);
  // QSerialPort applies its stored line settings while opening. Plain values
  // that every port takes keep that step from failing, so a refused setting of
  // ours is told apart from a port that cannot be opened.
  port_.setBaudRate(QSerialPort::Baud9600);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);

  ClearSystemError();
  if (!port_.open(QIODevice::ReadWrite)) {
    const int systemError = LastSystemError();
    throw Error(WithSystemError(QStringLiteral("Unable to open com port"), systemError));
  }
  ApplyLineSettings();
  port_.setReadBufferSize(kReadBufferBytes);
}

void ComPort::ApplyLineSettings() {
  // QSerialPort leaves parity checking off (IGNPAR, no INPCK) and null bytes in.
  const auto check = [this](bool applied) {
    if (!applied) FailSetting(LastSystemError());
  };
  ClearSystemError();
  check(port_.setBaudRate(BaudRateValue(settings_)));
  ClearSystemError();
  check(port_.setDataBits(QtDataBits(settings_.dataBits)));
  ClearSystemError();
  check(port_.setParity(QtParity(settings_.parity)));
  ClearSystemError();
  const auto stopBits = QtStopBits(settings_.stopBits, settings_.dataBits);
  check(stopBits && port_.setStopBits(*stopBits));
  ClearSystemError();
  check(port_.setFlowControl(QtFlowControl(settings_.flow)));

  const auto checkLine = [this](bool applied) {
    if (applied) return;
    const int systemError = LastSystemError();
    if (!HasNoModemLines(systemError)) FailSetting(systemError);
    port_.clearError();
  };
  ClearSystemError();
  checkLine(port_.setDataTerminalReady(false));
  // Under RTS handshaking the driver owns the RTS line.
  if (port_.flowControl() != QSerialPort::HardwareControl) {
    ClearSystemError();
    checkLine(port_.setRequestToSend(settings_.flow.rts == RtsControl::Active));
  }
}

void ComPort::FailSetting(int systemError) {
  port_.close();
  throw Error(WithSystemError(QStringLiteral("SetCommState function failed"),
                              systemError != 0 ? systemError : InvalidParameterError()));
}

qint64 ComPort::WriteStr(const QByteArray& bytes) {
  if (!port_.isOpen()) throw Error(QStringLiteral("The com port is not open"));
  const QDeadlineTimer deadline(WriteTimeoutMs(bytes.size()));

  ClearSystemError();
  if (port_.write(bytes) != bytes.size()) FailWrite(LastSystemError());
  while (port_.bytesToWrite() > 0 && !deadline.hasExpired()) {
    ClearSystemError();
    if (!port_.waitForBytesWritten(static_cast<int>(deadline.remainingTime())) &&
        port_.error() != QSerialPort::NoError && port_.error() != QSerialPort::TimeoutError) {
      FailWrite(LastSystemError());
    }
  }
  // The bytes have reached the driver; closing now would throw away what it
  // has not sent yet, so wait until it has sent them too.
  while (QueuedOutputBytes() > 0 && !deadline.hasExpired()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  const qint64 written = bytes.size() - port_.bytesToWrite() - QueuedOutputBytes();
  if (written < bytes.size()) {
    Close();
    throw Error(QStringLiteral("Writing to the com port timed out after %1 of %2 bytes")
                    .arg(written)
                    .arg(bytes.size()));
  }
  return written;
}

void ComPort::FailWrite(int systemError) {
  Close();
  throw Error(WithSystemError(QStringLiteral("WriteFile function failed"), systemError));
}

qint64 ComPort::QueuedOutputBytes() const {
#ifdef Q_OS_WIN
  COMSTAT status{};
  DWORD errors = 0;
  if (!ClearCommError(port_.handle(), &errors, &status)) return 0;
  return status.cbOutQue;
#else
  int queued = 0;
  if (::ioctl(port_.handle(), TIOCOUTQ, &queued) != 0) return 0;
  return queued;
#endif
}

void ComPort::Close() {
  if (!port_.isOpen()) return;
  // Only a write that failed leaves bytes queued; thrown away, they cannot hold
  // up the close. Nothing is flushed otherwise: on a pseudo-terminal a flush also
  // takes back what the other side has not read yet.
  if (port_.bytesToWrite() > 0 || QueuedOutputBytes() > 0) port_.clear(QSerialPort::Output);
  port_.close();
}

}  // namespace orvex
