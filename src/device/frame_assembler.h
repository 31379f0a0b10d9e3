#pragma once

#include "device/measurement_frame.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orvex {

// Collects the bytes of the link, however they arrive, into whole measurement
// frames, in order. A partial frame waits for the rest of its bytes.
class FrameAssembler {
 public:
  using Frame = std::array<std::uint8_t, kFrameSize>;

  void append(std::span<const std::uint8_t> bytes);
  // The oldest whole frame not yet taken, if there is one.
  std::optional<Frame> takeFrame();
  // Forgets every byte collected so far.
  void clear();
  // Bytes collected and not yet taken as part of a frame.
  std::size_t pendingBytes() const { return bytes_.size() - head_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t head_ = 0;  // the first byte not yet taken
};

}  // namespace orvex
