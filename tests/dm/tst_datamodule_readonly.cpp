// The data module on the demo collection: what opens when it connects, and the read-only
// datasets of the map, the chart and the reports with their parameters.

#include "ModuleFixture.h"

#include <QtTest>
#include <db/NumberFormat.h>

class TestReadOnlyData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void connectingOpensTheChains();
    void coordinates_data();
    void coordinates();
    void coordinatesOfTheYearFollowAtOnce();
    void chartOfTheCurrentSample();
    void reportByStations();
    void reportByTaxa();
    void closingTheConnectionClosesEverything();

private:
    int count(const QString& sql, const QVariantList& values = {}) const
    {
        return m_fixture->scalar(sql, values).toInt();
    }

    std::unique_ptr<ModuleFixture> m_fixture;
    TMainDataModule* m = nullptr;
};

void TestReadOnlyData::initTestCase()
{
    m_fixture = std::make_unique<ModuleFixture>(ModuleFixture::Content::Demo);
    m = m_fixture->createModule();
    QVERIFY(m);
}

void TestReadOnlyData::cleanupTestCase()
{
    m_fixture.reset();
}

void TestReadOnlyData::connectingOpensTheChains()
{
    // At once: the five that the connection opens, and the details without a wait.
    for (db::DataSet* open : {m->dtsSeasons, m->dtsYears, m->dtsSamples2, m->dtsSediments, m->dtsSamplers,
                              m->dtsCoordinates2, m->dtsChart2})
        QVERIFY2(open->isActive(), qPrintable(open->objectName()));
    QVERIFY(!m->dtsStations->isActive());
    QVERIFY(!m->dtsBenthos->isActive());

    // After their masters' waits, the rest of both chains.
    QTRY_VERIFY(m->dtsDetails->isActive() && m->dtsBenthos->isActive());
    for (db::DataSet* open :
         {m->dtsStations, m->dtsSamples1, m->dtsPlankton, m->dtsTaxonsP1, m->dtsTaxonsP2, m->dtsTaxonsB1})
        QVERIFY2(open->isActive(), qPrintable(open->objectName()));
    // Open only while a window or a report uses them.
    for (db::DataSet* closed : {m->dtsCoordinates1, m->dtsChart1, m->dtsReport10, m->dtsReport11,
                                m->dtsReport12, m->dtsReport20, m->dtsReport21})
        QVERIFY2(!closed->isActive(), qPrintable(closed->objectName()));
    QVERIFY(!m->dtsStations->isEmpty());
    QVERIFY(!m->dtsSamples2->isEmpty());
}

void TestReadOnlyData::coordinates_data()
{
    QTest::addColumn<QString>("dataSet");
    QTest::addColumn<QString>("visits");

    QTest::newRow("zooplankton") << "dtsCoordinates1"
                                 << "STATIONS_P";
    QTest::newRow("zoobenthos") << "dtsCoordinates2"
                                << "SAMPLES_BE";
}

void TestReadOnlyData::coordinates()
{
    QFETCH(QString, dataSet);
    QFETCH(QString, visits);

    auto* dts = m->findChild<db::DataSet*>(dataSet);
    QVERIFY(dts);
    dts->open();
    const QVariant from = dts->paramValue("FROM_DATE");
    const QVariant till = dts->paramValue("TILL_DATE");
    db::DataSet* master = dataSet == "dtsCoordinates1" ? m->dtsSeasons : m->dtsYears;
    QCOMPARE(from, master->field("FROM_DATE")->value());
    QCOMPARE(till, master->field("TILL_DATE")->value());

    // Every station once at least; one row for each visit in the window, letterless ones too.
    const int stations = count("SELECT COUNT(*) FROM COORDINATES");
    const int visited = count(QStringLiteral(R"(SELECT COUNT(*) FROM %1 S WHERE S."DATE" BETWEEN ? AND ?
                                 AND EXISTS (SELECT 1 FROM COORDINATES C
                                             WHERE C.STATION = S.STATION AND C.ST_CHAR = TRIM(S.ST_CHAR)))")
                                  .arg(visits),
                              {from, till});
    const int unvisited = count(QStringLiteral(R"(SELECT COUNT(*) FROM COORDINATES C WHERE NOT EXISTS
                                   (SELECT 1 FROM %1 S WHERE S."DATE" BETWEEN ? AND ?
                                    AND C.STATION = S.STATION AND C.ST_CHAR = TRIM(S.ST_CHAR)))")
                                    .arg(visits),
                                {from, till});
    QVERIFY(visited > 0);
    QCOMPARE(dts->recordCount(), visited + unvisited);
    QVERIFY(dts->recordCount() >= stations);

    int lettered = 0;
    for (int row = 0; row < dts->recordCount(); ++row) {
        const QVariant depth = dts->field("DEPTH")->value(row);
        const QString expected = depth.isNull() ? "? m" : db::formatGeneral(depth.toDouble()) + " m";
        QCOMPARE(dts->field("DEPTH2")->value(row).toString(), expected.left(8));
        if (dts->field("ID")->isNull(row))
            QCOMPARE(dts->field("DEPTH2")->value(row).toString(), QString("? m"));
        if (!dts->field("ST_CHAR")->isNull(row))
            ++lettered;
        if (row > 0)
            QVERIFY(dts->field("STATION")->value(row - 1).toInt() <=
                    dts->field("STATION")->value(row).toInt());
    }
    QVERIFY(lettered < dts->recordCount());
    const int twelveA = dts->findRow("STATION;ST_CHAR", QVariantList{12, "a"});
    QVERIFY(twelveA >= 0);
    QCOMPARE(dts->field("STATION_NAME")->displayText(twelveA), QString("12a"));
    const int seven = dts->findRow("STATION;ST_CHAR", QVariantList{7, ""});
    QVERIFY(seven >= 0);
    QVERIFY(dts->field("ST_CHAR")->isNull(seven));
    QCOMPARE(dts->field("STATION_NAME")->displayText(seven), QString("7"));
    if (dataSet == "dtsCoordinates1")
        dts->close();
}

void TestReadOnlyData::coordinatesOfTheYearFollowAtOnce()
{
    QVERIFY(m->dtsCoordinates2->isActive());
    m->dtsYears->next();
    QCOMPARE(m->dtsCoordinates2->paramValue("FROM_DATE"), m->dtsYears->field("FROM_DATE")->value());
    QCOMPARE(m->dtsChart2->isActive(), true);
    m->dtsYears->first();
    QTRY_COMPARE(m->dtsSamples2->paramValue("FROM_DATE"), m->dtsYears->field("FROM_DATE")->value());
}

void TestReadOnlyData::chartOfTheCurrentSample()
{
    QTRY_VERIFY(m->dtsPlankton->isActive());
    const QVariant sample = m->dtsSamples1->field("ID")->value();
    m->dtsChart1->open();
    QCOMPARE(m->dtsChart1->paramValue("ID"), sample);
    const int categories =
        count("SELECT COUNT(DISTINCT T.CATEGORY1) FROM PLANKTON P JOIN TAXONS_P T ON T.ID = P.TAXON "
              "WHERE P.SAMPLE = ?",
              {sample});
    QVERIFY(categories > 0);
    QCOMPARE(m->dtsChart1->recordCount(), categories);
    double abundance = 0;
    for (int row = 0; row < m->dtsChart1->recordCount(); ++row)
        abundance += m->dtsChart1->field("SUM_A")->value(row).toDouble();
    QCOMPARE(abundance,
             m_fixture->scalar("SELECT SUM(ABUNDANCE) FROM PLANKTON WHERE SAMPLE = ?", {sample}).toDouble());
    QCOMPARE(m->dtsChart1->field("SUM_A")->displayLabel(), QString("Abundance"));
    QVERIFY(!m->dtsChart1->canModify());
    m->dtsChart1->close();

    // The benthos chart follows its sample on its own, with the procedure's columns as fields.
    QVERIFY(m->dtsChart2->isActive());
    m->dtsSamples2->next();
    const QVariant benthosSample = m->dtsSamples2->field("ID")->value();
    QCOMPARE(m->dtsChart2->paramValue("ID"), benthosSample);
    QCOMPARE(m->dtsChart2->recordCount(),
             count("SELECT COUNT(DISTINCT T.CATEGORY) FROM BENTHOS B JOIN TAXONS_B T ON T.ID = B.TAXON "
                   "WHERE B.SAMPLE = ?",
                   {benthosSample}));
    for (const char* column : {"CATEGORY", "SUM_A", "SUM_B"})
        QVERIFY(m->dtsChart2->findField(column));
}

void TestReadOnlyData::reportByStations()
{
    m->dtsReport10->setParamValue("ST_1", 0);
    m->dtsReport10->setParamValue("ST_2", 114);
    m->dtsReport11->setParamValue("MONTH1", 7);
    m->dtsReport11->setParamValue("MONTH2", 8);
    m->dtsReport10->open();
    m->dtsReport11->open();
    m->dtsReport12->open();
    m->dtsReport10->fetchAll(); // read as needed, as the report walks it
    QCOMPARE(m->dtsReport10->recordCount(),
             count("SELECT COUNT(*) FROM (SELECT DISTINCT STATION, ST_CHAR FROM STATIONS_P "
                   "WHERE STATION BETWEEN 0 AND 114)"));

    // Walking the stations reads each one's visits and layers; a visit's taxa follow its row.
    int layers = 0;
    int letterless = 0;
    for (m->dtsReport10->first(); !m->dtsReport10->eof(); m->dtsReport10->next()) {
        layers += m->dtsReport11->recordCount();
        if (m->dtsReport10->field("ST_CHAR")->isNull() && !m->dtsReport11->isEmpty())
            ++letterless;
        for (int row = 0; row < m->dtsReport11->recordCount(); ++row) {
            QCOMPARE(m->dtsReport11->field("STATION")->value(row), m->dtsReport10->field("STATION")->value());
            const int month = m->dtsReport11->field("DATE")->value(row).toDate().month();
            QVERIFY(month == 7 || month == 8);
        }
    }
    const int expectedLayers = count(R"(SELECT COUNT(*) FROM (SELECT S.ID, P.DEPTH_0, P.DEPTH_1
        FROM STATIONS_P S JOIN SAMPLES_PL P ON P.STATION = S.ID JOIN PLANKTON N ON N.SAMPLE = P.ID
        WHERE P.PARENT IS NULL AND EXTRACT(MONTH FROM S."DATE") BETWEEN 7 AND 8
        GROUP BY S.ID, P.DEPTH_0, P.DEPTH_1))");
    QVERIFY(expectedLayers > 0);
    QCOMPARE(layers, expectedLayers);
    QVERIFY(letterless > 0);

    m->dtsReport10->first();
    while (m->dtsReport11->isEmpty())
        m->dtsReport10->next();
    const QVariant visit = m->dtsReport11->field("ID")->value();
    QCOMPARE(m->dtsReport12->paramValue("MAS_ID"), visit);
    QCOMPARE(
        m->dtsReport12->recordCount(),
        count(
            "SELECT COUNT(*) FROM PLANKTON N JOIN SAMPLES_PL P ON P.ID = N.SAMPLE "
            "JOIN TAXONS_P T ON T.ID = N.TAXON WHERE P.STATION = ? AND P.PARENT IS NULL AND T.PARENT IS NULL",
            {visit}));
    QVERIFY(!m->dsReport10->autoEdit());
    QVERIFY(!m->dtsReport11->canModify());

    // A narrower range holds only its numbers, every letter of them.
    m->dtsReport10->close();
    m->dtsReport10->setParamValue("ST_1", 12);
    m->dtsReport10->setParamValue("ST_2", 12);
    m->dtsReport10->open();
    m->dtsReport10->fetchAll();
    QCOMPARE(
        m->dtsReport10->recordCount(),
        count("SELECT COUNT(*) FROM (SELECT DISTINCT STATION, ST_CHAR FROM STATIONS_P WHERE STATION = 12)"));
    for (int row = 0; row < m->dtsReport10->recordCount(); ++row)
        QCOMPARE(m->dtsReport10->field("STATION")->value(row).toInt(), 12);
    m->dtsReport12->close();
    m->dtsReport11->close();
    m->dtsReport10->close();
}

void TestReadOnlyData::reportByTaxa()
{
    m->dtsReport20->open();
    m->dtsReport20->fetchAll();
    QCOMPARE(m->dtsReport20->recordCount(),
             count("SELECT COUNT(*) FROM TAXONS_P WHERE PARENT IS NULL AND ID < 1000"));
    QCOMPARE(m->dtsReport20->field("ID")->asInteger(), 1);
    QVERIFY(!m->dtsReport20->field("ID")->isVisible());
    QCOMPARE(m->dtsReport20->field("TAXON")->displayLabel(), QString("Таксон"));

    m->dtsReport10->setParamValue("ST_1", 0);
    m->dtsReport10->setParamValue("ST_2", 114);
    m->dtsReport21->setParamValue("TAXON", 1);
    m->dtsReport21->setParamValue("MONTH1", 4);
    m->dtsReport21->setParamValue("MONTH2", 6);
    m->dtsReport10->open();
    m->dtsReport21->open();
    int samples = 0;
    for (m->dtsReport10->first(); !m->dtsReport10->eof(); m->dtsReport10->next()) {
        QCOMPARE(m->dtsReport21->paramValue("STATION"), m->dtsReport10->field("STATION")->value());
        samples += m->dtsReport21->recordCount();
    }
    const int expected = count(R"(SELECT COUNT(*) FROM STATIONS_P S JOIN SAMPLES_PL P ON P.STATION = S.ID
        JOIN PLANKTON N ON N.SAMPLE = P.ID
        WHERE N.TAXON = 1 AND P.PARENT IS NULL AND EXTRACT(MONTH FROM S."DATE") BETWEEN 4 AND 6)");
    QVERIFY(expected > 0);
    QCOMPARE(samples, expected);
    m->dtsReport21->close();
    m->dtsReport10->close();
    m->dtsReport20->close();
}

void TestReadOnlyData::closingTheConnectionClosesEverything()
{
    m->dtsCoordinates1->open();
    m->closeConnection();
    for (db::DataSet* dts : m->findChildren<db::DataSet*>())
        QVERIFY2(!dts->isActive(), qPrintable(dts->objectName()));
    m->openConnection();
    QVERIFY(m->dtsSeasons->isActive());
    QTRY_VERIFY(m->dtsDetails->isActive());
}

QTEST_GUILESS_MAIN(TestReadOnlyData)
#include "tst_datamodule_readonly.moc"
