// The grid as a person meets it: inside a dialog (Enter and Tab by option 13), the order of the
// notifications a sequence of actions sends, the editor's selection in characters, what protection
// refuses, and an owner that destroys the grid from inside one of its notifications.
#include "platform/grid/tests/GridTestSupport.h"

#include "platform/win/Clipboard.h"
#include "platform/win/Dialog.h"
#include "platform/win/Resources.h"
#include "platform/win/UserInput.h"
#include "platform/win/testing/AgentFailures.h"

#include <functional>

using kxgrid::testing::data;
using kxgrid::testing::GridFixture;
using kxgrid::testing::journal;
using kxgrid::testing::Notification;

namespace {

constexpr int kDialogId = 6100;
constexpr int kGridId = 100;
constexpr int kEditId = 101;

DialogTemplate gridDialogTemplate()
{
    DialogTemplate t;
    t.id = kDialogId;
    t.title = "Grid dialog";
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.cx = 300;
    t.cy = 200;
    t.items = {
        {kGridId, kGridClassName, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 4, 4, 200, 120},
        {kEditId, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 4, 130, 100, 12},
        {IDOK, "Button", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 200, 180, 40, 14},
        {IDCANCEL, "Button", "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 250, 180, 40, 14},
    };
    return t;
}

// A dialog holding a 3 x 3 grid that keeps the codes of the grid's notifications.
class GridDialog : public CDialog {
public:
    explicit GridDialog(bool processTab) : CDialog(kDialogId), m_processTab(processTab) {}
    std::vector<WORD> codes;

protected:
    BOOL OnInitDialog() override
    {
        HWND g = ::GetDlgItem(m_hWnd, kGridId);
        SSSetMaxCols(g, 3);
        SSSetMaxRows(g, 3);
        SSSetBool(g, SSB_PROCESSTAB, m_processTab);
        SSSetEditEnterAction(g, SS_ENTERACTION_DOWN);
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == kGridId)
            codes.push_back(HIWORD(wParam));
        return CDialog::OnCommand(wParam, lParam);
    }

private:
    bool m_processTab;
};

class GridInDialog : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        HINSTANCE module = kxwin::resourceModule("grid-tests");
        kxwin::addDialogTemplate(module, gridDialogTemplate());
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(m_previous);
        WindowLayerTest::TearDown();
    }

private:
    HINSTANCE m_previous = nullptr;
};

std::pair<int, int> activeCell(HWND g)
{
    int col = 0, row = 0;
    SSGetActiveCell(g, &col, &row);
    return {col, row};
}

} // namespace

TEST_F(GridInDialog, WithoutOptionThirteenEnterEndsTheEditThenClosesTheDialogAndTabLeavesTheGrid)
{
    kxwin::UserAgent agent;
    std::string afterEnter, focusAfterTab;
    bool stillOpen = false;
    std::pair<int, int> cell;
    agent.onDialog(kDialogId, [&](kxwin::DialogDriver& d) {
        HWND g = d.item(kGridId);
        d.focus(kGridId);
        d.type("12");
        d.pressKey(VK_RETURN);  // ends the edit: the dialog must not close with the entry half made
        afterEnter = data(g, 1, 1);
        stillOpen = d.isOpen();
        cell = activeCell(g);
        d.type("7");
        d.pressKey(VK_TAB);  // the edit is committed as focus leaves for the next control
        focusAfterTab = GetFocus() == d.item(kEditId) ? "edit" : "elsewhere";
        EXPECT_EQ(data(g, 1, 1), "7");
        d.focus(kGridId);
        d.pressKey(VK_RETURN);  // not editing: the default button
    });
    GridDialog dialog(/*processTab=*/false);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(afterEnter, "12");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(cell, (std::pair{1, 1})) << "without option 13 Enter does not move the active cell";
    EXPECT_EQ(focusAfterTab, "edit");
    EXPECT_EQ(std::count(dialog.codes.begin(), dialog.codes.end(), SSN_CELLCHANGED), 2);
    EXPECT_EQ(dialog.codes.back(), SSN_LEAVECELLAFTEREDIT) << "the owner hears that the edited cell was left";
}

TEST_F(GridInDialog, WithOptionThirteenEnterAndTabMoveInsideTheGridUntilTheOptionIsCleared)
{
    kxwin::UserAgent agent;
    std::vector<std::pair<int, int>> cells;
    bool openAfterKeys = false;
    BOOL optionAfterF8 = TRUE;
    agent.onDialog(kDialogId, [&](kxwin::DialogDriver& d) {
        HWND g = d.item(kGridId);
        d.focus(kGridId);
        d.type("a");
        d.pressKey(VK_RETURN);
        cells.push_back(activeCell(g));
        d.pressKey(VK_TAB);
        cells.push_back(activeCell(g));
        d.pressKey(VK_TAB, /*shift=*/true);
        cells.push_back(activeCell(g));
        d.pressKey(VK_RETURN);
        cells.push_back(activeCell(g));
        openAfterKeys = d.isOpen() && GetFocus() == g;
        EXPECT_EQ(data(g, 1, 1), "a");
        // F8 is the wrapper's key (it may be switched off there): the grid leaves the option alone.
        d.pressKey(VK_F8);
        optionAfterF8 = SSGetBool(g, SSB_PROCESSTAB);
        SSSetBool(g, SSB_PROCESSTAB, FALSE);
        d.pressKey(VK_RETURN);
    });
    GridDialog dialog(/*processTab=*/true);
    EXPECT_EQ(dialog.DoModal(), IDOK) << "with the option cleared Enter belongs to the dialog again";
    EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}, {1, 2}, {1, 3}}));
    EXPECT_TRUE(openAfterKeys);
    EXPECT_TRUE(optionAfterF8) << "the grid itself does not flip option 13 on F8";
}

using Notifications = GridFixture;

TEST_F(Notifications, ASequenceOfActionsNotifiesInOrderAndNamesTheCellOfEach)
{
    SS_CELLTYPE box, combo;
    SSSetTypeCheckBox(grid, &box, 0, "", nullptr, nullptr);
    SSSetCellType(grid, 2, 1, &box);
    SSSetTypeComboBox(grid, &combo, 0, "A\tB");
    SSSetCellType(grid, 3, 1, &combo);
    SSSetBool(grid, SSB_ARROWSEXITEDITMODE, TRUE);

    click(1, 1);  // already active: only the click
    type("x");
    key(VK_DOWN);  // commits and leaves
    key(VK_RIGHT); // a plain move: no 0x508
    type("y");
    key(VK_ESCAPE);
    key(VK_UP);    // cancelled: the cell was not edited
    click(2, 1);   // the check box: click, press, change
    SSSetActiveCell(grid, 3, 1);
    SendMessage(grid, KXM_USER_PICK, 1);
    key(VK_RIGHT);
    const std::vector<Notification> expected = {
        {SSN_CLICK, 1, 1},
        {SSN_EDITMODEON, 1, 1},
        {SSN_CELLCHANGED, 1, 1},
        {SSN_EDITMODEOFF, 1, 1},
        {SSN_LEAVECELLAFTEREDIT, 1, 1},
        {SSN_LEAVECELL, 1, 1},
        {SSN_LEAVECELL, 1, 2},
        {SSN_EDITMODEON, 2, 2},
        {SSN_EDITMODEOFF, 2, 2},
        {SSN_LEAVECELL, 2, 2},
        {SSN_CLICK, 2, 1},
        {SSN_BUTTONCLICKED, 2, 1},
        {SSN_CELLCHANGED, 2, 1},
        {SSN_COMBOSELCHANGE, 3, 1},
        {SSN_CELLCHANGED, 3, 1},
        {SSN_LEAVECELLAFTEREDIT, 3, 1},
        {SSN_LEAVECELL, 3, 1},
    };
    EXPECT_EQ(journal(), expected);
    EXPECT_EQ(data(grid, 1, 1), "x");
    EXPECT_EQ(data(grid, 2, 2), "");
    EXPECT_EQ(data(grid, 3, 1), "B");
    int col = 0, row = 0;
    ASSERT_TRUE(SSGetNotifyCell(grid, &col, &row));
    EXPECT_EQ((std::pair{col, row}), (std::pair{3, 1})) << "the cell of the last notification";
}

TEST_F(Notifications, ClickingAnotherCellWhileEditingCommitsBeforeTheClick)
{
    SSSetActiveCell(grid, 1, 1);
    type("5");
    journal().clear();
    click(3, 4);
    const std::vector<Notification> expected = {{SSN_CELLCHANGED, 1, 1}, {SSN_EDITMODEOFF, 1, 1},
                                                {SSN_LEAVECELLAFTEREDIT, 1, 1}, {SSN_LEAVECELL, 1, 1},
                                                {SSN_CLICK, 3, 4}};
    EXPECT_EQ(journal(), expected);
    EXPECT_EQ(data(grid, 1, 1), "5");
}

TEST_F(Notifications, KeyboardDeleteAndPasteTellTheOwnerOnceForTheBlock)
{
    SSSetData(grid, 2, 2, "a");
    SSSetData(grid, 3, 3, "b");
    SSSetActiveCell(grid, 2, 2);
    key(VK_RIGHT, true);
    key(VK_DOWN, true);
    journal().clear();
    key(VK_DELETE);
    EXPECT_EQ(journal(), (std::vector<Notification>{{SSN_CELLCHANGED, 2, 2}}));
    EXPECT_EQ(data(grid, 3, 3), "");
    journal().clear();
    key(VK_DELETE);
    EXPECT_TRUE(journal().empty()) << "deleting empty cells changes nothing";

    kxwin::setClipboardText("p\tq\r\n");
    SSSetActiveCell(grid, 1, 5);
    journal().clear();
    SetKeyDown(VK_CONTROL, true);
    kxwin::sendUserInput(grid, WM_KEYDOWN, 'V', 1);
    SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(journal(), (std::vector<Notification>{{SSN_CELLCHANGED, 1, 5}}));
    EXPECT_EQ(data(grid, 2, 5), "q");

    SSSetBool(grid, SSB_CLIPBOARDKEYS, FALSE);
    kxwin::setClipboardText("z");
    SetKeyDown(VK_CONTROL, true);
    kxwin::sendUserInput(grid, WM_KEYDOWN, 'V', 1);
    SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(data(grid, 1, 5), "p") << "without option 18 Ctrl+V is no paste";
}

using Editing = GridFixture;

TEST_F(Editing, TheEditorSelectionCountsCharactersNotBytes)
{
    SSSetData(grid, 1, 1, "äöü€");
    SSSetActiveCell(grid, 1, 1);
    SSSetBool(grid, SSB_EDITMODEREPLACE, TRUE);
    ASSERT_TRUE(SSSetEditMode(grid, TRUE));
    int start = -1, end = -1;
    ASSERT_TRUE(SSGetSel(grid, &start, &end));
    EXPECT_EQ((std::pair{start, end}), (std::pair{0, 4})) << "option 20 selects the whole text";
    ASSERT_TRUE(SSSetSel(grid, 3, 1));
    SSGetSel(grid, &start, &end);
    EXPECT_EQ((std::pair{start, end}), (std::pair{1, 3})) << "a reversed range is ordered";
    type("x");
    SSSetSel(grid, 99, -1);
    SSGetSel(grid, &start, &end);
    EXPECT_EQ((std::pair{start, end}), (std::pair{3, 3})) << "beyond the end means the end";
    kxwin::sendUserInput(grid, WM_CHAR, 0x08, 1);
    ASSERT_TRUE(SSSetEditMode(grid, FALSE));
    EXPECT_EQ(data(grid, 1, 1), "äx");
    EXPECT_FALSE(SSSetSel(grid, 0, 1)) << "only while editing";
}

TEST_F(Editing, TypingStopsAtTheMaximumLengthInCharacters)
{
    SS_CELLTYPE t;
    SSSetTypeEdit(grid, &t, 0, 3, SS_CHRSET_ANY, SS_CASE_ASTYPED);
    SSSetCellType(grid, 1, 1, &t);
    SSSetActiveCell(grid, 1, 1);
    for (char32_t ch : std::u32string(U"€äßxy"))
        kxwin::sendUserInput(grid, WM_CHAR, static_cast<WPARAM>(ch), 1);
    SSSetEditMode(grid, FALSE);
    EXPECT_EQ(data(grid, 1, 1), "€äß");
}

TEST_F(Editing, ProtectionRefusesEveryWayAPersonChangesALockedCell)
{
    SS_CELLTYPE combo;
    SSSetTypeComboBox(grid, &combo, 0, "A\tB");
    SSSetCellType(grid, 2, 1, &combo);
    SSSetData(grid, 1, 1, "kept");
    SSSetData(grid, 2, 1, "A");
    SSSetLockRange(grid, 1, 1, 2, 1, TRUE);
    SSSetBool(grid, SSB_PROTECT, TRUE);
    SSSetBool(grid, SSB_CHANGEMADE, FALSE);

    SSSetActiveCell(grid, 1, 1);
    key(VK_F2);
    EXPECT_FALSE(SSGetEditMode(grid)) << "F2";
    const POINT p = centreOf(1, 1);
    kxwin::sendUserInput(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    EXPECT_FALSE(SSGetEditMode(grid)) << "double click";
    EXPECT_FALSE(SSSetEditMode(grid, TRUE));
    kxwin::setClipboardText("pasted");
    EXPECT_FALSE(SSClipboardPaste(grid));
    SSSetActiveCell(grid, 2, 1);
    SendMessage(grid, KXM_USER_PICK, 1);
    SSSetSelectBlock(grid, 1, 1, 2, 1);
    key(VK_DELETE);
    EXPECT_EQ(data(grid, 1, 1), "kept");
    EXPECT_EQ(data(grid, 2, 1), "A") << "a locked combo box keeps its item";
    EXPECT_FALSE(SSGetBool(grid, SSB_CHANGEMADE));

    SSSetBool(grid, SSB_PROTECT, FALSE);
    SSSetActiveCell(grid, 2, 1);
    SendMessage(grid, KXM_USER_PICK, 1);
    EXPECT_EQ(data(grid, 2, 1), "B") << "locks mean nothing without protection";
}

TEST_F(Editing, StaticTextCellsAreNeverEditedByThePerson)
{
    SS_CELLTYPE t;
    SSSetTypeStaticText(grid, &t, 0);
    SSSetCellType(grid, 1, 1, &t);
    SSSetData(grid, 1, 1, "label");
    SSSetActiveCell(grid, 1, 1);
    type("x");
    key(VK_DELETE);
    EXPECT_FALSE(SSGetEditMode(grid));
    EXPECT_EQ(data(grid, 1, 1), "label");
}

using ChangeFlag = GridFixture;

TEST_F(ChangeFlag, EveryKindOfChangeSetsOptionThirtyAndNothingElseDoes)
{
    SS_CELLTYPE box;
    SSSetTypeCheckBox(grid, &box, 0, "", nullptr, nullptr);
    SSSetCellType(grid, 3, 2, &box);
    HFONT font = CreateFont(20, 0, FW_NORMAL, false, false, "Arial");
    const std::vector<std::pair<const char*, std::function<bool()>>> changes = {
        {"data", [&] { return SSSetData(grid, 1, 1, "x"); }},
        {"value", [&] { return SSSetValue(grid, 1, 1, "y"); }},
        {"float", [&] { return SSSetFloat(grid, 1, 2, 2.5); }},
        {"formula", [&] { return SSSetFormula(grid, 1, 3, "A1", TRUE); }},
        {"tag", [&] { return SSSetCellTag(grid, 1, 1, "t"); }},
        {"note", [&] { return SSSetCellNote(grid, 1, 1, "n"); }},
        {"clear", [&] { return SSClearData(grid, 1, 1, 1, 1); }},
        {"type", [&] { return SSSetCellType(grid, 2, 2, &box); }},
        {"lock", [&] { return SSSetLock(grid, 2, 2, TRUE); }},
        {"font", [&] { return SSSetFont(grid, 2, 2, font, TRUE); }},
        {"colour", [&] { return SSSetColor(grid, 2, 2, 0xFF, SS_COLOR_KEEP); }},
        {"border", [&] { return SSSetBorder(grid, 2, 2, SS_BORDERTYPE_LEFT, SS_BORDERSTYLE_SOLID, 0); }},
        {"span", [&] { return SSAddCellSpan(grid, 1, 4, 2, 1); }},
        {"unspan", [&] { return SSRemoveCellSpan(grid, 1, 4); }},
        {"width", [&] { return SSSetColWidth(grid, 1, 12); }},
        {"height", [&] { return SSSetRowHeightInPixels(grid, 1, 30); }},
        {"insert row", [&] { return SSInsRow(grid, 1); }},
        {"delete row", [&] { return SSDelRow(grid, 1); }},
        {"insert column", [&] { return SSInsCol(grid, 1); }},
        {"delete column", [&] { return SSDelCol(grid, 1); }},
        {"copy", [&] { return SSCopyRange(grid, 1, 1, 1, 1, 2, 1); }},
        {"swap", [&] { return SSSwapRange(grid, 1, 1, 1, 1, 2, 1); }},
        {"rows", [&] { return SSSetMaxRows(grid, 7); }},
        {"columns", [&] { return SSSetMaxCols(grid, 5); }},
        {"paste", [&] { return kxgrid::pasteText(grid, 1, 1, "p") == 1; }},
        {"typing", [&] {
             SSSetActiveCell(grid, 3, 3);
             type("t");
             return SSSetEditMode(grid, FALSE);
         }},
        {"check box click", [&] {
             click(3, 2);
             return data(grid, 3, 2) == "1";
         }},
    };
    for (const auto& [what, change] : changes) {
        SSSetBool(grid, SSB_CHANGEMADE, FALSE);
        ASSERT_TRUE(change()) << what;
        EXPECT_TRUE(SSGetBool(grid, SSB_CHANGEMADE)) << what;
    }
    DeleteObject(font);

    const std::vector<std::pair<const char*, std::function<void()>>> noChanges = {
        {"refused number", [&] {
             SS_CELLTYPE n;
             SSSetTypeNumber(grid, &n, 0, 2, 0, 10);
             SSSetCellType(grid, 3, 1, &n);
             SSSetBool(grid, SSB_CHANGEMADE, FALSE);
             SSSetData(grid, 3, 1, "eleven");
         }},
        {"reading", [&] {
             data(grid, 1, 1);
             SSGetBool(grid, SSB_CHANGEMADE);
         }},
        {"moving", [&] { key(VK_DOWN); }},
        {"cancelled edit", [&] {
             type("abc");
             key(VK_ESCAPE);
         }},
        {"selecting", [&] { SSSetSelectBlock(grid, 1, 1, 2, 2); }},
        {"copying", [&] { SSClipboardCopy(grid); }},
        {"same counts", [&] { SSSetMaxRows(grid, SSGetMaxRows(grid)); }},
        {"bad structure", [&] { SSDelRow(grid, 99); }},
    };
    for (const auto& [what, action] : noChanges) {
        SSSetBool(grid, SSB_CHANGEMADE, FALSE);
        action();
        EXPECT_FALSE(SSGetBool(grid, SSB_CHANGEMADE)) << what;
    }
}

TEST_F(ChangeFlag, AutomaticRecalculationOptionIsKeptInTheSheetFile)
{
    SSSetBool(grid, SSB_AUTOCALC, FALSE);
    SSSetBool(grid, 77, TRUE);
    std::string text;
    ASSERT_TRUE(kxgrid::sheetText(grid, text));
    HWND other = kxgrid::createStandaloneGrid(1, 1);
    ASSERT_TRUE(kxgrid::loadSheetText(other, text));
    EXPECT_FALSE(SSGetBool(other, SSB_AUTOCALC));
    EXPECT_TRUE(SSGetBool(other, 77));
    EXPECT_TRUE(SSGetBool(other, SSB_REDRAW));
}

// --- An owner that destroys the grid from inside a notification --------------------------------

namespace {

WORD g_destroyOn = 0;
bool g_rebuild = false;
HWND g_replacement = nullptr;

LRESULT destroyingOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == g_destroyOn) {
        HWND g = reinterpret_cast<HWND>(lParam);
        if (IsWindow(g)) {
            DestroyWindow(g);
            // A dialog rebuilding its table makes a new grid at once.
            if (g_rebuild)
                g_replacement = CreateWindowEx(0, kGridClassName, "", WS_CHILD, 0, 0, 100, 100, hwnd, 78);
        }
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

} // namespace

class DestroyedInNotification : public ::testing::TestWithParam<std::pair<WORD, bool>> {
protected:
    void TearDown() override { kxwin::resetWindowLayer(); }
};

TEST_P(DestroyedInNotification, TheGridStopsQuietlyWhateverTheOwnerDoes)
{
    g_destroyOn = GetParam().first;
    g_rebuild = GetParam().second;
    g_replacement = nullptr;
    RegisterWindowClass("KxGridDestroyingOwner", destroyingOwnerProc);
    HWND owner = CreateWindowEx(0, "KxGridDestroyingOwner", "owner", WS_VISIBLE, 0, 0, 800, 600, nullptr, 0);
    HWND grid = CreateWindowEx(0, kGridClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, owner, 77);
    SSSetMaxCols(grid, 4);
    SSSetMaxRows(grid, 4);
    SSSetBool(grid, SSB_PROCESSTAB, TRUE);
    SSSetEditEnterAction(grid, SS_ENTERACTION_DOWN);
    SS_CELLTYPE t;
    SSSetTypeCheckBox(grid, &t, 0, "", nullptr, nullptr);
    SSSetCellType(grid, 2, 1, &t);
    SSSetTypeButton(grid, &t, 0, "...");
    SSSetCellType(grid, 3, 1, &t);
    SSSetTypeComboBox(grid, &t, 0, "A\tB");
    SSSetCellType(grid, 4, 1, &t);

    // Cell centres with the default sizes: row header 40, columns 64, rows 17.
    auto at = [](int col, int row) { return MAKELPARAM(static_cast<WORD>(40 + 64 * col - 32), static_cast<WORD>(17 * row + 8)); };
    SetFocus(grid);
    kxwin::sendUserInput(grid, WM_LBUTTONDOWN, MK_LBUTTON, at(1, 1));  // 0x521
    kxwin::sendUserInput(grid, WM_LBUTTONUP, 0, at(1, 1));
    kxwin::sendUserInput(grid, WM_CHAR, 'a', 1);                       // 0x502
    kxwin::sendUserInput(grid, WM_KEYDOWN, VK_RETURN, 1);              // 0x3B 0x503 0x508 0x509
    kxwin::sendUserInput(grid, WM_LBUTTONDOWN, MK_LBUTTON, at(2, 1));  // 0x3C on the box
    kxwin::sendUserInput(grid, WM_LBUTTONUP, 0, at(2, 1));
    kxwin::sendUserInput(grid, WM_LBUTTONDOWN, MK_LBUTTON, at(3, 1));  // 0x3C on the button
    SSSetActiveCell(grid, 4, 1);
    SendMessage(grid, KXM_USER_PICK, 1);                               // 0x517
    kxwin::sendUserInput(grid, WM_RBUTTONDOWN, MK_RBUTTON, at(1, 2));
    kxwin::sendUserInput(grid, WM_RBUTTONUP, 0, at(1, 2));             // 0x520
    SSSetActiveCell(grid, 1, 3);
    kxwin::sendUserInput(grid, WM_CHAR, 'b', 1);
    SetFocus(owner);                                                   // 0x508 on losing the focus

    EXPECT_FALSE(IsWindow(grid));
    EXPECT_EQ(SSGetMaxRows(grid), -1) << "the dead handle is no grid";
    if (g_rebuild) {
        ASSERT_NE(g_replacement, nullptr);
        EXPECT_TRUE(SSSetMaxRows(g_replacement, 2)) << "the new grid works";
        EXPECT_FALSE(SSGetBool(g_replacement, SSB_PROCESSTAB)) << "and starts afresh";
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryCode, DestroyedInNotification,
    ::testing::Values(std::pair{SSN_CLICK, false}, std::pair{SSN_EDITMODEON, false}, std::pair{SSN_CELLCHANGED, false},
                      std::pair{SSN_EDITMODEOFF, false}, std::pair{SSN_LEAVECELLAFTEREDIT, false},
                      std::pair{SSN_LEAVECELL, false}, std::pair{SSN_BUTTONCLICKED, false},
                      std::pair{SSN_COMBOSELCHANGE, false}, std::pair{SSN_RBUTTONUP, false},
                      std::pair{SSN_CLICK, true}, std::pair{SSN_EDITMODEON, true}, std::pair{SSN_CELLCHANGED, true},
                      std::pair{SSN_EDITMODEOFF, true}, std::pair{SSN_LEAVECELLAFTEREDIT, true},
                      std::pair{SSN_LEAVECELL, true}, std::pair{SSN_BUTTONCLICKED, true},
                      std::pair{SSN_COMBOSELCHANGE, true}, std::pair{SSN_RBUTTONUP, true}));
