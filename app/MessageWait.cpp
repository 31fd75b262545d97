#include "MessageWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace {

// Upper bound of one round of message processing when no message arrives.
constexpr int RoundMilliseconds = 10;

} // namespace

quint32 MessageWait::systemTickCount()
{
    // The monotonic clock counts from the system's start, as the system tick count does.
    QElapsedTimer now;
    now.start();
    return static_cast<quint32>(now.msecsSinceReference());
}

int MessageWait::run(quint32 milliseconds, const TickCount& tickCount)
{
    // A heartbeat bounds each round, so the loop reads the tick count often without spinning.
    QTimer heartbeat;
    heartbeat.start(RoundMilliseconds);
    const quint32 started = tickCount();
    int rounds = 0;
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        ++rounds;
        const quint32 now = tickCount();
        if (now < started || now - started >= milliseconds)
            return rounds;
    }
}
