#include "ReferenceData.h"

#include "StationLayout.h"

#include <fb/Statement.h>
#include <fb/Transaction.h>

namespace dbtool {

namespace {

QVariant nullIfZero(int value)
{
    return value == 0 ? QVariant() : QVariant(value);
}

PlanktonTaxon top(int id, int category1, int category2, const char* name)
{
    return {id, 0, category1, category2, QString::fromUtf8(name)};
}

// Sub-taxon keys follow from their parent's: 10000 + parent * 10 + k.
PlanktonTaxon sub(int parent, int k, int category1, int category2, const char* name)
{
    return {10000 + parent * 10 + k, parent, category1, category2, QString::fromUtf8(name)};
}

} // namespace

const QList<PlanktonTaxon>& ReferenceData::planktonTaxa()
{
    // CATEGORY2 is the systematic order of the report by stations: rotifers, cladocerans,
    // copepods, ostracods, larvae, the rest.
    enum Order
    {
        RotiferOrder = 1,
        CladoceranOrder,
        CopepodOrder,
        OstracodOrder,
        LarvaOrder,
        RestOrder
    };
    static const QList<PlanktonTaxon> taxa{
        top(1, Copepoda, CopepodOrder, "Calanipeda aquaedulcis"),
        top(2, Copepoda, CopepodOrder, "Arctodiaptomus salinus"),
        top(3, Copepoda, CopepodOrder, "Halicyclops rotundipes"),
        top(4, Copepoda, CopepodOrder, "Mesocyclops leuckarti"),
        top(5, Copepoda, CopepodOrder, "Harpacticoida"),
        top(10, Cladocera, CladoceranOrder, "Moina mongolica"),
        top(11, Cladocera, CladoceranOrder, "Podonevadne camptonyx"),
        top(12, Cladocera, CladoceranOrder, "Evadne anonyx"),
        top(13, Cladocera, CladoceranOrder, "Cercopagis pengoi"),
        top(14, Cladocera, CladoceranOrder, "Ceriodaphnia reticulata"),
        top(15, Cladocera, CladoceranOrder, "Diaphanosoma brachyurum"),
        top(20, Rotifera, RotiferOrder, "Brachionus plicatilis"),
        top(21, Rotifera, RotiferOrder, "Synchaeta vorax"),
        top(22, Rotifera, RotiferOrder, "Keratella quadrata"),
        top(23, Rotifera, RotiferOrder, "Filinia longiseta"),
        top(24, Rotifera, RotiferOrder, "Hexarthra fennica"),
        top(25, Rotifera, RotiferOrder, "Asplanchna priodonta"),
        top(30, Meroplankton, LarvaOrder, "Bivalvia, larvae"),
        top(31, Meroplankton, LarvaOrder, "Cirripedia, larvae"),
        top(32, Meroplankton, LarvaOrder, "Polychaeta, larvae"),
        top(33, Meroplankton, LarvaOrder, "Chironomidae, larvae"),
        top(40, OtherPlankton, OstracodOrder, "Ostracoda"),
        top(41, OtherPlankton, RestOrder, "Tintinnida"),
        top(42, OtherPlankton, RestOrder, "Turbellaria"),
        top(43, OtherPlankton, RestOrder, "Nematoda"),
        // Groups kept apart from the species list: never offered by the report by taxa.
        top(1001, OtherPlankton, RestOrder, "Eggs of zooplankton"),
        top(1002, OtherPlankton, RestOrder, "Fish eggs and larvae"),
        sub(1, 0, Copepoda, CopepodOrder, "Calanipeda aquaedulcis, nauplii"),
        sub(1, 1, Copepoda, CopepodOrder, "Calanipeda aquaedulcis, copepodites"),
        sub(1, 2, Copepoda, CopepodOrder, "Calanipeda aquaedulcis, adults"),
        sub(2, 0, Copepoda, CopepodOrder, "Arctodiaptomus salinus, nauplii"),
        sub(2, 1, Copepoda, CopepodOrder, "Arctodiaptomus salinus, copepodites"),
        sub(2, 2, Copepoda, CopepodOrder, "Arctodiaptomus salinus, adults"),
        sub(3, 0, Copepoda, CopepodOrder, "Halicyclops rotundipes, copepodites"),
        sub(3, 1, Copepoda, CopepodOrder, "Halicyclops rotundipes, adults"),
        sub(11, 0, Cladocera, CladoceranOrder, "Podonevadne camptonyx, juveniles"),
        sub(11, 1, Cladocera, CladoceranOrder, "Podonevadne camptonyx, adults"),
        sub(30, 0, Meroplankton, LarvaOrder, "Dreissena polymorpha, veligers"),
        sub(30, 1, Meroplankton, LarvaOrder, "Cerastoderma isthmicum, veligers"),
        sub(30, 2, Meroplankton, LarvaOrder, "Abra ovata, veligers"),
        sub(31, 0, Meroplankton, LarvaOrder, "Balanus improvisus, nauplii"),
        sub(31, 1, Meroplankton, LarvaOrder, "Balanus improvisus, cyprids"),
    };
    return taxa;
}

const QList<BenthosTaxon>& ReferenceData::benthosTaxa()
{
    static const QList<BenthosTaxon> taxa{
        {1, Oligochaeta, QStringLiteral("Tubifex tubifex")},
        {2, Oligochaeta, QStringLiteral("Limnodrilus hoffmeisteri")},
        {3, Oligochaeta, QStringLiteral("Oligochaeta gen. sp.")},
        {4, Polychaeta, QStringLiteral("Nereis diversicolor")},
        {5, Polychaeta, QStringLiteral("Hypania invalida")},
        {6, Mollusca, QStringLiteral("Dreissena polymorpha")},
        {7, Mollusca, QStringLiteral("Cerastoderma isthmicum")},
        {8, Mollusca, QStringLiteral("Abra ovata")},
        {9, Mollusca, QStringLiteral("Hydrobia sp.")},
        {10, Mollusca, QStringLiteral("Theodoxus pallasi")},
        {11, Mollusca, QStringLiteral("Caspiohydrobia sp.")},
        {12, Crustacea, QStringLiteral("Gammarus aequicauda")},
        {13, Crustacea, QStringLiteral("Palaemon elegans")},
        {14, Crustacea, QStringLiteral("Rhithropanopeus harrisii")},
        {15, Crustacea, QStringLiteral("Corophium sp.")},
        {16, Chironomidae, QStringLiteral("Chironomus salinarius")},
        {17, Chironomidae, QStringLiteral("Cryptochironomus ex gr. defectus")},
        {18, Chironomidae, QStringLiteral("Procladius sp.")},
        {19, OtherBenthos, QStringLiteral("Ostracoda gen. sp.")},
        {20, OtherBenthos, QStringLiteral("Nematoda")},
    };
    return taxa;
}

const QList<NamedEntry>& ReferenceData::sediments()
{
    static const QList<NamedEntry> list{
        {1, QStringLiteral("Sand"), QString::fromUtf8("Песок")},
        {2, QStringLiteral("Silty sand"), QString::fromUtf8("Илистый песок")},
        {3, QStringLiteral("Sandy silt"), QString::fromUtf8("Песчанистый ил")},
        {4, QStringLiteral("Silt"), QString::fromUtf8("Ил")},
        {5, QStringLiteral("Clay"), QString::fromUtf8("Глина")},
        {6, QStringLiteral("Shell debris"), QString::fromUtf8("Ракуша")},
        {7, QStringLiteral("Shelly sand"), QString::fromUtf8("Ракушечный песок")},
    };
    return list;
}

const QList<NamedEntry>& ReferenceData::samplers()
{
    static const QList<NamedEntry> list{
        {1, QStringLiteral("Grab, 0.025 sq.m"), QString::fromUtf8("Дночерпатель, 0,025 кв.м")},
        {2, QStringLiteral("Grab, 0.1 sq.m"), QString::fromUtf8("Дночерпатель, 0,1 кв.м")},
        {3, QStringLiteral("Dredge"), QString::fromUtf8("Драга")},
        {4, QStringLiteral("Tube corer"), QString::fromUtf8("Трубка-пробоотборник")},
        {5, QStringLiteral("Diver's frame, 0.25 sq.m"), QString::fromUtf8("Рамка водолаза, 0,25 кв.м")},
    };
    return list;
}

void ReferenceData::insert(const fb::Attachment& db, fb::Transaction& transaction)
{
    fb::Statement plankton(db, transaction,
                           QStringLiteral("INSERT INTO TAXONS_P (ID, PARENT, CATEGORY1, CATEGORY2, TAXON) "
                                          "VALUES (?, ?, ?, ?, ?)"));
    for (const PlanktonTaxon& t : planktonTaxa())
        plankton.execute(transaction, {t.id, nullIfZero(t.parent), t.category1, t.category2, t.name});

    fb::Statement benthos(db, transaction,
                          QStringLiteral("INSERT INTO TAXONS_B (ID, CATEGORY, TAXON) VALUES (?, ?, ?)"));
    for (const BenthosTaxon& t : benthosTaxa())
        benthos.execute(transaction, {t.id, t.category, t.name});

    fb::Statement sediment(
        db, transaction,
        QStringLiteral("INSERT INTO SEDIMENTS (ID, SEDIMENT_EN, SEDIMENT_RU) VALUES (?, ?, ?)"));
    for (const NamedEntry& e : sediments())
        sediment.execute(transaction, {e.id, e.english, e.russian});

    fb::Statement sampler(
        db, transaction,
        QStringLiteral("INSERT INTO SAMPLERS (ID, SAMPLER_EN, SAMPLER_RU) VALUES (?, ?, ?)"));
    for (const NamedEntry& e : samplers())
        sampler.execute(transaction, {e.id, e.english, e.russian});

    fb::Statement coordinates(
        db, transaction,
        QStringLiteral("INSERT INTO COORDINATES (STATION, ST_CHAR, LAT_DEG, LAT_MIN, LON_DEG, "
                       "LON_MIN, LATITUDE, LONGITUDE) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const StationPosition& p : StationLayout::positions())
        coordinates.execute(transaction, {p.station, p.letter, p.latDeg, p.latMin, p.lonDeg, p.lonMin,
                                          p.latitudeText(), p.longitudeText()});
}

} // namespace dbtool
