// Kx_Spread's single-cell operations as the macro pages use them: joined cells, a drop-down, a check
// box and an edit cell per row, each keeping what it shows.
#include "spread/tests/KxSpreadTestSupport.h"

namespace {

using kxtest::KxSpreadTest;

std::string cellData(HWND grid, int col, int row)
{
    char text[256] = {};
    SSGetData(grid, col, row, text, sizeof text);
    return text;
}

TEST_F(KxSpreadTest, FormRowsJoinSplitAndKeepTheirTexts)
{
    spread->setColCount(4);
    spread->setRowCount(3);
    ASSERT_TRUE(spread->joinCells(1, 1, 2, 1));
    int anchorCol = 0, anchorRow = 0, cols = 0, rows = 0;
    SSGetCellSpan(grid(), 2, 1, &anchorCol, &anchorRow, &cols, &rows);
    EXPECT_EQ(anchorCol, 1);
    EXPECT_EQ(cols, 2);
    EXPECT_TRUE(spread->splitCells(2, 1)) << "any cell of the join splits it";
    EXPECT_FALSE(spread->splitCells(2, 1)) << "nothing joined any more";
    EXPECT_FALSE(spread->joinCells(1, 1, 0, 1));

    EXPECT_TRUE(spread->setTextCell(3, 1, 0xC00080, 1000, "EP-1"));
    EXPECT_EQ(cellData(grid(), 3, 1), "EP-1") << "the case is kept as typed";
    EXPECT_TRUE(spread->setComboCell(3, 2, Kx_StringArray({"fillet", "butt"}), 0x400000, "butt"));
    EXPECT_EQ(cellData(grid(), 3, 2), "butt");
    EXPECT_FALSE(spread->setComboCell(3, 2, Kx_StringArray({"a\tb"}), 0x400000, "a"))
        << "an item holding the separator is refused";
    EXPECT_TRUE(spread->setCheckCell(3, 3, nullptr, nullptr, true));
    bool checked = false;
    EXPECT_TRUE(spread->getCheck(3, 3, checked));
    EXPECT_TRUE(checked);

    EXPECT_TRUE(spread->setActiveCell(3, 2));
    int col = 0, row = 0;
    spread->getActiveCell(col, row);
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 2);
    SSSetEditMode(grid(), TRUE);
    spread->leaveEditMode();
    EXPECT_FALSE(SSGetEditMode(grid()));
}

} // namespace
