#include "log/log_file.h"
#include "log/log_reader.h"
#include "log/log_table.h"
#include "log/log_writer.h"

#include "core/error.h"
#include "log/measurement_log.h"
#include "log/tick_texts.h"
#include "support/test_printers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
#include <string>
#include <vector>

namespace orvex {
namespace {

// Encodes lines the plain way, independently of the writer under test.
QByteArray Utf16LeFile(const QStringList& lines, bool bom = true) {
  QByteArray bytes;
  if (bom) bytes.append("\xFF\xFE", 2);
  for (const QString& line : lines) {
    const QString ended = line + QStringLiteral("\r\n");
    for (const QChar ch : ended) {
      bytes.append(char(ch.unicode() & 0xFF));
      bytes.append(char(ch.unicode() >> 8));
    }
  }
  return bytes;
}

QByteArray ReadAll(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

void WriteAll(const QString& fileName, const QByteArray& bytes) {
  QFile file(fileName);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

// The lines of a .log file as text, without the byte-order mark.
QStringList LinesOf(const QByteArray& file) {
  QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(file.constData() + 2),
                                    (file.size() - 2) / 2);
  QStringList lines = text.split(QStringLiteral("\r\n"));
  EXPECT_EQ(lines.last(), QString()) << "the last line ends in CR LF";
  lines.removeLast();
  return lines;
}

const QStringList kWidthLines = {
    "cw 0,111", "cw 1,112", "cw 2,104", "cw 3,120", "cw 4,114",  "cw 5,110",
    "cw 6,109", "cw 7,106", "cw 8,104", "cw 9,103", "cw 10,110",
};
const QStringList kHeaderLines = {
    "0,0,Date",         "1,0,Time",          "2,0,Solar Voltage",  "3,0,Battery voltage",
    "4,0,Load voltage", "5,0,Solar amp",     "6,0,Reg amp",        "7,0,Battery amp",
    "8,0,Load amp",     "9,0,Temperature 1", "10,0,Temperature 2",
};

class LogFileTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

// One row logged before any frame arrived, temperature 2 switched off, in a
// locale with day-month-year dates with dots and a 24-hour clock.
TEST_F(LogFileTest, LoggedRowIsWrittenByteForByte) {
  const QLocale locale(QLocale::Russian, QLocale::Russia);
  const TickTexts texts = TickTextsAt(QDateTime(QDate(2021, 7, 21), QTime(14, 3, 5)), locale);
  MeasurementLog log;
  log.LogTick(
      {texts.date, texts.time, "0,0", "0,0", "0,0", "0,0", "0,0", "0,0", "0,0", "0", "Disabled"});
  SaveLogFile(log.table(), path("example.log"));

  const QStringList rowLines = {"0,1,21.07.2021", "1,1,14:03:05", "2,1,0,0",      "3,1,0,0",
                                "4,1,0,0",        "5,1,0,0",      "6,1,0,0",      "7,1,0,0",
                                "8,1,0,0",        "9,1,0",        "10,1,Disabled"};
  const QByteArray expected =
      Utf16LeFile(QStringList{"11,3"} + kWidthLines + kHeaderLines + rowLines);
  EXPECT_EQ(ReadAll(path("example.log")).toHex(' '), expected.toHex(' '));
}

TEST_F(LogFileTest, FreshLogHoldsSizeWidthsAndHeadersOnly) {
  SaveLogFile(LogTable::NewLog(), path("empty.log"));
  EXPECT_EQ(ReadAll(path("empty.log")),
            Utf16LeFile(QStringList{"11,2"} + kWidthLines + kHeaderLines));
}

TEST_F(LogFileTest, ThreeLoggedRowsRoundTripWithWidths) {
  MeasurementLog log;
  for (int i = 1; i <= 3; ++i) {
    log.LogTick({"21.07.2021", QStringLiteral("14:03:0%1").arg(i), "12,7", "13,1", "Disabled",
                 "0,0", "1,25", "-3,5", "0,0", "24", "Disabled"});
  }
  log.setColumnWidth(4, 150);
  SaveLogFile(log.table(), path("three.log"));

  const QStringList lines = LinesOf(ReadAll(path("three.log")));
  ASSERT_EQ(lines.size(), 1 + 11 + 11 * 4);
  EXPECT_EQ(lines[0], "11,5");
  EXPECT_EQ(lines[5], "cw 4,150");
  EXPECT_EQ(lines.mid(12).size(), 44);
  EXPECT_TRUE(lines.contains("2,1,12,7"));

  const LogFileContents back = ReadLogFile(path("three.log"));
  ASSERT_TRUE(back.table.has_value()) << back.error.toStdString();
  EXPECT_TRUE(*back.table == log.table());
  EXPECT_EQ(back.table->cell(2, 3), "12,7");
  EXPECT_EQ(back.table->columnWidth(4), 150);
}

struct RoundTripCase {
  const char* what;
  QString text;
  QString line;              // how the cell (2, 1) is written
  QString back = QString();  // what reading gives, when it is not `text`
};

TEST_F(LogFileTest, CellTextsRoundTrip) {
  const std::vector<RoundTripCase> cases = {
      {"decimal comma", "12,7", "2,1,12,7"},
      {"several commas", ",a,,b,", "2,1,,a,,b,"},
      {"disabled channel", "Disabled", "2,1,Disabled"},
      {"spaces kept", "  1,5 ", "2,1,  1,5 "},
      {"looks like a width line", "cw 3,99", "2,1,cw 3,99"},
      {"non-Latin text", QString::fromUtf8("23,4 °C µA Ω"), QString::fromUtf8("2,1,23,4 °C µA Ω")},
      {"outside the basic plane", QString::fromUtf8("☀\U0001F50B"),
       QString::fromUtf8("2,1,☀\U0001F50B")},
      {"carriage return and line feed", "a\r\nb", "2,1,a\t\bb"},
      {"line feed alone", "a\nb", "2,1,a\bb"},
      {"line break and a null", QString("x\r\n") + QChar(u'\0') + "y",
       QString("2,1,x\t\b") + QChar(u'\x01') + "y"},
      // U+0008 marks a substituted text; without a line feed there is none, so
      // the tab that stands for a lone CR stays a tab.
      {"carriage return alone", "top\rbottom", "2,1,top\tbottom", "top\tbottom"},
      {"tab without a line break", "a\tb", "2,1,a\tb"},
  };
  for (const RoundTripCase& c : cases) {
    SCOPED_TRACE(c.what);
    LogTable table = LogTable::NewLog();
    table.appendRow();
    table.setRow(1, std::vector<QString>{"", "", c.text, "", "after"});
    SaveLogFile(table, path("cell.log"));
    const QStringList lines = LinesOf(ReadAll(path("cell.log")));
    EXPECT_TRUE(lines.contains(c.line)) << lines.join(" | ").toStdString();
    EXPECT_TRUE(lines.contains("4,1,after"));
    EXPECT_FALSE(lines.contains("0,1,") || lines.contains("3,1,")) << "empty cells have no line";

    const LogFileContents back = ReadLogFile(path("cell.log"));
    ASSERT_TRUE(back.table.has_value());
    EXPECT_EQ(back.table->cell(2, 1), c.back.isNull() ? c.text : c.back);
    EXPECT_EQ(back.table->cell(0, 1), "");
    EXPECT_EQ(back.table->cell(4, 1), "after");
    EXPECT_EQ(back.table->cell(0, 0), "Date") << "no text ran into other cells";
  }
}

// The same table in each encoding a file may come in, with each kind of line end.
TEST_F(LogFileTest, EncodingFollowsTheByteOrderMark) {
  const QString text =
      QString::fromUtf8("3,2\ncw 1,77\r0,0,Zeit\r\n1,0,Temp °C\n0,1,12,7\r\n2,1,Ä");
  QByteArray be("\xFE\xFF", 2);
  for (const QChar ch : text) {
    be.append(char(ch.unicode() >> 8));
    be.append(char(ch.unicode() & 0xFF));
  }
  QByteArray le("\xFF\xFE", 2);
  le.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  const struct {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"UTF-16 LE", le},
      {"UTF-16 BE", be},
      {"UTF-8 with mark", QByteArray("\xEF\xBB\xBF") + text.toUtf8()},
      {"no mark (the system's code page, UTF-8 here)", text.toUtf8()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<LogTable> table = ParseLog(c.bytes);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnWidth(1), 77);
    EXPECT_EQ(table->columnWidth(0), LogTable::kDefaultColumnWidth);
    EXPECT_EQ(table->cell(0, 0), "Zeit");
    EXPECT_EQ(table->cell(1, 0), QString::fromUtf8("Temp °C"));
    EXPECT_EQ(table->cell(0, 1), "12,7");
    EXPECT_EQ(table->cell(2, 1), QString::fromUtf8("Ä"));
  }
}

TEST(LogReaderTest, BrokenSizeLinesMakeTheFileCorrupt) {
  const std::vector<std::pair<const char*, QByteArray>> cases = {
      {"empty file", ""},
      {"byte-order mark only", "\xFF\xFE"},
      {"empty first line", "\n0,0,Date"},
      {"no columns", "0,3\n"},
      {"no rows", "3,0\n"},
      {"no comma", "11\n"},
      {"no row count", "11,\n"},
      {"not a number", "eleven,3\n"},
      {"trailing text", "11,3x\n"},
      {"leading space", " 11,3\n"},
      {"negative count", "-1,3\n"},
      {"2,000,000,000 rows", "11,2000000000\n0,0,Date\n"},
      {"rows beyond the limit", "11,50000001\n"},
      {"100,000 columns", "100000,3\n"},
      {"columns beyond the limit", "1001,3\n"},
      {"a count beyond 64 bits", "99999999999999999999999,3\n"},
  };
  for (const auto& [what, bytes] : cases) {
    EXPECT_FALSE(ParseLog(bytes).has_value()) << what;
  }
}

TEST(LogReaderTest, CountsAtTheLimitsAllocateNothingForRows) {
  const std::optional<LogTable> table = ParseLog("1000,50000000\n999,49999999,last\n");
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->columnCount(), kMaxLogColumns);
  EXPECT_EQ(table->rowCount(), kMaxLogRows);
  EXPECT_EQ(table->cell(999, 49999999), "last");
  // One block of row references and one arena chunk, not 50 million rows.
  EXPECT_LT(table->bytesAllocated(), std::size_t(2) << 20);
}

TEST(LogReaderTest, LinesOutsideTheTableOrFormAreSkipped) {
  const std::optional<LogTable> table = ParseLog(
      "3,2\n"
      "cw 3,50\n"     // no such column
      "cw 1,x\n"      // not a width
      "cw 2\n"        // no comma
      "cw 0,70000\n"  // beyond any sensible width
      "cw 1,80\n"
      "0,0,A\n"
      "3,0,beyond the columns\n"
      "0,2,beyond the rows\n"
      "just text\n"
      "\n"
      "1,0\n"  // no text part
      "1,x,bad row\n"
      "99999999999999999999,0,huge column\n"
      "2,0,C\n");
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->columnWidths(),
            (std::vector<int>{LogTable::kDefaultColumnWidth, 80, LogTable::kDefaultColumnWidth}));
  EXPECT_EQ(table->cell(0, 0), "A");
  EXPECT_EQ(table->cell(1, 0), "");
  EXPECT_EQ(table->cell(2, 0), "C");
  EXPECT_TRUE(table->rowIsEmpty(1));
}

TEST(LogReaderTest, CellsListedOutOfOrderKeepTheLastText) {
  const std::optional<LogTable> table = ParseLog(
      "4,5\n"
      "1,3,first\n"
      "0,1,early\n"
      "3,3,d\n"
      "1,1,b\n"
      "1,3,second\n"
      "0,1,again\n"
      "0,4,x\n"
      "1,3,third\n"
      "2,2,\n");
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->cell(0, 1), "again");
  EXPECT_EQ(table->cell(1, 1), "b");
  EXPECT_EQ(table->cell(1, 3), "third");
  EXPECT_EQ(table->cell(3, 3), "d");
  EXPECT_EQ(table->cell(0, 4), "x");
  EXPECT_TRUE(table->rowIsEmpty(2));
}

// A file read in pieces gives the same table wherever the pieces end: inside a
// character, between CR and LF, inside the byte-order mark.
TEST(LogReaderTest, PiecesGiveTheSameTableAsTheWhole) {
  LogTable source = LogTable::NewLog();
  source.appendRow();
  source.appendRow();
  source.setRow(
      1, std::vector<QString>{"21.07.2021", "14:03:05", QString::fromUtf8("12,7 °C"), "a\r\nb"});
  source.setRow(2, std::vector<QString>{"", QString::fromUtf8("\U0001F50B"), "Disabled"});
  QByteArray utf8 = QString::fromUtf8("3,3\r\n0,0,Ä\r\n0,1,\U0001F50B\r\n2,2,end").toUtf8();
  utf8.prepend("\xEF\xBB\xBF");
  for (const QByteArray& file : {EncodeLog(source), utf8}) {
    const std::optional<LogTable> whole = ParseLog(file);
    ASSERT_TRUE(whole.has_value());
    for (qsizetype cut = 0; cut <= file.size(); ++cut) {
      LogReader reader;
      reader.feed(QByteArrayView(file).first(cut));
      reader.feed(QByteArrayView(file).sliced(cut));
      const std::optional<LogTable> pieces = reader.finish();
      ASSERT_TRUE(pieces.has_value()) << "cut at " << cut;
      EXPECT_TRUE(*pieces == *whole) << "cut at " << cut;
    }
  }
  EXPECT_TRUE(*ParseLog(EncodeLog(source)) == source);
}

TEST_F(LogFileTest, WiderFileKeepsItsColumnsWithDefaultWidths) {
  WriteAll(path("wide.log"),
           Utf16LeFile({"15,3", "cw 0,90", "cw 14,33", "0,0,Date", "14,0,Extra", "14,1,x"}));
  const LogFileContents contents = ReadLogFile(path("wide.log"));
  ASSERT_TRUE(contents.table.has_value());
  EXPECT_EQ(contents.table->columnCount(), 15);
  EXPECT_EQ(contents.table->columnWidth(0), 90);
  EXPECT_EQ(contents.table->columnWidth(7), LogTable::kDefaultColumnWidth);
  EXPECT_EQ(contents.table->columnWidth(14), 33);
  EXPECT_EQ(contents.table->cell(14, 0), "Extra");
}

TEST_F(LogFileTest, ReadErrorsNameTheFile) {
  const QString missing = path("missing.log");
  EXPECT_EQ(ReadLogFile(missing).error,
            QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(missing));

  WriteAll(path("corrupt.log"), Utf16LeFile({"0,3", "0,0,Date"}));
  EXPECT_EQ(ReadLogFile(path("corrupt.log")).error,
            "File contains no data or corrupt file " + path("corrupt.log"));

  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.log"));
  const LogFileContents folder = ReadLogFile(path("folder.log"));
  EXPECT_FALSE(folder.table.has_value());
  EXPECT_TRUE(
      folder.error.startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(path("folder.log"))))
      << folder.error.toStdString();
}

TEST_F(LogFileTest, CancelledReadGivesNeitherTableNorError) {
  SaveLogFile(LogTable::NewLog(), path("a.log"));
  const LogFileContents contents = ReadLogFile(path("a.log"), [](qint64, qint64) { return false; });
  EXPECT_FALSE(contents.table.has_value());
  EXPECT_TRUE(contents.error.isEmpty());
}

TEST_F(LogFileTest, SaveErrorsNameTheFileAndTheReason) {
  const struct {
    const char* what;
    QString name;
    QString reason;
  } cases[] = {
      {"no name", "", "No file name specified"},
      {"missing folder", path("gone/a.log"), "No such file or directory"},
      {"name of a folder", dir_.path(), "Filename refers to a directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      SaveLogFile(LogTable::NewLog(), c.name);
      ADD_FAILURE() << "saved";
    } catch (const Error& e) {
      EXPECT_TRUE(e.text().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(c.name)))
          << e.text().toStdString();
      EXPECT_TRUE(e.text().contains(c.reason, Qt::CaseInsensitive)) << e.text().toStdString();
    }
  }
}

// A write that fails half-way (here: the file size limit, as a full disk
// would) leaves the earlier file as it was and no temporary file behind.
TEST_F(LogFileTest, FailedSaveKeepsTheEarlierFile) {
  const QString name = path("kept.log");
  SaveLogFile(LogTable::NewLog(), name);
  const QByteArray before = ReadAll(name);

  MeasurementLog big;
  for (int i = 0; i < 20000; ++i) {
    big.LogTick({"21.07.2021", "14:03:05", "12,7", "13,1", "1,9", "0,0", "1,25", "-3,5", "0,0",
                 "24", "25"});
  }
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit limited = old;
  limited.rlim_cur = 64 * 1024;
  setrlimit(RLIMIT_FSIZE, &limited);
  QString error;
  try {
    SaveLogFile(big.table(), name);
  } catch (const Error& e) {
    error = e.text();
  }
  setrlimit(RLIMIT_FSIZE, &old);

  EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot write file \"%1\". ").arg(name)))
      << error.toStdString();
  EXPECT_TRUE(error.contains("too large", Qt::CaseInsensitive)) << error.toStdString();
  EXPECT_EQ(ReadAll(name), before);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"kept.log"});
}

}  // namespace
}  // namespace orvex
