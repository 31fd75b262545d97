#include "Script.h"

#include "Attachment.h"
#include "Error.h"
#include "Statement.h"
#include "Transaction.h"

#include <QFile>
#include <QRegularExpression>

namespace fb {

namespace {

class Splitter
{
public:
    explicit Splitter(const QString& text) : m_text(text) {}

    std::vector<Script::Statement> split()
    {
        std::vector<Script::Statement> out;
        QString terminator = QStringLiteral(";");
        qsizetype start = -1; // first significant character of the current statement
        int startLine = 0;
        QString current;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c == u'-' && peek(1) == u'-') {
                skipLineComment(current, start >= 0);
                continue;
            }
            if (c == u'/' && peek(1) == u'*') {
                skipBlockComment(current, start >= 0);
                continue;
            }
            if (start < 0 && c.isSpace()) {
                advance();
                continue;
            }
            if (start < 0) {
                start = m_pos;
                startLine = m_line;
            }
            if (c == u'\'' || c == u'"') {
                takeQuoted(current, c);
                continue;
            }
            if (m_text.mid(m_pos, terminator.size()) == terminator) {
                m_pos += terminator.size();
                const QString statement = current.trimmed();
                current.clear();
                start = -1;
                if (statement.isEmpty())
                    continue;
                if (auto newTerm = setTerm(statement)) {
                    terminator = *newTerm;
                    continue;
                }
                out.push_back({statement, startLine});
                continue;
            }
            current += c;
            advance();
        }
        const QString rest = current.trimmed();
        if (!rest.isEmpty()) {
            if (!setTerm(rest))
                out.push_back({rest, startLine});
        }
        return out;
    }

private:
    QChar peek(qsizetype ahead) const
    {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : QChar();
    }

    void advance()
    {
        if (m_text[m_pos] == u'\n')
            ++m_line;
        ++m_pos;
    }

    void skipLineComment(QString& current, bool inStatement)
    {
        while (m_pos < m_text.size() && m_text[m_pos] != u'\n') {
            if (inStatement)
                current += m_text[m_pos];
            advance();
        }
    }

    void skipBlockComment(QString& current, bool inStatement)
    {
        const int line = m_line;
        const qsizetype end = m_text.indexOf(QStringLiteral("*/"), m_pos + 2);
        if (end < 0)
            throw Error(QStringLiteral("The comment that begins at line %1 is not closed.").arg(line));
        while (m_pos < end + 2) {
            if (inStatement)
                current += m_text[m_pos];
            advance();
        }
    }

    // A literal ('...') or quoted name ("..."); a doubled quote stands for itself.
    void takeQuoted(QString& current, QChar quote)
    {
        const int line = m_line;
        current += quote;
        advance();
        for (;;) {
            if (m_pos >= m_text.size())
                throw Error(
                    QStringLiteral("The quoted text that begins at line %1 is not closed.").arg(line));
            const QChar c = m_text[m_pos];
            current += c;
            advance();
            if (c == quote) {
                if (peek(0) == quote) {
                    current += quote;
                    advance();
                    continue;
                }
                return;
            }
        }
    }

    static std::optional<QString> setTerm(const QString& statement)
    {
        static const QRegularExpression re(QStringLiteral("^SET\\s+TERM(?:INATOR)?\\s+(\\S+)\\s*$"),
                                           QRegularExpression::CaseInsensitiveOption);
        const auto m = re.match(statement);
        if (!m.hasMatch())
            return std::nullopt;
        return m.captured(1);
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
};

bool isIsqlSetting(const QString& statement)
{
    static const QRegularExpression re(
        QStringLiteral("^SET\\s+(SQL\\s+DIALECT|NAMES|AUTODDL|ECHO|BAIL|LIST|HEADING|COUNT|STATS|PLAN|"
                       "PLANONLY|WARNINGS|WNG|BLOB|BLOBDISPLAY|WIDTH|TIME|SQLDA_DISPLAY|ROWCOUNT)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(statement).hasMatch();
}

bool startsWithWord(const QString& statement, const QString& word)
{
    const QRegularExpression re(QStringLiteral("^%1(\\s+WORK)?$").arg(word),
                                QRegularExpression::CaseInsensitiveOption);
    return re.match(statement).hasMatch();
}

} // namespace

Script::Script(const QString& text) : m_statements(Splitter(text).split()) {}

Script Script::fromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Can't read the script %1: %2").arg(path, file.errorString()));
    return Script(QString::fromUtf8(file.readAll()));
}

void Script::run(Attachment& attachment) const
{
    Transaction transaction(attachment, TransactionOptions().setWait(true));
    for (const Statement& s : m_statements) {
        try {
            if (isIsqlSetting(s.text))
                continue;
            if (startsWithWord(s.text, QStringLiteral("COMMIT"))) {
                transaction.commit();
                continue;
            }
            if (startsWithWord(s.text, QStringLiteral("ROLLBACK"))) {
                transaction.rollback();
                continue;
            }
            fb::Statement statement(attachment, transaction, s.text);
            statement.execute(transaction);
            if (statement.type() == StatementType::Ddl)
                transaction.commitRetaining();
        } catch (const Error& e) {
            transaction.rollback();
            throw Error(QStringLiteral("%1\n(script line %2)").arg(e.message()).arg(s.line), e.gdsCodes(),
                        e.sqlState(), e.sqlCode(),
                        e.fullMessage() + QStringLiteral("\n(script line %1)").arg(s.line));
        }
    }
    transaction.commit();
}

} // namespace fb
