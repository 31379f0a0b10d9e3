#pragma once

#include <QString>

namespace orvex {

class LogDialogs;
class LogExporter;
class MeasurementLog;
class Prompts;

// The handlers of the toolbar buttons that act on the measurement log: Open,
// SaveAs, Save, Export and Print. GUI thread. Each handler runs to its end
// inside the call and never throws: an error ends it and is shown in the
// application's error box through `prompts`.
class LogActions {
 public:
  // Takes ownership of nothing; all must outlive the actions.
  LogActions(MeasurementLog& log, LogDialogs& dialogs, LogExporter& exporter, Prompts& prompts);

  // Loads a .log file into the log. The file is read and parsed on a worker
  // while the event loop runs; the table changes only when all of it was read.
  void OpenClick();
  // Writes the log to a name chosen in the save dialog.
  void SaveAsClick();
  // Writes the log to the name the open dialog last accepted.
  void SaveClick();
  // Writes a workbook to a name chosen in the export dialog; a name without an
  // extension gets ".xlsx".
  void ExportClick();
  // Prints the log on a printer chosen in the print dialog.
  void PrintClick();

  // The name the open dialog last accepted; empty before that.
  const QString& openedFileName() const { return openedFileName_; }

  // `name`, with ".xlsx" added when it has no extension.
  static QString ExportFileName(const QString& name);

 private:
  void open();
  void saveAs();
  void save();
  void exportLog();
  void print();

  MeasurementLog& log_;
  LogDialogs& dialogs_;
  LogExporter& exporter_;
  Prompts& prompts_;
  QString openedFileName_;
};

}  // namespace orvex
