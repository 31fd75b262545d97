#include "Message.h"

#include "Blob.h"
#include "Charset.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>
#include <cmath>
#include <cstring>
#include <limits>

namespace fb::detail {

namespace {

constexpr unsigned CharsetOctets = 1;
constexpr qint64 DayOfModifiedJulianZero = 2400001; // Julian day of 17 Nov 1858, ISC_DATE 0
constexpr long GdsArithExcept = 335544321L;
constexpr long GdsNumericOutOfRange = 335545075L; // isc_numeric_out_of_range
constexpr long GdsStringTruncation = 335544914L;  // isc_string_truncation
constexpr long GdsConvertError = 335544334L;      // isc_convert_error

SqlType sqlTypeOf(unsigned type)
{
    switch (type) {
    case SQL_SHORT:
        return SqlType::SmallInt;
    case SQL_LONG:
        return SqlType::Integer;
    case SQL_INT64:
        return SqlType::BigInt;
    case SQL_FLOAT:
        return SqlType::Float;
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return SqlType::Double;
    case SQL_TYPE_DATE:
        return SqlType::Date;
    case SQL_TYPE_TIME:
        return SqlType::Time;
    case SQL_TIMESTAMP:
        return SqlType::Timestamp;
    case SQL_TEXT:
        return SqlType::Char;
    case SQL_VARYING:
        return SqlType::VarChar;
    case SQL_BLOB:
        return SqlType::Blob;
    case SQL_BOOLEAN:
        return SqlType::Boolean;
    default:
        return SqlType::Other;
    }
}

QString decodeText(const char* data, qsizetype size)
{
    return win1251::decode(data, size);
}

template <class T> T load(const unsigned char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T> void store(unsigned char* p, T v)
{
    std::memcpy(p, &v, sizeof v);
}

qint64 powerOfTen(int n)
{
    qint64 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

QDate dateOf(ISC_DATE d)
{
    return QDate::fromJulianDay(qint64(d) + DayOfModifiedJulianZero);
}

ISC_DATE iscDate(const QDate& d)
{
    return ISC_DATE(d.toJulianDay() - DayOfModifiedJulianZero);
}

QTime timeOf(ISC_TIME t)
{
    return QTime::fromMSecsSinceStartOfDay(int(t / 10));
}

ISC_TIME iscTime(const QTime& t)
{
    return ISC_TIME(t.msecsSinceStartOfDay()) * 10;
}

[[noreturn]] void conversionError(const QVariant& value, const QString& what, const QString& expected)
{
    throw Error(QStringLiteral("The value \"%1\" can't be converted to %2 for %3.")
                    .arg(value.toString(), expected, what),
                {GdsConvertError});
}

[[noreturn]] void rangeError(const QVariant& value, const QString& what)
{
    throw Error(QStringLiteral("The value \"%1\" is out of range for %2.").arg(value.toString(), what),
                {GdsArithExcept, GdsNumericOutOfRange});
}

bool isIntegral(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool isFloating(const QVariant& v)
{
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

// Strings of only blanks stand for NULL in every non-text field.
bool isBlankString(const QVariant& v)
{
    return v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty();
}

qint64 toScaled(const QVariant& value, int scale, qint64 min, qint64 max, const QString& what)
{
    qint64 result = 0;
    bool overflow = false;
    if (isIntegral(value)) {
        const int shift = -scale;
        if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong) {
            const qulonglong u = value.toULongLong();
            if (u > qulonglong(std::numeric_limits<qint64>::max()))
                rangeError(value, what);
        }
        const __int128 wide = __int128(value.toLongLong()) * powerOfTen(shift);
        if (wide < min || wide > max)
            rangeError(value, what);
        return qint64(wide);
    }
    QString text;
    if (isFloating(value)) {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            rangeError(value, what);
        // Fifteen significant digits give back the decimal the double was made from.
        text = QString::number(d, 'g', 15);
    } else if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        text = value.toString();
    } else {
        conversionError(value, what, QStringLiteral("a number"));
    }
    if (!parseScaled(text, scale, min, max, result, overflow)) {
        if (overflow)
            rangeError(value, what);
        conversionError(value, what, QStringLiteral("a number"));
    }
    return result;
}

double toDouble(const QVariant& value, const QString& what)
{
    if (isIntegral(value) || isFloating(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        bool ok = false;
        const double d = QLocale::c().toDouble(value.toString().trimmed(), &ok);
        if (ok)
            return d;
    }
    conversionError(value, what, QStringLiteral("a number"));
}

QDate toDate(const QVariant& value, const QString& what)
{
    QDate d;
    switch (value.typeId()) {
    case QMetaType::QDate:
        d = value.toDate();
        break;
    case QMetaType::QDateTime:
        d = value.toDateTime().date();
        break;
    case QMetaType::QString: {
        const QString s = value.toString().trimmed();
        d = QDate::fromString(s, Qt::ISODate);
        if (!d.isValid())
            d = QDate::fromString(s, QStringLiteral("dd.MM.yyyy"));
        if (!d.isValid())
            d = QDateTime::fromString(s, Qt::ISODate).date();
        break;
    }
    default:
        break;
    }
    if (!d.isValid())
        conversionError(value, what, QStringLiteral("a date"));
    return d;
}

QTime toTime(const QVariant& value, const QString& what)
{
    QTime t;
    switch (value.typeId()) {
    case QMetaType::QTime:
        t = value.toTime();
        break;
    case QMetaType::QDateTime:
        t = value.toDateTime().time();
        break;
    case QMetaType::QString:
        t = QTime::fromString(value.toString().trimmed(), Qt::ISODateWithMs);
        break;
    default:
        break;
    }
    if (!t.isValid())
        conversionError(value, what, QStringLiteral("a time"));
    return t;
}

QDateTime toDateTime(const QVariant& value, const QString& what)
{
    QDateTime dt;
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        dt = value.toDateTime();
        break;
    case QMetaType::QDate:
        dt = QDateTime(value.toDate(), QTime(0, 0));
        break;
    case QMetaType::QString: {
        const QString s = value.toString().trimmed();
        dt = QDateTime::fromString(s, Qt::ISODateWithMs);
        if (!dt.isValid())
            dt = QDateTime::fromString(QString(s).replace(u' ', u'T'), Qt::ISODateWithMs);
        if (!dt.isValid())
            dt = QDateTime::fromString(s, QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        if (!dt.isValid()) {
            const QDate d = toDate(value, what);
            dt = QDateTime(d, QTime(0, 0));
        }
        break;
    }
    default:
        break;
    }
    if (!dt.isValid())
        conversionError(value, what, QStringLiteral("a date and time"));
    return dt;
}

QByteArray toTextBytes(const QVariant& value, const QString& what)
{
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        return value.toByteArray();
    case QMetaType::QString:
        return win1251::encode(value.toString(), what);
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate).toLatin1();
    case QMetaType::QDateTime:
        return value.toDateTime().toString(Qt::ISODateWithMs).toLatin1();
    case QMetaType::QTime:
        return value.toTime().toString(Qt::ISODateWithMs).toLatin1();
    default:
        if (isIntegral(value) || isFloating(value))
            return value.toString().toLatin1(); // QVariant formats numbers with "."
        conversionError(value, what, QStringLiteral("text"));
    }
}

// Trailing blanks beyond the declared length are dropped, as the database itself does; any
// other excess is refused.
QByteArray fitText(QByteArray bytes, unsigned length, const QString& what)
{
    if (bytes.size() <= qsizetype(length))
        return bytes;
    for (qsizetype i = length; i < bytes.size(); ++i) {
        if (bytes.at(i) != ' ')
            throw Error(QStringLiteral("The text for %1 is too long: %2 characters, at most %3 are allowed.")
                            .arg(what)
                            .arg(bytes.size())
                            .arg(length),
                        {GdsArithExcept, GdsStringTruncation});
    }
    bytes.truncate(length);
    return bytes;
}

bool toBool(const QVariant& value, const QString& what)
{
    if (value.typeId() == QMetaType::Bool || isIntegral(value))
        return value.toLongLong() != 0;
    if (value.typeId() == QMetaType::QString) {
        const QString s = value.toString().trimmed().toLower();
        if (s == u"true" || s == u"1")
            return true;
        if (s == u"false" || s == u"0")
            return false;
    }
    conversionError(value, what, QStringLiteral("a boolean"));
}

} // namespace

bool parseScaled(const QString& input, int scale, qint64 min, qint64 max, qint64& result, bool& overflow)
{
    overflow = false;
    const QString text = input.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    // Digits as an integer `mantissa` times 10^exponent; digits past 19 only matter for rounding.
    __int128 mantissa = 0;
    int exponent = 0;
    int digits = 0;
    bool sawPoint = false;
    bool dropped = false;
    int droppedFirst = -1;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' && !sawPoint) {
            sawPoint = true;
            continue;
        }
        if (!c.isDigit() || c.unicode() > '9')
            break;
        ++digits;
        const int d = c.unicode() - '0';
        if (mantissa < __int128(1) * 1000000000000000000LL * 100) {
            mantissa = mantissa * 10 + d;
            if (sawPoint)
                --exponent;
        } else {
            if (!dropped)
                droppedFirst = d;
            dropped = true;
            if (!sawPoint)
                ++exponent;
        }
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        bool ok = false;
        const int e = text.mid(i + 1).toInt(&ok);
        if (!ok || e > 400 || e < -400)
            return false;
        exponent += e;
        i = text.size();
    }
    if (i != text.size())
        return false;
    // value = mantissa * 10^exponent; wanted: round(value * 10^-scale).
    int shift = exponent - scale;
    __int128 value = mantissa;
    if (shift >= 0) {
        for (; shift > 0; --shift) {
            value *= 10;
            if (value > __int128(std::numeric_limits<qint64>::max()) * 10) {
                overflow = true;
                return false;
            }
        }
    } else {
        int lastDropped = dropped ? droppedFirst : 0;
        for (; shift < 0; ++shift) {
            lastDropped = int(value % 10);
            value /= 10;
        }
        if (lastDropped >= 5)
            ++value;
    }
    if (negative)
        value = -value;
    if (value < min || value > max) {
        overflow = true;
        return false;
    }
    result = qint64(value);
    return true;
}

MessageLayout::MessageLayout(Firebird::IMessageMetadata* metadata) : m_metadata(metadata)
{
    if (!metadata)
        return;
    guarded([&] {
        ThrowStatus st;
        const unsigned count = metadata->getCount(&st);
        m_size = metadata->getMessageLength(&st);
        m_slots.reserve(count);
        m_columns.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            FieldSlot slot;
            slot.type = metadata->getType(&st, i) & ~1u;
            slot.offset = metadata->getOffset(&st, i);
            slot.nullOffset = metadata->getNullOffset(&st, i);
            slot.length = metadata->getLength(&st, i);
            slot.charset = metadata->getCharSet(&st, i);
            ColumnInfo info;
            auto text = [](const char* s) {
                return s ? decodeText(s, qsizetype(std::strlen(s))) : QString();
            };
            info.name = text(metadata->getField(&st, i));
            info.alias = text(metadata->getAlias(&st, i));
            info.relation = text(metadata->getRelation(&st, i));
            info.type = sqlTypeOf(slot.type);
            info.scale = metadata->getScale(&st, i);
            info.length = int(slot.length);
            info.subType = metadata->getSubType(&st, i);
            info.nullable = metadata->isNullable(&st, i);
            m_slots.push_back(slot);
            m_columns.push_back(std::move(info));
        }
    });
}

bool MessageLayout::isNull(int i, const unsigned char* message) const
{
    return load<short>(message + slot(i).nullOffset) != 0;
}

QVariant MessageLayout::read(int i, const unsigned char* message, const BlobAccess& blobs) const
{
    if (isNull(i, message))
        return {};
    const FieldSlot& s = slot(i);
    const int scale = m_columns[size_t(i)].scale;
    const unsigned char* p = message + s.offset;
    auto scaled = [scale](qint64 v) -> QVariant { return double(v) / double(powerOfTen(-scale)); };
    switch (s.type) {
    case SQL_SHORT: {
        const short v = load<short>(p);
        return scale < 0 ? scaled(v) : QVariant(int(v));
    }
    case SQL_LONG: {
        const qint32 v = load<qint32>(p);
        return scale < 0 ? scaled(v) : QVariant(int(v));
    }
    case SQL_INT64: {
        const qint64 v = load<qint64>(p);
        return scale < 0 ? scaled(v) : QVariant(qlonglong(v));
    }
    case SQL_FLOAT:
        return double(load<float>(p));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return load<double>(p);
    case SQL_TYPE_DATE:
        return dateOf(load<ISC_DATE>(p));
    case SQL_TYPE_TIME:
        return timeOf(load<ISC_TIME>(p));
    case SQL_TIMESTAMP: {
        const auto ts = load<ISC_TIMESTAMP>(p);
        return QDateTime(dateOf(ts.timestamp_date), timeOf(ts.timestamp_time));
    }
    case SQL_TEXT: {
        const char* data = reinterpret_cast<const char*>(p);
        if (s.charset == CharsetOctets)
            return QByteArray(data, s.length);
        qsizetype n = s.length;
        while (n > 0 && data[n - 1] == ' ')
            --n;
        return decodeText(data, n);
    }
    case SQL_VARYING: {
        const auto n = load<unsigned short>(p);
        const char* data = reinterpret_cast<const char*>(p + sizeof(unsigned short));
        if (s.charset == CharsetOctets)
            return QByteArray(data, n);
        return decodeText(data, n);
    }
    case SQL_BLOB: {
        const QByteArray bytes = readBlob(blobs.attachment, blobs.transaction, load<ISC_QUAD>(p));
        if (m_columns[size_t(i)].subType == 1)
            return decodeText(bytes.constData(), bytes.size());
        return bytes;
    }
    case SQL_BOOLEAN:
        return load<FB_BOOLEAN>(p) != FB_FALSE;
    default:
        throw Error(QStringLiteral("The column %1 has a type (%2) that this program can't read.")
                        .arg(m_columns[size_t(i)].name)
                        .arg(s.type));
    }
}

void MessageLayout::write(int i, unsigned char* message, const QVariant& value, const BlobAccess& blobs,
                          const QString& what) const
{
    const FieldSlot& s = slot(i);
    const ColumnInfo& info = m_columns[size_t(i)];
    unsigned char* p = message + s.offset;
    const bool isText = s.type == SQL_TEXT || s.type == SQL_VARYING || s.type == SQL_BLOB;
    if (value.isNull() || (!isText && isBlankString(value))) {
        store<short>(message + s.nullOffset, -1);
        return;
    }
    store<short>(message + s.nullOffset, 0);
    switch (s.type) {
    case SQL_SHORT:
        store<short>(p, short(toScaled(value, info.scale, std::numeric_limits<short>::min(),
                                       std::numeric_limits<short>::max(), what)));
        break;
    case SQL_LONG:
        store<qint32>(p, qint32(toScaled(value, info.scale, std::numeric_limits<qint32>::min(),
                                         std::numeric_limits<qint32>::max(), what)));
        break;
    case SQL_INT64:
        store<qint64>(p, toScaled(value, info.scale, std::numeric_limits<qint64>::min(),
                                  std::numeric_limits<qint64>::max(), what));
        break;
    case SQL_FLOAT: {
        const double d = toDouble(value, what);
        if (std::isfinite(d) && std::fabs(d) > double(std::numeric_limits<float>::max()))
            rangeError(value, what);
        store<float>(p, float(d));
        break;
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        store<double>(p, toDouble(value, what));
        break;
    case SQL_TYPE_DATE:
        store<ISC_DATE>(p, iscDate(toDate(value, what)));
        break;
    case SQL_TYPE_TIME:
        store<ISC_TIME>(p, iscTime(toTime(value, what)));
        break;
    case SQL_TIMESTAMP: {
        const QDateTime dt = toDateTime(value, what);
        ISC_TIMESTAMP ts;
        ts.timestamp_date = iscDate(dt.date());
        ts.timestamp_time = iscTime(dt.time());
        store<ISC_TIMESTAMP>(p, ts);
        break;
    }
    case SQL_TEXT: {
        const QByteArray bytes = fitText(toTextBytes(value, what), s.length, what);
        std::memcpy(p, bytes.constData(), size_t(bytes.size()));
        std::memset(p + bytes.size(), ' ', s.length - unsigned(bytes.size()));
        break;
    }
    case SQL_VARYING: {
        const QByteArray bytes = fitText(toTextBytes(value, what), s.length, what);
        store<unsigned short>(p, static_cast<unsigned short>(bytes.size()));
        std::memcpy(p + sizeof(unsigned short), bytes.constData(), size_t(bytes.size()));
        break;
    }
    case SQL_BLOB: {
        const QByteArray bytes = toTextBytes(value, what);
        store<ISC_QUAD>(p, writeBlob(blobs.attachment, blobs.transaction, bytes));
        break;
    }
    case SQL_BOOLEAN:
        store<FB_BOOLEAN>(p, toBool(value, what) ? FB_TRUE : FB_FALSE);
        break;
    case SQL_NULL:
        break; // "? IS NULL": only the indicator matters
    default:
        throw Error(
            QStringLiteral("%1 has a type (%2) that this program can't write.").arg(what).arg(s.type));
    }
}

} // namespace fb::detail
