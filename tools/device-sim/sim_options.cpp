#include "sim_options.h"

#include <QCommandLineParser>

#include <cmath>
#include <optional>

namespace orvex {

namespace {

std::optional<double> NumberIn(const QString& text, double low, double high) {
  bool ok = false;
  const double value = text.toDouble(&ok);
  if (!ok || !std::isfinite(value) || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<int> CountIn(const QString& text, int low, int high) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace

std::variant<SimOptions, SimHelp, QString> ParseSimOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Simulates the PV monitoring unit: sends 18-byte measurement frames of a PV day to "
      "every client and prints each command line it receives."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Shows this help."));
  const QCommandLineOption port(QStringLiteral("port"),
                                QStringLiteral("TCP port to listen on, 0 for any free one "
                                               "(default 2000)."),
                                QStringLiteral("port"), QStringLiteral("2000"));
  const QCommandLineOption rate(QStringLiteral("rate"),
                                QStringLiteral("Frames per second, 0.01 to 1000 (default 1)."),
                                QStringLiteral("frames"), QStringLiteral("1"));
  const QCommandLineOption split(
      QStringLiteral("split"),
      QStringLiteral("Sends every write in two parts: 10 bytes, the rest half a frame later."));
  const QCommandLineOption burst(QStringLiteral("burst"),
                                 QStringLiteral("Gathers N frames into one write (default 1)."),
                                 QStringLiteral("N"), QStringLiteral("1"));
  const QCommandLineOption closeAfter(QStringLiteral("close-after"),
                                      QStringLiteral("Closes each connection after N frames."),
                                      QStringLiteral("N"), QStringLiteral("0"));
  const QCommandLineOption resetAfter(
      QStringLiteral("reset-after"),
      QStringLiteral("Resets each connection (TCP RST) after N frames."), QStringLiteral("N"),
      QStringLiteral("0"));
  const QCommandLineOption startHour(QStringLiteral("start-hour"),
                                     QStringLiteral("Hour of the day of the first frame, 0 to 24 "
                                                    "(default 8)."),
                                     QStringLiteral("hour"), QStringLiteral("8"));
  const QCommandLineOption daySeconds(
      QStringLiteral("day-seconds-per-frame"),
      QStringLiteral("Seconds of the simulated day between two frames, 0 to 86400 (default 60)."),
      QStringLiteral("seconds"), QStringLiteral("60"));
  parser.addOptions(
      {help, port, rate, split, burst, closeAfter, resetAfter, startHour, daySeconds});

  if (!parser.parse(arguments)) return parser.errorText();
  if (parser.isSet(help)) return SimHelp{parser.helpText()};
  if (!parser.positionalArguments().isEmpty()) {
    return QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
  }

  SimOptions options;
  const auto portValue = CountIn(parser.value(port), 0, 65535);
  if (!portValue) return QStringLiteral("--port takes a number from 0 to 65535.");
  options.port = static_cast<quint16>(*portValue);
  const auto rateValue = NumberIn(parser.value(rate), 0.01, 1000.0);
  if (!rateValue) return QStringLiteral("--rate takes a number from 0.01 to 1000.");
  options.framesPerSecond = *rateValue;
  options.split = parser.isSet(split);
  const auto burstValue = CountIn(parser.value(burst), 1, 1000);
  if (!burstValue) return QStringLiteral("--burst takes a number from 1 to 1000.");
  options.burst = *burstValue;
  const auto closeValue = CountIn(parser.value(closeAfter), 0, 1'000'000'000);
  if (!closeValue) return QStringLiteral("--close-after takes a number of frames.");
  options.closeAfter = *closeValue;
  const auto resetValue = CountIn(parser.value(resetAfter), 0, 1'000'000'000);
  if (!resetValue) return QStringLiteral("--reset-after takes a number of frames.");
  options.resetAfter = *resetValue;
  const auto hourValue = NumberIn(parser.value(startHour), 0.0, 24.0);
  if (!hourValue) return QStringLiteral("--start-hour takes a number from 0 to 24.");
  options.startHour = *hourValue;
  const auto daySecondsValue = NumberIn(parser.value(daySeconds), 0.0, 86400.0);
  if (!daySecondsValue) {
    return QStringLiteral("--day-seconds-per-frame takes a number from 0 to 86400.");
  }
  options.daySecondsPerFrame = *daySecondsValue;
  return options;
}

}  // namespace orvex
