// Find and replace over formula cells: never turned into a constant. Without "search in formulas"
// a formula cell is left alone; with it, the formula text is searched and replaced as its editor
// shows it, and a replaced selection counts its positions in that same text.
#include "spread/tests/KxSpreadTestSupport.h"

#include "platform/win/Messages.h"
#include "platform/win/UserAgent.h"
#include "sheetedit/ZnDlgFindReplace.h"

namespace {

using kxtest::KxSpreadTest;

class FindReplaceFormulas : public KxSpreadTest {
protected:
    void SetUp() override
    {
        KxSpreadTest::SetUp();
        fill(3, 3);
        SSSetBool(grid(), SSB_ALLOWUSERFORMULAS, TRUE);
        SSSetBool(grid(), SSB_AUTOCALC, TRUE);
        SSSetData(grid(), 1, 3, "2");
        SSSetData(grid(), 1, 2, "4");
        ASSERT_TRUE(kxgrid::enterText(grid(), 2, 1, "=A3*5"));
        SSSetData(grid(), 3, 1, "10 pieces");
        ASSERT_EQ(data(2, 1), "10");
    }
    std::string formula(int col, int row) const
    {
        Kx_String text;
        spread->getCellText(col, row, text, Kx_Spread::kTextFormula);
        return text.str();
    }
};

TEST_F(FindReplaceFormulas, SearchingValuesLeavesFormulaCellsAlone)
{
    EXPECT_FALSE(spread->searchesInFormulas());
    EXPECT_EQ(spread->replaceAll("10", "20"), 1) << "only the constant cell";
    EXPECT_EQ(value(3, 1), "20 pieces");
    EXPECT_EQ(formula(2, 1), "A3*5");
    SSSetData(grid(), 1, 3, "3");
    EXPECT_EQ(data(2, 1), "15") << "the formula still follows A3";

    int col = 0, row = 0;
    EXPECT_FALSE(spread->findNext("15", 1, 1, col, row)) << "a result is not searched";
    EXPECT_FALSE(spread->replaceInCell(2, 1, "15", "16"));
    EXPECT_FALSE(spread->findAndSelect("15", 2, 1));
    EXPECT_EQ(formula(2, 1), "A3*5");
}

TEST_F(FindReplaceFormulas, SearchingFormulasReplacesInTheFormulaText)
{
    spread->setSearchInFormulas(true);
    int col = 0, row = 0;
    ASSERT_TRUE(spread->findNext("a3", 1, 1, col, row));
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(2, 1));

    EXPECT_EQ(spread->replaceAll("A3", "A2"), 1);
    EXPECT_EQ(formula(2, 1), "A2*5");
    EXPECT_EQ(data(2, 1), "20");
    SSSetData(grid(), 1, 2, "5");
    EXPECT_EQ(data(2, 1), "25");

    // A replacement that would leave no formula is refused; the cell keeps its formula.
    EXPECT_FALSE(spread->replaceInCell(2, 1, "=", ""));
    EXPECT_EQ(formula(2, 1), "A2*5");
    // Constants are still searched in their values.
    EXPECT_EQ(spread->replaceAll("pieces", "parts"), 1);
    EXPECT_EQ(value(3, 1), "10 parts");
}

TEST_F(FindReplaceFormulas, AReplacedSelectionCountsInTheTextItReplacesIn)
{
    spread->setSearchInFormulas(true);
    ASSERT_TRUE(spread->findAndSelect("5", 2, 1));
    int start = 0, end = 0;
    ASSERT_TRUE(spread->getEditSelection(start, end));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(4, 5)) << "in \"=A3*5\"";
    ASSERT_TRUE(spread->replaceSelection("7"));
    EXPECT_EQ(formula(2, 1), "A3*7");
    EXPECT_EQ(data(2, 1), "14");

    // What the person typed into the editor before is kept: the positions count in it.
    ASSERT_TRUE(spread->findAndSelect("pieces", 3, 1));
    ASSERT_TRUE(spread->replaceSelection("parts"));
    EXPECT_EQ(value(3, 1), "10 parts");
}

TEST_F(FindReplaceFormulas, TheDialogsCheckBoxSwitchesFormulaSearching)
{
    SetFocus(grid());
    SSSetActiveCell(grid(), 1, 1);
    kxwin::sendUserInput(grid(), WM_KEYDOWN, VK_F3, 0);
    ZnDlgFindReplace* dialog = spread->findDialog();
    ASSERT_NE(dialog, nullptr);
    kxwin::DialogDriver find(dialog->m_hWnd);
    EXPECT_EQ(find.text(ZnDlgFindReplace::kSearchFormulasCheck), "Search in formulas");
    EXPECT_EQ(find.checkState(ZnDlgFindReplace::kSearchFormulasCheck), BST_UNCHECKED);

    find.setText(ZnDlgFindReplace::kFindEdit, "A3").setText(ZnDlgFindReplace::kReplaceEdit, "A2");
    find.setCheck(ZnDlgFindReplace::kSearchFormulasCheck, BST_CHECKED);
    EXPECT_TRUE(spread->searchesInFormulas());
    find.click(ZnDlgFindReplace::kReplaceButton);
    EXPECT_EQ(formula(2, 1), "A2*5");
    EXPECT_EQ(data(2, 1), "20");
    find.cancel();
    PumpMessages();
}

} // namespace
