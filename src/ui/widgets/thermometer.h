#pragma once

#include <QString>
#include <QWidget>

#include <vector>

namespace orvex {

// A thermometer with a real scale ScaleMin..ScaleMax (major steps of 20, minor
// steps of 4, labelled with the plain number), a column filled up to Value,
// and two fixed peak markers (a yellow triangle at 70, an aqua one at 140) that
// nothing moves. The value is drawn clamped to the scale; a marker off the
// scale is not drawn. Scale ends that are not finite numbers are ignored.
//
// The face keeps its top (about 54 px at 190 × 416) free for a name label and
// an Enable box, and its bottom (about 50 px) for a read-out.
class ThermoMeter : public QWidget {
  Q_OBJECT
  Q_PROPERTY(double Value READ value WRITE setValue)
  Q_PROPERTY(double ScaleMin READ scaleMin WRITE setScaleMin)
  Q_PROPERTY(double ScaleMax READ scaleMax WRITE setScaleMax)

 public:
  static constexpr double kMajorStep = 20.0;
  static constexpr double kMinorStep = 4.0;
  static constexpr double kFirstPeak = 70.0;
  static constexpr double kSecondPeak = 140.0;

  struct ScaleLabel {
    double value;
    QString text;
  };

  explicit ThermoMeter(QWidget* parent = nullptr);

  double value() const { return value_; }
  double scaleMin() const { return scaleMin_; }
  double scaleMax() const { return scaleMax_; }

  // Each setter repaints only when the value changes.
  void setValue(double value);
  void setScaleMin(double value);
  void setScaleMax(double value);

  // The major steps from `scaleMin` up to `scaleMax`, each with its text in the
  // user's locale ("-20", "0", "20" …). When there would be more than
  // `maxCount`, only every n-th step is labelled so that at most that many are.
  static std::vector<ScaleLabel> ScaleLabels(double scaleMin, double scaleMax, int maxCount = 100);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double value_ = 0.0;
  double scaleMin_ = -20.0;
  double scaleMax_ = 100.0;
};

}  // namespace orvex
