// Fuzz target of the settings store's text format: any bytes parse without crashing, as sheet text
// and as file bytes; whatever the store then holds is either refused by the writer or written so
// that it reads back to the same text, in the sheet's UTF-8 form and in the files' Windows-1252
// form; and the settings record taken from it survives the same round trip.
#include "sheetedit/SettingsStore.h"
#include "sheetedit/SheetSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

void roundTrip(const SettingsStore& store)
{
    std::string text;
    if (store.toText(text)) {
        SettingsStore again;
        again.parseText(text);
        std::string second;
        check(again.toText(second) && second == text);
    }
    std::string bytes;
    if (store.toFileBytes(bytes)) {
        SettingsStore again;
        again.parseFileBytes(bytes);
        std::string second;
        check(again.toFileBytes(second) && second == bytes);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    SettingsStore asText;
    asText.parseText(input);
    roundTrip(asText);

    SettingsStore asFile;
    asFile.parseFileBytes(input);
    roundTrip(asFile);

    SheetSettings settings;
    settings.takeFrom(asFile);
    check(settings.varNames.length() == settings.varValues.length());
    SettingsStore filled;
    settings.fillStore(filled);
    roundTrip(filled);
    return 0;
}
