#pragma once

#include "GridColumn.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <db/DataSource.h>
#include <exception>
#include <functional>
#include <vector>

namespace db {
class DataSet;
class Field;
} // namespace db

namespace ui {

// The rows of a data source's dataset as a table, one column per GridColumn. It holds no copy
// of the rows: every cell is read through its field (Field::displayText(row)); only the number
// of rows shown is kept, so that rows read as needed can be announced as inserted. Rows are
// read in batches through canFetchMore()/fetchMore().
//
// Writing (setData) goes to the dataset's current row, which is the only row a grid edits:
// the data source starts the edit (autoEdit), then the field takes the text (Qt::EditRole) or,
// for a lookup field, the key of the chosen row (LookupKeyRole). Failures go to the error
// handler, never further: a model can't throw into Qt.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // setData with this role takes a lookup column's key value.
    static constexpr int LookupKeyRole = Qt::UserRole + 1;

    using ErrorHandler = std::function<void(const std::exception&)>;

    explicit GridModel(QObject* parent = nullptr);

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const;
    // The source's dataset while the source is active; nullptr otherwise.
    db::DataSet* activeDataSet() const;

    // Declared columns; none: one column for each visible field, in the dataset's order.
    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& declaredColumns() const { return m_declared; }
    // The columns shown (declared, or made from the fields).
    const QList<GridColumn>& columns() const { return m_columns; }
    // A column's field while the dataset is open; nullptr otherwise.
    db::Field* field(int column) const;
    // The field of the open dataset named `name`; nullptr when absent or closed.
    db::Field* findField(const QString& name) const;
    int columnOf(const QString& fieldName) const; // -1 when no column shows it

    // In-place editing allowed at all (the grid's cell mode without its read-only mark).
    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }
    // Whether the cell's field takes input now (editable grid and column, a field that can
    // change: the key field for a lookup field).
    bool canWrite(int column) const;

    // Writes typed text (a key for a lookup column) into the current row's field of `column`,
    // starting the edit. Throws what the field and the dataset throw (invalid text, a lock
    // conflict...); returns false when the column takes no input or the edit didn't start.
    bool writeText(int column, const QString& text);
    bool writeLookupKey(int column, const QVariant& key);

    // The user began to change a cell: the data source starts the edit of the current row, as
    // typing into a data control does. False (the failure reported) when it can't.
    bool beginEdit();

    void setErrorHandler(ErrorHandler handler) { m_errorHandler = std::move(handler); }
    // Hands a failure of the grid's work on the data to the error handler.
    void reportError(const std::exception& error) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // The current row's values changed (after the model's own dataChanged).
    void currentRecordChanged();

private:
    void connectSource();
    void rebuild(); // columns, fields and row count from the source, as a reset
    void onRowsAppended();
    void onRecordChanged();
    void resolveFields();
    bool valid(const QModelIndex& index) const;
    // Runs a change with its notifications; changes asked for meanwhile (a view reading more
    // rows from its handler of a notification) wait until it is over.
    template <typename Notify> void announce(Notify notify);

    QPointer<db::DataSource> m_source;
    QList<QMetaObject::Connection> m_connections;
    QList<GridColumn> m_declared;
    QList<GridColumn> m_columns;
    std::vector<db::Field*> m_fields; // of m_columns, while the dataset is open
    int m_rowCount = 0;
    bool m_editable = false;
    bool m_announcing = false;
    bool m_rebuildPending = false;
    bool m_appendPending = false;
    ErrorHandler m_errorHandler;
};

} // namespace ui
