// Fuzz target of the macro definition reader: any bytes either fail cleanly with a line-numbered
// message, leaving the definition as it was, or give a definition whose written text reads back to
// the same definition and the same text.
#include "core/MacroFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    MacroDefinition def;
    def.macro.title = "sentinel";
    const MacroDefinition before = def;
    std::string error;
    if (!kxcore::parseMacroDefinition(text, "fuzz", def, error)) {
        if (!(def == before) || error.empty())
            std::abort();
        return 0;
    }
    const std::string written = kxcore::formatMacroDefinition(def);
    MacroDefinition again;
    if (!kxcore::parseMacroDefinition(written, "written", again, error) || !(again == def)
        || kxcore::formatMacroDefinition(again) != written)
        std::abort();
    return 0;
}
