#include "DBMemo.h"

#include "DataErrors.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <db/DataSet.h>
#include <db/Field.h>

namespace ui {

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent), m_link(new FieldLink(this))
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
    connect(m_link, &FieldLink::changed, this, [this] {
        if (!m_showing)
            showField();
    });
    connect(m_link, &FieldLink::stateChanged, this, &DBMemo::updateReadOnly);
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::userChanged);
    showField();
}

void DBMemo::setDataSource(db::DataSource* source)
{
    m_link->setDataSource(source);
}

db::DataSource* DBMemo::dataSource() const
{
    return m_link->dataSource();
}

void DBMemo::setDataField(const QString& fieldName)
{
    m_link->setFieldName(fieldName);
}

QString DBMemo::dataField() const
{
    return m_link->fieldName();
}

db::Field* DBMemo::field() const
{
    return m_link->field();
}

void DBMemo::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    updateReadOnly();
}

void DBMemo::updateReadOnly()
{
    QPlainTextEdit::setReadOnly(m_readOnly || !m_link->canModify());
}

int DBMemo::maxLength() const
{
    const db::Field* f = m_link->field();
    return f && f->type() == db::FieldType::String && f->size() > 0 ? f->size() : 0;
}

void DBMemo::showField()
{
    QScopedValueRollback guard(m_showing, true);
    m_pending = false;
    updateReadOnly();
    const db::Field* f = m_link->field();
    const QString text = f ? f->displayText() : QString();
    if (toPlainText() != text)
        setPlainText(text);
    m_accepted = text;
}

void DBMemo::userChanged()
{
    if (m_showing)
        return;
    const QString typed = toPlainText();
    const int limit = maxLength();
    if (limit > 0 && typed.size() > limit) {
        // Too long for the field: back to the text before this change.
        QScopedValueRollback guard(m_showing, true);
        const int position = textCursor().position();
        setPlainText(m_accepted);
        QTextCursor cursor(document());
        cursor.setPosition(std::min<int>(position - (typed.size() - m_accepted.size()), m_accepted.size()));
        setTextCursor(cursor);
        QApplication::beep();
        return;
    }
    if (!m_link->isEditing()) {
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
    }
    m_accepted = typed;
    m_pending = true;
}

void DBMemo::updateRecord()
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
    f->setText(toPlainText());
    m_pending = false;
}

void DBMemo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_pending) {
        showField();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void DBMemo::focusOutEvent(QFocusEvent* event)
{
    const bool leaving =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    QPlainTextEdit::focusOutEvent(event);
    if (!leaving)
        return;
    try {
        updateRecord();
    } catch (const std::exception& error) {
        reportError(error);
        QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
    }
}

void DBMemo::reportError(const std::exception& error)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&DBMemo::errorOccurred)))
        emit errorOccurred(error);
    else
        showDataError(this, error);
}

} // namespace ui
