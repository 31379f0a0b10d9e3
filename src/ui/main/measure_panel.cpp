#include "measure_panel.h"

#include "core/guard.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "ui/widgets/window_helpers.h"
#include "ui/widgets/analog_meter.h"
#include "ui/widgets/thermometer.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace orvex {
namespace {

struct ChannelWidgets {
  const char* gauge;
  const char* caption;
  const char* readout;
  const char* readoutHint;
  const char* enable;
  const char* enableHint;  // empty: the box has no hint
  const char* acDc;        // empty: a thermometer has no AC/DC label
};

constexpr std::array<ChannelWidgets, kChannelCount> kChannels{{
    {"Volt1", "Voltage 1", "DigVmeter1", "Displays digital value for solar voltage", "EnVolt1",
     "Enables or disables Solar voltage measurement", "V1AcDc"},
    {"Volt2", "Voltage 2", "DigVmeter2", "Displays digital value for battery voltage", "EnVolt2",
     "Enables or disables Battery voltage measurement", "V2AcDc"},
    {"Volt3", "Voltage 3", "DigVmeter3", "Displays digital value for load voltage", "EnVolt3",
     "Enables or disables Load voltage measurement", "V3AcDc"},
    {"Ameter1", "Ampere 1", "DIgAmeter1", "Displays digital value for solar amperage", "EnAmp1",
     "Enables or disables Solar amperage measurement", "A1AcDc"},
    {"Ameter2", "Ampere 2", "DIgAmeter2", "Displays digital value for regulator amperage", "EnAmp2",
     "Enables or disables regulator amperage measurement", "A2AcDc"},
    {"Ameter3", "Ampere 3", "DIgAmeter3", "Displays digital value for battery amperage", "EnAmp3",
     "", "A3AcDc"},
    {"Ameter4", "Ampere 4", "DIgAmeter4", "Displays digital value for load amperage", "EnAmp4",
     "Enables or disables Load amperage measurement", "A4AcDc"},
    {"Thermo1", "Temp 1", "DigTemp1", "Displays digital value for temperature 1", "EnTemp1",
     "Enables or disables temperature 1 measurement", ""},
    {"Thermo2", "Temp 2", "Digtemp2", "Displays digital value for temperature 2", "EnTemp2",
     "Enables or disables temperature 2 measurement", ""},
}};

constexpr QSize kMeterSize(393, 214);
constexpr QSize kThermometerSize(190, 416);
const QColor kVoltageScale(0x00, 0xFF, 0xFF);  // aqua
const QColor kCurrentScale(0xFF, 0x80, 0x40);

QFont PixelFont(const QString& family, int pixels, bool bold = false) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QLineEdit* MakeReadout(QWidget* parent, const ChannelWidgets& names, int width) {
  auto* readout = new QLineEdit(parent);
  readout->setObjectName(QLatin1String(names.readout));
  readout->setFont(PixelFont(QStringLiteral("Tahoma"), 24));
  readout->setStyleSheet(QStringLiteral("QLineEdit { color: #00ff00; background: black; "
                                        "border: 1px solid #404040; padding: 0 2px; }"));
  readout->setFixedSize(width, 34);
  SetHint(readout, QLatin1String(names.readoutHint));
  readout->setAccessibleName(QLatin1String(names.readoutHint));
  return readout;
}

QCheckBox* MakeEnableBox(QWidget* parent, const ChannelWidgets& names, const QColor& text) {
  auto* box = new QCheckBox(QStringLiteral("Enable"), parent);
  box->setObjectName(QLatin1String(names.enable));
  // The box sits on a dark face: draw its indicator so it shows there.
  box->setStyleSheet(QStringLiteral("QCheckBox { color: %1; background: transparent; }"
                                    "QCheckBox::indicator { width: 12px; height: 12px;"
                                    " border: 1px solid #b0b0b0; background: #303030; }"
                                    "QCheckBox::indicator:checked { background: #00d000; }")
                         .arg(text.name()));
  const QString hint = QLatin1String(names.enableHint);
  if (!hint.isEmpty()) SetHint(box, hint);
  box->setAccessibleName(QStringLiteral("Enable ") +
                         QString::fromLatin1(names.readoutHint).section(QStringLiteral("for "), 1));
  box->adjustSize();
  return box;
}

}  // namespace

MeasurePanel::MeasurePanel(SettingsStore& store, Prompts& prompts, QWidget* parent)
    : QWidget(parent), store_(store), prompts_(prompts) {
  setObjectName(QStringLiteral("TabSheet1"));
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
  setPalette(background);

  // Three rows of meters on the left two thirds; Volt3 reaches into the right column.
  constexpr int kLeft = 19, kGap = 12, kTop = 14;
  const int columns[] = {kLeft, kLeft + kMeterSize.width() + kGap,
                         kLeft + 2 * (kMeterSize.width() + kGap)};
  const int rows[] = {kTop, kTop + kMeterSize.height() + kGap,
                      kTop + 2 * (kMeterSize.height() + kGap)};
  BuildMeter(ChannelId::Volt1, {columns[0], rows[0]});
  BuildMeter(ChannelId::Volt2, {columns[1], rows[0]});
  BuildMeter(ChannelId::Volt3, {columns[2], rows[0]});
  BuildMeter(ChannelId::Ampere1, {columns[0], rows[1]});
  BuildMeter(ChannelId::Ampere2, {columns[1], rows[1]});
  BuildMeter(ChannelId::Ampere3, {columns[0], rows[2]});
  BuildMeter(ChannelId::Ampere4, {columns[1], rows[2]});

  // The right column under Volt3: two thermometers side by side, then the button.
  const int rightColumn = columns[2];
  const int thermoGap = kMeterSize.width() - 2 * kThermometerSize.width();
  BuildThermometer(0, {rightColumn, rows[1]});
  BuildThermometer(1, {rightColumn + kThermometerSize.width() + thermoGap, rows[1]});

  measureSettings_ = new QPushButton(QStringLiteral("Measure  Settings"), this);
  measureSettings_->setObjectName(QStringLiteral("MeasureSettings"));
  SetHint(measureSettings_, QStringLiteral("Shows measurement settings"));
  measureSettings_->setAccessibleName(measureSettings_->text());
  measureSettings_->setGeometry(rightColumn + (kMeterSize.width() - 384) / 2,
                                rows[1] + kThermometerSize.height() + kGap, 384, 32);

  setMinimumSize(rightColumn + kMeterSize.width() + kLeft,
                 rows[2] + kMeterSize.height() + kGap);
  ShowIdleDisplay();
}

void MeasurePanel::BuildMeter(ChannelId channel, QPoint at) {
  const std::size_t i = Index(channel);
  const ChannelWidgets& names = kChannels[i];
  const bool voltage = KindOf(channel) == ChannelKind::Voltage;

  auto* meter = new AnalogMeter(this);
  meter->setObjectName(QLatin1String(names.gauge));
  meter->setGeometry(QRect(at, kMeterSize));
  meter->setCaption(QLatin1String(names.caption));
  meter->setScaleColor(voltage ? kVoltageScale : kCurrentScale);
  if (channel == ChannelId::Ampere3) {
    // The battery current is the one signed scale.
    meter->setMinValue(-100);
  }
  meter->setMaxValue(100);
  SetHint(meter, voltage ? QStringLiteral("Displays analog value for  voltage")
                         : QStringLiteral("Displays analog value for  amperage"));
  meter->setAccessibleName(meter->caption());
  meters_[i] = meter;

  enableBoxes_[i] = MakeEnableBox(meter, names, Qt::white);
  enableBoxes_[i]->move(10, 8);

  readouts_[i] = MakeReadout(meter, names, 73);
  const QPoint readoutAt(kMeterSize.width() - 73 - 12, kMeterSize.height() - 34 - 10);
  readouts_[i]->move(readoutAt);

  auto* acDc = new QLabel(QStringLiteral("DC"), meter);
  acDc->setObjectName(QLatin1String(names.acDc));
  acDc->setStyleSheet(QStringLiteral("QLabel { color: #e0e0e0; background: transparent; }"));
  acDc->setFont(PixelFont(QStringLiteral("Tahoma"), 13, true));
  acDc->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  acDc->setGeometry(readoutAt.x(), readoutAt.y() - 18, 73, 16);
  acDcLabels_[i] = acDc;

  connect(enableBoxes_[i], &QCheckBox::clicked, this,
          [this, channel] { RunGuarded(prompts_, [&] { EnableClick(channel); }); });
}

void MeasurePanel::BuildThermometer(int index, QPoint at) {
  const ChannelId channel = index == 0 ? ChannelId::Temp1 : ChannelId::Temp2;
  const std::size_t i = Index(channel);
  const ChannelWidgets& names = kChannels[i];

  auto* thermo = new ThermoMeter(this);
  thermo->setObjectName(QLatin1String(names.gauge));
  thermo->setGeometry(QRect(at, kThermometerSize));
  SetHint(thermo, index == 0 ? QStringLiteral("Displays analog value for temperature 1")
                             : QStringLiteral("Displays analog value for temperature 2"));
  thermo->setAccessibleName(thermo->toolTip());
  thermometers_[index] = thermo;

  auto* label = new QLabel(QLatin1String(names.caption), thermo);
  label->setObjectName(index == 0 ? QStringLiteral("Label1") : QStringLiteral("Label2"));
  label->setStyleSheet(QStringLiteral("QLabel { color: #800000; background: transparent; }"));
  label->setFont(PixelFont(QStringLiteral("Tahoma"), 16, true));
  label->setAlignment(Qt::AlignCenter);
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(4, 4, kThermometerSize.width() - 8, 20);
  temperatureLabels_[index] = label;

  enableBoxes_[i] = MakeEnableBox(thermo, names, QColor(0x00, 0x80, 0x00));
  enableBoxes_[i]->move((kThermometerSize.width() - enableBoxes_[i]->width()) / 2, 24);

  readouts_[i] = MakeReadout(thermo, names, 59);
  readouts_[i]->move((kThermometerSize.width() - 59) / 2, kThermometerSize.height() - 34 - 6);

  connect(enableBoxes_[i], &QCheckBox::clicked, this,
          [this, channel] { RunGuarded(prompts_, [&] { EnableClick(channel); }); });
}

MeasurePanelGauges MeasurePanel::gauges() const {
  MeasurePanelGauges gauges;
  gauges.meters = meters_;
  gauges.thermometers = thermometers_;
  gauges.acDcLabels = acDcLabels_;
  gauges.temperatureLabels = temperatureLabels_;
  return gauges;
}

void MeasurePanel::EnableClick(ChannelId channel) {
  const bool enabled = enableBox(channel)->isChecked();
  store_.WriteSetting(RootKey, ChannelEnableNames[Index(channel)], FlagText(enabled));
  if (!enabled) ShowIdle(channel);
}

void MeasurePanel::ShowIdle(ChannelId channel) {
  const std::size_t i = Index(channel);
  const ChannelKind kind = KindOf(channel);
  if (kind == ChannelKind::Temperature) {
    thermometers_[channel == ChannelId::Temp1 ? 0 : 1]->setValue(0.0);
  } else {
    meters_[i]->setPosition(0);
  }
  SetReadout(channel, IdleText(kind));
}

void MeasurePanel::SetReadout(ChannelId channel, const QString& text) {
  QLineEdit* readout = readouts_[Index(channel)];
  readout->setText(text);
  // A long voltage text is wider than its field: show where it begins.
  readout->setCursorPosition(0);
}

void MeasurePanel::ShowIdleDisplay() {
  for (ChannelId channel : kAllChannels) ShowIdle(channel);
}

void MeasurePanel::ApplyFrame(std::span<const std::uint8_t, kFrameSize> frame,
                              const std::function<QString(int)>& offsetText) {
  const std::array<std::uint16_t, kChannelCount> raw = DecodeFrame(frame);
  const QLocale locale;
  const QChar separator = locale.decimalPoint().at(0);
  for (ChannelId channel : kAllChannels) {
    const std::size_t i = Index(channel);
    const ChannelKind kind = KindOf(channel);
    if (!IsRefreshed(kind, enableBoxes_[i]->isChecked(), frameParity_)) continue;
    if (kind == ChannelKind::Temperature) {
      const int which = channel == ChannelId::Temp1 ? 0 : 1;
      const long double offset = ParseOffsetText(offsetText(which), locale);
      const ChannelReading reading = ComputeReading(channel, raw[i], offset, separator);
      // The thermometer shows whole degrees: it takes the rounded position.
      thermometers_[which]->setValue(reading.position);
      SetReadout(channel, reading.text);
    } else {
      const ChannelReading reading = ComputeReading(channel, raw[i], 0.0L, separator);
      meters_[i]->setPosition(reading.position);
      SetReadout(channel, reading.text);
    }
  }
  frameParity_ = frameParity_ == 0 ? 1 : 0;
}

}  // namespace orvex
