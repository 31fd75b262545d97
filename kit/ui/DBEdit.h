#pragma once

#include "DataControl.h"
#include "FieldLink.h"

#include <QLineEdit>
#include <exception>

namespace db {
class Field;
}

namespace ui {

// A one-line edit of a field of the current row. It shows the field's display text, and its
// edit text while it has the focus and may change the field. Keystrokes that the field's type
// can't hold are refused with the system beep (and inputRejected()), a text field's size
// limits the length, and the first change typed puts the dataset into an edit state.
//
// The typed text reaches the field when the edit loses the focus to another control of the
// program (and when a navigator button posts or moves while the edit has the focus, through
// DataControl::updateRecord). A text that isn't a valid value is then reported
// (errorOccurred) and the edit takes the focus back. Esc gives up the typed text.
class DBEdit : public QLineEdit, public DataControl
{
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const override;
    void setDataField(const QString& fieldName);
    QString dataField() const;
    db::Field* field() const;

    // The control's own read-only switch (hides QLineEdit's): the edit is read-only while this
    // is on or while the field can't be changed.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    // Typed text not handed to the field yet.
    bool hasPendingText() const { return m_pending; }
    void updateRecord() override;

signals:
    // A failed write or edit (see DataErrors.h).
    void errorOccurred(const std::exception& error);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // For a subclass that changes the value by other means than typing (a calendar): starts
    // the edit, writes the value and shows the field again. Reports failures itself.
    void writeValue(const QVariant& value);
    void reportError(const std::exception& error);
    bool showsEditText() const;

private:
    void showField();
    void userEdited(const QString& text);
    void updateReadOnly();

    FieldLink* m_link;
    bool m_readOnly = false;
    bool m_pending = false;
    bool m_showing = false; // the control itself changes the text or the record
};

} // namespace ui
