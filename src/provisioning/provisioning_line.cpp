#include "provisioning_line.h"

#include "core/error.h"

namespace orvex {
namespace {

QString CodePointName(char32_t codePoint) {
  return QStringLiteral("U+%1")
      .arg(static_cast<uint>(codePoint), 4, 16, QLatin1Char('0'))
      .toUpper();
}

// Why `codePoint` cannot travel in the line, or an empty text when it can.
QString Refusal(char32_t codePoint) {
  switch (codePoint) {
    case U'|':
      return QStringLiteral("the character \"|\" separates the fields of the line");
    case U'\r':
      return CodePointName(codePoint) +
             QStringLiteral(" (carriage return) would end the line early");
    case U'\n':
      return CodePointName(codePoint) + QStringLiteral(" (line feed) would end the line early");
    default:
      break;
  }
  if (codePoint > 0xFF) {
    // A lone surrogate is no character of its own and is named by its number only.
    const QString shown = QChar::isSurrogate(codePoint) ? CodePointName(codePoint)
                                                        : QStringLiteral("\"%1\" (%2)")
                                                              .arg(QString::fromUcs4(&codePoint, 1),
                                                                   CodePointName(codePoint));
    return QStringLiteral(
               "the character %1 has no single-byte code; only characters up to "
               "U+00FF can be sent")
        .arg(shown);
  }
  return {};
}

void Check(const QString& field, const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t codePoint = text[i].unicode();
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      codePoint = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    const QString why = Refusal(codePoint);
    if (!why.isEmpty()) {
      throw Error(QStringLiteral("The %1 cannot be sent to the device: %2").arg(field, why));
    }
  }
}

}  // namespace

QByteArray ProvisioningLine(const QString& ssid, const QString& passPhrase) {
  Check(QStringLiteral("SSID"), ssid);
  Check(QStringLiteral("PASS PHRASE"), passPhrase);
  const QString line = QLatin1Char('#') + ssid + QLatin1String("|Orvex|") + passPhrase +
                       QLatin1Char('|') + QLatin1Char('\r');
  return line.toLatin1();
}

}  // namespace orvex
