#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <vector>

namespace orvex {

// An analog panel meter: integer scale MinValue..MaxValue drawn with 61 ticks,
// a needle at an integer Position that is always kept within the scale (a
// position outside is set to the nearer end), and a caption drawn on the face.
// A maximum below the minimum is not accepted: such a call to setMaxValue or
// setMinValue is ignored.
//
// The face keeps two corners free of drawing for child widgets laid over it:
// the top left (about 100 × 28 at 393 × 214) for an Enable box, and the lower
// right (about 110 × 86) for a read-out and the AC/DC label above it.
class AnalogMeter : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int MinValue READ minValue WRITE setMinValue)
  Q_PROPERTY(int MaxValue READ maxValue WRITE setMaxValue)
  Q_PROPERTY(int Position READ position WRITE setPosition)
  Q_PROPERTY(QString Caption READ caption WRITE setCaption)
  Q_PROPERTY(QColor ScaleColor READ scaleColor WRITE setScaleColor)

 public:
  static constexpr int kTickCount = 61;

  // A number printed beside the tick with index `tick` (0 = MinValue,
  // kTickCount - 1 = MaxValue).
  struct ScaleLabel {
    int tick;
    QString text;
  };

  explicit AnalogMeter(QWidget* parent = nullptr);

  int minValue() const { return min_; }
  int maxValue() const { return max_; }
  int position() const { return position_; }
  QString caption() const { return caption_; }
  QColor scaleColor() const { return scaleColor_; }

  // Each setter repaints only when the value changes.
  void setMinValue(int value);
  void setMaxValue(int value);
  void setPosition(int value);
  void setCaption(const QString& caption);
  void setScaleColor(const QColor& color);

  // The labelled ticks of a scale: evenly spaced, on round numbers when the
  // 61 ticks allow it (0, 20 … 100; -100, -50 … 100), taking in 0 when the
  // scale spans it.
  static std::vector<ScaleLabel> ScaleLabels(int minValue, int maxValue);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  QString caption_;
  QColor scaleColor_ = Qt::cyan;
};

}  // namespace orvex
