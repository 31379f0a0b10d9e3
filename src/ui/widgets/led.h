#pragma once

#include <QColor>
#include <QWidget>

namespace orvex {

// A round two-colour LED: OnColor while Active, OffColor otherwise.
class Led : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool Active READ isActive WRITE setActive)

 public:
  explicit Led(QWidget* parent = nullptr);

  bool isActive() const { return active_; }
  void setActive(bool active);
  void setColors(const QColor& onColor, const QColor& offColor);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool active_ = false;
  QColor onColor_ = QColor(0x00, 0xFF, 0x00);   // lime
  QColor offColor_ = QColor(0xFF, 0x00, 0x00);  // red
};

}  // namespace orvex
