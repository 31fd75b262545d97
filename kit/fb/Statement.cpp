#include "Statement.h"

#include "Api.h"
#include "Attachment.h"
#include "AttachmentShared.h"
#include "Charset.h"
#include "Message.h"
#include "Transaction.h"

#include <vector>

namespace fb {

struct Statement::Impl
{
    std::shared_ptr<Attachment::Shared> shared;
    QString sql;
    Firebird::IStatement* handle = nullptr;
    StatementType type = StatementType::Other;
    std::unique_ptr<detail::MessageLayout> input;
    std::shared_ptr<const detail::MessageLayout> output;
    std::vector<unsigned char> inputBuffer;
    qint64 affected = 0;
    QStringList parameterNames;
    ResultSet::Impl* cursor = nullptr; // the open cursor, if any

    ~Impl();
    QString parameterName(int i) const;
    const unsigned char* fillInput(const QVariantList& params, Firebird::ITransaction* transaction);
};

struct ResultSet::Impl
{
    std::shared_ptr<Attachment::Shared> shared;
    Statement::Impl* owner = nullptr;
    std::shared_ptr<const detail::MessageLayout> layout;
    Firebird::IResultSet* handle = nullptr;
    Firebird::ITransaction* transaction = nullptr; // one reference held for blob reads
    std::vector<unsigned char> buffer;
    bool onRow = false;

    ~Impl() { close(); }
    void close() noexcept;
    void checkColumn(int column) const;
};

namespace {

StatementType typeOf(unsigned info)
{
    switch (info) {
    case isc_info_sql_stmt_select:
        return StatementType::Select;
    case isc_info_sql_stmt_select_for_upd:
        return StatementType::SelectForUpdate;
    case isc_info_sql_stmt_insert:
        return StatementType::Insert;
    case isc_info_sql_stmt_update:
        return StatementType::Update;
    case isc_info_sql_stmt_delete:
        return StatementType::Delete;
    case isc_info_sql_stmt_exec_procedure:
        return StatementType::ExecProcedure;
    case isc_info_sql_stmt_ddl:
        return StatementType::Ddl;
    default:
        return StatementType::Other;
    }
}

QString columnName(const ColumnInfo& c)
{
    const QString name = c.alias.isEmpty() ? c.name : c.alias;
    return c.relation.isEmpty() ? name : c.relation + u'.' + name;
}

} // namespace

// Statement::Impl

Statement::Impl::~Impl()
{
    if (cursor) {
        cursor->close();
        cursor = nullptr;
    }
    if (!handle)
        return;
    if (shared->attached()) {
        detail::QuietStatus st;
        handle->free(&st);
        if (st.failed())
            handle->release();
    } else {
        handle->release();
    }
}

QString Statement::Impl::parameterName(int i) const
{
    if (i < parameterNames.size() && !parameterNames[i].isEmpty())
        return QStringLiteral("parameter %1").arg(parameterNames[i]);
    const ColumnInfo& c = input->columns()[size_t(i)];
    if (c.name.isEmpty())
        return QStringLiteral("parameter %1").arg(i + 1);
    return QStringLiteral("parameter %1 (%2)").arg(i + 1).arg(columnName(c));
}

const unsigned char* Statement::Impl::fillInput(const QVariantList& params,
                                                Firebird::ITransaction* transaction)
{
    if (params.size() != input->count())
        throw Error(QStringLiteral("The statement takes %1 parameters, %2 were given:\n%3")
                        .arg(input->count())
                        .arg(params.size())
                        .arg(sql));
    if (input->count() == 0)
        return nullptr;
    inputBuffer.assign(input->size(), 0);
    const detail::BlobAccess blobs{shared->checkedHandle(), transaction};
    for (int i = 0; i < input->count(); ++i)
        input->write(i, inputBuffer.data(), params[i], blobs, parameterName(i));
    return inputBuffer.data();
}

// Statement

Statement::Statement(const Attachment& attachment, Transaction& transaction, const QString& sql)
    : d(std::make_unique<Impl>())
{
    d->shared = attachment.shared();
    if (!d->shared)
        throw Error(QStringLiteral("The connection to the database is closed."));
    d->sql = sql;
    Firebird::IAttachment* att = d->shared->checkedHandle();
    const QByteArray text = win1251::encode(sql, QStringLiteral("the statement"));
    Firebird::ITransaction* tra = transaction.handle();
    detail::guarded([&] {
        detail::ThrowStatus st;
        d->handle = att->prepare(&st, tra, unsigned(text.size()), text.constData(),
                                 unsigned(d->shared->params.dialect),
                                 Firebird::IStatement::PREPARE_PREFETCH_METADATA);
        d->type = typeOf(d->handle->getType(&st));
        d->input = std::make_unique<detail::MessageLayout>(d->handle->getInputMetadata(&st));
        d->output = std::make_shared<detail::MessageLayout>(d->handle->getOutputMetadata(&st));
    });
}

Statement::Statement(Statement&&) noexcept = default;
Statement& Statement::operator=(Statement&&) noexcept = default;
Statement::~Statement() = default;

const QString& Statement::sql() const
{
    return d->sql;
}

StatementType Statement::type() const
{
    return d->type;
}

const ColumnList& Statement::inputs() const
{
    return d->input->columns();
}

const ColumnList& Statement::outputs() const
{
    return d->output->columns();
}

std::optional<QVariantList> Statement::execute(Transaction& transaction, const QVariantList& params)
{
    if (d->type == StatementType::Select || d->type == StatementType::SelectForUpdate) {
        ResultSet rows = openCursor(transaction, params);
        d->affected = 0;
        if (!rows.fetchNext())
            return std::nullopt;
        QVariantList row = rows.row();
        rows.close();
        return row;
    }
    Firebird::ITransaction* tra = transaction.handle();
    const unsigned char* in = d->fillInput(params, tra);
    const detail::MessageLayout& out = *d->output;
    std::vector<unsigned char> outBuffer(out.size());
    detail::guarded([&] {
        detail::ThrowStatus st;
        d->handle->execute(&st, tra, in ? d->input->metadata() : nullptr, const_cast<unsigned char*>(in),
                           out.count() ? out.metadata() : nullptr, out.count() ? outBuffer.data() : nullptr);
        d->affected = qint64(d->handle->getAffectedRecords(&st));
    });
    if (out.count() == 0)
        return std::nullopt;
    const detail::BlobAccess blobs{d->shared->checkedHandle(), tra};
    QVariantList row;
    row.reserve(out.count());
    for (int i = 0; i < out.count(); ++i)
        row.append(out.read(i, outBuffer.data(), blobs));
    return row;
}

void Statement::setParameterNames(const QStringList& names)
{
    d->parameterNames = names;
}

qint64 Statement::affectedRows() const
{
    return d->affected;
}

ResultSet Statement::openCursor(Transaction& transaction, const QVariantList& params)
{
    if (d->cursor)
        d->cursor->close();
    Firebird::ITransaction* tra = transaction.handle();
    const unsigned char* in = d->fillInput(params, tra);
    auto impl = std::make_unique<ResultSet::Impl>();
    impl->shared = d->shared;
    impl->layout = d->output;
    impl->buffer.assign(d->output->size(), 0);
    detail::guarded([&] {
        detail::ThrowStatus st;
        impl->handle = d->handle->openCursor(&st, tra, in ? d->input->metadata() : nullptr,
                                             const_cast<unsigned char*>(in), d->output->metadata(), 0);
    });
    tra->addRef();
    impl->transaction = tra;
    impl->owner = d.get();
    d->cursor = impl.get();
    return ResultSet(std::move(impl));
}

// ResultSet::Impl

void ResultSet::Impl::close() noexcept
{
    onRow = false;
    if (owner) {
        owner->cursor = nullptr;
        owner = nullptr;
    }
    if (handle) {
        if (shared->attached()) {
            detail::QuietStatus st;
            handle->close(&st);
            if (st.failed())
                handle->release();
        } else {
            handle->release();
        }
        handle = nullptr;
    }
    if (transaction) {
        transaction->release();
        transaction = nullptr;
    }
}

void ResultSet::Impl::checkColumn(int column) const
{
    if (!onRow)
        throw Error(QStringLiteral("The cursor has no current row."));
    if (column < 0 || column >= layout->count())
        throw Error(
            QStringLiteral("There is no column %1: the cursor has %2.").arg(column).arg(layout->count()));
}

// ResultSet

ResultSet::ResultSet(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
ResultSet::ResultSet(ResultSet&&) noexcept = default;
ResultSet& ResultSet::operator=(ResultSet&&) noexcept = default;
ResultSet::~ResultSet() = default;

bool ResultSet::fetchNext()
{
    if (!d || !d->handle)
        return false;
    const int result = detail::guarded([&] {
        detail::ThrowStatus st;
        return d->handle->fetchNext(&st, d->buffer.data());
    });
    if (result == Firebird::IStatus::RESULT_OK) {
        d->onRow = true;
        return true;
    }
    d->close();
    return false;
}

bool ResultSet::isOpen() const
{
    return d && d->handle;
}

void ResultSet::close()
{
    if (d)
        d->close();
}

int ResultSet::columnCount() const
{
    return d ? d->layout->count() : 0;
}

const ColumnList& ResultSet::columns() const
{
    return d->layout->columns();
}

bool ResultSet::isNull(int column) const
{
    d->checkColumn(column);
    return d->layout->isNull(column, d->buffer.data());
}

QVariant ResultSet::value(int column) const
{
    d->checkColumn(column);
    return d->layout->read(column, d->buffer.data(), {d->shared->checkedHandle(), d->transaction});
}

QVariantList ResultSet::row() const
{
    QVariantList out;
    out.reserve(columnCount());
    appendRow(out);
    return out;
}

void ResultSet::appendRow(QVariantList& out) const
{
    for (int i = 0; i < columnCount(); ++i)
        out.append(value(i));
}

} // namespace fb
