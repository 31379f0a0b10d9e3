#include "tick_texts.h"

namespace orvex {

namespace {

bool IsSeparator(QChar ch) { return ch.isSpace() || ch == u','; }

}  // namespace

QString TimeFormatWithoutZone(const QLocale& locale) {
  const QString format = locale.timeFormat(QLocale::LongFormat);
  // Copy the format, dropping every unquoted run of 't' together with the
  // brackets around it and the separators that joined it to the rest.
  QString result;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar ch = format[i];
    if (ch == u'\'') {
      quoted = !quoted;
      result.append(ch);
      continue;
    }
    if (quoted || ch != u't') {
      result.append(ch);
      continue;
    }
    while (i + 1 < format.size() && format[i + 1] == u't') ++i;
    const bool bracketed = !result.isEmpty() && (result.back() == u'(' || result.back() == u'[');
    if (bracketed) {
      result.chop(1);
      if (i + 1 < format.size() && (format[i + 1] == u')' || format[i + 1] == u']')) ++i;
    }
    while (!result.isEmpty() && IsSeparator(result.back())) result.chop(1);
    if (result.isEmpty()) {
      while (i + 1 < format.size() && IsSeparator(format[i + 1])) ++i;
    }
  }
  return result;
}

TickTexts TickTextsAt(const QDateTime& when, const QLocale& locale) {
  return {locale.toString(when.date(), QLocale::ShortFormat),
          locale.toString(when.time(), TimeFormatWithoutZone(locale))};
}

}  // namespace orvex
