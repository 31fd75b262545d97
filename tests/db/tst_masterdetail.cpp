// Details following their master: the 300 ms wait after the master's last move with the chain
// below read in the same go, re-reads only when the linking values change, ForceOpen, closing
// with the master, disabled controls, and the master's refresh after a detail's post.
#include "DbFixture.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

namespace {

QString script()
{
    QString s = QStringLiteral(R"(
CREATE TABLE A (ID INTEGER NOT NULL PRIMARY KEY, LINK INTEGER);
CREATE TABLE B (ID INTEGER NOT NULL PRIMARY KEY, A_ID INTEGER);
CREATE TABLE C (ID INTEGER NOT NULL PRIMARY KEY, B_ID INTEGER, AMOUNT DOUBLE PRECISION);
COMMIT;
)");
    for (int a = 1; a <= 12; ++a) {
        s += QStringLiteral("INSERT INTO A VALUES (%1, %1);\n").arg(a);
        for (int b = 1; b <= 2; ++b) {
            const int bId = a * 10 + b;
            s += QStringLiteral("INSERT INTO B VALUES (%1, %2);\n").arg(bId).arg(a);
            for (int c = 1; c <= 2; ++c)
                s += QStringLiteral("INSERT INTO C VALUES (%1, %2, %3);\n").arg(bId * 10 + c).arg(bId).arg(c);
        }
    }
    return s;
}

int intValue(db::DataSet* ds, const char* field)
{
    return ds->field(QString::fromLatin1(field))->asInteger();
}

} // namespace

class MasterDetailTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void quickMovesReadOnceAfterTheWait();
    void eachMoveRestartsTheWait();
    void withoutWaitFollowsAtOnce();
    void singleRowRefreshRereadsOnlyOnChangedLink();
    void closingAndForceOpen();
    void disabledControlsHoldTheDetails();
    void detailPostRefreshesMaster();

private:
    void makeChain(db::DetailConditions detailConditions);

    std::unique_ptr<DbFixture> m_db;
    db::DataSet* a = nullptr;
    db::DataSet* b = nullptr;
    db::DataSet* c = nullptr;
    db::DataSource* dsA = nullptr;
    db::DataSource* dsB = nullptr;
};

void MasterDetailTest::initTestCase()
{
    m_db = std::make_unique<DbFixture>(script());
}

void MasterDetailTest::cleanupTestCase()
{
    m_db.reset();
}

void MasterDetailTest::init()
{
    m_db->exec(QStringLiteral("UPDATE A SET LINK = ID"));
}

void MasterDetailTest::cleanup()
{
    delete c;
    delete b;
    delete a;
    a = b = c = nullptr;
}

void MasterDetailTest::makeChain(db::DetailConditions detailConditions)
{
    a = m_db->dataSet(QStringLiteral("dtsA"), QStringLiteral("SELECT ID, LINK FROM A ORDER BY ID"));
    a->setRefreshSql(QStringLiteral("SELECT ID, LINK FROM A WHERE ID = :OLD_ID"));
    a->setOptions(db::Option::FetchAll);
    dsA = m_db->source(a);
    b = m_db->dataSet(QStringLiteral("dtsB"),
                      QStringLiteral("SELECT ID, A_ID FROM B WHERE A_ID = :LINK ORDER BY ID"));
    b->setDetailConditions(detailConditions);
    b->setMasterSource(dsA);
    dsB = m_db->source(b);
    c = m_db->dataSet(QStringLiteral("dtsC"),
                      QStringLiteral("SELECT ID, B_ID, AMOUNT FROM C WHERE B_ID = :ID ORDER BY ID"));
    c->setDetailConditions(detailConditions);
    c->setMasterSource(dsB);
}

void MasterDetailTest::quickMovesReadOnceAfterTheWait()
{
    makeChain(db::DetailCondition::ForceOpen | db::DetailCondition::WaitEndMasterScroll);
    QSignalSpy bReads(b, &db::DataSet::afterOpen);
    QSignalSpy cReads(c, &db::DataSet::afterOpen);
    a->open();
    QVERIFY(!b->isActive()); // waits for the master like after a move
    QTRY_COMPARE(bReads.count(), 1);
    QCOMPARE(cReads.count(), 1); // the chain below followed in the same go, without a wait of its own
    QCOMPARE(intValue(b, "A_ID"), 1);
    QCOMPARE(intValue(c, "B_ID"), 11);

    QElapsedTimer sinceLastMove;
    qint64 readAfter = -1;
    connect(b, &db::DataSet::afterOpen, this, [&] { readAfter = sinceLastMove.elapsed(); });
    for (int i = 0; i < 10; ++i)
        a->next();
    sinceLastMove.start();
    QCOMPARE(intValue(a, "ID"), 11);
    // Until the wait ends the details show their old rows.
    QCOMPARE(intValue(b, "A_ID"), 1);
    QCOMPARE(intValue(c, "B_ID"), 11);
    QTRY_COMPARE(bReads.count(), 2);
    QCOMPARE(cReads.count(), 2);
    QVERIFY2(readAfter >= db::MasterScrollWaitMs - 5, qPrintable(QString::number(readAfter)));
    QCOMPARE(intValue(b, "A_ID"), 11);
    QCOMPARE(intValue(c, "B_ID"), 111);
    QTest::qWait(2 * db::MasterScrollWaitMs); // nothing more is read
    QCOMPARE(bReads.count(), 2);
    QCOMPARE(cReads.count(), 2);
}

void MasterDetailTest::eachMoveRestartsTheWait()
{
    makeChain(db::DetailCondition::ForceOpen | db::DetailCondition::WaitEndMasterScroll);
    a->open();
    QTRY_VERIFY(b->isActive());
    QSignalSpy bReads(b, &db::DataSet::afterOpen);
    a->next();
    QTest::qWait(db::MasterScrollWaitMs * 2 / 3);
    a->next();
    QTest::qWait(db::MasterScrollWaitMs * 2 / 3);
    QCOMPARE(bReads.count(), 0); // 400 ms after the first move, but only 200 after the second
    QTRY_COMPARE(bReads.count(), 1);
    QCOMPARE(intValue(b, "A_ID"), 3);
    // Moving away and back within the wait leaves the detail as it is.
    a->next();
    a->prior();
    QTest::qWait(db::MasterScrollWaitMs * 2);
    QCOMPARE(bReads.count(), 1);
}

void MasterDetailTest::withoutWaitFollowsAtOnce()
{
    makeChain(db::DetailCondition::ForceOpen);
    QSignalSpy bReads(b, &db::DataSet::afterOpen);
    QSignalSpy cReads(c, &db::DataSet::afterOpen);
    a->open();
    QCOMPARE(bReads.count(), 1);
    QCOMPARE(cReads.count(), 1);
    a->next();
    QCOMPARE(bReads.count(), 2);
    QCOMPARE(cReads.count(), 2);
    QCOMPARE(intValue(b, "A_ID"), 2);
    QCOMPARE(intValue(c, "B_ID"), 21);
    b->next(); // only the detail of the moved dataset follows
    QCOMPARE(bReads.count(), 2);
    QCOMPARE(intValue(c, "B_ID"), 22);
}

void MasterDetailTest::singleRowRefreshRereadsOnlyOnChangedLink()
{
    makeChain(db::DetailCondition::ForceOpen);
    a->open();
    QSignalSpy bReads(b, &db::DataSet::afterOpen);
    a->refresh();
    QCOMPARE(bReads.count(), 0);
    m_db->exec(QStringLiteral("UPDATE A SET LINK = 5 WHERE ID = 1"));
    a->refresh();
    QCOMPARE(intValue(a, "LINK"), 5);
    QCOMPARE(bReads.count(), 1);
    QCOMPARE(intValue(b, "A_ID"), 5);
}

void MasterDetailTest::closingAndForceOpen()
{
    makeChain(db::DetailCondition::ForceOpen);
    a->open();
    QVERIFY(b->isActive() && c->isActive());
    a->close();
    QVERIFY(!b->isActive());
    QVERIFY(!c->isActive());
    a->open();
    QVERIFY(b->isActive() && c->isActive());

    // Without ForceOpen a closed detail stays closed; an open one follows.
    b->setDetailConditions({});
    c->setDetailConditions({});
    b->close();
    a->next();
    QVERIFY(!b->isActive());
    b->open();
    QCOMPARE(intValue(b, "A_ID"), 2);
    QVERIFY(!c->isActive());
    a->next();
    QCOMPARE(intValue(b, "A_ID"), 3);
}

void MasterDetailTest::disabledControlsHoldTheDetails()
{
    makeChain(db::DetailCondition::ForceOpen);
    a->open();
    QSignalSpy bReads(b, &db::DataSet::afterOpen);
    QSignalSpy aChanged(dsA, &db::DataSource::dataChanged);
    QSignalSpy aScrolled(dsA, &db::DataSource::scrolled);
    QSignalSpy aScrollEvents(a, &db::DataSet::afterScroll);
    {
        db::ControlsDisabler hold(a);
        for (int i = 0; i < 3; ++i)
            a->next();
        QCOMPARE(bReads.count(), 0);
        QCOMPARE(aChanged.count(), 0);
        QCOMPARE(aScrolled.count(), 0);
        QCOMPARE(aScrollEvents.count(), 3); // events still fire
    }
    QCOMPARE(aChanged.count(), 1);
    QCOMPARE(bReads.count(), 1);
    QCOMPARE(intValue(b, "A_ID"), 4);
}

void MasterDetailTest::detailPostRefreshesMaster()
{
    a = m_db->dataSet(QStringLiteral("dtsA"), QStringLiteral("SELECT ID, LINK FROM A ORDER BY ID"));
    dsA = m_db->source(a);
    const QString totalSelect = QStringLiteral(
        "SELECT B.ID, B.A_ID, (SELECT SUM(C.AMOUNT) FROM C WHERE C.B_ID = B.ID) AS TOTAL FROM B ");
    b = m_db->dataSet(QStringLiteral("dtsB"),
                      totalSelect + QStringLiteral("WHERE B.A_ID = :LINK ORDER BY B.ID"));
    b->setRefreshSql(totalSelect + QStringLiteral("WHERE B.ID = :OLD_ID"));
    b->setDetailConditions(db::DetailCondition::ForceOpen);
    b->setMasterSource(dsA);
    dsB = m_db->source(b);
    c = m_db->dataSet(QStringLiteral("dtsC"),
                      QStringLiteral("SELECT ID, B_ID, AMOUNT FROM C WHERE B_ID = :ID ORDER BY ID"));
    c->setUpdateSql(QStringLiteral("UPDATE C SET AMOUNT = :AMOUNT WHERE ID = :OLD_ID"));
    c->setRefreshSql(QStringLiteral("SELECT ID, B_ID, AMOUNT FROM C WHERE ID = :OLD_ID"));
    c->setAutoCommit(true);
    c->setDetailConditions(db::DetailCondition::ForceOpen | db::DetailCondition::ForceMasterRefresh);
    c->setMasterSource(dsB);
    a->open();
    QCOMPARE(b->field(QStringLiteral("TOTAL"))->asFloat(), 3.0);
    QSignalSpy cReads(c, &db::DataSet::afterOpen);
    QSignalSpy bRefreshed(b, &db::DataSet::afterRefresh);
    QVERIFY(c->edit());
    c->field(QStringLiteral("AMOUNT"))->setText(QStringLiteral("10.5"));
    QVERIFY(c->post());
    QCOMPARE(bRefreshed.count(), 1);
    QCOMPARE(b->field(QStringLiteral("TOTAL"))->asFloat(), 12.5);
    QCOMPARE(cReads.count(), 0); // the master's links didn't change: the detail keeps its rows
    QCOMPARE(c->field(QStringLiteral("AMOUNT"))->asFloat(), 10.5);
    m_db->exec(QStringLiteral("UPDATE C SET AMOUNT = 1 WHERE ID = 111"));
}

QTEST_GUILESS_MAIN(MasterDetailTest)
#include "tst_masterdetail.moc"
