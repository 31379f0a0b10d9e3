#include "device/device_session.h"

#include "core/error.h"
#include "core/guard.h"
#include "pv_day.h"
#include "settings/ini_settings_backend.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "sim_process.h"
#include "support/fake_prompts.h"
#include "support/test_printers.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace orvex {
namespace {

using test::FakePrompts;
using test::SimProcess;
using Frame = std::array<std::uint8_t, kFrameSize>;
using Kind = FakePrompts::Kind;

const QString kFailedToJoin = QStringLiteral("Failed to join network !");

// The main window's side as the session sees it, recording what it is told.
class FakeView : public SessionView {
 public:
  QString connectCaption() const override { return caption; }
  void setConnectCaption(const QString& text) override {
    caption = text;
    if (onCaption) onCaption(text);
  }
  void setLedLit(bool lit) override {
    ledLit = lit;
    if (lit) ledWasLit = true;
  }
  void showIdleDisplay() override { ++idleDisplays; }
  void applyFrame(std::span<const std::uint8_t, kFrameSize> bytes) override {
    Frame frame;
    std::copy(bytes.begin(), bytes.end(), frame.begin());
    if (rejectFrame && rejectFrame(frame)) {
      throw Error(QStringLiteral("'x' is not a valid floating point value"));
    }
    frames.push_back(frame);
  }
  QString addressText() const override { return address; }

  QString caption = LinkState::Disconnected;
  bool ledLit = false;
  bool ledWasLit = false;
  int idleDisplays = 0;
  std::vector<Frame> frames;  // frames applied without error, in order
  QString address;
  std::function<void(const QString&)> onCaption;
  std::function<bool(const Frame&)> rejectFrame;
};

Frame FrameOf(std::uint8_t first, std::uint8_t fill = 0) {
  Frame frame;
  frame.fill(fill);
  frame[0] = first;
  return frame;
}

QByteArray BytesOf(const std::vector<Frame>& frames) {
  QByteArray bytes;
  for (const Frame& frame : frames) {
    bytes.append(reinterpret_cast<const char*>(frame.data()), kFrameSize);
  }
  return bytes;
}

std::vector<Frame> PvDayFrames(double startHour, std::size_t count) {
  const PvDay day(startHour, 60.0);
  std::vector<Frame> frames;
  for (std::size_t i = 0; i < count; ++i) frames.push_back(day.frame(i));
  return frames;
}

// A port on 127.0.0.1 that nothing listens on.
quint16 UnusedPort() {
  QTcpServer server;
  server.listen(QHostAddress::LocalHost, 0);
  return server.serverPort();
}

// A device stand-in inside the test, for byte patterns the test decides.
class LoopbackDevice {
 public:
  explicit LoopbackDevice(const QHostAddress& address = QHostAddress::LocalHost) {
    server_.listen(address, 0);
  }
  quint16 port() const { return server_.serverPort(); }
  // The current connection of the session, once one has come in.
  QTcpSocket* client() { return client_ ? client_ : nextClient(); }
  // Waits for the session's next connection and makes it the current one.
  QTcpSocket* nextClient() {
    if (QTest::qWaitFor([this] { return server_.hasPendingConnections(); }, 3000)) {
      client_ = server_.nextPendingConnection();
    }
    return client_;
  }
  void send(const QByteArray& bytes) {
    client()->write(bytes);
    client()->flush();
  }

 private:
  QTcpServer server_;
  QTcpSocket* client_ = nullptr;
};

class DeviceSessionTest : public ::testing::Test {
 protected:
  DeviceSessionTest()
      : store_(std::make_unique<IniSettingsBackend>(dir_.filePath(QStringLiteral("orvex.ini"))),
               prompts_) {}

  DeviceSession& startSession(quint16 port, const QString& host = QStringLiteral("127.0.0.1")) {
    session_ = std::make_unique<DeviceSession>(view_, store_, prompts_, port);
    session_->wifi().setHost(host);
    return *session_;
  }

  // What the main window does with a click: the handler runs through the guard.
  void click(void (DeviceSession::*handler)()) {
    RunGuarded(prompts_, [&] { (session_.get()->*handler)(); });
  }

  bool waitForCaption(const QString& caption, int timeoutMs = 3000) {
    return QTest::qWaitFor([&] { return view_.caption == caption; }, timeoutMs);
  }
  bool waitForBoxes(std::size_t count, int timeoutMs = 3000) {
    return QTest::qWaitFor([&] { return prompts_.boxes.size() >= count; }, timeoutMs);
  }
  bool waitForFrames(std::size_t count, int timeoutMs = 3000) {
    return QTest::qWaitFor([&] { return view_.frames.size() >= count; }, timeoutMs);
  }
  bool connectSession(DeviceSession& session) {
    session.ConnectClick();
    return waitForCaption(LinkState::Connected);
  }

  std::vector<FakePrompts::Kind> boxKinds() const {
    std::vector<FakePrompts::Kind> kinds;
    for (const auto& box : prompts_.boxes) kinds.push_back(box.kind);
    return kinds;
  }

  QTemporaryDir dir_;
  FakePrompts prompts_;
  SettingsStore store_;
  FakeView view_;
  std::unique_ptr<DeviceSession> session_;
};

// --- attempts that fail ---------------------------------------------------

struct FailedAttempt {
  const char* name;
  QString host;
  std::vector<QString> texts;  // every box, in order
};

void PrintTo(const FailedAttempt& row, std::ostream* os) { *os << row.name; }

class FailedAttemptTest : public DeviceSessionTest,
                          public ::testing::WithParamInterface<FailedAttempt> {};

TEST_P(FailedAttemptTest, ShowsTheBoxesThenDisconnected) {
  const FailedAttempt& row = GetParam();
  DeviceSession& session = startSession(UnusedPort(), row.host);
  QString captionWhileOpen;
  prompts_.whileOpen = [&](const FakePrompts::Box& box) {
    if (box.kind == Kind::Information) captionWhileOpen = view_.caption;
  };

  session.ConnectClick();
  EXPECT_EQ(view_.caption, LinkState::Connecting);
  session.ConnectClick();  // a second press during the attempt does nothing
  EXPECT_EQ(view_.caption, LinkState::Connecting);

  ASSERT_TRUE(waitForBoxes(row.texts.size()));
  QTest::qWait(100);  // and nothing more comes
  EXPECT_EQ(prompts_.texts(), row.texts);
  EXPECT_EQ(prompts_.boxes.front().kind, Kind::Information);
  EXPECT_EQ(captionWhileOpen, LinkState::Connecting);
  EXPECT_EQ(view_.caption, LinkState::Disconnected);
  EXPECT_FALSE(view_.ledWasLit);
  EXPECT_FALSE(session.MeasureTimer().isActive());
  EXPECT_FALSE(session.SendCmdTimer().isActive());
  EXPECT_FALSE(session.wifi().active());
}

INSTANTIATE_TEST_SUITE_P(
    , FailedAttemptTest,
    ::testing::Values(
        FailedAttempt{"Refused", QStringLiteral("127.0.0.1"), {kFailedToJoin}},
        FailedAttempt{
            "EmptyHost", QString(), {kFailedToJoin, QStringLiteral("No address specified.")}},
        // A name the resolver refuses without asking any name server.
        FailedAttempt{"UnresolvableHost",
                      QStringLiteral("orvex..invalid"),
                      {kFailedToJoin, QStringLiteral("Windows socket error: Host not found "
                                                     "(11001), on API 'ASync Lookup'")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceSessionTest, AttemptThatGetsNoAnswerTimesOut) {
  // A listening socket whose accept queue is full drops further connection
  // requests, so an attempt to it neither connects nor is refused.
  QTcpServer device;
  device.setListenBacklogSize(0);
  ASSERT_TRUE(device.listen(QHostAddress::LocalHost, 0));
  device.pauseAccepting();
  std::vector<std::unique_ptr<QTcpSocket>> fillers;
  for (int i = 0; i < 5; ++i) {
    auto filler = std::make_unique<QTcpSocket>();
    filler->connectToHost(QHostAddress::LocalHost, device.serverPort());
    const bool connected = filler->waitForConnected(200);
    fillers.push_back(std::move(filler));
    if (!connected) break;
  }

  DeviceSession& session = startSession(device.serverPort());
  session.wifi().setConnectTimeout(std::chrono::milliseconds(400));
  QElapsedTimer elapsed;
  elapsed.start();
  session.ConnectClick();
  ASSERT_TRUE(waitForBoxes(1));
  EXPECT_GE(elapsed.elapsed(), 350);
  QTest::qWait(100);
  EXPECT_EQ(prompts_.texts(), std::vector<QString>{kFailedToJoin});
  EXPECT_EQ(view_.caption, LinkState::Disconnected);
  EXPECT_FALSE(view_.ledWasLit);
}

// --- a link to the simulator ------------------------------------------------

TEST_F(DeviceSessionTest, ConnectsAndAppliesTheDeviceFramesInOrder) {
  SimProcess sim({QStringLiteral("--rate"), QStringLiteral("50"), QStringLiteral("--start-hour"),
                  QStringLiteral("12")});
  ASSERT_NE(sim.port(), 0);
  DeviceSession& session = startSession(sim.port());
  EXPECT_FALSE(session.MeasureTimer().isActive());
  EXPECT_FALSE(session.SendCmdTimer().isActive());

  ASSERT_TRUE(connectSession(session));
  EXPECT_TRUE(view_.ledLit);
  EXPECT_TRUE(session.wifi().active());
  EXPECT_TRUE(session.MeasureTimer().isActive());
  EXPECT_EQ(session.MeasureTimer().interval(), 1000);
  EXPECT_TRUE(session.SendCmdTimer().isActive());
  EXPECT_EQ(session.SendCmdTimer().interval(), 1000);

  ASSERT_TRUE(waitForFrames(5));
  const std::vector<Frame> applied = view_.frames;
  EXPECT_EQ(applied, PvDayFrames(12.0, applied.size()));
  EXPECT_TRUE(prompts_.boxes.empty());
}

struct Delivery {
  const char* name;
  QStringList options;
};

void PrintTo(const Delivery& row, std::ostream* os) { *os << row.name; }

class FrameDeliveryTest : public DeviceSessionTest,
                          public ::testing::WithParamInterface<Delivery> {};

TEST_P(FrameDeliveryTest, AppliesWholeFramesInOrder) {
  SimProcess sim(QStringList{QStringLiteral("--rate"), QStringLiteral("50")} + GetParam().options);
  ASSERT_NE(sim.port(), 0);
  DeviceSession& session = startSession(sim.port());
  ASSERT_TRUE(connectSession(session));
  ASSERT_TRUE(waitForFrames(7));
  const std::vector<Frame> applied = view_.frames;
  EXPECT_EQ(applied, PvDayFrames(8.0, applied.size()));
  EXPECT_TRUE(prompts_.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    , FrameDeliveryTest,
    ::testing::Values(
        Delivery{"SplitFrames", {QStringLiteral("--split")}},
        Delivery{"SeveralFramesPerWrite", {QStringLiteral("--burst"), QStringLiteral("3")}},
        Delivery{"SplitBursts",
                 {QStringLiteral("--split"), QStringLiteral("--burst"), QStringLiteral("2")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceSessionTest, DeviceCloseShowsTheLinkLostAndTheNextPressReconnects) {
  SimProcess sim({QStringLiteral("--rate"), QStringLiteral("50"), QStringLiteral("--close-after"),
                  QStringLiteral("3")});
  ASSERT_NE(sim.port(), 0);
  DeviceSession& session = startSession(sim.port());
  ASSERT_TRUE(connectSession(session));

  ASSERT_TRUE(waitForCaption(LinkState::Disconnected));
  QTest::qWait(50);
  EXPECT_EQ(view_.frames, PvDayFrames(8.0, 3));  // the display keeps what came
  EXPECT_EQ(view_.idleDisplays, 0);
  EXPECT_FALSE(view_.ledLit);
  EXPECT_FALSE(session.wifi().active());
  EXPECT_FALSE(session.MeasureTimer().isActive());
  EXPECT_TRUE(session.SendCmdTimer().isActive());
  EXPECT_TRUE(prompts_.boxes.empty());

  session.ConnectClick();
  EXPECT_EQ(view_.caption, LinkState::Connecting);
  ASSERT_TRUE(waitForCaption(LinkState::Connected));
  EXPECT_TRUE(view_.ledLit);
  ASSERT_TRUE(waitForFrames(4));
  // A new connection: the device starts its day again.
  EXPECT_EQ(view_.frames[3], PvDayFrames(8.0, 1)[0]);
}

TEST_F(DeviceSessionTest, ResetByTheDeviceShowsBothBoxesAndTheLinkLost) {
  SimProcess sim({QStringLiteral("--rate"), QStringLiteral("50"), QStringLiteral("--reset-after"),
                  QStringLiteral("3")});
  ASSERT_NE(sim.port(), 0);
  DeviceSession& session = startSession(sim.port());
  bool measuring = true;
  QString captionWhileOpen;
  prompts_.whileOpen = [&](const FakePrompts::Box& box) {
    if (box.kind != Kind::Information) return;
    captionWhileOpen = view_.caption;
    measuring = session.MeasureTimer().isActive();
  };
  ASSERT_TRUE(connectSession(session));

  ASSERT_TRUE(waitForBoxes(2));
  QTest::qWait(50);
  EXPECT_EQ(
      prompts_.texts(),
      (std::vector<QString>{kFailedToJoin, QStringLiteral("Asynchronous socket error 10054.")}));
  EXPECT_EQ(boxKinds(), (std::vector<Kind>{Kind::Information, Kind::Error}));
  EXPECT_FALSE(measuring);  // the link was closed before the box
  EXPECT_EQ(captionWhileOpen, LinkState::Connected);
  EXPECT_EQ(view_.caption, LinkState::Disconnected);
  EXPECT_FALSE(view_.ledLit);
  EXPECT_FALSE(session.wifi().active());
  EXPECT_EQ(view_.frames, PvDayFrames(8.0, 3));
  EXPECT_EQ(view_.idleDisplays, 0);
}

TEST_F(DeviceSessionTest, CommandLinesReachTheDeviceOnlyWhileTheLinkIsUp) {
  SimProcess sim({QStringLiteral("--rate"), QStringLiteral("50")});
  ASSERT_NE(sim.port(), 0);
  DeviceSession& session = startSession(sim.port());
  EXPECT_EQ(session.wifi().SendText(QByteArrayLiteral("CMD111\r")), 0);

  ASSERT_TRUE(connectSession(session));
  EXPECT_EQ(session.wifi().SendText(QByteArrayLiteral("CMD101\r")), 7);
  EXPECT_TRUE(sim.waitForLine(QStringLiteral("command: CMD101")));

  session.ConnectClick();
  ASSERT_EQ(view_.caption, LinkState::Disconnected);
  EXPECT_EQ(session.wifi().SendText(QByteArrayLiteral("CMD010\r")), 0);
  QTest::qWait(100);
  const QStringList commands = sim.lines().filter(QStringLiteral("command"));
  EXPECT_EQ(commands, QStringList{QStringLiteral("command: CMD101")});
}

// --- a device stand-in inside the test ------------------------------------

TEST_F(DeviceSessionTest, PartialFrameWaitsForItsRest) {
  LoopbackDevice device;
  DeviceSession& session = startSession(device.port());
  ASSERT_TRUE(connectSession(session));
  ASSERT_NE(device.client(), nullptr);
  const std::vector<Frame> sent = {FrameOf(1, 0x11), FrameOf(2, 0x22), FrameOf(3, 0x33)};
  const QByteArray bytes = BytesOf(sent);

  device.send(bytes.first(10));
  QTest::qWait(100);
  EXPECT_TRUE(view_.frames.empty());

  device.send(bytes.sliced(10, 8 + 18 + 5));
  ASSERT_TRUE(waitForFrames(2));
  QTest::qWait(50);
  EXPECT_EQ(view_.frames, std::vector<Frame>(sent.begin(), sent.begin() + 2));

  device.send(bytes.sliced(41));
  ASSERT_TRUE(waitForFrames(3));
  EXPECT_EQ(view_.frames, sent);
}

TEST_F(DeviceSessionTest, FrameThatFailsShowsTheErrorAndTheOthersGoOnInOrder) {
  LoopbackDevice device;
  DeviceSession& session = startSession(device.port());
  ASSERT_TRUE(connectSession(session));
  ASSERT_NE(device.client(), nullptr);
  view_.rejectFrame = [](const Frame& frame) { return frame[0] == 2; };
  const QString errorBox = QStringLiteral("'x' is not a valid floating point value.");

  device.send(BytesOf({FrameOf(1), FrameOf(2), FrameOf(3)}));
  ASSERT_TRUE(waitForFrames(2));
  QTest::qWait(50);
  EXPECT_EQ(view_.frames, (std::vector<Frame>{FrameOf(1), FrameOf(3)}));
  EXPECT_EQ(prompts_.texts(), std::vector<QString>{errorBox});
  EXPECT_EQ(view_.caption, LinkState::Connected);
  EXPECT_TRUE(session.wifi().active());

  // While the error box is open, the device sends another frame; it is applied
  // behind the box, after the frame that followed the failing one.
  prompts_.whileOpen = [&](const FakePrompts::Box&) {
    device.send(BytesOf({FrameOf(5)}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view_.frames.size() >= 4; }, 1000));
  };
  device.send(BytesOf({FrameOf(2), FrameOf(4)}));
  ASSERT_TRUE(waitForFrames(4));
  EXPECT_EQ(view_.frames, (std::vector<Frame>{FrameOf(1), FrameOf(3), FrameOf(4), FrameOf(5)}));
  EXPECT_EQ(prompts_.texts(), (std::vector<QString>{errorBox, errorBox}));
  EXPECT_TRUE(session.wifi().active());
}

TEST_F(DeviceSessionTest, BytesOfALostLinkNeverBeginAFrameOfTheNext) {
  LoopbackDevice device;
  DeviceSession& session = startSession(device.port());
  ASSERT_TRUE(connectSession(session));
  ASSERT_NE(device.client(), nullptr);
  device.send(BytesOf({FrameOf(1)}).first(10));
  QTest::qWait(50);
  device.client()->disconnectFromHost();
  ASSERT_TRUE(waitForCaption(LinkState::Disconnected));

  ASSERT_TRUE(connectSession(session));
  ASSERT_NE(device.nextClient(), nullptr);
  device.send(BytesOf({FrameOf(2)}));
  ASSERT_TRUE(waitForFrames(1));
  QTest::qWait(50);
  EXPECT_EQ(view_.frames, std::vector<Frame>{FrameOf(2)});
}

TEST_F(DeviceSessionTest, UserDisconnectStopsMeasuringResetsTheDisplayAndClosesTheLink) {
  LoopbackDevice device;
  DeviceSession& session = startSession(device.port());
  ASSERT_TRUE(connectSession(session));
  QTcpSocket* peer = device.client();
  ASSERT_NE(peer, nullptr);
  bool measuringAtCaption = true;
  view_.onCaption = [&](const QString&) { measuringAtCaption = session.MeasureTimer().isActive(); };

  session.ConnectClick();
  EXPECT_EQ(view_.caption, LinkState::Disconnected);
  EXPECT_FALSE(measuringAtCaption);
  EXPECT_EQ(view_.idleDisplays, 1);
  EXPECT_FALSE(view_.ledLit);
  EXPECT_FALSE(session.wifi().active());
  EXPECT_TRUE(session.SendCmdTimer().isActive());
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return peer->state() == QAbstractSocket::UnconnectedState; }, 3000));
  EXPECT_TRUE(prompts_.boxes.empty());
}

struct AddressChange {
  const char* name;
  QString address;
  std::vector<QString> boxes;
};

void PrintTo(const AddressChange& row, std::ostream* os) { *os << row.name; }

class WriteIpWhileConnectedTest : public DeviceSessionTest,
                                  public ::testing::WithParamInterface<AddressChange> {};

TEST_P(WriteIpWhileConnectedTest, StoresTheAddressAndKeepsTheLink) {
  const QString host = QStringLiteral("::ffff:127.0.0.1");
  LoopbackDevice device(QHostAddress::Any);
  DeviceSession& session = startSession(device.port(), host);
  ASSERT_TRUE(connectSession(session));
  ASSERT_NE(device.client(), nullptr);

  view_.address = GetParam().address;
  click(&DeviceSession::WriteIPClick);
  EXPECT_EQ(store_.ReadSetting(RootKey, InterfaceIpName), GetParam().address);
  EXPECT_EQ(prompts_.texts(), GetParam().boxes);
  EXPECT_EQ(session.wifi().host(), host);
  EXPECT_EQ(view_.caption, LinkState::Connected);

  device.send(BytesOf({FrameOf(7)}));
  EXPECT_TRUE(waitForFrames(1));
}

INSTANTIATE_TEST_SUITE_P(
    , WriteIpWhileConnectedTest,
    ::testing::Values(
        AddressChange{"SameAddressInOtherCase", QStringLiteral("::FFFF:127.0.0.1"), {}},
        AddressChange{"OtherAddress",
                      QStringLiteral("127.0.0.2"),
                      {QStringLiteral("Can't change value while socket is active.")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceSessionTest, WriteIpWhileDisconnectedTakesEffectAtTheNextAttempt) {
  LoopbackDevice device;
  DeviceSession& session = startSession(device.port(), QStringLiteral("127.0.0.2"));
  view_.address = QStringLiteral("127.0.0.1");
  click(&DeviceSession::WriteIPClick);
  EXPECT_EQ(store_.ReadSetting(RootKey, InterfaceIpName), QStringLiteral("127.0.0.1"));
  EXPECT_EQ(session.wifi().host(), QStringLiteral("127.0.0.1"));
  EXPECT_TRUE(connectSession(session));
  EXPECT_TRUE(prompts_.boxes.empty());
}

}  // namespace
}  // namespace orvex
