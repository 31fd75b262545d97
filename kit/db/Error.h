#pragma once

#include <QString>
#include <exception>
#include <stdexcept>

namespace db {

// A refusal of the dataset engine itself: a required field without a value, a text that is not
// a valid value for its field, a change of a read-only dataset or field, an operation in the
// wrong state. Failures of the database come as fb::Error, carrying the database's text.
// Both derive from std::runtime_error; errorText() gives the message to show either way.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString& message);
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// The text for the application's error box: the message of a db::Error or fb::Error as it
// stands, what() (UTF-8) of any other exception.
QString errorText(const std::exception& error);

} // namespace db
