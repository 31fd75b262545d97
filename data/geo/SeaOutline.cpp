#include "SeaOutline.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace geo {

const QList<QPointF>& SeaOutline::shore()
{
    // A wide northern basin with a bay to the north-west, narrowing to the south-east.
    static const QList<QPointF> points{
        {59.30, 46.75}, {59.55, 46.90}, {59.90, 46.62}, {60.40, 46.70}, {60.90, 46.50}, {61.30, 46.20},
        {61.60, 45.80}, {61.48, 45.30}, {61.75, 44.90}, {61.60, 44.40}, {61.30, 44.00}, {60.90, 43.70},
        {60.40, 43.45}, {59.80, 43.50}, {59.30, 43.70}, {58.80, 43.90}, {58.45, 44.30}, {58.30, 44.80},
        {58.45, 45.30}, {58.35, 45.80}, {58.60, 46.20}, {58.90, 46.50},
    };
    return points;
}

bool SeaOutline::contains(QPointF p)
{
    // Even-odd rule: count the shore edges that a ray to the east crosses.
    const QList<QPointF>& poly = shore();
    bool inside = false;
    for (qsizetype i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const QPointF& a = poly[i];
        const QPointF& b = poly[j];
        if ((a.y() > p.y()) != (b.y() > p.y())) {
            const double crossX = a.x() + (p.y() - a.y()) * (b.x() - a.x()) / (b.y() - a.y());
            if (p.x() < crossX)
                inside = !inside;
        }
    }
    return inside;
}

double SeaOutline::distanceToShore(QPointF p)
{
    const QList<QPointF>& poly = shore();
    double best = std::numeric_limits<double>::max();
    for (qsizetype i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const QPointF a = poly[j];
        const QPointF ab = poly[i] - a;
        const double lengthSquared = QPointF::dotProduct(ab, ab);
        const double t =
            lengthSquared > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / lengthSquared, 0.0, 1.0) : 0.0;
        const QPointF d = p - (a + t * ab);
        best = std::min(best, std::hypot(d.x(), d.y()));
    }
    return best;
}

} // namespace geo
