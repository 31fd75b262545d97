#pragma once

#include <QString>
#include <vector>

namespace fb {

class Attachment;

// An SQL script as isql reads it: statements end with the current terminator (";" until a
// "SET TERM" changes it, as scripts do around procedure and trigger bodies); terminators inside
// string literals, quoted names and comments don't count.
class Script
{
public:
    struct Statement
    {
        QString text; // without the terminator
        int line = 0; // 1-based line where the statement begins
    };

    explicit Script(const QString& text);
    // Reads a script file (UTF-8). Throws fb::Error when it can't be read.
    static Script fromFile(const QString& path);

    // Throws fb::Error on an unterminated literal or comment.
    const std::vector<Statement>& statements() const { return m_statements; }

    // Runs the statements in one transaction and commits it. DDL is committed as it goes (as
    // isql's autoddl does) so that later statements see the objects made before them; COMMIT
    // and ROLLBACK statements act on the script's transaction; isql-only settings (SET SQL
    // DIALECT, SET NAMES, SET AUTODDL...) are skipped. On failure the transaction is rolled back
    // and the error names the line of the failing statement.
    void run(Attachment& attachment) const;

private:
    std::vector<Statement> m_statements;
};

} // namespace fb
