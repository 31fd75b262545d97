#pragma once
// Internal to this layer: whole-blob reading and writing.

#include "FbApi.h"

#include <QByteArray>

namespace fb::detail {

QByteArray readBlob(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                    const ISC_QUAD& id);
ISC_QUAD writeBlob(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                   const QByteArray& data);

} // namespace fb::detail
