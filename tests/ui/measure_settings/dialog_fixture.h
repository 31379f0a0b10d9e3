#pragma once

#include "settings/ini_settings_backend.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "support/fake_prompts.h"
#include "support/recording_backend.h"
#include "support/test_printers.h"
#include "ui/measure_settings/measure_panel_gauges.h"
#include "ui/measure_settings/msr_setings.h"
#include "ui/measure_settings/radio_group.h"
#include "ui/widgets/analog_meter.h"
#include "ui/widgets/thermometer.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace orvex::test {

using Write = SettingsWrite;

// The main window's gauges and labels as the main window creates them.
struct Panel {
  Panel() {
    const std::array<const char*, 7> meterNames = {"Volt1",   "Volt2",   "Volt3",  "Ameter1",
                                                   "Ameter2", "Ameter3", "Ameter4"};
    const std::array<const char*, 7> captions = {"Voltage 1", "Voltage 2", "Voltage 3", "Ampere 1",
                                                 "Ampere 2",  "Ampere 3",  "Ampere 4"};
    const std::array<const char*, 7> acDcNames = {"V1AcDc", "V2AcDc", "V3AcDc", "A1AcDc",
                                                  "A2AcDc", "A3AcDc", "A4AcDc"};
    for (std::size_t i = 0; i < meters.size(); ++i) {
      meters[i] = std::make_unique<AnalogMeter>();
      meters[i]->setObjectName(QString::fromLatin1(meterNames[i]));
      meters[i]->setCaption(QString::fromLatin1(captions[i]));
      acDcLabels[i] = std::make_unique<QLabel>(QStringLiteral("DC"));
      acDcLabels[i]->setObjectName(QString::fromLatin1(acDcNames[i]));
    }
    meters[5]->setMinValue(-100);
    for (std::size_t i = 0; i < thermometers.size(); ++i) {
      thermometers[i] = std::make_unique<ThermoMeter>();
      temperatureLabels[i] = std::make_unique<QLabel>(QStringLiteral("Temp %1").arg(i + 1));
    }
  }

  MeasurePanelGauges gauges() const {
    MeasurePanelGauges result;
    for (std::size_t i = 0; i < meters.size(); ++i) {
      result.meters[i] = meters[i].get();
      result.acDcLabels[i] = acDcLabels[i].get();
    }
    for (std::size_t i = 0; i < thermometers.size(); ++i) {
      result.thermometers[i] = thermometers[i].get();
      result.temperatureLabels[i] = temperatureLabels[i].get();
    }
    return result;
  }

  std::array<std::unique_ptr<AnalogMeter>, 7> meters;
  std::array<std::unique_ptr<ThermoMeter>, 2> thermometers;
  std::array<std::unique_ptr<QLabel>, 7> acDcLabels;
  std::array<std::unique_ptr<QLabel>, 2> temperatureLabels;
};

// The dialog over a real INI file in a temporary folder. A restart destroys the
// dialog, the gauges and the store and builds new ones over the same file.
class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString iniPath() const { return dir_.filePath(QStringLiteral("orvex-controller.ini")); }

  // A store of its own over the same file, as another window would use it.
  QString Stored(const QString& key, const QString& name) {
    FakePrompts quiet;
    SettingsStore store(std::make_unique<IniSettingsBackend>(iniPath()), quiet);
    return store.ReadSetting(key, name);
  }
  void Store(const QString& key, const QString& name, const QString& text) {
    FakePrompts quiet;
    SettingsStore store(std::make_unique<IniSettingsBackend>(iniPath()), quiet);
    store.WriteSetting(key, name, text);
  }
  void RunFirstRun() {
    FakePrompts quiet;
    SettingsStore store(std::make_unique<IniSettingsBackend>(iniPath()), quiet);
    ASSERT_TRUE(store.RunFirstRunStep());
  }

  // Creates the gauges, the store and the dialog, which restores itself.
  void Start() {
    dialog_.reset();
    panel_ = std::make_unique<Panel>();
    // Each start records afresh, as its own store would.
    writes_.clear();
    auto backend = std::make_unique<RecordingBackend>(iniPath(), writes_);
    backend_ = backend.get();
    store_ = std::make_unique<SettingsStore>(std::move(backend), prompts_);
    dialog_ = std::make_unique<TMsrSetings>(*store_, prompts_, panel_->gauges());
  }
  void FirstStart() {
    RunFirstRun();
    Start();
  }
  void Restart() {
    dialog_.reset();
    store_.reset();
    panel_.reset();
    prompts_.clear();
    Start();
  }
  // As the main window's "Measure  Settings" button does.
  void Show() {
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
  }

  template <typename T>
  T* Find(const char* name) const {
    T* widget = dialog_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  RadioGroup* Group(const char* name) const { return Find<RadioGroup>(name); }
  QCheckBox* Box(const char* name) const { return Find<QCheckBox>(name); }
  QLineEdit* Ren() const { return Find<QLineEdit>("Ren"); }

  // A user's click on the indicator of a radio item or check box.
  static void ClickIndicator(QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    const QRect indicator = button->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, button);
    QTest::mouseClick(button, Qt::LeftButton, {}, indicator.center());
  }
  void ClickItem(const char* group, int index) { ClickIndicator(Group(group)->itemButton(index)); }
  void ClickButton(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
  void TypeName(const QString& name) {
    Ren()->clear();
    QTest::keyClicks(Ren(), name);
  }

  AnalogMeter& Meter(std::size_t i) const { return *panel_->meters[i]; }
  ThermoMeter& Thermo(std::size_t i) const { return *panel_->thermometers[i]; }
  QLabel& AcDcLabel(std::size_t i) const { return *panel_->acDcLabels[i]; }
  QLabel& TemperatureLabel(std::size_t i) const { return *panel_->temperatureLabels[i]; }

  QTemporaryDir dir_;
  FakePrompts prompts_;
  std::unique_ptr<Panel> panel_;
  std::unique_ptr<SettingsStore> store_;
  std::vector<Write> writes_;
  RecordingBackend* backend_ = nullptr;
  std::unique_ptr<TMsrSetings> dialog_;
};

inline constexpr std::array<const char*, 9> kRangeGroups = {"V1Range", "V2Range",    "V3Range",
                                                            "A1Range", "A2Range",    "A3Range",
                                                            "A4Range", "Temp1Range", "Temp2Range"};
inline constexpr std::array<const char*, 7> kAcDcBoxes = {"AcDcV1", "AcDcV2", "AcDcV3", "AcDcA1",
                                                          "AcDcA2", "AcDcA3", "AcDcA4"};

}  // namespace orvex::test
