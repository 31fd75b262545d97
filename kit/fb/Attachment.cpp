#include "Attachment.h"

#include "Api.h"
#include "AttachmentShared.h"
#include "Charset.h"
#include "TransactionImpl.h"

#include <QFile>
#include <algorithm>

namespace fb {

namespace {

QByteArray databaseName(const QString& database)
{
    if (database.isEmpty())
        throw Error(QStringLiteral("No database name was given."));
    return QFile::encodeName(database);
}

// Database parameter block for attach (create adds the page size and the default character set).
detail::Disposer<Firebird::IXpbBuilder> parameterBlock(const ConnectionParams& p, bool create)
{
    detail::Disposer<Firebird::IXpbBuilder> dpb{nullptr};
    detail::guarded([&] {
        detail::ThrowStatus st;
        dpb.p = detail::util()->getXpbBuilder(&st, Firebird::IXpbBuilder::DPB, nullptr, 0);
        dpb.p->insertString(&st, isc_dpb_user_name,
                            win1251::encode(p.user, QStringLiteral("the user name")).constData());
        dpb.p->insertString(&st, isc_dpb_password,
                            win1251::encode(p.password, QStringLiteral("the password")).constData());
        if (!p.charset.isEmpty())
            dpb.p->insertString(&st, isc_dpb_lc_ctype, p.charset.toLatin1().constData());
        dpb.p->insertInt(&st, isc_dpb_sql_dialect, p.dialect);
        if (create) {
            dpb.p->insertInt(&st, isc_dpb_page_size, 8192);
            dpb.p->insertInt(&st, isc_dpb_force_write, p.forcedWrites ? 1 : 0);
            dpb.p->insertString(
                &st, isc_dpb_set_db_charset,
                (p.charset.isEmpty() ? QStringLiteral("WIN1251") : p.charset).toLatin1().constData());
        }
    });
    return dpb;
}

Firebird::IAttachment* open(const ConnectionParams& params, bool create)
{
    const QByteArray name = databaseName(params.database);
    auto dpb = parameterBlock(params, create);
    return detail::guarded([&] {
        detail::ThrowStatus st;
        detail::Ref<Firebird::IProvider> provider(detail::master()->getDispatcher());
        const unsigned length = dpb.p->getBufferLength(&st);
        const unsigned char* buffer = dpb.p->getBuffer(&st);
        return create ? provider->createDatabase(&st, name.constData(), length, buffer)
                      : provider->attachDatabase(&st, name.constData(), length, buffer);
    });
}

} // namespace

// Shared

Attachment::Shared::~Shared()
{
    detachQuietly();
}

void Attachment::Shared::addLive(Transaction::Impl* t)
{
    liveTransactions.push_back(t);
}

void Attachment::Shared::removeLive(Transaction::Impl* t)
{
    liveTransactions.erase(std::remove(liveTransactions.begin(), liveTransactions.end(), t),
                           liveTransactions.end());
}

Firebird::IAttachment* Attachment::Shared::checkedHandle() const
{
    if (!handle)
        throw Error(QStringLiteral("The connection to the database is closed."));
    return handle;
}

void Attachment::Shared::detach()
{
    if (!handle)
        return;
    // The engine refuses to detach while transactions are open.
    while (!liveTransactions.empty())
        liveTransactions.back()->abandon();
    detail::guarded([&] {
        detail::ThrowStatus st;
        handle->detach(&st);
    });
    handle = nullptr;
}

void Attachment::Shared::detachQuietly() noexcept
{
    if (!handle)
        return;
    while (!liveTransactions.empty())
        liveTransactions.back()->abandon();
    detail::QuietStatus st;
    handle->detach(&st);
    if (st.failed())
        handle->release();
    handle = nullptr;
}

// Attachment

Attachment::Attachment(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}

Attachment Attachment::attach(const ConnectionParams& params)
{
    return Attachment(std::make_shared<Shared>(params, open(params, false)));
}

Attachment Attachment::create(const ConnectionParams& params)
{
    return Attachment(std::make_shared<Shared>(params, open(params, true)));
}

Attachment::Attachment(Attachment&&) noexcept = default;

Attachment& Attachment::operator=(Attachment&& other) noexcept
{
    if (this != &other) {
        if (m_shared)
            m_shared->detachQuietly();
        m_shared = std::move(other.m_shared);
    }
    return *this;
}

Attachment::~Attachment()
{
    if (m_shared)
        m_shared->detachQuietly();
}

bool Attachment::isAttached() const
{
    return m_shared && m_shared->attached();
}

void Attachment::detach()
{
    if (m_shared)
        m_shared->detach();
}

void Attachment::dropDatabase()
{
    if (!m_shared)
        throw Error(QStringLiteral("The connection to the database is closed."));
    Firebird::IAttachment* att = m_shared->checkedHandle();
    while (!m_shared->liveTransactions.empty())
        m_shared->liveTransactions.back()->abandon();
    detail::guarded([&] {
        detail::ThrowStatus st;
        att->dropDatabase(&st);
    });
    m_shared->handle = nullptr;
}

void Attachment::executeImmediate(const QString& sql)
{
    if (!m_shared)
        throw Error(QStringLiteral("The connection to the database is closed."));
    Firebird::IAttachment* att = m_shared->checkedHandle();
    const QByteArray text = win1251::encode(sql, QStringLiteral("the statement"));
    Transaction transaction(*this);
    detail::guarded([&] {
        detail::ThrowStatus st;
        att->execute(&st, transaction.handle(), unsigned(text.size()), text.constData(),
                     unsigned(m_shared->params.dialect), nullptr, nullptr, nullptr, nullptr);
    });
    transaction.commit();
}

const ConnectionParams& Attachment::params() const
{
    static const ConnectionParams none;
    return m_shared ? m_shared->params : none;
}

Firebird::IAttachment* Attachment::handle() const
{
    return m_shared ? m_shared->handle : nullptr;
}

std::shared_ptr<Attachment::Shared> Attachment::shared() const
{
    return m_shared;
}

} // namespace fb
