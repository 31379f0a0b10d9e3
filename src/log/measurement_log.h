#pragma once

#include "log_table.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>

#include <array>
#include <vector>

namespace orvex {

// The measurement log behind the table `Log`: the LogTable, the tick and
// "Clear log" rules, and the LoggedRows counter. Owned by the main window.
//
// As a model it shows table row 0, the header row, as the horizontal header and
// table rows 1 and up as its rows: view row v is table row v + 1. GUI thread only.
class MeasurementLog : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Date, time and the nine read-outs (or "Disabled"), in column order.
  using TickCells = std::array<QString, LogTable::kLogColumns>;

  explicit MeasurementLog(QObject* parent = nullptr);

  static QFont DataFont();
  static QFont HeaderFont();
  static QColor HeaderColor();

  const LogTable& table() const { return table_; }
  // Ticks since the start or the last "Clear log"; a file load leaves it alone.
  int loggedRows() const { return loggedRows_; }

  // One tick: the row goes into the table's trailing empty row, then a new
  // empty row is appended. When the last row is the header row or holds texts
  // (a loaded file without the trailing empty row), an empty row is appended
  // first, so a tick never overwrites earlier rows. Cells beyond the column
  // count are dropped; columns beyond the eleven stay empty.
  void LogTick(const TickCells& cells);

  // "Clear log": the header row and one empty row remain; LoggedRows is 0.
  void Clear();

  // Replaces the table (a loaded file); LoggedRows keeps its value.
  void replaceTable(LogTable table);

  // While a file loads on a worker: ticks go on into the shown table and are
  // also kept, so that finishLoad() appends them after the loaded rows.
  void beginLoad();
  void finishLoad(LogTable loaded);
  void abortLoad();
  bool loading() const { return loading_; }

  // A width the user gave a column in the view; saved with the table.
  void setColumnWidth(int column, int width);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void appendRow();
  void writeTickRow(const TickCells& cells);

  LogTable table_;
  int loggedRows_ = 0;
  bool loading_ = false;
  std::vector<TickCells> ticksDuringLoad_;
  QFont dataFont_;
  QFont headerFont_;
};

}  // namespace orvex
