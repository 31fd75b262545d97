// The rules that the schema itself enforces: station names, letters, keys, links, deletions,
// sub-taxon counts and the chart procedures. One database for the suite; each test works in a
// transaction of its own that is rolled back afterwards.

#include "DatabaseBuilder.h"
#include "SqlHelper.h"
#include "TempDatabase.h"

#include <QDate>
#include <QtTest>

namespace {

// Test taxa of their own, apart from the reference lists: two top-level taxa with sub-taxa and
// two without, in distinct chart categories; benthos taxa likewise.
constexpr int taxonWithStages = 900;
constexpr int otherTaxonWithStages = 901;
constexpr int plainTaxon = 902;
constexpr int copepod = 903;
constexpr int stage1 = 30001;
constexpr int stage2 = 30002;
constexpr int stage3 = 30003;
constexpr int otherStage = 30011;

} // namespace

class SchemaTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void stationName_data();
    void stationName();
    void stationNameFollowsUpdate_data();
    void stationNameFollowsUpdate();
    void coordinatesJoinMatchesEmptyLetters();

    void generatorsAdvanceByOne_data();
    void generatorsAdvanceByOne();
    void newSeasonGetsNumber();

    void refusedRows_data();
    void refusedRows();
    void depthsFitSixCharacters_data();
    void depthsFitSixCharacters();

    void deletingVisitOrLayerWithDependentsIsRefused();
    void deletingSampleTakesItsCountsAndDetails();
    void deletingBenthosSampleTakesItsCounts();
    void deletingSeasonOrYearKeepsItsRows();
    void subLayerHangsUnderTopLevelSampleOfSameVisit();

    void newCountGetsOneEmptyRowPerSubTaxon();
    void countTotalsFollowTheirDetails();
    void changingTaxonKeepsEarlierDetails();

    void chartPlanktonProcedure();
    void chartBenthosProcedure();

private:
    SqlHelper& sql() { return *m_sql; }
    int addVisit(int station, const QVariant& letter, const QDate& date = QDate(2010, 7, 15));
    int addSample(int visit, const QVariant& parent = {});
    int addCount(int sample, int taxon, const QVariant& abundance = {}, const QVariant& biomass = {});
    void setDetail(int count, int taxon, const QVariant& abundance, const QVariant& biomass);
    QVariantList countTotals(int count);

    std::unique_ptr<TempDatabase> m_file;
    std::optional<fb::Attachment> m_db;
    std::optional<fb::Transaction> m_transaction;
    std::optional<SqlHelper> m_sql;
};

void SchemaTest::initTestCase()
{
    m_file = std::make_unique<TempDatabase>();
    m_db.emplace(m_file->attach());
    dbtool::DatabaseBuilder::initialize(*m_db);

    fb::Transaction transaction(*m_db);
    SqlHelper setup(*m_db, transaction);
    const QString taxon = QStringLiteral(
        "INSERT INTO TAXONS_P (ID, PARENT, CATEGORY1, CATEGORY2, TAXON) VALUES (?, ?, ?, ?, ?)");
    setup.exec(taxon, {taxonWithStages, QVariant(), 1, 3, QStringLiteral("Test copepod")});
    setup.exec(taxon, {otherTaxonWithStages, QVariant(), 3, 1, QStringLiteral("Test rotifer")});
    setup.exec(taxon, {plainTaxon, QVariant(), QVariant(), 6, QStringLiteral("Test unclassified")});
    // Inserted out of key order: the seeded rows must still come in key order.
    setup.exec(taxon, {stage3, taxonWithStages, 1, 3, QStringLiteral("Test copepod, adults")});
    setup.exec(taxon, {stage1, taxonWithStages, 1, 3, QStringLiteral("Test copepod, nauplii")});
    setup.exec(taxon, {stage2, taxonWithStages, 1, 3, QStringLiteral("Test copepod, copepodites")});
    setup.exec(taxon, {otherStage, otherTaxonWithStages, 3, 1, QStringLiteral("Test rotifer, eggs")});
    setup.exec(taxon, {copepod, QVariant(), 1, 3, QStringLiteral("Test cyclopoid")});
    const QString benthos = QStringLiteral("INSERT INTO TAXONS_B (ID, CATEGORY, TAXON) VALUES (?, ?, ?)");
    setup.exec(benthos, {901, 1, QStringLiteral("Test tubificid")});
    setup.exec(benthos, {902, 1, QStringLiteral("Test naidid")});
    setup.exec(benthos, {903, 3, QStringLiteral("Test clam")});
    setup.exec(benthos, {904, 9, QStringLiteral("Test worm")});
    transaction.commit();
}

void SchemaTest::cleanupTestCase()
{
    m_db.reset();
    m_file.reset();
}

void SchemaTest::init()
{
    m_transaction.emplace(*m_db);
    m_sql.emplace(*m_db, *m_transaction);
}

void SchemaTest::cleanup()
{
    m_sql.reset();
    m_transaction->rollback();
    m_transaction.reset();
}

int SchemaTest::addVisit(int station, const QVariant& letter, const QDate& date)
{
    return sql()
        .exec(
            QStringLiteral("INSERT INTO STATIONS_P (STATION, ST_CHAR, \"DATE\", DEPTH) VALUES (?, ?, ?, 20) "
                           "RETURNING ID"),
            {station, letter, date})
        ->at(0)
        .toInt();
}

int SchemaTest::addSample(int visit, const QVariant& parent)
{
    return sql()
        .exec(
            QStringLiteral("INSERT INTO SAMPLES_PL (STATION, PARENT, DEPTH_0, DEPTH_1) VALUES (?, ?, 0, 10) "
                           "RETURNING ID"),
            {visit, parent})
        ->at(0)
        .toInt();
}

int SchemaTest::addCount(int sample, int taxon, const QVariant& abundance, const QVariant& biomass)
{
    return sql()
        .exec(QStringLiteral("INSERT INTO PLANKTON (SAMPLE, TAXON, ABUNDANCE, BIOMASS) VALUES (?, ?, ?, ?) "
                             "RETURNING ID"),
              {sample, taxon, abundance, biomass})
        ->at(0)
        .toInt();
}

void SchemaTest::setDetail(int count, int taxon, const QVariant& abundance, const QVariant& biomass)
{
    sql().exec(
        QStringLiteral("UPDATE DETAILS_PL SET ABUNDANCE = ?, BIOMASS = ? WHERE PARENT = ? AND TAXON = ?"),
        {abundance, biomass, count, taxon});
}

QVariantList SchemaTest::countTotals(int count)
{
    return sql()
        .rows(QStringLiteral("SELECT ABUNDANCE, BIOMASS FROM PLANKTON WHERE ID = ?"), {count})
        .value(0);
}

void SchemaTest::stationName_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("station");
    QTest::addColumn<QVariant>("letter");
    QTest::addColumn<QString>("name");

    for (const QString& table : {QStringLiteral("STATIONS_P"), QStringLiteral("SAMPLES_BE")}) {
        const QByteArray t = table.toLatin1();
        QTest::newRow(t + ": 7 empty") << table << 7 << QVariant(QStringLiteral("")) << "7";
        QTest::newRow(t + ": 7 a") << table << 7 << QVariant(QStringLiteral("a")) << "7a";
        QTest::newRow(t + ": 12 a") << table << 12 << QVariant(QStringLiteral("a")) << "12a";
        QTest::newRow(t + ": 7 NULL") << table << 7 << QVariant() << "7";
        QTest::newRow(t + ": 7 blank") << table << 7 << QVariant(QStringLiteral(" ")) << "7";
        QTest::newRow(t + ": 114 B") << table << 114 << QVariant(QStringLiteral("B")) << "114B";
    }
}

void SchemaTest::stationName()
{
    QFETCH(QString, table);
    QFETCH(int, station);
    QFETCH(QVariant, letter);
    QFETCH(QString, name);

    // The client's own name is ignored; the database writes the name.
    const int id = sql()
                       .exec(QStringLiteral("INSERT INTO %1 (STATION, ST_CHAR, STATION_NAME, \"DATE\") "
                                            "VALUES (?, ?, 'wrong', '2010-07-15') RETURNING ID")
                                 .arg(table),
                             {station, letter})
                       ->at(0)
                       .toInt();
    const QVariantList row =
        sql()
            .rows(QStringLiteral("SELECT STATION_NAME, ST_CHAR, ST_CHAR IS NULL FROM %1 WHERE ID = ?")
                      .arg(table),
                  {id})
            .value(0);
    QCOMPARE(row.value(0).toString(), name);
    QCOMPARE(row.value(2).toBool(), false); // a letter is never NULL
    QCOMPARE(row.value(1).toString(), name.mid(QString::number(station).size()));
}

void SchemaTest::stationNameFollowsUpdate_data()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("STATIONS_P") << QStringLiteral("STATIONS_P");
    QTest::newRow("SAMPLES_BE") << QStringLiteral("SAMPLES_BE");
}

void SchemaTest::stationNameFollowsUpdate()
{
    QFETCH(QString, table);

    // A new row that names no letter starts with the empty one.
    const int id = sql()
                       .exec(QStringLiteral("INSERT INTO %1 (STATION, \"DATE\") VALUES (7, '2010-07-15') "
                                            "RETURNING ID")
                                 .arg(table))
                       ->at(0)
                       .toInt();
    const QString select = QStringLiteral("SELECT STATION_NAME FROM %1 WHERE ID = ?").arg(table);
    QCOMPARE(sql().value(select, {id}).toString(), QStringLiteral("7"));

    const QString update = QStringLiteral("UPDATE %1 SET STATION = ?, ST_CHAR = ? WHERE ID = ?").arg(table);
    sql().exec(update, {7, QStringLiteral("a"), id});
    QCOMPARE(sql().value(select, {id}).toString(), QStringLiteral("7a"));
    sql().exec(update, {12, QStringLiteral("a"), id});
    QCOMPARE(sql().value(select, {id}).toString(), QStringLiteral("12a"));
    sql().exec(update, {12, QVariant(), id});
    QCOMPARE(sql().value(select, {id}).toString(), QStringLiteral("12"));
    QCOMPARE(
        sql()
            .value(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ID = ? AND ST_CHAR = ''").arg(table), {id})
            .toInt(),
        1);
}

void SchemaTest::coordinatesJoinMatchesEmptyLetters()
{
    // The map joins on number and letter with "=": a visit whose letter was NULL, and one with
    // a letter, each find their own station and no other.
    addVisit(12, QVariant());
    addVisit(12, QStringLiteral("a"));
    const QList<QVariantList> rows = sql().rows(
        QStringLiteral("SELECT C.STATION_NAME, S.STATION_NAME FROM COORDINATES C "
                       "LEFT OUTER JOIN STATIONS_P S ON (S.\"DATE\" BETWEEN '2010-07-01' AND '2010-08-31') "
                       "AND (C.STATION = S.STATION) AND (C.ST_CHAR = S.ST_CHAR) "
                       "WHERE C.STATION = 12 ORDER BY 1"));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0], (QVariantList{QStringLiteral("12"), QStringLiteral("12")}));
    QCOMPARE(rows[1], (QVariantList{QStringLiteral("12a"), QStringLiteral("12a")}));
    QCOMPARE(rows[2].value(0).toString(), QStringLiteral("12b"));
    QVERIFY(rows[2].value(1).isNull());
}

void SchemaTest::generatorsAdvanceByOne_data()
{
    QTest::addColumn<QString>("generator");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("insert");

    QTest::newRow("seasons") << "GEN_SEASONS_ID"
                             << "SEASONS"
                             << "SEASON_ID"
                             << "INSERT INTO SEASONS (\"YEAR\", FROM_DATE, TILL_DATE) "
                                "VALUES (2010, '2010-04-01', '2010-06-30') RETURNING SEASON_ID";
    QTest::newRow("visits")
        << "GEN_STATIONS_P_ID"
        << "STATIONS_P"
        << "ID"
        << "INSERT INTO STATIONS_P (STATION, \"DATE\") VALUES (5, '2010-07-01') RETURNING ID";
    QTest::newRow("samples")
        << "GEN_SAMPLES_PL_ID"
        << "SAMPLES_PL"
        << "ID"
        << "INSERT INTO SAMPLES_PL (STATION) SELECT MAX(ID) FROM STATIONS_P RETURNING ID";
    QTest::newRow("counts") << "GEN_PLANKTON_ID"
                            << "PLANKTON"
                            << "ID"
                            << "INSERT INTO PLANKTON (SAMPLE, TAXON) SELECT MAX(ID), 902 FROM SAMPLES_PL "
                               "RETURNING ID";
    QTest::newRow("details") << "GEN_DETAILS_PL_ID"
                             << "DETAILS_PL"
                             << "ID"
                             << "INSERT INTO DETAILS_PL (PARENT, PARENT_TAXON, TAXON) "
                                "SELECT MAX(ID), 902, 30001 FROM PLANKTON RETURNING ID";
    QTest::newRow("years") << "GEN_YEARS_ID"
                           << "YEARS"
                           << "ID"
                           << "INSERT INTO YEARS (\"YEAR\", FROM_DATE, TILL_DATE) "
                              "VALUES (2010, '2010-01-01', '2010-12-31') RETURNING ID";
    QTest::newRow("benthos samples") << "GEN_SAMPLES_BE_ID"
                                     << "SAMPLES_BE"
                                     << "ID"
                                     << "INSERT INTO SAMPLES_BE (STATION, \"DATE\") VALUES (5, '2010-07-01') "
                                        "RETURNING ID";
    QTest::newRow("benthos counts")
        << "GEN_BENTHOS_ID"
        << "BENTHOS"
        << "ID"
        << "INSERT INTO BENTHOS (SAMPLE, TAXON) SELECT MAX(ID), 1 FROM SAMPLES_BE "
           "RETURNING ID";
}

void SchemaTest::generatorsAdvanceByOne()
{
    QFETCH(QString, generator);
    QFETCH(QString, table);
    QFETCH(QString, key);
    QFETCH(QString, insert);

    // Rows the later cases link to.
    addCount(addSample(addVisit(5, QString())), plainTaxon);
    sql().exec(QStringLiteral("INSERT INTO SAMPLES_BE (STATION, \"DATE\") VALUES (5, '2010-07-01')"));

    const QString next = QStringLiteral("SELECT NEXT VALUE FOR %1 FROM RDB$DATABASE").arg(generator);
    const qlonglong first = sql().value(next).toLongLong();
    QCOMPARE(sql().value(next).toLongLong(), first + 1);
    // A row stored without a key takes the generator's next value.
    const qlonglong id = sql().exec(insert)->at(0).toLongLong();
    QCOMPARE(id, first + 2);
    QCOMPARE(
        sql().value(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?").arg(table, key), {id}).toInt(), 1);
}

void SchemaTest::newSeasonGetsNumber()
{
    // The program never shows SEASON, so a new season arrives without it.
    const QString insert =
        QStringLiteral("INSERT INTO SEASONS (SEASON_ID, \"YEAR\", FROM_DATE, TILL_DATE, SEASON) "
                       "VALUES (NEXT VALUE FOR GEN_SEASONS_ID, ?, ?, ?, ?) RETURNING SEASON");
    QCOMPARE(sql().exec(insert, {1990, QDate(1990, 4, 1), QDate(1990, 6, 30), QVariant()})->at(0).toInt(), 1);
    QCOMPARE(sql().exec(insert, {1990, QDate(1990, 7, 1), QDate(1990, 8, 31), QVariant()})->at(0).toInt(), 2);
    QCOMPARE(sql().exec(insert, {1991, QDate(1991, 4, 1), QDate(1991, 6, 30), QVariant()})->at(0).toInt(), 1);
    QCOMPARE(sql().exec(insert, {1991, QDate(1991, 7, 1), QDate(1991, 8, 31), 7})->at(0).toInt(), 7);
}

void SchemaTest::refusedRows_data()
{
    QTest::addColumn<QString>("statement");

    // NOT NULL
    QTest::newRow("season without window")
        << "INSERT INTO SEASONS (\"YEAR\", FROM_DATE) VALUES (2010, '2010-04-01')";
    QTest::newRow("year without year")
        << "INSERT INTO YEARS (FROM_DATE, TILL_DATE) VALUES ('2010-01-01', '2010-12-31')";
    QTest::newRow("visit without date") << "INSERT INTO STATIONS_P (STATION) VALUES (5)";
    QTest::newRow("visit without number") << "INSERT INTO STATIONS_P (\"DATE\") VALUES ('2010-07-01')";
    QTest::newRow("sample without visit") << "INSERT INTO SAMPLES_PL (DEPTH_0) VALUES (0)";
    QTest::newRow("count without taxon") << "INSERT INTO PLANKTON (SAMPLE) SELECT MAX(ID) FROM SAMPLES_PL";
    QTest::newRow("detail without taxon")
        << "INSERT INTO DETAILS_PL (PARENT, PARENT_TAXON) SELECT MAX(ID), 902 FROM PLANKTON";
    QTest::newRow("benthos sample without date") << "INSERT INTO SAMPLES_BE (STATION) VALUES (5)";
    QTest::newRow("benthos count without taxon")
        << "INSERT INTO BENTHOS (SAMPLE) SELECT MAX(ID) FROM SAMPLES_BE";
    QTest::newRow("coordinates without minutes")
        << "INSERT INTO COORDINATES (STATION, LAT_DEG, LON_DEG, LON_MIN) VALUES (200, 45, 60, 0)";
    // Links
    QTest::newRow("sample of unknown visit") << "INSERT INTO SAMPLES_PL (STATION) VALUES (-1)";
    QTest::newRow("count of unknown taxon")
        << "INSERT INTO PLANKTON (SAMPLE, TAXON) SELECT MAX(ID), 32000 FROM SAMPLES_PL";
    QTest::newRow("count of unknown sample") << "INSERT INTO PLANKTON (SAMPLE, TAXON) VALUES (-1, 902)";
    QTest::newRow("detail of unknown count") << "INSERT INTO DETAILS_PL (PARENT, PARENT_TAXON, TAXON) "
                                                "VALUES (-1, 900, 30001)";
    QTest::newRow("benthos count of unknown taxon")
        << "INSERT INTO BENTHOS (SAMPLE, TAXON) SELECT MAX(ID), 32000 FROM SAMPLES_BE";
    QTest::newRow("unknown sediment") << "INSERT INTO SAMPLES_BE (STATION, \"DATE\", SEDIMENTS) "
                                         "VALUES (5, '2010-07-01', 999)";
    QTest::newRow("unknown sampler") << "INSERT INTO SAMPLES_BE (STATION, \"DATE\", SAMPLER) "
                                        "VALUES (5, '2010-07-01', 999)";
    // Keys that other tables hold in 16 bits, and value ranges
    QTest::newRow("sample key over 16 bits") << "INSERT INTO SAMPLES_PL (ID, STATION) "
                                                "SELECT 32768, MAX(ID) FROM STATIONS_P";
    QTest::newRow("taxon key over 16 bits") << "INSERT INTO TAXONS_P (ID, TAXON) VALUES (40000, 'x')";
    QTest::newRow("benthos taxon key over 16 bits")
        << "INSERT INTO TAXONS_B (ID, CATEGORY, TAXON) VALUES (40000, 1, 'x')";
    QTest::newRow("minutes over 59")
        << "INSERT INTO COORDINATES (STATION, LAT_DEG, LAT_MIN, LON_DEG, LON_MIN) "
           "VALUES (200, 45, 60, 60, 0)";
}

void SchemaTest::refusedRows()
{
    QFETCH(QString, statement);
    addSample(addVisit(5, QString()));
    sql().exec(QStringLiteral("INSERT INTO SAMPLES_BE (STATION, \"DATE\") VALUES (5, '2010-07-01')"));
    QVERIFY2(sql().refuses(statement), "the database accepted the row");
}

void SchemaTest::depthsFitSixCharacters_data()
{
    QTest::addColumn<QVariant>("depth");
    QTest::addColumn<QString>("text"); // empty: refused

    QTest::newRow("zero") << QVariant(0.0) << "0.0";
    QTest::newRow("one decimal") << QVariant(12.5) << "12.5";
    QTest::newRow("rounded to one decimal") << QVariant(2.46) << "2.5";
    QTest::newRow("deepest allowed") << QVariant(9999.9) << "9999.9";
    QTest::newRow("too deep") << QVariant(10000.0) << "";
    QTest::newRow("negative") << QVariant(-1.0) << "";
}

void SchemaTest::depthsFitSixCharacters()
{
    QFETCH(QVariant, depth);
    QFETCH(QString, text);

    const int visit = addVisit(5, QString());
    const QString insert =
        QStringLiteral("INSERT INTO SAMPLES_PL (STATION, DEPTH_0, DEPTH_1) VALUES (?, ?, ?) "
                       "RETURNING ID");
    if (text.isEmpty()) {
        QVERIFY(sql().refuses(insert, {visit, depth, 0.0}));
        QVERIFY(sql().refuses(insert, {visit, 0.0, depth}));
        QVERIFY(
            sql().refuses(QStringLiteral("UPDATE STATIONS_P SET DEPTH = ? WHERE ID = ?"), {depth, visit}));
        return;
    }
    const int id = sql().exec(insert, {visit, depth, depth})->at(0).toInt();
    // The conversion of the report by stations.
    const QVariantList row = sql()
                                 .rows(QStringLiteral("SELECT CAST(DEPTH_0 AS VARCHAR(6)), CAST(DEPTH_1 AS "
                                                      "VARCHAR(6)) FROM SAMPLES_PL WHERE ID = ?"),
                                       {id})
                                 .value(0);
    QCOMPARE(row.value(0).toString(), text);
    QCOMPARE(row.value(1).toString(), text);
}

void SchemaTest::deletingVisitOrLayerWithDependentsIsRefused()
{
    const int visit = addVisit(5, QString());
    const int top = addSample(visit);
    const int sub = addSample(visit, top);

    QVERIFY(sql().refuses(QStringLiteral("DELETE FROM STATIONS_P WHERE ID = ?"), {visit}));
    QVERIFY(sql().refuses(QStringLiteral("DELETE FROM SAMPLES_PL WHERE ID = ?"), {top}));

    // Once emptied, both go.
    sql().exec(QStringLiteral("DELETE FROM SAMPLES_PL WHERE ID = ?"), {sub});
    sql().exec(QStringLiteral("DELETE FROM SAMPLES_PL WHERE ID = ?"), {top});
    sql().exec(QStringLiteral("DELETE FROM STATIONS_P WHERE ID = ?"), {visit});
    QCOMPARE(sql().value(QStringLiteral("SELECT COUNT(*) FROM STATIONS_P WHERE ID = ?"), {visit}).toInt(), 0);

    // Reference rows in use stay.
    QVERIFY(sql().refuses(QStringLiteral("DELETE FROM TAXONS_P WHERE ID = ?"), {taxonWithStages}));
}

void SchemaTest::deletingSampleTakesItsCountsAndDetails()
{
    const int visit = addVisit(5, QString());
    const int sample = addSample(visit);
    const int keep = addSample(visit);
    const int count = addCount(sample, taxonWithStages);
    const int kept = addCount(keep, taxonWithStages);
    QCOMPARE(sql().value(QStringLiteral("SELECT COUNT(*) FROM DETAILS_PL WHERE PARENT = ?"), {count}).toInt(),
             3);

    // A count takes its details.
    const int single = addCount(sample, otherTaxonWithStages);
    sql().exec(QStringLiteral("DELETE FROM PLANKTON WHERE ID = ?"), {single});
    QCOMPARE(
        sql().value(QStringLiteral("SELECT COUNT(*) FROM DETAILS_PL WHERE PARENT = ?"), {single}).toInt(), 0);

    // A sample takes its counts and their details.
    sql().exec(QStringLiteral("DELETE FROM SAMPLES_PL WHERE ID = ?"), {sample});
    QCOMPARE(sql().value(QStringLiteral("SELECT COUNT(*) FROM PLANKTON WHERE SAMPLE = ?"), {sample}).toInt(),
             0);
    QCOMPARE(sql().value(QStringLiteral("SELECT COUNT(*) FROM DETAILS_PL WHERE PARENT = ?"), {count}).toInt(),
             0);
    QCOMPARE(sql().value(QStringLiteral("SELECT COUNT(*) FROM DETAILS_PL WHERE PARENT = ?"), {kept}).toInt(),
             3);
}

void SchemaTest::deletingBenthosSampleTakesItsCounts()
{
    const int sample = sql()
                           .exec(QStringLiteral("INSERT INTO SAMPLES_BE (STATION, \"DATE\") "
                                                "VALUES (5, '2010-07-01') RETURNING ID"))
                           ->at(0)
                           .toInt();
    sql().exec(QStringLiteral("INSERT INTO BENTHOS (SAMPLE, TAXON, ABUNDANCE) VALUES (?, 1, 10)"), {sample});
    sql().exec(QStringLiteral("INSERT INTO BENTHOS (SAMPLE, TAXON, ABUNDANCE) VALUES (?, 2, 20)"), {sample});
    sql().exec(QStringLiteral("DELETE FROM SAMPLES_BE WHERE ID = ?"), {sample});
    QCOMPARE(sql().value(QStringLiteral("SELECT COUNT(*) FROM BENTHOS WHERE SAMPLE = ?"), {sample}).toInt(),
             0);
}

void SchemaTest::deletingSeasonOrYearKeepsItsRows()
{
    const int season =
        sql()
            .exec(QStringLiteral("INSERT INTO SEASONS (\"YEAR\", FROM_DATE, TILL_DATE) "
                                 "VALUES (2010, '2010-07-01', '2010-08-31') RETURNING SEASON_ID"))
            ->at(0)
            .toInt();
    const int year = sql()
                         .exec(QStringLiteral("INSERT INTO YEARS (\"YEAR\", FROM_DATE, TILL_DATE) "
                                              "VALUES (2010, '2010-01-01', '2010-12-31') RETURNING ID"))
                         ->at(0)
                         .toInt();
    const int visit = addVisit(5, QString());
    sql().exec(QStringLiteral("INSERT INTO SAMPLES_BE (STATION, \"DATE\") VALUES (5, '2010-07-15')"));
    const int benthos = sql().value(QStringLiteral("SELECT COUNT(*) FROM SAMPLES_BE")).toInt();

    sql().exec(QStringLiteral("DELETE FROM SEASONS WHERE SEASON_ID = ?"), {season});
    sql().exec(QStringLiteral("DELETE FROM YEARS WHERE ID = ?"), {year});
    QCOMPARE(sql().value(QStringLiteral("SELECT COUNT(*) FROM STATIONS_P WHERE ID = ?"), {visit}).toInt(), 1);
    QCOMPARE(sql().value(QStringLiteral("SELECT COUNT(*) FROM SAMPLES_BE")).toInt(), benthos);
}

void SchemaTest::subLayerHangsUnderTopLevelSampleOfSameVisit()
{
    const int visit = addVisit(5, QString());
    const int otherVisit = addVisit(6, QString());
    const int top = addSample(visit);
    const int sub = addSample(visit, top);
    const int secondTop = addSample(visit);
    const int otherTop = addSample(otherVisit);
    const QString insert = QStringLiteral("INSERT INTO SAMPLES_PL (STATION, PARENT) VALUES (?, ?)");
    const QString move = QStringLiteral("UPDATE SAMPLES_PL SET PARENT = ? WHERE ID = ?");

    QVERIFY(sql().refuses(insert, {visit, otherTop})); // another visit's sample
    QVERIFY(sql().lastError().contains(QStringLiteral("top-level sample of the same visit")));
    QVERIFY(sql().refuses(insert, {visit, sub}));   // a third level
    QVERIFY(sql().refuses(move, {secondTop, top})); // a sample with sub-layers below another
    QVERIFY(sql().lastError().contains(QStringLiteral("cannot become a sub-layer")));
    QVERIFY(sql().refuses(move, {otherTop, otherTop})); // its own parent

    QVERIFY(!sql().refuses(insert, {visit, top}));
    QVERIFY(!sql().refuses(move, {top, secondTop}));
}

void SchemaTest::newCountGetsOneEmptyRowPerSubTaxon()
{
    const int sample = addSample(addVisit(5, QString()));
    const int count = addCount(sample, taxonWithStages, 100.0, 2.0);
    const QList<QVariantList> details =
        sql().rows(QStringLiteral("SELECT PARENT_TAXON, TAXON, ABUNDANCE, BIOMASS FROM DETAILS_PL "
                                  "WHERE PARENT = ? ORDER BY ID"),
                   {count});
    QCOMPARE(details.size(), 3);
    const int stages[] = {stage1, stage2, stage3};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(details[i].value(0).toInt(), taxonWithStages);
        QCOMPARE(details[i].value(1).toInt(), stages[i]);
        QVERIFY(details[i].value(2).isNull());
        QVERIFY(details[i].value(3).isNull());
    }
    // Empty details leave the count's own values alone.
    QCOMPARE(countTotals(count), (QVariantList{100.0, 2.0}));

    const int plain = addCount(sample, plainTaxon, 5.0, 0.5);
    QCOMPARE(sql().value(QStringLiteral("SELECT COUNT(*) FROM DETAILS_PL WHERE PARENT = ?"), {plain}).toInt(),
             0);
}

void SchemaTest::countTotalsFollowTheirDetails()
{
    const int sample = addSample(addVisit(5, QString()));
    const int count = addCount(sample, taxonWithStages, 100.0, 2.0);

    setDetail(count, stage1, 10.0, QVariant());
    QCOMPARE(countTotals(count), (QVariantList{10.0, 2.0})); // no biomass among the details yet
    setDetail(count, stage2, 30.0, 0.75);
    QCOMPARE(countTotals(count), (QVariantList{40.0, 0.75}));

    // A sub-taxon count added by hand counts too.
    sql().exec(QStringLiteral("INSERT INTO DETAILS_PL (PARENT, PARENT_TAXON, TAXON, ABUNDANCE, BIOMASS) "
                              "VALUES (?, ?, ?, 5, 0.25)"),
               {count, taxonWithStages, stage3});
    QCOMPARE(countTotals(count), (QVariantList{45.0, 1.0}));

    // Writing the count directly while its details hold values: the details win.
    sql().exec(QStringLiteral("UPDATE PLANKTON SET ABUNDANCE = 999, BIOMASS = 999 WHERE ID = ?"), {count});
    QCOMPARE(countTotals(count), (QVariantList{45.0, 1.0}));

    sql().exec(QStringLiteral("DELETE FROM DETAILS_PL WHERE PARENT = ? AND TAXON = ? AND ABUNDANCE = 30"),
               {count, stage2});
    QCOMPARE(countTotals(count), (QVariantList{15.0, 0.25}));
}

void SchemaTest::changingTaxonKeepsEarlierDetails()
{
    const int sample = addSample(addVisit(5, QString()));
    const int count = addCount(sample, taxonWithStages);
    setDetail(count, stage1, 10.0, 1.0);
    setDetail(count, stage2, 20.0, 2.0);
    QCOMPARE(countTotals(count), (QVariantList{30.0, 3.0}));

    const QString countDetails =
        QStringLiteral("SELECT COUNT(*) FROM DETAILS_PL WHERE PARENT = ? AND PARENT_TAXON = ?");
    const QString setCount =
        QStringLiteral("UPDATE PLANKTON SET TAXON = ?, ABUNDANCE = ?, BIOMASS = ? WHERE ID = ?");

    // The new taxon brings its own empty rows; the old ones stay under the old taxon.
    sql().exec(setCount, {otherTaxonWithStages, 7.0, 0.5, count});
    QCOMPARE(sql().value(countDetails, {count, taxonWithStages}).toInt(), 3);
    QCOMPARE(sql().value(countDetails, {count, otherTaxonWithStages}).toInt(), 1);
    QCOMPARE(countTotals(count), (QVariantList{7.0, 0.5}));

    // Set back: the earlier details count again, and no rows are added twice.
    sql().exec(setCount, {taxonWithStages, 7.0, 0.5, count});
    QCOMPARE(sql().value(countDetails, {count, taxonWithStages}).toInt(), 3);
    QCOMPARE(countTotals(count), (QVariantList{30.0, 3.0}));

    // A taxon without sub-taxa adds nothing.
    sql().exec(setCount, {plainTaxon, 1.0, 0.1, count});
    QCOMPARE(sql().value(QStringLiteral("SELECT COUNT(*) FROM DETAILS_PL WHERE PARENT = ?"), {count}).toInt(),
             4);
    QCOMPARE(countTotals(count), (QVariantList{1.0, 0.1}));
}

void SchemaTest::chartPlanktonProcedure()
{
    const int visit = addVisit(5, QString());
    const int sample = addSample(visit);
    const int other = addSample(visit);
    // Two counts in Copepoda (one derived from its details), one in Rotifera with an empty
    // biomass, one whose taxon has no category; a count in another sample stays out.
    const int derived = addCount(sample, taxonWithStages);
    setDetail(derived, stage1, 50.0, 1.5);
    addCount(sample, copepod, 100.0, 2.0);
    addCount(sample, otherTaxonWithStages, 20.0, QVariant());
    addCount(sample, plainTaxon, 3.0, 0.25);
    addCount(other, copepod, 1000.0, 1000.0);

    const QList<QVariantList> rows =
        sql().rows(QStringLiteral("SELECT * FROM CHART_PL_PROCEDURE(?)"), {sample});
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0], (QVariantList{QStringLiteral("Copepoda"), 150.0, 3.5}));
    QCOMPARE(rows[1], (QVariantList{QStringLiteral("Rotifera"), 20.0, 0.0}));
    QCOMPARE(rows[2], (QVariantList{QStringLiteral("Unclassified"), 3.0, 0.25}));

    const int empty = addSample(visit);
    QVERIFY(sql().rows(QStringLiteral("SELECT * FROM CHART_PL_PROCEDURE(?)"), {empty}).isEmpty());
}

void SchemaTest::chartBenthosProcedure()
{
    const QString insertSample = QStringLiteral("INSERT INTO SAMPLES_BE (STATION, \"DATE\") "
                                                "VALUES (5, '2010-07-01') RETURNING ID");
    const int sample = sql().exec(insertSample)->at(0).toInt();
    const int other = sql().exec(insertSample)->at(0).toInt();
    const QString count = QStringLiteral("INSERT INTO BENTHOS (SAMPLE, TAXON, ABUNDANCE, BIOMASS) "
                                         "VALUES (?, ?, ?, ?)");
    sql().exec(count, {sample, 904, 4.0, 0.5}); // an unknown code
    sql().exec(count, {sample, 903, 10.0, 2.0});
    sql().exec(count, {sample, 901, 40.0, 0.125});
    sql().exec(count, {sample, 902, 60.0, 0.25});
    sql().exec(count, {other, 903, 500.0, 500.0});

    const QList<QVariantList> rows =
        sql().rows(QStringLiteral("SELECT CATEGORY, SUM_A, SUM_B FROM CHART_BE_PROCEDURE(?)"), {sample});
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0], (QVariantList{QStringLiteral("Oligochaeta"), 100.0, 0.375}));
    QCOMPARE(rows[1], (QVariantList{QStringLiteral("Mollusca"), 10.0, 2.0}));
    QCOMPARE(rows[2], (QVariantList{QStringLiteral("Category 9"), 4.0, 0.5}));
}

QTEST_GUILESS_MAIN(SchemaTest)
#include "tst_schema.moc"
