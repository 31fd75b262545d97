#include "ChainBench.h"

#include "BenchConnection.h"

#include <QElapsedTimer>
#include <QObject>
#include <algorithm>
#include <db/DataSet.h>
#include <db/DataSource.h>
#include <memory>
#include <vector>

ChainResult measureChain(const ChainUnderTest& chain, int moves)
{
    std::vector<double> times;
    chain.rewind();
    const int readsBefore = chain.reads ? chain.reads() : 0;
    while (int(times.size()) < moves) {
        QElapsedTimer timer;
        timer.start();
        if (!chain.moveToNextVisit()) {
            chain.rewind();
            continue;
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    ChainResult result;
    result.moves = int(times.size());
    if (chain.reads && !times.empty())
        result.readsPerMove = double(chain.reads() - readsBefore) / double(times.size());
    std::sort(times.begin(), times.end());
    if (!times.empty()) {
        result.medianMs = times[times.size() / 2];
        result.worstMs = times.back();
    }
    return result;
}

namespace {

// The zooplankton chain below the seasons, as the data module sets it up.
class EngineChain
{
public:
    explicit EngineChain(BenchConnection& c) : m_c(c)
    {
        stations = make(
            QStringLiteral("dtsStations"),
            QStringLiteral("SELECT ID, STATION, ST_CHAR, STATION_NAME, \"DATE\", DEPTH FROM STATIONS_P "
                           "WHERE \"DATE\" BETWEEN :FROM_DATE AND :TILL_DATE ORDER BY 2, 3 NULLS FIRST, 5"));
        stations->setParamValue(QStringLiteral("FROM_DATE"), QDate(2004, 1, 1));
        stations->setParamValue(QStringLiteral("TILL_DATE"), QDate(2019, 12, 31));
        stations->setOptions(db::Option::RefreshDeletedRecord | db::Option::ProtectedEdit);
        auto* dsStations = source(stations);

        samples =
            make(QStringLiteral("dtsSamples1"),
                 QStringLiteral("SELECT ID, STATION, PARENT, DEPTH_0, DEPTH_1, SALINITY, TEMPERATURE, PH, "
                                "COMMENTS FROM SAMPLES_PL WHERE STATION = :ID ORDER BY PARENT NULLS FIRST, "
                                "DEPTH_0, ID"));
        samples->setOptions(db::Option::FetchAll | db::Option::NoForceIsNull);
        samples->addCalculatedField(QStringLiteral("HORIZON"), db::FieldType::String, 15);
        follow(samples, dsStations);
        QObject::connect(samples, &db::DataSet::calcFields, samples, [this] {
            auto depth = [this](const char* name) {
                db::Field* f = samples->field(QString::fromLatin1(name));
                return f->isNull() ? QStringLiteral("?") : f->asString();
            };
            samples->field(QStringLiteral("HORIZON"))
                ->setValue(QStringLiteral("%1 - %2 m").arg(depth("DEPTH_0"), depth("DEPTH_1")).left(15));
        });
        auto* dsSamples = source(samples);

        taxonsP1 =
            make(QStringLiteral("dtsTaxonsP1"),
                 QStringLiteral("SELECT ID, CATEGORY1, CATEGORY2, TAXON FROM TAXONS_P WHERE PARENT IS NULL"));
        taxonsP1->setOptions(db::Option::FetchAll);

        plankton = make(QStringLiteral("dtsPlankton"),
                        QStringLiteral("SELECT ID, SAMPLE, TAXON, ABUNDANCE, BIOMASS "
                                       "FROM PLANKTON WHERE SAMPLE = :ID ORDER BY 3"));
        plankton->setOptions(db::Option::RefreshDeletedRecord);
        for (const char* name : {"ID", "SAMPLE", "TAXON", "ABUNDANCE", "BIOMASS"})
            plankton->addField(QString::fromLatin1(name));
        plankton->addLookupField(QStringLiteral("TAXON_NAME"), db::FieldType::String, 40,
                                 QStringLiteral("TAXON"), taxonsP1, QStringLiteral("ID"),
                                 QStringLiteral("TAXON"));
        follow(plankton, dsSamples);
        auto* dsPlankton = source(plankton);

        details =
            make(QStringLiteral("dtsDetails"),
                 QStringLiteral("SELECT ID, PARENT, PARENT_TAXON, TAXON, ABUNDANCE, BIOMASS FROM DETAILS_PL "
                                "WHERE PARENT = :ID AND PARENT_TAXON = :TAXON ORDER BY 4"));
        follow(details, dsPlankton);

        taxonsP2 = make(QStringLiteral("dtsTaxonsP2"),
                        QStringLiteral("SELECT ID, PARENT, TAXON FROM TAXONS_P WHERE PARENT = :TAXON"));
        taxonsP2->setOptions(db::Option::FetchAll);
        follow(taxonsP2, dsPlankton);

        for (db::DataSet* ds : {samples, plankton, details, taxonsP2})
            QObject::connect(ds, &db::DataSet::afterOpen, ds, [this] { ++reads; });
        stations->open();
    }

    bool next()
    {
        if (stations->currentRow() + 1 >= stations->recordCount() && !stations->canFetchMore())
            return false;
        stations->next();
        // What the grids show: the footers' sums read every count of the sample.
        plankton->fetchAll();
        for (int row = 0; row < plankton->recordCount(); ++row)
            plankton->field(QStringLiteral("TAXON_NAME"))->displayText(row);
        return true;
    }

    void rewind() { stations->first(); }

private:
    db::DataSet* make(const QString& name, const QString& sql)
    {
        auto* ds = new db::DataSet(&m_owner);
        ds->setObjectName(name);
        ds->setAttachment(&m_c.attachment);
        ds->setTransaction(&m_c.read);
        ds->setUpdateTransaction(&m_c.write);
        ds->setSchemaInfo(&m_c.schema);
        ds->setPrepareOptions(db::PrepareOption::SqlInt64ToBcd);
        ds->setSelectSql(sql);
        return ds;
    }
    db::DataSource* source(db::DataSet* ds)
    {
        auto* s = new db::DataSource(&m_owner);
        s->setDataSet(ds);
        return s;
    }
    static void follow(db::DataSet* detail, db::DataSource* master)
    {
        detail->setDetailConditions(db::DetailCondition::ForceOpen);
        detail->setMasterSource(master);
    }

    BenchConnection& m_c;
    QObject m_owner;

public:
    db::DataSet* stations = nullptr;
    db::DataSet* samples = nullptr;
    db::DataSet* taxonsP1 = nullptr;
    db::DataSet* plankton = nullptr;
    db::DataSet* details = nullptr;
    db::DataSet* taxonsP2 = nullptr;
    int reads = 0;
};

} // namespace

ChainResult measureEngineChain(BenchConnection& connection, int moves)
{
    EngineChain chain(connection);
    ChainUnderTest test{[&] { return chain.next(); }, [&] { chain.rewind(); }, [&] { return chain.reads; }};
    measureChain(test, 20); // warm-up
    return measureChain(test, moves);
}

