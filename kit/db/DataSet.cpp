#include "DataSetPrivate.h"
#include "Error.h"

#include <QMetaMethod>
#include <fb/Attachment.h>
#include <fb/Transaction.h>

namespace db {

bool isNullValue(const QVariant& value)
{
    if (!value.isValid())
        return true;
    switch (value.userType()) {
    case QMetaType::QDate:
        return !value.toDate().isValid();
    case QMetaType::QDateTime:
        return !value.toDateTime().isValid();
    case QMetaType::QTime:
        return !value.toTime().isValid();
    default:
        return false;
    }
}

DataSet::Private::Private(DataSet* owner) : q(owner)
{
    waitTimer = new QTimer(owner);
    waitTimer->setSingleShot(true);
    waitTimer->setTimerType(Qt::PreciseTimer);
    waitTimer->setInterval(MasterScrollWaitMs);
    QObject::connect(waitTimer, &QTimer::timeout, owner, [this] { waitEnded(); });
}

DataSet::DataSet(QObject* parent) : QObject(parent), d(std::make_unique<Private>(this)) {}

DataSet::~DataSet()
{
    d->waitTimer->stop();
    for (DataSource* source : d->sources)
        source->m_dataSet = nullptr;
    if (DataSource* master = d->masterSource) {
        auto& list = master->m_details;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    d->cursor.reset();
}

// --- connection ---

void DataSet::setAttachment(fb::Attachment* attachment)
{
    if (attachment == d->attachment)
        return;
    unprepare();
    d->attachment = attachment;
}

fb::Attachment* DataSet::attachment() const
{
    return d->attachment;
}

void DataSet::setTransaction(fb::Transaction* transaction)
{
    d->readTransaction = transaction;
}

fb::Transaction* DataSet::transaction() const
{
    return d->readTransaction;
}

void DataSet::setUpdateTransaction(fb::Transaction* transaction)
{
    d->writeTransaction = transaction;
}

fb::Transaction* DataSet::updateTransaction() const
{
    return d->writeTransaction;
}

void DataSet::setSchemaInfo(SchemaInfo* schema)
{
    d->schema = schema;
}

// --- statements ---

void DataSet::setSelectSql(const QString& sql)
{
    if (sql == d->select.parsed().source())
        return;
    close();
    d->select.setSql(sql);
    d->fieldsBound = false;
    if (d->fieldsFromColumns) {
        d->fields.clear();
        d->ownedFields.clear();
        d->fieldsFromColumns = false;
    }
}

void DataSet::setInsertSql(const QString& sql)
{
    d->insert.setSql(sql);
}

void DataSet::setUpdateSql(const QString& sql)
{
    d->update.setSql(sql);
    d->lock.release();
    d->lock = StatementCache();
}

void DataSet::setDeleteSql(const QString& sql)
{
    d->remove.setSql(sql);
}

void DataSet::setRefreshSql(const QString& sql)
{
    d->refresh.setSql(sql);
}

const QString& DataSet::selectSql() const
{
    return d->select.parsed().source();
}

const QString& DataSet::insertSql() const
{
    return d->insert.parsed().source();
}

const QString& DataSet::updateSql() const
{
    return d->update.parsed().source();
}

const QString& DataSet::deleteSql() const
{
    return d->remove.parsed().source();
}

const QString& DataSet::refreshSql() const
{
    return d->refresh.parsed().source();
}

// --- settings ---

void DataSet::setOptions(Options options)
{
    d->options = options;
}

Options DataSet::options() const
{
    return d->options;
}

void DataSet::setPrepareOptions(PrepareOptions options)
{
    d->prepareOptions = options;
    d->fieldsBound = false;
}

PrepareOptions DataSet::prepareOptions() const
{
    return d->prepareOptions;
}

void DataSet::setDetailConditions(DetailConditions conditions)
{
    d->detailConditions = conditions;
}

DetailConditions DataSet::detailConditions() const
{
    return d->detailConditions;
}

void DataSet::setAutoCommit(bool on)
{
    d->autoCommit = on;
}

bool DataSet::autoCommit() const
{
    return d->autoCommit;
}

void DataSet::setGenerator(const QString& keyField, const QString& generatorName)
{
    d->keyField = keyField;
    d->generatorName = generatorName;
    d->generator.reset();
}

QString DataSet::keyFieldName() const
{
    return d->keyField;
}

QString DataSet::generatorName() const
{
    return d->generatorName;
}

void DataSet::setUpdateTableName(const QString& table)
{
    d->updateTable = table;
    d->lock = StatementCache();
}

QString DataSet::updateTableName() const
{
    return d->updateTable.isEmpty() ? d->update.parsed().updateTable() : d->updateTable;
}

void DataSet::setParamsToFieldsLinks(const QStringList& links)
{
    d->links = links;
}

QStringList DataSet::paramsToFieldsLinks() const
{
    return d->links;
}

void DataSet::setAllowedUpdateKinds(UpdateKinds kinds)
{
    d->allowedUpdates = kinds;
}

UpdateKinds DataSet::allowedUpdateKinds() const
{
    return d->allowedUpdates;
}

void DataSet::setFetchBatch(int rows)
{
    d->fetchBatch = std::max(1, rows);
}

int DataSet::fetchBatch() const
{
    return d->fetchBatch;
}

void DataSet::setMasterSource(DataSource* master)
{
    if (master == d->masterSource)
        return;
    if (DataSource* old = d->masterSource) {
        auto& list = old->m_details;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    d->masterSource = master;
    if (master)
        master->m_details.push_back(this);
}

DataSource* DataSet::masterSource() const
{
    return d->masterSource;
}

DataSet* DataSet::master() const
{
    return d->master();
}

// --- selection parameters ---

QStringList DataSet::paramNames() const
{
    return d->select.parsed().names();
}

bool DataSet::hasParam(const QString& name) const
{
    return d->select.parsed().hasParam(name);
}

QVariant DataSet::paramValue(const QString& name) const
{
    return d->selectParamValue(name);
}

void DataSet::setParamValue(const QString& name, const QVariant& value)
{
    d->programParams.insert(paramKey(name), value);
}

// --- fields ---

Field* DataSet::addField(const QString& name, FieldType type, int size)
{
    if (isActive())
        throw Error(tr("Fields can't be added to an open dataset (%1).").arg(objectName()));
    if (d->fieldsFromColumns) {
        d->fields.clear();
        d->ownedFields.clear();
        d->fieldsFromColumns = false;
    }
    if (findField(name))
        throw Error(tr("The dataset %1 has a field %2 already.").arg(objectName(), name));
    auto field = std::unique_ptr<Field>(new Field(this, name, FieldKind::Data, type, size));
    field->m_declaredType = type != FieldType::Unknown;
    field->m_index = int(d->fields.size());
    d->fields.push_back(field.get());
    d->ownedFields.push_back(std::move(field));
    d->fieldsBound = false;
    return d->fields.back();
}

Field* DataSet::addCalculatedField(const QString& name, FieldType type, int size)
{
    if (isActive())
        throw Error(tr("Fields can't be added to an open dataset (%1).").arg(objectName()));
    if (findField(name))
        throw Error(tr("The dataset %1 has a field %2 already.").arg(objectName(), name));
    auto field = std::unique_ptr<Field>(new Field(this, name, FieldKind::Calculated, type, size));
    field->m_index = int(d->fields.size());
    d->fields.push_back(field.get());
    d->ownedFields.push_back(std::move(field));
    d->fieldsBound = false;
    return d->fields.back();
}

Field* DataSet::addLookupField(const QString& name, FieldType type, int size, const QString& keyField,
                               DataSet* lookupDataSet, const QString& lookupKeyField,
                               const QString& lookupResultField)
{
    if (isActive())
        throw Error(tr("Fields can't be added to an open dataset (%1).").arg(objectName()));
    if (findField(name))
        throw Error(tr("The dataset %1 has a field %2 already.").arg(objectName(), name));
    auto field = std::unique_ptr<Field>(new Field(this, name, FieldKind::Lookup, type, size));
    field->m_index = int(d->fields.size());
    field->m_lookupDataSet = lookupDataSet;
    field->m_keyFieldName = keyField;
    field->m_lookupKeyFieldName = lookupKeyField;
    field->m_lookupResultFieldName = lookupResultField;
    field->m_readOnly = false;
    d->fields.push_back(field.get());
    d->ownedFields.push_back(std::move(field));
    return d->fields.back();
}

int DataSet::fieldCount() const
{
    return int(d->fields.size());
}

Field* DataSet::field(int index) const
{
    return d->fields.at(size_t(index));
}

Field* DataSet::findField(const QString& name) const
{
    for (Field* f : d->fields)
        if (ParsedSql::sameName(f->fieldName(), name))
            return f;
    return nullptr;
}

Field* DataSet::field(const QString& name) const
{
    if (Field* f = findField(name))
        return f;
    throw Error(tr("%1: Field '%2' not found").arg(objectName(), name));
}

const std::vector<Field*>& DataSet::fields() const
{
    return d->fields;
}

// --- lifecycle ---

void DataSet::open()
{
    if (isActive())
        return;
    for (Field* f : d->fields)
        if (f->kind() == FieldKind::Lookup && f->lookupDataSet() && f->lookupDataSet() != this)
            f->lookupDataSet()->open();
    d->requireConnection();
    d->prepareSelect();
    const QHash<QString, QVariant> params = d->selectParamsForOpen();
    RowStore rows;
    std::optional<fb::ResultSet> cursor;
    d->readRows(params, rows, cursor);
    d->rows.swap(rows);
    d->cursor = std::move(cursor);
    d->openParams = params;
    d->invalidateLookups();
    d->current = d->rows.count() > 0 ? 0 : -1;
    d->bof = true;
    d->eof = d->rows.count() == 0;
    d->state = DataSetState::Browse;
    d->modified = false;
    d->notifyActive();
    emit afterOpen();
    if (!isEmpty())
        emit afterScroll();
    d->notifyDetails(true);
}

void DataSet::close()
{
    if (!isActive())
        return;
    d->waitTimer->stop();
    d->waitPending = false;
    if (d->editing())
        cancel();
    d->cursor.reset();
    d->rows.reset(d->rows.stride());
    d->invalidateLookups();
    d->current = -1;
    d->bof = d->eof = true;
    d->state = DataSetState::Inactive;
    d->buffer.clear();
    d->modified = false;
    d->notifyActive();
    emit afterClose();
    d->closeDetails();
}

void DataSet::setActive(bool active)
{
    if (active)
        open();
    else
        close();
}

bool DataSet::isActive() const
{
    return d->state != DataSetState::Inactive;
}

void DataSet::unprepare()
{
    close();
    d->cursor.reset();
    d->select.release();
    d->insert.release();
    d->update.release();
    d->remove.release();
    d->refresh.release();
    d->lock.release();
    d->generator.reset();
    d->fieldsBound = false;
}

DataSetState DataSet::state() const
{
    return d->state;
}

bool DataSet::isEditing() const
{
    return d->editing();
}

bool DataSet::isModified() const
{
    return d->editing() && d->modified;
}

// --- navigation ---

int DataSet::recordCount() const
{
    return d->rows.count();
}

bool DataSet::isEmpty() const
{
    return d->rows.count() == 0;
}

int DataSet::currentRow() const
{
    return d->current;
}

bool DataSet::bof() const
{
    return d->bof;
}

bool DataSet::eof() const
{
    return d->eof;
}

void DataSet::first()
{
    if (!isActive())
        throw Error(tr("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    if (!d->checkBrowseMode())
        return;
    d->moveTo(0, true, false);
}

void DataSet::prior()
{
    if (!isActive())
        throw Error(tr("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    if (!d->checkBrowseMode())
        return;
    if (d->current <= 0) {
        d->bof = true;
        return;
    }
    d->moveTo(d->current - 1, false, false);
}

void DataSet::next()
{
    if (!isActive())
        throw Error(tr("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    if (!d->checkBrowseMode())
        return;
    d->ensureRow(d->current + 1);
    if (d->current + 1 >= d->rows.count()) {
        d->eof = true;
        return;
    }
    d->moveTo(d->current + 1, false, false);
}

void DataSet::last()
{
    if (!isActive())
        throw Error(tr("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    if (!d->checkBrowseMode())
        return;
    d->fetch(-1);
    d->moveTo(d->rows.count() - 1, false, true);
}

void DataSet::moveBy(int distance)
{
    if (!isActive())
        throw Error(tr("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    if (!d->checkBrowseMode())
        return;
    const int target = d->current + distance;
    if (target < 0) {
        d->moveTo(0, true, false);
        return;
    }
    d->ensureRow(target);
    if (target >= d->rows.count()) {
        d->moveTo(d->rows.count() - 1, false, true);
        return;
    }
    d->moveTo(target, false, false);
}

void DataSet::setCurrentRow(int row)
{
    if (!isActive())
        throw Error(tr("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    if (row == d->current)
        return;
    const bool droppingNewRow = d->state == DataSetState::Insert && !d->modified;
    const int insertedAt = d->current;
    if (!d->checkBrowseMode())
        return;
    // Cancelling an unchanged new row removed it: the rows after it moved up by one.
    if (droppingNewRow && row > insertedAt)
        --row;
    if (row == d->current)
        return;
    d->ensureRow(row);
    if (row < 0 || row >= d->rows.count())
        return;
    d->moveTo(row, false, false);
}

namespace {

bool isEmptyLocateValue(const QVariant& v)
{
    return isNullValue(v) || (v.userType() == QMetaType::QString && v.toString().isEmpty());
}

bool locateMatch(const QVariant& stored, const QVariant& wanted, const Field* field, LocateOptions options)
{
    if (isEmptyLocateValue(wanted))
        return isEmptyLocateValue(stored);
    if (isEmptyLocateValue(stored))
        return false;
    if (field->isText() || wanted.userType() == QMetaType::QString) {
        const Qt::CaseSensitivity cs =
            options.testFlag(LocateOption::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
        const QString a = stored.toString();
        const QString b = wanted.toString();
        if (field->isText() || stored.userType() == QMetaType::QString)
            return options.testFlag(LocateOption::PartialKey) ? a.startsWith(b, cs) : a.compare(b, cs) == 0;
    }
    if (field->isNumeric()) {
        bool ok = false;
        const double w = wanted.toDouble(&ok);
        return ok && stored.toDouble() == w;
    }
    QVariant converted = wanted;
    if (converted.metaType() != stored.metaType() && converted.canConvert(stored.metaType()))
        converted.convert(stored.metaType());
    return converted == stored;
}

} // namespace

int DataSet::findRow(const QString& fieldNames, const QVariant& values, LocateOptions options)
{
    if (!isActive())
        return -1;
    const QStringList names = fieldNames.split(u';', Qt::SkipEmptyParts);
    std::vector<Field*> keys;
    for (const QString& name : names)
        keys.push_back(field(name.trimmed()));
    QVariantList wanted;
    if (keys.size() == 1)
        wanted << (values.userType() == QMetaType::QVariantList && values.toList().size() == 1
                       ? values.toList().first()
                       : values);
    else
        wanted = values.toList();
    if (wanted.size() != qsizetype(keys.size()))
        throw Error(tr("Locate: %1 fields but %2 values").arg(keys.size()).arg(wanted.size()));
    for (int row = 0;; ++row) {
        if (row >= d->rows.count()) {
            if (!d->cursor || d->fetch(d->fetchBatch) == 0)
                return -1;
        }
        bool all = true;
        for (size_t k = 0; k < keys.size() && all; ++k)
            all = locateMatch(keys[k]->kind() == FieldKind::Lookup ? keys[k]->value(row)
                                                                   : d->rawAt(row, keys[k]->m_column),
                              wanted.at(qsizetype(k)), keys[k], options);
        if (all)
            return row;
    }
}

bool DataSet::locate(const QString& fieldNames, const QVariant& values, LocateOptions options)
{
    if (!isActive())
        return false;
    if (!d->checkBrowseMode())
        return false;
    const int row = findRow(fieldNames, values, options);
    if (row < 0)
        return false;
    if (row != d->current)
        d->moveTo(row, false, false);
    return true;
}

// --- reading rows as needed ---

bool DataSet::canFetchMore() const
{
    return d->cursor.has_value() && d->cursor->isOpen();
}

int DataSet::fetchMore(int rows)
{
    if (!canFetchMore())
        return 0;
    const int n = d->fetch(rows > 0 ? rows : d->fetchBatch);
    if (n > 0 && d->current >= 0 && d->eof)
        d->eof = false;
    return n;
}

void DataSet::fetchAll()
{
    fetchMore(std::numeric_limits<int>::max());
}

// --- data-aware controls ---

void DataSet::disableControls()
{
    if (d->disableCount++ == 0) {
        d->pendingData = false;
        d->pendingDetails = false;
        d->pendingDetailsOpened = false;
    }
}

void DataSet::enableControls()
{
    if (d->disableCount == 0)
        return;
    if (--d->disableCount > 0)
        return;
    const bool active = isActive();
    if (active != d->notifiedActive) {
        d->notifiedActive = active;
        for (DataSource* s : d->sources)
            if (s->isEnabled())
                emit s->activeChanged(active);
    }
    if (d->state != d->notifiedState) {
        d->notifiedState = d->state;
        for (DataSource* s : d->sources)
            if (s->isEnabled())
                emit s->stateChanged(d->state);
    }
    if (d->pendingData) {
        d->pendingData = false;
        for (DataSource* s : d->sources)
            if (s->isEnabled())
                emit s->dataChanged();
    }
    if (d->pendingDetails) {
        const bool opened = d->pendingDetailsOpened;
        d->pendingDetails = d->pendingDetailsOpened = false;
        d->notifyDetails(opened);
    }
}

bool DataSet::controlsDisabled() const
{
    return d->disableCount > 0;
}

const std::vector<DataSource*>& DataSet::dataSources() const
{
    return d->sources;
}

// ===================================================================== Private

const QVariant* DataSet::Private::currentValues() const
{
    if (calcRow)
        return calcRow;
    if (editing())
        return buffer.constData();
    if (current >= 0 && current < rows.count())
        return rows.row(current);
    return nullptr;
}

QVariant DataSet::Private::rawAt(int row, int column) const
{
    if (row == current && editing())
        return buffer.at(column);
    if (row < 0 || row >= rows.count() || column < 0)
        return {};
    return rows.at(row, column);
}

bool DataSet::Private::calcConnected() const
{
    static const QMetaMethod signal = QMetaMethod::fromSignal(&DataSet::calcFields);
    return q->isSignalConnected(signal);
}

void DataSet::Private::calculate(QVariant* values)
{
    if (calcCount == 0 || !calcConnected())
        return;
    for (Field* f : fields)
        if (f->kind() == FieldKind::Calculated)
            values[f->m_column] = QVariant();
    QVariant* saved = calcRow;
    calcRow = values;
    try {
        emit q->calcFields();
    } catch (...) {
        calcRow = saved;
        throw;
    }
    calcRow = saved;
}

int DataSet::Private::lookupRow(int keyField, const QVariant& key) const
{
    if (isNullValue(key) || state == DataSetState::Inactive)
        return -1;
    auto it = lookupIndex.find(keyField);
    if (it == lookupIndex.end()) {
        const_cast<Private*>(this)->fetch(-1);
        QHash<QString, int> index;
        const int column = fields.at(size_t(keyField))->m_column;
        if (column < 0)
            return -1;
        for (int row = rows.count() - 1; row >= 0; --row) {
            const QVariant& v = rows.at(row, column);
            if (!isNullValue(v))
                index.insert(v.toString(), row);
        }
        it = lookupIndex.insert(keyField, index);
    }
    return it->value(key.toString(), -1);
}

void DataSet::Private::requireConnection() const
{
    if (!attachment || !attachment->isAttached())
        throw Error(tr("%1: the dataset has no open database connection.").arg(q->objectName()));
    if (!readTransaction)
        throw Error(tr("%1: the dataset has no transaction.").arg(q->objectName()));
}

fb::Transaction& DataSet::Private::writeTx() const
{
    requireConnection();
    if (!writeTransaction)
        throw Error(tr("%1: the dataset has no update transaction.").arg(q->objectName()));
    return *writeTransaction;
}

// --- notifications ---

void DataSet::Private::notifyActive()
{
    if (silent()) {
        pendingData = true;
        return;
    }
    const bool active = state != DataSetState::Inactive;
    notifiedActive = active;
    notifiedState = state;
    for (DataSource* s : sources)
        if (s->isEnabled())
            emit s->activeChanged(active);
}

void DataSet::Private::notifyState()
{
    if (silent()) {
        pendingData = true;
        return;
    }
    if (state == notifiedState)
        return;
    notifiedState = state;
    for (DataSource* s : sources)
        if (s->isEnabled())
            emit s->stateChanged(state);
}

void DataSet::Private::notifyData()
{
    if (silent()) {
        pendingData = true;
        return;
    }
    for (DataSource* s : sources)
        if (s->isEnabled())
            emit s->dataChanged();
}

void DataSet::Private::notifyAppended(int first, int last)
{
    if (silent()) {
        pendingData = true;
        return;
    }
    for (DataSource* s : sources)
        if (s->isEnabled())
            emit s->rowsAppended(first, last);
}

void DataSet::Private::notifyRecord(Field* field)
{
    if (silent()) {
        pendingData = true;
        return;
    }
    for (DataSource* s : sources)
        if (s->isEnabled())
            emit s->recordChanged(field);
}

void DataSet::Private::notifyScrolled()
{
    if (silent()) {
        pendingData = true;
        return;
    }
    for (DataSource* s : sources)
        if (s->isEnabled())
            emit s->scrolled(current);
}

std::vector<DataSet*> DataSet::Private::details() const
{
    std::vector<DataSet*> out;
    for (DataSource* s : sources)
        for (const QPointer<DataSet>& detail : s->m_details)
            if (detail && detail != q)
                out.push_back(detail);
    return out;
}

void DataSet::Private::notifyDetails(bool opened)
{
    if (silent()) {
        pendingDetails = true;
        pendingDetailsOpened |= opened;
        return;
    }
    std::exception_ptr failure;
    for (DataSet* detail : details()) {
        try {
            detail->d->masterChanged(opened);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

void DataSet::Private::closeDetails()
{
    for (DataSet* detail : details()) {
        detail->d->waitTimer->stop();
        detail->d->waitPending = false;
        detail->close();
    }
}

void DataSet::Private::moveTo(int row, bool setBof, bool setEof)
{
    if (row < 0 || row >= rows.count()) {
        bof = eof = rows.count() == 0 || setBof || setEof;
        return;
    }
    const bool moved = row != current;
    current = row;
    bof = setBof;
    eof = setEof;
    if (!moved)
        return;
    notifyScrolled();
    emit q->afterScroll();
    notifyDetails(false);
}

// --- as a detail ---

DataSet* DataSet::Private::master() const
{
    return masterSource ? masterSource->dataSet() : nullptr;
}

bool DataSet::Private::masterParamsDiffer() const
{
    const QHash<QString, QVariant> now = selectParamsForOpen();
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        const QVariant old = openParams.value(it.key());
        if (isNullValue(old) != isNullValue(it.value()))
            return true;
        if (!isNullValue(old) && !(old == it.value()))
            return true;
    }
    return false;
}

void DataSet::Private::masterChanged(bool masterOpened)
{
    DataSet* m = master();
    if (!m || !m->isActive()) {
        waitTimer->stop();
        waitPending = false;
        q->close();
        return;
    }
    const bool forceOpen = detailConditions.testFlag(DetailCondition::ForceOpen);
    if (!q->isActive() && !forceOpen)
        return;
    if (q->isActive() && !masterOpened && !waitPending && !masterParamsDiffer())
        return;
    if (detailConditions.testFlag(DetailCondition::WaitEndMasterScroll) && !m->d->readingInGo) {
        waitAfterMasterOpen |= masterOpened;
        waitPending = true;
        waitTimer->start();
        return;
    }
    waitTimer->stop();
    waitPending = false;
    waitAfterMasterOpen = false;
    readForMaster(m->d->readingInGo);
}

void DataSet::Private::waitEnded()
{
    waitPending = false;
    const bool afterOpen = waitAfterMasterOpen;
    waitAfterMasterOpen = false;
    DataSet* m = master();
    if (!m || !m->isActive())
        return;
    if (!q->isActive() && !detailConditions.testFlag(DetailCondition::ForceOpen))
        return;
    if (q->isActive() && !afterOpen && !masterParamsDiffer())
        return;
    try {
        readForMaster(true);
    } catch (const std::exception& e) {
        emit q->errorOccurred(errorText(e));
    }
}

void DataSet::Private::readForMaster(bool inGo)
{
    const bool saved = readingInGo;
    readingInGo = inGo;
    try {
        if (q->isActive())
            reread(0);
        else
            q->open();
    } catch (...) {
        readingInGo = saved;
        throw;
    }
    readingInGo = saved;
}

} // namespace db
