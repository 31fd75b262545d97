#include "ZoobenthosPage.h"

#include "AlignLayout.h"
#include "ApplicationError.h"
#include "BenthosCard.h"
#include "DataErrorRouting.h"
#include "MainDataModule.h"
#include "PageControls.h"
#include "StationNoDialog.h"

#include <QGroupBox>
#include <db/DataSet.h>
#include <ui/DBGrid.h>

TZoobenthosPage::TZoobenthosPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ZoobenthosPage"));

    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedWidth(ColumnWidth);
    createYears();
    createStations();
    auto* left = new TAlignLayout(Panel3);
    GroupBox5->setFixedHeight(YearsHeight);
    left->addWidget(GroupBox5, TAlignLayout::Align::Top);
    left->addWidget(GroupBox7, TAlignLayout::Align::Client);

    Panel4 = new QWidget(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    createBenthos();
    Panel5 = new TBenthosCard(Panel4);
    auto* right = new TAlignLayout(Panel4);
    right->addWidget(Panel5, TAlignLayout::Align::Bottom);
    right->addWidget(GroupBox8, TAlignLayout::Align::Client);

    auto* layout = new TAlignLayout(this);
    layout->addWidget(Panel3, TAlignLayout::Align::Left);
    layout->addWidget(Panel4, TAlignLayout::Align::Client);

    routeDataErrorsToErrorBox(this);
}

void TZoobenthosPage::createYears()
{
    TAlignLayout* layout = nullptr;
    GroupBox5 = pagecontrols::groupBox(Panel3, "GroupBox5", tr("Years"), &layout);
    dbnYears = pagecontrols::navigator(GroupBox5, "dbnYears", MainDataModule->dsYears);
    dbgYears = pagecontrols::grid(GroupBox5, "dbgYears", MainDataModule->dsYears);
    dbgYears->setColumns(pagecontrols::dateWindowColumns());
    layout->addWidget(dbnYears, TAlignLayout::Align::Top);
    layout->addWidget(dbgYears, TAlignLayout::Align::Client);
    connect(dbgYears, &ui::DBGrid::entered, this, &TZoobenthosPage::dbgYearsEnter);
}

void TZoobenthosPage::createStations()
{
    TAlignLayout* layout = nullptr;
    GroupBox7 = pagecontrols::groupBox(Panel3, "GroupBox7", tr("Stations"), &layout);
    dbnStations2 = pagecontrols::navigator(GroupBox7, "dbnStations2", MainDataModule->dsSamples2);
    dbgStations2 = pagecontrols::grid(GroupBox7, "dbgStations2", MainDataModule->dsSamples2);
    dbgStations2->setColumns({
        pagecontrols::stationNumberColumn(),
        ui::GridColumn(QStringLiteral("DATE")).setStretchWidth(78),
        ui::GridColumn(QStringLiteral("DEPTH")),
    });
    layout->addWidget(dbnStations2, TAlignLayout::Align::Top);
    layout->addWidget(dbgStations2, TAlignLayout::Align::Client);

    connect(dbnStations2, &ui::DBNavigator::clicked, this, &TZoobenthosPage::dbnStations2Click);
    connect(dbgStations2, &ui::DBGrid::cellButtonPressed, this, [this](int column) {
        if (column == 0)
            dbgStations2Columns0EditButtonDown();
    });
}

void TZoobenthosPage::createBenthos()
{
    TAlignLayout* layout = nullptr;
    GroupBox8 = pagecontrols::groupBox(Panel4, "GroupBox8", tr("Zoobenthos"), &layout);
    dbnBenthos = pagecontrols::navigator(GroupBox8, "dbnBenthos", MainDataModule->dsBenthos);
    dbgBenthos = pagecontrols::grid(GroupBox8, "dbgBenthos", MainDataModule->dsBenthos);
    dbgBenthos->setTitleLines(2);
    dbgBenthos->setColumns({
        ui::GridColumn(QStringLiteral("TAXON_NAME")).setStretchWidth(266).setFooterText(tr("Total:")),
        ui::GridColumn(QStringLiteral("ABUNDANCE"))
            .setTitle(tr("Abundance, ind./sq.m"))
            .setFixedWidth(80)
            .setTitleWordWrap(true)
            .setFooterSum(),
        ui::GridColumn(QStringLiteral("BIOMASS"))
            .setTitle(tr("Biomass, g/sq.m"))
            .setFixedWidth(80)
            .setTitleWordWrap(true)
            .setFooterSum(),
    });
    layout->addWidget(dbnBenthos, TAlignLayout::Align::Top);
    layout->addWidget(dbgBenthos, TAlignLayout::Align::Client);
    connect(dbgBenthos, &ui::DBGrid::entered, this, &TZoobenthosPage::dbgYearsEnter);
}

void TZoobenthosPage::dbnStations2Click(ui::DBNavigator::Button button)
{
    if (button == ui::DBNavigator::Insert || button == ui::DBNavigator::Edit)
        EditStationNo(dbgStations2->dataSource(), window());
}

void TZoobenthosPage::dbgStations2Columns0EditButtonDown()
{
    if (!dbgStations2->isReadOnly())
        EditStationNo(dbgStations2->dataSource(), window());
}

void TZoobenthosPage::dbgYearsEnter()
{
    db::DataSet* samples = MainDataModule->dtsSamples2;
    if (!samples->isEditing())
        return;
    try {
        samples->cancel();
    } catch (const std::exception& error) {
        showApplicationError(window(), error);
    }
}
