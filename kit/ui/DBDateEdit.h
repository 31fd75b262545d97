#pragma once

#include "DBEdit.h"

#include <QDate>

class QAction;
class QCalendarWidget;
class QFrame;

namespace ui {

// A data edit of a date (date only) with a drop-down calendar: the arrow at its right end,
// Alt+Down or F4 opens it; choosing a day (click, Enter) writes that date to the field and
// closes it, Esc closes it unchanged. Typing follows DBEdit ("dd.mm.yyyy").
class DBDateEdit : public DBEdit
{
    Q_OBJECT
public:
    explicit DBDateEdit(QWidget* parent = nullptr);

    void showCalendar();
    void hideCalendar();
    bool isCalendarVisible() const;
    QCalendarWidget* calendar() const { return m_calendar; } // exists once first shown

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose(QDate date);

    QAction* m_dropDown;
    QFrame* m_popup = nullptr;
    QCalendarWidget* m_calendar = nullptr;
};

} // namespace ui
