#include "TempDatabase.h"
#include "fb/Error.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

using namespace fb;

namespace {

const TransactionOptions WriteOptions =
    TransactionOptions().setIsolation(Isolation::Concurrency).setWait(false);
const TransactionOptions ReadOptions =
    TransactionOptions().setIsolation(Isolation::ReadCommitted).setRecordVersion(true).setWait(false);

QVariant textOf(const Attachment& att, Transaction& tr, int id)
{
    Statement select(att, tr, QStringLiteral("SELECT S FROM T WHERE ID = ?"));
    const auto row = select.execute(tr, {id});
    return row ? row->at(0) : QVariant();
}

void insert(const Attachment& att, Transaction& tr, int id, const QString& s)
{
    Statement statement(att, tr, QStringLiteral("INSERT INTO T (ID, S) VALUES (?, ?)"));
    statement.execute(tr, {id, s});
}

} // namespace

class TestTransactions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void readCommittedSeesACommitAtOnce();
    void commitRetainingKeepsTheTransaction();
    void rollbackUndoes();
    void lockConflictFailsAtOnce();
    void detachRollsBackActiveTransactions();
    void destroyedTransactionRollsBack();
    void dropDatabaseRemovesTheFile();
    void attachingAMissingFileFails();

private:
    std::unique_ptr<TempDatabase> m_db;
};

void TestTransactions::init()
{
    m_db = std::make_unique<TempDatabase>(
        QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, S VARCHAR(20));"
                       "INSERT INTO T VALUES (1, 'старое');"));
}

void TestTransactions::cleanup()
{
    m_db.reset();
}

void TestTransactions::readCommittedSeesACommitAtOnce()
{
    Attachment writer = m_db->attach();
    Attachment reader = m_db->attach();
    Transaction read(reader, ReadOptions);
    Transaction snapshot(reader, TransactionOptions().setIsolation(Isolation::Concurrency));
    read.start();
    snapshot.start();
    QVERIFY(!textOf(reader, read, 2).isValid());

    Transaction write(writer, WriteOptions);
    insert(writer, write, 2, QStringLiteral("новое"));
    QVERIFY(!textOf(reader, read, 2).isValid()); // not committed yet
    write.commit();
    QVERIFY(!write.isActive());

    QCOMPARE(textOf(reader, read, 2), QVariant(QStringLiteral("новое")));
    QVERIFY(!textOf(reader, snapshot, 2).isValid()); // a snapshot keeps what it saw
}

void TestTransactions::commitRetainingKeepsTheTransaction()
{
    Attachment writer = m_db->attach();
    Attachment reader = m_db->attach();
    Transaction write(writer, WriteOptions);
    Transaction read(reader, ReadOptions);
    Statement update(writer, write, QStringLiteral("UPDATE T SET S = ? WHERE ID = 1"));
    update.execute(write, {QStringLiteral("первое")});
    write.commitRetaining();
    QVERIFY(write.isActive());
    QCOMPARE(textOf(reader, read, 1), QVariant(QStringLiteral("первое")));
    update.execute(write, {QStringLiteral("второе")});
    write.commitRetaining();
    QCOMPARE(textOf(reader, read, 1), QVariant(QStringLiteral("второе")));
}

void TestTransactions::rollbackUndoes()
{
    Attachment att = m_db->attach();
    Transaction write(att, WriteOptions);
    insert(att, write, 2, QStringLiteral("x"));
    write.rollback();
    QVERIFY(!write.isActive());
    write.start(); // a transaction object can be used again
    QVERIFY(!textOf(att, write, 2).isValid());
    insert(att, write, 3, QStringLiteral("y"));
    write.rollbackRetaining();
    QVERIFY(write.isActive());
    QVERIFY(!textOf(att, write, 3).isValid());
}

// The row lock of the program's edit mode: a no-change update that another connection's
// nowait update runs into at once, while readers still see the row.
void TestTransactions::lockConflictFailsAtOnce()
{
    Attachment first = m_db->attach();
    Attachment second = m_db->attach();
    Transaction lock(first, WriteOptions);
    Statement(first, lock, QStringLiteral("UPDATE T SET S = S WHERE ID = 1")).execute(lock);

    Transaction other(second, WriteOptions);
    Statement update(second, other, QStringLiteral("UPDATE T SET S = 'чужое' WHERE ID = 1"));
    QElapsedTimer clock;
    clock.start();
    try {
        update.execute(other);
        QFAIL("the locked row was updated");
    } catch (const Error& e) {
        QVERIFY2(e.isLockConflict(), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("update conflicts with concurrent update")) ||
                     e.message().contains(QStringLiteral("lock conflict")),
                 qPrintable(e.message()));
    }
    QVERIFY(clock.elapsed() < 2000);

    Transaction read(second, ReadOptions);
    QCOMPARE(textOf(second, read, 1), QVariant(QStringLiteral("старое")));

    // Committing the lock ends it; a new transaction of the other connection can now write.
    lock.commit();
    other.rollback();
    Transaction retry(second, WriteOptions);
    update.execute(retry);
    QCOMPARE(update.affectedRows(), 1);
    retry.commit();
}

void TestTransactions::detachRollsBackActiveTransactions()
{
    Attachment att = m_db->attach();
    Transaction write(att, WriteOptions);
    Transaction another(att, WriteOptions);
    insert(att, write, 2, QStringLiteral("не сохранено"));
    another.start();
    att.detach(); // the engine itself refuses to detach with open transactions
    QVERIFY(!att.isAttached());
    QVERIFY(!write.isActive());
    QVERIFY(!another.isActive());
    QVERIFY_THROWS_EXCEPTION(Error, write.start());

    Attachment check = m_db->attach();
    Transaction read(check, ReadOptions);
    QVERIFY(!textOf(check, read, 2).isValid());
}

void TestTransactions::destroyedTransactionRollsBack()
{
    Attachment att = m_db->attach();
    {
        Transaction write(att, WriteOptions);
        insert(att, write, 2, QStringLiteral("x"));
    }
    {
        // The attachment going away first: its transaction ends with it.
        Attachment other = m_db->attach();
        Transaction write(other, WriteOptions);
        insert(other, write, 3, QStringLiteral("y"));
        other = Attachment::attach(m_db->params());
        QVERIFY(!write.isActive());
    }
    Transaction read(att, ReadOptions);
    QVERIFY(!textOf(att, read, 2).isValid());
    QVERIFY(!textOf(att, read, 3).isValid());
}

void TestTransactions::dropDatabaseRemovesTheFile()
{
    Attachment att = m_db->attach();
    Transaction open(att, WriteOptions);
    insert(att, open, 2, QStringLiteral("x"));
    att.dropDatabase(); // the open transaction ends first
    QVERIFY(!att.isAttached());
    QVERIFY(!open.isActive());
    QVERIFY(!QFileInfo::exists(m_db->path()));
}

void TestTransactions::attachingAMissingFileFails()
{
    ConnectionParams params = m_db->params();
    params.database = m_db->dirPath() + QStringLiteral("/missing.fdb");
    try {
        Attachment::attach(params);
        QFAIL("attached to a missing file");
    } catch (const Error& e) {
        QVERIFY2(e.message().contains(params.database), qPrintable(e.message()));
    }
}

QTEST_GUILESS_MAIN(TestTransactions)
#include "tst_transactions.moc"
