// Named parameters of statements: where they are found, how they become positional, which ones
// turn into "IS NULL", and what the row lock takes from an update statement.
#include <QTest>
#include <db/ParsedSql.h>

class SqlTest : public QObject
{
    Q_OBJECT

private slots:
    void parameters_data();
    void parameters();
    void nullTests_data();
    void nullTests();
    void isNullRewrite();
    void updateParts();
};

void SqlTest::parameters_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("positional");

    QTest::newRow("plain and quoted")
        << "UPDATE YEARS SET \"YEAR\" = :\"YEAR\", FROM_DATE = :from_date WHERE ID = :OLD_ID"
        << QStringList{"YEAR", "FROM_DATE", "OLD_ID"}
        << "UPDATE YEARS SET \"YEAR\" = ?, FROM_DATE = ? WHERE ID = ?";
    QTest::newRow("quoted name keeps its case")
        << "SELECT 1 FROM T WHERE A = :\"Mixed\"" << QStringList{"Mixed"} << "SELECT 1 FROM T WHERE A = ?";
    QTest::newRow("string literal skipped")
        << "SELECT ':NOT' || 'it''s :NOR' FROM T WHERE A = :A" << QStringList{"A"}
        << "SELECT ':NOT' || 'it''s :NOR' FROM T WHERE A = ?";
    QTest::newRow("comments skipped")
        << "SELECT /* :X */ A -- :Y\nFROM T WHERE B = :B /* :Z */" << QStringList{"B"}
        << "SELECT /* :X */ A -- :Y\nFROM T WHERE B = ? /* :Z */";
    QTest::newRow("quoted identifier is no parameter")
        << "SELECT \":A\" FROM T WHERE \"DATE\" BETWEEN :FROM_DATE AND :TILL_DATE"
        << QStringList{"FROM_DATE", "TILL_DATE"} << "SELECT \":A\" FROM T WHERE \"DATE\" BETWEEN ? AND ?";
    QTest::newRow("repeated name, one per occurrence")
        << "SELECT 1 FROM T WHERE A = :ID OR B = :id" << QStringList{"ID"}
        << "SELECT 1 FROM T WHERE A = ? OR B = ?";
    QTest::newRow("time literal") << "SELECT TIME '12:30' FROM T WHERE A=:A" << QStringList{"A"}
                                  << "SELECT TIME '12:30' FROM T WHERE A=?";
}

void SqlTest::parameters()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, names);
    QFETCH(QString, positional);
    const db::ParsedSql parsed(sql);
    QCOMPARE(parsed.names(), names);
    QCOMPARE(parsed.positionalSql(), positional);
}

void SqlTest::nullTests_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QList<bool>>("testable");

    QTest::newRow("where equality") << "SELECT A FROM T WHERE B = :B AND C=:C" << QList<bool>{true, true};
    QTest::newRow("other comparisons stay")
        << "SELECT A FROM T WHERE B <= :B AND C >= :C AND D <> :D AND E != :E AND F BETWEEN :F AND :G"
        << QList<bool>{false, false, false, false, false, false};
    QTest::newRow("assignments are no tests")
        << "UPDATE T SET A = :A, B = :B WHERE ID = :OLD_ID" << QList<bool>{false, false, true};
    QTest::newRow("inside parentheses of the condition")
        << "SELECT A FROM T WHERE( D BETWEEN :F AND :G ) and ( T.ID = :OLD_ID )"
        << QList<bool>{false, false, true};
    QTest::newRow("insert values") << "INSERT INTO T (A) VALUES (:A)" << QList<bool>{false};
    QTest::newRow("subquery in the select list")
        << "SELECT (SELECT X FROM U WHERE U.K = :K) FROM T WHERE T.A = :A ORDER BY 1"
        << QList<bool>{true, true};
    QTest::newRow("join condition is no where") << "SELECT A FROM T JOIN U ON U.K = :K" << QList<bool>{false};
}

void SqlTest::nullTests()
{
    QFETCH(QString, sql);
    QFETCH(QList<bool>, testable);
    const db::ParsedSql parsed(sql);
    QCOMPARE(parsed.params().size(), size_t(testable.size()));
    for (qsizetype i = 0; i < testable.size(); ++i)
        QVERIFY2(parsed.params()[size_t(i)].nullTestable == testable.at(i), qPrintable(QString::number(i)));
}

void SqlTest::isNullRewrite()
{
    const db::ParsedSql parsed(
        QStringLiteral("SELECT A FROM T WHERE PARENT = :ID\nAND PARENT_TAXON = :TAXON"));
    QCOMPARE(parsed.positionalSql(0b01),
             QStringLiteral("SELECT A FROM T WHERE PARENT IS NULL\nAND PARENT_TAXON = ?"));
    QCOMPARE(parsed.positionalSql(0b11),
             QStringLiteral("SELECT A FROM T WHERE PARENT IS NULL\nAND PARENT_TAXON IS NULL"));
    // A parameter that can't be a NULL test stays a parameter whatever the mask says.
    const db::ParsedSql between(QStringLiteral("SELECT A FROM T WHERE D BETWEEN :F AND :G"));
    QCOMPARE(between.positionalSql(0b11), QStringLiteral("SELECT A FROM T WHERE D BETWEEN ? AND ?"));
}

void SqlTest::updateParts()
{
    const db::ParsedSql update(
        QStringLiteral("UPDATE SEASONS\nSET\n    \"YEAR\" = :\"YEAR\",\n    FROM_DATE = "
                       ":FROM_DATE\nWHERE\n    SEASON_ID = :OLD_SEASON_ID\n    and SEASON "
                       "= :OLD_SEASON"));
    QCOMPARE(update.updateTable(), QStringLiteral("SEASONS"));
    QCOMPARE(update.firstAssignedColumn(), QStringLiteral("\"YEAR\""));
    QCOMPARE(update.whereClause(),
             QStringLiteral("WHERE\n    SEASON_ID = :OLD_SEASON_ID\n    and SEASON = :OLD_SEASON"));
    const db::ParsedSql qualified(QStringLiteral("UPDATE T SET T.A = :A WHERE ID = :OLD_ID"));
    QCOMPARE(qualified.firstAssignedColumn(), QStringLiteral("A"));
}

QTEST_GUILESS_MAIN(SqlTest)
#include "tst_sql.moc"
