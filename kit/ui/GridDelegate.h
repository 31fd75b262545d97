#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

namespace ui {

class GridModel;

// Cell editors of a DBGrid: a drop-down list of the lookup choices for a lookup field's column
// (as many rows as the column declares; choosing sets the key field), a GridCellEdit for every
// other column (starting with the field's edit text, refusing characters the field can't hold,
// with the column's ellipsis button). An editor writes only what the user changed, so opening
// and leaving a cell doesn't start an edit of the row.
class GridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit GridDelegate(GridModel* model, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // Writes what the user changed in `editor` into the field; throws as the field does.
    void writeEditor(QWidget* editor, const QModelIndex& index) const;

    // The editor open now, if any.
    QWidget* openEditor() const { return m_editor; }

signals:
    // The ellipsis button of the editor in `column` was pressed.
    void cellButtonPressed(int column);

private:
    GridModel* m_model;
    mutable QPointer<QWidget> m_editor;
};

} // namespace ui
