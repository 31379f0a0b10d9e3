#pragma once

#include <QColor>
#include <QImage>
#include <QLocale>
#include <QRect>
#include <QWidget>

#include <functional>

namespace orvex::test {

// Paints `widget` as it would appear on screen, on a white ground.
inline QImage Render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  widget.render(&image);
  return image;
}

using PixelTest = std::function<bool(const QColor&)>;

inline int CountPixels(const QImage& image, const QRect& area, const PixelTest& matches) {
  int count = 0;
  const QRect bounded = area.intersected(image.rect());
  for (int y = bounded.top(); y <= bounded.bottom(); ++y) {
    for (int x = bounded.left(); x <= bounded.right(); ++x) {
      if (matches(image.pixelColor(x, y))) ++count;
    }
  }
  return count;
}

inline int CountPixels(const QImage& image, const PixelTest& matches) {
  return CountPixels(image, image.rect(), matches);
}

// Mean x of the matching pixels in `area`, or -1 when none matches.
inline double CentroidX(const QImage& image, const QRect& area, const PixelTest& matches) {
  double sum = 0;
  int count = 0;
  const QRect bounded = area.intersected(image.rect());
  for (int y = bounded.top(); y <= bounded.bottom(); ++y) {
    for (int x = bounded.left(); x <= bounded.right(); ++x) {
      if (matches(image.pixelColor(x, y))) {
        sum += x;
        ++count;
      }
    }
  }
  return count > 0 ? sum / count : -1;
}

// A colour within `tolerance` of `target` in each channel.
inline PixelTest Near(const QColor& target, int tolerance = 12) {
  return [target, tolerance](const QColor& c) {
    return std::abs(c.red() - target.red()) <= tolerance &&
           std::abs(c.green() - target.green()) <= tolerance &&
           std::abs(c.blue() - target.blue()) <= tolerance;
  };
}

// Grey of at least `minimum` brightness: needle, caption or hub, not a coloured scale.
inline PixelTest BrightGrey(int minimum) {
  return [minimum](const QColor& c) {
    return c.red() >= minimum && std::abs(c.red() - c.green()) < 12 &&
           std::abs(c.green() - c.blue()) < 12;
  };
}

// Sets the default QLocale for the lifetime of the guard.
class DefaultLocale {
 public:
  explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
  ~DefaultLocale() { QLocale::setDefault(saved_); }
  DefaultLocale(const DefaultLocale&) = delete;
  DefaultLocale& operator=(const DefaultLocale&) = delete;

 private:
  QLocale saved_;
};

}  // namespace orvex::test
