#include "DatabaseErrorHandler.h"

#include <QCoreApplication>
#include <fb/Error.h>

QString DatabaseErrorHandler::messageOf(const std::exception& error) const
{
    if (const auto* dbError = dynamic_cast<const fb::Error*>(&error))
        return dbError->message();
    const QString text = QString::fromLocal8Bit(error.what()).trimmed();
    return text.isEmpty() ? messageOfUnknown() : text;
}

QString DatabaseErrorHandler::messageOfUnknown() const
{
    return QCoreApplication::translate("DatabaseErrorHandler", "Unknown error.");
}
