// The data grid in a window, driven by key and mouse events, over a dataset on a database file.

#include "ui_GridData.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <db/Error.h>
#include <numeric>
#include <ui/DBGrid.h>
#include <ui/DataControl.h>
#include <ui/GridCellEdit.h>
#include <ui/GridFooter.h>
#include <ui/GridSearchDialog.h>
#include <ui/GridTitleHeader.h>

using ui::DBGrid;
using ui::GridColumn;

namespace {

enum Column
{
    TaxonColumn,
    AbundanceColumn,
    BiomassColumn,
    QtyColumn,
    NoteColumn
};

// Keys go where the focus is, as on the screen: the grid, or the cell editor it opened.
void type(const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

} // namespace

class TestGrid : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void currentRowFollowsTheDataSetBothWays();
    void typedCellIsStoredWhenTheRowChanges();
    void postWhileEditingTakesTheCellText();
    void numericCellRefusesLetters();
    void failedPostIsReportedAndTheGridStays();
    void leaveHandsTheTextOverBeforeTheLeaveRule();
    void untouchedNewRowIsCancelledOnLeave_data();
    void untouchedNewRowIsCancelledOnLeave();
    void footerFollowsInsertChangeAndDeletion();
    void footerCountReadsAllRows();
    void ctrlDeleteAsksFirst_data();
    void ctrlDeleteAsksFirst();
    void lookupColumnSetsTheKey();
    void cellButtonSignalsItsPress();
    void ctrlFFindsText();
    void rowAndCellModes();
    void fixedColumnsKeepTheirWidthStretchingOnesFill();

private:
    void select(int row, int column);

    std::unique_ptr<DataFixture> m_fixture;
    db::DataSet* m_counts = nullptr;
    db::DataSource* m_source = nullptr;
    std::unique_ptr<QWidget> m_window;
    DBGrid* m_grid = nullptr;
    QLineEdit* m_other = nullptr;
    QStringList m_errors;
};

void TestGrid::init()
{
    m_fixture = std::make_unique<DataFixture>(countsScript());
    m_counts = countsDataSet(*m_fixture);
    m_source = m_fixture->source(m_counts);
    m_counts->open();

    m_window = std::make_unique<QWidget>();
    m_window->resize(600, 300);
    auto* layout = new QVBoxLayout(m_window.get());
    m_grid = new DBGrid(m_window.get());
    m_grid->setObjectName(QStringLiteral("dbgCounts"));
    m_grid->setDataSource(m_source);
    m_grid->setTitleLines(2);
    m_grid->setColumns({
        GridColumn("TAXON_NAME").setStretchWidth(200).setFooterText("Total:").setDropDownRows(15),
        GridColumn("ABUNDANCE")
            .setTitle("Abundance, ind./cu.m")
            .setTitleWordWrap(true)
            .setFixedWidth(80)
            .setFooterSum(),
        GridColumn("BIOMASS").setFixedWidth(80).setFooterSum(),
        GridColumn("QTY").setFixedWidth(50),
        GridColumn("NOTE").setStretchWidth(100).setCellButton(true).setFooterCount("ID"),
    });
    m_errors.clear();
    connect(m_grid, &DBGrid::errorOccurred, this,
            [this](const std::exception& e) { m_errors << db::errorText(e); });
    layout->addWidget(m_grid);
    m_other = new QLineEdit(m_window.get());
    m_other->setObjectName(QStringLiteral("edtOther"));
    layout->addWidget(m_other);
    showActive(m_window.get());
    m_grid->setFocus();
    QTRY_VERIFY(m_grid->hasFocus());
}

void TestGrid::cleanup()
{
    m_window.reset();
    m_fixture.reset();
}

void TestGrid::select(int row, int column)
{
    m_grid->setCurrentIndex(m_grid->model()->index(row, column));
    QTRY_COMPARE(m_counts->currentRow(), row);
}

void TestGrid::currentRowFollowsTheDataSetBothWays()
{
    QCOMPARE(m_grid->currentIndex().row(), 0);
    QCOMPARE(m_grid->rowMark(0), ui::RowMark::Current);
    m_counts->setCurrentRow(2);
    QCOMPARE(m_grid->currentIndex().row(), 2);
    QCOMPARE(m_grid->rowMark(2), ui::RowMark::Current);
    QCOMPARE(m_grid->rowMark(0), ui::RowMark::None);

    press(Qt::Key_Up);
    QTRY_COMPARE(m_counts->currentRow(), 1);
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                      m_grid->visualRect(m_grid->model()->index(0, QtyColumn)).center());
    QTRY_COMPARE(m_counts->currentRow(), 0);
    QCOMPARE(m_grid->currentIndex().column(), int(QtyColumn));
}

void TestGrid::typedCellIsStoredWhenTheRowChanges()
{
    m_grid->setRowSelect(false);
    select(0, QtyColumn);
    type("4");
    QVERIFY(m_grid->cellEditor());
    QCOMPARE(m_counts->state(), db::DataSetState::Edit); // typing starts the edit
    QCOMPARE(m_grid->rowMark(0), ui::RowMark::Edit);
    type("2");
    QCOMPARE(qobject_cast<QLineEdit*>(m_grid->cellEditor())->text(), QStringLiteral("42"));
    press(Qt::Key_Down);
    QTRY_COMPARE(m_counts->currentRow(), 1);
    QCOMPARE(m_counts->state(), db::DataSetState::Browse);
    QCOMPARE(m_fixture->stored("SELECT QTY FROM COUNTS WHERE ID = 1").toInt(), 42);
    QCOMPARE(m_grid->model()->index(0, QtyColumn).data().toString(), QStringLiteral("42"));

    // The editor starts with the field's edit text (no display format): F2 on ABUNDANCE.
    select(1, AbundanceColumn);
    press(Qt::Key_F2);
    QVERIFY(m_grid->cellEditor());
    QCOMPARE(qobject_cast<QLineEdit*>(m_grid->cellEditor())->text(), QStringLiteral("20"));
    QCOMPARE(m_counts->state(), db::DataSetState::Browse); // opening an editor changes nothing
}

void TestGrid::postWhileEditingTakesTheCellText()
{
    // The navigator's Save doesn't take the focus: the post must still get the open editor's text.
    m_grid->setRowSelect(false);
    select(1, NoteColumn);
    type("abc");
    QVERIFY(m_grid->cellEditor());
    QVERIFY(m_counts->post());
    QCOMPARE(m_fixture->stored("SELECT NOTE FROM COUNTS WHERE ID = 2").toString(), QStringLiteral("abc"));
    QVERIFY(m_errors.isEmpty());

    // The navigator asks the focused control first, and wants a refusal thrown.
    select(1, AbundanceColumn);
    type("2e");
    QVERIFY_THROWS_EXCEPTION(db::Error, ui::updateFocusedControl(m_counts));
    type("1");
    ui::updateFocusedControl(m_counts);
    QCOMPARE(m_counts->field("ABUNDANCE")->asFloat(), 20.0);
}

void TestGrid::numericCellRefusesLetters()
{
    m_grid->setRowSelect(false);
    select(0, QtyColumn);
    type("x");
    QVERIFY(!m_grid->cellEditor()); // no editor for a character the field can't hold
    QCOMPARE(m_counts->state(), db::DataSetState::Browse);
    type("1x2");
    QCOMPARE(qobject_cast<QLineEdit*>(m_grid->cellEditor())->text(), QStringLiteral("12"));

    // A text column takes letters and is limited to the field's size.
    press(Qt::Key_Escape);
    m_counts->cancel();
    select(0, NoteColumn);
    type("abcdefghijkl");
    QCOMPARE(qobject_cast<QLineEdit*>(m_grid->cellEditor())->text(), QStringLiteral("abcdefghij"));
}

void TestGrid::failedPostIsReportedAndTheGridStays()
{
    m_grid->setRowSelect(false);
    select(0, QtyColumn);
    type("-5"); // the table refuses negative quantities
    press(Qt::Key_Down);
    QTRY_COMPARE(m_errors.size(), 1);
    QCOMPARE(m_counts->state(), db::DataSetState::Edit);
    QCOMPARE(m_counts->currentRow(), 0);
    QTRY_COMPARE(m_grid->currentIndex().row(), 0);
    QCOMPARE(m_counts->field("QTY")->value().toInt(), -5); // the user's value is kept
    QCOMPARE(m_fixture->stored("SELECT QTY FROM COUNTS WHERE ID = 1").toInt(), 1);
}

void TestGrid::leaveHandsTheTextOverBeforeTheLeaveRule()
{
    m_grid->setRowSelect(false);
    QVariant seenByRule;
    db::DataSetState stateSeen = db::DataSetState::Inactive;
    QSignalSpy entered(m_grid, &DBGrid::entered);
    connect(m_grid, &DBGrid::exited, this, [&] {
        seenByRule = m_counts->field("QTY")->value();
        stateSeen = m_counts->state();
        if (m_counts->isEditing())
            m_counts->cancel(); // the window's leave rule
    });
    select(1, QtyColumn);
    type("7");
    m_other->setFocus();
    QTRY_VERIFY(m_other->hasFocus());
    QCOMPARE(seenByRule.toInt(), 7);
    QCOMPARE(stateSeen, db::DataSetState::Edit);
    QCOMPARE(m_counts->state(), db::DataSetState::Browse);
    QCOMPARE(m_counts->field("QTY")->value().toInt(), 2);
    QCOMPARE(m_fixture->stored("SELECT QTY FROM COUNTS WHERE ID = 2").toInt(), 2);

    // Coming back is an enter; a dialog of another window is no leave.
    m_grid->setFocus();
    QTRY_COMPARE(entered.count(), 1);
    QSignalSpy exited(m_grid, &DBGrid::exited);
    QWidget dialog;
    auto* field = new QLineEdit(&dialog);
    showActive(&dialog);
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(exited.count(), 0);
}

void TestGrid::untouchedNewRowIsCancelledOnLeave_data()
{
    QTest::addColumn<bool>("touched");
    QTest::newRow("untouched") << false;
    QTest::newRow("touched") << true;
}

void TestGrid::untouchedNewRowIsCancelledOnLeave()
{
    QFETCH(bool, touched);
    m_grid->setRowSelect(false);
    select(1, QtyColumn);
    QVERIFY(m_counts->insert()); // the navigator's Insert, the focus staying in the grid
    QCOMPARE(m_counts->recordCount(), 4);
    QTRY_COMPARE(m_grid->rowMark(1), ui::RowMark::Insert);
    if (touched)
        type("5");
    m_other->setFocus();
    QTRY_VERIFY(m_other->hasFocus());
    if (touched) {
        QCOMPARE(m_counts->state(), db::DataSetState::Insert); // left to the window's rule
        QCOMPARE(m_counts->field("QTY")->value().toInt(), 5);
    } else {
        QCOMPARE(m_counts->state(), db::DataSetState::Browse);
        QCOMPARE(m_counts->recordCount(), 3);
        QCOMPARE(m_grid->model()->rowCount(), 3);
    }
}

void TestGrid::footerFollowsInsertChangeAndDeletion()
{
    ui::GridFooter* footer = m_grid->footer();
    QVERIFY(footer->isVisible());
    QTRY_COMPARE(m_grid->footerText(AbundanceColumn), QStringLiteral("60.75")); // display format "0.00"
    QCOMPARE(m_grid->footerText(TaxonColumn), QStringLiteral("Total:"));
    QCOMPARE(m_grid->footerText(BiomassColumn), QStringLiteral("3.875")); // no format: a plain number
    QCOMPARE(m_grid->footerText(NoteColumn), QStringLiteral("3"));
    QCOMPARE(m_grid->footerText(QtyColumn), QString());
    QCOMPARE(footer->alignment(NoteColumn), Qt::AlignRight);

    // Change.
    m_counts->setCurrentRow(1);
    m_counts->edit();
    m_counts->field("ABUNDANCE")->setValue(20.1);
    QVERIFY(m_counts->post());
    QTRY_COMPARE(m_grid->footerText(AbundanceColumn), QStringLiteral("60.85"));

    // Insert: the count follows once the new row is stored with its key.
    m_counts->append();
    m_counts->field("ABUNDANCE")->setValue(4.0);
    m_counts->field("BIOMASS")->setValue(1.0);
    QVERIFY(m_counts->post());
    QTRY_COMPARE(m_grid->footerText(AbundanceColumn), QStringLiteral("64.85"));
    QCOMPARE(m_grid->footerText(BiomassColumn), QStringLiteral("4.875"));
    QCOMPARE(m_grid->footerText(NoteColumn), QStringLiteral("4"));

    // Deletion.
    m_counts->setCurrentRow(0);
    QVERIFY(m_counts->remove());
    QTRY_COMPARE(m_grid->footerText(AbundanceColumn), QStringLiteral("54.35"));
    QCOMPARE(m_grid->footerText(BiomassColumn), QStringLiteral("3.625"));
    QCOMPARE(m_grid->footerText(NoteColumn), QStringLiteral("3"));

    // The footer is painted in its colour, below the rows.
    const QImage image = footer->grab().toImage();
    QCOMPARE(image.pixelColor(footer->width() - 2, footer->height() / 2), QColor(192, 255, 255));
    QVERIFY(footer->geometry().bottom() <= m_grid->viewport()->geometry().bottom());
    QVERIFY(footer->geometry().top() > m_grid->viewport()->geometry().top());
}

void TestGrid::footerCountReadsAllRows()
{
    DataFixture fixture(countsScript(40));
    db::DataSet* ds = countsDataSet(fixture);
    ds->setFetchBatch(5);
    ds->open();
    DBGrid grid;
    grid.setDataSource(fixture.source(ds));
    grid.setColumns({GridColumn("QTY").setFooterSum(), GridColumn("NOTE").setFooterCount()});
    QTRY_COMPARE(grid.footerText(1), QStringLiteral("43"));
    // 1 + 2 + 3 + (10 .. 49)
    QCOMPARE(grid.footerText(0), QString::number(6 + (10 + 49) * 40 / 2));
    QCOMPARE(grid.model()->rowCount(), 43);
}

void TestGrid::ctrlDeleteAsksFirst_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("rowsLeft");
    QTest::newRow("Cancel keeps the row") << false << false << 1 << 3;
    QTest::newRow("OK deletes it") << false << true << 1 << 2;
    QTest::newRow("read-only: not even asked") << true << true << 0 << 3;
}

void TestGrid::ctrlDeleteAsksFirst()
{
    QFETCH(bool, readOnly);
    QFETCH(bool, answer);
    QFETCH(int, questions);
    QFETCH(int, rowsLeft);
    int asked = 0;
    m_grid->setDeleteQuestion([&](QWidget* parent) {
        ++asked;
        return parent == m_grid && answer;
    });
    m_grid->setReadOnly(readOnly);
    select(1, 0);
    press(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(asked, questions);
    QCOMPARE(m_counts->recordCount(), rowsLeft);
    QCOMPARE(m_fixture->stored("SELECT COUNT(*) FROM COUNTS").toInt(), rowsLeft);
    QCOMPARE(m_fixture->stored("SELECT COUNT(*) FROM COUNTS WHERE ID = 2").toInt(), rowsLeft == 3 ? 1 : 0);
}

void TestGrid::lookupColumnSetsTheKey()
{
    m_grid->setRowSelect(false);
    select(0, TaxonColumn);
    press(Qt::Key_F2);
    auto* combo = qobject_cast<QComboBox*>(m_grid->cellEditor());
    QVERIFY(combo);
    QCOMPARE(combo->maxVisibleItems(), 15);
    QCOMPARE(combo->count(), 4);
    QCOMPARE(combo->currentText(), QStringLiteral("Acartia"));
    press(Qt::Key_Down); // the next name of the list
    QCOMPARE(m_counts->state(), db::DataSetState::Edit);
    QCOMPARE(m_counts->field("TAXON")->value().toInt(), 2);
    QCOMPARE(m_counts->field("TAXON_NAME")->displayText(), QStringLiteral("Calanus"));
    m_counts->post();
    QCOMPARE(m_fixture->stored("SELECT TAXON FROM COUNTS WHERE ID = 1").toInt(), 2);
    QCOMPARE(m_grid->model()->index(0, TaxonColumn).data().toString(), QStringLiteral("Calanus"));
}

void TestGrid::cellButtonSignalsItsPress()
{
    m_grid->setRowSelect(false);
    QSignalSpy pressed(m_grid, &DBGrid::cellButtonPressed);
    select(1, QtyColumn);
    press(Qt::Key_F2);
    auto* plain = qobject_cast<ui::GridCellEdit*>(m_grid->cellEditor());
    QVERIFY(plain);
    QVERIFY(!plain->button() || plain->button()->isHidden()); // only the chosen column has one
    press(Qt::Key_Escape);

    select(1, NoteColumn);
    press(Qt::Key_F2);
    auto* edit = qobject_cast<ui::GridCellEdit*>(m_grid->cellEditor());
    QVERIFY(edit && edit->button() && edit->button()->isVisible());
    QCOMPARE(edit->button()->text(), QStringLiteral("..."));
    QTest::mouseClick(edit->button(), Qt::LeftButton);
    QVERIFY(edit->hasFocus()); // the button takes no focus
    QVERIFY(pressed.wait(1000));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(0).toInt(), int(NoteColumn));

    // A handler may open a modal dialog that edits the row: the editor, closed by the dialog
    // taking the focus, doesn't write its old text over the dialog's change.
    connect(m_grid, &DBGrid::cellButtonPressed, this, [this] {
        QDialog dialog(m_window.get());
        auto* field = new QLineEdit(&dialog);
        QTimer::singleShot(0, &dialog, [&] {
            field->setFocus();
            m_counts->edit();
            m_counts->field("NOTE")->setValue("dialog");
            dialog.accept();
        });
        dialog.exec();
    });
    press(Qt::Key_F2);
    edit = qobject_cast<ui::GridCellEdit*>(m_grid->cellEditor());
    QVERIFY(edit);
    QTest::mouseClick(edit->button(), Qt::LeftButton);
    QTRY_COMPARE(pressed.count(), 2);
    QCOMPARE(m_counts->field("NOTE")->value().toString(), QStringLiteral("dialog"));
    showActive(m_window.get());
    m_grid->setFocus();
    QTRY_VERIFY(m_grid->hasFocus());
    press(Qt::Key_Down);
    QTRY_COMPARE(m_counts->currentRow(), 2);
    QCOMPARE(m_fixture->stored("SELECT NOTE FROM COUNTS WHERE ID = 2").toString(), QStringLiteral("dialog"));
}

void TestGrid::ctrlFFindsText()
{
    press(Qt::Key_F, Qt::ControlModifier);
    ui::GridSearchDialog* dialog = m_grid->searchDialog();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->isVisible());
    QTest::keyClicks(dialog->textEdit(), "thi");
    QTest::mouseClick(dialog->findButton(), Qt::LeftButton);
    QTRY_COMPARE(m_counts->currentRow(), 2);
    QCOMPARE(m_grid->currentIndex().column(), int(NoteColumn));

    dialog->textEdit()->setText("Calanus");
    QTest::mouseClick(dialog->findButton(), Qt::LeftButton); // goes round to the top
    QTRY_COMPARE(m_counts->currentRow(), 1);
    QCOMPARE(m_grid->currentIndex().column(), int(TaxonColumn));

    dialog->textEdit()->setText("nowhere");
    QTest::mouseClick(dialog->findButton(), Qt::LeftButton);
    QCOMPARE(dialog->findChild<QLabel*>("lblFindStatus")->text(), QStringLiteral("Text not found."));
    QCOMPARE(m_counts->currentRow(), 1);
}

void TestGrid::rowAndCellModes()
{
    // Whole rows, no editing.
    select(1, QtyColumn);
    QCOMPARE(m_grid->selectionModel()->selectedIndexes().size(), m_grid->model()->columnCount());
    type("5");
    press(Qt::Key_F2);
    QVERIFY(!m_grid->cellEditor());
    QCOMPARE(m_counts->state(), db::DataSetState::Browse);

    // Cells, editing in place; Tab goes to the next column.
    m_grid->setRowSelect(false);
    QCOMPARE(m_grid->selectionModel()->selectedIndexes().size(), 1);
    press(Qt::Key_Tab);
    QCOMPARE(m_grid->currentIndex().column(), int(NoteColumn));
    press(Qt::Key_Return);
    QVERIFY(m_grid->cellEditor());
    press(Qt::Key_Escape);
    QVERIFY(!m_grid->cellEditor());

    // Read-only: cells, but no editing.
    m_grid->setReadOnly(true);
    press(Qt::Key_F2);
    type("z");
    QVERIFY(!m_grid->cellEditor());
    QCOMPARE(m_counts->state(), db::DataSetState::Browse);

    // The selection stays visible without the focus.
    const QPalette p = m_grid->palette();
    QCOMPARE(p.color(QPalette::Inactive, QPalette::Highlight),
             p.color(QPalette::Active, QPalette::Highlight));
}

void TestGrid::fixedColumnsKeepTheirWidthStretchingOnesFill()
{
    auto widths = [this] {
        QList<int> w;
        for (int c = 0; c < m_grid->model()->columnCount(); ++c)
            w << m_grid->columnWidth(c);
        return w;
    };
    auto total = [](const QList<int>& w) { return std::accumulate(w.begin(), w.end(), 0); };

    QList<int> before = widths();
    QCOMPARE(before.at(AbundanceColumn), 80);
    QCOMPARE(before.at(BiomassColumn), 80);
    QCOMPARE(before.at(QtyColumn), 50);
    QCOMPARE(total(before), m_grid->viewport()->width());
    QVERIFY(qAbs(before.at(TaxonColumn) - 2 * before.at(NoteColumn)) <= 2); // asked 200 : 100

    m_window->resize(900, 300);
    QTRY_COMPARE(total(widths()), m_grid->viewport()->width());
    const QList<int> after = widths();
    QCOMPARE(after.at(AbundanceColumn), 80);
    QCOMPARE(after.at(QtyColumn), 50);
    QVERIFY(after.at(TaxonColumn) > before.at(TaxonColumn));
    QVERIFY(after.at(NoteColumn) > before.at(NoteColumn));

    // The two-line title row has room for the wrapped title.
    QVERIFY(m_grid->titleHeader()->height() >= 2 * m_grid->fontMetrics().lineSpacing());
}

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
