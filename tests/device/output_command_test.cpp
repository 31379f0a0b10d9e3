#include "device/output_command.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

TEST(OutputCommandTest, OneCharacterPerLineInOrderThenCarriageReturn) {
  struct Row {
    bool din1, din2, din3;
    QByteArray line;
  };
  const Row rows[] = {
      {false, false, false, QByteArray("\x43\x4D\x44\x30\x30\x30\x0D", 7)},
      {true, false, true, QByteArray("CMD101\r")},
      {true, false, false, QByteArray("CMD100\r")},
      {false, true, false, QByteArray("CMD010\r")},
      {false, false, true, QByteArray("CMD001\r")},
      {true, true, true, QByteArray("CMD111\r")},
  };
  for (const Row& row : rows) {
    const QByteArray line = OutputCommand(row.din1, row.din2, row.din3);
    EXPECT_EQ(line, row.line) << row.din1 << row.din2 << row.din3;
    EXPECT_EQ(line.size(), 7);
  }
}

}  // namespace
}  // namespace orvex
