#include "ui/measure_settings/msr_setings.h"

#include "core/guard.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "ui/measure_settings/radio_group.h"
#include "ui/measure_settings/range_items.h"
#include "ui/widgets/analog_meter.h"
#include "ui/widgets/thermometer.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <vector>

namespace orvex {
namespace {

// Per instrument, in channel order: its range group and its entry in Rename.
struct InstrumentControls {
  const char* rangeGroup;
  QStringView initialCaption;
  QRect rangeGeometry;
  QStringView renameEntry;
};

constexpr QSize kRangeSize(169, 177);

const std::array<InstrumentControls, TMsrSetings::kInstrumentCount> kInstruments = {{
    {"V1Range", u"Voltage 1 range", {{24, 221}, kRangeSize}, u"Voltage 1"},
    {"V2Range", u"Voltage 2 range", {{232, 221}, kRangeSize}, u"Voltage 2"},
    {"V3Range", u"Voltage 3 range", {{440, 221}, kRangeSize}, u"Voltage 3"},
    {"A1Range", u"Amperage 1 range", {{24, 420}, kRangeSize}, u"Amperage 1"},
    {"A2Range", u"Amperage 2 range", {{232, 420}, kRangeSize}, u"Amperage 2"},
    {"A3Range", u"Amperage 3 range", {{440, 420}, kRangeSize}, u"Amperage 3"},
    {"A4Range", u"Amperage 4 range", {{648, 420}, kRangeSize}, u"Amperage 4"},
    {"Temp1Range", u"Temp 1 range", {{648, 24}, kRangeSize}, u"Temp 1"},
    {"Temp2Range", u"Temp 2 range", {{648, 221}, kRangeSize}, u"Temp 2"},
}};

// Per voltage and current channel: its AC/DC box, in the lower right corner of
// the channel's range group.
struct AcDcControls {
  const char* box;
  QPoint at;
};

constexpr QSize kAcDcSize(41, 20);

constexpr std::array<AcDcControls, TMsrSetings::kAcDcCount> kAcDcBoxes = {{
    {"AcDcV1", {144, 360}},
    {"AcDcV2", {352, 360}},
    {"AcDcV3", {560, 360}},
    {"AcDcA1", {144, 552}},
    {"AcDcA2", {352, 552}},
    {"AcDcA3", {560, 552}},
    {"AcDcA4", {768, 552}},
}};

constexpr QSize kClientSize(837, 646);
const QColor kDefaultTextColor(0x00, 0x80, 0x00);
const QColor kRenameTextColor(0x80, 0x00, 0x80);

QString RangeCaption(const QString& name) { return name + QStringLiteral(" range"); }
QString AcDcCaption(bool ac) { return ac ? QStringLiteral("AC") : QStringLiteral("DC"); }

void SetTextColor(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(role, color);
  }
  widget->setPalette(palette);
}

QFont PixelFont(const QFont& base, int pixelSize) {
  QFont font = base;
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace

TMsrSetings::TMsrSetings(SettingsStore& store, Prompts& prompts, const MeasurePanelGauges& gauges,
                         QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      store_(store),
      prompts_(prompts),
      gauges_(gauges) {
  setObjectName(QStringLiteral("MsrSetings"));
  setWindowTitle(QStringLiteral("  Measure settings"));
  // Closing the dialog only hides it, and never counts towards ending the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(kClientSize);
  setFont(PixelFont(QFont(QStringLiteral("Tahoma")), 16));
  SetTextColor(this, kDefaultTextColor);

  BuildControls();
  SetTabOrder();
  ConnectHandlers();

  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }

  RunGuarded(prompts_, [this] { FormCreate(); });
}

void TMsrSetings::BuildControls() {
  QStringList renameEntries;
  for (const InstrumentControls& instrument : kInstruments) {
    renameEntries << instrument.renameEntry.toString();
  }
  rename_ = new RadioGroup(QStringLiteral("Rename"), renameEntries, 3, this);
  rename_->setObjectName(QStringLiteral("Rename"));
  rename_->setGeometry(24, 8, 585, 193);
  rename_->setAlignment(Qt::AlignHCenter);
  SetTextColor(rename_, kRenameTextColor);
  // The name edit and its button sit over the lower right of the group.
  QMargins margins = rename_->itemLayout()->contentsMargins();
  margins.setBottom(margins.bottom() + 28);
  rename_->itemLayout()->setContentsMargins(margins);

  for (std::size_t i = 0; i < kInstrumentCount; ++i) {
    const InstrumentControls& instrument = kInstruments[i];
    QStringList items;
    for (const RangeItem& item : RangeItemsOf(i)) items << item.caption.toString();
    auto* group = new RadioGroup(instrument.initialCaption.toString(), items, 1, this);
    group->setObjectName(QString::fromLatin1(instrument.rangeGroup));
    group->setGeometry(instrument.rangeGeometry);
    // The items keep clear of the AC/DC box in the lower right corner.
    group->itemLayout()->setContentsMargins(6, 4, 4, i < kAcDcCount ? 46 : 8);
    rangeGroups_[i] = group;
  }

  // Created after the groups so that each box lies over its group.
  for (std::size_t i = 0; i < kAcDcCount; ++i) {
    auto* box = new QCheckBox(AcDcCaption(false), this);
    box->setObjectName(QString::fromLatin1(kAcDcBoxes[i].box));
    box->setGeometry(QRect(kAcDcBoxes[i].at, kAcDcSize));
    acDcBoxes_[i] = box;
  }

  ren_ = new QLineEdit(this);
  ren_->setObjectName(QStringLiteral("Ren"));
  ren_->setGeometry(368, 174, 154, 27);
  SetTextColor(ren_, Qt::black);

  renameSet_ = new QPushButton(QStringLiteral("Rename"), this);
  renameSet_->setObjectName(QStringLiteral("RenameSet"));
  renameSet_->setGeometry(528, 175, 81, 26);
  SetTextColor(renameSet_, Qt::black);

  measureSettings_ = new QPushButton(QStringLiteral("Save  Settings and close"), this);
  measureSettings_->setObjectName(QStringLiteral("MeasureSettings"));
  measureSettings_->setGeometry(24, 603, 793, 36);
  measureSettings_->setFont(PixelFont(font(), 19));
  // Last in the tab order, so that saving works from the keyboard too.
  measureSettings_->setFocusPolicy(Qt::StrongFocus);
  measureSettings_->setStyleSheet(QStringLiteral(
      "QPushButton { color: white; background-color: #2b3a2b; border: 1px solid #101810;"
      " border-radius: 4px; }"
      "QPushButton:hover { background-color: #3a4f3a; }"
      "QPushButton:pressed { background-color: #1c261c; }"));
}

void TMsrSetings::SetTabOrder() {
  std::vector<QWidget*> order;
  const auto addGroup = [&order](const RadioGroup* group) {
    for (int i = 0; i < group->count(); ++i) order.push_back(group->itemButton(i));
  };
  addGroup(rename_);
  for (std::size_t i = 0; i <= 7; ++i) addGroup(rangeGroups_[i]);  // V1Range … Temp1Range
  order.push_back(acDcBoxes_[0]);
  addGroup(rangeGroups_[8]);  // Temp2Range
  for (std::size_t i = 1; i < kAcDcCount; ++i) order.push_back(acDcBoxes_[i]);
  order.push_back(ren_);
  order.push_back(renameSet_);
  order.push_back(measureSettings_);
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void TMsrSetings::ConnectHandlers() {
  for (std::size_t i = 0; i < kInstrumentCount; ++i) {
    connect(rangeGroups_[i], &RadioGroup::itemClicked, this,
            [this, i] { RunGuarded(prompts_, [this, i] { RangeClick(i); }); });
  }
  for (std::size_t i = 0; i < kAcDcCount; ++i) {
    connect(acDcBoxes_[i], &QCheckBox::clicked, this,
            [this, i] { RunGuarded(prompts_, [this, i] { AcDcClick(i); }); });
  }
  connect(rename_, &RadioGroup::itemClicked, this,
          [this] { RunGuarded(prompts_, [this] { RenameClick(); }); });
  connect(renameSet_, &QPushButton::clicked, this,
          [this] { RunGuarded(prompts_, [this] { RenameSetClick(); }); });
  connect(measureSettings_, &QPushButton::clicked, this,
          [this] { RunGuarded(prompts_, [this] { MeasureSettingsClick(); }); });
}

void TMsrSetings::FormCreate() {
  // Each selection applies its range to the main window's gauges at once.
  for (std::size_t i = 0; i < kInstrumentCount; ++i) {
    const QString text = store_.ReadSetting(SettingsKey, ChannelRangeNames[i]);
    rangeGroups_[i]->setItemIndex(IntegerFromText(text));
  }
  // Set from code: the boxes' click handlers do not run.
  for (std::size_t i = 0; i < kAcDcCount; ++i) {
    const QString text = store_.ReadSetting(SettingsKey, AcDcNames[i]);
    QCheckBox* box = acDcBoxes_[i];
    box->setChecked(FlagFromText(text));
    box->setText(AcDcCaption(box->isChecked()));
  }
  for (std::size_t i = 0; i < kInstrumentCount; ++i) {
    const QString name = store_.ReadSetting(InstrumentNamesKey, InstrumentNameNames[i]);
    rangeGroups_[i]->setTitle(RangeCaption(name));
  }
}

void TMsrSetings::RangeClick(std::size_t instrument) {
  const std::span<const RangeItem> items = RangeItemsOf(instrument);
  const int index = rangeGroups_[instrument]->itemIndex();
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  const RangeItem& item = items[static_cast<std::size_t>(index)];

  if (instrument < gauges_.meters.size()) {
    AnalogMeter* meter = gauges_.meters[instrument];
    meter->setMaxValue(static_cast<int>(item.max));
    if (item.min) meter->setMinValue(static_cast<int>(*item.min));
  } else {
    ThermoMeter* thermometer = gauges_.thermometers[instrument - gauges_.meters.size()];
    thermometer->setScaleMax(item.max);
    if (item.min) thermometer->setScaleMin(*item.min);
  }
}

void TMsrSetings::AcDcClick(std::size_t channel) {
  QCheckBox* box = acDcBoxes_[channel];
  box->setText(AcDcCaption(box->isChecked()));
}

void TMsrSetings::RenameClick() {
  const int index = rename_->itemIndex();
  if (index < 0) return;
  ren_->setText(rename_->itemText(index));
}

void TMsrSetings::RenameSetClick() {
  const int index = rename_->itemIndex();
  if (index < 0) return;
  const auto instrument = static_cast<std::size_t>(index);
  const QString name = ren_->text();
  const QString nameValue = InstrumentNameNames[instrument];

  if (instrument < kAcDcCount) {
    store_.WriteSetting(InstrumentNamesKey, nameValue, name);
    rename_->setItemText(index, name);
    rangeGroups_[instrument]->setTitle(RangeCaption(name));
    gauges_.meters[instrument]->setCaption(name);
    // The only step that brings the AC/DC flag to the main window.
    QCheckBox* box = acDcBoxes_[instrument];
    const QString flag = AcDcCaption(box->isChecked());
    gauges_.acDcLabels[instrument]->setText(flag);
    box->setText(flag);
  } else {
    store_.WriteSetting(InstrumentNamesKey, nameValue, name);
    gauges_.temperatureLabels[instrument - kAcDcCount]->setText(name);
    rename_->setItemText(index, name);
    rangeGroups_[instrument]->setTitle(RangeCaption(name));
  }
}

void TMsrSetings::MeasureSettingsClick() {
  store_.WriteSetting(SettingsKey, RenameName, QString::number(rename_->itemIndex()));
  for (std::size_t i = 0; i < kInstrumentCount; ++i) {
    store_.WriteSetting(SettingsKey, ChannelRangeNames[i],
                        QString::number(rangeGroups_[i]->itemIndex()));
  }
  for (std::size_t i = 0; i < kAcDcCount; ++i) {
    store_.WriteSetting(SettingsKey, AcDcNames[i],
                        acDcBoxes_[i]->isChecked() ? AcFlagText : DcFlagText);
  }
  rename_->setItemIndex(-1);
  close();
}

}  // namespace orvex
