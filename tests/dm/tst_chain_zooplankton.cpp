// The zooplankton chain of the data module on the rows of ChainRows.sql: the delayed re-read,
// new and changed visits, the silent refusals, the sample parent rule, the layer text, the row
// lock, sub-taxon counts under their taxon, required fields, failed stores, the tree rebuild.

#include "ModuleFixture.h"

#include <QSignalSpy>
#include <QtTest>
#include <db/Error.h>
#include <db/NumberFormat.h>
#include <fb/Error.h>
#include <stdexcept>

namespace {

// Counts the calls of the rebuild bracket; can fail the rebuild.
class RecordingTree : public SampleTree
{
public:
    void beginUpdate() override { ++begun; }
    void rebuild() override
    {
        ++rebuilt;
        if (failing)
            throw std::runtime_error("tree rebuild failed");
    }
    void endUpdate() override { ++ended; }

    int begun = 0;
    int rebuilt = 0;
    int ended = 0;
    bool failing = false;
};

QVariant valueAt(db::DataSet* dataSet, const QString& field)
{
    return dataSet->field(field)->value();
}

} // namespace

class TestZooplanktonChain : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tenSeasonMovesReadTheStationsOnceWithTheChainBelow();
    void newVisitStoresItsDate_data();
    void newVisitStoresItsDate();
    void visitMovedOutOfItsSeasonLeavesTheList();
    void visitWithSamplesIsNotDeleted();
    void sampleParentRule();
    void horizon_data();
    void horizon();
    void editedVisitStaysLockedUntilTheNextStoredChange();
    void subTaxonCountsListedOnlyUnderTheirTaxon();
    void newCountsAndSubTaxonCounts();
    void seasonUpdateByItsOldKeyAndQuotedYear();
    void requiredFieldIsRefusedWithItsLabel_data();
    void requiredFieldIsRefusedWithItsLabel();
    void failedInsertKeepsTheNewRow();
    void sampleTreeRebuiltOncePerVisitChange();
    void sampleTreeWaitsForTheMainWindow();
    void sampleTreeUpdateEndsWhenTheRebuildFails();
    void emptyCountLinksToTopLevelTaxa();
    void visitIsFoundByNumberAndLetter();
    void fieldsShowTheirFormats_data();
    void fieldsShowTheirFormats();

private:
    // Moves dtsStations to the visit and waits until the chain below has been read for it.
    bool goToVisit(int visitId);
    bool goToSample(int sampleId);

    std::unique_ptr<ModuleFixture> m_fixture;
    TMainDataModule* m = nullptr;
};

void TestZooplanktonChain::init()
{
    m_fixture = std::make_unique<ModuleFixture>();
    m = m_fixture->openModule();
    QVERIFY(m);
    QCOMPARE(valueAt(m->dtsSeasons, "SEASON_ID").toInt(), 1);
    QCOMPARE(valueAt(m->dtsStations, "ID").toInt(), 11);
}

void TestZooplanktonChain::cleanup()
{
    m = nullptr;
    m_fixture.reset();
}

bool TestZooplanktonChain::goToVisit(int visitId)
{
    if (!m->dtsStations->locate("ID", visitId))
        return false;
    return QTest::qWaitFor([this, visitId] { return m->dtsSamples1->paramValue("ID").toInt() == visitId; },
                           5000);
}

bool TestZooplanktonChain::goToSample(int sampleId)
{
    if (!m->dtsSamples1->locate("ID", sampleId))
        return false;
    return QTest::qWaitFor([this, sampleId] { return m->dtsPlankton->paramValue("ID").toInt() == sampleId; },
                           5000);
}

void TestZooplanktonChain::tenSeasonMovesReadTheStationsOnceWithTheChainBelow()
{
    int stationReads = 0;
    QMap<QString, int> readsBelow;
    bool chainFollowed = false;
    for (db::DataSet* below : {m->dtsSamples1, m->dtsPlankton, m->dtsDetails})
        connect(below, &db::DataSet::afterOpen, this,
                [&readsBelow, below] { ++readsBelow[below->objectName()]; });
    connect(m->dtsStations, &db::DataSet::afterOpen, this, [&] {
        ++stationReads;
        readsBelow.clear();
        // Runs as soon as this re-read returns to the event loop, long before a wait of its own
        // could end: by then the chain below must have followed.
        QMetaObject::invokeMethod(
            this,
            [&] {
                chainFollowed = readsBelow.value("dtsSamples1") == 1 &&
                                readsBelow.value("dtsPlankton") == 1 && readsBelow.value("dtsDetails") == 1 &&
                                valueAt(m->dtsSamples1, "STATION") == valueAt(m->dtsStations, "ID") &&
                                valueAt(m->dtsPlankton, "SAMPLE") == valueAt(m->dtsSamples1, "ID");
            },
            Qt::QueuedConnection);
    });

    for (int i = 0; i < 10; ++i) {
        m->dtsSeasons->next();
        QTest::qWait(50); // each move restarts the wait, though all of them take longer than it
    }
    QCOMPARE(valueAt(m->dtsSeasons, "SEASON_ID").toInt(), 11);
    QCOMPARE(stationReads, 0);
    QCOMPARE(valueAt(m->dtsStations, "ID").toInt(), 11); // still the old rows

    QTRY_COMPARE(stationReads, 1);
    QTRY_VERIFY(chainFollowed);
    QCOMPARE(valueAt(m->dtsStations, "ID").toInt(), 111);
    QCOMPARE(valueAt(m->dtsSamples1, "ID").toInt(), 11101);

    QTest::qWait(db::MasterScrollWaitMs + 100);
    QCOMPARE(stationReads, 1);
    QCOMPARE(readsBelow.value("dtsSamples1"), 1);
}

void TestZooplanktonChain::newVisitStoresItsDate_data()
{
    QTest::addColumn<QString>("typedDate");
    QTest::addColumn<QDate>("stored");
    QTest::addColumn<bool>("listed");

    QTest::newRow("left alone: the season's first day") << QString() << QDate(2010, 4, 1) << true;
    QTest::newRow("typed within the season") << "15.05.2010" << QDate(2010, 5, 15) << true;
    QTest::newRow("typed outside the season") << "15.07.2010" << QDate(2010, 7, 15) << false;
}

void TestZooplanktonChain::newVisitStoresItsDate()
{
    QFETCH(QString, typedDate);
    QFETCH(QDate, stored);
    QFETCH(bool, listed);

    QVERIFY(m->dtsStations->append());
    QCOMPARE(m->dtsStations->field("DATE")->value().toDate(), QDate(2010, 4, 1));
    m->dtsStations->field("STATION")->setValue(40);
    m->dtsStations->field("DEPTH")->setText("3.5");
    if (!typedDate.isEmpty())
        m->dtsStations->field("DATE")->setText(typedDate);
    QVERIFY(m->dtsStations->post());

    QCOMPARE(m_fixture->scalar(R"(SELECT "DATE" FROM STATIONS_P WHERE STATION = 40)").toDate(), stored);
    QCOMPARE(m_fixture->scalar("SELECT '[' || ST_CHAR || ']' FROM STATIONS_P WHERE STATION = 40").toString(),
             QString("[ ]")); // an empty letter, not NULL
    QCOMPARE(m->dtsStations->findRow("STATION", 40) >= 0, listed);
    if (listed) {
        // The name that the database produced, read back at once.
        QCOMPARE(m->dtsStations->field("STATION_NAME")->displayText(), QString("40"));
        QCOMPARE(m->dtsStations->field("DATE")->value().toDate(), stored);
    }
}

void TestZooplanktonChain::visitMovedOutOfItsSeasonLeavesTheList()
{
    QVERIFY(goToVisit(13));
    QVERIFY(m->dtsStations->edit());
    m->dtsStations->field("DATE")->setText("20.07.2010");
    QVERIFY(m->dtsStations->post());

    QCOMPARE(m->dtsStations->recordCount(), 2);
    QCOMPARE(m->dtsStations->findRow("ID", 13), -1);
    QCOMPARE(m_fixture->scalar(R"(SELECT "DATE" FROM STATIONS_P WHERE ID = 13)").toDate(),
             QDate(2010, 7, 20));

    QVERIFY(m->dtsSeasons->locate("SEASON_ID", 2));
    QTRY_COMPARE(m->dtsStations->paramValue("FROM_DATE").toDate(), QDate(2010, 7, 1));
    QVERIFY(m->dtsStations->findRow("ID", 13) >= 0);
}

void TestZooplanktonChain::visitWithSamplesIsNotDeleted()
{
    QVERIFY(m->dtsSeasons->locate("SEASON_ID", 2));
    QTRY_COMPARE(m->dtsSamples1->paramValue("ID").toInt(), 21);
    QCOMPARE(m->dtsSamples1->recordCount(), 1);
    QSignalSpy deleted(m->dtsStations, &db::DataSet::afterDelete);
    QVERIFY(!m->dtsStations->remove());
    QCOMPARE(deleted.count(), 0);
    QCOMPARE(valueAt(m->dtsStations, "ID").toInt(), 21);
    QCOMPARE(m_fixture->scalar("SELECT COUNT(*) FROM STATIONS_P WHERE ID = 21").toInt(), 1);
    QCOMPARE(m_fixture->scalar("SELECT COUNT(*) FROM SAMPLES_PL WHERE STATION = 21").toInt(), 1);

    // Without its samples the visit goes.
    QVERIFY(m->dtsSamples1->remove());
    QCOMPARE(m->dtsSamples1->recordCount(), 0);
    QVERIFY(m->dtsStations->remove());
    QCOMPARE(m_fixture->scalar("SELECT COUNT(*) FROM STATIONS_P WHERE ID = 21").toInt(), 0);
}

void TestZooplanktonChain::sampleParentRule()
{
    QVERIFY(goToVisit(12));
    QVERIFY(m->dtsSamples1->isEmpty());

    // The first sample of a visit is a top-level sample.
    QVERIFY(m->dtsSamples1->insert());
    QVERIFY(m->dtsSamples1->field("PARENT")->isNull());
    QCOMPARE(valueAt(m->dtsSamples1, "STATION").toInt(), 12);
    QCOMPARE(m->dtsSamples1->field("HORIZON")->displayText(), QString("? - ? m"));
    QVERIFY(m->dtsSamples1->post());
    const int top = valueAt(m->dtsSamples1, "ID").toInt();
    QVERIFY(top > 0);
    QCOMPARE(
        m_fixture->scalar("SELECT STATION FROM SAMPLES_PL WHERE ID = ? AND PARENT IS NULL", {top}).toInt(),
        12);

    // With a top-level sample current, a new sample is a sub-layer of it.
    QVERIFY(m->dtsSamples1->insert());
    QCOMPARE(valueAt(m->dtsSamples1, "PARENT").toInt(), top);
    m->dtsSamples1->field("DEPTH_0")->setText("0");
    m->dtsSamples1->field("DEPTH_1")->setText("5");
    QVERIFY(m->dtsSamples1->post());
    const int sub = valueAt(m->dtsSamples1, "ID").toInt();
    QCOMPARE(m_fixture->scalar("SELECT PARENT FROM SAMPLES_PL WHERE ID = ? AND STATION = 12", {sub}).toInt(),
             top);

    // With a sub-layer current, nothing happens.
    QVERIFY(m->dtsSamples1->locate("ID", sub));
    const int rows = m->dtsSamples1->recordCount();
    QSignalSpy inserted(m->dtsSamples1, &db::DataSet::afterInsert);
    QVERIFY(!m->dtsSamples1->insert());
    QCOMPARE(m->dtsSamples1->state(), db::DataSetState::Browse);
    QCOMPARE(m->dtsSamples1->recordCount(), rows);
    QCOMPARE(valueAt(m->dtsSamples1, "ID").toInt(), sub);
    QCOMPARE(inserted.count(), 0);
}

void TestZooplanktonChain::horizon_data()
{
    QTest::addColumn<int>("visit");
    QTest::addColumn<int>("sample");
    QTest::addColumn<QString>("horizon");

    QTest::newRow("both depths") << 11 << 1101 << "0 - 10 m";
    QTest::newRow("no second depth") << 11 << 1102 << "2.5 - ? m";
    QTest::newRow("no depths") << 13 << 1301 << "? - ? m";
    QTest::newRow("cut to 15 characters") << 13 << 1302 << "1234.5 - 9999.9";
}

void TestZooplanktonChain::horizon()
{
    QFETCH(int, visit);
    QFETCH(int, sample);
    QFETCH(QString, horizon);

    QVERIFY(goToVisit(visit));
    const int row = m->dtsSamples1->findRow("ID", sample);
    QVERIFY(row >= 0);
    QCOMPARE(m->dtsSamples1->field("HORIZON")->displayText(row), horizon);
}

void TestZooplanktonChain::editedVisitStaysLockedUntilTheNextStoredChange()
{
    fb::Attachment other = fb::Attachment::attach(m_fixture->params());
    auto otherUpdates = [&other] {
        fb::Transaction transaction(
            other, fb::TransactionOptions().setIsolation(fb::Isolation::ReadCommitted).setWait(false));
        try {
            fb::Statement(other, transaction, "UPDATE STATIONS_P SET DEPTH = 99 WHERE ID = 11")
                .execute(transaction);
        } catch (const fb::Error&) {
            transaction.rollback();
            return false;
        }
        transaction.rollback();
        return true;
    };
    QVERIFY(otherUpdates());

    QVERIFY(m->dtsStations->edit());
    QVERIFY(!otherUpdates());
    m->dtsStations->cancel();
    QVERIFY(!otherUpdates());

    // The next stored change of any dataset commits the write transaction.
    QVERIFY(goToVisit(12));
    QVERIFY(m->dtsSamples1->insert());
    QVERIFY(m->dtsSamples1->post());
    QVERIFY(otherUpdates());
    other.detach();
}

void TestZooplanktonChain::subTaxonCountsListedOnlyUnderTheirTaxon()
{
    QVERIFY(m->dtsPlankton->locate("ID", 110101));
    QTRY_COMPARE(m->dtsDetails->paramValue("ID").toInt(), 110101);
    auto listed = [this] {
        QList<int> taxa;
        for (int row = 0; row < m->dtsDetails->recordCount(); ++row)
            taxa << m->dtsDetails->field("TAXON")->value(row).toInt();
        return taxa;
    };
    const QList<int> taxon1 = {10010, 10011, 10012};
    QCOMPARE(listed(), taxon1);
    QCOMPARE(m->dtsTaxonsP2->recordCount(), 3);
    QCOMPARE(m->dtsDetails->field("TAXON_NAME")->displayText(0), QString("Calanipeda aquaedulcis, nauplii"));

    auto changeTaxon = [this](int taxon) {
        QVERIFY(m->dtsPlankton->edit());
        m->dtsPlankton->field("TAXON")->setValue(taxon);
        QVERIFY(m->dtsPlankton->post());
        QTRY_COMPARE(m->dtsDetails->paramValue("TAXON").toInt(), taxon);
    };
    changeTaxon(2); // the database adds the sub-taxon counts of taxon 2
    QCOMPARE(listed(), (QList<int>{10020, 10021, 10022}));
    changeTaxon(4); // no sub-taxa
    QCOMPARE(listed(), QList<int>());
    QCOMPARE(m->dtsTaxonsP2->recordCount(), 0);
    QCOMPARE(m_fixture->scalar("SELECT COUNT(*) FROM DETAILS_PL WHERE PARENT = 110101").toInt(), 6);
    changeTaxon(1);
    QCOMPARE(listed(), taxon1);
}

void TestZooplanktonChain::newCountsAndSubTaxonCounts()
{
    QVERIFY(goToVisit(13));
    QVERIFY(goToSample(1301));
    QVERIFY(m->dtsPlankton->isEmpty());

    QVERIFY(m->dtsPlankton->append());
    QCOMPARE(valueAt(m->dtsPlankton, "SAMPLE").toInt(), 1301);
    QCOMPARE(valueAt(m->dtsPlankton, "ABUNDANCE").toDouble(), 0.0);
    QCOMPARE(valueAt(m->dtsPlankton, "BIOMASS").toDouble(), 0.0);
    m->dtsPlankton->field("TAXON_NAME")->setText("Calanipeda aquaedulcis");
    QCOMPARE(valueAt(m->dtsPlankton, "TAXON").toInt(), 1);
    QVERIFY(m->dtsPlankton->post());
    // Re-read by its refresh statement (its :ID is the sample's), so it stays listed.
    QCOMPARE(m->dtsPlankton->recordCount(), 1);
    const int count = valueAt(m->dtsPlankton, "ID").toInt();
    QCOMPARE(m_fixture->scalar("SELECT SAMPLE FROM PLANKTON WHERE ID = ?", {count}).toInt(), 1301);
    QTRY_COMPARE(m->dtsDetails->recordCount(), 3);

    // A new sub-taxon count starts under the count and its taxon, without values.
    QVERIFY(m->dtsDetails->append());
    QCOMPARE(valueAt(m->dtsDetails, "PARENT").toInt(), count);
    QCOMPARE(valueAt(m->dtsDetails, "PARENT_TAXON").toInt(), 1);
    QVERIFY(m->dtsDetails->field("ABUNDANCE")->isNull());
    m->dtsDetails->cancel();

    // Storing a sub-taxon count re-reads the count, whose total the database derived.
    QVERIFY(m->dtsDetails->edit());
    m->dtsDetails->field("ABUNDANCE")->setText("7.5");
    QVERIFY(m->dtsDetails->post());
    QCOMPARE(valueAt(m->dtsPlankton, "ABUNDANCE").toDouble(), 7.5);
    QCOMPARE(m_fixture->scalar("SELECT PARENT_TAXON FROM DETAILS_PL WHERE ABUNDANCE = 7.5").toInt(), 1);
}

void TestZooplanktonChain::seasonUpdateByItsOldKeyAndQuotedYear()
{
    QVERIFY(m->dtsSeasons->locate("SEASON_ID", 13));
    QVERIFY(m->dtsSeasons->edit());
    m->dtsSeasons->field("YEAR")->setValue(2015);
    m->dtsSeasons->field("TILL_DATE")->setText("31.07.2014");
    QVERIFY(m->dtsSeasons->post());
    QCOMPARE(m_fixture->scalar(R"(SELECT "YEAR" FROM SEASONS WHERE SEASON_ID = 13 AND SEASON = 1)").toInt(),
             2015);
    QCOMPARE(m_fixture->scalar("SELECT TILL_DATE FROM SEASONS WHERE SEASON_ID = 13").toDate(),
             QDate(2014, 7, 31));
    QCOMPARE(m_fixture->scalar(R"(SELECT COUNT(*) FROM SEASONS WHERE "YEAR" = 2015)").toInt(), 1);
}

void TestZooplanktonChain::requiredFieldIsRefusedWithItsLabel_data()
{
    QTest::addColumn<QString>("dataSet");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("label");

    QTest::newRow("count without taxon") << "dtsPlankton"
                                         << "PLANKTON"
                                         << "Taxon";
    QTest::newRow("sub-taxon count without taxon") << "dtsDetails"
                                                   << "DETAILS_PL"
                                                   << "Taxon";
}

void TestZooplanktonChain::requiredFieldIsRefusedWithItsLabel()
{
    QFETCH(QString, dataSet);
    QFETCH(QString, table);
    QFETCH(QString, label);

    auto* dts = m->findChild<db::DataSet*>(dataSet);
    QVERIFY(dts);
    const QString countRows = "SELECT COUNT(*) FROM " + table;
    const int stored = m_fixture->scalar(countRows).toInt();
    QVERIFY(dts->append());
    try {
        dts->post();
        QFAIL("posted without a taxon");
    } catch (const db::Error& e) {
        QVERIFY2(e.message().contains("'" + label + "'"), qPrintable(e.message()));
    }
    QCOMPARE(dts->state(), db::DataSetState::Insert);
    QCOMPARE(m_fixture->scalar(countRows).toInt(), stored);
}

void TestZooplanktonChain::failedInsertKeepsTheNewRow()
{
    QVERIFY(goToVisit(12));
    QVERIFY(m->dtsSamples1->insert());
    m->dtsSamples1->field("DEPTH_0")->setText("10000"); // beyond what a depth may be
    m->dtsSamples1->field("COMMENTS")->setValue("kept");
    QVERIFY_THROWS_EXCEPTION(fb::Error, m->dtsSamples1->post());
    QCOMPARE(m->dtsSamples1->state(), db::DataSetState::Insert);
    QCOMPARE(valueAt(m->dtsSamples1, "DEPTH_0").toDouble(), 10000.0);
    QCOMPARE(valueAt(m->dtsSamples1, "COMMENTS").toString(), QString("kept"));
    QCOMPARE(m_fixture->scalar("SELECT COUNT(*) FROM SAMPLES_PL WHERE STATION = 12").toInt(), 0);

    m->dtsSamples1->field("DEPTH_0")->setText("10");
    QVERIFY(m->dtsSamples1->post());
    QCOMPARE(m_fixture->scalar("SELECT COUNT(*) FROM SAMPLES_PL WHERE STATION = 12").toInt(), 1);
    QCOMPARE(m->dtsSamples1->field("HORIZON")->displayText(), QString("10 - ? m"));
}

void TestZooplanktonChain::sampleTreeRebuiltOncePerVisitChange()
{
    RecordingTree tree;
    m->setSampleTree(&tree);
    // Visit 12 has no samples: its change waits for the next visit that has some.
    const QList<std::pair<int, int>> visitsAndRebuilds = {{13, 1}, {11, 1}, {12, 0}, {13, 1}};
    for (const auto& [visit, rebuilds] : visitsAndRebuilds) {
        const int before = tree.rebuilt;
        QVERIFY(goToVisit(visit));
        QCOMPARE(tree.rebuilt, before + rebuilds);
    }
    // Moves within the samples of one visit don't rebuild it.
    m->dtsSamples1->next();
    m->dtsSamples1->first();
    QCOMPARE(tree.rebuilt, 3);
    QCOMPARE(tree.begun, 3);
    QCOMPARE(tree.ended, 3);
    m->setSampleTree(nullptr);
}

void TestZooplanktonChain::sampleTreeWaitsForTheMainWindow()
{
    QVERIFY(goToVisit(13));
    QVERIFY(m->StationChanged);
    RecordingTree tree;
    m->setSampleTree(&tree);
    m->dtsSamples1->next(); // the next move of the samples finds the tree
    QCOMPARE(tree.rebuilt, 1);
    QVERIFY(!m->StationChanged);
    m->dtsSamples1->refresh();
    QCOMPARE(tree.rebuilt, 1);
    m->setSampleTree(nullptr);
}

void TestZooplanktonChain::sampleTreeUpdateEndsWhenTheRebuildFails()
{
    RecordingTree tree;
    tree.failing = true;
    m->setSampleTree(&tree);
    m->StationChanged = true;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, m->dtsSamples1->refresh());
    QCOMPARE(tree.begun, 1);
    QCOMPARE(tree.ended, 1);
    m->setSampleTree(nullptr);
}

void TestZooplanktonChain::emptyCountLinksToTopLevelTaxa()
{
    // A visit without samples: no count is current, so the sub-taxon list compares PARENT with
    // NULL and lists the taxa that have no parent.
    QVERIFY(goToVisit(12));
    QVERIFY(m->dtsSamples1->isEmpty());
    QVERIFY(m->dtsPlankton->isEmpty());
    QVERIFY(m->dtsDetails->isEmpty());
    QCOMPARE(m->dtsTaxonsP2->recordCount(),
             m_fixture->scalar("SELECT COUNT(*) FROM TAXONS_P WHERE PARENT IS NULL").toInt());
}

void TestZooplanktonChain::visitIsFoundByNumberAndLetter()
{
    // As the map's "Go to station" finds a visit: a station without a letter by an empty one.
    QVERIFY(m->dtsStations->locate("STATION;ST_CHAR", QVariantList{7, ""}));
    QCOMPARE(valueAt(m->dtsStations, "ID").toInt(), 13);
    QVERIFY(m->dtsStations->locate("STATION;ST_CHAR", QVariantList{5, "a"}));
    QCOMPARE(valueAt(m->dtsStations, "ID").toInt(), 12);
    QVERIFY(m->dtsStations->locate("STATION;ST_CHAR", QVariantList{5, ""}));
    QCOMPARE(valueAt(m->dtsStations, "ID").toInt(), 11);
}

void TestZooplanktonChain::fieldsShowTheirFormats_data()
{
    QTest::addColumn<QString>("dataSet");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("keyValue");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");

    QTest::newRow("season from") << "dtsSeasons"
                                 << "SEASON_ID" << 1 << "FROM_DATE"
                                 << "01.04.2010";
    QTest::newRow("visit depth") << "dtsStations"
                                 << "ID" << 11 << "DEPTH"
                                 << "12.5 m";
    QTest::newRow("visit date") << "dtsStations"
                                << "ID" << 11 << "DATE"
                                << "10.04.2010";
    QTest::newRow("visit without depth") << "dtsStations"
                                         << "ID" << 13 << "DEPTH"
                                         << "";
    QTest::newRow("count abundance") << "dtsPlankton"
                                     << "ID" << 110102 << "ABUNDANCE"
                                     << "1500.25";
    QTest::newRow("count biomass") << "dtsPlankton"
                                   << "ID" << 110102 << "BIOMASS"
                                   << "0.123";
    QTest::newRow("count taxon name") << "dtsPlankton"
                                      << "ID" << 110102 << "TAXON_NAME"
                                      << "Mesocyclops leuckarti";
    QTest::newRow("sample depth") << "dtsSamples1"
                                  << "ID" << 1101 << "DEPTH_1"
                                  << "10.0 м";
}

void TestZooplanktonChain::fieldsShowTheirFormats()
{
    QFETCH(QString, dataSet);
    QFETCH(QString, key);
    QFETCH(int, keyValue);
    QFETCH(QString, field);
    QFETCH(QString, shown);

    auto* dts = m->findChild<db::DataSet*>(dataSet);
    QVERIFY(dts);
    const int row = dts->findRow(key, keyValue);
    QVERIFY(row >= 0);
    QCOMPARE(dts->field(field)->displayText(row), shown);
}

QTEST_GUILESS_MAIN(TestZooplanktonChain)
#include "tst_chain_zooplankton.moc"
