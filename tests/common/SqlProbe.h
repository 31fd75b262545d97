#pragma once
// Reads and writes a test's database through an attachment of its own, so that a check sees
// what was really stored, not what a dataset holds.

#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QList>
#include <QVariant>

namespace sqlprobe {

inline QList<QVariantList> rows(const fb::ConnectionParams& params, const QString& sql,
                                const QVariantList& values = {})
{
    fb::Attachment db = fb::Attachment::attach(params);
    QList<QVariantList> result;
    {
        fb::Transaction transaction(db);
        fb::Statement statement(db, transaction, sql);
        fb::ResultSet cursor = statement.openCursor(transaction, values);
        while (cursor.fetchNext())
            result.append(cursor.row());
        transaction.commit();
    }
    db.detach();
    return result;
}

// The first column of the first row, or a null value when there is none.
inline QVariant value(const fb::ConnectionParams& params, const QString& sql, const QVariantList& values = {})
{
    const QList<QVariantList> found = rows(params, sql, values);
    return found.isEmpty() || found.first().isEmpty() ? QVariant() : found.first().first();
}

inline void execute(const fb::ConnectionParams& params, const QString& sql, const QVariantList& values = {})
{
    fb::Attachment db = fb::Attachment::attach(params);
    {
        fb::Transaction transaction(db);
        fb::Statement(db, transaction, sql).execute(transaction, values);
        transaction.commit();
    }
    db.detach();
}

} // namespace sqlprobe
