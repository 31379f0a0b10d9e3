// Resident memory of the log per logged row: the process's resident set
// before and after 1,000,000 ticks of typical texts. Its own program, so that
// nothing else has touched the heap before it.
#include "log/measurement_log.h"
#include "typical_rows.h"

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <fstream>
#include <memory>

namespace orvex {
namespace {

double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0;
  long resident = 0;
  statm >> size >> resident;
  return double(resident) * double(sysconf(_SC_PAGESIZE));
}

void BM_ResidentBytesPerRow(benchmark::State& state) {
  const auto rows = int(state.range(0));
  for (auto _ : state) {
    bench::TypicalRows source;
    // The texts are made before the first reading, so that only the log's
    // storage is counted.
    std::vector<MeasurementLog::TickCells> batch(1000);
    const double before = ResidentBytes();
    auto log = std::make_unique<MeasurementLog>();
    for (int done = 0; done < rows; done += int(batch.size())) {
      state.PauseTiming();
      for (auto& cells : batch) cells = source.next();
      state.ResumeTiming();
      for (const auto& cells : batch) log->LogTick(cells);
    }
    const double after = ResidentBytes();
    state.counters["rss_bytes_per_row"] = (after - before) / rows;
    state.counters["allocated_bytes_per_row"] = double(log->table().bytesAllocated()) / rows;
    state.counters["text_bytes_per_row"] = double(source.textBytes()) / rows;
    benchmark::DoNotOptimize(log.get());
  }
}
BENCHMARK(BM_ResidentBytesPerRow)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvex
