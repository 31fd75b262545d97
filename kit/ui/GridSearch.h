#pragma once

#include <QModelIndex>
#include <QString>

class QAbstractItemModel;

namespace ui {

enum class SearchMatch
{
    AnyPart,       // the text anywhere in the cell
    WholeField,    // the cell's whole text
    FromBeginning, // the cell's text begins with it
};

struct GridSearchOptions
{
    QString text;
    int column = -1; // -1: every column
    SearchMatch match = SearchMatch::AnyPart;
    bool caseSensitive = false;
};

bool searchMatches(const QString& cellText, const GridSearchOptions& options);

// The next cell after `from` (row by row, left to right, over the searched columns) whose
// shown text matches, reading more rows from the model as it goes and going round to the
// first row once; `from` itself is tried last. An invalid `from` starts at the first cell.
// Returns an invalid index when nothing matches.
QModelIndex findNextMatch(QAbstractItemModel* model, const QModelIndex& from,
                          const GridSearchOptions& options);

} // namespace ui
