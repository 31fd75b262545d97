#include "PlanktonDemo.h"

#include "ReferenceData.h"
#include "StationLayout.h"

#include <algorithm>
#include <cmath>
#include <fb/Attachment.h>
#include <fb/Transaction.h>
#include <stdexcept>

namespace dbtool {

namespace {

// Sample keys are held in 16-bit fields elsewhere.
constexpr int maxSampleKey = 32767;

const QStringList& sampleNotes()
{
    static const QStringList notes{
        QString::fromUtf8("Пробы взяты в штормовую погоду."),
        QString::fromUtf8("Много детрита в пробе."),
        QString::fromUtf8("Цветение воды, сине-зелёные водоросли."),
        QString::fromUtf8("Проба частично потеряна при фиксации."),
        QStringLiteral("Sample taken at dusk."),
        QStringLiteral("Net clogged with algae; filtered volume estimated."),
        QString::fromUtf8("Повторный лов через 2 часа."),
        QStringLiteral("Strong wind, drift about half a mile during the haul."),
    };
    return notes;
}

// How often a taxon turns up in a haul.
double occurrence(const PlanktonTaxon& taxon)
{
    switch (taxon.id) {
    case 1:
        return 0.95;
    case 2:
        return 0.85;
    case 3:
        return 0.6;
    case 4:
        return 0.25;
    case 5:
        return 0.35;
    default:
        break;
    }
    if (taxon.id >= 1000)
        return 0.15;
    switch (taxon.category1) {
    case ReferenceData::Cladocera:
        return 0.35;
    case ReferenceData::Rotifera:
        return 0.45;
    case ReferenceData::Meroplankton:
        return 0.35;
    default:
        return 0.2;
    }
}

// Typical abundance (ind./cu.m) and individual weight (mg) of a category, and its seasonal swing.
struct CategoryProfile
{
    double abundance;
    double weight;
    double seasonFactor[3];
};

const CategoryProfile& profile(int category1)
{
    static const CategoryProfile copepoda{2500, 0.012, {1.0, 1.5, 1.2}};
    static const CategoryProfile cladocera{400, 0.025, {0.5, 2.0, 0.8}};
    static const CategoryProfile rotifera{1500, 0.0005, {2.0, 1.0, 0.6}};
    static const CategoryProfile meroplankton{300, 0.003, {0.8, 2.0, 0.7}};
    static const CategoryProfile other{60, 0.008, {1.0, 1.0, 1.0}};
    switch (category1) {
    case ReferenceData::Copepoda:
        return copepoda;
    case ReferenceData::Cladocera:
        return cladocera;
    case ReferenceData::Rotifera:
        return rotifera;
    case ReferenceData::Meroplankton:
        return meroplankton;
    default:
        return other;
    }
}

// Species of one category differ in size; a fixed spread keyed by the taxon.
double sizeFactor(int taxonId)
{
    return 0.6 + 0.8 * ((taxonId * 37) % 100) / 100.0;
}

} // namespace

PlanktonDemo::PlanktonDemo(const fb::Attachment& db, fb::Transaction& transaction, DemoRandom& random,
                           int scale)
    : m_transaction(transaction), m_random(random), m_scale(scale),
      m_insertSeason(db, transaction,
                     QStringLiteral("INSERT INTO SEASONS (SEASON_ID, \"YEAR\", FROM_DATE, TILL_DATE, SEASON) "
                                    "VALUES (?, ?, ?, ?, ?)")),
      m_insertVisit(db, transaction,
                    QStringLiteral("INSERT INTO STATIONS_P (ID, STATION, ST_CHAR, \"DATE\", DEPTH) "
                                   "VALUES (?, ?, ?, ?, ?)")),
      m_insertSample(
          db, transaction,
          QStringLiteral("INSERT INTO SAMPLES_PL (ID, STATION, PARENT, DEPTH_0, DEPTH_1, SALINITY, "
                         "TEMPERATURE, PH, COMMENTS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")),
      m_insertCount(db, transaction,
                    QStringLiteral("INSERT INTO PLANKTON (ID, SAMPLE, TAXON, ABUNDANCE, BIOMASS) "
                                   "VALUES (?, ?, ?, ?, ?)")),
      // The database adds the empty sub-taxon rows of a new count; the demo fills them in.
      m_fillDetail(db, transaction,
                   QStringLiteral("UPDATE DETAILS_PL SET ABUNDANCE = ?, BIOMASS = ? "
                                  "WHERE PARENT = ? AND PARENT_TAXON = ? AND TAXON = ?"))
{
    for (const PlanktonTaxon& taxon : ReferenceData::planktonTaxa()) {
        if (taxon.parent == 0)
            m_topTaxa.append(&taxon);
        else
            m_subTaxa[taxon.parent].append(&taxon);
    }
}

void PlanktonDemo::addYear(int year)
{
    const Window windows[] = {
        {1, QDate(year, 4, 1), QDate(year, 6, 30)},
        {2, QDate(year, 7, 1), QDate(year, 8, 31)},
        {3, QDate(year, 9, 1), QDate(year, 11, 30)},
    };
    const QList<StationPosition>& stations = StationLayout::positions();
    for (const Window& window : windows) {
        // Now and then a season went without a cruise.
        if (m_random.chance(0.06))
            continue;
        m_insertSeason.execute(m_transaction, {++m_seasonId, year, window.from, window.till, window.season});

        // A cruise covers part of the grid; at larger scales stations are visited several times.
        const int visits = m_random.between(16, 22) * m_scale;
        QList<int> order(stations.size());
        for (int i = 0; i < order.size(); ++i)
            order[i] = i;
        m_random.shuffle(order);
        QList<QPair<QDate, int>> plan;
        const int days = int(window.from.daysTo(window.till));
        for (int i = 0; i < visits; ++i)
            plan.append({window.from.addDays(m_random.between(0, days)), order[i % order.size()]});
        std::stable_sort(plan.begin(), plan.end());
        for (const auto& [date, index] : plan)
            addVisit(window, stations[index], date);
        m_transaction.commitRetaining();
    }
}

void PlanktonDemo::addVisitOutsideSeasons(const QDate& date)
{
    const Window none{2, date, date};
    addVisit(none, StationLayout::positions().at(5), date);
    m_transaction.commitRetaining();
}

void PlanktonDemo::addVisit(const Window& window, const StationPosition& station, const QDate& date)
{
    // The sea grows shallower over the years.
    const double shrink = 1.0 - 0.008 * (date.year() - 2000);
    const double depth = std::max(
        1.0, roundTo(StationLayout::typicalDepth(station) * shrink * m_random.between(0.95, 1.05), 1));
    const int visitId = ++m_visitId;
    m_insertVisit.execute(m_transaction, {visitId, station.station, station.letter, date, depth});

    // The whole water column first, then up to two sub-layers of it.
    const double bottom = std::floor(depth * 2) / 2;
    const int top = addSample(visitId, 0, 0.0, bottom, window, date);
    const QList<Count> counts = topLayerCounts(window);
    for (const Count& count : counts)
        storeCount(top, count);

    QList<QPair<double, double>> subLayers;
    if (bottom >= 8 && m_random.chance(0.75)) {
        subLayers.append({0.0, 5.0});
        if (bottom >= 15 && m_random.chance(0.6))
            subLayers.append({5.0, bottom});
    }
    for (const auto& [from, to] : subLayers) {
        const int sample = addSample(visitId, top, from, to, window, date);
        for (const Count& count : counts) {
            if (!m_random.chance(0.65))
                continue;
            const double factor = m_random.between(0.5, 1.6);
            storeCount(sample, {count.taxon, count.abundance * factor, count.biomass * factor});
        }
    }
}

int PlanktonDemo::addSample(int visitId, int parentId, double depth0, double depth1, const Window& window,
                            const QDate& date)
{
    const int id = nextSampleId();
    const double salinity = 11.0 + 0.9 * (date.year() - 2004) + m_random.between(-0.8, 0.8) + 0.02 * depth1;
    const double progress =
        double(window.from.daysTo(date)) / std::max<qint64>(1, window.from.daysTo(window.till));
    double surface = 0;
    switch (window.season) {
    case 1:
        surface = 8 + 14 * progress;
        break;
    case 2:
        surface = 24 + 2 * (0.5 - std::abs(progress - 0.5));
        break;
    default:
        surface = 20 - 14 * progress;
        break;
    }
    const double temperature = surface - 0.12 * (depth0 + depth1) / 2 + m_random.between(-1.0, 1.0);
    const bool noted = m_random.chance(parentId == 0 ? 0.1 : 0.03);
    m_insertSample.execute(
        m_transaction, {id, visitId, parentId == 0 ? QVariant() : QVariant(parentId), depth0, depth1,
                        roundTo(salinity, 2), roundTo(temperature, 1), roundTo(m_random.between(7.9, 8.6), 2),
                        noted ? QVariant(sampleNotes().at(m_random.between(0, int(sampleNotes().size()) - 1)))
                              : QVariant()});
    return id;
}

QList<PlanktonDemo::Count> PlanktonDemo::topLayerCounts(const Window& window)
{
    QList<Count> counts;
    for (const PlanktonTaxon* taxon : m_topTaxa) {
        if (!m_random.chance(occurrence(*taxon)))
            continue;
        const CategoryProfile& p = profile(taxon->category1);
        const double abundance = m_random.skewed(p.abundance * p.seasonFactor[window.season - 1], 0.9);
        counts.append({taxon, abundance, abundance * p.weight * sizeFactor(taxon->id)});
    }
    if (counts.isEmpty())
        counts.append({m_topTaxa.first(), 120.0, 1.5});
    return counts;
}

void PlanktonDemo::storeCount(int sampleId, const Count& count)
{
    const int id = ++m_countId;
    const auto sub = m_subTaxa.constFind(count.taxon->id);
    if (sub == m_subTaxa.constEnd()) {
        m_insertCount.execute(m_transaction, {id, sampleId, count.taxon->id, roundTo(count.abundance, 1),
                                              roundTo(count.biomass, 4)});
        return;
    }

    // A taxon with sub-taxa: its totals follow from the sub-taxon counts.
    m_insertCount.execute(m_transaction, {id, sampleId, count.taxon->id, QVariant(), QVariant()});
    QList<double> shares;
    double total = 0;
    for (qsizetype i = 0; i < sub->size(); ++i) {
        shares.append(m_random.between(0.2, 1.0));
        total += shares.last();
    }
    for (qsizetype i = 0; i < sub->size(); ++i) {
        // Now and then a stage was not told apart.
        if (i > 0 && m_random.chance(0.08))
            continue;
        const double share = shares[i] / total;
        const double stageWeight = 0.4 + 0.6 * double(i) / std::max<qsizetype>(1, sub->size() - 1);
        m_fillDetail.execute(m_transaction, {roundTo(count.abundance * share, 1),
                                             roundTo(count.biomass * share * stageWeight * 1.5, 4), id,
                                             count.taxon->id, sub->at(i)->id});
    }
}

int PlanktonDemo::nextSampleId()
{
    if (m_sampleId >= maxSampleKey)
        throw std::runtime_error(
            "The demo data set would need more zooplankton samples than 16-bit keys allow; "
            "choose a smaller scale.");
    return ++m_sampleId;
}

QList<QPair<QString, int>> PlanktonDemo::lastKeys() const
{
    return {
        {QStringLiteral("GEN_SEASONS_ID"), m_seasonId},
        {QStringLiteral("GEN_STATIONS_P_ID"), m_visitId},
        {QStringLiteral("GEN_SAMPLES_PL_ID"), m_sampleId},
        {QStringLiteral("GEN_PLANKTON_ID"), m_countId},
    };
}

} // namespace dbtool
