// Bulk reading of a grid: the value texts of a block visited in row order, for the callers that
// read or search whole columns and rows. One lookup of the grid for the whole block instead of two
// SS calls per cell (length, then text) is what makes 100,000-row columns cheap.
#include "platform/grid/Spread.h"

#include "platform/grid/GridControl.h"

namespace kxgrid {

int visitValues(HWND grid, int col1, int row1, int col2, int row2, ValueVisitor visit, void* context)
{
    detail::Grid* g = detail::gridOf(grid);
    if (g == nullptr || visit == nullptr)
        return -1;
    try {
        if (!g->blockArg(col1, row1, col2, row2))
            return -1;
        const detail::Sheet& sheet = g->sheet();
        int visited = 0;
        std::string converted;
        for (int row = row1; row <= row2; ++row) {
            for (int col = col1; col <= col2; ++col) {
                ++visited;
                // Grid::value without its copy: the stored text is the value form for every cell
                // but a combo box that reports item indices, which goes through the conversion.
                std::string_view text;
                const detail::Cell* cell = sheet.find(col, row);
                if (cell != nullptr && !cell->data.empty()) {
                    const SS_CELLTYPE& type = g->typeOf(col, row);
                    if (type.type == SS_TYPE_COMBOBOX && (type.style & SS_COMBO_VALUE_INDEX) != 0) {
                        converted = detail::valueText(type, cell->data);
                        text = converted;
                    } else {
                        text = cell->data;
                    }
                }
                if (!visit(context, col, row, text))
                    return visited;
            }
        }
        return visited;
    } catch (...) {
        return -1;
    }
}

} // namespace kxgrid
