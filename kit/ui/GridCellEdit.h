#pragma once

#include <QLineEdit>
#include <functional>

class QToolButton;

namespace ui {

// The in-place editor of a grid cell: a line edit that refuses, with the system beep, every
// typed character its filter rejects (the field's isValidChar), optionally with a button
// showing an ellipsis at its right edge. The button never takes the focus.
class GridCellEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit GridCellEdit(QWidget* parent = nullptr);

    // Characters typed are checked one by one; none: anything goes.
    void setCharFilter(std::function<bool(QChar)> accepts) { m_accepts = std::move(accepts); }
    // Whether a typed text passes the filter.
    bool acceptsText(const QString& text) const;

    void setButtonVisible(bool visible);
    QToolButton* button() const { return m_button; }

signals:
    void buttonPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutButton();

    std::function<bool(QChar)> m_accepts;
    QToolButton* m_button = nullptr;
};

} // namespace ui
