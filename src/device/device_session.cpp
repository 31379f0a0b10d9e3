#include "device_session.h"

#include "core/guard.h"
#include "settings/settings_keys.h"

#include <QScopedValueRollback>

#include <array>

namespace orvex {

namespace {

const QString kFailedToJoinText = QStringLiteral("Failed to join network !");

}  // namespace

DeviceSession::DeviceSession(SessionView& view, SettingsStore& store, Prompts& prompts,
                             quint16 port, QObject* parent)
    : QObject(parent), view_(view), store_(store), prompts_(prompts), wifi_(prompts, port) {
  wifi_.setObjectName(QStringLiteral("wifi"));
  measureTimer_.setObjectName(QStringLiteral("MeasureTimer"));
  measureTimer_.setInterval(1000);
  sendCmdTimer_.setObjectName(QStringLiteral("SendCmdTimer"));
  sendCmdTimer_.setInterval(1000);
  wifi_.setEvents({
      .OnConnect = [this] { wifiConnect(); },
      .OnDisconnect = [this] { wifiDisconnect(); },
      .OnRead = [this] { wifiRead(); },
      .OnError = [this](ErrorEvent event, int& errorCode) { wifiError(event, errorCode); },
  });
}

void DeviceSession::ConnectClick() {
  const QString caption = view_.connectCaption();
  if (caption == LinkState::Connected) {
    closeLink();
    view_.setConnectCaption(LinkState::Disconnected);
    view_.showIdleDisplay();
    view_.setLedLit(false);
  } else if (caption == LinkState::Disconnected) {
    view_.setConnectCaption(LinkState::Connecting);
    wifi_.setActive(true);
  }
}

void DeviceSession::WriteIPClick() {
  const QString address = view_.addressText();
  store_.WriteSetting(RootKey, InterfaceIpName, address);
  wifi_.setHost(address);
}

void DeviceSession::wifiConnect() {
  // Bytes of an earlier link never begin a frame of this one.
  frames_.clear();
  view_.setLedLit(true);
  view_.setConnectCaption(LinkState::Connected);
  measureTimer_.start();
  // Started once and never restarted, so its ticks keep their phase.
  if (!sendCmdTimer_.isActive()) sendCmdTimer_.start();
}

void DeviceSession::wifiDisconnect() {
  measureTimer_.stop();
  if (!closingLink_) showLinkLost();
}

void DeviceSession::wifiError(ErrorEvent /*event*/, int& errorCode) {
  // A refusal or a time-out is told by the box alone.
  if (errorCode == winsock::kConnectionTimedOut || errorCode == winsock::kConnectionRefused) {
    errorCode = 0;
  }
  const bool linkWasUp = wifi_.active();
  closeLink();
  prompts_.information(kFailedToJoinText);
  view_.setConnectCaption(LinkState::Disconnected);
  if (linkWasUp) view_.setLedLit(false);
}

void DeviceSession::wifiRead() {
  std::array<std::uint8_t, 4096> chunk;
  for (qint64 count; (count = wifi_.ReceiveBuf(chunk)) > 0;) {
    frames_.append(std::span(chunk).first(static_cast<std::size_t>(count)));
  }
  // One frame at a time: an error box opened by one frame runs the event loop,
  // and a read handled meanwhile goes on with the frames that follow.
  while (const auto frame = frames_.takeFrame()) {
    RunGuarded(prompts_, [&] { view_.applyFrame(*frame); });
  }
}

void DeviceSession::closeLink() {
  const QScopedValueRollback closing(closingLink_, true);
  wifi_.setActive(false);
}

void DeviceSession::showLinkLost() {
  view_.setConnectCaption(LinkState::Disconnected);
  view_.setLedLit(false);
}

}  // namespace orvex
