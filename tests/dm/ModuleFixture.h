#pragma once
// The data module on a database file of its own: a copy, in a fresh temporary folder, of a
// template made once per test program with the real schema and reference lists, plus either
// the chain tests' rows (ChainRows.sql) or the demo collection of velmar-db.

#include "MainDataModule.h"

#include <DatabaseBuilder.h>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fb/Error.h>
#include <fb/Script.h>
#include <fb/Statement.h>
#include <fb/Transaction.h>
#include <memory>

class ModuleFixture
{
public:
    enum class Content
    {
        ChainRows,
        Demo
    };

    explicit ModuleFixture(Content content = Content::ChainRows)
    {
        if (!m_dir.isValid())
            throw fb::Error(QStringLiteral("No temporary folder"));
        m_params.database = m_dir.filePath(QStringLiteral("DATA_Velmar.fdb"));
        m_params.password = QStringLiteral("plumbline");
        if (!QFile::copy(templateFile(content), m_params.database))
            throw fb::Error(QStringLiteral("Can't copy the template database"));
        QFile::setPermissions(m_params.database, QFile::ReadOwner | QFile::WriteOwner);
    }

    ~ModuleFixture() { m_module.reset(); }

    ModuleFixture(const ModuleFixture&) = delete;
    ModuleFixture& operator=(const ModuleFixture&) = delete;

    const fb::ConnectionParams& params() const { return m_params; }
    TMainDataModule* module() const { return m_module.get(); }

    // Creates the data module on this database and waits until both chains are open (the
    // stations and the benthos counts wait for their masters' timers). nullptr on a time-out.
    TMainDataModule* openModule()
    {
        TMainDataModule* m = createModule();
        const bool open = QTest::qWaitFor(
            [m] {
                return m->dtsDetails->isActive() && m->dtsTaxonsP2->isActive() && m->dtsBenthos->isActive();
            },
            10000);
        return open ? m : nullptr;
    }

    // Creates the data module on this database; its details are still waiting.
    TMainDataModule* createModule()
    {
        qputenv("VELMAR_DATABASE", m_params.database.toLocal8Bit());
        m_module = std::make_unique<TMainDataModule>();
        return m_module.get();
    }

    // Runs statements in a connection of their own, committed.
    void execute(const QString& sql, const QVariantList& values = {}) const
    {
        fb::Attachment db = fb::Attachment::attach(m_params);
        fb::Transaction transaction(db);
        fb::Statement(db, transaction, sql).execute(transaction, values);
        transaction.commit();
        db.detach();
    }

    // The first column of the first row that `sql` selects, read in a connection of its own.
    QVariant scalar(const QString& sql, const QVariantList& values = {}) const
    {
        fb::Attachment db = fb::Attachment::attach(m_params);
        QVariant result;
        {
            fb::Transaction transaction(db);
            fb::Statement statement(db, transaction, sql);
            fb::ResultSet rows = statement.openCursor(transaction, values);
            if (rows.fetchNext())
                result = rows.value(0);
            rows.close();
            transaction.commit();
        }
        db.detach();
        return result;
    }

private:
    static QString templateFile(Content content)
    {
        static QTemporaryDir dir;
        const QString file =
            dir.filePath(content == Content::Demo ? QStringLiteral("demo.fdb") : QStringLiteral("chain.fdb"));
        if (QFile::exists(file))
            return file;
        dbtool::BuildOptions options;
        options.password = QStringLiteral("plumbline");
        options.demo = content == Content::Demo;
        dbtool::DatabaseBuilder::create(file, options);
        if (content == Content::ChainRows) {
            fb::ConnectionParams params;
            params.database = file;
            params.password = options.password;
            fb::Attachment db = fb::Attachment::attach(params);
            fb::Script::fromFile(QStringLiteral(DM_CHAIN_ROWS)).run(db);
            db.detach();
        }
        return file;
    }

    QTemporaryDir m_dir;
    fb::ConnectionParams m_params;
    std::unique_ptr<TMainDataModule> m_module;
};
