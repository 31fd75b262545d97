#include "DBGrid.h"

#include "DataErrors.h"
#include "GridColumnWidths.h"
#include "GridDelegate.h"
#include "GridFooter.h"
#include "GridModel.h"
#include "GridSearchDialog.h"
#include "GridTitleHeader.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaMethod>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <db/DataSet.h>
#include <db/DataSource.h>
#include <db/Field.h>

namespace ui {

namespace {

bool isTyping(const QKeyEvent* event)
{
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

DBGrid::DBGrid(QWidget* parent)
    : QTableView(parent), m_model(new GridModel(this)), m_delegate(new GridDelegate(m_model, this)),
      m_titleHeader(new GridTitleHeader(this)), m_indicator(new GridIndicatorHeader(this))
{
    setHorizontalHeader(m_titleHeader);
    setVerticalHeader(m_indicator);
    setModel(m_model);
    setItemDelegate(m_delegate);
    m_footer = new GridFooter(m_model, m_titleHeader, this);
    m_footer->hide();

    m_titleHeader->setSectionResizeMode(QHeaderView::Fixed);
    m_titleHeader->setMinimumSectionSize(1);
    m_indicator->setMarkProvider([this](int row) { return rowMark(row); });

    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setTabKeyNavigation(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    applyFontMetrics();
    keepSelectionVisible();
    applyMode();

    m_model->setErrorHandler([this](const std::exception& e) { report(e); });

    connect(m_delegate, &GridDelegate::cellButtonPressed, this, [this](int column) {
        // Out of the button's own press handling: the handler may open a dialog, which closes
        // the editor that holds the button.
        QMetaObject::invokeMethod(
            this, [this, column] { emit cellButtonPressed(column); }, Qt::QueuedConnection);
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        fitColumns();
        layoutFooter();
        followDataSet();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] {
        if (!currentIndex().isValid())
            followDataSet();
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_footer, qOverload<>(&QWidget::update));
    m_focusConnection = connect(qApp, &QApplication::focusChanged, this, &DBGrid::onFocusChanged);
}

DBGrid::~DBGrid()
{
    // The children go after this body; focus moving away from a dying editor must not reach
    // a grid that is half gone.
    disconnect(m_focusConnection);
    for (const auto& c : m_sourceConnections)
        disconnect(c);
}

// --- binding ---

void DBGrid::setDataSource(db::DataSource* source)
{
    for (const auto& c : m_sourceConnections)
        disconnect(c);
    m_sourceConnections.clear();
    m_model->setDataSource(source);
    if (source) {
        m_sourceConnections << connect(source, &db::DataSource::scrolled, this, &DBGrid::followDataSet)
                            << connect(source, &db::DataSource::stateChanged, this,
                                       [this] { m_indicator->viewport()->update(); })
                            << connect(source, &db::DataSource::updateRecord, this, &DBGrid::commitEditor);
    }
    followDataSet();
}

db::DataSource* DBGrid::dataSource() const
{
    return m_model->dataSource();
}

db::DataSet* DBGrid::dataSet() const
{
    return m_model->activeDataSet();
}

void DBGrid::setColumns(const QList<GridColumn>& columns)
{
    m_model->setColumns(columns);
    updateGeometries();
}

void DBGrid::addColumn(const GridColumn& column)
{
    QList<GridColumn> columns = m_model->declaredColumns();
    columns << column;
    setColumns(columns);
}

const QList<GridColumn>& DBGrid::columns() const
{
    return m_model->columns();
}

int DBGrid::columnOf(const QString& fieldName) const
{
    return m_model->columnOf(fieldName);
}

void DBGrid::setTitleLines(int lines)
{
    m_titleHeader->setLines(lines);
    updateGeometries();
}

int DBGrid::titleLines() const
{
    return m_titleHeader->lines();
}

// --- modes ---

void DBGrid::setRowSelect(bool on)
{
    if (on == m_rowSelect)
        return;
    m_rowSelect = on;
    applyMode();
}

void DBGrid::setReadOnly(bool readOnly)
{
    if (readOnly == m_readOnly)
        return;
    m_readOnly = readOnly;
    applyMode();
}

void DBGrid::applyMode()
{
    const bool editing = !m_rowSelect && !m_readOnly;
    if (!editing)
        closeOpenEditor(true);
    m_model->setEditable(editing);
    setSelectionBehavior(m_rowSelect ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setEditTriggers(editing ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                            : QAbstractItemView::NoEditTriggers);
    if (currentIndex().isValid())
        selectionModel()->setCurrentIndex(
            currentIndex(), QItemSelectionModel::ClearAndSelect |
                                (m_rowSelect ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate));
}

RowMark DBGrid::rowMark(int row) const
{
    const db::DataSet* ds = dataSet();
    if (!ds || row != ds->currentRow())
        return RowMark::None;
    switch (ds->state()) {
    case db::DataSetState::Edit:
        return RowMark::Edit;
    case db::DataSetState::Insert:
        return RowMark::Insert;
    default:
        return RowMark::Current;
    }
}

QString DBGrid::footerText(int column) const
{
    return m_footer->text(column);
}

void DBGrid::setDeleteQuestion(DeleteQuestion question)
{
    m_question = question ? std::move(question) : DeleteQuestion(askDeleteRecord);
}

void DBGrid::report(const std::exception& error)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&DBGrid::errorOccurred)))
        emit errorOccurred(error);
    else
        showDataError(this, error);
}

// --- current row ---

void DBGrid::followDataSet()
{
    m_indicator->viewport()->update();
    const db::DataSet* ds = dataSet();
    const int row = ds ? ds->currentRow() : -1;
    if (row < 0 || row >= m_model->rowCount())
        return;
    const int column = currentIndex().isValid() ? currentIndex().column() : m_lastColumn;
    if (column >= m_model->columnCount())
        return;
    QScopedValueRollback following(m_following, true);
    if (currentIndex().row() != row || !selectionModel()->isSelected(currentIndex()))
        setCurrentIndex(m_model->index(row, column));
    scrollTo(currentIndex());
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous); // closes (and commits) the previous editor
    m_indicator->viewport()->update();
    if (current.isValid())
        m_lastColumn = current.column();
    if (m_following || !current.isValid() || m_movePending)
        return;
    const db::DataSet* ds = dataSet();
    if (!ds || current.row() == ds->currentRow())
        return;
    m_movePending = true;
    QMetaObject::invokeMethod(this, &DBGrid::moveDataSetToCurrentRow, Qt::QueuedConnection);
}

void DBGrid::settlePendingMove()
{
    if (m_movePending)
        moveDataSetToCurrentRow();
}

void DBGrid::moveDataSetToCurrentRow()
{
    m_movePending = false;
    db::DataSet* ds = dataSet();
    const int row = currentIndex().row();
    if (!ds || row < 0 || row == ds->currentRow())
        return;
    try {
        ds->setCurrentRow(row);
    } catch (const std::exception& e) {
        report(e);
    }
    // A failed post keeps the dataset where it was; the grid goes back there.
    followDataSet();
}

// --- editors ---

QWidget* DBGrid::cellEditor() const
{
    return m_delegate->openEditor();
}

void DBGrid::commitEditor()
{
    if (QWidget* editor = m_delegate->openEditor())
        commitData(editor);
}

void DBGrid::updateRecord()
{
    settlePendingMove();
    if (QWidget* editor = m_delegate->openEditor())
        m_delegate->writeEditor(editor, currentIndex());
}

bool DBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (trigger != NoEditTriggers && trigger != CurrentChanged && index.isValid()) {
        // The editor writes into the dataset's current row: bring it to the cell's row first.
        settlePendingMove();
        const db::DataSet* ds = dataSet();
        if (!ds || ds->currentRow() != index.row())
            return false;
    }
    return QTableView::edit(index, trigger, event);
}

void DBGrid::closeOpenEditor(bool commit)
{
    if (QWidget* editor = m_delegate->openEditor()) {
        if (commit)
            commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

// --- focus ---

bool DBGrid::owns(const QWidget* widget) const
{
    for (; widget; widget = widget->parentWidget())
        if (widget == this)
            return true;
    return false;
}

void DBGrid::onFocusChanged(QWidget*, QWidget* now)
{
    if (!now)
        return;
    if (owns(now)) {
        if (!m_focusInside) {
            m_focusInside = true;
            emit entered();
        }
        return;
    }
    if (m_focusInside && now->window() == window()) {
        m_focusInside = false;
        leaveGrid();
    }
}

void DBGrid::leaveGrid()
{
    closeOpenEditor(true);
    if (db::DataSet* ds = dataSet(); ds && ds->state() == db::DataSetState::Insert && !ds->isModified()) {
        try {
            ds->cancel();
        } catch (const std::exception& e) {
            report(e);
        }
    }
    emit exited();
}

// --- keys ---

void DBGrid::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Delete && mods == Qt::ControlModifier) {
        deleteCurrentRow();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F && mods == Qt::ControlModifier) {
        showSearchDialog();
        event->accept();
        return;
    }
    const QModelIndex current = currentIndex();
    const bool canEdit = state() != EditingState && current.isValid() &&
                         (m_model->flags(current) & Qt::ItemIsEditable) && editTriggers() != NoEditTriggers;
    if (canEdit && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        mods == Qt::NoModifier) {
        edit(current, EditKeyPressed, event);
        event->accept();
        return;
    }
    if (canEdit && isTyping(event)) {
        // A character the cell's field can't hold opens no editor.
        const db::Field* f = m_model->field(current.column());
        if (f && f->kind() != db::FieldKind::Lookup && m_model->canWrite(current.column())) {
            for (const QChar c : event->text()) {
                if (!f->isValidChar(c)) {
                    QApplication::beep();
                    event->accept();
                    return;
                }
            }
        }
    }
    QTableView::keyPressEvent(event);
}

void DBGrid::keyboardSearch(const QString&)
{
    // Typing never jumps to another row: a move would post the row being edited.
}

// --- deleting and searching ---

bool DBGrid::deleteCurrentRow()
{
    settlePendingMove();
    db::DataSet* ds = dataSet();
    if (m_readOnly || !ds || ds->isEmpty() || !ds->canDelete())
        return false;
    if (!m_question(this))
        return false;
    closeOpenEditor(false);
    try {
        return ds->remove();
    } catch (const std::exception& e) {
        report(e);
        return false;
    }
}

void DBGrid::showSearchDialog()
{
    if (!m_searchDialog) {
        m_searchDialog = new GridSearchDialog(this);
        connect(m_searchDialog, &GridSearchDialog::findRequested, this,
                [this](const GridSearchOptions& options) {
                    if (!findNext(options)) {
                        QApplication::beep();
                        m_searchDialog->setNotFound(true);
                    }
                });
    }
    QStringList titles;
    for (int i = 0; i < m_model->columnCount(); ++i)
        titles << m_model->headerData(i, Qt::Horizontal).toString();
    m_searchDialog->setColumnTitles(titles);
    m_searchDialog->setNotFound(false);
    m_searchDialog->show();
    m_searchDialog->raise();
    m_searchDialog->activateWindow();
    m_searchDialog->textEdit()->setFocus();
    m_searchDialog->textEdit()->selectAll();
}

bool DBGrid::findNext(const GridSearchOptions& options)
{
    const QModelIndex found = findNextMatch(m_model, currentIndex(), options);
    if (!found.isValid())
        return false;
    setCurrentIndex(found);
    scrollTo(found);
    return true;
}

// --- layout ---

int DBGrid::defaultColumnWidth(int column) const
{
    const db::Field* f = m_model->field(column);
    const int characters = f ? f->displayWidth() : 10;
    return qBound(2, characters, 40) * fontMetrics().averageCharWidth() + 6;
}

void DBGrid::fitColumns()
{
    const QList<GridColumn>& columns = m_model->columns();
    if (m_titleHeader->count() != columns.size())
        return;
    std::vector<ColumnWidthRequest> requests;
    requests.reserve(size_t(columns.size()));
    for (int i = 0; i < columns.size(); ++i) {
        const GridColumn& c = columns.at(i);
        requests.push_back({c.width() > 0 ? c.width() : defaultColumnWidth(i), c.isFixedWidth()});
    }
    const std::vector<int> widths = fitColumnWidths(requests, viewport()->width());
    for (int i = 0; i < columns.size(); ++i)
        if (m_titleHeader->sectionSize(i) != widths[size_t(i)])
            m_titleHeader->resizeSection(i, widths[size_t(i)]);
}

void DBGrid::layoutFooter()
{
    if (!m_footer)
        return;
    const bool shown = m_footer->hasCells();
    if (m_footer->isHidden() == shown)
        m_footer->setVisible(shown);
    if (!shown)
        return;
    // The footer lies over the bottom of the rows; the rows get as much room to scroll.
    const int height = m_footer->sizeHint().height();
    const QRect rows = viewport()->geometry();
    const int indicator = m_indicator->isHidden() ? 0 : m_indicator->width();
    m_footer->setIndicatorWidth(indicator);
    m_footer->setGeometry(rows.left() - indicator, rows.bottom() + 1 - height, rows.width() + indicator,
                          height);
    m_footer->raise();
    QScrollBar* bar = verticalScrollBar();
    const int maximum = qMax(0, m_indicator->length() + height - rows.height());
    if (bar->maximum() != maximum)
        bar->setRange(0, maximum);
}

void DBGrid::updateGeometries()
{
    QTableView::updateGeometries();
    fitColumns();
    layoutFooter();
}

void DBGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QTableView::scrollTo(index, hint);
    if (!m_footer || m_footer->isHidden() || !index.isValid())
        return;
    const int limit = viewport()->height() - m_footer->height();
    const QRect cell = visualRect(index);
    if (cell.bottom() > limit)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + cell.bottom() - limit);
}

void DBGrid::applyFontMetrics()
{
    const int height = fontMetrics().height() + 4;
    m_indicator->setMinimumSectionSize(qMin(height, m_indicator->minimumSectionSize()));
    m_indicator->setDefaultSectionSize(height);
}

void DBGrid::keepSelectionVisible()
{
    QPalette p = palette();
    bool changed = false;
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        if (p.color(QPalette::Inactive, role) != p.color(QPalette::Active, role)) {
            p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
            changed = true;
        }
    }
    if (changed)
        setPalette(p);
}

void DBGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        keepSelectionVisible();
    else if (event->type() == QEvent::FontChange)
        applyFontMetrics();
}

GridSearchDialog* DBGrid::searchDialog() const
{
    return m_searchDialog;
}

} // namespace ui
