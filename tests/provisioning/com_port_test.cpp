#include "provisioning/com_port.h"
#include "core/error.h"
#include "pseudo_terminal.h"
#include "support/test_printers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace orvex {
namespace {

const QByteArray kLine = QByteArrayLiteral("#Home|Orvex|abc|\r");

class ComPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.isValid());
    port_.settings().port = pty_.portName();
  }

  // The text of the error that `action` raises, or "no error".
  static QString ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const Error& e) {
      return e.text();
    }
    return QStringLiteral("no error");
  }

  test::PseudoTerminal pty_;
  ComPort port_;
};

TEST_F(ComPortTest, WritesTheBlockAndClosesAgain) {
  port_.Open();
  EXPECT_TRUE(port_.isOpen());
  EXPECT_EQ(port_.WriteStr(kLine), kLine.size());
  port_.Close();
  EXPECT_FALSE(port_.isOpen());
  EXPECT_EQ(pty_.Read(kLine.size()).toHex(' '), kLine.toHex(' '));
  EXPECT_EQ(pty_.ReadAll(), QByteArray());
}

TEST_F(ComPortTest, OpenOnAnOpenPortAndCloseOnAClosedPortDoNothing) {
  port_.Close();
  port_.Open();
  port_.Open();
  port_.WriteStr(kLine);
  port_.Close();
  port_.Close();
  EXPECT_EQ(pty_.Read(kLine.size()), kLine);
}

struct LineCase {
  const char* name;
  std::function<void(ComPortSettings&)> choose;
  int rate;
  tcflag_t parityKind;  // PARODD and CMSPAR
  bool twoStopBits;
  bool rtsCts;
  bool xonXoff;
};

class ComPortLineSettings : public ComPortTest, public ::testing::WithParamInterface<LineCase> {};

// A pseudo-terminal takes the rate, stop bits, flow control and the kind of
// parity (odd, mark, space), but carries only 8-bit characters without a parity
// bit: it refuses 6 and 7 data bits and even or odd parity (see the refusals
// below), and reads 5 data bits as 8.
TEST_P(ComPortLineSettings, ReachTheTerminal) {
  GetParam().choose(port_.settings());
  port_.Open();
  const termios line = pty_.LineSettings();
  EXPECT_EQ(pty_.OutputRate(), GetParam().rate);
  EXPECT_EQ(line.c_cflag & (PARODD | CMSPAR), GetParam().parityKind);
  EXPECT_EQ((line.c_cflag & CSTOPB) != 0, GetParam().twoStopBits);
  EXPECT_EQ((line.c_cflag & CRTSCTS) != 0, GetParam().rtsCts);
  EXPECT_EQ((line.c_iflag & IXON) != 0, GetParam().xonXoff);
  EXPECT_EQ((line.c_iflag & IXOFF) != 0, GetParam().xonXoff);
  // No parity checking, and the bytes go out unchanged.
  EXPECT_EQ(line.c_iflag & INPCK, 0u);
  EXPECT_EQ(line.c_oflag & OPOST, 0u);
  port_.Close();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComPortLineSettings,
    ::testing::Values(LineCase{"DesignValues", [](ComPortSettings&) {}, 9600, 0, false, false,
                               false},
                      LineCase{"TwoStopBitsHardware",
                               [](ComPortSettings& s) {
                                 s.baudRate = BaudRate::Br115200;
                                 s.stopBits = StopBits::Two;
                                 ApplyFlowControl(FlowControl::Hardware, s.flow);
                               },
                               115200, 0, true, true, false},
                      LineCase{"Software",
                               [](ComPortSettings& s) {
                                 s.baudRate = BaudRate::Br56000;
                                 ApplyFlowControl(FlowControl::Software, s.flow);
                               },
                               56000, 0, false, false, true},
                      // With 5-bit characters a UART sends its second stop bit as half a bit.
                      LineCase{"MarkOneAndHalfStop",
                               [](ComPortSettings& s) {
                                 s.baudRate = BaudRate::Br256000;
                                 s.dataBits = DataBits::Five;
                                 s.parity = Parity::Mark;
                                 s.stopBits = StopBits::OneAndHalf;
                               },
                               256000, PARODD | CMSPAR, true, false, false},
                      LineCase{"CustomRateSpace",
                               [](ComPortSettings& s) {
                                 s.baudRate = BaudRate::Custom;
                                 s.customBaudRate = 31250;
                                 s.parity = Parity::Space;
                               },
                               31250, CMSPAR, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ComPortTest, MissingDeviceGivesTheOpenErrorWithTheSystemNumber) {
  for (const QString& name : {QStringLiteral("COM1"), QStringLiteral("/dev/orvex-no-such-port")}) {
    port_.settings().port = name;
    EXPECT_EQ(ErrorOf([this] { port_.Open(); }),
              QStringLiteral("Unable to open com port (Error: %1)").arg(ENOENT));
    EXPECT_FALSE(port_.isOpen());
  }
}

TEST_F(ComPortTest, PortInUseCannotBeOpenedAgain) {
  port_.Open();
  ComPort second;
  second.settings().port = pty_.portName();
  const QString error = ErrorOf([&] { second.Open(); });
  EXPECT_TRUE(error.startsWith("Unable to open com port (Error: ")) << error.toStdString();
  EXPECT_FALSE(error.endsWith("(Error: 0)")) << error.toStdString();
  EXPECT_FALSE(second.isOpen());
  port_.WriteStr(kLine);
  EXPECT_EQ(pty_.Read(kLine.size()), kLine);
}

struct RefusedCase {
  const char* name;
  std::function<void(ComPortSettings&)> choose;
};

class ComPortRefusedSetting : public ComPortTest,
                              public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(ComPortRefusedSetting, FailsTheOpenAndLeavesThePortClosed) {
  GetParam().choose(port_.settings());
  EXPECT_EQ(ErrorOf([this] { port_.Open(); }),
            QStringLiteral("SetCommState function failed (Error: %1)").arg(EINVAL));
  EXPECT_FALSE(port_.isOpen());

  // Closed for real: the next open with sound settings gets the port.
  port_.settings() = ComPortSettings{};
  port_.settings().port = pty_.portName();
  port_.Open();
  port_.WriteStr(kLine);
  port_.Close();
  EXPECT_EQ(pty_.Read(kLine.size()), kLine);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComPortRefusedSetting,
    ::testing::Values(
        RefusedCase{"CustomRateZero",
                    [](ComPortSettings& s) {
                      s.baudRate = BaudRate::Custom;
                      s.customBaudRate = 0;
                    }},
        RefusedCase{"CustomRateNegative",
                    [](ComPortSettings& s) {
                      s.baudRate = BaudRate::Custom;
                      s.customBaudRate = -9600;
                    }},
        RefusedCase{"OneAndHalfStopWithEightBits",
                    [](ComPortSettings& s) { s.stopBits = StopBits::OneAndHalf; }},
        // Refused by the pseudo-terminal's driver itself.
        RefusedCase{"SevenDataBits", [](ComPortSettings& s) { s.dataBits = DataBits::Seven; }},
        RefusedCase{"EvenParity", [](ComPortSettings& s) { s.parity = Parity::Even; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ComPortTest, WriteThatRunsOutOfTimeReportsTheBytesWrittenAndCloses) {
  port_.Open();
  ASSERT_GT(pty_.StopReading(), 0);
  EXPECT_EQ(ErrorOf([this] { port_.WriteStr(kLine); }),
            "Writing to the com port timed out after 0 of 17 bytes");
  EXPECT_FALSE(port_.isOpen());
}

TEST_F(ComPortTest, WriteOnAClosedPortIsAnError) {
  EXPECT_EQ(ErrorOf([this] { port_.WriteStr(kLine); }), "The com port is not open");
  EXPECT_EQ(pty_.ReadAll(), QByteArray());
}

}  // namespace
}  // namespace orvex
