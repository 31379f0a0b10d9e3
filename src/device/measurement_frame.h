#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace orvex {

// The nine analog channels, in the order of the fields of a measurement frame,
// of the stored per-channel values and of the log's measurement columns.
enum class ChannelId { Volt1, Volt2, Volt3, Ampere1, Ampere2, Ampere3, Ampere4, Temp1, Temp2 };

// The kind alone decides a channel's conversion, read-out cut and refresh rule.
enum class ChannelKind { Voltage, Current, Temperature };

// One measurement frame from the device: nine unsigned 16-bit big-endian fields.
constexpr std::size_t kFrameSize = 18;
constexpr std::size_t kChannelCount = 9;

constexpr std::array<ChannelId, kChannelCount> kAllChannels = {
    ChannelId::Volt1,   ChannelId::Volt2,   ChannelId::Volt3,
    ChannelId::Ampere1, ChannelId::Ampere2, ChannelId::Ampere3,
    ChannelId::Ampere4, ChannelId::Temp1,   ChannelId::Temp2};

ChannelKind KindOf(ChannelId channel);

// The nine raw field values in ChannelId order.
std::array<std::uint16_t, kChannelCount> DecodeFrame(
    std::span<const std::uint8_t, kFrameSize> bytes);

// One refreshed channel: value in the channel's unit (V, A or °C), the gauge
// position (the value rounded half to even) and the read-out text.
struct ChannelReading {
  float value;
  std::int32_t position;
  QString text;
};

// Converts one raw field value. `offset` (°C) is added by temperature channels
// only. Throws Error when a temperature offset drives the value beyond the
// single-precision range.
ChannelReading ComputeReading(ChannelId channel, std::uint16_t raw, long double offset,
                              QChar decimalSeparator);

// The read-out text of a value: general decimal format with 15 significant
// digits, then cut to the kind's width (voltages whole, currents 3 characters,
// temperatures 4). Throws Error for a value that is not finite.
QString ReadoutText(ChannelKind kind, float value, QChar decimalSeparator);

// The text of a channel that shows no measurement, whatever the locale.
QString IdleText(ChannelKind kind);

// Whether a frame refreshes a channel: voltages only when enabled and on a
// frame of parity 1, the other kinds whenever enabled.
bool IsRefreshed(ChannelKind kind, bool enabled, int frameParity);

// The pure computation of one whole frame. A reading is empty for a channel the
// frame does not refresh. Temp1 uses offset1 and Temp2 offset2.
struct FrameResult {
  std::array<std::optional<ChannelReading>, kChannelCount> readings;
  int nextParity;
};

FrameResult ComputeFrame(std::span<const std::uint8_t, kFrameSize> bytes,
                         const std::array<bool, kChannelCount>& enabled, long double offset1,
                         long double offset2, int frameParity, QChar decimalSeparator);

// Parses the text of a temperature offset field in `locale`: optional blanks,
// an optional sign, digits with at most one decimal separator of the locale, an
// optional exponent ("E" or "e", optional sign, digits), optional blanks.
// The result is the text's value correctly rounded to long double.
// Throws Error "'<text>' is not a valid floating point value" otherwise.
long double ParseOffsetText(const QString& text, const QLocale& locale);

}  // namespace orvex
