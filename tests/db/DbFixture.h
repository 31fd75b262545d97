#pragma once
// A database of its own with the connection as the data module holds it: one attachment, the
// read transaction (read committed, rec_version, nowait) and the write transaction
// (concurrency, nowait), and datasets wired to them.

#include "TempDatabase.h"

#include <QFile>
#include <db/DataSet.h>
#include <db/DataSource.h>
#include <db/SchemaInfo.h>
#include <fb/Statement.h>
#include <fb/Transaction.h>
#include <memory>

class DbFixture
{
public:
    explicit DbFixture(const QString& script)
        : m_database(script), attachment(m_database.attach()),
          read(attachment, fb::TransactionOptions()
                               .setIsolation(fb::Isolation::ReadCommitted)
                               .setRecordVersion(true)
                               .setWait(false)),
          write(attachment, fb::TransactionOptions().setIsolation(fb::Isolation::Concurrency).setWait(false)),
          m_owner(std::make_unique<QObject>())
    {}

    ~DbFixture()
    {
        m_owner.reset(); // datasets free their statements before the connection goes
    }

    DbFixture(const DbFixture&) = delete;
    DbFixture& operator=(const DbFixture&) = delete;

    static QString schemaScript()
    {
        QFile file(QStringLiteral(VELMAR_SCHEMA));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("Can't read the schema %s", VELMAR_SCHEMA);
        return QString::fromUtf8(file.readAll());
    }

    db::DataSet* dataSet(const QString& name, const QString& select)
    {
        auto* ds = new db::DataSet(m_owner.get());
        ds->setObjectName(name);
        ds->setAttachment(&attachment);
        ds->setTransaction(&read);
        ds->setUpdateTransaction(&write);
        ds->setSchemaInfo(&schema);
        ds->setSelectSql(select);
        return ds;
    }

    db::DataSource* source(db::DataSet* dataSet)
    {
        auto* s = new db::DataSource(m_owner.get());
        s->setObjectName(QStringLiteral("ds") + dataSet->objectName().mid(3));
        s->setDataSet(dataSet);
        return s;
    }

    // Runs a statement in a transaction of its own and commits it: setting up rows, or
    // looking at what is stored as another user would.
    QVariant exec(const QString& sql, const QVariantList& params = {})
    {
        return execOn(attachment, sql, params);
    }

    static QVariant execOn(fb::Attachment& on, const QString& sql, const QVariantList& params = {})
    {
        fb::Transaction tx(
            on, fb::TransactionOptions().setIsolation(fb::Isolation::ReadCommitted).setWait(false));
        fb::Statement st(on, tx, sql);
        const auto row = st.execute(tx, params);
        tx.commit();
        return row && !row->isEmpty() ? row->first() : QVariant();
    }

    // A second user of the same database file.
    fb::Attachment attachOther() const { return m_database.attach(); }

private:
    TempDatabase m_database;

public:
    fb::Attachment attachment;
    fb::Transaction read;
    fb::Transaction write;
    db::SchemaInfo schema;

private:
    std::unique_ptr<QObject> m_owner;
};
