#pragma once

#include <QString>

namespace orvex {

// The program's message boxes, reached through one interface so that tests can
// answer them without blocking. Production shows modal boxes; each call returns
// when the user has closed the box, and timer ticks and socket notifications go
// on being handled meanwhile. Called on the GUI thread only.
class Prompts {
 public:
  virtual ~Prompts() = default;

  // A plain box with an OK button and no icon ("Error opening/creating key : ...").
  virtual void message(const QString& text) = 0;
  // An information box with an OK button ("Failed to join network !").
  virtual void information(const QString& text) = 0;
  // The application's error box: the text exactly as given (see ErrorBoxText),
  // the application's title as caption, an error icon and an OK button.
  virtual void error(const QString& text) = 0;
};

}  // namespace orvex
