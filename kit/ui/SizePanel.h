#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace ui {

// A panel at the bottom of its parent whose top edge is a sizing bar (7 pixels). Dragging the
// bar sizes the panel: while the button is held an inverted line marks the new edge, and the
// height changes when the button is released, between the bar itself and heightLimit(). A
// hot spot in the middle of the bar closes the panel down to the bar with one click and
// restores its height with the next.
//
// Children go below the bar: the panel's top contents margin is the bar. In a layout the
// panel keeps a fixed height; outside one it keeps its bottom edge where it is.
class SizePanel : public QWidget
{
    Q_OBJECT
public:
    explicit SizePanel(QWidget* parent = nullptr);

    int sizeBarWidth() const { return m_barWidth; }
    void setSizeBarWidth(int pixels);
    // The most the bar can make the panel's height; 0: no limit but the parent's height.
    int heightLimit() const { return m_heightLimit; }
    void setHeightLimit(int pixels) { m_heightLimit = pixels; }
    bool isHotSpotVisible() const { return m_hotSpotVisible; }
    void setHotSpotVisible(bool visible);

    // Sets the height as a release of the bar would (not limited).
    void setPanelHeight(int height);
    bool isClosed() const { return m_closed; }
    void setClosed(bool closed);

    QRect sizeBarRect() const;
    QRect hotSpotRect() const;
    bool isSizing() const { return m_sizing; }
    // Where the new top edge would be, in the parent's coordinates, while sizing.
    int sizingEdge() const { return m_edge; }

signals:
    void panelHeightChanged(int height);
    void closedChanged(bool closed);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int clampedHeight(int height) const;
    int edgeFor(const QPoint& panelPos) const;
    void showSizingLine();
    void updateCursor(const QPoint& pos);

    int m_barWidth = 7;
    int m_heightLimit = 0;
    bool m_hotSpotVisible = true;
    bool m_closed = false;
    int m_restoreHeight = 0;
    bool m_sizing = false;
    bool m_hotSpotPressed = false;
    int m_pressOffset = 0; // from the panel's top to the press
    int m_edge = 0;
    QImage m_parentImage; // the parent as it looked when sizing began
    QPointer<QWidget> m_line;
};

} // namespace ui
