// The pieces of the application shell, each on its own: the wait cursor, the message-processing
// wait, the splash window, the main window's frame, the report dialog shells and the
// single-instance guard.

#include "DialogReportParams1.h"
#include "DialogReportParams2.h"
#include "InstanceRegistration.h"
#include "MainForm.h"
#include "MessageWait.h"
#include "OneInstance.h"
#include "ProgramFonts.h"
#include "SplashForm.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <deque>

class TestShellParts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void waitCursorNests();
    void waitCursorRestoresTheCursorInForce();

    void messageWait_data();
    void messageWait();
    void messageWaitProcessesMessages();

    void splashPictureIsA16ColourBitmap();
    void splashLayout();
    void splashLabels_data();
    void splashLabels();

    void mainFormFrame();
    void reportDialogShells();

    void instanceNames_data();
    void instanceNames();
    void registrationSeesAnotherRunOfTheSameName();
    void laterRunBringsTheFirstWindowToTheFront();
};

void TestShellParts::initTestCase()
{
    QVERIFY2(ProgramFonts::registerTahoma(), "Tahoma is not installed (fonts-wine)");
}

void TestShellParts::waitCursorNests()
{
    QCOMPARE(WaitCursor::depth(), 0);
    WaitCursor::end(); // never below zero
    QCOMPARE(WaitCursor::depth(), 0);
    QVERIFY(!QGuiApplication::overrideCursor());

    WaitCursor::start();
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    {
        const WaitCursorScope inner;
        QCOMPARE(WaitCursor::depth(), 2);
    }
    QCOMPARE(WaitCursor::depth(), 1);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    WaitCursor::end();
    QCOMPARE(WaitCursor::depth(), 0);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestShellParts::waitCursorRestoresTheCursorInForce()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    WaitCursor::start();
    WaitCursor::start();
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    WaitCursor::end();
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    WaitCursor::end();
    WaitCursor::end();
    QCOMPARE(WaitCursor::depth(), 0);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestShellParts::messageWait_data()
{
    // The tick count readings, the first one noted at the start; the wait reads no further
    // than the reading it ends on.
    QTest::addColumn<QList<quint32>>("ticks");
    QTest::addColumn<int>("rounds");
    QTest::newRow("ends at 1000") << QList<quint32>{5000, 5400, 5999, 6000, 9999} << 3;
    QTest::newRow("ends past 1000") << QList<quint32>{0, 1500, 9999} << 1;
    QTest::newRow("near the top") << QList<quint32>{0xFFFFF000u, 0xFFFFF100u, 0xFFFFF3E8u, 7} << 2;
    QTest::newRow("wrapped") << QList<quint32>{0xFFFFFF00u, 0xFFFFFF80u, 3, 5000} << 2;
    QTest::newRow("stands still then moves") << QList<quint32>{7, 7, 7, 1007} << 3;
}

void TestShellParts::messageWait()
{
    QFETCH(QList<quint32>, ticks);
    QFETCH(int, rounds);
    std::deque<quint32> readings(ticks.begin(), ticks.end());
    int read = 0;
    const int ran = MessageWait::run(1000, [&] {
        ++read;
        const quint32 value = readings.front();
        if (readings.size() > 1)
            readings.pop_front();
        return value;
    });
    QCOMPARE(ran, rounds);
    QCOMPARE(read, rounds + 1);
}

void TestShellParts::messageWaitProcessesMessages()
{
    bool taken = false;
    QMetaObject::invokeMethod(
        this, [&] { taken = true; }, Qt::QueuedConnection);
    QElapsedTimer timer;
    timer.start();
    MessageWait::run(300);
    QVERIFY(taken);
    QVERIFY(timer.elapsed() >= 300);
    QVERIFY(timer.elapsed() < 2000);
}

void TestShellParts::splashPictureIsA16ColourBitmap()
{
    QFile file(QStringLiteral(":/velmar/splash.bmp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bmp = file.readAll();
    QVERIFY(bmp.size() > 54 + 64);
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(bmp.constData() + at); };
    const auto i32 = [&](int at) { return qFromLittleEndian<qint32>(bmp.constData() + at); };
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(i32(18), 272);        // width
    QCOMPARE(i32(22), 272);        // height, rows bottom up
    QCOMPARE(u16(28), quint16(4)); // bits per pixel
    QCOMPARE(i32(30), 0);          // uncompressed

    // The standard 16-colour palette, blue-green-red-reserved.
    const QList<QRgb> standard{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                               0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    const int paletteAt = 14 + i32(14);
    for (int i = 0; i < 16; ++i) {
        const auto* entry = reinterpret_cast<const uchar*>(bmp.constData() + paletteAt + 4 * i);
        QCOMPARE(qRgb(entry[2], entry[1], entry[0]) & 0xFFFFFF, standard[i]);
    }

    const QImage image(QStringLiteral(":/velmar/splash.bmp"));
    QCOMPARE(image.size(), QSize(272, 272));
}

void TestShellParts::splashLayout()
{
    TSplashForm splash;
    QCOMPARE(splash.objectName(), QStringLiteral("SplashForm"));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // A 2-pixel black frame around a client area of the picture's size.
    QCOMPARE(splash.size(), QSize(276, 276));
    QCOMPARE(splash.palette().color(QPalette::Window), QColor(Qt::black));
    QVERIFY(splash.autoFillBackground());
    auto* image = splash.findChild<QLabel*>(QStringLiteral("Image1"));
    QVERIFY(image);
    QCOMPARE(image->mapTo(&splash, QPoint(0, 0)), QPoint(2, 2));
    QCOMPARE(image->size(), QSize(272, 272));
    QCOMPARE(image->pixmap().size(), QSize(272, 272));

    splash.showAtOnce();
    QVERIFY(splash.isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(qAbs(splash.frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(splash.frameGeometry().center().y() - screen.center().y()) <= 1);
}

void TestShellParts::splashLabels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("wraps");
    QTest::newRow("Label3") << "Label3" << QRect(8, 36, 257, 29) << "VELMAR SEA" << 27 << QColor(0, 255, 0)
                            << false;
    QTest::newRow("Label1") << "Label1" << QRect(7, 84, 257, 125) << "Zooplankton\n&\nzoobenthos\n(data base)"
                            << 24 << QColor(0, 255, 255) << true;
}

void TestShellParts::splashLabels()
{
    QFETCH(QString, name);
    QFETCH(QRect, box);
    QFETCH(QString, text);
    QFETCH(int, pixelSize);
    QFETCH(QColor, colour);
    QFETCH(bool, wraps);
    TSplashForm splash;
    auto* label = splash.findChild<QLabel*>(name);
    QVERIFY(label);
    // Boxes are given in the client area, inside the frame.
    QCOMPARE(QRect(label->mapTo(&splash, QPoint(0, 0)) - QPoint(2, 2), label->size()), box);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(label->alignment().testFlag(Qt::AlignHCenter));
    QCOMPARE(label->wordWrap(), wraps);
    QVERIFY(!label->autoFillBackground());
    QCOMPARE(label->palette().color(QPalette::WindowText), colour);
    const QFontInfo font(label->font());
    QCOMPARE(font.family(), QStringLiteral("Tahoma"));
    QVERIFY(font.bold());
    QCOMPARE(font.pixelSize(), pixelSize);

    // The picture shows through the label: the label's pixels outside its text are the
    // picture's.
    const QImage shot = splash.grab().toImage();
    const QImage picture(QStringLiteral(":/velmar/splash.bmp"));
    const QPoint corner = box.topLeft() + QPoint(1, 1);
    QCOMPARE(shot.pixelColor(corner + QPoint(2, 2)), picture.pixelColor(corner));
}

void TestShellParts::mainFormFrame()
{
    TMainForm form;
    QCOMPARE(form.objectName(), QStringLiteral("MainForm"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Velmar Sea - zooplankton"));
    QCOMPARE(TMainForm::zoobenthosCaption(), QStringLiteral("Velmar Sea - zoobenthos"));
    QCOMPARE(form.size(), QSize(748, 566));
    QCOMPARE(form.minimumSize(), QSize(748, 566));
    QCOMPARE(form.maximumSize(), QSize(748, 566));
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(QFontInfo(form.font()).family(), QStringLiteral("Tahoma"));
    QCOMPARE(form.font().pixelSize(), 13);
    auto* child = new QLabel(&form);
    QCOMPARE(child->font().pixelSize(), 13);
    QVERIFY(form.findChild<TOneInstance*>(QStringLiteral("LMDOneInstance1")));

    form.show();
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(form.geometry().center().x() - desktop.center().x()) <= 1);
    QVERIFY(qAbs(form.geometry().center().y() - desktop.center().y()) <= 1);
}

void TestShellParts::reportDialogShells()
{
    TDialogReportParams1 dialog1;
    TDialogReportParams2 dialog2;
    QCOMPARE(dialog1.objectName(), QStringLiteral("DialogReportParams1"));
    QCOMPARE(dialog2.objectName(), QStringLiteral("DialogReportParams2"));
    QVERIFY(dialog1.isModal());
    QVERIFY(dialog2.isModal());
    QVERIFY(!dialog1.isVisible());
    QVERIFY(!dialog2.isVisible());
}

void TestShellParts::instanceNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("build") << "/work/build/app/velmar"
                           << "VELMAR";
    QTest::newRow("copy") << "/tmp/x/Velmar"
                          << "VELMAR";
    QTest::newRow("other") << "/tmp/x/velmar-copy"
                           << "VELMAR-COPY";
    QTest::newRow("dots") << "velmar.bin"
                          << "VELMAR.BIN";
}

void TestShellParts::instanceNames()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(InstanceRegistration::nameFor(path), name);
}

void TestShellParts::registrationSeesAnotherRunOfTheSameName()
{
    const QString name = QStringLiteral("tst-velmar-%1").arg(QCoreApplication::applicationPid());
    InstanceRegistration first(QStringLiteral("/opt/a/") + name);
    QVERIFY(!first.anotherRunExisted());
    QCOMPARE(InstanceRegistration::current(), &first);
    {
        InstanceRegistration sameName(QStringLiteral("/opt/b/") + name.toUpper());
        QVERIFY(sameName.anotherRunExisted());
        QCOMPARE(sameName.channelName(), first.channelName());
        InstanceRegistration otherName(QStringLiteral("/opt/a/") + name + QStringLiteral("-copy"));
        QVERIFY(!otherName.anotherRunExisted());
        QVERIFY(otherName.channelName() != first.channelName());
    }
}

void TestShellParts::laterRunBringsTheFirstWindowToTheFront()
{
    const QString path = QStringLiteral("/opt/tst-velmar-front-%1").arg(QCoreApplication::applicationPid());
    InstanceRegistration firstRun(path);
    QWidget firstWindow;
    auto* firstGuard = new TOneInstance(&firstWindow);
    QCOMPARE(firstGuard->objectName(), QStringLiteral("LMDOneInstance1"));
    QVERIFY(firstGuard->isFirstRun());
    firstWindow.show();
    firstWindow.showMinimized();
    QTRY_VERIFY(firstWindow.isMinimized());
    QSignalSpy activated(firstGuard, &TOneInstance::activated);

    InstanceRegistration laterRun(path);
    QVERIFY(laterRun.anotherRunExisted());
    QWidget laterWindow;
    auto* laterGuard = new TOneInstance(&laterWindow);
    QVERIFY(!laterGuard->isFirstRun());

    QVERIFY(activated.wait(5000));
    QVERIFY(!firstWindow.isMinimized());
}

QTEST_MAIN(TestShellParts)
#include "tst_shellparts.moc"
