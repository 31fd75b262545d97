#pragma once
// Internal to this layer: the state that an attachment shares with its transactions,
// statements and cursors.

#include "Attachment.h"
#include "FbApi.h"
#include "Transaction.h"

#include <vector>

namespace fb {

struct Attachment::Shared
{
    ConnectionParams params;
    Firebird::IAttachment* handle = nullptr; // null once detached
    // Transactions of this attachment that are active now, rolled back at detach.
    std::vector<Transaction::Impl*> liveTransactions;

    Shared(ConnectionParams p, Firebird::IAttachment* h) : params(std::move(p)), handle(h) {}
    ~Shared();
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;

    bool attached() const { return handle != nullptr; }
    void addLive(Transaction::Impl* t);
    void removeLive(Transaction::Impl* t);
    // Rolls back the live transactions and detaches; throws when the database refuses.
    void detach();
    // The same for destructors: errors are swallowed and the handle is let go regardless.
    void detachQuietly() noexcept;
    // Throws when the attachment is gone.
    Firebird::IAttachment* checkedHandle() const;
};

} // namespace fb
