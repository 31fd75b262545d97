#include "GridModel.h"

#include <db/DataSet.h>
#include <db/DataSource.h>
#include <db/Field.h>

namespace ui {

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

void GridModel::setDataSource(db::DataSource* source)
{
    if (source == m_source)
        return;
    for (const auto& c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_source = source;
    connectSource();
    rebuild();
}

db::DataSource* GridModel::dataSource() const
{
    return m_source;
}

db::DataSet* GridModel::activeDataSet() const
{
    if (!m_source || !m_source->isActive())
        return nullptr;
    return m_source->dataSet();
}

void GridModel::connectSource()
{
    if (!m_source)
        return;
    m_connections << connect(m_source, &db::DataSource::activeChanged, this, &GridModel::rebuild)
                  << connect(m_source, &db::DataSource::dataSetChanged, this, &GridModel::rebuild)
                  << connect(m_source, &db::DataSource::dataChanged, this, &GridModel::rebuild)
                  << connect(m_source, &db::DataSource::rowsAppended, this, &GridModel::onRowsAppended)
                  << connect(m_source, &db::DataSource::recordChanged, this, &GridModel::onRecordChanged)
                  << connect(m_source, &QObject::destroyed, this, [this] {
                         m_connections.clear();
                         rebuild();
                     });
}

void GridModel::setColumns(const QList<GridColumn>& columns)
{
    m_declared = columns;
    rebuild();
}

template <typename Notify> void GridModel::announce(Notify notify)
{
    m_announcing = true;
    notify();
    m_announcing = false;
    if (m_rebuildPending) {
        m_rebuildPending = m_appendPending = false;
        rebuild();
    } else if (m_appendPending) {
        m_appendPending = false;
        onRowsAppended();
    }
}

bool GridModel::valid(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && !index.parent().isValid() &&
           index.row() < m_rowCount && index.column() < m_columns.size();
}

void GridModel::rebuild()
{
    if (m_announcing) {
        m_rebuildPending = true;
        return;
    }
    announce([this] {
        beginResetModel();
        db::DataSet* dataSet = activeDataSet();
        if (!m_declared.isEmpty() || !dataSet) {
            m_columns = m_declared;
        } else {
            m_columns.clear();
            for (db::Field* f : dataSet->fields())
                if (f->isVisible())
                    m_columns << GridColumn(f->fieldName());
        }
        resolveFields();
        m_rowCount = dataSet ? dataSet->recordCount() : 0;
        endResetModel();
    });
}

void GridModel::resolveFields()
{
    m_fields.assign(size_t(m_columns.size()), nullptr);
    db::DataSet* dataSet = activeDataSet();
    if (!dataSet)
        return;
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        m_fields[size_t(i)] = dataSet->findField(m_columns.at(i).fieldName());
}

void GridModel::onRowsAppended()
{
    // Rows only ever come at the end; the dataset's count is the truth (an announcement may
    // repeat rows already shown).
    if (m_announcing) {
        m_appendPending = true;
        return;
    }
    db::DataSet* dataSet = activeDataSet();
    const int count = dataSet ? dataSet->recordCount() : 0;
    if (count < m_rowCount) {
        rebuild();
        return;
    }
    if (count == m_rowCount)
        return;
    announce([this, count] {
        beginInsertRows({}, m_rowCount, count - 1);
        m_rowCount = count;
        endInsertRows();
    });
}

void GridModel::onRecordChanged()
{
    db::DataSet* dataSet = activeDataSet();
    if (!dataSet || dataSet->recordCount() != m_rowCount) {
        rebuild();
        return;
    }
    const int row = dataSet->currentRow();
    if (row >= 0 && row < m_rowCount && !m_columns.isEmpty())
        emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
    emit currentRecordChanged();
}

db::Field* GridModel::field(int column) const
{
    if (column < 0 || size_t(column) >= m_fields.size() || !activeDataSet())
        return nullptr;
    return m_fields[size_t(column)];
}

db::Field* GridModel::findField(const QString& name) const
{
    db::DataSet* dataSet = activeDataSet();
    return dataSet ? dataSet->findField(name) : nullptr;
}

int GridModel::columnOf(const QString& fieldName) const
{
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).fieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void GridModel::setEditable(bool editable)
{
    if (editable == m_editable)
        return;
    m_editable = editable;
    if (m_rowCount > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rowCount - 1, int(m_columns.size()) - 1), {});
}

bool GridModel::canWrite(int column) const
{
    const db::Field* f = field(column);
    if (!m_editable || !f || m_columns.at(column).isReadOnly())
        return false;
    const db::DataSet* dataSet = f->dataSet();
    if (f->kind() == db::FieldKind::Calculated || f->isReadOnly() || !dataSet->canModify())
        return false;
    if (f->kind() == db::FieldKind::Lookup) {
        const db::Field* key = f->keyField();
        return key && !key->isReadOnly();
    }
    return true;
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!valid(index))
        return {};
    const db::Field* f = field(index.column());
    const db::DataSet* dataSet = activeDataSet();
    if (!f || index.row() >= dataSet->recordCount())
        return {};
    try {
        switch (role) {
        case Qt::DisplayRole:
            return f->displayText(index.row());
        case Qt::EditRole:
            return index.row() == dataSet->currentRow() ? f->editText() : f->displayText(index.row());
        case Qt::TextAlignmentRole:
            return int(f->alignment() | Qt::AlignVCenter);
        default:
            return {};
        }
    } catch (const std::exception&) {
        // A cell that can't be read (a lookup list that failed) shows empty; the failure
        // itself surfaces where the user acted.
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical || section < 0 || section >= m_columns.size())
        return {};
    const GridColumn& column = m_columns.at(section);
    switch (role) {
    case Qt::DisplayRole: {
        if (!column.title().isEmpty())
            return column.title();
        const db::Field* f = field(section);
        return f ? f->displayLabel() : column.fieldName();
    }
    case Qt::TextAlignmentRole: {
        Qt::Alignment a = column.titleAlignment();
        if (!(a & Qt::AlignVertical_Mask))
            a |= Qt::AlignVCenter;
        if (column.titleWordWrap())
            return int(a) | Qt::TextWordWrap;
        return int(a);
    }
    default:
        return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!valid(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    // A read-only column still opens its editor (for its cell button); the delegate makes the
    // editor read-only.
    const db::Field* fld = field(index.column());
    if (m_editable && fld)
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!valid(index))
        return false;
    const db::DataSet* dataSet = activeDataSet();
    if (!dataSet || index.row() != dataSet->currentRow())
        return false;
    try {
        if (role == LookupKeyRole)
            return writeLookupKey(index.column(), value);
        if (role == Qt::EditRole)
            return writeText(index.column(), value.toString());
    } catch (const std::exception& e) {
        reportError(e);
    }
    return false;
}

bool GridModel::writeText(int column, const QString& text)
{
    db::Field* f = field(column);
    if (!f || !canWrite(column) || !m_source->edit())
        return false;
    f->setText(text);
    return true;
}

bool GridModel::writeLookupKey(int column, const QVariant& key)
{
    db::Field* f = field(column);
    if (!f || f->kind() != db::FieldKind::Lookup || !canWrite(column) || !m_source->edit())
        return false;
    f->keyField()->setValue(key);
    return true;
}

bool GridModel::beginEdit()
{
    if (!activeDataSet())
        return false;
    try {
        return m_source->edit();
    } catch (const std::exception& e) {
        reportError(e);
        return false;
    }
}

bool GridModel::canFetchMore(const QModelIndex& parent) const
{
    const db::DataSet* dataSet = activeDataSet();
    return !parent.isValid() && dataSet && !m_announcing && dataSet->canFetchMore();
}

void GridModel::fetchMore(const QModelIndex& parent)
{
    db::DataSet* dataSet = activeDataSet();
    if (parent.isValid() || !dataSet || m_announcing)
        return;
    try {
        dataSet->fetchMore();
    } catch (const std::exception& e) {
        reportError(e);
    }
    // Rows arrive through rowsAppended; a dataset whose controls are disabled stays silent.
    onRowsAppended();
}

void GridModel::reportError(const std::exception& error) const
{
    if (m_errorHandler)
        m_errorHandler(error);
}

} // namespace ui
