// Kx_Spread with the sheet-editing pieces it drives: the right-click menu, the find and replace
// dialog behind F3 and F5, appearance settings, print variables and saving to a file.
#include "spread/tests/KxSpreadTestSupport.h"

#include "core/Kx_Settings.h"
#include "core/PromptDialog.h"
#include "core/TextTables.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Menu.h"
#include "platform/win/UserAgent.h"
#include "sheetedit/PopupMenuBuilder.h"
#include "sheetedit/SheetSettings.h"
#include "sheetedit/ZnDlgFindReplace.h"

#include <filesystem>

using kxtest::KxSpreadTest;

namespace {

constexpr int kFindEdit = 1207;
constexpr int kReplaceEdit = 1209;

class KxSpreadIntegration : public KxSpreadTest {
protected:
    // Right-clicks the grid and picks the menu entry at pool position `position`.
    std::string rightClickAndPick(int position)
    {
        std::string shown;
        agent.onMenu([&](const PopupMenuRequest& request) {
            shown = kxwin::describeMenu(request.menu);
            return position < 0 ? 0u : PopupMenuBuilder::kIdentifierPool[static_cast<size_t>(position)];
        });
        kxwin::DialogDriver(owner->m_hWnd).rightClick(kxtest::kPlaceholderId);
        PumpMessages();
        return shown;
    }

    kxwin::UserAgent agent;
};

TEST_F(KxSpreadIntegration, MenuShowsItsEntriesAndPasteRunsKindThree)
{
    fill(2, 2);
    spread->setContextMenu(Kx_Array<int>{2, 1, 3});
    SSSetActiveCell(grid(), 2, 2);
    ASSERT_TRUE(kxwin::setClipboardText("pasted"));
    const std::string menu = rightClickAndPick(1);
    const size_t copy = menu.find(dialString(1154).str());
    const size_t separator = menu.find("SEPARATOR");
    const size_t paste = menu.find(dialString(1155).str());
    ASSERT_NE(copy, std::string::npos) << menu;
    ASSERT_NE(separator, std::string::npos) << menu;
    ASSERT_NE(paste, std::string::npos) << menu;
    EXPECT_LT(copy, separator);
    EXPECT_LT(separator, paste);
    EXPECT_EQ(value(2, 2), "pasted");

    // Copy puts the active cell on the clipboard.
    SSSetActiveCell(grid(), 1, 1);
    rightClickAndPick(0);
    EXPECT_EQ(kxwin::clipboardText().substr(0, 3), "1,1");

    // No entries: no menu at all.
    spread->setContextMenu(Kx_Array<int>{});
    kxwin::DialogDriver(owner->m_hWnd).rightClick(kxtest::kPlaceholderId);
    PumpMessages();
}

TEST_F(KxSpreadIntegration, MenuKindsChangeRowsColumnsAndChecks)
{
    fill(3, 3);
    spread->setContextMenu(Kx_Array<int>{4, 5, 1, 6, 7, 1, 8, 9});
    SSSetActiveCell(grid(), 1, 2);
    agent.onDialog(kxcore::kPromptDialogId,
                   [](kxwin::DialogDriver& d) { d.setText(kxcore::kPromptValueId, "New row").ok(); });
    rightClickAndPick(0);  // insert row
    EXPECT_EQ(spread->getRowCount(), 4);
    EXPECT_EQ(value(0, 2), "New row");
    EXPECT_EQ(value(1, 3), "1,2");

    rightClickAndPick(1);  // delete row (the new one is selected)
    EXPECT_EQ(spread->getRowCount(), 3);
    EXPECT_EQ(value(1, 2), "1,2");

    agent.onDialog(kxcore::kPromptDialogId, [](kxwin::DialogDriver& d) { d.cancel(); });
    SSSetActiveCell(grid(), 2, 1);
    rightClickAndPick(2);  // insert column, copying the next one
    EXPECT_EQ(spread->getColCount(), 4);
    EXPECT_EQ(value(2, 1), "2,1");
    EXPECT_EQ(value(3, 1), "2,1");
    rightClickAndPick(3);  // delete column
    EXPECT_EQ(spread->getColCount(), 3);

    spread->setColumnCheckBox(3);
    spread->selectRow(2);
    rightClickAndPick(4);
    EXPECT_EQ(value(3, 2), "1");
    EXPECT_EQ(value(1, 2), "1,2");
    spread->selectRow(2);
    rightClickAndPick(5);
    EXPECT_EQ(value(3, 2), "0");
}

TEST_F(KxSpreadIntegration, F3FindsAndF5ReplacesThroughTheFindDialog)
{
    fill(3, 3);
    SSSetData(grid(), 3, 2, "needle here");
    SetFocus(grid());
    SSSetActiveCell(grid(), 1, 1);
    kxwin::sendUserInput(grid(), WM_KEYDOWN, VK_F3, 0);
    ZnDlgFindReplace* dialog = spread->findDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(dialog->m_hWnd, nullptr);
    EXPECT_EQ(dialog->gridWindow(), grid());

    kxwin::DialogDriver find(dialog->m_hWnd);
    find.setText(kFindEdit, "NEEDLE").setText(kReplaceEdit, "pin");
    kxwin::sendUserInput(grid(), WM_KEYDOWN, VK_F3, 0);
    EXPECT_EQ(spread->findDialog(), dialog) << "one dialog per grid";
    int col = 0, row = 0;
    SSGetActiveCell(grid(), &col, &row);
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(3, 2));
    int start = 0, end = 0;
    ASSERT_TRUE(spread->getEditSelection(start, end));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(0, 6));

    kxwin::sendUserInput(grid(), WM_KEYDOWN, VK_F5, 0);
    EXPECT_EQ(value(3, 2), "pin here");

    // Closing the dialog makes the wrapper forget it; F3 then opens a fresh one.
    find.cancel();
    PumpMessages();
    EXPECT_EQ(spread->findDialog(), nullptr);
    kxwin::sendUserInput(grid(), WM_KEYDOWN, VK_F3, 0);
    EXPECT_NE(spread->findDialog(), nullptr);
}

TEST_F(KxSpreadIntegration, DestroyingTheWrapperClosesItsFindDialogFirst)
{
    fill(2, 2);
    ASSERT_TRUE(spread->openFindDialog());
    const HWND dialog = spread->findDialog()->m_hWnd;
    spread.reset();
    PumpMessages();
    EXPECT_FALSE(IsWindow(dialog));
}

class KxSpreadSettings : public KxSpreadTest {
protected:
    void SetUp() override
    {
        KxSpreadTest::SetUp();
        std::filesystem::create_directories(folder.path() / "res");
        Kx_Settings::setResourceDir((folder.path() / "res").string());
    }
    void TearDown() override
    {
        Kx_Settings::setResourceDir("");
        KxSpreadTest::TearDown();
    }
};

TEST_F(KxSpreadSettings, LoadLookTakesTheFontOfTheSettingsFile)
{
    SheetSettings look;
    look.defaultFont = "Arial";
    look.defaultTextHeight = 18;
    ASSERT_TRUE(look.save("plain"));
    ASSERT_TRUE(spread->loadLook("plain"));
    EXPECT_EQ(spread->fontFace(), Kx_String("Arial"));
    EXPECT_EQ(spread->textHeight(), 18);
    ASSERT_GE(spread->getRowCount(), 1);
    LOGFONT font;
    ASSERT_TRUE(SSGetFont(grid(), 1, 1, &font));
    EXPECT_EQ(std::string(font.lfFaceName), "Arial");
    EXPECT_EQ(fontWeight(1, Kx_Spread::HEADER), 700);
}

TEST_F(KxSpreadSettings, PrintVariablesAreKeptInTheSheet)
{
    fill(2, 2);
    ASSERT_TRUE(spread->setPrintVariables(Kx_StringArray{"PROJECT", "DATE"}, Kx_StringArray{"Hall 3", "today"}));
    SheetSettings kept;
    ASSERT_TRUE(kept.readFromSheet(grid()));
    EXPECT_EQ(kept.varNames, (Kx_StringArray{"PROJECT", "DATE"}));
    EXPECT_EQ(kept.varValues, (Kx_StringArray{"Hall 3", "today"}));
}

TEST_F(KxSpreadSettings, SavingLeavesTheSheetUnchangedAndAFailedSaveReportsIt)
{
    fill(2, 2);
    spread->setPrintVariables(Kx_StringArray{"A"}, Kx_StringArray{"1"});
    ASSERT_TRUE(SSGetBool(grid(), SSB_CHANGEMADE));
    const std::string missing = (folder.path() / "no-such-folder" / "x.sss").string();
    EXPECT_FALSE(spread->saveToFile(missing));
    EXPECT_TRUE(SSGetBool(grid(), SSB_CHANGEMADE)) << "still unsaved";

    const std::string path = (folder.path() / "sheet.sss").string();
    ASSERT_TRUE(spread->saveToFile(path));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(SSGetBool(grid(), SSB_CHANGEMADE));
    SheetSettings kept;
    ASSERT_TRUE(kept.readFromSheet(grid()));
    EXPECT_EQ(kept.varNames, (Kx_StringArray{"A"}));

    HWND reread = kxgrid::createStandaloneGrid();
    ASSERT_TRUE(SSLoadFromFile(reread, path.c_str()));
    EXPECT_EQ(SSGetMaxRows(reread), 2);
    DestroyWindow(reread);
}

} // namespace
