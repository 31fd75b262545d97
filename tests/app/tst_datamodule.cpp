// The data module: where the connection looks for the database, the transactions' parameters as
// the database sees them, their lifetime, and the text that the error box shows.

#include "ApplicationError.h"
#include "MainDataModule.h"
#include "VelmarDatabase.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <fb/Statement.h>
#include <memory>

namespace {

const QString DatabaseFile = QStringLiteral("DATA_Velmar.fdb");

const QString Script = QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20));\n"
                                      "INSERT INTO T (ID, NAME) VALUES (1, 'one');\n"
                                      "CREATE EXCEPTION E_VISIT_HAS_SAMPLES 'The visit has samples.';\n");

// Runs in the working directory given, and restores the previous one and VELMAR_DATABASE.
class WorkingPlace
{
public:
    explicit WorkingPlace(const QString& dir, const QByteArray& databaseVariable = {})
        : m_previousDir(QDir::currentPath()), m_previousVariable(qgetenv("VELMAR_DATABASE"))
    {
        QDir::setCurrent(dir);
        if (databaseVariable.isNull())
            qunsetenv("VELMAR_DATABASE");
        else
            qputenv("VELMAR_DATABASE", databaseVariable);
    }
    ~WorkingPlace()
    {
        QDir::setCurrent(m_previousDir);
        if (m_previousVariable.isNull())
            qunsetenv("VELMAR_DATABASE");
        else
            qputenv("VELMAR_DATABASE", m_previousVariable);
    }

private:
    QString m_previousDir;
    QByteArray m_previousVariable;
};

int count(const fb::Attachment& attachment, fb::Transaction& transaction, const QString& where = {})
{
    fb::Statement statement(attachment, transaction, QStringLiteral("SELECT COUNT(*) FROM T ") + where);
    return statement.execute(transaction)->at(0).toInt();
}

} // namespace

class TestDataModule : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_db = std::make_unique<VelmarDatabase>(Script); }
    void cleanup() { m_db.reset(); }

    void databaseName_data();
    void databaseName();
    void connectsToTheFileInTheWorkingDirectory();
    void connectsToTheDatabaseTheVariableNames();
    void missingDatabaseFailsWithTheDatabasesMessage();
    void readTransactionSeesOtherCommitsAtOnce();
    void writeTransactionFailsAtOnceOnALock();
    void closingRollsBackWhatWasNeverCommitted();
    void errorHandlerMessages();
    void errorBoxShowsTheHandlersText();

private:
    std::unique_ptr<VelmarDatabase> m_db;
};

void TestDataModule::databaseName_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unset") << QByteArray() << DatabaseFile;
    QTest::newRow("empty") << QByteArray("") << DatabaseFile;
    QTest::newRow("blank") << QByteArray("  ") << DatabaseFile;
    QTest::newRow("file") << QByteArray("/data/other.fdb") << QStringLiteral("/data/other.fdb");
    QTest::newRow("server") << QByteArray("localhost:/srv/velmar/DATA_Velmar.fdb")
                            << QStringLiteral("localhost:/srv/velmar/DATA_Velmar.fdb");
}

void TestDataModule::databaseName()
{
    QFETCH(QByteArray, variable);
    QFETCH(QString, expected);
    const WorkingPlace place(m_db->dirPath(), variable);
    QCOMPARE(TMainDataModule::databaseName(), expected);
    const fb::ConnectionParams params = TMainDataModule::connectionParams();
    QCOMPARE(params.database, expected);
    QCOMPARE(params.user, QStringLiteral("SYSDBA"));
    QCOMPARE(params.password, QStringLiteral("plumbline"));
    QCOMPARE(params.charset, QStringLiteral("WIN1251"));
    QCOMPARE(params.dialect, 3);
}

void TestDataModule::connectsToTheFileInTheWorkingDirectory()
{
    const WorkingPlace place(m_db->dirPath());
    TMainDataModule module;
    QVERIFY(module.connected());
    QCOMPARE(module.objectName(), QStringLiteral("MainDataModule"));
    // The datasets opened on connecting have started the read transaction; the write
    // transaction waits for its first use and then stays active.
    QVERIFY(module.pFIBReadTransaction().isActive());
    QVERIFY(!module.pFIBWriteTransaction().isActive());
    QCOMPARE(count(module.pFIBDatabase1(), module.pFIBWriteTransaction()), 1);
    QVERIFY(module.pFIBWriteTransaction().isActive());
    module.pFIBWriteTransaction().commitRetaining();
    QVERIFY(module.pFIBWriteTransaction().isActive());

    // Opening again does nothing; closing twice is harmless.
    module.openConnection();
    QVERIFY(module.pFIBReadTransaction().isActive());
    module.closeConnection();
    QVERIFY(!module.connected());
    module.closeConnection();
    QVERIFY_THROWS_EXCEPTION(fb::Error, module.pFIBReadTransaction());
    module.openConnection();
    QVERIFY(module.connected());
}

void TestDataModule::connectsToTheDatabaseTheVariableNames()
{
    QTemporaryDir elsewhere;
    const WorkingPlace place(elsewhere.path(), QFile::encodeName(m_db->path()));
    TMainDataModule module;
    QVERIFY(module.connected());
    QCOMPARE(count(module.pFIBDatabase1(), module.pFIBReadTransaction()), 1);
}

void TestDataModule::missingDatabaseFailsWithTheDatabasesMessage()
{
    QTemporaryDir empty;
    const WorkingPlace place(empty.path());
    try {
        TMainDataModule module;
        QFAIL("A missing database file must end the module's creation");
    } catch (const fb::Error& error) {
        QVERIFY2(error.message().contains(DatabaseFile), qPrintable(error.message()));
    }
    QVERIFY(!QFile::exists(QDir(empty.path()).filePath(DatabaseFile)));
}

void TestDataModule::readTransactionSeesOtherCommitsAtOnce()
{
    const WorkingPlace place(m_db->dirPath());
    TMainDataModule module;
    QCOMPARE(count(module.pFIBDatabase1(), module.pFIBReadTransaction()), 1);

    fb::Attachment other = m_db->attach();
    fb::Transaction otherTransaction(other);
    fb::Statement insert(other, otherTransaction,
                         QStringLiteral("INSERT INTO T (ID, NAME) VALUES (2, 'two')"));
    insert.execute(otherTransaction);
    otherTransaction.commit();

    QVERIFY(module.pFIBReadTransaction().isActive());
    QCOMPARE(count(module.pFIBDatabase1(), module.pFIBReadTransaction()), 2);
}

void TestDataModule::writeTransactionFailsAtOnceOnALock()
{
    const WorkingPlace place(m_db->dirPath());
    TMainDataModule module;

    fb::Attachment other = m_db->attach();
    fb::Transaction otherTransaction(other, fb::TransactionOptions{}.setWait(true));
    fb::Statement lock(other, otherTransaction, QStringLiteral("UPDATE T SET NAME = 'held' WHERE ID = 1"));
    lock.execute(otherTransaction);

    QElapsedTimer timer;
    timer.start();
    fb::Statement update(module.pFIBDatabase1(), module.pFIBWriteTransaction(),
                         QStringLiteral("UPDATE T SET NAME = 'mine' WHERE ID = 1"));
    try {
        update.execute(module.pFIBWriteTransaction());
        QFAIL("The update must fail on the other connection's lock");
    } catch (const fb::Error& error) {
        QVERIFY2(error.isLockConflict(), qPrintable(error.message()));
    }
    QVERIFY(timer.elapsed() < 2000);
    otherTransaction.rollback();
}

void TestDataModule::closingRollsBackWhatWasNeverCommitted()
{
    const WorkingPlace place(m_db->dirPath());
    {
        TMainDataModule module;
        fb::Transaction& write = module.pFIBWriteTransaction();
        fb::Statement insert(module.pFIBDatabase1(), write,
                             QStringLiteral("INSERT INTO T (ID, NAME) VALUES (?, ?)"));
        insert.execute(write, {2, QStringLiteral("stored")});
        write.commitRetaining();
        QVERIFY(write.isActive());
        insert.execute(write, {3, QStringLiteral("never stored")});
        // The module's destruction closes the connection.
    }
    fb::Attachment other = m_db->attach();
    fb::Transaction read(other);
    QCOMPARE(count(other, read), 2);
    QCOMPARE(count(other, read, QStringLiteral("WHERE ID = 3")), 0);
}

void TestDataModule::errorHandlerMessages()
{
    const WorkingPlace place(m_db->dirPath());
    TMainDataModule module;
    const DatabaseErrorHandler& handler = module.pFibErrorHandler1;

    // A user-defined exception of the database shows its own text only.
    fb::Statement raise(module.pFIBDatabase1(), module.pFIBWriteTransaction(),
                        QStringLiteral("EXECUTE BLOCK AS BEGIN EXCEPTION E_VISIT_HAS_SAMPLES; END"));
    try {
        raise.execute(module.pFIBWriteTransaction());
        QFAIL("The block must raise its exception");
    } catch (const fb::Error& error) {
        QCOMPARE(handler.messageOf(error), QStringLiteral("The visit has samples."));
    }

    // Any other database error shows the database's whole message.
    try {
        fb::Statement bad(module.pFIBDatabase1(), module.pFIBReadTransaction(),
                          QStringLiteral("SELECT NOSUCHCOLUMN FROM T"));
        QFAIL("Preparing must fail");
    } catch (const fb::Error& error) {
        QCOMPARE(handler.messageOf(error), error.message());
        QVERIFY2(error.message().contains(QStringLiteral("NOSUCHCOLUMN")), qPrintable(error.message()));
    }

    QCOMPARE(handler.messageOf(std::runtime_error("Disk full")), QStringLiteral("Disk full"));
    QCOMPARE(handler.messageOf(std::runtime_error("")), handler.messageOfUnknown());
}

void TestDataModule::errorBoxShowsTheHandlersText()
{
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    showApplicationError(nullptr, fb::Error(QStringLiteral("violation of FOREIGN KEY constraint")));
    QCOMPARE(text, QStringLiteral("violation of FOREIGN KEY constraint"));
    QCOMPARE(title, QCoreApplication::applicationName());
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

QTEST_MAIN(TestDataModule)
#include "tst_datamodule.moc"
