#include "log/log_actions.h"

#include "fake_log_dialogs.h"
#include "log/column_letters.h"
#include "log/log_file.h"
#include "log/log_writer.h"
#include "log/measurement_log.h"
#include "log/xlsx_log_exporter.h"
#include "support/fake_prompts.h"
#include "support/test_printers.h"
#include "zip_reader.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
#include <map>

namespace orvex {
namespace {

using test::FakeLogDialogs;
using test::FakePrompts;

MeasurementLog::TickCells Row(const QString& tag) {
  return {tag, "14:03:05", "12,7", "13,1", "1,9", "0,0", "1,25", "-3,5", "0,0", "24", "Disabled"};
}

QStringList FirstColumn(const LogTable& table) {
  QStringList texts;
  for (int row = 0; row < table.rowCount(); ++row) texts << table.cell(0, row);
  return texts;
}

QByteArray ReadAll(const QString& fileName) {
  QFile file(fileName);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class LogActionsTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir_.filePath(name); }

  // A file written by another log with `rows` logged rows tagged f1, f2, ...
  QString fileWithRows(const QString& name, int rows) {
    MeasurementLog other;
    for (int i = 1; i <= rows; ++i) other.LogTick(Row(QStringLiteral("f%1").arg(i)));
    SaveLogFile(other.table(), path(name));
    return path(name);
  }

  void writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QStringList errors() const {
    const std::vector<QString> texts = prompts_.texts(FakePrompts::Kind::Error);
    return QStringList(texts.begin(), texts.end());
  }

  QTemporaryDir dir_;
  MeasurementLog log_;
  FakeLogDialogs dialogs_;
  XlsxLogExporter exporter_;
  FakePrompts prompts_;
  LogActions actions_{log_, dialogs_, exporter_, prompts_};
};

// ---------------------------------------------------------------------------
// Open

TEST_F(LogActionsTest, OpenReplacesTheTableAndKeepsLoggedRows) {
  const QString file = fileWithRows("ten.log", 10);
  for (const char* tag : {"a", "b", "c"}) log_.LogTick(Row(tag));
  dialogs_.openNames << file;
  actions_.OpenClick();
  EXPECT_TRUE(errors().empty()) << errors().join("|").toStdString();
  EXPECT_EQ(FirstColumn(log_.table()),
            (QStringList{"Date", "f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9", "f10", ""}));
  EXPECT_EQ(log_.loggedRows(), 3);
  EXPECT_EQ(actions_.openedFileName(), file);

  log_.LogTick(Row("t"));
  EXPECT_EQ(FirstColumn(log_.table()).mid(10), (QStringList{"f10", "t", ""}))
      << "the next tick follows the loaded rows";
}

TEST_F(LogActionsTest, OpeningASmallerFileShowsNoneOfTheEarlierRows) {
  for (int i = 0; i < 20; ++i) log_.LogTick(Row("old"));
  dialogs_.openNames << fileWithRows("five.log", 5);
  actions_.OpenClick();
  EXPECT_EQ(FirstColumn(log_.table()), (QStringList{"Date", "f1", "f2", "f3", "f4", "f5", ""}));
  log_.LogTick(Row("t"));
  EXPECT_EQ(FirstColumn(log_.table()),
            (QStringList{"Date", "f1", "f2", "f3", "f4", "f5", "t", ""}));
  EXPECT_EQ(log_.loggedRows(), 21);
}

TEST_F(LogActionsTest, FailedOpensLeaveTheTableAsItWas) {
  log_.LogTick(Row("kept"));
  const QByteArray before = EncodeLog(log_.table());
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.log"));
  writeFile("corrupt.log", QByteArray("\xFF\xFE"
                                      "0\0,\0"
                                      "3\0\r\0\n\0",
                                      12));
  writeFile("huge.log", "11,2000000000\r\n0,0,Date\r\n");
  const struct {
    const char* what;
    QString name;
    QString error;  // as the error box shows it
  } cases[] = {
      {"no file", path("missing.log"), "File does not exist."},
      {"no columns", path("corrupt.log"),
       "File contains no data or corrupt file " + path("corrupt.log") + "."},
      {"absurd row count", path("huge.log"),
       "File contains no data or corrupt file " + path("huge.log") + "."},
      {"a folder", path("folder.log"), "Cannot open file \"" + path("folder.log") + "\". "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    prompts_.clear();
    dialogs_.openNames << c.name;
    actions_.OpenClick();
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_TRUE(errors()[0].startsWith(c.error)) << errors()[0].toStdString();
    EXPECT_EQ(EncodeLog(log_.table()), before);
    EXPECT_FALSE(log_.loading());
  }
  prompts_.clear();
  actions_.OpenClick();  // cancelled
  EXPECT_TRUE(prompts_.boxes.empty());
  EXPECT_EQ(EncodeLog(log_.table()), before);
}

TEST_F(LogActionsTest, TicksWhileAFileLoadsFollowTheLoadedRows) {
  dialogs_.openNames << fileWithRows("two.log", 2);
  dialogs_.whileLoading = [this] {
    log_.LogTick(Row("w1"));
    log_.LogTick(Row("w2"));
  };
  actions_.OpenClick();
  EXPECT_EQ(dialogs_.loadedNames, QStringList{path("two.log")});
  EXPECT_EQ(FirstColumn(log_.table()), (QStringList{"Date", "f1", "f2", "w1", "w2", ""}));
  EXPECT_EQ(log_.loggedRows(), 2);
}

// The load is cancelled before the worker starts (the pool's one thread is
// busy), so the outcome does not depend on timing.
TEST_F(LogActionsTest, CancelledLoadChangesNothingButKeepsTicks) {
  QThreadPool* pool = QThreadPool::globalInstance();
  const int threads = pool->maxThreadCount();
  pool->setMaxThreadCount(1);
  QSemaphore started;
  QSemaphore release;
  pool->start([&] {
    started.release();
    release.acquire();
  });
  started.acquire();

  log_.LogTick(Row("a"));
  dialogs_.openNames << fileWithRows("five.log", 5);
  dialogs_.whileLoading = [this] { log_.LogTick(Row("during")); };
  dialogs_.cancelLoad = true;
  actions_.OpenClick();
  release.release();
  pool->waitForDone();
  pool->setMaxThreadCount(threads);

  EXPECT_TRUE(prompts_.boxes.empty());
  EXPECT_EQ(FirstColumn(log_.table()), (QStringList{"Date", "a", "during", ""}));
  EXPECT_FALSE(log_.loading());
}

// ---------------------------------------------------------------------------
// Save and Save as

TEST_F(LogActionsTest, SaveBeforeAnyOpenFailsToCreateTheFile) {
  actions_.SaveClick();
  EXPECT_EQ(errors(), QStringList{"Cannot create file \"\". No file name specified."});
}

TEST_F(LogActionsTest, SaveWritesToTheNameTheOpenDialogLastAccepted) {
  dialogs_.openNames << fileWithRows("a.log", 2);
  actions_.OpenClick();
  dialogs_.saveNames << path("b.log");
  actions_.SaveAsClick();
  log_.LogTick(Row("new"));
  actions_.SaveClick();
  EXPECT_TRUE(errors().empty()) << errors().join("|").toStdString();
  EXPECT_EQ(FirstColumn(*ReadLogFile(path("a.log")).table),
            (QStringList{"Date", "f1", "f2", "new", ""}));
  EXPECT_EQ(FirstColumn(*ReadLogFile(path("b.log")).table), (QStringList{"Date", "f1", "f2", ""}));
}

TEST_F(LogActionsTest, SaveCreatesTheFileAnOpenDidNotFind) {
  dialogs_.openNames << path("new.log");
  actions_.OpenClick();
  EXPECT_EQ(errors(), QStringList{"File does not exist."});
  log_.LogTick(Row("x"));
  actions_.SaveClick();
  ASSERT_TRUE(QFile::exists(path("new.log")));
  EXPECT_TRUE(*ReadLogFile(path("new.log")).table == log_.table());
}

TEST_F(LogActionsTest, SaveAsUsesTheNameAsTyped) {
  actions_.SaveAsClick();  // cancelled
  EXPECT_TRUE(QDir(dir_.path()).isEmpty());
  dialogs_.saveNames << path("no extension");
  actions_.SaveAsClick();
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"no extension"});
  dialogs_.saveNames << path("gone/x.log");
  actions_.SaveAsClick();
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(errors()[0],
            "Cannot create file \"" + path("gone/x.log") + "\". No such file or directory.");
}

// ---------------------------------------------------------------------------
// Export

TEST(ColumnLettersTest, CountsInLetters) {
  const std::pair<int, const char*> cases[] = {
      {0, ""},     {1, "A"},     {11, "K"},     {25, "Y"},      {26, "Z"},  {27, "AA"},
      {51, "AY"},  {52, "AZ"},   {53, "BA"},    {78, "BZ"},     {79, "CA"}, {676, "YZ"},
      {702, "ZZ"}, {703, "AAA"}, {1000, "ALL"}, {16384, "XFD"},
  };
  for (const auto& [n, letters] : cases) EXPECT_EQ(ColumnLetters(n), letters) << n;
}

struct SheetCell {
  QString type;
  int style = -1;
  QString text;
  bool hasValue = false;
};

struct Workbook {
  QString dimension;
  std::map<QString, SheetCell> cells;  // by reference ("A1")
  QStringList cellOrder;
  std::vector<QString> numberFormatOfStyle;  // numFmtId per cellXfs entry
};

// A sheet's text with Excel's escapes of control characters ("_x0001_") decoded.
QString Unescaped(const QString& text) {
  static const QRegularExpression escape("_x([0-9A-Fa-f]{4})_");
  QString result;
  qsizetype at = 0;
  for (QRegularExpressionMatchIterator it = escape.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    result += text.mid(at, match.capturedStart() - at);
    result += QChar(char16_t(match.captured(1).toUShort(nullptr, 16)));
    at = match.capturedEnd();
  }
  return result + text.mid(at);
}

// Reads the first sheet back from the file on disk.
Workbook ReadWorkbook(const QString& fileName) {
  Workbook book;
  const QMap<QString, QByteArray> zip = test::ReadZip(fileName);
  EXPECT_TRUE(zip.contains("xl/worksheets/sheet1.xml")) << zip.keys().join(",").toStdString();

  QStringList shared;
  QXmlStreamReader strings(zip.value("xl/sharedStrings.xml"));
  while (!strings.atEnd()) {
    if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == u"si") {
      shared << strings.readElementText(QXmlStreamReader::IncludeChildElements);
    }
  }

  QXmlStreamReader styles(zip.value("xl/styles.xml"));
  bool inCellXfs = false;
  while (!styles.atEnd()) {
    const auto token = styles.readNext();
    if (token == QXmlStreamReader::StartElement && styles.name() == u"cellXfs") inCellXfs = true;
    if (token == QXmlStreamReader::EndElement && styles.name() == u"cellXfs") inCellXfs = false;
    if (token == QXmlStreamReader::StartElement && inCellXfs && styles.name() == u"xf") {
      book.numberFormatOfStyle.push_back(styles.attributes().value("numFmtId").toString());
    }
  }
  EXPECT_FALSE(styles.hasError()) << styles.errorString().toStdString();

  QXmlStreamReader sheet(zip.value("xl/worksheets/sheet1.xml"));
  QString current;
  while (!sheet.atEnd()) {
    const auto token = sheet.readNext();
    if (token != QXmlStreamReader::StartElement) continue;
    if (sheet.name() == u"dimension") book.dimension = sheet.attributes().value("ref").toString();
    if (sheet.name() == u"c") {
      current = sheet.attributes().value("r").toString();
      SheetCell& cell = book.cells[current];
      cell.type = sheet.attributes().value("t").toString();
      const QStringView style = sheet.attributes().value("s");
      cell.style = style.isEmpty() ? 0 : style.toInt();
      book.cellOrder << current;
    }
    if (sheet.name() == u"v") {
      SheetCell& cell = book.cells[current];
      const QString value = sheet.readElementText();
      cell.hasValue = true;
      cell.text = Unescaped(cell.type == "s" ? shared.value(value.toInt()) : value);
    }
    if (sheet.name() == u"is") {
      SheetCell& cell = book.cells[current];
      cell.hasValue = true;
      cell.text = Unescaped(sheet.readElementText(QXmlStreamReader::IncludeChildElements));
    }
  }
  EXPECT_FALSE(sheet.hasError()) << sheet.errorString().toStdString();
  return book;
}

TEST_F(LogActionsTest, ExportWritesEveryCellAsText) {
  for (int i = 1; i <= 10; ++i) log_.LogTick(Row(QStringLiteral("%1.07.2021").arg(i)));
  log_.LogTick({"1e5", "007", "a\r\nb", "=1+1", "Disabled", "12,7", "<&>", QString::fromUtf8("°C"),
                QString("ctl") + QChar(u'\x01'), "", "last"});
  ASSERT_EQ(log_.table().rowCount(), 13);
  dialogs_.exportNames << path("book");
  actions_.ExportClick();
  EXPECT_TRUE(errors().empty()) << errors().join("|").toStdString();
  ASSERT_TRUE(QFile::exists(path("book.xlsx"))) << "a name without an extension gets .xlsx";

  const Workbook book = ReadWorkbook(path("book.xlsx"));
  EXPECT_EQ(book.dimension, "A1:K13");
  QStringList expectedOrder;
  for (int row = 0; row < 13; ++row) {
    for (int column = 0; column < 11; ++column) {
      const QString ref = ColumnLetters(column + 1) + QString::number(row + 1);
      expectedOrder << ref;
      SCOPED_TRACE(ref.toStdString());
      ASSERT_TRUE(book.cells.count(ref));
      const SheetCell& cell = book.cells.at(ref);
      const QString text = log_.table().cell(column, row).remove(u'\r');
      EXPECT_EQ(cell.text, text);
      EXPECT_EQ(cell.hasValue, !text.isEmpty());
      if (!text.isEmpty()) {
        EXPECT_TRUE(cell.type == "s" || cell.type == "inlineStr") << cell.type.toStdString();
      }
      ASSERT_LT(std::size_t(cell.style), book.numberFormatOfStyle.size());
      EXPECT_EQ(book.numberFormatOfStyle[std::size_t(cell.style)], "49") << "formatted as text (@)";
    }
  }
  EXPECT_EQ(book.cellOrder, expectedOrder) << "nothing beyond A1:K13";
  EXPECT_EQ(book.cells.at("C12").text, "a\nb");
}

TEST_F(LogActionsTest, ExportKeepsAGivenExtensionAndCancelWritesNothing) {
  actions_.ExportClick();
  EXPECT_TRUE(QDir(dir_.path()).isEmpty());
  dialogs_.exportNames << path("old.xls");
  actions_.ExportClick();
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"old.xls"});
  EXPECT_EQ(ReadWorkbook(path("old.xls")).dimension, "A1:K2");
  EXPECT_EQ(LogActions::ExportFileName("/x/a.b/c"), "/x/a.b/c.xlsx");
}

TEST_F(LogActionsTest, FailedExportIsReportedAndKeepsTheEarlierFile) {
  dialogs_.exportNames << path("gone/book.xlsx");
  actions_.ExportClick();
  EXPECT_EQ(errors(), QStringList{"Cannot create file \"" + path("gone/book.xlsx") +
                                  "\". No such file or directory."});

  prompts_.clear();
  dialogs_.exportNames << path("kept.xlsx");
  actions_.ExportClick();
  const QByteArray before = ReadAll(path("kept.xlsx"));
  ASSERT_FALSE(before.isEmpty());
  for (int i = 0; i < 30000; ++i) log_.LogTick(Row(QString::number(i)));
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit limited = old;
  limited.rlim_cur = before.size() + 1024;
  setrlimit(RLIMIT_FSIZE, &limited);
  dialogs_.exportNames << path("kept.xlsx");
  actions_.ExportClick();
  setrlimit(RLIMIT_FSIZE, &old);
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_TRUE(errors()[0].startsWith("Cannot write file \"" + path("kept.xlsx") + "\". "))
      << errors()[0].toStdString();
  EXPECT_EQ(ReadAll(path("kept.xlsx")), before);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"kept.xlsx"});
}

TEST_F(LogActionsTest, ExportRefusesMoreRowsThanASheetHolds) {
  writeFile("long.log", "11,1048577\r\n0,0,Date\r\n5,1048576,last\r\n");
  dialogs_.openNames << path("long.log");
  actions_.OpenClick();
  ASSERT_EQ(log_.table().rowCount(), 1048577);
  dialogs_.exportNames << path("long.xlsx");
  actions_.ExportClick();
  EXPECT_EQ(errors(),
            QStringList{"The log has 1048577 rows and 11 columns; a worksheet holds at most "
                        "1048576 rows and 16384 columns."});
  EXPECT_FALSE(QFile::exists(path("long.xlsx")));
}

// ---------------------------------------------------------------------------
// Print

QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString() << " did not run";
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(LogActionsTest, PrintsPortraitWithTheHeaderOnceAndEveryRow) {
  constexpr int kRows = 80;
  for (int i = 1; i <= kRows; ++i) {
    MeasurementLog::TickCells cells = Row(QStringLiteral("R%1").arg(i, 3, 10, QChar(u'0')));
    cells[10] = QStringLiteral("Z%1").arg(i, 3, 10, QChar(u'0'));
    log_.LogTick(cells);
  }
  // Wide enough that no text is shortened whatever font stands in for Tahoma.
  for (int column = 0; column < 11; ++column) log_.setColumnWidth(column, 170);
  const QString pdf = path("log.pdf");
  dialogs_.choosePrinterAnswer = [&pdf](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);  // the user's choice, overruled
    return true;
  };
  actions_.PrintClick();
  ASSERT_TRUE(errors().empty()) << errors().join("|").toStdString();
  ASSERT_TRUE(QFile::exists(pdf));

  const QString info = RunTool("pdfinfo", {pdf});
  const QRegularExpressionMatch size =
      QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)").match(info);
  ASSERT_TRUE(size.hasMatch()) << info.toStdString();
  EXPECT_LT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "portrait";
  EXPECT_TRUE(info.contains(QRegularExpression(R"(Page rot:\s+0\b)"))) << info.toStdString();
  const int pages = QRegularExpression(R"(Pages:\s+(\d+))").match(info).captured(1).toInt();
  EXPECT_GE(pages, 4) << "80 rows of 11 columns take more than one page each way";

  const QString text = RunTool("pdftotext", {pdf, "-"});
  for (const char* header :
       {"Date", "Time", "Solar Voltage", "Battery voltage", "Load voltage", "Solar amp", "Reg amp",
        "Battery amp", "Load amp", "Temperature 1", "Temperature 2"}) {
    EXPECT_EQ(text.count(QLatin1String(header)), 1) << header << " printed once";
  }
  for (int i = 1; i <= kRows; ++i) {
    EXPECT_EQ(text.count(QStringLiteral("R%1").arg(i, 3, 10, QChar(u'0'))), 1) << "row " << i;
    EXPECT_EQ(text.count(QStringLiteral("Z%1").arg(i, 3, 10, QChar(u'0'))), 1) << "row " << i;
  }
  const QString firstPage = RunTool("pdftotext", {"-f", "1", "-l", "1", pdf, "-"}).trimmed();
  EXPECT_TRUE(firstPage.startsWith("Date")) << firstPage.left(80).toStdString();
  const QString lastPage =
      RunTool("pdftotext", {"-f", QString::number(pages), "-l", QString::number(pages), pdf, "-"});
  EXPECT_TRUE(lastPage.contains(QStringLiteral("Z%1").arg(kRows, 3, 10, QChar(u'0'))))
      << "the last page ends the last column band";

  // The first page as pixels: a table centred across the page, each cell boxed.
  RunTool("pdftoppm",
          {"-r", "96", "-f", "1", "-l", "1", "-gray", "-singlefile", pdf, path("page")});
  const QImage page(path("page.pgm"));
  ASSERT_FALSE(page.isNull());
  int left = page.width();
  int right = -1;
  int top = page.height();
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      if (qGray(page.pixel(x, y)) < 160) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
      }
    }
  }
  ASSERT_GE(right, left);
  EXPECT_NEAR(left, page.width() - 1 - right, 3) << "centred";
  int dark = 0;
  for (int x = left; x <= right; ++x) dark += qGray(page.pixel(x, top)) < 160 ? 1 : 0;
  EXPECT_GT(dark, (right - left) * 9 / 10) << "a border along the top of the table";
  int boxedColumns = 0;  // vertical lines running the table's height
  for (int x = left; x <= right; ++x) {
    int run = 0;
    for (int y = top; y < top + 200; ++y) run += qGray(page.pixel(x, y)) < 160 ? 1 : 0;
    if (run > 190) ++boxedColumns;
  }
  EXPECT_GE(boxedColumns, 4) << "borders between the cells";
}

TEST_F(LogActionsTest, CancelledPrintWritesNothing) {
  dialogs_.choosePrinterAnswer = [this](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("log.pdf"));
    return false;
  };
  actions_.PrintClick();
  EXPECT_TRUE(prompts_.boxes.empty());
  EXPECT_FALSE(QFile::exists(path("log.pdf")));
}

}  // namespace
}  // namespace orvex
