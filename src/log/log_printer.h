#pragma once

#include "log_table.h"

#include <utility>
#include <vector>

class QPrinter;

namespace orvex {

// Prints the log table as the screen shows it: the screen fonts and column
// widths at the screen's 96 pixels per inch, a border around each cell, no
// title, date or page number. Rows and columns go over as many pages as they
// need: columns are grouped into bands that fit the page width, each band
// centred on its page; pages run across the bands of one stretch of rows, then
// down to the next. The header row is row 0, so it appears once, at the top of
// the first stretch.
class LogPrinter {
 public:
  // Pixels per inch of the screen the widths and fonts are given for.
  static constexpr double kScreenDpi = 96.0;

  // Columns [first, last] of one page band.
  using ColumnBand = std::pair<int, int>;
  // Bands of columns that fit `pageWidth` pixels; a column wider than the page
  // gets a band of its own.
  static std::vector<ColumnBand> ColumnBands(const std::vector<int>& widths, int pageWidth);
  // Height of every printed row, in screen pixels.
  static int RowHeight();

  // Prints on `printer`, turned to portrait first whatever it was set to.
  // Throws Error when the printer cannot be started.
  static void Print(const LogTable& table, QPrinter& printer);
};

}  // namespace orvex
