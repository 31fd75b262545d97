#pragma once
// Internal to this layer: the layout of an input or output message as the statement's
// metadata describes it, and the conversion of its fields to and from QVariant.

#include "Api.h"
#include "Types.h"

#include <QVariant>
#include <vector>

namespace fb::detail {

struct FieldSlot
{
    unsigned type = 0; // SQL_* without the nullable bit
    unsigned offset = 0;
    unsigned nullOffset = 0;
    unsigned length = 0;
    unsigned charset = 0;
};

// Blobs are read and written through these.
struct BlobAccess
{
    Firebird::IAttachment* attachment = nullptr;
    Firebird::ITransaction* transaction = nullptr;
};

class MessageLayout
{
public:
    // Takes over one reference of `metadata` (may be null: no fields).
    explicit MessageLayout(Firebird::IMessageMetadata* metadata);

    Firebird::IMessageMetadata* metadata() const { return m_metadata.get(); }
    unsigned size() const { return m_size; }
    int count() const { return int(m_slots.size()); }
    const FieldSlot& slot(int i) const { return m_slots[size_t(i)]; }
    const ColumnList& columns() const { return m_columns; }

    bool isNull(int i, const unsigned char* message) const;
    QVariant read(int i, const unsigned char* message, const BlobAccess& blobs) const;
    // Converts `value` to the field's declared type; `what` names the field in errors.
    void write(int i, unsigned char* message, const QVariant& value, const BlobAccess& blobs,
               const QString& what) const;

private:
    Ref<Firebird::IMessageMetadata> m_metadata;
    std::vector<FieldSlot> m_slots;
    ColumnList m_columns;
    unsigned m_size = 0;
};

// Exact decimal parsing: "12.345" with scale -2 gives 1235 (half away from zero).
// Returns false when the text is not a number or the result leaves [min, max]; `overflow` tells which.
bool parseScaled(const QString& text, int scale, qint64 min, qint64 max, qint64& result, bool& overflow);

} // namespace fb::detail
