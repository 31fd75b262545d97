#include "MainDataModule.h"

#include <fb/Error.h>

QPointer<TMainDataModule> MainDataModule;

namespace {

const char* const DefaultDatabase = "DATA_Velmar.fdb";
const char* const DatabaseVariable = "VELMAR_DATABASE";

} // namespace

TMainDataModule::TMainDataModule(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("MainDataModule"));
    createZooplanktonChain();
    createZoobenthosChain();
    createMapAndChartData();
    createReportData();
    // The connection is stored connected: it opens while the module is set up.
    openConnection();
    DataModuleCreate();
}

TMainDataModule::~TMainDataModule()
{
    DataModuleDestroy();
}

QString TMainDataModule::databaseName()
{
    const QString configured = qEnvironmentVariable(DatabaseVariable).trimmed();
    return configured.isEmpty() ? QString::fromLatin1(DefaultDatabase) : configured;
}

fb::ConnectionParams TMainDataModule::connectionParams()
{
    fb::ConnectionParams params;
    params.database = databaseName();
    params.password = QStringLiteral("plumbline");
    params.user = QStringLiteral("SYSDBA");
    params.charset = QStringLiteral("WIN1251");
    params.dialect = 3;
    return params;
}

fb::TransactionOptions TMainDataModule::readTransactionOptions()
{
    // write, nowait, rec_version, read_committed: sees every committed change at once and
    // never waits for a lock.
    return fb::TransactionOptions{}
        .setIsolation(fb::Isolation::ReadCommitted)
        .setRecordVersion(true)
        .setWait(false)
        .setReadOnly(false);
}

fb::TransactionOptions TMainDataModule::writeTransactionOptions()
{
    // write, concurrency, nowait: a snapshot that fails at once on another connection's lock.
    return fb::TransactionOptions{}
        .setIsolation(fb::Isolation::Concurrency)
        .setWait(false)
        .setReadOnly(false);
}

void TMainDataModule::openConnection()
{
    if (connected())
        return;
    fb::Attachment attachment = fb::Attachment::attach(connectionParams());
    m_database.emplace(std::move(attachment));
    // Both transactions start on first use and stay active for the whole run.
    m_readTransaction.emplace(*m_database, readTransactionOptions());
    m_writeTransaction.emplace(*m_database, writeTransactionOptions());
    pFIBDatabase1AfterConnect();
}

void TMainDataModule::closeConnection()
{
    if (!connected())
        return;
    // Nothing may outlive the attachment: the datasets' cursors and statements go first, then
    // both transactions end by rollback, so an edit that was never stored, or a row lock,
    // ends without effect.
    closeDatasets();
    for (auto* transaction : {&m_writeTransaction, &m_readTransaction}) {
        if (*transaction && (*transaction)->isActive()) {
            try {
                (*transaction)->rollback();
            } catch (const fb::Error&) {
                // A connection that is already gone has nothing left to roll back.
            }
        }
        transaction->reset();
    }
    try {
        m_database->detach();
    } catch (const fb::Error&) {
        // Detaching a lost connection fails; the handle is released all the same.
    }
    m_database.reset();
    pFIBDatabase1AfterDisconnect();
}

bool TMainDataModule::connected() const
{
    return m_database && m_database->isAttached();
}

fb::Attachment& TMainDataModule::pFIBDatabase1()
{
    if (!m_database)
        throw fb::Error(tr("The database is not connected."));
    return *m_database;
}

fb::Transaction& TMainDataModule::pFIBReadTransaction()
{
    if (!m_readTransaction)
        throw fb::Error(tr("The database is not connected."));
    return *m_readTransaction;
}

fb::Transaction& TMainDataModule::pFIBWriteTransaction()
{
    if (!m_writeTransaction)
        throw fb::Error(tr("The database is not connected."));
    return *m_writeTransaction;
}

void TMainDataModule::DataModuleCreate()
{
    openConnection();
}

void TMainDataModule::DataModuleDestroy()
{
    closeConnection();
    NewSampleParent.clear();
}

void TMainDataModule::pFIBDatabase1AfterConnect()
{
    bindDataSets();
    try {
        // Their details follow in cascade.
        for (db::DataSet* dataSet : {dtsSeasons, dtsYears, dtsSamples2, dtsSediments, dtsSamplers})
            dataSet->open();
    } catch (...) {
        // The failure ends the module's creation: nothing may keep statements of the connection.
        closeDatasets();
        throw;
    }
}

void TMainDataModule::pFIBDatabase1AfterDisconnect()
{
    for (db::DataSet* dataSet : {dtsSeasons, dtsYears, dtsSamples2, dtsSediments, dtsSamplers})
        dataSet->close();
}

void TMainDataModule::closeDatasets()
{
    // Every dataset of the module closes here and lets go of its statements, before the
    // transactions end and the connection detaches. Masters close first, while their details
    // can still follow them: closing a master discards its edit, which moves its details.
    for (const auto& [dataSet, access] : m_dataSets) {
        try {
            dataSet->close();
        } catch (const std::exception&) {
            // A detail that can't follow a discarded edit any more is about to close anyway.
        }
    }
    for (const auto& [dataSet, access] : m_dataSets) {
        dataSet->setAttachment(nullptr);
        dataSet->setTransaction(nullptr);
        dataSet->setUpdateTransaction(nullptr);
    }
    m_schemaInfo.reset();
}
