// The zoobenthos chain of the data module on the rows of ChainRows.sql: samples that leave
// their year, new samples and counts, required fields, and the lists.

#include "ModuleFixture.h"

#include <QtTest>
#include <db/Error.h>

class TestZoobenthosChain : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sampleMovedOutOfItsYearStaysUntilReadAgain();
    void newSampleWithoutALetterIsStoredWithAnEmptyOne();
    void requiredFieldIsRefusedWithItsLabel_data();
    void requiredFieldIsRefusedWithItsLabel();
    void newCountStartsAtZeroAndRefreshesItsSample();
    void listsAndLookups();

private:
    bool goToYear(int yearId);
    // Moves dtsSamples2 to the sample and waits until its counts have been read for it.
    bool goToSample(int sampleId);

    std::unique_ptr<ModuleFixture> m_fixture;
    TMainDataModule* m = nullptr;
};

void TestZoobenthosChain::init()
{
    m_fixture = std::make_unique<ModuleFixture>();
    m = m_fixture->openModule();
    QVERIFY(m);
    QCOMPARE(m->dtsYears->field("ID")->asInteger(), 1);
    QCOMPARE(m->dtsSamples2->recordCount(), 2);
}

void TestZoobenthosChain::cleanup()
{
    m = nullptr;
    m_fixture.reset();
}

bool TestZoobenthosChain::goToYear(int yearId)
{
    if (!m->dtsYears->locate("ID", yearId))
        return false;
    return QTest::qWaitFor([this, yearId] {
        return m->dtsSamples2->paramValue("FROM_DATE") == m->dtsYears->field("FROM_DATE")->value() &&
               m->dtsYears->field("ID")->asInteger() == yearId;
    });
}

bool TestZoobenthosChain::goToSample(int sampleId)
{
    if (!m->dtsSamples2->locate("ID", sampleId))
        return false;
    return QTest::qWaitFor([this, sampleId] { return m->dtsBenthos->paramValue("ID").toInt() == sampleId; });
}

void TestZoobenthosChain::sampleMovedOutOfItsYearStaysUntilReadAgain()
{
    QVERIFY(m->dtsSamples2->locate("ID", 2));
    QVERIFY(m->dtsSamples2->edit());
    m->dtsSamples2->field("DATE")->setText("03.03.2011");
    QVERIFY(m->dtsSamples2->post());

    QCOMPARE(m->dtsSamples2->recordCount(), 2);
    QCOMPARE(m->dtsSamples2->field("ID")->asInteger(), 2);
    QCOMPARE(m->dtsSamples2->field("DATE")->displayText(), QString("03.03.2011"));
    QCOMPARE(m_fixture->scalar(R"(SELECT "DATE" FROM SAMPLES_BE WHERE ID = 2)").toDate(), QDate(2011, 3, 3));

    QVERIFY(goToYear(2));
    QVERIFY(m->dtsSamples2->findRow("ID", 2) >= 0);
    QVERIFY(goToYear(1));
    QCOMPARE(m->dtsSamples2->findRow("ID", 2), -1);
}

void TestZoobenthosChain::newSampleWithoutALetterIsStoredWithAnEmptyOne()
{
    QVERIFY(m->dtsSamples2->append());
    QCOMPARE(m->dtsSamples2->field("SAMPLES_NUMBER")->asInteger(), 1);
    QVERIFY(m->dtsSamples2->field("DATE")->isNull()); // no link gives a benthos sample a date
    m->dtsSamples2->field("STATION")->setValue(77);
    m->dtsSamples2->field("DATE")->setText("01.09.2010");
    QVERIFY(m->dtsSamples2->post());

    const int id = m->dtsSamples2->field("ID")->asInteger();
    QVERIFY(id >= 100);
    QCOMPARE(m->dtsSamples2->field("STATION_NAME")->displayText(), QString("77"));
    QCOMPARE(m->dtsSamples2->field("ST_CHAR")->value().toString(), QString());
    QCOMPARE(
        m_fixture->scalar("SELECT '[' || TRIM(ST_CHAR) || ']' FROM SAMPLES_BE WHERE ID = ?", {id}).toString(),
        QString("[]"));
    QCOMPARE(m_fixture->scalar("SELECT SAMPLES_NUMBER FROM SAMPLES_BE WHERE ID = ?", {id}).toInt(), 1);
}

void TestZoobenthosChain::requiredFieldIsRefusedWithItsLabel_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");

    QTest::newRow("number, named by its column") << "STATION"
                                                 << "STATION";
    QTest::newRow("letter set to NULL") << "ST_CHAR"
                                        << "ST_CHAR";
    QTest::newRow("date, named by its label") << "DATE"
                                              << "Date";
}

void TestZoobenthosChain::requiredFieldIsRefusedWithItsLabel()
{
    QFETCH(QString, field);
    QFETCH(QString, label);

    QVERIFY(m->dtsSamples2->append());
    m->dtsSamples2->field("STATION")->setValue(78);
    m->dtsSamples2->field("DATE")->setText("02.09.2010");
    m->dtsSamples2->field(field)->clear();
    try {
        m->dtsSamples2->post();
        QFAIL("posted without a required value");
    } catch (const db::Error& e) {
        QVERIFY2(e.message().contains("'" + label + "'"), qPrintable(e.message()));
    }
    QCOMPARE(m->dtsSamples2->state(), db::DataSetState::Insert);
    QCOMPARE(m_fixture->scalar("SELECT COUNT(*) FROM SAMPLES_BE WHERE STATION = 78").toInt(), 0);
}

void TestZoobenthosChain::newCountStartsAtZeroAndRefreshesItsSample()
{
    QVERIFY(goToSample(1));
    QCOMPARE(m->dtsBenthos->recordCount(), 1);
    QSignalSpy sampleRefreshed(m->dtsSamples2, &db::DataSet::afterRefresh);

    QVERIFY(m->dtsBenthos->append());
    QCOMPARE(m->dtsBenthos->field("SAMPLE")->asInteger(), 1);
    QCOMPARE(m->dtsBenthos->field("ABUNDANCE")->value().toDouble(), 0.0);
    QCOMPARE(m->dtsBenthos->field("BIOMASS")->displayText(), QString("0.000"));
    try {
        m->dtsBenthos->post();
        QFAIL("posted without a taxon");
    } catch (const db::Error& e) {
        QVERIFY2(e.message().contains("'Taxon'"), qPrintable(e.message()));
    }
    m->dtsBenthos->field("TAXON_NAME")->setText("Nereis diversicolor");
    QVERIFY(m->dtsBenthos->post());
    QCOMPARE(m->dtsBenthos->recordCount(), 2);
    QCOMPARE(m->dtsBenthos->field("TAXON")->asInteger(), 4);
    QCOMPARE(m_fixture->scalar("SELECT COUNT(*) FROM BENTHOS WHERE SAMPLE = 1 AND TAXON = 4").toInt(), 1);
    QCOMPARE(sampleRefreshed.count(), 1);
}

void TestZoobenthosChain::listsAndLookups()
{
    QCOMPARE(m->dtsSediments->recordCount(), m_fixture->scalar("SELECT COUNT(*) FROM SEDIMENTS").toInt());
    QVERIFY(m->dtsSediments->findField("SEDIMENT_EN"));
    QVERIFY(!m->dtsSediments->canModify());
    QVERIFY(!m->dtsSamplers->canModify());
    QCOMPARE(m->dtsSamplers->recordCount(), 5);
    QVERIFY(goToSample(1));
    QCOMPARE(m->dtsBenthos->field("TAXON_NAME")->displayText(), QString("Tubifex tubifex"));
    QCOMPARE(m->dtsSamples2->field("SQUARE")->displayText(), QString("0.100"));
    QCOMPARE(m->dtsSamples2->field("DEPTH")->displayText(), QString("10.0 m"));
}

QTEST_GUILESS_MAIN(TestZoobenthosChain)
#include "tst_chain_zoobenthos.moc"
