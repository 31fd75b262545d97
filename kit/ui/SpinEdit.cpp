#include "SpinEdit.h"

#include "DataErrors.h"
#include "FieldLink.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaMethod>
#include <QScopedValueRollback>
#include <db/DataSet.h>
#include <db/Field.h>
#include <limits>

namespace ui {

SpinEdit::SpinEdit(QWidget* parent) : QAbstractSpinBox(parent), m_link(new FieldLink(this))
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(false);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(lineEdit(), &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
    connect(lineEdit(), &QLineEdit::textEdited, this, &SpinEdit::userEdited);
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::emitIfChanged);
    connect(m_link, &FieldLink::changed, this, [this] {
        if (!m_showing)
            showField();
    });
    connect(m_link, &FieldLink::stateChanged, this, &SpinEdit::updateReadOnly);
    setShownText(QString::number(m_minimum));
    m_lastValue = m_minimum;
}

void SpinEdit::setMinimum(int minimum)
{
    setRange(minimum, std::max(minimum, m_maximum));
}

void SpinEdit::setMaximum(int maximum)
{
    setRange(std::min(m_minimum, maximum), maximum);
}

void SpinEdit::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    if (!isBound() && !hasFocus()) {
        const int v = normalized();
        if (text() != QString::number(v))
            setShownText(QString::number(v));
    }
    emitIfChanged();
}

std::optional<qint64> SpinEdit::typedNumber() const
{
    QString t = text().trimmed();
    if (t.startsWith(u'+'))
        t.remove(0, 1);
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 number = t.toLongLong(&ok);
    if (ok)
        return number;
    // Digits beyond any integer: the bound on the side of its sign.
    const bool negative = t.startsWith(u'-');
    const QStringView digits = negative ? QStringView(t).mid(1) : QStringView(t);
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    return negative ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

int SpinEdit::value() const
{
    const std::optional<qint64> number = typedNumber();
    if (!number)
        return m_minimum;
    return int(std::clamp<qint64>(*number, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int SpinEdit::normalized() const
{
    const std::optional<qint64> number = typedNumber();
    if (!number)
        return m_minimum;
    return int(std::clamp<qint64>(*number, m_minimum, m_maximum));
}

void SpinEdit::setValue(int value)
{
    value = std::clamp(value, m_minimum, m_maximum);
    if (!isBound()) {
        setShownText(QString::number(value));
        return;
    }
    try {
        write(value);
    } catch (const std::exception& error) {
        reportError(error);
    }
    showField();
}

void SpinEdit::setDataSource(db::DataSource* source)
{
    m_link->setDataSource(source);
}

db::DataSource* SpinEdit::dataSource() const
{
    return m_link->dataSource();
}

void SpinEdit::setDataField(const QString& fieldName)
{
    m_link->setFieldName(fieldName);
}

QString SpinEdit::dataField() const
{
    return m_link->fieldName();
}

db::Field* SpinEdit::field() const
{
    return m_link->field();
}

bool SpinEdit::isBound() const
{
    return m_link->dataSource() && !m_link->fieldName().isEmpty();
}

void SpinEdit::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    updateReadOnly();
}

void SpinEdit::updateReadOnly()
{
    QAbstractSpinBox::setReadOnly(m_readOnly || (isBound() && !m_link->canModify()));
}

void SpinEdit::setShownText(const QString& text)
{
    QScopedValueRollback guard(m_showing, true);
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
}

void SpinEdit::showField()
{
    if (!isBound())
        return;
    m_pending = false;
    updateReadOnly();
    const db::Field* f = m_link->field();
    setShownText(!f || f->isNull() ? QString() : QString::number(f->value().toLongLong()));
}

void SpinEdit::userEdited()
{
    if (!isBound() || m_showing)
        return;
    if (!m_link->isEditing()) {
        const QString typed = text();
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
        setShownText(typed);
    }
    m_pending = true;
}

// Bound: starts the edit and writes the value (throws what the dataset throws).
void SpinEdit::write(int value)
{
    if (!isBound()) {
        setShownText(QString::number(value));
        return;
    }
    db::Field* f = m_link->field();
    if (!f)
        return;
    QScopedValueRollback guard(m_showing, true);
    if (!m_link->edit())
        return;
    f->setValue(value);
    m_pending = false;
}

void SpinEdit::updateRecord()
{
    if (!isBound() || !m_pending)
        return;
    write(normalized());
    showField();
}

void SpinEdit::step(int amount)
{
    if (isReadOnly() || QAbstractSpinBox::isReadOnly())
        return;
    const qint64 target = qint64(normalized()) + amount;
    const int value = int(std::clamp<qint64>(target, m_minimum, m_maximum));
    try {
        write(value);
    } catch (const std::exception& error) {
        reportError(error);
    }
    if (isBound())
        showField();
    selectAll();
}

void SpinEdit::stepBy(int steps)
{
    step(steps * m_singleStep);
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const
{
    if (m_readOnly || QAbstractSpinBox::isReadOnly() || (isBound() && !m_link->canModify()))
        return StepNone;
    StepEnabled enabled = StepNone;
    const int v = normalized();
    if (v < m_maximum)
        enabled |= StepUpEnabled;
    if (v > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State SpinEdit::validate(QString& input, int& /*pos*/) const
{
    for (QChar c : input)
        if (!c.isDigit() && c != u'+' && c != u'-' && c != u' ')
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

void SpinEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        step(m_singleStep);
        break;
    case Qt::Key_Down:
        step(-m_singleStep);
        break;
    case Qt::Key_PageUp:
        step(m_pageStep);
        break;
    case Qt::Key_PageDown:
        step(-m_pageStep);
        break;
    case Qt::Key_Escape:
        if (m_pending) {
            showField();
            break;
        }
        QAbstractSpinBox::keyPressEvent(event);
        return;
    default:
        QAbstractSpinBox::keyPressEvent(event);
        return;
    }
    event->accept();
}

void SpinEdit::focusOutEvent(QFocusEvent* event)
{
    const bool leaving =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    QAbstractSpinBox::focusOutEvent(event);
    if (!leaving)
        return;
    if (!isBound()) {
        setShownText(QString::number(normalized()));
        return;
    }
    try {
        updateRecord();
    } catch (const std::exception& error) {
        reportError(error);
    }
}

void SpinEdit::emitIfChanged()
{
    const int v = value();
    if (v == m_lastValue)
        return;
    m_lastValue = v;
    emit valueChanged(v);
}

void SpinEdit::reportError(const std::exception& error)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&SpinEdit::errorOccurred)))
        emit errorOccurred(error);
    else
        showDataError(this, error);
}

} // namespace ui
