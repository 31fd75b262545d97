#pragma once

#include <QString>
#include <stdexcept>
#include <vector>

namespace fb {

// A failure reported by the database or by this layer. Carries the database's whole
// message, its error codes and SQLSTATE, so that the application can show it as it is.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString& message, std::vector<long> gdsCodes = {}, QString sqlState = {},
                   int sqlCode = 0, QString fullMessage = {});

    // What to show. For a user-defined exception of the database, that exception's own text.
    QString message() const { return m_message; }
    // The database's whole message, as it came (equal to message() for most errors).
    QString fullMessage() const { return m_fullMessage.isEmpty() ? m_message : m_fullMessage; }
    const std::vector<long>& gdsCodes() const { return m_gdsCodes; }
    long primaryCode() const { return m_gdsCodes.empty() ? 0 : m_gdsCodes.front(); }
    bool hasCode(long gdsCode) const;
    QString sqlState() const { return m_sqlState; }
    int sqlCode() const { return m_sqlCode; }

    // Lock conflict with another connection (update conflict, deadlock).
    bool isLockConflict() const;
    // Raised by a user-defined exception of the database (EXCEPTION statement).
    bool isUserException() const;

private:
    QString m_message;
    QString m_fullMessage;
    std::vector<long> m_gdsCodes;
    QString m_sqlState;
    int m_sqlCode;
};

} // namespace fb
