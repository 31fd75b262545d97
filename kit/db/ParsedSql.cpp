#include "ParsedSql.h"

#include <QSet>

namespace db {

namespace {

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == u'_';
}
bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Keywords that begin a clause which is not a search condition.
bool endsCondition(const QString& word)
{
    static const QSet<QString> words = {
        QStringLiteral("SELECT"), QStringLiteral("FROM"),   QStringLiteral("ORDER"),
        QStringLiteral("GROUP"),  QStringLiteral("HAVING"), QStringLiteral("UNION"),
        QStringLiteral("PLAN"),   QStringLiteral("ROWS"),   QStringLiteral("RETURNING"),
        QStringLiteral("SET"),    QStringLiteral("VALUES"), QStringLiteral("INTO"),
        QStringLiteral("JOIN"),   QStringLiteral("FETCH"),  QStringLiteral("OFFSET"),
        QStringLiteral("FOR"),    QStringLiteral("WITH"),   QStringLiteral("MATCHING"),
    };
    return words.contains(word);
}

} // namespace

ParsedSql::ParsedSql(const QString& sql) : m_source(sql)
{
    parse();
}

void ParsedSql::parse()
{
    const QString& s = m_source;
    const int n = int(s.size());
    std::vector<bool> inWhere{false}; // per parenthesis depth
    int depth = 0;
    int lastSignificant = -1; // index of the last character outside blanks and comments
    int i = 0;
    while (i < n) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && s.at(i + 1) == u'-') {
            while (i < n && s.at(i) != u'\n')
                ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && s.at(i + 1) == u'*') {
            const int end = int(s.indexOf(QStringLiteral("*/"), i + 2));
            i = end < 0 ? n : end + 2;
            continue;
        }
        if (c == u'\'') {
            ++i;
            while (i < n) {
                if (s.at(i) == u'\'') {
                    if (i + 1 < n && s.at(i + 1) == u'\'') {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            lastSignificant = i;
            ++i;
            continue;
        }
        if (c == u'"') {
            const int start = i;
            const int end = int(s.indexOf(u'"', i + 1));
            const int stop = end < 0 ? n : end;
            m_words.push_back({s.mid(start + 1, stop - start - 1), start, stop + 1, depth, true});
            lastSignificant = stop;
            i = stop + 1;
            continue;
        }
        if (c == u':' && i + 1 < n && (isIdentStart(s.at(i + 1)) || s.at(i + 1) == u'"')) {
            Param p;
            p.start = i;
            int j = i + 1;
            if (s.at(j) == u'"') {
                const int end = int(s.indexOf(u'"', j + 1));
                const int stop = end < 0 ? n : end;
                p.name = s.mid(j + 1, stop - j - 1);
                j = stop + 1;
            } else {
                while (j < n && isIdentChar(s.at(j)))
                    ++j;
                p.name = s.mid(i + 1, j - i - 1).toUpper();
            }
            p.end = std::min(j, n);
            if (inWhere[size_t(depth)] && lastSignificant >= 0 && s.at(lastSignificant) == u'=') {
                const QChar before = lastSignificant > 0 ? s.at(lastSignificant - 1) : QChar();
                if (before != u'<' && before != u'>' && before != u'!' && before != u'^' && before != u'~') {
                    p.nullTestable = true;
                    p.nullTestStart = lastSignificant;
                }
            }
            m_params.push_back(p);
            lastSignificant = p.end - 1;
            i = p.end;
            continue;
        }
        if (isIdentStart(c)) {
            int j = i;
            while (j < n && isIdentChar(s.at(j)))
                ++j;
            const QString word = s.mid(i, j - i).toUpper();
            m_words.push_back({word, i, j, depth, false});
            if (word == QLatin1StringView("WHERE"))
                inWhere[size_t(depth)] = true;
            else if (endsCondition(word))
                inWhere[size_t(depth)] = false;
            lastSignificant = j - 1;
            i = j;
            continue;
        }
        if (c == u'(') {
            ++depth;
            inWhere.push_back(inWhere.back());
        } else if (c == u')' && depth > 0) {
            --depth;
            inWhere.pop_back();
        }
        lastSignificant = i;
        ++i;
    }
}

QStringList ParsedSql::names() const
{
    QStringList out;
    for (const Param& p : m_params) {
        bool seen = false;
        for (const QString& name : out)
            seen |= sameName(name, p.name);
        if (!seen)
            out << p.name;
    }
    return out;
}

bool ParsedSql::hasParam(const QString& name) const
{
    for (const Param& p : m_params)
        if (sameName(p.name, name))
            return true;
    return false;
}

QString ParsedSql::positionalSql(quint64 isNullMask) const
{
    QString out;
    out.reserve(m_source.size());
    int at = 0;
    for (size_t k = 0; k < m_params.size(); ++k) {
        const Param& p = m_params[k];
        const bool asNullTest = k < 64 && (isNullMask & (quint64(1) << k)) && p.nullTestable;
        const int from = asNullTest ? p.nullTestStart : p.start;
        out += QStringView(m_source).mid(at, from - at);
        out += asNullTest ? QStringLiteral("IS NULL") : QStringLiteral("?");
        at = p.end;
    }
    out += QStringView(m_source).mid(at);
    return out;
}

QString ParsedSql::updateTable() const
{
    for (size_t k = 0; k + 1 < m_words.size(); ++k)
        if (!m_words[k].quoted && m_words[k].word == QLatin1StringView("UPDATE"))
            return m_words[k + 1].quoted ? u'"' + m_words[k + 1].word + u'"' : m_words[k + 1].word;
    return {};
}

QString ParsedSql::firstAssignedColumn() const
{
    for (size_t k = 0; k + 1 < m_words.size(); ++k) {
        if (m_words[k].quoted || m_words[k].word != QLatin1StringView("SET") || m_words[k].depth != 0)
            continue;
        // The column may be qualified (T.COL): take the last name before the '='.
        size_t j = k + 1;
        while (j + 1 < m_words.size() &&
               m_source.mid(m_words[j].end, m_words[j + 1].start - m_words[j].end).trimmed() ==
                   QLatin1StringView("."))
            ++j;
        return m_words[j].quoted ? u'"' + m_words[j].word + u'"' : m_words[j].word;
    }
    return {};
}

QString ParsedSql::whereClause() const
{
    for (const Token& t : m_words)
        if (!t.quoted && t.depth == 0 && t.word == QLatin1StringView("WHERE"))
            return m_source.mid(t.start);
    return {};
}

} // namespace db
