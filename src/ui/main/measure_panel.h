#pragma once

#include "device/measurement_frame.h"
#include "ui/measure_settings/measure_panel_gauges.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <span>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvex {

class AnalogMeter;
class Prompts;
class SettingsStore;
class ThermoMeter;

// The "Measure" tab: nine channels, each with its gauge, read-out and Enable box,
// the AC/DC labels of the meters and the name labels of the thermometers.
// Lives on the GUI thread; does not own the store or the prompts.
class MeasurePanel : public QWidget {
  Q_OBJECT

 public:
  MeasurePanel(SettingsStore& store, Prompts& prompts, QWidget* parent = nullptr);

  // Puts one frame on the gauges and read-outs of the enabled channels, reading
  // each Enable box and offset text at the moment its channel is handled.
  // `offsetText(0/1)` gives the current text of Tmp1/Tmp2. An invalid offset
  // raises orvex::Error: the channels before it keep their new content, the rest
  // and FrameParity stay as they were.
  void ApplyFrame(std::span<const std::uint8_t, kFrameSize> frame,
                  const std::function<QString(int)>& offsetText);
  // Every channel's idle presentation: gauge at 0 and its IdleText.
  void ShowIdleDisplay();
  void ShowIdle(ChannelId channel);

  int FrameParity() const { return frameParity_; }

  QCheckBox* enableBox(ChannelId channel) const { return enableBoxes_[Index(channel)]; }
  QLineEdit* readout(ChannelId channel) const { return readouts_[Index(channel)]; }
  // The meter of a voltage or current channel.
  AnalogMeter* meter(ChannelId channel) const { return meters_[Index(channel)]; }
  ThermoMeter* thermometer(int index) const { return thermometers_[index]; }
  QLabel* temperatureLabel(int index) const { return temperatureLabels_[index]; }
  QPushButton* measureSettingsButton() const { return measureSettings_; }
  MeasurePanelGauges gauges() const;

  // The user's click on an Enable box.
  void EnableClick(ChannelId channel);

 private:
  static std::size_t Index(ChannelId channel) { return static_cast<std::size_t>(channel); }
  void BuildMeter(ChannelId channel, QPoint at);
  void BuildThermometer(int index, QPoint at);
  void SetReadout(ChannelId channel, const QString& text);

  SettingsStore& store_;
  Prompts& prompts_;
  int frameParity_ = 0;

  std::array<AnalogMeter*, 7> meters_{};
  std::array<ThermoMeter*, 2> thermometers_{};
  std::array<QLabel*, 7> acDcLabels_{};
  std::array<QLabel*, 2> temperatureLabels_{};
  std::array<QLineEdit*, kChannelCount> readouts_{};
  std::array<QCheckBox*, kChannelCount> enableBoxes_{};
  QPushButton* measureSettings_ = nullptr;
};

}  // namespace orvex
