#include "GridSearchDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

GridSearchDialog::GridSearchDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GridSearchDialog"));
    setWindowTitle(tr("Find"));

    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("edtFindText"));
    m_column = new QComboBox(this);
    m_column->setObjectName(QStringLiteral("cbFindColumn"));
    m_match = new QComboBox(this);
    m_match->setObjectName(QStringLiteral("cbFindMatch"));
    m_match->addItem(tr("Any part of field"), int(SearchMatch::AnyPart));
    m_match->addItem(tr("Whole field"), int(SearchMatch::WholeField));
    m_match->addItem(tr("From beginning of field"), int(SearchMatch::FromBeginning));
    m_case = new QCheckBox(tr("Match case"), this);
    m_case->setObjectName(QStringLiteral("chkFindCase"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblFindStatus"));

    m_find = new QPushButton(tr("Find next"), this);
    m_find->setObjectName(QStringLiteral("btnFindNext"));
    m_find->setDefault(true);
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("btnFindClose"));

    auto* form = new QFormLayout;
    form->addRow(tr("Text to find:"), m_text);
    form->addRow(tr("Look in:"), m_column);
    form->addRow(tr("Match:"), m_match);
    form->addRow(QString(), m_case);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_find);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    setColumnTitles({});
    connect(m_find, &QPushButton::clicked, this, [this] {
        setNotFound(false);
        emit findRequested(options());
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_text, &QLineEdit::textChanged, this, [this] { setNotFound(false); });
}

void GridSearchDialog::setColumnTitles(const QStringList& titles)
{
    const int chosen = m_column->currentIndex();
    m_column->clear();
    m_column->addItem(tr("All columns"), -1);
    for (int i = 0; i < titles.size(); ++i)
        m_column->addItem(QString(titles.at(i)).replace(u'\n', u' '), i);
    m_column->setCurrentIndex(chosen >= 0 && chosen < m_column->count() ? chosen : 0);
}

GridSearchOptions GridSearchDialog::options() const
{
    GridSearchOptions o;
    o.text = m_text->text();
    o.column = m_column->currentData().toInt();
    o.match = SearchMatch(m_match->currentData().toInt());
    o.caseSensitive = m_case->isChecked();
    return o;
}

void GridSearchDialog::setNotFound(bool notFound)
{
    m_status->setText(notFound ? tr("Text not found.") : QString());
}

} // namespace ui
