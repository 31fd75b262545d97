#include "pages_zooFixture.h"

#include "MainDataModule.h"
#include "MainForm.h"
#include "ProgramFonts.h"
#include "SqlProbe.h"
#include "ZooplanktonPage.h"

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QToolButton>
#include <fb/Error.h>
#include <fb/Statement.h>
#include <fb/Transaction.h>
#include <ui/DBGrid.h>
#include <ui/DBTreeView.h>
#include <ui/GridSearchDialog.h>

namespace zoo {

ZooFixture::ZooFixture() = default;

ZooFixture::~ZooFixture()
{
    close();
}

bool ZooFixture::open(QString* error)
{
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    m_params.database = m_dir.filePath(QStringLiteral("DATA_Velmar.fdb"));
    m_params.password = QStringLiteral("plumbline");
    QProcess tool;
    tool.start(QStringLiteral(VELMAR_DB_TOOL),
               {QStringLiteral("create"), m_params.database, QStringLiteral("--demo")});
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        *error = QStringLiteral("velmar-db failed: ") + QString::fromLocal8Bit(tool.readAllStandardError());
        return false;
    }
    if (!ProgramFonts::registerTahoma()) {
        *error = QStringLiteral("Tahoma is not installed (fonts-wine)");
        return false;
    }
    qputenv("VELMAR_DATABASE", m_params.database.toLocal8Bit());
    try {
        m_module = std::make_unique<TMainDataModule>();
    } catch (const std::exception& e) {
        *error = QString::fromLocal8Bit(e.what());
        return false;
    }
    MainDataModule = m_module.get();
    TMainDataModule* m = m_module.get();
    if (!QTest::qWaitFor([m] { return m->dtsDetails->isActive() && m->dtsTaxonsP2->isActive(); }, 10000)) {
        *error = QStringLiteral("the zooplankton chain didn't open");
        return false;
    }

    // Started with the edit switch, as a user who may edit.
    auto* form = new TMainForm({QStringLiteral("velmar"), TMainForm::editSwitch()});
    MainForm = form;
    m_window = form;
    if (!form->findChild<TZooplanktonPage*>()) {
        *error = QStringLiteral("the main window shows no zooplankton page");
        return false;
    }
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window)) {
        *error = QStringLiteral("the window didn't become active");
        return false;
    }
    return true;
}

void ZooFixture::close()
{
    delete m_window;
    m_module.reset();
}

void ZooFixture::setEditMode(bool on)
{
    auto* button = find<QToolButton>("tbtnEdit");
    QVERIFY(button && button->isVisible());
    if (button->isChecked() != on)
        QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->isChecked(), on);
}

QList<QVariantList> ZooFixture::storedRows(const QString& sql, const QVariantList& values) const
{
    return sqlprobe::rows(m_params, sql, values);
}

QVariant ZooFixture::stored(const QString& sql, const QVariantList& values) const
{
    return sqlprobe::value(m_params, sql, values);
}

void ZooFixture::execute(const QString& sql, const QVariantList& values) const
{
    sqlprobe::execute(m_params, sql, values);
}

namespace {

// A click into a window that isn't active activates it first, as on the screen (the offscreen
// platform doesn't give the activation back when a modal dialog closes).
void activateWindowOf(QWidget* widget)
{
    QWidget* window = widget->window();
    if (window->isActiveWindow())
        return;
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

} // namespace

void clickButton(ui::DBNavigator* navigator, ui::DBNavigator::Button button)
{
    QToolButton* b = navigator->button(button);
    QVERIFY2(b && b->isVisible() && b->isEnabled(), "navigator button not available");
    QTest::mouseClick(b, Qt::LeftButton);
}

void clickCell(ui::DBGrid* grid, int row, int column)
{
    const QModelIndex index = grid->model()->index(row, column);
    QVERIFY(index.isValid());
    activateWindowOf(grid);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

void clickNode(ui::DBTreeView* tree, const QModelIndex& node)
{
    QVERIFY(node.isValid());
    activateWindowOf(tree);
    tree->scrollTo(node);
    const QRect r = tree->visualRect(node);
    QVERIFY(!r.isEmpty());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 8, r.center().y()));
}

void clickInto(QWidget* widget)
{
    activateWindowOf(widget);
    QWidget* target = widget;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        target = area->viewport();
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(4, 4));
}

ModalHandler::ModalHandler(std::function<void(QWidget*)> action)
    : m_action(std::move(action)), m_timer(std::make_unique<QTimer>()),
      m_before(QApplication::activeModalWidget())
{
    m_timer->setInterval(20);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_before || !modal->isVisible())
            return;
        m_timer->stop();
        m_done = true;
        m_action(modal);
    });
    m_timer->start();
}

ModalHandler::~ModalHandler() = default;

int rowOf(ui::DBGrid* grid, const QString& field, const QString& text)
{
    const int column = grid->columnOf(field);
    if (column < 0)
        return -1;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        if (grid->model()->index(row, column).data().toString() == text)
            return row;
    return -1;
}

} // namespace zoo
