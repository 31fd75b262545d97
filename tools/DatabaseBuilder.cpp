#include "DatabaseBuilder.h"

#include "DemoGenerator.h"
#include "ReferenceData.h"
#include "SchemaScript.h"

#include <QFile>
#include <QFileInfo>
#include <fb/Attachment.h>
#include <fb/Error.h>
#include <fb/Script.h>
#include <fb/Transaction.h>

namespace dbtool {

void DatabaseBuilder::initialize(fb::Attachment& db)
{
    fb::Script(schemaScript()).run(db);
    fb::Transaction transaction(db);
    ReferenceData::insert(db, transaction);
    transaction.commit();
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
