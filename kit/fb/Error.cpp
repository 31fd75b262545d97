#include "Error.h"

#include <algorithm>

namespace fb {

namespace {
// Codes from iberror.h, kept here so that users of this header need no Firebird include.
constexpr long GdsDeadlock = 335544336L;
constexpr long GdsLockConflict = 335544345L;
constexpr long GdsUpdateConflict = 335544451L;
constexpr long GdsLockTimeout = 335544510L;
constexpr long GdsExcept = 335544517L;
} // namespace

Error::Error(const QString& message, std::vector<long> gdsCodes, QString sqlState, int sqlCode,
             QString fullMessage)
    : std::runtime_error(message.toStdString()), m_message(message), m_fullMessage(std::move(fullMessage)),
      m_gdsCodes(std::move(gdsCodes)), m_sqlState(std::move(sqlState)), m_sqlCode(sqlCode)
{}

bool Error::hasCode(long gdsCode) const
{
    return std::find(m_gdsCodes.begin(), m_gdsCodes.end(), gdsCode) != m_gdsCodes.end();
}

bool Error::isLockConflict() const
{
    return hasCode(GdsLockConflict) || hasCode(GdsUpdateConflict) || hasCode(GdsDeadlock) ||
           hasCode(GdsLockTimeout);
}

bool Error::isUserException() const
{
    return hasCode(GdsExcept);
}

} // namespace fb
