#pragma once

#include <QPalette>
#include <QRect>

class QPainter;

namespace ui {

// The flat look of a grid's title, indicator and footer cells: a plain fill with a line on the
// right and bottom edges, no bevel.
void paintFlatCell(QPainter* painter, const QRect& rect, const QPalette& palette, const QColor& fill = {});

} // namespace ui
