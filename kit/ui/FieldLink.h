#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <db/DataSource.h>

namespace ui {

// Ties a control to one field of a data source: finds the field, tells the control when to
// show it again, and starts the edit that a change typed into the control needs. Controls own
// one and read the field through it; they never keep a Field pointer of their own, since
// fields made from the statement's columns come and go with the dataset.
class FieldLink : public QObject
{
    Q_OBJECT
public:
    explicit FieldLink(QObject* parent = nullptr);

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const;
    void setFieldName(const QString& name);
    const QString& fieldName() const { return m_fieldName; }

    db::DataSet* dataSet() const;
    // The field while its data source is active; nullptr otherwise or when there is no such field.
    db::Field* field() const;
    bool isActive() const { return field() != nullptr; }
    bool isEditing() const; // the dataset is in Insert or Edit
    bool canModify() const; // an active field that the control may change now

    // Puts the dataset into an edit state for a change typed into the control: returns whether
    // it is in one now (false: the field can't be changed, autoEdit is off or a before-rule
    // abandoned the edit). Throws what DataSet::edit() throws.
    bool edit();

signals:
    // The field's value, the current row or the dataset may have changed: show the field again.
    // Not emitted for changes of other fields of the row, unless this field is calculated or
    // looked up (its value then depends on them).
    void changed();
    // The dataset's state changed (whether the field may be edited now).
    void stateChanged();

private:
    void connectSource();
    void recordChanged(db::Field* field);

    QPointer<db::DataSource> m_source;
    QString m_fieldName;
    QMetaObject::Connection m_connections[7];
};

} // namespace ui
