#pragma once

#include <QToolBar>

// A fixed tool bar of flat picture buttons with an etched line along its top and bottom edges.
class TEdgeToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit TEdgeToolBar(QWidget* parent = nullptr);

    static constexpr int EdgeWidth = 2;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeButtons();
};
