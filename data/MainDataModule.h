#pragma once

#include "DatabaseErrorHandler.h"
#include "ImageList.h"
#include "SampleTree.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <db/DataSet.h>
#include <db/DataSource.h>
#include <db/SchemaInfo.h>
#include <fb/Attachment.h>
#include <fb/Transaction.h>
#include <optional>
#include <vector>

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

    // The pictures of the windows' tool bars and actions.
    const ImageList ImageList1{};

    // Zooplankton chain: seasons, visits, samples, taxon counts, sub-taxon counts, and the two
    // taxon lists of the counts.
    db::DataSet* dtsSeasons = nullptr;
    db::DataSource* dsSeasons = nullptr;
    db::DataSet* dtsStations = nullptr;
    db::DataSource* dsStations = nullptr;
    db::DataSet* dtsSamples1 = nullptr;
    db::DataSource* dsSamples1 = nullptr;
    db::DataSet* dtsPlankton = nullptr;
    db::DataSource* dsPlankton = nullptr;
    db::DataSet* dtsDetails = nullptr;
    db::DataSource* dsDetails = nullptr;
    db::DataSet* dtsTaxonsP1 = nullptr;
    db::DataSet* dtsTaxonsP2 = nullptr;

    // Zoobenthos chain: years, benthos samples, taxon counts, and the reference lists.
    db::DataSet* dtsYears = nullptr;
    db::DataSource* dsYears = nullptr;
    db::DataSet* dtsSamples2 = nullptr;
    db::DataSource* dsSamples2 = nullptr;
    db::DataSet* dtsBenthos = nullptr;
    db::DataSource* dsBenthos = nullptr;
    db::DataSet* dtsTaxonsB1 = nullptr;
    db::DataSet* dtsSediments = nullptr;
    db::DataSource* dsSediments = nullptr;
    db::DataSet* dtsSamplers = nullptr;
    db::DataSource* dsSamplers = nullptr;

    // Read-only datasets of the map (station coordinates of the current season or year) and
    // of the chart (category sums of the current sample).
    db::DataSet* dtsCoordinates1 = nullptr;
    db::DataSet* dtsCoordinates2 = nullptr;
    db::DataSet* dtsChart1 = nullptr;
    db::DataSet* dtsChart2 = nullptr;

    // Read-only datasets of the reports: stations, their visits and layers, the taxa of a
    // visit; the taxon list of the report by taxa and the samples holding the taxon.
    db::DataSet* dtsReport10 = nullptr;
    db::DataSource* dsReport10 = nullptr;
    db::DataSet* dtsReport11 = nullptr;
    db::DataSource* dsReport11 = nullptr;
    db::DataSet* dtsReport12 = nullptr;
    db::DataSource* dsReport12 = nullptr;
    db::DataSet* dtsReport20 = nullptr;
    db::DataSource* dsReport20 = nullptr;
    db::DataSet* dtsReport21 = nullptr;
    db::DataSource* dsReport21 = nullptr;

    // The PARENT that the next new sample receives: NULL (a top-level sample) or a sample key.
    QVariant NewSampleParent;
    // Set when the current visit changes: the sample tree must be rebuilt.
    bool StationChanged = false;

    // The main window's sample tree (nullptr: no main window); not owned.
    void setSampleTree(SampleTree* tree);
    SampleTree* sampleTree() const;

signals:
    // A dataset failed in work of its own (the delayed re-read of a detail); for the error box.
    void dataSetError(const QString& message);

private:
    void DataModuleCreate();
    void DataModuleDestroy();
    void pFIBDatabase1AfterConnect();
    void pFIBDatabase1AfterDisconnect();
    void closeDatasets();

    // Every dataset reads through pFIBReadTransaction; `Updates` ones name pFIBWriteTransaction
    // as their update transaction.
    enum class Access
    {
        ReadOnly,
        Updates
    };
    db::DataSet* newDataSet(const QString& name, Access access);
    db::DataSource* newDataSource(const QString& name, db::DataSet* dataSet, bool autoEdit = true);
    void bindDataSets();
    void createZooplanktonChain();
    void createZoobenthosChain();
    void createMapAndChartData();
    void createReportData();

    void dtsStationsAfterScroll();
    void dtsStationsBeforeDelete(db::Veto& veto);
    void dtsSamples1BeforeInsert(db::Veto& veto);
    void dtsSamples1AfterInsert();
    void dtsSamples1CalcFields();
    void dtsSamples1AfterScroll();
    void dtsCoordinates1CalcFields();
    void dtsCoordinates2CalcFields();

    std::optional<fb::Attachment> m_database;
    std::optional<fb::Transaction> m_readTransaction;
    std::optional<fb::Transaction> m_writeTransaction;
    db::SchemaInfo m_schemaInfo;
    std::vector<std::pair<db::DataSet*, Access>> m_dataSets; // in order of creation
    SampleTree* m_sampleTree = nullptr;
};

// The one instance, empty until created and again once destroyed.
extern QPointer<TMainDataModule> MainDataModule;
