// The designer's editing beyond selecting: undo and redo of every kind of step, the snap grid and
// the arrow keys at the picture's edges, alignment, equal sizes and even spacing, and the tab-order
// view against the order the runtime really gives. Checked on the layout text, the windows and the
// focus, with a designer-mode layout placed in a host dialog.
#include "designer/tests/DesignerEditorTestSupport.h"

#include "platform/win/DrawingContext.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <map>
#include <random>

namespace {

using kxtest::makeControl;
using T = Kx_ControlType;
using Edge = Kx_DlgDesignerData::AlignEdge;

constexpr int kW = 400;
constexpr int kH = 300;

// A control at pixel edges of the 400 x 300 picture.
Kx_DesignerControl px(T type, int left, int top, int right, int bottom, const char* contents = "")
{
    return makeControl(type, double(left) / kW, double(top) / kH, double(right) / kW, double(bottom) / kH, contents);
}

class Editing : public kxtest::RuntimeTest {
protected:
    // The controls in designer mode over a 400 x 300 picture, saved once as "edit" (so the layout
    // has a name for picture changes), drawn and with a clean history.
    void design(const std::vector<Kx_DesignerControl>& controls)
    {
        designer.removeAllDrawnCtrls();
        designer.removeAllControls();
        writeLayout("edit", "", kW, kH);
        ASSERT_TRUE(designer.attachBitmap(Kx_String(layoutPath("edit.bmp"))));
        ASSERT_TRUE(designer.initialize(host->m_hWnd, kDesignerFirstResourceId, kDesignerLastResourceId, 0, 0, 0, 0,
                                        0, /*designerMode=*/true));
        for (const Kx_DesignerControl& c : controls)
            designer.append(c);
        ASSERT_TRUE(designer.writeToFile("edit"));
        designer.redrawAllControls();
        designer.clearHistory();
    }
    RECT drawn(int i) const { return GetWindowRectInParent(designer.getDrawnWindow(i)); }
    RECT model(int i) const { return designer.getDrawnRect(*designer.getControl(i)); }
    void press(POINT p, UINT flags = 0) { designer.OnLButtonDown(flags, p); }
    void dragTo(POINT p) { designer.OnMouseMove(MK_LBUTTON, p); }
    void release(POINT p) { designer.OnLButtonUp(0, p); }
    void drag(POINT from, POINT to)
    {
        press(from);
        dragTo({(from.x + to.x) / 2, (from.y + to.y) / 2});
        release(to);
    }

    Kx_DlgDesignerData designer;
};

POINT centre(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// --- Undo and redo ---------------------------------------------------------------------------------

// Random editing sessions: after every step the layout text is noted; undoing walks back through
// exactly those texts to the original bytes, and redoing forward again to the final ones.
TEST_F(Editing, RandomSessionsUndoToTheOriginalBytesAndRedoToTheFinalOnes)
{
    design({px(T::VariableEdit, 10, 10, 60, 30, "length"), px(T::Label, 100, 10, 150, 30, "a"),
            px(T::VariableCombo, 40, 100, 90, 120, "grade"), px(T::VariableEdit, 10, 150, 50, 170, "width"),
            // Factors that are no whole pixels: only a step that moves the control may round them.
            makeControl(T::CheckBox, 0.30123, 0.50077, 0.40011, 0.55555, "weld", "1")});
    const std::string pictureA = kxtest::pictureBytes(kW, kH);
    const std::string pictureB = kxtest::pictureBytes(200, 100);
    for (unsigned session = 1; session <= 12; ++session) {
        std::mt19937 random(session);
        const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        while (designer.undo()) {
        }
        designer.clearHistory();
        std::vector<std::string> texts{designer.toText()};
        std::vector<std::pair<int, int>> sizes;
        int w = 0;
        int h = 0;
        designer.getImageSize(w, h);
        sizes.emplace_back(w, h);
        for (int step = 0; step < 60; ++step) {
            const int n = designer.getNrControls();
            std::vector<int> chosen;
            for (int i = 0; i < n; ++i)
                if (pick(3) == 0)
                    chosen.push_back(i);
            if (chosen.empty() && n > 0)
                chosen.push_back(pick(n));
            std::shuffle(chosen.begin(), chosen.end(), random);
            designer.setSelection(chosen);
            const int before = designer.undoCount();
            switch (pick(13)) {
            case 0: designer.addNewControl(T::VariableEdit); break;
            case 1: designer.removeCurControls(); break;
            case 2: designer.copyCurCtrls(); break;
            case 3: designer.outlineCurCtrls(); break;
            case 4: designer.stickRightCurCtrls(); break;
            case 5: designer.nudgeCurCtrls(pick(21) - 10, pick(21) - 10, pick(2) == 0); break;
            case 6: designer.alignCurCtrls(static_cast<Edge>(pick(6))); break;
            case 7: designer.sameSizeCurCtrls(pick(2) == 0, true); break;
            case 8: designer.distributeCurCtrls(pick(2) == 0); break;
            case 9: designer.replacePicture(pick(2) == 0 ? pictureA : pictureB); break;
            default:
                if (!chosen.empty()) {
                    // A drag of the selection (or of a handle of one control) with the mouse.
                    designer.setGridStep(pick(3) == 0 ? 10 : 0);
                    const POINT from = centre(drawn(chosen.front()));
                    drag(from, {from.x + pick(61) - 30, from.y + pick(61) - 30});
                }
                break;
            }
            designer.getImageSize(w, h);
            if (designer.undoCount() > before || designer.undoCount() == kMaxUndoSteps) {
                texts.push_back(designer.toText());
                sizes.emplace_back(w, h);
            } else {
                // A step that joined the one before it (nudging the same selection again), or none.
                texts.back() = designer.toText();
                sizes.back() = {w, h};
            }
        }
        ASSERT_EQ(static_cast<size_t>(designer.undoCount()), texts.size() - 1) << "session " << session;
        const std::string final = texts.back();
        for (size_t k = texts.size() - 1; k > 0; --k) {
            ASSERT_TRUE(designer.undo()) << "session " << session << " step " << k;
            ASSERT_EQ(designer.toText(), texts[k - 1]) << "session " << session << " step " << k;
            designer.getImageSize(w, h);
            ASSERT_EQ(std::make_pair(w, h), sizes[k - 1]) << "session " << session << " step " << k;
            // The windows follow the model (a combo box keeps the height its font gives it).
            for (int i = 0; i < designer.getNrControls(); ++i) {
                if (GetClassName(designer.getDrawnWindow(i)) != "ComboBox") {
                    ASSERT_EQ(drawn(i), model(i)) << "session " << session << " control " << i;
                }
            }
        }
        EXPECT_FALSE(designer.undo());
        EXPECT_EQ(designer.toText(), texts.front());
        while (designer.redo()) {
        }
        EXPECT_EQ(designer.toText(), final) << "session " << session;
    }
}

TEST_F(Editing, UndoPutsBackTheSelectionAndANewStepDropsWhatCouldBeRedone)
{
    design({px(T::VariableEdit, 10, 10, 60, 30), px(T::VariableEdit, 100, 50, 150, 70),
            px(T::VariableEdit, 200, 90, 260, 110)});
    designer.setSelection({2, 0});
    ASSERT_TRUE(designer.alignCurCtrls(Edge::Top));
    designer.setSelection({1});
    ASSERT_TRUE(designer.undo());
    EXPECT_EQ(designer.getSelection(), (std::vector<int>{2, 0}));
    EXPECT_TRUE(designer.canRedo());
    designer.setSelection({1});
    ASSERT_TRUE(designer.nudgeCurCtrls(3, 0, false));
    EXPECT_FALSE(designer.canRedo());
    EXPECT_FALSE(designer.redo());
    EXPECT_EQ(drawn(1).left, 103);
}

TEST_F(Editing, TheHistoryKeepsItsLastStepsAndNudgesOfOneSelectionAreOneStep)
{
    design({px(T::VariableEdit, 100, 100, 150, 120), px(T::VariableEdit, 100, 200, 150, 220)});
    const std::string start = designer.toText();
    // Nudging one selection again and again is one step; another selection starts another.
    designer.setSelection({0});
    for (int k = 0; k < 5; ++k)
        designer.nudgeCurCtrls(1, 0, false);
    EXPECT_EQ(designer.undoCount(), 1);
    designer.setSelection({1});
    designer.nudgeCurCtrls(0, -1, false);
    EXPECT_EQ(designer.undoCount(), 2);
    ASSERT_TRUE(designer.undo());
    ASSERT_TRUE(designer.undo());
    EXPECT_EQ(designer.toText(), start);

    // Steps that do not join: the history keeps the last kMaxUndoSteps of them.
    designer.clearHistory();
    std::vector<std::string> texts{designer.toText()};
    for (int k = 0; k < kMaxUndoSteps + 30; ++k) {
        designer.setSelection({k % 2});
        ASSERT_TRUE(designer.nudgeCurCtrls(k % 4 < 2 ? 1 : -1, 0, false));
        texts.push_back(designer.toText());
    }
    EXPECT_EQ(designer.undoCount(), kMaxUndoSteps);
    int undone = 0;
    while (designer.undo())
        ++undone;
    EXPECT_EQ(undone, kMaxUndoSteps);
    EXPECT_EQ(designer.toText(), texts[texts.size() - 1 - kMaxUndoSteps]);
}

TEST_F(Editing, TheSavedStateIsKnownAgainAfterUndoAndRedo)
{
    design({px(T::VariableEdit, 10, 10, 60, 30), px(T::VariableEdit, 100, 50, 130, 80)});
    EXPECT_TRUE(designer.isAtSavedState());
    designer.setSelection({0, 1});
    ASSERT_TRUE(designer.alignCurCtrls(Edge::Left));
    EXPECT_FALSE(designer.isAtSavedState());
    designer.markSaved();
    ASSERT_TRUE(designer.sameSizeCurCtrls(true, true));
    ASSERT_TRUE(designer.undo());
    EXPECT_TRUE(designer.isAtSavedState());
    ASSERT_TRUE(designer.undo());
    EXPECT_FALSE(designer.isAtSavedState());
    ASSERT_TRUE(designer.redo());
    EXPECT_TRUE(designer.isAtSavedState());
    ASSERT_TRUE(designer.redo());
    EXPECT_FALSE(designer.isAtSavedState());
    // A step that changes nothing is no step.
    const int steps = designer.undoCount();
    EXPECT_FALSE(designer.alignCurCtrls(Edge::Left));
    EXPECT_EQ(designer.undoCount(), steps);
}

TEST_F(Editing, UndoOfAPictureChangePutsTheOldPictureFileBack)
{
    design({px(T::VariableEdit, 40, 30, 80, 50)});
    const std::string old = kxtest::readBytes(layoutPath("edit.bmp"));
    ASSERT_TRUE(designer.replacePicture(kxtest::pictureBytes(200, 150)));
    int w = 0;
    int h = 0;
    designer.getImageSize(w, h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(200, 150));
    // The control keeps its factors: it follows the picture.
    EXPECT_EQ(drawn(0), (RECT{20, 15, 40, 25}));
    EXPECT_FALSE(designer.replacePicture("not a picture"));
    ASSERT_TRUE(designer.undo());
    EXPECT_EQ(kxtest::readBytes(layoutPath("edit.bmp")), old);
    designer.getImageSize(w, h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(kW, kH));
    ASSERT_TRUE(designer.redo());
    designer.getImageSize(w, h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(200, 150));
}

// --- The snap grid and the arrow keys -------------------------------------------------------------

TEST_F(Editing, DraggingSnapsTheSelectionToTheGridAndStopsAtThePicturesEdges)
{
    design({px(T::VariableEdit, 13, 17, 43, 37), px(T::VariableEdit, 300, 200, 340, 220)});
    designer.setGridStep(10);
    // 13 + 9 = 22 lands on 20; 17 + 6 = 23 on 20.
    drag(centre(drawn(0)), {centre(drawn(0)).x + 9, centre(drawn(0)).y + 6});
    EXPECT_EQ(drawn(0), (RECT{20, 20, 50, 40}));
    EXPECT_EQ(model(0), drawn(0));
    // Alt held: the mouse moves freely.
    SetKeyDown(VK_MENU, true);
    drag(centre(drawn(0)), {centre(drawn(0)).x + 3, centre(drawn(0)).y + 4});
    SetKeyDown(VK_MENU, false);
    EXPECT_EQ(drawn(0), (RECT{23, 24, 53, 44}));
    // Far past the left and top edges: the control stops at 0, 0.
    drag(centre(drawn(0)), {centre(drawn(0)).x - 200, centre(drawn(0)).y - 200});
    EXPECT_EQ(drawn(0), (RECT{0, 0, 30, 20}));
    // Past the right and bottom edges: flush with them, though 360 and 280 are no lines of a grid of 7.
    designer.setGridStep(7);
    designer.setSelection({});
    drag(centre(drawn(1)), {centre(drawn(1)).x + 100, centre(drawn(1)).y + 100});
    EXPECT_EQ(drawn(1), (RECT{360, 280, 400, 300}));
    EXPECT_EQ(designer.undoCount(), 4);
}

TEST_F(Editing, AHandleDragPutsTheMovedEdgesOnTheGridWithinThePicture)
{
    design({px(T::VariableEdit, 10, 10, 41, 33)});
    designer.setGridStep(10);
    designer.setSelection({0});
    // The bottom-right handle (index 2) dragged by (+3, +2): the edges land on the lines nearest to 44
    // and 35, 40 and 40.
    const RECT handle = kxwin::trackerHandleRects(drawn(0))[2];
    const POINT at = centre(handle);
    drag(at, {at.x + 3, at.y + 2});
    EXPECT_EQ(drawn(0), (RECT{10, 10, 40, 40}));
    // Dragged far beyond the picture, the edges stop at its edges.
    const POINT again = centre(kxwin::trackerHandleRects(drawn(0))[2]);
    drag(again, {again.x + 1000, again.y + 1000});
    EXPECT_EQ(drawn(0), (RECT{10, 10, kW, kH}));
    // A press on the handle without moving leaves the edges where they are, on the grid or not.
    designer.setGridStep(7);
    const POINT still = centre(kxwin::trackerHandleRects(drawn(0))[2]);
    press(still);
    release(still);
    EXPECT_EQ(drawn(0), (RECT{10, 10, kW, kH}));
    EXPECT_EQ(designer.undoCount(), 2);
}

TEST_F(Editing, ArrowNudgesStopAtThePicturesEdgesAndResizingKeepsAPixel)
{
    design({px(T::VariableEdit, 0, 5, 30, 25), px(T::VariableEdit, 365, 270, 397, 298),
            px(T::VariableEdit, 100, 100, 103, 102)});
    designer.setSelection({0});
    EXPECT_FALSE(designer.nudgeCurCtrls(-1, 0, false)) << "already at the left edge";
    EXPECT_EQ(designer.undoCount(), 0);
    EXPECT_TRUE(designer.nudgeCurCtrls(-1, -8, false));
    EXPECT_EQ(drawn(0), (RECT{0, 0, 30, 20})) << "up as far as the top edge, not past it";

    // The selection moves as one: the control nearest the edge stops them all.
    designer.setSelection({1, 2});
    EXPECT_TRUE(designer.nudgeCurCtrls(10, 10, false));
    EXPECT_EQ(drawn(1), (RECT{368, 272, 400, 300}));
    EXPECT_EQ(drawn(2), (RECT{103, 102, 106, 104}));

    // Resizing moves the right and bottom edges: not past the picture, and never below a pixel.
    designer.setSelection({1});
    EXPECT_FALSE(designer.nudgeCurCtrls(5, 5, true));
    designer.setSelection({2});
    EXPECT_TRUE(designer.nudgeCurCtrls(-10, -10, true));
    EXPECT_EQ(drawn(2), (RECT{103, 102, 104, 103}));
    EXPECT_TRUE(designer.nudgeCurCtrls(8, 0, true));
    EXPECT_EQ(drawn(2), (RECT{103, 102, 112, 103}));
}

TEST_F(Editing, AControlBeyondThePictureCanComeBackButNotGoFurther)
{
    design({px(T::VariableEdit, 390, 100, 420, 120)});
    designer.setSelection({0});
    EXPECT_FALSE(designer.nudgeCurCtrls(1, 0, false));
    EXPECT_TRUE(designer.nudgeCurCtrls(-5, 0, false));
    EXPECT_EQ(drawn(0), (RECT{385, 100, 415, 120}));
}

// --- Alignment, equal sizes, even spacing ---------------------------------------------------------

TEST_F(Editing, AlignmentFollowsTheFirstSelectedControlAndKeepsSizes)
{
    const std::vector<Kx_DesignerControl> controls{px(T::VariableEdit, 50, 40, 110, 60),
                                                   px(T::VariableEdit, 10, 100, 30, 140),
                                                   px(T::VariableEdit, 200, 10, 240, 20)};
    const std::map<Edge, std::vector<RECT>> expected{
        {Edge::Left, {{50, 40, 110, 60}, {50, 100, 70, 140}, {50, 10, 90, 20}}},
        {Edge::Right, {{50, 40, 110, 60}, {90, 100, 110, 140}, {70, 10, 110, 20}}},
        {Edge::Top, {{50, 40, 110, 60}, {10, 40, 30, 80}, {200, 40, 240, 50}}},
        {Edge::Bottom, {{50, 40, 110, 60}, {10, 20, 30, 60}, {200, 50, 240, 60}}},
        {Edge::CentresAcross, {{50, 40, 110, 60}, {70, 100, 90, 140}, {60, 10, 100, 20}}},
        {Edge::CentresDown, {{50, 40, 110, 60}, {10, 30, 30, 70}, {200, 45, 240, 55}}},
    };
    for (const auto& [edge, rects] : expected) {
        design(controls);
        designer.setSelection({0, 1, 2});
        ASSERT_TRUE(designer.alignCurCtrls(edge));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(drawn(i), rects[static_cast<size_t>(i)]) << "edge " << static_cast<int>(edge) << " control " << i;
        EXPECT_EQ(designer.getSelection(), (std::vector<int>{0, 1, 2}));
    }
}

TEST_F(Editing, SameSizeTakesTheFirstSelectedControlsSizeAndKeepsTopLeftCorners)
{
    design({px(T::VariableEdit, 10, 10, 30, 20), px(T::VariableEdit, 100, 100, 160, 140),
            px(T::VariableEdit, 200, 50, 205, 52)});
    designer.setSelection({1, 0, 2});
    ASSERT_TRUE(designer.sameSizeCurCtrls(true, false));
    EXPECT_EQ(drawn(0), (RECT{10, 10, 70, 20}));
    EXPECT_EQ(drawn(2), (RECT{200, 50, 260, 52}));
    ASSERT_TRUE(designer.sameSizeCurCtrls(false, true));
    EXPECT_EQ(drawn(0), (RECT{10, 10, 70, 50}));
    EXPECT_EQ(drawn(1), (RECT{100, 100, 160, 140}));
    designer.setSelection({0});
    EXPECT_FALSE(designer.sameSizeCurCtrls(true, true)) << "one control has nothing to match";
}

TEST_F(Editing, DistributingTwoControlsChangesNothing)
{
    design({px(T::VariableEdit, 10, 10, 30, 20), px(T::VariableEdit, 300, 200, 320, 220)});
    const std::string before = designer.toText();
    designer.setSelection({0, 1});
    EXPECT_FALSE(designer.distributeCurCtrls(true));
    EXPECT_FALSE(designer.distributeCurCtrls(false));
    EXPECT_EQ(designer.toText(), before);
    EXPECT_EQ(designer.undoCount(), 0);
}

TEST_F(Editing, DistributingManyControlsLeavesEqualGapsBetweenTheOutermostTwo)
{
    // Widths 20, 40, 10, 30, 25 scattered between 0 and 375; selected in no particular order.
    design({px(T::VariableEdit, 0, 10, 20, 20), px(T::VariableEdit, 200, 30, 240, 40),
            px(T::VariableEdit, 60, 50, 70, 60), px(T::VariableEdit, 350, 70, 375, 80),
            px(T::VariableEdit, 90, 90, 120, 100), px(T::Label, 5, 200, 50, 220, "not selected")});
    const RECT unselected = drawn(5);
    designer.setSelection({3, 1, 0, 4, 2});
    ASSERT_TRUE(designer.distributeCurCtrls(true));
    // Left to right as they stood: 0, 2, 4, 1, 3. Room 375 - 125 = 250, four gaps of 62.5.
    const std::vector<int> order{0, 2, 4, 1, 3};
    EXPECT_EQ(drawn(0).left, 0);
    EXPECT_EQ(drawn(3).right, 375);
    for (size_t n = 1; n < order.size(); ++n) {
        const LONG gap = drawn(order[n]).left - drawn(order[n - 1]).right;
        EXPECT_TRUE(gap == 62 || gap == 63) << "gap " << n << " is " << gap;
    }
    // Only the positions across changed.
    EXPECT_EQ(drawn(1).top, 30);
    EXPECT_EQ(drawn(1).width(), 40);
    EXPECT_EQ(drawn(5), unselected);

    // Down, with three controls of one height: whole-pixel gaps that add up.
    design({px(T::VariableEdit, 10, 0, 30, 10), px(T::VariableEdit, 10, 13, 30, 23), px(T::VariableEdit, 10, 100, 30, 110)});
    designer.setSelection({0, 1, 2});
    ASSERT_TRUE(designer.distributeCurCtrls(false));
    EXPECT_EQ(drawn(1), (RECT{10, 50, 30, 60}));
    ASSERT_TRUE(designer.undo());
    EXPECT_EQ(drawn(1), (RECT{10, 13, 30, 23}));
}

// --- The tab-order view ---------------------------------------------------------------------------

// A host that leaves the Tab key to the dialog, as a macro page does.
class PlainHost : public CDialog {
public:
    explicit PlainHost(int templateId) : CDialog(templateId) {}
};

TEST_F(Editing, TheTabOrderViewShowsTheOrderTheKeyboardTakesAtRunTime)
{
    // Rows from the top, left to right within a row; labels and frames take no part. The list
    // order is deliberately unlike the keyboard order.
    const std::vector<Kx_DesignerControl> controls{
        px(T::VariableEdit, 200, 30, 260, 45, "a"),   px(T::VariableEdit, 80, 36, 140, 51, "b"),
        px(T::Label, 10, 30, 70, 45, "label"),        px(T::VariableEdit, 40, 90, 100, 105, "c"),
        px(T::Frame, 5, 80, 300, 200, "frame"),       px(T::CheckBox, 10, 150, 60, 165, "d"),
        px(T::VariableCombo, 150, 92, 220, 107, "e"), px(T::VariableEdit, 10, 250, 60, 265, "f")};
    design(controls);
    const std::vector<int> orders = designer.runtimeTabOrders();
    EXPECT_EQ(orders, (std::vector<int>{2, 1, 0, 3, 0, 5, 4, 6}));

    // The view paints each control's place at its top-left corner and hides the windows.
    designer.setTabOrderView(true);
    EXPECT_FALSE(IsWindowVisible(designer.getDrawnWindow(0)));
    const HDC dc = GetDC(host->m_hWnd);
    designer.OnPaint(dc);
    std::map<std::string, POINT> badges;
    for (const kxwin::DrawOp& op : kxwin::recordedOps(dc))
        if (op.kind == kxwin::DrawOpKind::DrawText)
            badges[op.text] = {op.rect.left, op.rect.top};
    ReleaseDC(host->m_hWnd, dc);
    for (size_t i = 0; i < controls.size(); ++i) {
        if (orders[i] == 0)
            continue;
        const RECT r = designer.getDrawnRect(controls[i]);
        EXPECT_EQ(badges[std::to_string(orders[i])], (POINT{r.left, r.top})) << "control " << i;
    }
    EXPECT_EQ(badges.size(), 6u);
    // In the view the mouse selects nothing.
    press(centre(designer.getDrawnRect(controls[0])));
    release(centre(designer.getDrawnRect(controls[0])));
    EXPECT_TRUE(designer.getSelection().empty());

    // The same layout placed at run time in a host that leaves Tab to the dialog: the keyboard
    // walks the controls in the order the view showed.
    PlainHost page(kHostTemplate);
    ASSERT_TRUE(page.Create(kHostTemplate));
    Kx_DlgDesignerData placed;
    ASSERT_TRUE(placed.attachBitmap(Kx_String(layoutPath("edit.bmp"))));
    ASSERT_TRUE(placed.initialize(page.m_hWnd, kDesignerFirstResourceId, kDesignerLastResourceId, 0, 0, 0, 0, 0,
                                  /*designerMode=*/false));
    for (const Kx_DesignerControl& c : controls)
        placed.append(c);
    placed.redrawAllControls();
    ASSERT_TRUE(placed.setFocusToCtrl(/*first=*/true));
    kxwin::DialogDriver keys(page.m_hWnd);
    EXPECT_EQ(kxtest::walkWithTab(placed, [&] { keys.pressKey(VK_TAB); }), kxtest::indicesByPlace(orders));
    placed.removeAllDrawnCtrls();
}

} // namespace
