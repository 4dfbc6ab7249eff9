// Column letters and row numbers in empty header cells: shown only when asked for, never written
// into the sheet, and never hiding a header text the sheet has.
#include "platform/grid/tests/GridTestSupport.h"

using kxgrid::testing::GridFixture;

namespace {

using HeaderLabels = GridFixture;

TEST(ColumnLetters, CountLikeASpreadsheet)
{
    EXPECT_EQ(kxgrid::columnLetters(0), "");
    EXPECT_EQ(kxgrid::columnLetters(1), "A");
    EXPECT_EQ(kxgrid::columnLetters(26), "Z");
    EXPECT_EQ(kxgrid::columnLetters(27), "AA");
    EXPECT_EQ(kxgrid::columnLetters(52), "AZ");
    EXPECT_EQ(kxgrid::columnLetters(702), "ZZ");
    EXPECT_EQ(kxgrid::columnLetters(703), "AAA");
}

TEST_F(HeaderLabels, ShowOnlyWhenOnAndNeverHideOrReplaceTheSheetsTexts)
{
    SSSetMaxCols(grid, 30);
    SSSetMaxRows(grid, 12);
    SSSetData(grid, 2, SS_HEADER, "Length");
    EXPECT_EQ(kxgrid::headerLabel(grid, 1, 0), "") << "off by default: dialogs show exactly their texts";
    EXPECT_EQ(kxgrid::headerLabel(grid, 2, 0), "Length");

    ASSERT_TRUE(kxgrid::setDefaultHeaderLabels(grid, true));
    EXPECT_EQ(kxgrid::headerLabel(grid, 1, SS_HEADER), "A");
    EXPECT_EQ(kxgrid::headerLabel(grid, 2, 0), "Length");
    EXPECT_EQ(kxgrid::headerLabel(grid, 28, 0), "AB");
    EXPECT_EQ(kxgrid::headerLabel(grid, SS_HEADER, 12), "12");
    EXPECT_EQ(kxgrid::headerLabel(grid, 0, 0), "") << "the corner";
    EXPECT_EQ(kxgrid::headerLabel(grid, 3, 3), "") << "not a header";
    EXPECT_EQ(kxgrid::headerLabel(grid, 31, 0), "") << "outside the sheet";

    // Display only: the cells still read back empty and the labels survive loading another sheet.
    char text[8] = "x";
    SSGetData(grid, 1, SS_HEADER, text, sizeof text);
    EXPECT_STREQ(text, "");
    std::string sheet;
    ASSERT_TRUE(kxgrid::sheetText(grid, sheet));
    ASSERT_TRUE(kxgrid::loadSheetText(grid, sheet));
    EXPECT_EQ(kxgrid::headerLabel(grid, 1, 0), "A");

    EXPECT_FALSE(kxgrid::setDefaultHeaderLabels(nullptr, true));
    EXPECT_EQ(kxgrid::headerLabel(nullptr, 1, 0), "");
}

} // namespace
