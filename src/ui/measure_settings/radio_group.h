#pragma once

#include <QGroupBox>
#include <QStringList>

QT_BEGIN_NAMESPACE
class QAbstractButton;
class QButtonGroup;
class QGridLayout;
QT_END_NAMESPACE

namespace orvex {

// A captioned group of radio items of which at most one is selected. The
// selection is the item index, -1 for none. Items fill the columns top to
// bottom, then left to right.
//
// itemClicked fires when the user clicks an item (or moves to it with the arrow
// keys) and when code selects an item that was not selected; clearing the
// selection fires nothing.
class RadioGroup : public QGroupBox {
  Q_OBJECT
  Q_PROPERTY(int ItemIndex READ itemIndex WRITE setItemIndex)

 public:
  RadioGroup(const QString& caption, const QStringList& items, int columns,
             QWidget* parent = nullptr);

  int itemIndex() const;
  // The index is first limited to -1 .. count() - 1. Selecting the present
  // index again, or -1, fires nothing.
  void setItemIndex(int index);

  int count() const;
  QString itemText(int index) const;
  void setItemText(int index, const QString& text);
  QAbstractButton* itemButton(int index) const;
  QGridLayout* itemLayout() const { return layout_; }

 Q_SIGNALS:
  void itemClicked();

 private:
  void clearSelection();

  QButtonGroup* buttons_;
  QGridLayout* layout_;
};

}  // namespace orvex
