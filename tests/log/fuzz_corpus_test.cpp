#include "log/log_reader.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

// The fuzz target, built into this test so that every seed runs through the
// same checks as under the fuzzer.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace orvex {
namespace {

TEST(FuzzCorpusTest, SeedsAreRealLogFilesAndPassTheFuzzChecks) {
  const QDir corpus(QStringLiteral(ORVEX_FUZZ_CORPUS_DIR));
  const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
  ASSERT_GE(names.size(), 5);
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    QFile file(corpus.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const std::optional<LogTable> table = ParseLog(bytes);
    ASSERT_TRUE(table.has_value());
    EXPECT_GE(table->columnCount(), 11);
    EXPECT_FALSE(table->cell(0, 0).isEmpty()) << "the header row was read";
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           std::size_t(bytes.size()));
  }
}

// Every prefix of a seed: truncated files read or fail, never crash.
TEST(FuzzCorpusTest, TruncatedSeedsPassTheFuzzChecks) {
  const QDir corpus(QStringLiteral(ORVEX_FUZZ_CORPUS_DIR));
  for (const QString& name : corpus.entryList(QDir::Files, QDir::Name)) {
    QFile file(corpus.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    for (qsizetype size = 0; size <= bytes.size(); ++size) {
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             std::size_t(size));
    }
  }
}

// Inputs the fuzzer once found failing, kept so that they stay fixed.
TEST(FuzzCorpusTest, FoundFaultsStayFixed) {
  const QDir regressions(QStringLiteral(ORVEX_FUZZ_REGRESSIONS_DIR));
  const QStringList names = regressions.entryList(QDir::Files, QDir::Name);
  ASSERT_FALSE(names.isEmpty());
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    QFile file(regressions.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           std::size_t(bytes.size()));
  }
}

}  // namespace
}  // namespace orvex
