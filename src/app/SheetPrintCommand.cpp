// kestra-ss sheet print: a sheet file printed to PDF with its own print settings (margins, switches,
// header and footer files, variables) on the paper given.
#include "app/SheetPrintCommand.h"

#include "platform/grid/Spread.h"
#include "platform/win/Window.h"
#include "print/HeaderFooter.h"
#include "print/SheetPrint.h"
#include "sheetedit/SheetSettings.h"
#ifdef KX_HAVE_QT
#include "platform/qt/PdfPages.h"
#include "platform/qt/QtBackend.h"
#endif

#include <cstdio>
#include <string>
#include <string_view>

namespace kxapp {

namespace {

int usage()
{
    std::fputs("usage: kestra-ss sheet print FILE OUT.pdf [--paper A4|Letter] [--landscape]\n", stderr);
    return 2;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "kestra-ss sheet print: %s\n", message.c_str());
    return 1;
}

struct ScopedGrid {
    HWND hwnd = kxgrid::createStandaloneGrid();
    ~ScopedGrid()
    {
        if (hwnd)
            DestroyWindow(hwnd);
    }
};

// Reads the settings' header or footer file; a file that cannot be read is left out with a warning,
// since the cells still print.
kxprint::HeaderFooter readBlock(const char* what, const Kx_String& name, const std::string& sheetPath)
{
    kxprint::HeaderFooter block;
    const std::string path = kxprint::headerFooterPath(name.str(), sheetPath);
    std::string error;
    if (!path.empty() && !kxprint::readHeaderFooterFile(path, block, error))
        std::fprintf(stderr, "kestra-ss sheet print: %s file %s; printing without it\n", what, error.c_str());
    return block;
}

} // namespace

int runSheetPrint(int argc, char** argv)
{
    if (argc < 4)
        return usage();
    const std::string file = argv[2], out = argv[3];
    kxprint::PageSetup setup;
    for (int i = 4; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--landscape") {
            setup.landscape = true;
        } else if (arg == "--paper" && i + 1 < argc) {
            const auto paper = kxprint::paperFromName(argv[++i]);
            if (!paper) {
                std::fprintf(stderr, "kestra-ss sheet print: --paper takes A4 or Letter, not '%s'\n", argv[i]);
                return 2;
            }
            setup.paper = *paper;
        } else {
            return usage();
        }
    }
    ScopedGrid g;
    if (!g.hwnd)
        return fail("cannot create a grid");
    if (!SSLoadFromFile(g.hwnd, file.c_str()))
        return fail(kxgrid::lastError(g.hwnd));
    // Empty header cells print as the editor shows them: column letters and row numbers.
    kxgrid::setDefaultHeaderLabels(g.hwnd, true);
    SheetSettings settings;
    settings.readFromSheet(g.hwnd);
    kxprint::PrintOptions options = kxprint::optionsFromSettings(settings, setup);
    options.header = readBlock("header", settings.headerFile, file);
    options.footer = readBlock("footer", settings.footerFile, file);
#ifdef KX_HAVE_QT
    std::string error;
    if (!kxqt::startQt(kxqt::QtDisplay::Offscreen, &error))
        return fail(error.empty() ? "Qt cannot start" : error);
    const kxprint::SheetPrint pages(g.hwnd, std::move(options));
    kxqt::PdfPageFormat format;
    format.widthMm = setup.widthMm();
    format.heightMm = setup.heightMm();
    format.dotsPerInch = kxprint::kDotsPerInch;
    const size_t slash = file.find_last_of("/\\");
    format.title = slash == std::string::npos ? file : file.substr(slash + 1);
    if (!kxqt::writePdfPages(out, format, pages.pageCount(), [&](int i) { return pages.renderPage(i); }, &error))
        return fail(error);
    return 0;
#else
    (void)out;
    return fail("PDF output needs the Qt backend, which this build leaves out");
#endif
}

} // namespace kxapp
