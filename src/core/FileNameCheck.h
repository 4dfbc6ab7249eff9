// FileNameCheck: the one check of a name a user typed that is to become a file or folder name (a
// table, a layout, a user section, a stock list). Paths and confinement of names taken from data
// live in Paths.h; this is about the single name part a person chooses.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "platform/win/WinTypes.h"

#include <optional>

namespace kx {

// Why name cannot be one file or folder name on the add-on's platforms, as the text number of the
// reason, or no value when it can. Refused: the empty name; "." and ".."; a name holding a folder
// separator ('\' or '/'), one of : * ? " < > | or a control character (below U+0020, and DEL); a
// name ending with a dot or a blank (the home platform drops them, so the file would get another
// name than the one typed).
KXCORE_API std::optional<int> invalidFileNameReason(const Kx_String& name);

} // namespace kx

// True when name can be used as a file or folder name. Otherwise shows the user an exclamation
// message box (owned by owner) that names the refused text and says why, and returns false.
KXCORE_API bool warnInvalidFileName(const Kx_String& name, HWND owner = nullptr);
