#pragma once

#include "Field.h"
#include "Types.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>
#include <vector>

namespace fb {
class Attachment;
class Transaction;
} // namespace fb

namespace db {

class DataSource;
class SchemaInfo;

// A query-backed table of rows with a current row and named fields: the selection statement
// fills it, the insert, update, delete and refresh statements store and re-read its rows.
//
// Statements name their parameters :NAME or :"NAME" (quoted: case kept, so :"YEAR" works);
// they are bound positionally. A parameter N takes its value by the first rule that applies:
//   1. OLD_X (any case): field X's value when the row was last read or stored;
//   2. NEW_X: field X's current value;
//   3. MAS_X: field X of the master's current row (NULL if the master has no field X);
//   4. in the refresh statement of a detail, N being a selection parameter: its value;
//   5. a field N: its current value;
//   6. a selection parameter N: its value;
//   7. otherwise NULL.
// In the selection statement of a detail, N or MAS_N takes the master's field N (as stored,
// an empty text staying an empty text); a parameter the master has no field for keeps the
// value the program set with setParamValue(). Unless Option::NoForceIsNull is set, "= :P"
// in a WHERE clause with a NULL value runs as "IS NULL". Prepared statements are kept and
// reused (one per NULL pattern) until unprepare() or the dataset's destruction.
//
// The dataset doesn't own its connection: setAttachment() and the two transactions must
// outlive it, or unprepare() must run before the attachment detaches. Everything runs on
// the thread of the dataset (the UI thread).
//
// Errors: database failures throw fb::Error (the database's text), the engine's own
// refusals db::Error; errorText() gives the text to show. A failed operation leaves the
// dataset as it was: an edit stays in its state with the user's values, nothing of it is
// committed.
class DataSet : public QObject
{
    Q_OBJECT
public:
    explicit DataSet(QObject* parent = nullptr);
    ~DataSet() override;

    // --- connection ---
    void setAttachment(fb::Attachment* attachment);
    fb::Attachment* attachment() const;
    // Runs the selection and every single-row refresh (read committed, rec_version, nowait).
    void setTransaction(fb::Transaction* transaction);
    fb::Transaction* transaction() const;
    // Runs insert, update, delete, row lock (concurrency, nowait).
    void setUpdateTransaction(fb::Transaction* transaction);
    fb::Transaction* updateTransaction() const;
    // Column metadata of the attachment (defaults, NOT NULL, computed), read once and shared
    // by the datasets of one attachment. Without one the dataset reads what it needs itself.
    void setSchemaInfo(SchemaInfo* schema);

    // --- statements ---
    void setSelectSql(const QString& sql);
    void setInsertSql(const QString& sql);
    void setUpdateSql(const QString& sql);
    void setDeleteSql(const QString& sql);
    void setRefreshSql(const QString& sql);
    const QString& selectSql() const;
    const QString& insertSql() const;
    const QString& updateSql() const;
    const QString& deleteSql() const;
    const QString& refreshSql() const;

    // --- settings ---
    void setOptions(Options options);
    Options options() const;
    void setPrepareOptions(PrepareOptions options);
    PrepareOptions prepareOptions() const;
    void setDetailConditions(DetailConditions conditions);
    DetailConditions detailConditions() const;
    // Commit the update transaction (retaining) after each insert, update and delete.
    void setAutoCommit(bool on);
    bool autoCommit() const;
    // The key field of a new row takes the generator's next value just before the insert
    // when it is empty.
    void setGenerator(const QString& keyField, const QString& generatorName);
    QString keyFieldName() const;
    QString generatorName() const;
    // The table the row lock updates; by default the one the update statement names.
    void setUpdateTableName(const QString& table);
    QString updateTableName() const;
    // "FIELD=PARAM" pairs: a new row's FIELD starts with the selection parameter PARAM.
    void setParamsToFieldsLinks(const QStringList& links);
    QStringList paramsToFieldsLinks() const;
    // Default: all three; none makes the dataset read-only.
    void setAllowedUpdateKinds(UpdateKinds kinds);
    UpdateKinds allowedUpdateKinds() const;
    // Rows fetched in one go when rows are read as needed (not FetchAll); default 64.
    void setFetchBatch(int rows);
    int fetchBatch() const;

    // Makes this dataset a detail of `master`'s dataset (nullptr: none).
    void setMasterSource(DataSource* master);
    DataSource* masterSource() const;
    DataSet* master() const;

    // --- selection parameters ---
    QStringList paramNames() const; // as written in the selection statement, in order
    bool hasParam(const QString& name) const;
    QVariant paramValue(const QString& name) const;
    // Takes effect at the next open; a detail's master overrides the parameters it fills.
    void setParamValue(const QString& name, const QVariant& value);

    // --- fields (declare before open; without declared data fields they are made from the
    // statement's columns at the first open and kept until the selection statement changes) ---
    // A data field bound to the column of the same name (or alias). Type Unknown: the
    // column's type.
    Field* addField(const QString& name, FieldType type = FieldType::Unknown, int size = 0);
    Field* addCalculatedField(const QString& name, FieldType type, int size = 0);
    Field* addLookupField(const QString& name, FieldType type, int size, const QString& keyField,
                          DataSet* lookupDataSet, const QString& lookupKeyField,
                          const QString& lookupResultField);
    int fieldCount() const;
    Field* field(int index) const;
    Field* findField(const QString& name) const; // case-insensitive; nullptr if absent
    Field* field(const QString& name) const;     // throws db::Error if absent
    const std::vector<Field*>& fields() const;

    // --- lifecycle ---
    // Opens the lookup datasets of its lookup fields, prepares and runs the selection (the
    // transaction starts when idle), reads the first rows (all with FetchAll), makes the
    // first row current. Then afterOpen, then afterScroll when not empty.
    void open();
    // Cancels an edit, closes the cursor, drops the rows; details close too.
    void close();
    void setActive(bool active);
    bool isActive() const;
    // close() and release every prepared statement (before the attachment detaches).
    void unprepare();
    DataSetState state() const;
    bool isEditing() const; // Insert or Edit
    // True while the current row has changes not yet posted.
    bool isModified() const;

    // --- navigation (a move from an edited row posts it first, or cancels it when
    // unchanged) ---
    int recordCount() const; // rows held: fetched so far, with a new row being inserted
    bool isEmpty() const;
    int currentRow() const; // -1 when empty or closed
    bool bof() const;       // a move tried to go before the first row, or just opened
    bool eof() const;       // a move tried to go past the last row, or empty
    void first();
    void prior();
    void next();
    void last(); // fetches all rows
    void moveBy(int distance);
    void setCurrentRow(int row);
    // Moves to the first row whose fields (names separated by ";") equal the values (one
    // value, or a QVariantList with one per field). An empty value (NULL or "") matches only
    // an empty field; values compare as stored, before emptyStringAsNull. Fetches as far as
    // needed. Returns false and stays put when no row matches.
    bool locate(const QString& fieldNames, const QVariant& values, LocateOptions options = {});
    // The row like locate() finds, without moving; -1 when none.
    int findRow(const QString& fieldNames, const QVariant& values, LocateOptions options = {});

    // --- reading rows as needed (without FetchAll) ---
    bool canFetchMore() const;   // the cursor may hold rows not read yet
    int fetchMore(int rows = 0); // reads up to `rows` (0: fetchBatch()) rows; returns how many
    void fetchAll();
    bool isFullyFetched() const { return !canFetchMore(); }

    // --- changes ---
    bool canModify() const; // an update statement or an insert statement and allowed kinds
    bool canInsert() const;
    bool canDelete() const;
    // Each returns false when a before-rule abandoned it (silently) and throws on errors.
    bool insert(); // a new row before the current one
    bool append(); // a new row after the last one
    bool edit();   // locks the row first with ProtectedEdit
    // Insert/Edit: required check, store, commit, refresh; true when browsing already.
    bool post();
    void cancel(); // drops the edit buffer (a new row leaves); a row lock stays
    bool remove(); // deletes the current row (cancels an insert)
    // Re-reads the current row with the refresh statement; then afterRefresh.
    void refresh();
    // Runs the selection again and returns to the row it was on (by its position). Details
    // follow as after an open. Also what refresh() does without a refresh statement.
    void fullRefresh();

    // --- data-aware controls ---
    // While disabled (a counter) no data source signals anything and details don't follow;
    // enableControls() back at zero signals one dataChanged and lets the details catch up.
    // Events (afterScroll...) still fire.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const;

    // The data sources bound to this dataset.
    const std::vector<DataSource*>& dataSources() const;

signals:
    void afterOpen();
    void afterClose();
    void afterScroll();
    void afterRefresh();
    void beforeInsert(db::Veto& veto);
    void afterInsert();
    void beforeEdit(db::Veto& veto);
    void afterEdit();
    void beforePost(db::Veto& veto);
    void afterPost();
    void afterCancel();
    void beforeDelete(db::Veto& veto);
    void afterDelete();
    // For every row read, and again when a field of the row being edited changes: the
    // handler sets the calculated fields of the current row (field->setValue works for them
    // in any state; reading other fields reads the row being calculated).
    void calcFields();
    // A failure in work the dataset does on its own, which no caller can catch: the delayed
    // re-read of a detail. The dataset keeps its previous rows. The text is for the error box.
    void errorOccurred(const QString& message);

public:
    struct Private;

private:
    friend class Field;
    friend class DataSource;
    std::unique_ptr<Private> d;
};

// Disables a dataset's controls for a scope.
class ControlsDisabler
{
public:
    explicit ControlsDisabler(DataSet* dataSet) : m_dataSet(dataSet) { m_dataSet->disableControls(); }
    ~ControlsDisabler() { m_dataSet->enableControls(); }
    ControlsDisabler(const ControlsDisabler&) = delete;
    ControlsDisabler& operator=(const ControlsDisabler&) = delete;

private:
    DataSet* m_dataSet;
};

} // namespace db
