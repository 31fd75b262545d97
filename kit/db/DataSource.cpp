#include "DataSource.h"

#include "DataSetPrivate.h"

namespace db {

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::~DataSource()
{
    setDataSet(nullptr);
    for (const QPointer<DataSet>& detail : m_details)
        if (detail)
            detail->d->masterSource = nullptr;
}

void DataSource::setDataSet(DataSet* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    const bool wasActive = isActive();
    if (m_dataSet) {
        auto& list = m_dataSet->d->sources;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    m_dataSet = dataSet;
    if (dataSet)
        dataSet->d->sources.push_back(this);
    emit dataSetChanged(dataSet);
    if (wasActive != isActive())
        emit activeChanged(isActive());
    else
        emit dataChanged();
}

DataSet* DataSource::dataSet() const
{
    return m_dataSet;
}

void DataSource::setAutoEdit(bool on)
{
    m_autoEdit = on;
}

bool DataSource::autoEdit() const
{
    return m_autoEdit;
}

bool DataSource::edit()
{
    if (!m_dataSet || !m_enabled || !m_dataSet->isActive())
        return false;
    if (m_dataSet->isEditing())
        return true;
    if (!m_autoEdit)
        return false;
    const bool changeable = m_dataSet->isEmpty()
                                ? m_dataSet->canInsert()
                                : !m_dataSet->updateSql().isEmpty() &&
                                      m_dataSet->allowedUpdateKinds().testFlag(UpdateKind::Modify);
    if (!changeable)
        return false;
    return m_dataSet->edit() && m_dataSet->isEditing();
}

void DataSource::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (m_dataSet && m_dataSet->isActive())
        emit activeChanged(enabled);
}

bool DataSource::isEnabled() const
{
    return m_enabled;
}

DataSetState DataSource::state() const
{
    if (!m_dataSet || !m_enabled)
        return DataSetState::Inactive;
    return m_dataSet->state();
}

} // namespace db
