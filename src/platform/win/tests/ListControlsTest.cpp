// Combo boxes (their inner edit above all), list boxes, list views, tab controls, tooltips and the
// finer points of buttons: what the program can ask of them and what a person's input sends.
#include "platform/win/tests/ControlsTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kxwin::DialogDriver;
using kxwin::testing::control;
using kxwin::testing::JournalDialog;
using Strings = std::vector<std::string>;

constexpr int kCombo = 10;
constexpr int kList = 11;
constexpr int kView = 12;
constexpr int kTabs = 13;
constexpr int kNext = 14;

LPARAM text(const char* s)
{
    return reinterpret_cast<LPARAM>(s);
}

// --- Combo boxes ---------------------------------------------------------------------------------

class ComboTest : public kxwin::testing::ControlsTest {
protected:
    DialogDriver make(DWORD style, Strings entries = {"Alpha", "beta", "Gamma"})
    {
        // The edit comes first so that the combo box starts without the focus.
        dialog = &open({control(kNext, "Edit", "", ES_AUTOHSCROLL | WS_TABSTOP, 5, 140, 100, 14),
                        control(kCombo, "ComboBox", "", style | WS_VSCROLL | WS_TABSTOP, 5, 5, 100, 120)});
        for (const std::string& e : entries)
            SendMessage(combo(), CB_ADDSTRING, 0, text(e.c_str()));
        dialog->journal.clear();
        return driver(*dialog);
    }
    HWND combo() const { return GetDlgItem(dialog->m_hWnd, kCombo); }
    HWND inner() const { return GetDlgItem(combo(), IDC_COMBO_EDIT); }
    JournalDialog* dialog = nullptr;
};

TEST_F(ComboTest, ADropDownKeepsItsTextInAnInnerEditAndPassesItsNotificationsOnAsItsOwn)
{
    DialogDriver d = make(CBS_DROPDOWN);
    ASSERT_NE(inner(), nullptr);
    EXPECT_EQ(GetClassName(inner()), "Edit");
    d.setText(kCombo, "be");
    EXPECT_EQ(GetFocus(), inner());
    EXPECT_EQ(d.text(kCombo), "be");
    EXPECT_EQ(GetWindowTextLength(combo()), 2);
    EXPECT_EQ(dialog->of(kCombo), (Strings{"CBN_SETFOCUS", "CBN_EDITUPDATE", "CBN_EDITCHANGE", "CBN_EDITUPDATE",
                                           "CBN_EDITCHANGE"}));
    EXPECT_TRUE(dialog->of(IDC_COMBO_EDIT).empty()) << "the dialog never hears of the inner edit";
    d.tab();
    EXPECT_EQ(dialog->of(kCombo).back(), "CBN_KILLFOCUS");
}

TEST_F(ComboTest, FocusOnTheComboGoesToItsEditWithTheTextSelectedAndIsReportedOnce)
{
    make(CBS_DROPDOWN);
    SendMessage(combo(), CB_SETCURSEL, 2);
    SetFocus(combo());
    EXPECT_EQ(GetFocus(), inner());
    EXPECT_EQ(SendMessage(combo(), CB_GETEDITSEL), MAKELPARAM(0, 5));
    SetFocus(inner());
    SetFocus(GetDlgItem(dialog->m_hWnd, kNext));
    EXPECT_EQ(dialog->of(kCombo), (Strings{"CBN_SETFOCUS", "CBN_KILLFOCUS"}));
}

TEST_F(ComboTest, TheProgramsChangesAreNotReportedButShowAtOnce)
{
    DialogDriver d = make(CBS_DROPDOWN);
    EXPECT_EQ(SendMessage(combo(), CB_SETCURSEL, 1), 1);
    EXPECT_EQ(d.text(kCombo), "beta");
    SetWindowText(combo(), "gamma");
    EXPECT_EQ(d.text(kCombo), "gamma");
    EXPECT_EQ(SendMessage(combo(), CB_GETCURSEL), 2) << "the text names an entry";
    EXPECT_EQ(SendMessage(combo(), CB_SETCURSEL, 7), CB_ERR);
    EXPECT_EQ(d.text(kCombo), "") << "no selection, no text";
    SendMessage(combo(), CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
    EXPECT_TRUE(dialog->journal.empty());
}

TEST_F(ComboTest, ADropDownListShowsItsSelectionAndAcceptsOnlyEntriesAsText)
{
    DialogDriver d = make(CBS_DROPDOWNLIST);
    EXPECT_EQ(GetDlgItem(combo(), IDC_COMBO_EDIT), nullptr);
    EXPECT_EQ(d.text(kCombo), "");
    EXPECT_EQ(SetWindowText(combo(), "nothing"), CB_ERR);
    EXPECT_EQ(SendMessage(combo(), CB_GETCURSEL), CB_ERR);
    EXPECT_TRUE(SetWindowText(combo(), "GAMMA"));
    EXPECT_EQ(d.text(kCombo), "Gamma");
    d.focus(kCombo).type("a");
    EXPECT_EQ(d.text(kCombo), "Alpha") << "typing jumps to the next entry with that letter";
    d.pressKey(VK_END);
    EXPECT_EQ(d.selectedIndex(kCombo), 2);
    EXPECT_EQ(dialog->of(kCombo), (Strings{"CBN_SETFOCUS", "CBN_SELCHANGE", "CBN_SELCHANGE"}));
}

TEST_F(ComboTest, ADropDownWindowIsAsHighAsItsFieldAndKeepsTheListHeight)
{
    make(CBS_DROPDOWNLIST);
    RECT client;
    GetClientRect(combo(), client);
    EXPECT_EQ(client.height(), SendMessage(combo(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)));
    RECT dropped;
    SendMessage(combo(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.height(), 195) << "120 dialog units of the 8-point font";
    MoveWindow(combo(), 5, 5, 150, 300);
    GetClientRect(combo(), client);
    SendMessage(combo(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(client.width(), 150);
    EXPECT_EQ(dropped.height(), 300);
}

TEST_F(ComboTest, SortingAndSearchingIgnoreCaseAndSearchesWrapFromTheStart)
{
    DialogDriver d = make(CBS_DROPDOWN | CBS_SORT, {"delta", "Alpha", "charlie", "Bravo", "älter"});
    EXPECT_EQ(d.items(kCombo), (Strings{"Alpha", "Bravo", "charlie", "delta", "älter"}));
    EXPECT_EQ(SendMessage(combo(), CB_FINDSTRING, static_cast<WPARAM>(-1), text("b")), 1);
    EXPECT_EQ(SendMessage(combo(), CB_FINDSTRING, 1, text("b")), 1) << "after the start, then round";
    EXPECT_EQ(SendMessage(combo(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text("ÄLTER")), 4);
    EXPECT_EQ(SendMessage(combo(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text("Alp")), CB_ERR);
    EXPECT_EQ(SendMessage(combo(), CB_FINDSTRING, static_cast<WPARAM>(-1), 0), CB_ERR);
    EXPECT_EQ(SendMessage(combo(), CB_SELECTSTRING, static_cast<WPARAM>(-1), text("CH")), 2);
    EXPECT_EQ(d.text(kCombo), "charlie");
    EXPECT_EQ(SendMessage(combo(), CB_INSERTSTRING, 0, text("zulu")), 0) << "inserting ignores the sort";
    EXPECT_EQ(SendMessage(combo(), CB_GETCURSEL), 3) << "the selection moves with its entry";
}

TEST_F(ComboTest, DeletingEntriesKeepsTheSelectionOnItsEntryOrDropsIt)
{
    DialogDriver d = make(CBS_DROPDOWNLIST);
    SendMessage(combo(), CB_SETITEMDATA, 2, 77);
    SendMessage(combo(), CB_SETCURSEL, 2);
    EXPECT_EQ(SendMessage(combo(), CB_DELETESTRING, 0), 2);
    EXPECT_EQ(SendMessage(combo(), CB_GETCURSEL), 1);
    EXPECT_EQ(SendMessage(combo(), CB_GETITEMDATA, 1), 77);
    EXPECT_EQ(SendMessage(combo(), CB_DELETESTRING, 1), 1);
    EXPECT_EQ(SendMessage(combo(), CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(d.text(kCombo), "");
    EXPECT_EQ(SendMessage(combo(), CB_DELETESTRING, 5), CB_ERR);
    EXPECT_EQ(SendMessage(combo(), CB_GETITEMDATA, 5), CB_ERR);
    EXPECT_EQ(SendMessage(combo(), CB_GETLBTEXTLEN, 5), CB_ERR);
    EXPECT_EQ(SendMessage(combo(), CB_GETLBTEXT, 0, 0), CB_ERR);
    SendMessage(combo(), CB_RESETCONTENT);
    EXPECT_EQ(SendMessage(combo(), CB_GETCOUNT), 0);
}

TEST_F(ComboTest, APickThatTheParentsRefillMakesImpossibleIsCancelled)
{
    DialogDriver d = make(CBS_DROPDOWNLIST);
    dialog->commandHook = [this](int id, WORD code) {
        if (id == kCombo && code == CBN_DROPDOWN) {
            SendMessage(combo(), CB_RESETCONTENT);
            SendMessage(combo(), CB_ADDSTRING, 0, text("only"));
        }
    };
    d.focus(kCombo);
    dialog->journal.clear();
    EXPECT_EQ(SendMessage(combo(), KXM_USER_PICK, 2), 0);
    EXPECT_EQ(dialog->of(kCombo), (Strings{"CBN_DROPDOWN", "CBN_SELENDCANCEL", "CBN_CLOSEUP"}));
    EXPECT_EQ(SendMessage(combo(), KXM_USER_PICK, 0), 1);
    EXPECT_EQ(d.text(kCombo), "only");
    EXPECT_EQ(SendMessage(combo(), KXM_USER_PICK, static_cast<WPARAM>(-1)), 0);
}

TEST_F(ComboTest, ArrowsInTheEditChooseEntriesAndEnterClosesAnOpenList)
{
    DialogDriver d = make(CBS_DROPDOWN);
    d.focus(kCombo).pressKey(VK_DOWN).pressKey(VK_DOWN);
    EXPECT_EQ(d.text(kCombo), "beta");
    EXPECT_EQ(d.selection(kCombo), std::make_pair(0, 4));
    d.pressKey(VK_F4);
    EXPECT_TRUE(SendMessage(combo(), CB_GETDROPPEDSTATE));
    d.pressKey(VK_RETURN);
    EXPECT_FALSE(SendMessage(combo(), CB_GETDROPPEDSTATE));
    EXPECT_TRUE(IsWindowVisible(dialog->m_hWnd)) << "Enter closed the list, not the dialog";
    EXPECT_EQ(dialog->of(kCombo), (Strings{"CBN_SETFOCUS", "CBN_SELCHANGE", "CBN_SELCHANGE", "CBN_DROPDOWN",
                                           "CBN_SELENDOK", "CBN_CLOSEUP"}));
}

TEST_F(ComboTest, ClickingTheFieldSelectsTextInTheEditAndTheArrowOpensTheList)
{
    DialogDriver d = make(CBS_DROPDOWN);
    SendMessage(combo(), CB_SETCURSEL, 2);
    d.drag(kCombo, POINT{6, 5}, POINT{18, 5});
    EXPECT_EQ(GetFocus(), inner());
    EXPECT_EQ(d.selection(kCombo), std::make_pair(1, 3));
    RECT r;
    GetClientRect(combo(), r);
    d.clickAt(kCombo, POINT{r.right - 5, 5});
    EXPECT_TRUE(SendMessage(combo(), CB_GETDROPPEDSTATE));
    d.tab();
    EXPECT_FALSE(SendMessage(combo(), CB_GETDROPPEDSTATE)) << "leaving the combo closes its list";
}

// --- List boxes ----------------------------------------------------------------------------------

class ListBoxTest : public kxwin::testing::ControlsTest {
protected:
    DialogDriver make(DWORD style)
    {
        dialog = &open({control(kNext, "Edit", "", ES_AUTOHSCROLL | WS_TABSTOP, 5, 140, 100, 14),
                        control(kList, "ListBox", "", style | WS_TABSTOP, 5, 5, 100, 80)});
        for (const char* e : {"one", "two", "three", "four"})
            SendMessage(list(), LB_ADDSTRING, 0, text(e));
        dialog->journal.clear();
        return driver(*dialog);
    }
    HWND list() const { return GetDlgItem(dialog->m_hWnd, kList); }
    std::vector<int> selected() const
    {
        int out[8] = {};
        const auto n = SendMessage(list(), LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(out));
        return std::vector<int>(out, out + std::max<LRESULT>(n, 0));
    }
    JournalDialog* dialog = nullptr;
};

TEST_F(ListBoxTest, WithoutNotifyThePersonsChoicesAreSilent)
{
    DialogDriver d = make(0);
    d.pick(kList, "three").pressKey(VK_UP);
    EXPECT_EQ(d.selectedIndex(kList), 1);
    EXPECT_EQ(dialog->of(kList), (Strings{"LBN_SETFOCUS"}));
    EXPECT_EQ(SendMessage(list(), LB_GETSELCOUNT), LB_ERR) << "a single-selection list has no count";
}

TEST_F(ListBoxTest, AMultipleSelectionListTogglesWhatIsPickedAndSpaceTogglesTheCaretItem)
{
    DialogDriver d = make(LBS_MULTIPLESEL | LBS_NOTIFY);
    d.pick(kList, 1).pick(kList, 3).pick(kList, 1);
    EXPECT_EQ(selected(), (std::vector<int>{3}));
    d.pressKey(VK_UP).pressKey(VK_SPACE);
    EXPECT_EQ(selected(), (std::vector<int>{0, 3})) << "the caret was on the last item picked";
    int one = -1;
    EXPECT_EQ(SendMessage(list(), LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&one)), 1) << "no more than asked";
    EXPECT_EQ(SendMessage(list(), LB_SETCURSEL, 0), LB_ERR);
    SendMessage(list(), LB_SETSEL, TRUE, -1);
    EXPECT_EQ(SendMessage(list(), LB_GETSELCOUNT), 4);
}

TEST_F(ListBoxTest, AnExtendedSelectionListWorksWithShiftAndCtrl)
{
    DialogDriver d = make(LBS_EXTENDEDSEL | LBS_NOTIFY);
    d.pick(kList, 0);
    SetKeyDown(VK_SHIFT, true);
    d.pick(kList, 2);
    SetKeyDown(VK_SHIFT, false);
    EXPECT_EQ(selected(), (std::vector<int>{0, 1, 2}));
    SetKeyDown(VK_CONTROL, true);
    d.pick(kList, 1);
    SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(selected(), (std::vector<int>{0, 2}));
    d.pick(kList, 3);
    EXPECT_EQ(selected(), (std::vector<int>{3}));
    d.pressKey(VK_UP, /*shift=*/true);
    EXPECT_EQ(selected(), (std::vector<int>{2, 3}));
}

TEST_F(ListBoxTest, ClickingRowsSelectsByPositionAndDeletingKeepsTheSelectionRight)
{
    DialogDriver d = make(LBS_NOTIFY);
    const int row = static_cast<int>(SendMessage(list(), LB_GETITEMHEIGHT));
    d.clickAt(kList, POINT{10, row * 2 + 2});
    EXPECT_EQ(d.selectedIndex(kList), 2);
    SendMessage(list(), LB_DELETESTRING, 0);
    EXPECT_EQ(d.selectedIndex(kList), 1);
    SendMessage(list(), LB_DELETESTRING, 1);
    EXPECT_EQ(d.selectedIndex(kList), LB_ERR);
    d.clickAt(kList, POINT{10, row * 10});
    EXPECT_EQ(d.selectedIndex(kList), LB_ERR) << "below the last row";
    EXPECT_EQ(dialog->of(kList), (Strings{"LBN_SETFOCUS", "LBN_SELCHANGE"}));
}

// --- List views ----------------------------------------------------------------------------------

class ListViewTest : public kxwin::testing::ControlsTest {
protected:
    DialogDriver make(DWORD style, int items = 4)
    {
        dialog = &open({control(kView, WC_LISTVIEW, "", style | WS_TABSTOP, 5, 5, 200, 120)});
        for (int i = 0; i < items; ++i) {
            const std::string name = "item " + std::to_string(i);
            LVITEM item;
            item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
            item.iItem = i;
            item.iImage = i;
            item.lParam = 100 + i;
            item.pszText = const_cast<char*>(name.c_str());
            SendMessage(view(), LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
        }
        dialog->journal.clear();
        return driver(*dialog);
    }
    HWND view() const { return GetDlgItem(dialog->m_hWnd, kView); }
    void setState(int index, UINT state, UINT mask)
    {
        LVITEM item;
        item.state = state;
        item.stateMask = mask;
        SendMessage(view(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    std::vector<int> selected() const
    {
        std::vector<int> out;
        for (LRESULT i = -1; (i = SendMessage(view(), LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED)) >= 0;)
            out.push_back(static_cast<int>(i));
        return out;
    }
    JournalDialog* dialog = nullptr;
};

TEST_F(ListViewTest, ASingleSelectionViewKeepsOneSelectedAndOneFocusedItem)
{
    make(LVS_REPORT | LVS_SINGLESEL);
    setState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    setState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(selected(), (std::vector<int>{3}));
    EXPECT_EQ(SendMessage(view(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 3);
    EXPECT_EQ(SendMessage(view(), LVM_GETSELECTEDCOUNT), 1);
}

TEST_F(ListViewTest, TheOwnerMayRefuseAChangeAndHearsOfEveryOneItAllows)
{
    DialogDriver d = make(LVS_REPORT);
    std::vector<std::string> changes;
    dialog->notifyHook = [&](NMHDR& header) -> LRESULT {
        auto& nm = reinterpret_cast<NMLISTVIEW&>(header);
        if (header.code == LVN_ITEMCHANGING)
            return nm.iItem == 2 ? TRUE : FALSE;  // item 2 stays as it is
        if (header.code == LVN_ITEMCHANGED)
            changes.push_back(std::to_string(nm.iItem) + ":" + std::to_string(nm.uOldState) + ">" +
                              std::to_string(nm.uNewState) + " data " + std::to_string(nm.lParam));
        return 0;
    };
    d.pick(kView, 1);
    d.pick(kView, 2);
    EXPECT_EQ(selected(), (std::vector<int>{}));
    EXPECT_EQ(changes, (Strings{"1:0>3 data 101", "1:3>1 data 101", "1:1>0 data 101"}))
        << "item 1 let its selection and focus go; item 2 refused both";
}

TEST_F(ListViewTest, TextsOfItemsAndSubItemsReadBackWithoutOverrunningTheBuffer)
{
    make(LVS_REPORT);
    LVITEM sub;
    sub.iSubItem = 2;
    sub.pszText = const_cast<char*>("größer");
    EXPECT_TRUE(SendMessage(view(), LVM_SETITEMTEXT, 1, reinterpret_cast<LPARAM>(&sub)));
    char buffer[6] = {'#', '#', '#', '#', '#', '#'};
    LVITEM read;
    read.iSubItem = 2;
    read.pszText = buffer;
    read.cchTextMax = 5;
    EXPECT_EQ(SendMessage(view(), LVM_GETITEMTEXT, 1, reinterpret_cast<LPARAM>(&read)), 4);
    EXPECT_STREQ(buffer, "grö");
    EXPECT_EQ(buffer[5], '#');
    read.iSubItem = 1;
    read.cchTextMax = 6;
    EXPECT_EQ(SendMessage(view(), LVM_GETITEMTEXT, 1, reinterpret_cast<LPARAM>(&read)), 0) << "never set: empty";
    read.mask = LVIF_PARAM | LVIF_IMAGE;
    read.iItem = 3;
    read.iSubItem = 0;
    EXPECT_TRUE(SendMessage(view(), LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&read)));
    EXPECT_EQ(read.lParam, 103);
    EXPECT_EQ(read.iImage, 3);
    read.iItem = 9;
    EXPECT_FALSE(SendMessage(view(), LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&read)));
}

TEST_F(ListViewTest, TheOwnerHearsOfEveryDeletedItemAlsoWhenTheWindowCloses)
{
    make(LVS_ICON, 3);
    std::vector<LPARAM> freed;
    dialog->notifyHook = [&](NMHDR& header) -> LRESULT {
        if (header.code == LVN_DELETEITEM)
            freed.push_back(reinterpret_cast<NMLISTVIEW&>(header).lParam);
        return 0;
    };
    EXPECT_TRUE(SendMessage(view(), LVM_DELETEITEM, 1));
    EXPECT_FALSE(SendMessage(view(), LVM_DELETEITEM, 5));
    EXPECT_EQ(freed, (std::vector<LPARAM>{101}));
    DestroyWindow(view());
    EXPECT_EQ(freed, (std::vector<LPARAM>{101, 100, 102}));
}

int byParamDescending(LPARAM a, LPARAM b, LPARAM)
{
    return a > b ? -1 : (a < b ? 1 : 0);
}

int contradictory(LPARAM, LPARAM, LPARAM)
{
    return -1;  // "less" both ways: a broken owner's compare function
}

TEST_F(ListViewTest, SortingFollowsTheOwnersCompareAndSurvivesAContradictoryOne)
{
    DialogDriver d = make(LVS_REPORT, 5);
    EXPECT_TRUE(SendMessage(view(), LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&byParamDescending)));
    EXPECT_EQ(d.items(kView), (Strings{"item 4", "item 3", "item 2", "item 1", "item 0"}));
    EXPECT_TRUE(SendMessage(view(), LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&contradictory)));
    EXPECT_EQ(d.items(kView).size(), 5u);
    EXPECT_FALSE(SendMessage(view(), LVM_SORTITEMS, 0, 0));
}

TEST_F(ListViewTest, IconCellsAreHitWhereTheyAreDrawnAndFollowTheSpacing)
{
    DialogDriver d = make(LVS_ICON, 6);
    SendMessage(view(), LVM_SETICONSPACING, 0, MAKELPARAM(100, 90));
    RECT cell;
    cell.left = LVIR_BOUNDS;
    SendMessage(view(), LVM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(cell, (RECT{100, 90, 200, 180})) << "300 pixels wide: three cells a row";
    LVHITTESTINFO hit;
    hit.pt = POINT{150, 100};
    EXPECT_EQ(SendMessage(view(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 4);
    EXPECT_EQ(hit.flags, LVHT_ONITEMICON);
    d.clickAt(kView, POINT{150, 170});
    EXPECT_EQ(selected(), (std::vector<int>{4}));
    d.pressKey(VK_UP);
    EXPECT_EQ(selected(), (std::vector<int>{1})) << "Up goes one row of cells up";
    d.clickAt(kView, POINT{299, 200});
    EXPECT_EQ(selected(), (std::vector<int>{})) << "a click on no item clears the selection";
}

TEST_F(ListViewTest, CheckBoxesToggleThroughTheStateImage)
{
    DialogDriver d = make(LVS_REPORT);
    SendMessage(view(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    EXPECT_EQ(SendMessage(view(), LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
    d.toggleItem(kView, 2);
    EXPECT_EQ(SendMessage(view(), LVM_GETITEMSTATE, 2, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
    d.toggleItem(kView, 2);
    EXPECT_EQ(SendMessage(view(), LVM_GETITEMSTATE, 2, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
}

TEST_F(ListViewTest, ARightClickSelectsReportsAndOffersTheContextMenuUnlessTheOwnerTookIt)
{
    DialogDriver d = make(LVS_REPORT);
    RECT row;
    row.left = LVIR_BOUNDS;
    SendMessage(view(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    d.rightClick(kView, POINT{10, row.top + 2});
    EXPECT_EQ(selected(), (std::vector<int>{2}));
    Strings events = dialog->of(kView);
    EXPECT_EQ(Strings(events.end() - 2, events.end()), (Strings{"NM_RCLICK", "WM_CONTEXTMENU"}));
    dialog->journal.clear();
    dialog->notifyHook = [](NMHDR& header) -> LRESULT { return header.code == NM_RCLICK ? TRUE : FALSE; };
    d.rightClick(kView, POINT{10, row.top + 2});
    EXPECT_EQ(dialog->of(kView), (Strings{"NM_RCLICK"}));
}

// --- Tab controls --------------------------------------------------------------------------------

class TabTest : public kxwin::testing::ControlsTest {
protected:
    DialogDriver make(std::vector<std::string> titles)
    {
        dialog = &open({control(kTabs, WC_TABCONTROL, "", WS_TABSTOP, 5, 5, 200, 100)});
        for (size_t i = 0; i < titles.size(); ++i) {
            TCITEM tab;
            tab.mask = TCIF_TEXT | TCIF_PARAM;
            tab.pszText = const_cast<char*>(titles[i].c_str());
            tab.lParam = static_cast<LPARAM>(i + 50);
            SendMessage(tabs(), TCM_INSERTITEM, i, reinterpret_cast<LPARAM>(&tab));
        }
        dialog->journal.clear();
        return driver(*dialog);
    }
    HWND tabs() const { return GetDlgItem(dialog->m_hWnd, kTabs); }
    JournalDialog* dialog = nullptr;
};

TEST_F(TabTest, TheFirstTabIsCurrentAndTheProgramsChoiceIsSilent)
{
    DialogDriver d = make({"Bolts", "Welds", "Holes"});
    EXPECT_EQ(d.selectedIndex(kTabs), 0);
    EXPECT_EQ(SendMessage(tabs(), TCM_SETCURSEL, 2), 0);
    EXPECT_EQ(SendMessage(tabs(), TCM_SETCURSEL, 9), -1);
    EXPECT_TRUE(dialog->journal.empty());
    SendMessage(tabs(), TCM_DELETEITEM, 0);
    EXPECT_EQ(d.selectedIndex(kTabs), 1) << "the current tab keeps its place";
    SendMessage(tabs(), TCM_DELETEITEM, 1);
    EXPECT_EQ(d.selectedIndex(kTabs), -1);
}

TEST_F(TabTest, ClickingATabSwitchesAndThePageAreaLiesBelowTheStrip)
{
    DialogDriver d = make({"Bolts", "Welds"});
    RECT second;
    SendMessage(tabs(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    d.clickAt(kTabs, POINT{(second.left + second.right) / 2, second.bottom / 2});
    EXPECT_EQ(d.selectedIndex(kTabs), 1);
    EXPECT_EQ(dialog->of(kTabs), (Strings{"TCN_SELCHANGING", "TCN_SELCHANGE", "NM_CLICK"}));
    RECT area;
    GetClientRect(tabs(), area);
    const RECT whole = area;
    SendMessage(tabs(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    EXPECT_GE(area.top, second.bottom);
    EXPECT_LT(area.bottom, whole.bottom);
    SendMessage(tabs(), TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&area));
    EXPECT_EQ(area, whole);
}

TEST_F(TabTest, ItemTextsReadBackCutAtACharacterAndWithTheirData)
{
    make({"Schweißnähte"});
    char buffer[8] = {};
    TCITEM tab;
    tab.mask = TCIF_TEXT | TCIF_PARAM;
    tab.pszText = buffer;
    tab.cchTextMax = 7;
    EXPECT_TRUE(SendMessage(tabs(), TCM_GETITEM, 0, reinterpret_cast<LPARAM>(&tab)));
    EXPECT_STREQ(buffer, "Schwei") << "ß would need two of the last bytes";
    EXPECT_EQ(tab.lParam, 50);
    EXPECT_FALSE(SendMessage(tabs(), TCM_GETITEM, 3, reinterpret_cast<LPARAM>(&tab)));
    EXPECT_EQ(SendMessage(tabs(), TCM_INSERTITEM, 0, 0), -1);
}

// --- Tooltips ------------------------------------------------------------------------------------

class TooltipTest : public kxwin::testing::ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        dialog = &open({control(kNext, "Button", "Go", BS_PUSHBUTTON | WS_TABSTOP, 5, 5, 50, 14),
                        control(kList, "Static", "", SS_LEFT, 60, 5, 50, 30)});
        tips = CreateWindowEx(0, TOOLTIPS_CLASS, "", WS_POPUP, 0, 0, 0, 0, dialog->m_hWnd, 0);
    }
    TOOLINFO tool(UINT flags, UINT_PTR id, const char* text)
    {
        TOOLINFO t;
        t.uFlags = flags;
        t.hwnd = dialog->m_hWnd;
        t.uId = id;
        t.lpszText = const_cast<char*>(text);
        return t;
    }
    UINT_PTR idOf(int control) const { return reinterpret_cast<UINT_PTR>(GetDlgItem(dialog->m_hWnd, control)); }
    HWND item(int control) const { return GetDlgItem(dialog->m_hWnd, control); }
    LRESULT send(UINT message, TOOLINFO& t, WPARAM wParam = 0)
    {
        return SendMessage(tips, message, wParam, reinterpret_cast<LPARAM>(&t));
    }
    JournalDialog* dialog = nullptr;
    HWND tips = nullptr;
};

TEST_F(TooltipTest, ToolsAreKeyedByWindowAndIdAndCanBeUpdatedRemovedOrSilenced)
{
    TOOLINFO go = tool(TTF_IDISHWND | TTF_SUBCLASS, idOf(kNext), "Run the check");
    EXPECT_TRUE(send(TTM_ADDTOOL, go));
    EXPECT_EQ(kxwin::tooltipTextFor(item(kNext)), "Run the check");
    go.lpszText = const_cast<char*>("Run it again");
    send(TTM_UPDATETIPTEXT, go);
    send(TTM_ADDTOOL, go);
    EXPECT_EQ(SendMessage(tips, TTM_GETTOOLCOUNT), 1) << "adding the same key again replaces";
    char buffer[6] = {};
    TOOLINFO read = tool(0, idOf(kNext), nullptr);
    read.hwnd = dialog->m_hWnd;
    read.uFlags = TTF_IDISHWND;
    read.lpszText = buffer;
    send(TTM_GETTEXT, read, sizeof buffer);
    EXPECT_STREQ(buffer, "Run i");
    SendMessage(tips, TTM_ACTIVATE, FALSE);
    EXPECT_EQ(kxwin::tooltipTextFor(item(kNext)), "");
    SendMessage(tips, TTM_ACTIVATE, TRUE);
    send(TTM_DELTOOL, go);
    EXPECT_EQ(kxwin::tooltipTextFor(item(kNext)), "");
}

TEST_F(TooltipTest, ACallbackTextIsAskedForEachTimeAndRectangleToolsAnswerByPoint)
{
    int asked = 0;
    dialog->notifyHook = [&](NMHDR& header) -> LRESULT {
        if (header.code == TTN_GETDISPINFO) {
            auto& info = reinterpret_cast<NMTTDISPINFO&>(header);
            std::snprintf(info.szText, sizeof info.szText, "asked %d", ++asked);
        }
        return 0;
    };
    TOOLINFO dynamic = tool(TTF_IDISHWND, idOf(kNext), nullptr);
    dynamic.lpszText = LPSTR_TEXTCALLBACK;
    send(TTM_ADDTOOL, dynamic);
    EXPECT_EQ(kxwin::tooltipTextFor(item(kNext)), "asked 1");
    EXPECT_EQ(kxwin::tooltipTextFor(item(kNext)), "asked 2");
    TOOLINFO left = tool(0, 1, "left half");
    left.hwnd = item(kList);
    left.rect = RECT{0, 0, 30, 40};
    send(TTM_ADDTOOL, left);
    EXPECT_EQ(kxwin::tooltipTextAt(item(kList), POINT{10, 10}), "left half");
    EXPECT_EQ(kxwin::tooltipTextAt(item(kList), POINT{60, 10}), "");
}

TEST_F(TooltipTest, ToolsGoWithTheirTooltipWindow)
{
    TOOLINFO go = tool(TTF_IDISHWND, idOf(kNext), "Go");
    send(TTM_ADDTOOL, go);
    DestroyWindow(tips);
    EXPECT_EQ(kxwin::tooltipTextFor(item(kNext)), "");
    EXPECT_EQ(kxwin::tooltipTextFor(nullptr), "");
}

// --- Buttons -------------------------------------------------------------------------------------

class ButtonTest : public kxwin::testing::ControlsTest {
protected:
    HWND make(DWORD style)
    {
        dialog = &open({control(kList, "Edit", "", ES_AUTOHSCROLL | WS_TABSTOP, 5, 40, 50, 14),
                        control(kNext, "Button", "b", style | WS_TABSTOP, 5, 5, 50, 14)});
        return GetDlgItem(dialog->m_hWnd, kNext);
    }
    JournalDialog* dialog = nullptr;
};

TEST_F(ButtonTest, ATwoStateBoxShowsIndeterminateAsCheckedAndATypeChangeKeepsTheRule)
{
    HWND box = make(BS_AUTOCHECKBOX);
    SendMessage(box, BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(SendMessage(box, BM_GETCHECK), BST_CHECKED);
    SendMessage(box, BM_SETSTYLE, BS_AUTO3STATE, TRUE);
    SendMessage(box, BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(SendMessage(box, BM_GETCHECK), BST_INDETERMINATE);
    SendMessage(box, BM_SETSTYLE, BS_AUTOCHECKBOX, TRUE);
    EXPECT_EQ(SendMessage(box, BM_GETCHECK), BST_CHECKED);
    EXPECT_TRUE(GetWindowLong(box, GWL_STYLE) & WS_TABSTOP) << "BM_SETSTYLE keeps the window styles";
}

TEST_F(ButtonTest, SpaceClicksOnReleaseAndAPushButtonHasNoCheck)
{
    HWND button = make(BS_PUSHBUTTON);
    DialogDriver d = driver(*dialog);
    d.focus(kNext);
    kxwin::sendUserInput(button, WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(SendMessage(button, BM_GETSTATE) & BST_PUSHED, BST_PUSHED);
    EXPECT_TRUE(dialog->of(kNext).empty());
    kxwin::sendUserInput(button, WM_KEYUP, VK_SPACE, 1);
    EXPECT_EQ(dialog->of(kNext), (Strings{"BN_CLICKED"}));
    SendMessage(button, BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(SendMessage(button, BM_GETCHECK), BST_UNCHECKED);
}

TEST_F(ButtonTest, APictureButtonKeepsTheHandlesItIsGiven)
{
    HWND button = make(BS_PUSHBUTTON | BS_ICON);
    auto* icon = reinterpret_cast<HICON>(0x1234);
    auto* other = reinterpret_cast<HICON>(0x5678);
    EXPECT_EQ(SendMessage(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)), 0);
    EXPECT_EQ(SendMessage(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(other)),
              reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(SendMessage(button, BM_GETIMAGE, IMAGE_ICON), reinterpret_cast<LRESULT>(other));
    EXPECT_EQ(SendMessage(button, BM_GETIMAGE, IMAGE_BITMAP), 0);
}

TEST_F(ButtonTest, BmClickPressesLikeAPersonAndTellsTheParent)
{
    HWND box = make(BS_AUTOCHECKBOX | BS_NOTIFY);
    SendMessage(box, BM_CLICK);
    EXPECT_EQ(SendMessage(box, BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(GetFocus(), box);
    EXPECT_EQ(dialog->of(kNext), (Strings{"BN_SETFOCUS", "BN_CLICKED"}));
}

} // namespace
