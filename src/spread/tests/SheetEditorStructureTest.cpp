// The spreadsheet editor's rows and columns and its history, as a person uses them: insert and
// delete from the menus and the cell menu with references following, a sheet that grows when the
// active cell moves past its end, and Undo / Redo of every kind of change with the changed mark.
#include "spread/SheetEditorLauncher.h"
#include "spread/Kx_Spread.h"
#include "spread/ZnSheetEditor.h"
#include "spread/ZnSheetEditorDialogs.h"
#include "spread/tests/SpreadTestSupport.h"

#include "core/MacroLangs.h"
#include "platform/win/Clipboard.h"
#include "platform/win/CWnd.h"
#include "platform/win/Menu.h"
#include "platform/win/UserAgent.h"
#include "sheetedit/ZnDlgFindReplace.h"

using kxtest::SpreadTest;
using kxwin::DialogDriver;
using E = ZnSheetEditor;

namespace {

std::string cellData(HWND grid, int col, int row)
{
    return kxss::cellData(grid, col, row).value_or("<unreadable>");
}

std::string formulaOf(HWND grid, int col, int row)
{
    return kxss::cellFormula(grid, col, row);
}

std::pair<int, int> activeCell(HWND grid)
{
    int col = 0, row = 0;
    SSGetActiveCell(grid, &col, &row);
    return {col, row};
}

class SheetEditorStructure : public SpreadTest {
protected:
    void SetUp() override
    {
        SpreadTest::SetUp();
        MacroLangs::SetCurLanguage(MacroLangs::English);
        kxwin::setClipboardText("");
        bom = folder.file("bom.kxs");
        kxtest::writeSheet(bom, 3, 4, [](HWND g) {
            SSSetBool(g, SSB_ALLOWUSERFORMULAS, TRUE);
            SSSetData(g, 1, 0, "Mark");
            SSSetData(g, 1, 1, "B1");
            SSSetData(g, 2, 1, "HEA 200");
            SSSetData(g, 3, 1, "12");
            SSSetFormula(g, 3, 2, "C1*2", TRUE);
        });
    }
    bool run(const std::string& file, const std::function<void(DialogDriver&)>& script)
    {
        agent.onDialog(E::kTemplateId, [&](DialogDriver& d) {
            grid = d.item(E::kGridId);
            ASSERT_NE(grid, nullptr);
            script(d);
        });
        return StartSheetEditor(Kx_String(file));
    }
    void typeInto(DialogDriver& d, int col, int row, const std::string& text)
    {
        d.focus(E::kGridId);
        SSSetActiveCell(grid, col, row);
        d.type(text);
        d.pressKey(VK_RETURN);
    }
    bool changedMark(DialogDriver& d) const { return d.title().find('*') != std::string::npos; }

    kxwin::UserAgent agent;
    std::string bom;
    HWND grid = nullptr;
};

} // namespace

TEST_F(SheetEditorStructure, RowsAndColumnsComeAndGoFromTheMenusWithReferencesFollowing)
{
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        ASSERT_EQ(cellData(grid, 3, 2), "24");
        SSSetActiveCell(grid, 2, 1);
        d.menuCommand(E::kInsertRow);
        EXPECT_EQ(SSGetMaxRows(grid), 5);
        EXPECT_EQ(cellData(grid, 2, 1), "") << "the new row is empty";
        EXPECT_EQ(cellData(grid, 2, 2), "HEA 200");
        EXPECT_EQ(formulaOf(grid, 3, 3), "C2*2") << "the formula follows the cell it names";
        EXPECT_EQ(cellData(grid, 3, 3), "24");
        EXPECT_TRUE(changedMark(d));

        d.menuCommand(E::kInsertColumn);
        EXPECT_EQ(SSGetMaxCols(grid), 4);
        EXPECT_EQ(cellData(grid, 3, 2), "HEA 200");
        EXPECT_EQ(formulaOf(grid, 4, 3), "D2*2");

        // The cell menu offers the same commands.
        std::string shown;
        agent.onMenu([&](const PopupMenuRequest& request) {
            shown = kxwin::describeMenu(request.menu);
            return UINT{E::kDeleteColumn};
        });
        SSSetActiveCell(grid, 2, 1);
        d.rightClick(E::kGridId);
        EXPECT_NE(shown.find("\"Kolom verwijderen\", 32855"), std::string::npos) << shown;
        EXPECT_EQ(SSGetMaxCols(grid), 3);
        SSSetActiveCell(grid, 2, 1);
        agent.onMenu([&](const PopupMenuRequest&) { return UINT{E::kDeleteRow}; });
        d.rightClick(E::kGridId);
        EXPECT_EQ(SSGetMaxRows(grid), 4);
        EXPECT_EQ(formulaOf(grid, 3, 2), "C1*2");
        EXPECT_EQ(cellData(grid, 3, 2), "24");

        // Deleting the row a formula names leaves #REF!; a sheet never loses its last row.
        SSSetActiveCell(grid, 1, 1);
        d.menuCommand(E::kDeleteRow);
        EXPECT_EQ(cellData(grid, 3, 1), "#REF!");
        SSSetSelectBlock(grid, 1, 1, 3, SSGetMaxRows(grid));
        d.menuCommand(E::kDeleteRow);
        EXPECT_EQ(SSGetMaxRows(grid), 3) << "deleting every row is refused";
        agent.answerMessageBox(IDNO);
        d.closeBox();
    }));
}

TEST_F(SheetEditorStructure, MovingPastTheLastRowOrColumnGrowsTheSheet)
{
    EXPECT_TRUE(run("", [&](DialogDriver& d) {
        const int rows = SSGetMaxRows(grid);
        const int cols = SSGetMaxCols(grid);
        ASSERT_EQ(rows, 11) << "a new sheet";
        typeInto(d, 2, 1, "=A20+1");
        EXPECT_EQ(cellData(grid, 2, 1), "1") << "a cell beyond the sheet reads as empty";

        d.focus(E::kGridId);
        SSSetActiveCell(grid, 1, rows);
        d.pressKey(VK_DOWN);
        EXPECT_EQ(SSGetMaxRows(grid), rows + 1);
        EXPECT_EQ(activeCell(grid), std::make_pair(1, rows + 1));
        for (int i = 0; i < 8; ++i)
            d.pressKey(VK_DOWN);
        EXPECT_EQ(SSGetMaxRows(grid), 20);
        d.type("41");
        d.pressKey(VK_RETURN);
        EXPECT_EQ(cellData(grid, 2, 1), "42") << "the formula follows what the grown sheet holds";

        SSSetActiveCell(grid, cols, 1);
        d.pressKey(VK_RIGHT);
        EXPECT_EQ(SSGetMaxCols(grid), cols + 1);
        EXPECT_EQ(activeCell(grid), std::make_pair(cols + 1, 1));
        d.pressKey(VK_TAB);
        EXPECT_EQ(SSGetMaxCols(grid), cols + 2);
        SSSetActiveCell(grid, 1, 1);
        d.pressKey(VK_DOWN);
        EXPECT_EQ(SSGetMaxRows(grid), 20) << "moving inside the sheet changes nothing";
        agent.answerMessageBox(IDNO);
        d.closeBox();
    }));
}

TEST_F(SheetEditorStructure, UndoAndRedoTakeBackEveryKindOfChange)
{
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        EXPECT_FALSE(d.isMenuCommandEnabled(E::kUndo)) << "nothing to undo in a sheet just opened";
        // Typing.
        typeInto(d, 2, 2, "IPE 300");
        EXPECT_TRUE(changedMark(d));
        d.pressKey('Z', /*shift=*/false, /*ctrl=*/true);
        EXPECT_EQ(cellData(grid, 2, 2), "");
        EXPECT_FALSE(changedMark(d)) << "back at the state on disk";
        d.pressKey('Y', /*shift=*/false, /*ctrl=*/true);
        EXPECT_EQ(cellData(grid, 2, 2), "IPE 300");
        EXPECT_TRUE(changedMark(d));

        // A formula's input typed over, then undone: the result follows again.
        typeInto(d, 3, 1, "5");
        EXPECT_EQ(cellData(grid, 3, 2), "10");
        d.menuCommand(E::kUndo);
        EXPECT_EQ(cellData(grid, 3, 1), "12");
        EXPECT_EQ(cellData(grid, 3, 2), "24");
        EXPECT_EQ(formulaOf(grid, 3, 2), "C1*2");

        // Cut (clear) and paste.
        SSSetSelectBlock(grid, 1, 1, 2, 1);
        d.menuCommand(E::kCut);
        EXPECT_EQ(cellData(grid, 1, 1), "");
        SSClearSelection(grid);
        SSSetActiveCell(grid, 1, 4);
        d.menuCommand(E::kPaste);
        EXPECT_EQ(cellData(grid, 2, 4), "HEA 200");
        d.menuCommand(E::kUndo);
        EXPECT_EQ(cellData(grid, 2, 4), "");
        d.menuCommand(E::kUndo);
        EXPECT_EQ(cellData(grid, 1, 1), "B1");
        d.menuCommand(E::kRedo);
        EXPECT_EQ(cellData(grid, 1, 1), "");
        d.menuCommand(E::kUndo);

        // Structure.
        SSSetActiveCell(grid, 1, 1);
        d.menuCommand(E::kInsertRow);
        EXPECT_EQ(SSGetMaxRows(grid), 5);
        d.menuCommand(E::kUndo);
        EXPECT_EQ(SSGetMaxRows(grid), 4);
        EXPECT_EQ(formulaOf(grid, 3, 2), "C1*2");

        // A cell format.
        SSSetSelectBlock(grid, 1, 1, 1, 1);
        agent.onDialog(ZnDlgCellFont::kTemplateId, [](DialogDriver& font) {
            font.setCheck(ZnDlgCellFont::kBoldCheck, BST_CHECKED);
            font.ok();
        });
        d.menuCommand(E::kFont);
        LOGFONT f;
        ASSERT_TRUE(SSGetFont(grid, 1, 1, &f));
        EXPECT_EQ(f.lfWeight, FW_BOLD);
        d.menuCommand(E::kUndo);
        ASSERT_TRUE(SSGetFont(grid, 1, 1, &f));
        EXPECT_NE(f.lfWeight, FW_BOLD);

        // Find and replace, through its own dialog.
        SSClearSelection(grid);
        SSSetActiveCell(grid, 1, 1);
        d.focus(E::kGridId);
        d.pressKey(VK_F3);
        auto* spread = dynamic_cast<Kx_Spread*>(CWnd::FromHandle(grid));
        ASSERT_NE(spread, nullptr);
        ASSERT_NE(spread->findDialog(), nullptr);
        DialogDriver find(spread->findDialog()->m_hWnd);
        find.setText(ZnDlgFindReplace::kFindEdit, "HEA").setText(ZnDlgFindReplace::kReplaceEdit, "HEB");
        agent.answerMessageBox(IDOK);
        find.click(ZnDlgFindReplace::kReplaceAllButton);
        EXPECT_EQ(cellData(grid, 2, 1), "HEB 200");
        find.cancel();
        d.focus(E::kGridId);
        d.pressKey('Z', /*shift=*/false, /*ctrl=*/true);
        EXPECT_EQ(cellData(grid, 2, 1), "HEA 200");
        EXPECT_TRUE(d.isMenuCommandEnabled(E::kRedo));

        // A new change drops what Redo would have brought back.
        typeInto(d, 1, 3, "new");
        EXPECT_FALSE(d.isMenuCommandEnabled(E::kRedo));
        agent.answerMessageBox(IDNO);
        d.closeBox();
    }));
}

TEST_F(SheetEditorStructure, AHundredStepsGoBackAndTheSavedStateClearsTheMark)
{
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        for (int i = 1; i <= 120; ++i)
            typeInto(d, 1, 4, std::to_string(i));
        for (int i = 0; i < 100; ++i)
            d.menuCommand(E::kUndo);
        EXPECT_EQ(cellData(grid, 1, 4), "20") << "a hundred steps back from 120";
        for (int i = 0; i < 100; ++i)
            d.menuCommand(E::kRedo);
        EXPECT_EQ(cellData(grid, 1, 4), "120");
        EXPECT_FALSE(d.isMenuCommandEnabled(E::kRedo));

        d.clickToolbarButton(E::kSave);
        EXPECT_FALSE(changedMark(d));
        typeInto(d, 2, 4, "after the save");
        EXPECT_TRUE(changedMark(d));
        d.menuCommand(E::kUndo);
        EXPECT_FALSE(changedMark(d)) << "the state on disk again";
        d.menuCommand(E::kUndo);
        EXPECT_TRUE(changedMark(d)) << "before the save";
        d.menuCommand(E::kRedo);
        EXPECT_FALSE(changedMark(d));
        d.closeBox();
    }));
    EXPECT_TRUE(agent.messageBoxes().empty()) << "closing at the saved state asks nothing";
}
