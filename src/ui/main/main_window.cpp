#include "main_window.h"

#include "core/error.h"
#include "core/guard.h"
#include "device/output_command.h"
#include "io_panel.h"
#include "logo.h"
#include "log/log_tab.h"
#include "log/measurement_log.h"
#include "log/tick_texts.h"
#include "measure_panel.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "timing_spin_edit.h"
#include "ui/widgets/window_helpers.h"
#include "ui/widgets/analog_meter.h"
#include "ui/widgets/led.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace orvex {
namespace {

QToolButton* MakePictureButton(QWidget* parent, const QString& name, const QString& hint,
                               const QString& themeIcon, QStyle::StandardPixmap fallback) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setIcon(QIcon::fromTheme(themeIcon, parent->style()->standardIcon(fallback)));
  button->setIconSize(QSize(32, 32));
  button->setFixedSize(48, 48);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::StrongFocus);
  SetHint(button, hint);
  button->setAccessibleName(hint.trimmed());
  return button;
}

}  // namespace

template <typename Handler>
void TMain::Run(Handler handler) {
  RunGuarded(prompts_, [&] { (this->*handler)(); });
}

TMain::TMain(SettingsStore& store, Prompts& prompts, quint16 devicePort, QWidget* parent)
    : QMainWindow(parent), store_(store), prompts_(prompts) {
  setObjectName(QStringLiteral("Main"));
  setWindowTitle(kCaption);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  QFont tahoma(QStringLiteral("Tahoma"));
  tahoma.setPixelSize(13);
  setFont(tahoma);

  SessionView& view = *this;
  session_ = std::make_unique<DeviceSession>(view, store_, prompts_, devicePort, this);

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(BuildToolbar());

  pages_ = new QTabWidget(central);
  pages_->setObjectName(QStringLiteral("PageControl1"));
  measure_ = new MeasurePanel(store_, prompts_);
  io_ = new IoPanel(store_, prompts_);
  pages_->addTab(measure_, QStringLiteral("Measure"));
  pages_->addTab(io_, QStringLiteral("Input/Output"));
  log_ = new MeasurementLog(this);
  logTab_ = new LogTab(*log_);
  logTab_->setObjectName(QStringLiteral("TabSheet2"));
  pages_->addTab(logTab_, QStringLiteral("Log file"));
  column->addWidget(pages_, 1);
  setCentralWidget(central);

  auto* status = new QStatusBar(this);
  status->setObjectName(QStringLiteral("StatusBar1"));
  status->setStyleSheet(QStringLiteral("QStatusBar, QStatusBar QLabel { color: green; }"));
  status->setSizeGripEnabled(false);
  auto* secondPanel = new QLabel(status);
  secondPanel->setFixedWidth(50);
  status->addPermanentWidget(secondPanel);
  setStatusBar(status);

  connect(measure_->measureSettingsButton(), &QPushButton::clicked, this,
          [this] { Run(&TMain::MeasureSettingsClick); });
  connect(&session_->SendCmdTimer(), &QTimer::timeout, this,
          [this] { Run(&TMain::SendCmdTimerTimer); });
  connect(&session_->MeasureTimer(), &QTimer::timeout, this,
          [this] { Run(&TMain::MeasureTimerTimer); });

  setFixedSize(kClientSize);
  Run(&TMain::FormCreate);
}

TMain::~TMain() = default;

QWidget* TMain::BuildToolbar() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("FuncPanel"));
  panel->setFixedHeight(65);
  panel->setAutoFillBackground(true);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(8, 6, 8, 6);
  row->setSpacing(4);

  struct Picture {
    const char* name;
    const char* hint;
    const char* theme;
    QStyle::StandardPixmap fallback;
  };
  const Picture pictures[] = {
      {"Open", "Open log file", "document-open", QStyle::SP_DialogOpenButton},
      {"SaveAs", "Save log file as", "document-save-as", QStyle::SP_DriveFDIcon},
      {"Save", "Save opened file", "document-save", QStyle::SP_DialogSaveButton},
      {"Print", "Print log file", "document-print", QStyle::SP_FileDialogDetailedView},
      {"Export", "Export log file to excel", "x-office-spreadsheet",
       QStyle::SP_FileDialogContentsView},
      {"Setup", "Set network via USB", "network-wireless", QStyle::SP_DriveNetIcon},
      {"SpeedButton7", "About ", "help-about", QStyle::SP_MessageBoxInformation},
  };
  for (const Picture& picture : pictures) {
    QToolButton* button =
        MakePictureButton(panel, QLatin1String(picture.name), QLatin1String(picture.hint),
                          QLatin1String(picture.theme), picture.fallback);
    row->addWidget(button);
    if (button->objectName() == QLatin1String("Setup")) {
      connect(button, &QToolButton::clicked, this, [this] { Run(&TMain::SetupClick); });
    } else if (button->objectName() == QLatin1String("SpeedButton7")) {
      connect(button, &QToolButton::clicked, this, [this] { Run(&TMain::SpeedButton7Click); });
    }
  }

  row->addSpacing(12);
  timing_ = new TimingSpinEdit(panel);
  timing_->setObjectName(QStringLiteral("Timing"));
  timing_->setFixedWidth(64);
  SetHint(timing_, QStringLiteral("Log file writing intervals in seconds 2-60 secs"));
  timing_->setAccessibleName(timing_->toolTip());
  connect(timing_, &TimingSpinEdit::textChanged, this, [this] { Run(&TMain::TimingChange); });
  row->addWidget(timing_);

  row->addSpacing(12);
  auto* ipLabel = new QLabel(QStringLiteral("IP ADRESS"), panel);
  ipLabel->setObjectName(QStringLiteral("IpAdrr"));
  row->addWidget(ipLabel);
  ipEdit_ = new QLineEdit(QStringLiteral("0.0.0.0"), panel);
  ipEdit_->setObjectName(QStringLiteral("IpEdit"));
  ipEdit_->setFixedWidth(140);
  SetHint(ipEdit_, QStringLiteral("Write here IP address for your local network"));
  ipEdit_->setAccessibleName(ipLabel->text());
  ipLabel->setBuddy(ipEdit_);
  row->addWidget(ipEdit_);

  auto* writeIp = new QPushButton(QStringLiteral("Write ip"), panel);
  writeIp->setObjectName(QStringLiteral("WriteIP"));
  SetHint(writeIp, QStringLiteral("Save IP address "));
  writeIp->setAccessibleName(writeIp->text());
  connect(writeIp, &QPushButton::clicked, this,
          [this] { RunGuarded(prompts_, [this] { session_->WriteIPClick(); }); });
  row->addWidget(writeIp);

  connect_ = new QPushButton(LinkState::Disconnected, panel);
  connect_->setObjectName(QStringLiteral("Connect"));
  connect_->setMinimumWidth(130);
  SetHint(connect_, QStringLiteral("Connect to or disconnect  from device"));
  connect_->setAccessibleName(QStringLiteral("Connect"));
  connect(connect_, &QPushButton::clicked, this,
          [this] { RunGuarded(prompts_, [this] { session_->ConnectClick(); }); });
  row->addWidget(connect_);

  ledConnect_ = new Led(panel);
  ledConnect_->setObjectName(QStringLiteral("LedConnect"));
  ledConnect_->setFixedSize(28, 28);
  SetHint(ledConnect_,
          QStringLiteral("Network status led, red if disconnected or green if connected"));
  ledConnect_->setAccessibleName(ledConnect_->toolTip());
  row->addWidget(ledConnect_);

  row->addStretch(1);
  image1_ = new QLabel(panel);
  image1_->setObjectName(QStringLiteral("Image1"));
  image1_->setPixmap(LogoPixmap(QSize(160, 56)));
  image1_->setAccessibleName(QStringLiteral("Orvex logo"));
  image1_->installEventFilter(this);
  row->addWidget(image1_);
  return panel;
}

QToolButton* TMain::toolButton(const QString& name) const {
  return findChild<QToolButton*>(name);
}

void TMain::SetSecondaryWindows(QWidget* about, QWidget* setup, QWidget* measureSettings) {
  about_ = about;
  setup_ = setup;
  measureSettings_ = measureSettings;
}

MeasurePanelGauges TMain::Gauges() const { return measure_->gauges(); }

void TMain::FormCreate() {
  if (store_.RunFirstRunStep()) {
    // A first start loads nothing: the controls keep their initial contents.
  } else {
    for (ChannelId channel : kAllChannels) {
      const auto i = static_cast<std::size_t>(channel);
      measure_->enableBox(channel)->setChecked(
          FlagFromText(store_.ReadSetting(RootKey, ChannelEnableNames[i])));
    }
    ipEdit_->setText(store_.ReadSetting(RootKey, InterfaceIpName));
    session_->wifi().setHost(ipEdit_->text());

    const QString timing = store_.ReadSetting(RootKey, TimingName);
    if (timing != timing_->text()) {
      timing_->setText(timing);
      TimingChange();
    }
    for (int n = 1; n <= 3; ++n) {
      io_->LoadInputState(
          n, FlagFromText(store_.ReadSetting(RootKey, DigitalInputEnableNames[n - 1])));
    }
    io_->SetOffsetText(0, store_.ReadSetting(RootKey, TemperatureOffsetNames[0]));
    io_->SetOffsetText(1, store_.ReadSetting(RootKey, TemperatureOffsetNames[1]));
    for (int n = 1; n <= 3; ++n) {
      io_->SetInputName(n, store_.ReadSetting(RootKey, InputNameNames[n - 1]));
    }
    for (int n = 1; n <= 3; ++n) {
      io_->SetOutputName(n, store_.ReadSetting(RootKey, OutputNameNames[n - 1]));
    }
    for (ChannelId channel : kAllChannels) {
      const auto i = static_cast<std::size_t>(channel);
      const QString name = store_.ReadSetting(InstrumentNamesKey, InstrumentNameNames[i]);
      if (KindOf(channel) == ChannelKind::Temperature) {
        measure_->temperatureLabel(channel == ChannelId::Temp1 ? 0 : 1)->setText(name);
      } else {
        measure_->meter(channel)->setCaption(name);
        measure_->meter(channel)->setAccessibleName(name);
      }
    }
    pages_->setCurrentIndex(0);
  }
  ApplyLogInterval();
}

void TMain::TimingChange() {
  store_.WriteSetting(RootKey, TimingName, timing_->text());
  ApplyLogInterval();
}

void TMain::ApplyLogInterval() {
  // A hand-edited "Timing" below 1 would make the log timer fire without pause,
  // and a huge one would overflow the milliseconds: both are held in range.
  const qint64 seconds = IntegerFromText(timing_->text());
  const qint64 milliseconds =
      std::clamp<qint64>(seconds * 1000, 1000, std::numeric_limits<int>::max());
  // Setting a new interval restarts the wait of a running timer.
  session_->MeasureTimer().setInterval(static_cast<int>(milliseconds));
}

void TMain::ShowWindow(QWidget* window) {
  if (!window) return;
  window->show();
  window->raise();
  window->activateWindow();
}

void TMain::SetupClick() { ShowWindow(setup_); }
void TMain::SpeedButton7Click() { ShowWindow(about_); }
void TMain::MeasureSettingsClick() { ShowWindow(measureSettings_); }

void TMain::SendCmdTimerTimer() {
  session_->wifi().SendText(OutputCommand(io_->inputBox(1)->isChecked(),
                                          io_->inputBox(2)->isChecked(),
                                          io_->inputBox(3)->isChecked()));
}

void TMain::MeasureTimerTimer() {
  const TickTexts now = TickTextsAt(QDateTime::currentDateTime(), QLocale());
  MeasurementLog::TickCells cells;
  cells[0] = now.date;
  cells[1] = now.time;
  for (ChannelId channel : kAllChannels) {
    cells[2 + static_cast<std::size_t>(channel)] =
        measure_->enableBox(channel)->isChecked() ? measure_->readout(channel)->text()
                                                   : QStringLiteral("Disabled");
  }
  log_->LogTick(cells);
}

QString TMain::connectCaption() const { return connect_->text(); }
void TMain::setConnectCaption(const QString& caption) { connect_->setText(caption); }
void TMain::setLedLit(bool lit) { ledConnect_->setActive(lit); }
void TMain::showIdleDisplay() { measure_->ShowIdleDisplay(); }
QString TMain::addressText() const { return ipEdit_->text(); }

void TMain::applyFrame(std::span<const std::uint8_t, 18> frame) {
  try {
    measure_->ApplyFrame(frame, [this](int index) { return io_->offsetText(index); });
  } catch (const Error& error) {
    // Frames keep coming while the box is open: one box per invalid text at a time.
    if (openOffsetErrors_.contains(error.text())) return;
    openOffsetErrors_.insert(error.text());
    prompts_.error(ErrorBoxText(error.text()));
    openOffsetErrors_.remove(error.text());
  }
}

bool TMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == image1_ && event->type() == QEvent::MouseButtonDblClick) {
    RunGuarded(prompts_, [this] { io_->Image1DblClick(); });
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (centred_) return;
  centred_ = true;
  CentreOnScreen(this);
}

void TMain::closeEvent(QCloseEvent* event) {
  event->accept();
  Q_EMIT closed();
}

}  // namespace orvex
