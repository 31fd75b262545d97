#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a signal of the user-interface thread, so that the run
// can end as if its main window were closed. The database client library takes these signals
// to shut its engine down and would leave the program running on a dead connection; created
// once the connection is open, this object takes them over until it is destroyed.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // Takes the signals (back) from whoever handles them now: the client library installs its
    // own handlers when it is first used.
    void install();

signals:
    void received(int signalNumber);

private:
    static void handle(int signalNumber);
    void readPending();

    QSocketNotifier* m_notifier = nullptr;
};
