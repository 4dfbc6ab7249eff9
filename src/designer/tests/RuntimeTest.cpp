// A layout placed in a host dialog: resource ids, the windows each type becomes, values by id,
// read-only switching, focus and the Tab key, flex buttons, painting, and positions read back.
#include "designer/tests/DesignerTestSupport.h"

#include "designer/DesignerState.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using kxtest::makeControl;
using kxtest::RuntimeTest;
using T = Kx_ControlType;

DWORD styleOf(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
}

std::vector<std::string> comboItems(HWND combo)
{
    std::vector<std::string> items;
    const int n = static_cast<int>(SendMessage(combo, CB_GETCOUNT));
    for (int i = 0; i < n; ++i) {
        char buffer[256] = {};
        SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        items.emplace_back(buffer);
    }
    return items;
}

int selectedIndex(HWND combo)
{
    return static_cast<int>(SendMessage(combo, CB_GETCURSEL));
}

Kx_String valueOf(const Kx_DlgDesignerData& layout, int id)
{
    Kx_String value("<none>");
    layout.getCtrlValue(id, value);
    return value;
}

// --- Resource ids -----------------------------------------------------------------------------------

TEST(ResourceIds, AppendGivesTheSmallestFreeIdOfTheRangeAndZeroWhenItIsUsedUp)
{
    Kx_DlgDesignerData layout;
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(layout.append(makeControl(T::VariableEdit, 0, 0, 0.1, 0.1)), 33000 + i);
    EXPECT_EQ(layout.append(makeControl(T::VariableEdit, 0, 0, 0.1, 0.1, "101st")), 0);
    EXPECT_EQ(layout.getNrControls(), 101);
    EXPECT_EQ(layout.getControlFromRes(0), nullptr);
    int i = -1;
    EXPECT_FALSE(layout.findCtrlFromResource(0, i));
    EXPECT_FALSE(layout.findCtrlFromResource(-5, i));

    ASSERT_TRUE(layout.removeControl(5));
    EXPECT_FALSE(layout.removeControl(100));
    EXPECT_EQ(layout.append(makeControl(T::Label, 0, 0, 0, 0)), 33005);
    ASSERT_TRUE(layout.findCtrlFromResource(33005, i));
    EXPECT_EQ(i, 100);
    Kx_ControlType type = T::CheckBox;
    ASSERT_TRUE(layout.getDynControlType(33005, type));
    EXPECT_EQ(type, T::Label);
}

TEST_F(RuntimeTest, AnEmptyOrInvertedRangeGivesNoIds)
{
    ASSERT_TRUE(layout.initialize(host->m_hWnd, 50, 49, 0, 0, 0, 0, 0, false));
    EXPECT_EQ(layout.append(makeControl(T::VariableEdit, 0, 0, 0.1, 0.1)), 0);
    ASSERT_TRUE(layout.initialize(host->m_hWnd, std::numeric_limits<int>::max() - 1, std::numeric_limits<int>::max(),
                                  0, 0, 0, 0, 0, false));
    EXPECT_EQ(layout.append(makeControl(T::VariableEdit, 0, 0, 0.1, 0.1)), std::numeric_limits<int>::max() - 1);
    EXPECT_FALSE(Kx_DlgDesignerData().initialize(nullptr, 1, 2, 0, 0, 0, 0, 0, false));
}

// --- Drawing ----------------------------------------------------------------------------------------

TEST_F(RuntimeTest, EveryTypeBecomesItsKindOfWindowAtItsRectangleWithTheHostsFont)
{
    std::vector<Kx_DesignerControl> controls;
    for (int code = 0; code < kControlTypeCount; ++code)
        controls.push_back(makeControl(static_cast<T>(code), 0.25, 0.1, 0.5, 0.2, "c" + Kx_String(code)));
    controls.push_back(makeControl(static_cast<T>(77), 0.25, 0.1, 0.5, 0.2, "unknown"));
    place(controls);
    ASSERT_EQ(layout.getNrDrawnControls(), kControlTypeCount + 1);
    for (int code = 0; code <= kControlTypeCount; ++code) {
        HWND w = window(code);
        ASSERT_NE(w, nullptr) << code;
        EXPECT_EQ(GetDlgCtrlID(w), id(code));
        EXPECT_EQ(GetParent(w), host->m_hWnd);
        EXPECT_TRUE(IsWindowVisible(w));
        EXPECT_EQ(GetWindowFont(w), GetWindowFont(host->m_hWnd));
        const DWORD style = styleOf(w);
        const RECT r = GetWindowRectInParent(w);
        EXPECT_EQ(r.left, 100);
        EXPECT_EQ(r.top, 30);
        EXPECT_EQ(r.width(), 100);
        switch (windowKindOf(static_cast<T>(code))) {
        case Kx_WindowKind::Static:
            EXPECT_EQ(GetClassName(w), "Static");
            EXPECT_EQ(style & SS_TYPEMASK, SS_LEFT);
            EXPECT_EQ(r.height(), 30);
            break;
        case Kx_WindowKind::GroupFrame:
            EXPECT_EQ(style & BS_TYPEMASK, BS_GROUPBOX);
            break;
        case Kx_WindowKind::Edit:
            EXPECT_EQ(GetClassName(w), "Edit");
            EXPECT_TRUE(style & ES_AUTOHSCROLL);
            EXPECT_FALSE(style & ES_MULTILINE);
            EXPECT_TRUE(GetWindowLong(w, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
            break;
        case Kx_WindowKind::MultiLineEdit:
            EXPECT_EQ(style & (ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL), ES_MULTILINE | ES_AUTOVSCROLL);
            EXPECT_TRUE(GetWindowLong(w, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
            break;
        case Kx_WindowKind::DropDownList:
        case Kx_WindowKind::DropDownCombo: {
            EXPECT_EQ(GetClassName(w), "ComboBox");
            EXPECT_TRUE(style & WS_VSCROLL);
            const bool withEdit = code == 3 || code == 16;
            EXPECT_EQ(style & 0x3, withEdit ? CBS_DROPDOWN : CBS_DROPDOWNLIST) << code;
            RECT dropped;
            SendMessage(w, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            EXPECT_EQ(dropped.height(), kDesignerDropDownHeight) << "the opened list of " << code;
            break;
        }
        case Kx_WindowKind::PushButton:
            EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
            break;
        case Kx_WindowKind::CheckBox:
            EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
            EXPECT_FALSE(style & BS_PUSHLIKE);
            break;
        case Kx_WindowKind::FlexButton:
            EXPECT_EQ(style & (BS_TYPEMASK | BS_PUSHLIKE | BS_ICON | BS_VCENTER),
                      BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_ICON | BS_VCENTER);
            break;
        }
        EXPECT_TRUE(IsWindowEnabled(w));
    }
    EXPECT_EQ(GetWindowText(window(2)), "c2");
    EXPECT_EQ(GetWindowText(window(kControlTypeCount)), "unknown");
}

TEST_F(RuntimeTest, ReadOnlyControlsAreDisabledAndInTheDesignerEverythingButLabels)
{
    Kx_DesignerControl readOnly = makeControl(T::VariableEdit, 0, 0, 0.1, 0.1);
    readOnly.setReadOnly(true);
    place({readOnly, makeControl(T::VariableEdit, 0, 0.2, 0.1, 0.3)});
    EXPECT_FALSE(IsWindowEnabled(window(0)));
    EXPECT_TRUE(IsWindowEnabled(window(1)));

    Kx_DlgDesignerData designer;
    ASSERT_TRUE(designer.initialize(host->m_hWnd, 34000, 34099, 0, 0, 0, 0, 0, /*designerMode=*/true));
    designer.append(makeControl(T::Label, 0, 0, 0.1, 0.1, "label"));
    designer.append(makeControl(T::VariableEdit, 0, 0, 0.1, 0.1));
    designer.append(makeControl(T::Frame, 0, 0, 0.1, 0.1));
    designer.redrawAllControls();
    EXPECT_TRUE(IsWindowEnabled(designer.getDrawnWindow(0)));
    EXPECT_FALSE(IsWindowEnabled(designer.getDrawnWindow(1)));
    EXPECT_FALSE(IsWindowEnabled(designer.getDrawnWindow(2)));
}

TEST_F(RuntimeTest, NothingIsDrawnBeforeTheLayoutKnowsItsHost)
{
    EXPECT_FALSE(layout.drawControl(makeControl(T::VariableEdit, 0, 0, 0.1, 0.1)));
    layout.redrawAllControls();
    EXPECT_EQ(layout.getNrDrawnControls(), 0);
    BOOL erased = 1;
    EXPECT_NO_FATAL_FAILURE(erased = layout.OnEraseBkgnd(nullptr));
    EXPECT_EQ(erased, 0);
}

TEST_F(RuntimeTest, RedrawingReplacesTheWindowsInsteadOfAddingToThem)
{
    place({makeControl(T::VariableEdit, 0, 0, 0.1, 0.1), makeControl(T::CheckBox, 0, 0.2, 0.1, 0.3)});
    HWND first = window(0);
    layout.redrawAllControls();
    EXPECT_FALSE(IsWindow(first));
    const std::vector<HWND> children = GetChildWindows(host->m_hWnd);
    EXPECT_EQ(std::count_if(children.begin(), children.end(), [&](HWND w) { return GetDlgCtrlID(w) == id(0); }), 1);
    EXPECT_EQ(layout.getNrDrawnControls(), 2);
}

TEST_F(RuntimeTest, TheTypedWindowAccessorsGiveTheWindowOnlyForTheirKinds)
{
    place({makeControl(T::VariableEdit, 0, 0, 0.1, 0.1), makeControl(T::PatternCountEdit, 0, 0.1, 0.1, 0.2),
           makeControl(T::VariableCombo, 0, 0.2, 0.1, 0.3), makeControl(T::BoltAssemblyList, 0, 0.3, 0.1, 0.4),
           makeControl(T::CheckBox, 0, 0.4, 0.1, 0.5), makeControl(T::Frame, 0, 0.5, 0.1, 0.6)});
    HWND dialog = host->m_hWnd;
    const auto& c = [&](int i) -> const Kx_DesignerControl& { return *layout.getControl(i); };
    EXPECT_EQ(c(0).getCtrlPtr(dialog), window(0));
    EXPECT_EQ(c(0).getEditPtr(dialog), window(0));
    EXPECT_EQ(c(1).getEditPtr(dialog), window(1));
    EXPECT_EQ(c(0).getComboPtr(dialog), nullptr);
    EXPECT_EQ(c(2).getComboPtr(dialog), window(2));
    EXPECT_EQ(c(2).getEditPtr(dialog), nullptr);
    EXPECT_EQ(c(3).getComboPtr(dialog), nullptr) << "a bolt assembly list is not one of the typed combos";
    EXPECT_EQ(c(4).getButtonPtr(dialog), window(4));
    EXPECT_EQ(c(5).getButtonPtr(dialog), nullptr);
    EXPECT_EQ(c(5).getCtrlPtr(dialog), window(5));
    EXPECT_EQ(c(0).getCtrlPtr(nullptr), nullptr);
    EXPECT_TRUE(layout.isTypeBoltCount(id(1)));
    EXPECT_FALSE(layout.isTypeBoltCount(id(0)));
}

TEST_F(RuntimeTest, ThePicturesMaskIsWhiteWhereThePictureIsWhite)
{
    place({}, 30, 20);
    const auto mask = kxwin::bitmapPixels(layout.getPictureMask());
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->colorAt(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(mask->colorAt(5, 0), RGB(0, 0, 0)) << "the dark frame of the test picture";
    EXPECT_EQ(layout.getPictureMask(), layout.getPictureMask()) << "made once";
}

// --- Combo boxes ------------------------------------------------------------------------------------

TEST_F(RuntimeTest, CombosTakeTheCallersItemsAndSelectTheContentsIgnoringCase)
{
    Kx_DesignerControl list = makeControl(T::ProfileList, 0, 0, 0.2, 0.1, "ipe 200");
    list.setItems({"IPE 180", "IPE 200", "ipe 200"});
    Kx_DesignerControl missing = makeControl(T::BoltAssemblyList, 0, 0.2, 0.2, 0.3, "none of them");
    missing.setItems({"A", "B"});
    Kx_DesignerControl editable = makeControl(T::VariableCombo, 0, 0.4, 0.2, 0.5, "typed");
    editable.setItems({"A", "B"});
    place({list, missing, editable, makeControl(T::VariableCombo, 0, 0.6, 0.2, 0.7, "no items")});
    EXPECT_EQ(comboItems(window(0)), (std::vector<std::string>{"IPE 180", "IPE 200", "ipe 200"}));
    EXPECT_EQ(selectedIndex(window(0)), 1);
    // No match: a drop-down list shows no selection, a combo with an edit field shows the text.
    EXPECT_EQ(selectedIndex(window(1)), -1);
    EXPECT_EQ(GetWindowText(window(1)), "");
    EXPECT_EQ(selectedIndex(window(2)), -1);
    EXPECT_EQ(GetWindowText(window(2)), "typed");
    EXPECT_TRUE(comboItems(window(3)).empty());
    EXPECT_EQ(GetWindowText(window(3)), "no items");

    // Setting a drop-down list's value selects the item ignoring case; a text that is no item is
    // refused and the selection stays.
    EXPECT_TRUE(layout.setCtrlValue(id(0), "ipe 180"));
    EXPECT_EQ(selectedIndex(window(0)), 0);
    EXPECT_FALSE(layout.setCtrlValue(id(0), "HEA 200"));
    EXPECT_EQ(selectedIndex(window(0)), 0);
}

TEST_F(RuntimeTest, WithoutItemsACombosListComesFromItsFileInsideTheLibrary)
{
    kxtest::writeBytes((library.path() / "grades.lst").string(), "S235\r\nS355\n");
    const std::string outside = (library.path().parent_path() / "outside-grades.lst").string();
    kxtest::writeBytes(outside, "secret\n");
    place({makeControl(T::VariableCombo, 0, 0, 0.2, 0.1, "s355", "grades.lst"),
           makeControl(T::VariableCombo, 0, 0.2, 0.2, 0.3, "", "..\\outside-grades.lst"),
           makeControl(T::VariableCombo, 0, 0.4, 0.2, 0.5, "", Kx_String(outside)),
           makeControl(T::VariableCombo, 0, 0.6, 0.2, 0.7, "", Kx_String((library.path() / "grades.lst").string()))});
    EXPECT_EQ(comboItems(window(0)), (std::vector<std::string>{"S235", "S355"}));
    EXPECT_EQ(selectedIndex(window(0)), 1);
    EXPECT_TRUE(comboItems(window(1)).empty());
    EXPECT_TRUE(comboItems(window(2)).empty());
    EXPECT_EQ(comboItems(window(3)).size(), 2u);
    std::filesystem::remove(outside);
}

TEST_F(RuntimeTest, ACutModeListHasItsFiveItemsAndItsValueIsTheIndex)
{
    place({makeControl(T::CutModeList, 0, 0, 0.2, 0.1, "2"), makeControl(T::CutModeList, 0, 0.2, 0.2, 0.3, "x")});
    const std::vector<std::string> texts = {dialString(1395).str(), dialString(1396).str(), dialString(1397).str(),
                                            dialString(1398).str(), dialString(695).str()};
    EXPECT_EQ(comboItems(window(0)), texts);
    EXPECT_EQ(valueOf(layout, id(0)), "2");
    EXPECT_EQ(valueOf(layout, id(1)), "-1");
    EXPECT_TRUE(layout.setCtrlValue(id(1), "4"));
    EXPECT_EQ(valueOf(layout, id(1)), "4");
    for (const char* bad : {"5", "-2", "abc", "1.5", ""}) {
        EXPECT_FALSE(layout.setCtrlValue(id(1), bad)) << bad;
        EXPECT_EQ(valueOf(layout, id(1)), "4") << bad;
    }
    EXPECT_TRUE(layout.setCtrlValue(id(1), "-1"));
    EXPECT_EQ(valueOf(layout, id(1)), "-1");
}

// --- Check boxes and values ---------------------------------------------------------------------------

TEST_F(RuntimeTest, ACheckBoxReadsZeroOneOrTheIndeterminateTextAndTakesNumbers)
{
    place({makeControl(T::CheckBox, 0, 0, 0.2, 0.1, "Weld", "1")});
    const int box = id(0);
    EXPECT_EQ(valueOf(layout, box), "1");
    for (const char* off : {"-1", "0", "abc", "", "nan"}) {
        ASSERT_TRUE(layout.setCtrlValue(box, off));
        EXPECT_EQ(valueOf(layout, box), "0") << off;
    }
    ASSERT_TRUE(layout.setCtrlValue(box, "0.5"));
    EXPECT_EQ(valueOf(layout, box), "1");
    ASSERT_TRUE(layout.setCtrlValue(box, dialString(695).toLower()));
    EXPECT_EQ(valueOf(layout, box), dialString(695));
    EXPECT_EQ(styleOf(window(0)) & BS_TYPEMASK, BS_AUTO3STATE);
    ASSERT_TRUE(layout.setCtrlValue(box, "1"));
    EXPECT_EQ(styleOf(window(0)) & BS_TYPEMASK, BS_AUTOCHECKBOX) << "back to two states";
    // The person's click toggles it as a two-state box.
    driver().click(box);
    EXPECT_EQ(valueOf(layout, box), "0");
    driver().click(box);
    EXPECT_EQ(valueOf(layout, box), "1");
}

TEST_F(RuntimeTest, ValuesGoByResourceIdAndNeedADrawnWindow)
{
    place({makeControl(T::VariableEdit, 0, 0, 0.2, 0.1, "len"), makeControl(T::DimensionButton, 0, 0.2, 0.2, 0.3, "dim")});
    ASSERT_TRUE(layout.setCtrlValue(id(0), "12.5"));
    EXPECT_EQ(GetWindowText(window(0)), "12.5");
    EXPECT_EQ(valueOf(layout, id(0)), "12.5");
    EXPECT_TRUE(layout.setCtrlValue(id(1), "ignored"));
    EXPECT_EQ(GetWindowText(window(1)), "dim");

    Kx_String value;
    EXPECT_FALSE(layout.getCtrlValue(0, value));
    EXPECT_FALSE(layout.setCtrlValue(12345, "x"));
    const int notDrawn = layout.append(makeControl(T::VariableEdit, 0, 0, 0.1, 0.1));
    EXPECT_FALSE(layout.getCtrlValue(notDrawn, value));
    EXPECT_FALSE(layout.setCtrlValue(notDrawn, "x"));
    EXPECT_FALSE(layout.isADynControl(notDrawn));
    EXPECT_TRUE(layout.isADynControl(id(0)));
    DestroyWindow(window(0));
    EXPECT_FALSE(layout.getCtrlValue(id(0), value)) << "a destroyed window has no value";
}

TEST_F(RuntimeTest, OnlyVariableEditsAndCombosSwitchReadOnlyAndTheFlagStays)
{
    place({makeControl(T::VariableEdit, 0, 0, 0.2, 0.1), makeControl(T::VariableCombo, 0, 0.2, 0.2, 0.3),
           makeControl(T::BoltAssemblyList, 0, 0.4, 0.2, 0.5)});
    EXPECT_TRUE(layout.setCtrlReadOnly(id(0), true));
    EXPECT_FALSE(IsWindowEnabled(window(0)));
    EXPECT_TRUE(layout.setCtrlReadOnly(id(0), true));
    EXPECT_FALSE(IsWindowEnabled(window(0)));
    EXPECT_FALSE(layout.getControl(0)->isReadOnly());
    EXPECT_TRUE(layout.setCtrlReadOnly(id(1), true));
    EXPECT_FALSE(IsWindowEnabled(window(1)));
    EXPECT_TRUE(layout.setCtrlReadOnly(id(1), false));
    EXPECT_TRUE(IsWindowEnabled(window(1)));
    EXPECT_FALSE(layout.setCtrlReadOnly(id(2), true));
    EXPECT_TRUE(IsWindowEnabled(window(2)));
}

// --- Tab order, focus and the Tab key ------------------------------------------------------------

TEST(TabOrder, RowsRunTopToBottomAndLeftToRightWithinARow)
{
    Kx_DlgDesignerData layout;
    layout.append(makeControl(T::VariableEdit, 0.5, 0.10, 0.6, 0.15));
    layout.append(makeControl(T::VariableEdit, 0.2, 0.12, 0.3, 0.17));
    layout.append(makeControl(T::VariableEdit, 0.1, 0.30, 0.2, 0.35));
    layout.append(makeControl(T::Label, 0.0, 0.00, 0.1, 0.05));
    layout.append(makeControl(T::Frame, 0.0, 0.00, 1.0, 1.00));
    Kx_DesignerControl readOnly = makeControl(T::VariableEdit, 0.0, 0.0, 0.1, 0.05);
    readOnly.setReadOnly(true);
    readOnly.setTabOrder(7);
    layout.append(readOnly);
    layout.sortAllControls();
    const int expected[] = {2, 1, 3, 0, 0, 7};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(layout.getControl(i)->getTabOrder(), expected[i]) << "control " << i;
}

TEST(TabOrder, EqualLeftsKeepListOrderAndOddRectanglesStillGetAPlace)
{
    Kx_DlgDesignerData layout;
    layout.append(makeControl(T::VariableEdit, 0.3, 0.5, 0.4, 0.6));
    layout.append(makeControl(T::VariableEdit, 0.3, 0.5, 0.4, 0.6));
    // Upside down: its top is below its bottom, yet it forms its own row.
    layout.append(makeControl(T::VariableEdit, 0.1, 0.8, 0.2, 0.7));
    // Beyond the picture and not a number: after everything else, in list order.
    layout.append(makeControl(T::VariableEdit, 0.1, 150.0, 0.2, 151.0));
    layout.append(makeControl(T::VariableEdit, 0.0, std::nan(""), 0.2, std::nan("")));
    layout.append(makeControl(T::VariableEdit, 0.0, 120.0, 0.2, 121.0));
    layout.append(makeControl(static_cast<T>(99), 0.0, 0.0, 0.1, 0.1));
    layout.sortAllControls();
    const int expected[] = {1, 2, 3, 5, 6, 4, 0};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(layout.getControl(i)->getTabOrder(), expected[i]) << "control " << i;
}

TEST(TabOrder, AScatteredLayoutMatchesARowByRowReference)
{
    // The reference is the rule as a person applies it: repeatedly take the highest remaining
    // control (first in list order among equals) and every remaining one whose top is not below its
    // bottom, then number that row from left to right.
    Kx_DlgDesignerData layout;
    unsigned state = 12345;
    const auto next = [&state] { return (state = state * 1103515245u + 12345u) % 1000 / 1000.0; };
    for (int i = 0; i < 300; ++i) {
        const double top = next();
        const double left = std::floor(next() * 10) / 10;  // many equal lefts
        layout.append(makeControl(T::VariableEdit, left, top, left + 0.05, top + next() * 0.1));
    }
    layout.sortAllControls();

    std::vector<int> remaining(300);
    for (int i = 0; i < 300; ++i)
        remaining[static_cast<size_t>(i)] = i;
    int order = 1;
    while (!remaining.empty()) {
        int top = remaining.front();
        for (int i : remaining) {
            if (layout.getControl(i)->topLeftY() < layout.getControl(top)->topLeftY())
                top = i;
        }
        std::vector<int> row;
        for (int i : remaining) {
            if (layout.getControl(i)->topLeftY() <= layout.getControl(top)->bottomRightY())
                row.push_back(i);
        }
        std::stable_sort(row.begin(), row.end(), [&](int a, int b) {
            return layout.getControl(a)->topLeftX() < layout.getControl(b)->topLeftX();
        });
        for (int i : row) {
            EXPECT_EQ(layout.getControl(i)->getTabOrder(), order++) << "control " << i;
            remaining.erase(std::find(remaining.begin(), remaining.end(), i));
        }
    }
}

class TabKey : public RuntimeTest {
protected:
    void SetUp() override
    {
        RuntimeTest::SetUp();
        // The three edits of a row-sorted layout: orders 2, 1, 3, then a flex button with order 4.
        place({makeControl(T::VariableEdit, 0.5, 0.10, 0.6, 0.15, "first"),
               makeControl(T::VariableEdit, 0.2, 0.12, 0.3, 0.17, "second"),
               makeControl(T::VariableCombo, 0.1, 0.30, 0.2, 0.35, "third"),
               makeControl(T::FlexButton, 0.1, 0.50, 0.2, 0.60, "fourth", "g;;;"),
               makeControl(T::Label, 0.0, 0.0, 0.1, 0.05, "label")});
    }
    int focusedId() const
    {
        int focused = -1;
        layout.getFocusedDynControl(focused);
        return focused;
    }
};

TEST_F(TabKey, FocusStartsAtTheFirstOrLastControlWithItsTextSelected)
{
    ASSERT_TRUE(layout.setFocusToCtrl(true));
    EXPECT_EQ(GetFocus(), window(1));
    EXPECT_EQ(driver().selection(id(1)), std::make_pair(0, 6));
    ASSERT_TRUE(layout.setFocusToCtrl(false));
    EXPECT_EQ(GetFocus(), window(3));
}

TEST_F(TabKey, TabFollowsTheOrderAndHandsOverAtBothEnds)
{
    ASSERT_TRUE(layout.setFocusToCtrl(true));
    driver().pressKey(VK_TAB);
    EXPECT_EQ(host->lastTab, Kx_TabMsgHandle::Handled);
    EXPECT_EQ(GetFocus(), window(0));
    EXPECT_EQ(driver().selection(id(0)), std::make_pair(0, 5));
    driver().pressKey(VK_TAB);
    // The combo's focus is in its edit field; that still counts as the combo.
    EXPECT_EQ(focusedId(), id(2));
    EXPECT_TRUE(IsChild(window(2), GetFocus()));
    driver().pressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), window(3));
    driver().pressKey(VK_TAB);
    EXPECT_EQ(host->lastTab, Kx_TabMsgHandle::LeaveForward);
    int focused = 0;
    EXPECT_FALSE(layout.getFocusedDynControl(focused)) << "the host moved the focus on";

    ASSERT_TRUE(layout.setFocusToCtrl(true));
    driver().pressKey(VK_TAB, /*shift=*/true);
    EXPECT_EQ(host->lastTab, Kx_TabMsgHandle::LeaveBackward);
}

TEST_F(TabKey, ShiftTabGoesBackAndOtherKeysAndWindowsAreNotHandled)
{
    SetFocus(window(3));
    driver().pressKey(VK_TAB, /*shift=*/true);
    EXPECT_EQ(focusedId(), id(2));
    driver().pressKey(VK_TAB, /*shift=*/true);
    EXPECT_EQ(GetFocus(), window(0));

    Kx_TabMsgHandle result = Kx_TabMsgHandle::Handled;
    EXPECT_FALSE(layout.handleTabKey(VK_RETURN, result));
    EXPECT_EQ(result, Kx_TabMsgHandle::NotHandled);
    SetFocus(GetDlgItem(host->m_hWnd, kBefore));
    EXPECT_FALSE(layout.handleTabKey(VK_TAB, result));
    EXPECT_EQ(result, Kx_TabMsgHandle::NotHandled);
    int focused = 0;
    EXPECT_FALSE(layout.getFocusedDynControl(focused));
    EXPECT_EQ(focused, kBefore);
}

TEST_F(TabKey, DisabledAndHiddenControlsArePassedOver)
{
    ASSERT_TRUE(layout.setCtrlReadOnly(id(0), true));
    layout.hideAllFlexBtns("G");
    ASSERT_TRUE(layout.setFocusToCtrl(true));
    driver().pressKey(VK_TAB);
    EXPECT_EQ(focusedId(), id(2));
    Kx_TabMsgHandle result = Kx_TabMsgHandle::Handled;
    EXPECT_TRUE(layout.handleTabKey(VK_TAB, result));
    EXPECT_EQ(result, Kx_TabMsgHandle::LeaveForward);
    ASSERT_TRUE(layout.setFocusToCtrl(false));
    EXPECT_EQ(focusedId(), id(2));
}

TEST_F(TabKey, ALayoutWithoutEditableControlsTakesNoFocus)
{
    for (int i = 0; i < layout.getNrControls(); ++i)
        layout.getControlWrite(i)->setReadOnly(true);
    EXPECT_FALSE(layout.containsEditableCtrls());
    EXPECT_FALSE(layout.setFocusToCtrl(true));
    SetFocus(window(0));
    Kx_TabMsgHandle result = Kx_TabMsgHandle::Handled;
    EXPECT_FALSE(layout.handleTabKey(VK_TAB, result));
    EXPECT_EQ(result, Kx_TabMsgHandle::NotHandled);
}

// --- Flex buttons ----------------------------------------------------------------------------------

class FlexButtons : public RuntimeTest {
protected:
    void SetUp() override
    {
        RuntimeTest::SetUp();
        place({makeControl(T::FlexButton, 0, 0, 0.1, 0.1, "width", "Dims;;w;"),
               makeControl(T::VariableEdit, 0, 0.2, 0.1, 0.3, "width", "Dims;;;"),
               makeControl(T::FlexButton, 0.2, 0, 0.3, 0.1, "Height", "dims;;;"),
               makeControl(T::FlexButton, 0.4, 0, 0.5, 0.1, "gap", "splice;;gap;"),
               makeControl(T::FlexButton, 0.6, 0, 0.7, 0.1, "nameless", "")});
    }
};

TEST_F(FlexButtons, GroupsAndTheirButtonsAreFoundIgnoringCase)
{
    Kx_StringArray groups;
    layout.getFlexBtnsGroups(groups);
    EXPECT_EQ(groups, (Kx_StringArray{"Dims", "splice", ""}));
    Kx_Array<int> all;
    Kx_Array<int> withA3;
    ASSERT_TRUE(layout.getFlexBtnsInGroup("DIMS", all, withA3));
    EXPECT_EQ(all, (Kx_Array<int>{0, 2}));
    EXPECT_EQ(withA3, (Kx_Array<int>{0}));
    ASSERT_TRUE(layout.getFlexBtnsInGroup("", all, withA3));
    EXPECT_TRUE(all.isEmpty());
    EXPECT_TRUE(withA3.isEmpty());
    Kx_StringArray names;
    layout.getAllFlexVarsOfGroup("dims", names);
    EXPECT_EQ(names, (Kx_StringArray{"width", "Height"}));
    int i = -1;
    ASSERT_TRUE(layout.findFlexButton("dims", "HEIGHT", i));
    EXPECT_EQ(i, 2);
    EXPECT_FALSE(layout.findFlexButton("splice", "width", i));
    Kx_String group;
    Kx_String name;
    ASSERT_TRUE(layout.getFlexBtnGroupName(id(3), group, name));
    EXPECT_EQ(group, "splice");
    EXPECT_EQ(name, "gap");
    EXPECT_FALSE(layout.getFlexBtnGroupName(id(1), group, name));
}

TEST_F(FlexButtons, AFlexButtonIsFlexibleOrFixedNeverInBetween)
{
    int status = -1;
    ASSERT_TRUE(layout.getFlexBtnStatus(0, status));
    EXPECT_EQ(status, 0);
    ASSERT_TRUE(layout.setFlexBtnStatus("DIMS", "width", 1));
    ASSERT_TRUE(layout.getFlexBtnStatus(0, status));
    EXPECT_EQ(status, 1);
    ASSERT_TRUE(layout.setFlexBtnStatus("dims", "width", 2));
    ASSERT_TRUE(layout.getFlexBtnStatus(0, status));
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(layout.setFlexBtnStatus("dims", "unknown", 1));
    EXPECT_FALSE(layout.getFlexBtnStatus(1, status)) << "not a flex button";
    EXPECT_FALSE(layout.getFlexBtnStatus(99, status));
    // The person's click toggles it.
    driver().click(id(2));
    ASSERT_TRUE(layout.getFlexBtnStatus(2, status));
    EXPECT_EQ(status, 1);
}

TEST_F(FlexButtons, AllShareOneIconLoadedOnceAndAGroupCanBeHidden)
{
    const auto icon = [&](int i) { return SendMessage(window(i), BM_GETIMAGE, IMAGE_ICON); };
    EXPECT_NE(icon(0), 0);
    EXPECT_EQ(icon(0), icon(2));
    EXPECT_EQ(icon(0), icon(3));
    const int icons = kxwin::liveIconCount();
    layout.redrawAllControls();
    EXPECT_EQ(kxwin::liveIconCount(), icons);
    layout.hideAllFlexBtns("Dims");
    EXPECT_FALSE(IsWindowVisible(window(0)));
    EXPECT_FALSE(IsWindowVisible(window(2)));
    EXPECT_TRUE(IsWindowVisible(window(1)));
    EXPECT_TRUE(IsWindowVisible(window(3)));
}

// --- Painting and positions ---------------------------------------------------------------------------

TEST_F(RuntimeTest, TheBackgroundShowsThePictureWithWhiteLeftOut)
{
    place({makeControl(T::VariableEdit, 0, 0, 0.1, 0.1)}, 120, 80);
    ASSERT_TRUE(kxwin::paintWindow(host->m_hWnd));
    const std::vector<kxwin::DrawOp> ops = kxwin::lastPaintRecord(host->m_hWnd);
    const auto blit = std::find_if(ops.begin(), ops.end(),
                                   [](const kxwin::DrawOp& op) { return op.kind == kxwin::DrawOpKind::TransparentBlit; });
    ASSERT_NE(blit, ops.end()) << kxwin::describeDrawOps(ops);
    EXPECT_EQ(blit->rect, (RECT{0, 0, 120, 80}));
    EXPECT_EQ(blit->transparent & 0xFFFFFF, RGB(255, 255, 255));
    const auto fills = std::count_if(ops.begin(), ops.end(),
                                     [](const kxwin::DrawOp& op) { return op.kind == kxwin::DrawOpKind::FillRect; });
    EXPECT_EQ(fills, 0) << "a page keeps its own background";
}

TEST_F(RuntimeTest, TheDesignerPaintsTheDialogFaceUnderThePicture)
{
    writeLayout("pic", "", 50, 40);
    ASSERT_TRUE(layout.attachBitmap(Kx_String(layoutPath("pic.bmp"))));
    ASSERT_TRUE(layout.initialize(host->m_hWnd, 33000, 33099, 0, 0, 0, 0, 0, /*designerMode=*/true));
    ASSERT_TRUE(kxwin::paintWindow(host->m_hWnd));
    const std::vector<kxwin::DrawOp> ops = kxwin::lastPaintRecord(host->m_hWnd);
    ASSERT_GE(ops.size(), 2u) << kxwin::describeDrawOps(ops);
    EXPECT_EQ(ops[0].kind, kxwin::DrawOpKind::FillRect);
    RECT client;
    GetClientRect(host->m_hWnd, client);
    EXPECT_EQ(ops[0].rect, client);
    EXPECT_EQ(ops[1].kind, kxwin::DrawOpKind::TransparentBlit);
}

TEST_F(RuntimeTest, PositionsAreReadBackFromTheWindowsOnlyWhenEveryControlIsDrawn)
{
    place({makeControl(T::VariableEdit, 0.1, 0.1, 0.2, 0.2), makeControl(T::Label, 0.5, 0.5, 0.6, 0.6)}, 200, 100);
    MoveWindow(window(0), 50, 25, 40, 10);
    ASSERT_TRUE(layout.getSizeFromAllControls());
    const Kx_DesignerControl& c = *layout.getControl(0);
    EXPECT_DOUBLE_EQ(c.topLeftX(), 0.25);
    EXPECT_DOUBLE_EQ(c.topLeftY(), 0.25);
    EXPECT_DOUBLE_EQ(c.bottomRightX(), 0.45);
    EXPECT_DOUBLE_EQ(c.bottomRightY(), 0.35);
    EXPECT_DOUBLE_EQ(layout.getControl(1)->topLeftX(), 0.5);

    layout.append(makeControl(T::VariableEdit, 0.9, 0.9, 1, 1));
    MoveWindow(window(0), 0, 0, 10, 10);
    EXPECT_FALSE(layout.getSizeFromAllControls());
    EXPECT_FALSE(layout.getSizeFromControl(0));
    EXPECT_DOUBLE_EQ(layout.getControl(0)->topLeftX(), 0.25);
}

TEST_F(RuntimeTest, TheDesignerSavesThePositionsTheWindowsWereMovedTo)
{
    writeLayout("moved", "", 200, 100);
    ASSERT_TRUE(layout.initialize(host->m_hWnd, 33000, 33099, 0, 0, 0, 0, 0, /*designerMode=*/true));
    layout.append(makeControl(T::VariableEdit, 0.1, 0.1, 0.2, 0.2, "v"));
    ASSERT_TRUE(layout.attachBitmap(Kx_String(layoutPath("moved.bmp"))));
    layout.redrawAllControls();
    MoveWindow(layout.getDrawnWindow(0), 100, 50, 20, 10);
    ASSERT_TRUE(layout.writeToFile("moved"));
    Kx_DlgDesignerData back;
    ASSERT_TRUE(back.readFromFile("moved", false));
    EXPECT_DOUBLE_EQ(back.getControl(0)->topLeftX(), 0.5);
    EXPECT_DOUBLE_EQ(back.getControl(0)->bottomRightY(), 0.6);
}

TEST_F(RuntimeTest, TheDesignerModeFillsTheTypeListAndStartsWithAnEmptyPanel)
{
    DialogTemplate t;
    t.id = 4712;
    t.title = "Designer";
    t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    t.cx = 400;
    t.cy = 300;
    t.items.push_back({1005, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 300, 5, 90, 100});
    t.items.push_back({1016, "Button", "old", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 300, 20, 90, 20});
    t.items.push_back({1304, "Edit", "old", WS_CHILD | WS_VISIBLE, 0, 300, 45, 90, 12});
    t.items.push_back({1017, "Button", "old", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 300, 60, 90, 20});
    t.items.push_back({1305, "Edit", "old", WS_CHILD | WS_VISIBLE, 0, 300, 85, 90, 12});
    kxwin::addDialogTemplate(module, t);
    kxtest::LayoutHost designer(4712);
    ASSERT_TRUE(designer.Create(4712));
    Kx_DlgDesignerData data;
    ASSERT_TRUE(data.initialize(designer.m_hWnd, 33000, 33099, 1005, 1016, 1304, 1017, 1305, /*designerMode=*/true));
    const std::vector<std::string> names = comboItems(GetDlgItem(designer.m_hWnd, 1005));
    ASSERT_EQ(names.size(), static_cast<size_t>(kControlTypeCount));
    EXPECT_EQ(names[30], controlTypeName(T::FlexButton).str());
    for (int panel : {1005, 1016, 1304, 1017, 1305}) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(designer.m_hWnd, panel))) << panel;
        EXPECT_EQ(GetWindowText(GetDlgItem(designer.m_hWnd, panel)), "") << panel;
    }
    EXPECT_TRUE(data.isDesignerMode());
    EXPECT_EQ(data.getDlgPtr(), designer.m_hWnd);
}

} // namespace
