// The DSTV point group and point dialogs as their launcher runs them, driven by the scripted user.
#include "detailing/DstvLaunchers.h"
#include "detailing/ZnDlgDstvPoints.h"
#include "detailing/tests/DetailingTestSupport.h"

#include "core/PromptDialog.h"
#include "core/SaveFile.h"
#include "platform/win/Messages.h"
#include "platform/win/UserAgent.h"

#include <filesystem>

namespace {

using G = ZnDlgDstvGroups;
using P = ZnDlgDstvPoints;
using kxwin::DialogDriver;
namespace fs = std::filesystem;

class DstvPoints : public kxtest::DetailingTest {
protected:
    void SetUp() override
    {
        DetailingTest::SetUp();
        DlgDstvPoints::getDstvPointsFolder(folder);
        fs::create_directories(folder.str());
    }
    std::string group(const std::string& name) const { return folder.str() + name + ".dat"; }
    Kx_Array<Kx_DstvPointInfo> read(const std::string& name)
    {
        Kx_Array<Kx_DstvPointInfo> points;
        EXPECT_TRUE(DlgDstvPoints::readFromFile(Kx_String(group(name)), points));
        return points;
    }
    void write(const std::string& name, std::initializer_list<const char*> names)
    {
        Kx_Array<Kx_DstvPointInfo> points;
        for (const char* n : names) {
            Kx_DstvPointInfo p;
            p.setName(n);
            points.append(p);
        }
        ASSERT_TRUE(DlgDstvPoints::writeToFile(Kx_String(group(name)), points));
    }
    void typeInPrompt(kxwin::UserAgent& agent, const std::string& text)
    {
        agent.onDialog(kxcore::kPromptDialogId, [text](DialogDriver& p) {
            p.setText(kxcore::kPromptValueId, text);
            p.ok();
        });
    }
    Kx_String folder;
};

TEST_F(DstvPoints, TheListChecksTheStandardGroupAndNewGroupsAreCheckedForTheirName)
{
    write("Welds", {"A"});
    write("Drill", {});
    ASSERT_TRUE(DlgDstvPoints::setStandardDstvPointsFile("Welds"));
    kxwin::UserAgent agent;
    agent.onDialog(G::kTemplateId, [&](DialogDriver& d) {
        EXPECT_EQ(d.title(), "DSTV point groups");
        EXPECT_EQ(d.text(IDOK), "Close");
        EXPECT_FALSE(d.isVisible(IDCANCEL));
        EXPECT_EQ(d.items(G::kGroups), (std::vector<std::string>{"Drill", "Welds"}));
        EXPECT_EQ(d.text(G::kGroups), "Welds") << "the checked entries";
        typeInPrompt(agent, "welds");
        agent.answerMessageBox(IDOK, "This name is already in use.\nPlease choose another name.");
        d.click(G::kAdd);
        for (const char* refused : {"", "..", "sub/x", "a\\..\\..\\b"}) {
            typeInPrompt(agent, refused);
            agent.answerMessageBox(IDOK);
            d.click(G::kAdd);
        }
        typeInPrompt(agent, "Brackets");
        d.click(G::kAdd);
        EXPECT_EQ(d.items(G::kGroups), (std::vector<std::string>{"Brackets", "Drill", "Welds"}));
        d.ok();
    });
    StartDSTVPointsDlg();
    EXPECT_EQ(agent.messageBoxes()[0].caption, "Name in use");
    EXPECT_EQ(agent.messageBoxes().size(), 5u);
    EXPECT_EQ(kxtest::readBytes(group("Brackets")), "");
    EXPECT_EQ(fs::directory_iterator(folder.str()) == fs::directory_iterator(), false);
    EXPECT_FALSE(fs::exists(libFile("b.dat")));
}

TEST_F(DstvPoints, MakeStandardChecksTheGroupAndDeletingItLeavesNoCheck)
{
    write("A", {});
    write("B", {});
    kxwin::UserAgent agent;
    agent.onDialog(G::kTemplateId, [&](DialogDriver& d) {
        EXPECT_EQ(d.text(G::kGroups), "");
        d.pick(G::kGroups, 1);
        d.click(G::kMakeStandard);
        EXPECT_EQ(d.text(G::kGroups), "B");
        EXPECT_EQ(d.selectedIndex(G::kGroups), 1);
        d.click(G::kRemove);
        EXPECT_EQ(d.items(G::kGroups), std::vector<std::string>{"A"});
        EXPECT_EQ(d.text(G::kGroups), "");
        EXPECT_EQ(d.selectedIndex(G::kGroups), 0);
        d.ok();
    });
    StartDSTVPointsDlg();
    Kx_String standard;
    DlgDstvPoints::getStandardDstvPointsFile(standard);
    EXPECT_EQ(standard, Kx_String("B.dat")) << "the setting is left as it was";
    EXPECT_FALSE(fs::exists(group("B")));
}

TEST_F(DstvPoints, EditShowsThePointsAndOkWritesTheEditsBack)
{
    write("Welds", {"P1", "P2", "P3"});
    kxwin::UserAgent agent;
    agent.onDialog(P::kTemplateId, [&](DialogDriver& d) {
        EXPECT_EQ(d.title(), "DSTV points");
        EXPECT_EQ(d.items(P::kPointList), (std::vector<std::string>{"P1", "P2", "P3"}));
        EXPECT_EQ(d.text(P::kDistance), "50.000");
        EXPECT_EQ(d.text(P::kDiameter), "16.000");
        EXPECT_EQ(d.items(P::kSideA), (std::vector<std::string>{"Top", "Bottom", "Left", "Right"}));
        EXPECT_EQ(d.items(P::kPlateA).front(), "All views");
        EXPECT_EQ(d.items(P::kPlateA).back(), "(none)");
        d.setText(P::kName, "Corner");
        d.setText(P::kDistance, "12.5");
        d.pick(P::kSideB, 3);
        // Adding with the third point selected puts the new point third and selects it.
        d.pick(P::kPointList, 2);
        typeInPrompt(agent, "New");
        d.click(P::kAddPoint);
        EXPECT_EQ(d.items(P::kPointList), (std::vector<std::string>{"Corner", "P2", "New", "P3"}));
        EXPECT_EQ(d.selectedIndex(P::kPointList), 2);
        d.click(P::kFullHole);
        d.setText(P::kDiameter, "2,5");  // a decimal comma is taken as the point
        d.ok();
    });
    agent.onDialog(G::kTemplateId, [](DialogDriver& d) {
        d.pick(G::kGroups, "Welds");
        d.click(G::kEdit);
        d.ok();
    });
    StartDSTVPointsDlg();
    const Kx_Array<Kx_DstvPointInfo> points = read("Welds");
    ASSERT_EQ(points.length(), 4);
    EXPECT_EQ(points[0].name(), Kx_String("Corner"));
    EXPECT_EQ(points[0].minDistance(), 12.5);
    EXPECT_EQ(points[0].extentSideB(), 3);
    EXPECT_EQ(points[2].name(), Kx_String("New"));
    EXPECT_TRUE(points[2].drillFullHole());
    EXPECT_EQ(points[2].holeDiameter(), 2.5);
    EXPECT_EQ(points[3].name(), Kx_String("P3"));
}

TEST_F(DstvPoints, EnablingFollowsTheOptionAndTheHoleAndTheLabelFollowsTheThicknessBox)
{
    write("G", {"P"});
    kxwin::UserAgent agent;
    agent.onDialog(P::kTemplateId, [&](DialogDriver& d) {
        EXPECT_EQ(d.checkState(P::kByExtent), BST_CHECKED);
        EXPECT_TRUE(d.isEnabled(P::kSideA));
        EXPECT_FALSE(d.isEnabled(P::kIntersectionSide));
        EXPECT_FALSE(d.isEnabled(P::kMiddle));
        EXPECT_FALSE(d.isEnabled(P::kDiameter));
        EXPECT_FALSE(d.isEnabled(P::kByThickness));
        d.click(P::kFullHole);
        EXPECT_TRUE(d.isEnabled(P::kDiameter));
        EXPECT_TRUE(d.isEnabled(P::kDiameterLabel));
        EXPECT_FALSE(d.isEnabled(P::kByThickness)) << "only with the intersection option";
        d.click(P::kByIntersection);
        EXPECT_FALSE(d.isEnabled(P::kSideA));
        EXPECT_FALSE(d.isEnabled(P::kSideB));
        EXPECT_TRUE(d.isEnabled(P::kIntersectionSide));
        EXPECT_TRUE(d.isEnabled(P::kMiddle));
        EXPECT_TRUE(d.isEnabled(P::kByThickness));
        EXPECT_EQ(d.text(P::kDiameterLabel), "Hole diameter");
        d.click(P::kByThickness);
        EXPECT_EQ(d.text(P::kDiameterLabel), "Extra on the thickness");
        d.click(P::kByExtent);
        EXPECT_FALSE(d.isEnabled(P::kByThickness));
        // Sides: the two lists always hold one side of each pair.
        EXPECT_EQ(d.selectedIndex(P::kSideA), 0);
        EXPECT_EQ(d.selectedIndex(P::kSideB), 2);
        d.pick(P::kSideB, 3);
        EXPECT_EQ(d.selectedIndex(P::kSideA), 0);
        d.pick(P::kSideB, 1);
        EXPECT_EQ(d.selectedIndex(P::kSideA), 2);
        d.pick(P::kSideA, 1);
        EXPECT_EQ(d.selectedIndex(P::kSideB), 2);
        d.ok();
    });
    agent.onDialog(G::kTemplateId, [](DialogDriver& d) {
        d.click(G::kEdit);
        d.ok();
    });
    StartDSTVPointsDlg();
    const Kx_Array<Kx_DstvPointInfo> points = read("G");
    ASSERT_EQ(points.length(), 1);
    EXPECT_TRUE(points[0].selectGeomExtent());
    EXPECT_FALSE(points[0].selectIntersGeom());
    EXPECT_EQ(points[0].extentSideA(), 1);
    EXPECT_EQ(points[0].extentSideB(), 2);
    EXPECT_TRUE(points[0].diameterByThickness());
}

TEST_F(DstvPoints, ANonNumberKeepsTheOldValueWithAMessageAndOkWaits)
{
    write("G", {"P"});
    kxwin::UserAgent agent;
    agent.onDialog(P::kTemplateId, [&](DialogDriver& d) {
        d.setText(P::kDistance, "12abc");
        agent.answerMessageBox(IDOK, "\"12abc\" is not a number; the value stays 50.000");
        d.ok();
        EXPECT_TRUE(d.isOpen());
        EXPECT_EQ(d.text(P::kDistance), "50.000");
        d.setText(P::kDistance, "1.5e1");
        d.ok();
    });
    agent.onDialog(G::kTemplateId, [](DialogDriver& d) {
        d.click(G::kEdit);
        d.ok();
    });
    kxtest::GermanLocale german;
    StartDSTVPointsDlg();
    EXPECT_EQ(read("G")[0].minDistance(), 15.0);
}

TEST_F(DstvPoints, AnUnreadableGroupIsNotOpenedAndAFailedSaveOpensTheEditsAgain)
{
    kxtest::writeBytes(group("Broken"), "point\tA\t1\n");
    write("Good", {"P"});
    kxwin::UserAgent agent;
    agent.onDialog(G::kTemplateId, [&](DialogDriver& d) {
        agent.answerMessageBox(IDOK, "The group could not be read");
        d.pick(G::kGroups, "Broken");
        d.click(G::kEdit);  // no points dialog: no script for one is needed
        d.pick(G::kGroups, "Good");
        agent.onDialog(P::kTemplateId, [](DialogDriver& p) {
            p.setText(P::kName, "Renamed");
            p.ok();
        });
        agent.answerMessageBox(IDOK, "The points could not be saved");
        agent.onDialog(P::kTemplateId, [](DialogDriver& p) {
            EXPECT_EQ(p.text(P::kName), "Renamed");
            p.ok();
        });
        {
            // The first save fails (its first file operation), the second goes through.
            kx::FailingFileOps ops(1);
            kx::ScopedFileOps scope(ops);
            d.click(G::kEdit);
        }
        d.ok();
    });
    StartDSTVPointsDlg();
    EXPECT_EQ(kxtest::readBytes(group("Broken")), "point\tA\t1\n");
    EXPECT_EQ(read("Good")[0].name(), Kx_String("Renamed"));
    EXPECT_EQ(agent.unusedScripts(), 0);
    kxhost::takeCommandLineText();
}

TEST_F(DstvPoints, RemovingWithoutASelectionReportsTheIndexAndAnEmptyGroupCanGetPoints)
{
    write("Empty", {});
    kxwin::UserAgent agent;
    agent.onDialog(P::kTemplateId, [&](DialogDriver& d) {
        EXPECT_TRUE(d.items(P::kPointList).empty());
        EXPECT_FALSE(d.isEnabled(P::kName));
        kxhost::takeCommandLineText();
        SendMessage(d.dialog(), WM_COMMAND, MAKEWPARAM(P::kRemovePoint, BN_CLICKED), 0);
        EXPECT_EQ(kxhost::takeCommandLineText(), "*Error* Invalid index passed to remove.\n");
        typeInPrompt(agent, "First");
        d.click(P::kAddPoint);
        EXPECT_EQ(d.items(P::kPointList), std::vector<std::string>{"First"});
        EXPECT_TRUE(d.isEnabled(P::kName));
        d.ok();
    });
    agent.onDialog(G::kTemplateId, [](DialogDriver& d) {
        d.click(G::kEdit);
        d.ok();
    });
    StartDSTVPointsDlg();
    EXPECT_EQ(read("Empty").length(), 1);
}

} // namespace
