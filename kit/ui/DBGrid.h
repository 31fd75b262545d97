#pragma once

#include "DataControl.h"
#include "DeleteQuestion.h"
#include "GridColumn.h"
#include "GridIndicatorHeader.h"
#include "GridSearch.h"

#include <QPointer>
#include <QTableView>
#include <exception>
#include <functional>

namespace db {
class DataSet;
class DataSource;
} // namespace db

namespace ui {

class GridDelegate;
class GridFooter;
class GridModel;
class GridSearchDialog;
class GridTitleHeader;

// A data grid over a data source: one row per row of the dataset, columns declared by code
// (GridColumn), an indicator column marking the current row and the dataset's state, a title
// row of one or more lines and an optional footer row with texts, counts and sums.
//
// Binding: setDataSource(); the grid's current row follows the dataset's (scrolled) and moving
// the grid's current row moves the dataset, which posts a pending edit (or drops an untouched
// new row) as datasets do. The move is made from the event loop right after the grid's
// current row changed, never inside Qt's own change notification.
//
// Modes: rowSelect (default) selects whole rows and edits nothing; setRowSelect(false)
// selects cells and edits them in place (typing, F2, Enter, double click). The read-only mark
// forbids editing and Ctrl+Delete. An editor starts with the field's edit text and refuses
// characters the field can't hold (beep); the first change starts the edit of the row; the
// text reaches the field when the editor closes, when the row is posted (updateRecord), and
// when the grid loses the focus.
//
// Keys: Tab moves between columns, Ctrl+Delete deletes the current row after the question
// "Удалить запись?" (OK/Cancel), Ctrl+F opens the search dialog.
//
// Focus: entered() when the focus comes into the grid (or its editor) from another control of
// the same window; exited() when it moves from the grid to another control of the same
// window, after the grid has handed the editor's text to the field and cancelled a new row
// the user left untouched, so that a leave rule connected to exited() can cancel what is
// left. Focus going to another window (a dialog, a message box) is no leave.
//
// Errors: a failure of the grid's own work on the data (writing a cell, moving, deleting,
// reading more rows, a footer's figures) is emitted as errorOccurred(), as every data control
// of the kit does (DataErrors.h); with nothing connected the grid shows it in an error box.
class DBGrid : public QTableView, public DataControl
{
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);
    ~DBGrid() override;

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const override;
    // The source's dataset while it is active; nullptr otherwise.
    db::DataSet* dataSet() const;

    // Columns, declared before or after the source is set. None: one per visible field.
    void setColumns(const QList<GridColumn>& columns);
    void addColumn(const GridColumn& column);
    const QList<GridColumn>& columns() const;
    int columnOf(const QString& fieldName) const; // -1 if no column shows the field

    // Height of the title row in text lines (titles with word wrap use them).
    void setTitleLines(int lines);
    int titleLines() const;

    // Whole-row selection without editing (true, the default) or cell selection with
    // in-place editing.
    void setRowSelect(bool on);
    bool rowSelect() const { return m_rowSelect; }
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    // The footer row shows when a column declares a footer cell.
    GridFooter* footer() const { return m_footer; }
    QString footerText(int column) const;
    // Indicator mark of a row.
    RowMark rowMark(int row) const;

    // Asked before Ctrl+Delete deletes; by default askDeleteRecord ("Удалить запись?", OK and
    // Cancel).
    void setDeleteQuestion(DeleteQuestion question);

    // Deletes the current row after the question; false when read-only, not asked, refused
    // or failed.
    bool deleteCurrentRow();
    void showSearchDialog();
    GridSearchDialog* searchDialog() const;
    // Makes the next matching cell after the current one current; false when none matches.
    bool findNext(const GridSearchOptions& options);
    // Writes the open cell editor's text to its field (and keeps the editor open); a failure
    // goes to errorOccurred.
    void commitEditor();
    // The same for the navigator (DataControl), which wants the failure thrown.
    void updateRecord() override;

    GridModel* gridModel() const { return m_model; }
    GridTitleHeader* titleHeader() const { return m_titleHeader; }
    GridIndicatorHeader* indicator() const { return m_indicator; }
    // The cell editor open now, if any.
    QWidget* cellEditor() const;

    // Keeps the cell clear of the footer too.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    void entered();
    void exited();
    // The ellipsis button of the edited cell of `column` was pressed. Emitted from the event
    // loop after the press, so the handler may open a modal dialog.
    void cellButtonPressed(int column);
    void errorOccurred(const std::exception& error);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void updateGeometries() override;
    void changeEvent(QEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    void onFocusChanged(QWidget* old, QWidget* now);
    bool owns(const QWidget* widget) const;
    void leaveGrid();
    void followDataSet();
    void moveDataSetToCurrentRow();
    void settlePendingMove();
    void closeOpenEditor(bool commit);
    void applyMode();
    void fitColumns();
    void layoutFooter();
    void applyFontMetrics();
    void keepSelectionVisible();
    void report(const std::exception& error);
    int defaultColumnWidth(int column) const;

    GridModel* m_model;
    GridDelegate* m_delegate;
    GridTitleHeader* m_titleHeader;
    GridIndicatorHeader* m_indicator;
    GridFooter* m_footer = nullptr; // made after the model is set
    QPointer<GridSearchDialog> m_searchDialog;
    QList<QMetaObject::Connection> m_sourceConnections;
    QMetaObject::Connection m_focusConnection;
    DeleteQuestion m_question = askDeleteRecord;
    bool m_rowSelect = true;
    bool m_readOnly = false;
    bool m_focusInside = false;
    bool m_following = false;
    bool m_movePending = false;
    int m_lastColumn = 0; // kept across a reset of the model (a new row, a re-read)
};

} // namespace ui
