#pragma once

#include <QWidget>

class TPlanktonBox;
class TSamplesBox;
class TSeasonsStationsPanel;

// The zooplankton page of the main window: on the left the seasons and the visits of the
// current season, on the right the samples of the current visit with the sample card, and
// below them the taxon counts of the current sample with their sub-taxon counts. Every
// control carries its form name as objectName; the window finds the navigators, grids and
// card controls by it for edit mode and the leave rules.
class TZooplanktonPage : public QWidget
{
    Q_OBJECT

public:
    explicit TZooplanktonPage(QWidget* parent = nullptr);

    TSeasonsStationsPanel* seasonsStations() const { return m_seasonsStations; }
    TSamplesBox* samples() const { return m_samples; }
    TPlanktonBox* plankton() const { return m_plankton; }

private:
    TSeasonsStationsPanel* m_seasonsStations = nullptr;
    QWidget* Panel2 = nullptr;
    TSamplesBox* m_samples = nullptr;
    TPlanktonBox* m_plankton = nullptr;
};
