#include "settings/ini_settings_backend.h"
#include "settings/settings_keys.h"
#include "settings_fixture.h"
#include "support/test_printers.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <climits>
#include <csignal>
#include <utility>
#include <vector>

namespace orvex {
namespace {

using Status = SettingsBackend::Status;

class IniSettingsBackendTest : public test::SettingsFolder {};

// Names chosen so that any encoding that mixes up "/", "\", "%" or the empty name
// makes two of them meet.
const std::vector<std::pair<QString, QString>> NamesAndTexts = {
    {"Volt 1 AC/DC", "-1"},
    {"a/b", "slash"},
    {"a\\b", "backslash"},
    {"a%2Fb", "escaped slash"},
    {"a%252Fb", "escaped twice"},
    {"%", "percent"},
    {"", "default value"},
    {"/", "lone slash"},
    {"\\", "lone backslash"},
    {"//x//", "doubled slashes"},
    {" leading and trailing ", "  padded text  "},
    {"General", "a name QSettings knows"},
    {"key=value;comment", "key = value ; not a comment"},
    {"[section]", "[not a section]"},
    {QString::fromUtf8("Temp\u00e9rature \u00ff \u03a9 \U0001F600"),
     QString::fromUtf8("\u00fc \u03a9 \U0001F600")},
    {"Empty", ""},
    {"Blank", " "},
    {"Comma", "one, two,three"},
    {"Quotes", "say \"hi\""},
    {"Escapes", "back\\slash \\n tab\t line\nnext\r\n"},
    {"At", "@at start"},
    {"AtAt", "@@"},
    {"ByteArrayText", "@ByteArray(x)"},
    {"InvalidText", "@Invalid()"},
    {"StringPrefix", "sz:text"},
    {"IntegerLike", "dword:12"},
    {"IntegerPrefixOnly", "dword:"},
    {"Hash", "#not a comment"},
    {"Equals", "=x"},
};

TEST_F(IniSettingsBackendTest, NamesAndTextsRoundTripExactly) {
  const QStringList keys = {RootKey, SettingsKey, "a/b\\c%d", ComPortKey};
  {
    IniSettingsBackend backend(path());
    for (const QString& key : keys) {
      for (const auto& [name, text] : NamesAndTexts) {
        ASSERT_EQ(backend.writeString(key, name, text), Status::Ok) << name.toStdString();
      }
    }
  }
  // Once through the process's shared view of the file, once read afresh from disk.
  for (const QString& file : {path(), freshCopy(path())}) {
    IniSettingsBackend backend(file);
    for (const QString& key : keys) {
      for (const auto& [name, text] : NamesAndTexts) {
        const auto read = backend.readString(key, name);
        EXPECT_EQ(read.status, Status::Ok) << key.toStdString() << " / " << name.toStdString();
        EXPECT_EQ(read.value, text) << key.toStdString() << " / " << name.toStdString();
      }
    }
  }
}

TEST_F(IniSettingsBackendTest, KeyPathsAreDistinctAndIgnoreStrayBackslashes) {
  IniSettingsBackend backend(path());
  ASSERT_EQ(backend.writeString(RootKey, "Settings", "value in root"), Status::Ok);
  ASSERT_EQ(backend.writeString(SettingsKey, "Rename", "-1"), Status::Ok);
  ASSERT_EQ(backend.writeString("Orvex controller/Settings", "Rename", "slash level"), Status::Ok);

  IniSettingsBackend fresh(freshCopy(path()));
  EXPECT_EQ(fresh.readString(RootKey, "Settings").value, "value in root");
  EXPECT_EQ(fresh.readString(SettingsKey, "Rename").value, "-1");
  EXPECT_EQ(fresh.readString("\\Orvex controller\\\\Settings\\", "Rename").value, "-1");
  EXPECT_EQ(fresh.readString("Orvex controller/Settings", "Rename").value, "slash level");
  EXPECT_EQ(fresh.readString(RootKey, "Rename").status, Status::Missing);
}

TEST_F(IniSettingsBackendTest, ThereIsNoKeyWithoutALevel) {
  IniSettingsBackend backend(path());
  EXPECT_EQ(backend.openKey(""), Status::KeyUnavailable);
  EXPECT_EQ(backend.writeString("\\", "x", "y"), Status::KeyUnavailable);
  EXPECT_EQ(backend.readString("", "x").status, Status::KeyUnavailable);
}

TEST_F(IniSettingsBackendTest, EmptyTextIsAValueNotAMissingOne) {
  IniSettingsBackend backend(path());
  ASSERT_EQ(backend.writeString(RootKey, "Input 1 name", ""), Status::Ok);
  for (const QString& file : {path(), freshCopy(path())}) {
    const auto read = IniSettingsBackend(file).readString(RootKey, "Input 1 name");
    EXPECT_EQ(read.status, Status::Ok);
    EXPECT_TRUE(read.value.isEmpty());
    EXPECT_EQ(IniSettingsBackend(file).readString(RootKey, "Input 2 name").status, Status::Missing);
  }
}

TEST_F(IniSettingsBackendTest, IntegersAndStringsKeepTheirTypes) {
  {
    IniSettingsBackend backend(path());
    ASSERT_EQ(backend.writeInteger(ComPortKey, "CustomBaudRate", 115200), Status::Ok);
    ASSERT_EQ(backend.writeInteger(ComPortKey, "Max", INT_MAX), Status::Ok);
    ASSERT_EQ(backend.writeInteger(ComPortKey, "Min", INT_MIN), Status::Ok);
    ASSERT_EQ(backend.writeString(ComPortKey, "BaudRate", "Custom"), Status::Ok);
    ASSERT_EQ(backend.writeString(ComPortKey, "Looks like one", "dword:5"), Status::Ok);
    ASSERT_EQ(backend.writeString(ComPortKey, "Number text", "9600"), Status::Ok);
    // A later write of the other type replaces the type too.
    ASSERT_EQ(backend.writeString(ComPortKey, "Became text", "x"), Status::Ok);
    ASSERT_EQ(backend.writeInteger(ComPortKey, "Became text", 1), Status::Ok);
    ASSERT_EQ(backend.writeString(ComPortKey, "Became text", "7"), Status::Ok);
  }
  for (const QString& file : {path(), freshCopy(path())}) {
    IniSettingsBackend backend(file);
    EXPECT_EQ(backend.readInteger(ComPortKey, "CustomBaudRate").value, 115200);
    EXPECT_EQ(backend.readInteger(ComPortKey, "CustomBaudRate").status, Status::Ok);
    EXPECT_EQ(backend.readInteger(ComPortKey, "Max").value, INT_MAX);
    EXPECT_EQ(backend.readInteger(ComPortKey, "Min").value, INT_MIN);
    EXPECT_EQ(backend.readString(ComPortKey, "CustomBaudRate").status, Status::WrongType);
    EXPECT_EQ(backend.readInteger(ComPortKey, "BaudRate").status, Status::WrongType);
    EXPECT_EQ(backend.readInteger(ComPortKey, "Looks like one").status, Status::WrongType);
    EXPECT_EQ(backend.readString(ComPortKey, "Looks like one").value, "dword:5");
    EXPECT_EQ(backend.readInteger(ComPortKey, "Number text").status, Status::WrongType);
    EXPECT_EQ(backend.readString(ComPortKey, "Became text").value, "7");
    EXPECT_EQ(backend.readInteger(ComPortKey, "Missing").status, Status::Missing);
  }
}

TEST_F(IniSettingsBackendTest, FileStaysReadableByPeople) {
  IniSettingsBackend backend(path());
  ASSERT_EQ(backend.writeString(ComPortKey, "Port", "/dev/ttyUSB0"), Status::Ok);
  ASSERT_EQ(backend.writeInteger(ComPortKey, "CustomBaudRate", 250000), Status::Ok);
  ASSERT_EQ(backend.writeString(RootKey, "First1", "First time ok"), Status::Ok);
  const QByteArray text = contents(path());
  EXPECT_TRUE(text.contains("[Comport%5CComPort1]")) << text.constData();
  EXPECT_TRUE(text.contains("\nCustomBaudRate=dword:250000\n")) << text.constData();
  EXPECT_TRUE(text.contains("\nPort=/dev/ttyUSB0\n")) << text.constData();
  EXPECT_TRUE(text.contains("\nFirst1=First time ok\n")) << text.constData();
}

TEST_F(IniSettingsBackendTest, ValuesOfOtherTypesWrittenByHandAreWrongType) {
  writeFile(path(),
            "[Orvex%20controller]\n"
            "List=a, b\n"
            "Bytes=@ByteArray(x)\n"
            "Rect=@Rect(1 2 3 4)\n"
            "Padded=dword:05\n"
            "Huge=dword:4294967296\n"
            "Quoted=\"a, b\"\n");
  IniSettingsBackend backend(path());
  for (const char* name : {"List", "Bytes", "Rect", "Padded", "Huge"}) {
    EXPECT_EQ(backend.readString(RootKey, name).status, Status::WrongType) << name;
    EXPECT_EQ(backend.readInteger(RootKey, name).status, Status::WrongType) << name;
  }
  EXPECT_EQ(backend.readString(RootKey, "Quoted").value, "a, b");
}

TEST_F(IniSettingsBackendTest, AValueWrittenIsSeenByEveryOtherBackendAtOnce) {
  IniSettingsBackend writer(path());
  IniSettingsBackend reader(path());
  EXPECT_EQ(reader.readString(RootKey, "Interface IP").status, Status::Missing);
  ASSERT_EQ(writer.writeString(RootKey, "Interface IP", "127.0.0.1"), Status::Ok);
  EXPECT_EQ(reader.readString(RootKey, "Interface IP").value, "127.0.0.1");
  ASSERT_EQ(writer.writeString(RootKey, "Interface IP", "127.0.0.2"), Status::Ok);
  EXPECT_EQ(reader.readString(RootKey, "Interface IP").value, "127.0.0.2");
}

TEST_F(IniSettingsBackendTest, AMissingFileIsAnEmptyStoreAndItsFolderIsCreated) {
  const QString nested = path("not/yet/there/orvex-controller.ini");
  IniSettingsBackend backend(nested);
  EXPECT_EQ(backend.openKey(RootKey), Status::Ok);
  EXPECT_EQ(backend.readString(RootKey, "First1").status, Status::Missing);
  EXPECT_EQ(backend.readInteger(ComPortKey, "CustomBaudRate").status, Status::Missing);
  EXPECT_TRUE(QFileInfo(path("not/yet/there")).isDir());
  ASSERT_EQ(backend.writeString(RootKey, "First1", "First time ok"), Status::Ok);
  EXPECT_EQ(IniSettingsBackend(nested).readString(RootKey, "First1").value, "First time ok");
}

TEST_F(IniSettingsBackendTest, AFolderThatCannotBeCreatedMakesEveryKeyUnavailable) {
  for (const QString& file : {unavailablePath(), path("blocker/orvex-controller.ini")}) {
    IniSettingsBackend backend(file);
    EXPECT_EQ(backend.openKey(RootKey), Status::KeyUnavailable);
    EXPECT_EQ(backend.readString(RootKey, "First1").status, Status::KeyUnavailable);
    EXPECT_EQ(backend.readInteger(ComPortKey, "CustomBaudRate").status, Status::KeyUnavailable);
    EXPECT_EQ(backend.writeString(RootKey, "First1", "x"), Status::KeyUnavailable);
    EXPECT_EQ(backend.writeInteger(ComPortKey, "CustomBaudRate", 1), Status::KeyUnavailable);
    // Nothing of the failed write lingers for the next read.
    EXPECT_EQ(backend.readString(RootKey, "First1").status, Status::KeyUnavailable);
  }
}

TEST_F(IniSettingsBackendTest, AFileThatIsAFolderMakesEveryKeyUnavailable) {
  ASSERT_TRUE(QDir(path()).mkpath(path("orvex-controller.ini")));
  IniSettingsBackend backend(path());
  EXPECT_EQ(backend.readString(RootKey, "First1").status, Status::KeyUnavailable);
  EXPECT_EQ(backend.writeString(RootKey, "First1", "x"), Status::KeyUnavailable);
}

// Lowers this process's largest writable file size, so that writes fail even for
// root; a write past it gives EFBIG instead of the signal. Only a limit of zero
// makes every write fail outright: above it, a write is cut short.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit lowered = previous_;
    lowered.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool active() const { return active_; }

 private:
  rlimit previous_{};
  bool active_ = false;
  void (*previousHandler_)(int) = SIG_DFL;
};

TEST_F(IniSettingsBackendTest, AFailedWriteLeavesTheOldFileWholeAndIsLost) {
  {
    IniSettingsBackend backend(path());
    for (const QString& name : ChannelEnableNames) {
      ASSERT_EQ(backend.writeString(RootKey, name, "false"), Status::Ok);
    }
    ASSERT_EQ(backend.writeString(RootKey, "Interface IP", "127.0.0.1"), Status::Ok);
  }
  const QByteArray before = contents(path());
  const QString longText(4000, u'x');
  {
    FileSizeLimit limit(0);
    ASSERT_TRUE(limit.active());
    IniSettingsBackend backend(path());
    EXPECT_EQ(backend.writeString(RootKey, "Interface IP", longText), Status::KeyUnavailable);
    EXPECT_EQ(backend.writeString(RootKey, "New value", longText), Status::KeyUnavailable);
  }
  EXPECT_EQ(contents(path()), before);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"orvex-controller.ini"});

  // The failed writes show nowhere, and a later successful write does not bring them back.
  IniSettingsBackend backend(path());
  EXPECT_EQ(backend.readString(RootKey, "Interface IP").value, "127.0.0.1");
  EXPECT_EQ(backend.readString(RootKey, "New value").status, Status::Missing);
  ASSERT_EQ(backend.writeString(RootKey, "Timing", "5"), Status::Ok);
  IniSettingsBackend fresh(freshCopy(path()));
  EXPECT_EQ(fresh.readString(RootKey, "Interface IP").value, "127.0.0.1");
  EXPECT_EQ(fresh.readString(RootKey, "New value").status, Status::Missing);
  EXPECT_EQ(fresh.readString(RootKey, "Timing").value, "5");
  EXPECT_EQ(fresh.readString(RootKey, "Volt 1 enable").value, "false");
}

class EnvironmentVariable {
 public:
  explicit EnvironmentVariable(const char* name)
      : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), value_(qgetenv(name)) {}
  ~EnvironmentVariable() {
    if (wasSet_) {
      qputenv(name_, value_);
    } else {
      qunsetenv(name_);
    }
  }
  EnvironmentVariable(const EnvironmentVariable&) = delete;
  EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

 private:
  const char* name_;
  bool wasSet_;
  QByteArray value_;
};

TEST(DefaultSettingsFilePath, FollowsXdgConfigHome) {
  EnvironmentVariable restore("XDG_CONFIG_HOME");
  const QString fallback = QDir::homePath() + "/.config/orvex/orvex-controller.ini";

  qputenv("XDG_CONFIG_HOME", "/tmp/orvex-isolated-config");
  EXPECT_EQ(DefaultSettingsFilePath(), "/tmp/orvex-isolated-config/orvex/orvex-controller.ini");
  qputenv("XDG_CONFIG_HOME", "");
  EXPECT_EQ(DefaultSettingsFilePath(), fallback);
  qunsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(DefaultSettingsFilePath(), fallback);
}

TEST(CreatePlatformBackend, IsTheIniFileAtTheDefaultPath) {
  EnvironmentVariable restore("XDG_CONFIG_HOME");
  QTemporaryDir config;
  ASSERT_TRUE(config.isValid());
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

  const auto backend = CreatePlatformBackend();
  const auto* ini = dynamic_cast<IniSettingsBackend*>(backend.get());
  ASSERT_NE(ini, nullptr);
  EXPECT_EQ(ini->filePath(), config.filePath("orvex/orvex-controller.ini"));
  ASSERT_EQ(backend->writeString(RootKey, "First1", "First time ok"), Status::Ok);
  EXPECT_TRUE(QFileInfo::exists(config.filePath("orvex/orvex-controller.ini")));
}

}  // namespace
}  // namespace orvex
