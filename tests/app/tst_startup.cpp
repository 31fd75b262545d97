// Start-up and shutdown run in-process under the offscreen platform: the order of the
// long-lived objects, the splash second, the error box when the database can't be opened, and
// a run told to end before its event loop.

#include "DialogReportParams1.h"
#include "DialogReportParams2.h"
#include "InstanceRegistration.h"
#include "MainDataModule.h"
#include "MainForm.h"
#include "VelmarApplication.h"
#include "VelmarDatabase.h"
#include "WaitCursor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <fb/Error.h>
#include <memory>

namespace {

// Watches a run from the application's event filter: when the splash shows and goes, when the
// last long-lived object exists, and what the program shows afterwards.
class RunWatcher : public QObject
{
public:
    RunWatcher()
    {
        m_clock.start();
        qApp->installEventFilter(this);
    }
    ~RunWatcher() override { qApp->removeEventFilter(this); }

    qint64 splashShown = -1;
    qint64 splashGone = -1;
    qint64 lastObjectSeen = -1;
    qint64 mainFormShown = -1;
    bool splashAtErrorBox = false;
    bool mainFormVisibleAtErrorBox = false;
    bool waitCursorAtMainForm = true;
    QString errorTitle;
    QString errorText;
    QStringList destroyed;
    std::function<void()> onMainFormShown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (lastObjectSeen < 0 && DialogReportParams2)
            lastObjectSeen = m_clock.elapsed();
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            if (watched->objectName() == QStringLiteral("SplashForm") && splashShown < 0) {
                splashShown = m_clock.elapsed();
                m_splash = static_cast<QWidget*>(watched);
                connect(watched, &QObject::destroyed, this, [this] { splashGone = m_clock.elapsed(); });
            } else if (watched == MainForm.data() && mainFormShown < 0) {
                mainFormShown = m_clock.elapsed();
                waitCursorAtMainForm = QGuiApplication::overrideCursor() != nullptr;
                watchDestruction();
                if (onMainFormShown)
                    QTimer::singleShot(0, this, onMainFormShown);
            } else if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                splashAtErrorBox = !m_splash.isNull();
                mainFormVisibleAtErrorBox = MainForm && MainForm->isVisible();
                QTimer::singleShot(0, box, [this, box] {
                    errorTitle = box->windowTitle();
                    errorText = box->text();
                    box->button(QMessageBox::Ok)->click();
                });
            }
        }
        return false;
    }

private:
    void watchDestruction()
    {
        const QList<QObject*> objects{DialogReportParams2, DialogReportParams1, MainForm, MainDataModule};
        for (QObject* object : objects) {
            const QString name = object->objectName();
            connect(object, &QObject::destroyed, this, [this, name] { destroyed << name; });
        }
    }

    QElapsedTimer m_clock;
    QPointer<QObject> m_splash;
};

bool allReferencesEmpty()
{
    return !MainDataModule && !MainForm && !DialogReportParams1 && !DialogReportParams2;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

public:
    explicit TestStartup(VelmarApplication& app) : m_app(app) {}

private slots:
    void init() { m_previousDir = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_previousDir); }

    void runsAndShutsDownInReverseOrder();
    void missingDatabaseShowsTheErrorAndEndsWithOne();
    void laterRunEndsBeforeItsEventLoop();
    void errorLeftUncaughtByAHandlerShowsTheErrorBox();

private:
    VelmarApplication& m_app;
    QString m_previousDir;
};

void TestStartup::runsAndShutsDownInReverseOrder()
{
    const VelmarDatabase db;
    QDir::setCurrent(db.dirPath());
    qunsetenv("VELMAR_DATABASE");

    RunWatcher watcher;
    bool hiddenDialogs = false;
    bool connected = false;
    QString caption;
    watcher.onMainFormShown = [&] {
        hiddenDialogs = DialogReportParams1 && !DialogReportParams1->isVisible() && DialogReportParams2 &&
                        !DialogReportParams2->isVisible();
        connected = MainDataModule && MainDataModule->connected();
        caption = MainForm->windowTitle();
        MainForm->close();
    };
    QVERIFY(allReferencesEmpty());
    const int status = m_app.run();

    QCOMPARE(status, 0);
    QVERIFY(watcher.mainFormShown >= 0);
    QVERIFY(hiddenDialogs);
    QVERIFY(connected);
    QCOMPARE(caption, QStringLiteral("Velmar Sea - zooplankton"));
    // The splash shows first and stays a second after the last object was created; the
    // main window comes after it.
    QVERIFY(watcher.splashShown >= 0);
    QVERIFY(watcher.splashShown <= watcher.lastObjectSeen);
    QVERIFY2(watcher.splashGone - watcher.lastObjectSeen >= 980,
             qPrintable(QString::number(watcher.splashGone - watcher.lastObjectSeen)));
    QVERIFY(watcher.splashGone <= watcher.mainFormShown);
    QVERIFY(!watcher.waitCursorAtMainForm);
    QCOMPARE(WaitCursor::depth(), 0);
    QCOMPARE(watcher.destroyed,
             (QStringList{QStringLiteral("DialogReportParams2"), QStringLiteral("DialogReportParams1"),
                          QStringLiteral("MainForm"), QStringLiteral("MainDataModule")}));
    QVERIFY(allReferencesEmpty());
}

void TestStartup::missingDatabaseShowsTheErrorAndEndsWithOne()
{
    QTemporaryDir empty;
    QDir::setCurrent(empty.path());
    qunsetenv("VELMAR_DATABASE");

    RunWatcher watcher;
    const int status = m_app.run();

    QCOMPARE(status, 1);
    QVERIFY2(watcher.errorText.contains(QStringLiteral("DATA_Velmar.fdb")), qPrintable(watcher.errorText));
    QCOMPARE(watcher.errorTitle, QCoreApplication::applicationName());
    QVERIFY(watcher.splashShown >= 0);
    QVERIFY(!watcher.splashAtErrorBox);
    QVERIFY(!watcher.mainFormVisibleAtErrorBox);
    QCOMPARE(watcher.mainFormShown, -1);
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(allReferencesEmpty());
}

void TestStartup::laterRunEndsBeforeItsEventLoop()
{
    const VelmarDatabase db;
    QDir::setCurrent(db.dirPath());
    qunsetenv("VELMAR_DATABASE");
    // Another run of this program file holds the registration and can't be reached.
    const QString program = QStringLiteral("/opt/tst-startup-%1").arg(QCoreApplication::applicationPid());
    InstanceRegistration running(program);
    InstanceRegistration thisRun(program);
    QVERIFY(thisRun.anotherRunExisted());

    RunWatcher watcher;
    QElapsedTimer clock;
    clock.start();
    const int status = m_app.run();

    QCOMPARE(status, 0);
    QVERIFY(m_app.isTerminated());
    QCOMPARE(watcher.mainFormShown, -1);
    QVERIFY(watcher.errorText.isEmpty());
    // Start-up still completes: the splash second passes before the run ends.
    QVERIFY(watcher.splashGone - watcher.lastObjectSeen >= 980);
    QVERIFY(clock.elapsed() < 10000);
    QVERIFY(allReferencesEmpty());
}

void TestStartup::errorLeftUncaughtByAHandlerShowsTheErrorBox()
{
    // A handler whose database statement fails and that doesn't catch the error.
    class FailingHandler : public QObject
    {
    protected:
        bool event(QEvent* event) override
        {
            if (event->type() == QEvent::User)
                throw fb::Error(QStringLiteral("lock conflict on no wait transaction"));
            return QObject::event(event);
        }
    };
    FailingHandler handler;
    RunWatcher watcher;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&handler, &event);
    QCOMPARE(watcher.errorText, QStringLiteral("lock conflict on no wait transaction"));

    // The program goes on: events are still delivered.
    bool delivered = false;
    QTimer::singleShot(0, this, [&] { delivered = true; });
    QTRY_VERIFY(delivered);
}

int main(int argc, char* argv[])
{
    VelmarApplication app(argc, argv);
    TestStartup test(app);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
