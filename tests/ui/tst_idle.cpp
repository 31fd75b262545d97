#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <ui/ActionList.h>
#include <ui/ApplicationEvents.h>

// The idle moment and the actions updated at it. Only a waiting event loop has idle moments,
// so the tests run real loops (QSignalSpy::wait, QEventLoop::exec, QDialog::exec).
class TestIdle : public QObject
{
    Q_OBJECT

private slots:
    void idleComesWhenTheLoopRunsDry();
    void idleHandlersDoNotKeepItGoing();
    void idleDoesNotStarveTimers();
    void idleRunsInModalLoops();
    void actionsUpdateAtIdle();

private:
    // Runs the event loop for `ms` milliseconds.
    static void runLoop(int ms)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

void TestIdle::idleComesWhenTheLoopRunsDry()
{
    ui::ApplicationEvents events;
    QStringList order;
    connect(&events, &ui::ApplicationEvents::idle, this, [&] { order << QStringLiteral("idle"); });
    QSignalSpy idle(&events, &ui::ApplicationEvents::idle);
    QVERIFY(idle.wait(2000)); // the first idle moment
    order.clear();
    QTimer::singleShot(0, this, [&] { order << QStringLiteral("event"); });
    QVERIFY(idle.wait(2000));
    QCOMPARE(order, (QStringList{QStringLiteral("event"), QStringLiteral("idle")}));
}

void TestIdle::idleHandlersDoNotKeepItGoing()
{
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("OK"), &window);
    window.show();
    ui::ApplicationEvents events;
    int idles = 0;
    // A handler that changes the window each time: repaints follow, but no new idle moment.
    connect(&events, &ui::ApplicationEvents::idle, this, [&] {
        ++idles;
        button->setEnabled(!button->isEnabled());
        button->setText(QString::number(idles));
    });
    runLoop(300);
    QVERIFY2(idles >= 1 && idles <= 3, qPrintable(QString::number(idles)));

    // A new event brings one more.
    const int before = idles;
    QTimer::singleShot(0, this, [] {});
    runLoop(100);
    QVERIFY(idles > before);
    QVERIFY2(idles <= before + 3, qPrintable(QString::number(idles)));
}

void TestIdle::idleDoesNotStarveTimers()
{
    ui::ApplicationEvents events;
    int idles = 0;
    connect(&events, &ui::ApplicationEvents::idle, this, [&] { ++idles; });
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
    timer.start(20);
    runLoop(400);
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    QVERIFY(idles >= ticks / 2); // an idle moment after each tick
}

void TestIdle::idleRunsInModalLoops()
{
    ui::ApplicationEvents events;
    QDialog dialog;
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    int valueFrom = 5;
    int valueTo = 3;
    // The report dialogs' rule: OK only when To >= From, decided at idle.
    connect(&events, &ui::ApplicationEvents::idle, &dialog, [&] { ok->setEnabled(valueTo >= valueFrom); });
    bool wasDisabled = false;
    QTimer::singleShot(50, &dialog, [&] {
        wasDisabled = !ok->isEnabled();
        valueTo = 9;
        QTimer::singleShot(50, &dialog, [&] {
            QVERIFY(ok->isEnabled());
            dialog.accept();
        });
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(wasDisabled);
}

void TestIdle::actionsUpdateAtIdle()
{
    ui::ActionList list;
    ui::Action chart(QStringLiteral("acChart"));
    QAction exit(QStringLiteral("acExit"));
    list.addAction(&chart);
    list.addAction(&exit);
    bool haveData = false;
    connect(&chart, &ui::Action::updateRequested, this, [&] { chart.setEnabled(haveData); });
    QList<QAction*> updated;
    connect(&list, &ui::ActionList::actionUpdate, this, [&](QAction* a) { updated << a; });

    QSignalSpy requested(&chart, &ui::Action::updateRequested);
    QVERIFY(requested.wait(2000));
    QVERIFY(!chart.isEnabled());
    QCOMPARE(updated.mid(0, 2), (QList<QAction*>{&chart, &exit}));

    haveData = true;
    QTimer::singleShot(0, this, [] {});
    QTRY_VERIFY_WITH_TIMEOUT((runLoop(20), chart.isEnabled()), 2000);
}

QTEST_MAIN(TestIdle)
#include "tst_idle.moc"
