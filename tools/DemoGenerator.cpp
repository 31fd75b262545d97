#include "DemoGenerator.h"

#include "BenthosDemo.h"
#include "DemoRandom.h"
#include "PlanktonDemo.h"

#include <fb/Attachment.h>
#include <fb/Transaction.h>
#include <stdexcept>

namespace dbtool {

namespace {

// Fixed seeds: the demo collection is the same on every run. Each half has its own stream so
// that changing one leaves the other as it was.
constexpr quint64 planktonSeed = 0x56454C4D41520001ULL;
constexpr quint64 benthosSeed = 0x56454C4D41520002ULL;

} // namespace

void DemoGenerator::checkScale(int scale)
{
    if (scale < 1 || scale > maxScale)
        throw std::invalid_argument(
            QStringLiteral("The scale must lie between 1 and %1.").arg(maxScale).toStdString());
}

DemoGenerator::DemoGenerator(const fb::Attachment& db, int scale) : m_db(db), m_scale(scale)
{
    checkScale(scale);
}

void DemoGenerator::run()
{
    fb::Transaction transaction(m_db);
    DemoRandom planktonRandom(planktonSeed);
    DemoRandom benthosRandom(benthosSeed);
    PlanktonDemo plankton(m_db, transaction, planktonRandom, m_scale);
    BenthosDemo benthos(m_db, transaction, benthosRandom, m_scale);
    for (int year = firstYear; year <= lastYear; ++year) {
        plankton.addYear(year);
        benthos.addYear(year);
    }
    // A winter visit: it belongs to no season.
    plankton.addVisitOutsideSeasons(QDate(2010, 12, 14));

    // The demo chose its keys itself; new rows must continue after them. GEN_ID with a
    // difference sets a generator's current value without DDL.
    for (const auto& [generator, last] : plankton.lastKeys() + benthos.lastKeys()) {
        fb::Statement set(
            m_db, transaction,
            QStringLiteral("SELECT GEN_ID(%1, CAST(? AS BIGINT) - GEN_ID(%1, 0)) FROM RDB$DATABASE")
                .arg(generator));
        set.execute(transaction, {last});
    }
    transaction.commit();
}

} // namespace dbtool
