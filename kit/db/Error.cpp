#include "Error.h"

#include <fb/Error.h>

namespace db {

Error::Error(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}

QString errorText(const std::exception& error)
{
    if (auto* own = dynamic_cast<const Error*>(&error))
        return own->message();
    if (auto* database = dynamic_cast<const fb::Error*>(&error))
        return database->message();
    return QString::fromUtf8(error.what());
}

} // namespace db
