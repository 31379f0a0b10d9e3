#pragma once

#include "log_table.h"

#include <QByteArray>
#include <QIODevice>

namespace orvex {

// Writes `table` in the .log format: UTF-16 LE with the byte-order mark, every
// line ended by CR LF; the size line "<columns>,<rows>", one "cw <column>,<width>"
// line per column, then "<column>,<row>,<text>" for every non-empty cell row by
// row. A text holding a line break is written with CR as U+0009, LF as U+0008
// and U+0000 as U+0001, so that it stays on its line.
//
// Streams in pieces of about a megabyte. Returns false when the device refuses
// a write (its errorString() tells why).
bool WriteLog(const LogTable& table, QIODevice& out);

// The whole file in memory.
QByteArray EncodeLog(const LogTable& table);

}  // namespace orvex
