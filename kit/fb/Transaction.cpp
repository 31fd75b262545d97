#include "Transaction.h"

#include "Api.h"
#include "TransactionImpl.h"

#include <QString>
#include <vector>

namespace fb {

namespace {

std::vector<unsigned char> parameterBlock(const TransactionOptions& o)
{
    std::vector<unsigned char> tpb{isc_tpb_version3};
    tpb.push_back(o.readOnly ? isc_tpb_read : isc_tpb_write);
    switch (o.isolation) {
    case Isolation::Concurrency:
        tpb.push_back(isc_tpb_concurrency);
        break;
    case Isolation::Consistency:
        tpb.push_back(isc_tpb_consistency);
        break;
    case Isolation::ReadCommitted:
        tpb.push_back(isc_tpb_read_committed);
        tpb.push_back(o.recordVersion ? isc_tpb_rec_version : isc_tpb_no_rec_version);
        break;
    }
    tpb.push_back(o.wait ? isc_tpb_wait : isc_tpb_nowait);
    return tpb;
}

} // namespace

Transaction::Impl::~Impl()
{
    abandon();
}

void Transaction::Impl::start()
{
    Firebird::IAttachment* att = shared->checkedHandle();
    const std::vector<unsigned char> tpb = parameterBlock(options);
    detail::guarded([&] {
        detail::ThrowStatus st;
        handle = att->startTransaction(&st, unsigned(tpb.size()), tpb.data());
    });
    shared->addLive(this);
}

void Transaction::Impl::abandon() noexcept
{
    if (!handle)
        return;
    if (shared->attached()) {
        detail::QuietStatus st;
        handle->rollback(&st);
        if (st.failed())
            handle->release();
    } else {
        handle->release();
    }
    handle = nullptr;
    shared->removeLive(this);
}

void Transaction::Impl::ended()
{
    handle = nullptr;
    shared->removeLive(this);
}

Transaction::Transaction(const Attachment& attachment, TransactionOptions options)
    : d(std::make_unique<Impl>())
{
    d->shared = attachment.shared();
    if (!d->shared)
        throw Error(QStringLiteral("A transaction needs an open connection to the database."));
    d->options = options;
}

Transaction::Transaction(Transaction&&) noexcept = default;

Transaction& Transaction::operator=(Transaction&& other) noexcept
{
    if (this != &other) {
        if (d)
            d->abandon();
        d = std::move(other.d);
    }
    return *this;
}

Transaction::~Transaction() = default;

void Transaction::start()
{
    if (isActive())
        throw Error(QStringLiteral("The transaction is already active."));
    d->start();
}

void Transaction::ensureStarted()
{
    if (!isActive())
        d->start();
}

bool Transaction::isActive() const
{
    return d && d->handle;
}

void Transaction::commit()
{
    if (!isActive())
        return;
    detail::guarded([&] {
        detail::ThrowStatus st;
        d->handle->commit(&st);
    });
    d->ended();
}

void Transaction::commitRetaining()
{
    if (!isActive())
        return;
    detail::guarded([&] {
        detail::ThrowStatus st;
        d->handle->commitRetaining(&st);
    });
}

void Transaction::rollback()
{
    if (!isActive())
        return;
    detail::guarded([&] {
        detail::ThrowStatus st;
        d->handle->rollback(&st);
    });
    d->ended();
}

void Transaction::rollbackRetaining()
{
    if (!isActive())
        return;
    detail::guarded([&] {
        detail::ThrowStatus st;
        d->handle->rollbackRetaining(&st);
    });
}

const TransactionOptions& Transaction::options() const
{
    return d->options;
}

Firebird::ITransaction* Transaction::handle()
{
    ensureStarted();
    return d->handle;
}

} // namespace fb
