#include "DBText.h"

#include "FieldLink.h"

#include <db/Field.h>

namespace ui {

DBText::DBText(QWidget* parent) : QLabel(parent), m_link(new FieldLink(this))
{
    setTextFormat(Qt::PlainText);
    connect(m_link, &FieldLink::changed, this, &DBText::showField);
}

void DBText::setDataSource(db::DataSource* source)
{
    m_link->setDataSource(source);
}

db::DataSource* DBText::dataSource() const
{
    return m_link->dataSource();
}

void DBText::setDataField(const QString& fieldName)
{
    m_link->setFieldName(fieldName);
}

QString DBText::dataField() const
{
    return m_link->fieldName();
}

db::Field* DBText::field() const
{
    return m_link->field();
}

void DBText::showField()
{
    const db::Field* f = m_link->field();
    setText(f ? f->displayText() : QString());
}

} // namespace ui
