// Fuzz target of the section-type catalogue reader: any bytes give a catalogue whose types have
// numbers 1 to 24, each once, and whose groups name only those types; or a refusal with a message.
#include "core/SectionCatalogue.h"
#include "core/TableFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Kx_Array<Kx_StringArray> rows;
    kx::parseTableText(std::string_view(reinterpret_cast<const char*>(data), size), rows);
    SectionGroupArray catalogue;
    std::string error;
    if (!catalogue.readFromRows(rows, "fuzz.cat", error)) {
        if (error.empty() || catalogue.typeCount() != 0)
            std::abort();
        return 0;
    }
    for (int i = 0; i < catalogue.typeCount(); ++i) {
        const SectionType& t = catalogue.typeAt(i);
        if (t.number < 1 || t.number > 24 || catalogue.findType(t.number) != &t)
            std::abort();
        for (int f : t.nameFields)
            if (f < 0 || f > 7)
                std::abort();
        (void)t.name();
        (void)t.fieldLabels();
    }
    for (int g = 0; g < catalogue.groupCount(); ++g)
        for (int n : catalogue.group(g).types)
            if (catalogue.findType(n) == nullptr)
                std::abort();
    return 0;
}
