#include "thermometer.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace orvex {

namespace {

const QColor kColumnColor(0xE0, 0x10, 0x10);
const QColor kColumnShade(0x90, 0x00, 0x00);
const QColor kTextColor(0x20, 0x20, 0x20);
const QColor kFirstPeakColor(0xFF, 0xFF, 0x00);   // yellow
const QColor kSecondPeakColor(0x00, 0xFF, 0xFF);  // aqua

// Slack for steps that land on the scale end only up to rounding.
constexpr double kStepSlack = 1e-9;

QString PlainNumber(double value) {
  QLocale locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  if (value == std::trunc(value) && std::abs(value) < 1e15) return locale.toString(qint64(value));
  return locale.toString(value, 'g', QLocale::FloatingPointShortest);
}

// Number of steps of `step` from `from` that stay within `to`.
double StepCount(double from, double to, double step) {
  if (!(to >= from)) return 0;
  return std::floor((to - from) / step + kStepSlack) + 1;
}

// Where the scale, the tube and the bulb are drawn, in widget pixels.
struct Layout {
  double tubeX;
  double tubeHalfWidth;
  double scaleTop;
  double scaleBottom;
  QPointF bulbCentre;
  double bulbRadius;

  Layout(const QRectF& face) {
    const double topFree = 0.13 * face.height();
    const double bottomFree = 0.12 * face.height();
    bulbRadius = std::clamp(0.085 * face.width(), 5.0, 0.05 * face.height());
    tubeHalfWidth = 0.45 * bulbRadius;
    tubeX = face.center().x() + 0.04 * face.width();
    bulbCentre = QPointF(tubeX, face.bottom() - bottomFree - bulbRadius - 4);
    scaleBottom = bulbCentre.y() - bulbRadius - 0.025 * face.height();
    scaleTop = face.top() + topFree + 0.03 * face.height();
  }

  // Height in pixels of `value` on the scale, which must be finite and span > 0.
  double yOf(double value, double scaleMin, double scaleMax) const {
    const double fraction =
        (std::clamp(value, scaleMin, scaleMax) - scaleMin) / (scaleMax - scaleMin);
    return scaleBottom - fraction * (scaleBottom - scaleTop);
  }
};

void PaintFace(QPainter& painter, const QRectF& face) {
  QLinearGradient metal(face.topLeft(), face.topRight());
  metal.setColorAt(0.0, QColor(0xB4, 0xB4, 0xB4));
  metal.setColorAt(0.45, QColor(0xE8, 0xE8, 0xE8));
  metal.setColorAt(1.0, QColor(0xA8, 0xA8, 0xA8));
  painter.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
  painter.setBrush(metal);
  painter.drawRoundedRect(face, 6, 6);
}

void PaintTube(QPainter& painter, const Layout& layout) {
  const double half = layout.tubeHalfWidth;
  QPainterPath glass;
  glass.addRoundedRect(QRectF(layout.tubeX - half, layout.scaleTop - 1.6 * half, 2 * half,
                              layout.bulbCentre.y() - layout.scaleTop + 1.6 * half),
                       half, half);
  glass.addEllipse(layout.bulbCentre, layout.bulbRadius, layout.bulbRadius);
  glass.setFillRule(Qt::WindingFill);
  painter.setPen(QPen(QColor(0x50, 0x50, 0x50), 1.2));
  painter.setBrush(QColor(0xF8, 0xF8, 0xF8));
  painter.drawPath(glass.simplified());
}

void PaintColumn(QPainter& painter, const Layout& layout, double top) {
  const double half = layout.tubeHalfWidth - 2.0;
  QLinearGradient shade(layout.tubeX - half, 0, layout.tubeX + half, 0);
  shade.setColorAt(0.0, kColumnShade);
  shade.setColorAt(0.4, kColumnColor);
  shade.setColorAt(1.0, kColumnShade);
  painter.setPen(Qt::NoPen);
  painter.setBrush(shade);
  painter.drawRect(QRectF(layout.tubeX - half, top, 2 * half, layout.bulbCentre.y() - top));

  const double r = layout.bulbRadius - 2.5;
  QRadialGradient bulb(layout.bulbCentre - QPointF(r / 3, r / 3), r * 1.3);
  bulb.setColorAt(0.0, QColor(0xFF, 0x80, 0x80));
  bulb.setColorAt(0.35, kColumnColor);
  bulb.setColorAt(1.0, kColumnShade);
  painter.setBrush(bulb);
  painter.drawEllipse(layout.bulbCentre, r, r);
}

void PaintScale(QPainter& painter, const Layout& layout, double scaleMin, double scaleMax) {
  const double tickRight = layout.tubeX - layout.tubeHalfWidth - 4;
  const double majorLength = 1.1 * layout.bulbRadius;
  const double minorLength = 0.55 * layout.bulbRadius;
  const double height = layout.scaleBottom - layout.scaleTop;

  // Minor ticks only while they stay at least two pixels apart.
  const double minorCount = StepCount(scaleMin, scaleMax, ThermoMeter::kMinorStep);
  if (minorCount <= height / 2) {
    painter.setPen(QPen(kTextColor, 1.0));
    for (int i = 0; i < int(minorCount); ++i) {
      const double y = layout.yOf(scaleMin + i * ThermoMeter::kMinorStep, scaleMin, scaleMax);
      painter.drawLine(QPointF(tickRight - minorLength, y), QPointF(tickRight, y));
    }
  }

  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(std::max(8, qRound(0.8 * layout.bulbRadius)));
  font.setBold(true);
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  const int maxLabels = std::max(2, int(height / (1.2 * metrics.height())));
  for (const ThermoMeter::ScaleLabel& label :
       ThermoMeter::ScaleLabels(scaleMin, scaleMax, maxLabels)) {
    const double y = layout.yOf(label.value, scaleMin, scaleMax);
    painter.setPen(QPen(kTextColor, 1.6));
    painter.drawLine(QPointF(tickRight - majorLength, y), QPointF(tickRight, y));
    const double right = tickRight - majorLength - 3;
    painter.drawText(QRectF(right - 100, y - metrics.height() / 2, 100, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, label.text);
  }
}

void PaintPeakMarker(QPainter& painter, const Layout& layout, double value, double scaleMin,
                     double scaleMax, const QColor& color) {
  if (value < scaleMin || value > scaleMax) return;
  const double y = layout.yOf(value, scaleMin, scaleMax);
  const double tip = layout.tubeX + layout.tubeHalfWidth + 2;
  const double size = 0.7 * layout.bulbRadius;
  const QPointF triangle[] = {{tip, y}, {tip + 1.6 * size, y - size}, {tip + 1.6 * size, y + size}};
  painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.0));
  painter.setBrush(color);
  painter.drawPolygon(triangle, 3);
}

}  // namespace

ThermoMeter::ThermoMeter(QWidget* parent) : QWidget(parent) {}

void ThermoMeter::setValue(double value) {
  if (value == value_) return;
  value_ = value;
  update();
}

void ThermoMeter::setScaleMin(double value) {
  if (!std::isfinite(value) || value == scaleMin_) return;
  scaleMin_ = value;
  update();
}

void ThermoMeter::setScaleMax(double value) {
  if (!std::isfinite(value) || value == scaleMax_) return;
  scaleMax_ = value;
  update();
}

std::vector<ThermoMeter::ScaleLabel> ThermoMeter::ScaleLabels(double scaleMin, double scaleMax,
                                                              int maxCount) {
  std::vector<ScaleLabel> labels;
  const double count = StepCount(scaleMin, scaleMax, kMajorStep);
  if (count < 1 || maxCount < 1) return labels;
  const double every = std::max(1.0, std::ceil(count / maxCount));
  for (double i = 0; i < count; i += every) {
    const double value = scaleMin + i * kMajorStep;
    labels.push_back({value, PlainNumber(value)});
  }
  return labels;
}

QSize ThermoMeter::sizeHint() const { return {190, 416}; }

void ThermoMeter::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

  const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  PaintFace(painter, face);
  const Layout layout(face);
  PaintTube(painter, layout);

  const bool hasScale = scaleMax_ > scaleMin_;
  // A value that is not a number shows as the bottom of the scale.
  double columnTop = layout.scaleBottom;
  if (hasScale && !std::isnan(value_)) columnTop = layout.yOf(value_, scaleMin_, scaleMax_);
  PaintColumn(painter, layout, columnTop);
  if (!hasScale) return;
  PaintScale(painter, layout, scaleMin_, scaleMax_);
  PaintPeakMarker(painter, layout, kFirstPeak, scaleMin_, scaleMax_, kFirstPeakColor);
  PaintPeakMarker(painter, layout, kSecondPeak, scaleMin_, scaleMax_, kSecondPeakColor);
}

}  // namespace orvex
