#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace orvex {

// An analog panel meter: integer scale MinValue..MaxValue drawn with 61 ticks,
// a needle at an integer Position that is always kept within the scale (a
// position outside is set to the nearer end), and a caption drawn on the face.
// A maximum below the minimum is not accepted (the call is ignored).
class AnalogMeter : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int MinValue READ minValue WRITE setMinValue)
  Q_PROPERTY(int MaxValue READ maxValue WRITE setMaxValue)
  Q_PROPERTY(int Position READ position WRITE setPosition)
  Q_PROPERTY(QString Caption READ caption WRITE setCaption)
  Q_PROPERTY(QColor ScaleColor READ scaleColor WRITE setScaleColor)

 public:
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
