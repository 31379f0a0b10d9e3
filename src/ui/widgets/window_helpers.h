#pragma once

#include <QString>

class QWidget;

namespace orvex {

// A control's hint: its tool tip, and the text the main window's status bar
// shows while the mouse is over it.
void SetHint(QWidget* widget, const QString& hint);

// Places a top-level window, frame included, at the centre of its screen's
// available area.
void CentreOnScreen(QWidget* window);

}  // namespace orvex
