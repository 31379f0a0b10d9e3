// libFuzzer target for the .log reader: any bytes must read without a crash,
// a hang or a sanitizer report, and what reads must behave consistently.
#include "log/log_reader.h"
#include "log/log_table.h"
#include "log/log_writer.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

bool SameTable(const std::optional<orvex::LogTable>& a, const std::optional<orvex::LogTable>& b) {
  return a.has_value() == b.has_value() && (!a || *a == *b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const std::optional<orvex::LogTable> whole = orvex::ParseLog(bytes);

  // Read in two pieces, cut where the first byte says: the same table.
  if (size > 0) {
    const auto cut = qsizetype(std::size_t(data[0]) * size / 256);
    orvex::LogReader reader;
    reader.feed(bytes.first(cut));
    reader.feed(bytes.sliced(cut));
    if (!SameTable(whole, reader.finish())) std::abort();
  }

  // What was read writes and reads back; after one such round the table no
  // longer changes (the first round may settle ambiguous control characters).
  if (whole) {
    const std::optional<orvex::LogTable> once = orvex::ParseLog(orvex::EncodeLog(*whole));
    if (!once) std::abort();
    const std::optional<orvex::LogTable> twice = orvex::ParseLog(orvex::EncodeLog(*once));
    if (!SameTable(once, twice)) std::abort();
  }
  return 0;
}
