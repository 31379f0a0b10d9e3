#pragma once

#include "log_table.h"

#include <QString>

#include <functional>
#include <optional>

namespace orvex {

// What reading a .log file gave: the table, or the error text for the user, or
// neither when the reading was cancelled.
struct LogFileContents {
  std::optional<LogTable> table;
  QString error;
};

// Called with the bytes read so far and the file's size; returns false to
// cancel the reading.
using LogReadProgress = std::function<bool(qint64 done, qint64 total)>;

// Reads and parses a whole .log file. Runs on any thread; touches nothing but
// the file. Errors: the file cannot be opened or read (the text names the file
// and the system's reason), or the file is corrupt (CorruptLogFileText).
LogFileContents ReadLogFile(const QString& fileName, const LogReadProgress& progress = {});

// Writes `table` to `fileName` atomically: an earlier file of that name stays
// intact unless the new one is complete. Throws Error naming the file and the
// system's reason.
void SaveLogFile(const LogTable& table, const QString& fileName);

QString CorruptLogFileText(const QString& fileName);

}  // namespace orvex
