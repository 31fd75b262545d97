#pragma once

#include <db/DataSet.h>

// Declares one field of a dataset of the module, with its settings chained on one line, so
// that a dataset's definition reads like its table of fields. The field object is named by
// its dataset and column ("dtsStationsSTATION_NAME").
class FieldSetup
{
public:
    explicit FieldSetup(db::Field* field) : m_field(field) {}

    FieldSetup& label(const QString& text);
    FieldSetup& display(const QString& format);
    FieldSetup& edit(const QString& format);
    FieldSetup& hidden();
    FieldSetup& width(int characters);
    FieldSetup& initial(const QString& defaultExpression);
    FieldSetup& required();
    FieldSetup& emptyIsNull();
    FieldSetup& objectName(const QString& name);

    db::Field* field() const { return m_field; }

private:
    db::Field* m_field;
};

FieldSetup declareField(db::DataSet* dataSet, const QString& column, db::FieldType type, int size = 0);
FieldSetup declareCalculated(db::DataSet* dataSet, const QString& name, db::FieldType type, int size);
// A text looked up in `list`: the `resultField` of its row whose `listKey` equals `keyField`.
FieldSetup declareLookup(db::DataSet* dataSet, const QString& name, int size, const QString& keyField,
                         db::DataSet* list, const QString& listKey, const QString& resultField);
