#pragma once

#include <QtGlobal>
#include <functional>

// Waits while the program keeps processing window messages, measured by a 32-bit millisecond
// tick count: it ends once at least `milliseconds` have passed since the first reading, or as
// soon as a reading is smaller than the first one (the counter wrapped). It doesn't sleep, so
// windows repaint and posted requests are taken during the wait.
class MessageWait
{
public:
    using TickCount = std::function<quint32()>;

    // Milliseconds since the system started, wrapping like a 32-bit counter.
    static quint32 systemTickCount();

    // Returns how many rounds of message processing ran.
    static int run(quint32 milliseconds, const TickCount& tickCount = systemTickCount);
};
