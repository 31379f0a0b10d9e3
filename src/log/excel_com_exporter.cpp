#include "excel_com_exporter.h"

#include "column_letters.h"
#include "core/error.h"
#include "measurement_log.h"

#include <QAxObject>
#include <QDir>
#include <QVariant>

#include <memory>
#include <utility>

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

namespace orvex {

namespace {

// Collects the automation errors an object reports; each call is checked
// right after it returns.
class AutomationErrors {
 public:
  void watch(QAxObject* object) {
    if (object == nullptr) return;
    QObject::connect(
        object, &QAxObject::exception, object,
        [this](int, const QString& source, const QString& description, const QString&) {
          if (text_.isEmpty()) text_ = description.isEmpty() ? source : description;
        });
  }
  // Throws the first error reported, or names `what` when Excel returned no object.
  void check(const QAxObject* object, const char* what) {
    if (!text_.isEmpty()) throw Error(std::exchange(text_, QString()));
    if (object == nullptr)
      throw Error(QStringLiteral("Excel returned no %1").arg(QLatin1String(what)));
  }
  void check() {
    if (!text_.isEmpty()) throw Error(std::exchange(text_, QString()));
  }

 private:
  QString text_;
};

// The running Excel, or nullptr.
std::unique_ptr<QAxObject> RunningExcel() {
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(L"Excel.Application", &clsid))) return nullptr;
  IUnknown* running = nullptr;
  if (FAILED(GetActiveObject(clsid, nullptr, &running)) || running == nullptr) return nullptr;
  auto excel = std::make_unique<QAxObject>(running);
  running->Release();  // the QAxObject holds its own reference
  return excel;
}

QVariant TableValues(const LogTable& table) {
  QVariantList rows;
  rows.reserve(table.rowCount());
  for (int row = 0; row < table.rowCount(); ++row) {
    const RowRecord record = table.row(row);
    QVariantList cells;
    cells.reserve(table.columnCount());
    for (int column = 0; column < table.columnCount(); ++column) {
      cells.append(ExportCellText(QString::fromUtf8(record.cell(column))));
    }
    rows.append(QVariant(cells));
  }
  return QVariant(rows);
}

}  // namespace

void ExcelComExporter::Export(const MeasurementLog& log, const QString& fileName) {
  const LogTable& table = log.table();
  AutomationErrors errors;

  bool started = false;
  std::unique_ptr<QAxObject> excel = RunningExcel();
  if (!excel) {
    excel = std::make_unique<QAxObject>();
    if (!excel->setControl(QStringLiteral("excel.application"))) {
      throw Error(QStringLiteral("Excel OLE server not found"));
    }
    started = true;
  }
  errors.watch(excel.get());
  // Quits an Excel this export started, however the export ends. A workbook
  // left unsaved by a failure is closed first: an Excel started for us is
  // invisible, and its question about unsaved changes would never be answered.
  struct QuitStarted {
    QAxObject* excel;
    bool started;
    QAxObject* unsaved = nullptr;
    ~QuitStarted() {
      if (!started) return;
      if (unsaved != nullptr) unsaved->dynamicCall("Close(const QVariant&)", QVariant(false));
      excel->dynamicCall("Quit()");
    }
  } quit{excel.get(), started};

  QAxObject* workbooks = excel->querySubObject("WorkBooks");
  errors.watch(workbooks);
  errors.check(workbooks, "WorkBooks");
  QAxObject* workbook = workbooks->querySubObject("Add()");
  errors.watch(workbook);
  errors.check(workbook, "workbook");
  quit.unsaved = workbook;
  QAxObject* sheets = workbook->querySubObject("Sheets");
  errors.watch(sheets);
  errors.check(sheets, "Sheets");
  QAxObject* sheet = sheets->querySubObject("Item(const QVariant&)", QVariant(1));
  errors.watch(sheet);
  errors.check(sheet, "sheet");
  const QString address =
      QStringLiteral("A1:%1%2").arg(ColumnLetters(table.columnCount())).arg(table.rowCount());
  QAxObject* range = sheet->querySubObject("Range(const QVariant&)", QVariant(address));
  errors.watch(range);
  errors.check(range, "range");
  range->setProperty("Value", TableValues(table));
  errors.check();
  // A failed save is reported like any other automation error.
  workbook->dynamicCall("SaveAs(const QVariant&)", QDir::toNativeSeparators(fileName));
  errors.check();
  quit.unsaved = nullptr;
}

}  // namespace orvex
