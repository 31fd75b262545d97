#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QPointer>
#include <db/DataSource.h>
#include <memory>
#include <vector>

namespace ui {

// The nodes of a self-referencing dataset: each record is a node under the record whose key
// its parent field holds (an empty parent: top level); siblings stand in the dataset's order.
// Nodes are read from the dataset's rows without moving it. A node's children are read when
// it is first expanded (fetchMore) and kept afterwards; rebuild() brings the nodes in step with
// the rows, keeping the branches that were read.
class DBTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit DBTreeModel(QObject* parent = nullptr);
    ~DBTreeModel() override;

    void setDataSource(db::DataSource* source);
    void setKeyField(const QString& name) { m_keyField = name; }
    void setParentField(const QString& name) { m_parentField = name; }
    void setTextField(const QString& name) { m_textField = name; }

    // Reads all rows and renews the nodes: nodes whose records are gone go, a node comes for
    // each record at the top level or under a node whose children were read.
    void rebuild();
    void clear();
    // The dataset's record count at the last rebuild.
    int rebuiltCount() const { return m_rebuiltCount; }

    QModelIndex indexOfKey(const QVariant& key) const;
    // The node of the dataset's row, reading the branches above it as needed; invalid when the
    // row's record can't be placed (its parent isn't among the rows).
    QModelIndex indexOfRow(int row);
    QVariant keyOf(const QModelIndex& index) const;
    QVariant parentKeyOf(const QModelIndex& index) const;
    bool isLoaded(const QModelIndex& index) const;
    // Shows a new text on a node.
    void setNodeText(const QModelIndex& index, const QString& text);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Node;
    struct Record;

    std::vector<Record> readRecords(bool all) const;
    void build(Node* node, const std::vector<Record>& records, const QHash<QString, QList<int>>& children,
               const QSet<QString>& loadedKeys, int depth);
    void collectLoaded(const Node* node, QSet<QString>& keys) const;
    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOfNode(const Node* node) const;
    db::Field* field(const QString& name) const;

    QPointer<db::DataSource> m_source;
    QString m_keyField;
    QString m_parentField;
    QString m_textField;
    std::unique_ptr<Node> m_root;
    QHash<QString, Node*> m_nodes; // by key text
    int m_rebuiltCount = 0;
    bool m_changing = false; // between a change's begin and the end of its signals
};

} // namespace ui
