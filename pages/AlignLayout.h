#pragma once

#include <QLayout>
#include <QList>
#include <QMargins>

// Docks child widgets along the edges of their parent in the order they are added: a Top or
// Bottom widget takes its fixed height across the remaining width, a Left or Right widget its
// fixed width across the remaining height, and the Client widget fills what is left. The
// margins are measured from the parent's own edges, not from its contents rectangle, so that
// a group box keeps exactly the caption band its cards were placed against.
class TAlignLayout : public QLayout
{
    Q_OBJECT

public:
    enum class Align
    {
        Top,
        Bottom,
        Left,
        Right,
        Client
    };

    explicit TAlignLayout(QWidget* parent);
    ~TAlignLayout() override;

    // The band around the docked widgets, from the parent's edges.
    void setClientMargins(const QMargins& margins);
    QMargins clientMargins() const { return m_margins; }

    void addWidget(QWidget* widget, Align align);

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry
    {
        QLayoutItem* item;
        Align align;
    };
    QList<Entry> m_entries;
    QMargins m_margins;
};
