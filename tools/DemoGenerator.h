#pragma once

namespace fb {
class Attachment;
}

namespace dbtool {

// Fills a database that holds the schema and the reference lists with a deterministic,
// plausible demo collection: zooplankton seasons (April-June, July-August, September-November)
// with station visits, layers, sub-layers, counts and sub-taxon counts, and zoobenthos years with
// samples and counts, for the years firstYear to lastYear.
//
// `scale` multiplies the visits of every season and the benthos samples of every year. The
// number of layers per visit stays at most three, so that the zooplankton sample keys, which
// other tables hold in 16 bits, stay below 32768 up to maxScale; at that scale PLANKTON holds
// well over 100,000 rows.
class DemoGenerator
{
public:
    static constexpr int firstYear = 2004;
    static constexpr int lastYear = 2019;
    static constexpr int maxScale = 10;

    // Throws std::invalid_argument for a scale outside 1..maxScale.
    static void checkScale(int scale);
    DemoGenerator(const fb::Attachment& db, int scale);

    // Inserts everything in one transaction, committed season by season; throws on failure.
    void run();

private:
    const fb::Attachment& m_db;
    int m_scale;
};

} // namespace dbtool
