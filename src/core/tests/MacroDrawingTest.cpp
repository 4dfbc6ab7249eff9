// The drawing behind the macro dialogs: updates change exactly what they name, impossible values are
// corrected, clashes are found where the parts really collide, views are kept per module, and the
// constraint model changes as the editor asks.
#include "core/ClashCheck.h"
#include "core/ConstraintFunctions.h"
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "core/TextTables.h"

#include <gtest/gtest.h>

namespace {

using kxcore::MacroModel;
using kxcore::PlacedMacro;

class MacroDrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
        drawing().clear();
        drawing().clearRequests();
        MacroModel::instance().reset();
        MacroModel::instance().setRefusal(nullptr);
        clashSetStatus(true);
        ids = MacroModel::instance().placeSampleFrames(drawing());
        ASSERT_EQ(ids.size(), 2u);
        macro = MacroModel::instance().find(ids[0])->data;
    }
    void TearDown() override
    {
        MacroModel::instance().setRefusal(nullptr);
        drawing().setPickChooser(nullptr);
    }

    static kxhost::SimulatedDrawing& drawing() { return kxhost::activeDrawing(); }

    const kxhost::DrawingObject& part(const char* role, int macroIndex = 0)
    {
        for (const auto& p : MacroModel::instance().find(ids[macroIndex])->parts)
            if (p.role == role)
                return *drawing().object(p.id);
        throw std::runtime_error(role);
    }

    MacroCell& cell(const char* module, const char* name)
    {
        MacroTabData* tab = macro.tabOfModule(module);
        int i = 0;
        EXPECT_TRUE(tab && tab->findCellWithName(name, i)) << name;
        return tab->cells[i];
    }

    // What the page does after an edit: differences against the copy, then UpdateModule.
    bool commit(const char* module, const MacroTabData& before)
    {
        Kx_StringArray names;
        Kx_Array<int> a, b;
        macro.tabOfModule(module)->differences(before, names, a, b);
        return UpdateModule(module, macro, a, b);
    }

    std::vector<AcDbObjectId> ids;
    MacroData macro;
};

constexpr const char* kEnd = "End plates\\end plate";

TEST_F(MacroDrawingTest, APlateWidthUpdateChangesThatPlateOnlyAndIsLoggedOnce)
{
    const auto others = [&] {
        std::vector<kxhost::DrawingOutline> all;
        for (const auto& o : drawing().objects())
            if (o.name != "End plate P1")
                all.insert(all.end(), o.outline.begin(), o.outline.end());
        return all;
    };
    const auto before = others();
    const kxhost::DrawingObject plateBefore = part("end plate");
    drawing().setView({});
    ASSERT_TRUE(macro.changeView(kEnd, kViewSide)); // seen face on: its width shows
    const kxhost::DrawingObject faceBefore = part("end plate");
    const MacroTabData copy = *macro.tabOfModule(kEnd);
    cell(kEnd, "plateWidth").value = "220.00";
    const size_t logged = drawing().requestCount();
    EXPECT_TRUE(commit(kEnd, copy));
    EXPECT_EQ(drawing().requestCount(), logged + 1);
    EXPECT_EQ(drawing().requests().back().what, "UpdateModule End plates\\end plate: plateWidth 200.00 -> 220.00");

    double lo = 1e9, hi = -1e9, loBefore = 1e9, hiBefore = -1e9;
    for (const auto& q : part("end plate").outline[0])
        lo = std::min(lo, q.x), hi = std::max(hi, q.x);
    for (const auto& q : faceBefore.outline[0])
        loBefore = std::min(loBefore, q.x), hiBefore = std::max(hiBefore, q.x);
    EXPECT_DOUBLE_EQ(hi - lo, 220);
    EXPECT_DOUBLE_EQ(hiBefore - loBefore, 200);
    EXPECT_EQ(part("end plate").property("Size"), "220 x 300");
    ASSERT_TRUE(macro.changeView(kEnd, kViewFront));
    EXPECT_EQ(others(), before) << "nothing but the plate moved";
    EXPECT_EQ(part("end plate").outline, plateBefore.outline) << "seen edge on, a wider plate looks the same";

    // The same values again: nothing to do, nothing changed.
    const MacroTabData same = *macro.tabOfModule(kEnd);
    EXPECT_FALSE(commit(kEnd, same));
    EXPECT_EQ(part("end plate", 1).property("Size"), "220 x 300") << "the other macro has its own plate";
}

TEST_F(MacroDrawingTest, ValuesTheDrawingCannotTakeAreCorrectedInTheDialogsData)
{
    MacroTabData copy = *macro.tabOfModule(kEnd);
    cell(kEnd, "plateWidth").value = "100"; // the bolts stand 120 apart
    EXPECT_TRUE(commit(kEnd, copy));
    EXPECT_EQ(cell(kEnd, "plateWidth").value, Kx_String("175.00")) << "120 + 2 x 1.2 x 22, up to 5 mm";
    EXPECT_NE(drawing().requests().back().what.find("plateWidth 200.00 -> 100; corrected plateWidth 100 -> 175.00: narrower than its bolt pattern"),
              std::string::npos)
        << drawing().requests().back().what << " / " << drawing().requests().back().answer;

    copy = *macro.tabOfModule(kEnd);
    cell(kEnd, "plateThickness").value = "thick";
    EXPECT_FALSE(commit(kEnd, copy));
    EXPECT_EQ(cell(kEnd, "plateThickness").value, Kx_String("15.00")) << "back to what the drawing has";
    copy = *macro.tabOfModule(kEnd);
    cell(kEnd, "plateHeight").value = "0";
    EXPECT_FALSE(commit(kEnd, copy));
    EXPECT_EQ(cell(kEnd, "plateHeight").value, Kx_String("300.00"));

    MacroTabData* bolts = macro.tabOfModule("Bolts");
    copy = *bolts;
    bolts->bolt.strings[1] = "M33";
    EXPECT_FALSE(UpdateModule("Bolts", macro, Kx_Array<int>{kMacroItemBolt}, Kx_Array<int>{0}));
    EXPECT_EQ(bolts->bolt.diameter(), Kx_String("M20"));
    bolts->bolt.strings[1] = "M24";
    EXPECT_TRUE(UpdateModule("Bolts", macro, Kx_Array<int>{kMacroItemBolt}, Kx_Array<int>{0}));
    EXPECT_EQ(part("bolts").name, "Bolts M24 x 4");
}

TEST_F(MacroDrawingTest, AnOverlapIsFoundAndACleanFrameHasNone)
{
    EXPECT_TRUE(kxcore::findClashes({MacroModel::instance().find(ids[0])}, {MacroModel::instance().find(ids[0])})
                    .empty());
    ASSERT_TRUE(clashcheck(-1, macro.moduleIds));
    EXPECT_EQ(drawing().requests().back().answer, "no clash");

    // A plate that holds the bolt centres but cuts into the holes: made, and flagged.
    MacroTabData copy = *macro.tabOfModule(kEnd);
    cell(kEnd, "plateWidth").value = "130";
    EXPECT_TRUE(commit(kEnd, copy));
    EXPECT_EQ(cell(kEnd, "plateWidth").value, Kx_String("130"));
    ASSERT_TRUE(clashcheck(-1, macro.moduleIds));
    auto clashes = kxcore::lastClashes(-1);
    ASSERT_EQ(clashes.size(), 1u);
    EXPECT_EQ(clashes[0].why, "a hole of Bolts M20 x 4 is not inside End plate P1");
    EXPECT_TRUE(drawing().isClashing(part("end plate").id));

    // Bolt columns so close that they run into the column's web.
    copy = *macro.tabOfModule(kEnd);
    cell(kEnd, "plateWidth").value = "200";
    commit(kEnd, copy);
    MacroTabData* bolts = macro.tabOfModule("Bolts");
    copy = *bolts;
    bolts->patterns[1].value = "2x15";
    EXPECT_TRUE(commit("Bolts", copy));
    ASSERT_TRUE(clashcheck(-1, macro.moduleIds));
    clashes = kxcore::lastClashes(-1);
    ASSERT_EQ(clashes.size(), 2u) << "the two bolts of a row touch, and they hit the web";
    EXPECT_TRUE(drawing().isClashing(part("column C2").id));

    // Switched off: nothing is checked and the marks go.
    clashSetStatus(false);
    bool on = true;
    clashGetStatus(on);
    EXPECT_FALSE(on);
    EXPECT_FALSE(clashcheck(-1, macro.moduleIds));
    EXPECT_TRUE(drawing().clashMarks().empty());
}

TEST_F(MacroDrawingTest, RefusedCallsLeaveTheDrawingAsItWas)
{
    const std::vector<kxhost::DrawingObject> before = drawing().objects();
    MacroModel::instance().setRefusal([](std::string_view) { return true; });
    const MacroTabData copy = *macro.tabOfModule(kEnd);
    cell(kEnd, "plateWidth").value = "260";
    EXPECT_FALSE(commit(kEnd, copy));
    EXPECT_FALSE(macro.changeView(kEnd, kViewTop));
    EXPECT_FALSE(clashcheck(-1, macro.moduleIds));
    EXPECT_FALSE(macro.reApply());
    EXPECT_EQ(drawing().objects().size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(drawing().objects()[i].outline, before[i].outline);
    EXPECT_EQ(drawing().requests().back().answer, "refused");
}

TEST_F(MacroDrawingTest, ViewDirectionsAreRememberedPerModuleAndZoomToTheModule)
{
    ASSERT_TRUE(macro.changeView(kEnd, kViewSide));
    ASSERT_TRUE(macro.changeView("Base plates\\base plate", kViewTop));
    EXPECT_EQ(MacroModel::instance().viewOf(kEnd), kViewSide);
    EXPECT_EQ(MacroModel::instance().viewOf("Base plates\\base plate"), kViewTop);
    EXPECT_EQ(MacroModel::instance().viewOf("Splices\\bolted splice"), kViewFront);
    const kxhost::DrawingViewState& view = drawing().view();
    EXPECT_EQ(view.caption, "Base plates\\base plate: top");
    ASSERT_TRUE(view.zoomed);
    // The window holds the base plate (400 x 400 around the column's axis at x = 95) and not the beam.
    EXPECT_LT(view.low.x, 95 - 200);
    EXPECT_GT(view.high.x, 95 + 200);
    EXPECT_LT(view.high.x, 3000);
    // Seen from above, the anchors are round.
    EXPECT_EQ(part("anchors").outline.front().size(), 16u);
}

TEST_F(MacroDrawingTest, TwoSelectedMacrosShowWhatDiffersAndAnEditReachesBoth)
{
    drawing().setPickChooser([&](const kxhost::SimulatedDrawing&, const kxhost::PickRequest&) {
        return std::optional<kxhost::PickAnswer>(kxhost::PickAnswer{ids[1], {}});
    });
    ASSERT_TRUE(SelectOtherMacros(&macro));
    EXPECT_EQ(macro.numberOfMacros, 2);
    EXPECT_EQ(macro.moduleIds.length(), 2);
    const Kx_String varies = dialString(695);
    EXPECT_EQ(cell(kEnd, "plateWidth").value, varies);
    EXPECT_EQ(cell(kEnd, "plateThickness").value, varies);
    EXPECT_EQ(cell(kEnd, "plateHeight").value, Kx_String("300.00"));
    EXPECT_FALSE(SelectOtherMacros(&macro)) << "the same macro again changes nothing";

    const MacroTabData copy = *macro.tabOfModule(kEnd);
    cell(kEnd, "plateHeight").value = "320.00";
    EXPECT_TRUE(commit(kEnd, copy));
    EXPECT_EQ(part("end plate", 0).property("Size"), "200 x 320");
    EXPECT_EQ(part("end plate", 1).property("Size"), "220 x 320") << "its own width stays";
}

TEST_F(MacroDrawingTest, BoltCataloguesAndSectionsAreReal)
{
    Kx_StringArray list;
    ASSERT_TRUE(GetAssemblies(list));
    EXPECT_TRUE(list.contains("10.9 HV"));
    ASSERT_TRUE(GetDiameters("10.9 HV", list));
    EXPECT_EQ(list.first(), Kx_String("M12"));
    EXPECT_EQ(list.last(), Kx_String("M36"));
    EXPECT_FALSE(GetDiameters("no such assembly", list));
    macro.tabOfModule("Bolts")->bolt.strings[1] = "M33";
    ASSERT_TRUE(GetMergedDiameters(&macro, "Bolts", list));
    EXPECT_EQ(list.last(), Kx_String("M33")) << "the bolt's own diameter is offered even when unusual";

    const auto hea = kxcore::sectionSize("HEA200");
    ASSERT_TRUE(hea);
    EXPECT_EQ(hea->h, 190);
    EXPECT_EQ(hea->b, 200);
    EXPECT_EQ(hea->tf, 10);
    EXPECT_EQ(hea->tw, 6.5);
    EXPECT_TRUE(kxcore::sectionSize("HE 200 A"));
    EXPECT_FALSE(kxcore::sectionSize("HEA201"));
    EXPECT_EQ(kxcore::parsePattern("3x70")->gaps, 3);
    EXPECT_FALSE(kxcore::parsePattern("3x"));
    EXPECT_FALSE(kxcore::parsePattern("x70"));
    EXPECT_FALSE(kxcore::parsePattern("3x-70"));
}

TEST_F(MacroDrawingTest, ABlockSwapChangesTheAnchorsAndAPropertyFileReachesTheDrawing)
{
    ASSERT_TRUE(swapBlockRefs(&macro, "Base plates\\base plate", "Blocks\\Anchors\\anchor M30.dwg"));
    EXPECT_EQ(macro.tabOfModule("Base plates\\base plate")->block.blockName, Kx_String("anchor M30"));
    EXPECT_EQ(part("anchors").name, "Anchors M30 x 4");
    EXPECT_FALSE(swapBlockRefs(&macro, "Base plates\\base plate", "..\\..\\etc\\passwd"));
    EXPECT_FALSE(swapBlockRefs(&macro, "Base plates\\base plate", "Blocks\\Anchors\\anchor M99.dwg"));

    const MacroData old = macro;
    int errors = -1;
    ASSERT_TRUE(macro.readFromFile(Kx_String(KX_SOURCE_LIBRARY_DIR) + "Macro Properties/Heavy end plate.kxp", errors));
    Kx_StringArray names;
    Kx_Array<int> a, b;
    macro.differences(old, names, a, b);
    removeAll(a, kMacroStructureChanged);
    removeAll(b, kMacroStructureChanged);
    EXPECT_TRUE(setAllToMacro(macro, a, b));
    EXPECT_EQ(part("end plate").property("Size"), "240 x 400");
    EXPECT_EQ(part("bolts").name, "Bolts M24 x 6") << "three rows of two";
}

TEST_F(MacroDrawingTest, TheConstraintModelChangesAsTheEditorAsks)
{
    EditConstrData data = MacroModel::instance().find(ids[0])->constraints;
    data.loadCurrentModule();
    ASSERT_EQ(data.moduleNames.length(), 3);

    EXPECT_FALSE(RenameModule(data, "bolts")) << "another module's name, in another case";
    EXPECT_FALSE(RenameModule(data, "  "));
    EXPECT_TRUE(RenameModule(data, "Plate"));
    EXPECT_EQ(data.moduleNames[0], Kx_String("Plate"));

    bool inUse = false;
    VarNameInUse(data, "GAUGE", inUse);
    EXPECT_TRUE(inUse) << "a variable of another module";
    VarNameInUse(data, "newName", inUse);
    EXPECT_FALSE(inUse);

    ASSERT_TRUE(SortConstraints(data, 2, 3));
    EXPECT_EQ(data.constraints[0].texts[1], Kx_String("Angle"));
    const int count = data.constraints.length();
    ASSERT_TRUE(DeleteConstraint(data, 0));
    EXPECT_EQ(data.constraints.length(), count - 1);
    EXPECT_EQ(data.findModule("Plate")->constraints.length(), count - 1) << "the model has it too";

    // A distance between two picked objects gets a constraint with a variable.
    std::vector<AcDbObjectId> picks = {part("end plate").id, part("beam B1").id};
    size_t next = 0;
    drawing().setPickChooser([&](const kxhost::SimulatedDrawing&, const kxhost::PickRequest&) {
        return std::optional<kxhost::PickAnswer>(kxhost::PickAnswer{picks[next++ % 2], {}});
    });
    ASSERT_TRUE(StartMacroCommand(data, 7));
    EXPECT_EQ(data.constraints.last().texts[1], Kx_String("Distance"));
    EXPECT_EQ(data.constraints.last().texts[2], Kx_String("End plate P1"));
    EXPECT_TRUE(data.constraints.last().hasVariable());
    drawing().setPickChooser(nullptr);
    EXPECT_FALSE(StartMacroCommand(data, 7)) << "a cancelled pick changes nothing";

    ASSERT_TRUE(RemoveModule(data, "Beam"));
    EXPECT_EQ(data.currentModule, Kx_String("Bolts")) << "the last module removed: the one before";
    ASSERT_TRUE(RemoveModule(data, "Plate"));
    EXPECT_FALSE(RemoveModule(data, "Bolts")) << "the last module stays";
    ASSERT_TRUE(StartMacroCommand(data, 11));
    EXPECT_EQ(data.currentModule, Kx_String("Module 2"));

    ASSERT_TRUE(HighlightConstraint(data, -1) == false);
    data.currentModule = "Bolts";
    data.loadCurrentModule();
    ASSERT_TRUE(GetGeomFlexibility(data));
    EXPECT_FALSE(UpdateGeomFlexibility(data, 0, 0, 4));
    ASSERT_TRUE(UpdateGeomFlexibility(data, 0, 0, 1));
    EXPECT_EQ(data.findModule("Bolts")->geometry[0].flexibility, 1);

    MacroSettingsData settings;
    ASSERT_TRUE(GetMacroSettings(ids[0], settings));
    settings.maxPathDistance = "99.00";
    ASSERT_TRUE(SetMacroSettings(ids[0], settings));
    MacroSettingsData again;
    GetMacroSettings(ids[0], again);
    EXPECT_EQ(again.maxPathDistance, Kx_String("99.00"));
    EXPECT_FALSE(GetMacroSettings(AcDbObjectId(999999), again));
}

} // namespace

TEST_F(MacroDrawingTest, ConstraintChangesAreKeptByThePlacedMacro)
{
    EditConstrData data = MacroModel::instance().find(ids[0])->constraints;
    data.loadCurrentModule();
    data.constraints[2].text2 = "65";
    ASSERT_TRUE(UpdateConstraint(data, 2));
    data.equations = Kx_StringArray({"a = 1"});
    ASSERT_TRUE(UpdateVarsEqs(data));
    const EditConstrData& kept = MacroModel::instance().find(ids[0])->constraints;
    EXPECT_EQ(kept.modules, data.modules);
    EXPECT_EQ(kept.findModule(data.currentModule)->equations, Kx_StringArray({"a = 1"}));

    // Refused: the placed macro keeps what it had.
    MacroModel::instance().setRefusal([](std::string_view call) { return call == "DeleteConstraint"; });
    EXPECT_FALSE(DeleteConstraint(data, 0));
    EXPECT_EQ(kept.findModule(data.currentModule)->constraints.length(), data.constraints.length());
    // Data of no placed macro changes nothing in the drawing's macros.
    EditConstrData loose = data;
    loose.macroId = AcDbObjectId();
    MacroModel::instance().setRefusal(nullptr);
    ASSERT_TRUE(DeleteConstraint(loose, 0));
    EXPECT_EQ(kept.findModule(data.currentModule)->constraints.length(), data.constraints.length());
}
