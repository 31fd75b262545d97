// New rows, edits, post, cancel, delete and single-row refresh.
#include "DataSetPrivate.h"
#include "DefaultValue.h"
#include "Error.h"

#include <fb/Attachment.h>
#include <fb/Transaction.h>

namespace db {

bool DataSet::canModify() const
{
    return canInsert() || canDelete() ||
           (!d->update.isEmpty() && d->allowedUpdates.testFlag(UpdateKind::Modify));
}

bool DataSet::canInsert() const
{
    return !d->insert.isEmpty() && d->allowedUpdates.testFlag(UpdateKind::Insert);
}

bool DataSet::canDelete() const
{
    return !d->remove.isEmpty() && d->allowedUpdates.testFlag(UpdateKind::Delete);
}

namespace {

void requireActive(const DataSet* dataSet)
{
    if (!dataSet->isActive())
        throw Error(
            DataSet::tr("%1: Cannot perform this operation on a closed dataset").arg(dataSet->objectName()));
}

// A change that reached no row: deleted by another user, or stored by one after the update
// transaction began, which it can't see.
Error rowNotFound(const DataSet* dataSet)
{
    return Error(DataSet::tr("%1: the row was not found in the database; another user may have changed or "
                             "deleted it. Read the data again.")
                     .arg(dataSet->objectName()));
}

} // namespace

bool DataSet::Private::checkBrowseMode()
{
    if (!editing())
        return true;
    if (modified)
        return q->post();
    q->cancel();
    return true;
}

bool DataSet::insert()
{
    requireActive(this);
    return d->startNewRow(false);
}

bool DataSet::append()
{
    requireActive(this);
    return d->startNewRow(true);
}

bool DataSet::Private::startNewRow(bool atEnd)
{
    if (!q->canInsert())
        throw Error(tr("%1: Cannot insert into a read-only dataset").arg(q->objectName()));
    if (!checkBrowseMode())
        return false;
    Veto veto;
    emit q->beforeInsert(veto);
    if (veto.isAbandoned())
        return false;
    if (atEnd)
        fetch(-1);
    const int position = atEnd ? rows.count() : std::max(current, 0);
    rows.insertRow(position);
    invalidateLookups();
    current = position;
    bof = eof = false;
    buffer = QVariantList(rows.stride());
    state = DataSetState::Insert;
    modified = false;
    applyNewRowValues();
    calculate(buffer.data());
    notifyState();
    notifyData();
    emit q->afterInsert();
    emit q->afterScroll();
    notifyDetails(false);
    return true;
}

void DataSet::Private::applyNewRowValues()
{
    std::vector<Field*> linked;
    for (const QString& link : links) {
        const int eq = int(link.indexOf(u'='));
        if (eq < 0)
            continue;
        Field* f = q->findField(link.left(eq).trimmed());
        const QString param = link.mid(eq + 1).trimmed();
        if (!f || f->m_column < 0 || !select.parsed().hasParam(param))
            continue;
        QVariant value = selectParamValue(param);
        try {
            value = f->converted(value);
        } catch (const Error&) {
            // A value the field can't take as it is stays as the parameter gave it.
        }
        buffer[f->m_column] = value;
        linked.push_back(f);
    }
    const QDateTime now = QDateTime::currentDateTime();
    for (Field* f : fields) {
        if (f->kind() != FieldKind::Data || std::find(linked.begin(), linked.end(), f) != linked.end())
            continue;
        if (!generatorName.isEmpty() && ParsedSql::sameName(f->fieldName(), keyField))
            continue;
        const QString expression =
            f->defaultExpression().isEmpty() ? f->m_databaseDefault : f->defaultExpression();
        if (expression.isEmpty())
            continue;
        if (auto value = evaluateDefault(expression, f->type(), now))
            buffer[f->m_column] = *value;
    }
}

bool DataSet::edit()
{
    requireActive(this);
    if (d->editing())
        return true;
    if (d->rows.count() == 0)
        return d->startNewRow(false);
    if (d->update.isEmpty() || !d->allowedUpdates.testFlag(UpdateKind::Modify))
        throw Error(tr("%1: Cannot modify a read-only dataset").arg(objectName()));
    Veto veto;
    emit beforeEdit(veto);
    if (veto.isAbandoned())
        return false;
    if (d->options.testFlag(Option::ProtectedEdit))
        d->lockRow();
    const QVariant* row = d->rows.row(d->current);
    d->buffer = QVariantList(row, row + d->rows.stride());
    d->state = DataSetState::Edit;
    d->modified = false;
    d->notifyState();
    emit afterEdit();
    return true;
}

void DataSet::Private::lockRow()
{
    if (lock.isEmpty()) {
        const QString table = q->updateTableName();
        const QString where = update.parsed().whereClause();
        QString column = update.parsed().firstAssignedColumn();
        QString bare = column;
        if (bare.startsWith(u'"'))
            bare = bare.mid(1, bare.size() - 2);
        if (!q->findField(bare) && !keyField.isEmpty() && q->findField(keyField)) {
            bare = q->findField(keyField)->fieldName();
            column = bare;
        }
        if (table.isEmpty() || where.isEmpty() || bare.isEmpty() || !q->findField(bare))
            throw Error(tr("%1: the row can't be locked: the update statement names no table, column or "
                           "WHERE condition that the dataset's fields can fill.")
                            .arg(q->objectName()));
        lock.setSql(QStringLiteral("UPDATE %1 SET %2 = :\"OLD_%3\" %4").arg(table, column, bare, where));
    }
    qint64 affected = 0;
    execute(lock, StatementKind::Lock, writeTx(), &affected);
    if (affected == 0)
        throw rowNotFound(q);
}

void DataSet::Private::checkRequired() const
{
    const bool inserting = state == DataSetState::Insert;
    for (Field* f : fields) {
        if (f->kind() != FieldKind::Data || !f->isRequired())
            continue;
        if (inserting && !generatorName.isEmpty() && ParsedSql::sameName(f->fieldName(), keyField))
            continue;
        const QVariant& v = buffer.at(f->m_column);
        const bool empty = isNullValue(v) || (f->emptyStringAsNull() && v.userType() == QMetaType::QString &&
                                              v.toString().isEmpty());
        if (empty)
            throw Error(tr("Field '%1' must have a value").arg(f->displayLabel()));
    }
}

void DataSet::Private::takeGeneratorValue()
{
    if (generatorName.isEmpty() || keyField.isEmpty())
        return;
    Field* key = q->findField(keyField);
    if (!key || key->m_column < 0 || !isNullValue(buffer.at(key->m_column)))
        return;
    fb::Transaction& tx = writeTx();
    if (!generator)
        generator = std::make_unique<fb::Statement>(
            *attachment, tx, QStringLiteral("SELECT GEN_ID(%1, 1) FROM RDB$DATABASE").arg(generatorName));
    const auto row = generator->execute(tx);
    if (!row || row->isEmpty())
        throw Error(tr("%1: the generator %2 gave no value").arg(q->objectName(), generatorName));
    QVariant value = row->first();
    try {
        value = key->converted(value);
    } catch (const Error&) {
    }
    buffer[key->m_column] = value;
    notifyRecord(key);
}

bool DataSet::post()
{
    if (!d->editing())
        return true;
    if (!d->silent())
        for (DataSource* s : std::vector<DataSource*>(d->sources))
            if (s->isEnabled())
                emit s->updateRecord();
    if (!d->editing()) // a control's write was refused and the edit given up
        return true;
    Veto veto;
    emit beforePost(veto);
    if (veto.isAbandoned())
        return false;
    d->checkRequired();
    const bool inserting = d->state == DataSetState::Insert;
    StatementCache& statement = inserting ? d->insert : d->update;
    if (statement.isEmpty())
        throw Error(tr("%1: Cannot modify a read-only dataset").arg(objectName()));
    fb::Transaction& tx = d->writeTx();
    if (inserting)
        d->takeGeneratorValue();
    qint64 affected = 0;
    d->execute(statement, inserting ? StatementKind::Insert : StatementKind::Update, tx, &affected);
    // An update that found no row must not pass for a stored change.
    if (!inserting && affected == 0 && statement.parsed().updateTable().size())
        throw rowNotFound(this);
    if (d->autoCommit)
        tx.commitRetaining();

    // Stored: the edit buffer becomes the row.
    d->rows.setRow(d->current, d->buffer.constData());
    d->buffer.clear();
    d->state = DataSetState::Browse;
    d->modified = false;
    d->invalidateLookups();
    d->notifyState();
    const bool kept = d->refreshCurrentRow(true);
    if (kept)
        d->notifyRecord(nullptr);
    else
        d->notifyData();
    emit afterPost();
    d->notifyDetails(false);
    if (d->detailConditions.testFlag(DetailCondition::ForceMasterRefresh))
        if (DataSet* m = master(); m && m->isActive())
            m->refresh();
    return true;
}

void DataSet::cancel()
{
    if (!d->editing())
        return;
    const bool wasInsert = d->state == DataSetState::Insert;
    d->buffer.clear();
    d->state = DataSetState::Browse;
    d->modified = false;
    d->notifyState();
    if (wasInsert) {
        d->removeRow(d->current);
        d->notifyData();
    } else {
        d->notifyRecord(nullptr);
    }
    emit afterCancel();
    d->notifyDetails(false);
}

void DataSet::Private::removeRow(int row)
{
    rows.removeRow(row);
    invalidateLookups();
    if (current >= rows.count())
        current = rows.count() - 1;
    bof = current <= 0;
    eof = rows.count() == 0;
}

bool DataSet::remove()
{
    requireActive(this);
    if (d->state == DataSetState::Insert) {
        cancel();
        return true;
    }
    if (d->state == DataSetState::Edit)
        cancel();
    if (d->rows.count() == 0)
        throw Error(tr("%1: Cannot perform this operation on an empty dataset").arg(objectName()));
    if (!canDelete())
        throw Error(tr("%1: Cannot delete from a read-only dataset").arg(objectName()));
    Veto veto;
    emit beforeDelete(veto);
    if (veto.isAbandoned())
        return false;
    fb::Transaction& tx = d->writeTx();
    qint64 affected = 0;
    d->execute(d->remove, StatementKind::Delete, tx, &affected);
    if (affected == 0)
        throw rowNotFound(this);
    if (d->autoCommit)
        tx.commitRetaining();
    d->removeRow(d->current);
    d->notifyData();
    emit afterDelete();
    if (d->current >= 0)
        emit afterScroll();
    d->notifyDetails(false);
    if (d->detailConditions.testFlag(DetailCondition::ForceMasterRefresh))
        if (DataSet* m = master(); m && m->isActive())
            m->refresh();
    return true;
}

bool DataSet::Private::refreshCurrentRow(bool afterPost)
{
    if (refresh.isEmpty() || current < 0)
        return true;
    requireConnection();
    // Without AutoCommit the stored change is visible only to the update transaction.
    fb::Transaction& tx = afterPost && !autoCommit && writeTransaction ? *writeTransaction : *readTransaction;
    const QVariantList values = valuesFor(refresh, StatementKind::Refresh);
    const quint64 mask = refresh.nullMask(values, !options.testFlag(Option::NoForceIsNull));
    fb::Statement& statement = refresh.statement(*attachment, tx, mask);
    const auto row = statement.execute(tx, refresh.positional(values, mask));
    if (!row) {
        if (options.testFlag(Option::RefreshDeletedRecord)) {
            removeRow(current);
            return false;
        }
        return true;
    }
    const fb::ColumnList& outputs = statement.outputs();
    for (size_t j = 0; j < outputs.size() && qsizetype(j) < row->size(); ++j) {
        const QString name = outputs[j].alias.isEmpty() ? outputs[j].name : outputs[j].alias;
        for (size_t c = 0; c < columns.size(); ++c) {
            const QString own = columns[c].alias.isEmpty() ? columns[c].name : columns[c].alias;
            if (ParsedSql::sameName(own, name)) {
                rows.at(current, int(c)) = row->at(qsizetype(j));
                break;
            }
        }
    }
    invalidateLookups();
    calculate(rows.row(current));
    return true;
}

void DataSet::refresh()
{
    requireActive(this);
    if (!d->checkBrowseMode())
        return;
    if (d->refresh.isEmpty()) {
        fullRefresh();
        return;
    }
    if (d->current < 0) {
        emit afterRefresh();
        return;
    }
    const bool kept = d->refreshCurrentRow(false);
    if (kept)
        d->notifyRecord(nullptr);
    else
        d->notifyData();
    emit afterRefresh();
    d->notifyDetails(false);
}

void DataSet::fullRefresh()
{
    requireActive(this);
    if (!d->checkBrowseMode())
        return;
    d->reread(std::max(d->current, 0));
    emit afterRefresh();
}

} // namespace db
