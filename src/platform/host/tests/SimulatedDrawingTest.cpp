// The host's simulated drawing: objects and picking by position, highlights and previews, picks
// answered by a chooser, transactions that apply their writes only on commit, and the request log
// that the host calls (editor-command hand-off, display updates) feed.
#include "platform/host/SimulatedDrawing.h"

#include "platform/host/CommandLine.h"
#include "platform/host/HostWindow.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using kxhost::DrawingObject;
using kxhost::DrawingPoint;
using kxhost::PickAnswer;
using kxhost::PickRequest;
using kxhost::SimulatedDrawing;

std::vector<std::string> logLines(const SimulatedDrawing& drawing)
{
    std::vector<std::string> lines;
    for (const kxhost::DrawingRequest& r : drawing.requests())
        lines.push_back(r.text());
    return lines;
}

// Answers every pick with a fixed object (and the point of its first corner).
kxhost::PickChooser answer(SimulatedDrawing& drawing, AcDbObjectId id)
{
    return [&drawing, id](const SimulatedDrawing&, const PickRequest&) -> std::optional<PickAnswer> {
        const DrawingObject* o = drawing.object(id);
        return PickAnswer{id, o != nullptr ? o->outline[0][0] : DrawingPoint{}};
    };
}

struct Frame {
    SimulatedDrawing drawing;
    std::vector<AcDbObjectId> ids = drawing.addSampleFrame();
    AcDbObjectId column1() const { return ids[0]; }
    AcDbObjectId beam() const { return ids[2]; }
    AcDbObjectId plate() const { return ids[3]; }
    AcDbObjectId bolts() const { return ids[4]; }
    AcDbObjectId macro() const { return ids[5]; }
};

TEST(DrawingObjects, TheSampleFrameHoldsTheKindsTheModuleWorksOn)
{
    Frame f;
    ASSERT_EQ(f.ids.size(), 6u);
    std::vector<std::string> kinds;
    for (const DrawingObject& o : f.drawing.objects())
        kinds.push_back(o.kind);
    EXPECT_EQ(kinds, (std::vector<std::string>{"profile", "profile", "profile", "plate", "bolt group", "macro"}));
    EXPECT_EQ(f.drawing.object(f.beam())->property("Section"), "IPE300");
    EXPECT_EQ(f.drawing.object(f.bolts())->outline.size(), 4u);
    DrawingPoint low, high;
    ASSERT_TRUE(f.drawing.extents(low, high));
    EXPECT_EQ(low, (DrawingPoint{0, 0}));
    EXPECT_EQ(high.x, 6200);
}

TEST(DrawingObjects, IdsAreNeverReusedAndErasedOnesStayKnownAsErased)
{
    Frame f;
    const AcDbObjectId beam = f.beam();
    f.drawing.highlight(beam);
    EXPECT_TRUE(f.drawing.eraseObject(beam));
    EXPECT_FALSE(f.drawing.eraseObject(beam));
    EXPECT_FALSE(f.drawing.isHighlighted(beam));
    EXPECT_TRUE(f.drawing.wasErased(beam));
    f.drawing.clear();
    EXPECT_TRUE(f.drawing.objects().empty());
    EXPECT_TRUE(f.drawing.wasErased(f.plate()));
    const std::vector<AcDbObjectId> again = f.drawing.addSampleFrame();
    for (AcDbObjectId id : again)
        for (AcDbObjectId old : f.ids)
            EXPECT_NE(id, old);
}

TEST(DrawingObjects, APointFindsTheSmallestObjectUnderItAndEmptySpaceFindsNone)
{
    Frame f;
    // A bolt sits on the plate, inside the macro's box, over the column's head.
    EXPECT_EQ(f.drawing.objectAt({5940, 2740}), f.bolts());
    EXPECT_EQ(f.drawing.objectAt({5990, 2680}), f.plate());
    EXPECT_EQ(f.drawing.objectAt({5900, 3040}), f.macro());
    EXPECT_EQ(f.drawing.objectAt({3000, 2850}), f.beam());
    EXPECT_TRUE(f.drawing.objectAt({3000, 1000}).isNull());
    // Just outside the column's edge: a hit only within the tolerance.
    EXPECT_TRUE(f.drawing.objectAt({205, 1000}).isNull());
    EXPECT_EQ(f.drawing.objectAt({205, 1000}, 10), f.column1());
    // Limited to one kind, the bolt's place gives the plate under it.
    EXPECT_EQ(f.drawing.objectAt({5990, 2740}, 0, "plate"), f.plate());
    EXPECT_EQ(f.drawing.objectAt({5940, 2740}, 0, "profile"), f.beam());
}

TEST(DrawingObjects, OutlinesWithPointsAtInfinityOrNanAreDropped)
{
    SimulatedDrawing drawing;
    DrawingObject o;
    o.kind = "plate";
    o.outline = {{{0, 0}, {10, 0}, {10, 10}},
                 {{0, 0}, {std::numeric_limits<double>::quiet_NaN(), 5}, {1e308 * 10, 0}}};
    const AcDbObjectId id = drawing.addObject(o);
    EXPECT_EQ(drawing.object(id)->outline.size(), 1u);
    DrawingPoint low, high;
    ASSERT_TRUE(drawing.extents(low, high));
    EXPECT_EQ(high, (DrawingPoint{10, 10}));
    EXPECT_EQ(drawing.addPreview({{0, 0}, {std::numeric_limits<double>::infinity(), 1}}), 0);
}

TEST(DrawingMarks, HighlightsAndPreviewsAreKeptAndEveryRequestIsLogged)
{
    Frame f;
    EXPECT_TRUE(f.drawing.highlight(f.beam()));
    EXPECT_FALSE(f.drawing.highlight(AcDbObjectId(999)));
    EXPECT_FALSE(f.drawing.unhighlight(f.plate()));
    EXPECT_TRUE(f.drawing.highlight(f.plate()));
    f.drawing.unhighlightAll();
    EXPECT_TRUE(f.drawing.highlighted().empty());

    const int first = f.drawing.addPreview({{0, 0}, {100, 0}, {100, 100}}, "cut 1");
    const int second = f.drawing.addPreview({{0, 0}, {50, 50}}, "cut 2");
    EXPECT_EQ(f.drawing.addPreview({{0, 0}}, "cut 3"), 0);
    EXPECT_TRUE(f.drawing.removePreview(first));
    EXPECT_FALSE(f.drawing.removePreview(first));
    ASSERT_EQ(f.drawing.previews().size(), 1u);
    EXPECT_EQ(f.drawing.previews()[0].number, second);

    const std::string beam = std::to_string(f.beam().handle());
    const std::string plate = std::to_string(f.plate().handle());
    EXPECT_EQ(logLines(f.drawing), (std::vector<std::string>{
                                        "highlight [" + beam + "] -> done",
                                        "highlight [999] -> no such object",
                                        "unhighlight [" + plate + "] -> was not highlighted",
                                        "highlight [" + plate + "] -> done",
                                        "unhighlight all [" + std::min(beam, plate) + ", " + std::max(beam, plate) + "] -> done",
                                        "draw preview cut 1 -> preview 1",
                                        "draw preview cut 2 -> preview 2",
                                        "draw preview cut 3 -> refused: not an outline",
                                        "remove preview 1 -> done",
                                        "remove preview 1 -> no such preview",
                                    }));
}

TEST(DrawingLog, KeepsTheNewestRequestsUpToItsLimit)
{
    SimulatedDrawing drawing;
    for (size_t i = 0; i < SimulatedDrawing::kRequestLogLimit + 5; ++i)
        drawing.logRequest("request " + std::to_string(i));
    EXPECT_EQ(drawing.requests().size(), SimulatedDrawing::kRequestLogLimit);
    EXPECT_EQ(drawing.requests().front().what, "request 5");
    EXPECT_EQ(drawing.requestCount(), SimulatedDrawing::kRequestLogLimit + 5);
}

// Records what it is told; can leave the drawing while being told.
struct Recorder : kxhost::DrawingObserver {
    SimulatedDrawing* leaveFrom = nullptr;
    std::vector<std::string> heard;
    void drawingChanged(const SimulatedDrawing&) override { heard.push_back("changed"); }
    void requestLogged(const SimulatedDrawing&, const kxhost::DrawingRequest& r) override
    {
        heard.push_back(r.what);
        if (leaveFrom != nullptr)
            leaveFrom->removeObserver(this);
    }
    void pickStarted(const SimulatedDrawing&, const PickRequest& r) override { heard.push_back("started " + r.prompt); }
    void pickEnded(const SimulatedDrawing&) override { heard.push_back("ended"); }
};

TEST(DrawingLog, ObserversHearChangesRequestsAndPicksAndMayLeaveWhileTold)
{
    Frame f;
    Recorder a;
    Recorder b;
    f.drawing.addObserver(&a);
    f.drawing.addObserver(&a);  // once is enough
    f.drawing.addObserver(&b);
    b.leaveFrom = &f.drawing;
    f.drawing.setPickChooser(answer(f.drawing, f.plate()));
    f.drawing.highlight(f.beam());
    ASSERT_TRUE(f.drawing.pickObject("Select a plate", "plate"));
    EXPECT_EQ(a.heard, (std::vector<std::string>{"highlight", "changed", "started Select a plate", "ended",
                                                 "pick plate: Select a plate"}));
    EXPECT_EQ(b.heard, (std::vector<std::string>{"highlight"}));
    f.drawing.removeObserver(&a);
}

TEST(DrawingPicks, TheChoosersAnswerIsTakenOnlyWhenItIsAnObjectOfTheAskedKind)
{
    Frame f;
    kxhost::takeCommandLineText();
    EXPECT_FALSE(f.drawing.pickObject("Select a profile", "profile"));  // nobody to answer

    f.drawing.setPickChooser(answer(f.drawing, f.beam()));
    EXPECT_EQ(f.drawing.pickObject("Select a profile", "profile"), f.beam());
    EXPECT_FALSE(f.drawing.pickObject("Select a plate", "plate"));
    EXPECT_EQ(f.drawing.pickObject("Select an object"), f.beam());
    f.drawing.setPickChooser(answer(f.drawing, AcDbObjectId(4242)));
    EXPECT_FALSE(f.drawing.pickObject("Select an object"));
    f.drawing.setPickChooser([](const SimulatedDrawing&, const PickRequest&) -> std::optional<PickAnswer> {
        throw std::runtime_error("the view is gone");
    });
    EXPECT_FALSE(f.drawing.pickObject("Select an object"));
    EXPECT_FALSE(f.drawing.isPicking());

    const std::string beam = std::to_string(f.beam().handle());
    EXPECT_EQ(logLines(f.drawing), (std::vector<std::string>{
                                        "pick profile: Select a profile -> cancelled",
                                        "pick profile: Select a profile [" + beam + "] -> Beam B1",
                                        "pick plate: Select a plate [" + beam + "] -> refused: not a plate",
                                        "pick an object: Select an object [" + beam + "] -> Beam B1",
                                        "pick an object: Select an object [4242] -> refused: no such object",
                                        "pick an object: Select an object -> cancelled",
                                    }));
    // The prompt is on the command line while the user answers (not when nobody can).
    EXPECT_EQ(kxhost::takeCommandLineText(),
              "Select a profile\nSelect a plate\nSelect an object\nSelect an object\nSelect an object\n");
}

TEST(DrawingPicks, APickAskedWhileAnotherIsOpenIsRefusedAndPointsComeBackAsGiven)
{
    Frame f;
    std::optional<AcDbObjectId> inner;
    f.drawing.setPickChooser([&](const SimulatedDrawing&, const PickRequest& request) -> std::optional<PickAnswer> {
        if (request.kind == kxhost::PickKind::Point)
            return PickAnswer{{}, {12.5, -3}};
        inner = f.drawing.pickObject("inner");
        return PickAnswer{f.plate(), {}};
    });
    EXPECT_EQ(f.drawing.pickObject("outer"), f.plate());
    EXPECT_FALSE(inner);
    EXPECT_EQ(f.drawing.requests()[0].text(), "pick an object: inner -> refused: another pick is open");
    EXPECT_EQ(f.drawing.pickPoint("Base point"), (DrawingPoint{12.5, -3}));
    EXPECT_EQ(f.drawing.requests().back().text(), "pick a point: Base point -> 12.5, -3.0");
}

TEST(DrawingTransactions, WritesReachTheDrawingOnlyOnCommit)
{
    Frame f;
    {
        AcTransaction t(f.drawing);
        kxhost::DrawingObject* beam = nullptr;
        ASSERT_EQ(t.getObject(beam, f.beam(), AcDb::kForWrite), Acad::eOk);
        beam->name = "Beam B9";
        beam->kind = "plate";            // an object does not change kind
        beam->id = AcDbObjectId(4242);   // nor id
        const kxhost::DrawingObject* read = nullptr;
        ASSERT_EQ(t.getObject(read, f.beam()), Acad::eOk);
        EXPECT_EQ(read->name, "Beam B9");  // a transaction reads its own writes
        EXPECT_EQ(f.drawing.object(f.beam())->name, "Beam B1");
        EXPECT_TRUE(t.end());
        EXPECT_FALSE(t.end());
        EXPECT_FALSE(t.abort());
    }
    EXPECT_EQ(f.drawing.object(f.beam())->name, "Beam B9");
    EXPECT_EQ(f.drawing.object(f.beam())->kind, "profile");
    EXPECT_EQ(f.drawing.object(AcDbObjectId(4242)), nullptr);

    {
        AcTransaction aborted(f.drawing);
        kxhost::DrawingObject* plate = nullptr;
        ASSERT_EQ(aborted.getObject(plate, f.plate()), Acad::eOk);
        plate->name = "lost";
        EXPECT_TRUE(aborted.abort());
        AcTransaction forgotten(f.drawing);  // destroyed while open: dropped as well
        ASSERT_EQ(forgotten.getObject(plate, f.plate()), Acad::eOk);
        plate->name = "lost too";
    }
    EXPECT_EQ(f.drawing.object(f.plate())->name, "End plate P1");

    const std::string beam = std::to_string(f.beam().handle());
    const std::string plate = std::to_string(f.plate().handle());
    EXPECT_EQ(logLines(f.drawing), (std::vector<std::string>{
                                        "open for write [" + beam + "] -> eOk",
                                        "open for read [" + beam + "] -> eOk",
                                        "commit transaction [" + beam + "] -> 1 object written",
                                        "open for write [" + plate + "] -> eOk",
                                        "abort transaction [" + plate + "] -> changes dropped",
                                        "open for write [" + plate + "] -> eOk",
                                        "abort transaction [" + plate + "] -> changes dropped",
                                    }));
}

TEST(DrawingTransactions, OpensAnswerWithTheHostsStatusesAndErasedObjectsStayErased)
{
    Frame f;
    AcTransaction t(f.drawing);
    const kxhost::DrawingObject* read = nullptr;
    kxhost::DrawingObject* write = nullptr;
    EXPECT_EQ(t.getObject(read, AcDbObjectId::kNull), Acad::eNullObjectId);
    EXPECT_EQ(t.getObject(read, AcDbObjectId(4242)), Acad::eNotInDatabase);
    EXPECT_EQ(t.getObject(write, f.plate(), AcDb::kForRead), Acad::eInvalidOpenState);
    EXPECT_EQ(write, nullptr);
    ASSERT_EQ(t.getObject(write, f.bolts()), Acad::eOk);
    write->name = "Bolts M20 x 4";
    f.drawing.eraseObject(f.bolts());  // erased by someone else before the commit
    EXPECT_EQ(t.getObject(read, f.bolts()), Acad::eWasErased);
    EXPECT_EQ(read, nullptr);
    EXPECT_TRUE(t.end());
    EXPECT_EQ(f.drawing.object(f.bolts()), nullptr);
    EXPECT_EQ(f.drawing.requests().back().answer, "0 objects written, 1 erased meanwhile");
    EXPECT_EQ(t.getObject(read, f.beam()), Acad::eInvalidOpenState);
    EXPECT_STREQ(acadErrorStatusText(static_cast<Acad::ErrorStatus>(-7)), "unknown status");
}

// The host calls that touch the drawing log into the drawing the host has open.
class HostCallsOnTheDrawing : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        DialogTemplate t;
        t.id = 5152;
        t.title = "Profile cuts";
        t.style = WS_POPUP | WS_CAPTION;
        t.cx = 100;
        t.cy = 50;
        module = kxwin::resourceModule("drawing-test");
        kxwin::addDialogTemplate(module, t);
        previous = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
        kxhost::activeDrawing().clearRequests();
    }
    void TearDown() override
    {
        AfxSetResourceHandle(previous);
        kxhost::activeDrawing().setPickChooser({});
        kxhost::activeDrawing().clear();
        WindowLayerTest::TearDown();
    }
    HINSTANCE module = nullptr;
    HINSTANCE previous = nullptr;
};

TEST_F(HostCallsOnTheDrawing, APickFromADialogIsLoggedBetweenTheHandOverAndTheReturn)
{
    SimulatedDrawing& drawing = kxhost::activeDrawing();
    const std::vector<AcDbObjectId> ids = drawing.addSampleFrame();
    drawing.setPickChooser(answer(drawing, ids[3]));
    KxHostDialog dialog(5152, adsw_acadMainWnd());
    ASSERT_TRUE(dialog.Create(5152, adsw_acadMainWnd()));
    dialog.ShowWindow(SW_SHOW);
    drawing.clearRequests();
    dialog.BeginEditorCommand();
    bool hidden = !dialog.IsWindowVisible();
    const std::optional<AcDbObjectId> picked = drawing.pickObject("Select a plate", "plate");
    dialog.CompleteEditorCommand();
    dialog.CompleteEditorCommand();  // nothing to give back the second time
    acedUpdateDisplay();
    {
        AcTransaction t;
        const kxhost::DrawingObject* o = nullptr;
        EXPECT_EQ(t.getObject(o, ids[3]), Acad::eOk);
        t.end();
    }
    EXPECT_TRUE(hidden);
    EXPECT_EQ(picked, ids[3]);
    const std::string plate = std::to_string(ids[3].handle());
    EXPECT_EQ(logLines(drawing), (std::vector<std::string>{
                                     "hand the drawing to the user -> \"Profile cuts\" hidden",
                                     "pick plate: Select a plate [" + plate + "] -> End plate P1",
                                     "back to the dialog -> \"Profile cuts\" shown",
                                     "update the display",
                                     "open for read [" + plate + "] -> eOk",
                                     "commit transaction -> 0 objects written",
                                 }));
    dialog.DestroyWindow();
}

} // namespace
