#pragma once

#include <QHeaderView>
#include <functional>

namespace ui {

// What the indicator column shows beside a row.
enum class RowMark
{
    None,
    Current, // the current row, browsing: a triangle
    Edit,    // the current row being edited: an I-beam
    Insert,  // the current row being inserted: an asterisk
};

// The indicator column of a DBGrid, a narrow vertical header that marks the current row and
// the dataset's state. The grid tells it the mark of each row.
class GridIndicatorHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit GridIndicatorHeader(QWidget* parent = nullptr);

    void setMarkProvider(std::function<RowMark(int row)> provider) { m_markOf = std::move(provider); }
    RowMark markOf(int row) const { return m_markOf ? m_markOf(row) : RowMark::None; }

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    std::function<RowMark(int)> m_markOf;
};

} // namespace ui
