#include "measurement_log.h"

namespace orvex {

MeasurementLog::MeasurementLog(QObject* parent)
    : QAbstractTableModel(parent),
      table_(LogTable::NewLog()),
      dataFont_(DataFont()),
      headerFont_(HeaderFont()) {}

QFont MeasurementLog::DataFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(16);
  return font;
}

QFont MeasurementLog::HeaderFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(13);
  font.setBold(true);
  return font;
}

QColor MeasurementLog::HeaderColor() { return QColor(0x80, 0x00, 0x00); }

void MeasurementLog::appendRow() {
  const int viewRow = table_.rowCount() - 1;
  beginInsertRows(QModelIndex(), viewRow, viewRow);
  table_.appendRow();
  endInsertRows();
}

void MeasurementLog::writeTickRow(const TickCells& cells) {
  int row = table_.rowCount() - 1;
  if (row == 0 || !table_.rowIsEmpty(row)) {
    appendRow();
    ++row;
  }
  table_.setRow(row, cells);
  Q_EMIT dataChanged(index(row - 1, 0), index(row - 1, table_.columnCount() - 1));
  appendRow();
}

void MeasurementLog::LogTick(const TickCells& cells) {
  writeTickRow(cells);
  ++loggedRows_;
  if (loading_) ticksDuringLoad_.push_back(cells);
}

void MeasurementLog::Clear() {
  LogTable cleared(table_.columnCount(), 2);
  for (int column = 0; column < table_.columnCount(); ++column) {
    cleared.setColumnWidth(column, table_.columnWidth(column));
  }
  cleared.setRowRecord(0, table_.row(0).bytes());
  beginResetModel();
  table_ = std::move(cleared);
  endResetModel();
  loggedRows_ = 0;
  ticksDuringLoad_.clear();
}

void MeasurementLog::replaceTable(LogTable table) {
  beginResetModel();
  table_ = std::move(table);
  endResetModel();
}

void MeasurementLog::beginLoad() {
  loading_ = true;
  ticksDuringLoad_.clear();
}

void MeasurementLog::finishLoad(LogTable loaded) {
  loading_ = false;
  beginResetModel();
  table_ = std::move(loaded);
  for (const TickCells& cells : ticksDuringLoad_) {
    int row = table_.rowCount() - 1;
    if (row == 0 || !table_.rowIsEmpty(row)) {
      table_.appendRow();
      ++row;
    }
    table_.setRow(row, cells);
    table_.appendRow();
  }
  endResetModel();
  ticksDuringLoad_.clear();
}

void MeasurementLog::abortLoad() {
  loading_ = false;
  ticksDuringLoad_.clear();
}

void MeasurementLog::setColumnWidth(int column, int width) {
  if (column >= 0 && column < table_.columnCount() && width >= 0) {
    table_.setColumnWidth(column, width);
  }
}

int MeasurementLog::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.rowCount() - 1;
}

int MeasurementLog::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.columnCount();
}

QVariant MeasurementLog::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return QVariant();
  switch (role) {
    case Qt::DisplayRole:
      return table_.cell(index.column(), index.row() + 1);
    case Qt::FontRole:
      return dataFont_;
    case Qt::ForegroundRole:
      return QColor(Qt::black);
    default:
      return QVariant();
  }
}

QVariant MeasurementLog::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal)
    return QAbstractTableModel::headerData(section, orientation, role);
  switch (role) {
    case Qt::DisplayRole:
      return table_.cell(section, 0);
    case Qt::FontRole:
      return headerFont_;
    case Qt::ForegroundRole:
      return HeaderColor();
    default:
      return QVariant();
  }
}

Qt::ItemFlags MeasurementLog::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace orvex
