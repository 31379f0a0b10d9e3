#pragma once

#include <QFuture>
#include <QString>

class QPrinter;

namespace orvex {

// Filters of the file dialogs of the log actions.
inline constexpr char kOpenLogFilter[] = "Log files(*.log)";
inline constexpr char kSaveLogFilter[] = "Log files (*.log)";
inline constexpr char kExportFilter[] = "Excel files (*.xlsx *.xls)";

// The dialogs of the log actions, behind one interface so that tests answer
// them without blocking. Called on the GUI thread; each returns when the user
// has answered, with timers and sockets handled meanwhile.
class LogDialogs {
 public:
  virtual ~LogDialogs() = default;

  // The open dialog (kOpenLogFilter). A name without a file behind it may be
  // accepted. Empty when the user cancels.
  virtual QString openLogFileName() = 0;
  // The save-as dialog (kSaveLogFilter), asking before an existing file is
  // replaced; no extension is added. Empty when the user cancels.
  virtual QString saveLogFileName() = 0;
  // The export dialog (kExportFilter), asking before an existing file is
  // replaced. Empty when the user cancels.
  virtual QString exportFileName() = 0;
  // The print dialog on `printer`. False when the user cancels.
  virtual bool choosePrinter(QPrinter& printer) = 0;
  // Returns once `load` (reading `fileName` on a worker) has finished, running
  // the event loop meanwhile and showing the load's progress when it takes a
  // while. The user may cancel it (QFuture::cancel).
  virtual void waitForLoad(QFuture<void> load, const QString& fileName) = 0;
};

}  // namespace orvex
