#pragma once

#include <QMainWindow>
#include <QPointer>

class TOneInstance;

// The application's main window: closing it ends the program.
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);

    // The window's captions, one for each page.
    static QString zooplanktonCaption();
    static QString zoobenthosCaption();

    static constexpr int ClientWidth = 748;
    static constexpr int ClientHeight = 566;

private:
    void FormCreate();
    void centreOnDesktop();

    TOneInstance* LMDOneInstance1 = nullptr;
};

// The one instance, empty until created and again once destroyed.
extern QPointer<TMainForm> MainForm;
