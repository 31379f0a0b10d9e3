#include "main_window_fixture.h"

#include "support/test_printers.h"
#include "ui/main/io_panel.h"
#include "ui/main/measure_panel.h"
#include "ui/widgets/analog_meter.h"
#include "ui/widgets/led.h"
#include "ui/widgets/thermometer.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <array>
#include <cstdint>

namespace orvex::test {
namespace {

using Frame = std::array<std::uint8_t, 18>;

Frame MakeFrame(std::array<std::uint16_t, 9> raw) {
  Frame frame{};
  for (std::size_t i = 0; i < raw.size(); ++i) {
    frame[2 * i] = static_cast<std::uint8_t>(raw[i] >> 8);
    frame[2 * i + 1] = static_cast<std::uint8_t>(raw[i] & 0xFF);
  }
  return frame;
}

// The main window driven by its widget names against a device played by a
// QTcpServer on 127.0.0.1.
class MainWindowSessionTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ASSERT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    FirstStartDone();
    Store(RootKey, "Interface IP", "127.0.0.1");
    Store(RootKey, "Volt 1 enable", "true");
    Store(RootKey, "Ampere 1 enable", "true");
    Store(RootKey, "Temperature 1 enable", "true");
  }

  // Presses Connect and waits for the device's side of the link.
  QTcpSocket* Connect() {
    QTest::mouseClick(Find<QPushButton>("Connect"), Qt::LeftButton);
    if (!server_.hasPendingConnections() && !server_.waitForNewConnection(5000)) return nullptr;
    QTcpSocket* device = server_.nextPendingConnection();
    auto* button = Find<QPushButton>("Connect");
    if (!QTest::qWaitFor([&] { return button->text() == "Connected"; }, 5000)) return nullptr;
    return device;
  }
  void Send(QTcpSocket* device, const Frame& frame) {
    device->write(reinterpret_cast<const char*>(frame.data()), frame.size());
    device->flush();
  }
  QString Readout(const char* name) { return Find<QLineEdit>(QLatin1String(name))->text(); }

  QTcpServer server_;
};

TEST_F(MainWindowSessionTest, FramesReachTheReadoutsAndCommandLinesReachTheDevice) {
  TMain& main = Start(server_.serverPort());
  QTcpSocket* device = Connect();
  ASSERT_NE(device, nullptr);
  EXPECT_TRUE(Find<Led>("LedConnect")->isActive());
  EXPECT_TRUE(main.session().MeasureTimer().isActive());

  // raw: Volt1 1000, Volt2 2048, Ampere1 1000, Temp1 400.
  const Frame first = MakeFrame({1000, 2048, 0, 1000, 0, 0, 0, 400, 0});
  Send(device, first);
  QTRY_COMPARE_WITH_TIMEOUT(Readout("DIgAmeter1"), QString("0,8"), 3000);
  EXPECT_EQ(Readout("DigTemp1"), "25");
  EXPECT_EQ(Find<ThermoMeter>("Thermo1")->value(), 25.0);
  // The first frame leaves the voltage channels as they are.
  EXPECT_EQ(Readout("DigVmeter1"), "0,0");

  Send(device, first);
  QTRY_COMPARE_WITH_TIMEOUT(Readout("DigVmeter1"), QString("19,669921875"), 3000);
  EXPECT_EQ(Find<AnalogMeter>("Volt1")->position(), 20);
  // A disabled channel is never touched.
  EXPECT_EQ(Readout("DigVmeter2"), "0,0");
  EXPECT_EQ(Find<AnalogMeter>("Volt2")->position(), 0);
  EXPECT_EQ(main.measurePanel().FrameParity(), 0);

  // An invalid offset abandons the frame at Temp1; Ampere1 is already written.
  Find<QLineEdit>("Tmp1")->setText("1.5");
  Send(device, MakeFrame({0, 0, 0, 2000, 0, 0, 0, 400, 0}));
  QTRY_COMPARE_WITH_TIMEOUT(prompts_.texts().size(), std::size_t{1}, 3000);
  EXPECT_EQ(prompts_.boxes[0].text, "'1.5' is not a valid floating point value.");
  EXPECT_EQ(Readout("DIgAmeter1"), "1,6");
  EXPECT_EQ(Readout("DigTemp1"), "25");
  EXPECT_EQ(main.measurePanel().FrameParity(), 0);
  Find<QLineEdit>("Tmp1")->setText("-1,5");
  Send(device, first);
  QTRY_COMPARE_WITH_TIMEOUT(Readout("DigTemp1"), QString("23,5"), 3000);
  EXPECT_EQ(main.measurePanel().FrameParity(), 1);

  // The wanted input states go out with the next tick.
  Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
  QTest::mouseClick(Find<QCheckBox>("Din1"), Qt::LeftButton);
  QTest::mouseClick(Find<QCheckBox>("Din3"), Qt::LeftButton);
  QByteArray received;
  QTRY_VERIFY_WITH_TIMEOUT((received += device->readAll()).contains("CMD101\r"), 3000);
  EXPECT_TRUE(received.startsWith("CMD"));
  EXPECT_EQ(received.size() % 7, 0);

  // A user disconnect: idle display, LED off, nothing more reaches the device.
  QTest::mouseClick(Find<QPushButton>("Connect"), Qt::LeftButton);
  EXPECT_EQ(Find<QPushButton>("Connect")->text(), "DisConnected");
  EXPECT_FALSE(Find<Led>("LedConnect")->isActive());
  EXPECT_FALSE(main.session().MeasureTimer().isActive());
  EXPECT_EQ(Readout("DIgAmeter1"), "0,0");
  EXPECT_EQ(Readout("DigTemp1"), "0");
  QTRY_COMPARE_WITH_TIMEOUT(device->state(), QAbstractSocket::UnconnectedState, 3000);
  device->readAll();
  EXPECT_TRUE(main.session().SendCmdTimer().isActive());
  QTest::qWait(1500);
  EXPECT_TRUE(device->readAll().isEmpty());

  // After a reconnect the lines resume without anything else being done.
  QTcpSocket* again = Connect();
  ASSERT_NE(again, nullptr);
  QByteArray resumed;
  QTRY_VERIFY_WITH_TIMEOUT((resumed += again->readAll()).contains("CMD101\r"), 3000);
  EXPECT_EQ(prompts_.boxes.size(), 1u);
}

TEST_F(MainWindowSessionTest, InvalidOffsetShowsOneBoxAtATime) {
  Start(server_.serverPort());
  QTcpSocket* device = Connect();
  ASSERT_NE(device, nullptr);
  Find<QLineEdit>("Tmp1")->setText("x");

  // While the first box is open, more frames arrive and are abandoned silently.
  int framesWhileOpen = 0;
  prompts_.whileOpen = [&](const FakePrompts::Box&) {
    for (int i = 0; i < 3; ++i) Send(device, MakeFrame({0, 0, 0, 1000, 0, 0, 0, 400, 0}));
    QTest::qWait(300);
    framesWhileOpen = 3;
    prompts_.whileOpen = nullptr;
  };
  Send(device, MakeFrame({0, 0, 0, 1000, 0, 0, 0, 400, 0}));
  QTRY_COMPARE_WITH_TIMEOUT(framesWhileOpen, 3, 3000);
  EXPECT_EQ(prompts_.texts(), std::vector<QString>{"'x' is not a valid floating point value."});

  // Once closed, the next frame with the same invalid text shows it again.
  Send(device, MakeFrame({0, 0, 0, 1000, 0, 0, 0, 400, 0}));
  QTRY_COMPARE_WITH_TIMEOUT(prompts_.boxes.size(), std::size_t{2}, 3000);
}

}  // namespace
}  // namespace orvex::test
