// Pasting what other programs put on the clipboard: every line-end form, quoted fields with text
// after the closing quote, blocks running past the right and bottom edges, and copies of typed cells.
#include "platform/grid/tests/GridTestSupport.h"

#include "platform/win/Clipboard.h"

using kxgrid::testing::data;
using kxgrid::testing::GridFixture;

using Pasting = GridFixture;

TEST_F(Pasting, EveryLineEndFormAndQuotedFieldsLandInTheRightCells)
{
    for (const char* text : {"a\tb\r\nc\td", "a\tb\nc\td\n", "a\tb\rc\td\r"}) {
        SSClearData(grid, 1, 1, 4, 6);
        EXPECT_EQ(kxgrid::pasteText(grid, 1, 1, text), 4) << text;
        EXPECT_EQ(data(grid, 2, 1) + data(grid, 1, 2) + data(grid, 2, 2), "bcd") << text;
        EXPECT_EQ(data(grid, 1, 3), "") << "a closing line break adds no row: " << text;
    }
    SSClearData(grid, 1, 1, 4, 6);
    EXPECT_EQ(kxgrid::pasteText(grid, 1, 1, "\"x\"\"y\"z\t\"\"\t\"tab\there\""), 2);
    EXPECT_EQ(data(grid, 1, 1), "x\"yz") << "text after the closing quote is kept";
    EXPECT_EQ(data(grid, 2, 1), "");
    EXPECT_EQ(data(grid, 3, 1), "tab\there");
    EXPECT_EQ(kxgrid::pasteText(grid, 1, 1, "\"unterminated\tstill one field"), 1);
    EXPECT_EQ(data(grid, 1, 1), "unterminated\tstill one field") << "an open quote runs to the end";
    EXPECT_EQ(data(grid, 2, 1), "");
}

TEST_F(Pasting, ABlockRunningPastTheEdgesIsClippedRowByRow)
{
    SSSetSelectBlock(grid, 3, 5, 4, 6);
    kxwin::setClipboardText("1\t2\t3\r\n4\t5\t6\r\n7\t8\t9\r\n");
    ASSERT_TRUE(SSClipboardPaste(grid));
    EXPECT_EQ(data(grid, 3, 5) + data(grid, 4, 5), "12");
    EXPECT_EQ(data(grid, 3, 6) + data(grid, 4, 6), "45") << "the next row starts again at the left column";
    EXPECT_EQ(data(grid, 1, 6), "") << "what falls off the right does not wrap";
    EXPECT_EQ(SSGetMaxRows(grid), 6);

    SSSetSelectBlock(grid, 1, 0, 1, 6);  // a whole column, as a header click selects it
    kxwin::setClipboardText("top");
    ASSERT_TRUE(SSClipboardPaste(grid));
    EXPECT_EQ(data(grid, 1, 1), "top");
    EXPECT_EQ(data(grid, 1, 0), "") << "the header is no paste target";
}

TEST_F(Pasting, CopiesTakeTheShownTextOfTypedCellsAndPasteBackIntoTheirTypes)
{
    SS_CELLTYPE t;
    SSSetTypeNumber(grid, &t, 0, 2, 0, 100);
    SSSetCellTypeRange(grid, 1, 1, 1, 6, &t);
    SSSetTypeCheckBox(grid, &t, 0, "", nullptr, nullptr);
    SSSetCellTypeRange(grid, 2, 1, 2, 6, &t);
    SSSetData(grid, 1, 1, "7,5");
    SSSetData(grid, 2, 1, "TRUE");
    SSSetSelectBlock(grid, 1, 1, 2, 1);
    ASSERT_TRUE(SSClipboardCopy(grid));
    EXPECT_EQ(kxwin::clipboardText(), "7.50\t1\r\n");
    SSSetActiveCell(grid, 1, 2);
    ASSERT_TRUE(SSClipboardPaste(grid));
    EXPECT_EQ(data(grid, 1, 2), "7.50");
    EXPECT_EQ(data(grid, 2, 2), "1");
    SSSetActiveCell(grid, 1, 3);
    ASSERT_TRUE(SSClipboardCopy(grid)) << "without a block the active cell alone";
    EXPECT_EQ(kxwin::clipboardText(), "\r\n");
    kxwin::setClipboardText("200\tmaybe");
    EXPECT_FALSE(SSClipboardPaste(grid)) << "neither value fits its cell: nothing written";
    EXPECT_EQ(data(grid, 1, 3), "");
}

TEST_F(Pasting, TextsThatTypingWouldReadDifferentlyCopyAsTypedAndPasteBackTheSame)
{
    SSSetBool(grid, SSB_ALLOWUSERFORMULAS, TRUE);
    SSSetData(grid, 1, 1, "'5");       // the text 5
    SSSetData(grid, 2, 1, "=label");   // a text that merely starts with "="
    SSSetFormula(grid, 3, 1, "==x", TRUE);  // a formula that cannot be read, kept as typed
    std::string first;
    ASSERT_TRUE(kxgrid::copyText(grid, 1, 1, 3, 1, first));
    EXPECT_EQ(first, "'5\t'=label\t==x\r\n");
    for (int round = 0; round < 3; ++round) {
        kxgrid::pasteText(grid, 1, 1, first);
        std::string again;
        kxgrid::copyText(grid, 1, 1, 3, 1, again);
        EXPECT_EQ(again, first) << "round " << round;
    }
    EXPECT_EQ(data(grid, 1, 1), "5");
    EXPECT_EQ(data(grid, 2, 1), "=label");
}
