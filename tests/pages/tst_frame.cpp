// The main window's frame on a demo database: the edit switch, the start state, captions and
// focus by page, the tool bar, actions and report menu, fonts and sizes, edit mode across both
// pages and what leaving it cancels, the idle update of the details grid, and the enabling
// rules of the map and chart actions.

#include "MainDataModule.h"
#include "MainForm.h"
#include "ProgramFonts.h"
#include "pages_frameFixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <db/DataSet.h>
#include <db/Field.h>
#include <ui/ActionList.h>
#include <ui/DBEdit.h>
#include <ui/DBGrid.h>
#include <ui/DBLookupComboBox.h>
#include <ui/DBMemo.h>
#include <ui/GridFooter.h>
#include <ui/SizePanel.h>
#include <ui/SpinEdit.h>

using namespace frametest;

namespace {

const QStringList Navigators = {"dbnSeasons1",  "dbnStations1", "dbnSamples1",  "dbnPlankton1",
                                "dbnPlankton2", "dbnYears",     "dbnStations2", "dbnBenthos"};
const QStringList Grids = {"dbgSeasons1", "dbgStations1", "dbgPlankton1", "dbgPlankton2",
                           "dbgYears",    "dbgStations2", "dbgBenthos"};
const QStringList Cards = {"edtTemperature1", "edtSalinity1",  "edtPh1",          "edtTo",        "edtFrom",
                           "DBMemo1",         "dbcbSediments", "edtTemperature2", "edtSalinity2", "edtSquare",
                           "edtNumber",       "edtSecci",      "edtFlow",         "dbcbSamplers", "DBMemo2"};

// The read-only switch of a card control, whatever its kind; nullopt for an unknown kind.
std::optional<bool> cardReadOnly(QObject* control)
{
    if (auto* edit = qobject_cast<ui::DBEdit*>(control))
        return edit->isReadOnly();
    if (auto* memo = qobject_cast<ui::DBMemo*>(control))
        return memo->isReadOnly();
    if (auto* box = qobject_cast<ui::DBLookupComboBox*>(control))
        return box->isReadOnly();
    if (auto* spin = qobject_cast<ui::SpinEdit*>(control))
        return spin->isReadOnly();
    return std::nullopt;
}

QImage asImage(const QIcon& icon)
{
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

class TestFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void editSwitch_data();
    void editSwitch();
    void startState();
    void captionAndFocusByPage();
    void toolBarAndActions();
    void reportButton();
    void fontsAndSizes();
    void editModeOnAllControls();
    void leavingEditModeCancels_data();
    void leavingEditModeCancels();
    void newSeasonGoneWhenEditModeLeft();
    void detailsGreyedWithoutDetails();
    void mapAndChartEnabling();
    void exitCloses();

private:
    void openWindow(const QStringList& arguments = MainWindow::editSwitchCommandLine());
    // The window's navigator/grid/card controls that show the mode, checked all at once.
    void verifyMode(bool editing);

    DemoDatabase m_database;
    std::unique_ptr<MainWindow> m_window;
};

void TestFrame::initTestCase()
{
    // As the application does when it starts.
    QVERIFY2(ProgramFonts::registerTahoma(), "Tahoma is not installed (fonts-wine)");
    QString error;
    QVERIFY2(m_database.create(&error), qPrintable(error));
}

void TestFrame::cleanup()
{
    m_window.reset();
}

void TestFrame::openWindow(const QStringList& arguments)
{
    m_window = std::make_unique<MainWindow>(arguments);
    QString error;
    QVERIFY2(m_window->open(&error), qPrintable(error));
}

void TestFrame::verifyMode(bool editing)
{
    for (const QString& name : Navigators) {
        auto* navigator = m_window->find<ui::DBNavigator>(qPrintable(name));
        QVERIFY2(navigator, qPrintable(name));
        for (auto button : {ui::DBNavigator::Insert, ui::DBNavigator::Delete, ui::DBNavigator::Edit,
                            ui::DBNavigator::Post, ui::DBNavigator::Cancel})
            QVERIFY2(!navigator->button(button)->isHidden() == editing, qPrintable(name));
        for (auto button : {ui::DBNavigator::First, ui::DBNavigator::Prior, ui::DBNavigator::Next,
                            ui::DBNavigator::Last, ui::DBNavigator::Refresh})
            QVERIFY2(!navigator->button(button)->isHidden(), qPrintable(name));
    }
    for (const QString& name : Grids) {
        auto* grid = m_window->find<ui::DBGrid>(qPrintable(name));
        QVERIFY2(grid, qPrintable(name));
        QVERIFY2(grid->rowSelect() == !editing, qPrintable(name));
        QVERIFY2(grid->isReadOnly() == !editing, qPrintable(name));
    }
    for (const QString& name : Cards) {
        QObject* control = m_window->find<QObject>(qPrintable(name));
        QVERIFY2(control, qPrintable(name));
        const std::optional<bool> readOnly = cardReadOnly(control);
        QVERIFY2(readOnly.has_value(), qPrintable(name));
        QVERIFY2(*readOnly == !editing, qPrintable(name));
    }
}

void TestFrame::editSwitch_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("editable");
    QTest::newRow("lower case") << QStringList{"velmar", "kqx"} << true;
    QTest::newRow("capitals") << QStringList{"velmar", "KQX"} << true;
    QTest::newRow("mixed case") << QStringList{"velmar", "kQx"} << true;
    QTest::newRow("second argument") << QStringList{"velmar", "-x", "kqx"} << false;
    QTest::newRow("longer word") << QStringList{"velmar", "kqxx"} << false;
    QTest::newRow("no argument") << QStringList{"velmar"} << false;
}

void TestFrame::editSwitch()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, editable);
    openWindow(arguments);
    auto* button = m_window->find<QToolButton>("tbtnEdit");
    QVERIFY(button);
    QCOMPARE(button->isVisible(), editable);
    QCOMPARE(m_window->find<QAction>("acEdit")->isVisible(), editable);
    // Browse mode either way: no navigator offers an editing button.
    verifyMode(false);
    if (editable) {
        m_window->setEditMode(true);
        verifyMode(true);
    }
}

void TestFrame::startState()
{
    openWindow();
    TMainForm* form = m_window->form();
    QCOMPARE(form->windowTitle(), QStringLiteral("Velmar Sea - zooplankton"));
    QCOMPARE(m_window->find<QTabWidget>("PageControl1")->currentWidget()->objectName(),
             QStringLiteral("TabSheet1"));
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("DBTreeView1"));
    QVERIFY(!m_window->find<QToolButton>("tbtnEdit")->isChecked());
    QVERIFY(!form->isEditMode());
    verifyMode(false);

    // The details panel can be dragged to half of the Plankton box's height at most.
    auto* box = m_window->find<QGroupBox>("GroupBox4");
    auto* panel = m_window->find<ui::SizePanel>("RzSizePanel1");
    QVERIFY(box && panel);
    QVERIFY(box->height() > 100);
    QCOMPARE(panel->heightLimit(), box->height() / 2);
    m_window->showPage(1);
    QTest::qWait(500);
}

void TestFrame::captionAndFocusByPage()
{
    openWindow();
    TMainForm* form = m_window->form();
    m_window->showPage(1);
    QCOMPARE(form->windowTitle(), QStringLiteral("Velmar Sea - zoobenthos"));
    QTRY_VERIFY(QApplication::focusWidget() == m_window->find<QWidget>("dbgYears"));
    m_window->showPage(0);
    QCOMPARE(form->windowTitle(), QStringLiteral("Velmar Sea - zooplankton"));
    QTRY_VERIFY(QApplication::focusWidget() == m_window->find<QWidget>("dbgSeasons1"));

    // The mode is the window's, not the page's.
    m_window->setEditMode(true);
    m_window->showPage(1);
    verifyMode(true);
}

void TestFrame::toolBarAndActions()
{
    openWindow();
    auto* bar = m_window->find<QToolBar>("ToolBar1");
    QVERIFY(bar);
    QCOMPARE(bar->height(), TMainForm::ToolBarHeight);
    QCOMPARE(bar->geometry().top(), 0);
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QVERIFY(!bar->isMovable());

    // Buttons left to right, their pictures from ImageList1 and their hints.
    const ImageList& images = m_window->module()->ImageList1;
    const struct
    {
        const char* name;
        int picture;
        const char* hint;
    } buttons[] = {{"tbtnMap", 1, "Map"},       {"tbtnChart", 7, "Chart"},    {"tbtnReport1", 26, "Report"},
                   {"tbtnEdit", 13, "Editing"}, {"ToolButton1", -1, nullptr}, {"ToolButton2", 0, "Exit"}};
    int left = -1;
    for (const auto& expected : buttons) {
        auto* widget = m_window->find<QWidget>(expected.name);
        QVERIFY2(widget && widget->isVisible(), expected.name);
        QVERIFY2(widget->x() > left, expected.name);
        left = widget->x();
        QVERIFY2(widget->focusPolicy() == Qt::NoFocus || expected.picture < 0, expected.name);
        auto* button = qobject_cast<QToolButton*>(widget);
        if (!button) {
            QCOMPARE(widget->width(), 8);
            continue;
        }
        QCOMPARE(button->toolTip(), QString::fromLatin1(expected.hint));
        QCOMPARE(asImage(button->icon()), images.image(expected.picture));
    }
    QVERIFY(m_window->find<QToolButton>("tbtnEdit")->isCheckable());

    const struct
    {
        const char* name;
        const char* caption;
        const char* hint; // nullptr: none of its own
        int picture;
        int tag;
        bool enabled;
    } actions[] = {
        {"acExit", "Exit", "Exit", 0, 0, true},
        {"acChart", "acChart", "Chart", 7, 0, true},
        {"acMap", "acMap", "Map", 1, 0, true},
        {"acEdit", "acEdit", "Editing", 13, 0, true},
        {"acReport10", "By stations", nullptr, -1, 0, true},
        {"acReport11", "By taxa", "Create report", -1, 1, true},
        {"acReport12", "???", nullptr, -1, 2, true},
        {"acReportCross", "Cross-report", nullptr, -1, 0, false},
    };
    auto* list = m_window->find<ui::ActionList>("ActionList1");
    QVERIFY(list);
    QCOMPARE(list->actions().size(), 8);
    for (const auto& expected : actions) {
        auto* action = m_window->find<QAction>(expected.name);
        QVERIFY2(action, expected.name);
        QVERIFY2(list->actions().contains(action), expected.name);
        QCOMPARE(action->text(), QString::fromUtf8(expected.caption));
        if (expected.hint)
            QCOMPARE(action->toolTip(), QString::fromLatin1(expected.hint));
        QCOMPARE(action->data().toInt(), expected.tag);
        QCOMPARE(action->icon().isNull(), expected.picture < 0);
        if (expected.picture >= 0)
            QCOMPARE(asImage(action->icon()), images.image(expected.picture));
        QVERIFY2(action->shortcut().isEmpty(), expected.name);
        if (qstrcmp(expected.name, "acChart") && qstrcmp(expected.name, "acMap"))
            QCOMPARE(action->isEnabled(), expected.enabled);
    }
}

void TestFrame::reportButton()
{
    openWindow();
    auto* button = m_window->find<QToolButton>("tbtnReport1");
    auto* menu = m_window->find<QMenu>("PopupMenu1");
    QVERIFY(button && menu);
    QCOMPARE(button->menu(), menu);
    QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);

    const QList<QAction*> items = menu->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items.at(0)->objectName(), QStringLiteral("acReport10"));
    QCOMPARE(items.at(1)->objectName(), QStringLiteral("acReport11"));
    QCOMPARE(items.at(2)->objectName(), QStringLiteral("acReportCross"));
    QCOMPARE(menu->defaultAction(), items.at(0)); // drawn bold
    QVERIFY(items.at(0)->isVisible() && items.at(1)->isVisible());
    QVERIFY(!items.at(2)->isVisible());

    // The body of the button runs the report by stations; the arrow opens the menu.
    QSignalSpy byStations(items.at(0), &QAction::triggered);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    QCOMPARE(byStations.size(), 1);
    // The menu runs a loop of its own: look at it and close it from a timer.
    bool menuShown = false;
    QTimer probe;
    probe.setInterval(20);
    connect(&probe, &QTimer::timeout, menu, [&] {
        if (QApplication::activePopupWidget() != menu)
            return;
        menuShown = true;
        probe.stop();
        menu->close();
    });
    probe.start();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() - 4, button->height() / 2));
    QTRY_VERIFY(menuShown);
    QCOMPARE(byStations.size(), 1);
    QCOMPARE(QFontInfo(menu->font()).pixelSize(), TMainForm::FontPixelSize);
}

void TestFrame::fontsAndSizes()
{
    openWindow();
    TMainForm* form = m_window->form();
    QCOMPARE(form->size(), QSize(TMainForm::ClientWidth, TMainForm::ClientHeight));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    const QRect desktop = form->screen()->availableGeometry();
    QVERIFY(qAbs(form->geometry().center().x() - desktop.center().x()) <= 1);
    QVERIFY(qAbs(form->geometry().center().y() - desktop.center().y()) <= 1);

    // Every control of both pages, grid titles and footers among them.
    m_window->showPage(1);
    m_window->showPage(0);
    int checked = 0;
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        const QFontInfo font(widget->font());
        QVERIFY2(font.family() == QStringLiteral("Tahoma") && font.pixelSize() == TMainForm::FontPixelSize,
                 qPrintable(widget->objectName() + QLatin1Char(' ') + widget->metaObject()->className() +
                            QLatin1Char(' ') + font.family() + QLatin1Char(' ') +
                            QString::number(font.pixelSize())));
        ++checked;
    }
    QVERIFY(checked > 100);
    auto* benthos = m_window->find<ui::DBGrid>("dbgBenthos");
    QCOMPARE(QFontInfo(benthos->horizontalHeader()->font()).pixelSize(), TMainForm::FontPixelSize);
    QVERIFY(benthos->footer());
    QCOMPARE(QFontInfo(benthos->footer()->font()).pixelSize(), TMainForm::FontPixelSize);

    // Left column 233 pixels on each page, the right one the rest.
    for (const auto& [left, right] : {std::pair{"Panel1", "Panel2"}, std::pair{"Panel3", "Panel4"}}) {
        auto* leftColumn = m_window->find<QWidget>(left);
        auto* rightColumn = m_window->find<QWidget>(right);
        QVERIFY(leftColumn && rightColumn);
        if (!leftColumn->isVisible())
            m_window->showPage(1);
        QCOMPARE(leftColumn->width(), 233);
        QCOMPARE(rightColumn->width(), 507);
        QCOMPARE(rightColumn->x(), leftColumn->geometry().right() + 1);
    }
}

void TestFrame::editModeOnAllControls()
{
    openWindow();
    m_window->setEditMode(true);
    verifyMode(true);
    m_window->setEditMode(false);
    verifyMode(false);
}

void TestFrame::leavingEditModeCancels_data()
{
    QTest::addColumn<QString>("dataSet");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("seasons") << "dtsSeasons"
                             << "YEAR"
                             << "1901";
    QTest::newRow("stations") << "dtsStations"
                              << "DEPTH"
                              << "123.4";
    QTest::newRow("samples") << "dtsSamples1"
                             << "TEMPERATURE"
                             << "31.5";
    QTest::newRow("plankton") << "dtsPlankton"
                              << "ABUNDANCE"
                              << "424242";
    QTest::newRow("details") << "dtsDetails"
                             << "ABUNDANCE"
                             << "434343";
    // Also the zoobenthos chain: its pending change doesn't outlive edit mode either.
    QTest::newRow("years") << "dtsYears"
                           << "YEAR"
                           << "1902";
    QTest::newRow("benthos samples") << "dtsSamples2"
                                     << "TEMPERATURE"
                                     << "32.5";
    QTest::newRow("benthos") << "dtsBenthos"
                             << "ABUNDANCE"
                             << "454545";
}

void TestFrame::leavingEditModeCancels()
{
    QFETCH(QString, dataSet);
    QFETCH(QString, field);
    QFETCH(QString, text);
    openWindow();
    m_window->setEditMode(true);
    auto* dts = m_window->module()->findChild<db::DataSet*>(dataSet);
    QVERIFY(dts);
    QTRY_VERIFY(dts->isActive() && !dts->isEmpty());
    const QString before = dts->field(field)->displayText();
    QVERIFY(dts->edit());
    dts->field(field)->setText(text);
    QVERIFY(dts->isEditing());

    m_window->setEditMode(false);
    QCOMPARE(dts->state(), db::DataSetState::Browse);
    QCOMPARE(dts->field(field)->displayText(), before);
    verifyMode(false);
}

void TestFrame::newSeasonGoneWhenEditModeLeft()
{
    const QVariant seasonsBefore = m_database.value(QStringLiteral("SELECT COUNT(*) FROM SEASONS"));
    openWindow();
    m_window->setEditMode(true);
    auto* grid = m_window->find<ui::DBGrid>("dbgSeasons1");
    db::DataSet* seasons = m_window->module()->dtsSeasons;
    const int rows = seasons->recordCount();
    clickCell(grid, 0, 0);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(grid));
    clickButton(m_window->find<ui::DBNavigator>("dbnSeasons1"), ui::DBNavigator::Insert);
    QCOMPARE(seasons->state(), db::DataSetState::Insert);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1999"));
    QTRY_VERIFY(grid->cellEditor());

    // The Edit button takes no focus: releasing it is no leave of the grid.
    m_window->setEditMode(false);
    QCOMPARE(seasons->state(), db::DataSetState::Browse);
    QCOMPARE(seasons->recordCount(), rows);
    QCOMPARE(m_database.value(QStringLiteral("SELECT COUNT(*) FROM SEASONS")), seasonsBefore);
}

void TestFrame::detailsGreyedWithoutDetails()
{
    openWindow();
    TMainDataModule* dm = m_window->module();
    auto* grid = m_window->find<ui::DBGrid>("dbgPlankton1");
    auto* details = m_window->find<QWidget>("dbgPlankton2");
    auto* navigator = m_window->find<QWidget>("dbnPlankton2");
    QVERIFY(grid && details && navigator);
    QTRY_VERIFY(!dm->dtsPlankton->isEmpty());

    // A taxon row of the current sample with sub-taxon counts and one without.
    const QList<QVariantList> rows = m_database.rows(
        QStringLiteral(
            "SELECT P.ID, (SELECT COUNT(*) FROM DETAILS_PL D WHERE D.PARENT = P.ID) FROM PLANKTON P "
            "WHERE P.SAMPLE = ?"),
        {dm->dtsSamples1->field(QStringLiteral("ID"))->value()});
    int withDetails = -1;
    int without = -1;
    for (int row = 0; row < dm->dtsPlankton->recordCount(); ++row) {
        const QVariant id = dm->dtsPlankton->field(QStringLiteral("ID"))->value(row);
        for (const QVariantList& stored : rows)
            if (stored.at(0) == id)
                (stored.at(1).toInt() > 0 ? withDetails : without) = row;
    }
    QVERIFY2(withDetails >= 0 && without >= 0, "the first sample has no taxon row of each kind");

    for (bool editing : {false, true}) {
        m_window->setEditMode(editing);
        clickCell(grid, without, 0);
        QTRY_VERIFY(dm->dtsDetails->isActive() && dm->dtsDetails->isEmpty() &&
                    dm->dtsPlankton->currentRow() == without);
        QVERIFY(waitForIdle(m_window->form()));
        QVERIFY(!details->isEnabled());
        QVERIFY(!navigator->isEnabled());

        clickCell(grid, withDetails, 0);
        QTRY_VERIFY(!dm->dtsDetails->isEmpty());
        QVERIFY(waitForIdle(m_window->form()));
        QVERIFY(details->isEnabled());
        QVERIFY(navigator->isEnabled());
    }
}

void TestFrame::mapAndChartEnabling()
{
    // A year without benthos samples, made before the window reads the years; the last of them.
    m_database.execute(QStringLiteral("INSERT INTO YEARS (ID, \"YEAR\", FROM_DATE, TILL_DATE) "
                                      "VALUES (GEN_ID(GEN_YEARS_ID, 1), 2090, '2090-01-01', '2090-12-31')"));
    const auto removeYear = qScopeGuard(
        [this] { m_database.execute(QStringLiteral("DELETE FROM YEARS WHERE \"YEAR\" = 2090")); });
    openWindow();
    TMainDataModule* dm = m_window->module();
    auto* map = m_window->find<QAction>("acMap");
    auto* chart = m_window->find<QAction>("acChart");
    QVERIFY(waitForIdle(m_window->form()));
    QVERIFY(map->isEnabled());
    QVERIFY(chart->isEnabled());
    QVERIFY(m_window->find<QToolButton>("tbtnMap")->isEnabled());

    // A station being edited: no map; a taxon row being edited: no chart.
    m_window->setEditMode(true);
    QVERIFY(dm->dtsStations->edit());
    QVERIFY(waitForIdle(m_window->form()));
    QVERIFY(!map->isEnabled());
    QVERIFY(chart->isEnabled());
    dm->dtsStations->cancel();
    QVERIFY(dm->dtsPlankton->edit());
    QVERIFY(waitForIdle(m_window->form()));
    QVERIFY(map->isEnabled());
    QVERIFY(!chart->isEnabled());
    dm->dtsPlankton->cancel();

    // The zoobenthos page asks its own datasets: the empty year has neither.
    m_window->showPage(1);
    QVERIFY(waitForIdle(m_window->form()));
    QVERIFY(map->isEnabled());
    QVERIFY(chart->isEnabled());
    auto* years = m_window->find<ui::DBGrid>("dbgYears");
    const int empty = rowOf(years, QStringLiteral("YEAR"), QStringLiteral("2090"));
    QVERIFY(empty >= 0);
    clickCell(years, empty, 0);
    QTRY_VERIFY(dm->dtsYears->currentRow() == empty && dm->dtsSamples2->isActive() &&
                dm->dtsSamples2->isEmpty());
    QVERIFY(waitForIdle(m_window->form()));
    QVERIFY(!map->isEnabled());
    QVERIFY(!chart->isEnabled());
    QVERIFY(!m_window->find<QToolButton>("tbtnChart")->isEnabled());
}

void TestFrame::exitCloses()
{
    openWindow();
    TMainForm* form = m_window->form();
    QTest::mouseClick(m_window->find<QToolButton>("ToolButton2"), Qt::LeftButton);
    QTRY_VERIFY(!form->isVisible());
}

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
