// velmar-db run as a real process: its answers on the command line, and the databases it makes.

#include "SeaOutline.h"
#include "SqlHelper.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <fb/Attachment.h>
#include <fb/Transaction.h>

namespace {

struct RunResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

RunResult runTool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VELMAR_DB_PATH), arguments);
    RunResult result;
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("velmar-db did not finish normally");
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

const QStringList& allTables()
{
    static const QStringList tables{
        QStringLiteral("SEASONS"),    QStringLiteral("STATIONS_P"), QStringLiteral("SAMPLES_PL"),
        QStringLiteral("PLANKTON"),   QStringLiteral("DETAILS_PL"), QStringLiteral("TAXONS_P"),
        QStringLiteral("YEARS"),      QStringLiteral("SAMPLES_BE"), QStringLiteral("BENTHOS"),
        QStringLiteral("TAXONS_B"),   QStringLiteral("SEDIMENTS"),  QStringLiteral("SAMPLERS"),
        QStringLiteral("COORDINATES")};
    return tables;
}

// The report by stations, as its datasets read it (named parameters written as '?').
const char* const reportStations = R"(SELECT DISTINCT
    STATION,
    ST_CHAR,
    STATION_NAME
FROM
    STATIONS_P
WHERE STATION BETWEEN ? AND ?
ORDER BY
    1, 2)";

const char* const reportLayers = R"(SELECT
   STATIONS_P.ID,
   STATIONS_P.STATION,
   STATIONS_P.ST_CHAR,
   STATIONS_P.STATION_NAME,
   STATIONS_P."DATE",
   STATIONS_P.DEPTH,
   (CAST(SAMPLES_PL.DEPTH_1 AS VARCHAR(6)) || ' - ' || CAST(SAMPLES_PL.DEPTH_0 AS VARCHAR(6))) AS LAYER,
   SUM( PLANKTON.ABUNDANCE ) AS SUM_OF_ABUNDANCE,
   SUM( PLANKTON.BIOMASS ) AS SUM_OF_BIOMASS
FROM STATIONS_P
   INNER JOIN SAMPLES_PL ON (STATIONS_P.ID = SAMPLES_PL.STATION)
INNER JOIN PLANKTON ON (SAMPLES_PL.ID = PLANKTON.SAMPLE)
WHERE
   (
      ((STATIONS_P.STATION = ?) AND (STATIONS_P.ST_CHAR = ?))
   AND
      (SAMPLES_PL.PARENT IS NULL )
   AND
      (EXTRACT(MONTH FROM STATIONS_P."DATE") BETWEEN ? AND ?)
   )
GROUP BY STATIONS_P.STATION_NAME, STATIONS_P."DATE", STATIONS_P.DEPTH, STATIONS_P.ID, STATIONS_P.STATION, STATIONS_P.ST_CHAR, SAMPLES_PL.DEPTH_0, SAMPLES_PL.DEPTH_1
ORDER BY
   2, 3, 4, 5)";

const char* const reportTaxa = R"(SELECT
   SAMPLES_PL.STATION,
   PLANKTON.ABUNDANCE,
   PLANKTON.BIOMASS,
   TAXONS_P.TAXON,
   TAXONS_P.CATEGORY2
FROM TAXONS_P
   INNER JOIN PLANKTON ON (TAXONS_P.ID = PLANKTON.TAXON)
   INNER JOIN SAMPLES_PL ON (PLANKTON.SAMPLE = SAMPLES_PL.ID)
WHERE
   (
      (SAMPLES_PL.STATION = ?)
   and
      (SAMPLES_PL.PARENT IS NULL )
   and
      (TAXONS_P.PARENT IS NULL )
   )
ORDER BY TAXONS_P.CATEGORY2, TAXONS_P.TAXON)";

// The map's coordinates dataset for the zooplankton page.
const char* const mapStations = R"(SELECT
    C.STATION,
    C.ST_CHAR,
    C.STATION_NAME,
    C.LAT_DEG,
    C.LAT_MIN,
    C.LON_DEG,
    C.LON_MIN,
    C.LATITUDE,
    C.LONGITUDE,
  S.ID,
  S."DATE",
  S.DEPTH
FROM
  COORDINATES C
    LEFT OUTER JOIN
      STATIONS_P S ON
        (S."DATE" BETWEEN ? AND ?)
        AND (C.STATION = S.STATION)
        AND (C.ST_CHAR = S.ST_CHAR)
ORDER BY 1, 2, 11)";

} // namespace

class VelmarDbTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void commandLine_data();
    void commandLine();
    void refusesExistingFile();
    void reportsFailureToCreate();

    void demoFillsEveryTable();
    void demoIsPlausible();
    void demoIsDeterministic();
    void generatorsContinueAfterDemoKeys();
    void coordinatesOfEveryStationLieInTheSea();
    void mapFindsVisitsOfStationsWithAndWithoutLetter();
    void reportStatementsRunOnDemo();
    void largestScaleKeepsSampleKeysIn16Bits();

private:
    SqlHelper& sql() { return *m_sql; }
    QString fingerprint(const QString& file);

    QTemporaryDir m_dir;
    QString m_demo;
    std::optional<fb::Attachment> m_db;
    std::optional<fb::Transaction> m_transaction;
    std::optional<SqlHelper> m_sql;
};

void VelmarDbTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_demo = m_dir.filePath(QStringLiteral("demo.fdb"));
    const RunResult result = runTool({QStringLiteral("create"), m_demo, QStringLiteral("--demo")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY(result.out.contains(QStringLiteral("PLANKTON")));

    fb::ConnectionParams params;
    params.database = m_demo;
    m_db.emplace(fb::Attachment::attach(params));
    m_transaction.emplace(*m_db, fb::TransactionOptions().setReadOnly(true));
    m_sql.emplace(*m_db, *m_transaction);
}

void VelmarDbTest::cleanupTestCase()
{
    m_sql.reset();
    m_transaction.reset();
    m_db.reset();
}

void VelmarDbTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected"); // in stdout for success, in stderr otherwise

    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0 << "create FILE";
    QTest::newRow("nothing") << QStringList{} << 2 << "no command";
    QTest::newRow("unknown command") << QStringList{QStringLiteral("drop"), QStringLiteral("x.fdb")} << 2
                                     << "unknown command";
    QTest::newRow("no file") << QStringList{QStringLiteral("create")} << 2 << "exactly one FILE";
    QTest::newRow("two files") << QStringList{QStringLiteral("create"), QStringLiteral("a.fdb"),
                                              QStringLiteral("b.fdb")}
                               << 2 << "exactly one FILE";
    QTest::newRow("unknown option") << QStringList{QStringLiteral("create"), QStringLiteral("a.fdb"),
                                                   QStringLiteral("--bogus")}
                                    << 2 << "bogus";
    QTest::newRow("scale zero") << QStringList{QStringLiteral("create"), QStringLiteral("a.fdb"),
                                               QStringLiteral("--scale"), QStringLiteral("0")}
                                << 2 << "--scale";
    QTest::newRow("scale too large") << QStringList{QStringLiteral("create"), QStringLiteral("a.fdb"),
                                                    QStringLiteral("--scale"), QStringLiteral("1000")}
                                     << 2 << "--scale";
    QTest::newRow("scale not a number") << QStringList{QStringLiteral("create"), QStringLiteral("a.fdb"),
                                                       QStringLiteral("--scale"), QStringLiteral("big")}
                                        << 2 << "--scale";
}

void VelmarDbTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);

    // Relative names land in the test's own folder, should a refusal fail to refuse.
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.start(QStringLiteral(VELMAR_DB_PATH), arguments);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), exitCode);
    const QString text = QString::fromLocal8Bit(exitCode == 0 ? process.readAllStandardOutput()
                                                              : process.readAllStandardError());
    QVERIFY2(text.contains(expected), qPrintable(text));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("a.fdb"))));
}

void VelmarDbTest::refusesExistingFile()
{
    const QString path = m_dir.filePath(QStringLiteral("taken.fdb"));
    const QByteArray content("not a database, and it must stay as it is");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const RunResult result = runTool({QStringLiteral("create"), path, QStringLiteral("--demo")});
    QVERIFY(result.exitCode != 0);
    QVERIFY2(result.err.contains(QStringLiteral("already exists")), qPrintable(result.err));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);

    // A real database is refused the same way and stays usable.
    QVERIFY(runTool({QStringLiteral("create"), m_demo}).exitCode != 0);
    QVERIFY(sql().value(QStringLiteral("SELECT COUNT(*) FROM PLANKTON")).toInt() > 0);
}

void VelmarDbTest::reportsFailureToCreate()
{
    const QString path = m_dir.filePath(QStringLiteral("no/such/folder/x.fdb"));
    const RunResult result = runTool({QStringLiteral("create"), path});
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.err.startsWith(QStringLiteral("velmar-db: ")));
    QVERIFY(result.err.size() > QStringLiteral("velmar-db: \n").size());
    QVERIFY(!QFile::exists(path));
}

void VelmarDbTest::demoFillsEveryTable()
{
    for (const QString& table : allTables()) {
        const int rows = sql().value(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
        QVERIFY2(rows > 0, qPrintable(table));
    }
}

void VelmarDbTest::demoIsPlausible()
{
    // At least fifteen years of seasons in the three windows.
    QVERIFY(sql().value(QStringLiteral("SELECT COUNT(DISTINCT \"YEAR\") FROM SEASONS")).toInt() >= 15);
    const QList<QVariantList> windows = sql().rows(
        QStringLiteral("SELECT DISTINCT EXTRACT(MONTH FROM FROM_DATE), EXTRACT(MONTH FROM TILL_DATE) "
                       "FROM SEASONS ORDER BY 1"));
    QCOMPARE(windows, (QList<QVariantList>{{4, 6}, {7, 8}, {9, 11}}));
    QCOMPARE(sql()
                 .value(QStringLiteral("SELECT COUNT(*) FROM SEASONS S WHERE NOT EXISTS (SELECT 1 FROM "
                                       "STATIONS_P V WHERE V.\"DATE\" BETWEEN S.FROM_DATE AND S.TILL_DATE)"))
                 .toInt(),
             0);

    // Some station goes unvisited in a season; some visit belongs to no season.
    QVERIFY(
        sql()
            .value(QStringLiteral("SELECT COUNT(*) FROM SEASONS S CROSS JOIN COORDINATES C WHERE NOT EXISTS "
                                  "(SELECT 1 FROM STATIONS_P V WHERE V.STATION = C.STATION AND V.ST_CHAR = "
                                  "C.ST_CHAR AND V.\"DATE\" BETWEEN S.FROM_DATE AND S.TILL_DATE)"))
            .toInt() > 0);
    QVERIFY(
        sql()
            .value(QStringLiteral("SELECT COUNT(*) FROM STATIONS_P V WHERE NOT EXISTS (SELECT 1 FROM SEASONS "
                                  "S WHERE V.\"DATE\" BETWEEN S.FROM_DATE AND S.TILL_DATE)"))
            .toInt() > 0);

    // Every visit has depth and one top-level layer; sub-layers exist.
    QCOMPARE(sql()
                 .value(QStringLiteral("SELECT COUNT(*) FROM STATIONS_P WHERE DEPTH IS NULL OR DEPTH <= 0"))
                 .toInt(),
             0);
    QCOMPARE(
        sql()
            .value(QStringLiteral("SELECT COUNT(*) FROM STATIONS_P V WHERE (SELECT COUNT(*) FROM SAMPLES_PL "
                                  "S WHERE S.STATION = V.ID AND S.PARENT IS NULL) <> 1"))
            .toInt(),
        0);
    QVERIFY(sql().value(QStringLiteral("SELECT COUNT(*) FROM SAMPLES_PL WHERE PARENT IS NOT NULL")).toInt() >
            0);
    QVERIFY(
        sql()
            .value(QStringLiteral("SELECT COUNT(*) FROM SAMPLES_PL WHERE SALINITY IS NULL OR TEMPERATURE IS "
                                  "NULL OR PH IS NULL"))
            .toInt() == 0);

    // Counts with filled sub-taxon counts whose totals follow them.
    QVERIFY(sql().value(QStringLiteral("SELECT COUNT(*) FROM DETAILS_PL WHERE ABUNDANCE > 0")).toInt() > 0);
    QCOMPARE(
        sql()
            .value(QStringLiteral("SELECT COUNT(*) FROM PLANKTON P WHERE EXISTS (SELECT 1 FROM DETAILS_PL D "
                                  "WHERE D.PARENT = P.ID AND D.ABUNDANCE IS NOT NULL) AND P.ABUNDANCE <> "
                                  "(SELECT SUM(D.ABUNDANCE) FROM DETAILS_PL D WHERE D.PARENT = P.ID)"))
            .toInt(),
        0);

    // Notices, some of them Russian; benthos samples with ground and device.
    const QList<QVariantList> notes =
        sql().rows(QStringLiteral("SELECT COMMENTS FROM SAMPLES_PL WHERE COMMENTS IS NOT NULL"));
    QVERIFY(!notes.isEmpty());
    const QRegularExpression cyrillic(QStringLiteral("[\u0400-\u04FF]"));
    QVERIFY(std::any_of(notes.begin(), notes.end(),
                        [&](const QVariantList& row) { return row.value(0).toString().contains(cyrillic); }));
    QVERIFY(sql()
                .value(QStringLiteral(
                    "SELECT COUNT(*) FROM SAMPLES_BE WHERE SEDIMENTS IS NULL OR SAMPLER IS NULL "
                    "OR SQUARE IS NULL OR SAMPLES_NUMBER IS NULL"))
                .toInt() == 0);
    QCOMPARE(sql().value(QStringLiteral("SELECT SEDIMENT_RU FROM SEDIMENTS WHERE ID = 1")).toString(),
             QString::fromUtf8("Песок"));
    QVERIFY(sql()
                .value(QStringLiteral("SELECT COUNT(*) FROM TAXONS_P WHERE PARENT IS NULL AND ID < 1000"))
                .toInt() >
            sql()
                .value(QStringLiteral("SELECT COUNT(*) FROM TAXONS_P WHERE PARENT IS NULL AND ID >= 1000"))
                .toInt());
}

QString VelmarDbTest::fingerprint(const QString& file)
{
    fb::ConnectionParams params;
    params.database = file;
    fb::Attachment db = fb::Attachment::attach(params);
    fb::Transaction transaction(db, fb::TransactionOptions().setReadOnly(true));
    SqlHelper query(db, transaction);
    QStringList parts;
    const QStringList sums{
        QStringLiteral("SELECT COUNT(*), SUM(STATION), SUM(DEPTH), MAX(\"DATE\") FROM STATIONS_P"),
        QStringLiteral("SELECT COUNT(*), SUM(DEPTH_1), SUM(SALINITY), SUM(TEMPERATURE) FROM SAMPLES_PL"),
        QStringLiteral("SELECT COUNT(*), SUM(TAXON), SUM(ABUNDANCE), SUM(BIOMASS) FROM PLANKTON"),
        QStringLiteral("SELECT COUNT(*), SUM(TAXON), SUM(ABUNDANCE), SUM(BIOMASS) FROM DETAILS_PL"),
        QStringLiteral("SELECT COUNT(*), SUM(STATION), SUM(DEPTH), SUM(FLOW_SPEED) FROM SAMPLES_BE"),
        QStringLiteral("SELECT COUNT(*), SUM(TAXON), SUM(ABUNDANCE), SUM(BIOMASS) FROM BENTHOS"),
    };
    for (const QString& statement : sums) {
        for (const QVariant& v : query.rows(statement).value(0))
            parts << v.toString();
    }
    return parts.join(u'|');
}

void VelmarDbTest::demoIsDeterministic()
{
    const QString again = m_dir.filePath(QStringLiteral("again.fdb"));
    const RunResult result = runTool({QStringLiteral("create"), again, QStringLiteral("--demo")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(fingerprint(again), fingerprint(m_demo));
}

void VelmarDbTest::generatorsContinueAfterDemoKeys()
{
    const QList<QPair<QString, QString>> keys{
        {QStringLiteral("GEN_SEASONS_ID"), QStringLiteral("SELECT MAX(SEASON_ID) FROM SEASONS")},
        {QStringLiteral("GEN_STATIONS_P_ID"), QStringLiteral("SELECT MAX(ID) FROM STATIONS_P")},
        {QStringLiteral("GEN_SAMPLES_PL_ID"), QStringLiteral("SELECT MAX(ID) FROM SAMPLES_PL")},
        {QStringLiteral("GEN_PLANKTON_ID"), QStringLiteral("SELECT MAX(ID) FROM PLANKTON")},
        {QStringLiteral("GEN_DETAILS_PL_ID"), QStringLiteral("SELECT MAX(ID) FROM DETAILS_PL")},
        {QStringLiteral("GEN_YEARS_ID"), QStringLiteral("SELECT MAX(ID) FROM YEARS")},
        {QStringLiteral("GEN_SAMPLES_BE_ID"), QStringLiteral("SELECT MAX(ID) FROM SAMPLES_BE")},
        {QStringLiteral("GEN_BENTHOS_ID"), QStringLiteral("SELECT MAX(ID) FROM BENTHOS")},
    };
    for (const auto& [generator, maxKey] : keys) {
        const qlonglong current =
            sql().value(QStringLiteral("SELECT GEN_ID(%1, 0) FROM RDB$DATABASE").arg(generator)).toLongLong();
        QVERIFY2(current == sql().value(maxKey).toLongLong(), qPrintable(generator));
    }
}

void VelmarDbTest::coordinatesOfEveryStationLieInTheSea()
{
    using geo::SeaOutline;
    const QList<QVariantList> rows = sql().rows(QStringLiteral(
        "SELECT STATION, ST_CHAR, STATION_NAME, LAT_DEG, LAT_MIN, LON_DEG, LON_MIN, LATITUDE, LONGITUDE "
        "FROM COORDINATES ORDER BY STATION, ST_CHAR"));
    QSet<int> numbers;
    QSet<QString> names;
    QSet<QPair<int, int>> places;
    for (const QVariantList& row : rows) {
        const int station = row[0].toInt();
        const QString letter = row[1].toString();
        numbers.insert(station);
        names.insert(row[2].toString());
        QCOMPARE(row[2].toString(), QString::number(station) + letter);
        const int latDeg = row[3].toInt(), latMin = row[4].toInt(), lonDeg = row[5].toInt(),
                  lonMin = row[6].toInt();
        const QPointF position(lonDeg + lonMin / 60.0, latDeg + latMin / 60.0);
        QVERIFY2(SeaOutline::contains(position), qPrintable(row[2].toString()));
        QVERIFY(position.x() > SeaOutline::westLongitude && position.x() < SeaOutline::eastLongitude);
        QVERIFY(position.y() > SeaOutline::southLatitude && position.y() < SeaOutline::northLatitude);
        QCOMPARE(row[7].toString(),
                 QStringLiteral("%1\u00B0%2' N").arg(latDeg).arg(latMin, 2, 10, QChar(u'0')));
        QCOMPARE(row[8].toString(),
                 QStringLiteral("%1\u00B0%2' E").arg(lonDeg).arg(lonMin, 2, 10, QChar(u'0')));
        places.insert({latDeg * 60 + latMin, lonDeg * 60 + lonMin});
    }
    for (int station = 0; station <= 114; ++station)
        QVERIFY2(numbers.contains(station), qPrintable(QString::number(station)));
    QCOMPARE(numbers.size(), 115);
    QVERIFY(names.contains(QStringLiteral("12a")) && names.contains(QStringLiteral("12b")));
    QCOMPARE(places.size(), rows.size()); // no two stations on one spot

    // The outline is a real test: the corners of the map are land.
    QVERIFY(!SeaOutline::contains({SeaOutline::westLongitude + 0.01, SeaOutline::northLatitude - 0.01}));
    QVERIFY(!SeaOutline::contains({SeaOutline::eastLongitude - 0.01, SeaOutline::southLatitude + 0.01}));
}

void VelmarDbTest::mapFindsVisitsOfStationsWithAndWithoutLetter()
{
    // Every visit of a season shows on the map at its own station: letters compare with "=".
    const QList<QVariantList> seasons =
        sql().rows(QStringLiteral("SELECT FROM_DATE, TILL_DATE FROM SEASONS"));
    QVERIFY(!seasons.isEmpty());
    int lettered = 0;
    for (const QVariantList& season : seasons) {
        const QList<QVariantList> map = sql().rows(QString::fromLatin1(mapStations), season);
        const int visits =
            sql()
                .value(QStringLiteral("SELECT COUNT(*) FROM STATIONS_P WHERE \"DATE\" BETWEEN ? AND ?"),
                       season)
                .toInt();
        const qsizetype found =
            std::count_if(map.begin(), map.end(), [](const QVariantList& row) { return !row[9].isNull(); });
        QCOMPARE(found, qsizetype(visits));
        lettered += int(std::count_if(map.begin(), map.end(), [](const QVariantList& row) {
            return !row[9].isNull() && !row[1].toString().isEmpty();
        }));
    }
    QVERIFY(lettered > 0);
}

void VelmarDbTest::reportStatementsRunOnDemo()
{
    const QList<QVariantList> stations = sql().rows(QString::fromLatin1(reportStations), {0, 114});
    QVERIFY(stations.size() >= 115);
    const QList<QPair<int, int>> months{{4, 6}, {7, 8}, {9, 11}};
    int layers = 0;
    for (const auto& [first, last] : months) {
        for (const QVariantList& station : stations) {
            const QList<QVariantList> rows =
                sql().rows(QString::fromLatin1(reportLayers), {station[0], station[1], first, last});
            for (const QVariantList& row : rows) {
                const QString layer = row[6].toString();
                const QStringList ends = layer.split(QStringLiteral(" - "));
                QCOMPARE(ends.size(), 2);
                QVERIFY(ends[0].size() <= 6 && ends[1].size() <= 6);
                QVERIFY(layer.size() <= 15);
                ++layers;
            }
            if (!rows.isEmpty())
                QVERIFY(!sql().rows(QString::fromLatin1(reportTaxa), {rows.first()[0]}).isEmpty());
        }
    }
    // Stations without a letter are found too: every visit in the three windows yields its layer.
    const int visitsInSeasons =
        sql()
            .value(QStringLiteral("SELECT COUNT(*) FROM STATIONS_P WHERE EXTRACT(MONTH FROM "
                                  "\"DATE\") BETWEEN 4 AND 11"))
            .toInt();
    QCOMPARE(layers, visitsInSeasons);
}

void VelmarDbTest::largestScaleKeepsSampleKeysIn16Bits()
{
    const QString large = m_dir.filePath(QStringLiteral("large.fdb"));
    const RunResult result =
        runTool({QStringLiteral("create"), large, QStringLiteral("--scale"), QStringLiteral("10")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));

    fb::ConnectionParams params;
    params.database = large;
    fb::Attachment db = fb::Attachment::attach(params);
    fb::Transaction transaction(db, fb::TransactionOptions().setReadOnly(true));
    SqlHelper query(db, transaction);
    QVERIFY(query.value(QStringLiteral("SELECT COUNT(*) FROM PLANKTON")).toInt() >= 100000);
    QVERIFY(query.value(QStringLiteral("SELECT MAX(ID) FROM SAMPLES_PL")).toInt() <= 32767);
}

QTEST_GUILESS_MAIN(VelmarDbTest)
#include "tst_velmar_db.moc"
