#include "TempDatabase.h"
#include "fb/Error.h"
#include "fb/Script.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QTest>

using namespace fb;

class TestScript : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void unterminated_data();
    void unterminated();
    void runsProceduresAndTriggers();
    void failureNamesTheLineAndRollsBack();
};

void TestScript::split_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QList<int>>("lines");

    QTest::newRow("plain") << "CREATE TABLE A (X INTEGER);\nINSERT INTO A VALUES (1);\n"
                           << QStringList{"CREATE TABLE A (X INTEGER)", "INSERT INTO A VALUES (1)"}
                           << QList<int>{1, 2};
    QTest::newRow("last without terminator")
        << "SELECT 1 FROM RDB$DATABASE" << QStringList{"SELECT 1 FROM RDB$DATABASE"} << QList<int>{1};
    QTest::newRow("terminator in literal")
        << "INSERT INTO A VALUES ('a;b'); INSERT INTO A VALUES ('it''s;')"
        << QStringList{"INSERT INTO A VALUES ('a;b')", "INSERT INTO A VALUES ('it''s;')"} << QList<int>{1, 1};
    QTest::newRow("terminator in quoted name")
        << "CREATE TABLE \"A;B\" (X INTEGER);" << QStringList{"CREATE TABLE \"A;B\" (X INTEGER)"}
        << QList<int>{1};
    QTest::newRow("comments")
        << "-- heading; not a statement\n/* block;\n comment */\nSELECT 1 -- tail;\nFROM "
           "RDB$DATABASE;"
        << QStringList{"SELECT 1 -- tail;\nFROM RDB$DATABASE"} << QList<int>{4};
    QTest::newRow("set term")
        << "SET TERM ^ ;\nCREATE PROCEDURE P AS\nBEGIN\n  EXIT;\nEND^\nSET TERM ; ^\nCOMMIT;"
        << QStringList{"CREATE PROCEDURE P AS\nBEGIN\n  EXIT;\nEND", "COMMIT"} << QList<int>{2, 7};
    QTest::newRow("multi-character terminator")
        << "set term !! ;\nSELECT 1 FROM RDB$DATABASE!!\nset term ; !!\n"
        << QStringList{"SELECT 1 FROM RDB$DATABASE"} << QList<int>{2};
    QTest::newRow("empty statements") << ";;  ;\n" << QStringList{} << QList<int>{};
}

void TestScript::split()
{
    QFETCH(QString, script);
    QFETCH(QStringList, statements);
    QFETCH(QList<int>, lines);
    const Script parsed(script);
    QStringList texts;
    QList<int> starts;
    for (const auto& s : parsed.statements()) {
        texts << s.text;
        starts << s.line;
    }
    QCOMPARE(texts, statements);
    QCOMPARE(starts, lines);
}

void TestScript::unterminated_data()
{
    QTest::addColumn<QString>("script");
    QTest::newRow("literal") << "SELECT 'abc FROM RDB$DATABASE;";
    QTest::newRow("comment") << "SELECT 1 FROM RDB$DATABASE; /* no end";
}

void TestScript::unterminated()
{
    QFETCH(QString, script);
    QVERIFY_THROWS_EXCEPTION(Error, Script{script});
}

void TestScript::runsProceduresAndTriggers()
{
    TempDatabase db(QStringLiteral(R"(
SET SQL DIALECT 3;
SET NAMES WIN1251;
CREATE GENERATOR G;
CREATE TABLE STATIONS (ID INTEGER NOT NULL PRIMARY KEY, STATION INTEGER, ST_CHAR CHAR(1),
                       STATION_NAME VARCHAR(10));
SET TERM ^ ;
CREATE TRIGGER STATIONS_BI FOR STATIONS BEFORE INSERT OR UPDATE AS
BEGIN
  IF (NEW.ID IS NULL) THEN NEW.ID = GEN_ID(G, 1);
  NEW.STATION_NAME = NEW.STATION || COALESCE(TRIM(NEW.ST_CHAR), ''); -- name; computed
END^
CREATE PROCEDURE COUNT_STATIONS RETURNS (N INTEGER) AS
BEGIN
  SELECT COUNT(*) FROM STATIONS INTO :N;
END^
SET TERM ; ^
INSERT INTO STATIONS (STATION, ST_CHAR) VALUES (12, 'а');
INSERT INTO STATIONS (STATION) VALUES (7);
COMMIT WORK;
)"));
    Attachment att = db.attach();
    Transaction tr(att);
    Statement names(att, tr, QStringLiteral("SELECT STATION_NAME FROM STATIONS ORDER BY ID"));
    ResultSet rows = names.openCursor(tr);
    QVERIFY(rows.fetchNext());
    QCOMPARE(rows.value(0), QVariant(QStringLiteral("12а")));
    QVERIFY(rows.fetchNext());
    QCOMPARE(rows.value(0), QVariant(QStringLiteral("7")));
    Statement count(att, tr, QStringLiteral("EXECUTE PROCEDURE COUNT_STATIONS"));
    QCOMPARE(count.execute(tr)->at(0), QVariant(2));
}

void TestScript::failureNamesTheLineAndRollsBack()
{
    TempDatabase db(QStringLiteral("CREATE TABLE A (X INTEGER NOT NULL PRIMARY KEY);"));
    Attachment att = db.attach();
    const Script script(QStringLiteral("INSERT INTO A VALUES (1);\n\nINSERT INTO A VALUES (1);\n"));
    try {
        script.run(att);
        QFAIL("the duplicate was accepted");
    } catch (const Error& e) {
        QVERIFY2(e.message().contains(QStringLiteral("script line 3")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("PRIMARY or UNIQUE KEY")), qPrintable(e.message()));
    }
    Transaction tr(att);
    Statement count(att, tr, QStringLiteral("SELECT COUNT(*) FROM A"));
    QCOMPARE(count.execute(tr)->at(0), QVariant(qlonglong(0)));
}

QTEST_GUILESS_MAIN(TestScript)
#include "tst_script.moc"
