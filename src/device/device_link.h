#pragma once

#include "core/prompts.h"
#include "device/peer_reset_probe.h"
#include "device/socket_errors.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>

namespace orvex {

// The device's TCP port.
inline constexpr quint16 kDevicePort = 2000;

// What the owner of a link does on its notifications. They are plain
// callbacks, not signals: each notification has exactly one handler, and the
// link acts on the code the error handler leaves behind.
struct DeviceLinkEvents {
  std::function<void()> OnConnect;
  std::function<void()> OnDisconnect;
  std::function<void()> OnRead;
  // `errorCode` comes in as a Winsock number; the handler may set it to 0 to
  // keep the link from raising its own error afterwards.
  std::function<void(ErrorEvent, int& errorCode)> OnError;
};

// The TCP client link to the device, non-blocking, over QTcpSocket.
//
// Notifications always come from the event loop, one at a time, never from
// inside a call of the owner, with one exception: setActive(false) on an up
// link runs OnDisconnect before it returns. A notification that belongs to a
// link or attempt that has ended since is dropped.
//
// Handlers run through RunGuarded with the Prompts given here. After an error
// notification that leaves its code non-zero, the link raises its own error
// ("Asynchronous socket error %d", or "Windows socket error: %s (%d), on API
// '%s'" for a failed look-up, or "No address specified"), which ends in the
// application's error box. GUI thread only.
class DeviceLink : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool Active READ active WRITE setActive)
  Q_PROPERTY(QString Host READ host WRITE setHost)
  Q_PROPERTY(quint16 Port READ port CONSTANT)

 public:
  // An attempt that has not connected by then is abandoned as timed out.
  static constexpr std::chrono::milliseconds kConnectTimeout{21000};

  // Does not take ownership of prompts, which must outlive the link.
  DeviceLink(Prompts& prompts, quint16 port, QObject* parent = nullptr);
  ~DeviceLink() override;

  void setEvents(DeviceLinkEvents events);

  // True from the connect notification until the disconnect notification;
  // false during an attempt.
  bool active() const { return active_; }
  // true while inactive and not attempting: starts a look-up of the host and a
  // connection; the outcome comes as OnConnect or OnError. Never raises: a
  // start that fails at once is reported through OnError as well.
  // false while active: closes the link; OnDisconnect runs before it returns.
  // Otherwise nothing happens; in particular an attempt goes on.
  void setActive(bool active);

  QString host() const { return host_; }
  // A text that differs from the current host other than in letter case can be
  // set only while inactive; raises "Can't change value while socket is active"
  // otherwise. The host is used as it stands at the next attempt.
  void setHost(const QString& host);

  quint16 port() const { return port_; }

  // Reads at most buffer.size() waiting bytes. Returns the count read; 0 while
  // not connected (reading nothing); -1 when no byte is waiting.
  qint64 ReceiveBuf(std::span<std::uint8_t> buffer);
  // Hands `text` to the connection in one call. Returns the count sent, 0 while
  // not connected (the text is dropped), -1 when the socket took nothing.
  qint64 SendText(const QByteArray& text);

  // For tests: a shorter limit for an attempt.
  void setConnectTimeout(std::chrono::milliseconds timeout);

 private:
  // One error as the link reports it; the raised text follows from it.
  struct LinkError {
    ErrorEvent event;
    int code;
    QString reason;  // the system's own reason text, for the "Windows socket error" form
    QString api;     // empty for errors that came with a socket event
  };

  // Runs `step` later from the event loop, unless the link or attempt current
  // now has ended by then.
  template <typename Step>
  void post(Step step);

  void onSocketConnected();
  void onSocketError(QAbstractSocket::SocketError error);

  void handleConnected();
  void handlePeerClosed();
  void handleReadyRead();
  void handleError(const LinkError& error);
  void closeLink();
  void dropSocket();
  static QString RaisedText(const LinkError& error, int code);

  Prompts& prompts_;
  const quint16 port_;
  QString host_;
  DeviceLinkEvents events_;
  bool active_ = false;
  bool attempting_ = false;
  // Advanced whenever a link or attempt ends or starts; posted steps of an
  // earlier generation are dropped.
  quint64 generation_ = 0;
  QTcpSocket socket_;
  QTimer connectTimer_;
  PeerResetProbe resetProbe_;
};

}  // namespace orvex
