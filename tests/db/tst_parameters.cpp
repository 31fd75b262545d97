// Where the values of statement parameters come from: the seven rules with the OLD_, NEW_ and
// MAS_ prefixes, quoted names, NULL linking values with and without NoForceIsNull, and empty
// texts on their way to a detail and to locate.
#include "DbFixture.h"

#include <QTest>
#include <db/Error.h>

namespace {

const char* const Script = R"(
CREATE TABLE M (ID INTEGER NOT NULL PRIMARY KEY, CODE VARCHAR(10), LINK INTEGER, LETTER VARCHAR(1));
CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, GRP INTEGER, NAME VARCHAR(10), "YEAR" SMALLINT,
                LETTER VARCHAR(1));
CREATE TABLE LOG (V VARCHAR(20));
COMMIT;
INSERT INTO M VALUES (1, 'one', 10, '');
INSERT INTO M VALUES (2, 'two', NULL, 'a');
INSERT INTO M VALUES (3, 'three', 20, NULL);
INSERT INTO T VALUES (100, 10, 'a', 2001, '');
INSERT INTO T VALUES (101, 10, 'b', 2002, 'a');
INSERT INTO T VALUES (102, NULL, 'n', 2003, NULL);
INSERT INTO T VALUES (103, 20, 'c', 2004, 'a');
INSERT INTO T VALUES (1, 1, 'first', 2005, 'b');
INSERT INTO T VALUES (5, 1, 'fifth', 2006, 'b');
)";

QList<int> ids(db::DataSet* ds)
{
    QList<int> out;
    ds->fetchAll();
    for (int row = 0; row < ds->recordCount(); ++row)
        out << ds->field(QStringLiteral("ID"))->value(row).toInt();
    return out;
}

} // namespace

class ParametersTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void writeRules_data();
    void writeRules();
    void refreshOfDetailTakesSelectionParameter();
    void nullLinkingValue_data();
    void nullLinkingValue();
    void masterWithoutRowGivesNull();
    void emptyLetterReachesDetailAndLocate();

private:
    std::unique_ptr<DbFixture> m_db;
};

void ParametersTest::initTestCase()
{
    m_db = std::make_unique<DbFixture>(QString::fromUtf8(Script));
}

void ParametersTest::cleanupTestCase()
{
    m_db.reset();
}

void ParametersTest::writeRules_data()
{
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("OLD_ stored value") << ":OLD_NAME" << QVariant("a");
    QTest::newRow("old_ in lower case") << ":old_name" << QVariant("a");
    QTest::newRow("quoted, mixed case") << ":\"Old_Name\"" << QVariant("a");
    QTest::newRow("NEW_ current value") << ":NEW_NAME" << QVariant("new");
    QTest::newRow("MAS_ master field") << ":MAS_CODE" << QVariant("one");
    QTest::newRow("MAS_ without master field is NULL") << ":MAS_NAME" << QVariant();
    QTest::newRow("field beats selection parameter") << ":NAME" << QVariant("new");
    QTest::newRow("field") << ":GRP" << QVariant("10");
    QTest::newRow("quoted field name") << ":\"YEAR\"" << QVariant("2001");
    QTest::newRow("selection parameter from master") << ":LINK" << QVariant("10");
    QTest::newRow("selection parameter from program") << ":EXTRA" << QVariant("999");
    QTest::newRow("unknown is NULL") << ":NOTHING" << QVariant();
    QTest::newRow("OLD_ of no field is NULL") << ":OLD_NOTHING" << QVariant();
}

void ParametersTest::writeRules()
{
    QFETCH(QString, parameter);
    QFETCH(QVariant, expected);
    m_db->exec(QStringLiteral("DELETE FROM LOG"));

    db::DataSet* master =
        m_db->dataSet(QStringLiteral("dtsM"), QStringLiteral("SELECT ID, CODE, LINK FROM M ORDER BY ID"));
    db::DataSource* masterSource = m_db->source(master);
    db::DataSet* detail = m_db->dataSet(
        QStringLiteral("dtsT"),
        QStringLiteral(
            "SELECT ID, GRP, NAME, \"YEAR\" FROM T WHERE GRP = :LINK OR ID = :EXTRA OR NAME = :NAME "
            "ORDER BY ID"));
    detail->setMasterSource(masterSource);
    detail->setParamValue(QStringLiteral("EXTRA"), 999);
    detail->setParamValue(QStringLiteral("NAME"), QStringLiteral("zzz"));
    // The update statement records the parameter's value instead of storing the row.
    detail->setUpdateSql(QStringLiteral("INSERT INTO LOG (V) VALUES (%1)").arg(parameter));
    detail->setAutoCommit(true);
    master->open();
    detail->open();
    QCOMPARE(ids(detail), (QList<int>{100, 101}));
    QVERIFY(detail->edit());
    detail->field(QStringLiteral("NAME"))->setText(QStringLiteral("new"));
    QVERIFY(detail->post());
    QCOMPARE(m_db->exec(QStringLiteral("SELECT COUNT(*) FROM LOG")).toInt(), 1);
    QCOMPARE(m_db->exec(QStringLiteral("SELECT V FROM LOG")), expected);
    delete detail;
    delete master;
}

void ParametersTest::refreshOfDetailTakesSelectionParameter()
{
    // In the refresh statement of a detail, :ID is the master's key (the selection's
    // parameter), not the row's own ID; a dataset without a master takes its own field.
    const QString select = QStringLiteral("SELECT ID, GRP, NAME FROM T WHERE GRP = :ID ORDER BY ID");
    const QString refresh = QStringLiteral("SELECT ID, GRP, NAME FROM T WHERE ID = :ID");

    db::DataSet* master =
        m_db->dataSet(QStringLiteral("dtsM"), QStringLiteral("SELECT ID FROM M WHERE ID = 1"));
    db::DataSet* detail = m_db->dataSet(QStringLiteral("dtsT"), select);
    detail->setMasterSource(m_db->source(master));
    detail->setRefreshSql(refresh);
    master->open();
    detail->open();
    QCOMPARE(ids(detail), (QList<int>{1, 5}));
    detail->next();
    QCOMPARE(detail->field(QStringLiteral("ID"))->asInteger(), 5);
    detail->refresh();
    QCOMPARE(detail->field(QStringLiteral("ID"))->asInteger(), 1);
    QCOMPARE(detail->field(QStringLiteral("NAME"))->asString(), QStringLiteral("first"));

    db::DataSet* alone = m_db->dataSet(QStringLiteral("dtsAlone"), select);
    alone->setParamValue(QStringLiteral("ID"), 1);
    alone->setRefreshSql(refresh);
    alone->open();
    alone->next();
    alone->refresh();
    QCOMPARE(alone->field(QStringLiteral("ID"))->asInteger(), 5);
    QCOMPARE(alone->field(QStringLiteral("NAME"))->asString(), QStringLiteral("fifth"));
    delete alone;
    delete detail;
    delete master;
}

void ParametersTest::nullLinkingValue_data()
{
    QTest::addColumn<bool>("noForceIsNull");
    QTest::addColumn<QList<int>>("whenNull");
    QTest::newRow("= NULL runs as IS NULL") << false << QList<int>{102};
    QTest::newRow("NoForceIsNull: nothing matches") << true << QList<int>{};
}

void ParametersTest::nullLinkingValue()
{
    QFETCH(bool, noForceIsNull);
    QFETCH(QList<int>, whenNull);
    db::DataSet* master =
        m_db->dataSet(QStringLiteral("dtsM"), QStringLiteral("SELECT ID, LINK FROM M ORDER BY ID"));
    db::DataSet* detail = m_db->dataSet(QStringLiteral("dtsT"),
                                        QStringLiteral("SELECT ID FROM T WHERE GRP = :LINK ORDER BY ID"));
    detail->setMasterSource(m_db->source(master));
    detail->setDetailConditions(db::DetailCondition::ForceOpen);
    if (noForceIsNull)
        detail->setOptions(db::Option::NoForceIsNull);
    master->open();
    QCOMPARE(ids(detail), (QList<int>{100, 101}));
    master->next(); // LINK is NULL
    QCOMPARE(ids(detail), whenNull);
    master->next(); // LINK 20
    QCOMPARE(ids(detail), QList<int>{103});
    master->first(); // back to 10: both prepared forms serve again
    QCOMPARE(ids(detail), (QList<int>{100, 101}));
    master->next();
    QCOMPARE(ids(detail), whenNull);
    delete detail;
    delete master;
}

void ParametersTest::masterWithoutRowGivesNull()
{
    db::DataSet* master =
        m_db->dataSet(QStringLiteral("dtsM"), QStringLiteral("SELECT ID, LINK FROM M WHERE ID < 0"));
    db::DataSet* detail = m_db->dataSet(QStringLiteral("dtsT"),
                                        QStringLiteral("SELECT ID FROM T WHERE GRP = :LINK ORDER BY ID"));
    detail->setMasterSource(m_db->source(master));
    detail->setDetailConditions(db::DetailCondition::ForceOpen);
    master->open();
    QVERIFY(master->isEmpty());
    QVERIFY(detail->isActive());
    QCOMPARE(ids(detail), QList<int>{102});
    delete detail;
    delete master;
}

void ParametersTest::emptyLetterReachesDetailAndLocate()
{
    db::DataSet* master =
        m_db->dataSet(QStringLiteral("dtsM"), QStringLiteral("SELECT ID, LETTER FROM M ORDER BY ID"));
    master->addField(QStringLiteral("ID"));
    db::Field* letter = master->addField(QStringLiteral("LETTER"));
    letter->setEmptyStringAsNull(true);
    db::DataSet* detail =
        m_db->dataSet(QStringLiteral("dtsT"),
                      QStringLiteral("SELECT ID, LETTER FROM T WHERE LETTER = :LETTER ORDER BY ID"));
    detail->setMasterSource(m_db->source(master));
    detail->setDetailConditions(db::DetailCondition::ForceOpen);
    master->open();
    // The field shows the empty letter as NULL...
    QVERIFY(letter->isNull());
    QCOMPARE(letter->displayText(), QString());
    // ...but the detail looks for the empty text, not for NULL.
    QCOMPARE(ids(detail), QList<int>{100});
    master->next();
    QCOMPARE(ids(detail), (QList<int>{101, 103}));

    db::DataSet* all =
        m_db->dataSet(QStringLiteral("dtsAll"), QStringLiteral("SELECT ID, LETTER FROM T ORDER BY ID"));
    all->open();
    QVERIFY(all->locate(QStringLiteral("LETTER"), QStringLiteral("a")));
    QCOMPARE(all->field(QStringLiteral("ID"))->asInteger(), 101);
    QVERIFY(all->locate(QStringLiteral("LETTER"), QString()));
    QVERIFY(all->field(QStringLiteral("LETTER"))->asString().isEmpty());
    QVERIFY(all->locate(QStringLiteral("ID;LETTER"), QVariantList{100, QString()}));
    QVERIFY(!all->locate(QStringLiteral("ID;LETTER"), QVariantList{101, QString()}));
    QCOMPARE(all->field(QStringLiteral("ID"))->asInteger(), 100); // a failed locate stays put
    QVERIFY(!all->locate(QStringLiteral("ID;LETTER"), QVariantList{100, QStringLiteral("a")}));
    delete all;
    delete detail;
    delete master;
}

QTEST_GUILESS_MAIN(ParametersTest)
#include "tst_parameters.moc"
