// The macro dialog's interactions on the library's sample macro, as a person uses them: the focus kept
// per tab, the Tab key, dimension and flex buttons, the block choice and the property files.
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "core/PromptDialog.h"
#include "core/SaveFile.h"
#include "core/TextTables.h"
#include "core/tests/FileTestSupport.h"
#include "detailing/ZnDlgOpenSaveFiltered.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroLaunchers.h"
#include "macro/ZnDlgMacro.h"
#include "macro/ZnDlgMacroProfTab.h"
#include "macro/ZnDlgMacroTab.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Messages.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include "macro/tests/SampleMacroDialogTest.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr int kEndPlateTab = 0;
constexpr int kBasePlateTab = 4;
constexpr int kGeneralTab = 5;

class MacroInteractions : public kxtest::SampleMacroDialogTest {
protected:
    static int cellId(ZnDlgMacro& dialog, int tab, const char* name)
    {
        int i = 0;
        EXPECT_TRUE(dialog.data().tabs[tab].findCellWithName(name, i)) << name;
        return dialog.data().tabs[tab].cells[i].ctrlId;
    }
    static Kx_String cellValue(ZnDlgMacro& dialog, int tab, const char* name)
    {
        int i = 0;
        EXPECT_TRUE(dialog.data().tabs[tab].findCellWithName(name, i)) << name;
        return dialog.data().tabs[tab].cells[i].value;
    }
    static std::pair<DWORD, DWORD> selection(HWND edit)
    {
        DWORD a = 0, b = 0;
        SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
        return {a, b};
    }
    static void pressTab(ZnDlgMacro& dialog, bool back = false)
    {
        kxwin::DialogDriver(dialog.m_hWnd).pressKey(VK_TAB, back);
    }
    static void chooseFilter(ZnDlgMacro& dialog, int combo, int entry)
    {
        HWND h = dialog.GetDlgItem(combo);
        SendMessage(h, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        SendMessage(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
    }
};

// --- Focus memory and the Tab key ------------------------------------------------------------------

TEST_F(MacroInteractions, EachTabGetsItsFocusBackAfterSwitching)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    ASSERT_NE(dialog, nullptr);
    ZnDlgMacroTab* end = dialog->page(kEndPlateTab);
    HWND width = end->GetDlgItem(cellId(*dialog, kEndPlateTab, "plateWidth"));
    ASSERT_NE(width, nullptr);
    EXPECT_NE(GetFocus(), nullptr) << "the first tab shown gets the focus on its first control";
    SetFocus(width);

    dialog->showTab(kGeneralTab);
    HWND grid = dialog->page(kGeneralTab)->grid().m_hWnd;
    SetFocus(grid);
    SSSetActiveCell(grid, 3, 4);

    dialog->showTab(kEndPlateTab);
    EXPECT_EQ(GetFocus(), width);
    EXPECT_EQ(selection(width), std::make_pair(DWORD{0}, static_cast<DWORD>(GetWindowText(width).size())))
        << "an edit gets its whole text selected";

    dialog->showTab(kGeneralTab);
    EXPECT_EQ(GetFocus(), grid);
    int col = 0, row = 0;
    SSGetActiveCell(grid, &col, &row);
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(3, 4));
}

TEST_F(MacroInteractions, ARebuildWithFewerTabsKeepsTheTabShownAndItsSelection)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    dialog->showTab(kBasePlateTab);
    const int patternId = dialog->data().tabs[kBasePlateTab].patterns[0].valueId;
    ASSERT_GT(patternId, 0);
    HWND pattern = dialog->page(kBasePlateTab)->GetDlgItem(patternId);
    SetFocus(pattern);
    SendMessage(pattern, EM_SETSEL, 1, 2);

    chooseFilter(*dialog, ZnDlgMacro::kSecondFilter, 1); // plates only
    ASSERT_EQ(dialog->GetTabCount(), 2);
    const int shown = dialog->currentTab();
    ASSERT_GE(shown, 0);
    EXPECT_EQ(dialog->data().tabs[shown].moduleName, Kx_String("Base plates\\base plate"))
        << "the base plate moved from tab 4 to tab 1 and is still the one shown";
    HWND again = dialog->page(shown)->GetDlgItem(patternId);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(GetFocus(), again);
    EXPECT_EQ(selection(again), std::make_pair(DWORD{1}, DWORD{2})) << "a bolt pattern keeps its selection";

    // A record of a control the rebuilt page lacks puts the focus nowhere.
    ZnMacroTabFocus gone;
    gone.kind = ZnMacroTabFocus::kControl;
    gone.ctrlId = 33099;
    EXPECT_FALSE(dialog->page(shown)->restoreFocus(gone));
    EXPECT_EQ(GetFocus(), again);
}

TEST_F(MacroInteractions, SelectingAnotherMacroRebuildsThePagesAndKeepsTabAndFocus)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    dialog->showTab(kBasePlateTab);
    const int lengthId = cellId(*dialog, kBasePlateTab, "plateLength");
    SetFocus(dialog->page(kBasePlateTab)->GetDlgItem(lengthId));
    const AcDbObjectId other = kxcore::MacroModel::instance().macros()[1]->macroObject;
    kxhost::activeDrawing().setPickChooser([other](const kxhost::SimulatedDrawing&, const kxhost::PickRequest&) {
        return std::optional<kxhost::PickAnswer>(kxhost::PickAnswer{other, {}});
    });
    kxwin::DialogDriver(dialog->m_hWnd).click(ZnDlgMacro::kSelectMacros);
    kxhost::activeDrawing().setPickChooser({});
    EXPECT_EQ(dialog->data().numberOfMacros, 2);
    EXPECT_TRUE(IsWindowVisible(dialog->m_hWnd));
    ASSERT_EQ(dialog->currentTab(), kBasePlateTab);
    EXPECT_EQ(GetFocus(), dialog->page(kBasePlateTab)->GetDlgItem(lengthId));
    HWND width = dialog->page(kEndPlateTab)->GetDlgItem(cellId(*dialog, kEndPlateTab, "plateWidth"));
    EXPECT_EQ(GetWindowText(width), dialString(695).str()) << "the rebuilt pages show the two macros' values";
}

TEST_F(MacroInteractions, TabRunsThroughLayoutGridAndPageControlsBothWays)
{
    // The base plate as a bolt tab: its layout, one grid row (the grout thickness its layout lacks)
    // and the bolt row of the page.
    MacroData data = kxcore::sampleMacroData(0);
    data.tabs[kBasePlateTab].kind = 1;
    data.initialTab = data.tabs[kBasePlateTab].moduleName;
    ZnDlgMacro* dialog = open(data);
    ASSERT_EQ(dialog->currentTab(), kBasePlateTab);
    ZnDlgMacroTab* page = dialog->page(kBasePlateTab);
    HWND grid = page->grid().m_hWnd;
    ASSERT_TRUE(page->layout().setFocusToCtrl(/*first=*/true));
    HWND firstLayout = GetFocus();
    ASSERT_TRUE(page->layout().setFocusToCtrl(/*first=*/false));
    HWND lastLayout = GetFocus();
    ASSERT_NE(firstLayout, lastLayout);

    pressTab(*dialog);
    EXPECT_EQ(GetFocus(), grid) << "past the layout's last control: the grid";
    int col = 0, row = 0;
    SSGetActiveCell(grid, &col, &row);
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(3, 1));
    pressTab(*dialog);
    EXPECT_EQ(GetFocus(), page->GetDlgItem(ZnDlgMacroTab::kAssembly)) << "past the grid's last cell: the page's own";
    pressTab(*dialog);
    EXPECT_EQ(GetFocus(), page->GetDlgItem(ZnDlgMacroTab::kDiameter));
    pressTab(*dialog);
    EXPECT_EQ(GetFocus(), page->GetDlgItem(ZnDlgMacroTab::kAdvanced));
    pressTab(*dialog);
    EXPECT_EQ(GetFocus(), firstLayout) << "and round to the layout";

    pressTab(*dialog, /*back=*/true);
    EXPECT_EQ(GetFocus(), page->GetDlgItem(ZnDlgMacroTab::kAdvanced));
    pressTab(*dialog, true);
    pressTab(*dialog, true);
    EXPECT_EQ(GetFocus(), page->GetDlgItem(ZnDlgMacroTab::kAssembly));
    pressTab(*dialog, true);
    EXPECT_EQ(GetFocus(), grid);
    pressTab(*dialog, true);
    EXPECT_EQ(GetFocus(), lastLayout);
}

TEST_F(MacroInteractions, TabPassesOverAGroupWithNothingToFocus)
{
    // The general tab has no layout and no bolt row: Tab stays in its grid and wraps there.
    MacroData data = kxcore::sampleMacroData(0);
    data.initialTab = "General";
    ZnDlgMacro* dialog = open(data);
    ZnDlgMacroTab* page = dialog->page(kGeneralTab);
    HWND grid = page->grid().m_hWnd;
    EXPECT_EQ(GetFocus(), grid) << "no layout: the grid takes the first focus";
    int col = 0, row = 0;
    SSGetActiveCell(grid, &col, &row);
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(3, 1));
    pressTab(*dialog, /*back=*/true);
    SSGetActiveCell(grid, &col, &row);
    EXPECT_EQ(GetFocus(), grid);
    // The last cell taking input: the array's value in the last row.
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(3, SSGetMaxRows(grid)));
    pressTab(*dialog);
    SSGetActiveCell(grid, &col, &row);
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(3, 1));
}

TEST_F(MacroInteractions, OnAProfileTabTabRunsThroughThePagesOwnProfileControls)
{
    // The profile tab has no layout: its grid and, under it, the group, section, position, rotation
    // and base-plane controls with their buttons, in the page's own order.
    MacroData data = kxcore::sampleMacroData(0);
    data.initialTab = "Profiles";
    ZnDlgMacro* dialog = open(data);
    auto* page = dynamic_cast<ZnDlgMacroProfTab*>(dialog->page(dialog->currentTab()));
    ASSERT_NE(page, nullptr);
    std::vector<HWND> own;
    for (int id : ZnDlgMacroProfTab::kFocusOrder) {
        HWND h = page->GetDlgItem(id);
        if (h != nullptr && IsWindowVisible(h) && IsWindowEnabled(h))
            own.push_back(h);
    }
    ASSERT_GE(own.size(), 4u);
    // A drop-down combo (the rotation) takes the focus in its inner edit.
    const auto focusedIn = [](HWND h) { return GetFocus() == h || IsChild(h, GetFocus()); };
    SetFocus(own.front());
    for (std::size_t k = 1; k < own.size(); ++k) {
        pressTab(*dialog);
        EXPECT_TRUE(focusedIn(own[k])) << "own control " << k << ", id " << GetDlgCtrlID(own[k]);
    }
    pressTab(*dialog);
    EXPECT_EQ(GetFocus(), page->grid().m_hWnd) << "past the last own control: round to the grid";
    pressTab(*dialog, /*back=*/true);
    EXPECT_TRUE(focusedIn(own.back())) << "and back to the last own control";
}

// --- Dimension buttons -----------------------------------------------------------------------------

// The end plate's height button: base boltGroupHeight (200), A edgeTop (50), C edgeBottom (50),
// factor 0.5.
TEST_F(MacroInteractions, TheSpreadingDimensionButtonSharesTheChangeByItsFactor)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    ZnDlgMacroTab* page = dialog->page(kEndPlateTab);
    const int button = cellId(*dialog, kEndPlateTab, "boltGroupHeight");
    std::string shown;
    agent.onDialog(kxcore::kPromptDialogId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(971).str());
        shown = d.text(kxcore::kPromptValueId);
        d.setText(kxcore::kPromptValueId, "340");
        d.ok();
    });
    const int before = updates();
    kxwin::DialogDriver(page->m_hWnd).click(button);
    EXPECT_EQ(shown, "300.00000") << "200 + 50 + 50";
    EXPECT_EQ(cellValue(*dialog, kEndPlateTab, "edgeTop"), Kx_String("70.00"));
    EXPECT_EQ(cellValue(*dialog, kEndPlateTab, "edgeBottom"), Kx_String("70.00"));
    EXPECT_EQ(updates(), before + 1);

    // A factor of 0 counts as 1: all of the change goes to each cell.
    Kx_DesignerControl* ctrl = page->layout().getControlFromRes(button);
    ASSERT_NE(ctrl, nullptr);
    ctrl->setComboList("0");
    agent.onDialog(kxcore::kPromptDialogId, [&](kxwin::DialogDriver& d) {
        shown = d.text(kxcore::kPromptValueId);
        d.setText(kxcore::kPromptValueId, "260");
        d.ok();
    });
    kxwin::DialogDriver(page->m_hWnd).click(button);
    EXPECT_EQ(shown, "340.00000");
    EXPECT_EQ(cellValue(*dialog, kEndPlateTab, "edgeTop"), Kx_String("60.00"));
    EXPECT_EQ(cellValue(*dialog, kEndPlateTab, "edgeBottom"), Kx_String("60.00"));

    // An answer that is no number, and Cancel, change nothing.
    const int now = updates();
    agent.onDialog(kxcore::kPromptDialogId, [](kxwin::DialogDriver& d) {
        d.setText(kxcore::kPromptValueId, "tall");
        d.ok();
    });
    agent.onDialog(kxcore::kPromptDialogId, [](kxwin::DialogDriver& d) { d.cancel(); });
    kxwin::DialogDriver(page->m_hWnd).click(button);
    kxwin::DialogDriver(page->m_hWnd).click(button);
    EXPECT_EQ(updates(), now);
    EXPECT_EQ(cellValue(*dialog, kEndPlateTab, "edgeTop"), Kx_String("60.00"));
}

TEST_F(MacroInteractions, WithoutItsSecondCellTheButtonDividesByItsFactor)
{
    MacroData data = kxcore::sampleMacroData(0);
    int i = 0;
    ASSERT_TRUE(data.tabs[kEndPlateTab].findCellWithName("edgeBottom", i));
    data.tabs[kEndPlateTab].cells[i].name = "edgeBelow";
    ZnDlgMacro* dialog = open(data);
    std::string shown;
    agent.onDialog(kxcore::kPromptDialogId, [&](kxwin::DialogDriver& d) {
        shown = d.text(kxcore::kPromptValueId);
        d.setText(kxcore::kPromptValueId, "320");
        d.ok();
    });
    kxwin::DialogDriver(dialog->page(kEndPlateTab)->m_hWnd).click(cellId(*dialog, kEndPlateTab, "boltGroupHeight"));
    EXPECT_EQ(shown, "300.00000") << "200 + 50 / 0.5";
    EXPECT_EQ(cellValue(*dialog, kEndPlateTab, "edgeTop"), Kx_String("60.00"));
    EXPECT_EQ(cellValue(*dialog, kEndPlateTab, "edgeBelow"), Kx_String("50.00"));
}

// The base plate's grout button: base foundationLevel (-250), A groutThickness (30), C plateThickness (25).
TEST_F(MacroInteractions, TheLevelButtonPutsTheWholeChangeOnItsFirstCell)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    dialog->showTab(kBasePlateTab);
    std::string shown;
    agent.onDialog(kxcore::kPromptDialogId, [&](kxwin::DialogDriver& d) {
        shown = d.text(kxcore::kPromptValueId);
        d.setText(kxcore::kPromptValueId, "-180");
        d.ok();
    });
    kxwin::DialogDriver(dialog->page(kBasePlateTab)->m_hWnd).click(cellId(*dialog, kBasePlateTab, "foundationLevel"));
    EXPECT_EQ(shown, "-195.00000");
    EXPECT_EQ(cellValue(*dialog, kBasePlateTab, "groutThickness"), Kx_String("45.00"));
    EXPECT_EQ(cellValue(*dialog, kBasePlateTab, "plateThickness"), Kx_String("25.00"));
}

TEST_F(MacroInteractions, ADimensionWhoseBaseDiffersAsksNothing)
{
    MacroData data = kxcore::sampleMacroData(0);
    int i = 0;
    ASSERT_TRUE(data.tabs[kEndPlateTab].findCellWithName("boltGroupHeight", i));
    data.tabs[kEndPlateTab].cells[i].value = dialString(695);
    ZnDlgMacro* dialog = open(data);
    const int before = updates();
    // No prompt is scripted: the agent would report one.
    EXPECT_FALSE(dialog->page(kEndPlateTab)->dimensionButton(cellId(*dialog, kEndPlateTab, "boltGroupHeight")));
    EXPECT_EQ(updates(), before);
}

// --- Flex/fix buttons and the block choice ---------------------------------------------------------

TEST_F(MacroInteractions, FixingTheLastFlexibleButtonFreesAnotherAndTheButtonsFollow)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    ZnDlgMacroTab* page = dialog->page(kEndPlateTab);
    int widthIndex = 0, heightIndex = 0;
    ASSERT_TRUE(page->layout().findFlexButton("plateDims", "plateWidth", widthIndex));
    ASSERT_TRUE(page->layout().findFlexButton("plateDims", "plateHeight", heightIndex));
    const int before = updates();
    kxwin::DialogDriver(page->m_hWnd).click(page->layout().getControl(widthIndex)->getResourceId());
    bool fixed = false;
    ASSERT_TRUE(dialog->data().tabs[kEndPlateTab].isFlexFixBtnFixed("plateDims", "plateWidth", fixed));
    EXPECT_TRUE(fixed);
    ASSERT_TRUE(dialog->data().tabs[kEndPlateTab].isFlexFixBtnFixed("plateDims", "plateHeight", fixed));
    EXPECT_FALSE(fixed) << "one button of the group stays flexible";
    int status = -1;
    ASSERT_TRUE(page->layout().getFlexBtnStatus(heightIndex, status));
    EXPECT_EQ(status, 1) << "the page shows the freed button flexible";
    EXPECT_EQ(updates(), before + 1);
}

TEST_F(MacroInteractions, TheBlockChoiceListsTheLibraryFolderAndSwapsTheBlock)
{
    ZnDlgMacro* dialog = open(kxcore::sampleMacroData(0));
    dialog->showTab(kBasePlateTab);
    const int id = dialog->data().tabs[kBasePlateTab].block.ctrlId;
    ASSERT_GT(id, 0);
    kxwin::DialogDriver page(dialog->page(kBasePlateTab)->m_hWnd);
    EXPECT_EQ(page.items(id), (std::vector<std::string>{"anchor M20", "anchor M24", "anchor M30", dialString(695).str()}));
    page.pick(id, "anchor M30");
    EXPECT_EQ(dialog->data().tabs[kBasePlateTab].block.blockName, Kx_String("anchor M30"));
    bool swapped = false;
    for (const auto& r : kxhost::activeDrawing().requests())
        swapped = swapped || r.what == "swapBlockRefs Base plates\\base plate: anchor M24 -> anchor M30";
    EXPECT_TRUE(swapped);
}

TEST_F(MacroInteractions, ABlockFolderOutsideTheLibraryListsNothingAndSaysSo)
{
    // A library whose base plate layout names "..\..\Blocks\Anchors", with drawings there too.
    namespace fs = std::filesystem;
    kxtest::TempFolder root;
    const fs::path lib = root.path() / "a" / "lib";
    const fs::path designs = lib / "Dialog Templates" / "Dialog Design";
    fs::create_directories(designs);
    fs::copy(fs::path(KX_SOURCE_LIBRARY_DIR) / "Dialog Templates" / "Dialog Design", designs, fs::copy_options::recursive);
    fs::create_directories(root.path() / "Blocks" / "Anchors");
    kxtest::writeBytes((root.path() / "Blocks" / "Anchors" / "outside.dwg").string(), "dwg");
    const std::string layout = (designs / "Base plates" / "base plate.txt").string();
    std::string text = kxtest::readBytes(layout);
    const std::string from = "text comboList23 = \"Blocks\\\\Anchors\"";
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, from.size(), "text comboList23 = \"..\\\\..\\\\Blocks\\\\Anchors\"");
    kxtest::writeBytes(layout, text);

    MacroData data = kxcore::sampleMacroData(0);
    Kx_Settings::setLibDir(Kx_String(lib.string() + "/"));
    kxhost::takeCommandLineText();
    ZnDlgMacro* dialog = open(data);
    dialog->showTab(kBasePlateTab);
    const int id = dialog->data().tabs[kBasePlateTab].block.ctrlId;
    ASSERT_GT(id, 0) << "the block choice is still shown";
    EXPECT_TRUE(kxwin::DialogDriver(dialog->page(kBasePlateTab)->m_hWnd).items(id).empty());
    EXPECT_NE(kxhost::takeCommandLineText().find("lies outside the library folder"), std::string::npos);
}

// --- Property files --------------------------------------------------------------------------------

class MacroPropertyFiles : public MacroInteractions {
protected:
    void SetUp() override
    {
        MacroInteractions::SetUp();
        data = kxcore::sampleMacroData(0);
        data.propFileFolder = Kx_String(folder.path().string() + "/");
    }
    // The filtered dialog: the name typed, then OK.
    void chooseName(const std::string& name)
    {
        agent.onDialog(ZnDlgOpenSaveFiltered::kTemplateId, [name](kxwin::DialogDriver& d) {
            d.setText(ZnDlgOpenSaveFiltered::kName, name);
            d.ok();
        });
    }
    kxtest::TempFolder folder;
    MacroData data;
};

TEST_F(MacroPropertyFiles, AFileWithUnusableValuesAppliesTheRestAndCountsThem)
{
    kxtest::writeBytes(folder.file("Wide.kxp"), "# KESTRA_SS property list\n"
                                                "text description = \"Wide plate\"\n"
                                                "text \"End plates\\\\end plate|cell:plateWidth\" = \"240.00\"\n"
                                                "text \"End plates\\\\end plate|cell:boltGroupHeight\" = \"1\"\n"
                                                "text \"Nowhere|cell:x\" = \"1\"\n");
    ZnDlgMacro* dialog = open(data);
    std::vector<std::string> offered;
    agent.onDialog(ZnDlgOpenSaveFiltered::kTemplateId, [&](kxwin::DialogDriver& d) {
        offered = d.items(ZnDlgOpenSaveFiltered::kList);
        d.pick(ZnDlgOpenSaveFiltered::kList, "Wide");
        d.ok();
    });
    agent.answerMessageBox(IDOK, dialString(1508).str() + " 2 " + dialString(1509).str());
    const int before = updates();
    kxwin::DialogDriver(dialog->m_hWnd).click(ZnDlgMacro::kReadProperties);
    EXPECT_EQ(offered, std::vector<std::string>{"Wide"});
    EXPECT_EQ(cellValue(*dialog, kEndPlateTab, "plateWidth"), Kx_String("240.00"));
    EXPECT_EQ(cellValue(*dialog, kEndPlateTab, "boltGroupHeight"), Kx_String("200.00"));
    EXPECT_GT(updates(), before) << "the values went to the drawing";
    HWND width = dialog->page(kEndPlateTab)->GetDlgItem(cellId(*dialog, kEndPlateTab, "plateWidth"));
    EXPECT_EQ(GetWindowText(width), "240.00") << "and the page shows them";
}

TEST_F(MacroPropertyFiles, ADamagedFileAppliesNothingAndSaysWhy)
{
    kxtest::writeBytes(folder.file("Broken.kxp"), "# KESTRA_SS property list\n"
                                                  "text \"End plates\\\\end plate|cell:plateWidth\" = \"240.00\"\n"
                                                  "this is no property\n");
    ZnDlgMacro* dialog = open(data);
    const MacroData before = dialog->data();
    const int requests = updates();
    chooseName("Broken");
    agent.answerMessageBox(IDOK, dialString(9812).str());
    kxwin::DialogDriver(dialog->m_hWnd).click(ZnDlgMacro::kReadProperties);
    EXPECT_EQ(dialog->data(), before);
    EXPECT_EQ(updates(), requests);
    ASSERT_FALSE(agent.messageBoxes().empty());
    EXPECT_NE(agent.messageBoxes().back().text.find("line 3"), std::string::npos) << agent.messageBoxes().back().text;
}

TEST_F(MacroPropertyFiles, AFailedWriteIsReportedAndNothingIsLeftBehind)
{
    ZnDlgMacro* dialog = open(data);
    const MacroData before = dialog->data();
    chooseName("Saved.kxp");
    agent.answerMessageBox(IDOK, dialString(9813).str());
    {
        kx::FailingFileOps failing(1);
        kx::ScopedFileOps scope(failing);
        EXPECT_FALSE(dialog->writePropertyFile());
    }
    EXPECT_EQ(dialog->data(), before);
    EXPECT_TRUE(folder.entries().empty()) << "no file and no temporary";

    chooseName("Saved");
    kxwin::DialogDriver(dialog->m_hWnd).click(ZnDlgMacro::kWriteProperties);
    ASSERT_EQ(folder.entries(), std::vector<std::string>{"Saved.kxp"});
    MacroData other = kxcore::sampleMacroData(0);
    int errors = -1;
    ASSERT_TRUE(other.readFromFile(Kx_String(folder.file("Saved.kxp")), errors));
    EXPECT_EQ(errors, 0);
}

TEST_F(MacroPropertyFiles, WritingFirstTakesWhatThePagesShow)
{
    ZnDlgMacro* dialog = open(data);
    HWND width = dialog->page(kEndPlateTab)->GetDlgItem(cellId(*dialog, kEndPlateTab, "plateWidth"));
    SetWindowText(width, "230");
    chooseName("Typed");
    kxwin::DialogDriver(dialog->m_hWnd).click(ZnDlgMacro::kWriteProperties);
    EXPECT_EQ(cellValue(*dialog, kEndPlateTab, "plateWidth"), Kx_String("230.00"));
    EXPECT_NE(kxtest::readBytes(folder.file("Typed.kxp")).find("\"230.00\""), std::string::npos);
}

} // namespace
