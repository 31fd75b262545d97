#include "ui_DataFixture.h"

#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QTest>
#include <db/Error.h>
#include <ui/DBLookupComboBox.h>
#include <ui/LookupListModel.h>

namespace {

const char* const Script =
    "CREATE TABLE SEDIMENTS (ID INTEGER NOT NULL PRIMARY KEY, SEDIMENT_EN VARCHAR(30));"
    "CREATE TABLE SAMPLES (ID INTEGER NOT NULL PRIMARY KEY, SEDIMENTS INTEGER);"
    "INSERT INTO SEDIMENTS VALUES (1, 'sand');"
    "INSERT INTO SEDIMENTS VALUES (2, 'silt');"
    "INSERT INTO SEDIMENTS VALUES (3, 'clay');"
    "INSERT INTO SAMPLES VALUES (10, 2);"
    "INSERT INTO SAMPLES VALUES (11, NULL);"
    "INSERT INTO SAMPLES VALUES (12, 9);";

} // namespace

class TestLookupComboBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listModelIsSound();
    void showsTheListsTextOfTheStoredKey();
    void choosingStoresTheKey();
    void lookupFieldListsItsOwnDataSet();
    void readOnlyBoxKeepsTheValue();

private:
    db::DataSet* listDataSet(const QString& name, int fetchBatch = 64);

    std::unique_ptr<DataFixture> m_fixture;
    db::DataSet* m_samples = nullptr;
    db::DataSource* m_samplesSource = nullptr;
    db::DataSource* m_listSource = nullptr;
    std::unique_ptr<QWidget> m_window;
    ui::DBLookupComboBox* m_box = nullptr;
};

db::DataSet* TestLookupComboBox::listDataSet(const QString& name, int fetchBatch)
{
    db::DataSet* list = m_fixture->dataSet(name);
    list->setSelectSql(QStringLiteral("SELECT ID, SEDIMENT_EN FROM SEDIMENTS ORDER BY ID"));
    list->setFetchBatch(fetchBatch);
    return list;
}

void TestLookupComboBox::init()
{
    m_fixture = std::make_unique<DataFixture>(QString::fromLatin1(Script));
    m_samples = m_fixture->dataSet(QStringLiteral("dtsSamples2"));
    m_samples->setSelectSql(QStringLiteral("SELECT ID, SEDIMENTS FROM SAMPLES ORDER BY ID"));
    m_samples->setUpdateSql(QStringLiteral("UPDATE SAMPLES SET SEDIMENTS = :SEDIMENTS WHERE ID = :OLD_ID"));
    m_samples->setRefreshSql(QStringLiteral("SELECT ID, SEDIMENTS FROM SAMPLES WHERE ID = :OLD_ID"));
    m_samplesSource = m_fixture->source(m_samples);
    db::DataSet* sediments = listDataSet(QStringLiteral("dtsSediments"), 1); // read a row at a time
    m_listSource = m_fixture->source(sediments);
    sediments->open();
    m_samples->open();

    m_window = std::make_unique<QWidget>();
    new QHBoxLayout(m_window.get());
    m_box = new ui::DBLookupComboBox(m_window.get());
    m_box->setObjectName(QStringLiteral("dbcbSediments"));
    m_window->layout()->addWidget(m_box);
    showActive(m_window.get());
}

void TestLookupComboBox::cleanup()
{
    m_window.reset();
    m_fixture.reset();
}

void TestLookupComboBox::listModelIsSound()
{
    ui::LookupListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setKeyField(QStringLiteral("ID"));
    model.setListField(QStringLiteral("SEDIMENT_EN"));
    model.setListSource(m_listSource); // read a row at a time by the dataset, whole by the model
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(!model.canFetchMore({}));
    QCOMPARE(model.index(2).data().toString(), QStringLiteral("clay"));
    QCOMPARE(model.index(2).data(ui::LookupListModel::KeyRole).toInt(), 3);
    m_listSource->dataSet()->close();
    QCOMPARE(model.rowCount(), 0);
    m_listSource->dataSet()->open();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.rowOfKey(3), 2);
    QCOMPARE(model.rowOfKey(9), -1);
    QCOMPARE(model.rowOfKey(QVariant()), -1);
}

void TestLookupComboBox::showsTheListsTextOfTheStoredKey()
{
    m_box->setListSource(m_listSource);
    m_box->setKeyField(QStringLiteral("ID"));
    m_box->setListField(QStringLiteral("SEDIMENT_EN"));
    m_box->setDataSource(m_samplesSource);
    m_box->setDataField(QStringLiteral("SEDIMENTS"));
    QAbstractItemModelTester tester(m_box->listModel(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);

    QCOMPARE(m_box->currentText(), QStringLiteral("silt"));
    m_samples->next(); // no sediment
    QCOMPARE(m_box->currentIndex(), -1);
    QCOMPARE(m_box->currentText(), QString());
    m_samples->next(); // a key not in the list
    QCOMPARE(m_box->currentIndex(), -1);
    m_samples->first();
    QCOMPARE(m_box->currentText(), QStringLiteral("silt"));
    m_samples->close();
    QCOMPARE(m_box->currentIndex(), -1);
}

void TestLookupComboBox::choosingStoresTheKey()
{
    m_box->setDataSource(m_samplesSource);
    m_box->setDataField(QStringLiteral("SEDIMENTS"));
    m_box->setListSource(m_listSource);
    m_box->setKeyField(QStringLiteral("ID"));
    m_box->setListField(QStringLiteral("SEDIMENT_EN"));
    m_box->setFocus();

    QTest::keyClick(m_box, Qt::Key_Down); // silt -> clay
    QCOMPARE(m_box->currentText(), QStringLiteral("clay"));
    QCOMPARE(m_samples->state(), db::DataSetState::Edit);
    QCOMPARE(m_samples->field(QStringLiteral("SEDIMENTS"))->asInteger(), 3);

    // From the drop-down list, by a click on its row.
    m_box->showPopup();
    QAbstractItemView* view = m_box->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex sand = m_box->model()->index(0, 0);
    view->scrollTo(sand);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(sand).center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(m_box->currentText(), QStringLiteral("sand"));
    QCOMPARE(m_samples->field(QStringLiteral("SEDIMENTS"))->asInteger(), 1);

    QVERIFY(m_samples->post());
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT SEDIMENTS FROM SAMPLES WHERE ID = 10")).toInt(), 1);
}

void TestLookupComboBox::lookupFieldListsItsOwnDataSet()
{
    // A lookup field: the box needs no list source of its own.
    m_samples->close();
    db::DataSet* sediments = listDataSet(QStringLiteral("dtsSedimentsLookup"));
    m_samples->addField(QStringLiteral("ID"), db::FieldType::Integer);
    m_samples->addField(QStringLiteral("SEDIMENTS"), db::FieldType::Integer);
    m_samples->addLookupField(QStringLiteral("SEDIMENT_NAME"), db::FieldType::String, 30,
                              QStringLiteral("SEDIMENTS"), sediments, QStringLiteral("ID"),
                              QStringLiteral("SEDIMENT_EN"));
    m_samples->open();
    m_box->setDataSource(m_samplesSource);
    m_box->setDataField(QStringLiteral("SEDIMENT_NAME"));
    QAbstractItemModelTester tester(m_box->listModel(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);

    QCOMPARE(m_box->count(), 3);
    QCOMPARE(m_box->currentText(), QStringLiteral("silt"));
    m_box->setFocus();
    QTest::keyClick(m_box, Qt::Key_Up);
    QCOMPARE(m_samples->field(QStringLiteral("SEDIMENTS"))->asInteger(), 1);
    QCOMPARE(m_samples->field(QStringLiteral("SEDIMENT_NAME"))->asString(), QStringLiteral("sand"));
    QCOMPARE(m_box->currentText(), QStringLiteral("sand"));
}

void TestLookupComboBox::readOnlyBoxKeepsTheValue()
{
    m_box->setListSource(m_listSource);
    m_box->setKeyField(QStringLiteral("ID"));
    m_box->setListField(QStringLiteral("SEDIMENT_EN"));
    m_box->setDataSource(m_samplesSource);
    m_box->setDataField(QStringLiteral("SEDIMENTS"));
    m_box->setReadOnly(true);
    m_box->setFocus();
    QTest::keyClick(m_box, Qt::Key_Down);
    m_box->showPopup();
    QVERIFY(!m_box->view()->isVisible());
    QCOMPARE(m_box->currentText(), QStringLiteral("silt"));
    QCOMPARE(m_samples->state(), db::DataSetState::Browse);

    // Without an update statement the dataset can't be changed: the same.
    m_box->setReadOnly(false);
    m_samples->close();
    m_samples->setUpdateSql(QString());
    m_samples->open();
    QTest::keyClick(m_box, Qt::Key_Down);
    QCOMPARE(m_box->currentText(), QStringLiteral("silt"));
    QCOMPARE(m_samples->state(), db::DataSetState::Browse);
}

QTEST_MAIN(TestLookupComboBox)
#include "tst_lookupcombobox.moc"
