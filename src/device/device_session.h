#pragma once

#include "core/prompts.h"
#include "device/device_link.h"
#include "device/frame_assembler.h"
#include "device/measurement_frame.h"
#include "device/socket_errors.h"
#include "settings/settings_store.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <span>

namespace orvex {

// LinkState is held as the caption of `Connect` and compared as exact text.
namespace LinkState {
inline const QString Disconnected = QStringLiteral("DisConnected");
inline const QString Connecting = QStringLiteral("Trying to connect..");
inline const QString Connected = QStringLiteral("Connected");
}  // namespace LinkState

// The main window's side of the session. Called on the GUI thread.
class SessionView {
 public:
  virtual ~SessionView() = default;
  // The caption of `Connect`, where the LinkState is held.
  virtual QString connectCaption() const = 0;
  virtual void setConnectCaption(const QString& caption) = 0;
  // LedConnect.
  virtual void setLedLit(bool lit) = 0;
  // Gauges at 0 and the idle read-out texts, after the user disconnected.
  virtual void showIdleDisplay() = 0;
  // ApplyFrame: puts one whole frame on the measure panel; may throw Error.
  virtual void applyFrame(std::span<const std::uint8_t, kFrameSize> frame) = 0;
  // The text of IpEdit.
  virtual QString addressText() const = 0;
};

// The TCP session to the device: the link `wifi`, the two timers that run with
// it, and the handlers of `Connect`, "Write ip" and the link's notifications.
//
// A link that is lost (closed by the device, or ended by an error) shows as
// lost: caption "DisConnected", LED off, MeasureTimer stopped, the display
// keeping its last values; the next press of Connect starts a new attempt.
// Bytes are applied as whole frames only, in order, however they arrive.
// GUI thread only. Does not take ownership of view, store or prompts.
class DeviceSession : public QObject {
  Q_OBJECT

 public:
  DeviceSession(SessionView& view, SettingsStore& store, Prompts& prompts,
                quint16 port = kDevicePort, QObject* parent = nullptr);

  // The user pressed Connect. May raise Error (run it through RunGuarded).
  void ConnectClick();
  // The user pressed "Write ip": stores the address, then gives it to the link,
  // which refuses another address while the link is up (raises Error).
  void WriteIPClick();

  // The link's notifications; the link runs them through its guard.
  void wifiConnect();
  void wifiDisconnect();
  void wifiError(ErrorEvent event, int& errorCode);
  void wifiRead();

  // objectName "MeasureTimer": runs exactly while a link is up, 1000 ms until
  // the main window sets its interval. The main window handles its ticks.
  QTimer& MeasureTimer() { return measureTimer_; }
  // objectName "SendCmdTimer": 1000 ms, started by the first connection and
  // never stopped. The main window handles its ticks.
  QTimer& SendCmdTimer() { return sendCmdTimer_; }
  DeviceLink& wifi() { return wifi_; }

 private:
  // Closes the link on the session's own request; the caller shows the outcome.
  void closeLink();
  void showLinkLost();

  SessionView& view_;
  SettingsStore& store_;
  Prompts& prompts_;
  DeviceLink wifi_;
  QTimer measureTimer_;
  QTimer sendCmdTimer_;
  FrameAssembler frames_;
  // Set while the session itself closes the link, so that the disconnect
  // notification can tell that from a link lost to the device.
  bool closingLink_ = false;
};

}  // namespace orvex
