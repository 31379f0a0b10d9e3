#include "provisioning/tform2.h"
#include "modal_answer.h"
#include "pseudo_terminal.h"
#include "access_recording_backend.h"
#include "settings/settings_keys.h"
#include "support/fake_prompts.h"
#include "support/test_printers.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

namespace orvex {
namespace {

using Status = SettingsBackend::Status;
using Kind = test::FakePrompts::Kind;

// Answers the port settings dialog with a function of the test.
class AnsweringPortDialogs : public PortDialogs {
 public:
  bool ShowSetupDialog(ComPortSettings& settings, QWidget* parent) override {
    ++shown;
    owner = parent;
    return answer ? answer(settings) : false;
  }

  std::function<bool(ComPortSettings&)> answer;
  int shown = 0;
  QWidget* owner = nullptr;
};

class SetupWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty_.isValid()); }

  // A store on the settings file; each one stands for one run of the program.
  std::unique_ptr<SettingsStore> NewStore() {
    auto backend = std::make_unique<test::AccessRecordingBackend>(
        dir_.filePath(QStringLiteral("orvex-controller.ini")));
    backend_ = backend.get();
    return std::make_unique<SettingsStore>(std::move(backend), prompts_);
  }

  // Starts the program's setup window anew, as a restart would.
  TForm2& Start(PortDialogs* dialogs = nullptr) {
    window_.reset();
    store_ = NewStore();
    window_ = std::make_unique<TForm2>(*store_, prompts_, dialogs ? *dialogs : dialogs_);
    window_->show();
    return *window_;
  }

  void StorePort(const QString& port) {
    auto store = NewStore();
    ASSERT_EQ(store->backend().writeString(ComPortKey, "Port", port), Status::Ok);
  }

  template <typename Widget>
  Widget* Find(const char* name) {
    auto* found = window_->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  void Type(const char* field, const QString& text) { Find<QLineEdit>(field)->setText(text); }
  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

  QTemporaryDir dir_;
  test::FakePrompts prompts_;
  AnsweringPortDialogs dialogs_;
  test::PseudoTerminal pty_;
  test::AccessRecordingBackend* backend_ = nullptr;
  std::unique_ptr<SettingsStore> store_;
  std::unique_ptr<TForm2> window_;
};

TEST_F(SetupWindowTest, LooksAsDesigned) {
  TForm2& window = Start();
  EXPECT_EQ(window.objectName(), "Form2");
  EXPECT_EQ(window.windowTitle(), "Setup");
  EXPECT_EQ(window.size(), QSize(278, 334));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_TRUE(window.isWindow());
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  const QPoint desktopCentre = window.screen()->availableGeometry().center();
  EXPECT_LE((window.geometry().center() - desktopCentre).manhattanLength(), 2);

  for (const char* field : {"ssid", "pass"}) {
    EXPECT_EQ(Find<QLineEdit>(field)->text(), "");
    EXPECT_EQ(Find<QLineEdit>(field)->echoMode(), QLineEdit::Normal);
  }
  QStringList labels;
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    labels.append(label->text() + "->" + label->buddy()->objectName());
  }
  EXPECT_EQ(labels, QStringList({"SSID->ssid", "PASS PHRASE->pass"}));
  EXPECT_EQ(Find<QPushButton>("VrShadowButton1")->text(), "Write network settings");
  EXPECT_EQ(Find<QPushButton>("VirtualPort")->text(), "Set virtual port");
  EXPECT_TRUE(prompts_.boxes.empty());
}

struct WriteCase {
  const char* name;
  QString ssid;
  QString pass;
  QByteArray bytes;
};

class SetupWindowWrite : public SetupWindowTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(SetupWindowWrite, SendsTheLineByteForByte) {
  StorePort(pty_.portName());
  TForm2& window = Start();
  Type("ssid", GetParam().ssid);
  Type("pass", GetParam().pass);
  Click("VrShadowButton1");

  EXPECT_EQ(pty_.ReadAll().toHex(' '), GetParam().bytes.toHex(' '));
  EXPECT_TRUE(prompts_.boxes.empty()) << prompts_.texts().front().toStdString();
  EXPECT_FALSE(window.comPort1().isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupWindowWrite,
    ::testing::Values(
        WriteCase{"FourAndThreeLetters", "Home", "abc",
                  QByteArray::fromHex("23 486f6d65 7c 4f72766578 7c 616263 7c 0d")},
        WriteCase{"BothEmpty", "", "", QByteArray::fromHex("23 7c 4f72766578 7c 7c 0d")},
        WriteCase{"AccentedPassPhrase", "Home", u"caf\u00e9"_qs,
                  QByteArray::fromHex("23 486f6d65 7c 4f72766578 7c 636166e9 7c 0d")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SetupWindowTest, TwoPressesWriteTwiceOpeningAndClosingEachTime) {
  StorePort(pty_.portName());
  TForm2& window = Start();
  Type("ssid", "Home");
  Type("pass", "abc");
  const QByteArray line = QByteArrayLiteral("#Home|Orvex|abc|\r");
  Click("VrShadowButton1");
  EXPECT_FALSE(window.comPort1().isOpen());
  Click("VrShadowButton1");
  EXPECT_FALSE(window.comPort1().isOpen());
  EXPECT_EQ(pty_.ReadAll(), line + line);
  EXPECT_TRUE(prompts_.boxes.empty());
}

TEST_F(SetupWindowTest, TextsThatTheLineCannotCarryAreRefusedAndNothingIsSent) {
  StorePort(pty_.portName());
  TForm2& window = Start();
  const struct {
    QString ssid, pass, start;
  } cases[] = {
      {u"Home\u263a"_qs, "abc", "The SSID cannot be sent to the device: the character \"\u263a\""},
      {"Home", "a|b", "The PASS PHRASE cannot be sent to the device: the character \"|\""},
      {"Home\r", "abc", "The SSID cannot be sent to the device: U+000D"},
      {"Home", "abc\n", "The PASS PHRASE cannot be sent to the device: U+000A"},
  };
  for (const auto& c : cases) {
    prompts_.clear();
    Type("ssid", c.ssid);
    Type("pass", c.pass);
    Click("VrShadowButton1");
    ASSERT_EQ(prompts_.boxes.size(), 1u);
    EXPECT_EQ(prompts_.boxes[0].kind, Kind::Error);
    EXPECT_TRUE(prompts_.boxes[0].text.startsWith(c.start)) << prompts_.boxes[0].text.toStdString();
    EXPECT_TRUE(prompts_.boxes[0].text.endsWith(".")) << prompts_.boxes[0].text.toStdString();
    // The texts stay for the user to mend.
    EXPECT_EQ(Find<QLineEdit>("ssid")->text(), c.ssid);
    EXPECT_EQ(Find<QLineEdit>("pass")->text(), c.pass);
  }
  EXPECT_EQ(pty_.ReadAll(), QByteArray());
  EXPECT_FALSE(window.comPort1().isOpen());
}

TEST_F(SetupWindowTest, MissingDeviceShowsTheOpenErrorAndChangesNothing) {
  StorePort(QStringLiteral("/dev/orvex-unplugged"));
  TForm2& window = Start();
  const ComPortSettings before = window.comPort1().settings();
  Type("ssid", "Home");
  Click("VrShadowButton1");
  EXPECT_EQ(
      prompts_.texts(Kind::Error),
      std::vector<QString>{QStringLiteral("Unable to open com port (Error: %1)").arg(ENOENT)});
  EXPECT_FALSE(window.comPort1().isOpen());
  EXPECT_EQ(window.comPort1().settings(), before);
  EXPECT_EQ(Find<QLineEdit>("ssid")->text(), "Home");
}

TEST_F(SetupWindowTest, FirstStartCreatesTheKeyAndHasNoPortUntilOneIsChosen) {
  TForm2& window = Start();
  ComPortSettings expected;
  expected.port.clear();
  EXPECT_EQ(window.comPort1().settings(), expected);
  EXPECT_TRUE(prompts_.boxes.empty());

  Click("VrShadowButton1");
  ASSERT_EQ(prompts_.texts(Kind::Error).size(), 1u);
  EXPECT_TRUE(prompts_.texts(Kind::Error)[0].startsWith("Unable to open com port (Error: "));
}

TEST_F(SetupWindowTest, PortChosenInTheDialogWritesAtOnceAndSurvivesARestart) {
  dialogs_.answer = [this](ComPortSettings& settings) {
    settings.port = pty_.portName();
    settings.baudRate = BaudRate::Br115200;
    return true;
  };
  TForm2& window = Start();
  Click("VirtualPort");
  EXPECT_EQ(dialogs_.shown, 1);
  EXPECT_EQ(dialogs_.owner, &window);

  // The choice takes effect for the next write, before anything is stored.
  EXPECT_FALSE(backend_->writes.contains("Port"));
  Type("ssid", "Home");
  Click("VrShadowButton1");
  EXPECT_EQ(pty_.ReadAll(), QByteArrayLiteral("#Home|Orvex||\r"));

  window.close();
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(prompts_.boxes.empty());

  TForm2& restarted = Start();
  EXPECT_EQ(restarted.comPort1().settings().port, pty_.portName());
  EXPECT_EQ(restarted.comPort1().settings().baudRate, BaudRate::Br115200);
  EXPECT_EQ(Find<QLineEdit>("ssid")->text(), "");
}

TEST_F(SetupWindowTest, RealDialogOkAppliesAndCancelKeepsTheSettings) {
  StorePort(pty_.portName());
  ModalPortDialogs dialogs;
  TForm2& window = Start(&dialogs);

  test::AnswerNextPortDialog([this](PortSetupDialog& dialog) {
    test::Choose(dialog, "Port", pty_.portName());
    test::Choose(dialog, "BaudRate", "115200");
    test::Choose(dialog, "Parity", "Odd");
    test::Press(dialog, "OK");
  });
  Click("VirtualPort");
  ComPortSettings chosen;
  chosen.port = pty_.portName();
  chosen.baudRate = BaudRate::Br115200;
  chosen.parity = Parity::Odd;
  EXPECT_EQ(window.comPort1().settings(), chosen);

  test::AnswerNextPortDialog([](PortSetupDialog& dialog) {
    test::Choose(dialog, "BaudRate", "300");
    test::Choose(dialog, "StopBits", "2");
    test::Press(dialog, "Cancel");
  });
  Click("VirtualPort");
  EXPECT_EQ(window.comPort1().settings(), chosen);
  EXPECT_TRUE(prompts_.boxes.empty());
}

TEST_F(SetupWindowTest, ClosingHidesKeepsTheTextsAndStoresEveryTime) {
  TForm2& window = Start();
  Type("ssid", "Home");
  Type("pass", "abc");
  window.close();
  EXPECT_FALSE(window.isVisible());
  window.show();
  EXPECT_EQ(Find<QLineEdit>("ssid")->text(), "Home");
  EXPECT_EQ(Find<QLineEdit>("pass")->text(), "abc");

  backend_->writes.clear();
  window.close();
  EXPECT_EQ(backend_->writes,
            QStringList({"Port", "BaudRate", "StopBits", "DataBits", "Parity", "FlowControl"}));
  // Neither text is stored.
  QFile stored(dir_.filePath(QStringLiteral("orvex-controller.ini")));
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  const QByteArray contents = stored.readAll();
  EXPECT_TRUE(contents.contains("FlowControl")) << contents.toStdString();
  EXPECT_FALSE(contents.contains("Home")) << contents.toStdString();
  EXPECT_FALSE(contents.contains("abc")) << contents.toStdString();
  EXPECT_TRUE(prompts_.boxes.empty());
}

TEST_F(SetupWindowTest, StoredTextsLoadAtCreation) {
  {
    auto store = NewStore();
    SettingsBackend& backend = store->backend();
    ASSERT_EQ(backend.writeString(ComPortKey, "Port", pty_.portName()), Status::Ok);
    ASSERT_EQ(backend.writeString(ComPortKey, "BaudRate", "CUSTOM"), Status::Ok);
    ASSERT_EQ(backend.writeInteger(ComPortKey, "CustomBaudRate", 31250), Status::Ok);
    ASSERT_EQ(backend.writeString(ComPortKey, "Parity", "sPaCe"), Status::Ok);
    ASSERT_EQ(backend.writeString(ComPortKey, "FlowControl", "software"), Status::Ok);
  }
  TForm2& window = Start();
  const ComPortSettings& loaded = window.comPort1().settings();
  EXPECT_EQ(loaded.port, pty_.portName());
  EXPECT_EQ(BaudRateValue(loaded), 31250);
  EXPECT_EQ(loaded.parity, Parity::Space);
  EXPECT_EQ(FlowControlOf(loaded.flow), FlowControl::Software);
  EXPECT_TRUE(prompts_.boxes.empty());

  Type("ssid", "Home");
  Click("VrShadowButton1");
  EXPECT_EQ(pty_.ReadAll(), QByteArrayLiteral("#Home|Orvex||\r"));
  EXPECT_TRUE(prompts_.boxes.empty());
}

// A pseudo-terminal carries no parity bit, and its driver refuses even parity.
TEST_F(SetupWindowTest, SettingThePortRefusesIsShownAndNothingIsSent) {
  StorePort(pty_.portName());
  {
    auto store = NewStore();
    ASSERT_EQ(store->backend().writeString(ComPortKey, "Parity", "EVEN"), Status::Ok);
  }
  TForm2& window = Start();
  EXPECT_EQ(window.comPort1().settings().parity, Parity::Even);
  Type("ssid", "Home");
  Click("VrShadowButton1");
  EXPECT_EQ(
      prompts_.texts(Kind::Error),
      std::vector<QString>{QStringLiteral("SetCommState function failed (Error: %1)").arg(EINVAL)});
  EXPECT_FALSE(window.comPort1().isOpen());
  EXPECT_EQ(pty_.ReadAll(), QByteArray());
}

TEST_F(SetupWindowTest, FailedLoadIsShownAndTheWindowIsCreatedAnyway) {
  StorePort(pty_.portName());
  auto store = NewStore();
  backend_->failName = QStringLiteral("Parity");
  backend_->failWith = Status::WrongType;
  TForm2 window(*store, prompts_, dialogs_);

  EXPECT_EQ(prompts_.texts(Kind::Error), std::vector<QString>{"Failed to load settings."});
  // What was loaded before the failure stays.
  EXPECT_EQ(window.comPort1().settings().port, pty_.portName());
  EXPECT_EQ(window.findChild<QLineEdit*>("ssid")->text(), "");
}

TEST_F(SetupWindowTest, FailedStoreIsShownAndTheWindowStaysOpen) {
  TForm2& window = Start();
  backend_->failName = QStringLiteral("Port");
  backend_->failWith = Status::KeyUnavailable;
  window.close();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(prompts_.texts(Kind::Error), std::vector<QString>{"Failed to store settings."});

  backend_->failWith.reset();
  window.close();
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace orvex
