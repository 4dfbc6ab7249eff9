// A sheet printed to a PDF file with its own print settings, through the backend's PDF writer
// (platform/win/PdfWriterHook.h). What the editor's Print command and scripts call.
#pragma once

#include "print/PageSetup.h"
#include "print/SheetPrint.h"

#include "platform/win/WinTypes.h"

#include <string>

namespace kxprint {

// Prints `grid` with the settings kept in the sheet (margins, switches, variables) and its header
// and footer files (names relative to the folder of `sheetPath`, else the settings folder) on the
// paper of `setup`, to `pdfPath`. False with the reason in `error` when no PDF writer is
// registered or the file cannot be written; a header or footer file that cannot be read is left out
// and named in `warning`.
// The pages of `grid` as printSheetToPdf plans them (settings, header and footer files, `setup`),
// for a preview; a header or footer file that cannot be read is left out and named in `warning`.
SheetPrint planSheetPages(HWND grid, const std::string& sheetPath, const PageSetup& setup,
                          std::string* warning = nullptr);

bool printSheetToPdf(HWND grid, const std::string& sheetPath, const std::string& pdfPath, const PageSetup& setup,
                     std::string& error, std::string* warning = nullptr);

} // namespace kxprint
