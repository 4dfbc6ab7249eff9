// The grid with its formula engine: typed formulas, automatic recalculation, reference styles,
// structure changes, errors in cells, files, custom functions and the clipboard.
#include "GridTestSupport.h"

#include "platform/win/Clipboard.h"

#include <cstring>
#include <string>
#include <vector>

using kxgrid::testing::data;
using kxgrid::testing::formula;
using kxgrid::testing::GridFixture;

using GridFormulas = GridFixture;

TEST_F(GridFormulas, TypedFormulasRecalculateWithOption7AndWaitWithoutIt)
{
    SSSetBool(grid, SSB_ALLOWUSERFORMULAS, TRUE);
    ASSERT_TRUE(kxgrid::enterText(grid, 1, 1, "2"));
    ASSERT_TRUE(kxgrid::enterText(grid, 2, 1, "=A1*10"));
    ASSERT_TRUE(kxgrid::enterText(grid, 3, 1, "=B1+A1"));
    EXPECT_EQ(data(grid, 2, 1), "20");
    EXPECT_EQ(data(grid, 3, 1), "22");
    EXPECT_EQ(formula(grid, 3, 1), "B1+A1");

    SSSetData(grid, 1, 1, "3");
    EXPECT_EQ(data(grid, 3, 1), "33") << "option 7 on: dependants follow at once";

    SSSetBool(grid, SSB_AUTOCALC, FALSE);
    SSSetData(grid, 1, 1, "4");
    EXPECT_EQ(data(grid, 2, 1), "30") << "option 7 off: results wait";
    EXPECT_EQ(data(grid, 3, 1), "33");
    EXPECT_TRUE(SSReCalcCell(grid, 2, 1));
    EXPECT_EQ(data(grid, 2, 1), "40");
    EXPECT_FALSE(SSReCalcCell(grid, 1, 1)) << "a constant has nothing to recalculate";
    EXPECT_TRUE(SSReCalc(grid));
    EXPECT_EQ(data(grid, 3, 1), "44");

    SSSetBool(grid, SSB_ALLOWUSERFORMULAS, FALSE);
    ASSERT_TRUE(kxgrid::enterText(grid, 4, 1, "=A1"));
    EXPECT_EQ(data(grid, 4, 1), "=A1") << "without option 12 a leading = is text";
    EXPECT_EQ(formula(grid, 4, 1), "");
    EXPECT_TRUE(SSSetData(grid, 2, 1, "=A1")) << "data is never a formula";
    EXPECT_EQ(formula(grid, 2, 1), "");
}

TEST_F(GridFormulas, NumberCellsFormatResultsAndTextsTypeAsAUserTypesThem)
{
    SS_CELLTYPE t;
    SSSetTypeNumber(grid, &t, 0, 2, -1000, 1000);
    SSSetCellType(grid, 2, 1, &t);
    SSSetData(grid, 1, 1, "'5");
    SSSetFormula(grid, 2, 1, "1/3", TRUE);
    EXPECT_EQ(data(grid, 2, 1), "0.33") << "a number cell shows its decimals";
    SSSetFormula(grid, 3, 1, "ISTEXT(A1)", TRUE);
    EXPECT_EQ(data(grid, 3, 1), "TRUE") << "an apostrophe makes a text";
    SSSetData(grid, 1, 2, "true");
    SSSetFormula(grid, 3, 2, "IF(A2,\"yes\",\"no\")", TRUE);
    EXPECT_EQ(data(grid, 3, 2), "yes");
}

TEST_F(GridFormulas, ReferenceStylesRoundTrip)
{
    SSSetData(grid, 1, 1, "5");
    ASSERT_TRUE(SSSetFormula(grid, 2, 3, "=$A$1+A2*2", TRUE));
    EXPECT_EQ(formula(grid, 2, 3), "$A$1+A2*2");
    ASSERT_TRUE(SSSetRefStyle(grid, SS_REFSTYLE_R1C1));
    EXPECT_EQ(formula(grid, 2, 3), "R1C1+R[-1]C[-1]*2");
    ASSERT_TRUE(SSSetFormula(grid, 3, 3, "RC[-1]+1", TRUE));
    EXPECT_EQ(data(grid, 3, 3), "6");
    ASSERT_TRUE(SSSetRefStyle(grid, SS_REFSTYLE_DEFAULT));
    EXPECT_EQ(formula(grid, 3, 3), "B3+1");
    EXPECT_EQ(formula(grid, 2, 3), "$A$1+A2*2");
}

TEST_F(GridFormulas, StructureChangesKeepReferencesOnTheirCells)
{
    SSSetData(grid, 1, 3, "7");
    SSSetFormula(grid, 2, 1, "A3*2", TRUE);
    ASSERT_TRUE(SSInsRow(grid, 2));
    EXPECT_EQ(formula(grid, 2, 1), "A4*2") << "the formula follows the moved cell";
    SSSetData(grid, 1, 4, "8");
    EXPECT_EQ(data(grid, 2, 1), "16");
    ASSERT_TRUE(SSInsCol(grid, 1));
    EXPECT_EQ(formula(grid, 3, 1), "B4*2");
    EXPECT_EQ(data(grid, 3, 1), "16");
    ASSERT_TRUE(SSDelRow(grid, 4));
    EXPECT_EQ(data(grid, 3, 1), "#REF!") << "a deleted cell leaves #REF!";
}

TEST_F(GridFormulas, ErrorsShowInCells)
{
    SSSetFormula(grid, 1, 1, "1/0", TRUE);
    SSSetFormula(grid, 1, 2, "B2+1", TRUE);
    SSSetFormula(grid, 2, 2, "A2+1", TRUE);
    SSSetFormula(grid, 1, 3, "SUM(1,(", TRUE);
    SSSetFormula(grid, 1, 4, "IFERROR(A2,\"cycle\")", TRUE);
    EXPECT_EQ(data(grid, 1, 1), "#DIV/0!");
    EXPECT_EQ(data(grid, 1, 2), "#CYCLE!");
    EXPECT_EQ(data(grid, 2, 2), "#CYCLE!");
    EXPECT_EQ(data(grid, 1, 3), "#ERROR!");
    EXPECT_EQ(formula(grid, 1, 3), "SUM(1,(") << "an unreadable text is kept as typed";
    EXPECT_EQ(data(grid, 1, 4), "cycle");
    // Copying A1's formula up and left moves a relative reference off the sheet.
    SSSetFormula(grid, 2, 5, "A4", TRUE);
    ASSERT_TRUE(SSCopyRange(grid, 2, 5, 2, 5, 1, 1));
    EXPECT_EQ(data(grid, 1, 1), "#REF!");
}

TEST_F(GridFormulas, FilesKeepFormulasAndLoadingRecomputes)
{
    SSSetData(grid, 1, 1, "4");
    SSSetFormula(grid, 2, 1, "A1^2", TRUE);
    SSSetRefStyle(grid, SS_REFSTYLE_R1C1);
    SSSetFormula(grid, 3, 1, "RC[-1]+1", TRUE);
    std::string text;
    ASSERT_TRUE(kxgrid::sheetText(grid, text));
    // The file's data of a formula cell is stale on purpose: loading computes it again.
    const auto at = text.find("d=\"16\"");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 6, "d=\"99\"");

    HWND other = kxgrid::createStandaloneGrid();
    ASSERT_TRUE(kxgrid::loadSheetText(other, text));
    EXPECT_EQ(data(other, 2, 1), "16");
    EXPECT_EQ(data(other, 3, 1), "17");
    EXPECT_EQ(formula(other, 2, 1), "RC[-1]^2");
    SSSetData(other, 1, 1, "5");
    EXPECT_EQ(data(other, 3, 1), "26");
    SSSetRefStyle(other, SS_REFSTYLE_A1);
    std::string again;
    ASSERT_TRUE(kxgrid::sheetText(other, again));
    EXPECT_NE(again.find("f=\"B1+1\""), std::string::npos) << "saved texts follow the style: " << again;
    DestroyWindow(other);
}

namespace {

struct Seen {
    HWND grid = nullptr;
    int col = 0, row = 0;
    std::vector<std::string> texts;
    std::vector<int> kinds;
    std::vector<int> statuses;
    std::vector<std::int32_t> longs;
    SS_VALUE range{};
    SS_VALUE cell{};
};
Seen g_seen;

BOOL joinTexts(HWND grid, int col, int row, SS_VALUE* result, const SS_VALUE* args, short count)
{
    g_seen = Seen();
    g_seen.grid = grid;
    g_seen.col = col;
    g_seen.row = row;
    std::string joined;
    for (short i = 0; i < count; ++i) {
        g_seen.kinds.push_back(args[i].kind);
        g_seen.statuses.push_back(args[i].status);
        g_seen.longs.push_back(args[i].kind == SS_VALUE_LONG ? args[i].longValue : -1);
        if (args[i].kind == SS_VALUE_STRING) {
            // The callback receives the string: it copies the text and frees the handle.
            const HGLOBAL h = args[i].stringHandle;
            const char* p = static_cast<const char*>(GlobalLock(h));
            g_seen.texts.emplace_back(p);
            joined += p;
            GlobalUnlock(h);
            GlobalFree(h);
        } else if (args[i].kind == SS_VALUE_RANGE) {
            g_seen.range = args[i];
        } else if (args[i].kind == SS_VALUE_CELL) {
            g_seen.cell = args[i];
        }
    }
    if (joined == "none")
        return TRUE;  // no value
    HGLOBAL h = GlobalAlloc(GHND, joined.size() + 1);
    std::memcpy(GlobalLock(h), joined.data(), joined.size());
    GlobalUnlock(h);
    result->status = SS_VALUESTATUS_OK;
    result->kind = SS_VALUE_STRING;
    result->stringHandle = h;
    return TRUE;
}

BOOL refuse(HWND, int, int, SS_VALUE*, const SS_VALUE*, short) { return FALSE; }

} // namespace

TEST_F(GridFormulas, AFunctionThatWantsCellReferencesGetsSingleCellsAsCellReferences)
{
    SSSetData(grid, 2, 3, "key");
    ASSERT_TRUE(SSAddCustomFunctionExt(grid, "WHERE", 1, 1, joinTexts, SS_CUSTFUNC_WANTCELLREF));
    SSSetFormula(grid, 1, 1, "WHERE(B3)", TRUE);
    ASSERT_EQ(g_seen.kinds, std::vector<int>{SS_VALUE_CELL});
    EXPECT_EQ(g_seen.cell.status, SS_VALUESTATUS_OK);
    EXPECT_EQ(std::int32_t{g_seen.cell.cell.col}, 2);
    EXPECT_EQ(std::int32_t{g_seen.cell.cell.row}, 3);

    SSSetFormula(grid, 1, 2, "WHERE(C1:D2)", TRUE);
    ASSERT_EQ(g_seen.kinds, std::vector<int>{SS_VALUE_RANGE}) << "ranges stay ranges";
    EXPECT_EQ(std::int32_t{g_seen.range.cell.lastCol}, 4);

    SSSetFormula(grid, 1, 3, "WHERE(\"text\")", TRUE);
    EXPECT_EQ(g_seen.kinds, std::vector<int>{SS_VALUE_STRING}) << "values stay values";
}

TEST_F(GridFormulas, TheValueRecordHasThePublishedLayout)
{
    SS_VALUE r;
    std::memset(&r, 0, sizeof r);
    r.status = SS_VALUESTATUS_OK;
    r.kind = SS_VALUE_RANGE;
    r.cell.col = 0x11223344;
    r.cell.row = 5;
    r.cell.lastCol = 6;
    r.cell.lastRow = 7;
    unsigned char bytes[sizeof r];
    std::memcpy(bytes, &r, sizeof r);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[1], 4);
    std::int32_t v = 0;
    std::memcpy(&v, bytes + 4, 4);
    EXPECT_EQ(v, 0x11223344);
    std::memcpy(&v, bytes + 8, 4);
    EXPECT_EQ(v, 5);
    std::memcpy(&v, bytes + 12, 4);
    EXPECT_EQ(v, 6);
    std::memcpy(&v, bytes + 16, 4);
    EXPECT_EQ(v, 7);
    r.doubleValue = 2.5;
    double d = 0;
    std::memcpy(&d, reinterpret_cast<const unsigned char*>(&r) + 2, 8);
    EXPECT_EQ(d, 2.5);
    r.longValue = -9;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(&r) + 2, 4);
    EXPECT_EQ(v, -9);
}

TEST_F(GridFormulas, BooleansErrorsAndEmptyArgumentsArriveByStatusAndLong)
{
    ASSERT_TRUE(SSAddCustomFunctionExt(grid, "SEE", 1, 4, joinTexts, 0));
    SSSetFormula(grid, 1, 1, "SEE(TRUE,FALSE,1/0,B5)", TRUE);
    const std::vector<int> kinds = {SS_VALUE_LONG, SS_VALUE_LONG, SS_VALUE_LONG, SS_VALUE_LONG};
    EXPECT_EQ(g_seen.kinds, kinds);
    const std::vector<int> statuses = {SS_VALUESTATUS_OK, SS_VALUESTATUS_OK, SS_VALUESTATUS_ERROR,
                                       SS_VALUESTATUS_EMPTY};
    EXPECT_EQ(g_seen.statuses, statuses);
    const std::vector<std::int32_t> longs = {1, 0, SS_VALUEERROR_DIV0, 0};
    EXPECT_EQ(g_seen.longs, longs);
}

TEST_F(GridFormulas, CustomFunctionsGetTheirArgumentsAndTheCallingSheet)
{
    const int blocksBefore = kxwin::liveGlobalBlockCount();
    SSSetFormula(grid, 1, 1, "JOIN(\"ab\",B1,C1:D2,3)", TRUE);
    EXPECT_EQ(data(grid, 1, 1), "#NAME?") << "named before it exists";
    SSSetData(grid, 2, 1, "cd");
    ASSERT_TRUE(SSAddCustomFunctionExt(grid, "join", 1, 4, joinTexts, 0));
    EXPECT_EQ(data(grid, 1, 1), "abcd") << "registering recalculates its callers";
    EXPECT_EQ(g_seen.grid, grid);
    EXPECT_EQ(g_seen.col, 1);
    EXPECT_EQ(g_seen.row, 1);
    const std::vector<int> kinds = {SS_VALUE_STRING, SS_VALUE_STRING, SS_VALUE_RANGE, SS_VALUE_DOUBLE};
    EXPECT_EQ(g_seen.kinds, kinds);
    EXPECT_EQ(std::int32_t{g_seen.range.cell.col}, 3);
    EXPECT_EQ(std::int32_t{g_seen.range.cell.lastRow}, 2);
    SSSetData(grid, 2, 1, "ef");
    EXPECT_EQ(data(grid, 1, 1), "abef");

    SSSetFormula(grid, 1, 2, "JOIN(\"none\")", TRUE);
    EXPECT_EQ(data(grid, 1, 2), "") << "no value leaves the cell empty";
    SSSetFormula(grid, 1, 3, "JOIN()", TRUE);
    EXPECT_EQ(data(grid, 1, 3), "#VALUE!") << "too few arguments: no call";
    ASSERT_TRUE(SSAddCustomFunctionExt(grid, "NOPE", 0, 0, refuse, 0));
    SSSetFormula(grid, 1, 4, "NOPE()", TRUE);
    EXPECT_EQ(data(grid, 1, 4), "#VALUE!");
    EXPECT_FALSE(SSAddCustomFunctionExt(grid, "SUM", 0, 1, joinTexts, 0)) << "built-in names are refused";
    EXPECT_FALSE(SSAddCustomFunctionExt(grid, "OTHER", 0, 1, nullptr, 0));
    EXPECT_EQ(kxwin::liveGlobalBlockCount(), blocksBefore) << "every string block was freed";

    // Loading a file forgets the registered functions.
    std::string text;
    ASSERT_TRUE(kxgrid::sheetText(grid, text));
    ASSERT_TRUE(kxgrid::loadSheetText(grid, text));
    EXPECT_EQ(data(grid, 1, 1), "#NAME?");
    ASSERT_TRUE(SSAddCustomFunctionExt(grid, "JOIN", 1, 4, joinTexts, 0));
    EXPECT_EQ(data(grid, 1, 1), "abef");
}

TEST_F(GridFormulas, CopiesMoveRelativeReferences)
{
    SSSetBool(grid, SSB_ALLOWUSERFORMULAS, TRUE);
    for (int r = 1; r <= 4; ++r)
        SSSetData(grid, 1, r, std::to_string(r * 10).c_str());
    SSSetFormula(grid, 2, 1, "A1+$A$1", TRUE);

    ASSERT_TRUE(SSCopyRange(grid, 2, 1, 2, 1, 2, 2));
    EXPECT_EQ(formula(grid, 2, 2), "A2+$A$1");
    EXPECT_EQ(data(grid, 2, 2), "30");

    std::string copied;
    ASSERT_TRUE(kxgrid::copyText(grid, 2, 1, 2, 2, copied));
    EXPECT_EQ(copied, "=A1+$A$1\r\n=A2+$A$1\r\n");
    EXPECT_EQ(kxgrid::pasteText(grid, 3, 3, copied), 2);
    EXPECT_EQ(formula(grid, 3, 3), "B3+$A$1");
    EXPECT_EQ(formula(grid, 3, 4), "B4+$A$1");
    SSSetFormula(grid, 2, 3, "A3", TRUE);
    SSSetFormula(grid, 2, 4, "A4", TRUE);
    EXPECT_EQ(data(grid, 3, 4), "50");

    EXPECT_EQ(kxgrid::pasteText(grid, 4, 1, "=A1*2"), 1) << "foreign text is read as typed";
    EXPECT_EQ(formula(grid, 4, 1), "A1*2");

    ASSERT_TRUE(SSSwapRange(grid, 2, 1, 2, 1, 4, 6));
    EXPECT_EQ(formula(grid, 4, 6), "C6+$A$1") << "a swapped formula is entered again at its new place";
    EXPECT_EQ(formula(grid, 2, 1), "");
}

// One rule for references beyond the sheet's size (4 columns, 6 rows here): they read as empty
// cells, single cells and ranges alike, and a sheet that grows fills them.
TEST_F(GridFormulas, ReferencesBeyondTheSheetReadEmptyUntilItGrows)
{
    SSSetBool(grid, SSB_ALLOWUSERFORMULAS, TRUE);
    SSSetData(grid, 1, 1, "3");
    ASSERT_TRUE(kxgrid::enterText(grid, 2, 1, "=A20"));
    ASSERT_TRUE(kxgrid::enterText(grid, 2, 2, "=SUM(A1:A500)"));
    ASSERT_TRUE(kxgrid::enterText(grid, 2, 3, "=SUM(A500:A1000)+G1"));
    EXPECT_EQ(data(grid, 2, 1), "0");
    EXPECT_EQ(data(grid, 2, 2), "3");
    EXPECT_EQ(data(grid, 2, 3), "0");

    ASSERT_TRUE(SSSetMaxRows(grid, 600));
    ASSERT_TRUE(SSSetMaxCols(grid, 8));
    SSSetData(grid, 1, 20, "5");
    SSSetData(grid, 1, 500, "7");
    SSSetData(grid, 7, 1, "1");
    EXPECT_EQ(data(grid, 2, 1), "5");
    EXPECT_EQ(data(grid, 2, 2), "15");
    EXPECT_EQ(data(grid, 2, 3), "8");

    ASSERT_TRUE(SSSetMaxRows(grid, 6));
    EXPECT_EQ(data(grid, 2, 1), "0") << "cut off again: empty, not an error";
    EXPECT_EQ(data(grid, 2, 2), "3");
}
