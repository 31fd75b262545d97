#pragma once

#include <QComboBox>
#include <exception>

namespace db {
class DataSource;
class Field;
} // namespace db

namespace ui {

class FieldLink;
class LookupListModel;

// A drop-down list of one field of a list dataset that stores the chosen row's key in a
// field of the current row. Two ways to bind it:
//   - a plain data field with its own list: setDataSource(dsSamples2), setDataField("SEDIMENTS"),
//     setListSource(dsSediments), setKeyField("ID"), setListField("SEDIMENT_EN");
//   - a lookup field (FieldKind::Lookup): setDataSource + setDataField("TAXON_NAME") alone; the
//     list is the lookup field's dataset, and the choice is stored in its key field.
// Choosing a row (mouse, keys) starts the edit and writes the key at once. It shows no row
// while the stored key is empty or not in the list.
class DBLookupComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit DBLookupComboBox(QWidget* parent = nullptr);

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const;
    void setDataField(const QString& fieldName);
    QString dataField() const;

    void setListSource(db::DataSource* source);
    db::DataSource* listSource() const { return m_listSource; }
    void setKeyField(const QString& name);
    QString keyField() const { return m_keyField; }
    void setListField(const QString& name);
    QString listField() const { return m_listField; }

    // The control's own read-only switch: no list, no choice by keys or wheel; also in effect
    // while the field can't be changed.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    // The field the chosen key is written to (the bound field, or a lookup field's key field).
    db::Field* keyTargetField() const;
    LookupListModel* listModel() const { return m_model; }

    void showPopup() override;

signals:
    void errorOccurred(const std::exception& error);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool refusesInput() const;
    void rebind();
    void bindList();
    void showField();
    void choose(int row);
    void reportError(const std::exception& error);

    FieldLink* m_link;
    LookupListModel* m_model;
    db::DataSource* m_ownListSource; // over a lookup field's dataset
    db::DataSource* m_listSource = nullptr;
    QString m_keyField;
    QString m_listField;
    bool m_readOnly = false;
    bool m_showing = false;
};

} // namespace ui
