#pragma once

#include <QString>

#include <exception>
#include <string>

namespace orvex {

// The one error type of the program. Its text is what the user reads in the
// application's error box; a handler that raises it ends there and the program
// goes on with the next event.
class Error : public std::exception {
 public:
  explicit Error(QString text);

  const QString& text() const noexcept { return text_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  QString text_;
  std::string utf8_;
};

// The text of the application's error box: the error's text, with a full stop
// appended when its last character sorts after ".".
QString ErrorBoxText(const QString& errorText);

}  // namespace orvex
