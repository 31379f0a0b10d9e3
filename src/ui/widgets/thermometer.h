#pragma once

#include <QWidget>

namespace orvex {

// A thermometer with a real scale ScaleMin..ScaleMax (major steps of 20, minor
// steps of 4, labelled with the plain number), a column filled up to Value,
// and two fixed peak markers (a yellow triangle at 70, an aqua one at 140) that
// nothing moves. The value is drawn clamped to the scale.
class ThermoMeter : public QWidget {
  Q_OBJECT
  Q_PROPERTY(double Value READ value WRITE setValue)
  Q_PROPERTY(double ScaleMin READ scaleMin WRITE setScaleMin)
  Q_PROPERTY(double ScaleMax READ scaleMax WRITE setScaleMax)

 public:
  explicit ThermoMeter(QWidget* parent = nullptr);

  double value() const { return value_; }
  double scaleMin() const { return scaleMin_; }
  double scaleMax() const { return scaleMax_; }

  // Each setter repaints only when the value changes.
  void setValue(double value);
  void setScaleMin(double value);
  void setScaleMax(double value);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double value_ = 0.0;
  double scaleMin_ = -20.0;
  double scaleMax_ = 100.0;
};

}  // namespace orvex
