// The dialog designer as a person uses it: StartDlgDesigner run under the scripted user, who selects,
// drags, resizes and edits with the mouse and the tool buttons, answers the save question and the
// file dialogs; checked on the windows, the layout and the files.
#include "designer/DesignerLaunchers.h"
#include "designer/ZnDlgDesigner.h"
#include "designer/tests/DesignerEditorTestSupport.h"

#include "core/PromptDialog.h"
#include "frame/ModelessDialogs.h"
#include "platform/win/Cursor.h"
#include "platform/win/DrawingContext.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using kxtest::makeControl;
using kxwin::DialogDriver;
using T = Kx_ControlType;
using D = ZnDlgDesigner;

constexpr int kW = kxtest::kFrameW;
constexpr int kH = kxtest::kFrameH;
using kxtest::centreOf;
using kxtest::editorOf;
using kxtest::rectOf;

// A control placed at pixel edges of the 400 x 300 picture.
Kx_DesignerControl at(T type, int left, int top, int right, int bottom, const char* contents = "")
{
    return kxtest::atPixels(type, left, top, right, bottom, contents);
}

std::vector<int> selectionOf(DialogDriver& d)
{
    return editorOf(d).layout().getSelection();
}

class DesignerEditor : public kxtest::EditorTest {
protected:
    Kx_DlgDesignerData saved(const std::string& name)
    {
        Kx_DlgDesignerData layout;
        EXPECT_TRUE(layout.readFromFile(Kx_String(name), true));
        return layout;
    }

};

TEST_F(DesignerEditor, ClicksWithCtrlAndShiftBuildTheSelectionAndThePanelShowsOneControl)
{
    EXPECT_TRUE(run("plates\\frame", [&](DialogDriver& d) {
        EXPECT_EQ(d.title(), "Dialog designer - <plates\\frame>");
        EXPECT_EQ(d.items(D::kType).size(), 31u);
        EXPECT_FALSE(d.isEnabled(D::kContents));
        // Every designed window but the label is disabled, so that the mouse reaches the designer.
        EXPECT_FALSE(d.isEnabled(33000));
        EXPECT_TRUE(d.isEnabled(33001));

        d.clickPoint(centreOf(d, 0));
        EXPECT_EQ(selectionOf(d), std::vector<int>{0});
        EXPECT_EQ(d.selectedIndex(D::kType), 2);
        EXPECT_EQ(d.text(D::kContents), "length");
        EXPECT_FALSE(d.isEnabled(D::kComboList));

        // Through the plain label the click reaches the designer too.
        d.clickPoint(centreOf(d, 1), /*ctrl=*/true);
        EXPECT_EQ(selectionOf(d), (std::vector<int>{0, 1}));
        EXPECT_FALSE(d.isEnabled(D::kType));
        EXPECT_EQ(d.text(D::kContents), "");
        d.clickPoint(centreOf(d, 0), /*ctrl=*/true);
        EXPECT_EQ(selectionOf(d), std::vector<int>{1});
        EXPECT_TRUE(d.isEnabled(D::kComboList));
        d.clickPoint(centreOf(d, 2), false, /*shift=*/true).clickPoint(centreOf(d, 2), false, /*shift=*/true);
        EXPECT_EQ(selectionOf(d), (std::vector<int>{1, 2}));
        // Ctrl or Shift over empty space changes nothing; a plain click there clears.
        d.clickPoint({300, 250}, true).clickPoint({300, 250}, false, true);
        EXPECT_EQ(selectionOf(d), (std::vector<int>{1, 2}));
        d.clickPoint({300, 250});
        EXPECT_TRUE(selectionOf(d).empty());

        // The close asks, as the clicks count as changes; No closes without saving.
        agent.answerMessageBox(IDNO, "<plates\\frame>");
        d.ok();
    }));
    EXPECT_EQ(kxtest::readBytes(layoutPath("plates/frame.txt")), frameText);
}

TEST_F(DesignerEditor, DraggingMovesTheSelectionAndAHandleResizesWithoutTurningInsideOut)
{
    run("plates\\frame", [&](DialogDriver& d) {
        d.clickPoint(centreOf(d, 0)).clickPoint(centreOf(d, 2), false, true);
        // The two selected controls are drawn with their handles, the others without.
        UpdateWindow(d.dialog());
        std::vector<RECT> tracked;
        for (const kxwin::DrawOp& op : kxwin::lastPaintRecord(d.dialog()))
            if (op.kind == kxwin::DrawOpKind::TrackerHandles)
                tracked.push_back(op.rect);
        EXPECT_EQ(tracked, (std::vector<RECT>{rectOf(d, 0), rectOf(d, 2)}));
        const POINT from = centreOf(d, 0);
        d.dragPoint(from, {from.x + 30, from.y + 40});
        EXPECT_EQ(rectOf(d, 0), (RECT{40, 50, 90, 70}));
        EXPECT_EQ(rectOf(d, 2), (RECT{70, 140, 120, 160}));
        EXPECT_EQ(rectOf(d, 3), (RECT{10, 150, 50, 170}));

        // One control, its bottom-right handle dragged far past its top-left corner.
        d.clickPoint(centreOf(d, 3));
        EXPECT_EQ(selectionOf(d), std::vector<int>{3});
        d.hoverPoint(centreOf(d, 3));
        EXPECT_EQ(kxwin::cursorId(GetCursor()), IDC_SIZEALL);
        d.hoverPoint({52, 172});
        EXPECT_EQ(kxwin::cursorId(GetCursor()), IDC_SIZENWSE);
        d.dragPoint({52, 172}, {2, 140});
        const RECT r = rectOf(d, 3);
        EXPECT_LT(r.left, r.right);
        EXPECT_LT(r.top, r.bottom);
        EXPECT_EQ(r, (RECT{0, 138, 10, 150}));

        agent.answerMessageBox(IDYES);
        d.ok();
    });
    // Saved from the windows.
    const Kx_DlgDesignerData layout = saved("plates\\frame");
    EXPECT_DOUBLE_EQ(layout.getControl(0)->topLeftX(), 40.0 / kW);
    EXPECT_DOUBLE_EQ(layout.getControl(2)->bottomRightY(), 160.0 / kH);
    EXPECT_DOUBLE_EQ(layout.getControl(3)->topLeftY(), 138.0 / kH);
}

TEST_F(DesignerEditor, ARubberBandSelectsWhatLiesWhollyInsideIt)
{
    run("plates\\frame", [&](DialogDriver& d) {
        // Round controls 0 and 1, cutting through control 2.
        d.dragPoint({5, 5}, {160, 110});
        EXPECT_EQ(selectionOf(d), (std::vector<int>{0, 1}));
        // From a corner of the band other than its top left.
        d.dragPoint({200, 3}, {3, 200});
        EXPECT_EQ(selectionOf(d), (std::vector<int>{0, 1, 2, 3}));
        // A press on empty space that does not move selects nothing.
        d.clickPoint({300, 5});
        EXPECT_TRUE(selectionOf(d).empty());
        agent.answerMessageBox(IDNO);
        d.ok();
    });
}

TEST_F(DesignerEditor, CopyWidthHeightAlignAndStickWorkInPixels)
{
    agent.onDialog(kxcore::kPromptDialogId, [](DialogDriver& p) { p.setText(kxcore::kPromptValueId, "50").ok(); });
    agent.onDialog(kxcore::kPromptDialogId, [](DialogDriver& p) { p.setText(kxcore::kPromptValueId, "40").ok(); });
    for (const char* bad : {"0", "-5", "abc", "inf", "nan"}) {
        agent.onDialog(kxcore::kPromptDialogId, [bad](DialogDriver& p) { p.setText(kxcore::kPromptValueId, bad).ok(); });
        agent.answerMessageBox(IDOK, "greater than 0");
    }
    run("plates\\frame", [&](DialogDriver& d) {
        Kx_DlgDesignerData& layout = editorOf(d).layout();
        // Copy two: two new controls 20 pixels right and down, and only they stay selected.
        d.clickPoint(centreOf(d, 0)).clickPoint(centreOf(d, 2), false, true).click(D::kCopy);
        ASSERT_EQ(layout.getNrControls(), 6);
        EXPECT_EQ(rectOf(d, 4), (RECT{30, 30, 80, 50}));
        EXPECT_EQ(rectOf(d, 5), (RECT{60, 120, 110, 140}));
        EXPECT_EQ(layout.getControl(4)->getContents(), "length");
        EXPECT_EQ(layout.getControl(5)->getResourceId(), 33005);
        EXPECT_EQ(selectionOf(d), (std::vector<int>{4, 5}));

        // Width 50 from a left edge of 10; height 40 keeps the top.
        d.clickPoint(centreOf(d, 3)).click(D::kWidth);
        EXPECT_EQ(rectOf(d, 3), (RECT{10, 150, 60, 170}));
        d.click(D::kHeight);
        EXPECT_EQ(rectOf(d, 3), (RECT{10, 150, 60, 190}));
        for (int n = 0; n < 5; ++n)
            d.click(D::kWidth);
        EXPECT_EQ(rectOf(d, 3), (RECT{10, 150, 60, 190}));

        // Align bottoms: lefts 40, 10 and 10: the first 10 in selection order is the reference.
        d.clickPoint(centreOf(d, 2)).clickPoint(centreOf(d, 3), false, true).clickPoint(centreOf(d, 0), false, true);
        d.click(D::kAlignBottoms);
        EXPECT_EQ(rectOf(d, 3), (RECT{10, 150, 60, 190}));
        EXPECT_EQ(rectOf(d, 2), (RECT{40, 170, 90, 190}));
        EXPECT_EQ(rectOf(d, 0), (RECT{10, 170, 60, 190}));
        EXPECT_EQ(selectionOf(d), (std::vector<int>{2, 3, 0}));
        // Stick right only with two selected.
        d.click(D::kStickRight);
        EXPECT_EQ(rectOf(d, 2), (RECT{40, 170, 90, 190}));
        d.clickPoint(centreOf(d, 1)).clickPoint(centreOf(d, 4), false, true).click(D::kStickRight);
        // The copy at left 30 is the reference: the label moves against its right edge.
        EXPECT_EQ(rectOf(d, 4), (RECT{30, 30, 80, 50}));
        EXPECT_EQ(rectOf(d, 1), (RECT{80, 30, 130, 50}));
        agent.answerMessageBox(IDNO);
        d.ok();
    });
}

TEST_F(DesignerEditor, RemoveTakesEverySelectedControlAndNothingElse)
{
    run("plates\\frame", [&](DialogDriver& d) {
        d.clickPoint(centreOf(d, 0)).clickPoint(centreOf(d, 3), true).clickPoint(centreOf(d, 2), true);
        d.click(D::kRemove);
        Kx_DlgDesignerData& layout = editorOf(d).layout();
        ASSERT_EQ(layout.getNrControls(), 1);
        EXPECT_EQ(layout.getControl(0)->getContents(), "a");
        EXPECT_EQ(layout.getNrDrawnControls(), 1);
        EXPECT_EQ(d.item(33000), nullptr);
        EXPECT_NE(d.item(33001), nullptr);
        agent.answerMessageBox(IDYES);
        d.ok();
    });
    EXPECT_EQ(saved("plates\\frame").getNrControls(), 1);
}

TEST_F(DesignerEditor, ThePanelChangesTheControlAndANewTypeRemakesItsWindow)
{
    run("plates\\frame", [&](DialogDriver& d) {
        Kx_DlgDesignerData& layout = editorOf(d).layout();
        d.clickPoint(centreOf(d, 0));
        d.setText(D::kContents, "depth");
        EXPECT_EQ(GetWindowText(d.item(33000)), "depth");
        d.pick(D::kType, 30);
        EXPECT_EQ(GetClassName(d.item(33000)), "Button");
        EXPECT_EQ(selectionOf(d), std::vector<int>{0});
        EXPECT_TRUE(d.isEnabled(D::kComboList));
        EXPECT_EQ(d.text(D::kHint), controlTypeHint(T::FlexButton).str());
        d.setText(D::kComboList, "dims;;w");
        EXPECT_EQ(layout.getControl(0)->getExtA(1), "dims");
        EXPECT_EQ(layout.getControl(0)->getExtA(3), "w");
        EXPECT_EQ(layout.getControl(0)->getMergedExtComboList(), "dims;;w;");
        // A type without the list field keeps the list it had.
        d.pick(D::kType, 2);
        EXPECT_FALSE(d.isEnabled(D::kComboList));
        d.setText(D::kContents, "depth2");
        EXPECT_EQ(layout.getControl(0)->getExtA(1), "dims");
        // Escape does not close the editor.
        d.pressKey(VK_ESCAPE);
        EXPECT_TRUE(d.isOpen());
        agent.answerMessageBox(IDNO);
        d.ok();
    });
}

TEST_F(DesignerEditor, OpeningAndClosingWithoutAClickAsksNothing)
{
    EXPECT_TRUE(run("plates\\frame", [&](DialogDriver& d) { d.ok(); }));
    EXPECT_TRUE(agent.messageBoxes().empty());
    // A start path that does not exist gives an empty editor.
    EXPECT_TRUE(run("plates\\missing", [&](DialogDriver& d) {
        EXPECT_EQ(d.title(), "Dialog designer");
        EXPECT_EQ(editorOf(d).layout().getNrControls(), 0);
        d.ok();
    }));
}

TEST_F(DesignerEditor, CancellingTheSaveQuestionKeepsTheEditorOpenWithItsChanges)
{
    EXPECT_FALSE(run("plates\\frame", [&](DialogDriver& d) {
        d.clickPoint(centreOf(d, 0)).click(D::kRemove);
        agent.answerMessageBox(IDCANCEL);
        d.closeBox();
        EXPECT_TRUE(d.isOpen());
        EXPECT_EQ(editorOf(d).layout().getNrControls(), 3);
        EXPECT_TRUE(editorOf(d).isModified());
        agent.answerMessageBox(IDNO);
        d.closeBox();
    }));
}

TEST_F(DesignerEditor, ANewLayoutIsSavedUnderAChosenNameAndNeverAsDotTxt)
{
    const std::string target = layoutPath("fresh.txt");
    run("", [&](DialogDriver& d) {
        // Without a picture, Add says so and makes nothing of size zero.
        agent.answerMessageBox(IDOK, "no background picture");
        d.click(D::kAdd);
        EXPECT_EQ(editorOf(d).layout().getNrControls(), 0);
        // A picture for a layout without a name needs a name first: cancelled, nothing changes.
        const std::string picture = (library.path() / "new picture.bmp").string();
        kxtest::writeBytes(picture, kxtest::pictureBytes(40, 30));
        agent.chooseFile(picture).cancelFileDialog();
        d.click(D::kPicture);
        int w = 0, h = 0;
        editorOf(d).layout().getImageSize(w, h);
        EXPECT_EQ(w, 0);
        EXPECT_EQ(d.title(), "Dialog designer");
        d.clickPoint({20, 20});
        // Yes on a layout without a name: Save As; cancelling it keeps the editor open.
        agent.answerMessageBox(IDYES).cancelFileDialog();
        d.ok();
        EXPECT_TRUE(d.isOpen());
        agent.answerMessageBox(IDYES).chooseFile(target);
        d.ok();
    });
    EXPECT_TRUE(fs::exists(target));
    EXPECT_FALSE(fs::exists(layoutPath(".txt")));
}

TEST_F(DesignerEditor, AFailedSaveIsReportedAndKeepsTheChangesAndTheEditorOpen)
{
    const std::string outside = (library.path() / "outside.txt").string();
    run("plates\\frame", [&](DialogDriver& d) {
        d.clickPoint(centreOf(d, 0)).click(D::kRemove);
        agent.chooseFile(outside).answerMessageBox(IDOK, "could not be saved");
        d.click(D::kSaveAs);
        EXPECT_TRUE(editorOf(d).isModified());
        EXPECT_EQ(d.title(), "Dialog designer - <plates\\frame>");
        agent.answerMessageBox(IDNO);
        d.ok();
    });
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_EQ(kxtest::readBytes(layoutPath("plates/frame.txt")), frameText);
}

TEST_F(DesignerEditor, SaveAsOntoAnotherLayoutAsksFirst)
{
    writeLayout("other", "int nrOfControls = 0\n", 20, 10);
    const std::string otherText = kxtest::readBytes(layoutPath("other.txt"));
    run("plates\\frame", [&](DialogDriver& d) {
        // No to the question: the file dialog comes back, and is cancelled.
        agent.chooseFile(layoutPath("other.txt")).answerMessageBox(IDNO, "other.txt").cancelFileDialog();
        d.click(D::kSaveAs);
        EXPECT_EQ(d.title(), "Dialog designer - <plates\\frame>");
        // Yes: saved there, with the picture along.
        agent.chooseFile(layoutPath("other.txt")).answerMessageBox(IDYES, "other.txt");
        d.click(D::kSaveAs);
        EXPECT_EQ(d.title(), "Dialog designer - <other>");
        d.ok();
    });
    EXPECT_EQ(kxtest::readBytes(layoutPath("other.txt")), frameText);
    EXPECT_EQ(kxtest::readBytes(layoutPath("other.bmp")), kxtest::readBytes(layoutPath("plates/frame.bmp")));
    EXPECT_NE(otherText, frameText);
}

TEST_F(DesignerEditor, OpenReplacesTheLayoutOnlyWhenTheFileCouldBeRead)
{
    writeLayout("other", "int nrOfControls = 1\nint type0 = 0\ndouble topLeftX0 = 0.1\ndouble topLeftY0 = 0.1\n"
                         "double bottomRightX0 = 0.2\ndouble bottomRightY0 = 0.2\ntext contents0 = \"other\"\n",
                200, 100);
    const std::string outside = (library.path() / "outside.txt").string();
    kxtest::writeBytes(outside, "int nrOfControls = 0\n");
    run("plates\\frame", [&](DialogDriver& d) {
        // A changed layout is asked about first; Cancel stops the Open before its file dialog.
        d.clickPoint(centreOf(d, 0)).click(D::kRemove);
        agent.answerMessageBox(IDCANCEL, "Save the changes?");
        d.click(D::kOpen);
        EXPECT_EQ(editorOf(d).layout().getNrControls(), 3);
        agent.answerMessageBox(IDNO).chooseFile(outside).answerMessageBox(IDOK, "could not be opened");
        d.click(D::kOpen);
        EXPECT_EQ(editorOf(d).layout().getNrControls(), 3);
        EXPECT_EQ(d.title(), "Dialog designer - <plates\\frame>");
        EXPECT_TRUE(editorOf(d).isModified());

        agent.answerMessageBox(IDNO).chooseFile(layoutPath("other.txt"));
        d.click(D::kOpen);
        Kx_DlgDesignerData& layout = editorOf(d).layout();
        EXPECT_EQ(layout.getNrControls(), 1);
        EXPECT_EQ(d.title(), "Dialog designer - <other>");
        int w = 0, h = 0;
        layout.getImageSize(w, h);
        EXPECT_EQ(w, 200);
        EXPECT_EQ(rectOf(d, 0), (RECT{20, 10, 40, 20}));
        EXPECT_FALSE(editorOf(d).isModified());
        d.ok();
    });
}

TEST_F(DesignerEditor, APictureIsCheckedBeforeItReplacesTheLayoutsPicture)
{
    const std::string bad = (library.path() / "bad.bmp").string();
    kxtest::writeBytes(bad, "not a picture");
    const std::string good = (library.path() / "wide.bmp").string();
    kxtest::writeBytes(good, kxtest::pictureBytes(800, 600));
    const std::string picture = layoutPath("plates/frame.bmp");
    const std::string before = kxtest::readBytes(picture);
    run("plates\\frame", [&](DialogDriver& d) {
        agent.chooseFile(bad).answerMessageBox(IDOK, "bad.bmp");
        d.click(D::kPicture);
        EXPECT_EQ(kxtest::readBytes(picture), before);
        EXPECT_FALSE(editorOf(d).isModified());

        agent.chooseFile(good);
        d.click(D::kPicture);
        int w = 0, h = 0;
        editorOf(d).layout().getImageSize(w, h);
        EXPECT_EQ(w, 800);
        // The controls keep their places as factors of the picture.
        EXPECT_EQ(rectOf(d, 0), (RECT{20, 20, 120, 60}));
        agent.answerMessageBox(IDNO);
        d.ok();
    });
    EXPECT_EQ(kxtest::readBytes(picture), kxtest::readBytes(good));
}

TEST_F(DesignerEditor, AddAndCopyRefuseWhenEveryIdIsTaken)
{
    Kx_DlgDesignerData full;
    for (int i = 0; i < 100; ++i)
        full.append(at(T::Label, i, 0, i + 1, 1));
    ASSERT_TRUE(full.writeToFile("full"));
    writeLayout("full-pic", "", kW, kH);
    fs::copy_file(layoutPath("full-pic.bmp"), layoutPath("full.bmp"));
    run("full", [&](DialogDriver& d) {
        agent.answerMessageBox(IDOK, "33099");
        d.click(D::kAdd);
        EXPECT_EQ(editorOf(d).layout().getNrControls(), 100);
        d.clickPoint({0, 0});
        agent.answerMessageBox(IDOK, "33099");
        d.click(D::kCopy);
        EXPECT_EQ(editorOf(d).layout().getNrControls(), 100);
        agent.answerMessageBox(IDNO);
        d.ok();
    });
}

// Runs the built program with the library folder; its standard output.
std::string programOutput(const std::string& libDir, const std::vector<std::string>& args, int& exitCode)
{
    const auto quoted = [](const std::string& text) {
        std::string q = "'";
        for (char c : text)
            q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    const std::string out = (fs::path(libDir) / "program-output.txt").string();
    std::string command = "KESTRA_SS_LIBDIR=" + quoted(libDir) + " " + quoted(KX_PROGRAM_PATH);
    for (const std::string& a : args)
        command += " " + quoted(a);
    command += " >" + quoted(out) + " 2>/dev/null";
    const int status = std::system(command.c_str());
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return kxtest::readBytes(out);
}

TEST_F(DesignerEditor, ALayoutDrawnWithTheMouseIsSavedAndTheLayoutCommandShowsItBack)
{
    if (!fs::exists(KX_PROGRAM_PATH))
        GTEST_SKIP() << "kestra-ss is not built";
    const std::string picture = (library.path() / "panel picture.bmp").string();
    kxtest::writeBytes(picture, kxtest::pictureBytes(kW, kH));
    run("", [&](DialogDriver& d) {
        // A new layout gets its picture after it was given a name.
        agent.chooseFile(picture).chooseFile(layoutPath("drawn/panel.txt"));
        d.click(D::kPicture);
        EXPECT_EQ(d.title(), "Dialog designer - <drawn\\panel>");
        // Two new controls, one on the other at (80, 60), 30 x 18 pixels.
        d.click(D::kAdd).click(D::kAdd);
        EXPECT_EQ(rectOf(d, 1), (RECT{80, 60, 110, 78}));
        // The first one is dragged away and named.
        d.dragPoint({95, 69}, {215, 159});
        EXPECT_EQ(rectOf(d, 0), (RECT{200, 150, 230, 168}));
        d.setText(D::kContents, "thickness");
        // The second one becomes a check box, stretched by its bottom-right handle.
        d.clickPoint({95, 69});
        EXPECT_EQ(selectionOf(d), std::vector<int>{1});
        d.dragPoint({112, 80}, {152, 100});
        EXPECT_EQ(rectOf(d, 1), (RECT{80, 60, 150, 98}));
        d.pick(D::kType, toInt(T::CheckBox)).setText(D::kContents, "galvanised").setText(D::kComboList, "1");
        agent.answerMessageBox(IDYES, "<drawn\\panel>");
        d.ok();
    });

    int exitCode = -1;
    const std::string shown = programOutput(library.path().string(), {"layout", "show", "drawn\\panel"}, exitCode);
    ASSERT_EQ(exitCode, 0) << shown;
    std::istringstream in(shown);
    std::vector<std::vector<std::string>> lines;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string f; std::getline(cells, f, '\t');)
            fields.push_back(f);
        lines.push_back(fields);
    }
    ASSERT_EQ(lines.size(), 4u) << shown;
    EXPECT_EQ(lines[0], (std::vector<std::string>{"name", "drawn\\panel"}));
    EXPECT_EQ(lines[1], (std::vector<std::string>{"picture", "400", "300"}));
    ASSERT_EQ(lines[2].size(), 10u);
    ASSERT_EQ(lines[3].size(), 10u);
    EXPECT_EQ(lines[2][1], "2");
    EXPECT_DOUBLE_EQ(std::stod(lines[2][2]), 0.5);
    EXPECT_DOUBLE_EQ(std::stod(lines[2][3]), 0.5);
    EXPECT_DOUBLE_EQ(std::stod(lines[2][4]), 230.0 / kW);
    EXPECT_DOUBLE_EQ(std::stod(lines[2][5]), 168.0 / kH);
    EXPECT_EQ(lines[2][6], "thickness");
    EXPECT_EQ(lines[3][1], "29");
    EXPECT_DOUBLE_EQ(std::stod(lines[3][4]), 150.0 / kW);
    EXPECT_NEAR(std::stod(lines[3][5]), 98.0 / kH, 1e-9);
    EXPECT_EQ(lines[3][6], "galvanised");
    EXPECT_EQ(lines[3][7], "1");
}

} // namespace
