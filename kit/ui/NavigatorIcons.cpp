#include "NavigatorIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace ui {

namespace {

constexpr int Size = 16;

void triangle(QPainter& p, qreal tipX, qreal baseX)
{
    // A solid triangle pointing from baseX towards tipX, centred vertically.
    const QPolygonF shape{QPointF(baseX, 3.5), QPointF(tipX, 8), QPointF(baseX, 12.5)};
    p.drawPolygon(shape);
}

void bar(QPainter& p, qreal x)
{
    p.drawRect(QRectF(x, 3.5, 1.5, 9));
}

void draw(QPainter& p, int index)
{
    const QColor ink(0x20, 0x20, 0x20);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    switch (index) {
    case 0: // First
        bar(p, 3.5);
        triangle(p, 5.5, 11.5);
        break;
    case 1: // Prior
        triangle(p, 5, 11);
        break;
    case 2: // Next
        triangle(p, 11, 5);
        break;
    case 3: // Last
        triangle(p, 10.5, 4.5);
        bar(p, 11);
        break;
    case 4: // Insert
        p.drawRect(QRectF(3, 7, 10, 2));
        p.drawRect(QRectF(7, 3, 2, 10));
        break;
    case 5: // Delete
        p.drawRect(QRectF(3, 7, 10, 2));
        break;
    case 6: // Edit
        p.drawPolygon(QPolygonF{QPointF(3.5, 11), QPointF(8, 4.5), QPointF(12.5, 11)});
        break;
    case 7: { // Post
        QPen pen(QColor(0x10, 0x80, 0x10), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF{QPointF(3.5, 8.5), QPointF(6.5, 11.5), QPointF(12.5, 4.5)});
        break;
    }
    case 8: { // Cancel
        QPen pen(QColor(0xb0, 0x18, 0x18), 2.2, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
        p.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
        break;
    }
    case 9: { // Refresh: an open circle with an arrow head at its end
        QPen pen(ink, 1.8, Qt::SolidLine, Qt::FlatCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3.5, 3.5, 9, 9), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPolygon(QPolygonF{QPointF(9, 1.5), QPointF(13, 4.5), QPointF(9, 7)});
        break;
    }
    default:
        break;
    }
}

} // namespace

QIcon navigatorIcon(int buttonIndex)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, buttonIndex);
    painter.end();
    return QIcon(pixmap);
}

} // namespace ui
