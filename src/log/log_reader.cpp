#include "log_reader.h"

#include <QSysInfo>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvex {

namespace {

constexpr std::int64_t kTooLarge = std::numeric_limits<std::int64_t>::max();

// Reads the decimal digits at `pos`, advancing it. Returns -1 when there are
// none and kTooLarge when the value exceeds every limit of the format.
std::int64_t ReadNumber(QStringView line, qsizetype& pos) {
  const char16_t* chars = line.utf16();
  const qsizetype start = pos;
  std::int64_t value = 0;
  for (; pos < line.size(); ++pos) {
    const unsigned digit = unsigned(chars[pos]) - unsigned(u'0');
    if (digit > 9) break;
    value = value < kTooLarge / 100 ? value * 10 + digit : kTooLarge;
  }
  return pos == start ? -1 : value;
}

bool Expect(QStringView line, qsizetype& pos, char16_t ch) {
  if (pos < line.size() && line[pos] == ch) {
    ++pos;
    return true;
  }
  return false;
}

// The first CR or LF at or after `from`; `size` when there is none.
qsizetype FindLineBreak(const char16_t* chars, qsizetype from, qsizetype size) {
  qsizetype i = from;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi16(short(u'\r'));
  const __m128i lf = _mm_set1_epi16(short(u'\n'));
  for (; i + 8 <= size; i += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + i));
    const int found =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(units, cr), _mm_cmpeq_epi16(units, lf)));
    if (found != 0) return i + std::countr_zero(unsigned(found)) / 2;
  }
#endif
  for (; i < size; ++i) {
    if (chars[i] == u'\r' || chars[i] == u'\n') return i;
  }
  return size;
}

// Widths above this are not a column anyone can see; such a line is skipped.
constexpr std::int64_t kMaxColumnWidth = 65535;

// Appends a cell line's text to `out` as UTF-8. A text holding U+0008 had its
// line breaks substituted when written: U+0009 stands for CR, U+0008 for LF
// and U+0001 for U+0000.
void AppendCellText(QStringView text, ByteBuffer& out) {
  const char16_t* chars = text.utf16();
  const auto size = std::size_t(text.size());
  const std::size_t at = out.size();
  char* to = out.extend(size);
  std::size_t i = 0;
  for (; i < size; ++i) {
    const char16_t ch = chars[i];
    if (ch >= 0x80 || ch == u'\b') break;
    to[i] = char(ch);
  }
  if (i == size) return;
  out.resize(at);
  if (text.contains(u'\b')) {
    QString restored = text.toString();
    for (QChar& ch : restored) {
      if (ch == u'\t')
        ch = u'\r';
      else if (ch == u'\b')
        ch = u'\n';
      else if (ch == u'\x01')
        ch = u'\0';
    }
    const QByteArray utf8 = restored.toUtf8();
    std::memcpy(out.extend(std::size_t(utf8.size())), utf8.constData(), std::size_t(utf8.size()));
    return;
  }
  const QByteArray utf8 = text.toUtf8();
  std::memcpy(out.extend(std::size_t(utf8.size())), utf8.constData(), std::size_t(utf8.size()));
}

}  // namespace

bool LogReader::feed(QByteArrayView bytes) {
  if (corrupt_) return false;
  decode(bytes, false);
  splitLines(false);
  return !corrupt_;
}

qsizetype LogReader::decodableLength(QByteArrayView bytes) const {
  using Enc = QStringConverter::Encoding;
  if (encoding_ == Enc::Utf16LE || encoding_ == Enc::Utf16BE) {
    const qsizetype low = encoding_ == Enc::Utf16LE ? 0 : 1;
    for (qsizetype i = (bytes.size() & ~qsizetype(1)) - 2; i >= 0; i -= 2) {
      const char ch = bytes[i + low];
      if (bytes[i + 1 - low] == 0 && (ch == '\n' || ch == '\r')) return i + 2;
    }
    return 0;
  }
  // In UTF-8 and in every 8-bit or double-byte code page, CR and LF bytes are
  // characters of their own, never part of another character.
  for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
    if (bytes[i] == '\n' || bytes[i] == '\r') return i + 1;
  }
  return 0;
}

void LogReader::decode(QByteArrayView bytes, bool atEnd) {
  if (!bomKnown_) {
    head_.append(bytes);
    if (head_.size() < 3 && !atEnd) return;
    bomKnown_ = true;
    const auto byte = [this](int i) { return i < head_.size() ? std::uint8_t(head_[i]) : 0; };
    using Enc = QStringConverter::Encoding;
    qsizetype skip = 0;
    if (byte(0) == 0xFF && byte(1) == 0xFE) {
      encoding_ = Enc::Utf16LE;
      skip = 2;
    } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
      encoding_ = Enc::Utf16BE;
      skip = 2;
    } else if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
      encoding_ = Enc::Utf8;
      skip = 3;
    } else {
      encoding_ = Enc::System;
    }
    // Text after a stripped mark is all content: a second mark is a character.
    decoder_.emplace(encoding_,
                     QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    undecoded_ = std::exchange(head_, QByteArray()).sliced(skip);
    bytes = QByteArrayView();
  }
  if (undecoded_.isEmpty()) {
    // The common case: decode straight from the input, keep only its tail.
    const qsizetype length = atEnd ? bytes.size() : decodableLength(bytes);
    appendText(bytes.first(length));
    undecoded_ = bytes.sliced(length).toByteArray();
    return;
  }
  undecoded_.append(bytes);
  const qsizetype length = atEnd ? undecoded_.size() : decodableLength(undecoded_);
  appendText(QByteArrayView(undecoded_).first(length));
  undecoded_.remove(0, length);
}

void LogReader::appendText(QByteArrayView bytes) {
  if (encoding_ == QStringConverter::Utf16LE && QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
    // The file's own code units: one copy instead of a conversion.
    const qsizetype units = bytes.size() / 2;
    if (units > 0) {
      const qsizetype at = pending_.size();
      pending_.resize(at + units);
      std::memcpy(pending_.data() + at, bytes.data(), std::size_t(units) * 2);
    }
    if (bytes.size() % 2 != 0) pending_.append(QChar::ReplacementCharacter);
    return;
  }
  pending_.append(decoder_->decode(bytes));
}

void LogReader::splitLines(bool atEnd) {
  const auto* chars = reinterpret_cast<const char16_t*>(pending_.utf16());
  const qsizetype size = pending_.size();
  qsizetype start = 0;
  if (skipLineFeed_ && size > 0) {
    if (chars[0] == u'\n') start = 1;
    skipLineFeed_ = false;
  }
  while (!corrupt_) {
    const qsizetype end = FindLineBreak(chars, start, size);
    if (end == size) break;
    readLine(QStringView(chars + start, end - start));
    start = end + 1;
    if (chars[end] == u'\r') {
      if (start == size)
        skipLineFeed_ = true;
      else if (chars[start] == u'\n')
        ++start;
    }
  }
  if (corrupt_) {
    pending_.clear();
    return;
  }
  if (atEnd) {
    // The last line needs no line break.
    if (start < size) readLine(QStringView(chars + start, size - start));
    pending_.clear();
  } else {
    pending_.remove(0, start);
  }
}

void LogReader::readLine(QStringView line) {
  if (!table_) {
    corrupt_ = !readSizeLine(line);
    return;
  }
  if (line.size() >= 2 && line[0] == u'c' && line[1] == u'w') {
    readWidthLine(line);
  } else {
    readCellLine(line);
  }
}

bool LogReader::readSizeLine(QStringView line) {
  qsizetype pos = 0;
  const std::int64_t columns = ReadNumber(line, pos);
  if (!Expect(line, pos, u',')) return false;
  const std::int64_t rows = ReadNumber(line, pos);
  if (pos != line.size()) return false;
  if (columns < 1 || columns > kMaxLogColumns || rows < 1 || rows > kMaxLogRows) return false;
  table_.emplace(int(columns), int(rows));
  rowCells_.assign(std::size_t(columns), {});
  return true;
}

void LogReader::readWidthLine(QStringView line) {
  qsizetype pos = 3;  // "cw" and the separator
  if (line.size() < pos) return;
  const std::int64_t column = ReadNumber(line, pos);
  if (!Expect(line, pos, u',')) return;
  const std::int64_t width = ReadNumber(line, pos);
  if (pos != line.size() || column < 0 || column >= table_->columnCount() || width < 0 ||
      width > kMaxColumnWidth) {
    return;
  }
  table_->setColumnWidth(int(column), int(width));
}

void LogReader::readCellLine(QStringView line) {
  qsizetype pos = 0;
  const std::int64_t column = ReadNumber(line, pos);
  if (!Expect(line, pos, u',')) return;
  const std::int64_t row = ReadNumber(line, pos);
  if (!Expect(line, pos, u',')) return;
  if (column < 0 || column >= table_->columnCount() || row < 0 || row >= table_->rowCount()) {
    return;
  }
  setCell(int(column), int(row), line.sliced(pos));
}

void LogReader::setCell(int column, int row, QStringView text) {
  if (row < currentRow_) {
    ByteBuffer utf8;
    AppendCellText(text, utf8);
    late_.push_back({row, column, utf8.view().toByteArray()});
    return;
  }
  if (row > currentRow_) {
    commitRow();
    currentRow_ = row;
  }
  CellSlice& slice = rowCells_[std::size_t(column)];
  slice.offset = rowBytes_.size();
  AppendCellText(text, rowBytes_);
  slice.length = rowBytes_.size() - slice.offset;
  if (column >= rowColumns_) {
    for (int c = rowColumns_; c < column; ++c) rowCells_[std::size_t(c)] = {};
    rowColumns_ = column + 1;
  }
}

void LogReader::commitRow() {
  if (currentRow_ < 0) return;
  int count = rowColumns_;
  while (count > 0 && rowCells_[std::size_t(count - 1)].length == 0) --count;
  if (count == 0) {
    table_->setRowRecord(currentRow_, QByteArrayView());
  } else {
    // Written straight into the table's storage: no copy of the row between.
    std::size_t size = RowRecord::VarintSize(std::uint64_t(count));
    for (int c = 0; c < count; ++c) {
      const std::size_t length = rowCells_[std::size_t(c)].length;
      size += RowRecord::VarintSize(length) + length;
    }
    char* out = table_->allocateRowRecord(currentRow_, size);
    out += RowRecord::PutVarint(std::uint64_t(count), out);
    for (int c = 0; c < count; ++c) {
      const CellSlice& slice = rowCells_[std::size_t(c)];
      out += RowRecord::PutVarint(slice.length, out);
      if (slice.length > 0) std::memcpy(out, rowBytes_.data() + slice.offset, slice.length);
      out += slice.length;
    }
  }
  rowColumns_ = 0;
  rowBytes_.clear();
}

void LogReader::applyLateCells() {
  // Every late cell came after all cells that row had in order, so applying
  // them in file order keeps the file's last text for each cell.
  std::stable_sort(late_.begin(), late_.end(),
                   [](const LateCell& a, const LateCell& b) { return a.row < b.row; });
  std::vector<QByteArray> cells;
  for (std::size_t i = 0; i < late_.size();) {
    const int row = late_[i].row;
    cells.assign(std::size_t(table_->columnCount()), QByteArray());
    table_->row(row).forEachCell([&cells](int column, QByteArrayView utf8) {
      cells[std::size_t(column)] = utf8.toByteArray();
    });
    for (; i < late_.size() && late_[i].row == row; ++i) {
      cells[std::size_t(late_[i].column)] = std::move(late_[i].utf8);
    }
    std::size_t count = cells.size();
    while (count > 0 && cells[count - 1].isEmpty()) --count;
    record_.clear();
    if (count > 0) {
      RowRecord::AppendVarint(count, record_);
      for (std::size_t c = 0; c < count; ++c) {
        RowRecord::AppendVarint(std::uint64_t(cells[c].size()), record_);
        record_.insert(record_.end(), cells[c].begin(), cells[c].end());
      }
    }
    table_->setRowRecord(row, QByteArrayView(record_.data(), qsizetype(record_.size())));
  }
  late_.clear();
}

std::optional<LogTable> LogReader::finish() {
  if (!corrupt_) {
    decode(QByteArrayView(), true);
    splitLines(true);
  }
  if (corrupt_ || !table_) return std::nullopt;
  commitRow();
  applyLateCells();
  std::optional<LogTable> table = std::move(table_);
  table_.reset();
  return table;
}

std::optional<LogTable> ParseLog(QByteArrayView bytes) {
  LogReader reader;
  reader.feed(bytes);
  return reader.finish();
}

}  // namespace orvex
