// Fuzzes pasting tab-separated text into a grid with mixed cell types, and copying the block back.
#include "platform/grid/Spread.h"
#include "platform/win/Window.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static HWND grid = [] {
        HWND g = kxgrid::createStandaloneGrid(6, 8);
        SSSetBool(g, SSB_ALLOWUSERFORMULAS, TRUE);
        SS_CELLTYPE t;
        SSSetTypeNumber(g, &t, 0, 2, -1000, 1000);
        SSSetCellTypeRange(g, 2, 1, 2, 8, &t);
        SSSetTypeComboBox(g, &t, SS_COMBO_VALUE_INDEX, "a\tb\tc");
        SSSetCellTypeRange(g, 3, 1, 3, 8, &t);
        SSSetTypeCheckBox(g, &t, 0, "", nullptr, nullptr);
        SSSetCellTypeRange(g, 4, 1, 4, 8, &t);
        SSSetTypeEdit(g, &t, 0, 5, SS_CHRSET_ALNUM, SS_CASE_UPPER);
        SSSetCellTypeRange(g, 5, 1, 5, 8, &t);
        SSSetLockRange(g, 6, 1, 6, 4, TRUE);
        SSSetBool(g, SSB_PROTECT, TRUE);
        return g;
    }();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int start = size > 0 ? data[0] % 8 : 1;
    if (kxgrid::pasteText(grid, 1 + start % 6, 1 + start % 8, text) < 0)
        std::abort();
    std::string copied;
    if (!kxgrid::copyText(grid, 1, 1, 6, 8, copied))
        std::abort();
    // A copied block pasted back onto itself shows the same texts.
    std::string after;
    kxgrid::pasteText(grid, 1, 1, copied);
    kxgrid::copyText(grid, 1, 1, 6, 8, after);
    if (copied != after)
        std::abort();
    return 0;
}
