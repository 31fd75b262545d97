#pragma once

#include "GridSearch.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

// The search dialog of a DBGrid (Ctrl+F): the text to find, the column to look in (or all),
// how the text must match, letter case. "Find next" asks the grid to find the next cell; a
// search that finds nothing says so in the dialog. Stays open until closed, so that "Find
// next" can be pressed again.
class GridSearchDialog : public QDialog
{
    Q_OBJECT
public:
    explicit GridSearchDialog(QWidget* parent = nullptr);

    void setColumnTitles(const QStringList& titles);
    GridSearchOptions options() const;
    // Shows or clears the "not found" line.
    void setNotFound(bool notFound);

    QLineEdit* textEdit() const { return m_text; }
    QPushButton* findButton() const { return m_find; }

signals:
    void findRequested(const ui::GridSearchOptions& options);

private:
    QLineEdit* m_text;
    QComboBox* m_column;
    QComboBox* m_match;
    QCheckBox* m_case;
    QPushButton* m_find;
    QLabel* m_status;
};

} // namespace ui
