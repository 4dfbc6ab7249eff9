// What a view of the grid needs beyond the SS functions: where the grid has scrolled to, the
// colours it gives locked cells, the in-cell editor's text and how often the contents changed.
#include "platform/grid/GridControl.h"
#include "platform/grid/Spread.h"

namespace kxgrid {

bool topLeftCell(HWND grid, int* col, int* row)
{
    const detail::Grid* g = detail::gridOf(grid);
    if (g == nullptr)
        return false;
    if (col != nullptr)
        *col = g->leftCol;
    if (row != nullptr)
        *row = g->topRow;
    return true;
}

bool lockColors(HWND grid, COLORREF* back, COLORREF* fore)
{
    const detail::Grid* g = detail::gridOf(grid);
    if (g == nullptr)
        return false;
    if (back != nullptr)
        *back = g->lockBack;
    if (fore != nullptr)
        *fore = g->lockFore;
    return true;
}

bool editText(HWND grid, std::string& out)
{
    const detail::Grid* g = detail::gridOf(grid);
    if (g == nullptr || !g->editor.active)
        return false;
    out = detail::encodeUtf8(g->editor.text);
    return true;
}

std::uint64_t contentVersion(HWND grid)
{
    const detail::Grid* g = detail::gridOf(grid);
    return g == nullptr ? 0 : g->contentVersion;
}

} // namespace kxgrid
