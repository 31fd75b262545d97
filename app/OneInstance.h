#pragma once

#include <QObject>
#include <QPointer>

class QLocalServer;
class QWidget;

// The single-instance guard of the main window. In the first run of a program file it waits
// for requests of later runs and brings the window to the front, restored if minimised. In a
// later run it asks the first run to come to the front and tells its own run to end, without a
// message; the end is taken at the next processing of messages.
class TOneInstance : public QObject
{
    Q_OBJECT

public:
    explicit TOneInstance(QWidget* window);

    bool isFirstRun() const { return m_server != nullptr; }

signals:
    void activated();

private:
    void listen(const QString& channel);
    void bringWindowToFront();
    static void activateRunningInstance(const QString& channel);
    static void requestTerminate();

    QPointer<QWidget> m_window;
    QLocalServer* m_server = nullptr;
};
