// Fuzz target of the text table reader: any bytes give entries sorted by unique number whose texts
// are storable, and writing the entries back reads back to the same entries without problems.
#include "core/TextTables.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kxcore::TextTableContent content = kxcore::parseTextTable(bytes);
    if (content.problemCount < static_cast<int>(content.problems.size()))
        std::abort();

    std::string written;
    for (size_t i = 0; i < content.entries.size(); ++i) {
        const auto& entry = content.entries[i];
        if (i > 0 && content.entries[i - 1].number >= entry.number)
            std::abort();
        const auto escaped = kxcore::escapeTableText(entry.text);
        if (!escaped)
            std::abort();
        written += std::to_string(entry.number) + "\t" + *escaped + "\n";
    }
    const kxcore::TextTableContent again = kxcore::parseTextTable(written);
    if (again.problemCount != 0 || again.entries.size() != content.entries.size())
        std::abort();
    for (size_t i = 0; i < again.entries.size(); ++i) {
        if (again.entries[i].number != content.entries[i].number || again.entries[i].text != content.entries[i].text)
            std::abort();
    }
    return 0;
}
