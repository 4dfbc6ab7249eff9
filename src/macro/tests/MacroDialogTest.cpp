// The macro dialog on the library's sample macro, as a caller opens it and a person edits it: what
// each page binds, what goes to the grid, and what reaches the drawing.
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "core/TextTables.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroLaunchers.h"
#include "macro/ZnDlgMacro.h"
#include "macro/ZnDlgMacroTab.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Messages.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include "macro/tests/SampleMacroDialogTest.h"

#include <gtest/gtest.h>

namespace {

constexpr int kEndPlateTab = 0;
constexpr int kBoltTab = 1;
constexpr int kGeneralTab = 5;

class MacroDialog : public kxtest::SampleMacroDialogTest {
protected:
    static std::string gridText(HWND grid, int col, int row)
    {
        char text[256] = {};
        SSGetData(grid, col, row, text, sizeof text);
        return text;
    }
    // A person types into a layout edit and leaves it.
    static void typeAndLeave(ZnDlgMacroTab& page, int id, const std::string& text)
    {
        HWND edit = page.GetDlgItem(id);
        ASSERT_NE(edit, nullptr);
        SetWindowText(edit, text);
        SendMessage(page.m_hWnd, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit));
    }
};

TEST_F(MacroDialog, ATabWithoutALayoutListsEveryItemInItsGrid)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    ASSERT_NE(dialog, nullptr);
    ZnDlgMacroTab* page = dialog->page(kGeneralTab);
    ASSERT_NE(page, nullptr);
    const MacroTabData& tab = dialog->data().tabs[kGeneralTab];
    for (int i = 0; i < tab.cells.length(); ++i)
        EXPECT_EQ(tab.cells[i].ctrlId, -(i + 1)) << tab.cells[i].name.str();
    EXPECT_EQ(tab.arrays[0].valueId, -(tab.cells.length() + 1)) << "arrays get their row too";
    EXPECT_EQ(SSGetMaxRows(page->grid().m_hWnd), tab.cells.length() + 1) << "and no blank rows";
    EXPECT_EQ(gridText(page->grid().m_hWnd, 1, 2), "Clearance (mm)");
    EXPECT_EQ(gridText(page->grid().m_hWnd, 3, 2), "0.125");
    EXPECT_TRUE(page->removedControls().empty());
}

TEST_F(MacroDialog, EveryControlOfTheSampleLayoutsBindsAndAMissingCellsControlGoes)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    for (int t : {0, 3}) {
        ASSERT_NE(dialog->page(t), nullptr);
        for (const auto& r : dialog->page(t)->removedControls())
            ADD_FAILURE() << dialog->data().tabs[t].layoutName.str() << " control " << r.index << ": " << r.reason;
    }
    // The base plate's layout also shows the special value of its array, which only arrays of kind 1
    // have: that control goes, so that reading back can never empty the value it does not show.
    const auto& base = dialog->page(4)->removedControls();
    ASSERT_EQ(base.size(), 1u);
    EXPECT_EQ(base[0].type, 20);
    EXPECT_EQ(base[0].reason, "array stiffeners has no special value (kind 2)");
    const MacroTabData& end = dialog->data().tabs[kEndPlateTab];
    int i = 0;
    ASSERT_TRUE(end.findCellWithName("plateWidth", i));
    EXPECT_GE(end.cells[i].ctrlId, kDesignerFirstResourceId);
    ASSERT_TRUE(end.findCellWithName("edgeTop", i));
    EXPECT_LT(end.cells[i].ctrlId, 0) << "no control shows it: a grid row";
    DestroyAllMacroDlgs();

    // The layout names plateThickness; this macro calls it plateThk.
    MacroData renamed = kxcore::sampleMacroData(0);
    ASSERT_TRUE(renamed.tabs[kEndPlateTab].findCellWithName("plateThickness", i));
    renamed.tabs[kEndPlateTab].cells[i].name = "plateThk";
    dialog = open(renamed);
    const auto& removed = dialog->page(kEndPlateTab)->removedControls();
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].contents, "plateThickness");
    EXPECT_EQ(removed[0].reason, "no cell plateThickness");
    EXPECT_LT(dialog->data().tabs[kEndPlateTab].cells[i].ctrlId, 0) << "the cell shows up in the grid";
}

TEST_F(MacroDialog, LeavingAChangedFieldUpdatesTheDrawingOnceAndAnUnchangedOneNothing)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    ZnDlgMacroTab* page = dialog->page(kEndPlateTab);
    int i = 0;
    ASSERT_TRUE(dialog->data().tabs[kEndPlateTab].findCellWithName("plateWidth", i));
    const int id = dialog->data().tabs[kEndPlateTab].cells[i].ctrlId;
    const int before = updates();
    typeAndLeave(*page, id, "220");
    EXPECT_EQ(updates(), before + 1);
    EXPECT_EQ(dialog->data().tabs[kEndPlateTab].cells[i].value, Kx_String("220.00"));
    EXPECT_EQ(kxcore::MacroModel::instance().macros()[0]->parts[3].properties[2].second, "220 x 300");
    typeAndLeave(*page, id, "220.00");
    EXPECT_EQ(updates(), before + 1) << "leaving it unchanged asks nothing";

    // The drawing corrects a plate narrower than its bolts; the page shows what the drawing made.
    typeAndLeave(*page, id, "90");
    EXPECT_EQ(GetWindowText(page->GetDlgItem(id)), "175.00");
}

TEST_F(MacroDialog, AWordTypedIntoANumberIsRefusedAndTheOldValueShownAgain)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    ZnDlgMacroTab* page = dialog->page(kGeneralTab);
    HWND grid = page->grid().m_hWnd;
    SSSetData(grid, 3, 2, "wide");
    agent.answerMessageBox(IDOK, "wide");
    const int before = updates();
    SendMessage(page->m_hWnd, WM_COMMAND, MAKEWPARAM(ZnDlgMacroTab::kGrid, SSN_LEAVECELLAFTEREDIT),
                reinterpret_cast<LPARAM>(grid));
    EXPECT_EQ(updates(), before) << kxhost::activeDrawing().requests().back().text();
    EXPECT_EQ(gridText(grid, 3, 2), "0.125");
    EXPECT_EQ(agent.messageBoxes().size(), 1u);

    SSSetData(grid, 3, 2, "0.5");
    SendMessage(page->m_hWnd, WM_COMMAND, MAKEWPARAM(ZnDlgMacroTab::kGrid, SSN_LEAVECELLAFTEREDIT),
                reinterpret_cast<LPARAM>(grid));
    EXPECT_EQ(updates(), before + 1);
    EXPECT_EQ(dialog->data().tabs[kGeneralTab].cells[1].value, Kx_String("0.50"));
}

TEST_F(MacroDialog, TheBoltTabShowsItsBoltRowAndSizeKeysFollowTheMacros)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    ZnDlgMacroTab* bolts = dialog->page(kBoltTab);
    // The pages of other tabs are hidden, so what counts is whether the page shows the control.
    const auto shown = [](HWND h) { return (GetWindowLong(h, GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_TRUE(shown(bolts->GetDlgItem(ZnDlgMacroTab::kAssembly)));
    EXPECT_EQ(GetWindowText(bolts->GetDlgItem(ZnDlgMacroTab::kDiameter)), "M20");
    EXPECT_FALSE(shown(dialog->page(kEndPlateTab)->GetDlgItem(ZnDlgMacroTab::kAssembly)))
        << "the end plate's layout has a bolt-advanced button";
    EXPECT_EQ(dialog->sizeKey(), Kx_String("DLG_MACRO_EDITVARS_End plate connection"));
    dialog->data().numberOfMacros = 3;
    dialog->data().firstFilterSel = dialog->data().groupNames.length();
    EXPECT_EQ(dialog->sizeKey(), Kx_String("DLG_MACRO_EDITVARS_3_MACROS"));
    dialog->data().firstFilterSel = 1;
    EXPECT_EQ(dialog->sizeKey(), Kx_String("DLG_MACRO_EDITVARS_GROUP_Beam-to-column"));
}

TEST_F(MacroDialog, ClosingMarksTheDataClosedAndTheModalCallerGetsItBack)
{
    MacroData data = kxcore::sampleMacroData(0);
    agent.onDialog(ZnDlgMacro::kTemplateId, [](kxwin::DialogDriver& d) { d.ok(); });
    StartDlgMacro(data);
    EXPECT_TRUE(data.isClosed());
    EXPECT_EQ(data.tabs[kGeneralTab].cells[0].ctrlId, -1) << "the caller sees the dialog's copy";
}

TEST_F(MacroDialog, TheVariesEntryOfACutListIsNeverWrittenAndARebuildKeepsTheTab)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    ZnDlgMacroTab* page = dialog->page(kEndPlateTab);
    const MacroCutData cut = dialog->data().tabs[kEndPlateTab].cuts[0];
    ASSERT_GT(cut.ctrlId, 0);
    HWND list = page->GetDlgItem(cut.ctrlId);
    SendMessage(list, CB_SETCURSEL, 4, 0); // the entry "values differ"
    SendMessage(page->m_hWnd, WM_COMMAND, MAKEWPARAM(cut.ctrlId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(dialog->data().tabs[kEndPlateTab].cuts[0].value, cut.value);
    SendMessage(list, CB_SETCURSEL, 2, 0);
    SendMessage(page->m_hWnd, WM_COMMAND, MAKEWPARAM(cut.ctrlId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(dialog->data().tabs[kEndPlateTab].cuts[0].value, 2);

    // A filter change rebuilds the pages; the tab shown stays shown.
    dialog->SetActiveTab(3);
    SendMessage(dialog->GetDlgItem(ZnDlgMacro::kFirstFilter), CB_SETCURSEL, 1, 0);
    SendMessage(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(ZnDlgMacro::kFirstFilter, CBN_SELCHANGE),
                reinterpret_cast<LPARAM>(dialog->GetDlgItem(ZnDlgMacro::kFirstFilter)));
    EXPECT_EQ(dialog->GetTabCount(), 6) << "the pages are made again from the module's template";
    EXPECT_EQ(dialog->currentTab(), 3);
    EXPECT_EQ(dialog->data().firstFilterSel, 1);
}

} // namespace
