#include "GridSearch.h"

#include <QAbstractItemModel>
#include <vector>

namespace ui {

bool searchMatches(const QString& cellText, const GridSearchOptions& options)
{
    const Qt::CaseSensitivity cs = options.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    switch (options.match) {
    case SearchMatch::AnyPart:
        return cellText.contains(options.text, cs);
    case SearchMatch::WholeField:
        return cellText.compare(options.text, cs) == 0;
    case SearchMatch::FromBeginning:
        return cellText.startsWith(options.text, cs);
    }
    return false;
}

QModelIndex findNextMatch(QAbstractItemModel* model, const QModelIndex& from,
                          const GridSearchOptions& options)
{
    if (!model || options.text.isEmpty())
        return {};
    std::vector<int> columns;
    for (int c = 0; c < model->columnCount(); ++c)
        if (options.column < 0 || options.column == c)
            columns.push_back(c);
    const int width = int(columns.size());
    if (width == 0)
        return {};

    // Positions count cells row by row over the searched columns; the start is `from`, or
    // just before the first cell.
    int startRow = 0;
    int startPos = -1;
    if (from.isValid()) {
        startRow = from.row();
        startPos = -1;
        for (int p = 0; p < width; ++p)
            if (columns[size_t(p)] <= from.column())
                startPos = p;
    }
    int row = startRow;
    int pos = startPos;
    bool wrapped = false;
    for (;;) {
        if (++pos == width) {
            pos = 0;
            ++row;
        }
        if (row >= model->rowCount()) {
            while (row >= model->rowCount() && model->canFetchMore({})) {
                const int before = model->rowCount();
                model->fetchMore({});
                if (model->rowCount() == before)
                    break;
            }
            if (row >= model->rowCount()) {
                if (wrapped || model->rowCount() == 0)
                    return {};
                wrapped = true;
                row = 0;
                pos = 0;
            }
        }
        if (wrapped && (row > startRow || (row == startRow && pos > startPos)))
            return {};
        const QModelIndex index = model->index(row, columns[size_t(pos)]);
        if (searchMatches(model->data(index, Qt::DisplayRole).toString(), options))
            return index;
    }
}

} // namespace ui
