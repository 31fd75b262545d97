#pragma once

#include <QTabBar>
#include <QTabWidget>

// Tabs drawn as flat buttons: the tab of the page shown is a pressed button, the others are
// flat and raise under the mouse.
class TFlatTabBar : public QTabBar
{
    Q_OBJECT

public:
    explicit TFlatTabBar(QWidget* parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
};

// A page control without a frame around its pages, whose tabs are flat buttons.
class TFlatPageControl : public QTabWidget
{
    Q_OBJECT

public:
    explicit TFlatPageControl(QWidget* parent = nullptr);
};
