#include "pv_day.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvex {

namespace {

constexpr double kVoltsPerCount = 3.3 / 4096;

// The sun's share of its noon strength: 0 at night, 1 at noon.
double Sunlight(double hourOfDay) {
  if (hourOfDay <= 6.0 || hourOfDay >= 18.0) return 0.0;
  return std::sin(std::numbers::pi * (hourOfDay - 6.0) / 12.0);
}

std::uint16_t ToRaw(double counts) {
  return static_cast<std::uint16_t>(std::clamp(std::round(counts), 0.0, 65535.0));
}

// The inverses of the client's conversions of the three channel kinds.
std::uint16_t VoltageRaw(double volts) { return ToRaw((volts / 30.0 + 0.15) / kVoltsPerCount); }
std::uint16_t CurrentRaw(double amperes) { return ToRaw(amperes / kVoltsPerCount); }
std::uint16_t TemperatureRaw(double celsius) { return ToRaw(celsius / 0.0625); }

}  // namespace

PvValues PvValuesAt(double hour) {
  const double hourOfDay = hour - 24.0 * std::floor(hour / 24.0);
  const double sun = Sunlight(hourOfDay);
  const bool evening = hourOfDay >= 18.0 && hourOfDay < 23.0;

  PvValues values{};
  // An open panel reaches most of its voltage in the first light of the day.
  values.pvVoltage = 0.3 + 20.2 * (1.0 - std::exp(-10.0 * sun));
  values.pvCurrent = 7.5 * sun;
  values.regulatorCurrent = 0.95 * values.pvCurrent;
  values.loadCurrent = evening ? 2.5 : 1.2;
  values.batteryCurrent = std::max(0.0, values.regulatorCurrent - values.loadCurrent);
  values.batteryVoltage = 12.3 + 1.9 * sun;
  values.loadVoltage = values.batteryVoltage - 0.2;
  values.temperature1 = 21.0 + 7.0 * sun;
  values.temperature2 = 23.0 + 12.0 * sun;
  return values;
}

std::array<std::uint8_t, 18> EncodePvFrame(const PvValues& values) {
  const std::array<std::uint16_t, 9> raw = {
      VoltageRaw(values.pvVoltage),        VoltageRaw(values.batteryVoltage),
      VoltageRaw(values.loadVoltage),      CurrentRaw(values.pvCurrent),
      CurrentRaw(values.regulatorCurrent), CurrentRaw(values.batteryCurrent),
      CurrentRaw(values.loadCurrent),      TemperatureRaw(values.temperature1),
      TemperatureRaw(values.temperature2)};
  std::array<std::uint8_t, 18> frame{};
  for (std::size_t i = 0; i < raw.size(); ++i) {
    frame[2 * i] = static_cast<std::uint8_t>(raw[i] >> 8);
    frame[2 * i + 1] = static_cast<std::uint8_t>(raw[i] & 0xFF);
  }
  return frame;
}

PvDay::PvDay(double startHour, double daySecondsPerFrame)
    : startHour_(startHour), daySecondsPerFrame_(daySecondsPerFrame) {}

double PvDay::hourOfFrame(quint64 index) const {
  return startHour_ + static_cast<double>(index) * daySecondsPerFrame_ / 3600.0;
}

std::array<std::uint8_t, 18> PvDay::frame(quint64 index) const {
  return EncodePvFrame(PvValuesAt(hourOfFrame(index)));
}

}  // namespace orvex
