#pragma once

#include "cell_store.h"

#include <QByteArrayView>
#include <QString>

#include <span>
#include <vector>

namespace orvex {

// The measurement log as data: a column count, a row count, a display width per
// column and a text per cell. Row 0 is the header row; its texts are ordinary
// cells. Only rows below the row count hold texts: appending a row adds an
// empty one. Widths are in screen pixels.
//
// Texts are kept as UTF-8 in a CellStore, so a logged row of typical read-outs
// costs well under 128 bytes and appending never moves earlier rows.
class LogTable {
 public:
  static constexpr int kLogColumns = 11;
  // Width of a column that a file sizes but gives no width line.
  static constexpr int kDefaultColumnWidth = 64;

  // The log as the main window starts it: 11 columns, the header row and one
  // empty row, the default widths.
  static LogTable NewLog();
  static std::span<const QString> LogHeaders();

  // An empty table; `columnCount` >= 1 and `rowCount` >= 1.
  LogTable(int columnCount, int rowCount);
  LogTable(LogTable&&) noexcept = default;
  LogTable& operator=(LogTable&&) noexcept = default;

  int columnCount() const { return int(widths_.size()); }
  int rowCount() const { return rowCount_; }

  int columnWidth(int column) const { return widths_[std::size_t(column)]; }
  void setColumnWidth(int column, int width) { widths_[std::size_t(column)] = width; }
  const std::vector<int>& columnWidths() const { return widths_; }

  QString cell(int column, int row) const;
  QByteArrayView cellUtf8(int column, int row) const;
  RowRecord row(int row) const;
  bool rowIsEmpty(int index) const { return row(index).isEmpty(); }

  // Replaces every cell of `row` (below the row count): column i takes
  // cells[i], columns beyond `cells` become empty, cells beyond the column
  // count are dropped.
  void setRow(int row, std::span<const QString> cells);
  // The same with an encoded record holding at most columnCount() cells.
  void setRowRecord(int row, QByteArrayView record);
  // Room for an encoded record of `size` (> 0) bytes as row `row` (below the
  // row count), written by the caller before the table is used again.
  char* allocateRowRecord(int row, std::size_t size) { return store_.allocateRecord(row, size); }
  // Adds one empty row at the end.
  void appendRow() { ++rowCount_; }

  // The first row at or after `row` that may hold texts, skipping blocks of
  // rows never written; rowCount() when there is none.
  int nextStoredRow(int row) const;

  std::size_t bytesAllocated() const {
    return store_.bytesAllocated() + widths_.capacity() * sizeof(int);
  }

  // Same counts, widths and texts.
  bool operator==(const LogTable& other) const;

 private:
  std::vector<int> widths_;
  int rowCount_ = 1;
  CellStore store_;
  std::vector<char> scratch_;
};

}  // namespace orvex
