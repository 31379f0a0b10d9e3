#pragma once

#include <QAbstractSpinBox>

namespace orvex {

// The log interval control: an integer text that the user cannot type, changed
// only by the arrow buttons or the up and down keys, one step each, every step
// landing within 2..60. Code may set any text (a stored "100" shows as 100).
class TimingSpinEdit : public QAbstractSpinBox {
  Q_OBJECT

 public:
  static constexpr int kMinimum = 2;
  static constexpr int kMaximum = 60;

  explicit TimingSpinEdit(QWidget* parent = nullptr);

  // Shows `text` as it is, without a range check and without emitting textChanged.
  void setText(const QString& text);

  void stepBy(int steps) override;

 Q_SIGNALS:
  // A step by the user changed the text.
  void textChanged(const QString& text);

 protected:
  StepEnabled stepEnabled() const override;
};

}  // namespace orvex
