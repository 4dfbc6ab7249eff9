// The profile cuts dialog as StartEditProfCutsDlg runs it, driven by the scripted user over the
// active drawing: what it lists and previews, what removing a cut and picking another profile do
// to the drawing, and that no preview outlives the dialog.
#include "detailing/DetailingLaunchers.h"
#include "detailing/ZnDlgProfCuts.h"

#include "DetailingTestSupport.h"
#include "core/TextTables.h"
#include "platform/host/HostWindow.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

#include <string>
#include <vector>

using D = ZnDlgProfCuts;
using kxcore::ProfileCut;

namespace {

class ProfCutsDialog : public kxtest::DetailingTest {
protected:
    void SetUp() override
    {
        DetailingTest::SetUp();
        drawing().clear();
        kxcore::clearProfileCuts();
        kxss::setProfCutsPreviewSwitch(true);
        const std::vector<AcDbObjectId> ids = drawing().addSampleFrame();
        column = ids[0];
        beam = ids[2];
        kxcore::setProfileCuts(beam, {{"notch", false, 120, 40}, {"chamfer", false, 60, 60}, {"end", true, 20, 0}});
        kxcore::setProfileCuts(column, {{"notch", true, 100, 50}});
        data.profile = static_cast<int>(beam.handle());
    }
    void TearDown() override
    {
        drawing().setPickChooser({});
        drawing().clear();
        kxcore::clearProfileCuts();
        kxss::setProfCutsPreviewSwitch(true);
        DetailingTest::TearDown();
    }
    static kxhost::SimulatedDrawing& drawing() { return kxhost::activeDrawing(); }
    // The labels of the previews in the drawing, oldest first.
    static std::vector<std::string> previews()
    {
        std::vector<std::string> out;
        for (const kxhost::DrawingPreview& p : drawing().previews())
            out.push_back(p.label);
        return out;
    }
    static std::vector<std::string> cutsOf(AcDbObjectId id)
    {
        std::vector<std::string> out;
        for (const ProfileCut& cut : kxcore::profileCuts(id))
            out.push_back(kxcore::describeCut(cut).str());
        return out;
    }
    static int selected(kxwin::DialogDriver& d)
    {
        return static_cast<int>(SendMessage(d.item(D::kCutList), LB_GETCURSEL));
    }

    kxwin::UserAgent agent;
    AcDbObjectId column;
    AcDbObjectId beam;
    DlgProfCutsData data;
};

const std::string kNotch = "Notch 120 x 40 at the start";
const std::string kChamfer = "Chamfer 60 x 60 at the start";
const std::string kEndCut = "End cut 20 at the end";

TEST_F(ProfCutsDialog, ListsTheCutsAndWithTheSwitchOnShowsOnlyTheSelectedCutsPreview)
{
    agent.onDialog(D::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1123).str());
        EXPECT_EQ(d.text(IDOK), dialString(285).str());
        EXPECT_FALSE(d.isVisible(IDCANCEL));
        EXPECT_EQ(d.tooltip(D::kRemove), dialString(1122).str());
        EXPECT_EQ(d.tooltip(D::kOtherProfile), dialString(1121).str());
        EXPECT_EQ(d.items(D::kCutList), (std::vector<std::string>{kNotch, kChamfer, kEndCut}));
        EXPECT_EQ(selected(d), 0);
        EXPECT_EQ(d.checkState(D::kKeepPreviews), BST_UNCHECKED);
        EXPECT_EQ(previews(), std::vector<std::string>{kNotch});
        d.pick(D::kCutList, 2);
        EXPECT_EQ(previews(), std::vector<std::string>{kEndCut});
        d.pick(D::kCutList, 1);
        EXPECT_EQ(previews(), std::vector<std::string>{kChamfer});
        // The preview lies on the beam (200..5980 x 2700..3000), at its start and top.
        ASSERT_EQ(drawing().previews().size(), 1u);
        for (const kxhost::DrawingPoint& p : drawing().previews()[0].outline) {
            EXPECT_GE(p.x, 200);
            EXPECT_LE(p.x, 260);
            EXPECT_GE(p.y, 2940);
        }
        d.ok();
    });
    ASSERT_TRUE(StartEditProfCutsDlg(data));
    EXPECT_TRUE(previews().empty());
    EXPECT_TRUE(kxss::profCutsPreviewSwitch());
    EXPECT_EQ(cutsOf(beam).size(), 3u);
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(ProfCutsDialog, WithTheBoxCheckedPreviewsStayUntilCloseAndTheChoiceHoldsForTheNextRun)
{
    agent.onDialog(D::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.click(D::kKeepPreviews);
        d.pick(D::kCutList, 1).pick(D::kCutList, 2);
        EXPECT_EQ(previews(), (std::vector<std::string>{kNotch, kChamfer, kEndCut}));
        // Selecting a cut already shown does not draw it twice.
        d.pick(D::kCutList, 0);
        EXPECT_EQ(previews().size(), 3u);
        d.ok();
    });
    agent.onDialog(D::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.checkState(D::kKeepPreviews), BST_CHECKED);
        d.pick(D::kCutList, 1);
        EXPECT_EQ(previews(), (std::vector<std::string>{kNotch, kChamfer}));
        d.click(D::kKeepPreviews);
        d.pick(D::kCutList, 2);
        // Back on: the previous cut's preview goes, the older one stays until the dialog closes.
        EXPECT_EQ(previews(), (std::vector<std::string>{kNotch, kEndCut}));
        d.closeBox();
    });
    ASSERT_TRUE(StartEditProfCutsDlg(data));
    EXPECT_TRUE(previews().empty());
    EXPECT_FALSE(kxss::profCutsPreviewSwitch());
    ASSERT_TRUE(StartEditProfCutsDlg(data));
    EXPECT_TRUE(previews().empty());
    EXPECT_TRUE(kxss::profCutsPreviewSwitch());
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(ProfCutsDialog, RemovingCutsChangesTheProfileAndTakesTheirPreviewsWithThem)
{
    agent.onDialog(D::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.click(D::kKeepPreviews);
        d.pick(D::kCutList, 1).pick(D::kCutList, 2);
        d.pick(D::kCutList, 1);
        d.click(D::kRemove);
        // The chamfer is gone from the beam and from the drawing; the end cut moves up and is selected.
        EXPECT_EQ(cutsOf(beam), (std::vector<std::string>{kNotch, kEndCut}));
        EXPECT_EQ(d.items(D::kCutList), (std::vector<std::string>{kNotch, kEndCut}));
        EXPECT_EQ(selected(d), 1);
        EXPECT_EQ(previews(), (std::vector<std::string>{kNotch, kEndCut}));
        d.click(D::kRemove);
        // Past the end: the last cut is selected.
        EXPECT_EQ(selected(d), 0);
        EXPECT_EQ(previews(), std::vector<std::string>{kNotch});
        d.click(D::kRemove);
        EXPECT_TRUE(d.items(D::kCutList).empty());
        EXPECT_EQ(selected(d), -1);
        EXPECT_TRUE(previews().empty());
        EXPECT_FALSE(d.isEnabled(D::kRemove));
        d.escape();
    });
    ASSERT_TRUE(StartEditProfCutsDlg(data));
    EXPECT_TRUE(cutsOf(beam).empty());
    EXPECT_EQ(cutsOf(column).size(), 1u);
    // The caller learns what went, and from which profile.
    EXPECT_EQ(data.removedCuts.length(), 3);
    EXPECT_EQ(data.removedCuts[0], Kx_String(kChamfer));
    ASSERT_EQ(data.changedProfiles.length(), 1);
    EXPECT_EQ(data.changedProfiles[0], static_cast<int>(beam.handle()));
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(ProfCutsDialog, RemoveWithoutASelectionDoesNothing)
{
    agent.onDialog(D::kTemplateId, [&](kxwin::DialogDriver& d) {
        SendMessage(d.item(D::kCutList), LB_SETCURSEL, static_cast<WPARAM>(-1));
        d.click(D::kRemove);
        EXPECT_EQ(cutsOf(beam).size(), 3u);
        EXPECT_EQ(d.items(D::kCutList).size(), 3u);
        d.ok();
    });
    ASSERT_TRUE(StartEditProfCutsDlg(data));
    EXPECT_TRUE(data.removedCuts.isEmpty());
}

TEST_F(ProfCutsDialog, PickingAnotherProfileClearsEveryPreviewFirstAndListsTheNewProfilesCuts)
{
    int picks = 0;
    std::vector<std::string> previewsDuringPick;
    bool cancel = true;
    drawing().setPickChooser([&](const kxhost::SimulatedDrawing& dwg, const kxhost::PickRequest& request)
                                 -> std::optional<kxhost::PickAnswer> {
        ++picks;
        EXPECT_EQ(request.objectKind, "profile");
        for (const kxhost::DrawingPreview& p : dwg.previews())
            previewsDuringPick.push_back(p.label);
        if (cancel)
            return std::nullopt;
        return kxhost::PickAnswer{column, {}};
    });
    agent.onDialog(D::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.click(D::kKeepPreviews);
        d.pick(D::kCutList, 1);
        d.click(D::kOtherProfile);
        // Cancelled: same profile, its selected cut shown again.
        EXPECT_EQ(picks, 1);
        EXPECT_TRUE(previewsDuringPick.empty());
        EXPECT_EQ(d.items(D::kCutList).size(), 3u);
        EXPECT_EQ(previews(), std::vector<std::string>{kChamfer});
        EXPECT_TRUE(IsWindowVisible(d.dialog()));

        cancel = false;
        d.pick(D::kCutList, 2);
        d.click(D::kOtherProfile);
        EXPECT_EQ(picks, 2);
        EXPECT_TRUE(previewsDuringPick.empty());
        EXPECT_EQ(d.items(D::kCutList), std::vector<std::string>{"Notch 100 x 50 at the end"});
        EXPECT_EQ(selected(d), 0);
        EXPECT_EQ(previews(), std::vector<std::string>{"Notch 100 x 50 at the end"});
        d.ok();
    });
    ASSERT_TRUE(StartEditProfCutsDlg(data));
    EXPECT_EQ(data.profile, static_cast<int>(column.handle()));
    EXPECT_TRUE(previews().empty());
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(ProfCutsDialog, AProfileThatIsGoneListsNothingAndRemovesNothing)
{
    drawing().eraseObject(beam);
    agent.onDialog(D::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_TRUE(d.items(D::kCutList).empty());
        EXPECT_FALSE(d.isEnabled(D::kRemove));
        EXPECT_TRUE(previews().empty());
        d.ok();
    });
    ASSERT_TRUE(StartEditProfCutsDlg(data));
    EXPECT_EQ(cutsOf(beam).size(), 3u);
}

TEST(ProfCutsData, OperationsOutsideTheListFailAndChangeNothing)
{
    kxhost::SimulatedDrawing& dwg = kxhost::activeDrawing();
    dwg.clear();
    kxcore::clearProfileCuts();
    const AcDbObjectId beam = dwg.addSampleFrame()[2];
    kxcore::setProfileCuts(beam, {{"notch", false, 99999, 99999}});
    DlgProfCutsData data;
    data.profile = static_cast<int>(beam.handle());
    EXPECT_FALSE(data.drawCutPreview(1));
    EXPECT_FALSE(data.drawCutPreview(-1));
    EXPECT_FALSE(data.removeCut(1));
    EXPECT_FALSE(data.removeCutPreview(0));
    // A cut larger than the profile is drawn within it.
    ASSERT_TRUE(data.drawCutPreview(0));
    for (const kxhost::DrawingPoint& p : dwg.previews().at(0).outline) {
        EXPECT_GE(p.x, 200);
        EXPECT_LE(p.x, 5980);
        EXPECT_GE(p.y, 2700);
        EXPECT_LE(p.y, 3000);
    }
    EXPECT_EQ(kxcore::profileCuts(beam).size(), 1u);
    data.removeAllCutPreviews();
    EXPECT_TRUE(dwg.previews().empty());
    dwg.clear();
    kxcore::clearProfileCuts();
}

} // namespace
