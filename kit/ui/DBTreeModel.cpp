#include "DBTreeModel.h"

#include <QScopedValueRollback>
#include <QSet>
#include <db/DataSet.h>
#include <db/DataSource.h>
#include <functional>

namespace ui {

namespace {

// Keys compared as text, so that an integer key and the same number read as a parent's
// value of another integer type meet. An empty value has no key text.
QString keyText(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    return QStringLiteral("k") + value.toString();
}

// Deeper than any real tree: a guard against records that are their own ancestors.
constexpr int MaxDepth = 64;

} // namespace

struct DBTreeModel::Node
{
    QVariant key;
    QVariant parentKey;
    QString text;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
    bool loaded = false;
    bool hasChildRecords = false;

    int row() const
    {
        if (!parent)
            return 0;
        for (size_t i = 0; i < parent->children.size(); ++i)
            if (parent->children[i].get() == this)
                return int(i);
        return 0;
    }
};

struct DBTreeModel::Record
{
    QVariant key;
    QVariant parentKey;
    QString text;
};

DBTreeModel::DBTreeModel(QObject* parent) : QAbstractItemModel(parent), m_root(std::make_unique<Node>())
{
    m_root->loaded = true;
}

DBTreeModel::~DBTreeModel() = default;

void DBTreeModel::setDataSource(db::DataSource* source)
{
    m_source = source;
}

db::Field* DBTreeModel::field(const QString& name) const
{
    if (!m_source || !m_source->isActive() || name.isEmpty())
        return nullptr;
    return m_source->dataSet()->findField(name);
}

std::vector<DBTreeModel::Record> DBTreeModel::readRecords(bool all) const
{
    std::vector<Record> records;
    const db::Field* key = field(m_keyField);
    const db::Field* parent = field(m_parentField);
    const db::Field* text = field(m_textField);
    if (!key || !parent)
        return records;
    db::DataSet* ds = m_source->dataSet();
    if (all)
        ds->fetchAll();
    const int count = ds->recordCount();
    records.reserve(count);
    for (int row = 0; row < count; ++row)
        records.push_back({key->value(row), parent->value(row), text ? text->displayText(row) : QString()});
    return records;
}

void DBTreeModel::collectLoaded(const Node* node, QSet<QString>& keys) const
{
    for (const auto& child : node->children) {
        if (child->loaded) {
            keys.insert(keyText(child->key));
            collectLoaded(child.get(), keys);
        }
    }
}

void DBTreeModel::build(Node* node, const std::vector<Record>& records,
                        const QHash<QString, QList<int>>& children, const QSet<QString>& loadedKeys,
                        int depth)
{
    const QString own = node == m_root.get() ? QString() : keyText(node->key);
    if (node != m_root.get() && own.isEmpty())
        return; // a record without a key yet (being inserted) has no children
    for (int row : children.value(own)) {
        const Record& r = records[size_t(row)];
        auto child = std::make_unique<Node>();
        child->key = r.key;
        child->parentKey = r.parentKey;
        child->text = r.text;
        child->parent = node;
        const QString childKey = keyText(r.key);
        child->hasChildRecords = !childKey.isEmpty() && children.contains(childKey);
        if (!childKey.isEmpty() && m_nodes.contains(childKey))
            continue; // the same key twice: shown once
        if (!childKey.isEmpty())
            m_nodes.insert(childKey, child.get());
        Node* added = child.get();
        node->children.push_back(std::move(child));
        if (added->hasChildRecords && depth < MaxDepth && loadedKeys.contains(childKey)) {
            added->loaded = true;
            build(added, records, children, loadedKeys, depth + 1);
        }
    }
}

void DBTreeModel::rebuild()
{
    QSet<QString> loadedKeys;
    collectLoaded(m_root.get(), loadedKeys);
    const std::vector<Record> records = readRecords(true);
    QHash<QString, QList<int>> children; // parent key text -> rows
    for (int row = 0; row < int(records.size()); ++row)
        children[keyText(records[size_t(row)].parentKey)].append(row);

    QScopedValueRollback guard(m_changing, true);
    beginResetModel();
    m_nodes.clear();
    m_root = std::make_unique<Node>();
    m_root->loaded = true;
    build(m_root.get(), records, children, loadedKeys, 0);
    m_rebuiltCount = m_source && m_source->isActive() ? m_source->dataSet()->recordCount() : 0;
    endResetModel();
}

void DBTreeModel::clear()
{
    QScopedValueRollback guard(m_changing, true);
    beginResetModel();
    m_nodes.clear();
    m_root = std::make_unique<Node>();
    m_root->loaded = true;
    m_rebuiltCount = 0;
    endResetModel();
}

DBTreeModel::Node* DBTreeModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : m_root.get();
}

QModelIndex DBTreeModel::indexOfNode(const Node* node) const
{
    if (!node || node == m_root.get())
        return {};
    return createIndex(node->row(), 0, const_cast<Node*>(node));
}

QModelIndex DBTreeModel::indexOfKey(const QVariant& key) const
{
    const QString text = keyText(key);
    if (text.isEmpty()) {
        // A record being inserted has no key yet: its node is the one without a key.
        std::function<const Node*(const Node*)> find = [&](const Node* node) -> const Node* {
            for (const auto& child : node->children) {
                if (keyText(child->key).isEmpty())
                    return child.get();
                if (const Node* found = find(child.get()))
                    return found;
            }
            return nullptr;
        };
        return indexOfNode(find(m_root.get()));
    }
    return indexOfNode(m_nodes.value(text));
}

QModelIndex DBTreeModel::indexOfRow(int row)
{
    const db::Field* key = field(m_keyField);
    const db::Field* parent = field(m_parentField);
    if (!key || !parent || row < 0 || row >= m_source->dataSet()->recordCount())
        return {};
    QModelIndex found = indexOfKey(key->value(row));
    if (found.isValid())
        return found;
    // Read the branches from the top down to the row's parent.
    QList<QVariant> ancestors;
    QVariant up = parent->value(row);
    while (!keyText(up).isEmpty() && ancestors.size() < MaxDepth) {
        ancestors.prepend(up);
        const int upRow = m_source->dataSet()->findRow(m_keyField, up);
        if (upRow < 0)
            return {};
        up = parent->value(upRow);
    }
    for (const QVariant& ancestor : ancestors) {
        const QModelIndex index = indexOfKey(ancestor);
        if (!index.isValid())
            return {};
        if (canFetchMore(index))
            fetchMore(index);
    }
    return indexOfKey(key->value(row));
}

QVariant DBTreeModel::keyOf(const QModelIndex& index) const
{
    return index.isValid() ? nodeOf(index)->key : QVariant();
}

QVariant DBTreeModel::parentKeyOf(const QModelIndex& index) const
{
    return index.isValid() ? nodeOf(index)->parentKey : QVariant();
}

bool DBTreeModel::isLoaded(const QModelIndex& index) const
{
    return nodeOf(index)->loaded;
}

void DBTreeModel::setNodeText(const QModelIndex& index, const QString& text)
{
    Node* node = index.isValid() ? nodeOf(index) : nullptr;
    if (!node || node->text == text)
        return;
    node->text = text;
    emit dataChanged(index, index, {Qt::DisplayRole});
}

QModelIndex DBTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[size_t(row)].get());
}

QModelIndex DBTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    return indexOfNode(nodeOf(child)->parent);
}

int DBTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(nodeOf(parent)->children.size());
}

int DBTreeModel::columnCount(const QModelIndex& /*parent*/) const
{
    return 1;
}

QVariant DBTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return nodeOf(index)->text;
    return {};
}

Qt::ItemFlags DBTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Node* node = nodeOf(index);
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!node->hasChildRecords)
        f |= Qt::ItemNeverHasChildren;
    return f;
}

bool DBTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return false;
    const Node* node = nodeOf(parent);
    return node->loaded ? !node->children.empty() : node->hasChildRecords;
}

bool DBTreeModel::canFetchMore(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return false;
    const Node* node = nodeOf(parent);
    return !node->loaded && node->hasChildRecords;
}

void DBTreeModel::fetchMore(const QModelIndex& parent)
{
    // Not from a handler of this model's own change: the nodes would change in the middle of it.
    if (m_changing || !canFetchMore(parent))
        return;
    QScopedValueRollback guard(m_changing, true);
    Node* node = nodeOf(parent);
    const std::vector<Record> records = readRecords(false);
    QHash<QString, QList<int>> children;
    for (int row = 0; row < int(records.size()); ++row)
        children[keyText(records[size_t(row)].parentKey)].append(row);
    const QString own = keyText(node->key);
    QList<int> rows;
    for (int row : children.value(own))
        if (!m_nodes.contains(keyText(records[size_t(row)].key)) ||
            keyText(records[size_t(row)].key).isEmpty())
            rows.append(row);
    node->loaded = true;
    if (rows.isEmpty()) {
        node->hasChildRecords = false;
        return;
    }
    beginInsertRows(parent, 0, int(rows.size()) - 1);
    for (int row : rows) {
        const Record& r = records[size_t(row)];
        auto child = std::make_unique<Node>();
        child->key = r.key;
        child->parentKey = r.parentKey;
        child->text = r.text;
        child->parent = node;
        const QString childKey = keyText(r.key);
        child->hasChildRecords = !childKey.isEmpty() && children.contains(childKey);
        if (!childKey.isEmpty())
            m_nodes.insert(childKey, child.get());
        node->children.push_back(std::move(child));
    }
    endInsertRows();
}

} // namespace ui
