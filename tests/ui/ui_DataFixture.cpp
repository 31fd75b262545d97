#include "ui_DataFixture.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <db/Separators.h>
#include <fb/Statement.h>

DataFixture::DataFixture(const QString& script) : m_database(script), m_attachment(m_database.attach())
{
    db::useProgramSeparators();
    m_read = std::make_unique<fb::Transaction>(m_attachment, fb::TransactionOptions()
                                                                 .setIsolation(fb::Isolation::ReadCommitted)
                                                                 .setRecordVersion(true)
                                                                 .setWait(false));
    m_write = std::make_unique<fb::Transaction>(
        m_attachment, fb::TransactionOptions().setIsolation(fb::Isolation::Concurrency).setWait(false));
}

DataFixture::~DataFixture()
{
    for (auto* ds : m_owner.findChildren<db::DataSet*>())
        ds->unprepare();
    qDeleteAll(m_owner.findChildren<db::DataSource*>(Qt::FindDirectChildrenOnly));
    qDeleteAll(m_owner.findChildren<db::DataSet*>(Qt::FindDirectChildrenOnly));
    m_read.reset();
    m_write.reset();
    m_attachment.detach();
}

db::DataSet* DataFixture::dataSet(const QString& name)
{
    auto* ds = new db::DataSet(&m_owner);
    ds->setObjectName(name);
    ds->setAttachment(&m_attachment);
    ds->setTransaction(m_read.get());
    ds->setUpdateTransaction(m_write.get());
    ds->setAutoCommit(true);
    return ds;
}

db::DataSource* DataFixture::source(db::DataSet* dataSet)
{
    auto* s = new db::DataSource(&m_owner);
    s->setDataSet(dataSet);
    return s;
}

QVariant DataFixture::stored(const QString& sql)
{
    fb::Transaction tx(m_attachment, fb::TransactionOptions().setIsolation(fb::Isolation::ReadCommitted));
    fb::Statement statement(m_attachment, tx, sql);
    const auto row = statement.execute(tx);
    QVariant value = row && !row->isEmpty() ? row->at(0) : QVariant();
    tx.commit();
    return value;
}

void showActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("window not active");
}
