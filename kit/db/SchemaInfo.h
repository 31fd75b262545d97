#pragma once

#include <QHash>
#include <QString>
#include <fb/Attachment.h>
#include <memory>
#include <optional>

namespace fb {
class Transaction;
} // namespace fb

namespace db {

// What the database declares for a column of a table.
struct ColumnMeta
{
    bool notNull = false;  // NOT NULL on the column or its domain
    bool computed = false; // COMPUTED BY
    QString defaultSource; // the declared default as written, e.g. "DEFAULT 1", "" when none
};

// Column metadata of one attachment, read from RDB$RELATION_FIELDS and RDB$FIELDS in one
// query at first use and kept until reset() (or until it is used with another attachment).
// The data module owns one and hands it to its datasets (DataSet::setSchemaInfo).
class SchemaInfo
{
public:
    SchemaInfo() = default;

    // Runs the query in `transaction` the first time, or when `attachment` is another one.
    std::optional<ColumnMeta> column(const fb::Attachment& attachment, fb::Transaction& transaction,
                                     const QString& table, const QString& column);
    void reset();

    // A declared default as an expression of Field::defaultExpression(): DEFAULT 1 -> "1",
    // DEFAULT '' -> "''", DEFAULT CURRENT_DATE -> "CURRENT_DATE"; nullopt for DEFAULT NULL
    // and for no default.
    static std::optional<QString> defaultExpression(const QString& defaultSource);

private:
    void load(const fb::Attachment& attachment, fb::Transaction& transaction);

    std::weak_ptr<fb::Attachment::Shared> m_attachment;
    bool m_loaded = false;
    QHash<QString, ColumnMeta> m_columns; // key "TABLE.COLUMN"
};

} // namespace db
