#include "DatabaseBuilder.h"

#include "DemoGenerator.h"
#include "ReferenceData.h"
#include "SchemaScript.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <fb/Attachment.h>
#include <fb/Error.h>
#include <fb/Script.h>
#include <fb/Statement.h>
#include <fb/Transaction.h>

namespace dbtool {

void DatabaseBuilder::initialize(fb::Attachment& db)
{
    fb::Script(schemaScript()).run(db);
    fb::Transaction transaction(db);
    ReferenceData::insert(db, transaction);
    transaction.commit();
}

void DatabaseBuilder::updateIndexStatistics(fb::Attachment& db)
{
    QStringList indexes;
    {
        fb::Transaction transaction(db, fb::TransactionOptions().setReadOnly(true));
        fb::Statement select(db, transaction,
                             QStringLiteral("SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES "
                                            "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0"));
        fb::ResultSet rows = select.openCursor(transaction);
        while (rows.fetchNext())
            indexes << rows.value(0).toString();
        transaction.commit();
    }
    for (const QString& index : indexes)
        db.executeImmediate(QStringLiteral("SET STATISTICS INDEX %1").arg(index));
}

void DatabaseBuilder::create(const QString& file, const BuildOptions& options)
{
    if (QFileInfo::exists(file))
        throw fb::Error(QStringLiteral("%1 already exists; velmar-db never overwrites a file.").arg(file));
    if (options.demo)
        DemoGenerator::checkScale(options.scale);

    fb::ConnectionParams params;
    params.database = file;
    params.user = options.user;
    params.password = options.password;
    fb::Attachment db = fb::Attachment::create(params);
    try {
        initialize(db);
        if (options.demo)
            DemoGenerator(db, options.scale).run();
        updateIndexStatistics(db);
        db.detach();
    } catch (...) {
        // Leave nothing half-made behind.
        try {
            db.dropDatabase();
        } catch (const std::exception&) {
            db.detach();
            QFile::remove(file);
        }
        throw;
    }
}

} // namespace dbtool
