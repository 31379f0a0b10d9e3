#include "app/windows.h"

#include "log/fake_log_dialogs.h"
#include "log/measurement_log.h"
#include "log/log_table.h"
#include "log/xlsx_log_exporter.h"
#include "provisioning/port_setup_dialog.h"
#include "provisioning/tform2.h"
#include "settings/ini_settings_backend.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "support/fake_prompts.h"
#include "support/test_printers.h"
#include "ui/main/about_window.h"
#include "ui/main/measure_panel.h"
#include "ui/measure_settings/msr_setings.h"
#include "ui/widgets/analog_meter.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace orvex::test {
namespace {

class NoPortDialogs : public PortDialogs {
 public:
  bool ShowSetupDialog(ComPortSettings&, QWidget*) override { return false; }
};

// The program's windows as main() creates them, over a settings file of their own.
class ApplicationWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  }
  void TearDown() override {
    windows_.reset();
    QLocale::setDefault(QLocale::c());
  }

  std::unique_ptr<SettingsStore> MakeStore() {
    return std::make_unique<SettingsStore>(
        std::make_unique<IniSettingsBackend>(dir_.filePath(QStringLiteral("orvex.ini"))),
        prompts_);
  }
  ApplicationWindows& Start() {
    windows_.reset();
    ApplicationWindows::Services services;
    services.store = MakeStore();
    services.prompts = &prompts_;
    services.logDialogs = &logDialogs_;
    services.exporter = &exporter_;
    services.portDialogs = &portDialogs_;
    windows_ = std::make_unique<ApplicationWindows>(std::move(services));
    windows_->main()->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(windows_->main()));
    return *windows_;
  }

  QTemporaryDir dir_;
  FakePrompts prompts_;
  FakeLogDialogs logDialogs_;
  XlsxLogExporter exporter_;
  NoPortDialogs portDialogs_;
  std::unique_ptr<ApplicationWindows> windows_;
};

TEST_F(ApplicationWindowsTest, CreatesTheFourWindowsWithOnlyTheMainWindowShown) {
  ApplicationWindows& windows = Start();
  EXPECT_TRUE(prompts_.boxes.empty());
  struct Expected {
    QWidget* window;
    QString caption;
    QSize size;
  };
  const Expected expected[] = {
      {windows.main(), "Orvex controller v2", {1249, 837}},
      {windows.about(), "About", {539, 295}},
      {windows.setup(), "Setup", {278, 334}},
      {windows.measureSettings(), "  Measure settings", {837, 646}},
  };
  for (const Expected& e : expected) {
    EXPECT_EQ(e.window->windowTitle(), e.caption);
    EXPECT_EQ(e.window->size(), e.size) << e.caption.toStdString();
    EXPECT_EQ(e.window->isVisible(), e.window == windows.main()) << e.caption.toStdString();
    EXPECT_FALSE(e.window->windowFlags() & Qt::WindowMaximizeButtonHint);
  }
}

TEST_F(ApplicationWindowsTest, SecondaryWindowsShowModelessAndHideOnClose) {
  ApplicationWindows& windows = Start();
  TMain& main = *windows.main();
  const std::pair<const char*, QWidget*> buttons[] = {
      {"Setup", windows.setup()},
      {"SpeedButton7", windows.about()},
  };
  for (const auto& [name, window] : buttons) {
    QTest::mouseClick(main.toolButton(QLatin1String(name)), Qt::LeftButton);
    EXPECT_TRUE(window->isVisible()) << name;
    EXPECT_FALSE(window->isModal()) << name;
  }
  QTest::mouseClick(main.findChild<QPushButton*>("MeasureSettings"), Qt::LeftButton);
  EXPECT_TRUE(windows.measureSettings()->isVisible());

  auto* ssid = windows.setup()->findChild<QLineEdit*>("ssid");
  ASSERT_NE(ssid, nullptr);
  ssid->setText("Greenhouse");
  windows.setup()->close();
  windows.about()->close();
  EXPECT_FALSE(windows.setup()->isVisible());
  EXPECT_FALSE(windows.about()->isVisible());
  // The same window comes back, texts kept.
  QTest::mouseClick(main.toolButton("Setup"), Qt::LeftButton);
  EXPECT_EQ(windows.setup()->findChild<QLineEdit*>("ssid")->text(), "Greenhouse");
  EXPECT_TRUE(prompts_.boxes.empty());
}

TEST_F(ApplicationWindowsTest, StoredRangesReachTheMainWindowAtStartUp) {
  MakeStore()->RunFirstRunStep();
  MakeStore()->WriteSetting(SettingsKey, "Volt 1 range", "3");
  MakeStore()->WriteSetting(SettingsKey, "Ampere 3 range", "0");
  ApplicationWindows& windows = Start();
  EXPECT_EQ(windows.main()->findChild<AnalogMeter*>("Volt1")->maxValue(), 400);
  EXPECT_EQ(windows.main()->findChild<AnalogMeter*>("Ameter3")->minValue(), -20);
  EXPECT_TRUE(prompts_.boxes.empty());
}

TEST_F(ApplicationWindowsTest, AnErrorInOneWindowsCreationLetsStartUpGoOn) {
  MakeStore()->RunFirstRunStep();
  MakeStore()->WriteSetting(RootKey, "Timing", "often");
  MakeStore()->WriteSetting(SettingsKey, "Volt 2 AC/DC", "");
  ApplicationWindows& windows = Start();
  // The main window's box first, then the dialog's; every window exists.
  EXPECT_EQ(prompts_.texts(), (std::vector<QString>{"'often' is not a valid integer value.",
                                                    "'' is not a valid boolean value."}));
  EXPECT_NE(windows.setup(), nullptr);
  EXPECT_NE(windows.measureSettings(), nullptr);
  EXPECT_TRUE(windows.main()->isVisible());
}

TEST_F(ApplicationWindowsTest, TicksLogTheReadoutsOrDisabled) {
  MakeStore()->RunFirstRunStep();
  MakeStore()->WriteSetting(RootKey, "Volt 1 enable", "true");
  MakeStore()->WriteSetting(RootKey, "Temperature 2 enable", "true");
  ApplicationWindows& windows = Start();
  TMain& main = *windows.main();
  main.measurePanel().readout(ChannelId::Volt1)->setText("12,7");
  main.measurePanel().readout(ChannelId::Volt2)->setText("typed, not logged");
  main.MeasureTimerTimer();
  main.MeasureTimerTimer();

  const LogTable& table = main.log().table();
  ASSERT_EQ(table.rowCount(), 4);
  EXPECT_EQ(table.cell(0, 0), "Date");
  for (int row : {1, 2}) {
    EXPECT_FALSE(table.cell(0, row).isEmpty());
    EXPECT_EQ(table.cell(1, row).count(':'), 2) << table.cell(1, row).toStdString();
    EXPECT_EQ(table.cell(2, row), "12,7");
    EXPECT_EQ(table.cell(3, row), "Disabled");
    EXPECT_EQ(table.cell(9, row), "Disabled");
    EXPECT_EQ(table.cell(10, row), "0");
  }
  EXPECT_TRUE(table.cell(2, 3).isEmpty());
}

TEST_F(ApplicationWindowsTest, LogButtonsRunTheLogActions) {
  ApplicationWindows& windows = Start();
  const QString name = dir_.filePath("saved.log");
  logDialogs_.saveNames << name;
  QTest::mouseClick(windows.main()->toolButton("SaveAs"), Qt::LeftButton);
  EXPECT_TRUE(QFile::exists(name));

  // Save before any file was opened: the empty name cannot be created.
  QTest::mouseClick(windows.main()->toolButton("Save"), Qt::LeftButton);
  ASSERT_EQ(prompts_.boxes.size(), 1u);
  EXPECT_EQ(prompts_.boxes[0].kind, FakePrompts::Kind::Error);
}

}  // namespace
}  // namespace orvex::test
