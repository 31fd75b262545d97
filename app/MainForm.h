#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;
class QWidgetAction;
class TOneInstance;
class TZoobenthosPage;
class TZooplanktonPage;

namespace ui {
class Action;
class ActionList;
class ApplicationEvents;
class DBGrid;
} // namespace ui

// The application's main window: closing it ends the program. A tool bar with the map, chart,
// report, edit and exit buttons above two pages, zooplankton and zoobenthos. The window starts
// in browse mode; with the edit switch as the first command-line argument the Edit button turns
// every navigator, grid and card control of both pages to editing and back.
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    // The arguments are the program's command line.
    explicit TMainForm(QWidget* parent = nullptr);
    // `arguments` stands for the command line, program name first.
    explicit TMainForm(const QStringList& arguments, QWidget* parent = nullptr);

    // The window's captions, one for each page.
    static QString zooplanktonCaption();
    static QString zoobenthosCaption();
    // The first command-line argument that makes editing possible, in any case.
    static QString editSwitch();

    static constexpr int ClientWidth = 748;
    static constexpr int ClientHeight = 566;
    static constexpr int ToolBarHeight = 26;
    static constexpr int FontPixelSize = 13;

    // Sets the read-only state of the fifteen card controls of both pages.
    void SetCardsReadOnly(bool value);
    // Whether the window is in edit mode (tbtnEdit pressed).
    bool isEditMode() const;

protected:
    QMenu* createPopupMenu() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createToolBar();
    void createPages();
    void connectDataErrors();
    void centreOnDesktop();

    void FormCreate();
    void limitDetailsPanel();
    void PageControl1Change();
    void ApplicationEvents1Idle();
    void acEditExecute();
    void acExitExecute();
    void acMapUpdate();
    void acChartUpdate();
    void dbgSeasons1Exit(ui::DBGrid* sender);
    // Sets the current page without running PageControl1Change, as a change by the program.
    void showPage(QWidget* page);

    QStringList m_arguments;
    bool m_pageChangeByProgram = false;

    TOneInstance* LMDOneInstance1 = nullptr;
    ui::ApplicationEvents* ApplicationEvents1 = nullptr;
    ui::ActionList* ActionList1 = nullptr;
    ui::Action* acExit = nullptr;
    ui::Action* acChart = nullptr;
    ui::Action* acMap = nullptr;
    ui::Action* acEdit = nullptr;
    ui::Action* acReport10 = nullptr;
    ui::Action* acReport11 = nullptr;
    ui::Action* acReport12 = nullptr;
    ui::Action* acReportCross = nullptr;
    QMenu* PopupMenu1 = nullptr;

    QToolBar* ToolBar1 = nullptr;
    QToolButton* tbtnMap = nullptr;
    QToolButton* tbtnChart = nullptr;
    QToolButton* tbtnReport1 = nullptr;
    QToolButton* tbtnEdit = nullptr;
    QWidget* ToolButton1 = nullptr;
    QToolButton* ToolButton2 = nullptr;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    TZooplanktonPage* m_zooplanktonPage = nullptr;
    TZoobenthosPage* m_zoobenthosPage = nullptr;
};

// The one instance, empty until created and again once destroyed.
extern QPointer<TMainForm> MainForm;
