#pragma once

#include <QWidget>
#include <ui/DBNavigator.h>

class QGroupBox;
class TBenthosCard;

namespace ui {
class DBGrid;
}

// The zoobenthos page of the main window: on the left the survey years and the benthos samples
// of the current year (a sample is a station visit), on the right the taxa counted in the
// current sample with their totals, and below them the card of the sample's readings. The
// station number, letter, date and depth of a sample are set through the station dialog.
class TZoobenthosPage : public QWidget
{
    Q_OBJECT

public:
    explicit TZoobenthosPage(QWidget* parent = nullptr);

    static constexpr int ColumnWidth = 233;
    static constexpr int YearsHeight = 145;

    QWidget* Panel3 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    ui::DBNavigator* dbnYears = nullptr;
    ui::DBGrid* dbgYears = nullptr;
    QGroupBox* GroupBox7 = nullptr;
    ui::DBNavigator* dbnStations2 = nullptr;
    ui::DBGrid* dbgStations2 = nullptr;
    QWidget* Panel4 = nullptr;
    QGroupBox* GroupBox8 = nullptr;
    ui::DBNavigator* dbnBenthos = nullptr;
    ui::DBGrid* dbgBenthos = nullptr;
    TBenthosCard* Panel5 = nullptr;

    void dbnStations2Click(ui::DBNavigator::Button button);
    void dbgStations2Columns0EditButtonDown();
    // Entering the years or the benthos grid discards the benthos sample's unsaved change.
    void dbgYearsEnter();

private:
    void createYears();
    void createStations();
    void createBenthos();
};
