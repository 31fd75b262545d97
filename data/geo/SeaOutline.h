#pragma once

#include <QList>
#include <QPointF>

namespace geo {

// The stylised Velmar Sea of the map picture, in degrees: x is east longitude, y north latitude.
// The map draws its picture from this outline and the station positions are chosen inside it,
// so that both always agree.
class SeaOutline
{
public:
    // The area the map picture covers.
    static constexpr double westLongitude = 58.0;
    static constexpr double eastLongitude = 62.0;
    static constexpr double southLatitude = 43.0;
    static constexpr double northLatitude = 47.0;

    // The shore as a closed polygon, clockwise from the north; the last point joins the first.
    static const QList<QPointF>& shore();

    // Whether a position lies in open water.
    static bool contains(QPointF lonLat);

    // Distance of a position from the nearest point of the shore, in degrees of arc (longitude
    // and latitude taken as equal units, as the map's linear scale does on each axis).
    static double distanceToShore(QPointF lonLat);
};

} // namespace geo
