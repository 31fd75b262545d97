#include "SchemaInfo.h"

#include <fb/Statement.h>
#include <fb/Transaction.h>

namespace db {

namespace {

QString key(const QString& table, const QString& column)
{
    return table.trimmed() + u'.' + column.trimmed();
}

} // namespace

std::optional<ColumnMeta> SchemaInfo::column(const fb::Attachment& attachment, fb::Transaction& transaction,
                                             const QString& table, const QString& column)
{
    if (!m_loaded || m_attachment.lock() != attachment.shared())
        load(attachment, transaction);
    const auto it = m_columns.constFind(key(table, column));
    if (it == m_columns.constEnd())
        return std::nullopt;
    return *it;
}

void SchemaInfo::reset()
{
    m_loaded = false;
    m_attachment.reset();
    m_columns.clear();
}

void SchemaInfo::load(const fb::Attachment& attachment, fb::Transaction& transaction)
{
    m_columns.clear();
    fb::Statement statement(attachment, transaction, QStringLiteral(R"(
        SELECT RF.RDB$RELATION_NAME, RF.RDB$FIELD_NAME,
               COALESCE(RF.RDB$NULL_FLAG, F.RDB$NULL_FLAG, 0),
               IIF(F.RDB$COMPUTED_BLR IS NULL, 0, 1),
               COALESCE(RF.RDB$DEFAULT_SOURCE, F.RDB$DEFAULT_SOURCE)
        FROM RDB$RELATION_FIELDS RF
        JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE
        WHERE COALESCE(RF.RDB$SYSTEM_FLAG, 0) = 0)"));
    fb::ResultSet rows = statement.openCursor(transaction);
    while (rows.fetchNext()) {
        ColumnMeta meta;
        meta.notNull = rows.value(2).toInt() != 0;
        meta.computed = rows.value(3).toInt() != 0;
        meta.defaultSource = rows.value(4).toString().trimmed();
        m_columns.insert(key(rows.value(0).toString(), rows.value(1).toString()), meta);
    }
    m_attachment = attachment.shared();
    m_loaded = true;
}

std::optional<QString> SchemaInfo::defaultExpression(const QString& defaultSource)
{
    QString text = defaultSource.trimmed();
    if (text.startsWith(QLatin1StringView("DEFAULT"), Qt::CaseInsensitive))
        text = text.mid(7).trimmed();
    if (text.isEmpty() || text.compare(QLatin1StringView("NULL"), Qt::CaseInsensitive) == 0)
        return std::nullopt;
    return text;
}

} // namespace db
