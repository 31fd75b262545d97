#include "ActionList.h"

#include "ApplicationEvents.h"

namespace ui {

ActionList::ActionList(QObject* parent) : QObject(parent), m_events(new ApplicationEvents(this))
{
    connect(m_events, &ApplicationEvents::idle, this, &ActionList::updateActions);
}

void ActionList::addAction(QAction* action)
{
    if (action && !m_actions.contains(action))
        m_actions.append(action);
}

QList<QAction*> ActionList::actions() const
{
    QList<QAction*> list;
    for (const QPointer<QAction>& a : m_actions)
        if (a)
            list.append(a);
    return list;
}

void ActionList::updateActions()
{
    for (QAction* action : actions()) {
        if (auto* own = qobject_cast<Action*>(action))
            own->update();
        emit actionUpdate(action);
    }
}

} // namespace ui
