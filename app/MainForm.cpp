#include "MainForm.h"

#include "EdgeToolBar.h"
#include "FlatPageControl.h"
#include "OneInstance.h"

#include <ApplicationError.h>
#include <DataErrorRouting.h>
#include <MainDataModule.h>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <ZoobenthosPage.h>
#include <ZooplanktonPage.h>
#include <db/DataSet.h>
#include <ui/ActionList.h>
#include <ui/ApplicationEvents.h>
#include <ui/DBEdit.h>
#include <ui/DBGrid.h>
#include <ui/DBLookupComboBox.h>
#include <ui/DBMemo.h>
#include <ui/DBNavigator.h>
#include <ui/SizePanel.h>
#include <ui/SpinEdit.h>

QPointer<TMainForm> MainForm;

namespace {

// The card controls of both pages, in the order they are switched.
const char* const CardControls[] = {
    "edtTemperature1", "edtSalinity1",  "edtPh1",          "edtTo",        "edtFrom",
    "DBMemo1",         "dbcbSediments", "edtTemperature2", "edtSalinity2", "edtSquare",
    "edtNumber",       "edtSecci",      "edtFlow",         "dbcbSamplers", "DBMemo2",
};

constexpr int ButtonWidth = 23;
constexpr int ButtonHeight = 22;
constexpr int DropDownButtonWidth = 36;
constexpr int SeparatorWidth = 8;
// The pages' content stands this far inside the page control's edges.
constexpr int SheetBorder = 4;

QFont windowFont()
{
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(TMainForm::FontPixelSize);
    return tahoma;
}

template <class Control> bool setControlReadOnly(QObject* control, bool value)
{
    auto* typed = qobject_cast<Control*>(control);
    if (!typed)
        return false;
    typed->setReadOnly(value);
    return true;
}

// Open, browsing and not empty: a dataset with a current row that no edit holds.
bool browsesRows(const db::DataSet* dataSet)
{
    return dataSet && dataSet->state() == db::DataSetState::Browse && !dataSet->isEmpty();
}

} // namespace

TMainForm::TMainForm(QWidget* parent) : TMainForm(QCoreApplication::arguments(), parent) {}

TMainForm::TMainForm(const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      m_arguments(arguments)
{
    setObjectName(QStringLiteral("MainForm"));
    setFont(windowFont());
    setFixedSize(ClientWidth, ClientHeight);

    LMDOneInstance1 = new TOneInstance(this);
    ApplicationEvents1 = new ui::ApplicationEvents(this);
    ApplicationEvents1->setObjectName(QStringLiteral("ApplicationEvents1"));
    connect(ApplicationEvents1, &ui::ApplicationEvents::idle, this, &TMainForm::ApplicationEvents1Idle);

    createActions();
    createToolBar();
    createPages();
    connectDataErrors();

    FormCreate();
    // The sample tree has the focus when the window first shows.
    if (auto* tree = findChild<QWidget*>(QStringLiteral("DBTreeView1")))
        tree->setFocus(Qt::OtherFocusReason);
    centreOnDesktop();
}

QString TMainForm::zooplanktonCaption()
{
    return tr("Velmar Sea") + tr(" - zooplankton");
}

QString TMainForm::zoobenthosCaption()
{
    return tr("Velmar Sea") + tr(" - zoobenthos");
}

QString TMainForm::editSwitch()
{
    return QStringLiteral("kqx");
}

void TMainForm::createActions()
{
    const ImageList* images = MainDataModule ? &MainDataModule->ImageList1 : nullptr;
    auto action = [this, images](const char* name, const QString& caption, const QString& hint, int picture,
                                 int tag) {
        auto* a = new ui::Action(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty())
            a->setToolTip(hint);
        if (picture >= 0 && images)
            a->setIcon(images->icon(picture));
        a->setData(tag);
        a->setIconVisibleInMenu(false);
        return a;
    };
    acExit = action("acExit", tr("Exit"), tr("Exit"), ImageList::OpenDoor, 0);
    acChart = action("acChart", QStringLiteral("acChart"), tr("Chart"), ImageList::BarChart, 0);
    acMap = action("acMap", QStringLiteral("acMap"), tr("Map"), ImageList::Globe, 0);
    acEdit = action("acEdit", QStringLiteral("acEdit"), tr("Editing"), ImageList::HandWritingOnSheet, 0);
    acEdit->setCheckable(true);
    acReport10 = action("acReport10", tr("By stations"), {}, -1, 0);
    acReport11 = action("acReport11", tr("By taxa"), tr("Create report"), -1, 1);
    acReport12 = action("acReport12", QStringLiteral("???"), {}, -1, 2);
    acReportCross = action("acReportCross", tr("Cross-report"), {}, -1, 0);
    acReportCross->setEnabled(false);

    ActionList1 = new ui::ActionList(this);
    ActionList1->setObjectName(QStringLiteral("ActionList1"));
    for (QAction* a : {acExit, acChart, acMap, acEdit, acReport10, acReport11, acReport12, acReportCross})
        ActionList1->addAction(a);

    connect(acExit, &QAction::triggered, this, &TMainForm::acExitExecute);
    connect(acEdit, &QAction::triggered, this, &TMainForm::acEditExecute);
    connect(acMap, &ui::Action::updateRequested, this, &TMainForm::acMapUpdate);
    connect(acChart, &ui::Action::updateRequested, this, &TMainForm::acChartUpdate);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->setFont(windowFont());
    PopupMenu1->addAction(acReport10);
    PopupMenu1->addAction(acReport11);
    PopupMenu1->addAction(acReportCross);
    PopupMenu1->setDefaultAction(acReport10);
    // The menu is the only place of the cross-report, and its item stays hidden.
    acReportCross->setVisible(false);
}

void TMainForm::createToolBar()
{
    ToolBar1 = new TEdgeToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(ImageList::Width, ImageList::Height));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setFixedHeight(ToolBarHeight);
    ToolBar1->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    auto button = [this](QAction* action, const char* name) {
        ToolBar1->addAction(action);
        auto* b = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(action));
        b->setObjectName(QString::fromLatin1(name));
        b->setFixedSize(ButtonWidth, ButtonHeight);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    tbtnMap = button(acMap, "tbtnMap");
    tbtnChart = button(acChart, "tbtnChart");

    // The report button shows its own picture and hint; its body runs the report by stations
    // and its arrow opens the menu.
    tbtnReport1 = new QToolButton(ToolBar1);
    tbtnReport1->setObjectName(QStringLiteral("tbtnReport1"));
    tbtnReport1->setAutoRaise(true);
    tbtnReport1->setFocusPolicy(Qt::NoFocus);
    tbtnReport1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbtnReport1->setIconSize(ToolBar1->iconSize());
    if (MainDataModule)
        tbtnReport1->setIcon(MainDataModule->ImageList1.icon(ImageList::Printer));
    tbtnReport1->setToolTip(tr("Report"));
    tbtnReport1->setMenu(PopupMenu1);
    tbtnReport1->setPopupMode(QToolButton::MenuButtonPopup);
    tbtnReport1->setFixedSize(DropDownButtonWidth, ButtonHeight);
    connect(tbtnReport1, &QToolButton::clicked, acReport10, &QAction::trigger);
    connect(acReport10, &QAction::changed, tbtnReport1,
            [this] { tbtnReport1->setEnabled(acReport10->isEnabled()); });
    ToolBar1->addWidget(tbtnReport1);

    tbtnEdit = button(acEdit, "tbtnEdit");

    auto* separator = new QFrame(ToolBar1);
    separator->setObjectName(QStringLiteral("ToolButton1"));
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setFixedSize(SeparatorWidth, ButtonHeight);
    ToolButton1 = separator;
    ToolBar1->addWidget(ToolButton1);

    ToolButton2 = button(acExit, "ToolButton2");
}

void TMainForm::createPages()
{
    PageControl1 = new TFlatPageControl(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    setCentralWidget(PageControl1);

    auto sheet = [this](const char* name, const QString& caption) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(name));
        auto* layout = new QHBoxLayout(page);
        layout->setContentsMargins(SheetBorder, SheetBorder, SheetBorder, SheetBorder);
        layout->setSpacing(0);
        PageControl1->addTab(page, caption);
        return page;
    };
    TabSheet1 = sheet("TabSheet1", tr("Zooplankton"));
    TabSheet2 = sheet("TabSheet2", tr("Zoobenthos"));

    // The pages bind to the data module's sources; without a module the window is the bare frame.
    if (MainDataModule) {
        m_zooplanktonPage = new TZooplanktonPage(TabSheet1);
        TabSheet1->layout()->addWidget(m_zooplanktonPage);
        m_zoobenthosPage = new TZoobenthosPage(TabSheet2);
        TabSheet2->layout()->addWidget(m_zoobenthosPage);
    }

    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (!m_pageChangeByProgram)
            PageControl1Change();
    });
    for (ui::DBGrid* grid : PageControl1->findChildren<ui::DBGrid*>())
        connect(grid, &ui::DBGrid::exited, this, [this, grid] { dbgSeasons1Exit(grid); });
    if (auto* box = findChild<QGroupBox*>(QStringLiteral("GroupBox4")))
        box->installEventFilter(this);
}

void TMainForm::connectDataErrors()
{
    routeDataErrorsToErrorBox(this);
    if (MainDataModule)
        connect(MainDataModule, &TMainDataModule::dataSetError, this, [this](const QString& message) {
            QMessageBox::critical(this, applicationTitle(), message, QMessageBox::Ok);
        });
}

QMenu* TMainForm::createPopupMenu()
{
    // The tool bar can't be hidden.
    return nullptr;
}

void TMainForm::FormCreate()
{
    showPage(TabSheet1);
    setWindowTitle(zooplanktonCaption());
    limitDetailsPanel();
    acEdit->setVisible(m_arguments.value(1).compare(editSwitch(), Qt::CaseInsensitive) == 0);
    SetCardsReadOnly(true);
    // Browse mode also marks the grids read-only, so that nothing can be deleted from them
    // without the edit switch.
    for (ui::DBGrid* grid : findChildren<ui::DBGrid*>()) {
        grid->setRowSelect(true);
        grid->setReadOnly(true);
    }
}

void TMainForm::limitDetailsPanel()
{
    const auto* box = findChild<QGroupBox*>(QStringLiteral("GroupBox4"));
    auto* panel = findChild<ui::SizePanel*>(QStringLiteral("RzSizePanel1"));
    if (box && panel)
        panel->setHeightLimit(box->height() / 2);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    // The box gets its real height only once the window is laid out.
    if (event->type() == QEvent::Resize && watched->objectName() == QStringLiteral("GroupBox4"))
        limitDetailsPanel();
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::showPage(QWidget* page)
{
    m_pageChangeByProgram = true;
    PageControl1->setCurrentWidget(page);
    m_pageChangeByProgram = false;
}

void TMainForm::PageControl1Change()
{
    const bool zooplankton = PageControl1->currentWidget() == TabSheet1;
    setWindowTitle(zooplankton ? zooplanktonCaption() : zoobenthosCaption());
    const QString grid = zooplankton ? QStringLiteral("dbgSeasons1") : QStringLiteral("dbgYears");
    if (auto* focus = findChild<QWidget*>(grid))
        focus->setFocus(Qt::OtherFocusReason);
}

void TMainForm::SetCardsReadOnly(bool value)
{
    for (const char* name : CardControls) {
        QObject* control = findChild<QObject*>(QString::fromLatin1(name));
        if (!control)
            continue;
        if (!setControlReadOnly<ui::DBEdit>(control, value) &&
            !setControlReadOnly<ui::DBMemo>(control, value) &&
            !setControlReadOnly<ui::DBLookupComboBox>(control, value))
            setControlReadOnly<ui::SpinEdit>(control, value);
    }
}

bool TMainForm::isEditMode() const
{
    return tbtnEdit->isChecked();
}

void TMainForm::acEditExecute()
{
    const bool editing = isEditMode();
    for (ui::DBNavigator* navigator : findChildren<ui::DBNavigator*>()) {
        const ui::DBNavigator::Buttons shown = navigator->visibleButtons();
        navigator->setVisibleButtons(editing ? shown | ui::DBNavigator::EditButtons
                                             : shown & ~ui::DBNavigator::EditButtons);
    }
    for (ui::DBGrid* grid : findChildren<ui::DBGrid*>()) {
        grid->setRowSelect(!editing);
        grid->setReadOnly(!editing);
    }
    SetCardsReadOnly(!editing);
    if (editing || !MainDataModule)
        return;

    // The zooplankton chain from the top, then the zoobenthos chain: an unsaved change doesn't
    // outlive edit mode on either page.
    const TMainDataModule& dm = *MainDataModule;
    for (db::DataSet* dataSet : {dm.dtsSeasons, dm.dtsStations, dm.dtsSamples1, dm.dtsPlankton, dm.dtsDetails,
                                 dm.dtsYears, dm.dtsSamples2, dm.dtsBenthos}) {
        if (!dataSet->isEditing())
            continue;
        try {
            dataSet->cancel();
        } catch (const std::exception& error) {
            showApplicationError(this, error);
        }
    }
}

void TMainForm::dbgSeasons1Exit(ui::DBGrid* sender)
{
    db::DataSet* dataSet = sender->dataSet();
    if (!dataSet || !dataSet->isEditing())
        return;
    try {
        dataSet->cancel();
    } catch (const std::exception& error) {
        showApplicationError(this, error);
    }
}

void TMainForm::ApplicationEvents1Idle()
{
    auto* grid = findChild<QWidget*>(QStringLiteral("dbgPlankton2"));
    if (!grid)
        return;
    const db::DataSet* details = MainDataModule ? MainDataModule->dtsDetails : nullptr;
    grid->setEnabled(details && details->isActive() && !details->isEmpty());
    if (auto* navigator = findChild<QWidget*>(QStringLiteral("dbnPlankton2")))
        navigator->setEnabled(grid->isEnabled());
}

void TMainForm::acExitExecute()
{
    close();
}

void TMainForm::acMapUpdate()
{
    if (!MainDataModule)
        return acMap->setEnabled(false);
    const bool zooplankton = PageControl1->currentWidget() == TabSheet1;
    acMap->setEnabled(browsesRows(zooplankton ? MainDataModule->dtsStations : MainDataModule->dtsSamples2));
}

void TMainForm::acChartUpdate()
{
    if (!MainDataModule)
        return acChart->setEnabled(false);
    const bool zooplankton = PageControl1->currentWidget() == TabSheet1;
    acChart->setEnabled(browsesRows(zooplankton ? MainDataModule->dtsPlankton : MainDataModule->dtsBenthos));
}

void TMainForm::centreOnDesktop()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}
