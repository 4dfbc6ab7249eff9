// Fuzzes the sheet file reader: any bytes either load or are refused with a message, and a loaded
// sheet saves to text that loads again to the same text.
#include "platform/grid/Spread.h"
#include "platform/win/Window.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static HWND grid = kxgrid::createStandaloneGrid();
    static HWND again = kxgrid::createStandaloneGrid();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (!kxgrid::loadSheetText(grid, text, &error)) {
        if (error.empty())
            std::abort();  // a refusal always says why
        return 0;
    }
    std::string first, second;
    if (!kxgrid::sheetText(grid, first) || !kxgrid::loadSheetText(again, first, &error) ||
        !kxgrid::sheetText(again, second) || first != second)
        std::abort();  // what the writer wrote must read back the same
    return 0;
}
