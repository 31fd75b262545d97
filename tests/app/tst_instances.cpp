// The program as real processes on a virtual X display with a window manager: the error box of
// a missing database, the single-instance guard between runs of the same and of other program
// file names, the splash second, and a clean end when the main window closes or the run is
// told to end by a signal.

#include "VelmarDatabase.h"
#include "VirtualDisplay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QString MainCaption = QStringLiteral("Velmar Sea - zooplankton");
const QSize SplashSize(276, 276);
constexpr int StartTimeout = 20000;

} // namespace

class TestInstances : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void missingDatabaseShowsTheErrorAndEndsWithOne();
    void splashStaysASecondBeforeTheMainWindow();
    void copyUnderAnotherNameStartsBeside();
    void secondRunBringsTheCoveredFirstToTheFront();
    void secondRunRestoresTheMinimisedFirst();
    void sameNameInOtherCaseIsASecondRun();
    void terminationSignalEndsTheRunCleanly();
    void closingTheMainWindowEndsWithZero();

private:
    // Starts a copy of the program under `fileName` (in a folder of its own when `folder` is
    // given) in `workingDir`.
    QProcess* startProgram(const QString& fileName, const QString& workingDir, const QString& folder = {});
    QString programCopy(const QString& fileName, const QString& folder);
    // The main window of a process, once it is visible.
    QString waitForMainWindow(QProcess* process);
    QString mainWindowOf(QProcess* process) const;
    // Waits for a run that must end by itself; false when it showed a main window on the way.
    bool endsWithoutMainWindow(QProcess* process);
    static QString output(QProcess* process);

    VirtualDisplay m_display;
    std::unique_ptr<VelmarDatabase> m_database;
    QTemporaryDir m_scratch;
    QList<QProcess*> m_processes;
    QProcess* m_first = nullptr;
    QString m_firstWindow;
    QProcess* m_copy = nullptr;
};

void TestInstances::initTestCase()
{
    const QStringList missing = VirtualDisplay::missingTools();
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("Missing: ") + missing.join(QLatin1Char(' '))));
    QVERIFY(m_scratch.isValid());
    // The runs of this suite see each other only: their registrations lie in a folder of
    // their own.
    QVERIFY(QDir(m_scratch.path()).mkpath(QStringLiteral("tmp")));
    QString error;
    QVERIFY2(m_display.start(&error), qPrintable(error));
    m_database = std::make_unique<VelmarDatabase>();
}

void TestInstances::cleanupTestCase()
{
    for (QProcess* process : std::as_const(m_processes)) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
        delete process;
    }
    m_processes.clear();
    m_database.reset();
    m_display.stop();
}

QString TestInstances::programCopy(const QString& fileName, const QString& folder)
{
    const QString program = QStringLiteral(VELMAR_PROGRAM);
    if (fileName == QFileInfo(program).fileName() && folder.isEmpty())
        return program;
    const QString dir = QDir(m_scratch.path()).filePath(folder.isEmpty() ? QStringLiteral("bin") : folder);
    QDir().mkpath(dir);
    const QString copy = QDir(dir).filePath(fileName);
    if (!QFile::exists(copy))
        QFile::copy(program, copy);
    return copy;
}

QProcess* TestInstances::startProgram(const QString& fileName, const QString& workingDir,
                                      const QString& folder)
{
    auto* process = new QProcess;
    m_processes << process;
    QProcessEnvironment environment = m_display.environment();
    environment.remove(QStringLiteral("VELMAR_DATABASE"));
    environment.insert(QStringLiteral("TMPDIR"), QDir(m_scratch.path()).filePath(QStringLiteral("tmp")));
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(workingDir);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(programCopy(fileName, folder), {});
    process->waitForStarted();
    return process;
}

QString TestInstances::mainWindowOf(QProcess* process) const
{
    for (const VirtualDisplay::Window& window : m_display.visibleWindows(process->processId()))
        if (window.name == MainCaption)
            return window.id;
    return {};
}

QString TestInstances::waitForMainWindow(QProcess* process)
{
    QString window;
    QElapsedTimer clock;
    clock.start();
    while (window.isEmpty() && clock.elapsed() < StartTimeout && process->state() == QProcess::Running) {
        QTest::qWait(50);
        window = mainWindowOf(process);
    }
    return window;
}

bool TestInstances::endsWithoutMainWindow(QProcess* process)
{
    bool mainWindowSeen = false;
    QElapsedTimer clock;
    clock.start();
    while (process->state() != QProcess::NotRunning && clock.elapsed() < StartTimeout) {
        mainWindowSeen = mainWindowSeen || !mainWindowOf(process).isEmpty();
        process->waitForFinished(50);
    }
    return !mainWindowSeen && process->state() == QProcess::NotRunning;
}

QString TestInstances::output(QProcess* process)
{
    return QString::fromLocal8Bit(process->readAll());
}

void TestInstances::missingDatabaseShowsTheErrorAndEndsWithOne()
{
    QTemporaryDir empty;
    QProcess* run = startProgram(QStringLiteral("velmar-nodb"), empty.path());

    // The error box, titled with the program's name, once the splash has gone.
    QList<VirtualDisplay::Window> windows;
    QTRY_VERIFY_WITH_TIMEOUT((windows = m_display.visibleWindows(run->processId())).size() == 1 &&
                                 windows.first().size != SplashSize,
                             StartTimeout);
    QCOMPARE(windows.first().name, QStringLiteral("velmar-nodb"));
    QCOMPARE(run->state(), QProcess::Running);

    QVERIFY(m_display.activateAndPressKey(windows.first().id, QStringLiteral("Return")));
    QVERIFY(run->waitForFinished(10000));
    QCOMPARE(run->exitStatus(), QProcess::NormalExit);
    QCOMPARE(run->exitCode(), 1);
}

void TestInstances::splashStaysASecondBeforeTheMainWindow()
{
    QProcess* run = startProgram(QStringLiteral("velmar-splash"), m_database->dirPath());
    QElapsedTimer clock;
    clock.start();
    qint64 splashSeen = -1, mainSeen = -1;
    while (mainSeen < 0 && clock.elapsed() < StartTimeout && run->state() == QProcess::Running) {
        for (const VirtualDisplay::Window& window : m_display.visibleWindows(run->processId())) {
            if (window.size == SplashSize && splashSeen < 0)
                splashSeen = clock.elapsed();
            if (window.name == MainCaption)
                mainSeen = clock.elapsed();
        }
        QTest::qWait(10);
    }
    QVERIFY2(splashSeen >= 0, qPrintable(output(run)));
    QVERIFY2(mainSeen >= 0, qPrintable(output(run)));
    // Polling sees the splash a little late at most, so the true time is a little longer.
    QVERIFY2(mainSeen - splashSeen >= 950, qPrintable(QString::number(mainSeen - splashSeen)));
    const QString window = mainWindowOf(run);
    QVERIFY(m_display.close(window));
    QVERIFY(run->waitForFinished(10000));
    QCOMPARE(run->exitCode(), 0);
}

void TestInstances::copyUnderAnotherNameStartsBeside()
{
    m_first = startProgram(QFileInfo(QStringLiteral(VELMAR_PROGRAM)).fileName(), m_database->dirPath());
    m_firstWindow = waitForMainWindow(m_first);
    QVERIFY2(!m_firstWindow.isEmpty(), qPrintable(output(m_first)));

    m_copy = startProgram(QStringLiteral("velmar-copy"), m_database->dirPath());
    const QString copyWindow = waitForMainWindow(m_copy);
    QVERIFY2(!copyWindow.isEmpty(), qPrintable(output(m_copy)));
    QVERIFY(copyWindow != m_firstWindow);
    QCOMPARE(m_first->state(), QProcess::Running);
    QCOMPARE(mainWindowOf(m_first), m_firstWindow);
    // The newest window has the focus and covers the first one (both are centred).
    QTRY_COMPARE_WITH_TIMEOUT(m_display.activeWindow(), copyWindow, 5000);
}

void TestInstances::secondRunBringsTheCoveredFirstToTheFront()
{
    QVERIFY(m_first && m_first->state() == QProcess::Running);
    QVERIFY(m_display.activeWindow() != m_firstWindow);

    QProcess* second =
        startProgram(QFileInfo(QStringLiteral(VELMAR_PROGRAM)).fileName(), m_database->dirPath());
    QVERIFY2(endsWithoutMainWindow(second), qPrintable(output(second)));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(m_display.activeWindow(), m_firstWindow, 5000);
    QCOMPARE(m_first->state(), QProcess::Running);
}

void TestInstances::secondRunRestoresTheMinimisedFirst()
{
    QVERIFY(m_first && m_first->state() == QProcess::Running);
    QVERIFY(m_display.minimise(m_firstWindow));
    QTRY_VERIFY_WITH_TIMEOUT(mainWindowOf(m_first).isEmpty(), 5000);

    QProcess* second =
        startProgram(QFileInfo(QStringLiteral(VELMAR_PROGRAM)).fileName(), m_database->dirPath());
    QVERIFY2(endsWithoutMainWindow(second), qPrintable(output(second)));
    QCOMPARE(second->exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(mainWindowOf(m_first), m_firstWindow, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(m_display.activeWindow(), m_firstWindow, 5000);
}

void TestInstances::sameNameInOtherCaseIsASecondRun()
{
    QVERIFY(m_first && m_first->state() == QProcess::Running);
    QVERIFY(m_copy && m_copy->state() == QProcess::Running);
    // Bring the copy to the front, so that the first run's coming forward shows.
    const QString copyWindow = mainWindowOf(m_copy);
    QVERIFY(m_display.activateAndPressKey(copyWindow, QStringLiteral("shift")));
    QTRY_COMPARE_WITH_TIMEOUT(m_display.activeWindow(), copyWindow, 5000);

    const QString upper = QFileInfo(QStringLiteral(VELMAR_PROGRAM)).fileName().toUpper();
    QProcess* second = startProgram(upper, m_database->dirPath(), QStringLiteral("elsewhere"));
    QVERIFY2(endsWithoutMainWindow(second), qPrintable(output(second)));
    QCOMPARE(second->exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(m_display.activeWindow(), m_firstWindow, 5000);
}

void TestInstances::terminationSignalEndsTheRunCleanly()
{
    QProcess* run = startProgram(QStringLiteral("velmar-signal"), m_database->dirPath());
    QVERIFY2(!waitForMainWindow(run).isEmpty(), qPrintable(output(run)));
    run->terminate();
    QVERIFY(run->waitForFinished(10000));
    QCOMPARE(run->exitStatus(), QProcess::NormalExit);
    QCOMPARE(run->exitCode(), 0);
}

void TestInstances::closingTheMainWindowEndsWithZero()
{
    for (QProcess* run : {m_copy, m_first}) {
        QVERIFY(run && run->state() == QProcess::Running);
        QVERIFY(m_display.close(mainWindowOf(run)));
        QVERIFY(run->waitForFinished(10000));
        QCOMPARE(run->exitStatus(), QProcess::NormalExit);
        QCOMPARE(run->exitCode(), 0);
    }
}

QTEST_GUILESS_MAIN(TestInstances)
#include "tst_instances.moc"
