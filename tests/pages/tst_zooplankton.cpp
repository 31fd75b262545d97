// The "Plankton" box of the zooplankton page: the counts grid with its taxon drop-down and
// footer sums, and the details panel that the user sizes and closes.

#include "MainDataModule.h"
#include "pages_zooFixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <db/DataSet.h>
#include <db/Field.h>
#include <db/NumberFormat.h>
#include <ui/DBGrid.h>
#include <ui/DBNavigator.h>
#include <ui/SizePanel.h>

using zoo::clickButton;
using zoo::clickCell;

namespace {

enum Column
{
    TaxonColumn,
    AbundanceColumn,
    BiomassColumn
};

} // namespace

class TestZooPlankton : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void footersFollowInsertChangeAndDelete();
    void detailsPanelLimitAndHotSpot();

private:
    // The footer sums as the stored counts of the current sample give them.
    void expectFooters(const QVariant& sample);
    // Opens the in-place editor of the current row's cell in `column`.
    QWidget* openEditor(int column);

    zoo::ZooFixture m_fixture;
    TMainDataModule* m = nullptr;
    ui::DBGrid* m_grid = nullptr;
    ui::DBNavigator* m_navigator = nullptr;
};

void TestZooPlankton::initTestCase()
{
    QString error;
    QVERIFY2(m_fixture.open(&error), qPrintable(error));
    m = m_fixture.module();
    m_grid = m_fixture.find<ui::DBGrid>("dbgPlankton1");
    m_navigator = m_fixture.find<ui::DBNavigator>("dbnPlankton1");
    QVERIFY(m_grid && m_navigator);
    QTRY_VERIFY(m->dtsPlankton->isActive() && m->dtsPlankton->recordCount() > 0);
}

void TestZooPlankton::cleanupTestCase()
{
    m_fixture.close();
}

void TestZooPlankton::expectFooters(const QVariant& sample)
{
    const QList<QVariantList> sums = m_fixture.storedRows(
        QStringLiteral(
            "SELECT COALESCE(SUM(ABUNDANCE), 0), COALESCE(SUM(BIOMASS), 0) FROM PLANKTON WHERE SAMPLE = ?"),
        {sample});
    QCOMPARE(m_grid->footerText(TaxonColumn), QStringLiteral("Total:"));
    QTRY_COMPARE(m_grid->footerText(AbundanceColumn),
                 db::formatFloat(sums.at(0).at(0).toDouble(), QStringLiteral("0.###")));
    QTRY_COMPARE(m_grid->footerText(BiomassColumn),
                 db::formatFloat(sums.at(0).at(1).toDouble(), QStringLiteral("0.###")));
}

QWidget* TestZooPlankton::openEditor(int column)
{
    QTest::keyClick(m_grid, Qt::Key_Home);
    for (int i = 0; i < column; ++i)
        QTest::keyClick(m_grid, Qt::Key_Right);
    if (m_grid->currentIndex().column() != column)
        return nullptr;
    QTest::keyClick(m_grid, Qt::Key_F2);
    return m_grid->cellEditor();
}

void TestZooPlankton::footersFollowInsertChangeAndDelete()
{
    m_fixture.setEditMode(true);
    const auto browse = qScopeGuard([this] { m_fixture.setEditMode(false); });
    const QVariant sample = m->dtsSamples1->field(QStringLiteral("ID"))->value();
    QTRY_COMPARE(m->dtsPlankton->paramValue(QStringLiteral("ID")).toLongLong(), sample.toLongLong());
    expectFooters(sample);

    // A taxon without sub-taxa that the sample hasn't counted yet.
    const QList<QVariantList> free = m_fixture.storedRows(
        QStringLiteral("SELECT FIRST 1 T.ID, T.TAXON FROM TAXONS_P T WHERE T.PARENT IS NULL "
                       "AND NOT EXISTS (SELECT 1 FROM TAXONS_P C WHERE C.PARENT = T.ID) "
                       "AND NOT EXISTS (SELECT 1 FROM PLANKTON P WHERE P.SAMPLE = ? AND P.TAXON = T.ID) "
                       "ORDER BY T.TAXON DESC"),
        {sample});
    QCOMPARE(free.size(), 1);
    const int taxon = free.at(0).at(0).toInt();
    const QString taxonName = free.at(0).at(1).toString();

    // Insert: the taxon chosen from the drop-down, an abundance typed.
    clickCell(m_grid, 0, AbundanceColumn);
    clickButton(m_navigator, ui::DBNavigator::Insert);
    QCOMPARE(m->dtsPlankton->state(), db::DataSetState::Insert);
    auto* combo = qobject_cast<QComboBox*>(openEditor(TaxonColumn));
    QVERIFY(combo);
    QCOMPARE(combo->maxVisibleItems(), 15);
    const int item = combo->findText(taxonName);
    QVERIFY(item >= 0);
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QTRY_VERIFY(list->isVisible());
    const QModelIndex choice = list->model()->index(item, 0);
    list->scrollTo(choice);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(choice).center());
    QTRY_COMPARE(m->dtsPlankton->field(QStringLiteral("TAXON"))->value().toInt(), taxon);
    QCOMPARE(m->dtsPlankton->field(QStringLiteral("TAXON_NAME"))->displayText(), taxonName);

    auto* abundance = qobject_cast<QLineEdit*>(openEditor(AbundanceColumn));
    QVERIFY(abundance);
    abundance->selectAll();
    QTest::keyClicks(abundance, QStringLiteral("100.25"));
    clickButton(m_navigator, ui::DBNavigator::Post);
    QCOMPARE(m->dtsPlankton->state(), db::DataSetState::Browse);
    const QString rowSql = QStringLiteral("SELECT ABUNDANCE FROM PLANKTON WHERE SAMPLE = ? AND TAXON = ?");
    QCOMPARE(m_fixture.stored(rowSql, {sample, taxon}).toDouble(), 100.25);
    QCOMPARE(m_grid->model()->index(m->dtsPlankton->currentRow(), TaxonColumn).data().toString(), taxonName);
    expectFooters(sample);

    // Change.
    abundance = qobject_cast<QLineEdit*>(openEditor(AbundanceColumn));
    QVERIFY(abundance);
    abundance->selectAll();
    QTest::keyClicks(abundance, QStringLiteral("2500"));
    clickButton(m_navigator, ui::DBNavigator::Post);
    QCOMPARE(m_fixture.stored(rowSql, {sample, taxon}).toDouble(), 2500.0);
    expectFooters(sample);

    // Deletion with Ctrl+Delete, after the question.
    zoo::ModalHandler confirm([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QTest::keyClick(m_grid, Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(confirm.done());
    QVERIFY(m_fixture.stored(rowSql, {sample, taxon}).isNull());
    expectFooters(sample);
}

void TestZooPlankton::detailsPanelLimitAndHotSpot()
{
    auto* box = m_fixture.find<QGroupBox>("GroupBox4");
    auto* panel = m_fixture.find<ui::SizePanel>("RzSizePanel1");
    QVERIFY(box && panel);
    QCOMPARE(panel->height(), 136);
    const int limit = box->height() / 2;
    const int bottom = panel->geometry().bottom();
    const QPoint onBar(10, panel->sizeBarWidth() / 2);
    QVERIFY(!panel->hotSpotRect().contains(onBar));

    // Dragged far up, the panel stops at half of the box.
    QTest::mousePress(panel, Qt::LeftButton, {}, onBar);
    QTest::mouseMove(panel, onBar - QPoint(0, box->height()));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, onBar - QPoint(0, box->height()));
    QTRY_COMPARE(panel->height(), limit);
    QCOMPARE(panel->geometry().bottom(), bottom);
    QTRY_COMPARE(m_grid->geometry().bottom(), panel->geometry().top() - 1);

    // The hot spot closes it down to the bar, then restores it.
    const QPoint hotSpot = panel->hotSpotRect().center();
    QTest::mouseClick(panel, Qt::LeftButton, {}, hotSpot);
    QTRY_COMPARE(panel->height(), panel->sizeBarWidth());
    QCOMPARE(panel->geometry().bottom(), bottom);
    QTRY_COMPARE(m_grid->geometry().bottom(), panel->geometry().top() - 1);
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->hotSpotRect().center());
    QTRY_COMPARE(panel->height(), limit);
}

QTEST_MAIN(TestZooPlankton)
#include "tst_zooplankton.moc"
