#include "analog_meter.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace orvex {

namespace {

constexpr int kLastTick = AnalogMeter::kTickCount - 1;
// The needle swings through 100 degrees, centred on the vertical.
constexpr double kHalfSweepDegrees = 50.0;

const QColor kFaceColor(0x00, 0x00, 0x00);
const QColor kCaptionColor(0xC0, 0xC0, 0xC0);  // silver
const QColor kNeedleColor(0xF2, 0xF2, 0xF2);

// True for steps of 1, 2 or 5 times a power of ten, and of 25 times one.
bool IsRoundStep(qint64 step) {
  if (step <= 0) return false;
  while (step % 10 == 0) step /= 10;
  return step == 1 || step == 2 || step == 5 || step == 25;
}

// Where the labelled ticks and the needle are drawn, all in widget pixels.
struct Dial {
  QPointF pivot;
  double radius;

  // Clockwise from the vertical; `fraction` 0 is the scale's minimum, 1 its maximum.
  double angleDegrees(double fraction) const {
    return -kHalfSweepDegrees + 2 * kHalfSweepDegrees * fraction;
  }
  QPointF at(double fraction, double distance) const {
    const double angle = qDegreesToRadians(angleDegrees(fraction));
    return pivot + QPointF(distance * std::sin(angle), -distance * std::cos(angle));
  }
};

Dial DialFor(const QRectF& face) {
  const double pivotY = face.bottom() - 0.06 * face.height();
  const double byHeight = pivotY - face.top() - 0.04 * face.height();
  const double byWidth = 0.80 * (face.width() / 2) / std::sin(qDegreesToRadians(kHalfSweepDegrees));
  return {QPointF(face.center().x(), pivotY), std::max(10.0, std::min(byHeight, byWidth))};
}

void PaintBezel(QPainter& painter, const QRectF& outer, const QRectF& face) {
  QLinearGradient rim(outer.topLeft(), outer.bottomLeft());
  rim.setColorAt(0.0, QColor(0x5A, 0x5A, 0x5A));
  rim.setColorAt(1.0, QColor(0x1C, 0x1C, 0x1C));
  painter.setPen(Qt::NoPen);
  painter.setBrush(rim);
  painter.drawRoundedRect(outer, 6, 6);
  painter.setBrush(kFaceColor);
  painter.drawRoundedRect(face, 4, 4);
}

void PaintScale(QPainter& painter, const Dial& dial, const QColor& color,
                const std::vector<AnalogMeter::ScaleLabel>& labels) {
  const double r = dial.radius;
  const double majorLength = 0.075 * r;
  const double middleLength = 0.055 * r;
  const double minorLength = 0.035 * r;

  // The arc that the ticks hang from.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(color, std::max(1.0, 0.007 * r), Qt::SolidLine, Qt::FlatCap));
  const QRectF arcBox(dial.pivot.x() - r, dial.pivot.y() - r, 2 * r, 2 * r);
  painter.drawArc(arcBox, qRound((90 + kHalfSweepDegrees) * 16),
                  qRound(-2 * kHalfSweepDegrees * 16));

  // A tick is major where it carries a label, middle halfway between two
  // labels when that is a tick of its own, minor otherwise.
  std::array<bool, AnalogMeter::kTickCount> major{};
  for (const AnalogMeter::ScaleLabel& label : labels) major[label.tick] = true;
  const int labelSpacing = labels.size() > 1 ? labels[1].tick - labels[0].tick : 0;
  for (int tick = 0; tick <= kLastTick; ++tick) {
    const double fraction = double(tick) / kLastTick;
    double length = minorLength;
    double width = std::max(1.0, 0.006 * r);
    if (major[tick]) {
      length = majorLength;
      width = std::max(1.5, 0.012 * r);
    } else if (labelSpacing % 2 == 0 && labelSpacing > 0 &&
               (tick - labels.front().tick) % (labelSpacing / 2) == 0) {
      length = middleLength;
      width = std::max(1.2, 0.009 * r);
    }
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(dial.at(fraction, r), dial.at(fraction, r - length));
  }

  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(std::max(8, qRound(0.066 * r)));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(color);
  const QFontMetricsF metrics(font);
  for (const AnalogMeter::ScaleLabel& label : labels) {
    const double fraction = double(label.tick) / kLastTick;
    const QSizeF size(metrics.horizontalAdvance(label.text), metrics.height());
    // Keep the whole text clear of the ticks whatever its direction from the pivot.
    const double angle = qDegreesToRadians(dial.angleDegrees(fraction));
    const double inset = majorLength + 0.03 * r + 0.5 * std::abs(std::sin(angle)) * size.width() +
                         0.5 * std::abs(std::cos(angle)) * size.height();
    const QPointF centre = dial.at(fraction, r - inset);
    painter.drawText(QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size),
                     Qt::AlignCenter, label.text);
  }
}

void PaintCaption(QPainter& painter, const Dial& dial, const QString& caption) {
  if (caption.isEmpty()) return;
  QFont font(QStringLiteral("Arial"));
  // 21 px on a meter of 393 × 214, whose dial radius is 188 px.
  font.setPixelSize(std::max(8, qRound(21.0 * dial.radius / 188.0)));
  painter.setFont(font);
  painter.setPen(kCaptionColor);
  const QFontMetricsF metrics(font);
  const double width = 1.0 * dial.radius;
  const QString text = metrics.elidedText(caption, Qt::ElideRight, width);
  const QPointF centre(dial.pivot.x(), dial.pivot.y() - 0.40 * dial.radius);
  painter.drawText(
      QRectF(centre.x() - width / 2, centre.y() - metrics.height() / 2, width, metrics.height()),
      Qt::AlignCenter, text);
}

void PaintNeedle(QPainter& painter, const Dial& dial, double fraction) {
  const double r = dial.radius;
  const double length = 0.985 * r;
  const double baseHalfWidth = std::max(1.5, 0.014 * r);
  QPainterPath needle;
  needle.moveTo(-baseHalfWidth, 0.03 * r);
  needle.lineTo(-0.5, -length);
  needle.lineTo(0.5, -length);
  needle.lineTo(baseHalfWidth, 0.03 * r);
  needle.closeSubpath();

  painter.save();
  painter.translate(dial.pivot);
  painter.rotate(dial.angleDegrees(fraction));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 110));  // shadow on the face
  painter.drawPath(needle.translated(1.5, 1.5));
  painter.setBrush(kNeedleColor);
  painter.drawPath(needle);
  painter.restore();

  // The hub that holds the needle.
  const double hub = std::max(3.0, 0.055 * r);
  QRadialGradient metal(dial.pivot - QPointF(hub / 3, hub / 3), hub * 1.4);
  metal.setColorAt(0.0, QColor(0xE0, 0xE0, 0xE0));
  metal.setColorAt(1.0, QColor(0x40, 0x40, 0x40));
  painter.setBrush(metal);
  painter.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
  painter.drawEllipse(dial.pivot, hub, hub);
}

}  // namespace

AnalogMeter::AnalogMeter(QWidget* parent) : QWidget(parent) {}

void AnalogMeter::setMinValue(int value) {
  if (value == min_ || value > max_) return;
  min_ = value;
  position_ = std::clamp(position_, min_, max_);
  update();
}

void AnalogMeter::setMaxValue(int value) {
  if (value == max_ || value < min_) return;
  max_ = value;
  position_ = std::clamp(position_, min_, max_);
  update();
}

void AnalogMeter::setPosition(int value) {
  value = std::clamp(value, min_, max_);
  if (value == position_) return;
  position_ = value;
  update();
}

void AnalogMeter::setCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
}

void AnalogMeter::setScaleColor(const QColor& color) {
  if (color == scaleColor_) return;
  scaleColor_ = color;
  update();
}

std::vector<AnalogMeter::ScaleLabel> AnalogMeter::ScaleLabels(int minValue, int maxValue) {
  const qint64 span = qint64(maxValue) - minValue;
  std::vector<ScaleLabel> labels;
  if (span <= 0) {
    labels.push_back({0, QString::number(minValue)});
    labels.push_back({kLastTick, QString::number(maxValue)});
    return labels;
  }
  // Label every `spacing`-th tick; the spacings divide the 60 intervals.
  auto stepOf = [span](int spacing) -> std::optional<qint64> {
    if (span * spacing % kLastTick != 0) return std::nullopt;
    return span * spacing / kLastTick;
  };
  auto hitsZero = [minValue, maxValue](qint64 step) {
    return minValue >= 0 || maxValue <= 0 || (-qint64(minValue)) % step == 0;
  };
  std::optional<int> chosen;
  for (int spacing : {10, 12, 15, 20}) {
    const std::optional<qint64> step = stepOf(spacing);
    if (step && IsRoundStep(*step) && hitsZero(*step)) {
      chosen = spacing;
      break;
    }
  }
  for (int spacing : {10, 12, 15, 20, 30}) {
    if (!chosen && stepOf(spacing)) chosen = spacing;
  }
  const int spacing = chosen.value_or(10);
  QLocale locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  for (int tick = 0; tick <= kLastTick; tick += spacing) {
    if (chosen) {
      labels.push_back({tick, QString::number(minValue + span * tick / kLastTick)});
    } else {
      // No spacing lands on whole numbers: print the ticks' values as they are.
      const double value = minValue + double(span) * tick / kLastTick;
      labels.push_back({tick, locale.toString(value, 'f', span < 60 ? 2 : 1)});
    }
  }
  return labels;
}

QSize AnalogMeter::sizeHint() const { return {393, 214}; }

void AnalogMeter::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

  const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const QRectF face = outer.adjusted(3, 3, -3, -3);
  PaintBezel(painter, outer, face);

  const Dial dial = DialFor(face);
  PaintScale(painter, dial, scaleColor_, ScaleLabels(min_, max_));
  PaintCaption(painter, dial, caption_);
  const qint64 span = qint64(max_) - min_;
  const double fraction = span > 0 ? double(qint64(position_) - min_) / double(span) : 0.0;
  PaintNeedle(painter, dial, fraction);
}

}  // namespace orvex
