#include "Api.h"

#include "Charset.h"
#include "Engine.h"

#include <QByteArray>
#include <vector>

namespace fb::detail {

Firebird::IMaster* master()
{
    Engine::prepare();
    static Firebird::IMaster* const m = Firebird::fb_get_master_interface();
    return m;
}

Firebird::IUtil* util()
{
    return master()->getUtilInterface();
}

namespace {

// Length of the status element at v (its tag and arguments).
int elementLength(const intptr_t* v)
{
    return v[0] == isc_arg_cstring ? 3 : 2;
}

QString format(Firebird::IStatus* status)
{
    std::vector<char> buffer(16384);
    util()->formatStatus(buffer.data(), unsigned(buffer.size()), status);
    QString text = win1251::decode(buffer.data(), qsizetype(qstrnlen(buffer.data(), buffer.size())));
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

// A user-defined exception comes as: isc_except with its number, one element with the
// exception's name, one with its message (plain or with parameters), then the stack trace.
// Returns the message element alone, formatted, or nothing when the vector is not of that kind.
QString exceptionText(const intptr_t* v)
{
    std::vector<std::pair<const intptr_t*, const intptr_t*>> groups; // [begin, end) of each gds code
    for (const intptr_t* p = v; *p != isc_arg_end; p += elementLength(p)) {
        if (p[0] == isc_arg_gds)
            groups.push_back({p, nullptr});
        if (!groups.empty())
            groups.back().second = p + elementLength(p);
    }
    size_t i = 0;
    while (i < groups.size() && groups[i].first[1] != isc_except)
        ++i;
    if (i + 2 >= groups.size())
        return {};
    const auto [begin, end] = groups[i + 2];
    if (begin[1] != isc_random && begin[1] != isc_formatted_exception)
        return {};
    std::vector<intptr_t> part(begin, end);
    part.push_back(isc_arg_end);
    Firebird::IStatus* status = master()->getStatus();
    status->setErrors(part.data());
    QString text = format(status);
    status->dispose();
    return text;
}

} // namespace

Error toError(Firebird::IStatus* status)
{
    const QString full = format(status);
    const intptr_t* errors = status->getErrors();
    std::vector<long> codes;
    QString sqlState;
    for (const intptr_t* p = errors; p && *p != isc_arg_end; p += elementLength(p)) {
        if (p[0] == isc_arg_gds)
            codes.push_back(long(p[1]));
        else if (p[0] == isc_arg_sql_state)
            sqlState = QString::fromLatin1(reinterpret_cast<const char*>(p[1]));
    }
    const auto* vector = reinterpret_cast<const ISC_STATUS*>(errors);
    if (sqlState.isEmpty() && errors) {
        char state[FB_SQLSTATE_SIZE] = {};
        fb_sqlstate(state, vector);
        sqlState = QString::fromLatin1(state);
    }
    const int sqlCode = errors ? int(isc_sqlcode(vector)) : 0;
    const QString text = errors ? exceptionText(errors) : QString();
    if (!text.isEmpty())
        return Error(text, std::move(codes), sqlState, sqlCode, full);
    return Error(full, std::move(codes), sqlState, sqlCode);
}

} // namespace fb::detail
