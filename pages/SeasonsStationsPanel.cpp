#include "SeasonsStationsPanel.h"

#include "MainDataModule.h"
#include "PageControls.h"
#include "StationNoDialog.h"

#include <QGroupBox>
#include <ui/DBGrid.h>

TSeasonsStationsPanel::TSeasonsStationsPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Panel1"));
    setFixedWidth(ColumnWidth);
    createSeasons();
    createStations();
    auto* layout = new TAlignLayout(this);
    GroupBox2->setFixedHeight(SeasonsHeight);
    layout->addWidget(GroupBox2, TAlignLayout::Align::Top);
    layout->addWidget(GroupBox3, TAlignLayout::Align::Client);
}

void TSeasonsStationsPanel::createSeasons()
{
    TAlignLayout* layout = nullptr;
    GroupBox2 = pagecontrols::groupBox(this, "GroupBox2", tr("Seasons"), &layout);
    dbnSeasons1 = pagecontrols::navigator(GroupBox2, "dbnSeasons1", MainDataModule->dsSeasons);
    dbgSeasons1 = pagecontrols::grid(GroupBox2, "dbgSeasons1", MainDataModule->dsSeasons);
    dbgSeasons1->setColumns(pagecontrols::dateWindowColumns());
    layout->addWidget(dbnSeasons1, TAlignLayout::Align::Top);
    layout->addWidget(dbgSeasons1, TAlignLayout::Align::Client);
}

void TSeasonsStationsPanel::createStations()
{
    TAlignLayout* layout = nullptr;
    GroupBox3 = pagecontrols::groupBox(this, "GroupBox3", tr("Stations"), &layout);
    dbnStations1 = pagecontrols::navigator(GroupBox3, "dbnStations1", MainDataModule->dsStations);
    dbgStations1 = pagecontrols::grid(GroupBox3, "dbgStations1", MainDataModule->dsStations);
    dbgStations1->setColumns({
        pagecontrols::stationNumberColumn(),
        ui::GridColumn(QStringLiteral("DATE")),
        ui::GridColumn(QStringLiteral("DEPTH")),
    });
    layout->addWidget(dbnStations1, TAlignLayout::Align::Top);
    layout->addWidget(dbgStations1, TAlignLayout::Align::Client);

    connect(dbnStations1, &ui::DBNavigator::clicked, this, &TSeasonsStationsPanel::dbnStations1Click);
    connect(dbgStations1, &ui::DBGrid::cellButtonPressed, this, [this](int column) {
        if (column == 0)
            dbgStations1Columns0EditButtonDown();
    });
}

void TSeasonsStationsPanel::dbnStations1Click(ui::DBNavigator::Button button)
{
    if (button == ui::DBNavigator::Insert || button == ui::DBNavigator::Edit)
        EditStationNo(MainDataModule->dsStations, window());
}

void TSeasonsStationsPanel::dbgStations1Columns0EditButtonDown()
{
    if (!dbgStations1->isReadOnly())
        EditStationNo(MainDataModule->dsStations, window());
}
