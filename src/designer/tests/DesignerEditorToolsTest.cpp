// The dialog designer's third row of tools and its keys, as a person uses them: Ctrl+Z and Ctrl+Y
// and the undo buttons with the modified flag, the arrow keys, the arrange menu, the grid step in
// the registry, the tab-order view and the preview with a library macro's values.
#include "designer/ZnDlgDesignerPreview.h"
#include "designer/tests/DesignerEditorTestSupport.h"

#include "core/PromptDialog.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Menu.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using kxwin::DialogDriver;
using T = Kx_ControlType;
using D = ZnDlgDesigner;

using kxtest::centreOf;
using kxtest::editorOf;
using kxtest::rectOf;

using DesignerTools = kxtest::EditorTest;

TEST_F(DesignerTools, KeysNudgeAndUndoingBackToTheOpenedLayoutLeavesNothingToSave)
{
    ASSERT_TRUE(ZnDlgDesigner::storeGridStep(8));
    run("plates\\frame", [&](DialogDriver& d) {
        EXPECT_FALSE(d.isEnabled(D::kUndo));
        EXPECT_FALSE(d.isEnabled(D::kRedo));
        EXPECT_EQ(d.tooltip(D::kUndo), "Undo (Ctrl+Z)");
        d.clickPoint(centreOf(d, 0));
        d.pressKey(VK_RIGHT);
        EXPECT_EQ(rectOf(d, 0), (RECT{11, 10, 61, 30}));
        d.pressKey(VK_DOWN, /*shift=*/true);
        EXPECT_EQ(rectOf(d, 0), (RECT{11, 18, 61, 38})) << "Shift moves by the grid step";
        d.pressKey(VK_LEFT, false, /*ctrl=*/true);
        EXPECT_EQ(rectOf(d, 0), (RECT{11, 18, 60, 38})) << "Ctrl resizes";
        EXPECT_TRUE(editorOf(d).isModified());
        EXPECT_TRUE(d.isEnabled(D::kUndo));

        d.pressKey('Z', false, /*ctrl=*/true);
        EXPECT_EQ(rectOf(d, 0), (RECT{11, 18, 61, 38}));
        EXPECT_TRUE(d.isEnabled(D::kRedo));
        d.click(D::kUndo);
        EXPECT_EQ(rectOf(d, 0), (RECT{10, 10, 60, 30})) << "the two moves of one selection were one step";
        EXPECT_FALSE(editorOf(d).isModified());
        EXPECT_FALSE(d.isEnabled(D::kUndo));
        d.pressKey('Y', false, /*ctrl=*/true);
        EXPECT_EQ(rectOf(d, 0), (RECT{11, 18, 61, 38}));
        EXPECT_TRUE(editorOf(d).isModified());
        d.click(D::kUndo);
        // Back where the file was: closing asks nothing, and the file is as it was.
        d.ok();
    });
    EXPECT_TRUE(agent.messageBoxes().empty());
    EXPECT_EQ(kxtest::readBytes(layoutPath("plates/frame.txt")), frameText);
}

TEST_F(DesignerTools, ArrowsTypedIntoThePanelStayThereAndTypingIsOneStep)
{
    run("plates\\frame", [&](DialogDriver& d) {
        Kx_DlgDesignerData& layout = editorOf(d).layout();
        d.clickPoint(centreOf(d, 2));
        d.setText(D::kContents, "gradeOfSteel");
        d.pressKey(VK_LEFT);
        EXPECT_EQ(rectOf(d, 2), (RECT{40, 100, 90, 120})) << "the arrow moved the caret, not the control";
        EXPECT_EQ(layout.getControl(2)->getContents(), "gradeOfSteel");
        EXPECT_EQ(layout.undoCount(), 1);
        d.click(D::kUndo);
        EXPECT_EQ(layout.getControl(2)->getContents(), "grade");
        EXPECT_EQ(d.text(D::kContents), "grade");
        EXPECT_EQ(d.text(kDesignerFirstResourceId + 2), "grade");
        d.ok();
    });
}

TEST_F(DesignerTools, TheArrangeMenuAlignsAndItsDistributeWaitsForThreeControls)
{
    agent.onMenu([](const PopupMenuRequest& menu) {
        // Two selected: alignment can be chosen, spacing not.
        EXPECT_TRUE(GetMenuState(menu.menu, D::kDistributeAcross, MF_BYCOMMAND) & MF_GRAYED);
        EXPECT_TRUE(GetMenuState(menu.menu, D::kDistributeDown, MF_BYCOMMAND) & MF_GRAYED);
        EXPECT_FALSE(GetMenuState(menu.menu, D::kAlignLeft, MF_BYCOMMAND) & MF_GRAYED);
        return static_cast<UINT>(D::kAlignLeft);
    });
    run("plates\\frame", [&](DialogDriver& d) {
        d.clickPoint(centreOf(d, 2)).clickPoint(centreOf(d, 3), false, true).click(D::kArrange);
        EXPECT_EQ(rectOf(d, 3), (RECT{40, 150, 80, 170}));
        d.pressKey('Z', false, true);
        EXPECT_EQ(rectOf(d, 3), (RECT{10, 150, 50, 170}));
        // Undone back to the opened layout: the clicks before do not make it a change to save.
        d.ok();
    });
    EXPECT_TRUE(agent.messageBoxes().empty());
}

TEST_F(DesignerTools, TheGridStepIsAskedForCheckedAndKeptInTheRegistry)
{
    ASSERT_TRUE(ZnDlgDesigner::storeGridStep(8));
    agent.onDialog(kxcore::kPromptDialogId, [](DialogDriver& p) {
        EXPECT_EQ(p.text(kxcore::kPromptValueId), "8");
        p.setText(kxcore::kPromptValueId, "12").ok();
    });
    agent.onDialog(kxcore::kPromptDialogId, [](DialogDriver& p) { p.setText(kxcore::kPromptValueId, "201").ok(); });
    agent.answerMessageBox(IDOK, "from 0 to 200");
    run("plates\\frame", [&](DialogDriver& d) {
        d.click(D::kGrid);
        EXPECT_EQ(editorOf(d).layout().getGridStep(), 12);
        d.click(D::kGrid);
        EXPECT_EQ(editorOf(d).layout().getGridStep(), 12);
        d.ok();
    });
    EXPECT_EQ(ZnDlgDesigner::storedGridStep(), 12);
}

TEST_F(DesignerTools, TheTabOrderViewHidesTheWindowsAndPaintsThePlaces)
{
    run("plates\\frame", [&](DialogDriver& d) {
        d.click(D::kTabOrder);
        EXPECT_EQ(d.checkState(D::kTabOrder), BST_CHECKED);
        EXPECT_FALSE(IsWindowVisible(d.item(kDesignerFirstResourceId)));
        UpdateWindow(d.dialog());
        std::vector<std::string> places;
        for (const kxwin::DrawOp& op : kxwin::lastPaintRecord(d.dialog()))
            if (op.kind == kxwin::DrawOpKind::DrawText)
                places.push_back(op.text);
        std::sort(places.begin(), places.end());
        EXPECT_EQ(places, (std::vector<std::string>{"1", "2", "3"}));
        // A click selects nothing while the view shows.
        d.clickPoint(centreOf(d, 0));
        EXPECT_TRUE(editorOf(d).layout().getSelection().empty());
        d.click(D::kTabOrder);
        EXPECT_TRUE(IsWindowVisible(d.item(kDesignerFirstResourceId)));
        // The click counts as a change, as every click in the designer does.
        agent.answerMessageBox(IDNO);
        d.ok();
    });
}

// The library's sample layouts and macros, copied into the test's library.
class DesignerPreview : public DesignerTools {
protected:
    void SetUp() override
    {
        DesignerTools::SetUp();
        const fs::path source(KX_SOURCE_LIBRARY_DIR);
        fs::copy(source / "Dialog Templates", library.path() / "Dialog Templates",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::copy(source / "Macros", library.path() / "Macros", fs::copy_options::recursive);
    }
};

TEST_F(DesignerPreview, ShowsTheLayoutWithAMacrosValuesAndTabFollowsTheOrderTheViewShows)
{
    Kx_String macro;
    const std::vector<Kx_PreviewValue> values = previewValuesOf("End plates/end plate", macro);
    ASSERT_FALSE(values.empty());
    // Both sample macros show it; the first by name gives the values.
    EXPECT_EQ(macro, "End plate connection");
    EXPECT_TRUE(previewValuesOf("no such layout", macro).empty());

    std::vector<int> orders;
    std::vector<int> walked;
    agent.onDialog(ZnDlgDesignerPreview::kTemplateId, [&](DialogDriver& p) {
        EXPECT_EQ(p.title(), "Preview - <End plates\\end plate>");
        EXPECT_NE(p.text(ZnDlgDesignerPreview::kNote).find("<End plate connection>"), std::string::npos);
        auto& preview = *dynamic_cast<ZnDlgDesignerPreview*>(GetWindowObject(p.dialog()));
        Kx_DlgDesignerData& placed = preview.layout();
        // The dialog holds the whole picture, with the note and Close under it.
        int w = 0;
        int h = 0;
        placed.getImageSize(w, h);
        RECT client{};
        GetClientRect(p.dialog(), client);
        EXPECT_GT(w, 100);
        EXPECT_GE(client.width(), w);
        EXPECT_GE(GetWindowRectInParent(p.item(IDOK)).top, h);
        int width = -1;
        ASSERT_TRUE(placed.findEditCtrlWithContents("plateWidth", width));
        EXPECT_EQ(p.text(placed.getControl(width)->getResourceId()), "200.00");
        // A flex button shares its name with a value, but shows no value: its contents is its name.
        int flex = 0;
        for (int i = 0; i < placed.getNrControls(); ++i) {
            const Kx_DesignerControl& c = *placed.getControl(i);
            if (c.getType() == Kx_ControlType::FlexButton) {
                EXPECT_EQ(p.text(c.getResourceId()), c.getContents().str());
                ++flex;
            }
        }
        EXPECT_GT(flex, 0);
        // The designer's windows are disabled; here they take the keyboard.
        EXPECT_TRUE(p.isEnabled(placed.getControl(width)->getResourceId()));
        walked = kxtest::walkWithTab(placed, [&] { p.tab(); });
        p.ok();
    });
    run("End plates\\end plate", [&](DialogDriver& d) {
        orders = editorOf(d).layout().runtimeTabOrders();
        const std::string before = editorOf(d).layout().toText();
        d.click(D::kPreview);
        EXPECT_EQ(editorOf(d).layout().toText(), before);
        EXPECT_FALSE(editorOf(d).isModified());
        d.ok();
    });
    const std::vector<int> byPlace = kxtest::indicesByPlace(orders);
    ASSERT_GE(byPlace.size(), 3u);
    EXPECT_EQ(walked, byPlace);
}

} // namespace
