#pragma once

#include "Types.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <Qt>

namespace db {

class DataSet;

// One of a lookup field's choices: the key to store and the text to show.
struct LookupChoice
{
    QVariant key;
    QString text;
};

// A named value of a dataset's rows. Fields are made by their dataset (DataSet::addField and
// its siblings before open, or from the statement's columns at open when none are declared)
// and live as long as it does. Without a row argument a field reads the current row, which
// in the edit states is the edit buffer; with one it reads that row of the dataset (row
// indexes as DataSet::currentRow()), as grids and trees do without moving the dataset.
class Field
{
public:
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    DataSet* dataSet() const { return m_dataSet; }
    int index() const { return m_index; } // position among the dataset's fields

    // The column name (or the name of a calculated or lookup field), e.g. "STATION_NAME".
    const QString& fieldName() const { return m_fieldName; }
    // The program's name of the field object, e.g. "dtsStationsSTATION_NAME"; empty unless set.
    const QString& objectName() const { return m_objectName; }
    void setObjectName(const QString& name) { m_objectName = name; }

    FieldKind kind() const { return m_kind; }
    FieldType type() const { return m_type; }
    int size() const { return m_size; }         // characters of a String field, 0 otherwise
    int decimals() const { return m_decimals; } // decimal places of a Numeric field
    bool isNumeric() const;                     // the integer, Float and Numeric types
    bool isText() const { return m_type == FieldType::String || m_type == FieldType::Memo; }

    // The title of a grid column and the name in messages: the label, else the field name.
    QString displayLabel() const { return m_displayLabel.isEmpty() ? m_fieldName : m_displayLabel; }
    void setDisplayLabel(const QString& label) { m_displayLabel = label; }
    // Display format (displayText) and edit format (editText), in the language of
    // NumberFormat.h and DateFormat.h. Empty: the defaults (date "dd.mm.yyyy", date-time
    // "dd.mm.yyyy hh:mm AMPM", a Numeric with decimals "#,##0.00..." with as many places,
    // Float the general format; the edit text of a number never has thousands separators).
    const QString& displayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString& format) { m_displayFormat = format; }
    const QString& editFormat() const { return m_editFormat; }
    void setEditFormat(const QString& format) { m_editFormat = format; }
    // Width in characters a grid column starts with (0: from the size or the type).
    int displayWidth() const;
    void setDisplayWidth(int characters) { m_displayWidth = characters; }
    bool isVisible() const { return m_visible; } // shown in grids
    void setVisible(bool visible) { m_visible = visible; }
    Qt::Alignment alignment() const; // numbers right, the rest left

    // The value a new row starts with: a number written as text, "NOW", "CURRENT_TIMESTAMP",
    // "CURRENT_TIME" (date and time), "TODAY", "CURRENT_DATE" (today), a text in single
    // quotes ('' is an empty text), or for a text field any other text as it stands; "NULL"
    // starts the field empty whatever the database declares. Empty: the default the database
    // declares for the column, if any.
    const QString& defaultExpression() const { return m_defaultExpression; }
    void setDefaultExpression(const QString& expression) { m_defaultExpression = expression; }

    // A required field must have a value (not NULL) when the row is posted.
    bool isRequired() const { return m_required; }
    void setRequired(bool required) { m_required = required; }
    // A read-only field refuses changes through setValue/setText (the engine still stores
    // what the database gives it).
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // For text fields: an empty text counts as NULL in what the field shows (isNull, value)
    // and in what is written through it (setText(""), setValue("") store NULL). The row
    // keeps the text as read, so a detail's parameter and a locate still see an empty text.
    bool emptyStringAsNull() const { return m_emptyStringAsNull; }
    void setEmptyStringAsNull(bool on) { m_emptyStringAsNull = on; }

    // Whether a control may change the field now: the field isn't read-only, not calculated,
    // and its dataset can be modified (DataSet::canModify()).
    bool canModify() const;

    // --- the current row ---
    QVariant value() const; // NULL is a QVariant without type
    bool isNull() const;
    // As stored in the row, before emptyStringAsNull (what a detail's parameter takes).
    QVariant rawValue() const;
    // The value the row had when it was last read or stored (the OLD_ value).
    QVariant oldValue() const;
    QString displayText() const; // formatted with the display format; "" for NULL
    QString editText() const;    // formatted with the edit format; "" for NULL
    QString asString() const;    // the value as plain text: numbers in the general format
    int asInteger() const;       // 0 for NULL
    double asFloat() const;      // 0 for NULL

    // Change the current row's value; the dataset must be in an edit state (see
    // DataSource::edit() for controls that start the edit). Converts to the field's type and
    // throws db::Error for a value of the wrong kind, a text too long for the field or one
    // that WIN1251 can't hold, or a read-only field.
    void setValue(const QVariant& value);
    void clear() { setValue(QVariant()); }
    // Parses typed text and sets it: numbers with "." as decimal point, dates as
    // "dd.mm.yyyy"; "" gives NULL. A text that isn't a valid value for the field is refused
    // with db::Error (e.g. "'1,5' is not a valid floating point value for field 'Depth'").
    // For a lookup field, chooses the choice whose text equals `text` and stores its key in
    // the key field.
    void setText(const QString& text);
    // Whether a typed character can belong to a value of this field (digits and sign for
    // integers, also "." and "eE" for numbers; anything for text).
    bool isValidChar(QChar c) const;

    // --- any row (0 <= row < dataSet()->recordCount()) ---
    QVariant value(int row) const;
    bool isNull(int row) const;
    QString displayText(int row) const;

    // --- lookup fields ---
    // The value of `keyFieldName` (a field of this dataset) is looked up in `lookupDataSet`'s
    // field `lookupKeyFieldName`; the field shows that row's `resultFieldName`. The lookup
    // dataset is opened when this field's dataset opens.
    DataSet* lookupDataSet() const { return m_lookupDataSet; }
    const QString& keyFieldName() const { return m_keyFieldName; }
    const QString& lookupKeyFieldName() const { return m_lookupKeyFieldName; }
    const QString& lookupResultFieldName() const { return m_lookupResultFieldName; }
    Field* keyField() const; // the field of this dataset holding the key
    // Every row of the lookup dataset, in its order (fetches it whole).
    QList<LookupChoice> lookupChoices() const;

private:
    friend class DataSet;
    Field(DataSet* dataSet, const QString& name, FieldKind kind, FieldType type, int size);

    QVariant converted(const QVariant& value) const; // throws db::Error
    QVariant fromRaw(const QVariant& raw) const;     // applies emptyStringAsNull
    QString format(const QVariant& value, const QString& format, bool forEdit) const;
    QVariant lookupValue(const QVariant& key) const;

    DataSet* m_dataSet;
    int m_index = -1;
    int m_column = -1; // column of the dataset's row store; -1 for lookup fields
    QString m_fieldName;
    QString m_objectName;
    FieldKind m_kind;
    FieldType m_type;
    bool m_declaredType = true;
    int m_size = 0;
    int m_decimals = 0;
    QString m_displayLabel;
    QString m_displayFormat;
    QString m_editFormat;
    int m_displayWidth = 0;
    bool m_visible = true;
    QString m_defaultExpression;
    bool m_required = false;
    bool m_readOnly = false;
    bool m_emptyStringAsNull = false;
    QString m_relation; // table and column the field's column comes from, from the statement
    QString m_relationColumn;
    QString m_databaseDefault; // the column's declared default, as a default expression
    DataSet* m_lookupDataSet = nullptr;
    QString m_keyFieldName;
    QString m_lookupKeyFieldName;
    QString m_lookupResultFieldName;
};

} // namespace db
