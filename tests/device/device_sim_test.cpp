#include "device/measurement_frame.h"
#include "pv_day.h"
#include "sim_process.h"
#include "support/test_printers.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace orvex {
namespace {

using test::SimProcess;

// The nine values a frame shows, decoded as the client decodes them.
std::array<float, kChannelCount> Decoded(const std::array<std::uint8_t, kFrameSize>& frame) {
  const auto raw = DecodeFrame(frame);
  std::array<float, kChannelCount> values{};
  for (std::size_t i = 0; i < kChannelCount; ++i) {
    values[i] = ComputeReading(kAllChannels[i], raw[i], 0.0L, QLatin1Char('.')).value;
  }
  return values;
}

enum Field {
  kPvVolt,
  kBatteryVolt,
  kLoadVolt,
  kPvAmp,
  kRegulatorAmp,
  kBatteryAmp,
  kLoadAmp,
  kTemp1,
  kTemp2
};

TEST(PvDay, EveryHourShowsPlausibleValues) {
  for (int hour = 0; hour < 24; ++hour) {
    SCOPED_TRACE(hour);
    const auto values = Decoded(EncodePvFrame(PvValuesAt(hour)));
    EXPECT_GE(values[kBatteryVolt], 11.0f);
    EXPECT_LE(values[kBatteryVolt], 15.0f);
    EXPECT_LT(values[kLoadVolt], values[kBatteryVolt]);
    EXPECT_GT(values[kLoadVolt], 11.0f);
    EXPECT_GT(values[kLoadAmp], 0.5f);
    EXPECT_LE(values[kRegulatorAmp], values[kPvAmp]);
    EXPECT_NEAR(values[kTemp1], 25.0f, 6.0f);
    EXPECT_NEAR(values[kTemp2], 25.0f, 12.0f);
    const bool night = hour <= 6 || hour >= 18;
    if (night) {
      EXPECT_LT(values[kPvVolt], 1.0f);
      EXPECT_LT(values[kPvAmp], 0.01f);
      EXPECT_LT(values[kBatteryAmp], 0.01f);
    }
  }
  const auto noon = Decoded(EncodePvFrame(PvValuesAt(12)));
  EXPECT_GT(noon[kPvVolt], 18.0f);
  EXPECT_GT(noon[kPvAmp], 5.0f);
  EXPECT_GT(noon[kBatteryAmp], 3.0f);
  EXPECT_GT(noon[kBatteryVolt], 13.5f);
}

TEST(PvDay, PvRisesInTheMorningAndFallsInTheAfternoon) {
  float previousVolts = 0;
  float previousAmps = 0;
  for (double hour = 6.5; hour <= 12.0; hour += 0.5) {
    const auto values = Decoded(EncodePvFrame(PvValuesAt(hour)));
    EXPECT_GE(values[kPvVolt], previousVolts) << hour;
    EXPECT_GT(values[kPvAmp], previousAmps) << hour;
    previousVolts = values[kPvVolt];
    previousAmps = values[kPvAmp];
  }
  for (double hour = 12.5; hour <= 17.5; hour += 0.5) {
    const auto values = Decoded(EncodePvFrame(PvValuesAt(hour)));
    EXPECT_LE(values[kPvVolt], previousVolts) << hour;
    EXPECT_LT(values[kPvAmp], previousAmps) << hour;
    previousVolts = values[kPvVolt];
    previousAmps = values[kPvAmp];
  }
}

TEST(PvDay, FramesCarryTheValuesWithinOneStepOfTheDecoding) {
  const PvValues values = PvValuesAt(10.25);
  const auto decoded = Decoded(EncodePvFrame(values));
  const std::array<double, kChannelCount> wanted = {
      values.pvVoltage,   values.batteryVoltage,   values.loadVoltage,
      values.pvCurrent,   values.regulatorCurrent, values.batteryCurrent,
      values.loadCurrent, values.temperature1,     values.temperature2};
  const double voltStep = 30 * 3.3 / 4096;
  const double ampStep = 3.3 / 4096;
  const std::array<double, kChannelCount> step = {voltStep, voltStep, voltStep, ampStep, ampStep,
                                                  ampStep,  ampStep,  0.0625,   0.0625};
  for (std::size_t i = 0; i < kChannelCount; ++i) {
    EXPECT_NEAR(decoded[i], wanted[i], step[i]) << "field " << i;
  }
}

TEST(PvDay, FramesFollowTheSimulatedClock) {
  const PvDay day(23.5, 1800.0);
  EXPECT_DOUBLE_EQ(day.hourOfFrame(0), 23.5);
  EXPECT_DOUBLE_EQ(day.hourOfFrame(3), 25.0);
  EXPECT_EQ(day.frame(3), EncodePvFrame(PvValuesAt(1.0)));  // the next day, at one
  EXPECT_EQ(EncodePvFrame(PvValuesAt(25.0)), EncodePvFrame(PvValuesAt(1.0)));
}

// --- the simulator as a process ---------------------------------------------

TEST(DeviceSimulator, PrintsEveryCommandLineItReceives) {
  SimProcess sim({QStringLiteral("--rate"), QStringLiteral("20")});
  ASSERT_NE(sim.port(), 0);
  QTcpSocket client;
  client.connectToHost(QHostAddress::LocalHost, sim.port());
  ASSERT_TRUE(client.waitForConnected(3000));
  for (const QByteArray& part : {QByteArrayLiteral("CMD1"), QByteArrayLiteral("01\rCMD000\r"),
                                 QByteArrayLiteral("\x01x\r")}) {
    client.write(part);
    client.flush();
    QTest::qWait(30);
  }
  ASSERT_TRUE(sim.waitForLine(QStringLiteral("command: \\x01x")));
  const QStringList commands = sim.lines().filter(QStringLiteral("command"));
  EXPECT_EQ(commands,
            (QStringList{QStringLiteral("command: CMD101"), QStringLiteral("command: CMD000"),
                         QStringLiteral("command: \\x01x")}));
}

TEST(DeviceSimulator, SendsItsFramesToAPlainClient) {
  SimProcess sim({QStringLiteral("--rate"), QStringLiteral("50"), QStringLiteral("--burst"),
                  QStringLiteral("2"), QStringLiteral("--start-hour"), QStringLiteral("13")});
  ASSERT_NE(sim.port(), 0);
  QTcpSocket client;
  client.connectToHost(QHostAddress::LocalHost, sim.port());
  ASSERT_TRUE(client.waitForConnected(3000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return client.bytesAvailable() >= 4 * 18; }, 3000));
  const QByteArray bytes = client.read(4 * 18);
  const PvDay day(13.0, 60.0);
  for (int i = 0; i < 4; ++i) {
    const auto frame = day.frame(static_cast<quint64>(i));
    EXPECT_EQ(bytes.sliced(18 * i, 18), QByteArray(reinterpret_cast<const char*>(frame.data()), 18))
        << "frame " << i;
  }
}

TEST(DeviceSimulator, InterruptEndsItCleanlyWithAClientConnected) {
  SimProcess sim({QStringLiteral("--rate"), QStringLiteral("50")});
  ASSERT_NE(sim.port(), 0);
  QTcpSocket client;
  client.connectToHost(QHostAddress::LocalHost, sim.port());
  ASSERT_TRUE(client.waitForConnected(3000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return client.bytesAvailable() > 0; }, 3000));

  ASSERT_TRUE(sim.interrupt());
  EXPECT_EQ(sim.process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(sim.process().exitCode(), 0);
  EXPECT_EQ(sim.lines().last(), QStringLiteral("stopped"));
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return client.state() == QAbstractSocket::UnconnectedState; }, 3000));
}

TEST(DeviceSimulator, RefusesABadCommandLineWithAClearMessage) {
  struct Row {
    QStringList arguments;
    QString message;
  };
  const QList<Row> rows = {
      {{QStringLiteral("--rate"), QStringLiteral("0")},
       QStringLiteral("--rate takes a number from 0.01 to 1000.")},
      {{QStringLiteral("--rate"), QStringLiteral("fast")},
       QStringLiteral("--rate takes a number from 0.01 to 1000.")},
      {{QStringLiteral("--port"), QStringLiteral("70000")},
       QStringLiteral("--port takes a number from 0 to 65535.")},
      {{QStringLiteral("--burst"), QStringLiteral("0")},
       QStringLiteral("--burst takes a number from 1 to 1000.")},
      {{QStringLiteral("--close-after"), QStringLiteral("-1")},
       QStringLiteral("--close-after takes a number of frames.")},
      {{QStringLiteral("--start-hour"), QStringLiteral("25")},
       QStringLiteral("--start-hour takes a number from 0 to 24.")},
      {{QStringLiteral("--loud")}, QStringLiteral("Unknown option 'loud'.")},
      {{QStringLiteral("extra")}, QStringLiteral("Unexpected argument 'extra'.")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments.join(QLatin1Char(' ')).toStdString());
    QProcess process;
    process.start(QStringLiteral(ORVEX_DEVICE_SIM), row.arguments);
    ASSERT_TRUE(process.waitForFinished(3000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()).trimmed(), row.message);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
  }
}

TEST(DeviceSimulator, ReportsAPortInUse) {
  QTcpServer holder;
  ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
  QProcess process;
  process.start(QStringLiteral(ORVEX_DEVICE_SIM),
                {QStringLiteral("--port"), QString::number(holder.serverPort())});
  ASSERT_TRUE(process.waitForFinished(3000));
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_TRUE(
      QString::fromUtf8(process.readAllStandardError())
          .startsWith(QStringLiteral("Cannot listen on port %1: ").arg(holder.serverPort())));
}

}  // namespace
}  // namespace orvex
