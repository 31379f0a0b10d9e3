#include "com_port_settings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orvex {
namespace {

template <typename Value, std::size_t N>
using TextTable = std::array<std::pair<Value, const char*>, N>;

constexpr TextTable<BaudRate, 16> kBaudRates{{
    {BaudRate::Custom, "Custom"},
    {BaudRate::Br110, "110"},
    {BaudRate::Br300, "300"},
    {BaudRate::Br600, "600"},
    {BaudRate::Br1200, "1200"},
    {BaudRate::Br2400, "2400"},
    {BaudRate::Br4800, "4800"},
    {BaudRate::Br9600, "9600"},
    {BaudRate::Br14400, "14400"},
    {BaudRate::Br19200, "19200"},
    {BaudRate::Br38400, "38400"},
    {BaudRate::Br56000, "56000"},
    {BaudRate::Br57600, "57600"},
    {BaudRate::Br115200, "115200"},
    {BaudRate::Br128000, "128000"},
    {BaudRate::Br256000, "256000"},
}};

constexpr TextTable<DataBits, 4> kDataBits{{
    {DataBits::Five, "5"},
    {DataBits::Six, "6"},
    {DataBits::Seven, "7"},
    {DataBits::Eight, "8"},
}};

constexpr TextTable<StopBits, 3> kStopBits{{
    {StopBits::One, "1"},
    {StopBits::OneAndHalf, "1.5"},
    {StopBits::Two, "2"},
}};

constexpr TextTable<Parity, 5> kParities{{
    {Parity::None, "None"},
    {Parity::Odd, "Odd"},
    {Parity::Even, "Even"},
    {Parity::Mark, "Mark"},
    {Parity::Space, "Space"},
}};

constexpr TextTable<FlowControl, 4> kFlowControls{{
    {FlowControl::Hardware, "Hardware"},
    {FlowControl::Software, "Software"},
    {FlowControl::None, "None"},
    {FlowControl::Custom, "Custom"},
}};

template <typename Value, std::size_t N>
QStringList TextsOf(const TextTable<Value, N>& table) {
  QStringList texts;
  for (const auto& [value, text] : table) texts.append(QString::fromLatin1(text));
  return texts;
}

template <typename Value, std::size_t N>
QString TextOf(const TextTable<Value, N>& table, Value wanted) {
  const auto row = std::find_if(table.begin(), table.end(),
                                [wanted](const auto& entry) { return entry.first == wanted; });
  return row == table.end() ? QString() : QString::fromLatin1(row->second);
}

template <typename Value, std::size_t N>
std::optional<Value> ValueOf(const TextTable<Value, N>& table, const QString& text) {
  for (const auto& [value, name] : table) {
    if (text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return value;
  }
  return std::nullopt;
}

constexpr FlowFlags kHardwareFlow{RtsControl::Handshake, true, false, false};
constexpr FlowFlags kSoftwareFlow{RtsControl::Inactive, false, true, true};
constexpr FlowFlags kNoFlow{RtsControl::Inactive, false, false, false};

}  // namespace

int BaudRateValue(const ComPortSettings& settings) {
  return settings.baudRate == BaudRate::Custom ? settings.customBaudRate
                                               : static_cast<int>(settings.baudRate);
}

const QStringList& BaudRateTexts() {
  static const QStringList texts = TextsOf(kBaudRates);
  return texts;
}
QString BaudRateText(BaudRate rate) { return TextOf(kBaudRates, rate); }
std::optional<BaudRate> BaudRateFromText(const QString& text) { return ValueOf(kBaudRates, text); }

const QStringList& DataBitsTexts() {
  static const QStringList texts = TextsOf(kDataBits);
  return texts;
}
QString DataBitsText(DataBits bits) { return TextOf(kDataBits, bits); }
std::optional<DataBits> DataBitsFromText(const QString& text) { return ValueOf(kDataBits, text); }

const QStringList& StopBitsTexts() {
  static const QStringList texts = TextsOf(kStopBits);
  return texts;
}
QString StopBitsText(StopBits bits) { return TextOf(kStopBits, bits); }
std::optional<StopBits> StopBitsFromText(const QString& text) { return ValueOf(kStopBits, text); }

const QStringList& ParityTexts() {
  static const QStringList texts = TextsOf(kParities);
  return texts;
}
QString ParityText(Parity parity) { return TextOf(kParities, parity); }
std::optional<Parity> ParityFromText(const QString& text) { return ValueOf(kParities, text); }

const QStringList& FlowControlTexts() {
  static const QStringList texts = TextsOf(kFlowControls);
  return texts;
}
QString FlowControlText(FlowControl flow) { return TextOf(kFlowControls, flow); }
std::optional<FlowControl> FlowControlFromText(const QString& text) {
  return ValueOf(kFlowControls, text);
}

FlowControl FlowControlOf(const FlowFlags& flags) {
  if (flags == kHardwareFlow) return FlowControl::Hardware;
  if (flags == kSoftwareFlow) return FlowControl::Software;
  if (flags == kNoFlow) return FlowControl::None;
  return FlowControl::Custom;
}

void ApplyFlowControl(FlowControl choice, FlowFlags& flags) {
  switch (choice) {
    case FlowControl::Hardware:
      flags = kHardwareFlow;
      break;
    case FlowControl::Software:
      flags = kSoftwareFlow;
      break;
    case FlowControl::None:
      flags = kNoFlow;
      break;
    case FlowControl::Custom:
      break;
  }
}

}  // namespace orvex
