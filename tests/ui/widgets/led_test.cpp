#include "ui/widgets/led.h"

#include "ui/widgets/rendering.h"

#include <gtest/gtest.h>

#include <QVariant>

namespace orvex {
namespace {

struct LedCase {
  bool active;
  bool customColours;
  QColor centre;  // what the middle of the lens shows
};

class LedColour : public ::testing::TestWithParam<LedCase> {};

TEST_P(LedColour, LensShowsTheColourOfItsState) {
  const LedCase& c = GetParam();
  Led led;
  led.resize(24, 24);
  if (c.customColours) led.setColors(Qt::blue, Qt::yellow);
  led.setActive(c.active);
  const QImage image = test::Render(led);
  const QColor centre = image.pixelColor(12, 12);
  EXPECT_TRUE(test::Near(c.centre, 40)(centre)) << centre.name().toStdString();
  // Most of the lens carries the colour, not just one pixel.
  EXPECT_GT(test::CountPixels(image, test::Near(c.centre, 60)), 24 * 24 / 4);
}

INSTANTIATE_TEST_SUITE_P(Table, LedColour,
                         ::testing::Values(LedCase{false, false, QColor(0xFF, 0x00, 0x00)},
                                           LedCase{true, false, QColor(0x00, 0xFF, 0x00)},
                                           LedCase{true, true, QColor(0x00, 0x00, 0xFF)},
                                           LedCase{false, true, QColor(0xFF, 0xFF, 0x00)}));

TEST(Led, ActiveIsReachableByName) {
  Led led;
  EXPECT_FALSE(led.property("Active").toBool());
  ASSERT_TRUE(led.setProperty("Active", true));
  EXPECT_TRUE(led.isActive());
}

}  // namespace
}  // namespace orvex
