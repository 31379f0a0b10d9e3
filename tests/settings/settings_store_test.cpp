#include "settings/settings_store.h"
#include "core/error.h"
#include "settings/ini_settings_backend.h"
#include "settings/settings_keys.h"
#include "settings_fixture.h"
#include "support/fake_prompts.h"
#include "support/recording_backend.h"
#include "support/test_printers.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace orvex {
namespace {

using Status = SettingsBackend::Status;

using test::RecordingBackend;
using Write = test::SettingsWrite;

const std::vector<Write> FirstRunWrites = {
    {"Orvex controller", "First1", "First time ok"},
    {"Orvex controller", "Volt 1 enable", "false"},
    {"Orvex controller", "Volt 2 enable", "false"},
    {"Orvex controller", "Volt 3 enable", "false"},
    {"Orvex controller", "Ampere 1 enable", "false"},
    {"Orvex controller", "Ampere 2 enable", "false"},
    {"Orvex controller", "Ampere 3 enable", "false"},
    {"Orvex controller", "Ampere 4 enable", "false"},
    {"Orvex controller", "Temperature 1 enable", "false"},
    {"Orvex controller", "Temperature 2 enable", "false"},
    {"Orvex controller", "Timing", "5"},
    {"Orvex controller", "Digital input 1 enable", "false"},
    {"Orvex controller", "Digital input 2 enable", "false"},
    {"Orvex controller", "Digital input 3 enable", "false"},
    {"Orvex controller", "Tmp1", "0"},
    {"Orvex controller", "Tmp2", "0"},
    {"Orvex controller\\Settings", "Rename", "-1"},
    {"Orvex controller\\Settings", "Volt 1 range", "-1"},
    {"Orvex controller\\Settings", "Volt 2 range", "-1"},
    {"Orvex controller\\Settings", "Volt 3 range", "-1"},
    {"Orvex controller\\Settings", "Ampere 1 range", "-1"},
    {"Orvex controller\\Settings", "Ampere 2 range", "-1"},
    {"Orvex controller\\Settings", "Ampere 3 range", "-1"},
    {"Orvex controller\\Settings", "Ampere 4 range", "-1"},
    {"Orvex controller\\Settings", "Temp 1 range", "-1"},
    {"Orvex controller\\Settings", "Temp 2 range", "-1"},
    {"Orvex controller\\Settings", "Volt 1 AC/DC", "0"},
    {"Orvex controller\\Settings", "Volt 2 AC/DC", "0"},
    {"Orvex controller\\Settings", "Volt 3 AC/DC", "0"},
    {"Orvex controller\\Settings", "Ampere 1 AC/DC", "0"},
    {"Orvex controller\\Settings", "Ampere 2 AC/DC", "0"},
    {"Orvex controller\\Settings", "Ampere 3 AC/DC", "0"},
    {"Orvex controller\\Settings", "Ampere 4 AC/DC", "0"},
    {"Orvex controller\\Instrument names", "Volt 1 name", "Voltage 1"},
    {"Orvex controller\\Instrument names", "Volt 2 name", "Voltage 2"},
    {"Orvex controller\\Instrument names", "Volt 3 name", "Voltage 3"},
    {"Orvex controller\\Instrument names", "Ampere 1 name", "Ampere 1"},
    {"Orvex controller\\Instrument names", "Ampere 2 name", "Ampere 2"},
    {"Orvex controller\\Instrument names", "Ampere 3 name", "Ampere 3"},
    {"Orvex controller\\Instrument names", "Ampere 4 name", "Ampere 4"},
    {"Orvex controller\\Instrument names", "Temperature 1 name", "Temp 1"},
    {"Orvex controller\\Instrument names", "Temperature 2 name", "Temp 2"},
    {"Orvex controller", "Interface IP", "192.168.1.1"},
    {"Orvex controller", "Input 1 name", "Digital input 1"},
    {"Orvex controller", "Input 2 name", "Digital input 2"},
    {"Orvex controller", "Input 3 name", "Digital input 3"},
    {"Orvex controller", "Output 1 name", "Digital output 1"},
    {"Orvex controller", "Output 2 name", "Digital output 2"},
    {"Orvex controller", "Output 3 name", "Digital output 3"},
};

class SettingsStoreTest : public test::SettingsFolder {
 protected:
  std::unique_ptr<SettingsStore> recordingStore(const QString& file) {
    return std::make_unique<SettingsStore>(std::make_unique<RecordingBackend>(file, writes_),
                                           prompts_);
  }
  std::unique_ptr<SettingsStore> store(const QString& file) {
    return std::make_unique<SettingsStore>(std::make_unique<IniSettingsBackend>(file), prompts_);
  }

  std::vector<Write> writes_;
  test::FakePrompts prompts_;
};

TEST_F(SettingsStoreTest, FirstStartWritesEveryDefaultInOrder) {
  EXPECT_TRUE(recordingStore(path())->RunFirstRunStep());
  EXPECT_EQ(writes_, FirstRunWrites);
  EXPECT_TRUE(prompts_.boxes.empty());

  IniSettingsBackend onDisk(freshCopy(path()));
  for (const Write& w : FirstRunWrites) {
    const auto read = onDisk.readString(w.key, w.name);
    EXPECT_EQ(read.status, Status::Ok) << w.name.toStdString();
    EXPECT_EQ(read.value, w.text) << w.name.toStdString();
  }
}

TEST_F(SettingsStoreTest, LaterStartWritesNothing) {
  ASSERT_TRUE(store(path())->RunFirstRunStep());
  store(path())->WriteSetting(RootKey, "Timing", "17");

  EXPECT_FALSE(recordingStore(path())->RunFirstRunStep());
  EXPECT_TRUE(writes_.empty());
  EXPECT_EQ(store(path())->ReadSetting(RootKey, "Timing"), "17");
}

TEST_F(SettingsStoreTest, AnyOtherMarkerTextCountsAsFirstStart) {
  for (const QString marker :
       {"first time ok", "FIRST TIME OK", "First time ok ", " First time ok", "First", ""}) {
    store(path())->WriteSetting(RootKey, "First1", marker);
    store(path())->WriteSetting(RootKey, "Timing", "17");
    writes_.clear();

    EXPECT_TRUE(recordingStore(path())->RunFirstRunStep()) << marker.toStdString();
    EXPECT_EQ(writes_, FirstRunWrites) << marker.toStdString();
    EXPECT_EQ(store(path())->ReadSetting(RootKey, "Timing"), "5");
    EXPECT_EQ(store(path())->ReadSetting(RootKey, "First1"), "First time ok");
  }
  EXPECT_TRUE(prompts_.boxes.empty());
}

TEST_F(SettingsStoreTest, AnUnavailableKeyIsReportedOncePerKeyAndReadsAsEmpty) {
  const QString file = unavailablePath();
  auto firstStart = store(file);
  EXPECT_TRUE(firstStart->RunFirstRunStep());
  const std::vector<QString> expected = {
      "Error opening/creating key : Orvex controller",
      "Error opening/creating key : Orvex controller\\Settings",
      "Error opening/creating key : Orvex controller\\Instrument names",
  };
  EXPECT_EQ(prompts_.texts(test::FakePrompts::Kind::Message), expected);
  EXPECT_EQ(prompts_.boxes.size(), expected.size());

  EXPECT_EQ(firstStart->ReadSetting(RootKey, "Interface IP"), "");
  EXPECT_EQ(firstStart->ReadSetting(SettingsKey, "Volt 1 AC/DC"), "");
  firstStart->WriteSetting(InstrumentNamesKey, "Volt 1 name", "Array");
  EXPECT_EQ(prompts_.boxes.size(), expected.size());

  // The next start reports again.
  prompts_.clear();
  EXPECT_TRUE(store(file)->RunFirstRunStep());
  EXPECT_EQ(prompts_.texts(test::FakePrompts::Kind::Message), expected);
}

TEST_F(SettingsStoreTest, TheKeyIsMarkedReportedBeforeTheBoxReturns) {
  auto settings = store(unavailablePath());
  // A tick handled while the box is open touches the same key.
  prompts_.whileOpen = [&](const test::FakePrompts::Box&) {
    EXPECT_EQ(settings->ReadSetting(RootKey, "Timing"), "");
  };
  EXPECT_EQ(settings->ReadSetting(RootKey, "Interface IP"), "");
  EXPECT_EQ(prompts_.boxes.size(), 1u);
}

TEST_F(SettingsStoreTest, AValueThatIsNotAStringRaises) {
  IniSettingsBackend(path()).writeInteger(RootKey, "Timing", 5);
  IniSettingsBackend(path()).writeInteger(RootKey, "First1", 1);
  auto settings = store(path());
  try {
    settings->ReadSetting(RootKey, "Timing");
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.text(), "Invalid data type for 'Timing'");
  }
  // The first-run step reads the marker like any reader and writes nothing.
  writes_.clear();
  EXPECT_THROW(recordingStore(path())->RunFirstRunStep(), Error);
  EXPECT_TRUE(writes_.empty());
  EXPECT_TRUE(prompts_.boxes.empty());
}

TEST_F(SettingsStoreTest, TextsAreStoredExactlyAndMissingValuesReadAsEmpty) {
  auto settings = store(path());
  EXPECT_EQ(settings->ReadSetting(RootKey, "Volt 2 enable"), "");
  for (const QString text : {"", " 1,5 ", "Volt 1 AC/DC", "a\\b%2F", "line\nbreak"}) {
    settings->WriteSetting(SettingsKey, "Volt 1 AC/DC", text);
    EXPECT_EQ(store(path())->ReadSetting(SettingsKey, "Volt 1 AC/DC"), text);
  }
  settings->WriteSetting(RootKey, "Input 1 name", "");
  EXPECT_EQ(IniSettingsBackend(freshCopy(path())).readString(RootKey, "Input 1 name").status,
            Status::Ok);
  EXPECT_TRUE(prompts_.boxes.empty());
}

}  // namespace
}  // namespace orvex
