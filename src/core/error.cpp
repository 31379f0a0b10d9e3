#include "error.h"

namespace orvex {

Error::Error(QString text) : text_(std::move(text)), utf8_(text_.toStdString()) {}

QString ErrorBoxText(const QString& errorText) {
  if (!errorText.isEmpty() && errorText.back() > QLatin1Char('.')) {
    return errorText + QLatin1Char('.');
  }
  return errorText;
}

}  // namespace orvex
