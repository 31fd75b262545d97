#include "PlanktonBox.h"

#include "MainDataModule.h"
#include "PageControls.h"

#include <ui/DBGrid.h>
#include <ui/DBNavigator.h>
#include <ui/SizePanel.h>

TPlanktonBox::TPlanktonBox(QWidget* parent) : QGroupBox(tr("Plankton"), parent)
{
    setObjectName(QStringLiteral("GroupBox4"));
    auto* layout = new TAlignLayout(this);
    layout->setClientMargins(pagecontrols::GroupBoxClient);
    createCounts();
    createDetails();
    layout->addWidget(dbnPlankton1, TAlignLayout::Align::Top);
    layout->addWidget(RzSizePanel1, TAlignLayout::Align::Bottom);
    layout->addWidget(dbgPlankton1, TAlignLayout::Align::Client);
}

void TPlanktonBox::createCounts()
{
    dbnPlankton1 = pagecontrols::navigator(this, "dbnPlankton1", MainDataModule->dsPlankton);
    dbgPlankton1 = pagecontrols::grid(this, "dbgPlankton1", MainDataModule->dsPlankton);
    dbgPlankton1->setTitleLines(2);
    dbgPlankton1->setColumns({
        ui::GridColumn(QStringLiteral("TAXON_NAME"))
            .setStretchWidth(256)
            .setFooterText(tr("Total:"))
            .setDropDownRows(TaxonListRows),
        ui::GridColumn(QStringLiteral("ABUNDANCE"))
            .setTitle(tr("Abundance, ind./cu.m"))
            .setFixedWidth(80)
            .setTitleWordWrap(true)
            .setFooterSum(),
        ui::GridColumn(QStringLiteral("BIOMASS"))
            .setTitle(tr("Biomass, mg/cu.m"))
            .setFixedWidth(80)
            .setTitleWordWrap(true)
            .setFooterSum(),
    });
}

void TPlanktonBox::createDetails()
{
    RzSizePanel1 = new ui::SizePanel(this);
    RzSizePanel1->setObjectName(QStringLiteral("RzSizePanel1"));
    RzSizePanel1->setHotSpotVisible(true);
    RzSizePanel1->setFixedHeight(DetailsHeight);
    auto* layout = new TAlignLayout(RzSizePanel1);
    layout->setClientMargins(QMargins(0, RzSizePanel1->sizeBarWidth(), 0, 0));

    dbnPlankton2 = pagecontrols::navigator(RzSizePanel1, "dbnPlankton2", MainDataModule->dsDetails);
    dbgPlankton2 = pagecontrols::grid(RzSizePanel1, "dbgPlankton2", MainDataModule->dsDetails);
    dbgPlankton2->setColumns({
        ui::GridColumn(QStringLiteral("TAXON_NAME")).setStretchWidth(263).setFooterText(tr("Total:")),
        ui::GridColumn(QStringLiteral("ABUNDANCE")).setFixedWidth(80).setFooterSum(),
        ui::GridColumn(QStringLiteral("BIOMASS")).setFixedWidth(80).setFooterSum(),
    });
    layout->addWidget(dbnPlankton2, TAlignLayout::Align::Top);
    layout->addWidget(dbgPlankton2, TAlignLayout::Align::Client);
}
