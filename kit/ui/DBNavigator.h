#pragma once

#include "DeleteQuestion.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <db/DataSource.h>
#include <exception>

class QToolButton;

namespace ui {

// A row of ten buttons that move through a data source's dataset and change it: First,
// Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh, in that order, with the
// hints "First", "Previous", "Next", "Last", "Insert", "Delete", "Edit", "Save", "Cancel",
// "Refresh". The buttons never take the focus, so an edit keeps it while Save is pressed:
// the focused control of the same dataset first hands its typed text to its field
// (updateFocusedControl) before a button posts or moves. Enabled states follow the dataset
// (no Prior on the first row, no Post while browsing...). Delete asks "Удалить запись?" first.
//
// The buttons are QToolButtons named "nbFirst" ... "nbRefresh".
class DBNavigator : public QWidget
{
    Q_OBJECT
public:
    enum Button
    {
        First = 0x001,
        Prior = 0x002,
        Next = 0x004,
        Last = 0x008,
        Insert = 0x010,
        Delete = 0x020,
        Edit = 0x040,
        Post = 0x080,
        Cancel = 0x100,
        Refresh = 0x200,
    };
    Q_ENUM(Button)
    Q_DECLARE_FLAGS(Buttons, Button)
    Q_FLAG(Buttons)

    static constexpr Buttons AllButtons = Buttons(0x3ff);
    // What the program's navigators show while browsing, and what edit mode adds.
    static constexpr Buttons BrowseButtons = Buttons(First | Prior | Next | Last | Refresh);
    static constexpr Buttons EditButtons = Buttons(Insert | Delete | Edit | Post | Cancel);

    explicit DBNavigator(QWidget* parent = nullptr);

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const;

    void setVisibleButtons(Buttons buttons);
    Buttons visibleButtons() const { return m_visible; }
    // Flat buttons (raised only under the mouse); on by default.
    void setFlat(bool flat);
    bool isFlat() const { return m_flat; }
    // Hints as tool tips; on by default.
    void setShowHints(bool show);
    bool showHints() const { return m_showHints; }
    // Delete asks first unless this is off; the question can be replaced (tests answer it).
    void setConfirmDelete(bool confirm) { m_confirmDelete = confirm; }
    bool confirmDelete() const { return m_confirmDelete; }
    void setDeleteQuestion(DeleteQuestion question) { m_question = std::move(question); }

    QToolButton* button(Button which) const;
    static QString hint(Button which);

    // Runs a button's action as a click does (also for a hidden or disabled button).
    void click(Button which);

signals:
    // After the pressed button's own action; not when the action failed or a before-rule
    // abandoned it. After Delete also when the question was answered Cancel.
    void clicked(ui::DBNavigator::Button button);
    // A failed action (see DataErrors.h); without a receiver the navigator shows the error.
    void errorOccurred(const std::exception& error);

private:
    static int indexOf(Button which);
    bool run(Button which, db::DataSet* dataSet);
    void updateButtons();
    void reportError(const std::exception& error);

    QPointer<db::DataSource> m_source;
    std::array<QToolButton*, 10> m_buttons{};
    Buttons m_visible = AllButtons;
    bool m_flat = true;
    bool m_showHints = true;
    bool m_confirmDelete = true;
    DeleteQuestion m_question = askDeleteRecord;
};

} // namespace ui

Q_DECLARE_OPERATORS_FOR_FLAGS(ui::DBNavigator::Buttons)
