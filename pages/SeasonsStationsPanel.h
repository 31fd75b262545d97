#pragma once

#include <QWidget>
#include <ui/DBNavigator.h>

class QGroupBox;

namespace ui {
class DBGrid;
}

// The left column of the zooplankton page: the seasons and, below them, the visits of the
// current season. In edit mode a visit's number, letter, date and depth are set through the
// station dialog, opened by the navigator's Insert and Edit buttons and by the button of the
// edited "No." cell.
class TSeasonsStationsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit TSeasonsStationsPanel(QWidget* parent = nullptr);

    static constexpr int ColumnWidth = 233;
    static constexpr int SeasonsHeight = 145;

    QGroupBox* GroupBox2 = nullptr;
    ui::DBNavigator* dbnSeasons1 = nullptr;
    ui::DBGrid* dbgSeasons1 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    ui::DBNavigator* dbnStations1 = nullptr;
    ui::DBGrid* dbgStations1 = nullptr;

    void dbnStations1Click(ui::DBNavigator::Button button);
    void dbgStations1Columns0EditButtonDown();

private:
    void createSeasons();
    void createStations();
};
