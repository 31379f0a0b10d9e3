#pragma once

#include <QtGlobal>

#include <array>

QT_BEGIN_NAMESPACE
class QLabel;
QT_END_NAMESPACE

namespace orvex {

class AnalogMeter;
class ThermoMeter;

// The main window's widgets that the measurement settings dialog drives: the
// gauge scales, the gauge captions, the AC/DC labels and the thermometer labels.
// Not owned: they belong to the main window, which outlives the dialog. Every
// pointer must be set.
struct MeasurePanelGauges {
  std::array<AnalogMeter*, 7> meters{};        // Volt1, Volt2, Volt3, Ameter1..Ameter4
  std::array<ThermoMeter*, 2> thermometers{};  // Thermo1, Thermo2
  std::array<QLabel*, 7> acDcLabels{};         // V1AcDc..A4AcDc
  std::array<QLabel*, 2> temperatureLabels{};  // Label1, Label2
};

}  // namespace orvex
