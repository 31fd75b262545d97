#include "SplashForm.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

// The picture lies in a static library, so its resource is brought in by hand.
static void initSplashResource()
{
    Q_INIT_RESOURCE(velmar_app);
}

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect box, int pixelHeight,
                  QColor colour)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    label->setGeometry(box);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelHeight);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    initSplashResource();
    setAttribute(Qt::WA_DeleteOnClose, false);

    // The frame is the window's own colour showing around the client area.
    QPalette framePalette = palette();
    framePalette.setColor(QPalette::Window, Qt::black);
    setPalette(framePalette);
    setAutoFillBackground(true);

    m_client = new QWidget(this);
    m_client->move(FrameWidth, FrameWidth);

    Image1 = new QLabel(m_client);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap picture(QStringLiteral(":/velmar/splash.bmp"));
    Image1->setPixmap(picture);
    Image1->move(0, 0);
    Image1->setFixedSize(picture.size()); // sizes itself to its picture

    Label3 = makeLabel(m_client, "Label3", QStringLiteral("VELMAR SEA"), QRect(8, 36, 257, 29), 27,
                       QColor(0, 255, 0));
    Label1 = makeLabel(m_client, "Label1", QStringLiteral("Zooplankton\n&\nzoobenthos\n(data base)"),
                       QRect(7, 84, 257, 125), 24, QColor(0, 255, 255));
    Label1->setWordWrap(true);

    FormCreate();
}

void TSplashForm::FormCreate()
{
    // The client area takes exactly the picture's size.
    m_client->setFixedSize(Image1->width(), Image1->height());
    setFixedSize(Image1->width() + 2 * FrameWidth, Image1->height() + 2 * FrameWidth);
    centreOnScreen();
}

void TSplashForm::centreOnScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
}

void TSplashForm::showAtOnce()
{
    show();
    raise();
    // The window system shows a new window on its own time; wait for it briefly, so that the
    // picture is there even while the start-up that follows keeps the event loop busy.
    const QDeadlineTimer deadline(1000);
    QTimer heartbeat;
    heartbeat.start(20);
    while (windowHandle() && !windowHandle()->isExposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    repaint();
}
