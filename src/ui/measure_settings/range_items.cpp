#include "ui/measure_settings/range_items.h"

#include <array>

namespace orvex {
namespace {

constexpr std::array<RangeItem, 4> kVoltageRanges = {{
    {u"0-50V", 50, std::nullopt},
    {u"0-100V", 100, std::nullopt},
    {u"0-200V", 200, std::nullopt},
    {u"0-400V", 400, std::nullopt},
}};

// The middle item is the 50 A range; its caption has always read "0-50V".
constexpr std::array<RangeItem, 3> kCurrentRanges = {{
    {u"0-20A", 20, std::nullopt},
    {u"0-50V", 50, std::nullopt},
    {u"0-100A", 100, std::nullopt},
}};

// The battery current runs both ways; every span is symmetric about 0.
constexpr std::array<RangeItem, 3> kSignedCurrentRanges = {{
    {u"-20A - 20A", 20, -20},
    {u"-50A - 50V", 50, -50},
    {u"-100 - 100A", 100, -100},
}};

constexpr std::array<RangeItem, 4> kTemperatureRanges = {{
    {u"-50\u00B0C -  50\u00B0C", 50.0, -50.0},
    {u"-20\u00B0C -  100\u00B0C", 100.0, -20.0},
    {u"0\u00B0C -- 50\u00B0C", 50.0, 0.0},
    {u"0\u00B0C - 100\u00B0C", 100.0, 0.0},
}};

}  // namespace

std::span<const RangeItem> RangeItemsOf(std::size_t instrument) {
  switch (instrument) {
    case 0:
    case 1:
    case 2:
      return kVoltageRanges;
    case 3:
    case 4:
    case 6:
      return kCurrentRanges;
    case 5:
      return kSignedCurrentRanges;
    case 7:
    case 8:
      return kTemperatureRanges;
    default:
      return {};
  }
}

}  // namespace orvex
