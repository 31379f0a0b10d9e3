#include "ui/measure_settings/radio_group.h"

#include "support/test_printers.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace orvex {
namespace {

const QStringList kFourItems = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                QStringLiteral("d")};

struct CodeSelection {
  int before;
  int set;
  int after;
  int fired;
};

void PrintTo(const CodeSelection& row, std::ostream* os) {
  *os << "from " << row.before << " set " << row.set;
}

class RadioGroupCodeSelection : public ::testing::TestWithParam<CodeSelection> {};

TEST_P(RadioGroupCodeSelection, LimitsTheIndexAndFiresOnlyOnANewItem) {
  const CodeSelection& row = GetParam();
  RadioGroup group(QStringLiteral("Range"), kFourItems, 1);
  group.setItemIndex(row.before);
  ASSERT_EQ(group.itemIndex(), row.before);

  QSignalSpy fired(&group, &RadioGroup::itemClicked);
  group.setItemIndex(row.set);

  EXPECT_EQ(group.itemIndex(), row.after);
  EXPECT_EQ(fired.count(), row.fired);
  for (int i = 0; i < group.count(); ++i) {
    EXPECT_EQ(group.itemButton(i)->isChecked(), i == row.after) << "item " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, RadioGroupCodeSelection,
                         ::testing::Values(CodeSelection{-1, 2, 2, 1},    //
                                           CodeSelection{-1, 0, 0, 1},    //
                                           CodeSelection{-1, 9, 3, 1},    // beyond: the last item
                                           CodeSelection{-1, -5, -1, 0},  // below -1: none
                                           CodeSelection{-1, -1, -1, 0},  //
                                           CodeSelection{2, 2, 2, 0},     // present index again
                                           CodeSelection{2, 1, 1, 1},     //
                                           CodeSelection{2, -1, -1, 0},   // clearing fires nothing
                                           CodeSelection{2, -9, -1, 0},   //
                                           CodeSelection{3, 99, 3, 0},    // limited to the present
                                           CodeSelection{1, 99, 3, 1}));

TEST(RadioGroup, AUserClickSelectsAndFiresAlsoAfterClearingByCode) {
  RadioGroup group(QStringLiteral("Range"), kFourItems, 1);
  group.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&group));
  QSignalSpy fired(&group, &RadioGroup::itemClicked);

  QTest::mouseClick(group.itemButton(1), Qt::LeftButton, {},
                    QPoint(6, group.itemButton(1)->height() / 2));
  EXPECT_EQ(group.itemIndex(), 1);
  EXPECT_EQ(fired.count(), 1);

  group.setItemIndex(-1);
  EXPECT_EQ(group.itemIndex(), -1);
  EXPECT_FALSE(group.itemButton(1)->isChecked());

  // The group stays exclusive after being cleared.
  QTest::mouseClick(group.itemButton(1), Qt::LeftButton, {},
                    QPoint(6, group.itemButton(1)->height() / 2));
  QTest::mouseClick(group.itemButton(3), Qt::LeftButton, {},
                    QPoint(6, group.itemButton(3)->height() / 2));
  EXPECT_EQ(group.itemIndex(), 3);
  EXPECT_FALSE(group.itemButton(1)->isChecked());
  EXPECT_EQ(fired.count(), 3);
  EXPECT_EQ(group.property("ItemIndex").toInt(), 3);
}

TEST(RadioGroup, TheArrowKeysMoveTheSelectionAndFire) {
  RadioGroup group(QStringLiteral("Range"), kFourItems, 1);
  group.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&group));
  group.setItemIndex(1);
  group.itemButton(1)->setFocus();
  QSignalSpy fired(&group, &RadioGroup::itemClicked);

  QTest::keyClick(group.itemButton(1), Qt::Key_Down);

  EXPECT_EQ(group.itemIndex(), 2);
  EXPECT_EQ(fired.count(), 1);
}

TEST(RadioGroup, ItemsFillTheColumnsTopToBottom) {
  QStringList nine;
  for (int i = 0; i < 9; ++i) nine << QStringLiteral("Item %1").arg(i);
  RadioGroup group(QStringLiteral("Rename"), nine, 3);
  group.resize(585, 193);
  group.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&group));

  for (int i = 0; i < 9; ++i) {
    const QPoint at = group.itemButton(i)->pos();
    const QPoint firstOfRow = group.itemButton(i % 3)->pos();
    const QPoint firstOfColumn = group.itemButton(i / 3 * 3)->pos();
    EXPECT_EQ(at.y(), firstOfRow.y()) << "item " << i;
    EXPECT_EQ(at.x(), firstOfColumn.x()) << "item " << i;
  }
  EXPECT_LT(group.itemButton(0)->x(), group.itemButton(3)->x());
  EXPECT_LT(group.itemButton(3)->x(), group.itemButton(6)->x());
  EXPECT_LT(group.itemButton(0)->y(), group.itemButton(1)->y());
  EXPECT_EQ(group.itemText(4), QStringLiteral("Item 4"));
}

}  // namespace
}  // namespace orvex
