#include "EdgeToolBar.h"

#include <QEvent>
#include <QLayout>
#include <QPainter>

TEdgeToolBar::TEdgeToolBar(QWidget* parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    placeButtons();
}

void TEdgeToolBar::placeButtons()
{
    // The buttons stand side by side just inside the edges, whatever margins the style asks for.
    layout()->setContentsMargins(EdgeWidth, EdgeWidth, EdgeWidth, EdgeWidth);
    layout()->setSpacing(0);
}

void TEdgeToolBar::changeEvent(QEvent* event)
{
    QToolBar::changeEvent(event);
    if (event->type() == QEvent::StyleChange)
        placeButtons();
}

void TEdgeToolBar::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    // Each edge: a dark line above a light one.
    const int right = width() - 1;
    for (const int top : {0, height() - EdgeWidth}) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(0, top, right, top);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(0, top + 1, right, top + 1);
    }
}
