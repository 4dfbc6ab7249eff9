// One dialog with every kind of standard control, run modally and driven as a person would: what
// the person sees, which notifications the dialog got, and what reached the dialog's data.
#include "platform/win/tests/ControlsTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kxwin::DialogDriver;
using kxwin::testing::control;
using kxwin::testing::JournalDialog;
using Strings = std::vector<std::string>;

constexpr int kProfileDialog = 4300;
enum : int {
    kNameLabel = 100,
    kName = 101,
    kNotes = 102,
    kRemark = 103,
    kBolts = 110,
    kLock = 111,
    kSideFrame = 120,
    kLeft = 121,
    kMiddle = 122,
    kRight = 123,
    kProfile = 130,
    kGrade = 131,
    kShapes = 140,
    kPages = 150,
    kMarks = 160,
    kStatus = 170,
    kPicture = 180,
};

DialogTemplate profileTemplate()
{
    DialogTemplate t = kxwin::testing::dialogTemplate(
        kProfileDialog,
        {
            control(kNameLabel, "Static", "&Name:", SS_LEFT, 7, 7, 40, 10),
            control(kName, "Edit", "", ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, 50, 5, 120, 14),
            control(kNotes, "Edit", "", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP, 50, 22, 120, 30),
            control(kRemark, "Edit", "", ES_MULTILINE | ES_AUTOVSCROLL | WS_TABSTOP, 50, 55, 120, 30),
            control(kBolts, "Button", "Include bolts", BS_AUTO3STATE | WS_TABSTOP, 180, 5, 100, 10),
            control(kLock, "Button", "Lock", BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP, 180, 18, 50, 14),
            control(kSideFrame, "Button", "Side", BS_GROUPBOX | WS_TABSTOP, 180, 35, 100, 50),
            control(kLeft, "Button", "Left", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 185, 45, 60, 10),
            control(kMiddle, "Button", "Middle", BS_AUTORADIOBUTTON, 185, 57, 60, 10),
            control(kRight, "Button", "Right", BS_AUTORADIOBUTTON, 185, 69, 60, 10),
            control(kProfile, "ComboBox", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_GROUP | WS_TABSTOP, 7,
                    90, 100, 120),
            control(kGrade, "ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 110, 90, 100, 120),
            control(kShapes, "ListBox", "", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP | WS_BORDER, 7, 108, 100, 60),
            control(kPages, WC_TABCONTROL, "", WS_TABSTOP, 110, 108, 200, 60),
            control(kMarks, WC_LISTVIEW, "", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, 7, 170, 200,
                    50),
            control(kStatus, RICHEDIT_CLASS, "", ES_MULTILINE | ES_READONLY, 210, 170, 100, 40),
            control(kPicture, "Static", "", SS_ICON | SS_NOTIFY, 290, 5, 20, 20),
            control(IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 200, 222, 50, 14),
            control(IDCANCEL, "Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 255, 222, 50, 14),
        });
    t.title = "Profile";
    return t;
}

struct ProfileData {
    std::string name;
    std::string notes;
    int bolts = 0;
    bool locked = false;
    int side = -1;
    std::string profile;
    int grade = -1;
    int shape = -1;
    int page = -1;
    int mark = -1;
};

void addColumn(HWND list, int index, const char* title, int width)
{
    LVCOLUMN column;
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(title);
    column.cx = width;
    SendMessage(list, LVM_INSERTCOLUMN, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void addRow(HWND list, int index, const char* mark, const char* count)
{
    LVITEM item;
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(mark);
    item.lParam = 1000 + index;
    SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
    item.mask = LVIF_TEXT;
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(count);
    SendMessage(list, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
}

void addTab(HWND tabs, int index, const char* title)
{
    TCITEM tab;
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(title);
    SendMessage(tabs, TCM_INSERTITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
}

// The dialog under test, written as the module's dialogs are: fill in OnInitDialog, read back in
// OnOK, refuse to leave the first page while the name is empty.
class ProfileDialog : public JournalDialog {
public:
    ProfileDialog() : JournalDialog(kProfileDialog)
    {
        notifyHook = [this](NMHDR& header) -> LRESULT {
            if (header.code == TCN_SELCHANGING)
                return GetDlgItemText(kName).empty() ? TRUE : FALSE;
            if (header.code == NM_CLICK || header.code == NM_DBLCLK)
                activations.push_back(reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
            if (header.code == LVN_KEYDOWN)
                keys.push_back(reinterpret_cast<NMLVKEYDOWN&>(header).wVKey);
            if (header.code == TTN_GETDISPINFO)
                reinterpret_cast<NMTTDISPINFO&>(header).lpszText = const_cast<char*>("Save the profile");
            return 0;
        };
    }

    ProfileData data;
    std::vector<int> activations;
    std::vector<WORD> keys;

protected:
    BOOL OnInitDialog() override
    {
        for (const char* p : {"HEA 200", "HEB 200", "IPE 200"})
            SendDlgItemMessage(m_hWnd, kProfile, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p));
        for (const char* g : {"S235", "S275", "S355"})
            SendDlgItemMessage(m_hWnd, kGrade, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g));
        SendDlgItemMessage(m_hWnd, kGrade, CB_SETCURSEL, 0);
        for (const char* s : {"Plate", "Angle", "Channel"})
            SendDlgItemMessage(m_hWnd, kShapes, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        addTab(GetDlgItem(kPages), 0, "General");
        addTab(GetDlgItem(kPages), 1, "Holes");
        HWND marks = GetDlgItem(kMarks);
        addColumn(marks, 0, "Mark", 60);
        addColumn(marks, 1, "Count", 40);
        addRow(marks, 0, "A1", "2");
        addRow(marks, 1, "B7", "4");
        addRow(marks, 2, "C3", "1");
        showStatus();
        addTips();
        return JournalDialog::OnInitDialog();
    }

    void OnOK() override
    {
        data.name = GetDlgItemText(kName);
        data.notes = GetDlgItemText(kNotes);
        data.bolts = IsDlgButtonChecked(kBolts);
        data.locked = IsDlgButtonChecked(kLock) == BST_CHECKED;
        for (int id = kLeft; id <= kRight; ++id) {
            if (IsDlgButtonChecked(id))
                data.side = id - kLeft;
        }
        data.profile = GetDlgItemText(kProfile);
        data.grade = static_cast<int>(SendDlgItemMessage(m_hWnd, kGrade, CB_GETCURSEL));
        data.shape = static_cast<int>(SendDlgItemMessage(m_hWnd, kShapes, LB_GETCURSEL));
        data.page = static_cast<int>(SendDlgItemMessage(m_hWnd, kPages, TCM_GETCURSEL));
        data.mark = static_cast<int>(
            SendDlgItemMessage(m_hWnd, kMarks, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        JournalDialog::OnOK();
    }

private:
    void showStatus()
    {
        HWND status = GetDlgItem(kStatus);
        ::SetWindowText(status, "Status: ready");
        CHARFORMAT bold;
        bold.dwMask = CFM_BOLD | CFM_COLOR;
        bold.dwEffects = CFE_BOLD;
        bold.crTextColor = RGB(0, 128, 0);
        ::SendMessage(status, EM_SETSEL, 8, -1);
        ::SendMessage(status, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold));
        ::SendMessage(status, EM_SETSEL, 0, 0);
    }

    void addTips()
    {
        m_tips = CreateWindowEx(0, TOOLTIPS_CLASS, "", WS_POPUP, 0, 0, 0, 0, m_hWnd, 0);
        TOOLINFO tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_hWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(kPicture));
        tool.lpszText = const_cast<char*>("Profile picture");
        ::SendMessage(m_tips, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&tool));
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(IDOK));
        tool.lpszText = LPSTR_TEXTCALLBACK;
        ::SendMessage(m_tips, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&tool));
    }

    HWND m_tips = nullptr;
};

class ProfileDialogTest : public kxwin::testing::ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        kxwin::addDialogTemplate(module, profileTemplate());
    }
    // Runs the dialog with the script; returns how it ended.
    INT_PTR run(const std::function<void(DialogDriver&)>& script)
    {
        agent.onDialog(kProfileDialog, script);
        return dialog.DoModal();
    }
    ProfileDialog dialog;
};

TEST_F(ProfileDialogTest, TypingANameAndLeavingTheFieldNotifiesEachChangeAndReachesTheData)
{
    const INT_PTR result = run([](DialogDriver& d) {
        EXPECT_EQ(GetFocus(), d.item(kName)) << "the first tab stop has the focus";
        d.type("IPE");
        d.tab();
        EXPECT_EQ(GetFocus(), d.item(kNotes));
        d.ok();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.data.name, "IPE");
    EXPECT_EQ(dialog.of(kName), (Strings{"EN_SETFOCUS", "EN_UPDATE", "EN_CHANGE", "EN_UPDATE", "EN_CHANGE",
                                         "EN_UPDATE", "EN_CHANGE", "EN_KILLFOCUS"}));
}

TEST_F(ProfileDialogTest, ThreeStateBoxCyclesThroughIndeterminateAndThePushLikeButtonStaysIn)
{
    std::vector<int> seen;
    run([&](DialogDriver& d) {
        for (int i = 0; i < 3; ++i) {
            d.click(kBolts);
            seen.push_back(d.checkState(kBolts));
        }
        d.setCheck(kBolts, BST_INDETERMINATE);
        d.click(kLock);
        EXPECT_EQ(SendMessage(d.item(kLock), BM_GETSTATE) & (BST_CHECKED | BST_PUSHED), BST_CHECKED)
            << "checked and no longer pressed after the release";
        d.ok();
    });
    EXPECT_EQ(seen, (std::vector<int>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}));
    EXPECT_EQ(dialog.of(kBolts), Strings(5, "BN_CLICKED"));
    EXPECT_EQ(dialog.data.bolts, BST_INDETERMINATE);
    EXPECT_TRUE(dialog.data.locked);
}

TEST_F(ProfileDialogTest, ArrowsMoveTheRadioCheckWithinItsGroupAndTabComesBackToTheCheckedOne)
{
    run([](DialogDriver& d) {
        d.click(kLeft);
        d.pressKey(VK_DOWN);
        EXPECT_EQ(GetFocus(), d.item(kMiddle));
        EXPECT_EQ(d.checkState(kMiddle), BST_CHECKED);
        EXPECT_EQ(d.checkState(kLeft), BST_UNCHECKED);
        d.pressKey(VK_DOWN).pressKey(VK_DOWN);
        EXPECT_EQ(d.checkState(kLeft), BST_CHECKED) << "the arrows wrap round the group";
        d.pressKey(VK_UP);
        EXPECT_EQ(d.checkState(kRight), BST_CHECKED);
        d.tab();
        EXPECT_EQ(GetParent(GetFocus()), d.item(kProfile)) << "the combo box's edit after the group";
        d.tab(/*back=*/true);
        EXPECT_EQ(GetFocus(), d.item(kRight)) << "Shift+Tab lands on the checked radio button";
        d.ok();
    });
    EXPECT_EQ(dialog.data.side, 2);
}

TEST_F(ProfileDialogTest, TheGroupBoxIsNeverATabStop)
{
    run([](DialogDriver& d) {
        std::vector<HWND> visited;
        for (int i = 0; i < 20; ++i) {
            visited.push_back(GetFocus());
            d.tab();
        }
        EXPECT_EQ(std::count(visited.begin(), visited.end(), d.item(kSideFrame)), 0);
        EXPECT_EQ(std::count(visited.begin(), visited.end(), d.item(kNameLabel)), 0);
        EXPECT_EQ(std::count(visited.begin(), visited.end(), d.item(kPicture)), 0);
        d.cancel();
    });
}

TEST_F(ProfileDialogTest, EnterMakesANewLineOnlyWhereTheEditWantsItAndElsewherePressesTheDefaultButton)
{
    const INT_PTR result = run([](DialogDriver& d) {
        d.focus(kNotes).type("a").pressKey(VK_RETURN).type("b");
        EXPECT_EQ(d.text(kNotes), "a\r\nb");
        EXPECT_TRUE(d.isOpen());
        d.focus(kRemark).type("x").pressKey(VK_RETURN, /*shift=*/false, /*ctrl=*/true);
        EXPECT_EQ(d.text(kRemark), "x\r\n") << "Ctrl+Enter always makes a new line";
        EXPECT_TRUE(d.isOpen());
        d.pressKey(VK_RETURN);
        EXPECT_FALSE(d.isOpen()) << "Enter in an edit without ES_WANTRETURN presses OK";
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.data.notes, "a\r\nb");
}

TEST_F(ProfileDialogTest, EnterOnAFocusedPushButtonPressesThatButton)
{
    EXPECT_EQ(run([](DialogDriver& d) { d.focus(IDCANCEL).pressKey(VK_RETURN); }), IDCANCEL);
}

TEST_F(ProfileDialogTest, PickingAProfileNotifiesInTheFrameworksOrderWithTheNewTextAlreadyShown)
{
    std::string textAtSelChange;
    dialog.commandHook = [&](int id, WORD code) {
        if (id == kProfile && code == CBN_SELCHANGE)
            textAtSelChange = dialog.GetDlgItemText(kProfile);
    };
    run([](DialogDriver& d) {
        d.pick(kProfile, "HEB 200");
        EXPECT_EQ(d.text(kProfile), "HEB 200");
        EXPECT_EQ(d.selection(kProfile), std::make_pair(0, 7)) << "the chosen text is selected in the edit";
        d.focus(kGrade).pressKey(VK_DOWN);
        EXPECT_EQ(d.text(kGrade), "S275");
        d.ok();
    });
    EXPECT_EQ(dialog.of(kProfile), (Strings{"CBN_SETFOCUS", "CBN_DROPDOWN", "CBN_SELCHANGE", "CBN_SELENDOK",
                                            "CBN_CLOSEUP", "CBN_KILLFOCUS"}));
    EXPECT_EQ(textAtSelChange, "HEB 200");
    EXPECT_EQ(dialog.of(kGrade), (Strings{"CBN_SETFOCUS", "CBN_SELCHANGE", "CBN_KILLFOCUS"}));
    EXPECT_EQ(dialog.data.profile, "HEB 200");
    EXPECT_EQ(dialog.data.grade, 1);
}

TEST_F(ProfileDialogTest, TypingAProfileThatIsInTheListSelectsItWithoutASelectionChange)
{
    run([](DialogDriver& d) {
        d.setText(kProfile, "ipe 200");
        EXPECT_EQ(d.selectedIndex(kProfile), 2) << "entries match without regard to case";
        d.type("x");
        EXPECT_EQ(d.selectedIndex(kProfile), -1);
        d.ok();
    });
    const Strings events = dialog.of(kProfile);
    EXPECT_EQ(std::count(events.begin(), events.end(), "CBN_EDITCHANGE"), 8);
    EXPECT_EQ(std::count(events.begin(), events.end(), "CBN_EDITUPDATE"), 8);
    EXPECT_EQ(std::count(events.begin(), events.end(), "CBN_SELCHANGE"), 0);
    EXPECT_EQ(dialog.data.profile, "ipe 200x");
}

TEST_F(ProfileDialogTest, DoubleClickingAListEntrySelectsItThenReportsTheDoubleClick)
{
    run([](DialogDriver& d) {
        d.doubleClickItem(kShapes, 2);
        EXPECT_EQ(d.selectedIndex(kShapes), 2);
        d.ok();
    });
    EXPECT_EQ(dialog.of(kShapes), (Strings{"LBN_SETFOCUS", "LBN_SELCHANGE", "LBN_DBLCLK", "LBN_KILLFOCUS"}));
    EXPECT_EQ(dialog.data.shape, 2);
}

TEST_F(ProfileDialogTest, SwitchingTabsAsksTheDialogWhichKeepsThePageWhileTheNameIsMissing)
{
    run([](DialogDriver& d) {
        d.pick(kPages, "Holes");
        EXPECT_EQ(d.selectedIndex(kPages), 0) << "refused: no name yet";
        d.setText(kName, "IPE 200");
        d.pick(kPages, "Holes");
        EXPECT_EQ(d.selectedIndex(kPages), 1);
        d.pressKey(VK_LEFT);
        EXPECT_EQ(d.selectedIndex(kPages), 0) << "arrows on the focused tab control switch pages";
        d.ok();
    });
    const Strings events = dialog.of(kPages);
    EXPECT_EQ(events, (Strings{"NM_SETFOCUS", "TCN_SELCHANGING", "NM_KILLFOCUS", "NM_SETFOCUS", "TCN_SELCHANGING",
                               "TCN_SELCHANGE", "TCN_SELCHANGING", "TCN_SELCHANGE", "NM_KILLFOCUS"}));
    EXPECT_EQ(dialog.data.page, 0);
}

TEST_F(ProfileDialogTest, ListViewReportsSelectionClicksDoubleClicksAndKeysWithTheItem)
{
    run([](DialogDriver& d) {
        EXPECT_EQ(d.items(kMarks), (Strings{"A1", "B7", "C3"}));
        d.pick(kMarks, "B7");
        d.doubleClickItem(kMarks, 2);
        d.pressKey(VK_UP);
        EXPECT_EQ(d.selectedIndex(kMarks), 1);
        d.ok();
    });
    EXPECT_EQ(dialog.activations, (std::vector<int>{1, 2, 2}));
    EXPECT_EQ(dialog.keys, (std::vector<WORD>{VK_UP}));
    EXPECT_EQ(dialog.data.mark, 1);
    const Strings events = dialog.of(kMarks);
    EXPECT_EQ(std::count(events.begin(), events.end(), "LVN_ITEMACTIVATE"), 1);
    EXPECT_EQ(std::find(events.begin(), events.end(), "LVN_ITEMCHANGED") <
                  std::find(events.begin(), events.end(), "NM_CLICK"),
              true)
        << "the selection changes before the click is reported";
}

TEST_F(ProfileDialogTest, ThePictureShowsItsTipsReportsClicksAndNeverTakesTheFocus)
{
    run([](DialogDriver& d) {
        EXPECT_EQ(d.tooltip(kPicture), "Profile picture");
        EXPECT_EQ(d.tooltip(IDOK), "Save the profile") << "a callback tip asks its window";
        EXPECT_EQ(d.tooltip(kName), "");
        HWND before = GetFocus();
        d.click(kPicture);
        EXPECT_EQ(GetFocus(), before);
        d.cancel();
    });
    EXPECT_EQ(dialog.of(kPicture), (Strings{"STN_CLICKED"}));
}

TEST_F(ProfileDialogTest, TheStatusBoxShowsItsBoldPartAndRefusesTyping)
{
    run([](DialogDriver& d) {
        const auto runs = kxwin::richTextRuns(d.item(kStatus));
        ASSERT_EQ(runs.size(), 2u);
        EXPECT_EQ(runs[0].text, "Status: ");
        EXPECT_FALSE(runs[0].format.dwEffects & CFE_BOLD);
        EXPECT_EQ(runs[1].text, "ready");
        EXPECT_TRUE(runs[1].format.dwEffects & CFE_BOLD);
        EXPECT_EQ(runs[1].format.crTextColor, RGB(0, 128, 0));
        d.click(kStatus).type("x");
        EXPECT_EQ(d.text(kStatus), "Status: ready");
        d.cancel();
    });
}

TEST_F(ProfileDialogTest, EscapeClosesAnOpenListBeforeItCancelsTheDialog)
{
    const INT_PTR result = run([](DialogDriver& d) {
        d.openDropDown(kGrade);
        d.escape();
        EXPECT_TRUE(d.isOpen());
        EXPECT_EQ(SendMessage(d.item(kGrade), CB_GETDROPPEDSTATE), FALSE);
        d.escape();
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.of(kGrade), (Strings{"CBN_SETFOCUS", "CBN_DROPDOWN", "CBN_SELENDCANCEL", "CBN_CLOSEUP",
                                           "CBN_KILLFOCUS"}));
}

TEST_F(ProfileDialogTest, ReleasingTheMouseOffAButtonDoesNotPressIt)
{
    const INT_PTR result = run([](DialogDriver& d) {
        RECT r;
        GetClientRect(d.item(IDOK), r);
        d.drag(IDOK, POINT{r.right / 2, r.bottom / 2}, POINT{-30, r.bottom / 2});
        EXPECT_TRUE(d.isOpen());
        EXPECT_EQ(GetFocus(), d.item(IDOK)) << "the press took the focus";
        EXPECT_EQ(SendMessage(d.item(IDOK), BM_GETSTATE) & BST_PUSHED, 0);
        d.cancel();
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(dialog.of(IDOK).empty());
}

TEST_F(ProfileDialogTest, DisabledControlsIgnoreThePersonButTheProgramMayStillSetThem)
{
    run([](DialogDriver& d) {
        EnableWindow(d.item(kBolts), FALSE);
        kxwin::sendUserInput(d.item(kBolts), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        kxwin::sendUserInput(d.item(kBolts), WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(d.checkState(kBolts), BST_UNCHECKED);
        SendMessage(d.item(kBolts), BM_SETCHECK, BST_CHECKED);
        EXPECT_EQ(d.checkState(kBolts), BST_CHECKED);
        EnableWindow(d.item(kProfile), FALSE);
        EXPECT_EQ(SendMessage(d.item(kProfile), KXM_USER_PICK, 1), 0);
        d.cancel();
    });
    EXPECT_TRUE(dialog.of(kBolts).empty());
    EXPECT_TRUE(dialog.of(kProfile).empty());
}

} // namespace
