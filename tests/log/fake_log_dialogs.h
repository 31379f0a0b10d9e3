#pragma once

#include "log/log_dialogs.h"

#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>

namespace orvex::test {

// Answers the log dialogs from queues instead of showing them. An empty queue
// answers as a user who cancels.
class FakeLogDialogs : public LogDialogs {
 public:
  QString openLogFileName() override { return take(openNames); }
  QString saveLogFileName() override { return take(saveNames); }
  QString exportFileName() override { return take(exportNames); }
  bool choosePrinter(QPrinter& printer) override {
    return choosePrinterAnswer && choosePrinterAnswer(printer);
  }
  // Runs `whileLoading` as the event loop would run ticks, cancels when asked,
  // then waits for the load.
  void waitForLoad(QFuture<void> load, const QString& fileName) override {
    loadedNames << fileName;
    if (whileLoading) whileLoading();
    if (cancelLoad) load.cancel();
    load.waitForFinished();
  }

  QStringList openNames;
  QStringList saveNames;
  QStringList exportNames;
  std::function<bool(QPrinter&)> choosePrinterAnswer;
  std::function<void()> whileLoading;
  bool cancelLoad = false;
  QStringList loadedNames;

 private:
  static QString take(QStringList& names) {
    return names.isEmpty() ? QString() : names.takeFirst();
  }
};

}  // namespace orvex::test
