#pragma once

#include "log_exporter.h"

namespace orvex {

// Writes an Office Open XML workbook itself (libxlsxwriter), for systems
// without Excel. Every cell of the range is formatted as text ("@"); non-empty
// cells hold strings. The file appears complete or not at all: an earlier file
// of that name stays intact when the export fails.
class XlsxLogExporter : public LogExporter {
 public:
  // Rows and columns a worksheet holds.
  static constexpr int kMaxRows = 1048576;
  static constexpr int kMaxColumns = 16384;
  // Characters a worksheet cell holds.
  static constexpr int kMaxCellLength = 32767;

  void Export(const MeasurementLog& log, const QString& fileName) override;
};

}  // namespace orvex
