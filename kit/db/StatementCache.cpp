#include "StatementCache.h"

#include <fb/Statement.h>

namespace db {

StatementCache::StatementCache() = default;
StatementCache::~StatementCache() = default;
StatementCache::StatementCache(StatementCache&&) noexcept = default;
StatementCache& StatementCache::operator=(StatementCache&&) noexcept = default;

void StatementCache::setSql(const QString& sql)
{
    if (sql == m_parsed.source())
        return;
    release();
    m_parsed = ParsedSql(sql);
}

quint64 StatementCache::nullMask(const QVariantList& values, bool forceIsNull) const
{
    if (!forceIsNull)
        return 0;
    quint64 mask = 0;
    const auto& params = m_parsed.params();
    for (size_t k = 0; k < params.size() && k < 64; ++k)
        if (params[k].nullTestable && !values.at(qsizetype(k)).isValid())
            mask |= quint64(1) << k;
    return mask;
}

fb::Statement& StatementCache::statement(const fb::Attachment& attachment, fb::Transaction& transaction,
                                         quint64 mask)
{
    auto it = m_prepared.find(mask);
    if (it != m_prepared.end())
        return *it->second;
    auto statement = std::make_unique<fb::Statement>(attachment, transaction, m_parsed.positionalSql(mask));
    QStringList names;
    const auto& params = m_parsed.params();
    for (size_t k = 0; k < params.size(); ++k)
        if (k >= 64 || !(mask & (quint64(1) << k)))
            names << params[k].name;
    statement->setParameterNames(names);
    return *m_prepared.emplace(mask, std::move(statement)).first->second;
}

QVariantList StatementCache::positional(const QVariantList& values, quint64 mask) const
{
    if (mask == 0)
        return values;
    QVariantList out;
    out.reserve(values.size());
    for (qsizetype k = 0; k < values.size(); ++k)
        if (k >= 64 || !(mask & (quint64(1) << k)))
            out << values.at(k);
    return out;
}

void StatementCache::release()
{
    m_prepared.clear();
}

} // namespace db
