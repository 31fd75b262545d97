#include "FieldLink.h"

#include <db/DataSet.h>
#include <db/DataSource.h>

namespace ui {

FieldLink::FieldLink(QObject* parent) : QObject(parent) {}

void FieldLink::setDataSource(db::DataSource* source)
{
    if (m_source == source)
        return;
    for (auto& connection : m_connections)
        disconnect(connection);
    m_source = source;
    connectSource();
    emit changed();
}

db::DataSource* FieldLink::dataSource() const
{
    return m_source;
}

void FieldLink::setFieldName(const QString& name)
{
    if (m_fieldName == name)
        return;
    m_fieldName = name;
    emit changed();
}

db::DataSet* FieldLink::dataSet() const
{
    return m_source ? m_source->dataSet() : nullptr;
}

db::Field* FieldLink::field() const
{
    if (!m_source || !m_source->isActive() || m_fieldName.isEmpty())
        return nullptr;
    return m_source->dataSet()->findField(m_fieldName);
}

bool FieldLink::isEditing() const
{
    return m_source && m_source->isActive() && m_source->dataSet()->isEditing();
}

bool FieldLink::canModify() const
{
    const db::Field* f = field();
    return f && f->canModify();
}

bool FieldLink::edit()
{
    if (!canModify())
        return false;
    if (isEditing())
        return true;
    return m_source->edit();
}

void FieldLink::connectSource()
{
    if (!m_source)
        return;
    auto show = [this] { emit changed(); };
    m_connections[0] = connect(m_source, &db::DataSource::activeChanged, this, show);
    m_connections[1] = connect(m_source, &db::DataSource::dataChanged, this, show);
    m_connections[2] = connect(m_source, &db::DataSource::scrolled, this, show);
    m_connections[3] = connect(m_source, &db::DataSource::dataSetChanged, this, show);
    m_connections[4] = connect(m_source, &db::DataSource::recordChanged, this, &FieldLink::recordChanged);
    m_connections[5] =
        connect(m_source, &db::DataSource::stateChanged, this, [this] { emit stateChanged(); });
    m_connections[6] = connect(m_source, &QObject::destroyed, this, show);
}

void FieldLink::recordChanged(db::Field* changedField)
{
    const db::Field* own = field();
    if (!changedField || changedField == own || (own && own->kind() != db::FieldKind::Data))
        emit changed();
}

} // namespace ui
