#pragma once

#include "log_table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <optional>
#include <vector>

namespace orvex {

// Limits on the size line of a .log file. A size line beyond them marks the
// file as corrupt. A year of logging every 2 seconds is under 16 million rows.
inline constexpr int kMaxLogColumns = 1000;
inline constexpr int kMaxLogRows = 50'000'000;

// Reads a .log file fed in pieces of any size (a whole file, or a stream read
// in chunks), without widgets or I/O of its own.
//
// The encoding follows the byte-order mark: UTF-16 LE (FF FE), UTF-16 BE
// (FE FF), UTF-8 (EF BB BF); without a mark the system's code page (the ANSI
// code page on Windows, the locale's encoding, UTF-8, elsewhere). Lines
// end at CR, LF or CR LF. Line 1 must be "<columns>,<rows>" with both counts
// from 1 to the limits above; otherwise, and for a file without any line, the
// file is corrupt. "cw <column>,<width>" lines set widths; "<column>,<row>,text"
// lines set cells; lines of either kind outside the table, and lines that follow
// neither form, are skipped. A text holding U+0008 had its line breaks
// substituted when written and gets them back.
//
// Memory grows with the cells the file holds, never with the counts it declares.
class LogReader {
 public:
  LogReader() = default;

  // Feeds the next bytes. Returns false once the file is known to be corrupt;
  // further input is then ignored.
  bool feed(QByteArrayView bytes);
  // Ends the input. The table read, or nothing when the file is corrupt.
  std::optional<LogTable> finish();

 private:
  struct CellSlice {
    std::size_t offset = 0;
    std::size_t length = 0;
  };
  struct LateCell {
    int row;
    int column;
    QByteArray utf8;
  };

  void decode(QByteArrayView bytes, bool atEnd);
  qsizetype decodableLength(QByteArrayView bytes) const;
  void appendText(QByteArrayView bytes);
  void splitLines(bool atEnd);
  void readLine(QStringView line);
  bool readSizeLine(QStringView line);
  void readWidthLine(QStringView line);
  void readCellLine(QStringView line);
  void setCell(int column, int row, QStringView text);
  void commitRow();
  void applyLateCells();

  bool corrupt_ = false;
  bool bomKnown_ = false;
  QByteArray head_;  // the first bytes, until the byte-order mark is known
  QStringConverter::Encoding encoding_ = QStringConverter::System;
  // Bytes after the last line break seen. Text is decoded a run of whole
  // lines at a time, without state between runs, so that a file gives the
  // same text however it is cut into pieces: Qt's decoders, carrying state
  // from one call to the next, decode an invalid sequence cut in two unlike
  // the whole and may then drop the character after it.
  QByteArray undecoded_;
  std::optional<QStringDecoder> decoder_;
  QString pending_;            // decoded text not yet ended by a line break
  bool skipLineFeed_ = false;  // the last line ended at a CR: a following LF belongs to it

  std::optional<LogTable> table_;

  // The row being read. Cells arrive row by row in files this program writes;
  // a cell for an earlier row is kept aside and merged at the end.
  int currentRow_ = -1;
  std::vector<CellSlice> rowCells_;  // by column; valid up to rowColumns_
  int rowColumns_ = 0;               // one past the highest column set in the row
  ByteBuffer rowBytes_;
  std::vector<char> record_;
  std::vector<LateCell> late_;
};

// Reads a complete file's bytes.
std::optional<LogTable> ParseLog(QByteArrayView bytes);

}  // namespace orvex
