#include "SizePanel.h"

#include <QLayout>
#include <QMouseEvent>
#include <QPainter>

namespace ui {

namespace {

constexpr int HotSpotWidth = 60;
constexpr int LineThickness = 3;

// The inverted line: the slice of the parent under it, drawn with its colours inverted.
class SizingLine : public QWidget
{
public:
    SizingLine(QWidget* parent, const QImage* image) : QWidget(parent), m_image(image)
    {
        setObjectName(QStringLiteral("sizingLine"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const qreal ratio = m_image->devicePixelRatio();
        const QRect source(QPointF(geometry().topLeft() * ratio).toPoint(), QSizeF(size() * ratio).toSize());
        QImage slice = m_image->copy(source);
        slice.invertPixels();
        p.drawImage(rect(), slice);
    }

private:
    const QImage* m_image;
};

} // namespace

SizePanel::SizePanel(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setContentsMargins(0, m_barWidth, 0, 0);
    setAutoFillBackground(true);
}

void SizePanel::setSizeBarWidth(int pixels)
{
    m_barWidth = std::max(1, pixels);
    setContentsMargins(0, m_barWidth, 0, 0);
    update();
}

void SizePanel::setHotSpotVisible(bool visible)
{
    m_hotSpotVisible = visible;
    update();
}

QRect SizePanel::sizeBarRect() const
{
    return QRect(0, 0, width(), m_barWidth);
}

QRect SizePanel::hotSpotRect() const
{
    if (!m_hotSpotVisible)
        return {};
    const int w = std::min(HotSpotWidth, width());
    return QRect((width() - w) / 2, 0, w, m_barWidth);
}

int SizePanel::clampedHeight(int height) const
{
    int most = m_heightLimit > 0 ? m_heightLimit : QWIDGETSIZE_MAX;
    if (parentWidget())
        most = std::min(most, geometry().bottom() + 1);
    return std::clamp(height, m_barWidth, std::max(m_barWidth, most));
}

void SizePanel::setPanelHeight(int height)
{
    height = std::max(height, m_barWidth);
    if (height == this->height() && minimumHeight() == maximumHeight())
        return;
    const int bottom = geometry().bottom();
    QLayout* layout = parentWidget() ? parentWidget()->layout() : nullptr;
    setFixedHeight(height);
    if (layout)
        layout->activate(); // in place at once, not at the next layout pass
    else
        setGeometry(x(), bottom + 1 - height, width(), height);
    emit panelHeightChanged(height);
}

void SizePanel::setClosed(bool closed)
{
    if (closed == m_closed)
        return;
    if (closed) {
        m_restoreHeight = height();
        m_closed = true;
        setPanelHeight(m_barWidth);
    } else {
        m_closed = false;
        setPanelHeight(std::max(m_restoreHeight, m_barWidth));
    }
    update();
    emit closedChanged(m_closed);
}

// --- sizing ---

int SizePanel::edgeFor(const QPoint& panelPos) const
{
    const int newHeight = clampedHeight(height() - (panelPos.y() - m_pressOffset));
    return geometry().bottom() + 1 - newHeight;
}

void SizePanel::showSizingLine()
{
    QWidget* host = parentWidget();
    if (!host)
        return;
    if (!m_line)
        m_line = new SizingLine(host, &m_parentImage);
    m_line->setGeometry(x(), m_edge, width(), LineThickness);
    m_line->raise();
    m_line->show();
    m_line->update();
}

void SizePanel::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !sizeBarRect().contains(pos)) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (hotSpotRect().contains(pos)) {
        m_hotSpotPressed = true;
        return;
    }
    m_sizing = true;
    m_pressOffset = pos.y();
    m_edge = y();
    if (parentWidget())
        m_parentImage = parentWidget()->grab().toImage();
    showSizingLine();
}

void SizePanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_sizing) {
        m_edge = edgeFor(pos);
        showSizingLine();
        event->accept();
        return;
    }
    updateCursor(pos);
    QWidget::mouseMoveEvent(event);
}

void SizePanel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (m_hotSpotPressed) {
        m_hotSpotPressed = false;
        if (hotSpotRect().contains(pos))
            setClosed(!m_closed);
        event->accept();
        return;
    }
    if (!m_sizing) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_sizing = false;
    if (m_line)
        m_line->hide();
    m_parentImage = QImage();
    const int newHeight = geometry().bottom() + 1 - edgeFor(pos);
    if (m_closed) {
        m_closed = false;
        emit closedChanged(false);
    }
    setPanelHeight(newHeight);
    update();
    event->accept();
}

void SizePanel::updateCursor(const QPoint& pos)
{
    if (hotSpotRect().contains(pos))
        setCursor(Qt::PointingHandCursor);
    else if (sizeBarRect().contains(pos))
        setCursor(Qt::SplitVCursor);
    else
        unsetCursor();
}

void SizePanel::leaveEvent(QEvent* event)
{
    if (!m_sizing)
        unsetCursor();
    QWidget::leaveEvent(event);
}

// --- drawing ---

void SizePanel::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter p(this);
    const QRect bar = sizeBarRect();
    p.fillRect(bar, palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(bar.left(), bar.top(), bar.right(), bar.top());
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(bar.left(), bar.bottom(), bar.right(), bar.bottom());

    const QRect spot = hotSpotRect();
    if (spot.isEmpty())
        return;
    // Grip dots on both sides of a small arrow: down closes, up restores.
    p.setPen(palette().color(QPalette::Shadow));
    const int cy = spot.center().y();
    for (int x = spot.left() + 3; x < spot.center().x() - 6; x += 3)
        p.drawPoint(x, cy);
    for (int x = spot.center().x() + 7; x < spot.right() - 2; x += 3)
        p.drawPoint(x, cy);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette().color(QPalette::ButtonText));
    const QPointF c = QRectF(spot).center();
    const qreal h = std::min(3.0, (m_barWidth - 1) / 2.0);
    if (m_closed)
        p.drawPolygon(QPolygonF{QPointF(c.x() - 4, c.y() + h), QPointF(c.x() + 4, c.y() + h),
                                QPointF(c.x(), c.y() - h)});
    else
        p.drawPolygon(QPolygonF{QPointF(c.x() - 4, c.y() - h), QPointF(c.x() + 4, c.y() - h),
                                QPointF(c.x(), c.y() + h)});
}

} // namespace ui
