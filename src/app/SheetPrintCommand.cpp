// kestra-ss sheet print: a sheet file printed to PDF with its own print settings (margins, switches,
// header and footer files, variables) on the paper given.
#include "app/SheetPrintCommand.h"

#include "platform/grid/Spread.h"
#include "platform/win/Window.h"
#include "print/PrintToPdf.h"
#ifdef KX_HAVE_QT
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
    std::string error, warning;
#ifdef KX_HAVE_QT
    // The PDF writer is Qt's; it needs Qt started, offscreen will do.
    if (!kxqt::startQt(kxqt::QtDisplay::Offscreen, &error))
        return fail(error.empty() ? "Qt cannot start" : error);
#endif
    const bool written = kxprint::printSheetToPdf(g.hwnd, file, out, setup, error, &warning);
    if (!warning.empty())
        std::fprintf(stderr, "kestra-ss sheet print: %s; printed without it\n", warning.c_str());
    return written ? 0 : fail(error);
}

} // namespace kxapp
