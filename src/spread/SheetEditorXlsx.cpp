// The spreadsheet editor's export as an .xlsx workbook (see SheetEditorXlsx.h).
#include "spread/SheetEditorXlsx.h"

#include "core/TextTables.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"
#include "xlsx/SheetXlsxExport.h"

#include <cctype>

namespace {

constexpr int kTextCannotWriteWorkbook = 11122;
constexpr int kTextWrittenAsValues = 11123;
constexpr int kTextWrittenWithoutPrintSettings = 11124;
constexpr int kTextPrintSettingsLeftOut = 11125;
// A message box lists this many cells and counts the rest.
constexpr std::size_t kCellsListed = 20;

} // namespace

bool isXlsxExportPath(const std::string& path)
{
    if (path.size() < 5)
        return false;
    std::string ext = path.substr(path.size() - 5);
    for (char& ch : ext)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext == ".xlsx";
}

bool exportEditorSheetAsXlsx(HWND owner, HWND grid, const std::string& path, const std::string& caption,
                             const std::string& sheetPath)
{
    kxxlsx::XlsxExportOptions options;
    options.sheetPath = sheetPath;
    const kxxlsx::XlsxExportResult result = kxxlsx::exportSheetToXlsx(grid, path, options);
    if (!result.ok) {
        MessageBox(owner, dialString(kTextCannotWriteWorkbook).str() + "\n\n" + result.error, caption,
                   MB_OK | MB_ICONWARNING);
        return false;
    }
    std::string message;
    if (!result.lastValueCells.empty()) {
        std::string cells;
        for (std::size_t i = 0; i < result.lastValueCells.size() && i < kCellsListed; ++i)
            cells += "\n" + result.lastValueCells[i];
        if (result.lastValueCells.size() > kCellsListed)
            cells += "\n(+" + std::to_string(result.lastValueCells.size() - kCellsListed) + ")";
        message = dialString(kTextWrittenAsValues).str() + "\n" + cells;
    }
    if (!result.printSettingsLeft.empty()) {
        message += message.empty() ? dialString(kTextWrittenWithoutPrintSettings).str()
                                   : "\n\n" + dialString(kTextPrintSettingsLeftOut).str();
        message += "\n";
        for (const std::string& item : result.printSettingsLeft)
            message += "\n" + item;
    }
    if (!message.empty())
        MessageBox(owner, message, caption, MB_OK | MB_ICONINFORMATION);
    return true;
}
