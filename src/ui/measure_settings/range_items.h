#pragma once

#include <QStringView>

#include <cstddef>
#include <optional>
#include <span>

namespace orvex {

// One item of a range group: its caption and the scale ends it gives the gauge.
// The maximum is set first, then the minimum where there is one, so that no
// step puts a meter's maximum below its minimum.
struct RangeItem {
  QStringView caption;
  double max;
  std::optional<double> min;  // none: the gauge keeps its minimum
};

// The items of the range group of one instrument, by its index in channel
// order (Volt1, Volt2, Volt3, Ampere1 … Ampere4, Temp1, Temp2).
std::span<const RangeItem> RangeItemsOf(std::size_t instrument);

}  // namespace orvex
