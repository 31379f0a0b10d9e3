#pragma once

#include "log/measurement_log.h"

#include <QString>

#include <cstdint>

namespace orvex::bench {

// Rows as a logging installation writes them: a date, a time with seconds and
// nine read-outs of 2 to 19 characters, mostly short decimal-comma numbers,
// some "Disabled", now and then a long text someone typed into a read-out.
class TypicalRows {
 public:
  MeasurementLog::TickCells next() {
    MeasurementLog::TickCells cells;
    const std::uint64_t second = 2 * count_++;
    cells[0] = QStringLiteral("%1.07.2021").arg(21 + int(second / 86400) % 9, 2, 10, QChar(u'0'));
    cells[1] = QStringLiteral("%1:%2:%3")
                   .arg(int(second / 3600 % 24), 2, 10, QChar(u'0'))
                   .arg(int(second / 60 % 60), 2, 10, QChar(u'0'))
                   .arg(int(second % 60), 2, 10, QChar(u'0'));
    for (int channel = 0; channel < 9; ++channel) {
      const std::uint32_t r = random();
      QString text;
      if (channel == 8) {
        text = QStringLiteral("Disabled");
      } else if (r % 200 == 0) {
        text = QStringLiteral("check sensor wiring");  // 19 characters
      } else if (channel < 3) {
        text = QStringLiteral("%1,%2").arg(10 + r % 220).arg(r / 7 % 10);  // volts
      } else if (channel < 7) {
        text =
            QStringLiteral("%1%2,%3").arg(r % 3 == 0 ? "-" : "").arg(r / 3 % 20).arg(r / 11 % 100);
      } else {
        text = QString::number(15 + r % 30);  // degrees
      }
      textBytes_ += std::uint64_t(text.size());
      cells[std::size_t(2 + channel)] = text;
    }
    textBytes_ += std::uint64_t(cells[0].size() + cells[1].size());
    return cells;
  }

  // Characters of text in the rows made so far.
  std::uint64_t textBytes() const { return textBytes_; }

 private:
  std::uint32_t random() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }

  std::uint64_t count_ = 0;
  std::uint64_t textBytes_ = 0;
  std::uint32_t state_ = 2463534242u;
};

}  // namespace orvex::bench
