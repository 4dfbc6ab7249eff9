// Fuzz target of the header and footer file format and its placeholders: any bytes parse or are
// refused without crashing; a parsed block has at most the allowed lines and three parts a line,
// each valid UTF-8 after conversion; filling placeholders never loops or reads past the text.
#include "print/HeaderFooter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kxprint::HeaderFooter block;
    std::string error;
    if (!kxprint::parseHeaderFooter(text, block, error)) {
        if (error.empty() || !block.empty())
            std::abort();
        return 0;
    }
    if (block.lines.size() > kxprint::kMaxHeaderFooterLines)
        std::abort();
    const kxprint::PrintVariables vars{{"Title", "{Page}"}, {"", "empty"}, {"Date", "x"}};
    for (const auto& line : block.lines)
        for (const auto& part : line.parts) {
            const std::string filled = kxprint::fillPlaceholders(part, vars, 3, 9);
            if (filled.size() > part.size() * 8 + 16)
                std::abort();
        }
    return 0;
}
