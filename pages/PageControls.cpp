#include "PageControls.h"

#include <QGroupBox>
#include <QObject>
#include <ui/DBGrid.h>
#include <ui/DBNavigator.h>

namespace pagecontrols {

QGroupBox* groupBox(QWidget* parent, const char* name, const QString& caption, TAlignLayout** layout)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    auto* l = new TAlignLayout(box);
    l->setClientMargins(GroupBoxClient);
    if (layout)
        *layout = l;
    return box;
}

ui::DBNavigator* navigator(QWidget* parent, const char* name, db::DataSource* source)
{
    auto* nav = new ui::DBNavigator(parent);
    nav->setObjectName(QLatin1String(name));
    nav->setFlat(true);
    nav->setShowHints(true);
    nav->setVisibleButtons(ui::DBNavigator::BrowseButtons);
    nav->setFixedHeight(NavigatorHeight);
    nav->setDataSource(source);
    return nav;
}

ui::DBGrid* grid(QWidget* parent, const char* name, db::DataSource* source)
{
    auto* g = new ui::DBGrid(parent);
    g->setObjectName(QLatin1String(name));
    g->setRowSelect(true);
    g->setDataSource(source);
    return g;
}

QList<ui::GridColumn> dateWindowColumns()
{
    return {
        ui::GridColumn(QStringLiteral("YEAR")).setFixedWidth(48),
        ui::GridColumn(QStringLiteral("FROM_DATE")),
        ui::GridColumn(QStringLiteral("TILL_DATE")),
    };
}

ui::GridColumn stationNumberColumn()
{
    return ui::GridColumn(QStringLiteral("STATION_NAME"))
        .setTitle(QObject::tr("No."))
        .setTitleAlignment(Qt::AlignCenter)
        .setFixedWidth(48)
        .setFooterCount(QStringLiteral("ID"))
        .setFooterAlignment(Qt::AlignRight | Qt::AlignVCenter)
        .setCellButton(true);
}

} // namespace pagecontrols
