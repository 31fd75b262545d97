#include "ZooplanktonPage.h"

#include "AlignLayout.h"
#include "DataErrorRouting.h"
#include "PlanktonBox.h"
#include "SamplesBox.h"
#include "SeasonsStationsPanel.h"

TZooplanktonPage::TZooplanktonPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ZooplanktonPage"));
    m_seasonsStations = new TSeasonsStationsPanel(this);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    m_samples = new TSamplesBox(Panel2);
    m_plankton = new TPlanktonBox(Panel2);
    auto* right = new TAlignLayout(Panel2);
    right->addWidget(m_samples, TAlignLayout::Align::Top);
    right->addWidget(m_plankton, TAlignLayout::Align::Client);

    auto* layout = new TAlignLayout(this);
    layout->addWidget(m_seasonsStations, TAlignLayout::Align::Left);
    layout->addWidget(Panel2, TAlignLayout::Align::Client);

    routeDataErrorsToErrorBox(this);
}
