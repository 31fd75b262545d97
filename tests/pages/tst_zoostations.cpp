// The stations of a season on the zooplankton page: the station dialog opened by the
// navigator and by the "No." cell's button, and the footer count that follows the visits.

#include "MainDataModule.h"
#include "pages_zooFixture.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <db/DataSet.h>
#include <db/Field.h>
#include <ui/DBGrid.h>
#include <ui/DBNavigator.h>
#include <ui/GridCellEdit.h>

using zoo::clickButton;
using zoo::clickCell;

namespace {

// Types into the dialog's edits by name ("" leaves one alone), then presses OK or Cancel.
std::function<void(QWidget*)> answerDialog(const QList<QPair<const char*, QString>>& typing,
                                           const char* button)
{
    return [typing, button](QWidget* dialog) {
        for (const auto& [name, text] : typing) {
            auto* edit = dialog->findChild<QLineEdit*>(QLatin1String(name));
            QVERIFY(edit);
            edit->selectAll();
            QTest::keyClicks(edit, text);
        }
        QTest::mouseClick(dialog->findChild<QWidget*>(QLatin1String(button)), Qt::LeftButton);
    };
}

} // namespace

class TestZooStations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void newStationThroughTheNavigator();
    void cancelDropsANewStation();
    void cellButtonEditsTheStation();

private:
    int storedVisits(int station, const QString& letter = {}) const;
    QString footer() const { return m_grid->footerText(0); }
    int storedSeasonVisits() const;

    zoo::ZooFixture m_fixture;
    TMainDataModule* m = nullptr;
    ui::DBGrid* m_grid = nullptr;
    ui::DBNavigator* m_navigator = nullptr;
};

void TestZooStations::initTestCase()
{
    QString error;
    QVERIFY2(m_fixture.open(&error), qPrintable(error));
    m = m_fixture.module();
    m_grid = m_fixture.find<ui::DBGrid>("dbgStations1");
    m_navigator = m_fixture.find<ui::DBNavigator>("dbnStations1");
    QVERIFY(m_grid && m_navigator);
    m_fixture.setEditMode(true);
    clickCell(m_grid, 0, 1);
    QTRY_COMPARE(footer(), QString::number(storedSeasonVisits()));
}

void TestZooStations::cleanupTestCase()
{
    m_fixture.close();
}

int TestZooStations::storedVisits(int station, const QString& letter) const
{
    return m_fixture
        .stored(QStringLiteral(
                    "SELECT COUNT(*) FROM STATIONS_P WHERE STATION = ? AND ST_CHAR IS NOT DISTINCT FROM ?"),
                {station, letter.isEmpty() ? QVariant() : QVariant(letter)})
        .toInt();
}

int TestZooStations::storedSeasonVisits() const
{
    const db::DataSet* seasons = m->dtsSeasons;
    return m_fixture
        .stored(QStringLiteral("SELECT COUNT(*) FROM STATIONS_P WHERE \"DATE\" BETWEEN ? AND ?"),
                {seasons->field(QStringLiteral("FROM_DATE"))->value(),
                 seasons->field(QStringLiteral("TILL_DATE"))->value()})
        .toInt();
}

void TestZooStations::newStationThroughTheNavigator()
{
    const int before = storedSeasonVisits();
    const int sevenB = storedVisits(7, QStringLiteral("b"));
    QCOMPARE(footer(), QString::number(before));

    zoo::ModalHandler dialog(
        answerDialog({{"edtNo", QStringLiteral("7")}, {"edtIdx", QStringLiteral("b")}}, "BitBtn1"));
    clickButton(m_navigator, ui::DBNavigator::Insert);
    QVERIFY(dialog.done());
    // Shown, not stored.
    QCOMPARE(m->dtsStations->state(), db::DataSetState::Insert);
    QCOMPARE(m_grid->model()->index(m->dtsStations->currentRow(), 0).data().toString(), QStringLiteral("7b"));
    QCOMPARE(storedVisits(7, QStringLiteral("b")), sevenB);
    QCOMPARE(footer(), QString::number(before));

    clickButton(m_navigator, ui::DBNavigator::Post);
    QCOMPARE(m->dtsStations->state(), db::DataSetState::Browse);
    const QVariant id = m->dtsStations->field(QStringLiteral("ID"))->value();
    QCOMPARE(
        m_fixture.storedRows(
            QStringLiteral("SELECT STATION, ST_CHAR, STATION_NAME, \"DATE\" FROM STATIONS_P WHERE ID = ?"),
            {id}),
        (QList<QVariantList>{{7, QStringLiteral("b"), QStringLiteral("7b"),
                              m->dtsSeasons->field(QStringLiteral("FROM_DATE"))->value()}}));
    QTRY_COMPARE(footer(), QString::number(before + 1));

    // Deleted after the question: the count goes back.
    QTRY_VERIFY(m->dtsSamples1->paramValue(QStringLiteral("ID")).toLongLong() == id.toLongLong() &&
                m->dtsSamples1->isEmpty());
    QString question;
    zoo::ModalHandler confirm([&question](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        question = box->text();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QCOMPARE(m_grid->model()->index(m->dtsStations->currentRow(), 0).data().toString(), QStringLiteral("7b"));
    clickButton(m_navigator, ui::DBNavigator::Delete);
    QVERIFY(confirm.done());
    QCOMPARE(question, QStringLiteral("Удалить запись?"));
    // (the visit's samples were read again for it before Delete, as the refusal for visits with
    // samples looks at them)
    QCOMPARE(m_fixture.stored(QStringLiteral("SELECT COUNT(*) FROM STATIONS_P WHERE ID = ?"), {id}).toInt(),
             0);
    QTRY_COMPARE(footer(), QString::number(before));
}

void TestZooStations::cancelDropsANewStation()
{
    const int rows = m->dtsStations->recordCount();
    const QString count = footer();
    const int visits = storedVisits(98);
    zoo::ModalHandler dialog(answerDialog({{"edtNo", QStringLiteral("98")}}, "BitBtn2"));
    clickButton(m_navigator, ui::DBNavigator::Insert);
    QVERIFY(dialog.done());
    QCOMPARE(m->dtsStations->state(), db::DataSetState::Browse);
    QCOMPARE(m->dtsStations->recordCount(), rows);
    QCOMPARE(m_grid->model()->rowCount(), rows);
    QCOMPARE(footer(), count);
    QCOMPARE(storedVisits(98), visits);
}

void TestZooStations::cellButtonEditsTheStation()
{
    clickCell(m_grid, 1, 0);
    QTRY_COMPARE(m->dtsStations->currentRow(), 1);
    const QVariant visit = m->dtsStations->field(QStringLiteral("ID"))->value();
    const QVariant depth =
        m_fixture.stored(QStringLiteral("SELECT DEPTH FROM STATIONS_P WHERE ID = ?"), {visit});

    // Cancel: the station stays as it was.
    QTest::keyClick(m_grid, Qt::Key_F2);
    auto* editor = qobject_cast<ui::GridCellEdit*>(m_grid->cellEditor());
    QVERIFY(editor && editor->button() && editor->button()->isVisible());
    zoo::ModalHandler cancelled(answerDialog({{"edtDepth", QStringLiteral("33.5")}}, "BitBtn2"));
    QTest::mouseClick(editor->button(), Qt::LeftButton);
    QTRY_VERIFY(cancelled.done());
    QTRY_COMPARE(m->dtsStations->state(), db::DataSetState::Browse);
    QCOMPARE(m->dtsStations->field(QStringLiteral("DEPTH"))->value(), depth);

    // OK: the new depth is pending until Save.
    clickCell(m_grid, 1, 1);
    QTest::keyClick(m_grid, Qt::Key_Left);
    QTest::keyClick(m_grid, Qt::Key_F2);
    editor = qobject_cast<ui::GridCellEdit*>(m_grid->cellEditor());
    QVERIFY(editor && editor->button());
    zoo::ModalHandler changed(answerDialog({{"edtDepth", QStringLiteral("33.5")}}, "BitBtn1"));
    QTest::mouseClick(editor->button(), Qt::LeftButton);
    QTRY_VERIFY(changed.done());
    QTRY_COMPARE(m->dtsStations->state(), db::DataSetState::Edit);
    QCOMPARE(m_fixture.stored(QStringLiteral("SELECT DEPTH FROM STATIONS_P WHERE ID = ?"), {visit}), depth);
    clickButton(m_navigator, ui::DBNavigator::Post);
    QCOMPARE(m->dtsStations->state(), db::DataSetState::Browse);
    QCOMPARE(
        m_fixture.stored(QStringLiteral("SELECT DEPTH FROM STATIONS_P WHERE ID = ?"), {visit}).toDouble(),
        33.5);

    // In browse mode the cell has no button to press.
    m_fixture.setEditMode(false);
    const auto editMode = qScopeGuard([this] { m_fixture.setEditMode(true); });
    clickCell(m_grid, 1, 0);
    QTest::keyClick(m_grid, Qt::Key_F2);
    QVERIFY(!m_grid->cellEditor());
}

QTEST_MAIN(TestZooStations)
#include "tst_zoostations.moc"
