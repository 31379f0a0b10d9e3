#include "ui/widgets/thermometer.h"

#include "support/test_printers.h"
#include "ui/widgets/rendering.h"

#include <gtest/gtest.h>

#include <QVariant>

#include <limits>
#include <vector>

namespace orvex {
namespace {

using test::CountPixels;
using test::Render;

// A thermometer at the size the main window gives it.
struct ThermoFixture {
  explicit ThermoFixture(double min = -20, double max = 100) {
    thermo.resize(190, 416);
    thermo.setScaleMax(max);
    thermo.setScaleMin(min);
  }
  ThermoMeter thermo;
};

bool IsColumnRed(const QColor& c) { return c.red() > 120 && c.green() < 60 && c.blue() < 60; }
bool IsYellow(const QColor& c) { return c.red() > 200 && c.green() > 200 && c.blue() < 80; }
bool IsAqua(const QColor& c) { return c.red() < 80 && c.green() > 200 && c.blue() > 200; }

int RedPixelsAt(ThermoMeter& thermo, double value) {
  thermo.setValue(value);
  return CountPixels(Render(thermo), IsColumnRed);
}

TEST(ThermoMeter, ColumnRisesWithTheValueAndStopsAtTheScaleEnds) {
  ThermoFixture f;
  const std::vector<double> rising = {-20, 0, 24, 60, 100};
  std::vector<int> red;
  for (double value : rising) red.push_back(RedPixelsAt(f.thermo, value));
  for (size_t i = 1; i < red.size(); ++i) {
    EXPECT_GT(red[i], red[i - 1] + 100) << "value " << rising[i];
  }
  EXPECT_EQ(RedPixelsAt(f.thermo, -40), red.front());
  EXPECT_EQ(RedPixelsAt(f.thermo, 4096), red.back());
  EXPECT_EQ(RedPixelsAt(f.thermo, std::numeric_limits<double>::infinity()), red.back());
  EXPECT_EQ(RedPixelsAt(f.thermo, std::numeric_limits<double>::quiet_NaN()), red.front());
}

TEST(ThermoMeter, ColumnFollowsTheScale) {
  ThermoFixture wide(-20, 100);
  ThermoFixture narrow(0, 50);
  // 24 stands at 37 % of -20..100 and at 48 % of 0..50.
  EXPECT_GT(RedPixelsAt(narrow.thermo, 24), RedPixelsAt(wide.thermo, 24) + 100);
  // Full scale fills the same column whatever the scale.
  EXPECT_EQ(RedPixelsAt(narrow.thermo, 50), RedPixelsAt(wide.thermo, 100));
}

struct MarkerCase {
  double min;
  double max;
  bool yellow;  // the peak marker at 70
  bool aqua;    // the peak marker at 140
};
void PrintTo(const MarkerCase& c, std::ostream* os) { *os << c.min << ".." << c.max; }

class ThermoMarkers : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(ThermoMarkers, ShowOnlyWithinTheScale) {
  const MarkerCase& c = GetParam();
  ThermoFixture f(c.min, c.max);
  f.thermo.setValue(24);
  const QImage image = Render(f.thermo);
  EXPECT_EQ(CountPixels(image, IsYellow) > 30, c.yellow);
  EXPECT_EQ(CountPixels(image, IsAqua) > 30, c.aqua);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ThermoMarkers,
    ::testing::Values(MarkerCase{-20, 100, true, false}, MarkerCase{0, 150, true, true},
                      MarkerCase{-50, 50, false, false}, MarkerCase{0, 50, false, false},
                      MarkerCase{100, 200, false, true}, MarkerCase{70, 140, true, true}));

// The main window lays a name label and an Enable box over the top of the
// face and a read-out over its bottom: only the bare face may show there.
class ThermoBands : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(ThermoBands, StayFreeForTheControlsLaidOverThem) {
  const MarkerCase& c = GetParam();
  ThermoFixture f(c.min, c.max);
  f.thermo.setValue(c.max);
  const QImage image = Render(f.thermo);
  auto notFace = [](const QColor& color) {
    const bool grey =
        std::abs(color.red() - color.green()) < 12 && std::abs(color.green() - color.blue()) < 12;
    return !grey || color.red() < 0x98;
  };
  const int w = image.width();
  const int h = image.height();
  EXPECT_EQ(CountPixels(image, QRect(3, 3, w - 6, 50), notFace), 0) << "label and Enable band";
  EXPECT_EQ(CountPixels(image, QRect(3, h - 50, w - 6, 47), notFace), 0) << "read-out band";
}

INSTANTIATE_TEST_SUITE_P(Table, ThermoBands,
                         ::testing::Values(MarkerCase{-20, 100, true, false},
                                           MarkerCase{0, 150, true, true},
                                           MarkerCase{2.5, 50, false, false},
                                           MarkerCase{-1e12, 1e12, true, true}));

struct LabelCase {
  double min;
  double max;
  const char* locale;
  QStringList texts;
};
void PrintTo(const LabelCase& c, std::ostream* os) {
  *os << c.min << ".." << c.max << " in " << c.locale;
}

class ThermoLabels : public ::testing::TestWithParam<LabelCase> {};

TEST_P(ThermoLabels, StepBy20FromTheMinimumAsPlainNumbers) {
  const LabelCase& c = GetParam();
  test::DefaultLocale locale{QLocale(QString::fromLatin1(c.locale))};
  QStringList texts;
  for (const ThermoMeter::ScaleLabel& label : ThermoMeter::ScaleLabels(c.min, c.max)) {
    texts.push_back(label.text);
  }
  EXPECT_EQ(texts, c.texts);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ThermoLabels,
    ::testing::Values(LabelCase{-20, 100, "C", {"-20", "0", "20", "40", "60", "80", "100"}},
                      LabelCase{-50, 50, "C", {"-50", "-30", "-10", "10", "30", "50"}},
                      LabelCase{0, 50, "C", {"0", "20", "40"}},
                      LabelCase{2.5, 50, "C", {"2.5", "22.5", "42.5"}},
                      LabelCase{2.5, 50, "de_DE", {"2,5", "22,5", "42,5"}},
                      LabelCase{1000, 1040, "en_US", {"1000", "1020", "1040"}},
                      LabelCase{100, -20, "C", {}}));

TEST(ThermoMeter, ThinsTheLabelsOfAHugeScale) {
  test::DefaultLocale locale{QLocale::c()};
  const auto labels = ThermoMeter::ScaleLabels(-1e12, 1e12, 10);
  ASSERT_FALSE(labels.empty());
  EXPECT_LE(labels.size(), 10u);
  EXPECT_EQ(labels.front().text, QStringLiteral("-1000000000000"));

  // And the widget paints such a scale without counting every step.
  ThermoFixture f(-1e12, 1e12);
  EXPECT_GT(RedPixelsAt(f.thermo, 1e12), RedPixelsAt(f.thermo, 0));
}

TEST(ThermoMeter, IgnoresScaleEndsThatAreNotNumbers) {
  ThermoFixture f;
  f.thermo.setScaleMax(std::numeric_limits<double>::infinity());
  f.thermo.setScaleMin(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(f.thermo.scaleMax(), 100.0);
  EXPECT_EQ(f.thermo.scaleMin(), -20.0);
}

TEST(ThermoMeter, AnEmptyScaleShowsAnEmptyColumn) {
  ThermoFixture normal;
  const int bottom = RedPixelsAt(normal.thermo, -20);
  ThermoFixture reversed(100, -20);
  EXPECT_EQ(RedPixelsAt(reversed.thermo, 50), bottom);
}

TEST(ThermoMeter, PropertiesAreReachableByName) {
  ThermoFixture f;
  ASSERT_TRUE(f.thermo.setProperty("ScaleMax", 50.0));
  ASSERT_TRUE(f.thermo.setProperty("ScaleMin", 0.0));
  ASSERT_TRUE(f.thermo.setProperty("Value", 24.0));
  EXPECT_EQ(f.thermo.property("ScaleMax").toDouble(), 50.0);
  EXPECT_EQ(f.thermo.property("ScaleMin").toDouble(), 0.0);
  // The value is kept as given; only its drawing is clamped.
  f.thermo.setProperty("Value", 4096.0);
  EXPECT_EQ(f.thermo.property("Value").toDouble(), 4096.0);
}

}  // namespace
}  // namespace orvex
