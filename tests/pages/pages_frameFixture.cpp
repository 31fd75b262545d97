#include "pages_frameFixture.h"

#include "MainDataModule.h"
#include "MainForm.h"
#include "SqlProbe.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <fb/Statement.h>
#include <fb/Transaction.h>
#include <ui/ApplicationEvents.h>
#include <ui/DBGrid.h>

namespace frametest {

bool DemoDatabase::create(QString* error)
{
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    m_params.database = m_dir.filePath(QStringLiteral("DATA_Velmar.fdb"));
    m_params.user = QStringLiteral("SYSDBA");
    m_params.password = QStringLiteral("plumbline");
    QProcess tool;
    tool.start(QStringLiteral(VELMAR_DB_TOOL),
               {QStringLiteral("create"), m_params.database, QStringLiteral("--demo")});
    if (!tool.waitForFinished(180000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        *error = QStringLiteral("velmar-db failed: ") + QString::fromLocal8Bit(tool.readAllStandardError());
        return false;
    }
    qputenv("VELMAR_DATABASE", m_params.database.toLocal8Bit());
    return true;
}

QList<QVariantList> DemoDatabase::rows(const QString& sql, const QVariantList& values) const
{
    return sqlprobe::rows(m_params, sql, values);
}

QVariant DemoDatabase::value(const QString& sql, const QVariantList& values) const
{
    return sqlprobe::value(m_params, sql, values);
}

void DemoDatabase::execute(const QString& sql, const QVariantList& values) const
{
    sqlprobe::execute(m_params, sql, values);
}

MainWindow::MainWindow(const QStringList& arguments) : m_arguments(arguments) {}

MainWindow::~MainWindow()
{
    close();
}

bool MainWindow::open(QString* error)
{
    try {
        m_module = std::make_unique<TMainDataModule>();
    } catch (const std::exception& e) {
        *error = QString::fromLocal8Bit(e.what());
        return false;
    }
    MainDataModule = m_module.get();
    auto* form = new TMainForm(m_arguments);
    MainForm = form;
    m_form = form;
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form)) {
        *error = QStringLiteral("the window didn't become active");
        return false;
    }
    TMainDataModule* m = m_module.get();
    if (!QTest::qWaitFor([m] { return m->dtsDetails->isActive() && m->dtsBenthos->isActive(); }, 10000)) {
        *error = QStringLiteral("the datasets of the pages weren't read");
        return false;
    }
    return true;
}

void MainWindow::close()
{
    delete m_form.data();
    m_module.reset();
}

TMainForm* MainWindow::form() const
{
    return static_cast<TMainForm*>(m_form.data());
}

void MainWindow::setEditMode(bool on)
{
    auto* button = find<QToolButton>("tbtnEdit");
    QVERIFY(button && button->isVisible());
    if (button->isChecked() != on)
        QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->isChecked(), on);
}

void MainWindow::reactivate()
{
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void MainWindow::showPage(int index)
{
    clickTab(find<QTabWidget>("PageControl1"), index);
}

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
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

void clickInto(QWidget* widget)
{
    QWidget* target = widget;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        target = area->viewport();
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(4, 4));
}

void clickTab(QTabWidget* pages, int index)
{
    QVERIFY(pages);
    QTabBar* bar = pages->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QCOMPARE(pages->currentIndex(), index);
}

bool waitForIdle(QWidget* window)
{
    auto* events = window->findChild<ui::ApplicationEvents*>(QStringLiteral("ApplicationEvents1"));
    if (!events)
        return false;
    QSignalSpy idle(events, &ui::ApplicationEvents::idle);
    // Something to handle, so that an idle moment follows.
    QCoreApplication::postEvent(window, new QEvent(QEvent::User));
    return idle.wait(3000);
}

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

QString cellText(ui::DBGrid* grid, int row, const QString& field)
{
    const int column = grid->columnOf(field);
    return column < 0 ? QString() : grid->model()->index(row, column).data().toString();
}

ModalAction::ModalAction(std::function<void(QWidget*)> action)
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

ModalAction::~ModalAction() = default;

} // namespace frametest
