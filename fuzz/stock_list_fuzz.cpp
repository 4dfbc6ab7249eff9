// Fuzz target of the cutting-stock file reader: any bytes give rows; rows the writer accepts read
// back the same after writing, and nothing the reader gives is split differently the second time.
#include "core/StockFiles.h"
#include "core/StringLists.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Kx_Array<Kx_StringArray> rows;
    std::string error;
    if (!kx::parseStockText(bytes, rows, error))
        return 0;
    if (kx::stockWriteProblem(rows))
        return 0;  // a NUL or a leading byte-order mark from the input: refused, never written
    Kx_StringArray lines;
    if (!arrArrToArr(rows, kx::kStockSeparator, lines))
        std::abort();
    std::string written;
    for (const Kx_String& line : lines)
        written += line.str() + "\n";
    Kx_Array<Kx_StringArray> again;
    if (!kx::parseStockText(written, again, error) || !(again == rows))
        std::abort();
    return 0;
}
