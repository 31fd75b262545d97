// The main window as a real window on a virtual X display with a window manager: the program
// opens the demo database, and pictures of each page, of edit mode and of the station dialog
// are written to the build folder (tests/pages/screenshots) for people to look at. They are
// not compared with anything; the run checks that the window came up at its size and that
// every picture was taken.
//
// The test program runs itself a second time as the window's process, on the virtual display.

#include "MainDataModule.h"
#include "MainForm.h"
#include "ProgramFonts.h"
#include "VirtualDisplay.h"
#include "pages_frameFixture.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <db/DataSet.h>
#include <ui/DBGrid.h>

namespace {

const char* const ChildVariable = "VELMAR_SCREENSHOTS_CHILD";

// Each picture the window's process takes, by file name.
const QStringList Pictures = {QStringLiteral("zooplankton.png"), QStringLiteral("zoobenthos.png"),
                              QStringLiteral("zoobenthos-edit.png"), QStringLiteral("station-dialog.png")};

// The window with its frame as the window manager draws it.
QImage grabFramed(const QWidget* window)
{
    QScreen* screen = window->screen();
    const QRect frame = window->frameGeometry();
    return screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
}

bool save(const QImage& picture, const QDir& folder, const QString& name, QTextStream& out)
{
    const bool saved = !picture.isNull() && picture.save(folder.filePath(name));
    out << (saved ? "saved " : "failed ") << name << Qt::endl;
    return saved;
}

// The window's process: the program's objects as start-up makes them, one picture after another.
int runWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QDir folder(qEnvironmentVariable(ChildVariable));
    if (!ProgramFonts::registerTahoma()) {
        out << "no Tahoma" << Qt::endl;
        return 2;
    }
    auto module = std::make_unique<TMainDataModule>();
    MainDataModule = module.get();
    auto form = std::make_unique<TMainForm>(frametest::MainWindow::editSwitchCommandLine());
    MainForm = form.get();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()) ||
        !QTest::qWaitFor([&] { return module->dtsDetails->isActive() && module->dtsBenthos->isActive(); },
                         10000)) {
        out << "the window didn't come up" << Qt::endl;
        return 3;
    }
    // Let the footers, the tree and the idle updates settle and the window manager draw.
    QTest::qWait(1500);
    out << "client " << form->width() << 'x' << form->height() << Qt::endl;
    out << "frame " << form->frameGeometry().width() << 'x' << form->frameGeometry().height() << Qt::endl;

    int saved = 0;
    saved += save(grabFramed(form.get()), folder, Pictures.at(0), out);

    auto* pages = form->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(1).center());
    QTest::qWait(1000);
    saved += save(grabFramed(form.get()), folder, Pictures.at(1), out);

    QTest::mouseClick(form->findChild<QToolButton*>(QStringLiteral("tbtnEdit")), Qt::LeftButton);
    auto* grid = form->findChild<ui::DBGrid*>(QStringLiteral("dbgStations2"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 1)).center());
    QTest::qWait(800);
    saved += save(grabFramed(form.get()), folder, Pictures.at(2), out);

    // The station dialog over the window, opened by the navigator's Edit button and cancelled.
    QTimer::singleShot(1200, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            saved +=
                save(QApplication::primaryScreen()->grabWindow(0).toImage(), folder, Pictures.at(3), out);
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
    });
    auto* navigator = form->findChild<ui::DBNavigator*>(QStringLiteral("dbnStations2"));
    QTest::mouseClick(navigator->button(ui::DBNavigator::Edit), Qt::LeftButton);
    QTest::qWait(300);

    form.reset();
    module.reset();
    return saved == Pictures.size() ? 0 : 4;
}

} // namespace

class TestFrameScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pictureOfEachPage();

private:
    frametest::DemoDatabase m_database;
    VirtualDisplay m_display;
    QTemporaryDir m_scratch;
};

void TestFrameScreenshots::initTestCase()
{
    const QStringList missing = VirtualDisplay::missingTools();
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("Missing: ") + missing.join(QLatin1Char(' '))));
    QVERIFY(m_scratch.isValid());
    QString error;
    QVERIFY2(m_database.create(&error), qPrintable(error));
    QVERIFY2(m_display.start(&error), qPrintable(error));
}

void TestFrameScreenshots::pictureOfEachPage()
{
    QDir folder(QStringLiteral(VELMAR_SCREENSHOTS_DIR));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    for (const QString& name : Pictures)
        folder.remove(name);

    QProcessEnvironment environment = m_display.environment();
    environment.insert(QString::fromLatin1(ChildVariable), folder.absolutePath());
    environment.insert(QStringLiteral("VELMAR_DATABASE"), m_database.path());
    // The single-instance guard of this run sees no other.
    environment.insert(QStringLiteral("TMPDIR"), m_scratch.path());
    QProcess window;
    window.setProcessEnvironment(environment);
    window.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(window.waitForFinished(120000));
    const QString report = QString::fromLocal8Bit(window.readAllStandardOutput());
    QVERIFY2(window.exitStatus() == QProcess::NormalExit && window.exitCode() == 0,
             qPrintable(report + QString::fromLocal8Bit(window.readAllStandardError())));
    QVERIFY2(report.contains(QStringLiteral("client 748x566")), qPrintable(report));

    for (const QString& name : Pictures) {
        const QImage picture(folder.filePath(name));
        QVERIFY2(!picture.isNull(), qPrintable(name));
        QVERIFY2(picture.width() >= 748 && picture.height() >= 566, qPrintable(name));
    }
    qInfo().noquote() << "Pictures in" << folder.absolutePath();
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(ChildVariable))
        return runWindow(argc, argv);
    QApplication app(argc, argv);
    TestFrameScreenshots test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frame_screenshots.moc"
