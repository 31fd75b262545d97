#include "AlignLayout.h"

#include <QWidget>

namespace {

// A docked widget's extent across its edge: its fixed size when it has one, else its hint.
int fixedHeight(const QLayoutItem* item)
{
    const QWidget* w = item->widget();
    if (w && w->minimumHeight() == w->maximumHeight())
        return w->minimumHeight();
    return item->sizeHint().height();
}

int fixedWidth(const QLayoutItem* item)
{
    const QWidget* w = item->widget();
    if (w && w->minimumWidth() == w->maximumWidth())
        return w->minimumWidth();
    return item->sizeHint().width();
}

} // namespace

TAlignLayout::TAlignLayout(QWidget* parent) : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

TAlignLayout::~TAlignLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void TAlignLayout::setClientMargins(const QMargins& margins)
{
    m_margins = margins;
    invalidate();
}

void TAlignLayout::addWidget(QWidget* widget, Align align)
{
    addChildWidget(widget);
    m_entries.append({new QWidgetItem(widget), align});
    invalidate();
}

void TAlignLayout::addItem(QLayoutItem* item)
{
    m_entries.append({item, Align::Client});
}

QLayoutItem* TAlignLayout::itemAt(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index).item : nullptr;
}

QLayoutItem* TAlignLayout::takeAt(int index)
{
    if (index < 0 || index >= m_entries.size())
        return nullptr;
    return m_entries.takeAt(index).item;
}

int TAlignLayout::count() const
{
    return int(m_entries.size());
}

QSize TAlignLayout::sizeHint() const
{
    return minimumSize();
}

QSize TAlignLayout::minimumSize() const
{
    int width = m_margins.left() + m_margins.right();
    int height = m_margins.top() + m_margins.bottom();
    for (const Entry& e : m_entries) {
        if (e.align == Align::Top || e.align == Align::Bottom)
            height += fixedHeight(e.item);
        else if (e.align == Align::Left || e.align == Align::Right)
            width += fixedWidth(e.item);
    }
    return {width, height};
}

void TAlignLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const QWidget* parent = parentWidget();
    QRect free = (parent ? parent->rect() : rect).marginsRemoved(m_margins);
    for (const Entry& e : m_entries) {
        if (e.item->isEmpty())
            continue;
        switch (e.align) {
        case Align::Top: {
            const int h = std::min(fixedHeight(e.item), std::max(0, free.height()));
            e.item->setGeometry(QRect(free.left(), free.top(), free.width(), h));
            free.setTop(free.top() + h);
            break;
        }
        case Align::Bottom: {
            const int h = std::min(fixedHeight(e.item), std::max(0, free.height()));
            e.item->setGeometry(QRect(free.left(), free.bottom() + 1 - h, free.width(), h));
            free.setBottom(free.bottom() - h);
            break;
        }
        case Align::Left: {
            const int w = std::min(fixedWidth(e.item), std::max(0, free.width()));
            e.item->setGeometry(QRect(free.left(), free.top(), w, free.height()));
            free.setLeft(free.left() + w);
            break;
        }
        case Align::Right: {
            const int w = std::min(fixedWidth(e.item), std::max(0, free.width()));
            e.item->setGeometry(QRect(free.right() + 1 - w, free.top(), w, free.height()));
            free.setRight(free.right() - w);
            break;
        }
        case Align::Client:
            break;
        }
    }
    for (const Entry& e : m_entries)
        if (e.align == Align::Client && !e.item->isEmpty())
            e.item->setGeometry(free);
}
