#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QThread>

namespace {

constexpr int StartMilliseconds = 10000;
constexpr int ToolMilliseconds = 5000;

void endProcess(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace

VirtualDisplay::~VirtualDisplay()
{
    stop();
}

QStringList VirtualDisplay::missingTools()
{
    QStringList missing;
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "wmctrl"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing << QString::fromLatin1(tool);
    return missing;
}

bool VirtualDisplay::start(QString* error)
{
    // -displayfd makes the server pick a free display number and report it once it accepts
    // connections.
    m_server.setProcessChannelMode(QProcess::SeparateChannels);
    m_server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                    QStringLiteral("1280x1024x24")});
    QByteArray number;
    const QDeadlineTimer deadline(StartMilliseconds);
    while (!number.contains('\n') && !deadline.hasExpired()) {
        if (!m_server.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        number += m_server.readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        *error =
            QStringLiteral("Xvfb didn't start: ") + QString::fromLocal8Bit(m_server.readAllStandardError());
        stop();
        return false;
    }
    m_name = QLatin1Char(':') + QString::fromLatin1(number.trimmed());

    m_windowManager.setProcessEnvironment(environment());
    m_windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager.setStandardOutputFile(QProcess::nullDevice());
    m_windowManager.start(QStringLiteral("openbox"), {});
    // The window manager is ready once it announces itself on the root window.
    while (!deadline.hasExpired()) {
        if (runTool(QStringLiteral("wmctrl"), {QStringLiteral("-m")}))
            return true;
        if (m_windowManager.state() == QProcess::NotRunning)
            break;
        QThread::msleep(50);
    }
    *error = QStringLiteral("openbox didn't start on ") + m_name;
    stop();
    return false;
}

void VirtualDisplay::stop()
{
    endProcess(m_windowManager);
    endProcess(m_server);
}

QProcessEnvironment VirtualDisplay::environment(QProcessEnvironment base) const
{
    base.insert(QStringLiteral("DISPLAY"), m_name);
    base.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return base;
}

bool VirtualDisplay::runTool(const QString& program, const QStringList& args, QString* output) const
{
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start(program, args);
    if (!tool.waitForFinished(ToolMilliseconds)) {
        tool.kill();
        tool.waitForFinished();
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(tool.readAllStandardOutput());
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

QList<VirtualDisplay::Window> VirtualDisplay::visibleWindows(qint64 pid) const
{
    QList<Window> windows;
    QString ids;
    // xdotool ends with status 1 when nothing matches.
    runTool(QStringLiteral("xdotool"),
            {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
             QString::number(pid)},
            &ids);
    for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        Window window{id.trimmed(), {}, {}};
        QString name, geometry;
        if (!runTool(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window.id}, &name) ||
            !runTool(QStringLiteral("xdotool"),
                     {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window.id}, &geometry))
            continue; // gone meanwhile
        window.name = name.trimmed();
        for (const QString& line : geometry.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(QLatin1String("WIDTH=")))
                window.size.setWidth(line.mid(6).toInt());
            else if (line.startsWith(QLatin1String("HEIGHT=")))
                window.size.setHeight(line.mid(7).toInt());
        }
        windows << window;
    }
    return windows;
}

QString VirtualDisplay::activeWindow() const
{
    QString id;
    runTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}, &id);
    return id.trimmed();
}

bool VirtualDisplay::minimise(const QString& window) const
{
    return runTool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), window});
}

bool VirtualDisplay::activateAndPressKey(const QString& window, const QString& key) const
{
    return runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                                               window, QStringLiteral("key"), key});
}

bool VirtualDisplay::close(const QString& window) const
{
    return runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), window});
}
