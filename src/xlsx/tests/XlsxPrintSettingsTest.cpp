// A sheet's print settings in the written workbook's page setup, read back with openpyxl.
#include "xlsx/SheetXlsxExport.h"
#include "xlsx/XlsxPrintSettings.h"

#include "platform/grid/Spread.h"
#include "platform/win/Window.h"
#include "sheetedit/SheetSettings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// What read_xlsx.py prints about the page: "page setup", "page header" and "page footer" lines.
std::map<std::string, std::string> readPage(const fs::path& file)
{
    const std::string command = std::string("/usr/bin/python3 ") + KX_READ_XLSX + " '" + file.string() + "' 2>&1";
    std::map<std::string, std::string> items;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return items;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << text;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind("page ", 0) == 0)
            items[line.substr(0, line.find(' ', 5))] = line;
    return items;
}

class PrintSettingsExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kxxlsxprint.XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        grid = kxgrid::createStandaloneGrid(3, 4);
        for (int r = 1; r <= 4; ++r)
            SSSetData(grid, 1, r, ("row" + std::to_string(r)).c_str());
    }
    void TearDown() override
    {
        DestroyWindow(grid);
        fs::remove_all(dir);
    }
    // The settings of the sheet: margins 20/10/15/12 mm, the header file "head.txt", "Project" = "Hall 7 & B".
    SheetSettings settings()
    {
        SheetSettings s;
        s.readFromSheet(grid);
        s.marginLeft = 20;
        s.marginRight = 10;
        s.marginTop = 15;
        s.marginBottom = 12;
        s.headerFile = Kx_String("head.txt");
        Kx_StringArray names, values;
        names.append(Kx_String("Project"));
        values.append(Kx_String("Hall 7 & B"));
        s.setVariables(names, values);
        return s;
    }
    kxxlsx::XlsxExportResult exportTo(const char* name, kxxlsx::XlsxExportOptions options = {})
    {
        options.sheetPath = (dir / "sheet.kxs").string();
        return kxxlsx::exportSheetToXlsx(grid, (dir / name).string(), options);
    }

    fs::path dir;
    HWND grid = nullptr;
};

} // namespace

TEST_F(PrintSettingsExport, MarginsHeaderRowGridLinesAndHeaderTravel)
{
    SSSetData(grid, 1, 0, "Mark");
    SSSetData(grid, 2, 0, "Profile");
    std::ofstream(dir / "head.txt") << "{Project}\tBill\tPage {Page} of {Pages}\n\tsecond {{Page} {nosuch}\n";
    SheetSettings s = settings();
    s.rowHeader = false;
    s.border = false;
    s.defaultFont = Kx_String("Arial");
    s.defaultTextHeight = 16;
    ASSERT_TRUE(s.writeToSheet(grid));

    const auto result = exportTo("setup.xlsx");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_THAT(result.printSettingsLeft, IsEmpty());
    EXPECT_EQ(kxxlsx::printSettingsNotice(result), "");
    const auto page = readPage(dir / "setup.xlsx");
    // 20 mm, 10 mm; the cells start below the two header lines (2 x 16 px x 1.25 at 96 per inch,
    // plus 2 mm) under the 15 mm where the header sits; no footer: 12 mm for the cells.
    EXPECT_EQ(page.at("page setup"), "page setup margins=0.787,0.394,1.086,0.472,0.591,0.300 paper=None "
                                     "orientation=portrait fit=1 fitWidth=1 fitHeight=0 grid=1 headings=0 "
                                     "titles=$1:$1");
    EXPECT_EQ(page.at("page header"),
              "page header L='Hall 7 && B' C='Bill\\nsecond {Page} {nosuch}' R='Page &P of &N' font=Arial,Regular size=12");
    EXPECT_EQ(page.count("page footer"), 0u);
}

TEST_F(PrintSettingsExport, WhatTheFormatLacksIsNamedAndKnownPaperIsWritten)
{
    // Defaults: row and column headers (no named ones: the file's letters and numbers), a border,
    // and here no colours and a footer file that is not there.
    std::ofstream(dir / "head.txt") << "only\n";
    SheetSettings s = settings();
    s.colors = false;
    s.footerFile = Kx_String("nofoot.txt");
    ASSERT_TRUE(s.writeToSheet(grid));

    kxxlsx::XlsxExportOptions options;
    options.paper = kxprint::Paper::Letter;
    options.landscape = true;
    const auto result = exportTo("named.xlsx", options);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.printSettingsLeft.size(), 3u);
    EXPECT_THAT(result.printSettingsLeft[0], HasSubstr("footer file \""));
    EXPECT_THAT(result.printSettingsLeft[0], HasSubstr("nofoot.txt"));
    EXPECT_EQ(result.printSettingsLeft[1], "printing without colours");
    EXPECT_EQ(result.printSettingsLeft[2], "border around the cells");
    EXPECT_THAT(kxxlsx::printSettingsNotice(result),
                HasSubstr("print settings an .xlsx file cannot hold, left out: footer file"));
    const auto page = readPage(dir / "named.xlsx");
    EXPECT_THAT(page.at("page setup"), HasSubstr(" paper=1 orientation=landscape "));
    EXPECT_THAT(page.at("page setup"), HasSubstr(" headings=1 titles=None"));
    EXPECT_THAT(page.at("page header"), HasSubstr("L='only' C=None R=None"));
}

TEST_F(PrintSettingsExport, AHeaderTooLongForTheFormatIsNamedNotCut)
{
    std::ofstream(dir / "head.txt") << std::string(300, 'x') << "\n";
    SheetSettings s = settings();
    s.rowHeader = false;
    s.colHeader = false;
    s.border = false;
    s.smartPrint = false;
    s.cellSeperators = false;
    ASSERT_TRUE(s.writeToSheet(grid));
    const auto result = exportTo("long.xlsx");
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.printSettingsLeft.size(), 1u);
    EXPECT_THAT(result.printSettingsLeft[0], HasSubstr("header (longer than the 255 characters"));
    const auto page = readPage(dir / "long.xlsx");
    EXPECT_EQ(page.count("page header"), 0u);
    EXPECT_THAT(page.at("page setup"), HasSubstr(" fit=0 "));
    EXPECT_THAT(page.at("page setup"), HasSubstr(" grid=0 headings=0 titles=None"));
}

TEST_F(PrintSettingsExport, SmartPrintFitsToTheWidthOnlyWherePrintingWould)
{
    SheetSettings s = settings();
    s.headerFile = Kx_String();
    ASSERT_TRUE(s.writeToSheet(grid));
    // Three 300-pixel columns fit an A4 width (about 700 pixels between the margins) at over half size.
    for (int c = 1; c <= 3; ++c)
        SSSetColWidthInPixels(grid, c, 300);
    ASSERT_TRUE(exportTo("fits.xlsx").ok);
    EXPECT_THAT(readPage(dir / "fits.xlsx").at("page setup"), HasSubstr(" fit=1 fitWidth=1 fitHeight=0 "));
    // Three 600-pixel columns would need less than half size: printed at full size across pages.
    for (int c = 1; c <= 3; ++c)
        SSSetColWidthInPixels(grid, c, 600);
    ASSERT_TRUE(exportTo("wide.xlsx").ok);
    EXPECT_THAT(readPage(dir / "wide.xlsx").at("page setup"), HasSubstr(" fit=0 "));
}

TEST(XlsxHeaderFooter, SectionsCodesAndVariablesAsPrinted)
{
    kxprint::PrintOptions options;
    options.fontFace = "Tahoma";
    options.textHeight = 13;
    options.variables = {{"who", "A&B {Page}"}, {"Who", "second"}};
    kxprint::HeaderFooter block;
    block.lines.push_back({{"", "{WHO}", ""}});
    block.lines.push_back({{"x\x01y", "", "{page}/{PAGES}"}});
    // Lines keep their places within a section; a variable's own braces stay text; the code's
    // font comes first in each section.
    EXPECT_EQ(kxxlsx::xlsxHeaderFooter(block, options),
              "&L&10&\"Tahoma,Regular\"\nxy&C&10&\"Tahoma,Regular\"A&&B {Page}&R&10&\"Tahoma,Regular\"\n&P/&N");
    EXPECT_EQ(kxxlsx::xlsxHeaderFooter(kxprint::HeaderFooter{}, options), "");
    // A text starting with a digit stays apart from the font size, also without a usable face.
    options.fontFace = "Odd\"Face";
    kxprint::HeaderFooter digits;
    digits.lines.push_back({{"5 t", "", ""}});
    EXPECT_EQ(kxxlsx::xlsxHeaderFooter(digits, options), "&L&10&\"-,Regular\"5 t");
}
