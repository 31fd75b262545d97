// Preparing the selection, binding fields to its columns, parameters, reading rows.
#include "DataSetPrivate.h"
#include "Error.h"

#include <fb/Attachment.h>
#include <fb/Transaction.h>

namespace db {

namespace {

FieldType typeOfColumn(const fb::ColumnInfo& c, bool int64AsDecimal)
{
    if (c.isScaled())
        return FieldType::Numeric;
    switch (c.type) {
    case fb::SqlType::SmallInt:
        return FieldType::SmallInt;
    case fb::SqlType::Integer:
        return FieldType::Integer;
    case fb::SqlType::BigInt:
        return int64AsDecimal ? FieldType::Numeric : FieldType::LargeInt;
    case fb::SqlType::Float:
    case fb::SqlType::Double:
        return FieldType::Float;
    case fb::SqlType::Date:
        return FieldType::Date;
    case fb::SqlType::Time:
        return FieldType::Time;
    case fb::SqlType::Timestamp:
        return FieldType::DateTime;
    case fb::SqlType::Char:
    case fb::SqlType::VarChar:
        return FieldType::String;
    case fb::SqlType::Blob:
        return c.isTextBlob() ? FieldType::Memo : FieldType::Blob;
    case fb::SqlType::Boolean:
        return FieldType::Boolean;
    case fb::SqlType::Other:
        break;
    }
    return FieldType::String;
}

QString columnName(const fb::ColumnInfo& c)
{
    return c.alias.isEmpty() ? c.name : c.alias;
}

} // namespace

void DataSet::Private::prepareSelect()
{
    if (select.isEmpty())
        throw Error(tr("%1: the dataset has no selection statement.").arg(q->objectName()));
    if (fieldsBound && select.isPrepared())
        return;
    fb::Statement& statement = select.statement(*attachment, *readTransaction, 0);
    columns = statement.outputs();
    bool anyData = false;
    for (Field* f : fields)
        anyData |= f->kind() == FieldKind::Data;
    if (!anyData)
        makeFieldsFromColumns();
    bindFields();
    fieldsBound = true;
}

void DataSet::Private::makeFieldsFromColumns()
{
    // Calculated and lookup fields declared by the program stay after the column fields.
    std::vector<std::unique_ptr<Field>> kept;
    for (auto& owned : ownedFields)
        kept.push_back(std::move(owned));
    ownedFields.clear();
    fields.clear();
    for (const fb::ColumnInfo& c : columns) {
        auto field =
            std::unique_ptr<Field>(new Field(q, columnName(c), FieldKind::Data, FieldType::Unknown, 0));
        field->m_declaredType = false;
        field->m_index = int(fields.size());
        fields.push_back(field.get());
        ownedFields.push_back(std::move(field));
    }
    for (auto& owned : kept) {
        owned->m_index = int(fields.size());
        fields.push_back(owned.get());
        ownedFields.push_back(std::move(owned));
    }
    fieldsFromColumns = true;
}

void DataSet::Private::bindFields()
{
    const bool int64AsDecimal = prepareOptions.testFlag(PrepareOption::SqlInt64ToBcd);
    int stride = int(columns.size());
    calcCount = 0;
    for (Field* f : fields) {
        switch (f->kind()) {
        case FieldKind::Data: {
            int found = -1;
            for (size_t i = 0; i < columns.size() && found < 0; ++i)
                if (ParsedSql::sameName(columnName(columns[i]), f->fieldName()))
                    found = int(i);
            if (found < 0)
                throw Error(tr("%1: Field '%2' not found").arg(q->objectName(), f->fieldName()));
            const fb::ColumnInfo& c = columns[size_t(found)];
            f->m_column = found;
            if (!f->m_declaredType)
                f->m_type = typeOfColumn(c, int64AsDecimal);
            if (f->m_type == FieldType::String && f->m_size == 0)
                f->m_size = c.length;
            if (f->m_type == FieldType::Numeric)
                f->m_decimals = std::max(0, -c.scale);
            f->m_relation = c.relation;
            f->m_relationColumn = c.name;
            applyMetadata(f, c);
            break;
        }
        case FieldKind::Calculated:
            f->m_column = stride++;
            ++calcCount;
            break;
        case FieldKind::Lookup:
            f->m_column = -1;
            break;
        }
    }
    if (rows.stride() != stride || rows.count() == 0)
        rows.reset(stride);
}

void DataSet::Private::applyMetadata(Field* field, const fb::ColumnInfo& column)
{
    const bool readOnlyComputed = prepareOptions.testFlag(PrepareOption::SetReadOnlyFields);
    if (column.relation.isEmpty()) {
        // An expression of the statement: nothing to store it in.
        if (readOnlyComputed)
            field->m_readOnly = true;
        return;
    }
    SchemaInfo& info = schema ? *schema : ownSchema;
    const auto meta = info.column(*attachment, *readTransaction, column.relation, column.name);
    if (!meta)
        return;
    if (prepareOptions.testFlag(PrepareOption::SetRequiredFields) && meta->notNull)
        field->m_required = true;
    if (readOnlyComputed && meta->computed)
        field->m_readOnly = true;
    field->m_databaseDefault = SchemaInfo::defaultExpression(meta->defaultSource).value_or(QString());
}

QHash<QString, QVariant> DataSet::Private::selectParamsForOpen() const
{
    QHash<QString, QVariant> out;
    DataSet* m = master();
    const bool masterHasRow = m && m->isActive() && m->d->current >= 0;
    for (const QString& name : select.parsed().names()) {
        const QString key = paramKey(name);
        QVariant value = programParams.value(key);
        if (m) {
            Field* masterField = m->findField(name);
            if (!masterField && key.startsWith(QLatin1StringView("MAS_")) && key.size() > 4)
                masterField = m->findField(name.mid(4));
            if (masterField)
                value = masterHasRow ? masterField->rawValue() : QVariant();
        }
        out.insert(key, value);
    }
    return out;
}

QVariant DataSet::Private::selectParamValue(const QString& name) const
{
    const QString key = paramKey(name);
    if (state != DataSetState::Inactive)
        return openParams.value(key);
    return selectParamsForOpen().value(key);
}

QVariant DataSet::Private::storedValue(const Field* field) const
{
    if (field->kind() == FieldKind::Lookup)
        return field->value();
    if (current < 0 || current >= rows.count() || field->m_column < 0)
        return {};
    return rows.at(current, field->m_column);
}

QVariant DataSet::Private::resolveParam(const QString& name, StatementKind kind) const
{
    const QString key = paramKey(name);
    if (key.size() > 4) {
        const QString rest = name.mid(4);
        if (key.startsWith(QLatin1StringView("OLD_"))) {
            if (Field* f = q->findField(rest))
                return storedValue(f);
        } else if (key.startsWith(QLatin1StringView("NEW_"))) {
            if (Field* f = q->findField(rest))
                return f->value();
        } else if (key.startsWith(QLatin1StringView("MAS_"))) {
            DataSet* m = master();
            Field* masterField = m && m->isActive() ? m->findField(rest) : nullptr;
            return masterField && m->d->current >= 0 ? masterField->rawValue() : QVariant();
        }
    }
    if (kind == StatementKind::Refresh && master() && select.parsed().hasParam(name))
        return selectParamValue(name);
    if (Field* f = q->findField(name))
        return f->value();
    if (select.parsed().hasParam(name))
        return selectParamValue(name);
    return {};
}

QVariantList DataSet::Private::valuesFor(const StatementCache& statement, StatementKind kind) const
{
    QVariantList values;
    const auto& params = statement.parsed().params();
    values.reserve(qsizetype(params.size()));
    for (const ParsedSql::Param& p : params)
        values << resolveParam(p.name, kind);
    return values;
}

std::optional<QVariantList> DataSet::Private::execute(StatementCache& statement, StatementKind kind,
                                                      fb::Transaction& tx, qint64* affected)
{
    requireConnection();
    const QVariantList values = valuesFor(statement, kind);
    const quint64 mask = statement.nullMask(values, !options.testFlag(Option::NoForceIsNull));
    fb::Statement& prepared = statement.statement(*attachment, tx, mask);
    auto result = prepared.execute(tx, statement.positional(values, mask));
    if (affected)
        *affected = prepared.affectedRows();
    return result;
}

void DataSet::Private::readRows(const QHash<QString, QVariant>& params, RowStore& into,
                                std::optional<fb::ResultSet>& rowsCursor)
{
    QVariantList values;
    for (const ParsedSql::Param& p : select.parsed().params())
        values << params.value(paramKey(p.name));
    const quint64 mask = select.nullMask(values, !options.testFlag(Option::NoForceIsNull));
    fb::Statement& statement = select.statement(*attachment, *readTransaction, mask);
    cursor.reset(); // one cursor per statement: the old one goes first
    into.reset(rows.stride());
    rowsCursor = statement.openCursor(*readTransaction, select.positional(values, mask));
    const int calcColumns = calcCount;
    const bool calc = calcColumns > 0 && calcConnected();
    const int limit = options.testFlag(Option::FetchAll) ? -1 : fetchBatch;
    QVariantList& target = into.appendTarget();
    for (int n = 0; limit < 0 || n < limit; ++n) {
        if (!rowsCursor->fetchNext()) {
            rowsCursor.reset();
            into.squeeze();
            break;
        }
        rowsCursor->appendRow(target);
        if (calcColumns) {
            into.appendNulls(calcColumns);
            if (calc)
                calculate(into.row(into.count() - 1));
        }
    }
}

int DataSet::Private::fetch(int max)
{
    if (!cursor || !cursor->isOpen())
        return 0;
    const int first = rows.count();
    const bool calc = calcCount > 0 && calcConnected();
    QVariantList& target = rows.appendTarget();
    int n = 0;
    // An edit buffer holds the current row apart, so appending can't disturb it.
    while (max < 0 || n < max) {
        if (!cursor->fetchNext()) {
            cursor.reset();
            rows.squeeze();
            break;
        }
        cursor->appendRow(target);
        if (calcCount) {
            rows.appendNulls(calcCount);
            if (calc)
                calculate(rows.row(rows.count() - 1));
        }
        ++n;
    }
    if (n > 0) {
        invalidateLookups();
        notifyAppended(first, first + n - 1);
    }
    return n;
}

void DataSet::Private::ensureRow(int row)
{
    while (row >= rows.count() && cursor && cursor->isOpen())
        if (fetch(fetchBatch) == 0)
            break;
}

void DataSet::Private::reread(int keepRow)
{
    if (editing())
        q->cancel();
    const QHash<QString, QVariant> params = selectParamsForOpen();
    RowStore fresh;
    std::optional<fb::ResultSet> freshCursor;
    readRows(params, fresh, freshCursor);
    rows.swap(fresh);
    cursor = std::move(freshCursor);
    openParams = params;
    invalidateLookups();
    const bool silentBefore = silent();
    ++disableCount; // the appends of ensureRow belong to this one change
    ensureRow(keepRow);
    --disableCount;
    if (!silentBefore)
        pendingData = false;
    current = rows.count() == 0 ? -1 : std::clamp(keepRow, 0, rows.count() - 1);
    bof = current <= 0;
    eof = rows.count() == 0;
    notifyData();
    emit q->afterOpen();
    if (current >= 0)
        emit q->afterScroll();
    notifyDetails(true);
}

} // namespace db
