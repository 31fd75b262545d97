#include "MainForm.h"

#include "OneInstance.h"

#include <QGuiApplication>
#include <QScreen>

QPointer<TMainForm> MainForm;

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("MainForm"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(13);
    setFont(tahoma);
    setFixedSize(ClientWidth, ClientHeight);

    LMDOneInstance1 = new TOneInstance(this);

    FormCreate();
    centreOnDesktop();
}

QString TMainForm::zooplanktonCaption()
{
    return tr("Velmar Sea") + tr(" - zooplankton");
}

QString TMainForm::zoobenthosCaption()
{
    return tr("Velmar Sea") + tr(" - zoobenthos");
}

void TMainForm::FormCreate()
{
    setWindowTitle(zooplanktonCaption());
}

void TMainForm::centreOnDesktop()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}
