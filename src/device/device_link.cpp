#include "device_link.h"

#include "core/error.h"
#include "core/guard.h"

#include <QNetworkProxy>

#include <utility>

namespace orvex {

template <typename Step>
void DeviceLink::post(Step step) {
  QMetaObject::invokeMethod(
      this,
      [this, generation = generation_, step = std::move(step)] {
        if (generation == generation_) step();
      },
      Qt::QueuedConnection);
}

DeviceLink::DeviceLink(Prompts& prompts, quint16 port, QObject* parent)
    : QObject(parent), prompts_(prompts), port_(port) {
  // The device is on the local network: no system proxy stands in between.
  socket_.setProxy(QNetworkProxy::NoProxy);
  connectTimer_.setSingleShot(true);
  connectTimer_.setInterval(kConnectTimeout);

  // Qt emits these from inside its own calls (connectToHost, abort, a read).
  // The link only notes what happened there and acts on it from the event loop.
  connect(&socket_, &QTcpSocket::connected, this, &DeviceLink::onSocketConnected);
  connect(&socket_, &QTcpSocket::disconnected, this,
          [this] { post([this] { handlePeerClosed(); }); });
  connect(&socket_, &QTcpSocket::readyRead, this, [this] { post([this] { handleReadyRead(); }); });
  connect(&socket_, &QTcpSocket::errorOccurred, this, &DeviceLink::onSocketError);
  connect(&connectTimer_, &QTimer::timeout, this, [this] {
    if (attempting_) handleError({ErrorEvent::eeConnect, winsock::kConnectionTimedOut, {}, {}});
  });
}

DeviceLink::~DeviceLink() {
  // The socket closes after this; nothing may be posted to a link being destroyed.
  socket_.disconnect(this);
}

void DeviceLink::setEvents(DeviceLinkEvents events) { events_ = std::move(events); }

void DeviceLink::setActive(bool active) {
  if (!active) {
    if (active_) closeLink();
    return;
  }
  if (active_ || attempting_) return;
  attempting_ = true;
  ++generation_;
  connectTimer_.start();
  if (host_.isEmpty()) {
    post([this] { handleError({ErrorEvent::eeLookup, winsock::kNoAddress, {}, {}}); });
    return;
  }
  socket_.connectToHost(host_, port_);
}

void DeviceLink::setHost(const QString& host) {
  if (host.compare(host_, Qt::CaseInsensitive) == 0) return;
  if (active_) throw Error(HostChangeRefusedText());
  host_ = host;
}

qint64 DeviceLink::ReceiveBuf(std::span<std::uint8_t> buffer) {
  if (!active_) return 0;
  if (socket_.bytesAvailable() <= 0) return -1;
  return socket_.read(reinterpret_cast<char*>(buffer.data()), static_cast<qint64>(buffer.size()));
}

qint64 DeviceLink::SendText(const QByteArray& text) {
  if (!active_) return 0;
  // Closed by Qt, and the close not yet handled: the text is dropped.
  if (socket_.state() != QAbstractSocket::ConnectedState) return -1;
  const qint64 sent = socket_.write(text);
  // Hand the bytes to the system now, as one send call would.
  socket_.flush();
  return sent;
}

void DeviceLink::setConnectTimeout(std::chrono::milliseconds timeout) {
  connectTimer_.setInterval(timeout);
}

void DeviceLink::onSocketConnected() {
  // Now, while Qt's descriptor is certainly open.
  resetProbe_.watch(socket_.socketDescriptor());
  post([this] { handleConnected(); });
}

void DeviceLink::onSocketError(QAbstractSocket::SocketError error) {
  if (error == QAbstractSocket::RemoteHostClosedError) {
    // An orderly close is no error: the disconnect notification follows.
    if (!resetProbe_.peerReset()) return;
    post([this] { handleError({ErrorEvent::eeDisconnect, winsock::kConnectionReset, {}, {}}); });
    return;
  }
  LinkError linkError{active_ ? ErrorEvent::eeGeneral : ErrorEvent::eeConnect,
                      WinsockErrorCode(error),
                      socket_.errorString(),
                      {}};
  if (error == QAbstractSocket::HostNotFoundError) {
    linkError.event = ErrorEvent::eeLookup;
    linkError.api = QStringLiteral("ASync Lookup");
  }
  post([this, linkError] { handleError(linkError); });
}

void DeviceLink::handleConnected() {
  if (!attempting_) return;
  attempting_ = false;
  connectTimer_.stop();
  active_ = true;
  RunGuarded(prompts_, [this] {
    if (events_.OnConnect) events_.OnConnect();
  });
}

void DeviceLink::handlePeerClosed() {
  if (!active_) return;
  RunGuarded(prompts_, [this] { closeLink(); });
}

void DeviceLink::handleReadyRead() {
  if (!active_ || !events_.OnRead) return;
  RunGuarded(prompts_, [this] { events_.OnRead(); });
  // Bytes the handler left unread get another notification.
  if (active_ && socket_.bytesAvailable() > 0) post([this] { handleReadyRead(); });
}

void DeviceLink::handleError(const LinkError& error) {
  attempting_ = false;
  connectTimer_.stop();
  // An attempt ends here. An up link is closed by the handler, or below, so that
  // its disconnect notification runs.
  if (!active_) dropSocket();
  int code = error.code;
  const bool handled = RunGuarded(prompts_, [&] {
    if (events_.OnError) events_.OnError(error.event, code);
  });
  if (active_) RunGuarded(prompts_, [this] { closeLink(); });
  if (handled && code != 0) prompts_.error(ErrorBoxText(RaisedText(error, code)));
}

void DeviceLink::closeLink() {
  active_ = false;
  dropSocket();
  if (events_.OnDisconnect) events_.OnDisconnect();
}

void DeviceLink::dropSocket() {
  socket_.abort();
  resetProbe_.release();
  connectTimer_.stop();
  // Whatever abort() posted belongs to the link that ends here.
  ++generation_;
}

QString DeviceLink::RaisedText(const LinkError& error, int code) {
  if (error.code == winsock::kNoAddress) return NoAddressText();
  if (!error.api.isEmpty()) return WindowsSocketErrorText(error.reason, code, error.api);
  return AsynchronousSocketErrorText(code);
}

}  // namespace orvex
