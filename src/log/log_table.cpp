#include "log_table.h"

#include <array>

namespace orvex {

namespace {

const std::array<QString, LogTable::kLogColumns> kHeaders = {
    QStringLiteral("Date"),          QStringLiteral("Time"),
    QStringLiteral("Solar Voltage"), QStringLiteral("Battery voltage"),
    QStringLiteral("Load voltage"),  QStringLiteral("Solar amp"),
    QStringLiteral("Reg amp"),       QStringLiteral("Battery amp"),
    QStringLiteral("Load amp"),      QStringLiteral("Temperature 1"),
    QStringLiteral("Temperature 2"),
};

constexpr std::array<int, LogTable::kLogColumns> kWidths = {111, 112, 104, 120, 114, 110,
                                                            109, 106, 104, 103, 110};

}  // namespace

std::span<const QString> LogTable::LogHeaders() { return kHeaders; }

LogTable LogTable::NewLog() {
  LogTable table(kLogColumns, 2);
  for (int column = 0; column < kLogColumns; ++column) {
    table.setColumnWidth(column, kWidths[std::size_t(column)]);
  }
  table.setRow(0, kHeaders);
  return table;
}

LogTable::LogTable(int columnCount, int rowCount)
    : widths_(std::size_t(std::max(columnCount, 1)), kDefaultColumnWidth),
      rowCount_(std::max(rowCount, 1)) {}

RowRecord LogTable::row(int row) const {
  if (row < 0 || row >= rowCount_) return RowRecord();
  return store_.record(row);
}

QByteArrayView LogTable::cellUtf8(int column, int row) const {
  if (column < 0 || column >= columnCount()) return {};
  return this->row(row).cell(column);
}

QString LogTable::cell(int column, int row) const {
  return QString::fromUtf8(cellUtf8(column, row));
}

void LogTable::setRow(int row, std::span<const QString> cells) {
  if (row < 0 || row >= rowCount_) return;
  RowRecord::Encode(cells.first(std::min(cells.size(), widths_.size())), scratch_);
  store_.setRecord(row, QByteArrayView(scratch_.data(), qsizetype(scratch_.size())));
}

void LogTable::setRowRecord(int row, QByteArrayView record) {
  if (row < 0 || row >= rowCount_) return;
  store_.setRecord(row, record);
}

int LogTable::nextStoredRow(int row) const {
  row = std::max(row, 0);
  const int limit = std::min(rowCount_, store_.rowLimit());
  while (row < limit && !store_.blockAllocated(row)) {
    row = (row / CellStore::kRowsPerBlock + 1) * CellStore::kRowsPerBlock;
  }
  return row < limit ? row : rowCount_;
}

bool LogTable::operator==(const LogTable& other) const {
  if (rowCount_ != other.rowCount_ || widths_ != other.widths_) return false;
  for (int r = std::min(nextStoredRow(0), other.nextStoredRow(0)); r < rowCount_; ++r) {
    if (row(r).bytes() != other.row(r).bytes()) return false;
    if (r + 1 < rowCount_ && (r + 1) % CellStore::kRowsPerBlock == 0) {
      r = std::min(nextStoredRow(r + 1), other.nextStoredRow(r + 1)) - 1;
    }
  }
  return true;
}

}  // namespace orvex
