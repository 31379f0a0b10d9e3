#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace orvex {

// The date and time columns of one logged row.
struct TickTexts {
  QString date;  // the locale's short date
  QString time;  // the locale's long time, seconds kept, no time zone
};

TickTexts TickTextsAt(const QDateTime& when, const QLocale& locale);

// The locale's long time format without its time-zone part ("HH:mm:ss t" gives
// "HH:mm:ss", "h:mm:ss AP, t" gives "h:mm:ss AP", "t HH:mm:ss" gives "HH:mm:ss").
QString TimeFormatWithoutZone(const QLocale& locale);

}  // namespace orvex
