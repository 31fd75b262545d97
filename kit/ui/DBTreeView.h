#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeView>
#include <db/DataSource.h>
#include <exception>

namespace ui {

class DBTreeModel;

// A tree over a self-referencing dataset: a node per record, under the record whose key its
// parent field holds; the text from a text field (e.g. a calculated one). Its behaviour:
//   - a node's children are read when it is first expanded, and kept when it collapses;
//   - selecting a node makes its record current (a pending change of the dataset is posted
//     by that move); when the dataset moves by other means the tree selects the record's
//     node, reading the branches above it if need be;
//   - single-expand: selecting a node expands it and collapses the branch of the previous one;
//   - while the current record is edited, its node takes the new text and moves under another
//     parent when the parent field changes;
//   - when the dataset signals changed contents and its record count differs from the last
//     rebuild (an insert, a delete) the tree rebuilds itself, then selects the current record;
//   - rebuild() (inside beginUpdate()/endUpdate() when the caller asks for one) walks the
//     rows without moving the dataset: nodes of gone records go, records at the top level or
//     under a node whose children were read get a node; expanded branches stay expanded.
// The node texts are never edited. Hot tracking, lines, buttons and root lines are settings
// (all on); the indent is 19 pixels; the selection stays visible without the focus.
class DBTreeView : public QTreeView
{
    Q_OBJECT
public:
    explicit DBTreeView(QWidget* parent = nullptr);

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const { return m_source; }
    void setKeyField(const QString& name);
    QString keyField() const { return m_keyField; }
    void setParentField(const QString& name);
    QString parentField() const { return m_parentField; }
    void setTextField(const QString& name);
    QString textField() const { return m_textField; }

    void setSingleExpand(bool on) { m_singleExpand = on; }
    bool singleExpand() const { return m_singleExpand; }
    void setHotTrack(bool on);
    bool hotTrack() const { return m_hotTrack; }
    void setShowLines(bool on);
    bool showLines() const { return m_showLines; }
    void setShowButtons(bool on);
    bool showButtons() const { return m_showButtons; }
    void setShowRoot(bool on) { setRootIsDecorated(on); }
    bool showRoot() const { return rootIsDecorated(); }

    // Drawing stops and the dataset's signals wait until the matching endUpdate() (counted).
    void beginUpdate();
    void endUpdate();
    // Renews the nodes from the rows now (also inside an update bracket) and selects the
    // current record's node. Throws what reading the rows throws; the tree stays usable.
    void rebuild();
    // rebuild() inside beginUpdate() and endUpdate(); the end runs also when the rebuild throws.
    void rebuildInUpdateBracket();

    DBTreeModel* treeModel() const { return m_model; }
    QModelIndex hotIndex() const { return m_hot; }
    // The key of the selected node's record (empty without a selection).
    QVariant currentKey() const;

signals:
    // The selected node changed, by the user or by following the dataset.
    void nodeChanged(const QModelIndex& node);
    // A move the user asked for failed (see DataErrors.h).
    void errorOccurred(const std::exception& error);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void bindFields();
    void sourceChanged(bool contents);
    void recordChanged();
    void sync();
    bool busy() const { return m_updateDepth > 0 || m_moving || m_rebuilding; }
    void rebuildNow();
    void selectCurrent();
    void selectionChanged(const QPersistentModelIndex& current, const QPersistentModelIndex& previous);
    void moveDataSet(const QModelIndex& node);
    void singleExpand(const QModelIndex& current, const QModelIndex& previous);
    void reportError(const std::exception& error);

    QPointer<db::DataSource> m_source;
    DBTreeModel* m_model;
    QString m_keyField;
    QString m_parentField;
    QString m_textField;
    bool m_singleExpand = true;
    bool m_hotTrack = true;
    bool m_showLines = true;
    bool m_showButtons = true;
    int m_updateDepth = 0;
    bool m_moving = false;    // the tree moves the dataset
    bool m_following = false; // the tree selects the dataset's record
    bool m_rebuilding = false;
    bool m_dirty = false;       // the nodes are to be renewed
    bool m_pendingSync = false; // signals came while busy
    bool m_wasInserting = false;
    QPersistentModelIndex m_hot;
    // A selection made by a mouse press takes effect once the press is handled: moving the
    // dataset and expanding or collapsing branches move the rows under the mouse.
    bool m_pressing = false;
    bool m_pressChanged = false;
    QPersistentModelIndex m_pressCurrent;
    QPersistentModelIndex m_pressPrevious;
};

} // namespace ui
