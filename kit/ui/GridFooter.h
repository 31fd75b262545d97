#pragma once

#include <QColor>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class QHeaderView;

namespace ui {

class GridModel;

// The footer row of a DBGrid, drawn below the rows in the grid's footer colour, one cell per
// column: a fixed text, the number of rows whose field has a value, or the sum of a field
// over all rows written with the field's display format (a plain number without one). The
// figures are worked out again after every change of the model's rows or values (on the next
// pass of the event loop, so that a burst of changes costs one pass); a count or a sum first
// reads all rows of the dataset, so its figure is exact.
class GridFooter : public QWidget
{
    Q_OBJECT
public:
    static QColor defaultColor() { return QColor(192, 255, 255); }

    GridFooter(GridModel* model, QHeaderView* header, QWidget* parent = nullptr);

    // Whether any column declares a footer cell.
    bool hasCells() const;
    // The text of a column's footer cell as last worked out.
    QString text(int column) const { return m_texts.value(column); }
    Qt::Alignment alignment(int column) const;
    // Works the figures out now (normally scheduled on its own).
    void recalculate();
    bool isRecalculationPending() const { return m_timer.isActive(); }

    // Width of the indicator column at the footer's left, filled but without text.
    void setIndicatorWidth(int width);
    void setColor(const QColor& color);
    QColor color() const { return m_color; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void schedule();
    QString computeText(int column) const;

    GridModel* m_model;
    QHeaderView* m_header;
    QStringList m_texts;
    QTimer m_timer;
    QColor m_color = defaultColor();
    int m_indicatorWidth = 0;
    bool m_calculating = false;
};

} // namespace ui
