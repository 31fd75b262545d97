#include "WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

int waitDepth = 0;

} // namespace

void WaitCursor::start()
{
    // The override cursor stack keeps the cursor in force underneath the hourglass.
    if (waitDepth == 0)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    ++waitDepth;
}

void WaitCursor::end()
{
    if (waitDepth == 0)
        return;
    if (--waitDepth == 0)
        QGuiApplication::restoreOverrideCursor();
}

int WaitCursor::depth()
{
    return waitDepth;
}
