#include "log/measurement_log.h"

#include "log/log_tab.h"
#include "log/log_table.h"
#include "log/tick_texts.h"
#include "support/test_printers.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace orvex {
namespace {

MeasurementLog::TickCells Row(const QString& tag) {
  return {tag, "14:03:05", "12,7", "13,1", "1,9", "0,0", "1,25", "-3,5", "0,0", "24", "Disabled"};
}

// Table rows as column-0 texts, header row included.
QStringList FirstColumn(const LogTable& table) {
  QStringList texts;
  for (int row = 0; row < table.rowCount(); ++row) texts << table.cell(0, row);
  return texts;
}

TEST(MeasurementLogTest, StartsWithHeaderRowAndOneEmptyRow) {
  MeasurementLog log;
  const LogTable& table = log.table();
  EXPECT_EQ(table.columnCount(), 11);
  EXPECT_EQ(table.rowCount(), 2);
  EXPECT_EQ(table.columnWidths(),
            (std::vector<int>{111, 112, 104, 120, 114, 110, 109, 106, 104, 103, 110}));
  const QStringList headers = {"Date",         "Time",          "Solar Voltage", "Battery voltage",
                               "Load voltage", "Solar amp",     "Reg amp",       "Battery amp",
                               "Load amp",     "Temperature 1", "Temperature 2"};
  for (int column = 0; column < 11; ++column) EXPECT_EQ(table.cell(column, 0), headers[column]);
  EXPECT_TRUE(table.rowIsEmpty(1));
  EXPECT_EQ(log.loggedRows(), 0);
}

TEST(MeasurementLogTest, TicksFillTheTrailingRowAndAppendAnEmptyOne) {
  MeasurementLog log;
  QAbstractItemModelTester tester(&log, QAbstractItemModelTester::FailureReportingMode::Fatal);
  log.LogTick(Row("a"));
  EXPECT_EQ(log.table().rowCount(), 3);
  EXPECT_EQ(log.table().cell(10, 1), "Disabled");
  EXPECT_EQ(log.table().cell(9, 1), "24");
  EXPECT_TRUE(log.table().rowIsEmpty(2));
  log.LogTick(Row("b"));
  EXPECT_EQ(FirstColumn(log.table()), (QStringList{"Date", "a", "b", ""}));
  EXPECT_EQ(log.loggedRows(), 2);
  // The view sees table row r as row r - 1.
  EXPECT_EQ(log.rowCount(), 3);
  EXPECT_EQ(log.data(log.index(1, 0)).toString(), "b");
}

TEST(MeasurementLogTest, ClearLeavesHeaderAndOneEmptyRow) {
  MeasurementLog log;
  for (const char* tag : {"a", "b", "c"}) log.LogTick(Row(tag));
  log.Clear();
  EXPECT_EQ(FirstColumn(log.table()), (QStringList{"Date", ""}));
  EXPECT_EQ(log.table().cell(10, 0), "Temperature 2");
  EXPECT_EQ(log.loggedRows(), 0);
  log.LogTick(Row("d"));
  EXPECT_EQ(FirstColumn(log.table()), (QStringList{"Date", "d", ""}));
  EXPECT_EQ(log.loggedRows(), 1);
}

// A loaded table in the file's shape: `rows` rows in all, `logged` of them
// holding texts after the header row.
LogTable Loaded(int columns, int rows, int logged) {
  LogTable table(columns, rows);
  table.setRow(0, std::vector<QString>{"Datum", "Zeit"});
  for (int row = 1; row <= logged; ++row)
    table.setRow(row, std::vector<QString>{QStringLiteral("f%1").arg(row)});
  return table;
}

TEST(MeasurementLogTest, TicksAfterALoadFollowTheLoadedRows) {
  const struct {
    const char* what;
    int loggedBefore;
    int fileRows;
    int fileLogged;
    QStringList expected;  // column 0 after one tick
  } cases[] = {
      {"larger file after 3 ticks",
       3,
       12,
       10,
       {"Datum", "f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9", "f10", "t", ""}},
      {"smaller file after 20 ticks", 20, 7, 5, {"Datum", "f1", "f2", "f3", "f4", "f5", "t", ""}},
      {"file without a trailing empty row", 0, 3, 2, {"Datum", "f1", "f2", "t", ""}},
      {"file of the header row alone", 2, 1, 0, {"Datum", "t", ""}},
      {"file with empty rows at its end", 0, 6, 2, {"Datum", "f1", "f2", "", "", "t", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MeasurementLog log;
    for (int i = 0; i < c.loggedBefore; ++i) log.LogTick(Row("old"));
    log.replaceTable(Loaded(11, c.fileRows, c.fileLogged));
    EXPECT_EQ(log.loggedRows(), c.loggedBefore) << "a load leaves LoggedRows alone";
    log.LogTick(Row("t"));
    EXPECT_EQ(FirstColumn(log.table()), c.expected);
    EXPECT_EQ(log.loggedRows(), c.loggedBefore + 1);
  }
}

TEST(MeasurementLogTest, TicksFillOnlyTheColumnsTheTableHas) {
  MeasurementLog wide;
  wide.replaceTable(Loaded(15, 2, 0));
  wide.LogTick(Row("t"));
  EXPECT_EQ(wide.table().cell(10, 1), "Disabled");
  for (int column = 11; column < 15; ++column) EXPECT_EQ(wide.table().cell(column, 1), "");

  MeasurementLog narrow;
  narrow.replaceTable(Loaded(3, 2, 0));
  narrow.LogTick(Row("t"));
  EXPECT_EQ(narrow.table().cell(2, 1), "12,7");
  int stored = 0;
  narrow.table().row(1).forEachCell([&stored](int, QByteArrayView) { ++stored; });
  EXPECT_EQ(stored, 3);
  EXPECT_EQ(narrow.columnCount(), 3);
}

TEST(MeasurementLogTest, TicksDuringALoadFollowTheLoadedRows) {
  MeasurementLog log;
  log.LogTick(Row("before"));
  log.beginLoad();
  log.LogTick(Row("during1"));
  log.LogTick(Row("during2"));
  EXPECT_EQ(FirstColumn(log.table()), (QStringList{"Date", "before", "during1", "during2", ""}))
      << "ticks show while the file loads";
  log.finishLoad(Loaded(11, 4, 2));
  EXPECT_EQ(FirstColumn(log.table()), (QStringList{"Datum", "f1", "f2", "during1", "during2", ""}));
  EXPECT_EQ(log.loggedRows(), 3);

  log.beginLoad();
  log.LogTick(Row("lost?"));
  log.abortLoad();
  EXPECT_EQ(FirstColumn(log.table()).mid(5), (QStringList{"lost?", ""}))
      << "a failed load keeps the ticks";
}

TEST(MeasurementLogTest, HeaderRowIsTheHorizontalHeader) {
  MeasurementLog log;
  EXPECT_EQ(log.headerData(3, Qt::Horizontal).toString(), "Battery voltage");
  const QFont header = log.headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>();
  EXPECT_EQ(header.family(), "Tahoma");
  EXPECT_EQ(header.pixelSize(), 13);
  EXPECT_TRUE(header.bold());
  EXPECT_EQ(log.headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(),
            QColor(128, 0, 0));

  log.LogTick(Row("a"));
  const QFont data = log.data(log.index(0, 0), Qt::FontRole).value<QFont>();
  EXPECT_EQ(data.family(), "Tahoma");
  EXPECT_EQ(data.pixelSize(), 16);
  EXPECT_FALSE(data.bold());
  EXPECT_EQ(log.data(log.index(0, 0), Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
  EXPECT_FALSE(log.flags(log.index(0, 0)) & Qt::ItemIsEditable);
}

TEST(LogTabTest, ShowsTheLogWithItsWidthsAndClearsIt) {
  MeasurementLog log;
  LogTab tab(log);
  tab.resize(1249, 700);
  tab.show();
  auto* view = tab.findChild<QTableView*>("Log");
  auto* clear = tab.findChild<QPushButton*>("VrShadowButton1");
  ASSERT_NE(view, nullptr);
  ASSERT_NE(clear, nullptr);
  EXPECT_EQ(clear->text(), "Clear log");
  EXPECT_EQ(view->model(), &log);
  EXPECT_EQ(view->columnWidth(0), 111);
  EXPECT_EQ(view->columnWidth(10), 110);
  EXPECT_FALSE(view->verticalHeader()->isVisible());
  EXPECT_EQ(view->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);

  log.LogTick(Row("a"));
  log.LogTick(Row("b"));
  EXPECT_EQ(view->model()->rowCount(), 3);
  QTest::mouseClick(clear, Qt::LeftButton);
  EXPECT_EQ(FirstColumn(log.table()), (QStringList{"Date", ""}));
  EXPECT_EQ(log.loggedRows(), 0);
  EXPECT_EQ(view->columnWidth(0), 111) << "widths survive the reset";
}

TEST(LogTabTest, WidthsGoBothWays) {
  MeasurementLog log;
  LogTab tab(log);
  tab.show();
  auto* view = tab.findChild<QTableView*>("Log");
  view->horizontalHeader()->resizeSection(2, 150);
  EXPECT_EQ(log.table().columnWidth(2), 150) << "a user's width reaches the log";

  LogTable loaded(12, 3);
  loaded.setColumnWidth(11, 77);
  loaded.setColumnWidth(0, 40);
  log.replaceTable(std::move(loaded));
  EXPECT_EQ(view->model()->columnCount(), 12);
  EXPECT_EQ(view->columnWidth(0), 40);
  EXPECT_EQ(view->columnWidth(11), 77);
  EXPECT_EQ(log.table().columnWidth(1), LogTable::kDefaultColumnWidth)
      << "the reset did not write widths back";
}

TEST(TickTextsTest, DateAndTimeFollowTheLocale) {
  const QDateTime when(QDate(2021, 7, 21), QTime(14, 3, 5));
  const struct {
    QLocale locale;
    QString date;
    QString time;
  } cases[] = {
      {QLocale(QLocale::Russian, QLocale::Russia), "21.07.2021", "14:03:05"},
      {QLocale(QLocale::German, QLocale::Germany), "21.07.21", "14:03:05"},
      {QLocale(QLocale::English, QLocale::UnitedStates), "7/21/21", "2:03:05 PM"},
      {QLocale(QLocale::Chinese, QLocale::China), "2021/7/21", "14:03:05"},
      {QLocale(QLocale::Dutch, QLocale::Netherlands), "21-07-2021", "14:03:05"},
  };
  for (const auto& c : cases) {
    const TickTexts texts = TickTextsAt(when, c.locale);
    EXPECT_EQ(texts.date, c.date) << c.locale.name().toStdString();
    EXPECT_EQ(texts.time, c.time) << c.locale.name().toStdString();
  }
}

// Every locale's long time format loses its time-zone part and nothing else:
// seconds stay, no bracket, comma or space is left dangling.
TEST(TickTextsTest, NoLocaleKeepsATimeZone) {
  const QList<QLocale> locales =
      QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
  ASSERT_GT(locales.size(), 100);
  for (const QLocale& locale : locales) {
    const QString format = TimeFormatWithoutZone(locale);
    SCOPED_TRACE(locale.name().toStdString() + " [" +
                 locale.timeFormat(QLocale::LongFormat).toStdString() + "] -> [" +
                 format.toStdString() + "]");
    bool quoted = false;
    for (const QChar ch : format) {
      if (ch == u'\'') quoted = !quoted;
      EXPECT_FALSE(!quoted && ch == u't');
    }
    EXPECT_TRUE(format.contains(u's'));
    EXPECT_EQ(format.trimmed(), format);
    EXPECT_FALSE(format.endsWith(u',') || format.contains("()") || format.contains("[]"));
    EXPECT_FALSE(format.endsWith(u'(') || format.endsWith(u'['));
  }
}

}  // namespace
}  // namespace orvex
