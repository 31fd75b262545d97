#include "FieldSetup.h"

namespace {

FieldSetup named(db::DataSet* dataSet, db::Field* field)
{
    field->setObjectName(dataSet->objectName() + field->fieldName());
    return FieldSetup(field);
}

} // namespace

FieldSetup& FieldSetup::label(const QString& text)
{
    m_field->setDisplayLabel(text);
    return *this;
}

FieldSetup& FieldSetup::display(const QString& format)
{
    m_field->setDisplayFormat(format);
    return *this;
}

FieldSetup& FieldSetup::edit(const QString& format)
{
    m_field->setEditFormat(format);
    return *this;
}

FieldSetup& FieldSetup::hidden()
{
    m_field->setVisible(false);
    return *this;
}

FieldSetup& FieldSetup::width(int characters)
{
    m_field->setDisplayWidth(characters);
    return *this;
}

FieldSetup& FieldSetup::initial(const QString& defaultExpression)
{
    m_field->setDefaultExpression(defaultExpression);
    return *this;
}

FieldSetup& FieldSetup::required()
{
    m_field->setRequired(true);
    return *this;
}

FieldSetup& FieldSetup::emptyIsNull()
{
    m_field->setEmptyStringAsNull(true);
    return *this;
}

FieldSetup& FieldSetup::objectName(const QString& name)
{
    m_field->setObjectName(name);
    return *this;
}

FieldSetup declareField(db::DataSet* dataSet, const QString& column, db::FieldType type, int size)
{
    return named(dataSet, dataSet->addField(column, type, size));
}

FieldSetup declareCalculated(db::DataSet* dataSet, const QString& name, db::FieldType type, int size)
{
    return named(dataSet, dataSet->addCalculatedField(name, type, size));
}

FieldSetup declareLookup(db::DataSet* dataSet, const QString& name, int size, const QString& keyField,
                         db::DataSet* list, const QString& listKey, const QString& resultField)
{
    return named(dataSet, dataSet->addLookupField(name, db::FieldType::String, size, keyField, list, listKey,
                                                  resultField));
}
