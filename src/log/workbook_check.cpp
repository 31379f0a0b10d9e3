#include "workbook_check.h"

#include <QByteArray>
#include <QFile>

#include <zlib.h>

#include <cstdint>
#include <optional>

namespace orvex {

namespace {

constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kZip64EndOfDirectory = 0x06064b50;
constexpr std::uint32_t kZip64Locator = 0x07064b50;
constexpr std::uint32_t kMissing32 = 0xFFFFFFFF;
constexpr qint64 kChunk = qint64(1) << 20;

std::uint64_t Le(const QByteArray& bytes, qsizetype at, int size) {
  std::uint64_t value = 0;
  if (at < 0 || at + size > bytes.size()) return 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | std::uint8_t(bytes[at + i]);
  return value;
}

struct Entry {
  QString name;
  std::uint32_t method = 0;
  std::uint32_t crc = 0;
  std::uint64_t packed = 0;
  std::uint64_t size = 0;
  std::uint64_t local = 0;
};

// Reads `count` bytes at `offset`; empty on a short read.
QByteArray ReadAt(QFile& file, std::uint64_t offset, qint64 count) {
  if (!file.seek(qint64(offset))) return QByteArray();
  QByteArray bytes = file.read(count);
  return bytes.size() == count ? bytes : QByteArray();
}

// Inflates (or copies) one entry, checking size and checksum; keeps the last
// bytes of its content in `tail`.
bool EntryIntact(QFile& file, const Entry& entry, QByteArray& tail) {
  const QByteArray header = ReadAt(file, entry.local, 30);
  if (header.isEmpty() || Le(header, 0, 4) != kLocalHeader) return false;
  std::uint64_t at = entry.local + 30 + Le(header, 26, 2) + Le(header, 28, 2);
  if (!file.seek(qint64(at))) return false;

  z_stream stream{};
  if (entry.method == 8 && inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  if (entry.method != 0 && entry.method != 8) return false;
  QByteArray out(kChunk, Qt::Uninitialized);
  uLong crc = crc32(0, nullptr, 0);
  std::uint64_t produced = 0;
  std::uint64_t left = entry.packed;
  int status = Z_OK;
  const auto take = [&](const char* data, std::size_t n) {
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data), uInt(n));
    produced += n;
    tail.append(data, qsizetype(n));
    if (tail.size() > 64) tail.remove(0, tail.size() - 64);
  };
  while (left > 0 && status != Z_STREAM_END) {
    QByteArray in = file.read(qint64(std::min<std::uint64_t>(left, kChunk)));
    if (in.isEmpty()) break;
    left -= std::uint64_t(in.size());
    if (entry.method == 0) {
      take(in.constData(), std::size_t(in.size()));
      continue;
    }
    stream.next_in = reinterpret_cast<Bytef*>(in.data());
    stream.avail_in = uInt(in.size());
    while (stream.avail_in > 0 && status == Z_OK) {
      stream.next_out = reinterpret_cast<Bytef*>(out.data());
      stream.avail_out = uInt(out.size());
      status = inflate(&stream, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) break;
      take(out.constData(), std::size_t(out.size()) - stream.avail_out);
    }
    if (status != Z_OK && status != Z_STREAM_END) break;
  }
  // Output still held by the inflater after the last input.
  while (entry.method == 8 && status == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    status = inflate(&stream, Z_NO_FLUSH);
    const std::size_t n = std::size_t(out.size()) - stream.avail_out;
    if (n == 0) break;
    take(out.constData(), n);
  }
  if (entry.method == 8) inflateEnd(&stream);
  const bool ended = entry.method == 0 ? left == 0 : status == Z_STREAM_END;
  return ended && produced == entry.size && std::uint32_t(crc) == entry.crc;
}

}  // namespace

QString WorkbookFault(const QString& fileName) {
  const QString incomplete =
      QStringLiteral("The workbook came out incomplete; a file could not be written in full");
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  const qint64 size = file.size();
  const qint64 tailSize = std::min<qint64>(size, 65536 + 22);
  const QByteArray end = ReadAt(file, std::uint64_t(size - tailSize), tailSize);
  qsizetype eocd = -1;
  for (qsizetype i = end.size() - 22; i >= 0; --i) {
    if (Le(end, i, 4) == kEndOfDirectory) {
      eocd = i;
      break;
    }
  }
  if (eocd < 0) return incomplete;
  std::uint64_t count = Le(end, eocd + 10, 2);
  std::uint64_t directory = Le(end, eocd + 16, 4);
  if ((directory == kMissing32 || count == 0xFFFF) && eocd >= 20 &&
      Le(end, eocd - 20, 4) == kZip64Locator) {
    const QByteArray record = ReadAt(file, Le(end, eocd - 20 + 8, 8), 56);
    if (record.isEmpty() || Le(record, 0, 4) != kZip64EndOfDirectory) return incomplete;
    count = Le(record, 32, 8);
    directory = Le(record, 48, 8);
  }

  bool sheetSeen = false;
  std::uint64_t at = directory;
  for (std::uint64_t i = 0; i < count; ++i) {
    const QByteArray header = ReadAt(file, at, 46);
    if (header.isEmpty() || Le(header, 0, 4) != kCentralHeader) return incomplete;
    Entry entry;
    entry.method = std::uint32_t(Le(header, 10, 2));
    entry.crc = std::uint32_t(Le(header, 16, 4));
    entry.packed = Le(header, 20, 4);
    entry.size = Le(header, 24, 4);
    entry.local = Le(header, 42, 4);
    const auto nameLength = qint64(Le(header, 28, 2));
    const auto extraLength = qint64(Le(header, 30, 2));
    const auto commentLength = qint64(Le(header, 32, 2));
    const QByteArray variable = ReadAt(file, at + 46, nameLength + extraLength);
    if (nameLength + extraLength > 0 && variable.isEmpty()) return incomplete;
    entry.name = QString::fromUtf8(variable.left(nameLength));
    // Sizes and offset too large for 32 bits sit in the zip64 extra field.
    for (qsizetype x = nameLength; x + 4 <= variable.size();) {
      const auto id = Le(variable, x, 2);
      const auto length = qsizetype(Le(variable, x + 2, 2));
      if (id == 0x0001) {
        qsizetype field = x + 4;
        for (std::uint64_t* value : {&entry.size, &entry.packed, &entry.local}) {
          if (*value == kMissing32) {
            *value = Le(variable, field, 8);
            field += 8;
          }
        }
      }
      x += 4 + length;
    }
    at += std::uint64_t(46 + nameLength + extraLength + commentLength);

    QByteArray tail;
    if (!EntryIntact(file, entry, tail)) return incomplete;
    if (entry.name == QLatin1String("xl/worksheets/sheet1.xml")) {
      sheetSeen = true;
      if (!tail.trimmed().endsWith("</worksheet>")) return incomplete;
    }
  }
  return sheetSeen ? QString() : incomplete;
}

}  // namespace orvex
