#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvex {

class Prompts;
class SettingsStore;

// The "Input/Output" tab: three digital inputs whose states are stored and sent
// to the device, three digital outputs that only display, and the "Settings"
// panel with the renaming of inputs and outputs and, behind the service code,
// the two temperature offsets. GUI thread only; does not own store or prompts.
class IoPanel : public QWidget {
  Q_OBJECT

 public:
  static inline const QString ServiceCode = QStringLiteral("tovk");
  static inline const QColor kOffColor{0xFF, 0x00, 0x00};
  static inline const QColor kOnColor{0x00, 0x80, 0x00};

  IoPanel(SettingsStore& store, Prompts& prompts, QWidget* parent = nullptr);

  QCheckBox* inputBox(int n) const { return inputBoxes_[n - 1]; }
  QFrame* inputShape(int n) const { return inputShapes_[n - 1]; }
  QLabel* inputLabel(int n) const { return inputLabels_[n - 1]; }
  QLabel* outputLabel(int n) const { return outputLabels_[n - 1]; }
  QComboBox* renameInputs() const { return renameInputs_; }
  QComboBox* renameOutputs() const { return renameOutputs_; }
  // The current offset text of temperature 1 (index 0) or 2 (index 1).
  QString offsetText(int index) const;
  QLineEdit* offsetField(int index) const { return offsets_[index]; }

  // Handlers, named after their controls; each runs through the error guard
  // when a control triggers it.
  void DinClick(int n);
  void RenameInputsChange();
  void RenameOutputsChange();
  void RenInputsClick();
  void RenOutputsClick();
  void Image1DblClick();
  void PassDblClick();
  void Button3Click();
  void Button4Click();

  int SelectedInput() const { return selectedInput_; }
  int SelectedOutput() const { return selectedOutput_; }

  // Sets an input's stored state at start-up: a box that changes to checked runs
  // its click handler, as the load expects.
  void LoadInputState(int n, bool checked);
  void SetInputName(int n, const QString& name);
  void SetOutputName(int n, const QString& name);
  void SetOffsetText(int index, const QString& text);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildInputPanel(int n);
  QWidget* BuildOutputPanel(int n);
  QWidget* BuildSettingsPanel();
  void PaintShape(QFrame* shape, const QColor& color);
  void SetServiceFieldsVisible(bool visible);
  // Guarded entry point for a control's signal.
  template <typename Handler>
  void Run(Handler handler);

  SettingsStore& store_;
  Prompts& prompts_;
  int selectedInput_ = 0;
  int selectedOutput_ = 0;

  std::array<QCheckBox*, 3> inputBoxes_{};
  std::array<QFrame*, 3> inputShapes_{};
  std::array<QLabel*, 3> inputLabels_{};
  std::array<QLabel*, 3> outputLabels_{};
  QComboBox* renameInputs_ = nullptr;
  QComboBox* renameOutputs_ = nullptr;
  QLineEdit* pass_ = nullptr;
  QLabel* passCaption_ = nullptr;
  std::array<QLineEdit*, 2> offsets_{};
  std::array<QLabel*, 2> offsetCaptions_{};
  QPushButton* button3_ = nullptr;
};

}  // namespace orvex
