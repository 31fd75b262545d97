#pragma once

#include "DataControl.h"

#include <QAbstractSpinBox>
#include <exception>
#include <optional>

namespace db {
class Field;
}

namespace ui {

class FieldLink;

// A whole-number edit with up and down buttons, bound to a field or not. The buttons and the
// Up and Down keys step by singleStep() (1), Page Up and Page Down by pageStep() (10), never
// beyond minimum() and maximum(). Keystrokes other than digits and a sign are refused with the
// system beep. A typed value counts as typed until the control is left: then a value outside
// the range is brought to the nearer bound, and a text that is not a number becomes the minimum.
//
// Unbound, value() reads the text as it stands (a non-number as the minimum). Bound
// (setDataSource + setDataField), it shows the field's value and writes it: at once for a
// step, and for typed text when the control is left (or through updateRecord when a navigator
// button acts while it has the focus); the first change starts the edit.
class SpinEdit : public QAbstractSpinBox, public DataControl
{
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged USER true)
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int singleStep READ singleStep WRITE setSingleStep)
    Q_PROPERTY(int pageStep READ pageStep WRITE setPageStep)
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    int minimum() const { return m_minimum; }
    void setMinimum(int minimum);
    int maximum() const { return m_maximum; }
    void setMaximum(int maximum);
    void setRange(int minimum, int maximum);
    int singleStep() const { return m_singleStep; }
    void setSingleStep(int step) { m_singleStep = step; }
    int pageStep() const { return m_pageStep; }
    void setPageStep(int step) { m_pageStep = step; }

    int value() const;
    // Clamped to the range; bound, writes the field (starting the edit).
    void setValue(int value);

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const override;
    void setDataField(const QString& fieldName);
    QString dataField() const;
    db::Field* field() const;
    bool isBound() const;

    // The control's own read-only switch (hides QAbstractSpinBox's), as DBEdit's.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    void updateRecord() override;

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

signals:
    void valueChanged(int value);
    void errorOccurred(const std::exception& error);

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The text as a number (unclamped); nothing for a text that is not a number.
    std::optional<qint64> typedNumber() const;
    int normalized() const; // what leaving makes of the text
    void step(int amount);
    void write(int value); // bound: into the field; unbound: the text
    void setShownText(const QString& text);
    void showField();
    void userEdited();
    void updateReadOnly();
    void emitIfChanged();
    void reportError(const std::exception& error);

    FieldLink* m_link;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_singleStep = 1;
    int m_pageStep = 10;
    bool m_readOnly = false;
    bool m_pending = false;
    bool m_showing = false;
    int m_lastValue = 0;
};

} // namespace ui
