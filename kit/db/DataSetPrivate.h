#pragma once
// The inside of db::DataSet, shared by its source files and by Field.

#include "DataSet.h"
#include "DataSource.h"
#include "RowStore.h"
#include "SchemaInfo.h"
#include "StatementCache.h"

#include <QHash>
#include <QPointer>
#include <QTimer>
#include <fb/Statement.h>
#include <memory>
#include <optional>

namespace db {

enum class StatementKind
{
    Select,
    Insert,
    Update,
    Delete,
    Refresh,
    Lock
};

struct DataSet::Private
{
    explicit Private(DataSet* q);

    DataSet* q;

    // connection
    fb::Attachment* attachment = nullptr;
    fb::Transaction* readTransaction = nullptr;
    fb::Transaction* writeTransaction = nullptr;
    SchemaInfo* schema = nullptr;
    SchemaInfo ownSchema;

    // statements
    StatementCache select, insert, update, remove, refresh, lock;
    std::unique_ptr<fb::Statement> generator;

    // settings
    Options options;
    PrepareOptions prepareOptions;
    DetailConditions detailConditions;
    bool autoCommit = false;
    QString keyField, generatorName, updateTable;
    QStringList links;
    UpdateKinds allowedUpdates = UpdateKind::Insert | UpdateKind::Modify | UpdateKind::Delete;
    int fetchBatch = 64;
    QPointer<DataSource> masterSource;

    // selection parameters: what the program set, and what the last open used (upper-case keys)
    QHash<QString, QVariant> programParams;
    QHash<QString, QVariant> openParams;

    // fields
    std::vector<std::unique_ptr<Field>> ownedFields;
    std::vector<Field*> fields;
    bool fieldsFromColumns = false;
    bool fieldsBound = false; // bound to the prepared selection's columns
    fb::ColumnList columns;
    int calcCount = 0;

    // rows
    RowStore rows;
    std::optional<fb::ResultSet> cursor;
    int current = -1;
    bool bof = true;
    bool eof = true;
    DataSetState state = DataSetState::Inactive;
    QVariantList buffer; // the edit buffer of the current row in Insert and Edit
    bool modified = false;
    QVariant* calcRow = nullptr; // the row being calculated

    // controls
    int disableCount = 0;
    bool pendingData = false;
    bool pendingDetails = false;
    bool pendingDetailsOpened = false;
    bool notifiedActive = false;
    DataSetState notifiedState = DataSetState::Inactive;
    std::vector<DataSource*> sources;

    // following the master
    QTimer* waitTimer = nullptr;
    bool waitPending = false;
    bool waitAfterMasterOpen = false;
    bool readingInGo = false; // being read as part of a whole chain: details follow at once

    // lookup: per lookup-key field of this dataset (as a lookup list), key text -> row
    mutable QHash<int, QHash<QString, int>> lookupIndex;

    // --- rows and values ---
    bool editing() const { return state == DataSetState::Insert || state == DataSetState::Edit; }
    const QVariant* currentValues() const;
    QVariant rawAt(int row, int column) const;
    void calculate(QVariant* values);
    bool calcConnected() const;
    void invalidateLookups() { lookupIndex.clear(); }
    int lookupRow(int keyField, const QVariant& key) const;

    // --- statements and parameters ---
    void requireConnection() const;
    fb::Transaction& writeTx() const;
    QVariant resolveParam(const QString& name, StatementKind kind) const;
    QVariant storedValue(const Field* field) const;
    QVariant selectParamValue(const QString& name) const;
    QHash<QString, QVariant> selectParamsForOpen() const;
    QVariantList valuesFor(const StatementCache& statement, StatementKind kind) const;
    std::optional<QVariantList> execute(StatementCache& statement, StatementKind kind, fb::Transaction& tx,
                                        qint64* affected = nullptr);

    // --- reading ---
    void prepareSelect();
    void makeFieldsFromColumns();
    void bindFields();
    void applyMetadata(Field* field, const fb::ColumnInfo& column);
    void readRows(const QHash<QString, QVariant>& params, RowStore& into,
                  std::optional<fb::ResultSet>& cursor);
    int fetch(int max);      // max < 0: all
    void ensureRow(int row); // fetches until `row` exists or the cursor ends
    void reread(int keepRow);
    bool refreshCurrentRow(bool afterPost);

    // --- editing ---
    bool checkBrowseMode(); // false: a before-post rule abandoned the post
    bool startNewRow(bool atEnd);
    void applyNewRowValues();
    void checkRequired() const;
    void takeGeneratorValue();
    void lockRow();
    void removeRow(int row);

    // --- notifications ---
    bool silent() const { return disableCount > 0; }
    void notifyActive();
    void notifyState();
    void notifyData();
    void notifyAppended(int first, int last);
    void notifyRecord(Field* field);
    void notifyScrolled();
    void notifyDetails(bool opened);
    void closeDetails();
    std::vector<DataSet*> details() const;

    // --- as a detail ---
    DataSet* master() const;
    bool masterParamsDiffer() const;
    void masterChanged(bool masterOpened);
    void waitEnded();
    void readForMaster(bool inGo);
    void moveTo(int row, bool setBof, bool setEof);
};

// Upper-cased name, the key of parameter tables.
inline QString paramKey(const QString& name)
{
    return name.toUpper();
}

// NULL as the engine means it: no value at all, or an invalid date or time.
bool isNullValue(const QVariant& value);

} // namespace db
