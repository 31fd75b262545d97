#include "Separators.h"

#include <QLocale>

namespace db {

namespace {

Separators& current()
{
    static Separators instance;
    return instance;
}

} // namespace

const Separators& separators()
{
    return current();
}

void useProgramSeparators()
{
    Separators s;
    s.decimal = u'.';
    const QString group = QLocale::system().groupSeparator();
    // Where the system groups thousands with "." (German, Russian in some settings...) that
    // would read as our decimal point, so such systems group with a no-break space, the
    // grouping that no convention reads as a decimal point; the same when there is none.
    if (group.size() == 1 && group.at(0) != u'.')
        s.thousands = group.at(0);
    else
        s.thousands = QChar(0x00A0);
    current() = s;
}

} // namespace db
