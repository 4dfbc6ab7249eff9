// Dialog templates written as text: the declarative resource files a module keeps one per dialog
// and builds into its library. The format is described in docs/dialog-templates.md.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/Resources.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kxwin {

struct ResourceScriptError {
    int line = 0;
    std::string message;
};

// Parses every DIALOG block of a resource file. On failure nothing is returned and `error` names
// the line and the reason; `source` names the file in messages.
KXWIN_API std::optional<std::vector<DialogTemplate>> parseDialogTemplates(std::string_view text,
                                                                        ResourceScriptError& error);

// The value of a style name ("WS_TABSTOP", "BS_AUTOCHECKBOX", ...), if known.
KXWIN_API std::optional<DWORD> styleValue(std::string_view name);

// Writes templates back in the same format (for tools and round-trip tests).
KXWIN_API std::string formatDialogTemplate(const DialogTemplate& dialog);

} // namespace kxwin
