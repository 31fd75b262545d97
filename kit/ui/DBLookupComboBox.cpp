#include "DBLookupComboBox.h"

#include "DataErrors.h"
#include "FieldLink.h"
#include "LookupListModel.h"

#include <QKeyEvent>
#include <QMetaMethod>
#include <QScopedValueRollback>
#include <db/DataSet.h>
#include <db/DataSource.h>
#include <db/Field.h>

namespace ui {

DBLookupComboBox::DBLookupComboBox(QWidget* parent)
    : QComboBox(parent), m_link(new FieldLink(this)), m_model(new LookupListModel(this)),
      m_ownListSource(new db::DataSource(this))
{
    setEditable(false);
    setModel(m_model);
    connect(m_link, &FieldLink::changed, this, &DBLookupComboBox::rebind);
    // After QComboBox's own handlers, which pick the first row when none is current.
    connect(m_model, &QAbstractItemModel::modelReset, this, &DBLookupComboBox::showField);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &DBLookupComboBox::showField);
    connect(this, &QComboBox::activated, this, &DBLookupComboBox::choose);
}

void DBLookupComboBox::setDataSource(db::DataSource* source)
{
    m_link->setDataSource(source);
}

db::DataSource* DBLookupComboBox::dataSource() const
{
    return m_link->dataSource();
}

void DBLookupComboBox::setDataField(const QString& fieldName)
{
    m_link->setFieldName(fieldName);
}

QString DBLookupComboBox::dataField() const
{
    return m_link->fieldName();
}

void DBLookupComboBox::setListSource(db::DataSource* source)
{
    m_listSource = source;
    rebind();
}

void DBLookupComboBox::setKeyField(const QString& name)
{
    m_keyField = name;
    rebind();
}

void DBLookupComboBox::setListField(const QString& name)
{
    m_listField = name;
    rebind();
}

void DBLookupComboBox::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    if (readOnly)
        hidePopup();
}

db::Field* DBLookupComboBox::keyTargetField() const
{
    db::Field* f = m_link->field();
    if (f && f->kind() == db::FieldKind::Lookup)
        return f->keyField();
    return f;
}

void DBLookupComboBox::rebind()
{
    bindList();
    showField();
}

// Which list to show: the one set, else the lookup field's own.
void DBLookupComboBox::bindList()
{
    QScopedValueRollback guard(m_showing, true);
    if (m_listSource) {
        m_model->setKeyField(m_keyField);
        m_model->setListField(m_listField);
        m_model->setListSource(m_listSource);
        return;
    }
    db::Field* f = m_link->field();
    if (f && f->kind() == db::FieldKind::Lookup && f->lookupDataSet()) {
        if (m_ownListSource->dataSet() != f->lookupDataSet())
            m_ownListSource->setDataSet(f->lookupDataSet());
        m_model->setKeyField(f->lookupKeyFieldName());
        m_model->setListField(f->lookupResultFieldName());
        m_model->setListSource(m_ownListSource);
    }
}

void DBLookupComboBox::showField()
{
    if (m_showing)
        return;
    QScopedValueRollback guard(m_showing, true);
    const db::Field* target = keyTargetField();
    const int row = target ? m_model->rowOfKey(target->value()) : -1;
    if (currentIndex() != row)
        setCurrentIndex(row);
}

void DBLookupComboBox::choose(int row)
{
    if (m_showing)
        return;
    db::Field* target = keyTargetField();
    if (!target || refusesInput()) {
        showField();
        return;
    }
    const QVariant key = m_model->keyAt(row);
    try {
        QScopedValueRollback guard(m_showing, true);
        db::DataSource* source = m_link->dataSource();
        if (source->dataSet()->isEditing() || source->edit())
            target->setValue(key);
    } catch (const std::exception& error) {
        showField();
        reportError(error);
        return;
    }
    showField();
}

bool DBLookupComboBox::refusesInput() const
{
    const db::Field* target = keyTargetField();
    return m_readOnly || !target || !target->canModify();
}

void DBLookupComboBox::showPopup()
{
    if (refusesInput())
        return;
    QComboBox::showPopup();
}

void DBLookupComboBox::keyPressEvent(QKeyEvent* event)
{
    if (refusesInput() && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab) {
        // Nothing to change here; Esc and Enter still reach the dialog.
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void DBLookupComboBox::wheelEvent(QWheelEvent* event)
{
    if (refusesInput()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void DBLookupComboBox::reportError(const std::exception& error)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&DBLookupComboBox::errorOccurred)))
        emit errorOccurred(error);
    else
        showDataError(this, error);
}

} // namespace ui
