// A person at the grid: typing, Enter and Tab by option 13, clicks on check boxes and buttons,
// locked cells, the selection, and the notifications the owner receives for each.
#include "platform/grid/tests/GridTestSupport.h"

#include "platform/win/Clipboard.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/UserInput.h"

using kxgrid::testing::data;
using kxgrid::testing::GridFixture;
using kxgrid::testing::journal;
using kxgrid::testing::Notification;

using Typing = GridFixture;
using Clicks = GridFixture;
using Selection = GridFixture;

TEST_F(Typing, TypingEditsTheActiveCellAndEnterCommitsAndMovesByTheEnterAction)
{
    SSSetBool(grid, SSB_PROCESSTAB, TRUE);
    SSSetEditEnterAction(grid, SS_ENTERACTION_DOWN);
    click(2, 2);
    journal().clear();
    type("Ab");
    EXPECT_TRUE(SSGetEditMode(grid));
    key(VK_BACK);  // the key itself does nothing: Backspace arrives as a character
    kxwin::sendUserInput(grid, WM_CHAR, 0x08, 1);
    type("c");
    key(VK_RETURN);
    EXPECT_EQ(data(grid, 2, 2), "Ac");
    EXPECT_FALSE(SSGetEditMode(grid));
    int col = 0, row = 0;
    SSGetActiveCell(grid, &col, &row);
    EXPECT_EQ(row, 3);
    const std::vector<Notification> expected = {{SSN_EDITMODEON, 2, 2},  {SSN_CELLCHANGED, 2, 2},
                                                {SSN_EDITMODEOFF, 2, 2}, {SSN_LEAVECELLAFTEREDIT, 2, 2},
                                                {SSN_LEAVECELL, 2, 2}};
    EXPECT_EQ(journal(), expected);
}

TEST_F(Typing, TabMovesInsideTheGridOnlyWithOptionThirteen)
{
    SSSetBool(grid, SSB_PROCESSTAB, FALSE);
    const MSG tab{grid, WM_KEYDOWN, static_cast<WPARAM>(VK_TAB), 0, 0, {}};
    EXPECT_FALSE(SendMessage(grid, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTTAB);
    SSSetBool(grid, SSB_PROCESSTAB, TRUE);
    EXPECT_TRUE(SendMessage(grid, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTTAB);
    SSSetActiveCell(grid, 4, 1);
    key(VK_TAB);
    int col = 0, row = 0;
    SSGetActiveCell(grid, &col, &row);
    EXPECT_EQ(col, 1) << "Tab after the last column goes on in the next row";
    EXPECT_EQ(row, 2);
    key(VK_TAB, /*shift=*/true);
    SSGetActiveCell(grid, &col, &row);
    EXPECT_EQ(col, 4);
    EXPECT_EQ(row, 1);
}

TEST_F(Typing, EscapeCancelsAndARefusedEntryKeepsTheEditorOpen)
{
    SS_CELLTYPE t;
    SSSetTypeNumber(grid, &t, 0, 1, 0, 100);
    SSSetCellType(grid, 1, 1, &t);
    SSSetData(grid, 1, 1, "5");
    SSSetActiveCell(grid, 1, 1);
    type("abc");
    EXPECT_FALSE(SSSetEditMode(grid, FALSE)) << "a number cell refuses abc";
    EXPECT_TRUE(SSGetEditMode(grid));
    key(VK_ESCAPE);
    EXPECT_FALSE(SSGetEditMode(grid));
    EXPECT_EQ(data(grid, 1, 1), "5.0");
}

TEST_F(Typing, TheEditorSelectionIsWhatFindAndReplaceWorksOn)
{
    SSSetData(grid, 1, 1, "steel plate");
    SSSetActiveCell(grid, 1, 1);
    SSSetBool(grid, SSB_EDITMODEREPLACE, FALSE);
    ASSERT_TRUE(SSSetEditMode(grid, TRUE));
    ASSERT_TRUE(SSSetSel(grid, 6, 11));
    int start = 0, end = 0;
    ASSERT_TRUE(SSGetSel(grid, &start, &end));
    EXPECT_EQ(start, 6);
    EXPECT_EQ(end, 11);
    type("beam");
    SSSetEditMode(grid, FALSE);
    EXPECT_EQ(data(grid, 1, 1), "steel beam");
    EXPECT_FALSE(SSGetSel(grid, &start, &end)) << "only while editing";
}

TEST_F(Typing, LockedCellsRefuseTheUserUnderProtectionButNotTheProgram)
{
    SSSetLock(grid, 1, 1, TRUE);
    SSSetBool(grid, SSB_PROTECT, TRUE);
    SSSetActiveCell(grid, 1, 1);
    type("x");
    EXPECT_FALSE(SSGetEditMode(grid));
    EXPECT_EQ(data(grid, 1, 1), "");
    EXPECT_TRUE(SSSetData(grid, 1, 1, "set by the program"));
    key(VK_DELETE);
    EXPECT_EQ(data(grid, 1, 1), "set by the program");
    SSSetLockColor(grid, 0xE6E6E6, 0x8000000B);
    UpdateWindow(grid);
    bool lockedLook = false;
    for (const kxwin::DrawOp& op : kxwin::lastPaintRecord(grid))
        lockedLook = lockedLook || (op.kind == kxwin::DrawOpKind::FillRect && op.color == 0xE6E6E6);
    EXPECT_TRUE(lockedLook) << "the locked cell is painted in the locked colour";
}

TEST_F(Typing, LosingTheFocusCommitsAndTellsTheOwner)
{
    SSSetActiveCell(grid, 3, 3);
    SetFocus(grid);
    type("7");
    journal().clear();
    SetFocus(owner);
    EXPECT_EQ(data(grid, 3, 3), "7");
    ASSERT_FALSE(journal().empty());
    EXPECT_EQ(journal().back(), (Notification{SSN_LEAVECELLAFTEREDIT, 3, 3}));
}

TEST_F(Clicks, CheckBoxClicksToggleAndNotifyClickThenChange)
{
    SS_CELLTYPE t;
    SSSetTypeCheckBox(grid, &t, 0x300, "", nullptr, nullptr);
    SSSetCellTypeRange(grid, 2, 1, 2, 6, &t);
    SSSetData(grid, 2, 3, "0");
    click(2, 3);
    EXPECT_EQ(data(grid, 2, 3), "1");
    std::vector<WORD> c = codes();
    ASSERT_GE(c.size(), 3u);
    EXPECT_EQ(std::vector<WORD>(c.end() - 3, c.end()), (std::vector<WORD>{SSN_CLICK, SSN_BUTTONCLICKED, SSN_CELLCHANGED}));
    journal().clear();
    key(VK_SPACE);
    EXPECT_EQ(data(grid, 2, 3), "0");
    EXPECT_EQ(codes(), (std::vector<WORD>{SSN_BUTTONCLICKED, SSN_CELLCHANGED}));
    SSSetLock(grid, 2, 3, TRUE);
    SSSetBool(grid, SSB_PROTECT, TRUE);
    click(2, 3);
    EXPECT_EQ(data(grid, 2, 3), "0") << "a locked box does not toggle";
}

TEST_F(Clicks, ButtonCellsNotifyAndRightButtonReleaseGoesToTheOwner)
{
    SS_CELLTYPE t;
    SSSetTypeButton(grid, &t, 0, "...");
    SSSetCellType(grid, 4, 5, &t);
    click(4, 5);
    EXPECT_EQ(journal().back(), (Notification{SSN_BUTTONCLICKED, 4, 5}));
    const POINT p = centreOf(1, 2);
    kxwin::sendUserInput(grid, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    kxwin::sendUserInput(grid, WM_RBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    EXPECT_EQ(journal().back(), (Notification{SSN_RBUTTONUP, 1, 2}));
    int col = 0, row = 0;
    SSGetActiveCell(grid, &col, &row);
    EXPECT_EQ(row, 2) << "the right click outside the selection selects the cell under it";
}

TEST_F(Clicks, PickingAComboItemNotifiesSelectionChangeAndChange)
{
    SS_CELLTYPE t;
    SSSetTypeComboBox(grid, &t, 0, "A\tB\tC");
    SSSetCellType(grid, 1, 1, &t);
    SSSetActiveCell(grid, 1, 1);
    SendMessage(grid, KXM_USER_PICK, 2);
    EXPECT_EQ(data(grid, 1, 1), "C");
    EXPECT_EQ(codes(), (std::vector<WORD>{SSN_COMBOSELCHANGE, SSN_CELLCHANGED}));
}

TEST_F(Selection, ShiftArrowsAndHeaderClicksSelectBlocksAndDeleteClearsThem)
{
    for (int r = 1; r <= 6; ++r)
        for (int c = 1; c <= 4; ++c)
            SSSetData(grid, c, r, "x");
    SSSetActiveCell(grid, 2, 2);
    key(VK_RIGHT, true);
    key(VK_DOWN, true);
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    ASSERT_TRUE(SSGetSelectBlock(grid, &c1, &r1, &c2, &r2));
    EXPECT_EQ((std::vector<int>{c1, r1, c2, r2}), (std::vector<int>{2, 2, 3, 3}));
    key(VK_DELETE);
    EXPECT_EQ(data(grid, 3, 3), "");
    EXPECT_EQ(data(grid, 4, 3), "x");
    click(3, 0);
    ASSERT_TRUE(SSGetSelectBlock(grid, &c1, &r1, &c2, &r2));
    EXPECT_EQ((std::vector<int>{c1, r1, c2, r2}), (std::vector<int>{3, 1, 3, 6}));
    key(VK_RIGHT);
    EXPECT_FALSE(SSGetSelectBlock(grid, &c1, &r1, &c2, &r2)) << "moving without Shift drops the block";
}
