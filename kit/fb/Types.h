#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace fb {

enum class SqlType
{
    SmallInt,
    Integer,
    BigInt,
    Float,
    Double,
    Date,
    Time,
    Timestamp,
    Char,
    VarChar,
    Blob,
    Boolean,
    Other,
};

// Describes one parameter or output column of a prepared statement.
struct ColumnInfo
{
    QString name;     // column or parameter name as the database gives it
    QString alias;    // output alias (select list)
    QString relation; // table the column comes from, empty for expressions
    SqlType type = SqlType::Other;
    int scale = 0;   // negative for scaled numerics: -2 means two decimal places
    int length = 0;  // bytes for the raw type; for text, characters (1 byte each in WIN1251)
    int subType = 0; // blob sub-type: 1 is text
    bool nullable = true;

    bool isText() const { return type == SqlType::Char || type == SqlType::VarChar; }
    bool isTextBlob() const { return type == SqlType::Blob && subType == 1; }
    bool isScaled() const
    {
        return scale < 0 &&
               (type == SqlType::SmallInt || type == SqlType::Integer || type == SqlType::BigInt);
    }
};

using ColumnList = std::vector<ColumnInfo>;

// Values cross the layer as QVariant:
//   smallint, integer -> int; bigint -> qlonglong; scaled numeric -> double;
//   float, double -> double; date -> QDate; time -> QTime; timestamp -> QDateTime;
//   char (trailing blanks removed), varchar, text blob -> QString; other blob -> QByteArray;
//   boolean -> bool; NULL -> a null QVariant of no type (QVariant()).
//   Timestamps are read as local-time QDateTime; a written QDateTime gives its own date and time.
// Parameters are converted to the type the statement declares:
//   integers and numerics take integral types, doubles (rounded half away from zero at the
//   column's scale, as the decimal the double was written from) and text in "." notation
//   ("12.5", "1e3"); float/double take any number or such text; date takes QDate, QDateTime or
//   "yyyy-MM-dd"/"dd.MM.yyyy"; time QTime, QDateTime or "hh:mm[:ss[.zzz]]"; timestamp QDateTime,
//   QDate (midnight) or text; text columns and text blobs take QString (WIN1251, refused when it
//   can't be held), QByteArray (bytes as they are) or numbers and dates (as text).
//   A null QVariant, and for non-text types a blank string, writes NULL. Values that don't fit
//   (out of range, too long, not a number) throw fb::Error naming the parameter.

} // namespace fb
