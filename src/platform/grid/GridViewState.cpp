// What a view of the grid needs beyond the SS functions: where the grid has scrolled to and the
// colours it gives locked cells.
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

} // namespace kxgrid
