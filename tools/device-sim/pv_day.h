#pragma once

#include <QtGlobal>

#include <array>
#include <cstdint>

namespace orvex {

// The physical values of one moment of a clear PV day on a 12 V system, in the
// channels' units: volts, amperes and degrees Celsius.
struct PvValues {
  double pvVoltage;
  double batteryVoltage;
  double loadVoltage;
  double pvCurrent;
  double regulatorCurrent;
  double batteryCurrent;  // charging current; the device reports no discharge
  double loadCurrent;
  double temperature1;  // ambient
  double temperature2;  // battery enclosure
};

// The values at `hour` of the day (any real number; whole days wrap). The sun
// rises at 6 and sets at 18; the load draws more in the evening.
PvValues PvValuesAt(double hour);

// The measurement frame that carries `values`: each field holds the raw value
// whose decoding by the client comes nearest, within 0..65535.
std::array<std::uint8_t, 18> EncodePvFrame(const PvValues& values);

// The frames of one connection: frame i shows the day at
// startHour + i * daySecondsPerFrame / 3600.
class PvDay {
 public:
  PvDay(double startHour, double daySecondsPerFrame);

  double hourOfFrame(quint64 index) const;
  std::array<std::uint8_t, 18> frame(quint64 index) const;

 private:
  double startHour_;
  double daySecondsPerFrame_;
};

}  // namespace orvex
