#pragma once

#include <QList>
#include <QString>

namespace fb {
class Attachment;
class Transaction;
} // namespace fb

namespace dbtool {

struct PlanktonTaxon
{
    int id;
    int parent; // 0: a top-level taxon
    int category1;
    int category2;
    QString name;
};

struct BenthosTaxon
{
    int id;
    int category;
    QString name;
};

// A sediment or a sampler: English and Russian names.
struct NamedEntry
{
    int id;
    QString english;
    QString russian;
};

// The read-only lists of a new database: taxa, sediments, samplers and station coordinates.
class ReferenceData
{
public:
    // Category codes of the plankton taxa (CATEGORY1); the chart procedure names them.
    enum PlanktonCategory
    {
        Copepoda = 1,
        Cladocera,
        Rotifera,
        Meroplankton,
        OtherPlankton
    };
    // Category codes of the benthos taxa (CATEGORY).
    enum BenthosCategory
    {
        Oligochaeta = 1,
        Polychaeta,
        Mollusca,
        Crustacea,
        Chironomidae,
        OtherBenthos
    };

    // Parents before their sub-taxa; top-level keys mostly below 1000, sub-taxa from 10000.
    static const QList<PlanktonTaxon>& planktonTaxa();
    static const QList<BenthosTaxon>& benthosTaxa();
    static const QList<NamedEntry>& sediments();
    static const QList<NamedEntry>& samplers();

    // Inserts every list, the coordinates of StationLayout included.
    static void insert(const fb::Attachment& db, fb::Transaction& transaction);
};

} // namespace dbtool
