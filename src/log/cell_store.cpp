#include "cell_store.h"

#include <algorithm>
#include <cstring>

namespace orvex {

namespace {

// Arena chunks grow from a few kilobytes (a small table stays small) to a
// megabyte, large enough that a chunk's slack stays small against the rows it
// holds. A record larger than a quarter of the largest chunk gets its own.
constexpr std::size_t kFirstChunkBytes = std::size_t(4) << 10;
constexpr std::size_t kChunkBytes = std::size_t(1) << 20;
constexpr std::size_t kOwnChunkThreshold = kChunkBytes / 4;

}  // namespace

void ByteBuffer::grow(std::size_t atLeast) {
  const std::size_t capacity = std::max({atLeast, 2 * capacity_, std::size_t(256)});
  auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
  if (size_ > 0) std::memcpy(bytes.get(), bytes_.get(), size_);
  bytes_ = std::move(bytes);
  capacity_ = capacity;
}

std::size_t RowRecord::VarintSize(std::uint64_t value) {
  std::size_t n = 1;
  while (value >= 0x80) {
    value >>= 7;
    ++n;
  }
  return n;
}

std::size_t RowRecord::PutVarint(std::uint64_t value, char* out) {
  std::size_t n = 0;
  while (value >= 0x80) {
    out[n++] = char((value & 0x7F) | 0x80);
    value >>= 7;
  }
  out[n++] = char(value);
  return n;
}

void RowRecord::AppendVarint(std::uint64_t value, std::vector<char>& out) {
  if (value < 0x80) {
    out.push_back(char(value));
    return;
  }
  char bytes[kMaxVarintBytes];
  const std::size_t n = PutVarint(value, bytes);
  out.insert(out.end(), bytes, bytes + n);
}

std::uint64_t RowRecord::ReadVarint(QByteArrayView bytes, std::size_t& pos) {
  std::uint64_t value = 0;
  for (int shift = 0; shift < 64 && pos < std::size_t(bytes.size()); shift += 7) {
    const auto byte = std::uint8_t(bytes[qsizetype(pos++)]);
    value |= std::uint64_t(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) return value;
  }
  pos = std::size_t(bytes.size());
  return 0;
}

void RowRecord::Encode(std::span<const QString> cells, std::vector<char>& out) {
  out.clear();
  std::size_t count = cells.size();
  while (count > 0 && cells[count - 1].isEmpty()) --count;
  if (count == 0) return;
  AppendVarint(count, out);
  for (std::size_t column = 0; column < count; ++column) {
    const QByteArray utf8 = cells[column].toUtf8();
    AppendVarint(std::uint64_t(utf8.size()), out);
    out.insert(out.end(), utf8.begin(), utf8.end());
  }
}

QByteArrayView RowRecord::cell(int column) const {
  std::size_t pos = 0;
  const std::uint64_t count = ReadVarint(bytes_, pos);
  if (column < 0 || std::uint64_t(column) >= count) return {};
  for (int c = 0; pos < std::size_t(bytes_.size()); ++c) {
    const std::uint64_t length = ReadVarint(bytes_, pos);
    if (length > std::size_t(bytes_.size()) - pos) return {};
    if (c == column) return bytes_.sliced(qsizetype(pos), qsizetype(length));
    pos += length;
  }
  return {};
}

CellStore::RowRef* CellStore::refOf(int row) {
  const auto block = std::size_t(row / kRowsPerBlock);
  if (block >= blocks_.size()) blocks_.resize(block + 1);
  if (!blocks_[block]) blocks_[block] = std::make_unique<RowRef[]>(kRowsPerBlock);
  return &blocks_[block][row % kRowsPerBlock];
}

bool CellStore::blockAllocated(int row) const {
  const auto block = std::size_t(row / kRowsPerBlock);
  return row >= 0 && block < blocks_.size() && blocks_[block] != nullptr;
}

char* CellStore::place(std::size_t size, RowRef& ref) {
  char prefix[RowRecord::kMaxVarintBytes];
  const std::size_t prefixSize = RowRecord::PutVarint(std::uint64_t(size), prefix);
  const std::size_t need = prefixSize + size;

  Chunk* target = nullptr;
  if (need > kOwnChunkThreshold) {
    chunks_.push_back({std::make_unique_for_overwrite<char[]>(need), need});
    target = &chunks_.back();
    ref.chunk = std::uint32_t(chunks_.size());
    ref.offset = 0;
  } else {
    if (currentChunk_ == 0 || currentUsed_ + need > chunks_[currentChunk_ - 1].size) {
      const std::size_t previous = currentChunk_ == 0 ? 0 : chunks_[currentChunk_ - 1].size;
      const std::size_t chunkSize =
          std::max({kFirstChunkBytes, std::min(2 * previous, kChunkBytes), need});
      chunks_.push_back({std::make_unique_for_overwrite<char[]>(chunkSize), chunkSize});
      currentChunk_ = chunks_.size();
      currentUsed_ = 0;
    }
    target = &chunks_[currentChunk_ - 1];
    ref.chunk = std::uint32_t(currentChunk_);
    ref.offset = std::uint32_t(currentUsed_);
    currentUsed_ += need;
  }
  char* at = target->bytes.get() + ref.offset;
  std::memcpy(at, prefix, prefixSize);
  return at + prefixSize;
}

char* CellStore::allocateRecord(int row, std::size_t size) {
  RowRef ref;
  char* at = place(size, ref);
  *refOf(row) = ref;
  return at;
}

void CellStore::setRecord(int row, QByteArrayView record) {
  if (row < 0) return;
  if (record.isEmpty()) {
    if (blockAllocated(row)) blocks_[std::size_t(row / kRowsPerBlock)][row % kRowsPerBlock] = {};
    return;
  }
  std::memcpy(allocateRecord(row, std::size_t(record.size())), record.data(),
              std::size_t(record.size()));
}

RowRecord CellStore::record(int row) const {
  if (!blockAllocated(row)) return RowRecord();
  const RowRef& ref = blocks_[std::size_t(row / kRowsPerBlock)][row % kRowsPerBlock];
  if (ref.chunk == 0) return RowRecord();
  const Chunk& chunk = chunks_[ref.chunk - 1];
  const QByteArrayView rest(chunk.bytes.get() + ref.offset, qsizetype(chunk.size - ref.offset));
  std::size_t pos = 0;
  const std::uint64_t length = RowRecord::ReadVarint(
      rest.first(std::min<qsizetype>(rest.size(), RowRecord::kMaxVarintBytes)), pos);
  return RowRecord(rest.sliced(qsizetype(pos), qsizetype(length)));
}

std::size_t CellStore::bytesAllocated() const {
  std::size_t bytes = 0;
  for (const Chunk& chunk : chunks_) bytes += chunk.size;
  for (const auto& block : blocks_) {
    if (block) bytes += sizeof(RowRef) * kRowsPerBlock;
  }
  return bytes + blocks_.capacity() * sizeof(blocks_[0]);
}

}  // namespace orvex
