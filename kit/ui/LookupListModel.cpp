#include "LookupListModel.h"

#include <QScopedValueRollback>
#include <db/DataSet.h>
#include <db/DataSource.h>

namespace ui {

LookupListModel::LookupListModel(QObject* parent) : QAbstractListModel(parent) {}

void LookupListModel::setListSource(db::DataSource* source)
{
    if (m_source == source)
        return;
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source) {
        connect(source, &db::DataSource::activeChanged, this, &LookupListModel::reset);
        connect(source, &db::DataSource::dataChanged, this, &LookupListModel::reset);
        connect(source, &db::DataSource::dataSetChanged, this, &LookupListModel::reset);
        connect(source, &db::DataSource::rowsAppended, this, &LookupListModel::appended);
        connect(source, &db::DataSource::recordChanged, this, [this] {
            const int row = m_source->dataSet()->currentRow();
            if (row >= 0 && row < m_rows)
                emit dataChanged(index(row), index(row));
        });
        connect(source, &QObject::destroyed, this, &LookupListModel::reset);
    }
    reset();
}

db::DataSource* LookupListModel::listSource() const
{
    return m_source;
}

void LookupListModel::setKeyField(const QString& name)
{
    m_keyField = name;
}

void LookupListModel::setListField(const QString& name)
{
    m_listField = name;
    reset();
}

db::Field* LookupListModel::field(const QString& name) const
{
    if (!m_source || !m_source->isActive() || name.isEmpty())
        return nullptr;
    return m_source->dataSet()->findField(name);
}

int LookupListModel::sourceRows() const
{
    return m_source && m_source->isActive() ? m_source->dataSet()->recordCount() : 0;
}

void LookupListModel::reset()
{
    QScopedValueRollback guard(m_changing, true);
    // A list shows all its rows: read the rest first (announced by the reset below).
    if (m_source && m_source->isActive() && m_source->dataSet()->canFetchMore())
        m_source->dataSet()->fetchAll();
    beginResetModel();
    m_rows = sourceRows();
    endResetModel();
}

void LookupListModel::appended(int first, int last)
{
    if (m_changing)
        return; // read by reset(), which announces them
    // The dataset has the rows already; the model announces them now.
    if (first != m_rows || last < first) {
        reset();
        return;
    }
    QScopedValueRollback guard(m_changing, true);
    beginInsertRows({}, first, last);
    m_rows = last + 1;
    endInsertRows();
}

int LookupListModel::rowOfKey(const QVariant& key)
{
    if (!field(m_keyField) || key.isNull() || !key.isValid())
        return -1;
    const int row = m_source->dataSet()->findRow(m_keyField, key);
    return row < m_rows ? row : -1;
}

QVariant LookupListModel::keyAt(int row) const
{
    const db::Field* key = field(m_keyField);
    return key && row >= 0 && row < m_rows ? key->value(row) : QVariant();
}

int LookupListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant LookupListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.row() >= sourceRows())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const db::Field* list = field(m_listField);
        return list ? list->displayText(index.row()) : QString();
    }
    if (role == KeyRole)
        return keyAt(index.row());
    return {};
}

bool LookupListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_source && m_source->isActive() && m_source->dataSet()->canFetchMore();
}

void LookupListModel::fetchMore(const QModelIndex& parent)
{
    // Not from a handler of this model's own change: the rows would arrive in the middle of it.
    if (!m_changing && canFetchMore(parent))
        m_source->dataSet()->fetchMore(); // announced through rowsAppended
}

} // namespace ui
