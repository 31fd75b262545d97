#pragma once

#include "AlignLayout.h"

#include <QList>
#include <QString>
#include <ui/GridColumn.h>

class QGroupBox;
class QWidget;

namespace db {
class DataSource;
}

namespace ui {
class DBGrid;
class DBNavigator;
} // namespace ui

// Settings that all group boxes, navigators and grids of the main window's pages share.
namespace pagecontrols {

// The caption band and border of a group box: its children are docked inside these.
inline constexpr QMargins GroupBoxClient{2, 18, 2, 2};
inline constexpr int NavigatorHeight = 25;

// A captioned group box whose children are docked by a TAlignLayout.
QGroupBox* groupBox(QWidget* parent, const char* name, const QString& caption, TAlignLayout** layout);
// A navigator on `source`: flat buttons with hints, the browsing buttons only, 25 pixels high.
ui::DBNavigator* navigator(QWidget* parent, const char* name, db::DataSource* source);
// A grid on `source`: whole-row selection without in-place editing (browse mode).
ui::DBGrid* grid(QWidget* parent, const char* name, db::DataSource* source);

// The columns of a date-window grid (seasons, years): the year, then the first and last day.
QList<ui::GridColumn> dateWindowColumns();
// The "No." column of a stations grid: the station's name with a count of the rows below it,
// and the cell button that opens the station dialog in edit mode.
ui::GridColumn stationNumberColumn();

} // namespace pagecontrols
