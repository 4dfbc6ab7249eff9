// Fuzz target of the profile table reader: any bytes give rows of UTF-8 cells without tabs or line
// breaks; rows the writer accepts read back the same after writing.
#include "core/StringLists.h"
#include "core/TableFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Kx_Array<Kx_StringArray> rows;
    kx::parseTableText(bytes, rows);
    const auto problem = kx::tableWriteProblem(rows);
    // Only a byte-order mark left in front of the first cell (a file that starts with two) can make
    // what was read unwritable.
    if (problem && !(problem->find("byte-order mark") != std::string::npos))
        std::abort();
    if (problem)
        return 0;
    Kx_StringArray lines;
    if (!arrArrToArr(rows, '\t', lines))
        std::abort();
    std::string written;
    for (const Kx_String& line : lines)
        written += line.str() + "\n";
    Kx_Array<Kx_StringArray> again;
    kx::parseTableText(written, again);
    if (!(again == rows))
        std::abort();
    return 0;
}
