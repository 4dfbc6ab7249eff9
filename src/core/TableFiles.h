// TableFiles: the core module's table files, the profile value tables (".pr") under the library's
// "prof" folder: UTF-8 text, one row per line, cells separated by one tab, no quoting and no
// comments (docs/profile-tables.md). Files from peer installations may be single-byte Windows-1252
// text; they are read as such. What the rows mean (type line, column names, entries) belongs to the
// callers (Kx_ProfValuesTable), not here.
#pragma once

#include "core/Cp1252.h"
#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

#include <optional>
#include <string>
#include <string_view>

// Reads the table file at path: title becomes the file's name without its folder and extension
// ("prof\HEA.pr" -> "HEA"), rows one array of cells per line (an empty line gives an empty row).
// A file that is not valid UTF-8 is taken as Windows-1252 as a whole and converted. Fails (false,
// title and rows untouched, "*Error* Cannot read ..." on the command line) when ObjectExportReadFile
// refuses the file (missing, over 16 MiB, a line over 1 MiB, UTF-16).
KXCORE_API bool readFile(const Kx_String& path, Kx_String& title, Kx_Array<Kx_StringArray>& rows);

// Writes rows to path through the save routine (the old file stays whole on any failure). Refuses,
// before anything is written, a table that would not read back the same: a cell holding a tab, a
// carriage return or a line feed, a cell that is not valid UTF-8 (it would read back as
// Windows-1252), or a first cell that starts with a byte-order mark. The refusal names the row and
// column and is printed as "*Error* Cannot save ...".
KXCORE_API bool writeFile(const Kx_String& path, const Kx_Array<Kx_StringArray>& rows);

namespace kx {

// readFile without the title and with the message (without the "*Error*" frame) returned.
KXCORE_API bool readTableRows(const Kx_String& path, Kx_Array<Kx_StringArray>& rows, std::string& error);
// The bytes of a table file as rows, as readFile converts them (for tests and the fuzz target).
KXCORE_API void parseTableText(std::string_view bytes, Kx_Array<Kx_StringArray>& rows);
// Why rows cannot be written so that they read back the same ("row 3, column 2 holds a tab"), or
// no value when they can.
KXCORE_API std::optional<std::string> tableWriteProblem(const Kx_Array<Kx_StringArray>& rows);

// The table file of a name taken from data ("HEA.pr", "sub\HEA.pr") in the folder: the native
// path when it lies under the folder, no value for an empty, absolute or escaping name.
KXCORE_API std::optional<std::string> tablePathUnder(const Kx_String& folder, const Kx_String& name);

} // namespace kx
