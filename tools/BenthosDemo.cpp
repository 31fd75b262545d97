#include "BenthosDemo.h"

#include "ReferenceData.h"
#include "StationLayout.h"

#include <algorithm>
#include <cmath>
#include <fb/Transaction.h>

namespace dbtool {

namespace {

const QStringList& sampleNotes()
{
    static const QStringList notes{
        QString::fromUtf8("Грунт с запахом сероводорода."),
        QString::fromUtf8("Много пустых раковин."),
        QStringLiteral("Washed through a 0.5 mm sieve."),
        QString::fromUtf8("Дночерпатель закрылся не полностью, проба повторена."),
        QStringLiteral("Dense mats of filamentous algae on the bottom."),
    };
    return notes;
}

// How often a taxon of a category turns up in a sample, its typical abundance (ind./sq.m) and
// individual weight (g).
struct CategoryProfile
{
    double occurrence;
    double abundance;
    double weight;
};

const CategoryProfile& profile(int category)
{
    static const CategoryProfile oligochaeta{0.5, 400, 0.002};
    static const CategoryProfile polychaeta{0.45, 150, 0.015};
    static const CategoryProfile mollusca{0.3, 120, 0.15};
    static const CategoryProfile crustacea{0.2, 40, 0.02};
    static const CategoryProfile chironomidae{0.45, 300, 0.004};
    static const CategoryProfile other{0.15, 80, 0.0003};
    switch (category) {
    case ReferenceData::Oligochaeta:
        return oligochaeta;
    case ReferenceData::Polychaeta:
        return polychaeta;
    case ReferenceData::Mollusca:
        return mollusca;
    case ReferenceData::Crustacea:
        return crustacea;
    case ReferenceData::Chironomidae:
        return chironomidae;
    default:
        return other;
    }
}

// Area (sq.m) that each sampler of the reference list takes.
double samplerArea(int sampler)
{
    switch (sampler) {
    case 1:
        return 0.025;
    case 2:
        return 0.1;
    case 3:
        return 1.0;
    case 4:
        return 0.0078;
    default:
        return 0.25;
    }
}

} // namespace

BenthosDemo::BenthosDemo(const fb::Attachment& db, fb::Transaction& transaction, DemoRandom& random,
                         int scale)
    : m_transaction(transaction), m_random(random), m_scale(scale),
      m_insertYear(
          db, transaction,
          QStringLiteral("INSERT INTO YEARS (ID, \"YEAR\", FROM_DATE, TILL_DATE) VALUES (?, ?, ?, ?)")),
      m_insertSample(
          db, transaction,
          QStringLiteral("INSERT INTO SAMPLES_BE (ID, STATION, ST_CHAR, \"DATE\", DEPTH, SALINITY, "
                         "SEDIMENTS, TEMPERATURE, FLOW_SPEED, SECCI, SAMPLER, SQUARE, SAMPLES_NUMBER, "
                         "COMMENTS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
      m_insertCount(db, transaction,
                    QStringLiteral(
                        "INSERT INTO BENTHOS (ID, SAMPLE, TAXON, ABUNDANCE, BIOMASS) VALUES (?, ?, ?, ?, ?)"))
{}

void BenthosDemo::addYear(int year)
{
    m_insertYear.execute(m_transaction, {++m_yearId, year, QDate(year, 1, 1), QDate(year, 12, 31)});
    const QList<StationPosition>& stations = StationLayout::positions();
    QList<int> order(stations.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    m_random.shuffle(order);
    const int samples = m_random.between(9, 14) * m_scale;
    const QDate first(year, 5, 1);
    const int days = int(first.daysTo(QDate(year, 10, 20)));
    QList<QPair<QDate, int>> plan;
    for (int i = 0; i < samples; ++i)
        plan.append({first.addDays(m_random.between(0, days)), order[i % order.size()]});
    std::stable_sort(plan.begin(), plan.end());
    for (const auto& [date, index] : plan)
        addSample(stations[index], date);
    m_transaction.commitRetaining();
}

void BenthosDemo::addSample(const StationPosition& station, const QDate& date)
{
    const int id = ++m_sampleId;
    const double shrink = 1.0 - 0.008 * (date.year() - 2000);
    const double depth = std::max(
        1.0, roundTo(StationLayout::typicalDepth(station) * shrink * m_random.between(0.95, 1.05), 1));

    // Sand in the shallows, silt and clay offshore.
    static const int shallow[] = {1, 7, 6};
    static const int middle[] = {2, 1, 3};
    static const int deep[] = {3, 4, 5};
    const int* grounds = depth < 6 ? shallow : depth < 15 ? middle : deep;
    const int sediment = grounds[m_random.between(0, 2)];

    static const double monthTemperature[] = {14, 20, 25, 24, 18, 11}; // May to October
    const double temperature = monthTemperature[date.month() - 5] - 0.1 * depth + m_random.between(-1.5, 1.5);
    const double salinity = 11.0 + 0.9 * (date.year() - 2004) + m_random.between(-0.8, 0.8);
    const double pick = m_random.uniform();
    const int sampler = pick < 0.45 ? 1 : pick < 0.8 ? 2 : pick < 0.88 ? 3 : pick < 0.95 ? 4 : 5;
    const int replicates = sampler <= 2 ? m_random.between(1, 3) : 1;
    const bool noted = m_random.chance(0.1);

    m_insertSample.execute(
        m_transaction,
        {id, station.station, station.letter, date, depth, roundTo(salinity, 2), sediment,
         roundTo(temperature, 2), roundTo(m_random.between(0.0, 25.0), 1),
         roundTo(std::min(depth, m_random.between(0.5, 6.0)), 1), sampler, samplerArea(sampler), replicates,
         noted ? QVariant(sampleNotes().at(m_random.between(0, int(sampleNotes().size()) - 1)))
               : QVariant()});
    addCounts(id);
}

void BenthosDemo::addCounts(int sampleId)
{
    const BenthosTaxon* found = nullptr;
    for (const BenthosTaxon& taxon : ReferenceData::benthosTaxa()) {
        const CategoryProfile& p = profile(taxon.category);
        if (!m_random.chance(p.occurrence))
            continue;
        found = &taxon;
        const double abundance = std::max(1.0, std::round(m_random.skewed(p.abundance, 1.0)));
        const double biomass = abundance * p.weight * (0.6 + 0.8 * ((taxon.id * 37) % 100) / 100.0);
        m_insertCount.execute(m_transaction,
                              {++m_countId, sampleId, taxon.id, abundance, roundTo(biomass, 4)});
    }
    // Every sample holds at least one animal.
    if (!found)
        m_insertCount.execute(m_transaction,
                              {++m_countId, sampleId, ReferenceData::benthosTaxa().first().id, 40.0, 0.08});
}

QList<QPair<QString, int>> BenthosDemo::lastKeys() const
{
    return {
        {QStringLiteral("GEN_YEARS_ID"), m_yearId},
        {QStringLiteral("GEN_SAMPLES_BE_ID"), m_sampleId},
        {QStringLiteral("GEN_BENTHOS_ID"), m_countId},
    };
}

} // namespace dbtool
