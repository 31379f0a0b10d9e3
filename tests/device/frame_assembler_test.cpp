#include "device/frame_assembler.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace orvex {
namespace {

// Three whole frames and a partial fourth, as arriving in reads of the given sizes.
TEST(FrameAssembler, TakesWholeFramesInOrderHoweverTheBytesArrive) {
  std::vector<std::uint8_t> stream(3 * kFrameSize + 7);
  std::iota(stream.begin(), stream.end(), std::uint8_t{1});
  const std::vector<std::vector<std::size_t>> readSizes = {
      {61},       {18, 18, 18, 7}, {10, 8, 18, 25},
      {1, 59, 1}, {5, 20, 11, 25}, std::vector<std::size_t>(61, 1),
  };
  for (const auto& sizes : readSizes) {
    SCOPED_TRACE(::testing::PrintToString(sizes));
    FrameAssembler assembler;
    std::vector<FrameAssembler::Frame> frames;
    std::size_t at = 0;
    for (const std::size_t size : sizes) {
      assembler.append(std::span(stream).subspan(at, size));
      at += size;
      while (const auto frame = assembler.takeFrame()) frames.push_back(*frame);
      EXPECT_EQ(frames.size(), at / kFrameSize);
    }
    ASSERT_EQ(frames.size(), 3u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
      EXPECT_TRUE(std::equal(frames[i].begin(), frames[i].end(), stream.begin() + i * kFrameSize))
          << "frame " << i;
    }
    EXPECT_EQ(assembler.pendingBytes(), 7u);
  }
}

TEST(FrameAssembler, ClearDropsAPartialFrame) {
  FrameAssembler assembler;
  const std::vector<std::uint8_t> tail(10, 0xAA);
  assembler.append(tail);
  assembler.clear();
  const std::vector<std::uint8_t> frame(kFrameSize, 0x55);
  assembler.append(frame);
  const auto taken = assembler.takeFrame();
  ASSERT_TRUE(taken.has_value());
  EXPECT_EQ((*taken)[0], 0x55);
  EXPECT_FALSE(assembler.takeFrame().has_value());
}

}  // namespace
}  // namespace orvex
