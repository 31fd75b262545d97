#include "DefaultValue.h"

#include "DateFormat.h"
#include "NumberFormat.h"

namespace db {

namespace {

std::optional<QVariant> moment(const QString& word, FieldType type, const QDateTime& now)
{
    const QString w = word.toUpper();
    const bool isNow = w == QLatin1StringView("NOW") || w == QLatin1StringView("CURRENT_TIMESTAMP") ||
                       w == QLatin1StringView("CURRENT_TIME") || w == QLatin1StringView("LOCALTIMESTAMP") ||
                       w == QLatin1StringView("LOCALTIME");
    const bool isToday = w == QLatin1StringView("TODAY") || w == QLatin1StringView("CURRENT_DATE");
    if (!isNow && !isToday)
        return std::nullopt;
    switch (type) {
    case FieldType::Date:
        return QVariant(now.date());
    case FieldType::Time:
        return isToday ? std::nullopt : std::optional<QVariant>(QVariant(now.time()));
    case FieldType::DateTime:
        return QVariant(isToday ? QDateTime(now.date(), QTime(0, 0)) : now);
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QVariant> evaluateDefault(const QString& expression, FieldType type, const QDateTime& now)
{
    const QString text = expression.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const bool quoted = text.size() >= 2 && text.startsWith(u'\'') && text.endsWith(u'\'');
    if (!quoted && text.compare(QLatin1StringView("NULL"), Qt::CaseInsensitive) == 0)
        return std::nullopt;
    const QString inner =
        quoted ? text.mid(1, text.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'")) : text;
    if (auto m = moment(inner, type, now))
        return m;
    switch (type) {
    case FieldType::String:
    case FieldType::Memo:
        return QVariant(inner);
    case FieldType::SmallInt:
    case FieldType::Integer:
        if (auto v = parseInteger(inner))
            return QVariant(int(*v));
        if (auto v = parseFloat(inner))
            return QVariant(int(*v));
        return std::nullopt;
    case FieldType::LargeInt:
        if (auto v = parseInteger(inner))
            return QVariant(qlonglong(*v));
        return std::nullopt;
    case FieldType::Float:
    case FieldType::Numeric:
        if (auto v = parseFloat(inner))
            return QVariant(*v);
        return std::nullopt;
    case FieldType::Boolean: {
        const QString u = inner.toUpper();
        if (u == QLatin1StringView("TRUE") || u == QLatin1StringView("1"))
            return QVariant(true);
        if (u == QLatin1StringView("FALSE") || u == QLatin1StringView("0"))
            return QVariant(false);
        return std::nullopt;
    }
    case FieldType::Date:
        if (auto d = parseDate(inner))
            return QVariant(*d);
        return std::nullopt;
    case FieldType::DateTime:
        if (auto d = parseDateTime(inner))
            return QVariant(*d);
        return std::nullopt;
    case FieldType::Time:
        if (auto t = parseTime(inner))
            return QVariant(*t);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace db
