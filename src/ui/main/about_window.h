#pragma once

#include <QWidget>

namespace orvex {

// The About window: the product, its version, what it is for, and the logo.
class TForm1 : public QWidget {
  Q_OBJECT

 public:
  static constexpr QSize kClientSize{539, 295};
  explicit TForm1(QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  bool centred_ = false;
};

}  // namespace orvex
