#pragma once

#include <QFlags>
#include <QString>

namespace db {

// What a dataset is doing. Insert and Edit are the edit states: the current row's values are
// held in an edit buffer until post or cancel.
enum class DataSetState
{
    Inactive,
    Browse,
    Insert,
    Edit
};

// The type a field holds its values as (the values are QVariants of the type in brackets).
enum class FieldType
{
    Unknown,  // declared fields only: take the type of the column at open
    SmallInt, // 16-bit integer (int)
    Integer,  // 32-bit integer (int)
    LargeInt, // 64-bit integer (qlonglong)
    Float,    // double precision (double)
    Numeric,  // fixed point with decimals() places (double; qlonglong for a BIGINT read as decimal)
    Date,     // QDate
    Time,     // QTime
    DateTime, // QDateTime
    String,   // text of at most size() characters (QString)
    Memo,     // text blob (QString)
    Blob,     // binary blob (QByteArray)
    Boolean,  // bool
};

// Where a field's value comes from.
enum class FieldKind
{
    Data,       // a column of the selection statement
    Calculated, // set by the dataset's calcFields handler for every row read
    Lookup,     // the result field of another dataset's row whose key equals this row's key field
};

// Behaviour of a dataset (the names follow the settings of the data module's datasets).
enum class Option
{
    RefreshDeletedRecord = 0x01, // a single-row refresh that finds no row removes the row
    ProtectedEdit = 0x02,        // editing a row first locks it with a no-change update
    FetchAll = 0x04,             // all rows are read at open; otherwise as views ask
    NoForceIsNull = 0x08,        // a NULL compared with "=" stays "= NULL" (matches nothing)
};
Q_DECLARE_FLAGS(Options, Option)

// What the dataset takes from the database's metadata when it opens.
enum class PrepareOption
{
    SetRequiredFields = 0x01, // NOT NULL columns make their fields required
    SetReadOnlyFields = 0x02, // computed columns (and expressions) make their fields read-only
    SqlInt64ToBcd = 0x04,     // BIGINT columns become Numeric fields
};
Q_DECLARE_FLAGS(PrepareOptions, PrepareOption)

// How a detail dataset follows its master.
enum class DetailCondition
{
    ForceOpen = 0x01,           // open with the master even when closed
    ForceMasterRefresh = 0x02,  // after each post or delete re-read the master's current row
    WaitEndMasterScroll = 0x04, // re-read 300 ms after the master's last move
};
Q_DECLARE_FLAGS(DetailConditions, DetailCondition)

// The changes a dataset allows; none makes it read-only whatever its statements.
enum class UpdateKind
{
    Insert = 0x01,
    Modify = 0x02,
    Delete = 0x04,
};
Q_DECLARE_FLAGS(UpdateKinds, UpdateKind)

enum class LocateOption
{
    CaseInsensitive = 0x01, // text compared without regard to letter case
    PartialKey = 0x02,      // a text matches a field value that begins with it
};
Q_DECLARE_FLAGS(LocateOptions, LocateOption)

// Handed to before-rules (DataSet::beforeInsert etc.). A rule that calls abandon() stops the
// operation silently: no error, no change, the operation returns false.
class Veto
{
public:
    void abandon() { m_abandoned = true; }
    bool isAbandoned() const { return m_abandoned; }

private:
    bool m_abandoned = false;
};

// The wait of WaitEndMasterScroll.
constexpr int MasterScrollWaitMs = 300;

} // namespace db

Q_DECLARE_OPERATORS_FOR_FLAGS(db::Options)
Q_DECLARE_OPERATORS_FOR_FLAGS(db::PrepareOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(db::DetailConditions)
Q_DECLARE_OPERATORS_FOR_FLAGS(db::UpdateKinds)
Q_DECLARE_OPERATORS_FOR_FLAGS(db::LocateOptions)
