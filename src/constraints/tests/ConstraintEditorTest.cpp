// The constraint editor driven as a person would, on the sample macro placed in the simulated
// drawing: what the pages show, what reaches the drawing's constraint model, and the faults of
// closing it while something nested runs.
#include "constraints/ConstraintLaunchers.h"
#include "constraints/ZnDlgEditConstraints.h"
#include "core/ConstraintFunctions.h"
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "core/TextTables.h"
#include "frame/ModelessDialogs.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Menu.h"
#include "platform/win/UserAgent.h"
#include "platform/win/UserInput.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using kxcore::MacroModel;
using Editor = ZnDlgEditConstraints;

kxhost::SimulatedDrawing& drawing() { return kxhost::activeDrawing(); }

// The point in the middle of a grid cell, in the grid's client pixels (the grid scrolled to the top).
POINT cellPoint(HWND grid, int col, int row)
{
    int x = 0;
    if (SSGetBool(grid, SSB_SHOWROWHEADERS)) {
        SSGetColWidthInPixels(grid, 0, &x);
    }
    for (int c = 1; c < col; ++c) {
        int w = 0;
        SSGetColWidthInPixels(grid, c, &w);
        x += w;
    }
    int w = 0;
    SSGetColWidthInPixels(grid, col, &w);
    int y = 0;
    for (int r = 0; r < row; ++r) {
        int h = 0;
        SSGetRowHeightInPixels(grid, r, &h);
        y += h;
    }
    int h = 0;
    SSGetRowHeightInPixels(grid, row, &h);
    return POINT{x + w / 2, y + h / 2};
}

int countRequests(const std::string& prefix)
{
    int n = 0;
    for (const auto& r : drawing().requests())
        if (r.what.rfind(prefix, 0) == 0)
            ++n;
    return n;
}

class ConstraintEditor : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
        drawing().clear();
        drawing().clearRequests();
        MacroModel::instance().reset();
        MacroModel::instance().setRefusal(nullptr);
        ids = MacroModel::instance().placeSampleFrames(drawing());
        ASSERT_EQ(ids.size(), 2u);
        data = MacroModel::instance().find(ids[0])->constraints;
        data.loadCurrentModule();
        kxhost::takeCommandLineText();
    }
    void TearDown() override
    {
        EndDlgEditConstraints();
        MacroModel::instance().setRefusal(nullptr);
        drawing().setPickChooser(nullptr);
        WindowLayerTest::TearDown();
    }

    Editor& open()
    {
        EXPECT_TRUE(StartDlgEditConstraints(data));
        editor = static_cast<Editor*>(kxss::constraintEditor());
        return *editor;
    }
    kxwin::DialogDriver main() { return kxwin::DialogDriver(editor->m_hWnd); }
    kxwin::DialogDriver page(int index) { return kxwin::DialogDriver(editor->GetPage(index)->m_hWnd); }
    void clickCell(Kx_Spread& grid, int col, int row, int gridId)
    {
        page(pageOf(gridId)).clickAt(gridId, cellPoint(grid.GetSafeHwnd(), col, row));
    }
    static int pageOf(int gridId)
    {
        return gridId == Editor::kGrid ? 0 : gridId == Editor::kGeometryGrid ? 1 : 2;
    }
    void clickConstraint(int row) { clickCell(editor->constraintsGrid(), 1, row, Editor::kGrid); }
    // The model of the module in the placed macro, as the drawing keeps it.
    const ConstraintModule& model(const char* module)
    {
        const ConstraintModule* m = editor->data().findModule(module);
        EXPECT_NE(m, nullptr) << module;
        return *m;
    }
    std::string cell(Kx_Spread& grid, int col, int row)
    {
        Kx_String text;
        grid.getCellText(col, row, text, Kx_Spread::kTextData);
        return text.str();
    }

    kxwin::UserAgent agent;
    std::vector<AcDbObjectId> ids;
    EditConstrData data;
    Editor* editor = nullptr;
};

TEST_F(ConstraintEditor, OpensOnTheCurrentModuleAndHighlightsTheFirstConstraint)
{
    open();
    auto d = main();
    EXPECT_EQ(d.title(), dialString(869).str());
    EXPECT_EQ(d.items(Editor::kModules), (std::vector<std::string>{"End plate", "Bolts", "Beam"}));
    EXPECT_EQ(d.selectedIndex(Editor::kModules), 0);
    EXPECT_EQ(d.items(Editor::kTabs).size(), 4u);
    EXPECT_EQ(d.tooltip(Editor::kZoom), dialString(868).str());
    EXPECT_TRUE(page(0).isOpen());
    EXPECT_TRUE(IsWindowVisible(editor->GetPage(0)->m_hWnd));
    EXPECT_FALSE(IsWindowVisible(editor->GetPage(2)->m_hWnd));

    Kx_Spread& grid = editor->constraintsGrid();
    EXPECT_EQ(grid.getRowCount(), 10);
    EXPECT_EQ(cell(grid, 1, 3), "C3");
    EXPECT_EQ(cell(grid, 2, 3), "Distance");
    EXPECT_EQ(editor->shownConstraint(), 0);
    EXPECT_FALSE(drawing().highlighted().empty()) << "the first constraint's parts are marked";
    EXPECT_EQ(kxhost::takeCommandLineText().find("*"), std::string::npos) << "no warning, no error";
}

TEST_F(ConstraintEditor, SelectingARowShowsItsPropertiesAndHighlightsItsParts)
{
    open();
    clickConstraint(4);
    EXPECT_EQ(editor->shownConstraint(), 3);
    auto p = page(0);
    EXPECT_EQ(p.text(Editor::kVarName), "edgeBottom");
    EXPECT_TRUE(p.isEnabled(Editor::kVarName));
    EXPECT_EQ(p.text(Editor::kText2), "50");
    EXPECT_EQ(p.selectedIndex(Editor::kChoice), 1);
    EXPECT_EQ(p.checkState(Editor::kFlag1), BST_CHECKED);
    EXPECT_TRUE(p.isEnabled(Editor::kFlag2));
    EXPECT_EQ(p.checkState(Editor::kEnumButtons[1]), BST_CHECKED);
    EXPECT_EQ(countRequests("HighlightConstraint C4"), 1);

    // A constraint without a variable: the name cannot be typed; the second flag follows the first.
    clickConstraint(1);
    EXPECT_FALSE(p.isEnabled(Editor::kVarName));
    EXPECT_FALSE(p.isEnabled(Editor::kFlag2));
    p.setCheck(Editor::kFlag1, BST_CHECKED);
    EXPECT_TRUE(p.isEnabled(Editor::kFlag2));
}

TEST_F(ConstraintEditor, AnEditIsAppliedWhenTheRowIsLeftAndOnlyWhenSomethingDiffers)
{
    open();
    clickConstraint(3);
    auto p = page(0);
    p.setText(Editor::kText2, "60");
    p.click(Editor::kEnumButtons[3]);
    EXPECT_EQ(p.checkState(Editor::kEnumButtons[1]), BST_UNCHECKED) << "one enumeration button at a time";
    clickConstraint(4);
    EXPECT_EQ(countRequests("UpdateConstraint C3"), 1);
    EXPECT_EQ(model("End plate").constraints[2].text2, Kx_String("60"));
    EXPECT_EQ(model("End plate").constraints[2].enumChoice, 4);

    // Visiting without a change, or changing only the letter case of a text, applies nothing.
    clickConstraint(3);
    p.setText(Editor::kVarName, "EDGETOP");
    clickConstraint(5);
    EXPECT_EQ(countRequests("UpdateConstraint C3"), 1);
    EXPECT_EQ(model("End plate").constraints[2].varName, Kx_String("edgeTop"));

    // A refused update leaves the data as the drawing has it.
    clickConstraint(3);
    p.setText(Editor::kText2, "70");
    MacroModel::instance().setRefusal([](std::string_view call) { return call == "UpdateConstraint"; });
    clickConstraint(4);
    EXPECT_EQ(editor->data().constraints[2].text2, Kx_String("60"));
}

TEST_F(ConstraintEditor, ATypedVariableNameIsCheckedWhenTheEditIsLeft)
{
    open();
    clickConstraint(3);
    auto p = page(0);
    const auto warnsWith = [&](const std::string& name, int text) {
        agent.answerMessageBox(IDOK, dialString(text).str());
        p.setText(Editor::kVarName, name);
        p.focus(Editor::kText2);
        ASSERT_FALSE(agent.messageBoxes().empty());
        EXPECT_EQ(agent.messageBoxes().back().text.rfind("\"" + name + "\"\n", 0), 0u);
        EXPECT_EQ(p.text(Editor::kVarName), name) << "the warning leaves the text";
    };
    warnsWith("1a", 885);
    warnsWith("a+", 1455);
    warnsWith("plateWidth", 857);
    EXPECT_EQ(agent.messageBoxes().back().caption, dialString(856).str());
    const size_t boxes = agent.messageBoxes().size();
    p.setText(Editor::kVarName, "EdgeTop");
    p.focus(Editor::kText2);
    p.setText(Editor::kVarName, "edgeTopNew");
    p.focus(Editor::kText2);
    EXPECT_EQ(agent.messageBoxes().size(), boxes) << "a case-only change and a good name get no warning";
}

TEST_F(ConstraintEditor, DeletingSelectsTheRowAboveOrTheFirstAndNothingWhenNoneIsLeft)
{
    open();
    clickConstraint(3);
    page(0).click(Editor::kDelete);
    EXPECT_EQ(editor->constraintsGrid().getRowCount(), 9);
    EXPECT_EQ(editor->shownConstraint(), 1);
    EXPECT_EQ(model("End plate").constraints.length(), 9);
    clickConstraint(1);
    page(0).click(Editor::kDelete);
    EXPECT_EQ(editor->shownConstraint(), 0);

    // The Beam module down to nothing: no row, no properties, nothing enabled.
    main().pick(Editor::kModules, "Beam");
    for (int i = 0; i < 4; ++i)
        page(0).click(Editor::kDelete);
    EXPECT_EQ(editor->constraintsGrid().getRowCount(), 0);
    EXPECT_EQ(editor->shownConstraint(), -1);
    EXPECT_FALSE(page(0).isEnabled(Editor::kDelete));
    EXPECT_EQ(page(0).text(Editor::kText2), "");
}

TEST_F(ConstraintEditor, AHeaderClickSortsOnceAndKeepsTheShownConstraint)
{
    open();
    clickConstraint(3);
    const HWND grid = editor->constraintsGrid().GetSafeHwnd();
    page(0).clickAt(Editor::kGrid, cellPoint(grid, 2, 0));
    EXPECT_EQ(editor->sortColumn(), 2);
    EXPECT_EQ(countRequests("SortConstraints 2"), 1);
    EXPECT_EQ(cell(editor->constraintsGrid(), 2, 1), "Angle");
    EXPECT_EQ(editor->data().constraints[editor->shownConstraint()].texts[0], Kx_String("C3"));
    page(0).clickAt(Editor::kGrid, cellPoint(grid, 2, 0));
    EXPECT_EQ(countRequests("SortConstraints"), 1) << "the sorted column again does nothing";
}

TEST_F(ConstraintEditor, TheContextMenuPassesTheChosenItemsIdAndGreysDisabledItems)
{
    open();
    UINT grey = 0;
    agent.onMenu([&](const PopupMenuRequest& menu) -> UINT {
        EXPECT_EQ(GetMenuItemCount(menu.menu), 4);
        grey = GetMenuState(menu.menu, 2, MF_BYPOSITION);
        return Editor::kMenuIds[2];
    });
    HWND grid = editor->constraintsGrid().GetSafeHwnd();
    page(0).rightClick(Editor::kGrid, cellPoint(grid, 1, 3));
    EXPECT_EQ(editor->shownConstraint(), 2) << "the row clicked is selected";
    EXPECT_EQ(grey & MF_GRAYED, 0u);
    // Item 2 of C3 is "Make driven" with id 2: the flag goes off.
    EXPECT_FALSE(model("End plate").constraints[2].flag1);
    EXPECT_EQ(page(0).checkState(Editor::kFlag1), BST_UNCHECKED);

    agent.onMenu([&](const PopupMenuRequest& menu) -> UINT {
        grey = GetMenuState(menu.menu, 2, MF_BYPOSITION);
        return 0;
    });
    page(0).rightClick(Editor::kGrid, cellPoint(grid, 1, 1));
    EXPECT_NE(grey & MF_GRAYED, 0u) << "C1 carries no variable";
    EXPECT_EQ(countRequests("ContextMenuAction"), 1);
}

TEST_F(ConstraintEditor, ChangingTheModuleAppliesTheEditsAndRefillsEveryPage)
{
    open();
    clickConstraint(3);
    page(0).setText(Editor::kText2, "55");
    main().pick(Editor::kModules, "Bolts");
    EXPECT_EQ(model("End plate").constraints[2].text2, Kx_String("55"));
    EXPECT_EQ(editor->data().currentModule, Kx_String("Bolts"));
    EXPECT_EQ(editor->constraintsGrid().getRowCount(), 6);
    EXPECT_EQ(editor->geometryGrid().getRowCount(), 3);
    EXPECT_EQ(editor->variablesGrid().getRowCount(), 3);
    EXPECT_EQ(countRequests("UpdateVarsEqs"), 0) << "untouched variables are not applied";

    // Refused: the old module stays, in the data and in the list.
    MacroModel::instance().setRefusal([](std::string_view call) { return call == "SetCurrentModule"; });
    main().pick(Editor::kModules, "Beam");
    EXPECT_EQ(editor->data().currentModule, Kx_String("Bolts"));
    EXPECT_EQ(main().selectedIndex(Editor::kModules), 1);
}

TEST_F(ConstraintEditor, RemovingAModuleSelectsTheSamePositionOrTheOneBefore)
{
    open();
    main().pick(Editor::kModules, "Beam");
    main().click(Editor::kRemoveModule);
    EXPECT_EQ(main().items(Editor::kModules), (std::vector<std::string>{"End plate", "Bolts"}));
    EXPECT_EQ(main().selectedIndex(Editor::kModules), 1);
    EXPECT_EQ(editor->data().currentModule, Kx_String("Bolts"));
    main().pick(Editor::kModules, "End plate");
    main().click(Editor::kRemoveModule);
    EXPECT_EQ(main().selectedIndex(Editor::kModules), 0);
    EXPECT_EQ(editor->data().currentModule, Kx_String("Bolts"));
    EXPECT_EQ(editor->constraintsGrid().getRowCount(), 6);
    main().click(Editor::kRemoveModule);
    EXPECT_EQ(main().items(Editor::kModules).size(), 1u) << "the core keeps the last module";
}

TEST_F(ConstraintEditor, RenameAppliesACaseOnlyChangeAndKeepsTheListWhenRefused)
{
    open();
    agent.onDialog(8069, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(877).str());
        EXPECT_EQ(d.text(1001), "End plate");
        d.setText(1001, "End Plate");
        d.ok();
    });
    main().click(Editor::kRenameModule);
    EXPECT_EQ(main().items(Editor::kModules)[0], "End Plate");
    EXPECT_EQ(editor->data().currentModule, Kx_String("End Plate"));

    agent.onDialog(8069, [](kxwin::DialogDriver& d) {
        d.setText(1001, "bolts");
        d.ok();
    });
    main().click(Editor::kRenameModule);
    EXPECT_EQ(main().items(Editor::kModules)[0], "End Plate") << "another module's name is refused";
}

TEST_F(ConstraintEditor, VariablesKeepTheirPrecisionAndEquationsRoundTrip)
{
    open();
    main().pick(Editor::kTabs, 2);
    Kx_Spread& grid = editor->variablesGrid();
    ASSERT_EQ(grid.getRowCount(), 6);
    EXPECT_EQ(cell(grid, 1, 4), "clearance");
    EXPECT_EQ(cell(editor->dimensionsGrid(), 1, 1), "plateHeight");
    auto p = page(2);
    EXPECT_EQ(p.text(Editor::kEquations), "plateHeight = boltGroupHeight + edgeTop + edgeBottom\nedgeBottom = edgeTop");

    // An added row left empty, then a change elsewhere: applied, the untouched value unrounded.
    p.click(Editor::kAddVariable);
    EXPECT_EQ(grid.getRowCount(), 7);
    p.setText(Editor::kEquations, "a = 1\r\nb = 2\rc = 3\n\n");
    main().pick(Editor::kTabs, 0);
    main().pick(Editor::kModules, "Bolts");
    const ConstraintModule& m = model("End plate");
    ASSERT_EQ(m.variables.length(), 6) << "an empty row is no variable";
    EXPECT_EQ(m.variables[3].value, 0.125);
    EXPECT_EQ(m.equations, Kx_StringArray({"a = 1", "b = 2", "c = 3"}));
    main().pick(Editor::kModules, "End plate");
    main().pick(Editor::kTabs, 2);
    EXPECT_EQ(page(2).text(Editor::kEquations), "a = 1\nb = 2\nc = 3");
}

TEST_F(ConstraintEditor, GeometryRowsHighlightTheirObjectAndTakeANewFlexibility)
{
    open();
    main().pick(Editor::kTabs, 1);
    Kx_Spread& grid = editor->geometryGrid();
    ASSERT_EQ(grid.getRowCount(), 4);
    EXPECT_EQ(cell(grid, 1, 1), "End plate");
    EXPECT_EQ(cell(grid, 3, 1), dialString(894).str());
    EXPECT_TRUE(drawing().highlighted().empty()) << "leaving the constraints page takes its marks back";
    clickCell(grid, 1, 2, Editor::kGeometryGrid);
    const AcDbObjectId beam = editor->data().geometry[1].id;
    EXPECT_TRUE(drawing().isHighlighted(beam));

    clickCell(grid, 3, 2, Editor::kGeometryGrid);
    SendMessage(grid.GetSafeHwnd(), KXM_USER_PICK, 2, 0);
    EXPECT_EQ(model("End plate").geometry[1].flexibility, 3);
    EXPECT_EQ(cell(grid, 3, 2), dialString(895).str());

    main().pick(Editor::kTabs, 3);
    EXPECT_FALSE(drawing().isHighlighted(beam));
}

TEST_F(ConstraintEditor, ANewConstraintCommandRunsWithTheEditorHiddenAndShowsTheConstraints)
{
    open();
    main().pick(Editor::kTabs, 3);
    EXPECT_FALSE(page(3).isVisible(1027)) << "symmetric has no button";
    EXPECT_EQ(page(3).tooltip(1031), dialString(910).str());

    // Cancelled: nothing changes, the page stays.
    page(3).click(1031);
    EXPECT_EQ(editor->GetActiveTab(), 3);
    EXPECT_EQ(editor->data().constraints.length(), 10);

    const AcDbObjectId a = MacroModel::instance().find(ids[0])->parts[0].id;
    bool hiddenWhilePicking = false;
    drawing().setPickChooser([&](const kxhost::SimulatedDrawing&, const kxhost::PickRequest&) {
        hiddenWhilePicking = !IsWindowVisible(editor->m_hWnd);
        return std::optional<kxhost::PickAnswer>(kxhost::PickAnswer{a, {}});
    });
    page(3).click(1031);
    EXPECT_TRUE(hiddenWhilePicking);
    EXPECT_TRUE(IsWindowVisible(editor->m_hWnd));
    EXPECT_EQ(editor->GetActiveTab(), 0);
    EXPECT_EQ(editor->constraintsGrid().getRowCount(), 11);

    // Add a module: the new last module becomes current.
    page(3).click(1035);
    EXPECT_EQ(main().items(Editor::kModules).size(), 4u);
    EXPECT_EQ(main().selectedIndex(Editor::kModules), 3);
    EXPECT_EQ(editor->constraintsGrid().getRowCount(), 0);
}

TEST_F(ConstraintEditor, ClosingDuringAPromptWaitsForItAndUnloadCancelsIt)
{
    open();
    agent.onDialog(8069, [](kxwin::DialogDriver& d) {
        EndDlgEditConstraints();
        EXPECT_NE(kxss::constraintEditor(), nullptr) << "the editor waits for its prompt";
        d.setText(1001, "Plate");
        d.ok();
    });
    main().click(Editor::kRenameModule);
    EXPECT_EQ(kxss::constraintEditor(), nullptr);
    EXPECT_NE(MacroModel::instance().find(ids[0])->constraints.modules.length(), 0);

    open();
    agent.onDialog(8069, [](kxwin::DialogDriver& d) {
        kxss::endConstraintEditorAtUnload();
        EXPECT_FALSE(d.isOpen()) << "the prompt is cancelled first";
    });
    main().click(Editor::kRenameModule);
    EXPECT_EQ(kxss::constraintEditor(), nullptr);
}

TEST_F(ConstraintEditor, ClosingDuringTheSettingsDialogKeepsItsOkAndUnloadCancelsIt)
{
    open();
    agent.onDialog(8141, [](kxwin::DialogDriver& d) {
        EndDlgEditConstraints();
        EXPECT_NE(kxss::constraintEditor(), nullptr);
        d.pick(8097, 1);
        d.setText(1162, "321");
        d.ok();
    });
    main().click(Editor::kSettings);
    EXPECT_EQ(kxss::constraintEditor(), nullptr);
    MacroSettingsData settings;
    GetMacroSettings(data.macroId, settings);
    EXPECT_EQ(settings.maxPathDistance, Kx_String("321")) << "what the user confirmed is written";

    open();
    agent.onDialog(8141, [](kxwin::DialogDriver& d) {
        kxss::endConstraintEditorAtUnload();
        EXPECT_FALSE(d.isOpen());
    });
    main().click(Editor::kSettings);
    EXPECT_EQ(kxss::constraintEditor(), nullptr);
}

TEST_F(ConstraintEditor, AnotherMacroPickedInTheDrawingReplacesTheModules)
{
    open();
    drawing().setPickChooser([&](const kxhost::SimulatedDrawing&, const kxhost::PickRequest&) {
        return std::optional<kxhost::PickAnswer>(kxhost::PickAnswer{ids[1], {}});
    });
    main().click(Editor::kSelectMacro);
    EXPECT_EQ(editor->data().macroId, ids[1]);
    EXPECT_EQ(main().selectedIndex(Editor::kModules), 0);
    EXPECT_EQ(editor->constraintsGrid().getRowCount(), editor->data().constraints.length());
    EXPECT_TRUE(IsWindowVisible(editor->m_hWnd));
    drawing().setPickChooser(nullptr);
    main().click(Editor::kSelectMacro);
    EXPECT_EQ(editor->data().macroId, ids[1]) << "a cancelled pick changes nothing";
}

TEST_F(ConstraintEditor, ClosingDuringAMenuOrADrawingCommandWaitsForItAndUnloadDoesNotCrash)
{
    open();
    agent.onMenu([&](const PopupMenuRequest&) -> UINT {
        EndDlgEditConstraints();
        EXPECT_NE(kxss::constraintEditor(), nullptr);
        return Editor::kMenuIds[2];
    });
    page(0).rightClick(Editor::kGrid, cellPoint(editor->constraintsGrid().GetSafeHwnd(), 1, 3));
    EXPECT_EQ(kxss::constraintEditor(), nullptr);
    EXPECT_EQ(countRequests("ContextMenuAction C3"), 1) << "the item chosen is still run";

    open();
    const AcDbObjectId a = MacroModel::instance().find(ids[0])->parts[0].id;
    drawing().setPickChooser([&](const kxhost::SimulatedDrawing&, const kxhost::PickRequest&) {
        EndDlgEditConstraints();
        EXPECT_NE(kxss::constraintEditor(), nullptr) << "the editor waits for its command";
        return std::optional<kxhost::PickAnswer>(kxhost::PickAnswer{a, {}});
    });
    main().pick(Editor::kTabs, 3);
    page(3).click(1031);
    EXPECT_EQ(kxss::constraintEditor(), nullptr);
    EXPECT_EQ(MacroModel::instance().find(ids[0])->constraints.findModule("End plate")->constraints.length(), 11);

    open();
    drawing().setPickChooser([&](const kxhost::SimulatedDrawing&, const kxhost::PickRequest&) {
        kxss::endConstraintEditorAtUnload();
        return std::optional<kxhost::PickAnswer>(kxhost::PickAnswer{a, {}});
    });
    main().pick(Editor::kTabs, 3);
    page(3).click(1031);
    EXPECT_EQ(kxss::constraintEditor(), nullptr);
}

TEST_F(ConstraintEditor, SettingsKeepTheEditsOfEveryPageOnOkAndNoneOnCancel)
{
    MacroSettingsData before;
    ASSERT_TRUE(GetMacroSettings(data.macroId, before));
    open();
    agent.onDialog(8141, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(916).str());
        EXPECT_EQ(d.items(8097).size(), 5u);
        d.click(1351);
        d.pick(8097, 1);
        d.setText(1162, "999");
        d.ok();
    });
    main().click(Editor::kSettings);
    MacroSettingsData after;
    GetMacroSettings(data.macroId, after);
    EXPECT_EQ(after.maxPathDistance, Kx_String("999"));
    EXPECT_NE(after.angleFilterOn, before.angleFilterOn) << "the first page's edit is kept too";
    EXPECT_EQ(after.sectionNames, before.sectionNames);
    EXPECT_EQ(after.groups, before.groups);
    EXPECT_EQ(after.optionNames, before.optionNames);
    EXPECT_EQ(after.angles90, before.angles90);

    agent.onDialog(8141, [](kxwin::DialogDriver& d) {
        d.click(1351);
        d.pick(8097, 1);
        d.setText(1162, "1");
        d.cancel();
    });
    main().click(Editor::kSettings);
    MacroSettingsData again;
    GetMacroSettings(data.macroId, again);
    EXPECT_EQ(again, after);
}

TEST_F(ConstraintEditor, ClosingAppliesThePendingEditsAndTakesTheMarksBack)
{
    open();
    clickConstraint(3);
    page(0).setText(Editor::kText2, "75");
    main().pick(Editor::kTabs, 2);
    page(2).setText(Editor::kEquations, "x = 1");
    main().pick(Editor::kTabs, 0);
    page(0).setText(Editor::kText2, "80");
    main().click(IDOK);
    EXPECT_EQ(kxss::constraintEditor(), nullptr);
    EXPECT_EQ(countRequests("UpdateVarsEqs End plate"), 1);
    EXPECT_TRUE(drawing().highlighted().empty());
    // The edits live in the drawing: the macro's model has them, and the next editor shows them.
    const ConstraintModule* kept = MacroModel::instance().find(ids[0])->constraints.findModule("End plate");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->constraints[2].text2, Kx_String("80"));
    EXPECT_EQ(kept->equations, Kx_StringArray({"x = 1"}));
    data = MacroModel::instance().find(ids[0])->constraints;
    data.loadCurrentModule();
    open();
    clickConstraint(3);
    EXPECT_EQ(page(0).text(Editor::kText2), "80");
}

TEST_F(ConstraintEditor, ASecondZoomWhileTheFirstWaitsForCornersIsIgnored)
{
    open();
    int asked = 0;
    drawing().setPickChooser([&](const kxhost::SimulatedDrawing&, const kxhost::PickRequest&) {
        ++asked;
        SendMessage(editor->m_hWnd, WM_COMMAND, MAKEWPARAM(Editor::kZoom, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(editor->m_hWnd, Editor::kZoom)));
        return std::optional<kxhost::PickAnswer>(kxhost::PickAnswer{{}, {10.0, 20.0}});
    });
    main().click(Editor::kZoom);
    EXPECT_EQ(asked, 2) << "two corners of one zoom";
    EXPECT_EQ(countRequests("ZoomCommand"), 1);
    EXPECT_TRUE(IsWindowVisible(editor->m_hWnd));
}

TEST_F(ConstraintEditor, TheModalEditorReportsOkOnly)
{
    agent.onDialog(Editor::kTemplateId, [](kxwin::DialogDriver& d) { d.ok(); });
    EXPECT_TRUE(StartDlgEditConstrModal(data));
    agent.onDialog(Editor::kTemplateId, [](kxwin::DialogDriver& d) { d.escape(); });
    EXPECT_FALSE(StartDlgEditConstrModal(data));
}

} // namespace
