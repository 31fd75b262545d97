#pragma once
// The main window as start-up makes it, on a demo database made once per test program by
// velmar-db in a temporary folder: the data module first, then TMainForm with a command line of
// the test's choosing. A connection of the test's own reads what the database then holds.

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QVariant>
#include <fb/Attachment.h>
#include <functional>
#include <memory>
#include <ui/DBNavigator.h>

class QTabWidget;
class TMainDataModule;
class TMainForm;

namespace ui {
class DBGrid;
}

namespace frametest {

class DemoDatabase
{
public:
    // Makes the database and points VELMAR_DATABASE at it; false with the reason in `error`.
    bool create(QString* error);
    QString path() const { return m_params.database; }

    // What the database holds, read through a connection of its own.
    QList<QVariantList> rows(const QString& sql, const QVariantList& values = {}) const;
    QVariant value(const QString& sql, const QVariantList& values = {}) const;
    // Runs a statement through that connection, committed.
    void execute(const QString& sql, const QVariantList& values = {}) const;

private:
    QTemporaryDir m_dir;
    fb::ConnectionParams m_params;
};

class MainWindow
{
public:
    static QStringList editSwitchCommandLine() { return {QStringLiteral("velmar"), QStringLiteral("kqx")}; }

    explicit MainWindow(const QStringList& arguments = editSwitchCommandLine());
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the data module and the window, shows it and waits until both chains have been
    // read; false with the reason in `error`.
    bool open(QString* error);
    void close();

    TMainForm* form() const;
    TMainDataModule* module() const { return m_module.get(); }

    template <class T> T* find(const char* name) const
    {
        return m_form ? m_form->findChild<T*>(QLatin1String(name)) : nullptr;
    }

    // Edit mode as the user turns it on and off, by a click on tbtnEdit.
    void setEditMode(bool on);
    // The window active again after a dialog, as the window manager makes it (the offscreen
    // platform leaves no window active when a dialog closes).
    void reactivate();
    // A page as the user chooses it, by a click on its tab.
    void showPage(int index);

private:
    QStringList m_arguments;
    std::unique_ptr<TMainDataModule> m_module;
    QPointer<QWidget> m_form;
};

// --- driving the window by mouse and keys ---

void clickButton(ui::DBNavigator* navigator, ui::DBNavigator::Button button);
// Clicks the grid's cell; the dataset follows the grid's current row from the event loop.
void clickCell(ui::DBGrid* grid, int row, int column = 0);
// Clicks into a control, which takes the focus as a click gives it.
void clickInto(QWidget* widget);
void clickTab(QTabWidget* pages, int index);
// Lets the window's idle handlers run once.
bool waitForIdle(QWidget* window);
// The row of `grid` whose `field` shows `text`, or -1.
int rowOf(ui::DBGrid* grid, const QString& field, const QString& text);
QString cellText(ui::DBGrid* grid, int row, const QString& field);

// Runs `action` once on the next modal dialog or message box as soon as it shows (polled by a
// timer, so the caller may then open it with a click that runs a modal loop).
class ModalAction
{
public:
    explicit ModalAction(std::function<void(QWidget*)> action);
    ~ModalAction();
    ModalAction(const ModalAction&) = delete;
    ModalAction& operator=(const ModalAction&) = delete;
    bool done() const { return m_done; }

private:
    std::function<void(QWidget*)> m_action;
    std::unique_ptr<QTimer> m_timer;
    QPointer<QWidget> m_before;
    bool m_done = false;
};

} // namespace frametest
