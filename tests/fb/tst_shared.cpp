#include "TempDatabase.h"
#include "fb/Engine.h"
#include "fb/Error.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace fb;

namespace {

struct PeerResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the helper in a process of its own. FIREBIRD is taken away so that the helper finds its
// engine configuration itself, as a second copy of the program would.
QProcessEnvironment peerEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("FIREBIRD"));
    return env;
}

PeerResult runPeer(const QStringList& args)
{
    QProcess peer;
    peer.setProcessEnvironment(peerEnvironment());
    peer.start(QStringLiteral(FB_PEER_PATH), args);
    if (!peer.waitForFinished(60000))
        return {};
    return {peer.exitStatus() == QProcess::NormalExit ? peer.exitCode() : -1,
            QString::fromUtf8(peer.readAllStandardOutput()).trimmed(),
            QString::fromUtf8(peer.readAllStandardError()).trimmed()};
}

} // namespace

class TestShared : public QObject
{
    Q_OBJECT

private slots:
    void engineRootIsClassicWithItsOwnCharsets();
    void twoProcessesShareOneFile();
    void processesStartingTogetherMakeOneRoot();
};

void TestShared::engineRootIsClassicWithItsOwnCharsets()
{
    if (qEnvironmentVariableIsSet("FIREBIRD") && !qEnvironmentVariableIsEmpty("FIREBIRD"))
        QSKIP("FIREBIRD is set by the user; the engine root is theirs");
    Engine::prepare();
    const QString root = Engine::rootDirectory();
    QVERIFY(!root.isEmpty());
    QCOMPARE(qEnvironmentVariable("FIREBIRD"), root);
    QFile conf(root + QStringLiteral("/firebird.conf"));
    QVERIFY(conf.open(QIODevice::ReadOnly));
    QVERIFY(conf.readAll().contains("ServerMode = Classic"));
    const QFileInfo intl(root + QStringLiteral("/intl/libfbintl.so"));
    QVERIFY(intl.isFile());
    QVERIFY(!intl.isSymLink()); // the engine refuses a module linked from outside its root
    QVERIFY(QFileInfo(root + QStringLiteral("/intl/fbintl.conf")).isFile());

    // Another process finds the same root by itself.
    const PeerResult peer = runPeer({QStringLiteral("-"), QStringLiteral("root")});
    QCOMPARE(peer.exitCode, 0);
    QCOMPARE(peer.out, root);
}

void TestShared::twoProcessesShareOneFile()
{
    TempDatabase db(QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, S VARCHAR(20));"));
    Attachment att = db.attach();
    Transaction read(att, TransactionOptions().setIsolation(Isolation::ReadCommitted));
    Statement select(att, read, QStringLiteral("SELECT S FROM T WHERE ID = ?"));
    QVERIFY(!select.execute(read, {1}));

    // The other process writes while this one holds the file open and its transaction active.
    PeerResult peer = runPeer(
        {db.path(), QStringLiteral("insert"), QStringLiteral("1"), QStringLiteral("из другого процесса")});
    QVERIFY2(peer.exitCode == 0, qPrintable(peer.err));
    QCOMPARE(select.execute(read, {1})->at(0), QVariant(QStringLiteral("из другого процесса")));

    // And sees at once what this one commits.
    Transaction write(att);
    Statement(att, write, QStringLiteral("INSERT INTO T (ID, S) VALUES (2, 'отсюда')")).execute(write);
    write.commit();
    peer = runPeer({db.path(), QStringLiteral("text"), QStringLiteral("2")});
    QVERIFY2(peer.exitCode == 0, qPrintable(peer.err));
    QCOMPARE(peer.out, QStringLiteral("отсюда"));
}

// Several copies of the program starting at once: each builds the root aside and renames it
// into place; the ones that lose the race use the winner's.
void TestShared::processesStartingTogetherMakeOneRoot()
{
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QProcessEnvironment env = peerEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    std::vector<std::unique_ptr<QProcess>> peers;
    for (int i = 0; i < 4; ++i) {
        auto peer = std::make_unique<QProcess>();
        peer->setProcessEnvironment(env);
        peer->start(QStringLiteral(FB_PEER_PATH), {QStringLiteral("-"), QStringLiteral("root")});
        peers.push_back(std::move(peer));
    }
    QStringList roots;
    for (auto& peer : peers) {
        QVERIFY(peer->waitForFinished(60000));
        QCOMPARE(peer->exitCode(), 0);
        roots << QString::fromUtf8(peer->readAllStandardOutput()).trimmed();
    }
    roots.removeDuplicates();
    QCOMPARE(roots.size(), 1);
    QVERIFY(roots.front().startsWith(runtime.path() + QStringLiteral("/velmar-firebird-")));
    // Nothing half-made is left behind.
    QCOMPARE(QDir(runtime.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    QVERIFY(QFileInfo(roots.front() + QStringLiteral("/intl/libfbintl.so")).isFile());
}

QTEST_GUILESS_MAIN(TestShared)
#include "tst_shared.moc"
