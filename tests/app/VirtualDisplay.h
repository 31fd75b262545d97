#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QStringList>

// A virtual X display with a window manager, for tests that run the program as a real process
// with real windows, and the window queries those tests make with xdotool and wmctrl.
class VirtualDisplay
{
public:
    struct Window
    {
        QString id;
        QString name;
        QSize size;
    };

    VirtualDisplay() = default;
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Starts Xvfb on a display number it finds free and openbox on it; false with `error` set
    // when either doesn't come up within a few seconds.
    bool start(QString* error);
    void stop();

    QString name() const { return m_name; }
    // `base` with DISPLAY set to this display and Qt's X11 platform chosen.
    QProcessEnvironment
    environment(QProcessEnvironment base = QProcessEnvironment::systemEnvironment()) const;

    // The visible top-level windows of a process.
    QList<Window> visibleWindows(qint64 pid) const;
    QString activeWindow() const;
    // Asks the window manager to minimise, activate or close a window.
    bool minimise(const QString& window) const;
    bool activateAndPressKey(const QString& window, const QString& key) const;
    bool close(const QString& window) const;

    static QStringList missingTools();

private:
    bool runTool(const QString& program, const QStringList& args, QString* output = nullptr) const;

    QProcess m_server;
    QProcess m_windowManager;
    QString m_name;
};
