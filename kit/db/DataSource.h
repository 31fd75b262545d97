#pragma once

#include "Types.h"

#include <QObject>
#include <QPointer>
#include <vector>

namespace db {

class DataSet;
class Field;

// Binds data-aware controls (and detail datasets) to a dataset. A control keeps a pointer to
// the data source, reads through dataSet() and its fields, and listens to these signals:
//   activeChanged(bool)      the dataset opened or closed (or the source's dataset changed)
//   dataChanged()            anything may have changed: rows read again, a row inserted or
//                            removed, a refresh; re-read everything, then the current row
//   rowsAppended(first,last) rows read as needed were appended at the end (nothing else moved)
//   recordChanged(field)     a value of the current row changed (field nullptr: the whole row,
//                            e.g. after a single-row refresh or a cancel)
//   stateChanged(state)      browse / insert / edit / inactive
//   scrolled(row)            another row became current (row as DataSet::currentRow())
//   updateRecord()           the row is about to be posted: a control holding typed text that
//                            hasn't reached its field yet (a grid's cell editor) writes it now
// Nothing is signalled while the dataset's controls are disabled; enableControls() then
// signals dataChanged() once (and activeChanged/stateChanged if those changed).
class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const;

    // A control about to write into a field calls edit(): with autoEdit on, a browsing
    // dataset enters Edit (an empty one starts a new row), unless it can't be changed.
    // Returns whether the dataset is now in an edit state; false also when a before-rule
    // abandoned the edit. Database errors (a row lock that fails) are thrown.
    void setAutoEdit(bool on);
    bool autoEdit() const;
    bool edit();

    // A disabled source signals nothing and offers nothing to its controls (they show empty).
    void setEnabled(bool enabled);
    bool isEnabled() const;

    DataSetState state() const; // Inactive without a dataset or when disabled
    bool isActive() const { return state() != DataSetState::Inactive; }

signals:
    void activeChanged(bool active);
    void dataChanged();
    void rowsAppended(int first, int last);
    void recordChanged(db::Field* field);
    void stateChanged(db::DataSetState state);
    void scrolled(int row);
    // Emitted by DataSet::post() before anything else, so that the row posted holds what the
    // user typed into a control that writes its field only when left (a grid's cell editor).
    void updateRecord();
    // The dataset behind the source was replaced (setDataSet).
    void dataSetChanged(db::DataSet* dataSet);

private:
    friend class DataSet;
    QPointer<DataSet> m_dataSet;
    std::vector<QPointer<DataSet>> m_details; // datasets whose master source this is
    bool m_autoEdit = true;
    bool m_enabled = true;
};

} // namespace db
