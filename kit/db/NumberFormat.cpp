#include "NumberFormat.h"

#include <QStringList>
#include <cmath>
#include <cstdio>

namespace db {

namespace {

// A finite number as decimal digits: value = 0.digits * 10^exponent (digits without leading
// zeros; empty for zero).
struct Decimal
{
    QByteArray digits;
    int exponent = 0;
    bool negative = false;

    bool isZero() const { return digits.isEmpty(); }
};

Decimal toDecimal(double value, int significant = 15)
{
    Decimal d;
    d.negative = std::signbit(value);
    if (value == 0)
        return d;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, std::fabs(value));
    // d.ddddde[+-]xx
    const QByteArray text(buffer);
    const int e = text.indexOf('e');
    QByteArray digits = text.left(e);
    digits.remove(1, 1); // the point
    d.exponent = text.mid(e + 1).toInt() + 1;
    while (digits.endsWith('0'))
        digits.chop(1);
    d.digits = digits;
    return d;
}

Decimal toDecimal(qint64 value)
{
    Decimal d;
    d.negative = value < 0;
    if (value == 0)
        return d;
    QByteArray digits = QByteArray::number(value);
    if (d.negative)
        digits.remove(0, 1);
    d.exponent = int(digits.size());
    while (digits.endsWith('0'))
        digits.chop(1);
    d.digits = digits;
    return d;
}

// Rounds half away from zero so that at most `places` digits follow the point.
void roundTo(Decimal& d, int places)
{
    const int keep = d.exponent + places; // digits that stay
    if (d.isZero() || keep >= d.digits.size())
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits.at(keep) >= '5';
    d.digits.truncate(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits.at(i) == '9') {
            d.digits[i] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.prepend('1');
            ++d.exponent;
        } else {
            d.digits[i] = char(d.digits.at(i) + 1);
        }
    }
    while (d.digits.endsWith('0'))
        d.digits.chop(1);
}

// The digit at position `power` (10^power) of the number.
char digitAt(const Decimal& d, int power)
{
    const int index = d.exponent - 1 - power;
    if (index < 0 || index >= d.digits.size())
        return '0';
    return d.digits.at(index);
}

struct Section
{
    QString prefix, suffix;
    int integerMin = 0;  // integer digits always written
    int fractionMin = 0; // fraction digits always written
    int fractionMax = 0; // fraction digits at most
    bool thousands = false;
    bool scientific = false;
    bool exponentAlwaysSigned = false;
    int exponentDigits = 0;
    bool hasPlaceholder = false;
};

QStringList splitSections(const QString& format)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

Section parseSection(const QString& text)
{
    Section s;
    bool afterPoint = false;
    bool seenZeroBeforePoint = false;
    int integerPlaceholdersFromZero = 0;
    int fractionCount = 0;
    int lastZeroAfterPoint = 0;
    QString* literal = &s.prefix;
    QString middle; // literals between placeholders, written after the number
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"' || c == u'\'') {
            const int end = text.indexOf(c, i + 1);
            const QString quoted = text.mid(i + 1, end < 0 ? -1 : end - i - 1);
            (s.hasPlaceholder && literal != &s.suffix ? middle : *literal) += quoted;
            i = end < 0 ? int(text.size()) : end;
            continue;
        }
        if (c == u'0' || c == u'#') {
            if (!s.hasPlaceholder)
                literal = &s.suffix;
            s.hasPlaceholder = true;
            if (!s.suffix.isEmpty()) {
                middle += s.suffix;
                s.suffix.clear();
            }
            if (afterPoint) {
                ++fractionCount;
                if (c == u'0')
                    lastZeroAfterPoint = fractionCount;
            } else {
                if (c == u'0')
                    seenZeroBeforePoint = true;
                if (seenZeroBeforePoint)
                    ++integerPlaceholdersFromZero;
            }
            continue;
        }
        if (c == u'.' && !afterPoint && !s.scientific) {
            afterPoint = true;
            if (!s.hasPlaceholder)
                literal = &s.suffix;
            s.hasPlaceholder = true;
            continue;
        }
        if (c == u',' && !afterPoint && s.hasPlaceholder) {
            s.thousands = true;
            continue;
        }
        if (c == u',' && !s.hasPlaceholder) {
            s.thousands = true;
            continue;
        }
        if ((c == u'E' || c == u'e') && s.hasPlaceholder && i + 1 < text.size() &&
            (text.at(i + 1) == u'+' || text.at(i + 1) == u'-')) {
            s.scientific = true;
            s.exponentAlwaysSigned = text.at(i + 1) == u'+';
            i += 2;
            while (i < text.size() && text.at(i) == u'0') {
                ++s.exponentDigits;
                ++i;
            }
            --i;
            literal = &s.suffix;
            continue;
        }
        *literal += c;
    }
    s.suffix = middle + s.suffix;
    s.integerMin = integerPlaceholdersFromZero;
    s.fractionMin = lastZeroAfterPoint;
    s.fractionMax = fractionCount;
    return s;
}

QString groupThousands(const QString& digits, QChar separator)
{
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits.at(i);
    }
    return out;
}

QString formatFixed(Decimal d, const Section& s, const Separators& seps)
{
    roundTo(d, s.fractionMax);
    QString integer;
    for (int p = std::max(d.exponent, 1) - 1; p >= 0; --p)
        integer += QLatin1Char(digitAt(d, p));
    // Leading zeros only as far as the format asks for them.
    int strip = 0;
    while (strip < integer.size() - s.integerMin && integer.at(strip) == u'0')
        ++strip;
    integer = integer.mid(strip);
    if (s.thousands)
        integer = groupThousands(integer, seps.thousands);
    QString fraction;
    for (int p = 1; p <= s.fractionMax; ++p)
        fraction += QLatin1Char(digitAt(d, -p));
    while (fraction.size() > s.fractionMin && fraction.endsWith(u'0'))
        fraction.chop(1);
    QString out = integer;
    if (!fraction.isEmpty())
        out += seps.decimal + fraction;
    return out;
}

QString formatScientific(Decimal d, const Section& s, const Separators& seps)
{
    const int integerDigits = std::max(s.integerMin, 1);
    // Round to the significant digits the format shows.
    int exponent = 0;
    if (!d.isZero()) {
        exponent = d.exponent - integerDigits;
        Decimal shifted = d;
        shifted.exponent = integerDigits;
        roundTo(shifted, s.fractionMax);
        if (shifted.exponent > integerDigits) { // 9.99 -> 10.0
            ++exponent;
            shifted.exponent = integerDigits;
        }
        d = shifted;
    }
    QString mantissa;
    for (int p = integerDigits - 1; p >= 0; --p)
        mantissa += QLatin1Char(digitAt(d, p));
    QString fraction;
    for (int p = 1; p <= s.fractionMax; ++p)
        fraction += QLatin1Char(digitAt(d, -p));
    while (fraction.size() > s.fractionMin && fraction.endsWith(u'0'))
        fraction.chop(1);
    if (!fraction.isEmpty())
        mantissa += seps.decimal + fraction;
    QString exp = QString::number(std::abs(exponent)).rightJustified(s.exponentDigits, u'0');
    if (exponent < 0)
        exp.prepend(u'-');
    else if (s.exponentAlwaysSigned)
        exp.prepend(u'+');
    return mantissa + u'E' + exp;
}

QString formatDecimal(const Decimal& value, const QString& format, const Separators& seps)
{
    const QStringList sections = splitSections(format);
    const Section positive = parseSection(sections.at(0));
    Section chosen = positive;
    bool ownSign = false;
    if (value.isZero() && sections.size() > 2 && !sections.at(2).isEmpty()) {
        chosen = parseSection(sections.at(2));
        ownSign = true;
    } else if (value.negative && !value.isZero() && sections.size() > 1 && !sections.at(1).isEmpty()) {
        chosen = parseSection(sections.at(1));
        ownSign = true;
    }
    if (!chosen.hasPlaceholder)
        return chosen.prefix + chosen.suffix;
    const QString number =
        chosen.scientific ? formatScientific(value, chosen, seps) : formatFixed(value, chosen, seps);
    bool showsNonZero = false;
    for (QChar c : number)
        showsNonZero |= c.isDigit() && c != u'0';
    const QString sign = value.negative && !ownSign && showsNonZero ? QStringLiteral("-") : QString();
    return sign + chosen.prefix + number + chosen.suffix;
}

} // namespace

QString formatGeneral(double value, int precision)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    precision = std::clamp(precision, 1, 17);
    Decimal d = toDecimal(value, precision);
    if (d.isZero())
        return QStringLiteral("0");
    QString out = d.negative ? QStringLiteral("-") : QString();
    const int e = d.exponent - 1; // value = d.ddd * 10^e
    if (e >= precision || e < -4) {
        out += QLatin1Char(d.digits.at(0));
        if (d.digits.size() > 1)
            out += u'.' + QString::fromLatin1(d.digits.mid(1));
        out += u'E' + QString::number(e);
        return out;
    }
    if (d.exponent <= 0) {
        out += QStringLiteral("0.") + QString(-d.exponent, u'0') + QString::fromLatin1(d.digits);
    } else if (d.exponent >= d.digits.size()) {
        out += QString::fromLatin1(d.digits) + QString(d.exponent - d.digits.size(), u'0');
    } else {
        out += QString::fromLatin1(d.digits.left(d.exponent)) + u'.' +
               QString::fromLatin1(d.digits.mid(d.exponent));
    }
    return out;
}

QString formatFloat(double value, const QString& format, const Separators& separators)
{
    if (std::isnan(value) || std::isinf(value) || format.isEmpty())
        return formatGeneral(value);
    return formatDecimal(toDecimal(value), format, separators);
}

QString formatInteger(qint64 value, const QString& format, const Separators& separators)
{
    if (format.isEmpty())
        return QString::number(value);
    return formatDecimal(toDecimal(value), format, separators);
}

namespace {

// Sign, digits, optional point and fraction, optional exponent; returns the C-locale text.
std::optional<QByteArray> normalizedNumber(const QString& text, const Separators& seps, bool integerOnly)
{
    const QString t = text.trimmed();
    QByteArray out;
    int i = 0;
    const int n = int(t.size());
    if (i < n && (t.at(i) == u'+' || t.at(i) == u'-'))
        out += char(t.at(i++).unicode());
    int digits = 0;
    while (i < n && t.at(i) >= u'0' && t.at(i) <= u'9') {
        out += char(t.at(i++).unicode());
        ++digits;
    }
    if (!integerOnly && i < n && t.at(i) == seps.decimal) {
        out += '.';
        ++i;
        while (i < n && t.at(i) >= u'0' && t.at(i) <= u'9') {
            out += char(t.at(i++).unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (!integerOnly && i < n && (t.at(i) == u'e' || t.at(i) == u'E')) {
        out += 'e';
        ++i;
        if (i < n && (t.at(i) == u'+' || t.at(i) == u'-'))
            out += char(t.at(i++).unicode());
        int expDigits = 0;
        while (i < n && t.at(i) >= u'0' && t.at(i) <= u'9') {
            out += char(t.at(i++).unicode());
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    return out;
}

} // namespace

std::optional<double> parseFloat(const QString& text, const Separators& separators)
{
    const auto normalized = normalizedNumber(text, separators, false);
    if (!normalized)
        return std::nullopt;
    bool ok = false;
    const double value = normalized->toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint64> parseInteger(const QString& text, const Separators& separators)
{
    const auto normalized = normalizedNumber(text, separators, true);
    if (!normalized)
        return std::nullopt;
    bool ok = false;
    const qint64 value = normalized->toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace db
