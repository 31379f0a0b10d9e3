#include "timing_spin_edit.h"

#include <QLineEdit>

#include <algorithm>

namespace orvex {

TimingSpinEdit::TimingSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  lineEdit()->setReadOnly(true);
  lineEdit()->setText(QStringLiteral("5"));
  setAccelerated(false);
}

void TimingSpinEdit::setText(const QString& text) { lineEdit()->setText(text); }

void TimingSpinEdit::stepBy(int steps) {
  bool ok = false;
  const int current = text().toInt(&ok);
  const long long next = static_cast<long long>(ok ? current : kMinimum) + (steps > 0 ? 1 : -1);
  const QString stepped = QString::number(std::clamp<long long>(next, kMinimum, kMaximum));
  if (stepped == text()) return;
  setText(stepped);
  Q_EMIT textChanged(stepped);
}

QAbstractSpinBox::StepEnabled TimingSpinEdit::stepEnabled() const {
  return StepUpEnabled | StepDownEnabled;
}

}  // namespace orvex
