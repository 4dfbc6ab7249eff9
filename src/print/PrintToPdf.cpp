// A sheet to PDF: settings, header and footer files, page plan, and the backend's writer.
#include "print/PrintToPdf.h"

#include "platform/win/PdfWriterHook.h"
#include "print/SheetPrint.h"
#include "sheetedit/SheetSettings.h"

namespace kxprint {

namespace {

HeaderFooter readBlock(const char* what, const Kx_String& name, const std::string& sheetPath, std::string* warning)
{
    HeaderFooter block;
    const std::string path = headerFooterPath(name.str(), sheetPath);
    std::string error;
    if (!path.empty() && !readHeaderFooterFile(path, block, error) && warning != nullptr) {
        if (!warning->empty())
            *warning += '\n';
        *warning += std::string(what) + " file " + error;
    }
    return block;
}

} // namespace

SheetPrint planSheetPages(HWND grid, const std::string& sheetPath, const PageSetup& setup, std::string* warning)
{
    SheetSettings settings;
    settings.readFromSheet(grid);
    PrintOptions options = optionsFromSettings(settings, setup);
    options.header = readBlock("header", settings.headerFile, sheetPath, warning);
    options.footer = readBlock("footer", settings.footerFile, sheetPath, warning);
    return SheetPrint(grid, std::move(options));
}

bool printSheetToPdf(HWND grid, const std::string& sheetPath, const std::string& pdfPath, const PageSetup& setup,
                     std::string& error, std::string* warning)
{
    const kxwin::PdfWriter writer = kxwin::pdfWriter();
    if (writer == nullptr) {
        error = "no PDF writer is available (the desktop backend provides it)";
        return false;
    }
    const SheetPrint pages = planSheetPages(grid, sheetPath, setup, warning);
    kxwin::PdfDocument document;
    document.widthMm = setup.widthMm();
    document.heightMm = setup.heightMm();
    document.dotsPerInch = kDotsPerInch;
    const size_t slash = sheetPath.find_last_of("/\\");
    document.title = slash == std::string::npos ? sheetPath : sheetPath.substr(slash + 1);
    document.pageCount = pages.pageCount();
    document.page = [&pages](int i) { return pages.renderPage(i); };
    return writer(pdfPath, document, &error);
}

} // namespace kxprint
