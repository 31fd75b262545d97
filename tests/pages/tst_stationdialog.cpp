// The station dialog on a demo database: its layout, fonts and key rules, and EditStationNo
// through the navigators' Insert and Edit buttons and the "No." cell button of both pages: a new
// station shown unsaved and then saved, dropped by Cancel or by leaving the grid, an empty
// number refused with a beep, OK without typing leaving the record alone, and no way in without
// edit mode.

#include "ApplicationError.h"
#include "MainDataModule.h"
#include "MainForm.h"
#include "ProgramFonts.h"
#include "StationNoDialog.h"
#include "pages_frameFixture.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>
#include <QtTest>
#include <db/DataSet.h>
#include <db/Field.h>
#include <ui/DBDateEdit.h>
#include <ui/DBGrid.h>
#include <ui/GridCellEdit.h>

using namespace frametest;

namespace {

// What differs between the two pages' stations.
struct StationsPage
{
    int page;
    const char* grid;
    const char* navigator;
    const char* table;
    db::DataSet* master;  // the season or year
    db::DataSet* dataSet; // its stations
};

StationsPage stationsPage(const QString& name, TMainDataModule* dm)
{
    if (name == QStringLiteral("zooplankton"))
        return {0, "dbgStations1", "dbnStations1", "STATIONS_P", dm->dtsSeasons, dm->dtsStations};
    return {1, "dbgStations2", "dbnStations2", "SAMPLES_BE", dm->dtsYears, dm->dtsSamples2};
}

TdlgStationNo* asDialog(QWidget* modal)
{
    return qobject_cast<TdlgStationNo*>(modal);
}

} // namespace

class TestStationDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layoutAndFonts();
    void keyRules();
    void newStationShownUnsavedThenSaved_data();
    void newStationShownUnsavedThenSaved();
    void newStationDroppedByLeavingGrid_data();
    void newStationDroppedByLeavingGrid();
    void emptyNumberBeepsAndStays();
    void cancelDropsNewStation();
    void cellButtonOkWithoutTyping_data();
    void cellButtonOkWithoutTyping();
    void noDialogInBrowseMode();
    void refusedSaveKeepsValues();

private:
    // Edit mode on the page, the stations grid focused on its first row.
    StationsPage prepare(const QString& pageName);
    QString stationCount(const StationsPage& page) const;
    // Types a new station 7b into the open dialog, with a date in the master's window.
    static void typeStation7b(TdlgStationNo* dialog, const StationsPage& page);

    DemoDatabase m_database;
    std::unique_ptr<MainWindow> m_window;
};

void TestStationDialog::initTestCase()
{
    QVERIFY2(ProgramFonts::registerTahoma(), "Tahoma is not installed (fonts-wine)");
    QString error;
    QVERIFY2(m_database.create(&error), qPrintable(error));
}

void TestStationDialog::init()
{
    m_window = std::make_unique<MainWindow>();
    QString error;
    QVERIFY2(m_window->open(&error), qPrintable(error));
}

void TestStationDialog::cleanup()
{
    m_window.reset();
    for (const char* table : {"STATIONS_P", "SAMPLES_BE"})
        m_database.execute(
            QStringLiteral("DELETE FROM %1 WHERE STATION = 7 AND ST_CHAR = 'b'").arg(QLatin1String(table)));
}

StationsPage TestStationDialog::prepare(const QString& pageName)
{
    const StationsPage page = stationsPage(pageName, m_window->module());
    if (page.page != 0)
        m_window->showPage(page.page);
    m_window->setEditMode(true);
    auto* grid = m_window->find<ui::DBGrid>(page.grid);
    [&] {
        QTRY_VERIFY(page.dataSet->isActive() && !page.dataSet->isEmpty());
        clickCell(grid, 0, 1);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(grid));
    }();
    return page;
}

QString TestStationDialog::stationCount(const StationsPage& page) const
{
    return m_database
        .value(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE STATION = 7 AND ST_CHAR = 'b'")
                   .arg(QLatin1String(page.table)))
        .toString();
}

void TestStationDialog::typeStation7b(TdlgStationNo* dialog, const StationsPage& page)
{
    QTest::keyClicks(dialog->edtNo, QStringLiteral("7"));
    QTest::keyClicks(dialog->edtIdx, QStringLiteral("b"));
    const QDate from = page.master->field(QStringLiteral("FROM_DATE"))->value().toDate();
    dialog->edtDate->selectAll();
    QTest::keyClicks(dialog->edtDate, from.addDays(3).toString(QStringLiteral("dd.MM.yyyy")));
    QTest::keyClicks(dialog->edtDepth, QStringLiteral("12.5"));
}

void TestStationDialog::layoutAndFonts()
{
    const StationsPage page = prepare(QStringLiteral("zoobenthos"));
    const QString number = page.dataSet->field(QStringLiteral("STATION"))->displayText();
    bool inspected = false;
    ModalAction inspect([&](QWidget* modal) {
        TdlgStationNo* dialog = asDialog(modal);
        const auto close = qScopeGuard([modal] { QTest::keyClick(modal, Qt::Key_Escape); });
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Statioin"));
        QCOMPARE(dialog->size(), QSize(314, 130));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        const QRect desktop = dialog->screen()->availableGeometry();
        QVERIFY(qAbs(dialog->geometry().center().x() - desktop.center().x()) <= 1);
        QVERIFY(qAbs(dialog->geometry().center().y() - desktop.center().y()) <= 1);
        for (QWidget* widget : dialog->findChildren<QWidget*>()) {
            const QFontInfo font(widget->font());
            QVERIFY2(font.family() == QStringLiteral("Tahoma") && font.pixelSize() == 11,
                     qPrintable(widget->objectName()));
        }
        QCOMPARE(dialog->Bevel1->geometry(), QRect(8, 8, 209, 114));

        const struct
        {
            QWidget* edit;
            QRect place; // left, top, width (the height is the edit's own)
            const char* label;
        } edits[] = {{dialog->edtNo, QRect(40, 24, 65, 0), "&No:"},
                     {dialog->edtIdx, QRect(160, 24, 41, 0), "&Index:"},
                     {dialog->edtDate, QRect(48, 56, 121, 0), "&Date:"},
                     {dialog->edtDepth, QRect(56, 88, 73, 0), "&Depth:"}};
        for (const auto& expected : edits) {
            QCOMPARE(expected.edit->pos(), expected.place.topLeft());
            QCOMPARE(expected.edit->width(), expected.place.width());
            QLabel* label = nullptr;
            for (QLabel* candidate : dialog->findChildren<QLabel*>())
                if (candidate->buddy() == expected.edit)
                    label = candidate;
            QVERIFY(label);
            QCOMPARE(label->text(), QString::fromLatin1(expected.label));
            // The label stands to the left of its edit, on its line.
            QVERIFY(label->geometry().right() < expected.edit->x());
            QVERIFY(qAbs(label->geometry().center().y() - expected.edit->geometry().center().y()) <= 3);
        }
        QCOMPARE(dialog->BitBtn1->geometry(), QRect(233, 8, 75, 25));
        QCOMPARE(dialog->BitBtn2->geometry(), QRect(233, 40, 75, 25));
        QCOMPARE(dialog->BitBtn1->text(), QStringLiteral("OK"));
        QCOMPARE(dialog->BitBtn2->text(), QStringLiteral("Cancel"));
        QVERIFY(dialog->BitBtn1->isDefault());

        // The current record is shown, the focus starts in the number, and Tab goes round in
        // this order.
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog->edtNo));
        QCOMPARE(dialog->edtNo->text(), number);
        const QList<QWidget*> order = {dialog->edtIdx,  dialog->edtDate, dialog->edtDepth,
                                       dialog->BitBtn1, dialog->BitBtn2, dialog->edtNo};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTRY_COMPARE(QApplication::focusWidget(), next);
        }
        inspected = true;
    });
    clickButton(m_window->find<ui::DBNavigator>(page.navigator), ui::DBNavigator::Edit);
    QVERIFY(inspect.done());
    QVERIFY(inspected);
    // Esc is Cancel: the edit the navigator started is given up.
    QCOMPARE(page.dataSet->state(), db::DataSetState::Browse);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestStationDialog::keyRules()
{
    prepare(QStringLiteral("zoobenthos"));
    QString numberText, indexText, depthText;
    QList<QWidget*> accelerated;
    ModalAction type([&](QWidget* modal) {
        TdlgStationNo* dialog = asDialog(modal);
        const auto close = qScopeGuard([dialog] { dialog->BitBtn2->click(); });
        QVERIFY(dialog);
        // Only what a whole number, one letter and a number can hold.
        dialog->edtNo->clear();
        QTest::keyClicks(dialog->edtNo, QStringLiteral("1x2.3"));
        numberText = dialog->edtNo->text();
        dialog->edtIdx->clear();
        QTest::keyClicks(dialog->edtIdx, QStringLiteral("cd"));
        indexText = dialog->edtIdx->text();
        dialog->edtDepth->clear();
        QTest::keyClicks(dialog->edtDepth, QStringLiteral("4a.5"));
        depthText = dialog->edtDepth->text();

        // Alt+I, Alt+D (the date before the depth) and Alt+N.
        for (Qt::Key key : {Qt::Key_I, Qt::Key_D, Qt::Key_N}) {
            QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
            accelerated << QApplication::focusWidget();
        }
        QCOMPARE(accelerated, (QList<QWidget*>{dialog->edtIdx, dialog->edtDate, dialog->edtNo}));
    });
    clickButton(m_window->find<ui::DBNavigator>("dbnStations2"), ui::DBNavigator::Edit);
    QVERIFY(type.done());
    QCOMPARE(numberText, QStringLiteral("123"));
    QCOMPARE(indexText, QStringLiteral("c"));
    QCOMPARE(depthText, QStringLiteral("4.5"));
    QCOMPARE(accelerated.size(), 3);
    // Cancel gave up what was typed.
    QCOMPARE(m_window->module()->dtsSamples2->state(), db::DataSetState::Browse);
}

void TestStationDialog::newStationShownUnsavedThenSaved_data()
{
    QTest::addColumn<QString>("page");
    QTest::newRow("zoobenthos") << QStringLiteral("zoobenthos");
    QTest::newRow("zooplankton") << QStringLiteral("zooplankton");
}

void TestStationDialog::newStationShownUnsavedThenSaved()
{
    QFETCH(QString, page);
    const StationsPage stations = prepare(page);
    auto* grid = m_window->find<ui::DBGrid>(stations.grid);
    QCOMPARE(stationCount(stations), QStringLiteral("0"));

    ModalAction fill([&](QWidget* modal) {
        TdlgStationNo* dialog = asDialog(modal);
        QVERIFY(dialog);
        typeStation7b(dialog, stations);
        QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
    });
    clickButton(m_window->find<ui::DBNavigator>(stations.navigator), ui::DBNavigator::Insert);
    QVERIFY(fill.done());
    QVERIFY(!QApplication::activeModalWidget());

    // Shown as 7b, not saved yet, and the grid still has the focus.
    QCOMPARE(stations.dataSet->state(), db::DataSetState::Insert);
    QTRY_COMPARE(cellText(grid, stations.dataSet->currentRow(), QStringLiteral("STATION_NAME")),
                 QStringLiteral("7b"));
    m_window->reactivate();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(grid));
    QCOMPARE(stationCount(stations), QStringLiteral("0"));

    clickButton(m_window->find<ui::DBNavigator>(stations.navigator), ui::DBNavigator::Post);
    QCOMPARE(stations.dataSet->state(), db::DataSetState::Browse);
    QCOMPARE(stationCount(stations), QStringLiteral("1"));
    const QList<QVariantList> stored = m_database.rows(
        QStringLiteral("SELECT STATION_NAME, DEPTH FROM %1 WHERE STATION = 7 AND ST_CHAR = 'b'")
            .arg(QLatin1String(stations.table)));
    QCOMPARE(stored.first().at(0).toString(), QStringLiteral("7b"));
    QCOMPARE(stored.first().at(1).toDouble(), 12.5);
}

void TestStationDialog::newStationDroppedByLeavingGrid_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("elsewhere");
    QTest::newRow("benthos card") << QStringLiteral("zoobenthos") << QStringLiteral("edtTemperature2");
    QTest::newRow("season grid") << QStringLiteral("zooplankton") << QStringLiteral("dbgSeasons1");
}

void TestStationDialog::newStationDroppedByLeavingGrid()
{
    QFETCH(QString, page);
    QFETCH(QString, elsewhere);
    const StationsPage stations = prepare(page);
    const int rows = stations.dataSet->recordCount();
    ModalAction fill([&](QWidget* modal) {
        TdlgStationNo* dialog = asDialog(modal);
        QVERIFY(dialog);
        typeStation7b(dialog, stations);
        QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
    });
    clickButton(m_window->find<ui::DBNavigator>(stations.navigator), ui::DBNavigator::Insert);
    QVERIFY(fill.done());
    QCOMPARE(stations.dataSet->state(), db::DataSetState::Insert);
    // Back in the main window, the grid has the focus again.
    m_window->reactivate();
    QTRY_COMPARE(QApplication::focusWidget(),
                 static_cast<QWidget*>(m_window->find<ui::DBGrid>(stations.grid)));

    clickInto(m_window->find<QWidget>(qPrintable(elsewhere)));
    QTRY_COMPARE(stations.dataSet->state(), db::DataSetState::Browse);
    QCOMPARE(stations.dataSet->recordCount(), rows);
    QCOMPARE(stationCount(stations), QStringLiteral("0"));
}

void TestStationDialog::emptyNumberBeepsAndStays()
{
    const StationsPage stations = prepare(QStringLiteral("zoobenthos"));
    db::Field* number = stations.dataSet->field(QStringLiteral("STATION"));
    const QVariant before = number->value();
    const QVariant id = stations.dataSet->field(QStringLiteral("ID"))->value();
    int refusals = 0;
    bool stayedOpen = false;
    ModalAction clearNumber([&](QWidget* modal) {
        TdlgStationNo* dialog = asDialog(modal);
        QVERIFY(dialog);
        QSignalSpy refused(dialog, &TdlgStationNo::closeRefused);
        dialog->edtNo->selectAll();
        QTest::keyClick(dialog->edtNo, Qt::Key_Delete);
        QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
        QTest::keyClick(dialog->edtNo, Qt::Key_Return); // the default button, by key
        refusals = refused.size();
        stayedOpen = dialog->isVisible();
        QTest::mouseClick(dialog->BitBtn2, Qt::LeftButton);
    });
    clickButton(m_window->find<ui::DBNavigator>(stations.navigator), ui::DBNavigator::Edit);
    QVERIFY(clearNumber.done());
    QCOMPARE(refusals, 2);
    QVERIFY(stayedOpen);
    // Cancel restored the station as it was.
    QCOMPARE(stations.dataSet->state(), db::DataSetState::Browse);
    QCOMPARE(number->value(), before);
    QCOMPARE(m_database.value(QStringLiteral("SELECT STATION FROM SAMPLES_BE WHERE ID = ?"), {id}), before);
}

void TestStationDialog::cancelDropsNewStation()
{
    const StationsPage stations = prepare(QStringLiteral("zoobenthos"));
    const int rows = stations.dataSet->recordCount();
    const QVariant stored = m_database.value(QStringLiteral("SELECT COUNT(*) FROM SAMPLES_BE"));
    ModalAction cancel([&](QWidget* modal) {
        TdlgStationNo* dialog = asDialog(modal);
        QVERIFY(dialog);
        typeStation7b(dialog, stations);
        QTest::mouseClick(dialog->BitBtn2, Qt::LeftButton);
    });
    clickButton(m_window->find<ui::DBNavigator>(stations.navigator), ui::DBNavigator::Insert);
    QVERIFY(cancel.done());
    QCOMPARE(stations.dataSet->state(), db::DataSetState::Browse);
    QCOMPARE(stations.dataSet->recordCount(), rows);
    QCOMPARE(m_window->find<ui::DBGrid>(stations.grid)->model()->rowCount(), rows);
    QCOMPARE(m_database.value(QStringLiteral("SELECT COUNT(*) FROM SAMPLES_BE")), stored);
}

void TestStationDialog::cellButtonOkWithoutTyping_data()
{
    QTest::addColumn<QString>("page");
    QTest::newRow("zoobenthos") << QStringLiteral("zoobenthos");
    QTest::newRow("zooplankton") << QStringLiteral("zooplankton");
}

void TestStationDialog::cellButtonOkWithoutTyping()
{
    QFETCH(QString, page);
    const StationsPage stations = prepare(page);
    auto* grid = m_window->find<ui::DBGrid>(stations.grid);
    const QString name = cellText(grid, 0, QStringLiteral("STATION_NAME"));
    const QVariant id = stations.dataSet->field(QStringLiteral("ID"))->value();
    const QString nameSql =
        QStringLiteral("SELECT STATION_NAME FROM %1 WHERE ID = ?").arg(QLatin1String(stations.table));
    const QVariant stored = m_database.value(nameSql, {id});

    clickCell(grid, 0, 0);
    QTest::keyClick(grid, Qt::Key_F2);
    QTRY_VERIFY(grid->cellEditor());
    auto* editor = qobject_cast<ui::GridCellEdit*>(grid->cellEditor());
    QVERIFY(editor && editor->button() && editor->button()->isVisible());

    bool shown = false;
    ModalAction ok([&](QWidget* modal) {
        TdlgStationNo* dialog = asDialog(modal);
        QVERIFY(dialog);
        shown = dialog->edtNo->text() == stations.dataSet->field(QStringLiteral("STATION"))->displayText();
        QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
    });
    QTest::mouseClick(editor->button(), Qt::LeftButton);
    QTRY_VERIFY(ok.done());
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QVERIFY(shown);
    QCOMPARE(stations.dataSet->state(), db::DataSetState::Browse);
    QCOMPARE(cellText(grid, 0, QStringLiteral("STATION_NAME")), name);
    QCOMPARE(m_database.value(nameSql, {id}), stored);
}

void TestStationDialog::noDialogInBrowseMode()
{
    m_window->showPage(1);
    auto* navigator = m_window->find<ui::DBNavigator>("dbnStations2");
    QVERIFY(navigator->button(ui::DBNavigator::Insert)->isHidden());
    QVERIFY(navigator->button(ui::DBNavigator::Edit)->isHidden());
    auto* grid = m_window->find<ui::DBGrid>("dbgStations2");
    clickCell(grid, 0, 0);
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualRect(grid->model()->index(0, 0)).center());
    QVERIFY(!grid->cellEditor());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestStationDialog::refusedSaveKeepsValues()
{
    // A benthos sample needs a date: Save shows the database layer's refusal in the error box,
    // and the new sample stays with what was typed.
    const StationsPage stations = prepare(QStringLiteral("zoobenthos"));
    ModalAction fill([&](QWidget* modal) {
        TdlgStationNo* dialog = asDialog(modal);
        QVERIFY(dialog);
        QTest::keyClicks(dialog->edtNo, QStringLiteral("7"));
        QTest::keyClicks(dialog->edtIdx, QStringLiteral("b"));
        dialog->edtDate->clear();
        QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
    });
    clickButton(m_window->find<ui::DBNavigator>(stations.navigator), ui::DBNavigator::Insert);
    QVERIFY(fill.done());
    QCOMPARE(stations.dataSet->state(), db::DataSetState::Insert);

    QString title, message;
    ModalAction answer([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        message = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    clickButton(m_window->find<ui::DBNavigator>(stations.navigator), ui::DBNavigator::Post);
    QTRY_VERIFY(answer.done());
    QVERIFY2(message.contains(QStringLiteral("Date")), qPrintable(message));
    QCOMPARE(title, applicationTitle());
    QCOMPARE(stations.dataSet->state(), db::DataSetState::Insert);
    QCOMPARE(stations.dataSet->field(QStringLiteral("STATION_NAME"))->asString(), QStringLiteral("7b"));
    QCOMPARE(stations.dataSet->field(QStringLiteral("STATION"))->asInteger(), 7);
    QCOMPARE(stationCount(stations), QStringLiteral("0"));
}

QTEST_MAIN(TestStationDialog)
#include "tst_stationdialog.moc"
