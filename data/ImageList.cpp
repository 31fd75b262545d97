#include "ImageList.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace {

const QColor Outline(60, 60, 60);
const QColor Paper(255, 255, 255);
const QColor PaperShade(200, 200, 200);

void sheet(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(Paper);
    QPolygonF shape;
    const qreal fold = 3.5;
    shape << r.topLeft() << QPointF(r.right() - fold, r.top()) << QPointF(r.right(), r.top() + fold)
          << r.bottomRight() << r.bottomLeft();
    p.drawPolygon(shape);
    p.setBrush(PaperShade);
    p.drawPolygon(QPolygonF{QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                            QPointF(r.right(), r.top() + fold)});
}

void textLines(QPainter& p, qreal left, qreal right, qreal top, int lines)
{
    p.setPen(QPen(QColor(120, 140, 190), 1));
    for (int i = 0; i < lines; ++i)
        p.drawLine(QPointF(left, top + 2 * i), QPointF(right, top + 2 * i));
}

void magnifier(QPainter& p, const QPointF& centre, qreal radius)
{
    p.setPen(QPen(QColor(110, 70, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
    const QPointF handle = centre + QPointF(radius * 0.72, radius * 0.72);
    p.drawLine(handle, handle + QPointF(radius * 0.95, radius * 0.95));
    p.setPen(QPen(Outline, 1.2));
    p.setBrush(QColor(190, 225, 255, 210));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(Qt::white, 1));
    p.drawArc(QRectF(centre.x() - radius + 1.5, centre.y() - radius + 1.5, radius * 1.2, radius * 1.2),
              90 * 16, 70 * 16);
}

void arrow(QPainter& p, bool right, const QColor& colour)
{
    QPolygonF shape{QPointF(2, 8),     QPointF(8, 2),    QPointF(8, 5.5), QPointF(14, 5.5),
                    QPointF(14, 10.5), QPointF(8, 10.5), QPointF(8, 14)};
    if (right)
        for (QPointF& point : shape)
            point.setX(16 - point.x());
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(colour);
    p.drawPolygon(shape);
}

void roundSign(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(colour);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

void drawOpenDoor(QPainter& p)
{
    // The frame with the dark doorway, and the leaf swung out towards the viewer.
    p.setPen(QPen(QColor(90, 50, 20), 1));
    p.setBrush(QColor(40, 40, 50));
    p.drawRect(QRectF(5.5, 1.5, 8, 13));
    p.setBrush(QColor(190, 120, 60));
    p.drawPolygon(QPolygonF{QPointF(5.5, 1.5), QPointF(1.5, 3.5), QPointF(1.5, 15.5), QPointF(5.5, 14.5)});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QRectF(2.3, 8.5, 1.6, 1.6));
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawLine(QPointF(0.5, 15.5), QPointF(15.5, 15.5));
}

void drawGlobe(QPainter& p)
{
    p.setPen(QPen(QColor(20, 60, 140), 1));
    p.setBrush(QColor(70, 140, 230));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 170, 60));
    QPainterPath land;
    land.moveTo(4, 4);
    land.cubicTo(7, 3, 8, 6, 6, 8);
    land.cubicTo(5, 10, 7, 12, 5, 13);
    land.cubicTo(3, 11, 2, 7, 4, 4);
    land.moveTo(10, 5);
    land.cubicTo(13, 5, 14, 8, 12, 10);
    land.cubicTo(11, 11, 9, 9, 10, 5);
    p.drawPath(land);
    p.setPen(QPen(QColor(255, 255, 255, 130), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 1.5, 6, 13));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
}

void drawFolder(QPainter& p)
{
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(QPolygonF{QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5), QPointF(14.5, 5),
                            QPointF(14.5, 13.5), QPointF(1.5, 13.5)});
    p.setBrush(QColor(255, 225, 120));
    p.drawPolygon(QPolygonF{QPointF(1.5, 13.5), QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(14.5, 13.5)});
}

void drawPieChart(QPainter& p)
{
    const QRectF disc(1.5, 2.5, 12, 12);
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(230, 70, 60));
    p.drawPie(disc, 90 * 16, 160 * 16);
    p.setBrush(QColor(80, 130, 230));
    p.drawPie(disc, 250 * 16, 130 * 16);
    // The last slice stands out of the pie.
    p.setBrush(QColor(250, 200, 50));
    p.drawPie(disc.translated(1.5, -1.5), 20 * 16, 70 * 16);
}

void drawFloppy(QPainter& p)
{
    p.setPen(QPen(QColor(20, 30, 80), 1));
    p.setBrush(QColor(50, 70, 160));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Paper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(180, 180, 190));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

void drawBarChart(QPainter& p)
{
    p.setPen(QPen(Outline, 1));
    p.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
    p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
    const struct
    {
        qreal left, top;
        QColor colour;
    } bars[] = {
        {3.5, 8.5, QColor(230, 70, 60)}, {7.5, 3.5, QColor(80, 130, 230)}, {11.5, 6.5, QColor(60, 180, 70)}};
    for (const auto& bar : bars) {
        p.setBrush(bar.colour);
        p.drawRect(QRectF(bar.left, bar.top, 3, 14.5 - bar.top));
    }
}

void drawLineChart(QPainter& p)
{
    p.setPen(QPen(Outline, 1));
    p.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
    p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
    p.setPen(QPen(QColor(220, 50, 50), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{QPointF(2.5, 12), QPointF(6, 7), QPointF(9, 10), QPointF(14, 3)});
}

void drawSheetWithMagnifier(QPainter& p)
{
    sheet(p, QRectF(1.5, 0.5, 10, 13));
    textLines(p, 3.5, 8.5, 3.5, 3);
    magnifier(p, QPointF(9.5, 9.5), 3.2);
}

void drawPlus(QPainter& p)
{
    p.setPen(QPen(QColor(20, 110, 30), 1));
    p.setBrush(QColor(60, 180, 70));
    p.drawPolygon(QPolygonF{QPointF(6, 2), QPointF(10, 2), QPointF(10, 6), QPointF(14, 6), QPointF(14, 10),
                            QPointF(10, 10), QPointF(10, 14), QPointF(6, 14), QPointF(6, 10), QPointF(2, 10),
                            QPointF(2, 6), QPointF(6, 6)});
}

void drawMinus(QPainter& p)
{
    p.setPen(QPen(QColor(140, 20, 20), 1));
    p.setBrush(QColor(220, 60, 50));
    p.drawRect(QRectF(2, 6, 12, 4));
}

void drawCheck(QPainter& p)
{
    p.setPen(QPen(QColor(30, 150, 40), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{QPointF(2.5, 8.5), QPointF(6, 12.5), QPointF(13.5, 3.5)});
}

void drawHandWritingOnSheet(QPainter& p)
{
    sheet(p, QRectF(0.5, 0.5, 10, 14));
    textLines(p, 2.5, 7.5, 3.5, 3);
    // The written line the pencil is drawing.
    p.setPen(QPen(QColor(30, 30, 120), 1));
    p.drawPolyline(QPolygonF{QPointF(2.5, 11.5), QPointF(4, 10), QPointF(5, 12), QPointF(6.5, 10.5)});
    // The pencil, its tip on the line.
    p.setPen(QPen(QColor(120, 80, 20), 1));
    p.setBrush(QColor(250, 200, 50));
    p.drawPolygon(QPolygonF{QPointF(7, 11), QPointF(13, 4.5), QPointF(14.5, 6), QPointF(8.5, 12.5)});
    p.setBrush(QColor(60, 60, 60));
    p.drawPolygon(QPolygonF{QPointF(7, 11), QPointF(8.5, 12.5), QPointF(6.5, 13)});
    // The hand holding it: a palm and two fingers over the pencil.
    p.setPen(QPen(QColor(170, 110, 70), 1));
    p.setBrush(QColor(250, 200, 160));
    p.drawEllipse(QRectF(10.5, 8, 5, 6.5));
    p.drawEllipse(QRectF(9, 8.5, 3.2, 2.2));
    p.drawEllipse(QRectF(9.5, 10.5, 3, 2));
}

void drawCross(QPainter& p)
{
    p.setPen(QPen(QColor(210, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void drawMagnifier(QPainter& p)
{
    magnifier(p, QPointF(6.5, 6.5), 4.5);
}

void drawBlankSheet(QPainter& p)
{
    sheet(p, QRectF(2.5, 0.5, 11, 15));
}

void drawPencil(QPainter& p)
{
    p.setPen(QPen(QColor(120, 80, 20), 1));
    p.setBrush(QColor(250, 200, 50));
    p.drawPolygon(QPolygonF{QPointF(3, 10.5), QPointF(11.5, 2), QPointF(14, 4.5), QPointF(5.5, 13)});
    p.setBrush(QColor(240, 150, 150));
    p.drawPolygon(QPolygonF{QPointF(11.5, 2), QPointF(12.5, 1), QPointF(15, 3.5), QPointF(14, 4.5)});
    p.setBrush(QColor(60, 60, 60));
    p.drawPolygon(QPolygonF{QPointF(3, 10.5), QPointF(5.5, 13), QPointF(1.5, 14.5)});
}

void drawKey(QPainter& p)
{
    p.setPen(QPen(QColor(140, 100, 10), 1));
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QRectF(1.5, 4.5, 6, 6));
    p.drawRect(QRectF(7, 6.5, 7.5, 2));
    p.drawRect(QRectF(11, 8.5, 1.5, 2.5));
    p.drawRect(QRectF(13, 8.5, 1.5, 3.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(3.5, 6.5, 2, 2));
}

void drawClock(QPainter& p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(Paper);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(Outline, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(8, 3.5));
    p.drawLine(QPointF(8, 8), QPointF(11, 10));
}

void drawFlag(QPainter& p)
{
    p.setPen(QPen(QColor(80, 80, 80), 1.2));
    p.drawLine(QPointF(3, 1.5), QPointF(3, 15));
    p.setPen(QPen(QColor(150, 20, 20), 1));
    p.setBrush(QColor(220, 50, 50));
    p.drawPolygon(
        QPolygonF{QPointF(3.5, 2), QPointF(14, 2), QPointF(11.5, 5), QPointF(14, 8), QPointF(3.5, 8)});
}

void drawQuestion(QPainter& p)
{
    roundSign(p, QColor(60, 110, 220));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(5.5, 6);
    hook.cubicTo(5.5, 3, 10.5, 3, 10.5, 6);
    hook.cubicTo(10.5, 8, 8, 8, 8, 10);
    p.drawPath(hook);
    p.drawPoint(QPointF(8, 12.5));
}

void drawInformation(QPainter& p)
{
    roundSign(p, QColor(40, 140, 200));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawPoint(QPointF(8, 4.5));
    p.drawLine(QPointF(8, 7.5), QPointF(8, 12));
}

void drawStar(QPainter& p)
{
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? 7 : 3;
        const qreal angle = (i * 36 - 90) * 3.14159265358979 / 180;
        star << QPointF(8 + radius * std::cos(angle), 8.5 + radius * std::sin(angle));
    }
    p.setPen(QPen(QColor(170, 120, 0), 1));
    p.setBrush(QColor(255, 210, 40));
    p.drawPolygon(star);
}

void drawHouse(QPainter& p)
{
    p.setPen(QPen(QColor(120, 30, 20), 1));
    p.setBrush(QColor(200, 60, 40));
    p.drawPolygon(QPolygonF{QPointF(1, 8), QPointF(8, 1.5), QPointF(15, 8)});
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(240, 220, 170));
    p.drawRect(QRectF(3.5, 8, 9, 6.5));
    p.setBrush(QColor(130, 80, 40));
    p.drawRect(QRectF(6.5, 10.5, 3, 4));
}

void drawTable(QPainter& p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(Paper);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.fillRect(QRectF(2, 3, 12, 2.5), QColor(120, 160, 220));
    for (qreal x : {5.5, 10.0})
        p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
    for (qreal y : {5.5, 8.5, 11.0})
        p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
}

void drawPrinter(QPainter& p)
{
    // The sheet going in at the back, the body, and the printed sheet coming out in front.
    sheet(p, QRectF(4.5, 0.5, 7, 6));
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(170, 170, 180));
    p.drawRect(QRectF(0.5, 6.5, 15, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 200, 60));
    p.drawRect(QRectF(12, 8, 2, 1.5));
    p.setPen(QPen(Outline, 1));
    p.setBrush(Paper);
    p.drawRect(QRectF(3.5, 10.5, 9, 5));
    textLines(p, 5, 11, 12.5, 2);
}

using Painter = void (*)(QPainter&);

// By index; what the other windows expect at an index must not move.
const std::array<Painter, ImageList::Count> Painters = {
    drawOpenDoor, // 0
    drawGlobe,    // 1
    drawFolder,   // 2
    drawPieChart, // 3
    drawFloppy,   // 4
    [](QPainter& p) { arrow(p, false, QColor(60, 170, 70)); },
    [](QPainter& p) { arrow(p, true, QColor(60, 170, 70)); },
    drawBarChart,           // 7
    drawLineChart,          // 8
    drawSheetWithMagnifier, // 9
    drawPlus,               // 10
    drawMinus,              // 11
    drawCheck,              // 12
    drawHandWritingOnSheet, // 13
    drawCross,              // 14
    drawMagnifier,          // 15
    drawBlankSheet,         // 16
    drawPencil,             // 17
    drawKey,                // 18
    drawClock,              // 19
    drawFlag,               // 20
    drawQuestion,           // 21
    drawInformation,        // 22
    drawStar,               // 23
    drawHouse,              // 24
    drawTable,              // 25
    drawPrinter,            // 26
};

} // namespace

void ImageList::drawAll() const
{
    for (int i = 0; i < Count; ++i) {
        QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        Painters[i](painter);
        painter.end();
        m_images[i] = image;
    }
    m_drawn = true;
}

QImage ImageList::image(int index) const
{
    if (index < 0 || index >= Count)
        return {};
    if (!m_drawn)
        drawAll();
    return m_images[index];
}

QPixmap ImageList::pixmap(int index) const
{
    return QPixmap::fromImage(image(index));
}

QIcon ImageList::icon(int index) const
{
    const QImage picture = image(index);
    return picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture));
}
