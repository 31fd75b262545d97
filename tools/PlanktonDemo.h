#pragma once

#include "DemoRandom.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <fb/Statement.h>

namespace fb {
class Attachment;
class Transaction;
} // namespace fb

namespace dbtool {

struct PlanktonTaxon;
struct StationPosition;

// The zooplankton half of the demo collection: seasons, visits, layers, counts, sub-taxon counts.
class PlanktonDemo
{
public:
    PlanktonDemo(const fb::Attachment& db, fb::Transaction& transaction, DemoRandom& random, int scale);

    // One year's seasons with everything below them; commits (retaining) after each season.
    void addYear(int year);
    // A visit dated between two seasons, so that it belongs to none.
    void addVisitOutsideSeasons(const QDate& date);
    // Each generator with the last key used for it.
    QList<QPair<QString, int>> lastKeys() const;

private:
    struct Window
    {
        int season; // 1 spring, 2 summer, 3 autumn
        QDate from;
        QDate till;
    };
    struct Count
    {
        const PlanktonTaxon* taxon;
        double abundance;
        double biomass;
    };

    void addVisit(const Window& window, const StationPosition& station, const QDate& date);
    int addSample(int visitId, int parentId, double depth0, double depth1, const Window& window,
                  const QDate& date);
    QList<Count> topLayerCounts(const Window& window);
    void storeCount(int sampleId, const Count& count);
    int nextSampleId();

    fb::Transaction& m_transaction;
    DemoRandom& m_random;
    int m_scale;
    fb::Statement m_insertSeason;
    fb::Statement m_insertVisit;
    fb::Statement m_insertSample;
    fb::Statement m_insertCount;
    fb::Statement m_fillDetail;
    QList<const PlanktonTaxon*> m_topTaxa;
    QHash<int, QList<const PlanktonTaxon*>> m_subTaxa;
    int m_seasonId = 0;
    int m_visitId = 0;
    int m_sampleId = 0;
    int m_countId = 0;
};

} // namespace dbtool
