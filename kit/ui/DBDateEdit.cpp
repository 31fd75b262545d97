#include "DBDateEdit.h"

#include <QAction>
#include <QCalendarWidget>
#include <QDateTime>
#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>
#include <db/Field.h>

namespace ui {

namespace {

QIcon dropDownArrow()
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x20, 0x20));
    p.drawPolygon(QPolygonF{QPointF(2, 4), QPointF(10, 4), QPointF(6, 8.5)});
    return QIcon(pixmap);
}

} // namespace

DBDateEdit::DBDateEdit(QWidget* parent) : DBEdit(parent)
{
    m_dropDown = addAction(dropDownArrow(), QLineEdit::TrailingPosition);
    m_dropDown->setObjectName(QStringLiteral("dropDown"));
    connect(m_dropDown, &QAction::triggered, this, &DBDateEdit::showCalendar);
}

void DBDateEdit::showCalendar()
{
    if (QLineEdit::isReadOnly() || !field())
        return;
    if (!m_popup) {
        m_popup = new QFrame(this, Qt::Popup);
        m_popup->setObjectName(QStringLiteral("calendarPopup"));
        m_popup->setFrameShape(QFrame::Box);
        auto* layout = new QVBoxLayout(m_popup);
        layout->setContentsMargins(1, 1, 1, 1);
        m_calendar = new QCalendarWidget(m_popup);
        m_calendar->setObjectName(QStringLiteral("calendar"));
        m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        m_calendar->setFirstDayOfWeek(Qt::Monday);
        layout->addWidget(m_calendar);
        connect(m_calendar, &QCalendarWidget::clicked, this, &DBDateEdit::choose);
        connect(m_calendar, &QCalendarWidget::activated, this, &DBDateEdit::choose);
    }
    const QVariant value = field()->value();
    QDate date = value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
    if (!date.isValid())
        date = QDate::currentDate();
    m_calendar->setSelectedDate(date);

    m_popup->adjustSize();
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        if (at.y() + m_popup->height() > area.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - m_popup->height());
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - m_popup->width())));
    }
    m_popup->move(at);
    m_popup->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void DBDateEdit::hideCalendar()
{
    if (m_popup)
        m_popup->hide();
}

bool DBDateEdit::isCalendarVisible() const
{
    return m_popup && m_popup->isVisible();
}

void DBDateEdit::choose(QDate date)
{
    hideCalendar();
    const db::Field* f = field();
    if (!f)
        return;
    if (f->type() == db::FieldType::DateTime)
        writeValue(QDateTime(date, QTime(0, 0)));
    else
        writeValue(date);
    if (hasFocus())
        selectAll();
}

void DBDateEdit::keyPressEvent(QKeyEvent* event)
{
    const bool altDown = event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier);
    if (altDown || event->key() == Qt::Key_F4) {
        showCalendar();
        event->accept();
        return;
    }
    DBEdit::keyPressEvent(event);
}

} // namespace ui
