#include "Blob.h"

#include "Api.h"

#include <algorithm>

namespace fb::detail {

QByteArray readBlob(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                    const ISC_QUAD& id)
{
    return guarded([&] {
        ThrowStatus st;
        ISC_QUAD blobId = id;
        Ref<Firebird::IBlob> blob(attachment->openBlob(&st, transaction, &blobId, 0, nullptr));
        QByteArray data;
        char buffer[32768];
        for (;;) {
            unsigned got = 0;
            const int result = blob->getSegment(&st, sizeof buffer, buffer, &got);
            if (result != Firebird::IStatus::RESULT_OK && result != Firebird::IStatus::RESULT_SEGMENT)
                break;
            data.append(buffer, got);
        }
        blob->close(&st);
        blob.release(); // close() released it
        return data;
    });
}

ISC_QUAD writeBlob(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                   const QByteArray& data)
{
    return guarded([&] {
        ThrowStatus st;
        ISC_QUAD id{};
        Ref<Firebird::IBlob> blob(attachment->createBlob(&st, transaction, &id, 0, nullptr));
        constexpr qsizetype Segment = 32767;
        for (qsizetype at = 0; at < data.size(); at += Segment) {
            const qsizetype n = std::min(Segment, data.size() - at);
            blob->putSegment(&st, unsigned(n), data.constData() + at);
        }
        blob->close(&st);
        blob.release();
        return id;
    });
}

} // namespace fb::detail
