#include "GridCellEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QToolButton>

namespace ui {

GridCellEdit::GridCellEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
}

bool GridCellEdit::acceptsText(const QString& text) const
{
    if (!m_accepts)
        return true;
    for (const QChar c : text)
        if (c.isPrint() && !m_accepts(c))
            return false;
    return true;
}

void GridCellEdit::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool typing = !text.isEmpty() && text.at(0).isPrint() &&
                        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (typing && !acceptsText(text)) {
        QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void GridCellEdit::setButtonVisible(bool visible)
{
    if (visible && !m_button) {
        m_button = new QToolButton(this);
        m_button->setObjectName(QStringLiteral("GridCellButton"));
        m_button->setText(QStringLiteral("..."));
        m_button->setFocusPolicy(Qt::NoFocus);
        m_button->setCursor(Qt::ArrowCursor);
        connect(m_button, &QToolButton::pressed, this, &GridCellEdit::buttonPressed);
    }
    if (m_button)
        m_button->setHidden(!visible);
    layoutButton();
}

void GridCellEdit::layoutButton()
{
    const bool shown = m_button && !m_button->isHidden();
    const int width = shown ? qMin(height(), this->width() / 2) : 0;
    if (shown)
        m_button->setGeometry(this->width() - width, 0, width, height());
    setTextMargins(0, 0, width, 0);
}

void GridCellEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    layoutButton();
}

} // namespace ui
