// The resizer against the macro dialog's resize table: the tab control follows all four edges, the
// picture buttons keep their size at the bottom left (three at the bottom right), and the filter row
// shares the width between its two label-and-combo pairs. Plus the table's odd cases and ZnResizer's
// own hooking of the size messages.
#include "core/CResizer.h"

#include "core/DialogFunctions.h"
#include "core/tests/DialogTestSupport.h"
#include "platform/win/CommCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

using kxtest::item;

constexpr int kMacroDialog = 8401;

enum : int {
    kTabs = 8097,
    kSelectOther = 1176,
    kViewTop = 1181,
    kViewFront = 1182,
    kViewSide = 1183,
    kView3d = 1184,
    kClash = 1292,
    kReapply = 1293,
    kFirstLabel = 1179,
    kFirstFilter = 1177,
    kSecondLabel = 1180,
    kSecondFilter = 1178,
    kRead = 1299,
    kWrite = 1302,
};

const std::vector<int> kLeftButtons = {kSelectOther, kViewTop, kViewFront, kViewSide, kView3d, kClash, kReapply};
const std::vector<int> kRightButtons = {kRead, kWrite, IDOK};

std::vector<CResizerEntry> macroTable()
{
    std::vector<CResizerEntry> table = {{kTabs, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}}};
    for (int id : kLeftButtons)
        table.push_back({id, {1, 0, 1}, {1, 0, 4}, {3, 0, 3}, {4, 0, 4}});
    table.push_back({kFirstLabel, {1, 0, 1}, {1, 0, 4}, {2, 0, 1}, {4, 0, 4}});
    table.push_back({kFirstFilter, {1, 0, 1}, {1, 0, 4}, {1, kFirstLabel, 3}, {4, 0, 4}});
    table.push_back({kSecondLabel, {1, kFirstLabel, 3}, {1, 0, 4}, {1, 0, 3}, {4, 0, 4}});
    table.push_back({kSecondFilter, {1, kSecondLabel, 1}, {1, 0, 4}, {1, 0, 3}, {4, 0, 4}});
    for (int id : kRightButtons)
        table.push_back({id, {1, 0, 3}, {1, 0, 4}, {3, 0, 3}, {4, 0, 4}});
    return table;
}

DialogTemplate macroTemplate()
{
    std::vector<DialogItemTemplate> items = {item(kTabs, WC_TABCONTROL, "", WS_TABSTOP, 4, 4, 249, 118)};
    items.push_back(item(kFirstLabel, "Static", "Filter", SS_LEFT, 4, 126, 120, 8));
    items.push_back(item(kFirstFilter, "ComboBox", "", CBS_DROPDOWNLIST | WS_TABSTOP, 4, 136, 120, 60));
    items.push_back(item(kSecondLabel, "Static", "Group", SS_LEFT, 130, 126, 123, 8));
    items.push_back(item(kSecondFilter, "ComboBox", "", CBS_DROPDOWNLIST | WS_TABSTOP, 132, 136, 121, 60));
    short x = 4;
    for (int id : kLeftButtons) {
        items.push_back(item(id, "Button", "", BS_PUSHBUTTON | WS_TABSTOP, x, 155, id == kReapply ? 50 : 18, 16));
        x = static_cast<short>(x + 20);
    }
    x = 183;
    for (int id : kRightButtons) {
        items.push_back(item(id, "Button", id == IDOK ? "Close" : "", BS_PUSHBUTTON | WS_TABSTOP, x, 155,
                             id == IDOK ? 30 : 18, 16));
        x = static_cast<short>(x + 20);
    }
    return kxtest::dialogTemplate(kMacroDialog, 257, 175, std::move(items));
}

// A dialog written as the module's resizable dialogs are: the resizer is attached in the
// initialisation and called from OnSize and OnGetMinMaxInfo.
class ResizableDialog : public CDialog {
public:
    explicit ResizableDialog(std::vector<CResizerEntry> table) : CDialog(kMacroDialog), m_table(std::move(table)) {}
    CResizer resizer;

protected:
    BOOL OnInitDialog() override
    {
        resizer.attach(this, m_table);
        return TRUE;
    }
    void OnSize(UINT, int, int) override { resizer.apply(); }
    void OnGetMinMaxInfo(MINMAXINFO* info) override { resizer.getMinMaxInfo(info); }

private:
    std::vector<CResizerEntry> m_table;
};

// A dialog that leaves its size messages to a ZnResizer.
class HookedDialog : public CDialog {
public:
    HookedDialog() : CDialog(kMacroDialog) {}
};

using Layout = std::map<int, RECT>;

Layout layoutOf(HWND dialog)
{
    Layout layout;
    for (HWND child : GetChildWindows(dialog))
        layout[GetDlgCtrlID(child)] = GetWindowRectInParent(child);
    return layout;
}

RECT shifted(RECT r, LONG dx, LONG dy)
{
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

class Resizer : public kxtest::CoreDialogTest {
protected:
    void SetUp() override
    {
        CoreDialogTest::SetUp();
        kxwin::addDialogTemplate(module, macroTemplate());
    }

    static void resize(HWND dialog, int w, int h)
    {
        const RECT r = kxtest::screenRect(dialog);
        MoveWindow(dialog, r.left, r.top, w, h);
    }
};

TEST_F(Resizer, MacroDialogTableFollowsTheDialogsEdges)
{
    ResizableDialog dlg(macroTable());
    ASSERT_TRUE(dlg.Create(kMacroDialog));
    const Layout before = layoutOf(dlg.m_hWnd);
    RECT client;
    GetClientRect(dlg.m_hWnd, client);
    const LONG w0 = client.width(), h0 = client.height();
    const LONG dw = 300, dh = 140;

    resize(dlg.m_hWnd, w0 + dw, h0 + dh);
    const Layout after = layoutOf(dlg.m_hWnd);

    const RECT& tabs = before.at(kTabs);
    EXPECT_EQ(after.at(kTabs), (RECT{tabs.left, tabs.top, tabs.right + dw, tabs.bottom + dh}));
    for (int id : kLeftButtons) {
        SCOPED_TRACE(id);
        EXPECT_EQ(after.at(id), shifted(before.at(id), 0, dh));
    }
    for (int id : kRightButtons) {
        SCOPED_TRACE(id);
        EXPECT_EQ(after.at(id), shifted(before.at(id), dw, dh));
    }

    // The first label's right edge keeps its share of the width; the rest of the row hangs on it.
    const LONG split = std::lround(static_cast<double>(before.at(kFirstLabel).right) * (w0 + dw) / w0);
    const RECT& label1 = before.at(kFirstLabel);
    const RECT& filter1 = before.at(kFirstFilter);
    const RECT& label2 = before.at(kSecondLabel);
    const RECT& filter2 = before.at(kSecondFilter);
    EXPECT_EQ(after.at(kFirstLabel), (RECT{label1.left, label1.top + dh, split, label1.bottom + dh}));
    EXPECT_EQ(after.at(kFirstFilter),
              (RECT{filter1.left, filter1.top + dh, split + (filter1.right - label1.right), filter1.bottom + dh}));
    const LONG label2Left = split + (label2.left - label1.right);
    EXPECT_EQ(after.at(kSecondLabel), (RECT{label2Left, label2.top + dh, label2.right + dw, label2.bottom + dh}));
    EXPECT_EQ(after.at(kSecondFilter), (RECT{label2Left + (filter2.left - label2.left), filter2.top + dh,
                                              filter2.right + dw, filter2.bottom + dh}));

    // What a person sees: both combos grew, by shares of the added width that add up to it.
    const LONG grow1 = after.at(kFirstFilter).width() - filter1.width();
    const LONG grow2 = after.at(kSecondFilter).width() - filter2.width();
    EXPECT_GT(grow1, dw / 3);
    EXPECT_GT(grow2, dw / 3);
    EXPECT_EQ(grow1 + grow2, dw);
}

TEST_F(Resizer, ResizingBackGivesTheFirstLayoutAgain)
{
    ResizableDialog dlg(macroTable());
    ASSERT_TRUE(dlg.Create(kMacroDialog));
    const Layout before = layoutOf(dlg.m_hWnd);
    const RECT r = kxtest::screenRect(dlg.m_hWnd);
    // Odd sizes, so that proportional edges round differently on the way.
    for (const auto& [w, h] : {std::pair{r.width() + 333, r.height() + 77}, std::pair{r.width() + 1, r.height() + 1},
                               std::pair{r.width() + 917, r.height() + 3}}) {
        resize(dlg.m_hWnd, w, h);
    }
    resize(dlg.m_hWnd, r.width(), r.height());
    EXPECT_EQ(layoutOf(dlg.m_hWnd), before);
}

TEST_F(Resizer, TableOrderDoesNotMatter)
{
    std::vector<CResizerEntry> reversed = macroTable();
    std::reverse(reversed.begin(), reversed.end());
    ResizableDialog forward(macroTable());
    ResizableDialog backward(reversed);
    ASSERT_TRUE(forward.Create(kMacroDialog));
    ASSERT_TRUE(backward.Create(kMacroDialog));
    resize(forward.m_hWnd, 900, 600);
    resize(backward.m_hWnd, 900, 600);
    EXPECT_EQ(layoutOf(backward.m_hWnd), layoutOf(forward.m_hWnd));
}

TEST_F(Resizer, RestoringAStoredSizeLaysTheControlsOut)
{
    {
        ResizableDialog first(macroTable());
        ASSERT_TRUE(first.Create(kMacroDialog));
        MoveWindow(first.m_hWnd, 50, 60, 800, 500);
        ASSERT_TRUE(WriteDlgSize(&first, "DLG_MACRO_EDITVARS_Base plate"));
    }
    ResizableDialog second(macroTable());
    ASSERT_TRUE(second.Create(kMacroDialog));
    const Layout before = layoutOf(second.m_hWnd);
    RECT client;
    GetClientRect(second.m_hWnd, client);
    ASSERT_TRUE(ChangeDlgSize(&second, "DLG_MACRO_EDITVARS_Base plate", false));
    const LONG dw = 800 - client.width(), dh = 500 - client.height();
    const RECT& tabs = before.at(kTabs);
    EXPECT_EQ(layoutOf(second.m_hWnd).at(kTabs), (RECT{tabs.left, tabs.top, tabs.right + dw, tabs.bottom + dh}));
    EXPECT_EQ(layoutOf(second.m_hWnd).at(IDOK), shifted(before.at(IDOK), dw, dh));
}

TEST_F(Resizer, MissingControlsAndBrokenReferencesAreSkipped)
{
    std::vector<CResizerEntry> table = macroTable();
    table.push_back({9999, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}});                // not in the dialog
    table.push_back({kTabs, {1, 0, 1}, {1, 0, 2}, {3, 0, 3}, {4, 0, 4}});               // second entry: ignored
    table[0] = {kTabs, {1, 0, 1}, {1, 9998, 2}, {1, 0, 3}, {1, 0, 9}};                  // missing reference, bad edge
    table.push_back({kFirstFilter + 5000, {2, kFirstFilter, 1}, {0, 0, 0}, {7, 0, 0}, {-1, 0, 0}});
    for (CResizerEntry& e : table) {
        if (e.id == kFirstLabel)
            e.right = {2, 0, 2};  // proportional to the dialog's top: the other axis
    }
    ResizableDialog dlg(table);
    ASSERT_TRUE(dlg.Create(kMacroDialog));
    const Layout before = layoutOf(dlg.m_hWnd);
    RECT client0, client1;
    GetClientRect(dlg.m_hWnd, client0);
    resize(dlg.m_hWnd, 900, 700);
    GetClientRect(dlg.m_hWnd, client1);
    const Layout after = layoutOf(dlg.m_hWnd);
    const LONG dw = client1.width() - client0.width();

    // Edges with a missing reference or an edge number out of range stay; the others follow.
    const RECT& tabs = before.at(kTabs);
    EXPECT_EQ(after.at(kTabs), (RECT{tabs.left, tabs.top, tabs.right + dw, tabs.bottom}));
    EXPECT_EQ(after.at(kFirstLabel).right, before.at(kFirstLabel).right);
    EXPECT_EQ(after.at(IDOK).right - after.at(IDOK).left, before.at(IDOK).width());
}

TEST_F(Resizer, ControlsTiedToEachOtherInACircleStillGetPlaced)
{
    const std::vector<CResizerEntry> table = {
        {kFirstLabel, {1, 0, 1}, {1, 0, 2}, {1, kSecondLabel, 1}, {4, 0, 4}},
        {kSecondLabel, {1, kFirstLabel, 3}, {1, 0, 2}, {1, 0, 3}, {4, 0, 4}},
    };
    ResizableDialog dlg(table);
    ASSERT_TRUE(dlg.Create(kMacroDialog));
    const Layout before = layoutOf(dlg.m_hWnd);
    resize(dlg.m_hWnd, 900, 700);
    const Layout after = layoutOf(dlg.m_hWnd);
    EXPECT_EQ(after.at(kFirstLabel), before.at(kFirstLabel));
    EXPECT_GT(after.at(kSecondLabel).right, before.at(kSecondLabel).right);
}

TEST_F(Resizer, ADialogSmallerThanItsLayoutNeverGivesNegativeSizes)
{
    ResizableDialog dlg(macroTable());
    ASSERT_TRUE(dlg.Create(kMacroDialog));
    for (const auto& [w, h] : {std::pair{40, 30}, std::pair{0, 0}, std::pair{1, 500}}) {
        resize(dlg.m_hWnd, w, h);
        for (const auto& [id, r] : layoutOf(dlg.m_hWnd)) {
            SCOPED_TRACE(id);
            EXPECT_GE(r.width(), 0);
            EXPECT_GE(r.height(), 0);
        }
    }
}

TEST_F(Resizer, TheTemplateSizeIsTheSmallestTrackSize)
{
    ResizableDialog dlg(macroTable());
    ASSERT_TRUE(dlg.Create(kMacroDialog));
    resize(dlg.m_hWnd, 900, 700);
    MINMAXINFO info{};
    SendMessage(dlg.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, dlg.templateSize().cx);
    EXPECT_EQ(info.ptMinTrackSize.y, dlg.templateSize().cy);

    // A larger minimum someone else set is kept.
    info.ptMinTrackSize = POINT{5000, 5000};
    dlg.resizer.getMinMaxInfo(&info);
    EXPECT_EQ(info.ptMinTrackSize, (POINT{5000, 5000}));
}

TEST_F(Resizer, ZnResizerHandlesTheSizeMessagesUntilItIsGone)
{
    HookedDialog dlg;
    ASSERT_TRUE(dlg.Create(kMacroDialog));
    const Layout before = layoutOf(dlg.m_hWnd);
    RECT client;
    GetClientRect(dlg.m_hWnd, client);
    {
        ZnResizer resizer;
        ASSERT_TRUE(resizer.attach(&dlg, macroTable()));
        resize(dlg.m_hWnd, client.width() + 100, client.height() + 50);
        EXPECT_EQ(layoutOf(dlg.m_hWnd).at(IDOK), shifted(before.at(IDOK), 100, 50));
        MINMAXINFO info{};
        SendMessage(dlg.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMinTrackSize.x, dlg.templateSize().cx);
    }
    // The resizer is gone: size messages get the default handling and nothing moves.
    resize(dlg.m_hWnd, client.width() + 400, client.height() + 300);
    EXPECT_EQ(layoutOf(dlg.m_hWnd).at(IDOK), shifted(before.at(IDOK), 100, 50));
    MINMAXINFO info{};
    SendMessage(dlg.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 0);
}

TEST_F(Resizer, NothingHappensWithoutALiveDialog)
{
    CResizer resizer;
    EXPECT_FALSE(resizer.attach(nullptr, macroTable()));
    resizer.apply();
    HookedDialog dlg;
    EXPECT_FALSE(resizer.attach(&dlg, macroTable()));  // no window yet
    ASSERT_TRUE(dlg.Create(kMacroDialog));
    ASSERT_TRUE(resizer.attach(&dlg, macroTable()));
    dlg.DestroyWindow();
    EXPECT_FALSE(resizer.isAttached());
    resizer.apply();
}

} // namespace
