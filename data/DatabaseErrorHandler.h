#pragma once

#include <QString>
#include <exception>

// The program's single database error handler: turns a failure into the text that the
// application's error box shows. A database error shows the database's message (a user-defined
// exception of the database already reduced to its own text by the client layer); any other
// failure shows its description.
class DatabaseErrorHandler
{
public:
    QString messageOf(const std::exception& error) const;
    QString messageOfUnknown() const;
};
