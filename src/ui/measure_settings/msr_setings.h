#pragma once

#include "ui/measure_settings/measure_panel_gauges.h"

#include <QWidget>

#include <array>
#include <cstddef>

QT_BEGIN_NAMESPACE
class QCheckBox;
class QLineEdit;
class QPushButton;
QT_END_NAMESPACE

namespace orvex {

class Prompts;
class RadioGroup;
class SettingsStore;

// The measurement settings dialog: the scale range of each of the nine gauges
// of the measure panel, the AC/DC flag of the seven voltage and current
// channels, and the renaming of the instruments. A range takes effect on the
// gauges as soon as it is chosen; Save stores the choices, names are stored as
// soon as they are given.
//
// Created once, hidden, after the main window has loaded its settings; it lives
// until the program ends and its close box only hides it. Does not own the
// store, the prompts or the gauges, which must outlive it. GUI thread only.
class TMsrSetings : public QWidget {
  Q_OBJECT

 public:
  static constexpr std::size_t kInstrumentCount = 9;
  // The voltage and current instruments come first in channel order.
  static constexpr std::size_t kAcDcCount = 7;

  // Runs FormCreate. A failure there is shown in the error box and ends the
  // restore at that value; the dialog still works.
  TMsrSetings(SettingsStore& store, Prompts& prompts, const MeasurePanelGauges& gauges,
              QWidget* parent = nullptr);

 private:
  void BuildControls();
  void ConnectHandlers();
  void SetTabOrder();

  // The start-up restore: ranges, then AC/DC flags, then the group captions.
  void FormCreate();
  // V1RangeClick … Temp2RangeClick: applies the chosen span to the gauge.
  void RangeClick(std::size_t instrument);
  // AcDcV1Click … AcDcA4Click: the box's own caption follows its state.
  void AcDcClick(std::size_t channel);
  void RenameClick();
  void RenameSetClick();
  void MeasureSettingsClick();

  SettingsStore& store_;
  Prompts& prompts_;
  MeasurePanelGauges gauges_;

  RadioGroup* rename_ = nullptr;
  std::array<RadioGroup*, kInstrumentCount> rangeGroups_{};
  std::array<QCheckBox*, kAcDcCount> acDcBoxes_{};
  QLineEdit* ren_ = nullptr;
  QPushButton* renameSet_ = nullptr;
  QPushButton* measureSettings_ = nullptr;
};

}  // namespace orvex
