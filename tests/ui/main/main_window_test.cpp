#include "main_window_fixture.h"

#include "device/measurement_frame.h"
#include "support/test_printers.h"
#include "ui/main/io_panel.h"
#include "ui/main/measure_panel.h"
#include "ui/main/timing_spin_edit.h"
#include "ui/widgets/analog_meter.h"
#include "ui/widgets/thermometer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <limits>

namespace orvex::test {
namespace {

using Kind = FakePrompts::Kind;

QColor ShapeColor(QFrame* shape) { return shape->palette().color(QPalette::Window); }

TEST_F(MainWindowTest, FirstStartWritesDefaultsAndLoadsNothing) {
  TMain& main = Start();
  EXPECT_TRUE(prompts_.boxes.empty());
  EXPECT_EQ(main.windowTitle(), "Orvex controller v2");
  EXPECT_EQ(main.size(), QSize(1249, 837));
  EXPECT_EQ(Find<QLineEdit>("IpEdit")->text(), "0.0.0.0");
  EXPECT_EQ(main.session().wifi().host(), "");
  EXPECT_EQ(Find<TimingSpinEdit>("Timing")->text(), "5");
  EXPECT_EQ(main.session().MeasureTimer().interval(), 5000);
  EXPECT_FALSE(main.session().MeasureTimer().isActive());
  EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 0);
  EXPECT_EQ(Find<QPushButton>("Connect")->text(), "DisConnected");

  for (ChannelId channel : kAllChannels) {
    EXPECT_FALSE(main.measurePanel().enableBox(channel)->isChecked());
    EXPECT_EQ(main.measurePanel().readout(channel)->text(), IdleText(KindOf(channel)));
  }
  EXPECT_EQ(Find<AnalogMeter>("Ameter3")->minValue(), -100);
  EXPECT_EQ(Find<AnalogMeter>("Ameter3")->position(), 0);
  EXPECT_EQ(Find<AnalogMeter>("Volt1")->caption(), "Voltage 1");
  EXPECT_EQ(Find<QLabel>("Label2")->text(), "Temp 2");

  // Every default is there for the next start.
  EXPECT_EQ(Stored(RootKey, "First1"), "First time ok");
  EXPECT_EQ(Stored(RootKey, "Interface IP"), "192.168.1.1");
  EXPECT_EQ(Stored(RootKey, "Timing"), "5");
  EXPECT_EQ(Stored(SettingsKey, "Volt 1 AC/DC"), "0");
  EXPECT_EQ(Stored(InstrumentNamesKey, "Temperature 2 name"), "Temp 2");
}

TEST_F(MainWindowTest, SecondStartLoadsStoredValues) {
  FirstStartDone();
  Store(RootKey, "Volt 2 enable", "true");
  Store(RootKey, "Temperature 1 enable", "-1");
  Store(RootKey, "Digital input 2 enable", "true");
  Store(RootKey, "Interface IP", "10.1.2.3");
  Store(RootKey, "Timing", "7");
  Store(RootKey, "Tmp1", "1,5");
  Store(RootKey, "Input 3 name", "Pump");
  Store(RootKey, "Output 1 name", "");
  Store(InstrumentNamesKey, "Ampere 4 name", "Load");
  Store(InstrumentNamesKey, "Temperature 1 name", "Roof");

  TMain& main = Start();
  EXPECT_TRUE(prompts_.boxes.empty());
  const MeasurePanel& panel = main.measurePanel();
  EXPECT_FALSE(panel.enableBox(ChannelId::Volt1)->isChecked());
  EXPECT_TRUE(panel.enableBox(ChannelId::Volt2)->isChecked());
  EXPECT_TRUE(panel.enableBox(ChannelId::Temp1)->isChecked());
  // Loading an Enable box runs nothing: the stored text is not written back.
  EXPECT_EQ(Stored(RootKey, "Temperature 1 enable"), "-1");

  EXPECT_EQ(Find<QLineEdit>("IpEdit")->text(), "10.1.2.3");
  EXPECT_EQ(main.session().wifi().host(), "10.1.2.3");
  EXPECT_EQ(Find<TimingSpinEdit>("Timing")->text(), "7");
  EXPECT_EQ(main.session().MeasureTimer().interval(), 7000);

  EXPECT_TRUE(Find<QCheckBox>("Din2")->isChecked());
  EXPECT_EQ(ShapeColor(Find<QFrame>("Din21")), QColor(0x00, 0x80, 0x00));
  EXPECT_EQ(ShapeColor(Find<QFrame>("Din11")), QColor(0xFF, 0x00, 0x00));
  EXPECT_EQ(Find<QLineEdit>("Tmp1")->text(), "1,5");
  EXPECT_EQ(Find<QLabel>("Dig3In")->text(), "Pump");
  EXPECT_EQ(Find<QComboBox>("RenameInputs")->itemText(2), "Pump");
  EXPECT_EQ(Find<QLabel>("Dig1Out")->text(), "");
  EXPECT_EQ(Find<AnalogMeter>("Ameter4")->caption(), "Load");
  EXPECT_EQ(Find<QLabel>("Label1")->text(), "Roof");
}

TEST_F(MainWindowTest, MissingFlagStopsTheLoadThere) {
  FirstStartDone();
  Store(RootKey, "Volt 1 enable", "true");
  Store(RootKey, "Volt 3 enable", "true");
  Store(RootKey, "Timing", "9");
  // Deleting is not offered by the store: an empty text fails the same way.
  Store(RootKey, "Volt 2 enable", "");

  TMain& main = Start();
  ASSERT_EQ(prompts_.boxes.size(), 1u);
  EXPECT_EQ(prompts_.boxes[0].kind, Kind::Error);
  EXPECT_EQ(prompts_.boxes[0].text, "'' is not a valid boolean value.");
  EXPECT_TRUE(main.measurePanel().enableBox(ChannelId::Volt1)->isChecked());
  EXPECT_FALSE(main.measurePanel().enableBox(ChannelId::Volt3)->isChecked());
  EXPECT_EQ(Find<QLineEdit>("IpEdit")->text(), "0.0.0.0");
  EXPECT_EQ(main.session().wifi().host(), "");
  EXPECT_EQ(Find<TimingSpinEdit>("Timing")->text(), "5");
  EXPECT_EQ(main.session().MeasureTimer().interval(), 1000);
}

TEST_F(MainWindowTest, TimingLoadsWithoutRangeCheckAndStopsAtNonInteger) {
  FirstStartDone();
  Store(RootKey, "Timing", "100");
  TMain& main = Start();
  auto* timing = Find<TimingSpinEdit>("Timing");
  EXPECT_EQ(timing->text(), "100");
  EXPECT_EQ(main.session().MeasureTimer().interval(), 100000);
  timing->stepBy(1);
  EXPECT_EQ(timing->text(), "60");
  EXPECT_EQ(Stored(RootKey, "Timing"), "60");
  EXPECT_EQ(main.session().MeasureTimer().interval(), 60000);
  QTest::keyClick(timing, Qt::Key_Down);
  EXPECT_EQ(timing->text(), "59");

  Store(RootKey, "Timing", "2");
  Start();
  QTest::keyClick(Find<TimingSpinEdit>("Timing"), Qt::Key_Down);
  EXPECT_EQ(Find<TimingSpinEdit>("Timing")->text(), "2");

  Store(RootKey, "Timing", "5s");
  Store(RootKey, "Volt 1 enable", "true");
  Store(RootKey, "Interface IP", "127.0.0.1");
  prompts_.clear();
  TMain& third = Start();
  ASSERT_EQ(prompts_.texts(), std::vector<QString>{"'5s' is not a valid integer value."});
  EXPECT_TRUE(third.measurePanel().enableBox(ChannelId::Volt1)->isChecked());
  EXPECT_EQ(Find<QLineEdit>("IpEdit")->text(), "127.0.0.1");
  EXPECT_FALSE(Find<QCheckBox>("Din1")->isChecked());
}

TEST_F(MainWindowTest, HandEditedTimingOutsideAnyUsefulRangeKeepsTheLogTimerSane) {
  FirstStartDone();
  const std::pair<const char*, int> cases[] = {
      {"0", 1000}, {"-5", 1000}, {"2147483647", std::numeric_limits<int>::max()}};
  for (const auto& [stored, interval] : cases) {
    Store(RootKey, "Timing", stored);
    TMain& main = Start();
    EXPECT_EQ(Find<TimingSpinEdit>("Timing")->text(), stored);
    EXPECT_EQ(main.session().MeasureTimer().interval(), interval) << stored;
  }
  EXPECT_TRUE(prompts_.boxes.empty());
}

TEST_F(MainWindowTest, EnableClicksStoreFlagsAndShowIdle) {
  TMain& main = Start();
  auto* box = Find<QCheckBox>("EnAmp3");
  auto* meter = Find<AnalogMeter>("Ameter3");
  auto* readout = Find<QLineEdit>("DIgAmeter3");

  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(Stored(RootKey, "Ampere 3 enable"), "true");
  meter->setPosition(42);
  readout->setText("typed");
  EXPECT_EQ(readout->text(), "typed");

  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(Stored(RootKey, "Ampere 3 enable"), "false");
  EXPECT_EQ(meter->position(), 0);
  EXPECT_EQ(readout->text(), "0,0");

  auto* temp = Find<QCheckBox>("EnTemp2");
  temp->setFocus();
  QTest::keyClick(temp, Qt::Key_Space);
  EXPECT_EQ(Stored(RootKey, "Temperature 2 enable"), "true");
  Find<ThermoMeter>("Thermo2")->setValue(30);
  QTest::keyClick(temp, Qt::Key_Space);
  EXPECT_EQ(Find<ThermoMeter>("Thermo2")->value(), 0.0);
  EXPECT_EQ(Find<QLineEdit>("Digtemp2")->text(), "0");
  EXPECT_TRUE(prompts_.boxes.empty());
  (void)main;
}

TEST_F(MainWindowTest, InputBoxesStoreStateAndColourShapes) {
  Start();
  Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
  QTest::mouseClick(Find<QCheckBox>("Din2"), Qt::LeftButton);
  EXPECT_EQ(Stored(RootKey, "Digital input 2 enable"), "true");
  EXPECT_EQ(ShapeColor(Find<QFrame>("Din21")), QColor(0x00, 0x80, 0x00));
  QTest::mouseClick(Find<QCheckBox>("Din2"), Qt::LeftButton);
  EXPECT_EQ(Stored(RootKey, "Digital input 2 enable"), "false");
  EXPECT_EQ(ShapeColor(Find<QFrame>("Din21")), QColor(0xFF, 0x00, 0x00));
}

TEST_F(MainWindowTest, RenamingInputsAndOutputs) {
  Start();
  Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
  auto* inputs = Find<QComboBox>("RenameInputs");
  auto* renInputs = Find<QPushButton>("RenInputs");

  // Nothing picked yet: nothing happens.
  inputs->setEditText("Ignored");
  QTest::mouseClick(renInputs, Qt::LeftButton);
  EXPECT_EQ(Find<QLabel>("Dig1In")->text(), "Digital input 1");
  EXPECT_EQ(Stored(RootKey, "Input 1 name"), "Digital input 1");

  inputs->setCurrentIndex(1);
  inputs->setEditText("Irrigation pump");
  QTest::mouseClick(renInputs, Qt::LeftButton);
  EXPECT_EQ(Find<QLabel>("Dig2In")->text(), "Irrigation pump");
  EXPECT_EQ(inputs->itemText(1), "Irrigation pump");
  EXPECT_EQ(Stored(RootKey, "Input 2 name"), "Irrigation pump");

  auto* outputs = Find<QComboBox>("RenameOutputs");
  outputs->setCurrentIndex(2);
  outputs->setEditText("");
  QTest::mouseClick(Find<QPushButton>("RenOutputs"), Qt::LeftButton);
  EXPECT_EQ(Find<QLabel>("Dig3Out")->text(), "");
  EXPECT_EQ(Stored(RootKey, "Output 3 name"), "");

  // The names come back after a restart.
  Start();
  Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
  EXPECT_EQ(Find<QLabel>("Dig2In")->text(), "Irrigation pump");
  EXPECT_EQ(Find<QComboBox>("RenameInputs")->itemText(1), "Irrigation pump");
  EXPECT_EQ(Find<QLabel>("Dig3Out")->text(), "");
}

TEST_F(MainWindowTest, ServiceEntryRevealsAndStoresOffsets) {
  Start();
  auto* logo = Find<QLabel>("Image1");
  auto* pass = Find<QLineEdit>("Pass");
  auto* tmp1 = Find<QLineEdit>("Tmp1");
  auto* tmp2 = Find<QLineEdit>("Tmp2");
  auto* ok = Find<QPushButton>("Button3");
  Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
  EXPECT_FALSE(pass->isVisible());

  QTest::mouseDClick(logo, Qt::LeftButton);
  EXPECT_TRUE(pass->isVisible());
  EXPECT_EQ(pass->text(), "0");

  for (const char* wrong : {"0", "TOVK", "tovk "}) {
    pass->setText(wrong);
    QTest::mouseDClick(pass, Qt::LeftButton);
    EXPECT_FALSE(tmp1->isVisible()) << wrong;
  }
  EXPECT_TRUE(prompts_.boxes.empty());

  pass->setText("tovk");
  QTest::mouseDClick(pass, Qt::LeftButton);
  EXPECT_TRUE(tmp1->isVisible());
  EXPECT_TRUE(tmp2->isVisible());
  EXPECT_TRUE(ok->isVisible());

  tmp1->clear();
  QTest::keyClicks(tmp1, "-12,75");
  EXPECT_EQ(tmp1->text(), "-12,");
  tmp2->setText("0,000125");
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_FALSE(tmp1->isVisible());
  EXPECT_FALSE(pass->isVisible());
  EXPECT_EQ(Stored(RootKey, "Tmp1"), "-12,");
  EXPECT_EQ(Stored(RootKey, "Tmp2"), "0,000125");
}

TEST_F(MainWindowTest, Button4OpensANewEmptyPasswordWindowEachClick) {
  TMain& main = Start();
  Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
  auto* button = Find<QPushButton>("Button4");
  QTest::mouseClick(button, Qt::LeftButton);
  QTest::mouseClick(button, Qt::LeftButton);
  const QList<QWidget*> windows = main.findChildren<QWidget*>("PasswordWindow");
  ASSERT_EQ(windows.size(), 2);
  for (QWidget* window : windows) {
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Password");
    EXPECT_TRUE(window->children().isEmpty());
  }
  EXPECT_TRUE(prompts_.boxes.empty());
}

TEST_F(MainWindowTest, ToolbarControlsHaveHintsAndAccessibleNames) {
  Start();
  struct Expected {
    const char* name;
    const char* hint;
  };
  const Expected controls[] = {
      {"Open", "Open log file"},
      {"SaveAs", "Save log file as"},
      {"Save", "Save opened file"},
      {"Print", "Print log file"},
      {"Export", "Export log file to excel"},
      {"Setup", "Set network via USB"},
      {"SpeedButton7", "About "},
      {"Timing", "Log file writing intervals in seconds 2-60 secs"},
      {"IpEdit", "Write here IP address for your local network"},
      {"WriteIP", "Save IP address "},
      {"Connect", "Connect to or disconnect  from device"},
      {"LedConnect", "Network status led, red if disconnected or green if connected"},
      {"Volt2", "Displays analog value for  voltage"},
      {"Ameter1", "Displays analog value for  amperage"},
      {"DIgAmeter2", "Displays digital value for regulator amperage"},
      {"EnVolt3", "Enables or disables Load voltage measurement"},
      {"MeasureSettings", "Shows measurement settings"},
  };
  for (const Expected& control : controls) {
    auto* widget = Find<QWidget>(QLatin1String(control.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->statusTip(), QLatin1String(control.hint)) << control.name;
    EXPECT_FALSE(widget->accessibleName().isEmpty()) << control.name;
  }
  for (QToolButton* button : window_->findChildren<QToolButton*>()) {
    EXPECT_NE(button->focusPolicy() & Qt::TabFocus, 0) << button->objectName().toStdString();
  }
}

}  // namespace
}  // namespace orvex::test
