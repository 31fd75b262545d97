#pragma once

#include <QChar>

namespace db {

// The separators that every number format and every parse of typed numbers uses.
struct Separators
{
    QChar decimal = u'.';
    QChar thousands = u',';
};

const Separators& separators();

// For the whole run: "." as decimal separator whatever the locale, the system's thousands
// separator. Called once at start, before any window exists.
void useProgramSeparators();

} // namespace db
