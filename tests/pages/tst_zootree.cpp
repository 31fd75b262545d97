// The "Samples" box of the zooplankton page: the tree follows the visits and the samples of a
// visit, the card follows the tree, and the box's leave rule.

#include "MainDataModule.h"
#include "SampleTree.h"
#include "pages_zooFixture.h"

#include <QLineEdit>
#include <QtTest>
#include <db/DataSet.h>
#include <db/Field.h>
#include <ui/DBEdit.h>
#include <ui/DBGrid.h>
#include <ui/DBNavigator.h>
#include <ui/DBTreeModel.h>
#include <ui/DBTreeView.h>

using zoo::clickButton;
using zoo::clickCell;
using zoo::clickInto;
using zoo::clickNode;

namespace {

// The layer text the tree shows for two depths as stored.
QString horizon(const QVariant& depth0, const QVariant& depth1)
{
    auto text = [](const QVariant& v) {
        return v.isNull() ? QStringLiteral("?") : QString::number(v.toDouble(), 'g', 15);
    };
    return QStringLiteral("%1 - %2 m").arg(text(depth0), text(depth1)).left(15);
}

// Counts the rebuilds the data module asks for and passes them on to the page's tree.
class CountingTree : public SampleTree
{
public:
    explicit CountingTree(SampleTree* inner) : m_inner(inner) {}
    void beginUpdate() override { m_inner->beginUpdate(); }
    void rebuild() override
    {
        ++rebuilds;
        m_inner->rebuild();
    }
    void endUpdate() override { m_inner->endUpdate(); }
    int rebuilds = 0;

private:
    SampleTree* m_inner;
};

QStringList nodeTexts(ui::DBTreeView* tree, const QModelIndex& parent = {})
{
    QStringList texts;
    const QAbstractItemModel* model = tree->model();
    for (int row = 0; row < model->rowCount(parent); ++row)
        texts.append(model->index(row, 0, parent).data().toString());
    return texts;
}

} // namespace

class TestZooTree : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void stationSwitchRebuildsTheTreeOnce();
    void selectingANodeMovesTheSamples();
    void newVisitGrowsItsTree();
    void leavingTheBoxDiscardsSelectingANodeSaves();

private:
    // Makes the visit at `row` of the stations grid current and waits until its samples show.
    void goToVisit(int row);
    // The stored samples of a visit: top-level horizons, and the sub-layer horizons of the first.
    QStringList storedTopLevel(const QVariant& visit) const;
    QStringList storedSubLayers(const QVariant& visit) const;
    int visitRowWithSubLayers(int other) const;

    zoo::ZooFixture m_fixture;
    TMainDataModule* m = nullptr;
    ui::DBGrid* m_stations = nullptr;
    ui::DBTreeView* m_tree = nullptr;
};

void TestZooTree::initTestCase()
{
    QString error;
    QVERIFY2(m_fixture.open(&error), qPrintable(error));
    m = m_fixture.module();
    m_stations = m_fixture.find<ui::DBGrid>("dbgStations1");
    m_tree = m_fixture.find<ui::DBTreeView>("DBTreeView1");
    QVERIFY(m_stations && m_tree);
    QVERIFY(m->dtsStations->recordCount() > 2);
}

void TestZooTree::cleanupTestCase()
{
    m_fixture.close();
}

QStringList TestZooTree::storedTopLevel(const QVariant& visit) const
{
    QStringList texts;
    for (const QVariantList& r :
         m_fixture.storedRows(QStringLiteral("SELECT DEPTH_0, DEPTH_1 FROM SAMPLES_PL WHERE STATION = ? "
                                             "AND PARENT IS NULL ORDER BY DEPTH_0, ID"),
                              {visit}))
        texts.append(horizon(r.at(0), r.at(1)));
    return texts;
}

QStringList TestZooTree::storedSubLayers(const QVariant& visit) const
{
    QStringList texts;
    for (const QVariantList& r : m_fixture.storedRows(
             QStringLiteral(
                 "SELECT S.DEPTH_0, S.DEPTH_1 FROM SAMPLES_PL S WHERE S.PARENT = (SELECT FIRST 1 T.ID FROM "
                 "SAMPLES_PL T WHERE T.STATION = ? AND T.PARENT IS NULL ORDER BY T.DEPTH_0, T.ID) "
                 "ORDER BY S.DEPTH_0, S.ID"),
             {visit}))
        texts.append(horizon(r.at(0), r.at(1)));
    return texts;
}

int TestZooTree::visitRowWithSubLayers(int other) const
{
    const db::Field* id = m->dtsStations->field(QStringLiteral("ID"));
    for (int row = 0; row < m->dtsStations->recordCount(); ++row)
        if (row != other && storedSubLayers(id->value(row)).size() >= 2)
            return row;
    return -1;
}

void TestZooTree::goToVisit(int row)
{
    clickCell(m_stations, row, 1);
    const QVariant visit = m->dtsStations->field(QStringLiteral("ID"))->value(row);
    QTRY_COMPARE(m->dtsStations->currentRow(), row);
    QTRY_VERIFY(m->dtsSamples1->isActive() &&
                m->dtsSamples1->paramValue(QStringLiteral("ID")).toLongLong() == visit.toLongLong());
    QTRY_COMPARE(nodeTexts(m_tree), storedTopLevel(visit));
}

void TestZooTree::stationSwitchRebuildsTheTreeOnce()
{
    const int first = m->dtsStations->currentRow();
    const int target = visitRowWithSubLayers(first);
    QVERIFY2(target >= 0, "the demo season has no visit with two sub-layers");
    const QVariant firstVisit = m->dtsStations->field(QStringLiteral("ID"))->value(first);
    const QVariant visit = m->dtsStations->field(QStringLiteral("ID"))->value(target);
    QCOMPARE(nodeTexts(m_tree), storedTopLevel(firstVisit));

    SampleTree* pageTree = m->sampleTree();
    QVERIFY(pageTree);
    CountingTree counting(pageTree);
    m->setSampleTree(&counting);
    const auto restore = qScopeGuard([&] { m->setSampleTree(pageTree); });

    goToVisit(target);
    QTRY_COMPARE(counting.rebuilds, 1);
    // The rest of the chain (counts, sub-taxon counts) re-reads after its own wait; none of it
    // may rebuild the tree again.
    QTRY_VERIFY(m->dtsDetails->isActive());
    QTest::qWait(700);
    QCOMPARE(counting.rebuilds, 1);

    // The top-level sample is current, expanded at once with all its sub-layers.
    const QModelIndex top = m_tree->model()->index(0, 0);
    QCOMPARE(m_tree->currentIndex(), top);
    QVERIFY(m_tree->isExpanded(top));
    QCOMPARE(nodeTexts(m_tree, top), storedSubLayers(visit));
    // Sub-layers have no children of their own.
    for (int row = 0; row < m_tree->model()->rowCount(top); ++row)
        QCOMPARE(m_tree->model()->rowCount(m_tree->model()->index(row, 0, top)), 0);

    goToVisit(first);
    QTRY_COMPARE(counting.rebuilds, 2);
    QCOMPARE(nodeTexts(m_tree), storedTopLevel(firstVisit));
}

void TestZooTree::selectingANodeMovesTheSamples()
{
    const int target = visitRowWithSubLayers(-1);
    QVERIFY(target >= 0);
    goToVisit(target);
    const QModelIndex top = m_tree->model()->index(0, 0);
    QTRY_COMPARE(m_tree->model()->rowCount(top), 2);

    const QModelIndex second = m_tree->model()->index(1, 0, top);
    const QVariant secondKey = m_tree->treeModel()->keyOf(second);
    clickNode(m_tree, second);
    QTRY_COMPARE(m->dtsSamples1->field(QStringLiteral("ID"))->value().toLongLong(), secondKey.toLongLong());
    auto* from = m_fixture.find<ui::DBEdit>("edtFrom");
    auto* to = m_fixture.find<ui::DBEdit>("edtTo");
    QVERIFY(from && to);
    const QList<QVariantList> depths = m_fixture.storedRows(
        QStringLiteral("SELECT DEPTH_0, DEPTH_1 FROM SAMPLES_PL WHERE ID = ?"), {secondKey});
    QCOMPARE(from->text(), m->dtsSamples1->field(QStringLiteral("DEPTH_0"))->displayText());
    QCOMPARE(horizon(depths.at(0).at(0), depths.at(0).at(1)), m_tree->model()->data(second).toString());
    QVERIFY(from->text().endsWith(QStringLiteral("\u043C"))); // the Cyrillic metre of the format
    // The counts below follow the sample.
    QTRY_COMPARE(m->dtsPlankton->paramValue(QStringLiteral("ID")).toLongLong(), secondKey.toLongLong());
    QTRY_COMPARE(
        m->dtsPlankton->recordCount(),
        m_fixture.stored(QStringLiteral("SELECT COUNT(*) FROM PLANKTON WHERE SAMPLE = ?"), {secondKey})
            .toInt());

    // Collapsed by hand, the top-level sample opens again with its sub-layers when selected.
    m_tree->collapse(top);
    QVERIFY(!m_tree->isExpanded(top));
    clickNode(m_tree, top);
    QTRY_COMPARE(m->dtsSamples1->field(QStringLiteral("ID"))->value().toLongLong(),
                 m_tree->treeModel()->keyOf(top).toLongLong());
    QVERIFY(m_tree->isExpanded(top));
    QCOMPARE(m_tree->model()->rowCount(top), 2);
}

void TestZooTree::newVisitGrowsItsTree()
{
    m_fixture.setEditMode(true);
    const auto browse = qScopeGuard([this] { m_fixture.setEditMode(false); });
    auto* stationsNavigator = m_fixture.find<ui::DBNavigator>("dbnStations1");
    auto* samplesNavigator = m_fixture.find<ui::DBNavigator>("dbnSamples1");
    auto* from = m_fixture.find<ui::DBEdit>("edtFrom");
    auto* to = m_fixture.find<ui::DBEdit>("edtTo");

    // A new visit, through the station dialog, saved.
    clickCell(m_stations, 0, 1);
    zoo::ModalHandler dialog([](QWidget* modal) {
        QTest::keyClicks(modal->findChild<QLineEdit*>(QStringLiteral("edtNo")), QStringLiteral("91"));
        QTest::mouseClick(modal->findChild<QWidget*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    });
    clickButton(stationsNavigator, ui::DBNavigator::Insert);
    QVERIFY(dialog.done());
    QCOMPARE(m->dtsStations->state(), db::DataSetState::Insert);
    clickButton(stationsNavigator, ui::DBNavigator::Post);
    QCOMPARE(m->dtsStations->state(), db::DataSetState::Browse);
    const QVariant visit = m->dtsStations->field(QStringLiteral("ID"))->value();
    QCOMPARE(m_fixture.stored(QStringLiteral("SELECT STATION FROM STATIONS_P WHERE ID = ?"), {visit}).toInt(),
             91);
    QTRY_VERIFY(m->dtsSamples1->isActive() &&
                m->dtsSamples1->paramValue(QStringLiteral("ID")).toLongLong() == visit.toLongLong());
    QTRY_COMPARE(m_tree->model()->rowCount(), 0);

    // Its first sample is a top-level one reading "? - ? m" until its depths are entered.
    clickButton(samplesNavigator, ui::DBNavigator::Insert);
    QCOMPARE(m->dtsSamples1->state(), db::DataSetState::Insert);
    QTRY_COMPARE(nodeTexts(m_tree), QStringList{QStringLiteral("? - ? m")});
    clickInto(from);
    QTest::keyClicks(from, QStringLiteral("0"));
    clickInto(to); // leaving the depth edit shows the depth on the node
    QTRY_COMPARE(nodeTexts(m_tree), QStringList{QStringLiteral("0 - ? m")});
    QTest::keyClicks(to, QStringLiteral("12.5"));
    clickButton(samplesNavigator, ui::DBNavigator::Post);
    QCOMPARE(m->dtsSamples1->state(), db::DataSetState::Browse);
    QTRY_COMPARE(nodeTexts(m_tree), QStringList{QStringLiteral("0 - 12.5 m")});
    const QVariant top = m->dtsSamples1->field(QStringLiteral("ID"))->value();
    QCOMPARE(
        m_fixture.storedRows(
            QStringLiteral("SELECT STATION, PARENT, DEPTH_0, DEPTH_1 FROM SAMPLES_PL WHERE ID = ?"), {top}),
        (QList<QVariantList>{{visit.toInt(), QVariant(), 0.0, 12.5}}));

    // The next sample is a sub-layer of the top-level one.
    clickButton(samplesNavigator, ui::DBNavigator::Insert);
    QCOMPARE(m->dtsSamples1->state(), db::DataSetState::Insert);
    const QModelIndex topNode = m_tree->model()->index(0, 0);
    QTRY_COMPARE(nodeTexts(m_tree, topNode), QStringList{QStringLiteral("? - ? m")});
    clickInto(from);
    QTest::keyClicks(from, QStringLiteral("5"));
    clickButton(samplesNavigator, ui::DBNavigator::Post);
    QTRY_COMPARE(nodeTexts(m_tree, m_tree->model()->index(0, 0)), QStringList{QStringLiteral("5 - ? m")});
    QCOMPARE(nodeTexts(m_tree), QStringList{QStringLiteral("0 - 12.5 m")});
    const QVariant sub = m->dtsSamples1->field(QStringLiteral("ID"))->value();
    QCOMPARE(
        m_fixture.stored(QStringLiteral("SELECT PARENT FROM SAMPLES_PL WHERE ID = ?"), {sub}).toLongLong(),
        top.toLongLong());

    // Under a sub-layer nothing can be inserted.
    clickButton(samplesNavigator, ui::DBNavigator::Insert);
    QCOMPARE(m->dtsSamples1->state(), db::DataSetState::Browse);
    QCOMPARE(m->dtsSamples1->recordCount(), 2);
    QCOMPARE(m_tree->model()->rowCount(m_tree->model()->index(0, 0, m_tree->model()->index(0, 0))), 0);
    QCOMPARE(m_fixture.stored(QStringLiteral("SELECT COUNT(*) FROM SAMPLES_PL WHERE STATION = ?"), {visit})
                 .toInt(),
             2);
}

void TestZooTree::leavingTheBoxDiscardsSelectingANodeSaves()
{
    const int target = visitRowWithSubLayers(-1);
    QVERIFY(target >= 0);
    goToVisit(target);
    m_fixture.setEditMode(true);
    const auto browse = qScopeGuard([this] { m_fixture.setEditMode(false); });
    auto* temperature = m_fixture.find<ui::DBEdit>("edtTemperature1");
    const QModelIndex top = m_tree->model()->index(0, 0);
    const QVariant topKey = m_tree->treeModel()->keyOf(top);
    const QString sql = QStringLiteral("SELECT TEMPERATURE FROM SAMPLES_PL WHERE ID = ?");
    const QVariant before = m_fixture.stored(sql, {topKey});

    // Typed, then the focus goes to the plankton grid: the change is gone.
    clickInto(temperature);
    temperature->selectAll();
    QTest::keyClicks(temperature, QStringLiteral("31.5"));
    QVERIFY(temperature->hasFocus());
    clickInto(m_fixture.find<QWidget>("dbgPlankton1"));
    QCOMPARE(m->dtsSamples1->state(), db::DataSetState::Browse);
    QCOMPARE(temperature->text(), m->dtsSamples1->field(QStringLiteral("TEMPERATURE"))->displayText());
    QVERIFY(temperature->text() != QStringLiteral("31.5"));
    QCOMPARE(m_fixture.stored(sql, {topKey}), before);

    // Typed, then another node selected: the change is stored.
    clickInto(temperature);
    temperature->selectAll();
    QTest::keyClicks(temperature, QStringLiteral("31.5"));
    clickNode(m_tree, m_tree->model()->index(0, 0, top));
    QTRY_COMPARE(m->dtsSamples1->state(), db::DataSetState::Browse);
    QTRY_COMPARE(m_fixture.stored(sql, {topKey}).toDouble(), 31.5);
    QVERIFY(m->dtsSamples1->field(QStringLiteral("ID"))->value() != topKey);
}

QTEST_MAIN(TestZooTree)
#include "tst_zootree.moc"
