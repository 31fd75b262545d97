#include "FlatPageControl.h"

#include <QPainter>
#include <qdrawutil.h>

namespace {

constexpr int TabHeight = 24;
constexpr int TextPadding = 10;
constexpr int TabGap = 3;

} // namespace

TFlatTabBar::TFlatTabBar(QWidget* parent) : QTabBar(parent)
{
    setDrawBase(false);
    setExpanding(false);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

QSize TFlatTabBar::tabSizeHint(int index) const
{
    return {fontMetrics().horizontalAdvance(tabText(index)) + 2 * TextPadding + TabGap, TabHeight};
}

void TFlatTabBar::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QPoint mouse = mapFromGlobal(QCursor::pos());
    for (int i = 0; i < count(); ++i) {
        const QRect button = tabRect(i).adjusted(0, 1, -TabGap, -1);
        if (i == currentIndex()) {
            qDrawShadePanel(&painter, button, palette(), true, 1, &palette().brush(QPalette::Midlight));
        } else if (underMouse() && button.contains(mouse)) {
            qDrawShadePanel(&painter, button, palette(), false, 1);
        }
        painter.setPen(
            palette().color(isTabEnabled(i) ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        // A pressed button shows its text one pixel down and right.
        const QRect text = i == currentIndex() ? button.translated(1, 1) : button;
        painter.drawText(text, Qt::AlignCenter | Qt::TextShowMnemonic, tabText(i));
    }
}

TFlatPageControl::TFlatPageControl(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new TFlatTabBar(this));
    setDocumentMode(true);
}
