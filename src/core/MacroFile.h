// Macro definition files (".kxm", docs/macro-files.md): a whole macro as the core hands it to the
// macro dialogs, with the constraint model, the settings and the filter properties of its modules,
// as readable text. The library's samples and the tests build their macros from these files.
#pragma once

#include "core/KxCoreExport.h"
#include "core/MacroData.h"
#include "core/MacroSubDialogData.h"

#include <optional>
#include <string>
#include <string_view>

// Everything one definition file holds.
struct KXCORE_API MacroDefinition {
    MacroData macro;
    // The constraint model (EditConstrData::modules and the current module).
    EditConstrData constraints;
    MacroSettingsData settings;
    // Per tab of the macro, the properties the select-macro filter knows it by ("bolted").
    Kx_Array<Kx_StringArray> tabProperties;

    friend bool operator==(const MacroDefinition&, const MacroDefinition&) = default;
};

namespace kxcore {

// Reads a definition from text; sourceName names it in messages. On failure: false, error holds
// "<source>, line <n>: <what>" and out is untouched.
KXCORE_API bool parseMacroDefinition(std::string_view text, std::string_view sourceName, MacroDefinition& out,
                                     std::string& error);
// The text that parseMacroDefinition reads back to the same definition.
KXCORE_API std::string formatMacroDefinition(const MacroDefinition& definition);

// The same on files: reading is bounded by the library limits; writing goes through the save routine.
KXCORE_API bool readMacroDefinitionFile(const Kx_String& path, MacroDefinition& out, std::string& error);
KXCORE_API bool writeMacroDefinitionFile(const Kx_String& path, const MacroDefinition& definition,
                                         std::string& error);

// The folder of the library's macros: "<library>/Macros/".
KXCORE_API Kx_String macroLibraryFolder();
// A definition named by path (an existing file) or by name: "<name>.kxm" in the macro folder (names
// must stay inside it). Nothing when there is no such file.
KXCORE_API std::optional<std::string> findMacroDefinition(const Kx_String& nameOrPath);

} // namespace kxcore
