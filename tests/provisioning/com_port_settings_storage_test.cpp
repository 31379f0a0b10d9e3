#include "provisioning/com_port_settings_storage.h"
#include "core/error.h"
#include "access_recording_backend.h"
#include "settings/settings_keys.h"
#include "support/test_printers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace orvex {
namespace {

using Status = SettingsBackend::Status;

class ComPortSettingsStorageTest : public ::testing::Test {
 protected:
  QString filePath() const { return dir_.filePath(QStringLiteral("orvex-controller.ini")); }

  void Put(const QString& name, const QString& text) {
    ASSERT_EQ(backend_.writeString(ComPortKey, name, text), Status::Ok);
  }

  QTemporaryDir dir_;
  test::AccessRecordingBackend backend_{filePath()};
  ComPortSettingsStorage storage_{backend_};
};

ComPortSettings Com5At115200() {
  ComPortSettings settings;
  settings.port = QStringLiteral("COM5");
  settings.baudRate = BaudRate::Br115200;
  settings.dataBits = DataBits::Seven;
  settings.stopBits = StopBits::OneAndHalf;
  settings.parity = Parity::Even;
  ApplyFlowControl(FlowControl::Hardware, settings.flow);
  return settings;
}

TEST_F(ComPortSettingsStorageTest, StoresEveryValueInOrderAsText) {
  storage_.Store(Com5At115200());

  EXPECT_EQ(backend_.writes,
            QStringList({"Port", "BaudRate", "StopBits", "DataBits", "Parity", "FlowControl"}));
  const QStringList names{"Port", "BaudRate", "StopBits", "DataBits", "Parity", "FlowControl"};
  const QStringList texts{"COM5", "115200", "1.5", "7", "Even", "Hardware"};
  for (qsizetype i = 0; i < names.size(); ++i) {
    const auto stored = backend_.readString(ComPortKey, names[i]);
    EXPECT_EQ(stored.status, Status::Ok) << names[i].toStdString();
    EXPECT_EQ(stored.value, texts[i]) << names[i].toStdString();
  }
  EXPECT_EQ(backend_.readInteger(ComPortKey, "CustomBaudRate").status, Status::Missing);
}

TEST_F(ComPortSettingsStorageTest, StoresTheCustomRateAsIntegerOnlyWithCustom) {
  ComPortSettings settings;
  settings.baudRate = BaudRate::Custom;
  settings.customBaudRate = 250000;
  storage_.Store(settings);

  EXPECT_EQ(backend_.writes, QStringList({"Port", "BaudRate", "CustomBaudRate", "StopBits",
                                          "DataBits", "Parity", "FlowControl"}));
  EXPECT_EQ(backend_.readString(ComPortKey, "BaudRate").value, "Custom");
  const auto rate = backend_.readInteger(ComPortKey, "CustomBaudRate");
  EXPECT_EQ(rate.status, Status::Ok);
  EXPECT_EQ(rate.value, 250000);
}

TEST_F(ComPortSettingsStorageTest, StoredSettingsLoadBackThroughANewBackend) {
  ComPortSettings custom = Com5At115200();
  custom.baudRate = BaudRate::Custom;
  custom.customBaudRate = 31250;
  ApplyFlowControl(FlowControl::Software, custom.flow);

  for (const ComPortSettings& stored : {Com5At115200(), custom, ComPortSettings{}}) {
    storage_.Store(stored);
    test::AccessRecordingBackend reopened(filePath());
    ComPortSettings loaded;
    loaded.port = QStringLiteral("elsewhere");
    ComPortSettingsStorage(reopened).Load(loaded);
    EXPECT_EQ(loaded, stored) << stored.port.toStdString();
  }
}

TEST_F(ComPortSettingsStorageTest, FirstStartCreatesTheKeyAndGivesDefaultsAndNoPort) {
  ComPortSettings settings = Com5At115200();
  settings.baudRate = BaudRate::Custom;
  storage_.Load(settings);

  ComPortSettings expected;
  expected.port.clear();
  // The flags are not touched by a missing flow-control text.
  expected.flow = Com5At115200().flow;
  EXPECT_EQ(settings, expected);
  EXPECT_FALSE(backend_.reads.contains("CustomBaudRate"));
}

struct StoredTextCase {
  const char* name;
  const char* value;
  QString text;
  std::function<bool(const ComPortSettings&)> holds;
};

class ComPortStoredText : public ComPortSettingsStorageTest,
                          public ::testing::WithParamInterface<StoredTextCase> {};

TEST_P(ComPortStoredText, ReadsAs) {
  Put(QString::fromLatin1(GetParam().value), GetParam().text);
  ComPortSettings settings = Com5At115200();
  storage_.Load(settings);
  EXPECT_TRUE(GetParam().holds(settings));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComPortStoredText,
    ::testing::Values(
        StoredTextCase{"ParityEven", "Parity", "Even",
                       [](const auto& s) { return s.parity == Parity::Even; }},
        StoredTextCase{"ParityLowerCase", "Parity", "even",
                       [](const auto& s) { return s.parity == Parity::Even; }},
        StoredTextCase{"ParityUpperCase", "Parity", "EVEN",
                       [](const auto& s) { return s.parity == Parity::Even; }},
        StoredTextCase{"ParityUnknown", "Parity", "Evens",
                       [](const auto& s) { return s.parity == Parity::None; }},
        StoredTextCase{"BaudRateUnknown", "BaudRate", "9601",
                       [](const auto& s) { return s.baudRate == BaudRate::Br9600; }},
        StoredTextCase{"BaudRateListed", "BaudRate", "56000",
                       [](const auto& s) { return BaudRateValue(s) == 56000; }},
        StoredTextCase{"StopBitsOneAndHalf", "StopBits", "1.5",
                       [](const auto& s) { return s.stopBits == StopBits::OneAndHalf; }},
        StoredTextCase{"StopBitsUnknown", "StopBits", "3",
                       [](const auto& s) { return s.stopBits == StopBits::One; }},
        StoredTextCase{"DataBitsUnknown", "DataBits", "",
                       [](const auto& s) { return s.dataBits == DataBits::Eight; }},
        StoredTextCase{"FlowNone", "FlowControl", "none",
                       [](const auto& s) { return FlowControlOf(s.flow) == FlowControl::None; }},
        StoredTextCase{"FlowCustomKeepsFlags", "FlowControl", "Custom",
                       [](const auto& s) { return s.flow == Com5At115200().flow; }},
        StoredTextCase{"FlowUnknownKeepsFlags", "FlowControl", "RTS",
                       [](const auto& s) { return s.flow == Com5At115200().flow; }},
        StoredTextCase{"PortAsStored", "Port", "/dev/ttyUSB0",
                       [](const auto& s) { return s.port == "/dev/ttyUSB0"; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ComPortSettingsStorageTest, CustomTakesTheStoredIntegerRate) {
  Put("BaudRate", "custom");
  ASSERT_EQ(backend_.writeInteger(ComPortKey, "CustomBaudRate", 250000), Status::Ok);
  ComPortSettings settings;
  storage_.Load(settings);
  EXPECT_EQ(settings.baudRate, BaudRate::Custom);
  EXPECT_EQ(BaudRateValue(settings), 250000);
}

TEST_F(ComPortSettingsStorageTest, CustomRateIsNotReadWithoutCustom) {
  Put("BaudRate", "19200");
  ASSERT_EQ(backend_.writeInteger(ComPortKey, "CustomBaudRate", 250000), Status::Ok);
  ComPortSettings settings;
  storage_.Load(settings);
  EXPECT_EQ(BaudRateValue(settings), 19200);
  EXPECT_EQ(settings.customBaudRate, 9600);
  EXPECT_FALSE(backend_.reads.contains("CustomBaudRate"));
}

struct LoadFailureCase {
  enum class Rate { Missing, Integer, Text };
  const char* name;
  Rate customRate;
  QString failName;  // empty with a status: opening the key
  std::optional<Status> failWith;
  QString portAfter;
};

class ComPortLoadFailure : public ComPortSettingsStorageTest,
                           public ::testing::WithParamInterface<LoadFailureCase> {};

TEST_P(ComPortLoadFailure, IsOneErrorAndKeepsWhatWasLoaded) {
  storage_.Store(Com5At115200());
  Put("BaudRate", "Custom");
  using Rate = LoadFailureCase::Rate;
  if (GetParam().customRate == Rate::Integer) {
    ASSERT_EQ(backend_.writeInteger(ComPortKey, "CustomBaudRate", 250000), Status::Ok);
  } else if (GetParam().customRate == Rate::Text) {
    Put("CustomBaudRate", "250000");
  }
  backend_.failName = GetParam().failName;
  backend_.failWith = GetParam().failWith;

  ComPortSettings settings;
  settings.port = QStringLiteral("before");
  settings.parity = Parity::Odd;
  try {
    storage_.Load(settings);
    FAIL() << "no error raised";
  } catch (const Error& e) {
    EXPECT_EQ(e.text(), "Failed to load settings");
  }
  // What was read before the failure stays loaded; what comes after is untouched.
  EXPECT_EQ(settings.port, GetParam().portAfter);
  EXPECT_EQ(settings.parity, Parity::Odd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComPortLoadFailure,
    ::testing::Values(
        LoadFailureCase{
            "KeyUnavailable", LoadFailureCase::Rate::Integer, {}, Status::KeyUnavailable, "before"},
        LoadFailureCase{"PortOfWrongType", LoadFailureCase::Rate::Integer, "Port",
                        Status::WrongType, "before"},
        LoadFailureCase{
            "CustomRateMissing", LoadFailureCase::Rate::Missing, {}, std::nullopt, "COM5"},
        LoadFailureCase{
            "CustomRateStoredAsText", LoadFailureCase::Rate::Text, {}, std::nullopt, "COM5"},
        LoadFailureCase{"ParityUnreadable", LoadFailureCase::Rate::Integer, "Parity",
                        Status::KeyUnavailable, "COM5"}),
    [](const auto& info) { return std::string(info.param.name); });

class ComPortStoreFailure : public ComPortSettingsStorageTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(ComPortStoreFailure, IsOneError) {
  ComPortSettings settings = Com5At115200();
  settings.baudRate = BaudRate::Custom;
  backend_.failName = QString::fromLatin1(GetParam());
  backend_.failWith = Status::KeyUnavailable;
  try {
    storage_.Store(settings);
    FAIL() << "no error raised";
  } catch (const Error& e) {
    EXPECT_EQ(e.text(), "Failed to store settings");
  }
}

INSTANTIATE_TEST_SUITE_P(Values, ComPortStoreFailure,
                         ::testing::Values("", "Port", "BaudRate", "CustomBaudRate", "StopBits",
                                           "DataBits", "Parity", "FlowControl"),
                         [](const auto& info) {
                           return std::string(*info.param ? info.param : "OpeningTheKey");
                         });

}  // namespace
}  // namespace orvex
