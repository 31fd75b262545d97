#pragma once

#include <QHeaderView>

namespace ui {

// The title row of a DBGrid: flat sections, as many text lines high as set, each title
// aligned as its column says and broken into lines where its column asks for word wrap
// (Qt::TextWordWrap in the model's TextAlignmentRole); other titles are cut with an ellipsis.
class GridTitleHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit GridTitleHeader(QWidget* parent = nullptr);

    void setLines(int lines);
    int lines() const { return m_lines; }

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    int titleHeight() const;

    int m_lines = 1;
};

} // namespace ui
