// The editor's Print command.
#include "spread/SheetEditorPrint.h"

#include "core/FileDialog.h"
#include "core/TextTables.h"
#include "print/PrintToPdf.h"

#include <string>

namespace {

constexpr int kTextPrintTitle = 11140;
constexpr int kTextPdfFilter = 11141;
constexpr int kTextCannotPrint = 11142;
constexpr int kTextPrintedWithout = 11143;

} // namespace

Kx_String runEditorPrint(HWND owner, HWND grid, const Kx_String& sheetFile)
{
    const std::string sheet = sheetFile.str();
    const std::size_t slash = sheet.find_last_of("/\\");
    std::string name = slash == std::string::npos ? sheet : sheet.substr(slash + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    Kx_FileDialogRequest request;
    request.open = false;
    request.filter = dialString(kTextPdfFilter);
    request.defaultExtension = "pdf";
    request.title = dialString(kTextPrintTitle);
    request.folder = slash == std::string::npos ? std::string() : sheet.substr(0, slash);
    request.fileName = name.empty() ? std::string() : name + ".pdf";
    request.owner = owner;
    const Kx_String path = runFileDialog(request);
    if (path.isEmpty())
        return Kx_String();
    std::string error, warning;
    if (!kxprint::printSheetToPdf(grid, sheet, path.str(), kxprint::PageSetup{}, error, &warning))
        return Kx_String(dialString(kTextCannotPrint).str() + "\n\n" + error);
    if (!warning.empty())
        return Kx_String(dialString(kTextPrintedWithout).str() + "\n\n" + warning);
    return Kx_String();
}
