// The bolt settings, array and bolt pattern dialogs, opened from the sample macro's pages as a person
// opens them and driven by the scripted user: what they show, what they refuse, and what reaches the
// tab and the drawing.
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "core/TextTables.h"
#include "core/ZnTempResourceOverride.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroArrayLauncher.h"
#include "macro/MacroLaunchers.h"
#include "macro/ZnDlgBoltAdvanced.h"
#include "macro/ZnDlgMacro.h"
#include "macro/ZnDlgMacroArray.h"
#include "macro/ZnDlgMacroPattern.h"
#include "macro/ZnDlgMacroTab.h"
#include "macro/tests/MacroSubDialogTestSupport.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include "macro/tests/SampleMacroDialogTest.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

namespace {

constexpr int kEndPlateTab = 0;
constexpr int kBoltTab = 1;
constexpr int kBasePlateTab = 4;
using B = ZnDlgBoltAdvanced;
using P = ZnDlgMacroPattern;
using A = ZnDlgMacroArray;

class SubDialogs : public kxtest::SampleMacroDialogTest {
protected:
    void SetUp() override
    {
        SampleMacroDialogTest::SetUp();
        kxss::attachModule();
    }
    using SampleMacroDialogTest::open;
    // The macro dialog on the first sample macro.
    static ZnDlgMacro* open() { return open(kxcore::sampleMacroData(0)); }
    // The bolts the drawing holds for the first sample macro's end plate.
    static size_t boltsInDrawing()
    {
        for (const kxcore::MacroPart& p : kxcore::MacroModel::instance().macros()[0]->parts)
            if (p.role == "bolts")
                return p.boxes.size();
        return 0;
    }
    // Clicks a page's own or layout button as the page hears it.
    static void press(ZnDlgMacroTab& page, int id)
    {
        SendMessage(page.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(page.GetDlgItem(id)));
    }
    // Records each message box and answers OK.
    void recordMessages(int count)
    {
        for (int i = 0; i < count; ++i)
            agent.onMessageBox([this](const MessageBoxRequest& r) {
                messages.push_back(r.caption + "|" + r.text);
                return IDOK;
            });
    }
    std::vector<std::string> messages;
};

TEST_F(SubDialogs, BoltButtonShowsTheBoltTabAndChecksOfMinusOneStayDisabledAndReadBackMinusOne)
{
    ZnDlgMacro* dialog = open();
    ASSERT_NE(dialog, nullptr);
    ZnDlgMacroTab* page = dialog->page(kBoltTab);
    ASSERT_NE(page, nullptr);
    const int before = updates();
    agent.onDialog(B::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(983).str());
        EXPECT_EQ(d.text(1091), "8.8 DIN 931");
        EXPECT_EQ(d.text(1092), "M20");
        EXPECT_EQ(d.text(1104), "60");
        // The bolt tab's bolt has no staggering.
        EXPECT_EQ(d.text(B::kOptionLabel), dialString(998).str());
        EXPECT_FALSE(d.isEnabled(B::kOptionFlag));
        EXPECT_EQ(d.text(8669), dialString(991).str() + " 1");
        // Checks 0,1,0,-1,0: the fourth does not apply.
        EXPECT_FALSE(d.isEnabled(8711));
        EXPECT_TRUE(d.isEnabled(8713));
        EXPECT_EQ(d.checkState(8714), BST_CHECKED);
        EXPECT_EQ(d.items(B::kHoles),
                  (std::vector<std::string>{dialString(999).str() + " nr: 1", dialString(999).str() + " nr: 2",
                                            dialString(999).str() + " nr: 3"}));
        EXPECT_EQ(d.selectedIndex(B::kHoles), 0);
        EXPECT_EQ(d.text(1119), "15");
        EXPECT_EQ(d.text(1118), "22");
        EXPECT_EQ(d.selectedIndex(B::kHoleType), 3) << "type -1 shows as the last entry";
        // A click on the first colour label switches the first check; the next apply takes it.
        d.clickPoint([&] {
            RECT r = GetWindowRectInParent(d.item(8669));
            return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        }());
        EXPECT_EQ(d.checkState(8713), BST_CHECKED);
        d.click(1095); // washer under the head: on -> off, applied at once
        // Enter in a field applies and leaves the dialog open.
        d.setText(B::kText3, "65");
        d.pressKey(VK_RETURN);
        EXPECT_TRUE(d.isOpen());
        d.cancel();
    });
    press(*page, ZnDlgMacroTab::kAdvanced);
    const MacroBoltData& bolt = dialog->data().tabs[kBoltTab].bolt;
    EXPECT_EQ(bolt.checks, (std::array<int, 5>{1, 1, 0, -1, 0}));
    EXPECT_EQ(bolt.options[0], 0);
    EXPECT_EQ(bolt.strings[2], Kx_String("65"));
    EXPECT_EQ(updates(), before + 2);
    EXPECT_TRUE(page->isReady());
}

TEST_F(SubDialogs, BoltHolesKeepTheirEditsWhenSwitchingAndCancelLeavesThePageUntouched)
{
    ZnDlgMacro* dialog = open();
    ASSERT_NE(dialog, nullptr);
    const MacroTabData tabBefore = dialog->data().tabs[kBoltTab];
    const int before = updates();
    agent.onDialog(B::kTemplateId, [](kxwin::DialogDriver& d) {
        d.setText(1119, "18");
        d.pick(B::kHoles, 1);
        EXPECT_EQ(d.text(1118), "26");
        EXPECT_EQ(d.selectedIndex(B::kHoleType), 1);
        d.pick(B::kHoles, 2);
        EXPECT_EQ(d.text(1125), "20");
        EXPECT_EQ(d.selectedIndex(B::kHoleType), 2);
        d.pick(B::kHoles, 0);
        EXPECT_EQ(d.text(1119), "18") << "the edit stayed with hole 1";
        EXPECT_TRUE(d.isEnabled(1119));
        d.cancel();
    });
    dialog->page(kBoltTab)->openBoltAdvanced();
    EXPECT_EQ(dialog->data().tabs[kBoltTab], tabBefore);
    EXPECT_EQ(updates(), before);
}

TEST_F(SubDialogs, AnInvalidHoleBlocksOkNamingItsListedNumberUnderAnyLocale)
{
    ZnDlgMacro* dialog = open();
    ASSERT_NE(dialog, nullptr);
    recordMessages(2);
    const int before = updates();
    bool stillOpen = false;
    std::string germanDepth;
    agent.onDialog(B::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.pick(B::kHoles, 1);
        d.setText(1119, "0");
        d.ok();
        stillOpen = d.isOpen();
        d.setText(1119, "2,5"); // a decimal comma is not a number here
        d.ok();
        // A process with a decimal comma still reads the point.
        const std::string old = std::setlocale(LC_NUMERIC, nullptr);
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
        d.setText(1119, "12.5");
        d.ok();
        std::setlocale(LC_NUMERIC, old.c_str());
    });
    dialog->page(kBoltTab)->openBoltAdvanced();
    EXPECT_TRUE(stillOpen);
    const std::string expected = "Ongeldige waarde|" + dialString(1000).str() + " 2 " + dialString(1001).str() + "\n\n"
        + dialString(888).str() + ".";
    EXPECT_EQ(messages, (std::vector<std::string>{expected, expected}));
    EXPECT_EQ(dialog->data().tabs[kBoltTab].bolt.holes[1].texts[2], Kx_String("12.5"));
    EXPECT_EQ(updates(), before + 1);
}

TEST_F(SubDialogs, TickingAHoleOffInTheListTakesItsBoltRowOutOfTheDrawing)
{
    ZnDlgMacro* dialog = open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(boltsInDrawing(), 4u);
    agent.onDialog(B::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.pick(B::kHoles, 1);
        d.toggleItem(B::kHoles, 1);
        EXPECT_EQ(boltsInDrawing(), 2u) << "applied while the dialog is open";
        // The hole shown is now inactive: its fields are not for typing.
        EXPECT_EQ(d.checkState(B::kHoleUsed), BST_UNCHECKED);
        EXPECT_FALSE(d.isEnabled(1119));
        EXPECT_FALSE(d.isEnabled(B::kHoleType));
        d.click(B::kHoleUsed);
        EXPECT_EQ(d.items(B::kHoles).size(), 3u);
        EXPECT_TRUE(d.isEnabled(1119));
        d.pick(B::kHoles, 2);
        d.ok();
    });
    dialog->page(kBoltTab)->openBoltAdvanced();
    EXPECT_EQ(boltsInDrawing(), 4u);
    EXPECT_EQ(dialog->data().tabs[kBoltTab].bolt.holes[1].used, 1);
    EXPECT_EQ(dialog->data().tabs[kBoltTab].bolt.holes[2].typeIndex, 2) << "the third type survives the applies";
    EXPECT_EQ(dialog->data().tabs[kBoltTab].bolt.holes[0].typeIndex, -1);
}

TEST_F(SubDialogs, ATypeTwelveLayoutButtonOpensTheTabsBoltSettings)
{
    ZnDlgMacro* dialog = open();
    ASSERT_NE(dialog, nullptr);
    ZnDlgMacroTab* page = dialog->page(kEndPlateTab);
    ASSERT_TRUE(page->hasBoltAdvanced());
    bool opened = false;
    agent.onDialog(B::kTemplateId, [&](kxwin::DialogDriver& d) {
        opened = true;
        // The end plate's bolt staggers: its option is offered.
        EXPECT_EQ(d.text(B::kOptionLabel), dialString(997).str());
        EXPECT_TRUE(d.isEnabled(B::kOptionFlag));
        EXPECT_FALSE(d.isEnabled(1110)) << "option 4 is -1";
        EXPECT_EQ(d.checkState(1116), BST_INDETERMINATE);
        d.click(B::kOptionFlag);
        d.ok();
    });
    press(*page, dialog->data().tabs[kEndPlateTab].bolt.advancedId);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(dialog->data().tabs[kEndPlateTab].bolt.optionFlag);
    EXPECT_EQ(dialog->data().tabs[kEndPlateTab].bolt.options[3], -1);
    EXPECT_EQ(dialog->data().tabs[kEndPlateTab].bolt.options[2], 2) << "untouched, still undecided";
}

class BoltWithoutPage : public kxtest::MacroSubDialogTest {
protected:
    void SetUp() override
    {
        MacroSubDialogTest::SetUp();
        kxhost::activeDrawing().clear();
        kxcore::MacroModel::instance().placeSampleFrames(kxhost::activeDrawing());
    }
    kxwin::UserAgent agent;
};

TEST_F(BoltWithoutPage, BoltDataWithoutHolesShowsEmptyDisabledHoleFieldsAndAppliesWithoutChecking)
{
    MacroBoltData bolt = kxcore::sampleMacroData(0).tabs[kBoltTab].bolt;
    bolt.holes.setLogicalLength(0);
    int applied = 0;
    agent.onDialog(B::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_TRUE(d.items(B::kHoles).empty());
        EXPECT_FALSE(d.isEnabled(B::kHoleUsed));
        for (int id : B::kHoleText) {
            EXPECT_EQ(d.text(id), "");
            EXPECT_FALSE(d.isEnabled(id));
        }
        EXPECT_EQ(d.selectedIndex(B::kHoleType), -1);
        d.click(1115);
        d.ok();
    });
    ZnTempResourceOverride resources;
    ZnDlgBoltAdvanced dialog(bolt, Kx_StringArray(), [&](MacroBoltData& b) {
        ++applied;
        EXPECT_TRUE(b.holes.isEmpty());
        return true;
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(applied, 2);
    EXPECT_EQ(dialog.bolt().options[1], 1);
    EXPECT_EQ(dialog.currentHole(), -1);
}

TEST_F(BoltWithoutPage, AnApplyThatDropsHolesKeepsTheHoleShownInsideTheList)
{
    MacroBoltData bolt = kxcore::sampleMacroData(0).tabs[kBoltTab].bolt;
    ASSERT_EQ(bolt.holes.length(), 3);
    int shownAfter = -2;
    agent.onDialog(B::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.pick(B::kHoles, 2);
        d.click(1095);
        EXPECT_EQ(d.items(B::kHoles).size(), 1u);
        EXPECT_EQ(d.text(1119), "15") << "the one hole left is shown";
        d.cancel();
    });
    ZnTempResourceOverride resources;
    ZnDlgBoltAdvanced* self = nullptr;
    ZnDlgBoltAdvanced dialog(bolt, Kx_StringArray(), [&](MacroBoltData& b) {
        // The drawing keeps one hole only.
        b.holes.setLogicalLength(1);
        (void)self;
        return true;
    });
    self = &dialog;
    dialog.DoModal();
    shownAfter = dialog.currentHole();
    EXPECT_EQ(shownAfter, 0);
}

TEST_F(SubDialogs, APatternWithoutACountUsesTheSecondSetAndItsNewSpacingReachesTheBolts)
{
    ZnDlgMacro* dialog = open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(boltsInDrawing(), 4u);
    agent.onDialog(P::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1034).str());
        EXPECT_TRUE(d.isVisible(P::kWithoutCount.value));
        EXPECT_FALSE(d.isVisible(P::kWithCount.value));
        EXPECT_FALSE(d.isVisible(P::kWithCount.count));
        EXPECT_EQ(d.text(P::kWithoutCount.value), "2x120");
        EXPECT_EQ(d.text(P::kWithoutCount.count), "") << "no count value";
        EXPECT_FALSE(d.isEnabled(P::kWithoutCount.count));
        d.setText(P::kWithoutCount.value, "3x100");
        d.ok();
    });
    ASSERT_TRUE(dialog->page(kBoltTab)->openPattern(1));
    EXPECT_EQ(dialog->data().tabs[kBoltTab].patterns[1].value, Kx_String("3x100"));
    EXPECT_EQ(boltsInDrawing(), 6u);
}

TEST_F(SubDialogs, APatternWithACountFromTheGridButtonFollowsTheSpacingAndNeverWritesVaries)
{
    ZnDlgMacro* dialog = open();
    ASSERT_NE(dialog, nullptr);
    ZnDlgMacroTab* page = dialog->page(kBoltTab);
    const MacroPatternProps& rows = dialog->data().tabs[kBoltTab].patterns[0];
    ASSERT_LT(rows.btnId, 0) << "the pattern's button is a grid cell";
    int opened = 0;
    for (int run = 0; run < 2; ++run) agent.onDialog(P::kTemplateId, [&](kxwin::DialogDriver& d) {
        ++opened;
        EXPECT_TRUE(d.isVisible(P::kWithCount.value));
        EXPECT_FALSE(d.isVisible(P::kWithoutCount.value));
        EXPECT_EQ(d.text(P::kWithCount.value), "2x100");
        EXPECT_EQ(d.text(P::kWithCount.count), "2");
        EXPECT_EQ(d.items(P::kWithCount.count),
                  (std::vector<std::string>{"", dialString(695).str(), dialString(996).str(), dialString(1055).str(),
                                            dialString(994).str()}));
        if (opened == 1) {
            // Text 695 is shown, never written.
            d.setText(P::kWithCount.value, dialString(695).str());
            d.setText(P::kWithCount.count, dialString(695).str());
        } else {
            d.setText(P::kWithCount.value, "3x90");
            EXPECT_EQ(d.text(P::kWithCount.count), "3") << "the count follows the spacing";
        }
        d.ok();
    });
    // Space on the button cell, as a person presses it.
    const auto pressCell = [&] {
        HWND grid = page->grid().GetSafeHwnd();
        SSSetActiveCell(grid, 2, -rows.btnId);
        SetFocus(grid);
        SendMessage(grid, WM_KEYDOWN, VK_SPACE, 0);
        SendMessage(grid, WM_KEYUP, VK_SPACE, 0);
    };
    const int before = updates();
    pressCell();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(dialog->data().tabs[kBoltTab].patterns[0].value, Kx_String("2x100"));
    EXPECT_EQ(dialog->data().tabs[kBoltTab].patterns[0].count, Kx_String("2"));
    EXPECT_EQ(updates(), before);
    pressCell();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(dialog->data().tabs[kBoltTab].patterns[0].value, Kx_String("3x90"));
    EXPECT_EQ(dialog->data().tabs[kBoltTab].patterns[0].count, Kx_String("3"));
}

TEST_F(SubDialogs, ArrayButtonOfTheLayoutShowsTheArrayAndItsEntryColumnsRoundTrip)
{
    ZnDlgMacro* dialog = open();
    ASSERT_NE(dialog, nullptr);
    ZnDlgMacroTab* page = dialog->page(kBasePlateTab);
    const DynArrayData& stiffeners = dialog->data().tabs[kBasePlateTab].arrays[0];
    ASSERT_GT(stiffeners.btnId, 0);
    const int before = updates();
    agent.onDialog(A::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1056).str() + " (Stiffeners)");
        EXPECT_EQ(d.text(A::kValueLabel), dialString(1076).str());
        EXPECT_FALSE(d.isVisible(A::kSpecial));
        EXPECT_FALSE(d.isVisible(A::kSecondDim));
        EXPECT_EQ(d.text(A::kKind), dialString(1073).str());
        EXPECT_EQ(d.text(A::kFirstDim), "plateLength");
        EXPECT_EQ(d.items(A::kFirstDim),
                  (std::vector<std::string>{"plateLength", "plateWidth", "plateThickness", "groutThickness"}));
        EXPECT_EQ(d.text(A::kValue), "4");
        EXPECT_EQ(d.text(A::kSpacing), "10");
        HWND grid = d.item(A::kGrid);
        EXPECT_EQ(kxtest::cellText(grid, A::kColName, 2), "Thickness");
        // Column 2 hidden and renamed, a third column added as text.
        SSSetValue(grid, A::kColShown, 2, "0");
        SSSetData(grid, A::kColName, 2, "t");
        d.click(A::kNewColumn);
        SSSetData(grid, A::kColName, 3, "Remark");
        SSSetData(grid, A::kColKind, 3, dialString(9858).c_str());
        d.setText(A::kValue, "5");
        d.pick(A::kFirstDim, "plateWidth");
        d.ok();
    });
    press(*page, stiffeners.btnId);
    const DynArrayData& after = dialog->data().tabs[kBasePlateTab].arrays[0];
    ASSERT_EQ(after.columns.length(), 3);
    EXPECT_EQ(after.columns[0], (EntryColumn{1, true, "Height"}));
    EXPECT_EQ(after.columns[1], (EntryColumn{1, false, "t"}));
    EXPECT_EQ(after.columns[2], (EntryColumn{2, true, "Remark"}));
    EXPECT_EQ(after.value, Kx_String("5"));
    EXPECT_EQ(after.strings[3], Kx_String("plateWidth"));
    EXPECT_GT(after.btnId, 0) << "the page's control ids stay";
    EXPECT_EQ(updates(), before + 1);
}

class ArrayLauncher : public kxtest::MacroSubDialogTest {
protected:
    void SetUp() override
    {
        MacroSubDialogTest::SetUp();
        kxhost::activeDrawing().clear();
        kxcore::MacroModel::instance().placeSampleFrames(kxhost::activeDrawing());
    }
    kxwin::UserAgent agent;
};

DynArrayData sampleArray(int kind)
{
    DynArrayData a = kxcore::sampleMacroData(0).tabs[kBasePlateTab].arrays[0];
    a.arrayKind = kind;
    return a;
}

TEST_F(ArrayLauncher, CancelLeavesTheDataAndKindsShowTheirOwnControls)
{
    DynArrayData data = sampleArray(3);
    const DynArrayData original = data;
    agent.onDialog(A::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.text(A::kValueLabel), dialString(1077).str());
        EXPECT_TRUE(d.isVisible(A::kSecondDim));
        EXPECT_TRUE(d.isVisible(A::kThirdDim));
        EXPECT_FALSE(d.isVisible(A::kSpecial));
        // Without the macro's objects only the array's own dimension is offered.
        EXPECT_EQ(d.items(A::kFirstDim), (std::vector<std::string>{"plateLength"}));
        d.pick(A::kKind, 0);
        EXPECT_TRUE(d.isVisible(A::kSpecial));
        EXPECT_FALSE(d.isVisible(A::kGrid)) << "kind 1 has no entries";
        EXPECT_EQ(d.text(A::kValueLabel), dialString(1076).str());
        d.setText(A::kValue, "9");
        d.cancel();
    });
    EXPECT_FALSE(StartArrayDlg(data, {}, "Base plates\\base plate"));
    EXPECT_EQ(data, original);
}

TEST_F(ArrayLauncher, ResetEntryActsOnTheActiveRowsEntryAndIgnoresARowWithoutOne)
{
    DynArrayData data = sampleArray(2);
    data.entries.setLogicalLength(1);
    agent.onDialog(A::kTemplateId, [](kxwin::DialogDriver& d) {
        HWND grid = d.item(A::kGrid);
        SSSetActiveCell(grid, A::kColName, 2);
        d.click(A::kResetEntry); // row 2 has a column but no entry
        SSSetActiveCell(grid, A::kColName, 1);
        d.click(A::kResetEntry);
        d.ok();
    });
    ASSERT_TRUE(StartArrayDlg(data, {}, "Base plates\\base plate"));
    ASSERT_EQ(data.entries.length(), 1);
    EXPECT_EQ(data.entries[0].action, kEntryInsertAfter);
    EXPECT_EQ(data.columns.length(), 2) << "the columns read back as they were";
}

TEST_F(ArrayLauncher, AKindOneArrayKeepsItsSpecialValueAndNeverWritesVaries)
{
    DynArrayData data = sampleArray(1);
    data.strings[2] = "30";
    agent.onDialog(A::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.text(A::kSpecial), "30");
        d.setText(A::kSpecial, "35");
        d.setText(A::kStartDistance, dialString(695).str());
        d.ok();
    });
    ASSERT_TRUE(StartArrayDlg(data, {}, "Base plates\\base plate"));
    EXPECT_EQ(data.strings[2], Kx_String("35"));
    EXPECT_EQ(data.strings[0], Kx_String("100"));
}

} // namespace
