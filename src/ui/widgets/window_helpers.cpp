#include "window_helpers.h"

#include <QScreen>
#include <QWidget>

namespace orvex {

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
}

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (!screen) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

}  // namespace orvex
