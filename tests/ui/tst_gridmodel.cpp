// The grid's model over a real dataset, and the grid's pure helpers (column widths, search).

#include "ui_GridData.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <db/Error.h>
#include <ui/GridColumnWidths.h>
#include <ui/GridModel.h>
#include <ui/GridSearch.h>

using namespace ui;

Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(std::vector<bool>)

class TestGridModel : public QObject
{
    Q_OBJECT

private slots:
    void passesTheTesterThroughTheDataSetsLife();
    void cellsReadTheFieldsOfEachRow();
    void rowsAreReadInBatches();
    void writesGoToTheCurrentRowOnly();
    void refusedTextIsReportedAndLeavesTheField();
    void columnWidths_data();
    void columnWidths();
    void searchGoesRoundOnceAndReadsMoreRows_data();
    void searchGoesRoundOnceAndReadsMoreRows();
};

void TestGridModel::passesTheTesterThroughTheDataSetsLife()
{
    DataFixture fixture(countsScript(6));
    db::DataSet* ds = countsDataSet(fixture);
    ds->setFetchBatch(4);
    db::DataSource* source = fixture.source(ds);

    GridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setDataSource(source);
    model.setColumns({GridColumn("TAXON_NAME"), GridColumn("ABUNDANCE"), GridColumn("QTY")});
    ds->open();
    QCOMPARE(model.rowCount(), 4);
    while (model.canFetchMore({}))
        model.fetchMore({});
    QCOMPARE(model.rowCount(), 9);

    ds->setCurrentRow(1);
    ds->edit();
    ds->field("QTY")->setValue(77);
    QCOMPARE(model.data(model.index(1, 2)).toString(), QStringLiteral("77"));
    ds->post();
    ds->insert();
    QCOMPARE(model.rowCount(), 10);
    ds->field("ABUNDANCE")->setValue(5.0);
    ds->post();
    ds->remove();
    QCOMPARE(model.rowCount(), 9);
    ds->append();
    ds->cancel();
    QCOMPARE(model.rowCount(), 9);
    ds->fullRefresh();
    model.setColumns({}); // columns from the fields
    QCOMPARE(model.columnCount(), ds->fieldCount());
    ds->close();
    QCOMPARE(model.rowCount(), 0);
    ds->open();
    QVERIFY(model.rowCount() > 0);
    source->setDataSet(nullptr);
    QCOMPARE(model.rowCount(), 0);
}

void TestGridModel::cellsReadTheFieldsOfEachRow()
{
    DataFixture fixture(countsScript());
    db::DataSet* ds = countsDataSet(fixture);
    GridModel model;
    model.setDataSource(fixture.source(ds));
    model.setColumns({GridColumn("TAXON_NAME"), GridColumn("ABUNDANCE").setTitle("Abundance, ind./cu.m"),
                      GridColumn("BIOMASS").setTitleWordWrap(true).setTitleAlignment(Qt::AlignHCenter)});
    ds->open();

    // Every row without moving the dataset: lookup texts, display formats, number alignment.
    QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral("Daphnia"));
    QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("10.50"));
    QCOMPARE(model.data(model.index(1, 1)).toString(), QStringLiteral("20.00"));
    QCOMPARE(ds->currentRow(), 0);
    QCOMPARE(model.data(model.index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
             int(Qt::AlignRight));
    QCOMPARE(model.data(model.index(0, 0), Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
             int(Qt::AlignLeft));

    // Titles: the field's label unless the column has its own; wrap travels with the alignment.
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Taxon"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Abundance, ind./cu.m"));
    const int titleFlags = model.headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).toInt();
    QVERIFY(titleFlags & Qt::TextWordWrap);
    QVERIFY(titleFlags & Qt::AlignHCenter);
    QVERIFY(!(model.headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::TextWordWrap));

    // The edit text of the current row, the display text elsewhere.
    ds->setCurrentRow(1);
    QCOMPARE(model.data(model.index(1, 1), Qt::EditRole).toString(), QStringLiteral("20"));
}

void TestGridModel::rowsAreReadInBatches()
{
    DataFixture fixture(countsScript(20));
    db::DataSet* ds = countsDataSet(fixture);
    ds->setFetchBatch(5);
    GridModel model;
    model.setDataSource(fixture.source(ds));
    ds->open();
    QCOMPARE(model.rowCount(), 5);
    QVERIFY(model.canFetchMore({}));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.fetchMore({});
    QCOMPARE(model.rowCount(), 10);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 5);
    QCOMPARE(inserted.at(0).at(2).toInt(), 9);

    // Rows the dataset reads on its own (a move far down) reach the model as well.
    ds->last();
    QCOMPARE(model.rowCount(), 23);
    QVERIFY(!model.canFetchMore({}));
}

void TestGridModel::writesGoToTheCurrentRowOnly()
{
    DataFixture fixture(countsScript());
    db::DataSet* ds = countsDataSet(fixture);
    GridModel model;
    model.setDataSource(fixture.source(ds));
    model.setColumns({GridColumn("TAXON_NAME"), GridColumn("QTY"), GridColumn("NOTE").setReadOnly(true)});
    ds->open();

    // Not editable: nothing is written, the dataset stays browsing.
    QVERIFY(!model.setData(model.index(0, 1), "5"));
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
    model.setEditable(true);
    QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    QVERIFY(!model.setData(model.index(1, 1), "5")); // not the current row
    QVERIFY(!model.setData(model.index(0, 2), "x")); // read-only column
    QCOMPARE(ds->state(), db::DataSetState::Browse);

    QVERIFY(model.setData(model.index(0, 1), "5"));
    QCOMPARE(ds->state(), db::DataSetState::Edit);
    QCOMPARE(ds->field("QTY")->value().toInt(), 5);
    QVERIFY(model.setData(model.index(0, 0), 3, GridModel::LookupKeyRole));
    QCOMPARE(ds->field("TAXON")->value().toInt(), 3);
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("Daphnia"));
    ds->post();
    QCOMPARE(fixture.stored("SELECT TAXON FROM COUNTS WHERE ID = 1").toInt(), 3);
}

void TestGridModel::refusedTextIsReportedAndLeavesTheField()
{
    DataFixture fixture(countsScript());
    db::DataSet* ds = countsDataSet(fixture);
    GridModel model;
    QStringList errors;
    model.setErrorHandler([&](const std::exception& e) { errors << db::errorText(e); });
    model.setDataSource(fixture.source(ds));
    model.setColumns({GridColumn("ABUNDANCE")});
    model.setEditable(true);
    ds->open();
    QVERIFY(!model.setData(model.index(0, 0), "1,5"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains("1,5"), qPrintable(errors.first()));
    QCOMPARE(ds->field("ABUNDANCE")->asFloat(), 10.5);
}

void TestGridModel::columnWidths_data()
{
    QTest::addColumn<std::vector<int>>("asked");
    QTest::addColumn<std::vector<bool>>("fixed");
    QTest::addColumn<int>("available");
    QTest::addColumn<std::vector<int>>("expected");
    QTest::newRow("fixed keep, one stretches")
        << std::vector<int>{48, 100, 100} << std::vector<bool>{true, false, false} << 248
        << std::vector<int>{48, 100, 100};
    QTest::newRow("shares follow the asked widths")
        << std::vector<int>{256, 80, 80} << std::vector<bool>{false, true, true} << 500
        << std::vector<int>{340, 80, 80};
    QTest::newRow("two stretch in proportion")
        << std::vector<int>{100, 50, 30} << std::vector<bool>{false, false, true} << 330
        << std::vector<int>{200, 100, 30};
    QTest::newRow("rounding goes to the last")
        << std::vector<int>{1, 1, 1} << std::vector<bool>{false, false, false} << 100
        << std::vector<int>{33, 33, 34};
    QTest::newRow("too narrow: minimum, grid scrolls")
        << std::vector<int>{100, 80} << std::vector<bool>{false, true} << 50 << std::vector<int>{16, 80};
    QTest::newRow("all fixed: as asked")
        << std::vector<int>{80, 80} << std::vector<bool>{true, true} << 500 << std::vector<int>{80, 80};
}

void TestGridModel::columnWidths()
{
    QFETCH(std::vector<int>, asked);
    QFETCH(std::vector<bool>, fixed);
    QFETCH(int, available);
    QFETCH(std::vector<int>, expected);
    std::vector<ColumnWidthRequest> requests;
    for (size_t i = 0; i < asked.size(); ++i)
        requests.push_back({asked[i], fixed[i]});
    QCOMPARE(fitColumnWidths(requests, available), expected);
}

void TestGridModel::searchGoesRoundOnceAndReadsMoreRows_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("match");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<int>("fromRow");
    QTest::addColumn<int>("fromColumn");
    QTest::addColumn<int>("row"); // -1: not found
    QTest::addColumn<int>("foundIn");

    // Rows: ("alpha","one") ("beta","two") ("Alphabet","three") ("gamma","alpha")
    const int any = int(SearchMatch::AnyPart), whole = int(SearchMatch::WholeField),
              begin = int(SearchMatch::FromBeginning);
    QTest::newRow("next after the current cell") << "alpha" << -1 << any << false << 0 << 0 << 2 << 0;
    QTest::newRow("same row, later column") << "alpha" << -1 << any << false << 2 << 0 << 3 << 1;
    QTest::newRow("goes round to the top") << "one" << -1 << any << false << 2 << 1 << 0 << 1;
    QTest::newRow("the current cell comes last") << "two" << -1 << any << false << 1 << 1 << 1 << 1;
    QTest::newRow("case sensitive") << "alpha" << -1 << any << true << 0 << 0 << 3 << 1;
    QTest::newRow("whole field") << "alpha" << 0 << whole << false << 0 << 0 << 0 << 0;
    QTest::newRow("from the beginning") << "pha" << -1 << begin << false << 0 << 0 << -1 << -1;
    QTest::newRow("one column only") << "alpha" << 1 << any << false << 0 << 0 << 3 << 1;
    QTest::newRow("no start cell") << "beta" << -1 << any << false << -1 << -1 << 1 << 0;
    QTest::newRow("nothing") << "delta" << -1 << any << false << 0 << 0 << -1 << -1;
}

void TestGridModel::searchGoesRoundOnceAndReadsMoreRows()
{
    QFETCH(QString, text);
    QFETCH(int, column);
    QFETCH(int, match);
    QFETCH(bool, caseSensitive);
    QFETCH(int, fromRow);
    QFETCH(int, fromColumn);
    QFETCH(int, row);
    QFETCH(int, foundIn);

    // A model that hands out its rows one by one, as a dataset read as needed does.
    class Lazy : public QStandardItemModel
    {
    public:
        int shown = 1;
        int rowCount(const QModelIndex& p) const override { return p.isValid() ? 0 : shown; }
        bool canFetchMore(const QModelIndex& p) const override
        {
            return !p.isValid() && shown < QStandardItemModel::rowCount(p);
        }
        void fetchMore(const QModelIndex&) override
        {
            beginInsertRows({}, shown, shown);
            ++shown;
            endInsertRows();
        }
    } model;
    const QStringList cells{"alpha", "one", "beta", "two", "Alphabet", "three", "gamma", "alpha"};
    for (int r = 0; r < 4; ++r)
        model.appendRow({new QStandardItem(cells.at(2 * r)), new QStandardItem(cells.at(2 * r + 1))});

    GridSearchOptions options;
    options.text = text;
    options.column = column;
    options.match = SearchMatch(match);
    options.caseSensitive = caseSensitive;
    const QModelIndex from = fromRow < 0 ? QModelIndex() : model.index(fromRow, fromColumn);
    const QModelIndex found = findNextMatch(&model, from, options);
    QCOMPARE(found.isValid() ? found.row() : -1, row);
    QCOMPARE(found.isValid() ? found.column() : -1, foundIn);
}

QTEST_MAIN(TestGridModel)
#include "tst_gridmodel.moc"
