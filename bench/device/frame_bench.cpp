#include "device/measurement_frame.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using orvex::kChannelCount;
using orvex::kFrameSize;

// Frames of a plausible working day: voltages around 12 to 40 V, currents up
// to a few amperes, temperatures between 15 and 50 °C, with some noise.
std::vector<std::array<std::uint8_t, kFrameSize>> SampleFrames(std::size_t count) {
  std::mt19937 random(2000);
  std::uniform_int_distribution<int> voltage(700, 1500);
  std::uniform_int_distribution<int> current(0, 4095);
  std::uniform_int_distribution<int> temperature(240, 800);
  std::vector<std::array<std::uint8_t, kFrameSize>> frames(count);
  for (auto& frame : frames) {
    for (std::size_t i = 0; i < kChannelCount; ++i) {
      const int raw = i < 3 ? voltage(random) : (i < 7 ? current(random) : temperature(random));
      frame[2 * i] = static_cast<std::uint8_t>(raw >> 8);
      frame[2 * i + 1] = static_cast<std::uint8_t>(raw & 0xFF);
    }
  }
  return frames;
}

// One whole frame with all nine channels refreshed (parity 1): decoding, nine
// readings and their texts.
void BM_ComputeFrame(benchmark::State& state) {
  const auto frames = SampleFrames(4096);
  std::array<bool, kChannelCount> enabled;
  enabled.fill(true);
  std::size_t next = 0;
  for (auto _ : state) {
    auto result = orvex::ComputeFrame(frames[next], enabled, 0.0L, -1.5L, 1, QChar(u','));
    benchmark::DoNotOptimize(result);
    next = (next + 1) % frames.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComputeFrame);

// One voltage read-out text, the longest of the three kinds.
void BM_ReadoutText(benchmark::State& state) {
  std::vector<float> values;
  for (int raw = 700; raw < 1500; ++raw) {
    values.push_back(orvex::ComputeReading(orvex::ChannelId::Volt1, static_cast<std::uint16_t>(raw),
                                           0, QChar(u','))
                         .value);
  }
  std::size_t next = 0;
  for (auto _ : state) {
    auto text = orvex::ReadoutText(orvex::ChannelKind::Voltage, values[next], QChar(u','));
    benchmark::DoNotOptimize(text);
    next = (next + 1) % values.size();
  }
}
BENCHMARK(BM_ReadoutText);

}  // namespace

BENCHMARK_MAIN();
