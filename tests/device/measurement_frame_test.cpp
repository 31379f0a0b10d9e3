#include "device/measurement_frame.h"

#include "core/error.h"
#include "support/test_printers.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace orvex {
namespace {

const QChar kComma(u',');
const QChar kStop(u'.');

std::array<std::uint8_t, kFrameSize> FrameOf(const std::array<std::uint16_t, kChannelCount>& raw) {
  std::array<std::uint8_t, kFrameSize> bytes{};
  for (std::size_t i = 0; i < kChannelCount; ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(raw[i] >> 8);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(raw[i] & 0xFF);
  }
  return bytes;
}

QLocale CommaLocale() { return QLocale(QLocale::German, QLocale::Germany); }
QLocale StopLocale() { return QLocale(QLocale::English, QLocale::UnitedStates); }

// ---------------------------------------------------------------------------
// Decoding

TEST(DecodeFrameTest, FieldsAreBigEndianInChannelOrder) {
  std::array<std::uint8_t, kFrameSize> bytes{};
  bytes[6] = 0x01;
  bytes[7] = 0x02;
  EXPECT_EQ(DecodeFrame(bytes)[static_cast<int>(ChannelId::Ampere1)], 258);

  const std::array<std::uint8_t, kFrameSize> mixed = {0x00, 0x01, 0x00, 0x02, 0x00, 0x03,
                                                      0x10, 0x04, 0x20, 0x05, 0x30, 0x06,
                                                      0x40, 0x07, 0x80, 0x08, 0xFF, 0xFF};
  const std::array<std::uint16_t, kChannelCount> expected = {1,      2,      3,      0x1004, 0x2005,
                                                             0x3006, 0x4007, 0x8008, 0xFFFF};
  EXPECT_EQ(DecodeFrame(mixed), expected);
}

TEST(ChannelKindTest, KindsFollowTheChannelOrder) {
  const std::array<ChannelKind, kChannelCount> kinds = {
      ChannelKind::Voltage, ChannelKind::Voltage,     ChannelKind::Voltage,
      ChannelKind::Current, ChannelKind::Current,     ChannelKind::Current,
      ChannelKind::Current, ChannelKind::Temperature, ChannelKind::Temperature};
  for (std::size_t i = 0; i < kChannelCount; ++i) {
    EXPECT_EQ(static_cast<std::size_t>(kAllChannels[i]), i);
    EXPECT_EQ(KindOf(kAllChannels[i]), kinds[i]) << "channel " << i;
  }
}

// ---------------------------------------------------------------------------
// Readings: the worked examples

struct ReadingCase {
  ChannelId channel;
  std::uint16_t raw;
  long double offset;
  QChar separator;
  float value;
  std::int32_t position;
  const char16_t* text;
};

void PrintTo(const ReadingCase& c, std::ostream* os) {
  *os << "channel " << static_cast<int>(c.channel) << " raw " << c.raw << " offset "
      << static_cast<double>(c.offset) << " separator " << static_cast<char>(c.separator.unicode());
}

class ReadingExamples : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(ReadingExamples, ValuePositionAndText) {
  const ReadingCase& c = GetParam();
  const ChannelReading reading = ComputeReading(c.channel, c.raw, c.offset, c.separator);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(reading.value), std::bit_cast<std::uint32_t>(c.value))
      << "value " << reading.value << " expected " << c.value;
  EXPECT_EQ(reading.position, c.position);
  EXPECT_EQ(reading.text, QString::fromUtf16(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Voltage, ReadingExamples,
    ::testing::Values(
        ReadingCase{ChannelId::Volt1, 0, 0, kComma, -4.5f, -4, u"-4,5"},
        ReadingCase{ChannelId::Volt2, 1000, 0, kComma, 19.669921875f, 20, u"19,669921875"},
        ReadingCase{ChannelId::Volt3, 2048, 0, kComma, 45.0f, 45, u"45"},
        ReadingCase{ChannelId::Volt1, 4095, 0, kComma, 94.475830078125f, 94, u"94,475830078125"},
        ReadingCase{ChannelId::Volt1, 4096, 0, kComma, 94.5f, 94, u"94,5"},
        ReadingCase{ChannelId::Volt1, 65535, 0, kComma, 1579.475830078125f, 1579,
                    u"1579,47583007813"},
        ReadingCase{ChannelId::Volt1, 186, 0, kComma, -0.0043946206569671630859375f, 0,
                    u"-0,00439462065696716"},
        // Needs the extended-precision steps and the held 0.15; in double
        // precision this would read "0,55151379108429".
        ReadingCase{ChannelId::Volt1, 209, 0, kComma, 0.551513731479644775390625f, 1,
                    u"0,551513731479645"},
        ReadingCase{ChannelId::Volt1, 1000, 0, kStop, 19.669921875f, 20, u"19.669921875"}));

INSTANTIATE_TEST_SUITE_P(
    Current, ReadingExamples,
    ::testing::Values(ReadingCase{ChannelId::Ampere1, 0, 0, kComma, 0.0f, 0, u"0"},
                      ReadingCase{ChannelId::Ampere2, 1, 0, kComma, 0.0008056640625f, 0, u"0,0"},
                      ReadingCase{ChannelId::Ampere3, 1000, 0, kComma, 0.8056640625f, 1, u"0,8"},
                      ReadingCase{ChannelId::Ampere4, 20480, 0, kComma, 16.5f, 16, u"16,"},
                      ReadingCase{ChannelId::Ampere1, 4095, 0, kComma, 3.2991943359375f, 3, u"3,2"},
                      ReadingCase{ChannelId::Ampere1, 65535, 0, kComma, 52.7991943359375f, 53,
                                  u"52,"},
                      ReadingCase{ChannelId::Ampere1, 1000, 0, kStop, 0.8056640625f, 1, u"0.8"},
                      ReadingCase{ChannelId::Ampere1, 20480, 0, kStop, 16.5f, 16, u"16."}));

INSTANTIATE_TEST_SUITE_P(
    Temperature, ReadingExamples,
    ::testing::Values(ReadingCase{ChannelId::Temp1, 0, 0, kComma, 0.0f, 0, u"0"},
                      ReadingCase{ChannelId::Temp1, 392, 0, kComma, 24.5f, 24, u"24,5"},
                      ReadingCase{ChannelId::Temp2, 408, 0, kComma, 25.5f, 26, u"25,5"},
                      ReadingCase{ChannelId::Temp1, 400, 0, kComma, 25.0f, 25, u"25"},
                      ReadingCase{ChannelId::Temp1, 401, 0, kComma, 25.0625f, 25, u"25,0"},
                      ReadingCase{ChannelId::Temp1, 65535, 0, kComma, 4095.9375f, 4096, u"4095"},
                      ReadingCase{ChannelId::Temp1, 400, -1.5L, kComma, 23.5f, 24, u"23,5"},
                      ReadingCase{ChannelId::Temp2, 4000, 2.5L, kComma, 252.5f, 252, u"252,"},
                      // The offset is held in single precision: 1e-5 becomes
                      // 9,99999974737875E-6 before the cut.
                      ReadingCase{ChannelId::Temp1, 0, 1e-5L, kComma, 1e-5f, 0, u"9,99"},
                      ReadingCase{ChannelId::Temp1, 0, -12.25L, kComma, -12.25f, -12, u"-12,"},
                      ReadingCase{ChannelId::Temp1, 392, 0, kStop, 24.5f, 24, u"24.5"}));

TEST(ComputeReadingTest, OffsetIsRoundedToSinglePrecisionBeforeTheSum) {
  // 0.1 held as a float is 0.100000001490116...; raw 1 adds 0.0625 in extended
  // precision and the sum is rounded to single once.
  const ChannelReading reading = ComputeReading(ChannelId::Temp1, 1, 0.1L, kComma);
  EXPECT_EQ(reading.value, static_cast<float>(0.0625L + static_cast<long double>(0.1f)));
  EXPECT_EQ(reading.text, QStringLiteral("0,16"));
}

TEST(ComputeReadingTest, OffsetOnlyMattersForTemperatures) {
  EXPECT_EQ(ComputeReading(ChannelId::Volt1, 1000, 100.0L, kComma).text,
            QStringLiteral("19,669921875"));
  EXPECT_EQ(ComputeReading(ChannelId::Ampere1, 1000, 100.0L, kComma).text, QStringLiteral("0,8"));
}

TEST(ComputeReadingTest, HugeOffsetSaturatesThePositionAndOverflowIsAnError) {
  const ChannelReading huge = ComputeReading(ChannelId::Temp1, 0, 3e38L, kComma);
  EXPECT_EQ(huge.position, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(huge.text, QStringLiteral("3,00"));
  EXPECT_EQ(ComputeReading(ChannelId::Temp1, 0, -3e10L, kComma).position,
            std::numeric_limits<std::int32_t>::min());

  try {
    ComputeReading(ChannelId::Temp2, 100, 1e39L, kComma);
    FAIL() << "an offset beyond single precision must not give a reading";
  } catch (const Error& e) {
    EXPECT_EQ(e.text(), QStringLiteral("Floating point overflow"));
  }
}

// ---------------------------------------------------------------------------
// Read-out text of arbitrary values

struct TextCase {
  ChannelKind kind;
  float value;
  const char16_t* text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << "kind " << static_cast<int>(c.kind) << " value " << std::hexfloat << c.value;
}

class ReadoutTextExamples : public ::testing::TestWithParam<TextCase> {};

TEST_P(ReadoutTextExamples, GeneralFormatThenCut) {
  const TextCase& c = GetParam();
  EXPECT_EQ(ReadoutText(c.kind, c.value, kComma), QString::fromUtf16(c.text))
      << "value " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ReadoutTextExamples,
    ::testing::Values(
        TextCase{ChannelKind::Voltage, 0.0f, u"0"}, TextCase{ChannelKind::Voltage, -0.0f, u"0"},
        TextCase{ChannelKind::Voltage, 1.0f, u"1"}, TextCase{ChannelKind::Voltage, -2.0f, u"-2"},
        TextCase{ChannelKind::Voltage, 0x1p-13f, u"0,0001220703125"},
        TextCase{ChannelKind::Voltage, 0.0001f, u"9,99999974737875E-5"},
        TextCase{ChannelKind::Voltage, 0.5f, u"0,5"},
        TextCase{ChannelKind::Voltage, 100.0f, u"100"},
        TextCase{ChannelKind::Voltage, 1e14f, u"100000000376832"},
        TextCase{ChannelKind::Voltage, 1e15f, u"999999986991104"},
        TextCase{ChannelKind::Voltage, 0x1p50f, u"1,12589990684262E15"},
        TextCase{ChannelKind::Voltage, 1e16f, u"1,00000002725642E16"},
        TextCase{ChannelKind::Voltage, 1.5e30f, u"1,49999994701334E30"},
        TextCase{ChannelKind::Voltage, 1e-30f, u"1,00000000317108E-30"},
        TextCase{ChannelKind::Voltage, -1e-5f, u"-9,99999974737875E-6"},
        // 2^-26 = 1.490116119384765625E-8: the 18-digit rounding is a tie kept
        // even (…62), then the 16th digit 5 rounds up.
        TextCase{ChannelKind::Voltage, 0x1p-26f, u"1,49011611938477E-8"},
        // 0.000491042213980108499527…: 18 digits round to …108500, so the cut
        // rounds up, where rounding straight to 15 digits would not.
        TextCase{ChannelKind::Voltage, 8436041 * 0x1p-34f, u"0,000491042213980109"},
        TextCase{ChannelKind::Voltage, 8478333 * 0x1p-45f, u"2,40968716980206E-7"},
        TextCase{ChannelKind::Voltage, 0x1p-149f, u"1,40129846432482E-45"},
        TextCase{ChannelKind::Voltage, std::numeric_limits<float>::max(), u"3,40282346638529E38"},
        TextCase{ChannelKind::Current, -0.5f, u"-0,"}, TextCase{ChannelKind::Current, 5.0f, u"5"},
        TextCase{ChannelKind::Current, 1e-5f, u"9,9"},
        TextCase{ChannelKind::Temperature, 123456.0f, u"1234"},
        TextCase{ChannelKind::Temperature, -0.125f, u"-0,1"}));

TEST(ReadoutTextTest, NonFiniteValuesAreErrors) {
  EXPECT_THROW(ReadoutText(ChannelKind::Voltage, std::numeric_limits<float>::infinity(), kComma),
               Error);
  EXPECT_THROW(ReadoutText(ChannelKind::Current, std::numeric_limits<float>::quiet_NaN(), kComma),
               Error);
}

TEST(IdleTextTest, IsOneTextPerKind) {
  EXPECT_EQ(IdleText(ChannelKind::Voltage), QStringLiteral("0,0"));
  EXPECT_EQ(IdleText(ChannelKind::Current), QStringLiteral("0,0"));
  EXPECT_EQ(IdleText(ChannelKind::Temperature), QStringLiteral("0"));
}

// ---------------------------------------------------------------------------
// Refresh rule and the whole frame

TEST(RefreshRuleTest, VoltagesOnlyOnParityOneOthersWheneverEnabled) {
  struct Row {
    ChannelKind kind;
    bool enabled;
    int parity;
    bool refreshed;
  };
  const Row rows[] = {
      {ChannelKind::Voltage, true, 1, true},     {ChannelKind::Voltage, true, 0, false},
      {ChannelKind::Voltage, false, 1, false},   {ChannelKind::Voltage, false, 0, false},
      {ChannelKind::Current, true, 0, true},     {ChannelKind::Current, true, 1, true},
      {ChannelKind::Current, false, 1, false},   {ChannelKind::Temperature, true, 0, true},
      {ChannelKind::Temperature, true, 1, true}, {ChannelKind::Temperature, false, 0, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(IsRefreshed(row.kind, row.enabled, row.parity), row.refreshed)
        << "kind " << static_cast<int>(row.kind) << " enabled " << row.enabled << " parity "
        << row.parity;
  }
}

TEST(ComputeFrameTest, AllZeroFrameWithEveryChannelEnabled) {
  const std::array<std::uint8_t, kFrameSize> zero{};
  std::array<bool, kChannelCount> enabled;
  enabled.fill(true);
  const FrameResult result = ComputeFrame(zero, enabled, 0, 0, 1, kComma);
  EXPECT_EQ(result.nextParity, 0);
  for (std::size_t i = 0; i < kChannelCount; ++i) {
    ASSERT_TRUE(result.readings[i].has_value()) << "channel " << i;
    const ChannelReading& r = *result.readings[i];
    switch (KindOf(kAllChannels[i])) {
      case ChannelKind::Voltage:
        EXPECT_EQ(r.text, QStringLiteral("-4,5"));
        EXPECT_EQ(r.position, -4);
        break;
      case ChannelKind::Current:
      case ChannelKind::Temperature:
        EXPECT_EQ(r.text, QStringLiteral("0"));
        EXPECT_EQ(r.position, 0);
        break;
    }
  }
}

TEST(ComputeFrameTest, EachChannelReadsItsOwnFieldAndEachThermometerItsOwnOffset) {
  const auto bytes = FrameOf({1000, 2048, 4096, 1, 1000, 20480, 65535, 400, 4000});
  std::array<bool, kChannelCount> enabled;
  enabled.fill(true);
  const FrameResult result = ComputeFrame(bytes, enabled, -1.5L, 2.5L, 1, kComma);
  const char16_t* texts[] = {u"19,669921875", u"45",  u"94,5", u"0,0", u"0,8",
                             u"16,",          u"52,", u"23,5", u"252,"};
  const std::int32_t positions[] = {20, 45, 94, 0, 1, 16, 53, 24, 252};
  for (std::size_t i = 0; i < kChannelCount; ++i) {
    ASSERT_TRUE(result.readings[i].has_value()) << "channel " << i;
    EXPECT_EQ(result.readings[i]->text, QString::fromUtf16(texts[i])) << "channel " << i;
    EXPECT_EQ(result.readings[i]->position, positions[i]) << "channel " << i;
  }
}

TEST(ComputeFrameTest, DisabledChannelsAndVoltagesOnParityZeroStayEmpty) {
  const auto bytes = FrameOf({1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000});
  const std::array<bool, kChannelCount> enabled = {true,  false, true,  false, true,
                                                   false, true,  false, true};
  const FrameResult even = ComputeFrame(bytes, enabled, 0, 0, 0, kComma);
  EXPECT_EQ(even.nextParity, 1);
  const FrameResult odd = ComputeFrame(bytes, enabled, 0, 0, 1, kComma);
  EXPECT_EQ(odd.nextParity, 0);
  for (std::size_t i = 0; i < kChannelCount; ++i) {
    const bool voltage = KindOf(kAllChannels[i]) == ChannelKind::Voltage;
    EXPECT_EQ(odd.readings[i].has_value(), enabled[i]) << "channel " << i;
    EXPECT_EQ(even.readings[i].has_value(), enabled[i] && !voltage) << "channel " << i;
  }
}

TEST(ComputeFrameTest, VoltagesFollowEverySecondFrameFromTheFirst) {
  const auto bytes = FrameOf({2048, 2048, 2048, 0, 0, 0, 0, 0, 0});
  std::array<bool, kChannelCount> enabled;
  enabled.fill(true);
  int parity = 0;  // as when the main window is created
  for (int frame = 1; frame <= 6; ++frame) {
    const FrameResult result = ComputeFrame(bytes, enabled, 0, 0, parity, kComma);
    EXPECT_EQ(result.readings[0].has_value(), frame % 2 == 0) << "frame " << frame;
    EXPECT_TRUE(result.readings[3].has_value()) << "frame " << frame;
    parity = result.nextParity;
  }
}

// ---------------------------------------------------------------------------
// Offset texts

struct ParseCase {
  const char16_t* text;
  long double value;
};

TEST(ParseOffsetTextTest, AcceptsLocaleNumbers) {
  const ParseCase comma[] = {
      {u"0", 0.0L},
      {u"-1,5", -1.5L},
      {u" 2,5 ", 2.5L},
      {u"1e3", 1000.0L},
      {u"+3", 3.0L},
      {u"1,5E-2", 0.015L},
      {u"-2,5e+1", -25.0L},
      {u",5", 0.5L},
      {u"5,", 5.0L},
      {u"0,1", 0.1L},
      {u"0,00001", 1e-5L},
      {u"  -0,0625", -0.0625L},
      {u"273,15", 273.15L},
      {u"1e-5000", 0.0L},
      {u"0,1000000000000000000000000000000000000001", 0.1L},
  };
  for (const ParseCase& c : comma) {
    EXPECT_EQ(ParseOffsetText(QString::fromUtf16(c.text), CommaLocale()), c.value)
        << QString::fromUtf16(c.text).toStdString();
  }
  const ParseCase stop[] = {{u"1.5", 1.5L}, {u"-0.25", -0.25L}, {u" 12.5e1 ", 125.0L}};
  for (const ParseCase& c : stop) {
    EXPECT_EQ(ParseOffsetText(QString::fromUtf16(c.text), StopLocale()), c.value)
        << QString::fromUtf16(c.text).toStdString();
  }
}

TEST(ParseOffsetTextTest, RejectsAnythingElseWithTheConversionError) {
  struct Row {
    const char16_t* text;
    bool commaLocale;
  };
  const Row rows[] = {
      {u"", true},      {u"   ", true},      {u"1.5", true},     {u"1,2,3", true},
      {u"+", true},     {u"-", true},        {u",", true},       {u"1.000,5", true},
      {u"1 000", true}, {u"1e", true},       {u"1e+", true},     {u"e3", true},
      {u"--1", true},   {u"- 1", true},      {u"1,5x", true},    {u"0x10", true},
      {u"inf", true},   {u"nan", true},      {u"1e99999", true}, {u"\uFF11", true},
      {u"1,5", false},  {u"1,000.5", false}, {u"1.2.3", false},
  };
  for (const Row& row : rows) {
    const QString text = QString::fromUtf16(row.text);
    try {
      ParseOffsetText(text, row.commaLocale ? CommaLocale() : StopLocale());
      ADD_FAILURE() << "accepted '" << text.toStdString() << "'";
    } catch (const Error& e) {
      EXPECT_EQ(e.text(),
                QLatin1Char('\'') + text + QStringLiteral("' is not a valid floating point value"));
    }
  }
}

TEST(ParseOffsetTextTest, DoesNotDependOnTheProcessLocale) {
  // QApplication may switch the C library to the user's locale; a comma
  // locale there must not change what the parser reads.
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  const char* commaLocale = nullptr;
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "fr_FR.utf8", "de_DE"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      commaLocale = name;
      break;
    }
  }
  if (commaLocale == nullptr) GTEST_SKIP() << "no C library locale with a decimal comma installed";
  const long double comma = ParseOffsetText(QStringLiteral("2,5"), CommaLocale());
  const long double stop = ParseOffsetText(QStringLiteral("2.5"), StopLocale());
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(comma, 2.5L);
  EXPECT_EQ(stop, 2.5L);
}

// ---------------------------------------------------------------------------
// Every raw value of every kind against a reference written independently:
// exact integer arithmetic on binary significands, rounding by hand, and the
// text from the exact decimal expansion of the float, handled as a string.

namespace reference {

__extension__ typedef unsigned __int128 u128;
__extension__ typedef __int128 i128;

// (-1)^negative * mantissa * 2^exp2, exactly.
struct Exact {
  bool negative = false;
  u128 mantissa = 0;
  int exp2 = 0;
};

int BitWidth(u128 x) {
  const auto high = static_cast<std::uint64_t>(x >> 64);
  if (high != 0) return 128 - std::countl_zero(high);
  return 64 - std::countl_zero(static_cast<std::uint64_t>(x));
}

// Round to `bits` significant bits, to nearest with ties to even.
Exact RoundTo(Exact x, int bits) {
  const int width = BitWidth(x.mantissa);
  if (width <= bits) return x;
  int drop = width - bits;
  u128 kept = x.mantissa >> drop;
  const u128 rest = x.mantissa - (kept << drop);
  const u128 half = u128{1} << (drop - 1);
  if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;
  if (BitWidth(kept) > bits) {  // carried into a new power of two; the low bit is 0
    kept >>= 1;
    ++drop;
  }
  return {x.negative, kept, x.exp2 + drop};
}

Exact Add(Exact a, Exact b) {
  const int exp2 = std::min(a.exp2, b.exp2);
  const u128 am = a.mantissa << (a.exp2 - exp2);
  const u128 bm = b.mantissa << (b.exp2 - exp2);
  if (a.negative == b.negative) return {a.negative, am + bm, exp2};
  if (am >= bm) return {a.negative, am - bm, exp2};
  return {b.negative, bm - am, exp2};
}

Exact Negate(Exact x) { return {!x.negative, x.mantissa, x.exp2}; }

// The long double nearest to n / d * 2^exp2 for d odd, from the integer quotient.
Exact Nearest64(u128 n, u128 d, int exp2) {
  u128 q = n / d;
  const u128 r = n % d;
  if (2 * r > d) ++q;
  return RoundTo({false, q, exp2}, 64);
}

// K = 3.3 / 4096 = 33 / (5 * 2^13) and 0.15 = 3 / (5 * 2^2), each to 64 bits.
const Exact kK = Nearest64(u128{33} << 61, 5, -74);
const Exact kZero15 = Nearest64(u128{3} << 64, 5, -66);

Exact FromLongDouble(long double x) {
  if (x == 0) return {std::signbit(x), 0, 0};
  int exp2 = 0;
  const long double fraction = std::frexp(std::fabs(x), &exp2);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  return {x < 0, mantissa, exp2 - 64};
}

float ToFloat(Exact x) {
  EXPECT_LE(BitWidth(x.mantissa), 24);
  const float magnitude =
      std::ldexp(static_cast<float>(static_cast<std::uint32_t>(x.mantissa)), x.exp2);
  return x.negative ? -magnitude : magnitude;
}

Exact Single(Exact x) { return RoundTo(RoundTo(x, 64), 24); }

Exact ChannelValue(ChannelKind kind, std::uint16_t raw, long double offset) {
  switch (kind) {
    case ChannelKind::Voltage: {
      const Exact atInput = Single({false, raw * kK.mantissa, kK.exp2});
      Exact difference = RoundTo(Add(atInput, Negate(kZero15)), 64);
      difference.mantissa *= 30;
      return Single(difference);
    }
    case ChannelKind::Current:
      return Single({false, raw * kK.mantissa, kK.exp2});
    case ChannelKind::Temperature: {
      const Exact userOffset = RoundTo(FromLongDouble(offset), 24);
      return Single(Add({false, raw, -4}, userOffset));
    }
  }
  return {};
}

std::int32_t Position(Exact x) {
  u128 whole = 0;
  if (x.exp2 >= 0) {
    whole = x.mantissa << x.exp2;
  } else {
    const int drop = -x.exp2;
    whole = drop >= 128 ? 0 : x.mantissa >> drop;
    const u128 rest = drop >= 128 ? x.mantissa : x.mantissa - (whole << drop);
    const u128 half = drop > 128 ? 0 : u128{1} << (drop - 1);
    if (drop <= 128 && (rest > half || (rest == half && (whole & 1) != 0))) ++whole;
  }
  const auto magnitude = static_cast<std::int64_t>(whole);
  return static_cast<std::int32_t>(x.negative ? -magnitude : magnitude);
}

// The exact decimal digits of a float as a string, with the place of the point:
// value = 0.digits * 10^exponent.
struct ExactDecimal {
  std::string digits;
  int exponent;
};

ExactDecimal Expand(Exact x) {
  // Base 10^9 limbs, least significant first.
  std::vector<std::uint64_t> limbs = {0};
  u128 m = x.mantissa;
  limbs.clear();
  while (m != 0) {
    limbs.push_back(static_cast<std::uint64_t>(m % 1'000'000'000));
    m /= 1'000'000'000;
  }
  const auto multiply = [&](std::uint64_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs) {
      const std::uint64_t product = limb * factor + carry;
      limb = product % 1'000'000'000;
      carry = product / 1'000'000'000;
    }
    while (carry != 0) {
      limbs.push_back(carry % 1'000'000'000);
      carry /= 1'000'000'000;
    }
  };
  int fractionDigits = 0;
  if (x.exp2 >= 0) {
    for (int i = 0; i < x.exp2; ++i) multiply(2);
  } else {
    for (int i = 0; i < -x.exp2; ++i) multiply(5);
    fractionDigits = -x.exp2;
  }
  std::string digits = std::to_string(limbs.back());
  for (auto it = limbs.rbegin() + 1; it != limbs.rend(); ++it) {
    const std::string part = std::to_string(*it);
    digits += std::string(9 - part.size(), '0') + part;
  }
  return {digits, static_cast<int>(digits.size()) - fractionDigits};
}

// Keeps the first `count` digits; adds one to them when `up`, carrying.
void Shorten(ExactDecimal& d, std::size_t count, bool up) {
  d.digits.resize(count);
  if (!up) return;
  for (auto i = static_cast<int>(count) - 1; i >= 0; --i) {
    if (d.digits[i] != '9') {
      ++d.digits[i];
      return;
    }
    d.digits[i] = '0';
  }
  d.digits.insert(d.digits.begin(), '1');
  d.digits.pop_back();
  ++d.exponent;
}

QString Text(ChannelKind kind, Exact x, QChar separator) {
  std::string text;
  if (x.mantissa == 0) {
    text = "0";
  } else {
    ExactDecimal d = Expand(x);
    if (d.digits.size() > 18) {
      const char next = d.digits[18];
      const bool beyond = d.digits.find_first_not_of('0', 19) != std::string::npos;
      const bool odd = (d.digits[17] - '0') % 2 == 1;
      Shorten(d, 18, next > '5' || (next == '5' && (beyond || odd)));
    }
    if (d.digits.size() > 15) Shorten(d, 15, d.digits[15] >= '5');
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    const int n = static_cast<int>(d.digits.size());
    const int e = d.exponent;
    const char sep = '#';
    if (e >= -3 && e <= 15) {
      if (e >= 1) {
        text = d.digits.substr(0, e) + std::string(std::max(0, e - n), '0');
        if (n > e) text += sep + d.digits.substr(e);
      } else {
        text = std::string("0") + sep + std::string(-e, '0') + d.digits;
      }
    } else {
      text = d.digits.substr(0, 1);
      if (n > 1) text += sep + d.digits.substr(1);
      text += "E" + std::to_string(e - 1);
    }
    if (x.negative) text.insert(text.begin(), '-');
  }
  QString result = QString::fromStdString(text);
  result.replace(QLatin1Char('#'), separator);
  switch (kind) {
    case ChannelKind::Voltage:
      return result;
    case ChannelKind::Current:
      return result.left(3);
    case ChannelKind::Temperature:
      return result.left(4);
  }
  return result;
}

Exact FromFloat(float value) { return RoundTo(FromLongDouble(value), 24); }

}  // namespace reference

TEST(ReferenceTest, HeldConstantsLieWhereStated) {
  using reference::i128;
  using reference::u128;
  // held - exact, scaled to an integer: 0.15 = 3/20 held as m * 2^-66 and
  // K = 33/40960 held as m * 2^-74.
  const auto zeroError = static_cast<long double>(
      static_cast<i128>(reference::kZero15.mantissa * 20) - static_cast<i128>(u128{3} << 66));
  const auto kError = static_cast<long double>(static_cast<i128>(reference::kK.mantissa * 40960) -
                                               static_cast<i128>(u128{33} << 74));
  EXPECT_EQ(reference::kZero15.exp2, -66);
  EXPECT_EQ(reference::kK.exp2, -74);
  EXPECT_NEAR(static_cast<double>(std::ldexp(zeroError / 20, -66) * 1e21L), 5.4, 0.05);
  EXPECT_NEAR(static_cast<double>(std::ldexp(kError / 40960, -74) * 1e23L), -1.1, 0.05);
}

struct SweepCase {
  ChannelId channel;
  long double offset;
};

void PrintTo(const SweepCase& c, std::ostream* os) {
  *os << "channel " << static_cast<int>(c.channel) << " offset " << static_cast<double>(c.offset);
}

class EveryRawValue : public ::testing::TestWithParam<SweepCase> {};

TEST_P(EveryRawValue, MatchesTheReference) {
  const SweepCase& c = GetParam();
  const ChannelKind kind = KindOf(c.channel);
  int failures = 0;
  for (std::uint32_t raw = 0; raw <= 0xFFFF && failures < 10; ++raw) {
    const auto r = static_cast<std::uint16_t>(raw);
    const reference::Exact exact = reference::ChannelValue(kind, r, c.offset);
    const float expectedValue = reference::ToFloat(exact);
    const std::int32_t expectedPosition = reference::Position(exact);
    const QString expectedText = reference::Text(kind, exact, kComma);
    const ChannelReading reading = ComputeReading(c.channel, r, c.offset, kComma);
    if (std::bit_cast<std::uint32_t>(reading.value) !=
            std::bit_cast<std::uint32_t>(expectedValue) ||
        reading.position != expectedPosition || reading.text != expectedText) {
      ++failures;
      ADD_FAILURE() << "raw " << raw << ": value " << reading.value << " position "
                    << reading.position << " text " << reading.text.toStdString() << "; expected "
                    << expectedValue << ", " << expectedPosition << ", "
                    << expectedText.toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EveryRawValue,
    ::testing::Values(SweepCase{ChannelId::Volt1, 0}, SweepCase{ChannelId::Ampere1, 0},
                      SweepCase{ChannelId::Temp1, 0}, SweepCase{ChannelId::Temp2, -1.5L},
                      SweepCase{ChannelId::Temp1, 0.1L}, SweepCase{ChannelId::Temp2, -273.15L},
                      SweepCase{ChannelId::Temp1, 1e-5L}));

TEST(ReadoutTextSweep, FloatsAcrossTheWholeRangeMatchTheReference) {
  // Every power of two (digit strings ending in ...5, ties included) and a
  // stride through all positive finite bit patterns.
  std::vector<float> values;
  for (int e = -149; e <= 127; ++e) {
    const float power = std::ldexp(1.0f, e);
    values.push_back(power);
    values.push_back(std::nextafter(power, 0.0f));
    values.push_back(std::nextafter(power, std::numeric_limits<float>::infinity()));
  }
  for (std::uint32_t bits = 1; bits < 0x7F800000u; bits += 7919)
    values.push_back(std::bit_cast<float>(bits));
  int failures = 0;
  for (const float value : values) {
    if (!std::isfinite(value) || value == 0.0f) continue;
    for (const float signedValue : {value, -value}) {
      const QString expected =
          reference::Text(ChannelKind::Voltage, reference::FromFloat(signedValue), kStop);
      const QString actual = ReadoutText(ChannelKind::Voltage, signedValue, kStop);
      if (actual != expected && ++failures < 10) {
        ADD_FAILURE() << "bits " << std::hex << std::bit_cast<std::uint32_t>(signedValue) << ": "
                      << actual.toStdString() << " expected " << expected.toStdString();
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace orvex
