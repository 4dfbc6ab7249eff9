// The find and replace dialog driven as a person uses it, over a grid searched by a small target
// written with the grid's own functions (the grid wrapper's target is tested with the wrapper).
#include "sheetedit/FindReplaceTarget.h"
#include "sheetedit/ZnDlgFindReplace.h"

#include "core/MacroLangs.h"
#include "core/tests/FileTestSupport.h"
#include "frame/ModelessDialogs.h"
#include "platform/grid/Spread.h"
#include "platform/host/HostWindow.h"
#include "platform/win/Registry.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <memory>
#include <algorithm>
#include <ostream>
#include <string>
#include <utility>

namespace {

std::string valueText(HWND grid, int col, int row)
{
    const int n = SSGetValueLen(grid, col, row);
    if (n <= 0)
        return {};
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    SSGetValue(grid, col, row, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(n));
    return s;
}

// Searches cell values as the grid wrapper does: row by row, case ignored.
class GridTarget : public FindReplaceTarget {
public:
    explicit GridTarget(HWND grid) : m_grid(grid) {}

    bool findNext(const Kx_String& text, int startCol, int startRow, int& col, int& row) override
    {
        for (int r = std::max(startRow, 1); r <= SSGetMaxRows(m_grid); ++r) {
            for (int c = r == startRow ? std::max(startCol, 1) : 1; c <= SSGetMaxCols(m_grid); ++c) {
                if (Kx_String(valueText(m_grid, c, r)).hasSubString(text, /*exact=*/false)) {
                    col = c;
                    row = r;
                    return true;
                }
            }
        }
        return false;
    }
    bool findInCell(const Kx_String& text, int col, int row, int& start, int& length, int from) override
    {
        if (!Kx_String(valueText(m_grid, col, row)).findFirst(text, /*exact=*/false, start, from))
            return false;
        length = text.length();
        return true;
    }
    bool findAndSelect(const Kx_String& text, int col, int row, int from) override
    {
        int start = 0;
        int length = 0;
        if (!findInCell(text, col, row, start, length, from))
            return false;
        SetFocus(m_grid);
        int activeCol = 0;
        int activeRow = 0;
        SSGetActiveCell(m_grid, &activeCol, &activeRow);
        if (activeCol != col || activeRow != row)
            SSSetActiveCell(m_grid, col, row);
        if (!SSGetEditMode(m_grid))
            SSSetEditMode(m_grid, TRUE);
        return SSSetSel(m_grid, start, start + length) != FALSE;
    }
    bool replaceSelection(const Kx_String& newText) override
    {
        int start = 0;
        int end = 0;
        if (!getEditSelection(start, end) || start == end || refuseWrites)
            return false;
        int col = 0;
        int row = 0;
        SSGetActiveCell(m_grid, &col, &row);
        Kx_String text(valueText(m_grid, col, row));
        text.removeAt(start, end - start);
        text.insertAt(start, newText);
        return SSSetData(m_grid, col, row, text.c_str()) != FALSE;
    }
    bool replaceInCell(int col, int row, const Kx_String& oldText, const Kx_String& newText) override
    {
        if (refuseWrites)
            return false;
        Kx_String text(valueText(m_grid, col, row));
        text.replaceSubString(oldText, newText, /*exact=*/false);
        return SSSetData(m_grid, col, row, text.c_str()) != FALSE;
    }
    void getActiveCell(int& col, int& row) override
    {
        if (!SSGetActiveCell(m_grid, &col, &row)) {
            SSSetActiveCell(m_grid, 1, 1);
            col = row = 1;
        }
    }
    bool getEditSelection(int& start, int& end) override
    {
        return SSGetEditMode(m_grid) && SSGetSel(m_grid, &start, &end);
    }

    bool refuseWrites = false;

private:
    HWND m_grid;
};

// A faulty target that answers the first cell whatever it is asked: the dialog must still stop.
class StuckTarget : public GridTarget {
public:
    using GridTarget::GridTarget;
    bool findNext(const Kx_String&, int, int, int& col, int& row) override
    {
        col = row = 1;
        return ++calls < 1000;
    }
    int calls = 0;
};

// The grid's active cell and the characters selected in its editor.
struct Shown {
    int col;
    int row;
    int start;
    int end;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Shown& s)
{
    return os << "cell (" << s.col << ", " << s.row << ") selection " << s.start << ".." << s.end;
}

class FindReplace : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        m_language = MacroLangs::GetCurLanguageIndex();
        MacroLangs::SetCurLanguage(MacroLangs::English);
        kxwin::setRegistryPath((folder.path() / "registry.sqlite3").c_str());
        kxss::attachModule();
        grid = kxgrid::createStandaloneGrid(4, 6);
        ASSERT_NE(grid, nullptr);
        target = std::make_unique<GridTarget>(grid);
    }
    void TearDown() override
    {
        dialog.reset();
        WindowLayerTest::TearDown();
        kxwin::setRegistryPath(nullptr);
        MacroLangs::SetCurLanguage(m_language);
    }

    void put(int col, int row, const char* text) { ASSERT_TRUE(SSSetData(grid, col, row, text)); }
    std::string cell(int col, int row) const { return valueText(grid, col, row); }

    // Opens the dialog with `find` (and `replaceBy`) typed in; the driver acts on it.
    kxwin::DialogDriver open(const std::string& find = {}, const std::string& replaceBy = {})
    {
        dialog = std::make_unique<ZnDlgFindReplace>(grid, *target, [this] { ++closedCalls; });
        EXPECT_TRUE(dialog->open(adsw_acadMainWnd()));
        kxwin::DialogDriver d(dialog->m_hWnd);
        if (!find.empty())
            d.setText(ZnDlgFindReplace::kFindEdit, find);
        if (!replaceBy.empty())
            d.setText(ZnDlgFindReplace::kReplaceEdit, replaceBy);
        return d;
    }
    // The active cell and the characters selected in its editor ({-1,-1} when it is not open).
    Shown shown() const
    {
        Shown s{0, 0, -1, -1};
        SSGetActiveCell(grid, &s.col, &s.row);
        if (SSGetEditMode(grid))
            SSGetSel(grid, &s.start, &s.end);
        return s;
    }

    std::pair<int, int> activeCell() const
    {
        std::pair<int, int> cell{0, 0};
        SSGetActiveCell(grid, &cell.first, &cell.second);
        return cell;
    }

    kxtest::TempFolder folder;
    kxwin::UserAgent agent;
    HWND grid = nullptr;
    std::unique_ptr<GridTarget> target;
    std::unique_ptr<ZnDlgFindReplace> dialog;
    int closedCalls = 0;

private:
    int m_language = MacroLangs::English;
};

const char* const kWrapQuestion = "The end of the sheet has been reached.\nContinue from the beginning?\n";

TEST_F(FindReplace, OpensWithItsTextsOnTopAndTakesTheGridOptionsItNeeds)
{
    SSSetBool(grid, SSB_EDITMODEREPLACE, TRUE);
    ASSERT_FALSE(SSGetBool(grid, SSB_PROCESSTAB));
    auto d = open();
    EXPECT_EQ(d.title(), "Find and replace");
    EXPECT_EQ(d.text(1206), "Find what");
    EXPECT_EQ(d.text(1208), "Replace with");
    EXPECT_EQ(d.text(1), "Find next");
    EXPECT_EQ(d.text(1204), "Replace");
    EXPECT_EQ(d.text(1205), "Replace all");
    EXPECT_EQ(d.text(2), "Close");
    EXPECT_TRUE(GetWindowLong(d.dialog(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(d.dialog()));
    EXPECT_TRUE(SSGetBool(grid, SSB_PROCESSTAB));
    EXPECT_FALSE(SSGetBool(grid, SSB_EDITMODEREPLACE));
    EXPECT_TRUE(dialog->open(adsw_acadMainWnd())) << "a second open keeps the one window";
    EXPECT_EQ(dialog->m_hWnd, d.dialog());

    d.cancel();
    EXPECT_FALSE(d.isOpen());
    EXPECT_FALSE(SSGetBool(grid, SSB_PROCESSTAB)) << "put back: it was off before";

    // An option that was on before stays on.
    SSSetBool(grid, SSB_PROCESSTAB, TRUE);
    open().closeBox();
    EXPECT_TRUE(SSGetBool(grid, SSB_PROCESSTAB));
}

TEST_F(FindReplace, FindNextWalksRowByRowAndInsideACellAfterTheSelection)
{
    put(3, 1, "one x");
    put(2, 2, "x, x and X");
    put(1, 5, "last x");
    auto d = open("x");
    d.click(1);
    EXPECT_EQ(shown(), (Shown{3, 1, 4, 5}));
    d.click(1);
    EXPECT_EQ(shown(), (Shown{2, 2, 0, 1}));
    // The click took the focus from the grid and closed its editor; the search still goes on in
    // the same cell, and F3 in the dialog does the same as the button.
    d.focus(ZnDlgFindReplace::kFindEdit).pressKey(VK_F3);
    EXPECT_EQ(shown(), (Shown{2, 2, 3, 4}));
    // Called while the grid still edits the cell: its editor's selection is where the search goes on.
    ASSERT_EQ(GetFocus(), grid);
    dialog->findNext();
    EXPECT_EQ(shown(), (Shown{2, 2, 9, 10})) << "case is ignored";
    d.focus(ZnDlgFindReplace::kFindEdit).pressKey(VK_RETURN);
    EXPECT_EQ(shown(), (Shown{1, 5, 5, 6})) << "Enter is the default button";
    EXPECT_TRUE(agent.messageBoxes().empty());
}

TEST_F(FindReplace, AtTheEndTheWrapQuestionDecidesWhetherToStartAgain)
{
    put(2, 1, "ab");
    put(4, 6, "cab");
    SSSetActiveCell(grid, 4, 6);

    // No: nothing moves.
    auto d = open("ab");
    agent.answerMessageBox(IDNO, kWrapQuestion);
    d.click(1);
    ASSERT_EQ(agent.messageBoxes().size(), 1u);
    EXPECT_EQ(agent.messageBoxes()[0].caption, "Find");
    EXPECT_EQ(activeCell(), std::make_pair(4, 6));

    // Yes: the first match from the top.
    agent.answerMessageBox(IDYES, kWrapQuestion);
    d.click(1);
    EXPECT_EQ(shown(), (Shown{2, 1, 0, 2}));
    d.click(1);
    EXPECT_EQ(shown(), (Shown{4, 6, 1, 3}));
    agent.answerMessageBox(IDNO, kWrapQuestion);
    d.click(1);
    EXPECT_EQ(activeCell(), std::make_pair(4, 6)) << "No leaves the last match where it was";

    // A text that is nowhere: the question, then the not-found message.
    d.setText(ZnDlgFindReplace::kFindEdit, "zz");
    agent.answerMessageBox(IDYES, kWrapQuestion).answerMessageBox(IDOK, "The text was not found.");
    d.click(1);
    EXPECT_EQ(agent.messageBoxes().back().caption, "Find");
    EXPECT_EQ(agent.messageBoxes().size(), 5u);
}

TEST_F(FindReplace, ReplaceChangesTheOccurrenceShownAndNeverItsOwnInsertion)
{
    put(2, 1, "a-a");
    put(1, 3, "A");
    SSSetBool(grid, SSB_CHANGEMADE, FALSE);
    auto d = open("a", "aa");

    // Find next shows the first "a"; Replace replaces that one, not the one after it.
    d.click(1);
    EXPECT_EQ(shown(), (Shown{2, 1, 0, 1}));
    d.click(1204);
    EXPECT_EQ(cell(2, 1), "aa-a");
    EXPECT_TRUE(SSGetBool(grid, SSB_CHANGEMADE));
    EXPECT_EQ(activeCell(), std::make_pair(2, 1)) << "the cell stays active";

    // Each further Replace finds the next occurrence after the inserted text and replaces it.
    d.focus(ZnDlgFindReplace::kFindEdit).pressKey(VK_F5);
    EXPECT_EQ(cell(2, 1), "aa-aa");
    d.click(1204);
    EXPECT_EQ(cell(1, 3), "aa");
    agent.answerMessageBox(IDNO, kWrapQuestion);
    d.click(1204);
    EXPECT_EQ(cell(2, 1), "aa-aa");
    EXPECT_EQ(cell(1, 3), "aa");

    // Replace with nothing shown finds the next occurrence first (from the active cell on).
    SSSetActiveCell(grid, 1, 1);
    d.setText(ZnDlgFindReplace::kFindEdit, "-").setText(ZnDlgFindReplace::kReplaceEdit, "+");
    d.click(1204);
    EXPECT_EQ(cell(2, 1), "aa+aa");
}

TEST_F(FindReplace, AReplacementTheGridRefusesChangesNothingAndSaysNothing)
{
    put(2, 1, "keep");
    SSSetBool(grid, SSB_CHANGEMADE, FALSE);
    target->refuseWrites = true;
    auto d = open("ee", "x");
    d.click(1204);
    EXPECT_EQ(cell(2, 1), "keep");
    EXPECT_FALSE(SSGetBool(grid, SSB_CHANGEMADE));
    EXPECT_TRUE(agent.messageBoxes().empty());

    // Replace all counts only the cells really written.
    agent.answerMessageBox(IDOK, "The text was replaced in 0 cell(s).");
    d.click(1205);
    EXPECT_EQ(cell(2, 1), "keep");
}

TEST_F(FindReplace, ReplaceAllCountsCellsOnceAndEndsWhenTheReplacementHoldsTheText)
{
    put(1, 1, "a");
    put(4, 1, "banana");
    put(2, 3, "xyz");
    put(4, 6, "A");
    auto d = open("a", "aa");
    agent.answerMessageBox(IDOK, "The text was replaced in 3 cell(s).");
    d.click(1205);
    ASSERT_EQ(agent.messageBoxes().size(), 1u);
    EXPECT_EQ(agent.messageBoxes()[0].caption, "Replace all");
    EXPECT_EQ(cell(1, 1), "aa");
    EXPECT_EQ(cell(4, 1), "baanaanaa");
    EXPECT_EQ(cell(2, 3), "xyz");
    EXPECT_EQ(cell(4, 6), "aa");

    // No match: the count 0, and the sheet is not marked changed.
    SSSetBool(grid, SSB_CHANGEMADE, FALSE);
    d.setText(ZnDlgFindReplace::kFindEdit, "nowhere");
    agent.answerMessageBox(IDOK, "The text was replaced in 0 cell(s).");
    d.click(1205);
    EXPECT_FALSE(SSGetBool(grid, SSB_CHANGEMADE));

    // A cell still being typed in is finished first, so the replacement is not typed over later.
    put(3, 2, "a");
    d.setText(ZnDlgFindReplace::kFindEdit, "a").setText(ZnDlgFindReplace::kReplaceEdit, "b");
    SetFocus(grid);
    SSSetActiveCell(grid, 3, 2);
    ASSERT_TRUE(SSSetEditMode(grid, TRUE));
    kxwin::sendUserInput(grid, WM_CHAR, 'a', 0);
    ASSERT_TRUE(SSGetEditMode(grid));
    agent.answerMessageBox(IDOK, "The text was replaced in 4 cell(s).");
    dialog->replaceAll();
    EXPECT_FALSE(SSGetEditMode(grid));
    EXPECT_EQ(cell(3, 2), "bb");
}

TEST_F(FindReplace, NothingLoopsOnAnEmptyTextOrATargetThatKeepsAnsweringTheSameCell)
{
    put(1, 1, "a");
    auto d = open("", "x");
    d.click(1).click(1204).click(1205);
    EXPECT_TRUE(agent.messageBoxes().empty()) << "an empty text is not searched";
    EXPECT_EQ(cell(1, 1), "a");
    d.cancel();

    StuckTarget stuck(grid);
    ZnDlgFindReplace other(grid, stuck, {});
    ASSERT_TRUE(other.open(adsw_acadMainWnd()));
    kxwin::DialogDriver o(other.m_hWnd);
    o.setText(ZnDlgFindReplace::kFindEdit, "a").setText(ZnDlgFindReplace::kReplaceEdit, "b");
    agent.answerMessageBox(IDOK, "The text was replaced in 1 cell(s).");
    o.click(1205);
    EXPECT_LT(stuck.calls, 10);
}

TEST_F(FindReplace, SizeAndPlaceComeBackAtTheNextOpening)
{
    auto d = open();
    RECT r;
    GetWindowRect(d.dialog(), r);
    MoveWindow(d.dialog(), 300, 200, r.width(), r.height());
    d.focus(ZnDlgFindReplace::kFindEdit).escape();
    EXPECT_EQ(closedCalls, 1);

    auto again = open();
    RECT back;
    GetWindowRect(again.dialog(), back);
    EXPECT_EQ(back.left, 300);
    EXPECT_EQ(back.top, 200);
    EXPECT_EQ(back.width(), r.width());
}

TEST_F(FindReplace, AGoneGridMakesEveryCommandDoNothing)
{
    put(1, 2, "a");
    auto d = open("a", "b");
    DestroyWindow(grid);
    d.click(1).click(1204).click(1205).focus(ZnDlgFindReplace::kFindEdit).pressKey(VK_F3).pressKey(VK_F5);
    EXPECT_TRUE(agent.messageBoxes().empty());
    d.cancel();
    EXPECT_EQ(closedCalls, 1);

    // Gone while the wrap question was open: the answer Yes searches nothing more.
    grid = kxgrid::createStandaloneGrid(2, 2);
    target = std::make_unique<GridTarget>(grid);
    auto e = open("zz");
    agent.onMessageBox([&](const MessageBoxRequest&) {
        DestroyWindow(grid);
        return IDYES;
    });
    e.click(1);
    EXPECT_EQ(agent.messageBoxes().size(), 1u);
}

TEST_F(FindReplace, TheOwnerIsToldOnceWhicheverWayTheDialogCloses)
{
    open().cancel();
    EXPECT_EQ(closedCalls, 1);
    open().closeBox();
    EXPECT_EQ(closedCalls, 2);
    // The window of the owner goes, and the dialog with it.
    HWND owner = CreateWindowEx(0, "Static", "owner", WS_POPUP, 0, 0, 100, 100, nullptr, 0);
    dialog = std::make_unique<ZnDlgFindReplace>(grid, *target, [this] { ++closedCalls; });
    ASSERT_TRUE(dialog->open(owner));
    DestroyWindow(owner);
    EXPECT_EQ(closedCalls, 3);
    EXPECT_EQ(dialog->m_hWnd, nullptr);
    // The owner deleting an open dialog hears nothing back, but the grid gets its option back.
    open();
    dialog.reset();
    EXPECT_EQ(closedCalls, 3);
    EXPECT_FALSE(SSGetBool(grid, SSB_PROCESSTAB));

    // A callback that deletes the dialog when idle, as the grid wrapper does: nothing of the object
    // is touched after it (the sanitizer would see it).
    int calls = 0;
    ZnDlgFindReplace* self = nullptr;
    self = new ZnDlgFindReplace(grid, *target, [&] {  // deletes itself from its callback below
        ++calls;
        self->deleteWhenIdle();
    });
    ASSERT_TRUE(self->open(adsw_acadMainWnd()));
    kxwin::DialogDriver(self->m_hWnd).cancel();
    EXPECT_EQ(calls, 1);
}

} // namespace
