// The page plan and the drawn pages of a sheet, read from the drawing calls of each page.
#include "print/SheetPrint.h"

#include "platform/grid/GridTypes.h"
#include "platform/grid/Spread.h"
#include "platform/win/Window.h"
#include "sheetedit/SheetSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

using namespace kxprint;

namespace {

struct Grid {
    HWND hwnd;
    Grid(int cols, int rows) : hwnd(kxgrid::createStandaloneGrid(cols, rows)) {}
    ~Grid() { DestroyWindow(hwnd); }
};

// A sheet of cols x rows cells "r<row>c<col>", columns of `colPx`, rows of `rowPx`, a row-header
// column of 40 pixels.
void fillSheet(HWND g, int cols, int rows, int colPx, int rowPx)
{
    SSSetMaxCols(g, cols);
    SSSetMaxRows(g, rows);
    kxgrid::setDefaultHeaderLabels(g, true);
    SSSetColWidthInPixels(g, 0, 40);
    for (int c = 1; c <= cols; ++c)
        SSSetColWidthInPixels(g, c, colPx);
    for (int r = 0; r <= rows; ++r)
        SSSetRowHeightInPixels(g, r, rowPx);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c)
            SSSetData(g, c, r, ("r" + std::to_string(r) + "c" + std::to_string(c)).c_str());
}

std::vector<std::string> textsOf(const std::vector<kxwin::DrawOp>& ops)
{
    std::vector<std::string> out;
    for (const auto& op : ops)
        if (op.kind == kxwin::DrawOpKind::DrawText)
            out.push_back(op.text);
    return out;
}

bool has(const std::vector<std::string>& texts, const std::string& t)
{
    return std::find(texts.begin(), texts.end(), t) != texts.end();
}

// Bands must cover first..last without gaps or overlaps, in order.
void expectContiguous(const std::vector<Band>& bands, int last)
{
    ASSERT_FALSE(bands.empty());
    EXPECT_EQ(bands.front().first, 1);
    EXPECT_EQ(bands.back().last, last);
    for (size_t i = 1; i < bands.size(); ++i)
        EXPECT_EQ(bands[i].first, bands[i - 1].last + 1);
}

PrintOptions plainOptions()
{
    PrintOptions o;
    o.smartPrint = false;
    return o;
}

} // namespace

TEST(PagePlan, WideSheetSplitsIntoColumnBandsThatFitThePaper)
{
    Grid g(30, 5);
    fillSheet(g.hwnd, 30, 5, 150, 20);
    // A4 portrait, margins 9 + 5 mm: 196 mm = 2315 dots; less the 40-pixel row header (125 dots)
    // leaves room for four columns of 150 pixels (469 dots each).
    SheetPrint portrait(g.hwnd, plainOptions());
    expectContiguous(portrait.columnBands(), 30);
    EXPECT_EQ(portrait.columnBands().size(), 8u);
    EXPECT_EQ(portrait.columnBands()[0].last, 4);
    EXPECT_EQ(portrait.rowBands().size(), 1u);
    EXPECT_EQ(portrait.pageCount(), 8);

    PrintOptions wide = plainOptions();
    wide.page.landscape = true;
    SheetPrint landscape(g.hwnd, wide);
    EXPECT_EQ(landscape.pageWidthDots(), mmToDots(297));
    expectContiguous(landscape.columnBands(), 30);
    EXPECT_EQ(landscape.columnBands()[0].last, 6);
    EXPECT_EQ(landscape.pageCount(), 5);

    PrintOptions letter = plainOptions();
    letter.page.paper = Paper::Letter;
    EXPECT_EQ(SheetPrint(g.hwnd, letter).pageHeightDots(), mmToDots(279.4));
}

TEST(PagePlan, SmartPrintFitsTheWidthUnlessTextWouldShrinkBelowHalf)
{
    Grid g(10, 3);
    fillSheet(g.hwnd, 8, 3, 150, 20);
    PrintOptions smart;
    smart.smartPrint = true;
    SheetPrint fitted(g.hwnd, smart);
    EXPECT_EQ(fitted.columnBands().size(), 1u);
    EXPECT_LT(fitted.scale(), static_cast<double>(kDotsPerInch) / kScreenDotsPerInch);
    // The last column's right edge stays inside the right margin.
    int rightmost = 0;
    for (const auto& op : fitted.renderPage(0))
        rightmost = std::max<int>(rightmost, std::max(op.rect.left, op.rect.right));
    EXPECT_LE(rightmost, fitted.pageWidthDots() - mmToDots(5) + 2);

    // Ten such columns would need less than half size: split at full size instead.
    fillSheet(g.hwnd, 10, 3, 150, 20);
    SheetPrint split(g.hwnd, smart);
    EXPECT_DOUBLE_EQ(split.scale(), static_cast<double>(kDotsPerInch) / kScreenDotsPerInch);
    EXPECT_GT(split.columnBands().size(), 1u);
}

TEST(PagePlan, PagesGoAcrossThenDownAndEveryCellIsPrintedOnce)
{
    Grid g(12, 150);
    fillSheet(g.hwnd, 12, 150, 150, 20);
    PrintOptions o = plainOptions();
    SheetPrint print(g.hwnd, o);
    ASSERT_GT(print.columnBands().size(), 1u);
    ASSERT_GT(print.rowBands().size(), 1u);
    expectContiguous(print.rowBands(), 150);
    std::map<std::string, int> seen;
    for (int p = 0; p < print.pageCount(); ++p) {
        const auto texts = textsOf(print.renderPage(p));
        // Column and row headers on every page: the page's first column letter and first row number.
        const Band cols = print.columnBands()[static_cast<size_t>(p) % print.columnBands().size()];
        const Band rows = print.rowBands()[static_cast<size_t>(p) / print.columnBands().size()];
        EXPECT_TRUE(has(texts, kxgrid::columnLetters(cols.first))) << "page " << p + 1;
        EXPECT_TRUE(has(texts, std::to_string(rows.first))) << "page " << p + 1;
        for (const auto& t : texts)
            if (t[0] == 'r')
                ++seen[t];
    }
    EXPECT_EQ(seen.size(), 12u * 150u);
    for (const auto& [t, n] : seen)
        ASSERT_EQ(n, 1) << t;
    // Page 2 is to the right of page 1, not below it.
    const auto second = textsOf(print.renderPage(1));
    EXPECT_TRUE(has(second, "r1c" + std::to_string(print.columnBands()[1].first)));
    EXPECT_TRUE(print.renderPage(print.pageCount()).empty());
}

TEST(PagePlan, HeadersCanBeLeftOutAndThenTakeNoRoom)
{
    Grid g(3, 200);
    fillSheet(g.hwnd, 3, 200, 60, 20);
    PrintOptions o = plainOptions();
    o.colHeader = false;
    o.rowHeader = false;
    SheetPrint bare(g.hwnd, o);
    const auto texts = textsOf(bare.renderPage(0));
    EXPECT_FALSE(has(texts, "A"));
    EXPECT_FALSE(has(texts, "1"));
    SheetPrint withHeaders(g.hwnd, plainOptions());
    EXPECT_GT(bare.rowBands()[0].last, withHeaders.rowBands()[0].last);
}

TEST(PagePlan, JoinedBlockIsNotCutByAPageBreak)
{
    Grid g(2, 120);
    fillSheet(g.hwnd, 2, 120, 80, 20);
    const int naturalBreak = SheetPrint(g.hwnd, plainOptions()).rowBands()[0].last;
    // A three-row block whose last row would start the next page.
    const int anchor = naturalBreak - 1;
    ASSERT_TRUE(SSAddCellSpan(g.hwnd, 1, anchor, 2, 3));
    SSSetData(g.hwnd, 1, anchor, "joined title");
    SheetPrint print(g.hwnd, plainOptions());
    EXPECT_EQ(print.rowBands()[0].last, anchor - 1);
    EXPECT_EQ(print.rowBands()[1].first, anchor);
    int count = 0;
    for (int p = 0; p < print.pageCount(); ++p)
        for (const auto& t : textsOf(print.renderPage(p)))
            count += t == "joined title";
    EXPECT_EQ(count, 1);
}

TEST(PagePlan, JoinedBlockAcrossAColumnBreakShowsItsTextOnlyWhereItStarts)
{
    Grid g(8, 2);
    fillSheet(g.hwnd, 8, 2, 150, 20);
    ASSERT_TRUE(SSAddCellSpan(g.hwnd, 3, 1, 4, 1));  // columns 3 to 6: crosses the break after 4
    SSSetData(g.hwnd, 3, 1, "wide");
    SheetPrint print(g.hwnd, plainOptions());
    ASSERT_EQ(print.columnBands()[0].last, 4);
    EXPECT_TRUE(has(textsOf(print.renderPage(0)), "wide"));
    EXPECT_FALSE(has(textsOf(print.renderPage(1)), "wide"));
    EXPECT_FALSE(has(textsOf(print.renderPage(1)), "r1c5"));  // covered by the block
}

TEST(PageDrawing, ColoursFontsAndMarginsFollowTheSettings)
{
    Grid g(2, 2);
    fillSheet(g.hwnd, 2, 2, 100, 20);
    SSSetColor(g.hwnd, 1, 1, RGB(255, 255, 0), RGB(200, 0, 0));
    CFont big;
    LOGFONT lf{};
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    lf.lfFaceName = "Arial";
    big.CreateFontIndirect(&lf);
    SSSetFont(g.hwnd, 2, 2, big.m_hObject, FALSE);
    PrintOptions o = plainOptions();
    o.page.marginLeft = 20;
    o.page.marginTop = 15;
    SheetPrint print(g.hwnd, o);
    const auto ops = print.renderPage(0);
    bool yellow = false;
    for (const auto& op : ops) {
        if (op.kind == kxwin::DrawOpKind::FillRect && op.color == RGB(255, 255, 0))
            yellow = true;
        if (op.kind == kxwin::DrawOpKind::DrawText && op.text == "r1c1") {
            EXPECT_EQ(op.color, RGB(200, 0, 0));
        }
        if (op.kind == kxwin::DrawOpKind::DrawText && op.text == "r2c2") {
            EXPECT_EQ(op.font.lfWeight, FW_BOLD);
            EXPECT_NEAR(op.font.lfHeight, -20 * print.scale(), 1.0);
        }
        if (op.kind != kxwin::DrawOpKind::Line) {
            EXPECT_GE(op.rect.left, mmToDots(20) - 1) << op.text;
            EXPECT_GE(op.rect.top, mmToDots(15) - 1) << op.text;
        }
    }
    EXPECT_TRUE(yellow);

    o.colors = false;
    for (const auto& op : SheetPrint(g.hwnd, o).renderPage(0)) {
        EXPECT_FALSE(op.kind == kxwin::DrawOpKind::FillRect && op.color == RGB(255, 255, 0));
        if (op.kind == kxwin::DrawOpKind::DrawText) {
            EXPECT_EQ(op.color, RGB(0, 0, 0)) << op.text;
        }
    }
    o.cellSeparators = false;
    o.border = false;
    for (const auto& op : SheetPrint(g.hwnd, o).renderPage(0))
        EXPECT_NE(op.kind, kxwin::DrawOpKind::Line);
}

TEST(PageDrawing, HeaderAndFooterCarryVariablesAndPageNumbers)
{
    Grid g(2, 300);
    fillSheet(g.hwnd, 2, 300, 100, 20);
    PrintOptions o = plainOptions();
    std::string error;
    ASSERT_TRUE(parseHeaderFooter("{Title}\t\t{Date}", o.header, error));
    ASSERT_TRUE(parseHeaderFooter("\tPage {Page} of {Pages}", o.footer, error));
    o.variables = {{"Title", "Bill 7"}, {"Date", "08.12.2026"}};
    SheetPrint print(g.hwnd, o);
    ASSERT_GT(print.pageCount(), 1);
    const std::string pages = std::to_string(print.pageCount());
    for (int p = 0; p < print.pageCount(); ++p) {
        const auto ops = print.renderPage(p);
        const auto texts = textsOf(ops);
        EXPECT_TRUE(has(texts, "Bill 7"));
        EXPECT_TRUE(has(texts, "08.12.2026"));
        EXPECT_TRUE(has(texts, "Page " + std::to_string(p + 1) + " of " + pages));
        // The footer sits below every cell, the header above.
        int cellsBottom = 0, cellsTop = print.pageHeightDots(), footerTop = 0, headerBottom = 0;
        for (const auto& op : ops) {
            if (op.kind != kxwin::DrawOpKind::DrawText)
                continue;
            if (op.text.rfind("Page ", 0) == 0)
                footerTop = op.rect.top;
            else if (op.text == "Bill 7")
                headerBottom = op.rect.bottom;
            else if (op.text[0] == 'r') {
                cellsBottom = std::max<int>(cellsBottom, op.rect.bottom);
                cellsTop = std::min<int>(cellsTop, op.rect.top);
            }
        }
        EXPECT_LE(cellsBottom, footerTop);
        EXPECT_LE(headerBottom, cellsTop);
        EXPECT_LE(footerTop, print.pageHeightDots() - mmToDots(5));
    }
}

TEST(PageDrawing, SettingsRecordGivesMarginsSwitchesAndVariables)
{
    Grid g(2, 2);
    SheetSettings s;
    s.readFromSheet(g.hwnd);
    s.marginLeft = 30;
    s.colors = false;
    s.rowHeader = false;
    Kx_StringArray names, values;
    names.append(Kx_String("Title"));
    values.append(Kx_String("Hall"));
    names.append(Kx_String("Orphan"));  // no value: left out
    s.setVariables(names, values);
    const PrintOptions o = optionsFromSettings(s, PageSetup{});
    EXPECT_EQ(o.page.marginLeft, 30);
    EXPECT_EQ(o.page.marginRight, 5);
    EXPECT_FALSE(o.colors);
    EXPECT_FALSE(o.rowHeader);
    ASSERT_EQ(o.variables.size(), 1u);
    EXPECT_EQ(o.variables[0].second, "Hall");
    // Margins far beyond the page are held to a quarter of it, so cells still have room.
    PrintOptions huge = plainOptions();
    huge.page.marginLeft = 5000;
    huge.page.marginTop = -40;
    fillSheet(g.hwnd, 2, 2, 50, 20);
    SheetPrint print(g.hwnd, huge);
    EXPECT_EQ(print.pageCount(), 1);
    EXPECT_TRUE(has(textsOf(print.renderPage(0)), "r2c2"));
}

TEST(PageDrawing, EmptySheetGivesOnePageWithItsHeader)
{
    Grid g(0, 0);
    PrintOptions o = plainOptions();
    std::string error;
    ASSERT_TRUE(parseHeaderFooter("Empty {Page}/{Pages}", o.header, error));
    SheetPrint print(g.hwnd, o);
    EXPECT_EQ(print.pageCount(), 1);
    EXPECT_TRUE(has(textsOf(print.renderPage(0)), "Empty 1/1"));
}

TEST(PaperNames, AreReadIgnoringCase)
{
    EXPECT_EQ(paperFromName("a4"), Paper::A4);
    EXPECT_EQ(paperFromName("LETTER"), Paper::Letter);
    EXPECT_FALSE(paperFromName("A3"));
    EXPECT_FALSE(paperFromName(""));
    PageSetup s;
    s.landscape = true;
    EXPECT_DOUBLE_EQ(s.widthMm(), 297.0);
    EXPECT_DOUBLE_EQ(s.heightMm(), 210.0);
}
