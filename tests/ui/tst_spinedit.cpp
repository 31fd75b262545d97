#include "ui_DataFixture.h"
#include "ui_ItemsData.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QToolButton>
#include <db/Error.h>
#include <ui/DBNavigator.h>
#include <ui/SpinEdit.h>

namespace {

// Reaches the style option, to find where the style draws the up and down buttons.
class ProbedSpinEdit : public ui::SpinEdit
{
public:
    using ui::SpinEdit::SpinEdit;
    using ui::SpinEdit::stepEnabled;
    QPoint buttonCentre(QStyle::SubControl button) const
    {
        QStyleOptionSpinBox option;
        initStyleOption(&option);
        return style()->subControlRect(QStyle::CC_SpinBox, &option, button, this).center();
    }
};

} // namespace

class TestSpinEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typedValueIsBroughtInRangeOnLeave_data();
    void typedValueIsBroughtInRangeOnLeave();
    void stepsStayInRange_data();
    void stepsStayInRange();
    void buttonsStepByOne();
    void boundSpinFollowsAndWritesTheField();
    void boundSpinTypedValueSavedByNavigator();
    void readOnlySpinDoesNotStep();

private:
    void leave();

    std::unique_ptr<QWidget> m_window;
    ProbedSpinEdit* m_spin = nullptr;
    QLineEdit* m_elsewhere = nullptr;
};

void TestSpinEdit::init()
{
    m_window = std::make_unique<QWidget>();
    auto* layout = new QHBoxLayout(m_window.get());
    m_spin = new ProbedSpinEdit(m_window.get());
    m_spin->setObjectName(QStringLiteral("edtNumber"));
    m_spin->setRange(0, 100);
    m_elsewhere = new QLineEdit(m_window.get());
    layout->addWidget(m_spin);
    layout->addWidget(m_elsewhere);
    m_window->resize(300, 40);
    showActive(m_window.get());
}

void TestSpinEdit::cleanup()
{
    m_window.reset();
}

void TestSpinEdit::leave()
{
    m_elsewhere->setFocus();
    QVERIFY(!m_spin->hasFocus());
}

void TestSpinEdit::typedValueIsBroughtInRangeOnLeave_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("valueWhileTyped");
    QTest::addColumn<int>("valueAfterLeave");
    QTest::newRow("above the maximum") << "150"
                                       << "150" << 150 << 100;
    QTest::newRow("below the minimum") << "-5"
                                       << "-5" << -5 << 0;
    QTest::newRow("inside") << "42"
                            << "42" << 42 << 42;
    QTest::newRow("letters are refused") << "4a2"
                                         << "42" << 42 << 42;
    QTest::newRow("no number") << "-"
                               << "-" << 0 << 0;
    QTest::newRow("nothing") << ""
                             << "" << 0 << 0;
    QTest::newRow("beyond any integer") << "99999999999999999999"
                                        << "99999999999999999999" << 2147483647 << 100;
}

void TestSpinEdit::typedValueIsBroughtInRangeOnLeave()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, valueWhileTyped);
    QFETCH(int, valueAfterLeave);
    m_spin->setRange(0, 100);
    m_spin->setValue(7);
    m_spin->setFocus();
    m_spin->selectAll();
    QTest::keyClick(m_spin, Qt::Key_Delete);
    QTest::keyClicks(m_spin, typed);
    QCOMPARE(m_spin->text(), shown);
    QCOMPARE(m_spin->value(), valueWhileTyped); // read as typed until left
    QSignalSpy changed(m_spin, &ui::SpinEdit::valueChanged);
    leave();
    QCOMPARE(m_spin->value(), valueAfterLeave);
    QCOMPARE(m_spin->text(), QString::number(valueAfterLeave));
    QCOMPARE(changed.count(), valueAfterLeave == valueWhileTyped ? 0 : 1);
}

void TestSpinEdit::stepsStayInRange_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("Up") << 50 << int(Qt::Key_Up) << 51;
    QTest::newRow("Down") << 50 << int(Qt::Key_Down) << 49;
    QTest::newRow("Page Up") << 50 << int(Qt::Key_PageUp) << 60;
    QTest::newRow("Page Down") << 50 << int(Qt::Key_PageDown) << 40;
    QTest::newRow("Up at the maximum") << 100 << int(Qt::Key_Up) << 100;
    QTest::newRow("Page Up near the maximum") << 95 << int(Qt::Key_PageUp) << 100;
    QTest::newRow("Down at the minimum") << 0 << int(Qt::Key_Down) << 0;
    QTest::newRow("Page Down near the minimum") << 3 << int(Qt::Key_PageDown) << 0;
}

void TestSpinEdit::stepsStayInRange()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, expected);
    m_spin->setValue(start);
    m_spin->setFocus();
    QTest::keyClick(m_spin, Qt::Key(key));
    QCOMPARE(m_spin->value(), expected);
    QCOMPARE(m_spin->text(), QString::number(expected));
}

void TestSpinEdit::buttonsStepByOne()
{
    m_spin->setValue(99);
    QTest::mouseClick(m_spin, Qt::LeftButton, {}, m_spin->buttonCentre(QStyle::SC_SpinBoxUp));
    QCOMPARE(m_spin->value(), 100);
    QTest::mouseClick(m_spin, Qt::LeftButton, {}, m_spin->buttonCentre(QStyle::SC_SpinBoxUp));
    QCOMPARE(m_spin->value(), 100);
    QTest::mouseClick(m_spin, Qt::LeftButton, {}, m_spin->buttonCentre(QStyle::SC_SpinBoxDown));
    QCOMPARE(m_spin->value(), 99);
    // A typed value out of range steps from the nearer bound.
    m_spin->setFocus();
    m_spin->selectAll();
    QTest::keyClicks(m_spin, QStringLiteral("500"));
    QTest::mouseClick(m_spin, Qt::LeftButton, {}, m_spin->buttonCentre(QStyle::SC_SpinBoxDown));
    QCOMPARE(m_spin->value(), 99);
}

void TestSpinEdit::boundSpinFollowsAndWritesTheField()
{
    DataFixture fixture(itemsScript());
    db::DataSet* items = itemsDataSet(fixture);
    db::DataSource* source = fixture.source(items);
    items->open();
    m_spin->setDataSource(source);
    m_spin->setDataField(QStringLiteral("QTY"));
    QVERIFY(m_spin->isBound());
    QCOMPARE(m_spin->text(), QStringLiteral("1"));
    items->next();
    QCOMPARE(m_spin->text(), QStringLiteral("2"));

    // A step writes at once and starts the edit.
    m_spin->setFocus();
    QTest::keyClick(m_spin, Qt::Key_PageUp);
    QCOMPARE(items->state(), db::DataSetState::Edit);
    QCOMPARE(items->field(QStringLiteral("QTY"))->asInteger(), 12);

    // Typed text reaches the field when the control is left, brought into range.
    m_spin->selectAll();
    QTest::keyClicks(m_spin, QStringLiteral("150"));
    QCOMPARE(items->field(QStringLiteral("QTY"))->asInteger(), 12);
    leave();
    QCOMPARE(items->field(QStringLiteral("QTY"))->asInteger(), 100);
    QCOMPARE(m_spin->text(), QStringLiteral("100"));

    m_spin->setFocus();
    m_spin->selectAll();
    QTest::keyClick(m_spin, Qt::Key_Delete);
    leave();
    QCOMPARE(items->field(QStringLiteral("QTY"))->asInteger(), 0); // no number: the minimum
    QVERIFY(items->post());
    QCOMPARE(fixture.stored(QStringLiteral("SELECT QTY FROM ITEMS WHERE ID = 2")).toInt(), 0);

    // An empty field shows nothing; closing empties the control.
    QVERIFY(items->edit());
    items->field(QStringLiteral("QTY"))->clear();
    QCOMPARE(m_spin->text(), QString());
    items->cancel();
    items->close();
    QCOMPARE(m_spin->text(), QString());
    m_spin->setDataSource(nullptr);
}

void TestSpinEdit::boundSpinTypedValueSavedByNavigator()
{
    DataFixture fixture(itemsScript());
    db::DataSet* items = itemsDataSet(fixture);
    db::DataSource* source = fixture.source(items);
    items->open();
    m_spin->setDataSource(source);
    m_spin->setDataField(QStringLiteral("QTY"));
    auto* nav = new ui::DBNavigator(m_window.get());
    nav->setDataSource(source);
    m_window->layout()->addWidget(nav);

    m_spin->setFocus();
    m_spin->selectAll();
    QTest::keyClicks(m_spin, QStringLiteral("77"));
    QCOMPARE(items->state(), db::DataSetState::Edit);
    QTest::mouseClick(nav->button(ui::DBNavigator::Post), Qt::LeftButton);
    QVERIFY(m_spin->hasFocus());
    QCOMPARE(items->state(), db::DataSetState::Browse);
    QCOMPARE(fixture.stored(QStringLiteral("SELECT QTY FROM ITEMS WHERE ID = 1")).toInt(), 77);
    m_spin->setDataSource(nullptr);
    delete nav;
}

void TestSpinEdit::readOnlySpinDoesNotStep()
{
    m_spin->setValue(50);
    m_spin->setReadOnly(true);
    m_spin->setFocus();
    QTest::keyClick(m_spin, Qt::Key_Up);
    QTest::keyClick(m_spin, Qt::Key_PageDown);
    QTest::mouseClick(m_spin, Qt::LeftButton, {}, m_spin->buttonCentre(QStyle::SC_SpinBoxUp));
    QTest::keyClicks(m_spin, QStringLiteral("9"));
    QCOMPARE(m_spin->value(), 50);
    QCOMPARE(m_spin->stepEnabled(), QAbstractSpinBox::StepNone);
}

QTEST_MAIN(TestSpinEdit)
#include "tst_spinedit.moc"
