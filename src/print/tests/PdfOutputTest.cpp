// The PDF file as a reader sees it: pages, texts and document size read back with poppler-utils.
#include "platform/grid/Spread.h"
#include "platform/qt/PdfPages.h"
#include "platform/qt/QtBackend.h"
#include "platform/win/PdfWriterHook.h"
#include "platform/win/Window.h"
#include "print/SheetPrint.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

using namespace kxprint;

// Qt's fontconfig keeps allocations to the end of the process (as in the Qt backend's tests).
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace {

std::string run(const std::string& command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return out;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    return out;
}

bool havePoppler()
{
    return std::system("pdftotext -v >/dev/null 2>&1") == 0 && std::system("pdfinfo -v >/dev/null 2>&1") == 0;
}

// The number after "Pages:" in pdfinfo's output; -1 when there is none.
int pagesOf(const std::string& info)
{
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

size_t occurrences(const std::string& text, const std::string& word)
{
    size_t n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size()))
        ++n;
    return n;
}

class PdfOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!havePoppler())
            GTEST_SKIP() << "poppler-utils (pdftotext, pdfinfo) not installed";
        std::string error;
        ASSERT_TRUE(kxqt::startQt(kxqt::QtDisplay::Offscreen, &error)) << error;
        dir = std::filesystem::temp_directory_path() / ("kx_pdf_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        grid = kxgrid::createStandaloneGrid(0, 0);
    }
    void TearDown() override
    {
        if (grid)
            DestroyWindow(grid);
        std::filesystem::remove_all(dir);
    }

    bool print(const SheetPrint& pages, const std::string& path, std::string& error)
    {
        kxqt::PdfPageFormat format;
        format.widthMm = pages.options().page.widthMm();
        format.heightMm = pages.options().page.heightMm();
        format.dotsPerInch = kDotsPerInch;
        return kxqt::writePdfPages(path, format, pages.pageCount(), [&](int i) { return pages.renderPage(i); }, &error);
    }

    std::filesystem::path dir;
    HWND grid = nullptr;
};

} // namespace

TEST_F(PdfOutput, WideLongSheetReadsBackPageByPageWithHeadersAndEveryCellOnce)
{
    // 9 columns of 150 pixels (three column bands on A4 portrait without smart print) and 80 rows.
    const int cols = 9, rows = 80;
    SSSetMaxCols(grid, cols);
    SSSetMaxRows(grid, rows);
    for (int c = 1; c <= cols; ++c) {
        SSSetColWidthInPixels(grid, c, 150);
        SSSetData(grid, c, 0, ("Head" + std::to_string(c)).c_str());
    }
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c)
            SSSetData(grid, c, r, ("x" + std::to_string(r) + "y" + std::to_string(c) + "z").c_str());
    PrintOptions o;
    o.smartPrint = false;
    std::string error;
    ASSERT_TRUE(parseHeaderFooter("Bill {Title}\t\tprinted {Date}", o.header, error));
    ASSERT_TRUE(parseHeaderFooter("\tPage {Page} of {Pages}", o.footer, error));
    o.variables = {{"Title", "Hall-A"}, {"Date", "2026-12-08"}};
    const SheetPrint pages(grid, o);
    ASSERT_EQ(pages.columnBands().size(), 3u);
    const int count = pages.pageCount();
    ASSERT_GT(count, 3);
    const std::string pdf = (dir / "out.pdf").string();
    ASSERT_TRUE(print(pages, pdf, error)) << error;

    const std::string info = run("pdfinfo '" + pdf + "'");
    EXPECT_EQ(pagesOf(info), count) << info;
    EXPECT_NE(info.find("595 x 842"), std::string::npos) << info;  // A4 in points

    const std::string all = run("pdftotext -layout '" + pdf + "' -");
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c) {
            const std::string cell = "x" + std::to_string(r) + "y" + std::to_string(c) + "z";
            ASSERT_EQ(occurrences(all, cell), 1u) << cell;
        }
    for (int p = 1; p <= count; ++p) {
        const std::string page = run("pdftotext -layout -f " + std::to_string(p) + " -l " + std::to_string(p) + " '" +
                                     pdf + "' -");
        EXPECT_NE(page.find("Bill Hall-A"), std::string::npos) << "page " << p;
        EXPECT_NE(page.find("printed 2026-12-08"), std::string::npos) << "page " << p;
        EXPECT_NE(page.find("Page " + std::to_string(p) + " of " + std::to_string(count)), std::string::npos)
            << "page " << p;
        // The column headers of the page's band repeat on every page of that band.
        const Band band = pages.columnBands()[static_cast<size_t>(p - 1) % pages.columnBands().size()];
        EXPECT_NE(page.find("Head" + std::to_string(band.first)), std::string::npos) << "page " << p;
    }
}

TEST_F(PdfOutput, LetterLandscapeAndAFailedWriteKeepsTheOldFile)
{
    SSSetMaxCols(grid, 2);
    SSSetMaxRows(grid, 2);
    SSSetData(grid, 1, 1, "only");
    PrintOptions o;
    o.page.paper = Paper::Letter;
    o.page.landscape = true;
    const SheetPrint pages(grid, o);
    const std::string pdf = (dir / "letter.pdf").string();
    std::string error;
    ASSERT_TRUE(print(pages, pdf, error)) << error;
    const std::string info = run("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find("792 x 612"), std::string::npos) << info;  // Letter landscape in points

    // Into a folder that does not exist: refused with the reason, nothing written.
    const std::string bad = (dir / "no-such-folder" / "x.pdf").string();
    EXPECT_FALSE(print(pages, bad, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(bad));
    // A write over an existing file that fails leaves it as it was: a folder in the way.
    EXPECT_FALSE(kxqt::writePdfPages(pdf, kxqt::PdfPageFormat{}, 0, [](int) { return std::vector<kxwin::DrawOp>{}; },
                                     &error));
    EXPECT_EQ(pagesOf(run("pdfinfo '" + pdf + "'")), 1);
}

// The preview's pictures come from the backend's renderer, offered once the Qt library is loaded:
// a page with one filled cell gives that colour where the cell is, scaled to the picture, and
// white elsewhere.
TEST_F(PdfOutput, PreviewRendererIsOfferedAndScalesThePage)
{
    const kxwin::PagePixelsRenderer renderer = kxwin::pagePixelsRenderer();
    ASSERT_NE(renderer, nullptr);
    kxwin::PdfDocument document;  // A4 at 300 dpi: 2480 x 3508 dots
    kxwin::DrawOp fill;
    fill.kind = kxwin::DrawOpKind::FillRect;
    fill.rect = RECT{0, 0, 1240, 1754};  // the top-left quarter
    fill.color = RGB(255, 0, 0);
    const kxwin::BitmapPixels pixels = renderer(document, {fill}, 200, 283);
    ASSERT_EQ(pixels.width, 200);
    ASSERT_EQ(pixels.height, 283);
    const auto at = [&](int x, int y) { return &pixels.rgba[(static_cast<size_t>(y) * 200 + x) * 4]; };
    EXPECT_EQ(at(50, 70)[0], 255);
    EXPECT_EQ(at(50, 70)[1], 0) << "red inside the quarter";
    EXPECT_EQ(at(150, 70)[1], 255) << "white right of it";
    EXPECT_EQ(at(50, 210)[1], 255) << "white below it";
}
