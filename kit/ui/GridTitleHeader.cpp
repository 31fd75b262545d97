#include "GridTitleHeader.h"

#include "GridPainting.h"

#include <QPainter>

namespace ui {

namespace {
constexpr int TextMargin = 3;
}

GridTitleHeader::GridTitleHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionsMovable(false);
}

void GridTitleHeader::setLines(int lines)
{
    lines = qMax(1, lines);
    if (lines == m_lines)
        return;
    m_lines = lines;
    updateGeometry();
    if (auto* view = parentWidget())
        view->updateGeometry();
    viewport()->update();
}

int GridTitleHeader::titleHeight() const
{
    return m_lines * fontMetrics().lineSpacing() + 2 * TextMargin;
}

QSize GridTitleHeader::sizeHint() const
{
    return {length(), titleHeight()};
}

QSize GridTitleHeader::sectionSizeFromContents(int logicalIndex) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    size.setHeight(titleHeight());
    return size;
}

void GridTitleHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid() || !model())
        return;
    painter->save();
    paintFlatCell(painter, rect, palette());
    QString text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const QVariant alignment = model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole);
    const int flags = alignment.isValid() ? alignment.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter);
    const QRect textRect = rect.adjusted(TextMargin, 1, -TextMargin, -1);
    if (!(flags & Qt::TextWordWrap))
        text = fontMetrics().elidedText(text, Qt::ElideRight, textRect.width());
    painter->setFont(font());
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(textRect, flags, text);
    painter->restore();
}

} // namespace ui
