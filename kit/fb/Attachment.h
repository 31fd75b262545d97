#pragma once

#include "Types.h"

#include <QString>
#include <memory>

namespace Firebird {
class IAttachment;
}

namespace fb {

class Transaction;

struct ConnectionParams
{
    QString database; // file path, or a server connection string "host:/path"
    QString user = QStringLiteral("SYSDBA");
    QString password;
    QString charset = QStringLiteral("WIN1251"); // text is converted as WIN1251 whatever this says
    int dialect = 3;
    // Used by create(): false turns off synchronous writes of the new file, for throwaway
    // databases (tests); the setting stays with the file.
    bool forcedWrites = true;
};

// One connection to a database. Move-only; detaching rolls back every transaction of it
// that is still active.
class Attachment
{
public:
    static Attachment attach(const ConnectionParams& params);
    // Creates a new database file (dialect 3, WIN1251 default character set, page size 8192).
    static Attachment create(const ConnectionParams& params);

    Attachment(Attachment&&) noexcept;
    Attachment& operator=(Attachment&&) noexcept;
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;
    ~Attachment();

    bool isAttached() const;
    void detach();
    // Drops the database file; the attachment is gone afterwards.
    void dropDatabase();

    // Runs one statement without parameters in a transaction of its own, committed at once
    // (DDL, scripts).
    void executeImmediate(const QString& sql);

    const ConnectionParams& params() const;

    // For the other classes of this layer.
    Firebird::IAttachment* handle() const;
    struct Shared;
    std::shared_ptr<Shared> shared() const;

private:
    explicit Attachment(std::shared_ptr<Shared> shared);
    std::shared_ptr<Shared> m_shared;
};

} // namespace fb
