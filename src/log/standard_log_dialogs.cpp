#include "standard_log_dialogs.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>

namespace orvex {

namespace {

QString Chosen(QFileDialog& dialog, QString& folder) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  const QString name = dialog.selectedFiles().constFirst();
  folder = QFileInfo(name).absolutePath();
  return name;
}

}  // namespace

QString StandardLogDialogs::openLogFileName() {
  QFileDialog dialog(owner_, QString(), folder_, QLatin1String(kOpenLogFilter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // A name without a file is accepted here: Open then says so, and Save
  // creates it.
  dialog.setFileMode(QFileDialog::AnyFile);
  return Chosen(dialog, folder_);
}

QString StandardLogDialogs::saveLogFileName() {
  QFileDialog dialog(owner_, QString(), folder_, QLatin1String(kSaveLogFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  return Chosen(dialog, folder_);
}

QString StandardLogDialogs::exportFileName() {
  QFileDialog dialog(owner_, QString(), folder_, QLatin1String(kExportFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The overwrite question is then about the name the workbook gets.
  dialog.setDefaultSuffix(QStringLiteral("xlsx"));
  return Chosen(dialog, folder_);
}

bool StandardLogDialogs::choosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, owner_);
  return dialog.exec() == QDialog::Accepted;
}

void StandardLogDialogs::waitForLoad(QFuture<void> load, const QString& fileName) {
  QFutureWatcher<void> watcher;
  QProgressDialog progress(QStringLiteral("Opening %1").arg(QFileInfo(fileName).fileName()),
                           QStringLiteral("Cancel"), 0, 1000, owner_);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  QEventLoop loop;
  QObject::connect(&watcher, &QFutureWatcher<void>::progressValueChanged, &progress,
                   &QProgressDialog::setValue);
  QObject::connect(&progress, &QProgressDialog::canceled, &watcher, &QFutureWatcher<void>::cancel);
  QObject::connect(&progress, &QDialog::rejected, &watcher, &QFutureWatcher<void>::cancel);
  QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
  watcher.setFuture(load);
  if (!load.isFinished()) loop.exec();
}

}  // namespace orvex
