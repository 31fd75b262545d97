#pragma once

#include "Types.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>
#include <optional>

namespace fb {

class Attachment;
class Transaction;
class ResultSet;

enum class StatementType
{
    Select,
    SelectForUpdate,
    Insert,
    Update,
    Delete,
    ExecProcedure,
    Ddl,
    Other
};

// A prepared statement with positional parameters ('?'). Prepare once, execute many times
// in any transaction of the same attachment. Move-only.
class Statement
{
public:
    Statement(const Attachment& attachment, Transaction& transaction, const QString& sql);
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    const QString& sql() const;
    StatementType type() const;
    const ColumnList& inputs() const;
    const ColumnList& outputs() const;
    // Names for the positional parameters, in order, used in error messages ("parameter NEW_NAME")
    // where the database gives none.
    void setParameterNames(const QStringList& names);

    // Runs a statement that returns no rows or at most one (insert, update, delete,
    // execute procedure, a singleton select). Returns the row, if there is one.
    std::optional<QVariantList> execute(Transaction& transaction, const QVariantList& params = {});
    // Rows changed by the last execute (insert, update, delete).
    qint64 affectedRows() const;

    // Opens a cursor on a select statement. Only one cursor of a statement may be open.
    ResultSet openCursor(Transaction& transaction, const QVariantList& params = {});

    struct Impl;

private:
    std::unique_ptr<Impl> d;
    friend class ResultSet;
};

// The rows of an open cursor. Move-only; closing or destroying it closes the cursor.
class ResultSet
{
public:
    ResultSet(ResultSet&&) noexcept;
    ResultSet& operator=(ResultSet&&) noexcept;
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;
    ~ResultSet();

    // Moves to the next row; false at the end, where the cursor closes itself.
    bool fetchNext();
    bool isOpen() const;
    void close();

    int columnCount() const;
    const ColumnList& columns() const;
    bool isNull(int column) const;
    QVariant value(int column) const;
    // The whole current row.
    QVariantList row() const;
    // Appends the current row's values to `out` (no intermediate list).
    void appendRow(QVariantList& out) const;

    struct Impl;

private:
    explicit ResultSet(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
    friend class Statement;
};

} // namespace fb
