// The zoobenthos page on a demo database: the card's layout, the footers against what the
// database holds, an empty year, what discards and what saves a benthos sample's change, the
// spin edit's bounds and the lookup boxes.

#include "MainDataModule.h"
#include "MainForm.h"
#include "ProgramFonts.h"
#include "pages_frameFixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QtTest>
#include <db/DataSet.h>
#include <db/Field.h>
#include <db/NumberFormat.h>
#include <ui/DBEdit.h>
#include <ui/DBGrid.h>
#include <ui/DBLookupComboBox.h>
#include <ui/DBMemo.h>
#include <ui/SpinEdit.h>

using namespace frametest;

class TestBenthos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout();
    void footers();
    void emptyYear();
    void changeDiscarded_data();
    void changeDiscarded();
    void changeKeptWithinCard();
    void changeSaved_data();
    void changeSaved();
    void spinEditBounds();
    void lookupBoxes();
    void cardReadOnlyInBrowseMode();

private:
    // The zoobenthos page shown, its first sample current; edit mode as asked.
    void openPage(bool editing);
    // Types `text` into a card edit as the user does: a click into it, all selected, typed.
    void typeInto(const char* edit, const QString& text);
    QVariant storedSample(const char* column) const;
    // Types `text` into a grid's current cell: the first key opens the cell editor.
    static void typeIntoCell(ui::DBGrid* grid, const QString& text);

    DemoDatabase m_database;
    std::unique_ptr<MainWindow> m_window;
    db::DataSet* m_samples = nullptr;
    QVariant m_sampleId;
};

void TestBenthos::initTestCase()
{
    QVERIFY2(ProgramFonts::registerTahoma(), "Tahoma is not installed (fonts-wine)");
    QString error;
    QVERIFY2(m_database.create(&error), qPrintable(error));
}

void TestBenthos::init()
{
    m_window = std::make_unique<MainWindow>();
    QString error;
    QVERIFY2(m_window->open(&error), qPrintable(error));
    m_samples = m_window->module()->dtsSamples2;
}

void TestBenthos::cleanup()
{
    m_window.reset();
}

void TestBenthos::openPage(bool editing)
{
    m_window->showPage(1);
    if (editing)
        m_window->setEditMode(true);
    TMainDataModule* dm = m_window->module();
    QTRY_VERIFY(!m_samples->isEmpty() && dm->dtsBenthos->isActive() && !dm->dtsBenthos->isEmpty());
    m_sampleId = m_samples->field(QStringLiteral("ID"))->value();
}

void TestBenthos::typeInto(const char* edit, const QString& text)
{
    auto* control = m_window->find<ui::DBEdit>(edit);
    QVERIFY(control);
    clickInto(control);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(control));
    control->selectAll();
    QTest::keyClicks(control, text);
}

void TestBenthos::typeIntoCell(ui::DBGrid* grid, const QString& text)
{
    QTest::keyClicks(grid, text.left(1));
    QTRY_VERIFY(grid->cellEditor());
    QTest::keyClicks(grid->cellEditor(), text.mid(1));
}

QVariant TestBenthos::storedSample(const char* column) const
{
    return m_database.value(
        QStringLiteral("SELECT %1 FROM SAMPLES_BE WHERE ID = ?").arg(QLatin1String(column)), {m_sampleId});
}

void TestBenthos::layout()
{
    openPage(false);
    auto* card = m_window->find<QWidget>("Panel5");
    auto* right = m_window->find<QWidget>("Panel4");
    QVERIFY(card && right);
    QCOMPARE(card->height(), 145);
    QCOMPARE(card->width(), right->width());
    QCOMPARE(card->geometry().bottom(), right->height() - 1);
    QCOMPARE(m_window->find<QGroupBox>("GroupBox5")->height(), 145);
    QCOMPARE(m_window->find<QGroupBox>("GroupBox5")->title(), QStringLiteral("Years"));
    QCOMPARE(m_window->find<QGroupBox>("GroupBox7")->title(), QStringLiteral("Stations"));
    QCOMPARE(m_window->find<QGroupBox>("GroupBox8")->title(), QStringLiteral("Zoobenthos"));
    QCOMPARE(m_window->find<QGroupBox>("GroupBox8")->geometry().bottom() + 1, card->y());

    const struct
    {
        const char* control;
        QRect place;
        const char* label;
        QPoint labelPlace;
    } controls[] = {
        {"dbcbSediments", {16, 24, 137, 24}, "Ground", {16, 5}},
        {"edtTemperature2", {168, 24, 73, 24}, "Temperature", {168, 5}},
        {"edtSalinity2", {264, 24, 65, 24}, "Salinity", {264, 5}},
        {"edtSquare", {16, 66, 65, 24}, "Area", {16, 50}},
        {"edtNumber", {96, 66, 57, 24}, "Samples", {96, 50}},
        {"edtSecci", {168, 66, 73, 24}, "Transparency", {168, 50}},
        {"edtFlow", {264, 66, 73, 24}, "Current", {264, 50}},
        {"dbcbSamplers", {16, 112, 193, 24}, "Sampler", {16, 94}},
    };
    QWidget* previous = nullptr;
    for (const auto& expected : controls) {
        auto* control = m_window->find<QWidget>(expected.control);
        QVERIFY2(control && control->parentWidget() == card, expected.control);
        QCOMPARE(control->geometry(), expected.place);
        QLabel* label = nullptr;
        for (QLabel* candidate : card->findChildren<QLabel*>())
            if (candidate->text() == QLatin1String(expected.label))
                label = candidate;
        QVERIFY2(label, expected.label);
        QCOMPARE(label->pos(), expected.labelPlace);
        // Tab order: Tab goes from each control to the next.
        if (previous) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTRY_COMPARE(QApplication::focusWidget(), control);
        } else {
            clickInto(control);
            QTRY_COMPARE(QApplication::focusWidget(), control);
        }
        previous = control;
    }
    auto* notice = m_window->find<QWidget>("Panel6");
    auto* memo = m_window->find<ui::DBMemo>("DBMemo2");
    QCOMPARE(notice->geometry(), QRect(card->width() - 2 - 161, 2, 161, 141));
    QCOMPARE(memo->parentWidget(), notice);
    QCOMPARE(memo->geometry(), QRect(0, 141 - 117, 161, 117));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(memo));
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    // Grid columns: the fixed ones keep their widths, the titles as given.
    auto* stations = m_window->find<ui::DBGrid>("dbgStations2");
    QCOMPARE(stations->columns().at(0).title(), QStringLiteral("No."));
    QCOMPARE(stations->columnWidth(0), 48);
    auto* benthos = m_window->find<ui::DBGrid>("dbgBenthos");
    QCOMPARE(benthos->titleLines(), 2);
    QCOMPARE(benthos->columnWidth(1), 80);
    QCOMPARE(benthos->columnWidth(2), 80);
    QCOMPARE(benthos->columns().at(1).title(), QStringLiteral("Abundance, ind./sq.m"));
    QCOMPARE(benthos->columns().at(2).title(), QStringLiteral("Biomass, g/sq.m"));
}

void TestBenthos::footers()
{
    openPage(false);
    TMainDataModule* dm = m_window->module();
    const QVariant from = dm->dtsYears->field(QStringLiteral("FROM_DATE"))->value();
    const QVariant till = dm->dtsYears->field(QStringLiteral("TILL_DATE"))->value();
    const QString count =
        m_database
            .value(QStringLiteral("SELECT COUNT(*) FROM SAMPLES_BE WHERE \"DATE\" BETWEEN ? AND ?"),
                   {from, till})
            .toString();
    auto* stations = m_window->find<ui::DBGrid>("dbgStations2");
    auto* benthos = m_window->find<ui::DBGrid>("dbgBenthos");
    QTRY_COMPARE(stations->footerText(0), count);

    const QList<QVariantList> sums = m_database.rows(
        QStringLiteral("SELECT SUM(ABUNDANCE), SUM(BIOMASS) FROM BENTHOS WHERE SAMPLE = ?"), {m_sampleId});
    QTRY_COMPARE(benthos->footerText(0), QStringLiteral("Total:"));
    const db::Field* abundance = dm->dtsBenthos->field(QStringLiteral("ABUNDANCE"));
    const db::Field* biomass = dm->dtsBenthos->field(QStringLiteral("BIOMASS"));
    // A field without display format gives a plain number.
    QTRY_COMPARE(benthos->footerText(1),
                 db::formatFloat(sums.first().at(0).toDouble(), abundance->displayFormat()));
    QTRY_COMPARE(benthos->footerText(2),
                 db::formatFloat(sums.first().at(1).toDouble(), biomass->displayFormat()));
}

void TestBenthos::emptyYear()
{
    m_window.reset();
    m_database.execute(QStringLiteral("INSERT INTO YEARS (ID, \"YEAR\", FROM_DATE, TILL_DATE) "
                                      "VALUES (GEN_ID(GEN_YEARS_ID, 1), 2091, '2091-01-01', '2091-12-31')"));
    const auto removeYear = qScopeGuard(
        [this] { m_database.execute(QStringLiteral("DELETE FROM YEARS WHERE \"YEAR\" = 2091")); });
    init();
    openPage(false);
    auto* years = m_window->find<ui::DBGrid>("dbgYears");
    const int row = rowOf(years, QStringLiteral("YEAR"), QStringLiteral("2091"));
    QVERIFY(row >= 0);
    clickCell(years, row, 0);
    QTRY_VERIFY(m_samples->isActive() && m_samples->isEmpty());
    auto* stations = m_window->find<ui::DBGrid>("dbgStations2");
    QCOMPARE(stations->model()->rowCount(), 0);
    QTRY_COMPARE(stations->footerText(0), QStringLiteral("0"));
    QTRY_COMPARE(m_window->find<ui::DBGrid>("dbgBenthos")->model()->rowCount(), 0);
    QTRY_COMPARE(m_window->find<ui::DBEdit>("edtTemperature2")->text(), QString());
    QCOMPARE(m_window->find<ui::DBLookupComboBox>("dbcbSediments")->currentIndex(), -1);
    QCOMPARE(m_window->find<ui::DBMemo>("DBMemo2")->toPlainText(), QString());
}

void TestBenthos::changeDiscarded_data()
{
    QTest::addColumn<QString>("typedInto"); // a card edit, or the stations grid's depth cell
    QTest::addColumn<QString>("then");      // a control clicked, or a page tab
    QTest::newRow("card, then benthos grid") << "edtTemperature2"
                                             << "dbgBenthos";
    QTest::newRow("card, then years grid") << "edtTemperature2"
                                           << "dbgYears";
    QTest::newRow("stations grid, then years grid") << "dbgStations2"
                                                    << "dbgYears";
    QTest::newRow("stations grid, then card") << "dbgStations2"
                                              << "edtSalinity2";
    QTest::newRow("stations grid, then other page") << "dbgStations2"
                                                    << "tab 0";
}

void TestBenthos::changeDiscarded()
{
    QFETCH(QString, typedInto);
    QFETCH(QString, then);
    openPage(true);
    const char* column = typedInto == QLatin1String("dbgStations2") ? "DEPTH" : "TEMPERATURE";
    const QVariant stored = storedSample(column);
    const QString shown = m_samples->field(QLatin1String(column))->displayText();
    if (typedInto == QLatin1String("dbgStations2")) {
        auto* grid = m_window->find<ui::DBGrid>("dbgStations2");
        clickCell(grid, 0, grid->columnOf(QStringLiteral("DEPTH")));
        typeIntoCell(grid, QStringLiteral("77.7"));
    } else {
        typeInto(qPrintable(typedInto), QStringLiteral("77.7"));
    }
    QTRY_VERIFY(m_samples->isEditing());

    if (then.startsWith(QLatin1String("tab ")))
        m_window->showPage(then.mid(4).toInt());
    else
        clickInto(m_window->find<QWidget>(qPrintable(then)));
    QTRY_COMPARE(m_samples->state(), db::DataSetState::Browse);
    QCOMPARE(m_samples->field(QLatin1String(column))->displayText(), shown);
    QCOMPARE(storedSample(column), stored);
}

void TestBenthos::changeKeptWithinCard()
{
    openPage(true);
    const QVariant stored = storedSample("TEMPERATURE");
    typeInto("edtTemperature2", QStringLiteral("18.25"));
    // From one card control to the next, and back into the stations grid: still pending.
    clickInto(m_window->find<QWidget>("edtSalinity2"));
    QTRY_COMPARE(m_samples->field(QStringLiteral("TEMPERATURE"))->asFloat(), 18.25);
    clickInto(m_window->find<QWidget>("dbgStations2"));
    QTRY_COMPARE(QApplication::focusWidget(), m_window->find<QWidget>("dbgStations2"));
    QCOMPARE(m_samples->state(), db::DataSetState::Edit);
    QCOMPARE(storedSample("TEMPERATURE"), stored);
}

void TestBenthos::changeSaved_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Save button") << "save";
    QTest::newRow("another row") << "move";
    QTest::newRow("Save while a benthos cell is edited") << "cell";
}

void TestBenthos::changeSaved()
{
    QFETCH(QString, how);
    openPage(true);
    if (how == QLatin1String("cell")) {
        db::DataSet* benthos = m_window->module()->dtsBenthos;
        const QVariant id = benthos->field(QStringLiteral("ID"))->value();
        auto* grid = m_window->find<ui::DBGrid>("dbgBenthos");
        clickCell(grid, 0, grid->columnOf(QStringLiteral("ABUNDANCE")));
        typeIntoCell(grid, QStringLiteral("4321"));
        clickButton(m_window->find<ui::DBNavigator>("dbnBenthos"), ui::DBNavigator::Post);
        QTRY_COMPARE(benthos->state(), db::DataSetState::Browse);
        QCOMPARE(
            m_database.value(QStringLiteral("SELECT ABUNDANCE FROM BENTHOS WHERE ID = ?"), {id}).toDouble(),
            4321.0);
        return;
    }

    const double value = how == QLatin1String("save") ? 21.75 : 22.5;
    typeInto("edtTemperature2", QString::number(value));
    if (how == QLatin1String("save")) {
        clickButton(m_window->find<ui::DBNavigator>("dbnStations2"), ui::DBNavigator::Post);
    } else {
        auto* grid = m_window->find<ui::DBGrid>("dbgStations2");
        clickCell(grid, 0, 1);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(grid));
        QCOMPARE(m_samples->state(), db::DataSetState::Edit);
        clickCell(grid, 1, 1);
        QTRY_COMPARE(m_samples->currentRow(), 1);
    }
    QTRY_COMPARE(m_samples->state(), db::DataSetState::Browse);
    QCOMPARE(storedSample("TEMPERATURE").toDouble(), value);
}

void TestBenthos::spinEditBounds()
{
    openPage(true);
    auto* spin = m_window->find<ui::SpinEdit>("edtNumber");
    QVERIFY(spin);
    clickInto(spin);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(spin));

    // Typed beyond the top: the top once the control is left.
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("150"));
    QTest::keyClick(spin, Qt::Key_Tab);
    QTRY_COMPARE(m_samples->field(QStringLiteral("SAMPLES_NUMBER"))->asInteger(), 100);
    QCOMPARE(spin->text(), QStringLiteral("100"));

    clickInto(spin);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(spin));
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->value(), 100);
    QTest::keyClick(spin, Qt::Key_PageDown);
    QCOMPARE(spin->value(), 90);
    QTest::keyClick(spin, Qt::Key_Down);
    QCOMPARE(spin->value(), 89);
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("3"));
    QTest::keyClick(spin, Qt::Key_PageDown);
    QCOMPARE(spin->value(), 0);
    QTest::keyClick(spin, Qt::Key_Down);
    QCOMPARE(spin->value(), 0);
    QTest::keyClick(spin, Qt::Key_PageUp);
    QCOMPARE(spin->value(), 10);

    clickButton(m_window->find<ui::DBNavigator>("dbnStations2"), ui::DBNavigator::Post);
    QTRY_COMPARE(m_samples->state(), db::DataSetState::Browse);
    QCOMPARE(storedSample("SAMPLES_NUMBER").toInt(), 10);
}

void TestBenthos::lookupBoxes()
{
    openPage(true);
    const struct
    {
        const char* box;
        const char* column;
        const char* table;
        const char* name;
    } boxes[] = {{"dbcbSediments", "SEDIMENTS", "SEDIMENTS", "SEDIMENT_EN"},
                 {"dbcbSamplers", "SAMPLER", "SAMPLERS", "SAMPLER_EN"}};
    for (const auto& expected : boxes) {
        auto* box = m_window->find<ui::DBLookupComboBox>(expected.box);
        QVERIFY(box);
        const QString nameSql =
            QStringLiteral("SELECT L.%1 FROM SAMPLES_BE S JOIN %2 L ON L.ID = S.%3 WHERE S.ID = ?")
                .arg(QLatin1String(expected.name), QLatin1String(expected.table),
                     QLatin1String(expected.column));
        const QString englishName = m_database.value(nameSql, {m_sampleId}).toString();
        QVERIFY2(!englishName.isEmpty(), expected.box);
        QTRY_COMPARE(box->currentText(), englishName);

        // Another name from the list: the record takes that name's key, saved with the sample.
        clickInto(box);
        QTRY_VERIFY(box->view()->isVisible());
        QTest::keyClick(box->view(), box->currentIndex() + 1 < box->count() ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(box->view(), Qt::Key_Return);
        QTRY_VERIFY(!box->view()->isVisible());
        const QString chosen = box->currentText();
        QVERIFY(chosen != englishName);
        const QVariant key =
            m_database.value(QStringLiteral("SELECT ID FROM %1 WHERE %2 = ?")
                                 .arg(QLatin1String(expected.table), QLatin1String(expected.name)),
                             {chosen});
        QCOMPARE(m_samples->state(), db::DataSetState::Edit);
        QCOMPARE(m_samples->field(QLatin1String(expected.column))->value().toInt(), key.toInt());
        clickButton(m_window->find<ui::DBNavigator>("dbnStations2"), ui::DBNavigator::Post);
        QTRY_COMPARE(m_samples->state(), db::DataSetState::Browse);
        QCOMPARE(storedSample(expected.column).toInt(), key.toInt());
        QCOMPARE(m_database.value(nameSql, {m_sampleId}).toString(), chosen);
    }
}

void TestBenthos::cardReadOnlyInBrowseMode()
{
    openPage(false);
    const QVariant stored = storedSample("TEMPERATURE");
    auto* edit = m_window->find<ui::DBEdit>("edtTemperature2");
    clickInto(edit);
    QTest::keyClicks(edit, QStringLiteral("5"));
    auto* spin = m_window->find<ui::SpinEdit>("edtNumber");
    clickInto(spin);
    const int number = spin->value();
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->value(), number);
    clickInto(m_window->find<QWidget>("edtSalinity2"));
    QCOMPARE(m_samples->state(), db::DataSetState::Browse);
    QCOMPARE(storedSample("TEMPERATURE"), stored);
}

QTEST_MAIN(TestBenthos)
#include "tst_benthos.moc"
