#pragma once

#include <vector>

namespace ui {

struct ColumnWidthRequest
{
    int width = 0; // pixels: the fixed width, or the stretching column's share
    bool fixed = false;
};

// Widths that fill `available` pixels: fixed columns keep their width, the stretching ones
// share what is left in proportion to their requested widths, none narrower than `minimum`
// (the grid then scrolls). Without stretching columns the widths stay as requested.
std::vector<int> fitColumnWidths(const std::vector<ColumnWidthRequest>& columns, int available,
                                 int minimum = 16);

} // namespace ui
