#include "sim_connection.h"

#include <QTcpSocket>

#include <algorithm>
#include <cmath>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace orvex {

namespace {

constexpr qsizetype kFrameBytes = 18;
constexpr qsizetype kSplitAt = 10;
// A line that long without a carriage return is printed as it stands.
constexpr qsizetype kLongestLine = 256;

// Makes the other connection end see a reset (RST) rather than an orderly close.
void ResetConnection(QTcpSocket& socket) {
  const linger option{1, 0};
#ifdef Q_OS_WIN
  ::setsockopt(static_cast<SOCKET>(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER,
               reinterpret_cast<const char*>(&option), sizeof option);
#else
  ::setsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &option,
               sizeof option);
#endif
  socket.abort();
}

// "127.0.0.1:50412", also for an IPv4 client of the dual-stack server.
QString PeerText(const QTcpSocket& socket) {
  bool isIpv4 = false;
  const quint32 ipv4 = socket.peerAddress().toIPv4Address(&isIpv4);
  const QString address = isIpv4 ? QHostAddress(ipv4).toString() : socket.peerAddress().toString();
  return QStringLiteral("%1:%2").arg(address).arg(socket.peerPort());
}

int FrameLimit(const SimOptions& options) {
  if (options.closeAfter == 0) return options.resetAfter;
  if (options.resetAfter == 0) return options.closeAfter;
  return std::min(options.closeAfter, options.resetAfter);
}

}  // namespace

SimConnection::SimConnection(QTcpSocket* socket, const SimOptions& options, QTextStream& out,
                             QObject* parent)
    : QObject(parent),
      socket_(socket),
      options_(options),
      out_(out),
      peer_(PeerText(*socket)),
      day_(options.startHour, options.daySecondsPerFrame) {
  socket_->setParent(this);
  printLine(QStringLiteral("client %1 connected").arg(peer_));

  const double periodMs = 1000.0 / options_.framesPerSecond;
  frameTimer_.setTimerType(Qt::PreciseTimer);
  frameTimer_.setInterval(std::max(1, static_cast<int>(std::lround(periodMs))));
  splitTimer_.setSingleShot(true);
  splitTimer_.setTimerType(Qt::PreciseTimer);
  splitTimer_.setInterval(std::max(1, static_cast<int>(std::lround(periodMs / 2))));

  connect(&frameTimer_, &QTimer::timeout, this, &SimConnection::onFrameTick);
  connect(&splitTimer_, &QTimer::timeout, this, &SimConnection::writeDelayedPart);
  connect(socket_, &QTcpSocket::readyRead, this, &SimConnection::readCommands);
  connect(socket_, &QTcpSocket::disconnected, this, [this] {
    if (!commandLine_.isEmpty()) printCommand(commandLine_, false);
    printLine(QStringLiteral("client %1 disconnected").arg(peer_));
    frameTimer_.stop();
    splitTimer_.stop();
    deleteLater();
  });
  frameTimer_.start();
}

void SimConnection::onFrameTick() {
  const int limit = FrameLimit(options_);
  if (limit > 0 && framesMade_ >= static_cast<quint64>(limit)) {
    end();
    return;
  }
  const auto frame = day_.frame(framesMade_++);
  gathered_.append(reinterpret_cast<const char*>(frame.data()), kFrameBytes);
  const bool lastFrame = limit > 0 && framesMade_ >= static_cast<quint64>(limit);
  if (gathered_.size() >= options_.burst * kFrameBytes || lastFrame) {
    writeFrames(gathered_);
    gathered_.clear();
  }
}

void SimConnection::writeFrames(const QByteArray& bytes) {
  // A part still delayed goes first, so that bytes keep their order.
  writeDelayedPart();
  if (!options_.split || bytes.size() <= kSplitAt) {
    socket_->write(bytes);
    socket_->flush();
    return;
  }
  socket_->write(bytes.first(kSplitAt));
  socket_->flush();
  delayedPart_ = bytes.sliced(kSplitAt);
  splitTimer_.start();
}

void SimConnection::writeDelayedPart() {
  splitTimer_.stop();
  if (delayedPart_.isEmpty()) return;
  socket_->write(delayedPart_);
  socket_->flush();
  delayedPart_.clear();
}

void SimConnection::end() {
  frameTimer_.stop();
  writeDelayedPart();
  if (options_.resetAfter > 0 && framesMade_ >= static_cast<quint64>(options_.resetAfter)) {
    printLine(QStringLiteral("resetting %1 after %2 frames").arg(peer_).arg(framesMade_));
    ResetConnection(*socket_);
  } else {
    printLine(QStringLiteral("closing %1 after %2 frames").arg(peer_).arg(framesMade_));
    socket_->disconnectFromHost();
  }
}

void SimConnection::readCommands() {
  const QByteArray bytes = socket_->readAll();
  for (const char byte : bytes) {
    if (byte == '\r') {
      printCommand(commandLine_, true);
      commandLine_.clear();
      continue;
    }
    commandLine_.append(byte);
    if (commandLine_.size() >= kLongestLine) {
      printCommand(commandLine_, false);
      commandLine_.clear();
    }
  }
}

void SimConnection::printCommand(const QByteArray& line, bool terminated) {
  QString text;
  for (const char byte : line) {
    const auto code = static_cast<unsigned char>(byte);
    if (code >= 0x20 && code < 0x7F) {
      text.append(QLatin1Char(byte));
    } else {
      text.append(QStringLiteral("\\x%1").arg(static_cast<uint>(code), 2, 16, QLatin1Char('0')));
    }
  }
  printLine(terminated ? QStringLiteral("command: %1").arg(text)
                       : QStringLiteral("command without carriage return: %1").arg(text));
}

void SimConnection::printLine(const QString& text) { out_ << text << Qt::endl; }

}  // namespace orvex
