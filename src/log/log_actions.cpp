#include "log_actions.h"

#include "core/error.h"
#include "core/guard.h"
#include "log_dialogs.h"
#include "log_exporter.h"
#include "log_file.h"
#include "log_printer.h"
#include "measurement_log.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

namespace orvex {

namespace {

constexpr int kProgressSteps = 1000;

// Ends a load the log was told about, unless it was handed its table.
class LoadScope {
 public:
  explicit LoadScope(MeasurementLog& log) : log_(log) { log_.beginLoad(); }
  ~LoadScope() {
    if (log_.loading()) log_.abortLoad();
  }
  LoadScope(const LoadScope&) = delete;
  LoadScope& operator=(const LoadScope&) = delete;

 private:
  MeasurementLog& log_;
};

class BusyCursor {
 public:
  BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

LogActions::LogActions(MeasurementLog& log, LogDialogs& dialogs, LogExporter& exporter,
                       Prompts& prompts)
    : log_(log), dialogs_(dialogs), exporter_(exporter), prompts_(prompts) {}

void LogActions::OpenClick() {
  RunGuarded(prompts_, [this] { open(); });
}
void LogActions::SaveAsClick() {
  RunGuarded(prompts_, [this] { saveAs(); });
}
void LogActions::SaveClick() {
  RunGuarded(prompts_, [this] { save(); });
}
void LogActions::ExportClick() {
  RunGuarded(prompts_, [this] { exportLog(); });
}
void LogActions::PrintClick() {
  RunGuarded(prompts_, [this] { print(); });
}

QString LogActions::ExportFileName(const QString& name) {
  return QFileInfo(name).suffix().isEmpty() ? name + QStringLiteral(".xlsx") : name;
}

void LogActions::open() {
  // A load already running keeps its progress dialog up; it is not started twice.
  if (log_.loading()) return;
  const QString name = dialogs_.openLogFileName();
  if (name.isEmpty()) return;
  openedFileName_ = name;
  if (!QFileInfo::exists(name)) throw Error(QStringLiteral("File does not exist."));

  LoadScope scope(log_);
  QFuture<LogFileContents> load = QtConcurrent::run([name](QPromise<LogFileContents>& promise) {
    promise.setProgressRange(0, kProgressSteps);
    LogFileContents contents = ReadLogFile(name, [&promise](qint64 done, qint64 total) {
      if (total > 0) promise.setProgressValue(int(done * kProgressSteps / total));
      return !promise.isCanceled();
    });
    promise.addResult(std::move(contents));
  });
  dialogs_.waitForLoad(QFuture<void>(load), name);
  load.waitForFinished();
  if (load.isCanceled() || load.resultCount() == 0) return;
  LogFileContents contents = load.takeResult();
  if (!contents.table) {
    if (contents.error.isEmpty()) return;  // cancelled while reading
    throw Error(contents.error);
  }
  log_.finishLoad(std::move(*contents.table));
}

void LogActions::saveAs() {
  const QString name = dialogs_.saveLogFileName();
  if (name.isEmpty()) return;
  SaveLogFile(log_.table(), name);
}

void LogActions::save() { SaveLogFile(log_.table(), openedFileName_); }

void LogActions::exportLog() {
  const QString chosen = dialogs_.exportFileName();
  if (chosen.isEmpty()) return;
  BusyCursor busy;
  exporter_.Export(log_, ExportFileName(chosen));
}

void LogActions::print() {
  QPrinter printer(QPrinter::HighResolution);
  if (!dialogs_.choosePrinter(printer)) return;
  LogPrinter::Print(log_.table(), printer);
}

}  // namespace orvex
