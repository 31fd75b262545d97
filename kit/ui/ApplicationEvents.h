#pragma once

#include <QObject>

namespace ui {

// The application's idle moment as a signal: idle() is emitted when the event loop (also a
// modal dialog's) has handled everything waiting and is about to wait for more. It comes once
// after each burst of events: events that the idle handlers cause themselves (repaints,
// layout, the notifications of setEnabled...) don't bring it back, so handlers that change
// nothing when nothing changed keep the loop asleep. Each window that needs it has its own.
//
// Only a loop that waits emits it (QEventLoop::exec, QDialog::exec, QSignalSpy::wait), not
// processEvents() alone.
class ApplicationEvents : public QObject
{
    Q_OBJECT
public:
    explicit ApplicationEvents(QObject* parent = nullptr);

signals:
    void idle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void aboutToBlock();

    bool m_pending = true; // something happened since the last idle()
    bool m_emitting = false;
};

} // namespace ui
