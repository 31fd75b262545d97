#pragma once

#include <QAction>
#include <QList>
#include <QObject>
#include <QPointer>

namespace ui {

class ApplicationEvents;

// An action with an update handler: update() asks the handlers to set its state (enabled,
// checked...) from what the program shows now.
class Action : public QAction
{
    Q_OBJECT
public:
    using QAction::QAction;

    // Emits updateRequested() (the update handlers run now).
    void update() { emit updateRequested(); }

signals:
    void updateRequested();
};

// The actions of a window. At each idle moment of the application (ApplicationEvents) every
// action of the list is updated: a ui::Action emits updateRequested(), and the list emits
// actionUpdate(action) for each action, in the order they were added. Actions are not owned.
class ActionList : public QObject
{
    Q_OBJECT
public:
    explicit ActionList(QObject* parent = nullptr);

    void addAction(QAction* action);
    QList<QAction*> actions() const;

    // Runs the update handlers now (also what the idle moment does).
    void updateActions();

signals:
    void actionUpdate(QAction* action);

private:
    ApplicationEvents* m_events;
    QList<QPointer<QAction>> m_actions;
};

} // namespace ui
