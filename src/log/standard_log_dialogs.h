#pragma once

#include "log_dialogs.h"

#include <QPointer>
#include <QWidget>

namespace orvex {

// The production dialogs: QFileDialog, QPrintDialog and a QProgressDialog,
// window-modal on `owner`.
class StandardLogDialogs : public LogDialogs {
 public:
  // Does not take ownership of `owner`.
  explicit StandardLogDialogs(QWidget* owner = nullptr) : owner_(owner) {}

  QString openLogFileName() override;
  QString saveLogFileName() override;
  QString exportFileName() override;
  bool choosePrinter(QPrinter& printer) override;
  void waitForLoad(QFuture<void> load, const QString& fileName) override;

 private:
  QPointer<QWidget> owner_;
  QString folder_;  // the folder the last dialog ended in
};

}  // namespace orvex
