#include "GridColumnWidths.h"

#include <algorithm>

namespace ui {

std::vector<int> fitColumnWidths(const std::vector<ColumnWidthRequest>& columns, int available, int minimum)
{
    std::vector<int> widths;
    widths.reserve(columns.size());
    long long stretchTotal = 0;
    int fixedTotal = 0;
    int lastStretching = -1;
    for (size_t i = 0; i < columns.size(); ++i) {
        const int asked = std::max(columns[i].width, 1);
        widths.push_back(asked);
        if (columns[i].fixed) {
            fixedTotal += asked;
        } else {
            stretchTotal += asked;
            lastStretching = int(i);
        }
    }
    if (lastStretching < 0)
        return widths;
    const int room = available - fixedTotal;
    int given = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].fixed)
            continue;
        int w;
        if (int(i) == lastStretching)
            w = room - given; // the last one takes the rounding
        else
            w = int((long long)room * widths[i] / stretchTotal);
        w = std::max(w, minimum);
        widths[i] = w;
        given += w;
    }
    return widths;
}

} // namespace ui
