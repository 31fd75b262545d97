#pragma once

#include "DataControl.h"
#include "FieldLink.h"

#include <QPlainTextEdit>
#include <exception>

namespace db {
class Field;
}

namespace ui {

// A multi-line edit of a text field of the current row, with a vertical scroll bar and word
// wrap. It follows the rules of DBEdit: the first change typed starts the edit, the text reaches
// the field when the memo loses the focus to another control (or through updateRecord when a
// navigator button acts while it has the focus), a text field's size limits the length (with
// the system beep), Esc gives up the typed text.
class DBMemo : public QPlainTextEdit, public DataControl
{
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const override;
    void setDataField(const QString& fieldName);
    QString dataField() const;
    db::Field* field() const;

    // The control's own read-only switch (hides QPlainTextEdit's), as DBEdit's.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    bool hasPendingText() const { return m_pending; }
    void updateRecord() override;

signals:
    void errorOccurred(const std::exception& error);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showField();
    void userChanged();
    void updateReadOnly();
    int maxLength() const;
    void reportError(const std::exception& error);

    FieldLink* m_link;
    bool m_readOnly = false;
    bool m_pending = false;
    bool m_showing = false;
    QString m_accepted; // the text before the last change, for a change over the size
};

} // namespace ui
