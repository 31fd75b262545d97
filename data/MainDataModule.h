#pragma once

#include "DatabaseErrorHandler.h"

#include <QObject>
#include <QPointer>
#include <fb/Attachment.h>
#include <fb/Transaction.h>
#include <optional>

// The non-visual container of all database access: the connection pFIBDatabase1, its read
// and write transactions, the error handler, and the datasets with their data sources.
// Creating it connects to the database; destroying it closes the connection.
class TMainDataModule : public QObject
{
    Q_OBJECT

public:
    // Connects; throws fb::Error when the database can't be opened.
    explicit TMainDataModule(QObject* parent = nullptr);
    ~TMainDataModule() override;

    // The database the connection names: the bare file "DATA_Velmar.fdb" (so the embedded
    // engine opens it in the working directory) unless VELMAR_DATABASE names another file or
    // a server connection string.
    static QString databaseName();
    static fb::ConnectionParams connectionParams();
    static fb::TransactionOptions readTransactionOptions();
    static fb::TransactionOptions writeTransactionOptions();

    // pFIBDatabase1. Opening an open connection and closing a closed one do nothing.
    void openConnection();
    void closeConnection();
    bool connected() const;
    fb::Attachment& pFIBDatabase1();

    // The transaction of every selection and refresh; started on first use, never committed.
    fb::Transaction& pFIBReadTransaction();
    // The transaction of every insert, update, delete and row lock; committed retaining after
    // each stored change.
    fb::Transaction& pFIBWriteTransaction();

    const DatabaseErrorHandler pFibErrorHandler1{};

private:
    void DataModuleCreate();
    void DataModuleDestroy();
    void pFIBDatabase1AfterConnect();
    void pFIBDatabase1AfterDisconnect();
    void closeDatasets();

    std::optional<fb::Attachment> m_database;
    std::optional<fb::Transaction> m_readTransaction;
    std::optional<fb::Transaction> m_writeTransaction;
};

// The one instance, empty until created and again once destroyed.
extern QPointer<TMainDataModule> MainDataModule;
