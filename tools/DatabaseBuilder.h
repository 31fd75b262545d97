#pragma once

#include <QString>

namespace fb {
class Attachment;
}

namespace dbtool {

struct BuildOptions
{
    bool demo = false; // add the demo collection
    int scale = 1;     // its size, 1 to DemoGenerator::maxScale
    QString user = QStringLiteral("SYSDBA");
    QString password;
};

// Makes new Velmar databases.
class DatabaseBuilder
{
public:
    // Creates `file` with the schema, the reference lists and, if asked, the demo collection.
    // Refuses a file that already exists. Throws fb::Error or std::exception on failure, after
    // removing the half-made database.
    static void create(const QString& file, const BuildOptions& options = {});

    // Runs the schema script and loads the reference lists into an empty database.
    static void initialize(fb::Attachment& db);

    // Recomputes the selectivity of every index of the schema. Firebird computes it only when an
    // index is made, on empty tables here; without this, joins over loaded tables scan them.
    static void updateIndexStatistics(fb::Attachment& db);
};

} // namespace dbtool
