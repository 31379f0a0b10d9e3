#include "measurement_frame.h"

#include "core/error.h"

#include <QStringView>

#include <locale.h>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace orvex {

// The scaling is defined in extended precision (64-bit significand, as the x87
// format of GCC and Clang on x86). Every rounding to single precision below is
// an explicit cast; nothing else narrows, and without -ffast-math the compiler
// neither contracts nor reorders these steps.
static_assert(std::numeric_limits<long double>::digits == 64,
              "the channel scaling needs long double with a 64-bit significand");
static_assert(std::numeric_limits<float>::digits == 24 && std::numeric_limits<float>::is_iec559);
static_assert(FLT_EVAL_METHOD == 0, "float expressions must round to float where they are cast");
#ifdef __FAST_MATH__
#error "the channel scaling must not be built with -ffast-math"
#endif

namespace {

// 3.3 V over 4096 ADC steps and the current sensor's zero at 0.15, each held as
// the nearest long double (K lies about 1.1e-23 below the decimal value).
constexpr long double kVoltsPerStep = 0.0008056640625L;
constexpr long double kSensorZero = 0.15L;
constexpr long double kVoltageGain = 30.0L;
constexpr float kDegreesPerStep = 0.0625f;

constexpr int kDigits = 18;       // digits formed first, rounded to nearest even
constexpr int kSignificant = 15;  // digits kept, the 16th rounding half up
constexpr std::uint64_t kPow10_17 = 100'000'000'000'000'000ULL;
constexpr std::uint64_t kPow10_18 = 1'000'000'000'000'000'000ULL;
constexpr std::uint64_t kPow10_14 = 100'000'000'000'000ULL;
constexpr std::uint64_t kPow10_15 = 1'000'000'000'000'000ULL;

__extension__ typedef unsigned __int128 u128;  // GCC and Clang on 64-bit targets

// Powers of five for the exact scaling: a float's 24-bit significand times 5^44
// still fits in 128 bits.
constexpr int kMaxPow5 = 44;
constexpr std::array<u128, kMaxPow5 + 1> kPow5 = [] {
  std::array<u128, kMaxPow5 + 1> powers{};
  powers[0] = 1;
  for (int i = 1; i <= kMaxPow5; ++i) powers[i] = powers[i - 1] * 5;
  return powers;
}();

// A positive value rounded to 18 significant digits: value ~ digits * 10^(exponent - 18),
// with 10^17 <= digits < 10^18.
struct Digits18 {
  std::uint64_t digits;
  int exponent;
};

// floor(v * 10^p) of v = m * 2^e2 exactly, with how the dropped part compares
// to one half. Returns false when p is outside the exactly handled range.
struct Scaled {
  u128 floor;
  int halfCompare;  // <0 below one half, 0 exactly one half, >0 above
};

bool ScaleExactly(std::uint32_t m, int e2, int p, Scaled& out) {
  const int shift = e2 + p;
  if (p >= 0) {
    if (p > kMaxPow5) return false;
    const u128 n = u128{m} * kPow5[p];  // v * 10^p = n * 2^shift
    if (shift >= 0) {                   // v * 10^p < 2 * 10^18 by the choice of p: no overflow
      out = {n << shift, -1};
      return true;
    }
    const int drop = -shift;
    if (drop >= 128) return false;
    const u128 rest = n & ((u128{1} << drop) - 1);
    const u128 half = u128{1} << (drop - 1);
    out = {n >> drop, rest < half ? -1 : (rest == half ? 0 : 1)};
    return true;
  }
  // v >= 10^18: v * 10^p = (m * 2^shift) / 5^-p with shift > 0.
  if (shift < 0 || shift > 127 - 24 || -p > kMaxPow5) return false;
  const u128 n = u128{m} << shift;
  const u128 divisor = kPow5[-p];
  const u128 rest = n % divisor;
  out = {n / divisor, 2 * rest < divisor ? -1 : 1};  // the divisor is odd: never a tie
  return true;
}

// Slow path for magnitudes the 128-bit scaling does not reach (below about
// 1e-27): the C library prints a float widened to double exactly, rounding to
// nearest even.
Digits18 Digits18ByPrintf(float magnitude) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*e", kDigits - 1, static_cast<double>(magnitude));
  std::uint64_t digits = static_cast<std::uint64_t>(buffer[0] - '0');
  for (int i = 2; i < kDigits + 1; ++i)
    digits = digits * 10 + static_cast<std::uint64_t>(buffer[i] - '0');
  const int power = std::atoi(buffer + kDigits + 2);  // after "d.ddd...e"
  return {digits, power + 1};
}

// Rounds a positive finite float to 18 significant digits, ties to even.
Digits18 ToDigits18(float magnitude) {
  const auto bits = std::bit_cast<std::uint32_t>(magnitude);
  const std::uint32_t biased = bits >> 23;
  std::uint32_t m = bits & 0x7FFFFFu;
  int e2 = -149;
  if (biased != 0) {
    m |= 0x800000u;
    e2 = static_cast<int>(biased) - 150;
  }
  const int top = e2 + static_cast<int>(std::bit_width(m)) - 1;  // 2^top <= v < 2^(top+1)
  // floor(top * log10(2)); the decimal exponent of v is this or one more.
  const int k = (top * 78913) >> 18;
  int p = 17 - k;
  Scaled scaled{};
  if (!ScaleExactly(m, e2, p, scaled)) return Digits18ByPrintf(magnitude);
  if (scaled.floor >= kPow10_18 || scaled.floor < kPow10_17) {
    p += scaled.floor < kPow10_17 ? 1 : -1;
    if (!ScaleExactly(m, e2, p, scaled)) return Digits18ByPrintf(magnitude);
  }
  auto digits = static_cast<std::uint64_t>(scaled.floor);
  if (scaled.halfCompare > 0 || (scaled.halfCompare == 0 && (digits & 1) != 0)) ++digits;
  if (digits == kPow10_18) {
    digits = kPow10_17;
    --p;
  }
  return {digits, kDigits - p};
}

// The two-digit pairs "00" to "99", so that digits are produced two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Writes the decimal digits of 10^14 <= digits < 10^15, two independent halves
// at a time.
void WriteDigits15(std::uint64_t digits, char* text) {
  auto high = static_cast<std::uint32_t>(digits / 100'000'000);  // 7 digits
  auto low = static_cast<std::uint32_t>(digits % 100'000'000);   // 8 digits
  for (int at = 13; at >= 7; at -= 2) {
    std::memcpy(text + at, &kDigitPairs[2 * (low % 100)], 2);
    low /= 100;
  }
  for (int at = 5; at >= 1; at -= 2) {
    std::memcpy(text + at, &kDigitPairs[2 * (high % 100)], 2);
    high /= 100;
  }
  text[0] = static_cast<char>('0' + high);
}

// The general decimal format of a finite float with 15 significant digits.
// Writes into `out` (at least 32 characters) and returns the length.
int FormatGeneral(float value, QChar separator, QChar* out) {
  int length = 0;
  if (value == 0.0f) {
    out[length++] = QLatin1Char('0');
    return length;
  }
  if (std::signbit(value)) out[length++] = QLatin1Char('-');

  const Digits18 rounded = ToDigits18(std::fabs(value));
  std::uint64_t digits = rounded.digits / 1000;  // 15 digits
  int exponent = rounded.exponent;               // value = 0.d1d2... * 10^exponent
  if ((rounded.digits / 100) % 10 >= 5) ++digits;
  if (digits == kPow10_15) {
    digits = kPow10_14;
    ++exponent;
  }
  char text[kSignificant];
  WriteDigits15(digits, text);
  int count = kSignificant;
  while (text[count - 1] == '0') --count;  // the first digit is never 0

  if (exponent >= -3 && exponent <= 15) {
    if (exponent >= 1) {
      for (int i = 0; i < exponent; ++i) out[length++] = QLatin1Char(i < count ? text[i] : '0');
      if (count > exponent) {
        out[length++] = separator;
        for (int i = exponent; i < count; ++i) out[length++] = QLatin1Char(text[i]);
      }
    } else {
      out[length++] = QLatin1Char('0');
      out[length++] = separator;
      for (int i = 0; i < -exponent; ++i) out[length++] = QLatin1Char('0');
      for (int i = 0; i < count; ++i) out[length++] = QLatin1Char(text[i]);
    }
    return length;
  }
  out[length++] = QLatin1Char(text[0]);
  if (count > 1) {
    out[length++] = separator;
    for (int i = 1; i < count; ++i) out[length++] = QLatin1Char(text[i]);
  }
  out[length++] = QLatin1Char('E');
  int power = exponent - 1;
  if (power < 0) {
    out[length++] = QLatin1Char('-');
    power = -power;
  }
  char reversed[4];
  int places = 0;
  do {
    reversed[places++] = static_cast<char>('0' + power % 10);
    power /= 10;
  } while (power != 0);
  while (places > 0) out[length++] = QLatin1Char(reversed[--places]);
  return length;
}

int CutWidth(ChannelKind kind) {
  switch (kind) {
    case ChannelKind::Voltage:
      return std::numeric_limits<int>::max();
    case ChannelKind::Current:
      return 3;
    case ChannelKind::Temperature:
      return 4;
  }
  return std::numeric_limits<int>::max();
}

void RequireFinite(float value) {
  if (std::isnan(value)) throw Error(QStringLiteral("Invalid floating point operation"));
  if (std::isinf(value)) throw Error(QStringLiteral("Floating point overflow"));
}

// Rounds half to even, saturating at the 32-bit range (a gauge shows the
// nearer end of its scale for any position outside it).
std::int32_t GaugePosition(float value) {
  const float below = std::floor(value);
  const float fraction = value - below;  // exact: 0 <= fraction < 1
  double rounded = below;
  // A half occurs only below 2^23, where `below` converts to an integer exactly.
  if (fraction > 0.5f || (fraction == 0.5f && (static_cast<std::int32_t>(below) & 1) != 0)) {
    rounded += 1.0;
  }
  if (rounded <= std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  if (rounded >= std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(rounded);
}

float ChannelValue(ChannelKind kind, std::uint16_t raw, long double offset) {
  switch (kind) {
    case ChannelKind::Voltage: {
      const auto atInput = static_cast<float>(static_cast<long double>(raw) * kVoltsPerStep);
      return static_cast<float>((static_cast<long double>(atInput) - kSensorZero) * kVoltageGain);
    }
    case ChannelKind::Current:
      return static_cast<float>(static_cast<long double>(raw) * kVoltsPerStep);
    case ChannelKind::Temperature: {
      const float degrees = static_cast<float>(raw) * kDegreesPerStep;  // exact
      const auto userOffset = static_cast<float>(offset);
      return static_cast<float>(static_cast<long double>(degrees) +
                                static_cast<long double>(userOffset));
    }
  }
  return 0.0f;
}

[[noreturn]] void ThrowNotAFloat(const QString& text) {
  throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

// Text to long double in the "C" convention, independent of the process locale.
long double StrToLongDoubleC(const std::string& text, bool& ok) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  char* end = nullptr;
  const long double value = strtold_l(text.c_str(), &end, cLocale);
  ok = end == text.c_str() + text.size() && !std::isinf(value);
  return value;
}

}  // namespace

ChannelKind KindOf(ChannelId channel) {
  switch (channel) {
    case ChannelId::Volt1:
    case ChannelId::Volt2:
    case ChannelId::Volt3:
      return ChannelKind::Voltage;
    case ChannelId::Ampere1:
    case ChannelId::Ampere2:
    case ChannelId::Ampere3:
    case ChannelId::Ampere4:
      return ChannelKind::Current;
    case ChannelId::Temp1:
    case ChannelId::Temp2:
      return ChannelKind::Temperature;
  }
  return ChannelKind::Voltage;
}

std::array<std::uint16_t, kChannelCount> DecodeFrame(
    std::span<const std::uint8_t, kFrameSize> bytes) {
  std::array<std::uint16_t, kChannelCount> raw{};
  for (std::size_t i = 0; i < kChannelCount; ++i) {
    raw[i] = static_cast<std::uint16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
  }
  return raw;
}

ChannelReading ComputeReading(ChannelId channel, std::uint16_t raw, long double offset,
                              QChar decimalSeparator) {
  const ChannelKind kind = KindOf(channel);
  const float value = ChannelValue(kind, raw, offset);
  RequireFinite(value);
  return {value, GaugePosition(value), ReadoutText(kind, value, decimalSeparator)};
}

QString ReadoutText(ChannelKind kind, float value, QChar decimalSeparator) {
  RequireFinite(value);
  QChar text[32];
  const int length = FormatGeneral(value, decimalSeparator, text);
  return QString(text, std::min(length, CutWidth(kind)));
}

QString IdleText(ChannelKind kind) {
  return kind == ChannelKind::Temperature ? QStringLiteral("0") : QStringLiteral("0,0");
}

bool IsRefreshed(ChannelKind kind, bool enabled, int frameParity) {
  if (kind == ChannelKind::Voltage) return enabled && frameParity == 1;
  return enabled;
}

FrameResult ComputeFrame(std::span<const std::uint8_t, kFrameSize> bytes,
                         const std::array<bool, kChannelCount>& enabled, long double offset1,
                         long double offset2, int frameParity, QChar decimalSeparator) {
  const auto raw = DecodeFrame(bytes);
  FrameResult result{{}, frameParity == 1 ? 0 : 1};
  for (std::size_t i = 0; i < kChannelCount; ++i) {
    const ChannelId channel = kAllChannels[i];
    if (!IsRefreshed(KindOf(channel), enabled[i], frameParity)) continue;
    const long double offset = channel == ChannelId::Temp2 ? offset2 : offset1;
    result.readings[i] = ComputeReading(channel, raw[i], offset, decimalSeparator);
  }
  return result;
}

long double ParseOffsetText(const QString& text, const QLocale& locale) {
  const QString separator = locale.decimalPoint();
  const QString minus = locale.negativeSign();
  const QString plus = locale.positiveSign();
  const QStringView view(text);
  qsizetype at = 0;
  const auto skipBlanks = [&] {
    while (at < view.size() && view[at] == QLatin1Char(' ')) ++at;
  };
  const auto accept = [&](QStringView token) {
    if (token.isEmpty() || !view.mid(at).startsWith(token)) return false;
    at += token.size();
    return true;
  };
  const auto acceptSign = [&](std::string& out) {
    if (accept(u"-") || accept(minus)) {
      out += '-';
    } else if (!accept(u"+")) {
      accept(plus);
    }
  };
  const auto acceptDigits = [&](std::string& out) {
    const auto start = out.size();
    while (at < view.size() && view[at] >= QLatin1Char('0') && view[at] <= QLatin1Char('9')) {
      out += static_cast<char>(view[at].unicode());
      ++at;
    }
    return out.size() - start;
  };

  std::string normalized;
  skipBlanks();
  acceptSign(normalized);
  std::size_t mantissaDigits = acceptDigits(normalized);
  if (accept(separator)) {
    normalized += '.';
    mantissaDigits += acceptDigits(normalized);
  }
  if (mantissaDigits == 0) ThrowNotAFloat(text);
  if (accept(u"e") || accept(u"E")) {
    normalized += 'e';
    acceptSign(normalized);
    if (acceptDigits(normalized) == 0) ThrowNotAFloat(text);
  }
  skipBlanks();
  if (at != view.size()) ThrowNotAFloat(text);

  bool ok = false;
  const long double value = StrToLongDoubleC(normalized, ok);
  if (!ok) ThrowNotAFloat(text);
  return value;
}

}  // namespace orvex
