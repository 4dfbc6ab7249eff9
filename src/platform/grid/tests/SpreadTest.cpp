// The SS functions as the module uses them: cell types and what they accept, headers, bad
// arguments, the change flag, sizes and text measuring, and the formula hook.
#include "platform/grid/tests/GridTestSupport.h"

#include <climits>
#include <cmath>

using kxgrid::testing::data;
using kxgrid::testing::formula;
using kxgrid::testing::GridFixture;
using kxgrid::testing::tag;
using kxgrid::testing::value;

using CellTypes = GridFixture;
using BadArguments = GridFixture;
using ChangeFlag = GridFixture;
using Sizes = GridFixture;

TEST_F(CellTypes, NumberCellsShowDecimalsKeepTheTypedValueAndRefuseNonNumbers)
{
    SS_CELLTYPE t;
    ASSERT_EQ(SSSetTypeNumber(grid, &t, 0x10100000, 2, -100, 1000), &t);
    ASSERT_TRUE(SSSetCellTypeRange(grid, 1, 1, 1, 6, &t));
    EXPECT_EQ(SSGetCellType(grid, 1, 3), SS_TYPE_NUMBER);
    EXPECT_TRUE(SSSetData(grid, 1, 1, "2.345"));
    EXPECT_EQ(data(grid, 1, 1), "2.35") << "shown with two decimals (round half away from zero not promised)";
    EXPECT_EQ(value(grid, 1, 1), "2.345") << "the value form is unformatted";
    EXPECT_TRUE(SSSetData(grid, 1, 2, " 12,5 ")) << "a decimal comma is what many users type";
    EXPECT_EQ(value(grid, 1, 2), "12.5");
    EXPECT_TRUE(SSSetData(grid, 1, 3, "-0"));
    EXPECT_EQ(data(grid, 1, 3), "0.00");
    for (const char* bad : {"12abc", "nan", "1e999", "inf", "1,234.5", "2000", "-101", "0x10"}) {
        EXPECT_FALSE(SSSetData(grid, 1, 2, bad)) << bad;
        EXPECT_EQ(value(grid, 1, 2), "12.5") << "a refused text leaves the cell as it was: " << bad;
    }
    EXPECT_TRUE(SSSetData(grid, 1, 2, ""));
    EXPECT_EQ(data(grid, 1, 2), "");
    double v = 0;
    EXPECT_TRUE(SSGetFloat(grid, 1, 1, &v));
    EXPECT_DOUBLE_EQ(v, 2.345);
    EXPECT_FALSE(SSGetFloat(grid, 1, 2, &v)) << "an empty cell holds no number";
}

TEST_F(CellTypes, ReversedLimitsAreTakenInEitherOrder)
{
    SS_CELLTYPE t;
    SSSetTypeNumber(grid, &t, 0x10000200, 2, 9999, -9999);
    SSSetCellType(grid, 2, 2, &t);
    EXPECT_TRUE(SSSetData(grid, 2, 2, "-5000"));
    EXPECT_FALSE(SSSetData(grid, 2, 2, "10000"));
}

TEST_F(CellTypes, ComboBoxesTakeListedItemsAndReadBackIndicesWhenTheStyleSaysSo)
{
    SS_CELLTYPE t;
    SSSetTypeComboBox(grid, &t, SS_COMBO_VALUE_INDEX, "Steel\tWood\tGlass");
    ASSERT_TRUE(SSSetCellTypeRange(grid, 2, 1, 2, 6, &t));
    EXPECT_TRUE(SSSetData(grid, 2, 1, "Wood"));
    EXPECT_EQ(value(grid, 2, 1), "1");
    EXPECT_TRUE(SSSetData(grid, 2, 2, "glass")) << "matched without regard to case";
    EXPECT_EQ(data(grid, 2, 2), "Glass");
    EXPECT_FALSE(SSSetData(grid, 2, 3, "Stone")) << "not editable: only listed items";
    EXPECT_TRUE(SSSetValue(grid, 2, 3, "0"));
    EXPECT_EQ(data(grid, 2, 3), "Steel");
    EXPECT_FALSE(SSSetValue(grid, 2, 4, "3"));
    EXPECT_FALSE(SSSetValue(grid, 2, 4, "-1"));

    SSSetTypeComboBox(grid, &t, SS_COMBO_EDITABLE | SS_COMBO_VALUE_INDEX, "A\tB");
    SSSetCellType(grid, 3, 1, &t);
    EXPECT_TRUE(SSSetData(grid, 3, 1, "Other"));
    EXPECT_EQ(value(grid, 3, 1), "Other") << "typed text outside the list reads back as itself";
}

TEST_F(CellTypes, CheckBoxesHoldOneOrZeroAndNewTypesDropDataTheyCannotHold)
{
    SSSetData(grid, 1, 1, "1");
    SSSetData(grid, 1, 2, "maybe");
    SS_CELLTYPE t;
    SSSetTypeCheckBox(grid, &t, 0x300, "", nullptr, nullptr);
    ASSERT_TRUE(SSSetCellTypeRange(grid, 1, 1, 1, 6, &t));
    EXPECT_EQ(SSGetCellType(grid, 1, 1), 12);
    EXPECT_EQ(data(grid, 1, 1), "1");
    EXPECT_EQ(data(grid, 1, 2), "") << "a check box cannot hold \"maybe\"";
    EXPECT_TRUE(SSSetData(grid, 1, 3, "TRUE"));
    EXPECT_EQ(value(grid, 1, 3), "1");
    EXPECT_FALSE(SSSetData(grid, 1, 3, "2"));
}

TEST_F(CellTypes, EditCellsCutAtTheirLengthAndApplyCaseAndCharacterSet)
{
    SS_CELLTYPE t;
    SSSetTypeEdit(grid, &t, 0x110000, 3, SS_CHRSET_ANY, SS_CASE_UPPER);
    SSSetCellType(grid, 1, 1, &t);
    EXPECT_TRUE(SSSetData(grid, 1, 1, "äbcd"));
    EXPECT_EQ(data(grid, 1, 1), "ÄBC") << "three characters, never three bytes";
    SSSetTypeEdit(grid, &t, 0, 0, SS_CHRSET_ALNUM, SS_CASE_ASTYPED);
    SSSetCellType(grid, 1, 2, &t);
    EXPECT_FALSE(SSSetData(grid, 1, 2, "a-1"));
    EXPECT_TRUE(SSSetData(grid, 1, 2, "a1"));
}

TEST_F(CellTypes, HeaderIndexAndRowZeroAreTheSameCells)
{
    EXPECT_TRUE(SSSetData(grid, SS_HEADER, 2, "Row two"));
    EXPECT_EQ(data(grid, 0, 2), "Row two");
    EXPECT_TRUE(SSSetData(grid, 3, 0, "Length"));
    EXPECT_EQ(data(grid, 3, SS_HEADER), "Length");
    EXPECT_TRUE(SSSetCellTag(grid, 0, 0, "settings"));
    EXPECT_EQ(tag(grid, SS_HEADER, SS_HEADER), "settings");
}

TEST_F(BadArguments, OutOfRangeCellsAndHugeCountsFailWithoutChangingAnything)
{
    EXPECT_FALSE(SSSetData(grid, 5, 1, "x"));
    EXPECT_FALSE(SSSetData(grid, 1, 7, "x"));
    EXPECT_FALSE(SSSetData(grid, -1, 1, "x"));
    EXPECT_EQ(SSGetDataLen(grid, 1, 7), -1);
    char buf[4];
    EXPECT_EQ(SSGetData(grid, 9, 9, buf, 4), -1);
    EXPECT_FALSE(SSSetMaxRows(grid, -1));
    EXPECT_FALSE(SSSetMaxRows(grid, INT_MAX));
    EXPECT_FALSE(SSSetMaxCols(grid, SS_MAX_COLS + 1));
    EXPECT_EQ(SSGetMaxRows(grid), 6);
    EXPECT_TRUE(SSSetMaxCols(grid, SS_MAX_COLS)) << "the limit itself is taken";
    EXPECT_FALSE(SSInsRow(grid, 0));
    EXPECT_FALSE(SSDelCol(grid, 5000000));
    EXPECT_FALSE(SSCopyRange(grid, 1, 1, 2, 2, 3, 6)) << "the target block leaves the sheet";
    EXPECT_FALSE(SSSwapRange(grid, 1, 1, 2, 2, 2, 2)) << "overlapping blocks";
    EXPECT_FALSE(SSSetBool(grid, SSB_COUNT, TRUE));
    EXPECT_FALSE(SSSetCellTypeRange(grid, 1, 1, 1, 1, nullptr));
    SS_CELLTYPE t;
    t.type = 99;
    EXPECT_FALSE(SSSetCellType(grid, 1, 1, &t));
    EXPECT_EQ(SSGetMaxRows(nullptr), -1);
    EXPECT_FALSE(SSSetData(owner, 1, 1, "x")) << "a window that is no grid";
}

TEST_F(BadArguments, TextsAreCopiedOutWholeOrCutAtACharacterAndStrayBytesSurvive)
{
    SSSetData(grid, 1, 1, "aä");  // 61 C3 A4
    char buf[3];
    EXPECT_EQ(SSGetData(grid, 1, 1, buf, 3), 1) << "the ä does not fit: never half of it";
    EXPECT_STREQ(buf, "a");
    EXPECT_EQ(SSGetDataLen(grid, 1, 1), 3);
    EXPECT_TRUE(SSSetData(grid, 1, 2, "\xC3(\xFF"));
    EXPECT_EQ(data(grid, 1, 2), "\xC3(\xFF") << "invalid UTF-8 is kept byte for byte";
    EXPECT_FALSE(kxgrid::enterText(grid, 1, 3, std::string_view("a\0b", 3))) << "no zero bytes in cells";
}

TEST_F(ChangeFlag, EveryEditSetsOptionThirtyAndStructureToo)
{
    SSSetBool(grid, SSB_CHANGEMADE, FALSE);
    SSSetData(grid, 1, 1, "x");
    EXPECT_TRUE(SSGetBool(grid, SSB_CHANGEMADE));
    SSSetBool(grid, SSB_CHANGEMADE, FALSE);
    EXPECT_FALSE(SSSetData(grid, 9, 9, "x"));
    EXPECT_FALSE(SSGetBool(grid, SSB_CHANGEMADE)) << "a refused write changes nothing";
    SSInsRow(grid, 2);
    EXPECT_TRUE(SSGetBool(grid, SSB_CHANGEMADE));
    EXPECT_TRUE(SSSetBool(grid, 200, TRUE));
    EXPECT_TRUE(SSGetBool(grid, 200)) << "unknown numbers are kept";
}

TEST_F(Sizes, WidthsConvertBetweenUnitsAndPixelsAndTextIsMeasuredFromTheFont)
{
    EXPECT_TRUE(SSSetColWidth(grid, 2, 10));
    int px = 0;
    SSGetColWidthInPixels(grid, 2, &px);
    EXPECT_EQ(px, 60);
    EXPECT_TRUE(SSSetRowHeightInPixels(grid, SS_HEADER, 40));
    double h = 0;
    SSGetRowHeight(grid, 0, &h);
    EXPECT_DOUBLE_EQ(h, 30.0);

    SSSetData(grid, 1, 1, "12345");
    SSSetData(grid, 1, 3, "1234567890");
    double w = 0, cellH = 0;
    ASSERT_TRUE(SSGetMaxTextCellSize(grid, 1, 3, &w, &cellH));
    EXPECT_DOUBLE_EQ(w, (10 * 6 + 4) / 6.0) << "ten characters of 6 pixels plus the margins";
    HFONT big = CreateFont(26, 0, FW_BOLD, false, false, "Tahoma");
    SSSetFontRange(grid, 1, 1, 1, 1, big, TRUE);
    DeleteObject(big);  // the grid keeps the description, not the handle
    double widest = 0;
    ASSERT_TRUE(SSGetMaxTextColWidth(grid, 1, &widest));
    EXPECT_DOUBLE_EQ(widest, (5 * 12 + 4) / 6.0) << "five characters of the 26-pixel font beat ten small ones";
    LOGFONT lf;
    ASSERT_TRUE(SSGetFont(grid, 1, 1, &lf));
    EXPECT_EQ(lf.lfFaceName, "Tahoma");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

namespace {

struct RecordingHook : kxgrid::FormulaHook {
    std::vector<std::string> log;
    void formulaChanged(HWND, int c, int r, const std::string& f) override
    {
        log.push_back("formula " + std::to_string(c) + "," + std::to_string(r) + " " + f);
    }
    void dataChanged(HWND, int c, int r) override { log.push_back("data " + std::to_string(c) + "," + std::to_string(r)); }
    bool recalculate(HWND) override
    {
        log.push_back("recalc");
        return true;
    }
    bool recalculateCell(HWND g, int c, int r) override
    {
        kxgrid::setFormulaResult(g, c, r, "42");
        return true;
    }
    void refStyleChanged(HWND, short s) override { log.push_back("style " + std::to_string(s)); }
    void customFunctionAdded(HWND, const std::string& n, short, short, SSFUNCPROC, long) override { log.push_back("fn " + n); }
};

} // namespace

using Formulas = GridFixture;

TEST_F(Formulas, FormulasAreKeptAndTheHookHearsOfEveryChange)
{
    RecordingHook hook;
    ASSERT_TRUE(kxgrid::setFormulaHook(grid, &hook));
    SSSetBool(grid, SSB_AUTOCALC, FALSE);
    EXPECT_TRUE(SSSetFormula(grid, 2, 2, "A1+1", TRUE));
    EXPECT_EQ(formula(grid, 2, 2), "A1+1");
    EXPECT_TRUE(SSReCalcCell(grid, 2, 2));
    EXPECT_EQ(data(grid, 2, 2), "42");
    EXPECT_EQ(formula(grid, 2, 2), "A1+1") << "a result keeps the formula";
    SSSetBool(grid, SSB_AUTOCALC, TRUE);
    SSSetData(grid, 2, 2, "7");
    EXPECT_EQ(formula(grid, 2, 2), "") << "data typed over a formula replaces it";
    EXPECT_TRUE(SSSetRefStyle(grid, SS_REFSTYLE_R1C1));
    EXPECT_FALSE(SSSetRefStyle(grid, 3));
    EXPECT_TRUE(SSAddCustomFunctionExt(grid, "fromtable", 2, 4, nullptr, 1));
    EXPECT_FALSE(SSAddCustomFunctionExt(grid, "", 2, 4, nullptr, 1));
    const std::vector<std::string> expected = {"formula 2,2 A1+1", "data -1,-1", "formula 2,2 ", "data 2,2",
                                               "style 2", "fn FROMTABLE"};
    EXPECT_EQ(hook.log, expected);
    kxgrid::setFormulaHook(grid, nullptr);

    SSSetBool(grid, SSB_ALLOWUSERFORMULAS, FALSE);
    EXPECT_TRUE(kxgrid::enterText(grid, 1, 1, "=B2"));
    EXPECT_EQ(data(grid, 1, 1), "=B2") << "without option 12 a leading = is text";
    SSSetBool(grid, SSB_ALLOWUSERFORMULAS, TRUE);
    EXPECT_TRUE(kxgrid::enterText(grid, 1, 1, "=B2"));
    EXPECT_EQ(formula(grid, 1, 1), "B2");
}
