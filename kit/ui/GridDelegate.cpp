#include "GridDelegate.h"

#include "GridCellEdit.h"
#include "GridModel.h"

#include <QComboBox>
#include <db/DataSet.h>
#include <db/Field.h>

namespace ui {

namespace {

const char* const InitialKeyProperty = "gridInitialKey";

int indexOfKey(const QComboBox* combo, const QVariant& key)
{
    if (key.isNull())
        return -1;
    const QString wanted = key.toString();
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemData(i).toString() == wanted)
            return i;
    return -1;
}

} // namespace

GridDelegate::GridDelegate(GridModel* model, QObject* parent) : QStyledItemDelegate(parent), m_model(model) {}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const
{
    const int column = index.column();
    const db::Field* field = m_model->field(column);
    if (!field)
        return nullptr;
    const GridColumn& declared = m_model->columns().at(column);
    const bool writable = m_model->canWrite(column);
    if (field->kind() == db::FieldKind::Lookup && writable) {
        auto* combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("GridLookupEdit"));
        combo->setMaxVisibleItems(qMax(1, declared.dropDownRows()));
        try {
            for (const db::LookupChoice& choice : field->lookupChoices())
                combo->addItem(choice.text, choice.key);
        } catch (const std::exception& e) {
            m_model->reportError(e);
        }
        // A choice is written at once, as typing starts the edit in a text cell.
        auto* self = const_cast<GridDelegate*>(this);
        connect(combo, &QComboBox::activated, self, [self, combo] { emit self->commitData(combo); });
        m_editor = combo;
        return combo;
    }
    auto* edit = new GridCellEdit(parent);
    edit->setObjectName(QStringLiteral("GridCellEdit"));
    edit->setReadOnly(!writable);
    if (field->type() == db::FieldType::String && field->size() > 0)
        edit->setMaxLength(field->size());
    edit->setAlignment(field->alignment() & Qt::AlignHorizontal_Mask);
    // The field is looked up at each keystroke: the dataset may have been reopened meanwhile.
    QPointer<GridModel> model = m_model;
    edit->setCharFilter([model, column](QChar c) {
        const db::Field* f = model ? model->field(column) : nullptr;
        return !f || f->isValidChar(c);
    });
    edit->setButtonVisible(declared.hasCellButton());
    auto* self = const_cast<GridDelegate*>(this);
    connect(edit, &GridCellEdit::buttonPressed, self,
            [self, column] { emit self->cellButtonPressed(column); });
    // The first change the user makes starts the edit of the row, so that the navigator's
    // Save is offered and takes the text (updateRecord).
    connect(edit, &QLineEdit::textEdited, self, [self, edit, column] {
        if (self->m_model->beginEdit())
            return;
        if (const db::Field* f = self->m_model->field(column))
            edit->setText(f->editText());
        edit->setModified(false);
    });
    m_editor = edit;
    return edit;
}

void GridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (m_editor == editor)
        m_editor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const db::Field* field = m_model->field(index.column());
    if (!field)
        return;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const db::Field* key = field->keyField();
        const QVariant value = key ? key->value() : QVariant();
        combo->setCurrentIndex(indexOfKey(combo, value));
        combo->setProperty(InitialKeyProperty, value);
        return;
    }
    if (auto* edit = qobject_cast<GridCellEdit*>(editor)) {
        edit->setText(field->editText());
        edit->setModified(false);
    }
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    try {
        writeEditor(editor, index);
    } catch (const std::exception& e) {
        m_model->reportError(e);
    }
}

void GridDelegate::writeEditor(QWidget* editor, const QModelIndex& index) const
{
    // Only the dataset's current row is edited; the grid moves the dataset before it opens an
    // editor.
    const db::DataSet* dataSet = m_model->activeDataSet();
    if (!dataSet || index.row() != dataSet->currentRow())
        return;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const QVariant chosen = combo->currentData();
        if (combo->currentIndex() < 0 || chosen.toString() == combo->property(InitialKeyProperty).toString())
            return;
        combo->setProperty(InitialKeyProperty, chosen);
        m_model->writeLookupKey(index.column(), chosen);
        return;
    }
    if (auto* edit = qobject_cast<GridCellEdit*>(editor)) {
        if (!edit->isModified() || edit->isReadOnly())
            return;
        // Marked as handed over first: a refused text is reported once, not at every later
        // attempt; the editor keeps it for the user to correct.
        edit->setModified(false);
        m_model->writeText(index.column(), edit->text());
    }
}

void GridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

} // namespace ui
