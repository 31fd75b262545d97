#include "Field.h"

#include "DataSetPrivate.h"
#include "DateFormat.h"
#include "Error.h"
#include "NumberFormat.h"

#include <QCoreApplication>
#include <cmath>
#include <fb/Charset.h>

namespace db {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("db::Field", text);
}

QString zeros(int n)
{
    return QString(n, u'0');
}

struct Range
{
    qint64 low, high;
};

std::optional<Range> rangeOf(FieldType type)
{
    switch (type) {
    case FieldType::SmallInt:
        return Range{-32768, 32767};
    case FieldType::Integer:
        return Range{std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
    default:
        return std::nullopt;
    }
}

} // namespace

Field::Field(DataSet* dataSet, const QString& name, FieldKind kind, FieldType type, int size)
    : m_dataSet(dataSet), m_fieldName(name), m_kind(kind), m_type(type), m_size(size)
{}

bool Field::isNumeric() const
{
    switch (m_type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt:
    case FieldType::Float:
    case FieldType::Numeric:
        return true;
    default:
        return false;
    }
}

int Field::displayWidth() const
{
    if (m_displayWidth > 0)
        return m_displayWidth;
    switch (m_type) {
    case FieldType::String:
        return std::max(1, m_size);
    case FieldType::SmallInt:
        return 6;
    case FieldType::DateTime:
        return 19;
    default:
        return 10;
    }
}

Qt::Alignment Field::alignment() const
{
    return (isNumeric() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

bool Field::canModify() const
{
    if (m_readOnly || m_kind == FieldKind::Calculated || !m_dataSet->isActive())
        return false;
    if (m_kind == FieldKind::Lookup) {
        Field* key = keyField();
        if (!key || key->isReadOnly())
            return false;
    }
    switch (m_dataSet->state()) {
    case DataSetState::Insert:
    case DataSetState::Edit:
        return true;
    case DataSetState::Browse:
        if (m_dataSet->isEmpty())
            return m_dataSet->canInsert();
        return !m_dataSet->updateSql().isEmpty() &&
               m_dataSet->allowedUpdateKinds().testFlag(UpdateKind::Modify);
    default:
        return false;
    }
}

// --- values ---

QVariant Field::fromRaw(const QVariant& raw) const
{
    if (isNullValue(raw))
        return {};
    if (m_emptyStringAsNull && raw.userType() == QMetaType::QString && raw.toString().isEmpty())
        return {};
    return raw;
}

QVariant Field::rawValue() const
{
    if (m_kind == FieldKind::Lookup) {
        Field* key = keyField();
        return key ? lookupValue(key->rawValue()) : QVariant();
    }
    const QVariant* values = m_dataSet->d->currentValues();
    if (!values || m_column < 0)
        return {};
    return values[m_column];
}

QVariant Field::value() const
{
    return fromRaw(rawValue());
}

bool Field::isNull() const
{
    return isNullValue(value());
}

QVariant Field::oldValue() const
{
    return fromRaw(m_dataSet->d->storedValue(this));
}

QVariant Field::value(int row) const
{
    if (m_kind == FieldKind::Lookup) {
        Field* key = keyField();
        return key ? lookupValue(m_dataSet->d->rawAt(row, key->m_column)) : QVariant();
    }
    return fromRaw(m_dataSet->d->rawAt(row, m_column));
}

bool Field::isNull(int row) const
{
    return isNullValue(value(row));
}

QString Field::displayText() const
{
    return format(value(), m_displayFormat, false);
}

QString Field::editText() const
{
    return format(value(), m_editFormat, true);
}

QString Field::displayText(int row) const
{
    return format(value(row), m_displayFormat, false);
}

QString Field::asString() const
{
    const QVariant v = value();
    if (isNullValue(v))
        return {};
    switch (m_type) {
    case FieldType::Float:
    case FieldType::Numeric:
        if (v.userType() == QMetaType::LongLong)
            return QString::number(v.toLongLong());
        return formatGeneral(v.toDouble());
    default:
        return format(v, QString(), true);
    }
}

int Field::asInteger() const
{
    const QVariant v = value();
    if (isNullValue(v))
        return 0;
    if (v.userType() == QMetaType::Double)
        return int(std::llround(v.toDouble()));
    return v.toInt();
}

double Field::asFloat() const
{
    const QVariant v = value();
    return isNullValue(v) ? 0.0 : v.toDouble();
}

QString Field::format(const QVariant& value, const QString& fmt, bool forEdit) const
{
    if (isNullValue(value))
        return {};
    switch (m_type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt:
        if (value.userType() == QMetaType::Double)
            return formatFloat(value.toDouble(), fmt.isEmpty() ? QStringLiteral("0") : fmt);
        return formatInteger(value.toLongLong(), fmt);
    case FieldType::Float:
        return fmt.isEmpty() ? formatGeneral(value.toDouble()) : formatFloat(value.toDouble(), fmt);
    case FieldType::Numeric: {
        if (value.userType() == QMetaType::LongLong)
            return formatInteger(value.toLongLong(), fmt);
        if (!fmt.isEmpty())
            return formatFloat(value.toDouble(), fmt);
        if (m_decimals <= 0)
            return formatGeneral(value.toDouble());
        return formatFloat(value.toDouble(),
                           (forEdit ? QStringLiteral("0.") : QStringLiteral("#,##0.")) + zeros(m_decimals));
    }
    case FieldType::Date:
        return formatDate(value.toDate(), fmt.isEmpty() ? defaultDateFormat() : fmt);
    case FieldType::DateTime:
        return formatDateTime(value.toDateTime(), fmt.isEmpty()
                                                      ? (forEdit ? QStringLiteral("dd.mm.yyyy hh:nn:ss")
                                                                 : defaultDateTimeFormat())
                                                      : fmt);
    case FieldType::Time:
        return formatTime(value.toTime(), fmt.isEmpty() ? defaultTimeFormat() : fmt);
    case FieldType::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Blob:
        return QStringLiteral("(BLOB)");
    default:
        return value.toString();
    }
}

// --- writing ---

QVariant Field::converted(const QVariant& value) const
{
    if (isNullValue(value))
        return {};
    const bool isString = value.userType() == QMetaType::QString;
    const QString label = displayLabel();
    switch (m_type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt: {
        qint64 n = 0;
        if (isString) {
            const auto parsed = parseInteger(value.toString());
            if (!parsed)
                throw Error(
                    tr("'%1' is not a valid integer value for field '%2'").arg(value.toString(), label));
            n = *parsed;
        } else if (value.userType() == QMetaType::Double || value.userType() == QMetaType::Float) {
            const double d = value.toDouble();
            if (!std::isfinite(d) || d != std::trunc(d) || std::fabs(d) > 9.2e18)
                throw Error(
                    tr("'%1' is not a valid integer value for field '%2'").arg(formatGeneral(d), label));
            n = qint64(d);
        } else {
            bool ok = false;
            n = value.toLongLong(&ok);
            if (!ok)
                throw Error(
                    tr("'%1' is not a valid integer value for field '%2'").arg(value.toString(), label));
        }
        if (const auto range = rangeOf(m_type); range && (n < range->low || n > range->high))
            throw Error(tr("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                            .arg(n)
                            .arg(label)
                            .arg(range->low)
                            .arg(range->high));
        if (m_type == FieldType::LargeInt)
            return QVariant(qlonglong(n));
        return QVariant(int(n));
    }
    case FieldType::Float:
    case FieldType::Numeric: {
        if (m_type == FieldType::Numeric && value.userType() == QMetaType::LongLong)
            return value;
        if (isString) {
            const auto parsed = parseFloat(value.toString());
            if (!parsed)
                throw Error(tr("'%1' is not a valid floating point value for field '%2'")
                                .arg(value.toString(), label));
            return QVariant(*parsed);
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw Error(
                tr("'%1' is not a valid floating point value for field '%2'").arg(value.toString(), label));
        return QVariant(d);
    }
    case FieldType::Date: {
        if (value.userType() == QMetaType::QDate)
            return value;
        if (value.userType() == QMetaType::QDateTime)
            return QVariant(value.toDateTime().date());
        const auto parsed = parseDate(value.toString());
        if (!parsed)
            throw Error(tr("'%1' is not a valid date for field '%2'").arg(value.toString(), label));
        return QVariant(*parsed);
    }
    case FieldType::DateTime: {
        if (value.userType() == QMetaType::QDateTime)
            return value;
        if (value.userType() == QMetaType::QDate)
            return QVariant(QDateTime(value.toDate(), QTime(0, 0)));
        const auto parsed = parseDateTime(value.toString());
        if (!parsed)
            throw Error(tr("'%1' is not a valid date and time for field '%2'").arg(value.toString(), label));
        return QVariant(*parsed);
    }
    case FieldType::Time: {
        if (value.userType() == QMetaType::QTime)
            return value;
        if (value.userType() == QMetaType::QDateTime)
            return QVariant(value.toDateTime().time());
        const auto parsed = parseTime(value.toString());
        if (!parsed)
            throw Error(tr("'%1' is not a valid time for field '%2'").arg(value.toString(), label));
        return QVariant(*parsed);
    }
    case FieldType::Boolean: {
        if (!isString)
            return QVariant(value.toBool());
        const QString t = value.toString().trimmed().toLower();
        if (t == QLatin1StringView("true") || t == QLatin1StringView("yes") || t == QLatin1StringView("1"))
            return QVariant(true);
        if (t == QLatin1StringView("false") || t == QLatin1StringView("no") || t == QLatin1StringView("0"))
            return QVariant(false);
        throw Error(tr("'%1' is not a valid boolean value for field '%2'").arg(value.toString(), label));
    }
    case FieldType::Blob:
        return QVariant(value.toByteArray());
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Unknown: {
        const QString text = value.toString();
        if (m_type == FieldType::String && m_size > 0 && text.size() > m_size)
            throw Error(tr("'%1' is too long for field '%2': it holds at most %3 characters")
                            .arg(text, label)
                            .arg(m_size));
        for (QChar c : text)
            if (!fb::win1251::canEncode(c))
                throw Error(tr("Field '%1' can't hold the character '%2': the database stores text in the "
                               "Windows-1251 character set")
                                .arg(label, QString(c)));
        if (m_emptyStringAsNull && text.isEmpty())
            return {};
        return QVariant(text);
    }
    }
    return value;
}

void Field::setValue(const QVariant& value)
{
    DataSet::Private* d = m_dataSet->d.get();
    if (d->calcRow) {
        if (m_kind != FieldKind::Calculated)
            throw Error(tr("Field '%1' cannot be modified while fields are calculated").arg(displayLabel()));
        // A calculated text only shows: cut to the field's size rather than fail the read.
        QVariant v = value;
        if (m_type == FieldType::String && m_size > 0 && v.userType() == QMetaType::QString)
            v = v.toString().left(m_size);
        d->calcRow[m_column] = converted(v);
        return;
    }
    if (m_kind == FieldKind::Calculated)
        throw Error(tr("Field '%1' cannot be modified").arg(displayLabel()));
    if (m_kind == FieldKind::Lookup) {
        Field* key = keyField();
        if (!key)
            throw Error(tr("Field '%1' has no key field").arg(displayLabel()));
        if (isNullValue(value)) {
            key->setValue(QVariant());
            return;
        }
        for (const LookupChoice& choice : lookupChoices())
            if (choice.text == value.toString()) {
                key->setValue(choice.key);
                return;
            }
        throw Error(tr("'%1' is not a valid choice for field '%2'").arg(value.toString(), displayLabel()));
    }
    if (!d->editing())
        throw Error(tr("%1: Dataset not in edit or insert mode").arg(m_dataSet->objectName()));
    if (m_readOnly)
        throw Error(tr("Field '%1' cannot be modified").arg(displayLabel()));
    d->buffer[m_column] = converted(value);
    d->modified = true;
    d->calculate(d->buffer.data());
    d->notifyRecord(this);
    d->notifyDetails(false);
}

void Field::setText(const QString& text)
{
    if (m_kind == FieldKind::Lookup) {
        setValue(text.isEmpty() ? QVariant() : QVariant(text));
        return;
    }
    if (text.isEmpty() && !isText()) {
        setValue(QVariant());
        return;
    }
    setValue(QVariant(text));
}

bool Field::isValidChar(QChar c) const
{
    switch (m_type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt:
        return c.isDigit() || c == u'+' || c == u'-';
    case FieldType::Float:
    case FieldType::Numeric:
        return c.isDigit() || c == u'+' || c == u'-' || c == separators().decimal || c == u'e' || c == u'E';
    case FieldType::Date:
        return c.isDigit() || c == u'.' || c == u'/' || c == u'-';
    case FieldType::DateTime:
    case FieldType::Time:
        return c.isDigit() || c == u'.' || c == u'/' || c == u'-' || c == u':' || c == u' ' || c == u'A' ||
               c == u'P' || c == u'M' || c == u'a' || c == u'p' || c == u'm';
    default:
        return true;
    }
}

// --- lookups ---

Field* Field::keyField() const
{
    return m_keyFieldName.isEmpty() ? nullptr : m_dataSet->findField(m_keyFieldName);
}

QVariant Field::lookupValue(const QVariant& key) const
{
    if (!m_lookupDataSet || isNullValue(key))
        return {};
    Field* lookupKey = m_lookupDataSet->findField(m_lookupKeyFieldName);
    Field* result = m_lookupDataSet->findField(m_lookupResultFieldName);
    if (!lookupKey || !result)
        return {};
    const int row = m_lookupDataSet->d->lookupRow(lookupKey->index(), key);
    return row < 0 ? QVariant() : result->value(row);
}

QList<LookupChoice> Field::lookupChoices() const
{
    QList<LookupChoice> out;
    if (!m_lookupDataSet || !m_lookupDataSet->isActive())
        return out;
    Field* lookupKey = m_lookupDataSet->findField(m_lookupKeyFieldName);
    Field* result = m_lookupDataSet->findField(m_lookupResultFieldName);
    if (!lookupKey || !result)
        return out;
    m_lookupDataSet->fetchAll();
    const int n = m_lookupDataSet->recordCount();
    out.reserve(n);
    for (int row = 0; row < n; ++row)
        out.append({lookupKey->value(row), result->displayText(row)});
    return out;
}

} // namespace db
