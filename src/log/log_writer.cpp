#include "log_writer.h"

#include <QBuffer>
#include <QSysInfo>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace orvex {

namespace {

constexpr std::size_t kBufferUnits = std::size_t(1) << 19;
// Room for a cell line's column, row, commas and line end.
constexpr std::size_t kLineFrame = 48;

// Collects UTF-16 code units and hands them to the device in large writes.
class Utf16LeSink {
 public:
  explicit Utf16LeSink(QIODevice& out)
      : out_(out),
        buffer_(std::make_unique_for_overwrite<char16_t[]>(kBufferUnits)),
        capacity_(kBufferUnits) {}

  // Room for `n` more code units, written by the caller up to the returned
  // pointer's end, then committed with commit().
  char16_t* reserve(std::size_t n) {
    if (used_ + n > capacity_) {
      flush();
      if (n > capacity_) {
        buffer_ = std::make_unique_for_overwrite<char16_t[]>(n);
        capacity_ = n;
      }
    }
    return buffer_.get() + used_;
  }
  void commit(const char16_t* end) { used_ = std::size_t(end - buffer_.get()); }

  bool flush();
  bool ok() const { return ok_; }

 private:
  QIODevice& out_;
  std::unique_ptr<char16_t[]> buffer_;
  std::size_t capacity_;
  std::size_t used_ = 0;
  bool ok_ = true;
};

bool Utf16LeSink::flush() {
  if (!ok_ || used_ == 0) return ok_;
  if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian) {
    for (std::size_t i = 0; i < used_; ++i) buffer_[i] = qToLittleEndian(buffer_[i]);
  }
  const char* data = reinterpret_cast<const char*>(buffer_.get());
  qint64 left = qint64(used_ * sizeof(char16_t));
  // A short write (the disk filling up) is followed by one that fails and
  // leaves the reason in the device's errorString().
  while (left > 0 && ok_) {
    const qint64 written = out_.write(data, left);
    ok_ = written > 0;
    data += std::max<qint64>(written, 0);
    left -= std::max<qint64>(written, 0);
  }
  used_ = 0;
  return ok_;
}

char16_t* PutNumber(char16_t* out, std::uint64_t value) {
  char16_t digits[20];
  int n = 0;
  do {
    digits[n++] = char16_t(u'0' + value % 10);
    value /= 10;
  } while (value > 0);
  while (n > 0) *out++ = digits[--n];
  return out;
}

char16_t* PutLatin1(char16_t* out, const char* text) {
  while (*text != 0) *out++ = char16_t(std::uint8_t(*text++));
  return out;
}

char16_t* PutLineEnd(char16_t* out) {
  *out++ = u'\r';
  *out++ = u'\n';
  return out;
}

// The cell's text as stored in the file. Plain ASCII goes across as it is; a
// text with a line break gets CR as U+0009, LF as U+0008 and U+0000 as U+0001.
// A number rendered once for many lines (a row's index).
struct Digits {
  explicit Digits(std::uint64_t value) : size(std::size_t(PutNumber(units, value) - units)) {}
  char16_t units[20];
  std::size_t size;
};

void PutCellLine(Utf16LeSink& sink, int column, const Digits& row, QByteArrayView utf8) {
  bool plain = true;
  for (const char byte : utf8) {
    const auto b = std::uint8_t(byte);
    if (b >= 0x80 || b == '\r' || b == '\n') {
      plain = false;
      break;
    }
  }
  QString text;
  if (!plain) {
    text = QString::fromUtf8(utf8);
    if (text.contains(u'\r') || text.contains(u'\n')) {
      for (QChar& ch : text) {
        if (ch == u'\r')
          ch = u'\t';
        else if (ch == u'\n')
          ch = u'\b';
        else if (ch == u'\0')
          ch = u'\x01';
      }
    }
  }
  const std::size_t length = plain ? std::size_t(utf8.size()) : std::size_t(text.size());
  char16_t* out = sink.reserve(kLineFrame + length);
  out = PutNumber(out, std::uint64_t(column));
  *out++ = u',';
  out = std::copy_n(row.units, row.size, out);
  *out++ = u',';
  if (plain) {
    for (const char byte : utf8) *out++ = char16_t(byte);
  } else {
    std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), text.size(), out);
    out += text.size();
  }
  sink.commit(PutLineEnd(out));
}

}  // namespace

bool WriteLog(const LogTable& table, QIODevice& out) {
  Utf16LeSink sink(out);
  char16_t* at = sink.reserve(kLineFrame);
  *at++ = u'\xFEFF';
  at = PutNumber(at, std::uint64_t(table.columnCount()));
  *at++ = u',';
  at = PutNumber(at, std::uint64_t(table.rowCount()));
  sink.commit(PutLineEnd(at));
  for (int column = 0; column < table.columnCount(); ++column) {
    at = PutLatin1(sink.reserve(kLineFrame), "cw ");
    at = PutNumber(at, std::uint64_t(column));
    *at++ = u',';
    at = PutNumber(at, std::uint64_t(table.columnWidth(column)));
    sink.commit(PutLineEnd(at));
  }
  for (int row = table.nextStoredRow(0); row < table.rowCount() && sink.ok(); ++row) {
    if (row % CellStore::kRowsPerBlock == 0) {
      row = table.nextStoredRow(row);
      if (row >= table.rowCount()) break;
    }
    const RowRecord record = table.row(row);
    if (record.isEmpty()) continue;
    const Digits digits{std::uint64_t(row)};
    record.forEachCell([&sink, &digits](int column, QByteArrayView utf8) {
      if (!utf8.isEmpty()) PutCellLine(sink, column, digits, utf8);
    });
  }
  return sink.flush();
}

QByteArray EncodeLog(const LogTable& table) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  WriteLog(table, buffer);
  return bytes;
}

}  // namespace orvex
