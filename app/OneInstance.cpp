#include "OneInstance.h"

#include "InstanceRegistration.h"
#include "VelmarApplication.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {

constexpr int RequestTimeoutMilliseconds = 2000;
const QByteArray ActivateRequest = QByteArrayLiteral("activate\n");

} // namespace

TOneInstance::TOneInstance(QWidget* window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("LMDOneInstance1"));
    const InstanceRegistration* registration = InstanceRegistration::current();
    if (!registration)
        return;
    if (registration->anotherRunExisted()) {
        // Nothing of this is reported: a running instance that can't be reached ends this run
        // all the same.
        activateRunningInstance(registration->channelName());
        requestTerminate();
    } else {
        listen(registration->channelName());
    }
}

void TOneInstance::listen(const QString& channel)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // This run holds the registration, so a channel left behind is a crashed run's.
    QLocalServer::removeServer(channel);
    if (!m_server->listen(channel))
        return;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() == ActivateRequest)
                    bringWindowToFront();
                socket->disconnectFromServer();
            });
        }
    });
}

void TOneInstance::bringWindowToFront()
{
    if (!m_window || !m_window->isVisible())
        return;
    if (m_window->isMinimized())
        m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_window->raise();
    m_window->activateWindow();
    emit activated();
}

void TOneInstance::activateRunningInstance(const QString& channel)
{
    QLocalSocket socket;
    socket.connectToServer(channel);
    if (!socket.waitForConnected(RequestTimeoutMilliseconds))
        return;
    // The request stays readable for the first run after this side has closed.
    socket.write(ActivateRequest);
    socket.waitForBytesWritten(RequestTimeoutMilliseconds);
    socket.disconnectFromServer();
}

void TOneInstance::requestTerminate()
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            if (auto* app = qobject_cast<VelmarApplication*>(QCoreApplication::instance()))
                app->terminate();
        },
        Qt::QueuedConnection);
}
