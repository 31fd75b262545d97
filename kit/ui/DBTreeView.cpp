#include "DBTreeView.h"

#include "DBTreeModel.h"
#include "DataErrors.h"

#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <db/DataSet.h>
#include <db/DataSource.h>

namespace ui {

namespace {

// Hot tracking: the node under the mouse is drawn underlined in the highlight colour.
class HotTrackDelegate : public QStyledItemDelegate
{
public:
    explicit HotTrackDelegate(DBTreeView* view) : QStyledItemDelegate(view), m_view(view) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_view->hotTrack() && index == m_view->hotIndex() && !(option->state & QStyle::State_Selected)) {
            option->font.setUnderline(true);
            option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Link));
        }
    }

private:
    DBTreeView* m_view;
};

bool isAncestorOrSelf(const QModelIndex& ancestor, const QModelIndex& index)
{
    for (QModelIndex i = index; i.isValid(); i = i.parent())
        if (i == ancestor)
            return true;
    return false;
}

bool sameKey(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a.toString() == b.toString();
}

} // namespace

DBTreeView::DBTreeView(QWidget* parent) : QTreeView(parent), m_model(new DBTreeModel(this))
{
    setModel(m_model);
    setHeaderHidden(true);
    setIndentation(19);
    setRootIsDecorated(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setDragEnabled(false);
    setItemDelegate(new HotTrackDelegate(this));
    setHotTrack(true);
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
}

void DBTreeView::setDataSource(db::DataSource* source)
{
    if (m_source == source)
        return;
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_model->setDataSource(source);
    if (source) {
        connect(source, &db::DataSource::activeChanged, this, [this] { sourceChanged(true); });
        connect(source, &db::DataSource::dataSetChanged, this, [this] { sourceChanged(true); });
        connect(source, &db::DataSource::dataChanged, this, [this] { sourceChanged(false); });
        connect(source, &db::DataSource::rowsAppended, this, [this] { sourceChanged(false); });
        connect(source, &db::DataSource::scrolled, this, [this] { sourceChanged(false); });
        connect(source, &db::DataSource::recordChanged, this, [this] { sourceChanged(false); });
        m_wasInserting = source->state() == db::DataSetState::Insert;
        connect(source, &db::DataSource::stateChanged, this, [this](db::DataSetState state) {
            // A record that was being inserted got its key (or left): renew the nodes.
            if (m_wasInserting && state != db::DataSetState::Insert)
                m_dirty = true;
            m_wasInserting = state == db::DataSetState::Insert;
            sourceChanged(false);
        });
    }
    sourceChanged(true);
}

void DBTreeView::setKeyField(const QString& name)
{
    m_keyField = name;
    bindFields();
}

void DBTreeView::setParentField(const QString& name)
{
    m_parentField = name;
    bindFields();
}

void DBTreeView::setTextField(const QString& name)
{
    m_textField = name;
    bindFields();
}

void DBTreeView::bindFields()
{
    m_model->setKeyField(m_keyField);
    m_model->setParentField(m_parentField);
    m_model->setTextField(m_textField);
    sourceChanged(true);
}

void DBTreeView::setHotTrack(bool on)
{
    m_hotTrack = on;
    setMouseTracking(on);
    viewport()->setAttribute(Qt::WA_Hover, on);
    m_hot = QModelIndex();
    viewport()->update();
}

void DBTreeView::setShowLines(bool on)
{
    m_showLines = on;
    viewport()->update();
}

void DBTreeView::setShowButtons(bool on)
{
    m_showButtons = on;
    viewport()->update();
}

QVariant DBTreeView::currentKey() const
{
    return m_model->keyOf(currentIndex());
}

// --- following the dataset ---

void DBTreeView::sourceChanged(bool contents)
{
    if (contents)
        m_dirty = true; // opened, closed or another dataset: renew everything
    if (busy()) {
        m_pendingSync = true;
        return;
    }
    try {
        sync();
    } catch (const std::exception& error) {
        // Reading the rows failed; the dataset's own operation goes on.
        reportError(error);
    }
}

void DBTreeView::sync()
{
    m_pendingSync = false;
    const bool active = m_source && m_source->isActive();
    if (!active) {
        m_dirty = false;
        if (m_model->rowCount() > 0 || m_model->rebuiltCount() > 0)
            m_model->clear();
        return;
    }
    if (m_dirty || m_source->dataSet()->recordCount() != m_model->rebuiltCount())
        rebuildNow();
    recordChanged();
    selectCurrent();
}

// The current record's node takes its text, and its place when its parent changed.
void DBTreeView::recordChanged()
{
    db::DataSet* ds = m_source->dataSet();
    const int row = ds->currentRow();
    if (row < 0)
        return;
    const db::Field* key = ds->findField(m_keyField);
    const db::Field* parent = ds->findField(m_parentField);
    const db::Field* text = ds->findField(m_textField);
    if (!key || !parent)
        return;
    const QModelIndex node = m_model->indexOfKey(key->value());
    if (!node.isValid())
        return;
    if (!sameKey(m_model->parentKeyOf(node), parent->value())) {
        rebuildNow();
        return;
    }
    if (text)
        m_model->setNodeText(node, text->displayText());
}

void DBTreeView::rebuild()
{
    m_dirty = true;
    if (m_rebuilding)
        return;
    if (m_moving) {
        m_pendingSync = true;
        return;
    }
    sync();
}

void DBTreeView::rebuildInUpdateBracket()
{
    beginUpdate();
    const auto end = qScopeGuard([this] { endUpdate(); });
    rebuild();
}

void DBTreeView::rebuildNow()
{
    QScopedValueRollback guard(m_rebuilding, true);
    m_dirty = false;
    // Expanded branches stay expanded.
    QList<QVariant> expanded;
    std::function<void(const QModelIndex&)> collect = [&](const QModelIndex& parent) {
        for (int r = 0; r < m_model->rowCount(parent); ++r) {
            const QModelIndex i = m_model->index(r, 0, parent);
            if (isExpanded(i)) {
                expanded.append(m_model->keyOf(i));
                collect(i);
            }
        }
    };
    collect({});
    m_hot = QModelIndex();
    m_model->rebuild();
    for (const QVariant& key : expanded) {
        const QModelIndex i = m_model->indexOfKey(key);
        if (i.isValid() && m_model->isLoaded(i))
            setExpanded(i, true);
    }
}

void DBTreeView::selectCurrent()
{
    db::DataSet* ds = m_source->dataSet();
    const int row = ds->currentRow();
    const QModelIndex node = row >= 0 ? m_model->indexOfRow(row) : QModelIndex();
    if (node == currentIndex() && (!node.isValid() || selectionModel()->isSelected(node)))
        return;
    QScopedValueRollback guard(m_following, true);
    if (node.isValid()) {
        selectionModel()->setCurrentIndex(node, QItemSelectionModel::ClearAndSelect);
        scrollTo(node);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

void DBTreeView::beginUpdate()
{
    if (m_updateDepth++ == 0)
        setUpdatesEnabled(false);
}

void DBTreeView::endUpdate()
{
    if (m_updateDepth == 0)
        return;
    if (--m_updateDepth > 0)
        return;
    setUpdatesEnabled(true);
    if (m_pendingSync || m_dirty)
        sourceChanged(false);
}

// --- the user's selection ---

void DBTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    if (m_pressing && !m_following) {
        if (!m_pressChanged)
            m_pressPrevious = previous;
        m_pressChanged = true;
        m_pressCurrent = current;
        return;
    }
    selectionChanged(current, previous);
}

void DBTreeView::mousePressEvent(QMouseEvent* event)
{
    {
        QScopedValueRollback guard(m_pressing, true);
        m_pressChanged = false;
        QTreeView::mousePressEvent(event);
    }
    if (m_pressChanged) {
        m_pressChanged = false;
        selectionChanged(m_pressCurrent, m_pressPrevious);
    }
}

void DBTreeView::selectionChanged(const QPersistentModelIndex& current, const QPersistentModelIndex& previous)
{
    const bool selected = current.isValid();
    if (m_singleExpand)
        singleExpand(current, previous);
    if (!m_following && selected)
        moveDataSet(current);
    // A move that renewed the nodes has selected and announced the node already.
    if (current.isValid() || !selected)
        emit nodeChanged(current);
}

void DBTreeView::singleExpand(const QModelIndex& current, const QModelIndex& previous)
{
    for (QModelIndex i = previous; i.isValid(); i = i.parent()) {
        if (isAncestorOrSelf(i, current))
            break;
        collapse(i);
    }
    if (current.isValid())
        expand(current);
}

void DBTreeView::moveDataSet(const QModelIndex& node)
{
    if (!m_source || !m_source->isActive())
        return;
    db::DataSet* ds = m_source->dataSet();
    const db::Field* key = ds->findField(m_keyField);
    const QVariant wanted = m_model->keyOf(node);
    if (!key || (ds->currentRow() >= 0 && sameKey(key->value(), wanted)))
        return;
    if (wanted.isNull()) {
        // The node of a record that is no longer being inserted: renew the nodes.
        rebuild();
        return;
    }
    {
        QScopedValueRollback guard(m_moving, true);
        try {
            if (!ds->locate(m_keyField, wanted))
                m_dirty = true;
        } catch (const std::exception& error) {
            m_pendingSync = true;
            m_moving = false;
            reportError(error);
        }
    }
    try {
        sync();
    } catch (const std::exception& error) {
        reportError(error);
    }
}

// --- drawing ---

void DBTreeView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    if (!m_showLines && !m_showButtons)
        return;
    const int indent = indentation();
    if (indent <= 0 || rect.width() < indent)
        return;
    painter->save();
    QPen dots(palette().color(QPalette::Dark));
    dots.setStyle(Qt::DotLine);
    dots.setCosmetic(true);
    // The columns of the branch area from the right: the item's own, then its ancestors'.
    QRect cell(rect.right() + 1 - indent, rect.top(), indent, rect.height());
    const QPoint c = cell.center();
    const QAbstractItemModel* m = model();
    const bool hasNext = index.row() + 1 < m->rowCount(index.parent());
    if (m_showLines) {
        painter->setPen(dots);
        const bool firstOfAll = !index.parent().isValid() && index.row() == 0;
        painter->drawLine(c.x(), c.y(), cell.right(), c.y());
        painter->drawLine(c.x(), firstOfAll ? c.y() : cell.top(), c.x(), hasNext ? cell.bottom() : c.y());
        QRect column = cell;
        for (QModelIndex a = index.parent(); a.isValid(); a = a.parent()) {
            column.translate(-indent, 0);
            if (column.right() < rect.left())
                break;
            if (a.row() + 1 < m->rowCount(a.parent()))
                painter->drawLine(column.center().x(), column.top(), column.center().x(), column.bottom());
        }
    }
    if (m_showButtons && m->hasChildren(index)) {
        const QRect box(c.x() - 4, c.y() - 4, 8, 8);
        painter->setPen(palette().color(QPalette::Dark));
        painter->setBrush(palette().color(QPalette::Base));
        painter->drawRect(box);
        painter->setPen(palette().color(QPalette::Text));
        painter->drawLine(box.left() + 2, c.y(), box.right() - 2, c.y());
        if (!isExpanded(index))
            painter->drawLine(c.x(), box.top() + 2, c.x(), box.bottom() - 2);
    }
    painter->restore();
}

void DBTreeView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_hotTrack) {
        const QModelIndex hot = indexAt(event->position().toPoint());
        if (hot != m_hot) {
            if (m_hot.isValid())
                viewport()->update(visualRect(m_hot));
            m_hot = hot;
            if (hot.isValid())
                viewport()->update(visualRect(hot));
        }
    }
    QTreeView::mouseMoveEvent(event);
}

void DBTreeView::leaveEvent(QEvent* event)
{
    if (m_hot.isValid())
        viewport()->update(visualRect(m_hot));
    m_hot = QModelIndex();
    QTreeView::leaveEvent(event);
}

void DBTreeView::reportError(const std::exception& error)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&DBTreeView::errorOccurred)))
        emit errorOccurred(error);
    else
        showDataError(this, error);
}

} // namespace ui
