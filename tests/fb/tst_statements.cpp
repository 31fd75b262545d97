#include "TempDatabase.h"
#include "fb/Error.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QTest>

using namespace fb;

namespace {

const char* const Schema = R"(
CREATE GENERATOR G_ID;
CREATE EXCEPTION E_RULE 'Правило нарушено';
CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, S VARCHAR(20), N INTEGER);
SET TERM ^ ;
CREATE PROCEDURE P_ADD (A INTEGER, B INTEGER) RETURNS (SUM_AB INTEGER, NOTE VARCHAR(20)) AS
BEGIN
  SUM_AB = A + B;
  NOTE = 'сумма';
END^
CREATE PROCEDURE P_RANGE (N INTEGER) RETURNS (I INTEGER) AS
BEGIN
  I = 1;
  WHILE (I <= N) DO BEGIN SUSPEND; I = I + 1; END
END^
CREATE PROCEDURE P_CHECK (X INTEGER) AS
BEGIN
  IF (X = 1) THEN EXCEPTION E_RULE;
  IF (X = 2) THEN EXCEPTION E_RULE 'Число ' || X || ' недопустимо';
END^
CREATE TRIGGER T_BI FOR T BEFORE INSERT AS
BEGIN
  IF (NEW.N < 0) THEN EXCEPTION E_RULE 'Отрицательное N';
END^
SET TERM ; ^
INSERT INTO T VALUES (1, 'один', 10);
INSERT INTO T VALUES (2, 'два', 20);
INSERT INTO T VALUES (3, 'три', 30);
)";

} // namespace

class TestStatements : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void generatorGivesNextValues();
    void executableProcedureReturnsItsRow();
    void cursorReadsEveryRow();
    void reopeningACursorClosesThePreviousOne();
    void singletonSelectWithoutRows();
    void affectedRowsAndReturning();
    void statementRunsInAnotherTransaction();
    void wrongParameterCount();
    void userExceptionShowsItsOwnText_data();
    void userExceptionShowsItsOwnText();
    void databaseErrorsKeepTheirText_data();
    void databaseErrorsKeepTheirText();
    void handlesOutliveTheirAttachment();
    void noHandleIsLeft();

private:
    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<Attachment> m_att;
};

void TestStatements::init()
{
    m_db = std::make_unique<TempDatabase>(QString::fromUtf8(Schema));
    m_att = std::make_unique<Attachment>(m_db->attach());
}

void TestStatements::cleanup()
{
    m_att.reset();
    m_db.reset();
}

void TestStatements::generatorGivesNextValues()
{
    Transaction tr(*m_att);
    Statement next(*m_att, tr, QStringLiteral("SELECT GEN_ID(G_ID, 1) FROM RDB$DATABASE"));
    QCOMPARE(next.execute(tr)->at(0), QVariant(qlonglong(1)));
    QCOMPARE(next.execute(tr)->at(0), QVariant(qlonglong(2)));
    // A generator is outside transaction control: the value is spent even after rollback.
    tr.rollback();
    Transaction other(*m_att);
    QCOMPARE(next.execute(other)->at(0), QVariant(qlonglong(3)));
}

void TestStatements::executableProcedureReturnsItsRow()
{
    Transaction tr(*m_att);
    Statement call(*m_att, tr, QStringLiteral("EXECUTE PROCEDURE P_ADD(?, ?)"));
    QCOMPARE(call.type(), StatementType::ExecProcedure);
    QCOMPARE(call.outputs().size(), size_t(2));
    const auto row = call.execute(tr, {2, 40});
    QVERIFY(row);
    QCOMPARE(*row, (QVariantList{42, QStringLiteral("сумма")}));
}

void TestStatements::cursorReadsEveryRow()
{
    Transaction tr(*m_att);
    Statement select(*m_att, tr, QStringLiteral("SELECT I FROM P_RANGE(?)"));
    ResultSet rows = select.openCursor(tr, {5});
    QVariantList seen;
    while (rows.fetchNext())
        rows.appendRow(seen);
    QCOMPARE(seen, (QVariantList{1, 2, 3, 4, 5}));
    QVERIFY(!rows.isOpen());
    QVERIFY(!rows.fetchNext());
}

void TestStatements::reopeningACursorClosesThePreviousOne()
{
    Transaction tr(*m_att);
    Statement select(*m_att, tr, QStringLiteral("SELECT ID, S FROM T WHERE ID >= ? ORDER BY ID"));
    ResultSet first = select.openCursor(tr, {1});
    QVERIFY(first.fetchNext());
    QCOMPARE(first.row(), (QVariantList{1, QStringLiteral("один")}));
    ResultSet second = select.openCursor(tr, {3});
    QVERIFY(!first.isOpen());
    QVERIFY(!first.fetchNext());
    QVERIFY(second.fetchNext());
    QCOMPARE(second.value(1), QVariant(QStringLiteral("три")));
    QVERIFY(!second.fetchNext());
}

void TestStatements::singletonSelectWithoutRows()
{
    Transaction tr(*m_att);
    Statement select(*m_att, tr, QStringLiteral("SELECT S FROM T WHERE ID = ?"));
    QVERIFY(!select.execute(tr, {99}).has_value());
    QCOMPARE(select.execute(tr, {2})->at(0), QVariant(QStringLiteral("два")));
}

void TestStatements::affectedRowsAndReturning()
{
    Transaction tr(*m_att);
    Statement update(*m_att, tr, QStringLiteral("UPDATE T SET N = N + 1 WHERE ID <= ?"));
    QCOMPARE(update.type(), StatementType::Update);
    update.execute(tr, {2});
    QCOMPARE(update.affectedRows(), 2);
    update.execute(tr, {0});
    QCOMPARE(update.affectedRows(), 0);

    Statement insert(*m_att, tr,
                     QStringLiteral("INSERT INTO T (ID, S) VALUES (GEN_ID(G_ID, 1) + 100, ?) RETURNING ID"));
    // The database reports an insert with RETURNING as a procedure call.
    QCOMPARE(insert.type(), StatementType::ExecProcedure);
    const auto row = insert.execute(tr, {QStringLiteral("новый")});
    QVERIFY(row);
    QCOMPARE(row->at(0), QVariant(101));
    QCOMPARE(insert.affectedRows(), 1);

    Statement remove(*m_att, tr, QStringLiteral("DELETE FROM T WHERE ID > ?"));
    remove.execute(tr, {1});
    QCOMPARE(remove.affectedRows(), 3);
}

void TestStatements::statementRunsInAnotherTransaction()
{
    Transaction prepareIn(*m_att);
    Statement select(*m_att, prepareIn, QStringLiteral("SELECT COUNT(*) FROM T"));
    prepareIn.commit();
    Transaction runIn(*m_att);
    QCOMPARE(select.execute(runIn)->at(0), QVariant(qlonglong(3)));
}

void TestStatements::wrongParameterCount()
{
    Transaction tr(*m_att);
    Statement select(*m_att, tr, QStringLiteral("SELECT S FROM T WHERE ID = ? AND N = ?"));
    QVERIFY_THROWS_EXCEPTION(Error, select.execute(tr, {1}));
    QVERIFY_THROWS_EXCEPTION(Error, select.openCursor(tr, {1, 2, 3}));
}

void TestStatements::userExceptionShowsItsOwnText_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("whereRaised");
    QTest::newRow("declared text") << "EXECUTE PROCEDURE P_CHECK(1)" << QStringLiteral("Правило нарушено")
                                   << "At procedure 'P_CHECK'";
    QTest::newRow("text given when raised")
        << "EXECUTE PROCEDURE P_CHECK(2)" << QStringLiteral("Число 2 недопустимо")
        << "At procedure 'P_CHECK'";
    QTest::newRow("raised by a trigger")
        << "INSERT INTO T (ID, N) VALUES (9, -1)" << QStringLiteral("Отрицательное N") << "At trigger 'T_BI'";
}

void TestStatements::userExceptionShowsItsOwnText()
{
    QFETCH(QString, sql);
    QFETCH(QString, message);
    QFETCH(QString, whereRaised);
    Transaction tr(*m_att);
    Statement statement(*m_att, tr, sql);
    try {
        statement.execute(tr);
        QFAIL("no exception was raised");
    } catch (const Error& e) {
        QCOMPARE(e.message(), message);
        QVERIFY(e.isUserException());
        QVERIFY2(e.fullMessage().contains(QStringLiteral("E_RULE")), qPrintable(e.fullMessage()));
        QVERIFY2(e.fullMessage().contains(whereRaised), qPrintable(e.fullMessage()));
        QCOMPARE(QString::fromUtf8(e.what()), message);
    }
}

void TestStatements::databaseErrorsKeepTheirText_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sqlState");
    QTest::newRow("primary key") << "INSERT INTO T (ID) VALUES (1)"
                                 << "violation of PRIMARY or UNIQUE KEY constraint"
                                 << "23000";
    QTest::newRow("syntax") << "SELEC 1 FROM RDB$DATABASE"
                            << "Token unknown"
                            << "42000";
    QTest::newRow("unknown table") << "SELECT * FROM NO_SUCH_TABLE"
                                   << "NO_SUCH_TABLE"
                                   << "42S02";
}

void TestStatements::databaseErrorsKeepTheirText()
{
    QFETCH(QString, sql);
    QFETCH(QString, text);
    QFETCH(QString, sqlState);
    Transaction tr(*m_att);
    try {
        Statement statement(*m_att, tr, sql);
        statement.execute(tr);
        QFAIL("the statement succeeded");
    } catch (const Error& e) {
        QVERIFY2(e.message().contains(text), qPrintable(e.message()));
        QCOMPARE(e.message(), e.fullMessage());
        QCOMPARE(e.sqlState(), sqlState);
        QVERIFY(e.primaryCode() != 0);
        QVERIFY(e.sqlCode() < 0);
        QVERIFY(!e.isUserException());
    }
}

// Objects of this layer may be destroyed in any order; the ones left after the attachment
// are let go without touching the database.
void TestStatements::handlesOutliveTheirAttachment()
{
    auto tr = std::make_unique<Transaction>(*m_att);
    auto statement = std::make_unique<Statement>(*m_att, *tr, QStringLiteral("SELECT ID FROM T"));
    auto rows = std::make_unique<ResultSet>(statement->openCursor(*tr));
    QVERIFY(rows->fetchNext());
    m_att->detach();
    QVERIFY(!m_att->isAttached());
    QVERIFY(!tr->isActive());
    QVERIFY_THROWS_EXCEPTION(Error, statement->execute(*tr));
    rows.reset();
    statement.reset();
    tr.reset();
}

// The engine lists every statement that is still allocated and every transaction that is still
// open: after the objects of this layer are gone, only the monitoring query itself remains.
void TestStatements::noHandleIsLeft()
{
    auto countOpen = [this] {
        Transaction monitor(*m_att, TransactionOptions().setIsolation(Isolation::Concurrency));
        Statement statements(*m_att, monitor,
                             QStringLiteral("SELECT COUNT(*) FROM MON$STATEMENTS "
                                            "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"));
        Statement transactions(*m_att, monitor,
                               QStringLiteral("SELECT COUNT(*) FROM MON$TRANSACTIONS "
                                              "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"));
        return QPair<qlonglong, qlonglong>(statements.execute(monitor)->at(0).toLongLong(),
                                           transactions.execute(monitor)->at(0).toLongLong());
    };
    const auto before = countOpen();
    for (int i = 0; i < 5; ++i) {
        Transaction tr(*m_att);
        Statement select(*m_att, tr, QStringLiteral("SELECT I FROM P_RANGE(?)"));
        ResultSet unfinished = select.openCursor(tr, {3});
        QVERIFY(unfinished.fetchNext());
        ResultSet reopened = select.openCursor(tr, {2});
        Statement insert(*m_att, tr, QStringLiteral("INSERT INTO T (ID, S) VALUES (?, ?)"));
        insert.execute(tr, {100 + i, QStringLiteral("x")});
        QVERIFY_THROWS_EXCEPTION(Error, insert.execute(tr, {100 + i, QStringLiteral("duplicate")}));
        QVERIFY_THROWS_EXCEPTION(Error, Statement(*m_att, tr, QStringLiteral("SELECT FROM")));
        if (i % 2)
            tr.commit();
    }
    QCOMPARE(countOpen(), before);
}

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
