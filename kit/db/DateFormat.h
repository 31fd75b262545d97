#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

namespace db {

// The date and time format language of display formats:
//   d dd       day without / with a leading zero        ddd dddd  short / long day name
//   m mm       month (minutes right after h or hh)      mmm mmmm  short / long month name
//   yy yyyy    year in two / four digits
//   h hh       hour without / with a leading zero (12-hour clock with ampm, am/pm or a/p)
//   n nn       minutes                                  s ss      seconds
//   z zzz      milliseconds
//   ampm       "AM" or "PM";  am/pm  "am" or "pm";  a/p  "a" or "p" (letter case as written)
//   "text" 'text'  literal text; any other character is literal
// Names are English. Examples: "dd.mm.yyyy" -> "05.03.2024";
// "dd.mm.yyyy hh:mm AMPM" -> "05.03.2024 02:30 PM".
QString formatDateTime(const QDateTime& value, const QString& format);
QString formatDate(const QDate& value, const QString& format);
QString formatTime(const QTime& value, const QString& format);

// The formats a date or date-time field shows with when it has no display format of its own.
inline QString defaultDateFormat()
{
    return QStringLiteral("dd.mm.yyyy");
}
inline QString defaultDateTimeFormat()
{
    return QStringLiteral("dd.mm.yyyy hh:mm AMPM");
}
inline QString defaultTimeFormat()
{
    return QStringLiteral("hh:mm:ss");
}

// Reads a typed date "d.m.yyyy" ("dd.mm.yyyy", a two-digit year falls into 1950..2049; "/" and
// "-" are taken as separators too); a date-time adds " h:mm[:ss]" with an optional AM/PM.
std::optional<QDate> parseDate(const QString& text);
std::optional<QTime> parseTime(const QString& text);
std::optional<QDateTime> parseDateTime(const QString& text);

} // namespace db
