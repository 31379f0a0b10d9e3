#pragma once

#include "device/device_session.h"
#include "ui/measure_settings/measure_panel_gauges.h"

#include <QMainWindow>
#include <QPointer>
#include <QSet>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace orvex {

class IoPanel;
class Led;
class LogTab;
class MeasurementLog;
class MeasurePanel;
class Prompts;
class SettingsStore;
class TimingSpinEdit;

// The main window: toolbar, the "Measure", "Input/Output" and "Log file" tabs and
// the status bar. It wires controls to their handlers and implements the device
// session's view; the work itself lives in the panels and the session.
// GUI thread only. Does not own the store or the prompts.
class TMain : public QMainWindow, private SessionView {
  Q_OBJECT

 public:
  static inline const QString kCaption = QStringLiteral("Orvex controller v2");
  static constexpr QSize kClientSize{1249, 837};

  // Runs FormCreate; an error in it is shown and the window is created anyway.
  TMain(SettingsStore& store, Prompts& prompts, quint16 devicePort = 2000,
        QWidget* parent = nullptr);
  ~TMain() override;

  // The windows the toolbar and the measure panel show; not owned.
  void SetSecondaryWindows(QWidget* about, QWidget* setup, QWidget* measureSettings);
  MeasurePanelGauges Gauges() const;

  MeasurePanel& measurePanel() const { return *measure_; }
  IoPanel& ioPanel() const { return *io_; }
  MeasurementLog& log() const { return *log_; }
  LogTab& logTab() const { return *logTab_; }
  DeviceSession& session() { return *session_; }

  // Handlers, named after their controls and events.
  void FormCreate();
  void TimingChange();
  void SetupClick();
  void SpeedButton7Click();
  void MeasureSettingsClick();
  void SendCmdTimerTimer();
  void MeasureTimerTimer();

  // The toolbar buttons whose actions the log subsystem provides.
  QToolButton* toolButton(const QString& name) const;

 Q_SIGNALS:
  // The user closed the main window: the program ends.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // SessionView
  QString connectCaption() const override;
  void setConnectCaption(const QString& caption) override;
  void setLedLit(bool lit) override;
  void showIdleDisplay() override;
  void applyFrame(std::span<const std::uint8_t, 18> frame) override;
  QString addressText() const override;

  QWidget* BuildToolbar();
  // MeasureTimer's interval from the text of Timing, in seconds.
  void ApplyLogInterval();
  template <typename Handler>
  void Run(Handler handler);
  static void ShowWindow(QWidget* window);

  SettingsStore& store_;
  Prompts& prompts_;
  std::unique_ptr<DeviceSession> session_;
  MeasurementLog* log_ = nullptr;
  LogTab* logTab_ = nullptr;

  MeasurePanel* measure_ = nullptr;
  IoPanel* io_ = nullptr;
  QTabWidget* pages_ = nullptr;
  TimingSpinEdit* timing_ = nullptr;
  QLineEdit* ipEdit_ = nullptr;
  QPushButton* connect_ = nullptr;
  Led* ledConnect_ = nullptr;
  QLabel* image1_ = nullptr;

  QPointer<QWidget> about_;
  QPointer<QWidget> setup_;
  QPointer<QWidget> measureSettings_;
  // Offset error texts whose box is open now: one box per text at a time.
  QSet<QString> openOffsetErrors_;
  bool centred_ = false;
};

}  // namespace orvex
