// What cells look like and how big they are: fonts, colours and borders through structure
// operations, joined cells, sizes in both units, text measuring with non-ASCII text, notes and text
// tips; plus value forms per cell type and calls on dead handles and cells outside the sheet.
#include "platform/grid/tests/GridTestSupport.h"

#include "platform/win/Clipboard.h"

using kxgrid::testing::data;
using kxgrid::testing::GridFixture;
using kxgrid::testing::value;

using Looks = GridFixture;
using Joined = GridFixture;
using Measuring = GridFixture;
using ValueForms = GridFixture;

namespace {

struct Look {
    COLORREF back = 0, fore = 0;
    LONG fontHeight = 0;
    WORD border = 0;
    friend bool operator==(const Look&, const Look&) = default;
};

Look lookOf(HWND g, int col, int row)
{
    Look l;
    SSGetColor(g, col, row, &l.back, &l.fore);
    LOGFONT lf;
    SSGetFont(g, col, row, &lf);
    l.fontHeight = lf.lfHeight;
    SSGetBorder(g, col, row, SS_BORDERTYPE_BOTTOM, &l.border, nullptr);
    return l;
}

} // namespace

TEST_F(Looks, FontsColoursAndBordersTravelWithTheirCellsThroughStructureOperations)
{
    HFONT big = CreateFont(30, 0, FW_BOLD, false, false, "Arial");
    SSSetFont(grid, 2, 2, big, TRUE);
    DeleteObject(big);
    SSSetColor(grid, 2, 2, 0x0000FF, 0x00FF00);
    SSSetBorder(grid, 2, 2, SS_BORDERTYPE_BOTTOM, SS_BORDERSTYLE_SOLID, 0);
    SSSetData(grid, 2, 2, "styled");
    const Look styled = lookOf(grid, 2, 2);
    const Look plain = lookOf(grid, 1, 1);
    ASSERT_NE(styled, plain);

    SSInsRow(grid, 1);
    EXPECT_EQ(lookOf(grid, 2, 3), styled);
    EXPECT_EQ(lookOf(grid, 2, 2), plain) << "the look does not stay behind at the old place";
    SSInsCol(grid, 1);
    EXPECT_EQ(lookOf(grid, 3, 3), styled);
    SSDelRow(grid, 2);
    SSDelCol(grid, 2);
    EXPECT_EQ(lookOf(grid, 2, 2), styled);
    EXPECT_EQ(data(grid, 2, 2), "styled");
    EXPECT_EQ(lookOf(grid, 4, 6), plain) << "rows and columns coming in at the end are plain";

    SSCopyRange(grid, 2, 2, 2, 2, 4, 5);
    EXPECT_EQ(lookOf(grid, 4, 5), styled);
    SSSwapRange(grid, 2, 2, 2, 2, 1, 1);
    EXPECT_EQ(lookOf(grid, 1, 1), styled);
    EXPECT_EQ(lookOf(grid, 2, 2), plain);

    SSSetColor(grid, 1, 1, SS_COLOR_KEEP, 0x123456);
    COLORREF back = 0, fore = 0;
    SSGetColor(grid, 1, 1, &back, &fore);
    EXPECT_EQ(back, 0x0000FFu) << "SS_COLOR_KEEP leaves the background";
    EXPECT_EQ(fore, 0x123456u);
}

TEST_F(Looks, AnOutlineBorderDrawsOnlyTheEdgeOfTheBlock)
{
    SSSetBorderRange(grid, 1, 1, 3, 3, SS_BORDERTYPE_OUTLINE, SS_BORDERSTYLE_SOLID, 0xFF);
    auto side = [&](int c, int r, WORD s) {
        WORD style = 0;
        SSGetBorder(grid, c, r, s, &style, nullptr);
        return style;
    };
    EXPECT_EQ(side(1, 2, SS_BORDERTYPE_LEFT), SS_BORDERSTYLE_SOLID);
    EXPECT_EQ(side(3, 3, SS_BORDERTYPE_BOTTOM), SS_BORDERSTYLE_SOLID);
    EXPECT_EQ(side(2, 2, SS_BORDERTYPE_LEFT), SS_BORDERSTYLE_NONE) << "the inside stays open";
    EXPECT_EQ(side(2, 2, SS_BORDERTYPE_TOP), SS_BORDERSTYLE_NONE);
    EXPECT_EQ(side(3, 1, SS_BORDERTYPE_LEFT), SS_BORDERSTYLE_NONE);
    WORD style = 0;
    EXPECT_FALSE(SSGetBorder(grid, 1, 1, SS_BORDERTYPE_LEFT | SS_BORDERTYPE_TOP, &style, nullptr))
        << "one side at a time";
}

TEST_F(Looks, TagsNotesAndFormulasOfACellComeAndGoIndependently)
{
    char buf[64] = {};
    ASSERT_TRUE(SSSetCellTag(grid, 1, 1, "tag"));
    ASSERT_TRUE(SSSetCellNote(grid, 1, 1, "note"));
    ASSERT_TRUE(SSSetFormula(grid, 1, 1, "2*3", TRUE));
    ASSERT_TRUE(SSSetCellTag(grid, 1, 1, ""));
    EXPECT_EQ(SSGetCellNote(grid, 1, 1, buf, sizeof buf), 4) << "clearing the tag keeps the note";
    EXPECT_EQ(SSGetCellTagLen(grid, 1, 1), 0);
    EXPECT_EQ(data(grid, 1, 1), "6");
    ASSERT_TRUE(SSSetFormula(grid, 1, 1, "", TRUE));
    EXPECT_EQ(SSGetCellNote(grid, 1, 1, buf, sizeof buf), 4) << "removing the formula keeps the note";
    ASSERT_TRUE(SSSetCellTag(grid, 1, 1, "again"));

    // Copies, the file text and a load carry both; clearing both leaves a cell that saves as blank.
    ASSERT_TRUE(SSCopyRange(grid, 1, 1, 1, 1, 2, 2));
    EXPECT_EQ(SSGetCellTag(grid, 2, 2, buf, sizeof buf), 5);
    EXPECT_EQ(SSGetCellNote(grid, 2, 2, buf, sizeof buf), 4);
    std::string text;
    ASSERT_TRUE(kxgrid::sheetText(grid, text));
    ASSERT_TRUE(kxgrid::loadSheetText(grid, text));
    EXPECT_EQ(SSGetCellTag(grid, 2, 2, buf, sizeof buf), 5);
    EXPECT_STREQ(buf, "again");
    EXPECT_EQ(SSGetCellNote(grid, 1, 1, buf, sizeof buf), 4);
    EXPECT_STREQ(buf, "note");

    std::string before;
    ASSERT_TRUE(kxgrid::sheetText(grid, before));
    ASSERT_TRUE(SSSetCellTag(grid, 3, 3, "x"));
    ASSERT_TRUE(SSSetCellNote(grid, 3, 3, "y"));
    ASSERT_TRUE(SSSetCellTag(grid, 3, 3, ""));
    ASSERT_TRUE(SSSetCellNote(grid, 3, 3, ""));
    std::string after;
    ASSERT_TRUE(kxgrid::sheetText(grid, after));
    EXPECT_EQ(after, before);
}

TEST_F(Looks, NotesAndTextTipsKeepWhatTheyAreGivenAndRefuseBadValues)
{
    EXPECT_TRUE(SSSetCellNote(grid, 2, 2, "Länge in mm"));
    char buf[3] = {};
    EXPECT_EQ(SSGetCellNote(grid, 2, 2, buf, sizeof buf), 1) << "never half of the ä";
    EXPECT_FALSE(SSSetCellNote(grid, 2, 7, "x"));
    EXPECT_FALSE(SSSetCellNote(grid, 2, 2, std::string(SS_MAX_TEXT + 1, 'n').c_str()));
    SSInsRow(grid, 1);
    EXPECT_EQ(SSGetCellNote(grid, 2, 3, buf, sizeof buf), 1) << "the note moved with its row";
    EXPECT_EQ(SSGetCellNote(grid, 2, 2, buf, sizeof buf), 0);

    LOGFONT tipFont;
    tipFont.lfHeight = 20;
    tipFont.lfFaceName = "Arial";
    EXPECT_TRUE(SSSetTextTip(grid, SS_TEXTTIP_FLOATING, 250, &tipFont, 0x112233, SS_COLOR_KEEP));
    EXPECT_FALSE(SSSetTextTip(grid, 3, 100, nullptr, 0, 0));
    WORD status = 0;
    DWORD delay = 0;
    LOGFONT got;
    COLORREF back = 0, fore = 1;
    ASSERT_TRUE(SSGetTextTip(grid, &status, &delay, &got, &back, &fore));
    EXPECT_EQ(status, SS_TEXTTIP_FLOATING) << "a refused call changes nothing";
    EXPECT_EQ(delay, 250u);
    EXPECT_EQ(got.lfFaceName, "Arial");
    EXPECT_EQ(fore, 0x000000u) << "SS_COLOR_KEEP kept the default text colour";
    SSSetTextTip(grid, SS_TEXTTIP_FIXED, 10, nullptr, SS_COLOR_KEEP, SS_COLOR_KEEP);
    SSGetTextTip(grid, nullptr, nullptr, &got, &back, nullptr);
    EXPECT_EQ(got.lfHeight, 20) << "no font keeps the tip font";
    EXPECT_EQ(back, 0x112233u);
}

TEST_F(Joined, SpansRefuseOverlapsReportTheirCellsAndClicksLandOnTheAnchor)
{
    ASSERT_TRUE(SSAddCellSpan(grid, 2, 2, 2, 3));
    EXPECT_FALSE(SSAddCellSpan(grid, 3, 3, 2, 2)) << "overlaps";
    EXPECT_FALSE(SSAddCellSpan(grid, 1, 1, 1, 1)) << "a single cell";
    EXPECT_FALSE(SSAddCellSpan(grid, 4, 5, 2, 1)) << "leaves the sheet";
    EXPECT_FALSE(SSAddCellSpan(grid, 1, 1, -2, 2));
    EXPECT_FALSE(SSAddCellSpan(grid, 1, 1, 2, 0));
    int ac = 0, ar = 0, nc = 0, nr = 0;
    EXPECT_EQ(SSGetCellSpan(grid, 3, 4, &ac, &ar, &nc, &nr), SS_SPAN_YES);
    EXPECT_EQ((std::vector<int>{ac, ar, nc, nr}), (std::vector<int>{2, 2, 2, 3}));
    EXPECT_EQ(SSGetCellSpan(grid, 2, 2, nullptr, nullptr, nullptr, nullptr), SS_SPAN_ANCHOR);
    EXPECT_EQ(SSGetCellSpan(grid, 4, 2, &ac, &ar, &nc, &nr), SS_SPAN_NO);
    EXPECT_EQ((std::vector<int>{ac, ar, nc, nr}), (std::vector<int>{4, 2, 1, 1}));
    EXPECT_EQ(SSGetCellSpan(grid, 5, 1, nullptr, nullptr, nullptr, nullptr), -1);

    click(3, 4);
    int col = 0, row = 0;
    SSGetActiveCell(grid, &col, &row);
    EXPECT_EQ((std::pair{col, row}), (std::pair{2, 2})) << "a click on a covered cell activates the anchor";

    EXPECT_TRUE(SSAddCellSpan(grid, 2, 2, 3, 1)) << "the same anchor replaces the block";
    EXPECT_EQ(SSGetCellSpan(grid, 2, 3, nullptr, nullptr, nullptr, nullptr), SS_SPAN_NO);
    EXPECT_FALSE(SSRemoveCellSpan(grid, 3, 2)) << "only by the anchor";
    EXPECT_TRUE(SSRemoveCellSpan(grid, 2, 2));
    EXPECT_EQ(SSGetCellSpan(grid, 3, 2, nullptr, nullptr, nullptr, nullptr), SS_SPAN_NO);
}

TEST_F(Measuring, SizesConvertBothWaysAndNegativeSizesRestoreTheDefault)
{
    int px = 0;
    double units = 0;
    SSGetColWidthInPixels(grid, 3, &px);
    const int defaultWidth = px;
    EXPECT_TRUE(SSSetColWidthInPixels(grid, 3, 90));
    SSGetColWidth(grid, 3, &units);
    EXPECT_DOUBLE_EQ(units, 15.0);
    EXPECT_TRUE(SSSetColWidth(grid, 3, -1));
    SSGetColWidthInPixels(grid, 3, &px);
    EXPECT_EQ(px, defaultWidth);
    EXPECT_TRUE(SSSetRowHeight(grid, 2, 15));
    SSGetRowHeightInPixels(grid, 2, &px);
    EXPECT_EQ(px, 20);
    EXPECT_TRUE(SSSetColWidth(grid, SS_HEADER, 5));
    SSGetColWidthInPixels(grid, 0, &px);
    EXPECT_EQ(px, 30) << "the row-header column";
    EXPECT_TRUE(SSSetColWidth(grid, 1, 1e300)) << "a huge width is held, not overflowed";
    SSGetColWidthInPixels(grid, 1, &px);
    EXPECT_GT(px, 0);

    EXPECT_FALSE(SSSetColWidth(grid, 5, 10));
    EXPECT_FALSE(SSSetRowHeightInPixels(grid, 7, 10));
    EXPECT_FALSE(SSGetColWidth(grid, -1, &units));
    EXPECT_FALSE(SSGetRowHeight(grid, 2, nullptr));
}

TEST_F(Measuring, TextIsMeasuredInCharactersOfTheCellFontWhateverTheBytes)
{
    SSSetData(grid, 1, 1, "ääää");  // 8 bytes, 4 characters
    SSSetData(grid, 1, 2, "abcd");
    double wide = 0, plain = 0, h = 0;
    ASSERT_TRUE(SSGetMaxTextCellSize(grid, 1, 1, &wide, &h));
    SSGetMaxTextCellSize(grid, 1, 2, &plain, nullptr);
    EXPECT_DOUBLE_EQ(wide, plain);
    EXPECT_DOUBLE_EQ(wide, (4 * 6 + 4) / 6.0);
    EXPECT_DOUBLE_EQ(h, (13 + 4) * 3 / 4.0);

    SS_CELLTYPE t;
    SSSetTypeNumber(grid, &t, 0, 3, -1e6, 1e6);
    SSSetCellType(grid, 2, 1, &t);
    SSSetData(grid, 2, 1, "1");
    SSGetMaxTextCellSize(grid, 2, 1, &wide, nullptr);
    EXPECT_DOUBLE_EQ(wide, (5 * 6 + 4) / 6.0) << "the shown text 1.000, not the value 1";

    SSSetTypeButton(grid, &t, 0, "Browse…");
    SSSetCellType(grid, 3, 4, &t);
    SSSetData(grid, 3, 0, "Hd");
    double column = 0;
    ASSERT_TRUE(SSGetMaxTextColWidth(grid, 3, &column));
    EXPECT_DOUBLE_EQ(column, (7 * 6 + 4) / 6.0) << "an empty button cell is as wide as its caption";
    ASSERT_TRUE(SSGetMaxTextColWidth(grid, 4, &column));
    EXPECT_DOUBLE_EQ(column, 0.0) << "an empty column needs nothing";
    EXPECT_FALSE(SSGetMaxTextColWidth(grid, 5, &column));
    EXPECT_FALSE(SSGetMaxTextCellSize(grid, 1, 7, &wide, &h));

    SSSetData(grid, 4, 1, "one\r\ntwo lines");
    ASSERT_TRUE(SSGetMaxTextCellSize(grid, 4, 1, &wide, &h));
    EXPECT_DOUBLE_EQ(wide, (9 * 6 + 4) / 6.0) << "the widest line";
    EXPECT_DOUBLE_EQ(h, (2 * 13 + 4) * 3 / 4.0);
}

TEST_F(ValueForms, EachTypeReadsBackItsValueFormAndRefusalsLeaveTheCellAlone)
{
    SS_CELLTYPE t;
    SSSetTypeNumber(grid, &t, 0, 0, -1000, 1000);
    SSSetCellTypeRange(grid, 1, 1, 1, 2, &t);
    EXPECT_TRUE(SSSetValue(grid, 1, 1, "2,6"));
    EXPECT_EQ(data(grid, 1, 1), "3") << "no decimals shown";
    EXPECT_EQ(value(grid, 1, 1), "2.6");
    EXPECT_TRUE(SSSetFloat(grid, 1, 1, 0.1));
    EXPECT_EQ(value(grid, 1, 1), "0.1") << "the shortest text that reads back the same";
    SSSetCellTag(grid, 1, 1, "keep");
    SSSetFormula(grid, 1, 2, "A1*2", TRUE);
    EXPECT_FALSE(SSSetData(grid, 1, 2, "words"));
    EXPECT_EQ(kxgrid::testing::formula(grid, 1, 2), "A1*2") << "a refused write keeps the formula";
    EXPECT_FALSE(SSSetFloat(grid, 1, 1, 5000));
    EXPECT_EQ(value(grid, 1, 1), "0.1");
    EXPECT_EQ(kxgrid::testing::tag(grid, 1, 1), "keep");

    SSSetTypeComboBox(grid, &t, 0, "Steel\tWood");
    SSSetCellType(grid, 2, 1, &t);
    EXPECT_TRUE(SSSetValue(grid, 2, 1, "Wood"));
    EXPECT_EQ(value(grid, 2, 1), "Wood") << "without the index style the value is the item";
    EXPECT_FALSE(SSSetValue(grid, 2, 1, "1")) << "and a number is no item";
    EXPECT_EQ(data(grid, 2, 1), "Wood");
    SSSetTypeComboBox(grid, &t, SS_COMBO_VALUE_INDEX, "Steel\tWood\t");
    SSSetCellType(grid, 2, 2, &t);
    EXPECT_TRUE(SSSetValue(grid, 2, 2, " 1 "));
    EXPECT_EQ(data(grid, 2, 2), "Wood");
    EXPECT_EQ(value(grid, 2, 2), "1");
    EXPECT_FALSE(SSSetValue(grid, 2, 2, "99999999999"));
    EXPECT_EQ(value(grid, 2, 2), "1");

    SSSetTypeCheckBox(grid, &t, 0, "Yes", nullptr, nullptr);
    SSSetCellType(grid, 3, 1, &t);
    for (const char* on : {"1", " true ", "TRUE"}) {
        SSSetData(grid, 3, 1, "0");
        EXPECT_TRUE(SSSetValue(grid, 3, 1, on)) << on;
        EXPECT_EQ(value(grid, 3, 1), "1") << on;
    }
    for (const char* bad : {"yes", "2", "-1", "on"}) {
        EXPECT_FALSE(SSSetData(grid, 3, 1, bad)) << bad;
        EXPECT_EQ(value(grid, 3, 1), "1") << bad;
    }
    EXPECT_TRUE(SSSetData(grid, 3, 1, "False"));
    EXPECT_EQ(data(grid, 3, 1), "0");

    SSSetTypeEdit(grid, &t, 0, 2, SS_CHRSET_ALPHA, SS_CASE_LOWER);
    SSSetCellType(grid, 4, 1, &t);
    SSSetData(grid, 4, 1, "ok");
    EXPECT_FALSE(SSSetData(grid, 4, 1, "ab1"));
    EXPECT_EQ(data(grid, 4, 1), "ok");
    EXPECT_TRUE(SSSetData(grid, 4, 1, "ÄÖÜ"));
    EXPECT_EQ(data(grid, 4, 1), "äö");
    SSSetTypeEdit(grid, &t, 0, 2, SS_CHRSET_ANY, SS_CASE_ASTYPED);
    SSSetCellType(grid, 4, 2, &t);
    EXPECT_TRUE(SSSetData(grid, 4, 2, "€€€"));
    EXPECT_EQ(data(grid, 4, 2), "€€") << "two characters of three bytes each";
    EXPECT_TRUE(SSSetData(grid, 4, 2, "\xE2\x82"));
    EXPECT_EQ(data(grid, 4, 2), "\xE2\x82") << "two stray bytes are two characters and survive";
}

TEST(DeadHandles, EveryCallOnADestroyedGridFailsQuietly)
{
    HWND g = kxgrid::createStandaloneGrid(3, 3);
    ASSERT_NE(g, nullptr);
    SSSetData(g, 1, 1, "x");
    DestroyWindow(g);
    char buf[8] = "keep";
    EXPECT_EQ(SSGetData(g, 1, 1, buf, sizeof buf), -1);
    EXPECT_STREQ(buf, "keep");
    EXPECT_EQ(SSGetDataLen(g, 1, 1), -1);
    EXPECT_FALSE(SSSetData(g, 1, 1, "y"));
    EXPECT_FALSE(SSSetBool(g, SSB_PROTECT, TRUE));
    EXPECT_EQ(SSGetCellType(g, 1, 1), -1);
    EXPECT_EQ(SSGetCellSpan(g, 1, 1, nullptr, nullptr, nullptr, nullptr), -1);
    EXPECT_EQ(SSGetRefStyle(g), -1);
    int c = 0, r = 0;
    EXPECT_FALSE(SSGetNotifyCell(g, &c, &r));
    EXPECT_FALSE(SSGetActiveCell(g, &c, &r));
    EXPECT_FALSE(SSSetEditMode(g, TRUE));
    EXPECT_FALSE(SSGetSel(g, &c, &r));
    EXPECT_FALSE(SSInsRow(g, 1));
    EXPECT_FALSE(SSClipboardCopy(g));
    kxwin::setClipboardText("a");
    EXPECT_FALSE(SSClipboardPaste(g));
    EXPECT_EQ(kxgrid::pasteText(g, 1, 1, "a"), -1);
    std::string out = "old";
    EXPECT_FALSE(kxgrid::copyText(g, 1, 1, 1, 1, out));
    EXPECT_FALSE(kxgrid::sheetText(g, out));
    EXPECT_FALSE(kxgrid::setFormulaHook(g, nullptr));
    EXPECT_EQ(kxgrid::lastError(g), "the window is no grid");
    double w = 0;
    EXPECT_FALSE(SSGetMaxTextColWidth(g, 1, &w));
    kxwin::resetWindowLayer();
}

TEST_F(Looks, CellsOutsideTheSheetAreRefusedByEveryKindOfCall)
{
    SS_CELLTYPE t;
    SSSetTypeEdit(grid, &t, 0, 0, 0, SS_CASE_ASTYPED);
    EXPECT_FALSE(SSSetCellTypeRange(grid, 1, 1, 5, 1, &t));
    EXPECT_FALSE(SSSetLockRange(grid, 0, 0, 4, 7, TRUE));
    EXPECT_FALSE(SSSetColorRange(grid, -2, 1, 1, 1, 0, 0));
    EXPECT_FALSE(SSClearData(grid, 1, 1, 1, 7));
    EXPECT_FALSE(SSSetActiveCell(grid, 0, 1)) << "headers are never active";
    EXPECT_FALSE(SSSetActiveCell(grid, 1, 7));
    EXPECT_FALSE(SSSetSelectBlock(grid, 1, 1, 5, 1));
    EXPECT_FALSE(SSSetCellTag(grid, 1, -1, "t"));
    EXPECT_FALSE(SSSetFormula(grid, 9, 1, "A1", TRUE));
    EXPECT_FALSE(SSReCalcCell(grid, 9, 1));
    EXPECT_FALSE(SSSetActionKey(grid, 8, FALSE, TRUE, 'A'));
    EXPECT_FALSE(SSSetEditEnterAction(grid, SS_ENTERACTION_NEXT + 1));
    EXPECT_FALSE(SSSetAutoSizeVisible(grid, -1, 3));
    EXPECT_FALSE(SSDelRow(grid, 7));
    EXPECT_FALSE(SSInsCol(grid, -1));
    EXPECT_EQ(kxgrid::pasteText(grid, 5, 1, "a"), 0);
    EXPECT_EQ(SSGetCellType(grid, 1, 7), -1);
    EXPECT_EQ(SSGetValueLen(grid, 0, 7), -1);

    ASSERT_TRUE(SSSetSelectBlock(grid, 2, 2, 4, 6));
    SSSetMaxRows(grid, 3);
    SSSetMaxCols(grid, 2);
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    ASSERT_TRUE(SSGetSelectBlock(grid, &c1, &r1, &c2, &r2));
    EXPECT_EQ((std::vector<int>{c1, r1, c2, r2}), (std::vector<int>{2, 2, 2, 3})) << "the block shrinks with the sheet";
    SSSetMaxRows(grid, 0);
    EXPECT_FALSE(SSGetActiveCell(grid, &c1, &r1)) << "an empty sheet has no active cell";
    EXPECT_FALSE(SSClipboardCopy(grid));
    EXPECT_FALSE(SSSetEditMode(grid, TRUE));
    key(VK_DOWN);
    type("x");
    EXPECT_EQ(SSGetMaxRows(grid), 0);
}
