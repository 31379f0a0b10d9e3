#include "zip_reader.h"

#include <QFile>

#include <zlib.h>

#include <cstdint>

namespace orvex::test {

namespace {

std::uint32_t Le(const QByteArray& bytes, qsizetype at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | std::uint8_t(bytes[at + i]);
  return value;
}

bool Inflate(const QByteArray& in, qsizetype size, QByteArray& out) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
  stream.avail_in = uInt(in.size());
  out.resize(size);
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = uInt(size);
  const int result = inflate(&stream, Z_FINISH);
  inflateEnd(&stream);
  return result == Z_STREAM_END && stream.total_out == uLong(size);
}

}  // namespace

// Walks the central directory, which has every entry's sizes even when the
// local headers defer them to a data descriptor.
QMap<QString, QByteArray> ReadZip(const QString& fileName) {
  QMap<QString, QByteArray> entries;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return entries;
  const QByteArray zip = file.readAll();
  const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
  if (end < 0 || end + 22 > zip.size()) return entries;
  const std::uint32_t count = Le(zip, end + 10, 2);
  qsizetype at = Le(zip, end + 16, 4);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (at + 46 > zip.size() || Le(zip, at, 4) != 0x02014b50) return {};
    const std::uint32_t method = Le(zip, at + 10, 2);
    const std::uint32_t packed = Le(zip, at + 20, 4);
    const std::uint32_t size = Le(zip, at + 24, 4);
    const std::uint32_t nameLength = Le(zip, at + 28, 2);
    const std::uint32_t extraLength = Le(zip, at + 30, 2);
    const std::uint32_t commentLength = Le(zip, at + 32, 2);
    const std::uint32_t local = Le(zip, at + 42, 4);
    const QString name = QString::fromUtf8(zip.mid(at + 46, nameLength));
    at += 46 + nameLength + extraLength + commentLength;

    if (qsizetype(local) + 30 > zip.size()) return {};
    const qsizetype data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
    const QByteArray raw = zip.mid(data, packed);
    QByteArray content;
    if (method == 0) {
      content = raw;
    } else if (method != 8 || !Inflate(raw, size, content)) {
      return {};
    }
    if (std::uint32_t(
            crc32(0, reinterpret_cast<const Bytef*>(content.constData()), uInt(content.size()))) !=
        Le(zip, at - 46 - nameLength - extraLength - commentLength + 16, 4)) {
      return {};
    }
    entries.insert(name, content);
  }
  return entries;
}

}  // namespace orvex::test
