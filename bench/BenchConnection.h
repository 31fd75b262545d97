#pragma once
// The connection as the data module holds it: one attachment with its read and write
// transactions, and the column metadata shared by its datasets.

#include <db/SchemaInfo.h>
#include <fb/Attachment.h>
#include <fb/Transaction.h>

struct BenchConnection
{
    explicit BenchConnection(const fb::ConnectionParams& params)
        : attachment(fb::Attachment::attach(params)),
          read(attachment, fb::TransactionOptions()
                               .setIsolation(fb::Isolation::ReadCommitted)
                               .setRecordVersion(true)
                               .setWait(false)),
          write(attachment, fb::TransactionOptions().setIsolation(fb::Isolation::Concurrency).setWait(false))
    {}

    fb::Attachment attachment;
    fb::Transaction read;
    fb::Transaction write;
    db::SchemaInfo schema;
};
