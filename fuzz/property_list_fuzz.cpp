// Fuzz target of the property-list reader: any bytes either fail cleanly, leaving the list as it
// was, or give a list whose written text reads back to the same list and the same text.
#include "core/Kx_PropertiesList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    Kx_PropertiesList list;
    list.setProperty("sentinel", 1);
    const Kx_PropertiesList before = list;
    std::string error;
    if (!list.readFromText(text, "fuzz", error)) {
        if (!(list == before) || error.empty())
            std::abort();
        return 0;
    }

    const std::string written = list.toText();
    Kx_PropertiesList again;
    if (!again.readFromText(written, "written", error) || !(again == list) || again.toText() != written)
        std::abort();

    // Every name reads back with the type it was stored with.
    const Kx_StringArray names = list.getNames();
    for (const Kx_String& name : names) {
        int i = 0;
        double d = 0;
        Kx_String s;
        const int found = int(list.getProperty(name, i)) + int(list.getProperty(name, d))
            + int(list.getProperty(name, s));
        if (found != 1)
            std::abort();
    }
    return 0;
}
