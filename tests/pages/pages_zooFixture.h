#pragma once
// The main window on a demo database of its own: velmar-db makes the database once per test
// program in a temporary folder, the data module opens it as at start-up, and the main window,
// started with the edit switch, shows the zooplankton page. A second connection reads what the database
// holds.

#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <fb/Attachment.h>
#include <functional>
#include <memory>
#include <ui/DBNavigator.h>

class QModelIndex;
class TMainDataModule;

namespace ui {
class DBGrid;
class DBTreeView;
} // namespace ui

namespace zoo {

class ZooFixture
{
public:
    ZooFixture();
    ~ZooFixture();
    ZooFixture(const ZooFixture&) = delete;
    ZooFixture& operator=(const ZooFixture&) = delete;

    // Makes the database, the data module and the window; false (with the reason in
    // `error`) when any of them fails.
    bool open(QString* error);
    void close();

    QWidget* window() const { return m_window; }
    TMainDataModule* module() const { return m_module.get(); }

    template <class T> T* find(const char* name) const
    {
        return m_window ? m_window->findChild<T*>(QLatin1String(name)) : nullptr;
    }

    // Edit mode as the user turns it on and off.
    void setEditMode(bool on);

    // What the database holds, read through a connection of its own.
    QVariant stored(const QString& sql, const QVariantList& values = {}) const;
    QList<QVariantList> storedRows(const QString& sql, const QVariantList& values = {}) const;
    // Runs a statement through that connection, committed.
    void execute(const QString& sql, const QVariantList& values = {}) const;

private:
    QTemporaryDir m_dir;
    fb::ConnectionParams m_params;
    std::unique_ptr<TMainDataModule> m_module;
    QPointer<QWidget> m_window;
};

// --- driving the window by mouse and keys ---

void clickButton(ui::DBNavigator* navigator, ui::DBNavigator::Button button);
// Clicks the grid's cell; the dataset follows the grid's current row from the event loop.
void clickCell(ui::DBGrid* grid, int row, int column = 0);
void clickNode(ui::DBTreeView* tree, const QModelIndex& node);
// Clicks into a control, which takes the focus as a click gives it.
void clickInto(QWidget* widget);
// Runs `action` once on the next modal dialog or message box as soon as it shows (from a
// timer, so the caller may then open it with a click).
class ModalHandler
{
public:
    explicit ModalHandler(std::function<void(QWidget*)> action);
    ~ModalHandler();
    ModalHandler(const ModalHandler&) = delete;
    ModalHandler& operator=(const ModalHandler&) = delete;
    // Whether the action has run.
    bool done() const { return m_done; }

private:
    std::function<void(QWidget*)> m_action;
    std::unique_ptr<QTimer> m_timer;
    QPointer<QWidget> m_before; // the modal widget already up, if any
    bool m_done = false;
};

// The row of `grid` whose `field` shows `text`, or -1.
int rowOf(ui::DBGrid* grid, const QString& field, const QString& text);

} // namespace zoo
