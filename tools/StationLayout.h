#pragma once

#include <QList>
#include <QPointF>
#include <QString>

namespace dbtool {

// One row of the station coordinates: whole degrees and minutes, north and east.
struct StationPosition
{
    int station = 0;
    QString letter; // empty for most stations
    int latDeg = 0;
    int latMin = 0;
    int lonDeg = 0;
    int lonMin = 0;

    QPointF lonLat() const;
    QString name() const { return QString::number(station) + letter; }
    // Display texts such as 45°10' N and 59°05' E (the degree sign has a WIN1251 code).
    QString latitudeText() const;
    QString longitudeText() const;
};

// The stations 0 to 114 of the survey on a 15-minute grid inside the sea's outline, numbered
// row by row from the north-west, plus a few stations that share a number and have a letter.
class StationLayout
{
public:
    static constexpr int firstStation = 0;
    static constexpr int lastStation = 114;

    static const QList<StationPosition>& positions();

    // A plausible sea depth at a station in metres: shallow near the shore, deepest offshore.
    static double typicalDepth(const StationPosition& position);
};

} // namespace dbtool
