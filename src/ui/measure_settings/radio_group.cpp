#include "ui/measure_settings/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

#include <algorithm>

namespace orvex {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)), layout_(new QGridLayout(this)) {
  const int count = static_cast<int>(items.size());
  const int rows = std::max(1, (count + std::max(1, columns) - 1) / std::max(1, columns));
  for (int i = 0; i < count; ++i) {
    auto* button = new QRadioButton(items[i], this);
    buttons_->addButton(button, i);
    layout_->addWidget(button, i % rows, i / rows);
  }
  for (int row = 0; row < rows; ++row) layout_->setRowStretch(row, 1);
  for (int column = 0; column < columns; ++column) layout_->setColumnStretch(column, 1);

  connect(buttons_, &QButtonGroup::idClicked, this, [this] { Q_EMIT itemClicked(); });
}

int RadioGroup::itemIndex() const { return buttons_->checkedId(); }

void RadioGroup::setItemIndex(int index) {
  const int limited = std::clamp(index, -1, count() - 1);
  if (limited == itemIndex()) return;
  if (limited == -1) {
    clearSelection();
    return;
  }
  buttons_->button(limited)->setChecked(true);
  Q_EMIT itemClicked();
}

int RadioGroup::count() const { return static_cast<int>(buttons_->buttons().size()); }

QString RadioGroup::itemText(int index) const { return buttons_->button(index)->text(); }

void RadioGroup::setItemText(int index, const QString& text) {
  buttons_->button(index)->setText(text);
}

QAbstractButton* RadioGroup::itemButton(int index) const { return buttons_->button(index); }

void RadioGroup::clearSelection() {
  // An exclusive group keeps one button checked; only a non-exclusive one lets
  // the last checked button go.
  QAbstractButton* checked = buttons_->checkedButton();
  if (checked == nullptr) return;
  buttons_->setExclusive(false);
  checked->setChecked(false);
  buttons_->setExclusive(true);
}

}  // namespace orvex
