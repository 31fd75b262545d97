#include "StationLayout.h"

#include "SeaOutline.h"

#include <QtGlobal>
#include <algorithm>

namespace dbtool {

namespace {

constexpr int gridStepMinutes = 15;
// Keeps grid points off the shoreline, in degrees.
constexpr double shoreMargin = 0.1;

struct GridPoint
{
    int latMinutes; // minutes north of the equator
    int lonMinutes; // minutes east of Greenwich
    double shoreDistance;
};

StationPosition positionAt(int station, const QString& letter, int latMinutes, int lonMinutes)
{
    return StationPosition{station,         letter,          latMinutes / 60,
                           latMinutes % 60, lonMinutes / 60, lonMinutes % 60};
}

QList<StationPosition> layOut()
{
    using geo::SeaOutline;
    QList<GridPoint> grid;
    const int north = int(SeaOutline::northLatitude * 60);
    const int south = int(SeaOutline::southLatitude * 60);
    const int west = int(SeaOutline::westLongitude * 60);
    const int east = int(SeaOutline::eastLongitude * 60);
    for (int lat = north; lat >= south; lat -= gridStepMinutes) {
        for (int lon = west; lon <= east; lon += gridStepMinutes) {
            const QPointF p(lon / 60.0, lat / 60.0);
            const double distance = SeaOutline::distanceToShore(p);
            if (SeaOutline::contains(p) && distance >= shoreMargin)
                grid.append({lat, lon, distance});
        }
    }

    // Too many grid points: leave out those nearest the shore, keeping the reading order.
    const int wanted = StationLayout::lastStation - StationLayout::firstStation + 1;
    Q_ASSERT(grid.size() >= wanted);
    QList<GridPoint> byDistance = grid;
    std::stable_sort(byDistance.begin(), byDistance.end(), [](const GridPoint& a, const GridPoint& b) {
        return a.shoreDistance > b.shoreDistance;
    });
    const double cut = byDistance[wanted - 1].shoreDistance;
    qsizetype keepAtCut = std::count_if(byDistance.begin(), byDistance.begin() + wanted,
                                        [cut](const GridPoint& g) { return g.shoreDistance == cut; });

    QList<StationPosition> result;
    int station = StationLayout::firstStation;
    for (const GridPoint& g : grid) {
        if (g.shoreDistance < cut || (g.shoreDistance == cut && keepAtCut-- <= 0))
            continue;
        result.append(positionAt(station++, QString(), g.latMinutes, g.lonMinutes));
    }
    Q_ASSERT(station == StationLayout::lastStation + 1);

    // Extra stations beside a numbered one, five minutes to the south-east and to the south.
    const auto addLettered = [&result](int number, const QString& letter, int dLat, int dLon) {
        const StationPosition& base = result[number];
        const int lat = base.latDeg * 60 + base.latMin + dLat;
        const int lon = base.lonDeg * 60 + base.lonMin + dLon;
        result.append(positionAt(number, letter, lat, lon));
        Q_ASSERT(geo::SeaOutline::contains(result.last().lonLat()));
    };
    addLettered(12, QStringLiteral("a"), -5, 5);
    addLettered(12, QStringLiteral("b"), -10, 0);
    addLettered(57, QStringLiteral("a"), -5, 5);
    std::stable_sort(result.begin(), result.end(), [](const StationPosition& a, const StationPosition& b) {
        return a.station != b.station ? a.station < b.station : a.letter < b.letter;
    });
    return result;
}

QString degreesText(int degrees, int minutes, QChar hemisphere)
{
    return QStringLiteral("%1\u00B0%2' %3")
        .arg(degrees)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(hemisphere);
}

} // namespace

QPointF StationPosition::lonLat() const
{
    return QPointF(lonDeg + lonMin / 60.0, latDeg + latMin / 60.0);
}

QString StationPosition::latitudeText() const
{
    return degreesText(latDeg, latMin, u'N');
}

QString StationPosition::longitudeText() const
{
    return degreesText(lonDeg, lonMin, u'E');
}

const QList<StationPosition>& StationLayout::positions()
{
    static const QList<StationPosition> stations = layOut();
    return stations;
}

double StationLayout::typicalDepth(const StationPosition& position)
{
    const double metresPerDegree = 38.0;
    return 2.0 + metresPerDegree * geo::SeaOutline::distanceToShore(position.lonLat());
}

} // namespace dbtool
