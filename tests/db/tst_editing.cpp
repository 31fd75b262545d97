// Storing rows on the real schema: new rows with links, defaults and generator keys, the
// required check, failures that keep the user's values, the row lock, refreshes that find
// no row, deletes and their rules.
#include "DbFixture.h"

#include <QSignalSpy>
#include <QTest>
#include <db/Error.h>
#include <fb/Error.h>

namespace {

const char* const Rows = R"(
INSERT INTO SEASONS (SEASON_ID, "YEAR", FROM_DATE, TILL_DATE, SEASON) VALUES (1, 2020, '2020-07-01', '2020-08-31', 1);
INSERT INTO SEASONS (SEASON_ID, "YEAR", FROM_DATE, TILL_DATE, SEASON) VALUES (2, 2020, '2020-09-01', '2020-09-30', 2);
INSERT INTO TAXONS_P (ID, PARENT, CATEGORY1, CATEGORY2, TAXON) VALUES (1, NULL, 1, 1, 'Calanus');
INSERT INTO TAXONS_P (ID, PARENT, CATEGORY1, CATEGORY2, TAXON) VALUES (2, NULL, 1, 1, 'Acartia');
INSERT INTO STATIONS_P (ID, STATION, ST_CHAR, "DATE", DEPTH) VALUES (1, 7, '', '2020-07-10', 12.5);
INSERT INTO STATIONS_P (ID, STATION, ST_CHAR, "DATE", DEPTH) VALUES (2, 12, 'a', '2020-07-15', 30);
INSERT INTO STATIONS_P (ID, STATION, ST_CHAR, "DATE", DEPTH) VALUES (3, 14, '', '2020-07-20', 8);
INSERT INTO SAMPLES_PL (ID, STATION, PARENT, DEPTH_0, DEPTH_1) VALUES (1, 1, NULL, 0, 10);
INSERT INTO PLANKTON (ID, SAMPLE, TAXON, ABUNDANCE, BIOMASS) VALUES (1, 1, 2, 5, 0.5);
INSERT INTO YEARS (ID, "YEAR", FROM_DATE, TILL_DATE) VALUES (1, 2020, '2020-01-01', '2020-12-31');
ALTER SEQUENCE GEN_STATIONS_P_ID RESTART WITH 99;
ALTER SEQUENCE GEN_PLANKTON_ID RESTART WITH 99;
ALTER SEQUENCE GEN_SAMPLES_BE_ID RESTART WITH 99;
ALTER SEQUENCE GEN_SEASONS_ID RESTART WITH 99;
)";

} // namespace

class EditingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void newVisitShowsStoredRow();
    void requiredFieldsNamedByLabel();
    void failingInsertKeepsValuesAndSpendsKey();
    void rowLock();
    void lockHeldElsewhereRefusesEdit();
    void refreshFindingNoRow_data();
    void refreshFindingNoRow();
    void postOutsideTheMasterWindow();
    void declaredDefaults();
    void deleteRules();
    void beforeRulesAbandonSilently();

private:
    db::DataSet* seasons();
    db::DataSet* stations(db::DataSet* seasons, db::Options options);
    db::DataSet* plankton();

    std::unique_ptr<DbFixture> m_db;
    std::vector<db::DataSet*> m_made;
};

void EditingTest::initTestCase()
{
    m_db = std::make_unique<DbFixture>(DbFixture::schemaScript() + QStringLiteral("\nCOMMIT;\n") +
                                       QString::fromUtf8(Rows));
}

void EditingTest::cleanupTestCase()
{
    m_db.reset();
}

void EditingTest::cleanup()
{
    for (auto it = m_made.rbegin(); it != m_made.rend(); ++it)
        delete *it;
    m_made.clear();
    // Whatever a test left uncommitted (row locks) ends here.
    if (m_db->write.isActive())
        m_db->write.rollback();
}

db::DataSet* EditingTest::seasons()
{
    db::DataSet* ds =
        m_db->dataSet(QStringLiteral("dtsSeasons"),
                      QStringLiteral("SELECT SEASON_ID, \"YEAR\", FROM_DATE, TILL_DATE, SEASON FROM SEASONS "
                                     "ORDER BY SEASON_ID"));
    ds->setUpdateSql(
        QStringLiteral("UPDATE SEASONS SET \"YEAR\" = :\"YEAR\", FROM_DATE = :FROM_DATE, TILL_DATE = "
                       ":TILL_DATE WHERE SEASON_ID = :OLD_SEASON_ID and SEASON = :OLD_SEASON"));
    ds->setRefreshSql(
        QStringLiteral("SELECT SEASON_ID, \"YEAR\", FROM_DATE, TILL_DATE, SEASON FROM SEASONS WHERE "
                       "SEASONS.SEASON_ID = :OLD_SEASON_ID and SEASONS.SEASON = :OLD_SEASON"));
    ds->setAutoCommit(true);
    ds->setOptions(db::Option::FetchAll);
    m_made.push_back(ds);
    return ds;
}

db::DataSet* EditingTest::stations(db::DataSet* seasons, db::Options options)
{
    const QString columns =
        QStringLiteral("SELECT ID, STATION, ST_CHAR, STATION_NAME, \"DATE\", DEPTH FROM STATIONS_P ");
    db::DataSet* ds = m_db->dataSet(
        QStringLiteral("dtsStations"),
        columns + QStringLiteral("WHERE \"DATE\" BETWEEN :FROM_DATE AND :TILL_DATE ORDER BY 2, 3 "
                                 "NULLS FIRST, 5"));
    ds->setInsertSql(
        QStringLiteral("INSERT INTO STATIONS_P(ID, STATION, ST_CHAR, \"DATE\", DEPTH) VALUES(:ID, "
                       ":STATION, :ST_CHAR, :FROM_DATE, :DEPTH)"));
    ds->setUpdateSql(
        QStringLiteral("UPDATE STATIONS_P SET STATION = :STATION, ST_CHAR = :ST_CHAR, \"DATE\" = "
                       ":\"DATE\", DEPTH = :DEPTH WHERE ID = :OLD_ID"));
    ds->setDeleteSql(QStringLiteral("DELETE FROM STATIONS_P WHERE ID = :OLD_ID"));
    ds->setRefreshSql(columns + QStringLiteral("WHERE( \"DATE\" BETWEEN :FROM_DATE AND :TILL_DATE ) and ( "
                                               "STATIONS_P.ID = :OLD_ID )"));
    ds->setAutoCommit(true);
    ds->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_STATIONS_P_ID"));
    ds->setParamsToFieldsLinks({QStringLiteral("DATE=FROM_DATE")});
    ds->setOptions(options);
    ds->setPrepareOptions(db::PrepareOption::SetReadOnlyFields | db::PrepareOption::SqlInt64ToBcd);
    ds->setDetailConditions(db::DetailCondition::ForceOpen);
    if (seasons)
        ds->setMasterSource(m_db->source(seasons));
    ds->addField(QStringLiteral("ID"), db::FieldType::Integer);
    ds->addField(QStringLiteral("STATION"), db::FieldType::SmallInt);
    ds->addField(QStringLiteral("ST_CHAR"), db::FieldType::String, 1);
    db::Field* name = ds->addField(QStringLiteral("STATION_NAME"), db::FieldType::String, 7);
    name->setDisplayLabel(QStringLiteral("Station"));
    name->setEmptyStringAsNull(true);
    db::Field* date = ds->addField(QStringLiteral("DATE"), db::FieldType::Date);
    date->setDisplayLabel(QStringLiteral("Date"));
    date->setDisplayFormat(QStringLiteral("dd.mm.yyyy"));
    db::Field* depth = ds->addField(QStringLiteral("DEPTH"), db::FieldType::Float);
    depth->setDisplayLabel(QStringLiteral("Depth"));
    depth->setDisplayFormat(QStringLiteral("#,##0.0 m"));
    depth->setEditFormat(QStringLiteral("0.0"));
    m_made.push_back(ds);
    return ds;
}

db::DataSet* EditingTest::plankton()
{
    const QString columns = QStringLiteral("SELECT ID, SAMPLE, TAXON, ABUNDANCE, BIOMASS FROM PLANKTON ");
    db::DataSet* samples = m_db->dataSet(QStringLiteral("dtsSamples1"),
                                         QStringLiteral("SELECT ID FROM SAMPLES_PL WHERE ID = 1"));
    m_made.push_back(samples);
    db::DataSet* ds = m_db->dataSet(QStringLiteral("dtsPlankton"),
                                    columns + QStringLiteral("WHERE SAMPLE = :ID ORDER BY 3"));
    ds->setMasterSource(m_db->source(samples));
    ds->setDetailConditions(db::DetailCondition::ForceOpen);
    ds->setInsertSql(
        QStringLiteral("INSERT INTO PLANKTON(ID, SAMPLE, TAXON, ABUNDANCE, BIOMASS) VALUES(:ID, :MAS_ID, "
                       ":TAXON, :ABUNDANCE, :BIOMASS)"));
    ds->setUpdateSql(
        QStringLiteral("UPDATE PLANKTON SET TAXON = :TAXON, ABUNDANCE = :ABUNDANCE, BIOMASS = :BIOMASS "
                       "WHERE ID = :OLD_ID"));
    ds->setDeleteSql(QStringLiteral("DELETE FROM PLANKTON WHERE ID = :OLD_ID"));
    ds->setRefreshSql(columns + QStringLiteral("WHERE( SAMPLE = :ID ) and ( PLANKTON.ID = :OLD_ID )"));
    ds->setAutoCommit(true);
    ds->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_PLANKTON_ID"));
    ds->setParamsToFieldsLinks({QStringLiteral("SAMPLE=ID")});
    ds->setOptions(db::Option::RefreshDeletedRecord);
    ds->setPrepareOptions(db::PrepareOption::SetRequiredFields | db::PrepareOption::SqlInt64ToBcd);
    ds->addField(QStringLiteral("ID"), db::FieldType::Integer);
    ds->addField(QStringLiteral("SAMPLE"), db::FieldType::SmallInt);
    ds->addField(QStringLiteral("TAXON"), db::FieldType::SmallInt)->setDisplayLabel(QStringLiteral("Taxon"));
    for (const char* name : {"ABUNDANCE", "BIOMASS"}) {
        db::Field* f = ds->addField(QString::fromLatin1(name), db::FieldType::Float);
        f->setDisplayFormat(QStringLiteral("0.###"));
        f->setDefaultExpression(QStringLiteral("0"));
    }
    m_made.push_back(ds);
    return ds;
}

void EditingTest::newVisitShowsStoredRow()
{
    db::DataSet* s = seasons();
    db::DataSet* st = stations(s, db::Option::RefreshDeletedRecord | db::Option::ProtectedEdit);
    s->open();
    QCOMPARE(st->recordCount(), 3);
    QVERIFY(st->insert());
    QCOMPARE(st->state(), db::DataSetState::Insert);
    QCOMPARE(st->field(QStringLiteral("DATE"))->displayText(), QStringLiteral("01.07.2020")); // the link
    QVERIFY(st->field(QStringLiteral("ID"))->isNull()); // the generator fills it at post
    st->field(QStringLiteral("STATION"))->setText(QStringLiteral("7"));
    st->field(QStringLiteral("ST_CHAR"))->setText(QStringLiteral("b"));
    st->field(QStringLiteral("DATE"))->setText(QStringLiteral("15.07.2020"));
    st->field(QStringLiteral("DEPTH"))->setText(QStringLiteral("1234.5"));
    QVERIFY(st->field(QStringLiteral("STATION_NAME"))->isNull());
    QVERIFY(st->post());
    QCOMPARE(st->state(), db::DataSetState::Browse);
    QCOMPARE(st->field(QStringLiteral("ID"))->asInteger(), 100);
    // Read back: the name the database made, and the season's first day that the insert stored.
    QCOMPARE(st->field(QStringLiteral("STATION_NAME"))->displayText(), QStringLiteral("7b"));
    QCOMPARE(st->field(QStringLiteral("DATE"))->displayText(), QStringLiteral("01.07.2020"));
    QCOMPARE(st->field(QStringLiteral("DEPTH"))->displayText(), QStringLiteral("1,234.5 m"));
    QCOMPARE(st->field(QStringLiteral("DEPTH"))->editText(), QStringLiteral("1234.5"));
    // Committed: another user sees it.
    fb::Attachment other = m_db->attachOther();
    QCOMPARE(DbFixture::execOn(other, QStringLiteral("SELECT STATION_NAME FROM STATIONS_P WHERE ID = 100")),
             QVariant(QStringLiteral("7b")));
    other.detach();
    // Editing the date afterwards stores the date typed.
    QVERIFY(st->edit());
    st->field(QStringLiteral("DATE"))->setText(QStringLiteral("15.07.2020"));
    QVERIFY(st->post());
    QCOMPARE(st->field(QStringLiteral("DATE"))->displayText(), QStringLiteral("15.07.2020"));
    m_db->exec(QStringLiteral("DELETE FROM STATIONS_P WHERE ID = 100"));
}

void EditingTest::requiredFieldsNamedByLabel()
{
    db::DataSet* p = plankton();
    p->master()->open();
    QVERIFY(p->insert());
    QCOMPARE(p->field(QStringLiteral("SAMPLE"))->asInteger(), 1);
    try {
        p->post();
        QFAIL("a count without a taxon was stored");
    } catch (const db::Error& e) {
        QCOMPARE(e.message(), QStringLiteral("Field 'Taxon' must have a value"));
    }
    QCOMPARE(p->state(), db::DataSetState::Insert);
    QVERIFY(p->field(QStringLiteral("ID"))->isNull()); // refused before the generator was asked
    QVERIFY(p->field(QStringLiteral("TAXON"))->isRequired());
    QVERIFY(!p->field(QStringLiteral("ABUNDANCE"))->isRequired());
    // A field without a label is named by its column.
    p->field(QStringLiteral("TAXON"))->setText(QStringLiteral("1"));
    p->field(QStringLiteral("SAMPLE"))->clear();
    QVERIFY_THROWS_EXCEPTION(db::Error, p->post());
    try {
        p->post();
    } catch (const db::Error& e) {
        QCOMPARE(e.message(), QStringLiteral("Field 'SAMPLE' must have a value"));
    }
    p->cancel();
    QCOMPARE(p->recordCount(), 1);
}

void EditingTest::failingInsertKeepsValuesAndSpendsKey()
{
    db::DataSet* p = plankton();
    p->master()->open();
    const int before = m_db->exec(QStringLiteral("SELECT COUNT(*) FROM PLANKTON")).toInt();
    const qlonglong generatorBefore =
        m_db->exec(QStringLiteral("SELECT GEN_ID(GEN_PLANKTON_ID, 0) FROM RDB$DATABASE")).toLongLong();
    QVERIFY(p->insert());
    QCOMPARE(p->field(QStringLiteral("ABUNDANCE"))->displayText(), QStringLiteral("0"));
    p->field(QStringLiteral("TAXON"))->setText(QStringLiteral("99")); // no such taxon
    p->field(QStringLiteral("BIOMASS"))->setText(QStringLiteral("2.5"));
    QString message;
    try {
        p->post();
    } catch (const fb::Error& e) {
        message = e.message();
    }
    QVERIFY2(message.contains(QStringLiteral("FK_PLANKTON_TAXON")), qPrintable(message));
    QCOMPARE(p->state(), db::DataSetState::Insert);
    QCOMPARE(p->field(QStringLiteral("TAXON"))->asInteger(), 99);
    QCOMPARE(p->field(QStringLiteral("BIOMASS"))->displayText(), QStringLiteral("2.5"));
    const int spentKey = p->field(QStringLiteral("ID"))->asInteger();
    QCOMPARE(qlonglong(spentKey), generatorBefore + 1);
    QCOMPARE(m_db->exec(QStringLiteral("SELECT GEN_ID(GEN_PLANKTON_ID, 0) FROM RDB$DATABASE")).toLongLong(),
             generatorBefore + 1);
    QCOMPARE(m_db->exec(QStringLiteral("SELECT COUNT(*) FROM PLANKTON")).toInt(), before);

    // Corrected, the same row is stored with the key it already has.
    p->field(QStringLiteral("TAXON"))->setText(QStringLiteral("1"));
    QVERIFY(p->post());
    QCOMPARE(p->field(QStringLiteral("ID"))->asInteger(), spentKey);
    QCOMPARE(m_db->exec(QStringLiteral("SELECT COUNT(*) FROM PLANKTON")).toInt(), before + 1);
    QCOMPARE(m_db->exec(QStringLiteral("SELECT BIOMASS FROM PLANKTON WHERE ID = ?"), {spentKey}).toDouble(),
             2.5);
    m_db->exec(QStringLiteral("DELETE FROM PLANKTON WHERE ID = ?"), {spentKey});
}

void EditingTest::rowLock()
{
    db::DataSet* s = seasons();
    db::DataSet* st = stations(s, db::Option::RefreshDeletedRecord | db::Option::ProtectedEdit);
    s->open();
    QCOMPARE(st->field(QStringLiteral("ID"))->asInteger(), 1);
    fb::Attachment other = m_db->attachOther();
    auto otherUpdate = [&] {
        DbFixture::execOn(other, QStringLiteral("UPDATE STATIONS_P SET DEPTH = DEPTH WHERE ID = 1"));
    };
    QVERIFY(st->edit());
    QCOMPARE(st->field(QStringLiteral("DEPTH"))->asFloat(), 12.5); // the row keeps its values
    try {
        otherUpdate();
        QFAIL("the row under edit was not locked");
    } catch (const fb::Error& e) {
        QVERIFY2(e.isLockConflict(), qPrintable(e.message()));
    }
    st->cancel();
    QVERIFY_THROWS_EXCEPTION(fb::Error, otherUpdate()); // cancelling doesn't end the lock
    // The next stored change of any dataset commits the write transaction, and the lock with it.
    QVERIFY(s->edit());
    s->field(QStringLiteral("YEAR"))->setText(QStringLiteral("2020"));
    QVERIFY(s->post());
    otherUpdate();
    other.detach();
}

void EditingTest::lockHeldElsewhereRefusesEdit()
{
    db::DataSet* s = seasons();
    db::DataSet* st = stations(s, db::Option::ProtectedEdit);
    s->open();
    fb::Attachment other = m_db->attachOther();
    fb::Transaction tx(other, fb::TransactionOptions().setWait(false));
    fb::Statement update(other, tx, QStringLiteral("UPDATE STATIONS_P SET DEPTH = DEPTH WHERE ID = 1"));
    update.execute(tx);
    QVERIFY_THROWS_EXCEPTION(fb::Error, st->edit());
    QCOMPARE(st->state(), db::DataSetState::Browse);
    tx.rollback();
    QVERIFY(st->edit());
    st->cancel();
    other.detach();
}

void EditingTest::refreshFindingNoRow_data()
{
    QTest::addColumn<bool>("refreshDeleted");
    QTest::newRow("RefreshDeletedRecord drops the row") << true;
    QTest::newRow("otherwise the row stays") << false;
}

void EditingTest::refreshFindingNoRow()
{
    QFETCH(bool, refreshDeleted);
    db::DataSet* s = seasons();
    db::DataSet* st =
        stations(s, refreshDeleted ? db::Options(db::Option::RefreshDeletedRecord) : db::Options());
    s->open();
    QVERIFY(st->locate(QStringLiteral("STATION"), 14));
    m_db->exec(QStringLiteral("DELETE FROM STATIONS_P WHERE ID = 3"));
    QSignalSpy refreshed(st, &db::DataSet::afterRefresh);
    st->refresh();
    QCOMPARE(refreshed.count(), 1);
    QCOMPARE(st->recordCount(), refreshDeleted ? 2 : 3);
    QCOMPARE(st->findRow(QStringLiteral("ID"), 3) >= 0, !refreshDeleted);
    m_db->exec(
        QStringLiteral("INSERT INTO STATIONS_P (ID, STATION, ST_CHAR, \"DATE\", DEPTH) VALUES (3, 14, '', "
                       "'2020-07-20', 8)"));
}

void EditingTest::postOutsideTheMasterWindow()
{
    db::DataSet* s = seasons();
    db::DataSet* st = stations(s, db::Option::RefreshDeletedRecord);
    s->open();
    QVERIFY(st->locate(QStringLiteral("ID"), 2));
    QVERIFY(st->edit());
    st->field(QStringLiteral("DATE"))->setText(QStringLiteral("10.09.2020"));
    QVERIFY(st->post());
    QCOMPARE(st->recordCount(), 2); // stored, but no longer in this season's window
    s->next();
    QCOMPARE(st->recordCount(), 1);
    QCOMPARE(st->field(QStringLiteral("ID"))->asInteger(), 2);
    m_db->exec(QStringLiteral("UPDATE STATIONS_P SET \"DATE\" = '2020-07-15' WHERE ID = 2"));
}

void EditingTest::declaredDefaults()
{
    const QString columns =
        QStringLiteral("SELECT ID, STATION, ST_CHAR, STATION_NAME, \"DATE\", DEPTH, SAMPLES_NUMBER "
                       "FROM SAMPLES_BE ");
    db::DataSet* b = m_db->dataSet(QStringLiteral("dtsSamples2"), columns + QStringLiteral("ORDER BY 2"));
    b->setInsertSql(
        QStringLiteral("INSERT INTO SAMPLES_BE(ID, STATION, ST_CHAR, \"DATE\", DEPTH, SAMPLES_NUMBER) "
                       "VALUES(:ID, :STATION, :ST_CHAR, :\"DATE\", :DEPTH, :SAMPLES_NUMBER)"));
    b->setRefreshSql(columns + QStringLiteral("WHERE ID = :OLD_ID"));
    b->setAutoCommit(true);
    b->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_SAMPLES_BE_ID"));
    b->setPrepareOptions(db::PrepareOption::SetRequiredFields);
    m_made.push_back(b);
    b->open(); // fields made from the columns
    QVERIFY(b->insert());
    QCOMPARE(b->field(QStringLiteral("SAMPLES_NUMBER"))->value(), QVariant(1));  // DEFAULT 1
    QCOMPARE(b->field(QStringLiteral("ST_CHAR"))->value(), QVariant(QString())); // DEFAULT ''
    QVERIFY(!b->field(QStringLiteral("ST_CHAR"))->isNull());
    QVERIFY(b->field(QStringLiteral("DEPTH"))->isNull());
    QCOMPARE(b->field(QStringLiteral("DEPTH"))->type(), db::FieldType::Numeric);
    QVERIFY(b->field(QStringLiteral("STATION"))->isRequired());
    QVERIFY(b->field(QStringLiteral("DATE"))->isRequired());
    QVERIFY(!b->field(QStringLiteral("DEPTH"))->isRequired());
    b->field(QStringLiteral("STATION"))->setText(QStringLiteral("7"));
    try {
        b->post();
        QFAIL("a benthos sample without a date was stored");
    } catch (const db::Error& e) {
        QCOMPARE(e.message(), QStringLiteral("Field 'DATE' must have a value"));
    }
    b->field(QStringLiteral("DATE"))->setText(QStringLiteral("02.02.2020"));
    b->field(QStringLiteral("DEPTH"))->setText(QStringLiteral("3.25"));
    QVERIFY(b->post());
    QCOMPARE(b->field(QStringLiteral("STATION_NAME"))->asString(),
             QStringLiteral("7")); // an empty letter adds nothing
    // A NUMERIC(5,1) column without a format of its own shows its one decimal, grouped.
    QCOMPARE(b->field(QStringLiteral("DEPTH"))->displayText(), QStringLiteral("3.3"));
}

void EditingTest::deleteRules()
{
    // Made before the write transaction takes its snapshot, so that it can delete the row.
    m_db->exec(
        QStringLiteral("INSERT INTO STATIONS_P (ID, STATION, ST_CHAR, \"DATE\", DEPTH) VALUES (50, 50, '', "
                       "'2020-08-01', 1)"));
    db::DataSet* s = seasons();
    db::DataSet* st = stations(s, db::Option::RefreshDeletedRecord);
    s->open();
    // A visit with samples: the database refuses, the row stays.
    QVERIFY(st->locate(QStringLiteral("ID"), 1));
    QVERIFY_THROWS_EXCEPTION(fb::Error, st->remove());
    QCOMPARE(st->recordCount(), 4);
    QCOMPARE(st->field(QStringLiteral("ID"))->asInteger(), 1);
    QCOMPARE(m_db->exec(QStringLiteral("SELECT COUNT(*) FROM STATIONS_P WHERE ID = 1")).toInt(), 1);

    QVERIFY(st->locate(QStringLiteral("ID"), 50));
    QSignalSpy deleted(st, &db::DataSet::afterDelete);
    QVERIFY(st->remove());
    QCOMPARE(deleted.count(), 1);
    QCOMPARE(st->findRow(QStringLiteral("ID"), 50), -1);
    QCOMPARE(m_db->exec(QStringLiteral("SELECT COUNT(*) FROM STATIONS_P WHERE ID = 50")).toInt(), 0);

    // A row the write transaction can't see (stored by another user after it began) isn't
    // silently "deleted": the dataset says so and keeps the row.
    m_db->exec(
        QStringLiteral("INSERT INTO STATIONS_P (ID, STATION, ST_CHAR, \"DATE\", DEPTH) VALUES (51, 51, '', "
                       "'2020-08-01', 1)"));
    st->fullRefresh();
    QVERIFY(st->locate(QStringLiteral("ID"), 51));
    QVERIFY_THROWS_EXCEPTION(db::Error, st->remove());
    QCOMPARE(st->field(QStringLiteral("ID"))->asInteger(), 51);
    m_db->exec(QStringLiteral("DELETE FROM STATIONS_P WHERE ID = 51"));
}

void EditingTest::beforeRulesAbandonSilently()
{
    db::DataSet* s = seasons();
    db::DataSet* st = stations(s, {});
    s->open();
    connect(st, &db::DataSet::beforeDelete, this, [](db::Veto& veto) { veto.abandon(); });
    connect(st, &db::DataSet::beforeInsert, this, [](db::Veto& veto) { veto.abandon(); });
    QSignalSpy inserted(st, &db::DataSet::afterInsert);
    QVERIFY(!st->remove());
    QCOMPARE(st->recordCount(), 3);
    QVERIFY(!st->insert());
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(st->state(), db::DataSetState::Browse);
    QCOMPARE(st->recordCount(), 3);
}

QTEST_GUILESS_MAIN(EditingTest)
#include "tst_editing.moc"
