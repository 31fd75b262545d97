#include "DateFormat.h"

#include <QRegularExpression>

namespace db {

namespace {

const char* const shortDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char* const longDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
const char* const shortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const longMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};

bool startsWithCi(const QString& text, int at, QLatin1StringView token)
{
    return QStringView(text).mid(at).startsWith(token, Qt::CaseInsensitive);
}

int runLength(const QString& text, int at)
{
    const QChar c = text.at(at).toLower();
    int n = 0;
    while (at + n < text.size() && text.at(at + n).toLower() == c)
        ++n;
    return n;
}

QString twoDigits(int v)
{
    return QString::number(v).rightJustified(2, u'0');
}

// Letters of an am/pm token keep the case written: "AM/PM" gives "AM", "am/pm" "am".
QString caseLike(const QString& written, const QString& text)
{
    return written.at(0).isUpper() ? text.toUpper() : text.toLower();
}

QString format(const QDate& date, const QTime& time, const QString& fmt)
{
    const bool twelveHour = fmt.contains(QLatin1StringView("ampm"), Qt::CaseInsensitive) ||
                            fmt.contains(QLatin1StringView("am/pm"), Qt::CaseInsensitive) ||
                            fmt.contains(QLatin1StringView("a/p"), Qt::CaseInsensitive);
    QString out;
    // "m" after an hour token (literals between them don't count) means minutes.
    QChar lastToken;
    int i = 0;
    const int n = int(fmt.size());
    while (i < n) {
        const QChar c = fmt.at(i);
        const QChar lc = c.toLower();
        if (c == u'"' || c == u'\'') {
            const int end = int(fmt.indexOf(c, i + 1));
            out += fmt.mid(i + 1, end < 0 ? -1 : end - i - 1);
            i = end < 0 ? n : end + 1;
            continue;
        }
        if (lc == u'a') {
            const bool pm = time.hour() >= 12;
            if (startsWithCi(fmt, i, QLatin1StringView("ampm"))) {
                out += pm ? QStringLiteral("PM") : QStringLiteral("AM");
                i += 4;
                continue;
            }
            if (startsWithCi(fmt, i, QLatin1StringView("am/pm"))) {
                out += caseLike(fmt.mid(i, 1), pm ? QStringLiteral("pm") : QStringLiteral("am"));
                i += 5;
                continue;
            }
            if (startsWithCi(fmt, i, QLatin1StringView("a/p"))) {
                out += caseLike(fmt.mid(i, 1), pm ? QStringLiteral("p") : QStringLiteral("a"));
                i += 3;
                continue;
            }
        }
        const bool token =
            lc == u'd' || lc == u'm' || lc == u'y' || lc == u'h' || lc == u'n' || lc == u's' || lc == u'z';
        if (!token) {
            out += c;
            ++i;
            continue;
        }
        const int run = runLength(fmt, i);
        if (lc == u'd') {
            if (run == 1)
                out += QString::number(date.day());
            else if (run == 2)
                out += twoDigits(date.day());
            else if (run == 3)
                out += QLatin1StringView(shortDays[date.dayOfWeek() - 1]);
            else
                out += QLatin1StringView(longDays[date.dayOfWeek() - 1]);
        } else if (lc == u'm' && lastToken == u'h') {
            out += run == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
        } else if (lc == u'm') {
            if (run == 1)
                out += QString::number(date.month());
            else if (run == 2)
                out += twoDigits(date.month());
            else if (run == 3)
                out += QLatin1StringView(shortMonths[date.month() - 1]);
            else
                out += QLatin1StringView(longMonths[date.month() - 1]);
        } else if (lc == u'y') {
            out += run <= 2 ? twoDigits(date.year() % 100)
                            : QString::number(date.year()).rightJustified(4, u'0');
        } else if (lc == u'h') {
            int hour = time.hour();
            if (twelveHour) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += run == 1 ? QString::number(hour) : twoDigits(hour);
        } else if (lc == u'n') {
            out += run == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
        } else if (lc == u's') {
            out += run == 1 ? QString::number(time.second()) : twoDigits(time.second());
        } else {
            out +=
                run < 3 ? QString::number(time.msec()) : QString::number(time.msec()).rightJustified(3, u'0');
        }
        lastToken = lc;
        i += run;
    }
    return out;
}

int expandYear(int year, int digits)
{
    if (digits <= 2)
        return year < 50 ? 2000 + year : 1900 + year;
    return year;
}

} // namespace

QString formatDateTime(const QDateTime& value, const QString& fmt)
{
    if (!value.isValid())
        return {};
    return format(value.date(), value.time(), fmt);
}

QString formatDate(const QDate& value, const QString& fmt)
{
    if (!value.isValid())
        return {};
    return format(value, QTime(0, 0), fmt);
}

QString formatTime(const QTime& value, const QString& fmt)
{
    if (!value.isValid())
        return {};
    return format(QDate(1899, 12, 30), value, fmt);
}

std::optional<QDate> parseDate(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2})[./-](\\d{1,2})[./-](\\d{1,4})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(expandYear(m.captured(3).toInt(), int(m.captured(3).size())), m.captured(2).toInt(),
                     m.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> parseTime(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*(AM|PM|A|P)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.captured(1).toInt();
    const QString ampm = m.captured(4).toUpper();
    if (!ampm.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour %= 12;
        if (ampm.startsWith(u'P'))
            hour += 12;
    }
    const QTime time(hour, m.captured(2).toInt(), m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
    if (!time.isValid())
        return std::nullopt;
    return time;
}

std::optional<QDateTime> parseDateTime(const QString& text)
{
    const QString t = text.trimmed();
    const int space = int(t.indexOf(u' '));
    const auto date = parseDate(space < 0 ? t : t.left(space));
    if (!date)
        return std::nullopt;
    if (space < 0)
        return QDateTime(*date, QTime(0, 0));
    const auto time = parseTime(t.mid(space + 1));
    if (!time)
        return std::nullopt;
    return QDateTime(*date, *time);
}

} // namespace db
