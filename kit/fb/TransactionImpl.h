#pragma once
// Internal to this layer.

#include "AttachmentShared.h"
#include "Transaction.h"

#include <memory>

namespace fb {

struct Transaction::Impl
{
    std::shared_ptr<Attachment::Shared> shared;
    TransactionOptions options;
    Firebird::ITransaction* handle = nullptr; // null while idle

    ~Impl();
    void start();
    // Ends the transaction by rollback, swallowing errors (destructor, detach).
    void abandon() noexcept;
    // After commit or rollback succeeded: the library has released the handle.
    void ended();
};

} // namespace fb
