#include "GridPainting.h"

#include <QPainter>

namespace ui {

void paintFlatCell(QPainter* painter, const QRect& rect, const QPalette& palette, const QColor& fill)
{
    painter->fillRect(rect, fill.isValid() ? fill : palette.color(QPalette::Button));
    painter->setPen(palette.color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
}

} // namespace ui
