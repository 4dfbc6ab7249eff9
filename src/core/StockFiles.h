// StockFiles: the cutting-stock files of a set, stock (".shp") and purchase list (".buy"): one row
// per line, the cells joined by the single byte 0xBF (docs/cutting-stock-files.md). Which folder a
// set's files lie in and which file a dialog picks are the dialog's business, not this file's.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

#include <optional>
#include <string>
#include <string_view>

namespace kx {

// The cell separator of the files.
inline constexpr char kStockSeparator = '\xBF';

// The bytes of a stock file as rows: lines as ObjectExportReadFile splits them, each split at the
// separator (an empty line is an empty row). A file whose cells, so split, are not all valid UTF-8 is a peer's
// Windows-1252 file: there every 0xBF byte separates, and the cells are converted. False with a
// message (rows untouched) for text the line reader refuses (a line over 1 MiB, UTF-16).
KXCORE_API bool parseStockText(std::string_view bytes, Kx_Array<Kx_StringArray>& rows, std::string& error);

// Reads the stock file at path into rows. False with a message naming the file and the reason
// (missing, unreadable, too large), rows untouched.
KXCORE_API bool readStockFile(const Kx_String& path, Kx_Array<Kx_StringArray>& rows, std::string& error);

// Why rows cannot be written so that they read back the same ("row 3, cell 2 holds a line break"),
// or no value when they can.
KXCORE_API std::optional<std::string> stockWriteProblem(const Kx_Array<Kx_StringArray>& rows);

// Writes rows to path through the save routine, as UTF-8 (ASCII files are what peers write too).
// Refuses first what stockWriteProblem names. False with a message (the old file intact) on any
// failure.
KXCORE_API bool writeStockFile(const Kx_String& path, const Kx_Array<Kx_StringArray>& rows, std::string& error);

} // namespace kx
