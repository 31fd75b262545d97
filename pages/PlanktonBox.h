#pragma once

#include <QGroupBox>

namespace ui {
class DBGrid;
class DBNavigator;
class SizePanel;
} // namespace ui

// The "Plankton" box of the zooplankton page: the taxa counted in the current sample with
// their totals, and below them, in a panel the user can size or close, the sub-taxon counts of
// the current taxon row.
class TPlanktonBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit TPlanktonBox(QWidget* parent = nullptr);

    static constexpr int DetailsHeight = 136;
    static constexpr int TaxonListRows = 15;

    ui::DBNavigator* dbnPlankton1 = nullptr;
    ui::DBGrid* dbgPlankton1 = nullptr;
    ui::SizePanel* RzSizePanel1 = nullptr;
    ui::DBNavigator* dbnPlankton2 = nullptr;
    ui::DBGrid* dbgPlankton2 = nullptr;

private:
    void createCounts();
    void createDetails();
};
