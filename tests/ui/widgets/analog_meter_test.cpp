#include "ui/widgets/analog_meter.h"

#include "support/test_printers.h"
#include "ui/widgets/rendering.h"

#include <gtest/gtest.h>

#include <QVariant>

#include <climits>
#include <vector>

namespace orvex {
namespace {

using test::BrightGrey;
using test::CentroidX;
using test::CountPixels;
using test::Near;
using test::Render;

const QColor kAqua(0x00, 0xFF, 0xFF);
const QColor kOrange(0xFF, 0x80, 0x40);

// A meter at the size the main window gives it.
struct MeterFixture {
  explicit MeterFixture(int min = 0, int max = 100) {
    meter.resize(393, 214);
    meter.setMinValue(min);
    meter.setMaxValue(max);
    meter.setMinValue(min);
  }
  AnalogMeter meter;
};

struct ClampCase {
  int min;
  int max;
  int set;
  int expected;
};
void PrintTo(const ClampCase& c, std::ostream* os) {
  *os << c.min << ".." << c.max << " set " << c.set;
}

class MeterClamp : public ::testing::TestWithParam<ClampCase> {};

TEST_P(MeterClamp, PositionStaysOnTheScale) {
  const ClampCase& c = GetParam();
  MeterFixture f(c.min, c.max);
  f.meter.setPosition(c.set);
  EXPECT_EQ(f.meter.position(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MeterClamp,
    ::testing::Values(ClampCase{0, 100, 47, 47}, ClampCase{0, 100, 150, 100},
                      ClampCase{0, 100, -4, 0}, ClampCase{0, 100, 100, 100},
                      ClampCase{-100, 100, -35, -35}, ClampCase{-100, 100, -101, -100},
                      ClampCase{-100, 100, INT_MAX, 100}, ClampCase{-100, 100, INT_MIN, -100},
                      ClampCase{INT_MIN, INT_MAX, INT_MIN, INT_MIN}, ClampCase{7, 7, 0, 7}));

TEST(AnalogMeter, ShrinkingTheScaleMovesThePositionToTheNearerEnd) {
  MeterFixture f;
  f.meter.setPosition(35);
  f.meter.setMaxValue(20);
  EXPECT_EQ(f.meter.position(), 20);
  // Widening again does not bring back the old position.
  f.meter.setMaxValue(100);
  EXPECT_EQ(f.meter.position(), 20);

  MeterFixture signedMeter(-100, 100);
  signedMeter.meter.setPosition(-80);
  signedMeter.meter.setMaxValue(50);
  signedMeter.meter.setMinValue(-50);
  EXPECT_EQ(signedMeter.meter.position(), -50);
}

TEST(AnalogMeter, RefusesAMaximumBelowTheMinimum) {
  MeterFixture f(0, 100);
  f.meter.setPosition(60);
  f.meter.setMaxValue(-1);
  EXPECT_EQ(f.meter.maxValue(), 100);
  f.meter.setMinValue(101);
  EXPECT_EQ(f.meter.minValue(), 0);
  EXPECT_EQ(f.meter.position(), 60);

  // A one-point scale is accepted.
  f.meter.setMaxValue(0);
  EXPECT_EQ(f.meter.maxValue(), 0);
  EXPECT_EQ(f.meter.position(), 0);
}

TEST(AnalogMeter, SymmetricSpansChangeMaximumFirstWithoutRefusal) {
  MeterFixture f(-100, 100);
  for (int end : {50, 20, 100}) {
    f.meter.setMaxValue(end);
    f.meter.setMinValue(-end);
    EXPECT_EQ(f.meter.maxValue(), end);
    EXPECT_EQ(f.meter.minValue(), -end);
  }
}

TEST(AnalogMeter, PropertiesAreReachableByName) {
  MeterFixture f;
  ASSERT_TRUE(f.meter.setProperty("MaxValue", 20));
  ASSERT_TRUE(f.meter.setProperty("MinValue", -5));
  ASSERT_TRUE(f.meter.setProperty("Position", 35));
  ASSERT_TRUE(f.meter.setProperty("Caption", QStringLiteral("Voltage 1")));
  ASSERT_TRUE(f.meter.setProperty("ScaleColor", kOrange));
  EXPECT_EQ(f.meter.property("MaxValue").toInt(), 20);
  EXPECT_EQ(f.meter.property("MinValue").toInt(), -5);
  EXPECT_EQ(f.meter.property("Position").toInt(), 20);
  EXPECT_EQ(f.meter.property("Caption").toString(), QStringLiteral("Voltage 1"));
  EXPECT_EQ(f.meter.property("ScaleColor").value<QColor>(), kOrange);
}

struct LabelCase {
  int min;
  int max;
  std::vector<int> ticks;
  QStringList texts;
};
void PrintTo(const LabelCase& c, std::ostream* os) { *os << c.min << ".." << c.max; }

class MeterLabels : public ::testing::TestWithParam<LabelCase> {};

TEST_P(MeterLabels, FallOnTicksAndRoundNumbers) {
  const LabelCase& c = GetParam();
  test::DefaultLocale locale{QLocale::c()};
  std::vector<int> ticks;
  QStringList texts;
  for (const AnalogMeter::ScaleLabel& label : AnalogMeter::ScaleLabels(c.min, c.max)) {
    ticks.push_back(label.tick);
    texts.push_back(label.text);
  }
  EXPECT_EQ(ticks, c.ticks);
  EXPECT_EQ(texts, c.texts);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MeterLabels,
    ::testing::Values(
        LabelCase{0, 100, {0, 12, 24, 36, 48, 60}, {"0", "20", "40", "60", "80", "100"}},
        LabelCase{-100, 100, {0, 15, 30, 45, 60}, {"-100", "-50", "0", "50", "100"}},
        LabelCase{-50, 50, {0, 15, 30, 45, 60}, {"-50", "-25", "0", "25", "50"}},
        LabelCase{-20, 20, {0, 15, 30, 45, 60}, {"-20", "-10", "0", "10", "20"}},
        LabelCase{0, 400, {0, 15, 30, 45, 60}, {"0", "100", "200", "300", "400"}},
        LabelCase{0, 30, {0, 10, 20, 30, 40, 50, 60}, {"0", "5", "10", "15", "20", "25", "30"}},
        // Whole numbers exist but none is round.
        LabelCase{0, 36, {0, 10, 20, 30, 40, 50, 60}, {"0", "6", "12", "18", "24", "30", "36"}},
        // No spacing gives whole numbers: the true values of the ticks.
        LabelCase{0,
                  7,
                  {0, 10, 20, 30, 40, 50, 60},
                  {"0.00", "1.17", "2.33", "3.50", "4.67", "5.83", "7.00"}},
        LabelCase{5, 5, {0, 60}, {"5", "5"}},
        // The widest scale must not overflow.
        LabelCase{INT_MIN,
                  INT_MAX,
                  {0, 12, 24, 36, 48, 60},
                  {"-2147483648", "-1288490189", "-429496730", "429496729", "1288490188",
                   "2147483647"}}));

// The needle is the one bright grey thing above the hub when the scale is blue
// and there is no caption; which side its pixels lie on says where it points.
enum class Side { Left, Centre, Right };

struct NeedleCase {
  int min;
  int max;
  int position;
  Side side;
};
void PrintTo(const NeedleCase& c, std::ostream* os) {
  *os << c.min << ".." << c.max << " at " << c.position;
}

class MeterNeedle : public ::testing::TestWithParam<NeedleCase> {};

TEST_P(MeterNeedle, PointsToThePositionOnTheScale) {
  const NeedleCase& c = GetParam();
  MeterFixture f(c.min, c.max);
  f.meter.setScaleColor(Qt::blue);
  f.meter.setPosition(c.position);
  const QImage image = Render(f.meter);
  const QRect aboveHub(0, 0, image.width(), int(image.height() * 0.6));
  const double x = CentroidX(image, aboveHub, BrightGrey(200));
  ASSERT_GE(x, 0) << "no needle drawn";
  const double middle = image.width() / 2.0;
  switch (c.side) {
    case Side::Left:
      EXPECT_LT(x, middle - 40);
      break;
    case Side::Centre:
      EXPECT_NEAR(x, middle, 8);
      break;
    case Side::Right:
      EXPECT_GT(x, middle + 40);
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MeterNeedle,
    ::testing::Values(NeedleCase{0, 100, 0, Side::Left}, NeedleCase{0, 100, 100, Side::Right},
                      NeedleCase{0, 100, 50, Side::Centre}, NeedleCase{0, 100, 500, Side::Right},
                      NeedleCase{-100, 100, 0, Side::Centre},
                      NeedleCase{-100, 100, -100, Side::Left}, NeedleCase{0, 20, 15, Side::Right},
                      NeedleCase{5, 5, 5, Side::Left}));

TEST(AnalogMeter, DrawsTheScaleInTheScaleColour) {
  MeterFixture f;
  f.meter.setScaleColor(kAqua);
  const QImage aqua = Render(f.meter);
  EXPECT_GT(CountPixels(aqua, Near(kAqua)), 300);
  EXPECT_EQ(CountPixels(aqua, Near(kOrange, 40)), 0);

  f.meter.setScaleColor(kOrange);
  const QImage orange = Render(f.meter);
  EXPECT_GT(CountPixels(orange, Near(kOrange)), 300);
  EXPECT_EQ(CountPixels(orange, Near(kAqua, 40)), 0);
}

TEST(AnalogMeter, DrawsTheCaptionOnTheFace) {
  MeterFixture f;
  f.meter.setScaleColor(Qt::blue);
  // Below the scale and clear of the needle, which stands at the left end.
  const QRect captionBand(393 * 35 / 100, 214 * 45 / 100, 393 * 30 / 100, 214 * 20 / 100);
  EXPECT_EQ(CountPixels(Render(f.meter), captionBand, BrightGrey(110)), 0);
  f.meter.setCaption(QStringLiteral("Voltage 1"));
  EXPECT_GT(CountPixels(Render(f.meter), captionBand, BrightGrey(110)), 40);
}

// The main window lays an Enable box over the top left of the face and a
// read-out with its AC/DC label over the lower right: nothing may show there.
struct CornerCase {
  int min;
  int max;
  int position;
  const char* caption;
};
void PrintTo(const CornerCase& c, std::ostream* os) {
  *os << c.min << ".." << c.max << " at " << c.position << " \"" << c.caption << '"';
}

class MeterCorners : public ::testing::TestWithParam<CornerCase> {};

TEST_P(MeterCorners, StayFreeForTheControlsLaidOverThem) {
  const CornerCase& c = GetParam();
  MeterFixture f(c.min, c.max);
  f.meter.setScaleColor(kAqua);
  f.meter.setCaption(QString::fromUtf8(c.caption));
  f.meter.setPosition(c.position);
  const QImage image = Render(f.meter);
  auto drawn = [](const QColor& color) {
    return std::max({color.red(), color.green(), color.blue()}) > 40;
  };
  const int w = image.width();
  const int h = image.height();
  EXPECT_EQ(CountPixels(image, QRect(6, 6, 94, 22), drawn), 0) << "Enable box corner";
  EXPECT_EQ(CountPixels(image, QRect(w - 100, h - 80, 94, 74), drawn), 0) << "read-out corner";
}

INSTANTIATE_TEST_SUITE_P(
    Table, MeterCorners,
    ::testing::Values(CornerCase{0, 100, 0, "Voltage 1"}, CornerCase{0, 100, 100, "Voltage 1"},
                      CornerCase{-100, 100, 100, "Ampere 3"},
                      CornerCase{-100000, 100000, -100000, "Ampere 3"},
                      CornerCase{0, 400, 400, "Solar array voltage of the east roof"}));

TEST(AnalogMeter, FollowsItsSize) {
  MeterFixture f;
  f.meter.setScaleColor(Qt::blue);
  f.meter.setPosition(50);
  for (QSize size : {QSize(200, 110), QSize(393, 230), QSize(800, 440), QSize(1600, 300)}) {
    f.meter.resize(size);
    const QImage image = Render(f.meter);
    const QRect aboveHub(0, 0, size.width(), int(size.height() * 0.6));
    EXPECT_NEAR(CentroidX(image, aboveHub, BrightGrey(200)), size.width() / 2.0,
                size.width() * 0.02)
        << size.width() << " x " << size.height();
  }
  // Too small to show a dial, yet painted without fault.
  for (QSize size : {QSize(1, 1), QSize(40, 12), QSize(12, 200)}) {
    f.meter.resize(size);
    EXPECT_GT(CountPixels(Render(f.meter), [](const QColor& c) { return c != Qt::white; }), 0);
  }
}

}  // namespace
}  // namespace orvex
