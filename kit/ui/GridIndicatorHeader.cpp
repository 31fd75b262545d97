#include "GridIndicatorHeader.h"

#include "GridPainting.h"

#include <QPainter>
#include <QPolygon>

namespace ui {

namespace {
constexpr int IndicatorWidth = 12;
}

GridIndicatorHeader::GridIndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setHighlightSections(false);
    setSectionsMovable(false);
    setFixedWidth(IndicatorWidth);
}

QSize GridIndicatorHeader::sizeHint() const
{
    return {IndicatorWidth, length()};
}

void GridIndicatorHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    paintFlatCell(painter, rect, palette());
    const RowMark mark = markOf(logicalIndex);
    const QPoint c = rect.center();
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->setBrush(palette().color(QPalette::ButtonText));
    switch (mark) {
    case RowMark::None:
        break;
    case RowMark::Current:
        painter->drawPolygon(
            QPolygon({QPoint(c.x() - 2, c.y() - 4), QPoint(c.x() + 2, c.y()), QPoint(c.x() - 2, c.y() + 4)}));
        break;
    case RowMark::Edit:
        painter->drawLine(c.x(), c.y() - 4, c.x(), c.y() + 4);
        painter->drawLine(c.x() - 2, c.y() - 4, c.x() + 2, c.y() - 4);
        painter->drawLine(c.x() - 2, c.y() + 4, c.x() + 2, c.y() + 4);
        break;
    case RowMark::Insert:
        painter->setFont(font());
        painter->drawText(rect, Qt::AlignCenter, QStringLiteral("*"));
        break;
    }
    painter->restore();
}

} // namespace ui
