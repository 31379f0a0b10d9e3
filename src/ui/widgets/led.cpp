#include "led.h"

#include <QPainter>

#include <algorithm>

namespace orvex {

Led::Led(QWidget* parent) : QWidget(parent) {}

void Led::setActive(bool active) {
  if (active == active_) return;
  active_ = active;
  update();
}

void Led::setColors(const QColor& onColor, const QColor& offColor) {
  if (onColor == onColor_ && offColor == offColor_) return;
  onColor_ = onColor;
  offColor_ = offColor;
  update();
}

QSize Led::sizeHint() const { return {24, 24}; }

void Led::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);

  const double radius = std::max(1.0, std::min(width(), height()) / 2.0 - 1.0);
  const QPointF centre = QRectF(rect()).center();
  const QColor color = active_ ? onColor_ : offColor_;

  // A dark rim, the lens in its colour darkening towards the edge, and a soft
  // reflection towards the upper left that stays clear of the centre.
  painter.setPen(QPen(QColor(0x30, 0x30, 0x30), std::clamp(radius / 10, 1.0, 2.5)));
  QRadialGradient lens(centre, radius);
  lens.setColorAt(0.0, color);
  lens.setColorAt(0.6, color);
  lens.setColorAt(1.0, color.darker(220));
  painter.setBrush(lens);
  painter.drawEllipse(centre, radius, radius);

  const QPointF glintCentre = centre - QPointF(radius * 0.38, radius * 0.38);
  const double glintRadius = radius * 0.42;
  QRadialGradient glint(glintCentre, glintRadius);
  glint.setColorAt(0.0, QColor(255, 255, 255, 210));
  glint.setColorAt(1.0, QColor(255, 255, 255, 0));
  painter.setPen(Qt::NoPen);
  painter.setBrush(glint);
  painter.drawEllipse(glintCentre, glintRadius, glintRadius);
}

}  // namespace orvex
