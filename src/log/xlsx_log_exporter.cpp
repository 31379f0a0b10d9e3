#include "xlsx_log_exporter.h"

#include "column_letters.h"
#include "core/error.h"
#include "measurement_log.h"
#include "workbook_check.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cstring>
#include <memory>

namespace orvex {

namespace {

QString FileErrorText(const char* what, const QString& fileName, const QString& reason) {
  return QStringLiteral("%1 \"%2\". %3").arg(QLatin1String(what), fileName, reason);
}

// Frees a workbook abandoned by an error without writing it.
struct WorkbookFree {
  void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookFree>;

// Writes the sheet into a workbook file at `path`.
void WriteWorkbook(const LogTable& table, const QString& path, const QString& fileName) {
  const QByteArray nativePath = QFile::encodeName(path);
  lxw_workbook_options options{};
  // Rows go out as they are written, so memory stays flat for long logs.
  options.constant_memory = LXW_TRUE;
  // A sheet part beyond 4 GB needs zip64, which older readers refuse; ask for it
  // only for tables that large (about 60 bytes of XML a cell).
  options.use_zip64 =
      qint64(table.rowCount()) * table.columnCount() > 50'000'000 ? LXW_TRUE : LXW_FALSE;
  WorkbookPtr workbook(workbook_new_opt(nativePath.constData(), &options));
  if (!workbook)
    throw Error(FileErrorText("Cannot write file", fileName, QStringLiteral("Out of memory")));
  lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), nullptr);
  lxw_format* text = workbook_add_format(workbook.get());
  if (sheet == nullptr || text == nullptr) {
    throw Error(FileErrorText("Cannot write file", fileName, QStringLiteral("Out of memory")));
  }
  format_set_num_format_index(text, 49);  // the built-in text format, "@"

  for (int column = 0; column < table.columnCount(); ++column) {
    worksheet_set_column_pixels(sheet, lxw_col_t(column), lxw_col_t(column),
                                std::uint32_t(table.columnWidth(column)), text);
  }
  QByteArray utf8;
  for (int row = 0; row < table.rowCount(); ++row) {
    const RowRecord record = table.row(row);
    for (int column = 0; column < table.columnCount(); ++column) {
      const QByteArrayView stored = record.cell(column);
      // Most cells are short and hold no CR: their stored bytes go out as they are.
      if (stored.size() <= XlsxLogExporter::kMaxCellLength && !stored.contains('\r')) {
        utf8.resize(stored.size());
        if (!stored.isEmpty()) std::memcpy(utf8.data(), stored.data(), std::size_t(stored.size()));
      } else {
        const QString cell = ExportCellText(QString::fromUtf8(stored));
        if (cell.size() > XlsxLogExporter::kMaxCellLength) {
          throw Error(
              QStringLiteral("Cell %1%2 holds %3 characters; a worksheet cell holds at most %4")
                  .arg(ColumnLetters(column + 1))
                  .arg(row + 1)
                  .arg(cell.size())
                  .arg(XlsxLogExporter::kMaxCellLength));
        }
        utf8 = cell.toUtf8();
      }
      const lxw_error result =
          utf8.isEmpty() ? worksheet_write_blank(sheet, lxw_row_t(row), lxw_col_t(column), text)
                         : worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column),
                                                  utf8.constData(), text);
      if (result != LXW_NO_ERROR) {
        throw Error(
            FileErrorText("Cannot write file", fileName, QString::fromUtf8(lxw_strerror(result))));
      }
    }
  }
  const lxw_error closed = workbook_close(workbook.release());
  if (closed != LXW_NO_ERROR) {
    throw Error(
        FileErrorText("Cannot write file", fileName, QString::fromUtf8(lxw_strerror(closed))));
  }
  const QString fault = WorkbookFault(path);
  if (!fault.isEmpty()) throw Error(FileErrorText("Cannot write file", fileName, fault));
}

}  // namespace

void XlsxLogExporter::Export(const MeasurementLog& log, const QString& fileName) {
  const LogTable& table = log.table();
  if (table.rowCount() > kMaxRows || table.columnCount() > kMaxColumns) {
    throw Error(
        QStringLiteral(
            "The log has %1 rows and %2 columns; a worksheet holds at most %3 rows and %4 columns")
            .arg(table.rowCount())
            .arg(table.columnCount())
            .arg(kMaxRows)
            .arg(kMaxColumns));
  }
  // The destination is opened first, so that a name that cannot be written
  // fails before the work, with the system's reason.
  QSaveFile out(fileName);
  if (!out.open(QIODevice::WriteOnly)) {
    throw Error(FileErrorText("Cannot create file", fileName, out.errorString()));
  }
  QTemporaryFile workbookFile;
  if (!workbookFile.open()) {
    throw Error(FileErrorText("Cannot create file", workbookFile.fileTemplate(),
                              workbookFile.errorString()));
  }
  workbookFile.close();
  WriteWorkbook(table, workbookFile.fileName(), fileName);

  QFile written(workbookFile.fileName());
  if (!written.open(QIODevice::ReadOnly)) {
    throw Error(FileErrorText("Cannot open file", written.fileName(), written.errorString()));
  }
  QByteArray chunk(qsizetype(1) << 20, Qt::Uninitialized);
  for (;;) {
    const qint64 got = written.read(chunk.data(), chunk.size());
    if (got < 0)
      throw Error(FileErrorText("Cannot read file", written.fileName(), written.errorString()));
    if (got == 0) break;
    if (out.write(chunk.constData(), got) != got) {
      throw Error(FileErrorText("Cannot write file", fileName, out.errorString()));
    }
  }
  if (!out.commit()) throw Error(FileErrorText("Cannot write file", fileName, out.errorString()));
}

}  // namespace orvex
