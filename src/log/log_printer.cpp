#include "log_printer.h"

#include "core/error.h"
#include "measurement_log.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace orvex {

namespace {

constexpr int kTextMargin = 3;

}  // namespace

std::vector<LogPrinter::ColumnBand> LogPrinter::ColumnBands(const std::vector<int>& widths,
                                                            int pageWidth) {
  std::vector<ColumnBand> bands;
  int first = 0;
  int used = 0;
  for (int column = 0; column < int(widths.size()); ++column) {
    const int width = widths[std::size_t(column)];
    if (column > first && used + width > pageWidth) {
      bands.emplace_back(first, column - 1);
      first = column;
      used = 0;
    }
    used += width;
  }
  if (!widths.empty()) bands.emplace_back(first, int(widths.size()) - 1);
  return bands;
}

int LogPrinter::RowHeight() {
  return std::max(QFontMetrics(MeasurementLog::DataFont()).height(),
                  QFontMetrics(MeasurementLog::HeaderFont()).height()) +
         6;
}

namespace {

// The screen font at the same physical size on any device: its pixels are
// the screen's, at kScreenDpi.
QFont PrintFont(QFont font) {
  font.setPointSizeF(font.pixelSize() * 72.0 / LogPrinter::kScreenDpi);
  return font;
}

}  // namespace

void LogPrinter::Print(const LogTable& table, QPrinter& printer) {
  printer.setPageOrientation(QPageLayout::Portrait);
  QPainter painter;
  if (!painter.begin(&printer)) {
    const QString target =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    throw Error(QStringLiteral("Cannot print on \"%1\"").arg(target));
  }
  // The layout is worked out in screen pixels and drawn in device pixels. No
  // world transform: Qt's PDF engine draws the first line of a page too thin
  // under one.
  const double scale = printer.resolution() / kScreenDpi;
  const QRect paintRect = printer.pageLayout().paintRectPixels(printer.resolution());
  const int pageWidth = int(paintRect.width() / scale);
  const int pageHeight = int(paintRect.height() / scale);

  const int rowHeight = RowHeight();
  const int rowsPerPage = std::max(1, pageHeight / rowHeight);
  const std::vector<ColumnBand> bands = ColumnBands(table.columnWidths(), pageWidth);

  const QFont dataFont = PrintFont(MeasurementLog::DataFont());
  const QFont headerFont = PrintFont(MeasurementLog::HeaderFont());
  QPen border(Qt::black);
  border.setWidthF(scale);
  const auto device = [scale](double x, double y, double width, double height) {
    return QRectF(x * scale, y * scale, width * scale, height * scale);
  };

  bool firstPage = true;
  for (int top = 0; top < table.rowCount(); top += rowsPerPage) {
    const int bottom = std::min(table.rowCount(), top + rowsPerPage);
    for (const ColumnBand& band : bands) {
      if (!firstPage) printer.newPage();
      firstPage = false;
      int bandWidth = 0;
      for (int column = band.first; column <= band.second; ++column)
        bandWidth += table.columnWidth(column);
      const int left = std::max(0, (pageWidth - bandWidth) / 2);
      for (int row = top; row < bottom; ++row) {
        const RowRecord record = table.row(row);
        const bool header = row == 0;
        painter.setFont(header ? headerFont : dataFont);
        const QFontMetricsF metrics = painter.fontMetrics();
        int x = left;
        const int y = (row - top) * rowHeight;
        for (int column = band.first; column <= band.second; ++column) {
          const int width = table.columnWidth(column);
          if (width <= 0) continue;
          painter.setPen(border);
          painter.drawRect(device(x, y, width, rowHeight));
          const QString text = QString::fromUtf8(record.cell(column));
          if (!text.isEmpty()) {
            const QRectF textRect = device(x + kTextMargin, y, width - 2 * kTextMargin, rowHeight);
            painter.setPen(header ? MeasurementLog::HeaderColor() : QColor(Qt::black));
            painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             metrics.elidedText(text, Qt::ElideRight, textRect.width()));
          }
          x += width;
        }
      }
    }
  }
  painter.end();
}

}  // namespace orvex
