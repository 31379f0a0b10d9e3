#include "log_file.h"

#include "core/error.h"
#include "log_reader.h"
#include "log_writer.h"

#include <QFile>
#include <QSaveFile>

namespace orvex {

namespace {

constexpr qint64 kReadChunk = qint64(4) << 20;

QString FileErrorText(const char* what, const QString& fileName, const QString& reason) {
  return QStringLiteral("%1 \"%2\". %3").arg(QLatin1String(what), fileName, reason);
}

}  // namespace

QString CorruptLogFileText(const QString& fileName) {
  return QStringLiteral("File contains no data or corrupt file ") + fileName;
}

LogFileContents ReadLogFile(const QString& fileName, const LogReadProgress& progress) {
  LogFileContents contents;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    contents.error = FileErrorText("Cannot open file", fileName, file.errorString());
    return contents;
  }
  const qint64 total = file.size();
  LogReader reader;
  QByteArray chunk(kReadChunk, Qt::Uninitialized);
  qint64 done = 0;
  for (;;) {
    if (progress && !progress(done, total)) return contents;
    const qint64 got = file.read(chunk.data(), chunk.size());
    if (got < 0) {
      contents.error = FileErrorText("Cannot read file", fileName, file.errorString());
      return contents;
    }
    if (got == 0) break;
    done += got;
    if (!reader.feed(QByteArrayView(chunk.constData(), got))) break;
  }
  contents.table = reader.finish();
  if (!contents.table) contents.error = CorruptLogFileText(fileName);
  return contents;
}

void SaveLogFile(const LogTable& table, const QString& fileName) {
  if (fileName.isEmpty()) {
    // QSaveFile would otherwise write a temporary file into the working folder.
    throw Error(
        FileErrorText("Cannot create file", fileName, QStringLiteral("No file name specified")));
  }
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) {
    throw Error(FileErrorText("Cannot create file", fileName, file.errorString()));
  }
  if (!WriteLog(table, file) || !file.commit()) {
    const QString reason = file.errorString();
    file.cancelWriting();
    throw Error(FileErrorText("Cannot write file", fileName, reason));
  }
}

}  // namespace orvex
