#include "ui_DataFixture.h"
#include "ui_ItemsData.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <db/Error.h>
#include <fb/Error.h>
#include <ui/DBEdit.h>
#include <ui/DBNavigator.h>

using ui::DBNavigator;
using Buttons = DBNavigator::Buttons;

namespace {

Buttons enabledButtons(const DBNavigator& nav)
{
    Buttons on;
    for (int i = 0; i < 10; ++i) {
        const auto b = DBNavigator::Button(1 << i);
        if (nav.button(b)->isEnabled())
            on |= b;
    }
    return on;
}

} // namespace

class TestNavigator : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void buttonsStandInOrderWithHintsAndTakeNoFocus();
    void visibleButtons_data();
    void visibleButtons();
    void enabledButtonsFollowTheDataSet();
    void enabledButtonsOfReadOnlyAndClosedDataSets();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void clickComesAfterTheAction();
    void abandonedActionIsSilent();
    void databaseErrorReachesErrorSignal();
    void saveTakesTheFocusedEditsText();

private:
    std::unique_ptr<DataFixture> m_fixture;
    db::DataSet* m_items = nullptr;
    db::DataSource* m_source = nullptr;
};

void TestNavigator::init()
{
    m_fixture = std::make_unique<DataFixture>(itemsScript());
    m_items = itemsDataSet(*m_fixture);
    m_source = m_fixture->source(m_items);
    m_items->open();
}

void TestNavigator::cleanup()
{
    m_fixture.reset();
}

void TestNavigator::buttonsStandInOrderWithHintsAndTakeNoFocus()
{
    DBNavigator nav;
    nav.setDataSource(m_source);
    const QStringList names{"nbFirst",  "nbPrior", "nbNext", "nbLast",   "nbInsert",
                            "nbDelete", "nbEdit",  "nbPost", "nbCancel", "nbRefresh"};
    const QStringList hints{"First",  "Previous", "Next", "Last",   "Insert",
                            "Delete", "Edit",     "Save", "Cancel", "Refresh"};
    auto* layout = qobject_cast<QHBoxLayout*>(nav.layout());
    QVERIFY(layout);
    QCOMPARE(layout->count(), 10);
    for (int i = 0; i < 10; ++i) {
        auto* b = qobject_cast<QToolButton*>(layout->itemAt(i)->widget());
        QVERIFY(b);
        QCOMPARE(b->objectName(), names[i]);
        QCOMPARE(b->toolTip(), hints[i]);
        QCOMPARE(b->focusPolicy(), Qt::NoFocus);
        QVERIFY(b->autoRaise()); // flat
        QVERIFY(!b->icon().isNull());
    }
    nav.setFlat(false);
    QVERIFY(!nav.button(DBNavigator::Post)->autoRaise());
}

void TestNavigator::visibleButtons_data()
{
    QTest::addColumn<Buttons>("visible");
    QTest::newRow("browse") << Buttons(DBNavigator::BrowseButtons);
    QTest::newRow("all") << Buttons(DBNavigator::AllButtons);
    QTest::newRow("moves only") << Buttons(DBNavigator::First | DBNavigator::Prior | DBNavigator::Next |
                                           DBNavigator::Last);
}

void TestNavigator::visibleButtons()
{
    QFETCH(Buttons, visible);
    QWidget window;
    auto* nav = new DBNavigator(&window);
    nav->setDataSource(m_source);
    nav->setVisibleButtons(visible);
    window.show();
    QCOMPARE(nav->visibleButtons(), visible);
    for (int i = 0; i < 10; ++i) {
        const auto b = DBNavigator::Button(1 << i);
        QCOMPARE(nav->button(b)->isVisible(), visible.testFlag(b));
    }
    // Edit mode adds the editing buttons to those shown, and leaving it takes them away.
    nav->setVisibleButtons(nav->visibleButtons() | DBNavigator::EditButtons);
    QVERIFY(nav->button(DBNavigator::Post)->isVisible());
    nav->setVisibleButtons(nav->visibleButtons() & ~DBNavigator::EditButtons);
    QVERIFY(!nav->button(DBNavigator::Post)->isVisible());
}

void TestNavigator::enabledButtonsFollowTheDataSet()
{
    QWidget window;
    auto* nav = new DBNavigator(&window);
    nav->setDataSource(m_source);
    window.show();
    const Buttons changes =
        DBNavigator::Insert | DBNavigator::Delete | DBNavigator::Edit | DBNavigator::Refresh;

    // First row: nothing before it, nothing to save.
    QCOMPARE(enabledButtons(*nav), DBNavigator::Next | DBNavigator::Last | changes);

    QTest::mouseClick(nav->button(DBNavigator::Next), Qt::LeftButton);
    QCOMPARE(m_items->currentRow(), 1);
    QCOMPARE(enabledButtons(*nav),
             DBNavigator::First | DBNavigator::Prior | DBNavigator::Next | DBNavigator::Last | changes);

    QTest::mouseClick(nav->button(DBNavigator::Last), Qt::LeftButton);
    QCOMPARE(m_items->currentRow(), 2);
    QCOMPARE(enabledButtons(*nav), DBNavigator::First | DBNavigator::Prior | changes);

    // Back to the first row by Prior, not by First: Prior goes off there too.
    QTest::mouseClick(nav->button(DBNavigator::Prior), Qt::LeftButton);
    QTest::mouseClick(nav->button(DBNavigator::Prior), Qt::LeftButton);
    QCOMPARE(m_items->currentRow(), 0);
    QVERIFY(!nav->button(DBNavigator::Prior)->isEnabled());
    QVERIFY(!nav->button(DBNavigator::First)->isEnabled());

    QTest::mouseClick(nav->button(DBNavigator::Edit), Qt::LeftButton);
    QCOMPARE(m_items->state(), db::DataSetState::Edit);
    QVERIFY(nav->button(DBNavigator::Post)->isEnabled());
    QVERIFY(nav->button(DBNavigator::Cancel)->isEnabled());
    QVERIFY(!nav->button(DBNavigator::Edit)->isEnabled());

    QTest::mouseClick(nav->button(DBNavigator::Cancel), Qt::LeftButton);
    QCOMPARE(m_items->state(), db::DataSetState::Browse);
    QVERIFY(!nav->button(DBNavigator::Post)->isEnabled());
    QVERIFY(!nav->button(DBNavigator::Cancel)->isEnabled());

    QTest::mouseClick(nav->button(DBNavigator::Insert), Qt::LeftButton);
    QCOMPARE(m_items->state(), db::DataSetState::Insert);
    QVERIFY(nav->button(DBNavigator::Post)->isEnabled());
    QVERIFY(!nav->button(DBNavigator::Edit)->isEnabled());
    QTest::mouseClick(nav->button(DBNavigator::Cancel), Qt::LeftButton);
    QCOMPARE(m_items->recordCount(), 3);

    // A disabled navigator greys all of them out.
    nav->setEnabled(false);
    for (int i = 0; i < 10; ++i)
        QVERIFY(!nav->button(DBNavigator::Button(1 << i))->isEnabled());
}

void TestNavigator::enabledButtonsOfReadOnlyAndClosedDataSets()
{
    db::DataSet* list = m_fixture->dataSet(QStringLiteral("dtsList"));
    list->setSelectSql(QStringLiteral("SELECT ID, NAME FROM ITEMS ORDER BY ID"));
    db::DataSource* listSource = m_fixture->source(list);
    DBNavigator nav;
    nav.setDataSource(listSource);
    QCOMPARE(enabledButtons(nav), Buttons());

    list->open();
    QCOMPARE(enabledButtons(nav), DBNavigator::Next | DBNavigator::Last | DBNavigator::Refresh);

    db::DataSet* empty = m_fixture->dataSet(QStringLiteral("dtsEmpty"));
    empty->setSelectSql(QStringLiteral("SELECT ID, NAME FROM ITEMS WHERE ID < 0"));
    empty->setInsertSql(QStringLiteral("INSERT INTO ITEMS (ID, NAME) VALUES (:ID, :NAME)"));
    empty->setUpdateSql(QStringLiteral("UPDATE ITEMS SET NAME = :NAME WHERE ID = :OLD_ID"));
    empty->setDeleteSql(QStringLiteral("DELETE FROM ITEMS WHERE ID = :OLD_ID"));
    empty->open();
    nav.setDataSource(m_fixture->source(empty));
    QCOMPARE(enabledButtons(nav), DBNavigator::Insert | DBNavigator::Refresh);

    list->close();
    nav.setDataSource(listSource);
    QCOMPARE(enabledButtons(nav), Buttons());
}

void TestNavigator::deleteAsksFirst_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<int>("rowsLeft");
    QTest::newRow("Cancel keeps the record") << QMessageBox::Cancel << 3;
    QTest::newRow("OK deletes it") << QMessageBox::Ok << 2;
}

void TestNavigator::deleteAsksFirst()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(int, rowsLeft);
    QWidget window;
    auto* nav = new DBNavigator(&window);
    nav->setDataSource(m_source);
    showActive(&window);
    QSignalSpy clicked(nav, &DBNavigator::clicked);

    // The real question box, answered by a click on one of its buttons.
    QString text;
    QList<QMessageBox::StandardButton> offered;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        text = box->text();
        for (QAbstractButton* b : box->buttons())
            offered << box->standardButton(b);
        QTest::mouseClick(box->button(answer), Qt::LeftButton);
    });
    QTest::mouseClick(nav->button(DBNavigator::Delete), Qt::LeftButton);

    QCOMPARE(text, QStringLiteral("Удалить запись?"));
    QCOMPARE(offered.size(), 2);
    QVERIFY(offered.contains(QMessageBox::Ok) && offered.contains(QMessageBox::Cancel));
    QCOMPARE(m_items->recordCount(), rowsLeft);
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT COUNT(*) FROM ITEMS")).toInt(), rowsLeft);
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT COUNT(*) FROM ITEMS WHERE ID = 1")).toInt(),
             rowsLeft == 3 ? 1 : 0);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).value<DBNavigator::Button>(), DBNavigator::Delete);
}

void TestNavigator::clickComesAfterTheAction()
{
    DBNavigator nav;
    nav.setDataSource(m_source);
    QList<db::DataSetState> statesSeen;
    QList<DBNavigator::Button> buttons;
    connect(&nav, &DBNavigator::clicked, this, [&](DBNavigator::Button b) {
        buttons << b;
        statesSeen << m_items->state();
    });
    nav.setDeleteQuestion([](QWidget*) { return true; });

    nav.click(DBNavigator::Insert);
    nav.click(DBNavigator::Cancel);
    nav.click(DBNavigator::Edit);
    m_items->field(QStringLiteral("NAME"))->setText(QStringLiteral("edited"));
    nav.click(DBNavigator::Post);
    nav.click(DBNavigator::Last);
    nav.click(DBNavigator::Delete);

    QCOMPARE(buttons,
             (QList<DBNavigator::Button>{DBNavigator::Insert, DBNavigator::Cancel, DBNavigator::Edit,
                                         DBNavigator::Post, DBNavigator::Last, DBNavigator::Delete}));
    QCOMPARE(statesSeen, (QList<db::DataSetState>{db::DataSetState::Insert, db::DataSetState::Browse,
                                                  db::DataSetState::Edit, db::DataSetState::Browse,
                                                  db::DataSetState::Browse, db::DataSetState::Browse}));
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT NAME FROM ITEMS WHERE ID = 1")).toString(),
             QStringLiteral("edited"));
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT COUNT(*) FROM ITEMS WHERE ID = 3")).toInt(), 0);
}

void TestNavigator::abandonedActionIsSilent()
{
    DBNavigator nav;
    nav.setDataSource(m_source);
    connect(m_items, &db::DataSet::beforeInsert, this, [](db::Veto& veto) { veto.abandon(); });
    QSignalSpy clicked(&nav, &DBNavigator::clicked);
    int errors = 0;
    connect(&nav, &DBNavigator::errorOccurred, this, [&](const std::exception&) { ++errors; });

    nav.click(DBNavigator::Insert);
    QCOMPARE(m_items->state(), db::DataSetState::Browse);
    QCOMPARE(m_items->recordCount(), 3);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(errors, 0);
}

void TestNavigator::databaseErrorReachesErrorSignal()
{
    DBNavigator nav;
    nav.setDataSource(m_source);
    QSignalSpy clicked(&nav, &DBNavigator::clicked);
    QStringList errors;
    bool fromDatabase = false;
    connect(&nav, &DBNavigator::errorOccurred, this, [&](const std::exception& e) {
        errors << db::errorText(e);
        fromDatabase = dynamic_cast<const fb::Error*>(&e) != nullptr;
    });

    nav.click(DBNavigator::Insert);
    m_items->field(QStringLiteral("ID"))->setValue(1); // the key of an existing row
    m_items->field(QStringLiteral("NAME"))->setText(QStringLiteral("twin"));
    nav.click(DBNavigator::Post);

    QCOMPARE(errors.size(), 1);
    QVERIFY(fromDatabase);
    QVERIFY2(errors[0].contains(QStringLiteral("PRIMARY"), Qt::CaseInsensitive) ||
                 errors[0].contains(QStringLiteral("unique"), Qt::CaseInsensitive),
             qPrintable(errors[0]));
    // The row stays as typed, still to be saved; only the Insert click was announced.
    QCOMPARE(m_items->state(), db::DataSetState::Insert);
    QCOMPARE(m_items->field(QStringLiteral("NAME"))->asString(), QStringLiteral("twin"));
    QCOMPARE(clicked.count(), 1);
    QVERIFY(nav.button(DBNavigator::Post)->isEnabled());
}

void TestNavigator::saveTakesTheFocusedEditsText()
{
    QWidget window;
    auto* edit = new ui::DBEdit(&window);
    edit->setDataSource(m_source);
    edit->setDataField(QStringLiteral("QTY"));
    auto* other = new QPushButton(&window);
    auto* nav = new DBNavigator(&window);
    nav->setDataSource(m_source);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(other);
    layout->addWidget(nav);
    showActive(&window);

    edit->setFocus();
    QVERIFY(edit->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("42"));
    QCOMPARE(m_items->state(), db::DataSetState::Edit);
    QTest::mouseClick(nav->button(DBNavigator::Post), Qt::LeftButton);

    QVERIFY(edit->hasFocus()); // the button took no focus
    QCOMPARE(m_items->state(), db::DataSetState::Browse);
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT QTY FROM ITEMS WHERE ID = 1")).toInt(), 42);
    QCOMPARE(edit->text(), QStringLiteral("42"));

    // Next while typing saves too (a move posts the row).
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("43"));
    QTest::mouseClick(nav->button(DBNavigator::Next), Qt::LeftButton);
    QCOMPARE(m_items->currentRow(), 1);
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT QTY FROM ITEMS WHERE ID = 1")).toInt(), 43);
    QCOMPARE(edit->text(), QStringLiteral("2"));
}

QTEST_MAIN(TestNavigator)
#include "tst_navigator.moc"
