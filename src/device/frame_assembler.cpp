#include "frame_assembler.h"

#include <algorithm>

namespace orvex {

void FrameAssembler::append(std::span<const std::uint8_t> bytes) {
  // Taken bytes are dropped here, once per read, not once per frame.
  bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(head_));
  head_ = 0;
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

std::optional<FrameAssembler::Frame> FrameAssembler::takeFrame() {
  if (pendingBytes() < kFrameSize) return std::nullopt;
  Frame frame;
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(head_), kFrameSize, frame.begin());
  head_ += kFrameSize;
  return frame;
}

void FrameAssembler::clear() {
  bytes_.clear();
  head_ = 0;
}

}  // namespace orvex
