// The labels empty header cells show when a sheet is edited as a spreadsheet: column letters and row
// numbers. Display only; the cells keep their own (empty) texts.
#include "platform/grid/GridControl.h"
#include "platform/grid/Spread.h"
#include "platform/win/Window.h"

#include <algorithm>

namespace kxgrid {

bool setDefaultHeaderLabels(HWND grid, bool on)
{
    detail::Grid* g = detail::gridOf(grid);
    if (g == nullptr)
        return false;
    if (g->defaultHeaderLabels != on) {
        g->defaultHeaderLabels = on;
        InvalidateRect(grid, nullptr, TRUE);
    }
    return true;
}

std::string columnLetters(int col)
{
    std::string out;
    for (long n = col; n > 0; n = (n - 1) / 26)
        out.push_back(static_cast<char>('A' + (n - 1) % 26));
    std::reverse(out.begin(), out.end());
    return out;
}

std::string headerLabel(HWND grid, int col, int row)
{
    const detail::Grid* g = detail::gridOf(grid);
    col = detail::Grid::normalise(col);
    row = detail::Grid::normalise(row);
    if (g == nullptr || (col != 0 && row != 0) || !g->sheet().validCell(col, row))
        return {};
    std::string text = g->data(col, row);
    if (!text.empty() || !g->defaultHeaderLabels || (col == 0 && row == 0))
        return text;
    return row == 0 ? columnLetters(col) : std::to_string(row);
}

} // namespace kxgrid
