#include "ApplicationEvents.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QScopedValueRollback>

namespace ui {

namespace {

// What the idle handlers themselves bring about, directly or by the next round of the loop:
// painting, layout and style upkeep, and the notifications of a changed widget or action.
bool isConsequence(QEvent::Type type)
{
    switch (type) {
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    case QEvent::Paint:
    case QEvent::LayoutRequest:
    case QEvent::Polish:
    case QEvent::PolishRequest:
    case QEvent::ChildPolished:
    case QEvent::ActionChanged:
    case QEvent::EnabledChange:
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::ToolTipChange:
    case QEvent::StatusTip:
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::DeferredDelete:
        return true;
    default:
        return false;
    }
}

} // namespace

ApplicationEvents::ApplicationEvents(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &ApplicationEvents::aboutToBlock);
}

bool ApplicationEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_emitting && !isConsequence(event->type()))
        m_pending = true;
    return QObject::eventFilter(watched, event);
}

void ApplicationEvents::aboutToBlock()
{
    if (!m_pending || m_emitting)
        return;
    m_pending = false;
    QScopedValueRollback guard(m_emitting, true);
    emit idle();
}

} // namespace ui
