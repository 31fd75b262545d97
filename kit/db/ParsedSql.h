#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace db {

// A statement with named parameters (:NAME, :"NAME") turned into positional ones ('?').
// String literals, quoted names and comments are skipped while looking for parameters.
class ParsedSql
{
public:
    struct Param
    {
        QString name;  // unquoted names in upper case, quoted ones as written
        int start = 0; // the ':' in the source
        int end = 0;   // one past the name (and its closing quote)
        // "= :P" inside a WHERE clause: runs as "IS NULL" when P is NULL (unless the
        // dataset says otherwise); nullTestStart is the '='.
        bool nullTestable = false;
        int nullTestStart = 0;
    };

    ParsedSql() = default;
    explicit ParsedSql(const QString& sql);

    const QString& source() const { return m_source; }
    bool isEmpty() const { return m_source.trimmed().isEmpty(); }
    // Every occurrence, in the order of the positional parameters.
    const std::vector<Param>& params() const { return m_params; }
    // Distinct names in order of first occurrence.
    QStringList names() const;
    bool hasParam(const QString& name) const;

    // The statement with '?' in place of each parameter; an occurrence whose bit
    // (1 << index among params()) is set in `isNullMask` becomes "IS NULL" and takes no
    // positional parameter (only nullTestable occurrences may be set).
    QString positionalSql(quint64 isNullMask = 0) const;

    // For an UPDATE statement: the table it updates, the column of its first assignment and
    // the text from its WHERE keyword to the end ("" when there is none).
    QString updateTable() const;
    QString firstAssignedColumn() const;
    QString whereClause() const;

    // Equality of names as parameters and fields compare them: case-insensitive.
    static bool sameName(const QString& a, const QString& b)
    {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    }

private:
    struct Token
    {
        QString word; // upper-cased keyword or identifier (quoted ones as written)
        int start = 0;
        int end = 0;
        int depth = 0;
        bool quoted = false;
    };
    void parse();

    QString m_source;
    std::vector<Param> m_params;
    std::vector<Token> m_words; // identifiers and keywords, for the UPDATE helpers
};

} // namespace db
