#include "DBNavigator.h"

#include "DataControl.h"
#include "DataErrors.h"
#include "NavigatorIcons.h"

#include <QHBoxLayout>
#include <QMetaMethod>
#include <QToolButton>
#include <db/DataSet.h>
#include <db/DataSource.h>

namespace ui {

namespace {

const char* const ButtonNames[] = {"nbFirst",  "nbPrior", "nbNext", "nbLast",   "nbInsert",
                                   "nbDelete", "nbEdit",  "nbPost", "nbCancel", "nbRefresh"};
const char* const Hints[] = {"First",  "Previous", "Next", "Last",   "Insert",
                             "Delete", "Edit",     "Save", "Cancel", "Refresh"};

DBNavigator::Button buttonAt(int index)
{
    return DBNavigator::Button(1 << index);
}

} // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(ButtonNames[i]));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(m_flat);
        b->setIcon(navigatorIcon(i));
        b->setIconSize(QSize(16, 16));
        b->setToolTip(hint(buttonAt(i)));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setMinimumWidth(1);
        const Button which = buttonAt(i);
        connect(b, &QToolButton::clicked, this, [this, which] { click(which); });
        layout->addWidget(b);
        m_buttons[i] = b;
    }
    setMinimumHeight(25);
    updateButtons();
}

void DBNavigator::setDataSource(db::DataSource* source)
{
    if (m_source == source)
        return;
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source) {
        auto update = [this] { updateButtons(); };
        connect(source, &db::DataSource::activeChanged, this, update);
        connect(source, &db::DataSource::dataChanged, this, update);
        connect(source, &db::DataSource::stateChanged, this, update);
        connect(source, &db::DataSource::scrolled, this, update);
        connect(source, &db::DataSource::rowsAppended, this, update);
        connect(source, &db::DataSource::dataSetChanged, this, update);
        connect(source, &QObject::destroyed, this, update);
    }
    updateButtons();
}

db::DataSource* DBNavigator::dataSource() const
{
    return m_source;
}

void DBNavigator::setVisibleButtons(Buttons buttons)
{
    m_visible = buttons;
    for (int i = 0; i < int(m_buttons.size()); ++i)
        m_buttons[i]->setVisible(buttons.testFlag(buttonAt(i)));
}

void DBNavigator::setFlat(bool flat)
{
    m_flat = flat;
    for (QToolButton* b : m_buttons)
        b->setAutoRaise(flat);
}

void DBNavigator::setShowHints(bool show)
{
    m_showHints = show;
    for (int i = 0; i < int(m_buttons.size()); ++i)
        m_buttons[i]->setToolTip(show ? hint(buttonAt(i)) : QString());
}

QToolButton* DBNavigator::button(Button which) const
{
    return m_buttons[indexOf(which)];
}

QString DBNavigator::hint(Button which)
{
    return QString::fromLatin1(Hints[indexOf(which)]);
}

int DBNavigator::indexOf(Button which)
{
    for (int i = 0; i < 10; ++i)
        if (which == buttonAt(i))
            return i;
    return 0;
}

void DBNavigator::click(Button which)
{
    if (!m_source || !m_source->isActive())
        return;
    bool done = false;
    try {
        done = run(which, m_source->dataSet());
    } catch (const std::exception& error) {
        updateButtons();
        reportError(error);
        return;
    }
    updateButtons();
    if (done)
        emit clicked(which);
}

// The button's own action; false when a before-rule abandoned it.
bool DBNavigator::run(Button which, db::DataSet* dataSet)
{
    switch (which) {
    case First:
        updateFocusedControl(dataSet);
        dataSet->first();
        return true;
    case Prior:
        updateFocusedControl(dataSet);
        dataSet->prior();
        return true;
    case Next:
        updateFocusedControl(dataSet);
        dataSet->next();
        return true;
    case Last:
        updateFocusedControl(dataSet);
        dataSet->last();
        return true;
    case Insert:
        updateFocusedControl(dataSet);
        return dataSet->insert();
    case Delete:
        if (m_confirmDelete && !(m_question && m_question(this)))
            return true;
        return dataSet->remove();
    case Edit:
        return dataSet->edit();
    case Post:
        updateFocusedControl(dataSet);
        return dataSet->post();
    case Cancel:
        dataSet->cancel();
        return true;
    case Refresh:
        updateFocusedControl(dataSet);
        if (dataSet->isEditing() && !dataSet->post())
            return false;
        if (dataSet->isEmpty())
            dataSet->fullRefresh();
        else
            dataSet->refresh();
        return true;
    }
    return false;
}

void DBNavigator::updateButtons()
{
    const bool active = m_source && m_source->isActive();
    db::DataSet* ds = active ? m_source->dataSet() : nullptr;
    const bool editing = active && ds->isEditing();
    const bool empty = !active || ds->isEmpty();
    const int row = active ? ds->currentRow() : -1;
    const bool atFirst = empty || ds->bof() || row <= 0;
    const bool atLast = empty || ds->eof() || (row >= ds->recordCount() - 1 && !ds->canFetchMore());

    auto set = [this](Button b, bool on) { button(b)->setEnabled(on); };
    set(First, !atFirst);
    set(Prior, !atFirst);
    set(Next, !atLast);
    set(Last, !atLast);
    set(Insert, active && ds->canInsert());
    set(Delete, active && !empty && ds->canDelete());
    set(Edit, active && !empty && !editing && ds->canModify());
    set(Post, editing);
    set(Cancel, editing);
    set(Refresh, active);
}

void DBNavigator::reportError(const std::exception& error)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&DBNavigator::errorOccurred)))
        emit errorOccurred(error);
    else
        showDataError(this, error);
}

} // namespace ui
