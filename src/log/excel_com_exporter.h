#pragma once

#include "log_exporter.h"

namespace orvex {

// Hands the log to Microsoft Excel through COM automation ("excel.application"):
// attaches to a running Excel or starts one, adds a new workbook, assigns the
// whole table to its first sheet's range in one go, saves the workbook under
// the chosen name and, when this export started Excel, quits it again; a
// running Excel keeps the new workbook open. Windows only.
class ExcelComExporter : public LogExporter {
 public:
  void Export(const MeasurementLog& log, const QString& fileName) override;
};

}  // namespace orvex
