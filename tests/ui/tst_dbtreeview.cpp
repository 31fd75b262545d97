#include "ui_DataFixture.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <db/Error.h>
#include <ui/DBTreeModel.h>
#include <ui/DBTreeView.h>

namespace {

// Layers and sub-layers: 1 > (2 > 6, 3), 4 > 5, 7; read in the order PARENT (empty first),
// DEPTH_0, ID.
const char* const Script =
    "CREATE TABLE NODES (ID INTEGER NOT NULL PRIMARY KEY, PARENT INTEGER, DEPTH_0 DOUBLE PRECISION,"
    " DEPTH_1 DOUBLE PRECISION, CONSTRAINT DEPTH_0_NOT_NEGATIVE CHECK (DEPTH_0 >= 0));"
    "CREATE GENERATOR GEN_NODES_ID;"
    "SET GENERATOR GEN_NODES_ID TO 100;"
    "INSERT INTO NODES VALUES (1, NULL, 0, 10);"
    "INSERT INTO NODES VALUES (2, 1, 0, 5);"
    "INSERT INTO NODES VALUES (3, 1, 5, 10);"
    "INSERT INTO NODES VALUES (4, NULL, 10, 20);"
    "INSERT INTO NODES VALUES (5, 4, 10, 15);"
    "INSERT INTO NODES VALUES (6, 2, 0, 2);"
    "INSERT INTO NODES VALUES (7, NULL, 20, 30);";

QString depthText(const db::Field* f)
{
    return f->isNull() ? QStringLiteral("?") : QString::number(f->asFloat());
}

} // namespace

class TestDBTreeView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void branchesAreReadWhenFirstExpanded();
    void selectionExpandsSingleBranch();
    void followsTheDataSetBothWays();
    void nodeFollowsTheEditedRecord();
    void countChangeRebuilds();
    void explicitRebuildInsideUpdateBracket();
    void selectingAnotherNodeSavesThePendingChange();
    void settingsOfTheLook();

private:
    QModelIndex node(int key) const { return m_tree->treeModel()->indexOfKey(key); }
    QString text(int key) const { return node(key).data().toString(); }
    void click(int key);

    std::unique_ptr<DataFixture> m_fixture;
    db::DataSet* m_nodes = nullptr;
    db::DataSource* m_source = nullptr;
    std::unique_ptr<QWidget> m_window;
    ui::DBTreeView* m_tree = nullptr;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

void TestDBTreeView::init()
{
    m_fixture = std::make_unique<DataFixture>(QString::fromLatin1(Script));
    m_nodes = m_fixture->dataSet(QStringLiteral("dtsSamples1"));
    const QString columns = QStringLiteral("ID, PARENT, DEPTH_0, DEPTH_1");
    m_nodes->setSelectSql(
        QStringLiteral("SELECT %1 FROM NODES ORDER BY PARENT NULLS FIRST, DEPTH_0, ID").arg(columns));
    m_nodes->setRefreshSql(QStringLiteral("SELECT %1 FROM NODES WHERE ID = :ID").arg(columns));
    m_nodes->setInsertSql(
        QStringLiteral("INSERT INTO NODES (%1) VALUES (:ID, :PARENT, :DEPTH_0, :DEPTH_1)").arg(columns));
    m_nodes->setUpdateSql(QStringLiteral(
        "UPDATE NODES SET PARENT = :PARENT, DEPTH_0 = :DEPTH_0, DEPTH_1 = :DEPTH_1 WHERE ID = :OLD_ID"));
    m_nodes->setDeleteSql(QStringLiteral("DELETE FROM NODES WHERE ID = :OLD_ID"));
    m_nodes->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_NODES_ID"));
    m_nodes->addField(QStringLiteral("ID"), db::FieldType::Integer);
    m_nodes->addField(QStringLiteral("PARENT"), db::FieldType::Integer);
    m_nodes->addField(QStringLiteral("DEPTH_0"), db::FieldType::Float);
    m_nodes->addField(QStringLiteral("DEPTH_1"), db::FieldType::Float);
    m_nodes->addCalculatedField(QStringLiteral("HORIZON"), db::FieldType::String, 15);
    connect(m_nodes, &db::DataSet::calcFields, this, [this] {
        m_nodes->field(QStringLiteral("HORIZON"))
            ->setValue(QStringLiteral("%1 - %2 m")
                           .arg(depthText(m_nodes->field(QStringLiteral("DEPTH_0"))),
                                depthText(m_nodes->field(QStringLiteral("DEPTH_1")))));
    });
    m_source = m_fixture->source(m_nodes);
    m_nodes->open();

    m_window = std::make_unique<QWidget>();
    new QVBoxLayout(m_window.get());
    m_tree = new ui::DBTreeView(m_window.get());
    m_tree->setObjectName(QStringLiteral("DBTreeView1"));
    m_window->layout()->addWidget(m_tree);
    m_window->resize(250, 400);
    m_tester = std::make_unique<QAbstractItemModelTester>(
        m_tree->treeModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    m_tree->setKeyField(QStringLiteral("ID"));
    m_tree->setParentField(QStringLiteral("PARENT"));
    m_tree->setTextField(QStringLiteral("HORIZON"));
    m_tree->setDataSource(m_source);
    showActive(m_window.get());
}

void TestDBTreeView::cleanup()
{
    m_tester.reset();
    m_window.reset();
    m_fixture.reset();
}

void TestDBTreeView::click(int key)
{
    const QModelIndex index = node(key);
    QVERIFY2(index.isValid(), qPrintable(QString::number(key)));
    m_tree->scrollTo(index);
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualRect(index).center());
}

void TestDBTreeView::branchesAreReadWhenFirstExpanded()
{
    const ui::DBTreeModel* model = m_tree->treeModel();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("0 - 10 m"));
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("10 - 20 m"));
    QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("20 - 30 m"));
    // The first record is current: its node is selected, which expanded it.
    QCOMPARE(m_tree->currentKey().toInt(), 1);
    QVERIFY(m_tree->isExpanded(node(1)));
    QCOMPARE(model->rowCount(node(1)), 2);
    QCOMPARE(text(3), QStringLiteral("5 - 10 m"));

    // Not read yet: the node knows it has children but holds none.
    QVERIFY(!model->isLoaded(node(4)));
    QVERIFY(model->hasChildren(node(4)));
    QCOMPARE(model->rowCount(node(4)), 0);
    QVERIFY(!node(5).isValid());
    QVERIFY(!model->hasChildren(node(7)));
    QVERIFY(!model->isLoaded(node(2)));

    m_tree->expand(node(4));
    QVERIFY(model->isLoaded(node(4)));
    QCOMPARE(model->rowCount(node(4)), 1);
    QCOMPARE(text(5), QStringLiteral("10 - 15 m"));
    m_tree->collapse(node(4));
    QCOMPARE(model->rowCount(node(4)), 1); // kept
    QCOMPARE(m_nodes->currentRow(), 0);    // reading moved nothing
}

void TestDBTreeView::selectionExpandsSingleBranch()
{
    QSignalSpy changed(m_tree, &ui::DBTreeView::nodeChanged);
    click(2);
    QVERIFY(m_tree->isExpanded(node(1))); // an ancestor of the new selection stays open
    QVERIFY(m_tree->isExpanded(node(2)));
    QCOMPARE(changed.count(), 1);

    click(4);
    QVERIFY(m_tree->isExpanded(node(4)));
    QVERIFY(!m_tree->isExpanded(node(2)));
    QVERIFY(!m_tree->isExpanded(node(1)));

    // By keys as well: Down from 4 reaches its child 5, then 7 closes the branch of 5 and 4.
    m_tree->setFocus();
    QTest::keyClick(m_tree, Qt::Key_Down);
    QCOMPARE(m_tree->currentKey().toInt(), 5);
    QVERIFY(m_tree->isExpanded(node(4)));
    QTest::keyClick(m_tree, Qt::Key_Down);
    QCOMPARE(m_tree->currentKey().toInt(), 7);
    QVERIFY(!m_tree->isExpanded(node(4)));
    QCOMPARE(changed.count(), 4);
}

void TestDBTreeView::followsTheDataSetBothWays()
{
    QSignalSpy changed(m_tree, &ui::DBTreeView::nodeChanged);
    // The dataset moves: the tree reads the branches down to the record and selects it.
    QVERIFY(m_nodes->locate(QStringLiteral("ID"), 6));
    QCOMPARE(m_tree->currentKey().toInt(), 6);
    QVERIFY(m_tree->selectionModel()->isSelected(node(6)));
    QVERIFY(m_tree->isExpanded(node(2)));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QModelIndex>(), node(6));

    QVERIFY(m_nodes->locate(QStringLiteral("ID"), 5));
    QCOMPARE(m_tree->currentKey().toInt(), 5);

    // The user selects: the dataset moves.
    click(7);
    QCOMPARE(m_nodes->field(QStringLiteral("ID"))->asInteger(), 7);
    click(3);
    QCOMPARE(m_nodes->field(QStringLiteral("ID"))->asInteger(), 3);
    m_nodes->first();
    QCOMPARE(m_tree->currentKey().toInt(), 1);

    // Closed: an empty tree; opened again: the first record selected.
    m_nodes->close();
    QCOMPARE(m_tree->treeModel()->rowCount(), 0);
    m_nodes->open();
    QCOMPARE(m_tree->treeModel()->rowCount(), 3);
    QCOMPARE(m_tree->currentKey().toInt(), 1);
}

void TestDBTreeView::nodeFollowsTheEditedRecord()
{
    QVERIFY(m_nodes->locate(QStringLiteral("ID"), 5));
    QVERIFY(m_nodes->edit());
    m_nodes->field(QStringLiteral("DEPTH_0"))->setValue(11.5);
    QCOMPARE(text(5), QStringLiteral("11.5 - 15 m"));

    m_nodes->field(QStringLiteral("PARENT"))->setValue(1);
    QCOMPARE(m_tree->treeModel()->keyOf(node(5).parent()).toInt(), 1);
    QCOMPARE(m_tree->currentKey().toInt(), 5);
    QCOMPARE(text(5), QStringLiteral("11.5 - 15 m"));

    m_nodes->cancel();
    QCOMPARE(text(5), QStringLiteral("10 - 15 m"));
    QCOMPARE(m_tree->treeModel()->keyOf(node(5).parent()).toInt(), 4);
}

void TestDBTreeView::countChangeRebuilds()
{
    QVERIFY(m_nodes->locate(QStringLiteral("ID"), 7));
    QVERIFY(m_nodes->insert());
    // The new record has no key yet; its node shows at once, at the top level.
    const QModelIndex fresh = m_tree->treeModel()->indexOfKey(QVariant());
    QVERIFY(fresh.isValid());
    QVERIFY(!fresh.parent().isValid());
    QCOMPARE(fresh.data().toString(), QStringLiteral("? - ? m"));
    QCOMPARE(m_tree->currentIndex(), fresh);
    m_nodes->field(QStringLiteral("DEPTH_0"))->setValue(30);
    QCOMPARE(m_tree->treeModel()->indexOfKey(QVariant()).data().toString(), QStringLiteral("30 - ? m"));

    QVERIFY(m_nodes->post());
    QCOMPARE(m_nodes->field(QStringLiteral("ID"))->asInteger(), 101);
    QVERIFY(node(101).isValid());
    QVERIFY(!m_tree->treeModel()->indexOfKey(QVariant()).isValid());
    QCOMPARE(m_tree->currentKey().toInt(), 101);
    QCOMPARE(m_tree->treeModel()->rowCount(), 4);
    QVERIFY(m_tree->treeModel()->isLoaded(node(1))); // the branch read before stays read

    QVERIFY(m_nodes->remove());
    QVERIFY(!node(101).isValid());
    QCOMPARE(m_tree->treeModel()->rowCount(), 3);
    QCOMPARE(m_tree->currentKey(), m_nodes->field(QStringLiteral("ID"))->value());

    // A cancelled insert leaves no node behind.
    QVERIFY(m_nodes->insert());
    m_nodes->cancel();
    QVERIFY(!m_tree->treeModel()->indexOfKey(QVariant()).isValid());
    QCOMPARE(m_tree->treeModel()->rowCount(), 3);
}

void TestDBTreeView::explicitRebuildInsideUpdateBracket()
{
    m_fixture->stored(QStringLiteral("UPDATE NODES SET DEPTH_1 = 99 WHERE ID = 7"));
    m_nodes->fullRefresh(); // the same number of records: no rebuild of its own
    QCOMPARE(text(7), QStringLiteral("20 - 30 m"));

    m_tree->beginUpdate();
    QVERIFY(!m_tree->updatesEnabled());
    m_tree->rebuild();
    QCOMPARE(text(7), QStringLiteral("20 - 99 m"));
    m_tree->endUpdate();
    QVERIFY(m_tree->updatesEnabled());
    QVERIFY(m_tree->isExpanded(node(1)));
    QCOMPARE(m_tree->currentKey().toInt(), 1);

    // A record moved under a branch not read yet: its node goes until that branch is read.
    m_fixture->stored(QStringLiteral("UPDATE NODES SET PARENT = 7 WHERE ID = 4"));
    m_nodes->fullRefresh();
    m_tree->rebuildInUpdateBracket();
    QVERIFY(m_tree->updatesEnabled());
    QCOMPARE(m_tree->treeModel()->rowCount(), 2);
    QVERIFY(!node(4).isValid()); // now under 7, which hasn't shown its children
    m_tree->expand(node(7));
    QVERIFY(node(4).isValid());
}

void TestDBTreeView::selectingAnotherNodeSavesThePendingChange()
{
    QVERIFY(m_nodes->edit());
    m_nodes->field(QStringLiteral("DEPTH_1"))->setValue(12);
    click(4);
    QCOMPARE(m_nodes->state(), db::DataSetState::Browse);
    QCOMPARE(m_nodes->field(QStringLiteral("ID"))->asInteger(), 4);
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT DEPTH_1 FROM NODES WHERE ID = 1")).toDouble(), 12.0);
    QCOMPARE(text(1), QStringLiteral("0 - 12 m"));

    // A post that fails keeps the record and its node current, and reports the error.
    QStringList errors;
    connect(m_tree, &ui::DBTreeView::errorOccurred, this,
            [&](const std::exception& e) { errors << db::errorText(e); });
    QVERIFY(m_nodes->edit());
    m_nodes->field(QStringLiteral("DEPTH_0"))->setValue(-1); // the database refuses it
    click(7);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(m_nodes->state(), db::DataSetState::Edit);
    QCOMPARE(m_nodes->field(QStringLiteral("ID"))->asInteger(), 4);
    QCOMPARE(m_tree->currentKey().toInt(), 4);
    QCOMPARE(text(4), QStringLiteral("-1 - 20 m"));
    m_nodes->cancel();
    QCOMPARE(text(4), QStringLiteral("10 - 20 m"));
}

void TestDBTreeView::settingsOfTheLook()
{
    QCOMPARE(m_tree->indentation(), 19);
    QVERIFY(m_tree->rootIsDecorated());
    QVERIFY(m_tree->showLines() && m_tree->showButtons() && m_tree->hotTrack() && m_tree->singleExpand());
    QCOMPARE(m_tree->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(m_tree->palette().color(QPalette::Inactive, QPalette::Highlight),
             m_tree->palette().color(QPalette::Active, QPalette::Highlight));
    // Hot tracking follows the mouse.
    QTest::mouseMove(m_tree->viewport(), m_tree->visualRect(node(4)).center());
    QTRY_COMPARE(m_tree->hotIndex(), QModelIndex(node(4)));
    // Read-only texts: F2 opens no editor.
    m_tree->setFocus();
    QTest::keyClick(m_tree, Qt::Key_F2);
    QCOMPARE(QApplication::focusWidget(), m_tree);
}

QTEST_MAIN(TestDBTreeView)
#include "tst_dbtreeview.moc"
