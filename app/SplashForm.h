#pragma once

#include <QWidget>

class QLabel;

// The splash window of start-up: the sea picture with the program's name over it, in a thin
// black frame, on top of all windows and centred on the screen.
class TSplashForm : public QWidget
{
    Q_OBJECT

public:
    explicit TSplashForm(QWidget* parent = nullptr);

    // Shows the window in front of all others and paints it before returning, without
    // waiting for the event loop.
    void showAtOnce();

    static constexpr int FrameWidth = 2;

private:
    void FormCreate();
    void centreOnScreen();

    QWidget* m_client = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
};
