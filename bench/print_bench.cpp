// Printing a bill-shaped sheet of 10,000 lines by 12 columns (300 coloured sub-total rows, 500 picture
// rows joined across the columns): the whole sheet to a PDF file (target under 3 s) and the first
// page of a preview, planned, drawn and rendered to a picture (target under 200 ms). Pages as a
// counter.
#include "platform/grid/Spread.h"
#include "platform/qt/PdfPages.h"
#include "platform/qt/QtBackend.h"
#include "platform/win/Bitmap.h"
#include "platform/win/Window.h"
#include "print/SheetPrint.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

constexpr int kLines = 10'000;
constexpr int kColumns = 12;
constexpr int kSubTotals = 300;
constexpr int kPictures = 500;

struct Bill {
    HWND grid = nullptr;
    int rows = 0;

    Bill()
    {
        kxqt::startQt(kxqt::QtDisplay::Offscreen);
        grid = kxgrid::createStandaloneGrid(kColumns, 0);
        SSSetBool(grid, SSB_REDRAW, FALSE);
        const int rowsWanted = kLines + kPictures + kSubTotals;
        SSSetMaxRows(grid, rowsWanted);
        static const char* const kHeads[kColumns] = {"Pos", "Qty", "Profile", "Length", "Width", "Material",
                                                     "Weight", "Total", "Paint", "Assembly", "Drawing", "Note"};
        for (int c = 1; c <= kColumns; ++c) {
            SSSetData(grid, c, 0, kHeads[c - 1]);
            SSSetColWidthInPixels(grid, c, c == 3 || c == 12 ? 90 : 55);
        }
        kxwin::BitmapPixels outline(300, 40, RGB(255, 255, 255));
        for (int x = 0; x < 300; ++x)
            for (int y : {2, 37})
                outline.rgba[static_cast<size_t>((y * 300 + x) * 4)] = 0;
        const HBITMAP picture = kxwin::createBitmap(outline);
        SS_CELLTYPE pictureType;
        SSSetTypePictureHandle(grid, &pictureType, 0, picture);
        int r = 0;
        for (int line = 1; line <= kLines; ++line) {
            ++r;
            const std::string n = std::to_string(line);
            const std::string cells[kColumns] = {n, "1", "IPE300", "5780", "150", "S355", "243.2", "243.2",
                                                 "RAL 7035", "A" + n, "D-" + n, "line " + n};
            for (int c = 1; c <= kColumns; ++c)
                SSSetData(grid, c, r, cells[c - 1].c_str());
            if (line <= kPictures) {
                ++r;
                SSSetRowHeightInPixels(grid, r, 44);
                SSAddCellSpan(grid, 1, r, kColumns, 1);
                SSSetCellType(grid, 1, r, &pictureType);
            }
            if (line % (kLines / kSubTotals) == 0 && r < rowsWanted) {
                ++r;
                SSSetData(grid, 8, r, "7296.0");
                SSSetColor(grid, 8, r, RGB(255, 255, 160), SS_COLOR_KEEP);
            }
        }
        rows = r;
        SSSetMaxRows(grid, rows);
    }
};

Bill& bill()
{
    static Bill b;
    return b;
}

kxprint::PrintOptions options()
{
    kxprint::PrintOptions o;
    std::string error;
    kxprint::parseHeaderFooter("{Title}\t\t{Date}", o.header, error);
    kxprint::parseHeaderFooter("\tPage {Page} of {Pages}", o.footer, error);
    o.variables = {{"Title", "Bench bill"}, {"Date", "2026-12-08"}};
    return o;
}

void BM_PrintBillToPdf(benchmark::State& state)
{
    Bill& b = bill();
    const std::string path =
        (std::filesystem::temp_directory_path() / ("kx_print_bench_" + std::to_string(::getpid()) + ".pdf")).string();
    int pages = 0;
    for (auto _ : state) {
        const kxprint::SheetPrint print(b.grid, options());
        kxqt::PdfPageFormat format;
        std::string error;
        pages = print.pageCount();
        if (!kxqt::writePdfPages(path, format, pages, [&](int i) { return print.renderPage(i); }, &error))
            state.SkipWithError(error.c_str());
    }
    state.counters["pages"] = pages;
    state.counters["pdf_kb"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
    std::filesystem::remove(path);
}
BENCHMARK(BM_PrintBillToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PreviewFirstPage(benchmark::State& state)
{
    Bill& b = bill();
    for (auto _ : state) {
        const kxprint::SheetPrint print(b.grid, options());
        kxqt::PdfPageFormat format;
        const kxwin::BitmapPixels page = kxqt::renderPagePixels(format, print.renderPage(0), 794, 1123);
        benchmark::DoNotOptimize(page.rgba.data());
    }
}
BENCHMARK(BM_PreviewFirstPage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
