#pragma once

#include <memory>

namespace Firebird {
class ITransaction;
}

namespace fb {

class Attachment;

enum class Isolation
{
    Concurrency,
    ReadCommitted,
    Consistency
};

// The transaction parameter block as a small value object.
struct TransactionOptions
{
    Isolation isolation = Isolation::Concurrency;
    bool readOnly = false;
    bool wait = false;         // false: nowait, a lock conflict fails at once
    bool recordVersion = true; // read committed only: rec_version (true) or no_rec_version

    TransactionOptions& setIsolation(Isolation i)
    {
        isolation = i;
        return *this;
    }
    TransactionOptions& setReadOnly(bool r)
    {
        readOnly = r;
        return *this;
    }
    TransactionOptions& setWait(bool w)
    {
        wait = w;
        return *this;
    }
    TransactionOptions& setRecordVersion(bool r)
    {
        recordVersion = r;
        return *this;
    }
};

// A transaction of one attachment. It is created idle and starts on first use
// (ensureStarted) or explicitly (start). Move-only; the destructor rolls back an active
// transaction and swallows that rollback's error.
class Transaction
{
public:
    Transaction(const Attachment& attachment, TransactionOptions options = {});
    Transaction(Transaction&&) noexcept;
    Transaction& operator=(Transaction&&) noexcept;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();

    void start();
    void ensureStarted();
    bool isActive() const;
    void commit();
    void commitRetaining();
    void rollback();
    void rollbackRetaining();

    const TransactionOptions& options() const;
    Firebird::ITransaction* handle(); // starts the transaction when idle

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};

} // namespace fb
