#pragma once

#include <QAbstractListModel>
#include <QPointer>
#include <db/DataSource.h>

namespace ui {

// The rows of a list dataset as a list model: each row shows the list field's display text
// and carries the key field's value (KeyRole). The model reads the whole list when it (re)binds
// or the list is read again; rows appended later arrive as inserted rows. Used by the lookup box.
class LookupListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int KeyRole = Qt::UserRole + 1;

    explicit LookupListModel(QObject* parent = nullptr);

    void setListSource(db::DataSource* source);
    db::DataSource* listSource() const;
    void setKeyField(const QString& name);
    const QString& keyField() const { return m_keyField; }
    void setListField(const QString& name);
    const QString& listField() const { return m_listField; }

    // The row whose key equals `key` (read as far as needed), or -1.
    int rowOfKey(const QVariant& key);
    QVariant keyAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    db::Field* field(const QString& name) const;
    int sourceRows() const;
    void reset();
    void appended(int first, int last);

    QPointer<db::DataSource> m_source;
    QString m_keyField;
    QString m_listField;
    int m_rows = 0;
    bool m_changing = false; // between a change's begin and the end of its signals
};

} // namespace ui
