#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace orvex {

// A growing byte buffer that leaves the bytes it grows into uninitialised,
// for building records without clearing memory first.
class ByteBuffer {
 public:
  // Room for `n` more bytes at the end; the caller writes all of them.
  char* extend(std::size_t n) {
    if (size_ + n > capacity_) grow(size_ + n);
    char* at = bytes_.get() + size_;
    size_ += n;
    return at;
  }
  void resize(std::size_t size) {
    if (size > capacity_) grow(size);
    size_ = size;
  }
  void clear() { size_ = 0; }
  const char* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  QByteArrayView view() const { return QByteArrayView(bytes_.get(), qsizetype(size_)); }

 private:
  void grow(std::size_t atLeast);

  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// The encoded cells of one row: a varint cell count, then per cell a varint
// byte length and the cell's UTF-8 text. Trailing empty cells are left out, so
// a row without text encodes to nothing.
class RowRecord {
 public:
  // Appends the record of `cells` to `out` (cleared first).
  static void Encode(std::span<const QString> cells, std::vector<char>& out);

  explicit RowRecord(QByteArrayView bytes = {}) : bytes_(bytes) {}

  // The UTF-8 text of `column`, empty when the row holds none there.
  QByteArrayView cell(int column) const;

  // Walks the stored cells in column order; `visit(column, utf8)` is called for
  // every stored cell, empty ones included.
  template <typename Visit>
  void forEachCell(Visit&& visit) const {
    std::size_t pos = 0;
    const std::uint64_t count = ReadVarint(bytes_, pos);
    for (std::uint64_t column = 0; column < count && pos <= std::size_t(bytes_.size()); ++column) {
      const std::uint64_t length = ReadVarint(bytes_, pos);
      if (length > std::size_t(bytes_.size()) - pos) return;
      visit(int(column), bytes_.sliced(qsizetype(pos), qsizetype(length)));
      pos += length;
    }
  }

  bool isEmpty() const { return bytes_.isEmpty(); }
  QByteArrayView bytes() const { return bytes_; }

  static constexpr std::size_t kMaxVarintBytes = 10;
  // Writes `value` to `out` (room for kMaxVarintBytes); returns the bytes written.
  static std::size_t PutVarint(std::uint64_t value, char* out);
  static std::size_t VarintSize(std::uint64_t value);
  static void AppendVarint(std::uint64_t value, std::vector<char>& out);
  // Reads a varint at `pos` and advances it; a truncated varint reads as 0 with
  // `pos` at the end.
  static std::uint64_t ReadVarint(QByteArrayView bytes, std::size_t& pos);

 private:
  QByteArrayView bytes_;
};

// Row records by row index, for tables of millions of rows.
//
// Records live in an append-only arena of large chunks, and row references in
// fixed blocks of rows allocated on the first write into them. Storing a row
// never copies or moves another row; replacing a row leaves its old bytes
// behind, which only happens when a file lists a row's cells out of order.
// Rows never written cost nothing beyond one pointer per block of rows.
//
// Not thread-safe; a store belongs to one thread at a time.
class CellStore {
 public:
  static constexpr int kRowsPerBlock = 4096;

  CellStore() = default;
  CellStore(CellStore&&) noexcept = default;
  CellStore& operator=(CellStore&&) noexcept = default;

  // Stores `record` as row `row` (>= 0), replacing any earlier record; an empty
  // record makes the row empty.
  void setRecord(int row, QByteArrayView record);
  // Room for a record of `size` (> 0) bytes as row `row`, replacing any
  // earlier record; the caller writes all of it before the next call.
  char* allocateRecord(int row, std::size_t size);
  RowRecord record(int row) const;

  // One past the highest row that may hold a record; rows at or above it are empty.
  int rowLimit() const { return int(blocks_.size()) * kRowsPerBlock; }
  // Whether the block of rows holding `row` was ever written; lets a reader skip
  // large empty stretches.
  bool blockAllocated(int row) const;

  // Bytes held by the arena and the row blocks.
  std::size_t bytesAllocated() const;

 private:
  struct RowRef {
    std::uint32_t chunk = 0;  // 1-based index into chunks_; 0: no record
    std::uint32_t offset = 0;
  };
  struct Chunk {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
  };

  RowRef* refOf(int row);
  char* place(std::size_t size, RowRef& ref);

  std::vector<std::unique_ptr<RowRef[]>> blocks_;
  std::vector<Chunk> chunks_;
  std::size_t currentChunk_ = 0;  // 1-based; 0 until the first record
  std::size_t currentUsed_ = 0;
};

}  // namespace orvex
