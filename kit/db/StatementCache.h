#pragma once

#include "ParsedSql.h"

#include <QVariantList>
#include <map>
#include <memory>

namespace fb {
class Attachment;
class Transaction;
class Statement;
} // namespace fb

namespace db {

// One statement of a dataset: its parameters parsed once, prepared once for each pattern of
// NULL parameters that turns "= :P" into "IS NULL", and reused.
class StatementCache
{
public:
    StatementCache();
    ~StatementCache();
    StatementCache(StatementCache&&) noexcept;
    StatementCache& operator=(StatementCache&&) noexcept;

    void setSql(const QString& sql);
    const ParsedSql& parsed() const { return m_parsed; }
    bool isEmpty() const { return m_parsed.isEmpty(); }

    // Which occurrences run as "IS NULL" for these values (one per occurrence).
    quint64 nullMask(const QVariantList& values, bool forceIsNull) const;
    // The prepared statement for the pattern; prepares it the first time.
    fb::Statement& statement(const fb::Attachment& attachment, fb::Transaction& transaction, quint64 mask);
    // The values that remain positional under the pattern.
    QVariantList positional(const QVariantList& values, quint64 mask) const;
    // Drops every prepared statement (before the attachment goes).
    void release();
    bool isPrepared() const { return !m_prepared.empty(); }

private:
    ParsedSql m_parsed;
    std::map<quint64, std::unique_ptr<fb::Statement>> m_prepared;
};

} // namespace db
