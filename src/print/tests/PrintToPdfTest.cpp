// A sheet handed to the backend's PDF writer with its own settings, header and footer files.
#include "print/PrintToPdf.h"

#include "platform/grid/Spread.h"
#include "platform/win/PdfWriterHook.h"
#include "platform/win/Window.h"
#include "sheetedit/SheetSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kxprint;

namespace {

// What the fake writer was handed: every page drawn, its texts joined.
struct Written {
    std::string path, title;
    double widthMm = 0;
    int pages = 0;
    std::vector<std::string> pageTexts;
};
Written g_written;

bool fakeWriter(const std::string& path, const kxwin::PdfDocument& d, std::string* error)
{
    g_written = {};
    g_written.path = path;
    g_written.title = d.title;
    g_written.widthMm = d.widthMm;
    g_written.pages = d.pageCount;
    for (int i = 0; i < d.pageCount; ++i) {
        std::string all = "|";
        for (const auto& op : d.page(i))
            if (op.kind == kxwin::DrawOpKind::DrawText)
                all += op.text + "|";
        g_written.pageTexts.push_back(all);
    }
    if (path.find("refuse") != std::string::npos) {
        *error = "disk full";
        return false;
    }
    return true;
}

struct PrintToPdf : ::testing::Test {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("kx_print_pdf_" + std::to_string(::getpid()));
    HWND grid = kxgrid::createStandaloneGrid(3, 120);
    void SetUp() override
    {
        std::filesystem::create_directories(dir);
        kxwin::setPdfWriter(&fakeWriter);
        for (int r = 1; r <= 120; ++r)
            SSSetData(grid, 1, r, ("cell" + std::to_string(r)).c_str());
    }
    void TearDown() override
    {
        kxwin::setPdfWriter(nullptr);
        DestroyWindow(grid);
        std::filesystem::remove_all(dir);
    }
    void settings(const char* header, const char* footer)
    {
        SheetSettings s;
        s.readFromSheet(grid);
        s.headerFile = Kx_String(header);
        s.footerFile = Kx_String(footer);
        Kx_StringArray names, values;
        names.append(Kx_String("Title"));
        values.append(Kx_String("Hall B"));
        s.setVariables(names, values);
        ASSERT_TRUE(s.writeToSheet(grid));
    }
};

} // namespace

TEST_F(PrintToPdf, HeaderFooterFilesBesideTheSheetAreFilledOnEveryPage)
{
    std::ofstream(dir / "head.txt") << "{Title}\t\tp{Page}/{Pages}\n";
    std::ofstream(dir / "foot.txt") << "\tend of {title}\n";
    settings("head.txt", "foot.txt");
    const std::string sheet = (dir / "bill.kxs").string();
    PageSetup letter;
    letter.paper = Paper::Letter;
    std::string error, warning;
    ASSERT_TRUE(printSheetToPdf(grid, sheet, (dir / "out.pdf").string(), letter, error, &warning)) << error;
    EXPECT_TRUE(warning.empty()) << warning;
    EXPECT_EQ(g_written.title, "bill.kxs");
    EXPECT_DOUBLE_EQ(g_written.widthMm, 215.9);
    ASSERT_GT(g_written.pages, 1);
    for (int p = 0; p < g_written.pages; ++p) {
        const std::string& t = g_written.pageTexts[static_cast<size_t>(p)];
        EXPECT_NE(t.find("|Hall B|"), std::string::npos) << t;
        EXPECT_NE(t.find("p" + std::to_string(p + 1) + "/" + std::to_string(g_written.pages)), std::string::npos);
        EXPECT_NE(t.find("end of Hall B"), std::string::npos);
    }
}

TEST_F(PrintToPdf, MissingHeaderIsNamedAndTheCellsStillPrint)
{
    settings("nowhere.txt", "");
    std::string error, warning;
    ASSERT_TRUE(printSheetToPdf(grid, (dir / "s.kxs").string(), (dir / "o.pdf").string(), PageSetup{}, error, &warning));
    EXPECT_NE(warning.find("nowhere.txt"), std::string::npos) << warning;
    EXPECT_NE(g_written.pageTexts.at(0).find("cell1|"), std::string::npos);
}

TEST_F(PrintToPdf, WriterFailureAndNoWriterAreReported)
{
    std::string error;
    EXPECT_FALSE(printSheetToPdf(grid, "s.kxs", (dir / "refuse.pdf").string(), PageSetup{}, error));
    EXPECT_EQ(error, "disk full");
    kxwin::setPdfWriter(nullptr);
    error.clear();
    EXPECT_FALSE(printSheetToPdf(grid, "s.kxs", (dir / "x.pdf").string(), PageSetup{}, error));
    EXPECT_NE(error.find("PDF"), std::string::npos);
}
