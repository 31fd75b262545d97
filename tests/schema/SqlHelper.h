#pragma once
// Short ways to run a statement in a test's transaction.

#include "fb/Attachment.h"
#include "fb/Error.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QList>
#include <QVariantList>

class SqlHelper
{
public:
    SqlHelper(const fb::Attachment& db, fb::Transaction& transaction) : m_db(db), m_transaction(transaction)
    {}

    // A statement without rows to return, or with one (insert ... returning).
    std::optional<QVariantList> exec(const QString& sql, const QVariantList& params = {})
    {
        fb::Statement statement(m_db, m_transaction, sql);
        return statement.execute(m_transaction, params);
    }

    QList<QVariantList> rows(const QString& sql, const QVariantList& params = {})
    {
        fb::Statement statement(m_db, m_transaction, sql);
        fb::ResultSet cursor = statement.openCursor(m_transaction, params);
        QList<QVariantList> result;
        while (cursor.fetchNext())
            result.append(cursor.row());
        return result;
    }

    // The first column of the first row; an invalid QVariant when there is no row.
    QVariant value(const QString& sql, const QVariantList& params = {})
    {
        const QList<QVariantList> all = rows(sql, params);
        return all.isEmpty() ? QVariant() : all.first().value(0);
    }

    // Whether the statement is refused by the database; the transaction stays usable.
    bool refuses(const QString& sql, const QVariantList& params = {})
    {
        try {
            exec(sql, params);
        } catch (const fb::Error& e) {
            m_lastError = e.message();
            return true;
        }
        return false;
    }
    QString lastError() const { return m_lastError; }

private:
    const fb::Attachment& m_db;
    fb::Transaction& m_transaction;
    QString m_lastError;
};
