// Figures of the measurement log for a year of logging at the shortest
// interval: the cost of one tick at 1,000 and 2,000,000 rows, saving and
// opening 1,000,000 rows against a plain buffered copy of the same bytes, and
// the time a loaded log takes to show its first screen and to scroll.
#include "log/log_file.h"
#include "log/log_tab.h"
#include "log/measurement_log.h"
#include "typical_rows.h"

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace orvex {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double Percentile(std::vector<double>& values, double p) {
  if (values.empty()) return 0;
  const auto at = std::size_t(p * double(values.size() - 1));
  std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(at), values.end());
  return values[at];
}

// ---------------------------------------------------------------------------
// One tick at a given table size, with and without the table view attached.

void TickLatency(benchmark::State& state, bool withView) {
  const auto rows = int(state.range(0));
  MeasurementLog log;
  bench::TypicalRows source;
  for (int i = 0; i < rows; ++i) log.LogTick(source.next());
  std::unique_ptr<LogTab> tab;
  if (withView) {
    tab = std::make_unique<LogTab>(log);
    tab->resize(1249, 700);
    tab->show();
    tab->logView()->scrollToBottom();
    QApplication::processEvents();
  }
  std::vector<MeasurementLog::TickCells> cells(4096);
  for (auto& c : cells) c = source.next();
  std::vector<double> nanoseconds;
  nanoseconds.reserve(1'000'000);
  std::size_t next = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    log.LogTick(cells[next++ % cells.size()]);
    nanoseconds.push_back(Seconds(Clock::now() - start) * 1e9);
    if (withView && next % 1024 == 0) {
      state.PauseTiming();
      QApplication::processEvents();  // the repaints between ticks
      state.ResumeTiming();
    }
  }
  state.counters["p50_ns"] = Percentile(nanoseconds, 0.50);
  state.counters["p99_ns"] = Percentile(nanoseconds, 0.99);
  state.counters["max_ns"] = *std::max_element(nanoseconds.begin(), nanoseconds.end());
}

void BM_Tick(benchmark::State& state) { TickLatency(state, false); }
void BM_TickWithView(benchmark::State& state) { TickLatency(state, true); }
BENCHMARK(BM_Tick)->Arg(1'000)->Arg(2'000'000)->Iterations(200'000);
BENCHMARK(BM_TickWithView)->Arg(1'000)->Arg(2'000'000)->Iterations(200'000);

// ---------------------------------------------------------------------------
// Save and open of 1,000,000 rows.

constexpr int kFileRows = 1'000'000;

struct MillionRowFile {
  MillionRowFile() {
    bench::TypicalRows source;
    for (int i = 0; i < kFileRows; ++i) log.LogTick(source.next());
    path = dir.filePath(QStringLiteral("million.log"));
    copyPath = dir.filePath(QStringLiteral("copy.bin"));
    SaveLogFile(log.table(), path);
    bytes = QFileInfo(path).size();
  }
  QTemporaryDir dir;
  MeasurementLog log;
  QString path;
  QString copyPath;
  qint64 bytes = 0;
};

MillionRowFile& File() {
  static MillionRowFile file;
  return file;
}

constexpr std::size_t kCopyBuffer = std::size_t(1) << 20;

// The plain way to write the same number of bytes: buffered writes to a new
// file, flushed, synced and renamed into place, as the log's atomic save does.
double RawWriteSeconds(const QString& path, qint64 bytes) {
  std::vector<char> block(kCopyBuffer, 'x');
  const QByteArray target = path.toLocal8Bit();
  const QByteArray temporary = target + ".new";
  const auto start = Clock::now();
  std::FILE* out = std::fopen(temporary.constData(), "wb");
  std::setvbuf(out, nullptr, _IOFBF, kCopyBuffer);
  for (qint64 left = bytes; left > 0; left -= qint64(block.size())) {
    std::fwrite(block.data(), 1, std::size_t(std::min<qint64>(left, qint64(block.size()))), out);
  }
  std::fflush(out);
  fsync(fileno(out));
  std::fclose(out);
  std::rename(temporary.constData(), target.constData());
  return Seconds(Clock::now() - start);
}

double RawReadSeconds(const QString& path) {
  std::vector<char> block(kCopyBuffer);
  const auto start = Clock::now();
  std::FILE* in = std::fopen(path.toLocal8Bit().constData(), "rb");
  std::size_t total = 0;
  for (std::size_t got; (got = std::fread(block.data(), 1, block.size(), in)) > 0;) total += got;
  std::fclose(in);
  benchmark::DoNotOptimize(total);
  return Seconds(Clock::now() - start);
}

double Median(std::vector<double> values) { return Percentile(values, 0.5); }

// Medians over the iterations: the first writes of a run and the file
// system's own writeback make single runs vary by a factor of two or more.
void BM_SaveMillionRows(benchmark::State& state) {
  MillionRowFile& file = File();
  std::vector<double> save;
  std::vector<double> raw;
  for (auto _ : state) {
    const auto start = Clock::now();
    SaveLogFile(file.log.table(), file.path);
    save.push_back(Seconds(Clock::now() - start));
    state.SetIterationTime(save.back());
    raw.push_back(RawWriteSeconds(file.copyPath, file.bytes));
  }
  const double megabytes = double(file.bytes) / 1e6;
  state.counters["file_MB"] = megabytes;
  state.counters["save_MBps"] = megabytes / Median(save);
  state.counters["raw_write_MBps"] = megabytes / Median(raw);
  state.counters["ratio_to_raw"] = Median(raw) / Median(save);
}
BENCHMARK(BM_SaveMillionRows)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

void BM_OpenMillionRows(benchmark::State& state) {
  MillionRowFile& file = File();
  std::vector<double> open;
  std::vector<double> raw;
  for (auto _ : state) {
    raw.push_back(RawReadSeconds(file.path));
    const auto start = Clock::now();
    LogFileContents contents = ReadLogFile(file.path);
    open.push_back(Seconds(Clock::now() - start));
    state.SetIterationTime(open.back());
    if (!contents.table || contents.table->rowCount() != kFileRows + 2)
      state.SkipWithError("bad read");
  }
  const double megabytes = double(file.bytes) / 1e6;
  state.counters["open_MBps"] = megabytes / Median(open);
  state.counters["raw_read_MBps"] = megabytes / Median(raw);
  state.counters["ratio_to_raw"] = Median(raw) / Median(open);
}
BENCHMARK(BM_OpenMillionRows)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------
// The table view on a loaded 1,000,000-row log.

void BM_FirstScreenAfterLoad(benchmark::State& state) {
  MillionRowFile& file = File();
  MeasurementLog log;
  LogTab tab(log);
  tab.resize(1249, 700);
  tab.show();
  QApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    LogFileContents contents = ReadLogFile(file.path);
    log.beginLoad();
    state.ResumeTiming();
    log.finishLoad(std::move(*contents.table));
    tab.logView()->viewport()->repaint();
    QApplication::processEvents();
  }
  state.counters["rows"] = log.rowCount();
}
BENCHMARK(BM_FirstScreenAfterLoad)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ScrollStep(benchmark::State& state) {
  MillionRowFile& file = File();
  MeasurementLog log;
  LogTab tab(log);
  tab.resize(1249, 700);
  tab.show();
  log.replaceTable(std::move(*ReadLogFile(file.path).table));
  QApplication::processEvents();
  QScrollBar* bar = tab.logView()->verticalScrollBar();
  std::uint32_t position = 12345;
  std::vector<double> milliseconds;
  for (auto _ : state) {
    position = position * 1103515245u + 12345u;
    const auto start = Clock::now();
    bar->setValue(int(position % std::uint32_t(bar->maximum() + 1)));
    tab.logView()->viewport()->repaint();
    milliseconds.push_back(Seconds(Clock::now() - start) * 1e3);
  }
  state.counters["p99_ms"] = Percentile(milliseconds, 0.99);
}
BENCHMARK(BM_ScrollStep)->Iterations(500)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvex
