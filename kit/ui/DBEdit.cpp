#include "DBEdit.h"

#include "DataErrors.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QScopedValueRollback>
#include <QTimer>
#include <db/DataSet.h>
#include <db/Field.h>

namespace ui {

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent), m_link(new FieldLink(this))
{
    connect(m_link, &FieldLink::changed, this, [this] {
        if (!m_showing)
            showField();
    });
    connect(m_link, &FieldLink::stateChanged, this, &DBEdit::updateReadOnly);
    connect(this, &QLineEdit::textEdited, this, &DBEdit::userEdited);
    connect(this, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
    showField();
}

void DBEdit::setDataSource(db::DataSource* source)
{
    m_link->setDataSource(source);
}

db::DataSource* DBEdit::dataSource() const
{
    return m_link->dataSource();
}

void DBEdit::setDataField(const QString& fieldName)
{
    m_link->setFieldName(fieldName);
}

QString DBEdit::dataField() const
{
    return m_link->fieldName();
}

db::Field* DBEdit::field() const
{
    return m_link->field();
}

void DBEdit::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    updateReadOnly();
    if (!m_pending)
        showField();
}

void DBEdit::updateReadOnly()
{
    QLineEdit::setReadOnly(m_readOnly || !m_link->canModify());
}

bool DBEdit::showsEditText() const
{
    return hasFocus() && !m_readOnly && m_link->canModify();
}

void DBEdit::showField()
{
    QScopedValueRollback guard(m_showing, true);
    m_pending = false;
    updateReadOnly();
    const db::Field* f = m_link->field();
    const int limit = f && f->type() == db::FieldType::String && f->size() > 0 ? f->size() : 32767;
    if (maxLength() != limit)
        setMaxLength(limit);
    const QString text = !f ? QString() : showsEditText() ? f->editText() : f->displayText();
    if (QLineEdit::text() != text)
        setText(text);
    setAlignment(f ? f->alignment() | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
}

void DBEdit::userEdited(const QString& text)
{
    if (m_showing)
        return;
    if (!m_link->isEditing()) {
        // Starting the edit tells the controls to show the field again; keep what was typed.
        bool editing = false;
        {
            QScopedValueRollback guard(m_showing, true);
            try {
                editing = m_link->edit();
            } catch (const std::exception& error) {
                showField();
                reportError(error);
                return;
            }
        }
        if (!editing) {
            showField();
            return;
        }
        if (QLineEdit::text() != text) {
            QScopedValueRollback guard(m_showing, true);
            setText(text);
        }
    }
    m_pending = true;
}

void DBEdit::updateRecord()
{
    if (!m_pending)
        return;
    db::Field* f = m_link->field();
    if (!f) {
        m_pending = false;
        return;
    }
    QScopedValueRollback guard(m_showing, true);
    if (!m_link->edit())
        return;
    f->setText(text()); // throws for an invalid text, which stays for the user to correct
    m_pending = false;
}

void DBEdit::writeValue(const QVariant& value)
{
    db::Field* f = m_link->field();
    if (!f || m_readOnly)
        return;
    try {
        QScopedValueRollback guard(m_showing, true);
        if (!m_link->edit())
            return;
        f->setValue(value);
    } catch (const std::exception& error) {
        reportError(error);
    }
    showField();
}

void DBEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_pending) {
        showField();
        selectAll();
        event->accept();
        return;
    }
    const db::Field* f = m_link->field();
    const QString typed = event->text();
    if (f && !QLineEdit::isReadOnly() && !typed.isEmpty() && typed.at(0).isPrint()) {
        for (QChar c : typed) {
            if (!f->isValidChar(c)) {
                event->accept();
                emit inputRejected();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void DBEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (!m_pending)
        showField();
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    // Another window or a menu taking the focus for a while doesn't count as leaving.
    const bool leaving =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    QLineEdit::focusOutEvent(event);
    if (!leaving)
        return;
    try {
        updateRecord();
    } catch (const std::exception& error) {
        reportError(error);
        // Back to the edit for the correction, once the focus change has settled.
        QTimer::singleShot(0, this, [this] {
            setFocus(Qt::OtherFocusReason);
            selectAll();
        });
        return;
    }
    if (!m_pending)
        showField();
}

void DBEdit::reportError(const std::exception& error)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&DBEdit::errorOccurred)))
        emit errorOccurred(error);
    else
        showDataError(this, error);
}

} // namespace ui
