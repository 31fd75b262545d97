#include "ui_DataFixture.h"
#include "ui_ItemsData.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <db/Error.h>
#include <ui/DBDateEdit.h>
#include <ui/DBEdit.h>
#include <ui/DBMemo.h>
#include <ui/DBText.h>

// Edits, the memo, the text label and the date editor on the items table: a window with one
// control of the kind under test and a plain line edit to move the focus to.
class TestDBEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsDisplayTextAndEditTextWhileFocused();
    void keystrokesFollowTheFieldsType_data();
    void keystrokesFollowTheFieldsType();
    void fieldSizeLimitsTheLength();
    void typingStartsTheEditAndLeavingWritesTheField();
    void invalidTextIsReportedAndKept();
    void readOnlyEditTakesNoInput();
    void escapeGivesUpTheTypedText();
    void followsTheFieldBothWays();
    void memoScrollsAndWritesOnLeave();
    void textLabelShowsTheDisplayText();
    void dateEditAcceptsDateCharactersAndCalendar();

private:
    template <class Control> Control* place(const QString& field);

    std::unique_ptr<DataFixture> m_fixture;
    db::DataSet* m_items = nullptr;
    db::DataSource* m_source = nullptr;
    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_elsewhere = nullptr;
    QStringList m_errors;
};

void TestDBEdit::init()
{
    m_fixture = std::make_unique<DataFixture>(itemsScript());
    m_items = itemsDataSet(*m_fixture);
    m_source = m_fixture->source(m_items);
    m_items->open();
    m_items->field(QStringLiteral("PRICE"))->setDisplayFormat(QStringLiteral("0.00"));
    m_window = std::make_unique<QWidget>();
    new QVBoxLayout(m_window.get());
    m_elsewhere = new QLineEdit(m_window.get());
    m_elsewhere->setObjectName(QStringLiteral("elsewhere"));
    m_window->layout()->addWidget(m_elsewhere);
    m_errors.clear();
}

void TestDBEdit::cleanup()
{
    m_window.reset();
    m_fixture.reset();
}

template <class Control> Control* TestDBEdit::place(const QString& field)
{
    auto* control = new Control(m_window.get());
    control->setObjectName(QStringLiteral("control"));
    control->setDataSource(m_source);
    control->setDataField(field);
    m_window->layout()->addWidget(control);
    if constexpr (!std::is_same_v<Control, ui::DBText>)
        connect(control, &Control::errorOccurred, this,
                [this](const std::exception& e) { m_errors << db::errorText(e); });
    showActive(m_window.get());
    return control;
}

void TestDBEdit::showsDisplayTextAndEditTextWhileFocused()
{
    auto* edit = place<ui::DBEdit>(QStringLiteral("PRICE"));
    QCOMPARE(edit->text(), QStringLiteral("1.50")); // display format
    QCOMPARE(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    edit->setFocus();
    QCOMPARE(edit->text(), QStringLiteral("1.5")); // edit text
    m_elsewhere->setFocus();
    QCOMPARE(edit->text(), QStringLiteral("1.50"));
    // Read-only: the display text stays while focused.
    edit->setReadOnly(true);
    edit->setFocus();
    QCOMPARE(edit->text(), QStringLiteral("1.50"));
}

void TestDBEdit::keystrokesFollowTheFieldsType_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("letter into an integer") << "QTY"
                                            << "a" << false;
    QTest::newRow("decimal point into an integer") << "QTY"
                                                   << "." << false;
    QTest::newRow("digit into an integer") << "QTY"
                                           << "7" << true;
    QTest::newRow("minus into an integer") << "QTY"
                                           << "-" << true;
    QTest::newRow("decimal point into a float") << "PRICE"
                                                << "." << true;
    QTest::newRow("comma into a float") << "PRICE"
                                        << "," << false;
    QTest::newRow("letter into a float") << "PRICE"
                                         << "x" << false;
    QTest::newRow("letter into a date") << "DAY_"
                                        << "q" << false;
    QTest::newRow("dot into a date") << "DAY_"
                                     << "." << true;
    QTest::newRow("letter into a text") << "NAME"
                                        << "z" << true;
}

void TestDBEdit::keystrokesFollowTheFieldsType()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    auto* edit = place<ui::DBEdit>(field);
    edit->setFocus();
    edit->end(false);
    const QString before = edit->text();
    const QVariant value = m_items->field(field)->value();
    QSignalSpy rejected(edit, &QLineEdit::inputRejected);

    QTest::keyClicks(edit, typed);

    QCOMPARE(edit->text(), accepted ? before + typed : before);
    QCOMPARE(rejected.count(), accepted ? 0 : 1);
    // A refused key leaves the dataset browsing; the field never changes before the edit is left.
    QCOMPARE(m_items->state(), accepted ? db::DataSetState::Edit : db::DataSetState::Browse);
    QCOMPARE(m_items->field(field)->value(), value);
}

void TestDBEdit::fieldSizeLimitsTheLength()
{
    auto* edit = place<ui::DBEdit>(QStringLiteral("CODE"));
    QCOMPARE(edit->maxLength(), 1);
    edit->setFocus();
    edit->selectAll();
    QSignalSpy rejected(edit, &QLineEdit::inputRejected);
    QTest::keyClicks(edit, QStringLiteral("xy"));
    QCOMPARE(edit->text(), QStringLiteral("x"));
    QVERIFY(rejected.count() >= 1);
    m_elsewhere->setFocus();
    QCOMPARE(m_items->field(QStringLiteral("CODE"))->asString(), QStringLiteral("x"));
}

void TestDBEdit::typingStartsTheEditAndLeavingWritesTheField()
{
    auto* edit = place<ui::DBEdit>(QStringLiteral("PRICE"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("7.25"));
    QCOMPARE(m_items->state(), db::DataSetState::Edit);
    QVERIFY(edit->hasPendingText());
    QCOMPARE(m_items->field(QStringLiteral("PRICE"))->asFloat(), 1.5);

    QTest::keyClick(edit, Qt::Key_Tab); // the focus goes on: the edit is left
    QVERIFY(!edit->hasFocus());
    QCOMPARE(m_items->field(QStringLiteral("PRICE"))->asFloat(), 7.25);
    QCOMPARE(edit->text(), QStringLiteral("7.25"));
    // Leaving doesn't save: the row waits for Save or a move.
    QCOMPARE(m_items->state(), db::DataSetState::Edit);
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT PRICE FROM ITEMS WHERE ID = 1")).toDouble(), 1.5);
    QVERIFY(m_items->post());
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT PRICE FROM ITEMS WHERE ID = 1")).toDouble(), 7.25);
    QVERIFY(m_errors.isEmpty());
}

void TestDBEdit::invalidTextIsReportedAndKept()
{
    auto* edit = place<ui::DBEdit>(QStringLiteral("PRICE"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("1-2"));
    m_elsewhere->setFocus();
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors[0].contains(QStringLiteral("1-2")), qPrintable(m_errors[0]));
    QTRY_VERIFY(edit->hasFocus()); // back for the correction
    QCOMPARE(edit->text(), QStringLiteral("1-2"));
    QCOMPARE(m_items->field(QStringLiteral("PRICE"))->asFloat(), 1.5);
    // updateRecord (what a navigator button asks) refuses it as well.
    QVERIFY_THROWS_EXCEPTION(db::Error, edit->updateRecord());
}

void TestDBEdit::readOnlyEditTakesNoInput()
{
    auto* edit = place<ui::DBEdit>(QStringLiteral("NAME"));
    edit->setReadOnly(true);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("abc"));
    QCOMPARE(edit->text(), QStringLiteral("one"));
    QCOMPARE(m_items->state(), db::DataSetState::Browse);

    // A read-only field makes the edit read-only whatever its own switch says.
    edit->setReadOnly(false);
    QVERIFY(!edit->QLineEdit::isReadOnly());
    m_items->field(QStringLiteral("NAME"))->setReadOnly(true);
    m_items->next();
    QVERIFY(edit->QLineEdit::isReadOnly());
    QTest::keyClicks(edit, QStringLiteral("abc"));
    QCOMPARE(edit->text(), QStringLiteral("two"));
    QCOMPARE(m_items->state(), db::DataSetState::Browse);
}

void TestDBEdit::escapeGivesUpTheTypedText()
{
    auto* edit = place<ui::DBEdit>(QStringLiteral("NAME"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("changed"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(edit->text(), QStringLiteral("one"));
    QVERIFY(!edit->hasPendingText());
    m_elsewhere->setFocus();
    QCOMPARE(m_items->field(QStringLiteral("NAME"))->asString(), QStringLiteral("one"));
}

void TestDBEdit::followsTheFieldBothWays()
{
    auto* edit = place<ui::DBEdit>(QStringLiteral("PRICE"));
    m_items->next();
    QCOMPARE(edit->text(), QStringLiteral("2.25"));
    QVERIFY(m_items->edit());
    m_items->field(QStringLiteral("PRICE"))->setValue(12.5);
    QCOMPARE(edit->text(), QStringLiteral("12.50"));
    m_items->cancel();
    QCOMPARE(edit->text(), QStringLiteral("2.25"));
    m_items->close();
    QCOMPARE(edit->text(), QString());
    m_items->open();
    QCOMPARE(edit->text(), QStringLiteral("1.50"));

    // From the control: "." is the decimal separator of the typed text.
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("0.125"));
    m_elsewhere->setFocus();
    QCOMPARE(m_items->field(QStringLiteral("PRICE"))->value().toDouble(), 0.125);
    QCOMPARE(edit->text(), QStringLiteral("0.13"));
}

void TestDBEdit::memoScrollsAndWritesOnLeave()
{
    auto* memo = place<ui::DBMemo>(QStringLiteral("NOTE"));
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(memo->toPlainText(), QStringLiteral("first note"));
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("second line"));
    QCOMPARE(m_items->state(), db::DataSetState::Edit);
    m_elsewhere->setFocus();
    QCOMPARE(m_items->field(QStringLiteral("NOTE"))->asString(), QStringLiteral("first note\nsecond line"));
    QVERIFY(m_items->post());
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT NOTE FROM ITEMS WHERE ID = 1")).toString(),
             QStringLiteral("first note\nsecond line"));

    // Read-only: no change, no edit.
    memo->setReadOnly(true);
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("more"));
    QCOMPARE(m_items->state(), db::DataSetState::Browse);
    QCOMPARE(memo->toPlainText(), QStringLiteral("first note\nsecond line"));

    // A memo on a short text field keeps to its size.
    auto* shortMemo = place<ui::DBMemo>(QStringLiteral("CODE"));
    shortMemo->setFocus();
    shortMemo->selectAll();
    QTest::keyClicks(shortMemo, QStringLiteral("pq"));
    QCOMPARE(shortMemo->toPlainText(), QStringLiteral("p"));
}

void TestDBEdit::textLabelShowsTheDisplayText()
{
    auto* label = place<ui::DBText>(QStringLiteral("PRICE"));
    QCOMPARE(label->text(), QStringLiteral("1.50"));
    m_items->last();
    QCOMPARE(label->text(), QStringLiteral("3.50"));
    QVERIFY(m_items->edit());
    m_items->field(QStringLiteral("PRICE"))->setText(QStringLiteral("4.5"));
    QCOMPARE(label->text(), QStringLiteral("4.50"));
    m_items->close();
    QCOMPARE(label->text(), QString());
}

void TestDBEdit::dateEditAcceptsDateCharactersAndCalendar()
{
    auto* date = place<ui::DBDateEdit>(QStringLiteral("DAY_"));
    QCOMPARE(date->text(), QStringLiteral("01.07.2024"));
    date->setFocus();
    date->selectAll();
    QTest::keyClicks(date, QStringLiteral("15.0a8.2024"));
    QCOMPARE(date->text(), QStringLiteral("15.08.2024"));
    m_elsewhere->setFocus();
    QCOMPARE(m_items->field(QStringLiteral("DAY_"))->value().toDate(), QDate(2024, 8, 15));

    // The calendar: F4 opens it on the field's date, Enter takes the chosen day.
    date->setFocus();
    QTest::keyClick(date, Qt::Key_F4);
    QVERIFY(date->isCalendarVisible());
    QCOMPARE(date->calendar()->selectedDate(), QDate(2024, 8, 15));
    date->calendar()->setSelectedDate(QDate(2024, 8, 20));
    QTest::keyClick(date->calendar()->focusWidget() ? date->calendar()->focusWidget() : date->calendar(),
                    Qt::Key_Return);
    QVERIFY(!date->isCalendarVisible());
    QCOMPARE(m_items->field(QStringLiteral("DAY_"))->value().toDate(), QDate(2024, 8, 20));
    QVERIFY(m_items->post());
    QCOMPARE(m_fixture->stored(QStringLiteral("SELECT DAY_ FROM ITEMS WHERE ID = 1")).toDate(),
             QDate(2024, 8, 20));

    // An empty date: nothing shown; read-only: no calendar.
    m_items->last();
    QCOMPARE(date->text(), QString());
    date->setReadOnly(true);
    date->showCalendar();
    QVERIFY(!date->isCalendarVisible());
}

QTEST_MAIN(TestDBEdit)
#include "tst_dbedit.moc"
