#pragma once

#include "core/prompts.h"

#include <QPointer>
#include <QWidget>

namespace orvex {

// The production message boxes: modal QMessageBoxes (a nested event loop, so
// timers and sockets go on behind them), captioned with the application's title.
class MessageBoxPrompts : public Prompts {
 public:
  // Boxes are parented to `owner` while it lives; does not take ownership.
  explicit MessageBoxPrompts(QWidget* owner = nullptr);
  void setOwner(QWidget* owner) { owner_ = owner; }

  void message(const QString& text) override;
  void information(const QString& text) override;
  void error(const QString& text) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace orvex
