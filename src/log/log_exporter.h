#pragma once

#include <QString>

namespace orvex {

class MeasurementLog;

// Hands the log to a spreadsheet file: every cell of rows 0 to the last row and
// columns 0 to the last column, header row and trailing empty row included, as
// text (nothing becomes a number or a date), carriage returns removed, in the
// range A1 to the last column and row of the first sheet of a new workbook.
class LogExporter {
 public:
  virtual ~LogExporter() = default;

  // Writes the workbook under `fileName`. Throws Error with the reason on any
  // failure, saving included. GUI thread; blocks until the file is written.
  virtual void Export(const MeasurementLog& log, const QString& fileName) = 0;
};

// The text a cell takes in a workbook.
QString ExportCellText(QString text);

}  // namespace orvex
