// The macro records as the dialogs use them: what differences() reports, merged profile groups,
// flexible/fixed buttons, property files, and the rules of the cut and filter records.
#include "core/MacroData.h"

#include "core/Kx_Settings.h"
#include "core/MacroFile.h"
#include "core/MacroSubDialogData.h"
#include "core/TextTables.h"
#include "platform/host/CommandLine.h"
#include "FileTestSupport.h"

#include <gtest/gtest.h>

namespace {

MacroDefinition sample(const char* name = "End plate connection")
{
    Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
    MacroDefinition def;
    std::string error;
    const auto path = kxcore::findMacroDefinition(name);
    EXPECT_TRUE(path.has_value()) << name;
    EXPECT_TRUE(path && kxcore::readMacroDefinitionFile(*path, def, error)) << error;
    return def;
}

struct Diff {
    Kx_StringArray names;
    Kx_Array<int> a;
    Kx_Array<int> b;
};

Diff tabDiff(const MacroTabData& now, const MacroTabData& old)
{
    Diff d;
    now.differences(old, d.names, d.a, d.b);
    return d;
}

TEST(MacroDifferences, ACopyReportsNothingEvenWithOtherControlIds)
{
    const MacroData macro = sample().macro;
    for (const MacroTabData& tab : macro.tabs) {
        MacroTabData shown = tab;
        // A page writes control ids while it builds; that is not a change of the macro.
        for (int i = 0; i < shown.cells.length(); ++i)
            shown.cells[i].ctrlId = -(i + 1);
        shown.bolt.ids = {33001, 33002, 0, 0, 0};
        for (auto& d : shown.arrays)
            for (auto& e : d.entries)
                e.ctrlId = 33010;
        const Diff d = tabDiff(shown, tab);
        EXPECT_TRUE(d.a.isEmpty()) << tab.moduleName.str();
        EXPECT_TRUE(d.names.isEmpty());
    }
    Kx_StringArray names;
    Kx_Array<int> a, b;
    EXPECT_FALSE(macro.differences(macro, names, a, b));
}

TEST(MacroDifferences, ReportExactlyTheChangedItemsWithKindAndIndex)
{
    const MacroTabData old = sample().macro.tabs[0];
    MacroTabData tab = old;
    int width = 0, cut = 0;
    ASSERT_TRUE(tab.findCellWithName("plateWidth", width));
    ASSERT_TRUE(tab.findCutWithName("beamCut", cut));
    tab.cells[width].value = "220.00";
    tab.cuts[cut].value = 4;
    tab.bolt.strings[1] = "M24";
    const Diff d = tabDiff(tab, old);
    ASSERT_EQ(d.a.length(), 3);
    EXPECT_EQ(d.names[0], Kx_String("plateWidth"));
    EXPECT_EQ(d.a[0], kMacroItemCell);
    EXPECT_EQ(d.b[0], width);
    EXPECT_EQ(d.names[1], Kx_String("bolt"));
    EXPECT_EQ(d.a[1], kMacroItemBolt);
    EXPECT_EQ(d.names[2], Kx_String("beamCut"));
    EXPECT_EQ(d.a[2], kMacroItemCut);
    EXPECT_EQ(d.b[2], cut);

    // One more cell: the list changed its length, reported in both lists at the same place.
    MacroTabData grown = old;
    MacroCell extra;
    extra.name = "extra";
    grown.cells.append(extra);
    const Diff g = tabDiff(grown, old);
    ASSERT_EQ(g.a.length(), 1);
    EXPECT_EQ(g.a[0], kMacroStructureChanged);
    EXPECT_EQ(g.b[0], kMacroStructureChanged);
}

TEST(MacroDifferences, TheWholeMacroGroupsTheChangesByTab)
{
    const MacroData old = sample().macro;
    MacroData macro = old;
    macro.tabs[1].bolt.strings[0] = "10.9 HV";
    macro.tabs[4].arrays[0].value = "6";
    Kx_StringArray names;
    Kx_Array<int> a, b;
    ASSERT_TRUE(macro.differences(old, names, a, b));
    ASSERT_EQ(a.length(), 4);
    EXPECT_EQ(a[0], kMacroItemTab);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(names[0], Kx_String("Bolts"));
    EXPECT_EQ(a[1], kMacroItemBolt);
    EXPECT_EQ(a[2], kMacroItemTab);
    EXPECT_EQ(b[2], 4);
    EXPECT_EQ(a[3], kMacroItemArray);
    EXPECT_EQ(names[3], Kx_String("stiffeners"));
    // After removing the structure marker from both lists they stay parallel.
    macro.tabs.removeAt(5);
    ASSERT_TRUE(macro.differences(old, names, a, b));
    EXPECT_EQ(a.length(), b.length());
    EXPECT_EQ(a[0], kMacroStructureChanged);
}

TEST(MergedProfileGroups, VariesOnlyWhereTheProfilesDifferAndIsNeverWrittenBack)
{
    MacroTabData tab = sample().macro.tabs[2];
    const Kx_String varies = dialString(695);
    MacroProfData merged;
    ASSERT_TRUE(tab.getMergedPropsOfGroup("columns", merged));
    EXPECT_EQ(merged.profileName, varies); // HEA200 and HEA240
    EXPECT_EQ(merged.angle, varies);       // 0 and 90
    EXPECT_EQ(merged.sectionClass, Kx_String("HEA"));
    EXPECT_EQ(merged.name3, Kx_String("S355"));
    EXPECT_EQ(merged.offsetType, 3);
    EXPECT_TRUE(merged.objectId.isNull());

    // The user changes the material only: the sections and angles stay each profile's own.
    merged.name3 = "S275";
    ASSERT_TRUE(tab.setMergedPropsOfGroup("columns", merged));
    EXPECT_EQ(tab.profiles[0].profileName, Kx_String("HEA200"));
    EXPECT_EQ(tab.profiles[1].profileName, Kx_String("HEA240"));
    EXPECT_EQ(tab.profiles[1].angle, Kx_String("90"));
    EXPECT_EQ(tab.profiles[0].name3, Kx_String("S275"));
    EXPECT_EQ(tab.profiles[1].name3, Kx_String("S275"));
    EXPECT_EQ(tab.profiles[2].name3, Kx_String("S355")) << "another group is left alone";
    // Writing the same merged record again changes nothing; neither does an empty text.
    EXPECT_FALSE(tab.setMergedPropsOfGroup("columns", merged));
    merged.profileName = "";
    EXPECT_FALSE(tab.setMergedPropsOfGroup("columns", merged));
    EXPECT_FALSE(tab.getMergedPropsOfGroup("no such group", merged));

    Kx_StringArray groups;
    tab.getProfGroups(groups);
    EXPECT_EQ(groups, Kx_StringArray({"columns", "beam"}));
}

TEST(FlexFixButtons, AClickChangesTheStateAndOneButtonStaysFlexible)
{
    MacroTabData tab = sample().macro.tabs[0];
    bool fixed = false;
    ASSERT_TRUE(tab.isFlexFixBtnFixed("plateDims", "plateHeight", fixed));
    EXPECT_TRUE(fixed);
    EXPECT_FALSE(tab.flexFixBtnClicked("plateDims", "plateHeight", true)) << "already fixed";
    EXPECT_FALSE(tab.flexFixBtnClicked("plateDims", "nothing", true));
    // Fixing the width too would leave the plate nothing to adapt: the height is freed.
    EXPECT_TRUE(tab.flexFixBtnClicked("plateDims", "plateWidth", true));
    ASSERT_TRUE(tab.isFlexFixBtnFixed("plateDims", "plateWidth", fixed));
    EXPECT_TRUE(fixed);
    ASSERT_TRUE(tab.isFlexFixBtnFixed("plateDims", "plateHeight", fixed));
    EXPECT_FALSE(fixed);
    EXPECT_TRUE(tab.hasBtnFlexFix("plateWidth"));
    EXPECT_FALSE(tab.hasBtnFlexFix("gap"));
}

TEST(MacroItems, PatternCountsAndFindersFollowTheirConventions)
{
    MacroPatternProps p;
    EXPECT_EQ(p.getCount(), -1);
    p.count = "3";
    EXPECT_EQ(p.getCount(), 3);
    p.count = dialString(695);
    EXPECT_EQ(p.getCount(), 0) << "differing counts still have a count field";

    MacroTabData tab = sample().macro.tabs[4];
    int i = -5;
    EXPECT_FALSE(tab.findArrayWithBtnId(0, i)) << "id 0 means not shown and never matches";
    tab.arrays[0].btnId = -3;
    EXPECT_TRUE(tab.findArrayWithBtnId(-3, i));
    EXPECT_EQ(i, 0);
    tab.profiles[0].ids[4] = 33017;
    EXPECT_TRUE(tab.findProfDataWithCtrlResId(33017, i));
    tab.removeAllDlgReferences();
    EXPECT_FALSE(tab.findArrayWithBtnId(-3, i));
    EXPECT_FALSE(tab.findProfDataWithCtrlResId(33017, i));

    EntryProps entry;
    EXPECT_TRUE(tab.arrays[0].getEntry(2, entry));
    EXPECT_EQ(entry.value, Kx_String("120"));
    EXPECT_FALSE(tab.arrays[0].getEntry(3, entry));
    EXPECT_FALSE(tab.arrays[0].setEntryAction(-1, kEntryRemove));

    MacroData macro = sample().macro;
    Kx_StringArray dims;
    ASSERT_TRUE(DynArrayData::getValidDimNames(macro, "Base plates\\base plate", kArrayDimSecond, dims));
    EXPECT_EQ(dims, Kx_StringArray({"", "plateLength", "plateWidth", "plateThickness", "groutThickness"}))
        << "editable number cells only, the computed foundation level is not a dimension";
    int t = -1;
    EXPECT_TRUE(macro.findTab("base plates\\BASE PLATE", t));
    EXPECT_EQ(t, 4);
    EXPECT_TRUE(macro.findTab("Splice", t)) << "a caption finds its tab too";
    EXPECT_EQ(t, 3);
}

TEST(OffsetTypes, DialogIndexAndProfileTypeMeetInTheMiddle)
{
    Kx_StringArray names;
    getOffsetTypeStrings(true, names);
    EXPECT_EQ(names.length(), 14);
    EXPECT_EQ(names.last(), dialString(695));
    EXPECT_LT(getProfOffsetType(0), 0) << "the first entry switches the offset off";
    MacroProfData p;
    p.offsetOn = 1;
    p.offsetType = getProfOffsetType(9);
    EXPECT_EQ(getDlgOffsetType(p), 9);
    p.offsetOn = 0;
    EXPECT_EQ(getDlgOffsetType(p), 0);
    p.offsetOn = 2;
    EXPECT_EQ(getDlgOffsetType(p), -1);
}

TEST(MacroPropertyFiles, RoundTripAndUnusableValuesAreCountedNotApplied)
{
    kxtest::TempFolder dir;
    MacroData macro = sample().macro;
    macro.tabs[0].cells[0].value = "231.50";
    macro.tabs[0].cuts[0].value = 3;
    ASSERT_TRUE(macro.writeToFile(dir.file("p.kxp")));

    MacroData other = sample().macro;
    int errors = -1;
    ASSERT_TRUE(other.readFromFile(dir.file("p.kxp"), errors));
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(other.tabs[0].cells[0].value, Kx_String("231.50"));
    EXPECT_EQ(other.tabs[0].cuts[0].value, 3);
    Kx_StringArray names;
    Kx_Array<int> a, b;
    EXPECT_FALSE(other.differences(macro, names, a, b)) << "everything written came back";

    // A number cell that gets a word, a read-only cell, a module the macro lacks, "varies", a cut
    // mode out of range: five errors; the one good value applies.
    kxtest::writeBytes(dir.file("bad.kxp"),
                       "text \"End plates\\\\end plate|cell:plateWidth\" = \"wide\"\n"
                       "text \"End plates\\\\end plate|cell:boltGroupHeight\" = \"10\"\n"
                       "text \"Nowhere|cell:plateWidth\" = \"10\"\n"
                       "text \"General|cell:connectionName\" = \"" + dialString(695).str() + "\"\n"
                       "int \"End plates\\\\end plate|cut:beamCut\" = 9\n"
                       "text \"End plates\\\\end plate|cell:plateHeight\" = \"333.00\"\n");
    MacroData target = sample().macro;
    ASSERT_TRUE(target.readFromFile(dir.file("bad.kxp"), errors));
    EXPECT_EQ(errors, 5);
    EXPECT_EQ(target.tabs[0].cells[0].value, Kx_String("200.00"));
    EXPECT_EQ(target.tabs[0].cells[1].value, Kx_String("333.00"));

    // A damaged file applies nothing and says where.
    kxtest::writeBytes(dir.file("damaged.kxp"), "text \"End plates\\\\end plate|cell:plateHeight\" = \"1\"\n"
                                                "text broken = \"no end\n");
    MacroData untouched = sample().macro;
    kxhost::takeCommandLineText();
    EXPECT_FALSE(untouched.readFromFile(dir.file("damaged.kxp"), errors));
    EXPECT_NE(kxhost::takeCommandLineText().find("line 2"), std::string::npos);
    EXPECT_EQ(untouched, sample().macro);
}

TEST(MacroPropertyFiles, TheLibraryFilesAreListedWithTheirDescriptions)
{
    MacroData macro = sample().macro;
    Kx_String folder, file;
    Kx_StringArray names, descriptions;
    ASSERT_TRUE(macro.getPropFiles(folder, file, names, descriptions));
    EXPECT_EQ(file, Kx_String("End plate connection.kxp"));
    ASSERT_EQ(names.length(), 2);
    EXPECT_EQ(names[0], Kx_String("Heavy end plate.kxp"));
    EXPECT_TRUE(descriptions[0].startsWith("Heavy end plate: 25 mm"));
    int errors = -1;
    ASSERT_TRUE(macro.readFromFile(folder + names[0], errors));
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(macro.tabs[1].bolt.strings[1], Kx_String("M24"));

    Kx_String reason;
    macro.numberOfMacros = 2;
    EXPECT_FALSE(macro.propListAllowed(reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST(MacroCuts, NamesAreCheckedAsTheCutsDialogNeeds)
{
    DlgMacroCutsData cut;
    ASSERT_TRUE(DlgMacroCutsData::GetDefaultValues(kCutProf3Segments, cut.varNames, cut.values, cut.varFlags));
    EXPECT_EQ(cut.varNames, Kx_StringArray({"Offset1", "Offset2", "PolyOffset"}));
    EXPECT_EQ(cut.values.length(), cut.varFlags.length());
    EXPECT_FALSE(DlgMacroCutsData::GetDefaultValues(7, cut.varNames, cut.values, cut.varFlags));
    EXPECT_TRUE(cut.varNames.isEmpty());

    for (const char* bad : {"1st", "gen_offset", "GEN_x", "a b", "", "Offset"}) {
        cut.varNames = Kx_StringArray({"Offset", bad});
        EXPECT_FALSE(cut.AreVarNamesValid()) << bad;
    }
    cut.varNames = Kx_StringArray({"Offset", "edge_2", "generic"});
    EXPECT_TRUE(cut.AreVarNamesValid());

    cut.owner.modules = Kx_StringArray({"End plate", "Splice"});
    cut.owner.cutNames.append(Kx_StringArray({"beamCut"}));
    bool clash = false;
    EXPECT_TRUE(cut.CutNameInUse({}, "End plate", "BEAMCUT", clash));
    EXPECT_TRUE(clash);
    EXPECT_TRUE(cut.CutNameInUse({}, "Splice", "beamCut", clash)) << "a module without a cut list has none";
    EXPECT_FALSE(clash);
    EXPECT_FALSE(cut.CutNameInUse({}, "Unknown", "x", clash));
}

TEST(MacroFilter, SwitchingAModuleOrPropertyOffHidesTheMacrosThatHaveIt)
{
    Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
    Kx_MacroPropsFilter filter;
    const Kx_StringArray files = filter.getAllDwgFiles();
    ASSERT_EQ(files.length(), 2);
    Kx_Array<bool> enabled{true};
    filter.initialize(files, enabled, 0, 0);
    Kx_StringArray shown;
    filter.getFilteredMacros(shown);
    EXPECT_EQ(shown.length(), 2) << "a missing enabled flag reads as enabled";

    Kx_StringArray rows;
    Kx_Array<Kx_StringArray> values;
    Kx_Array<Kx_Array<bool>> states;
    filter.getMergedProperties(rows, values, states);
    ASSERT_EQ(rows.length(), 6) << "modules appear once although both macros have them";
    EXPECT_EQ(rows[0], Kx_String("End plate"));
    EXPECT_EQ(values[0], Kx_StringArray({"bolted", "welded"}));
    EXPECT_EQ(states[0].length(), 3);

    EXPECT_TRUE(filter.setModulePropStatus("Base plate", "stiffened", false));
    filter.getFilteredMacros(shown);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(filter.setModulePropStatus("Base plate", "stiffened", true));
    EXPECT_FALSE(filter.setModulePropStatus("Base plate", "stiffened", true)) << "no change";
    Kx_Array<bool> onlyFirst{true, false};
    filter.initialize(files, onlyFirst, 0, 0);
    filter.getFilteredMacros(shown);
    EXPECT_EQ(shown, Kx_StringArray({files[0]}));
}

TEST(MacroFilter, PreviewPicturesAreMadeOnceAndKept)
{
    kxtest::TempFolder dir;
    const Kx_StringArray files({"a/First.dwg", "b/Second.dwg"});
    EXPECT_EQ(CreatePreviewBMPs(64, 48, files, dir.path().string()), 2);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"First.bmp", "Second.bmp"}));
    EXPECT_EQ(CreatePreviewBMPs(64, 48, files, dir.path().string()), 0);
    EXPECT_EQ(CreatePreviewBMPs(0, 48, files, dir.path().string()), 0);
}

TEST(ConstraintModel, TheCurrentModuleMovesInAndOutOfTheModel)
{
    EditConstrData data = sample().constraints;
    data.loadCurrentModule();
    EXPECT_EQ(data.moduleNames, Kx_StringArray({"End plate", "Bolts", "Beam"}));
    EXPECT_EQ(data.constraints.length(), 10);
    data.variables[0].value = 210;
    ASSERT_TRUE(data.storeCurrentModule());
    data.currentModule = "Bolts";
    data.loadCurrentModule();
    EXPECT_EQ(data.constraints.length(), 6);
    data.currentModule = "End plate";
    data.loadCurrentModule();
    EXPECT_EQ(data.variables[0].value, 210);
    data.currentModule = "None";
    data.loadCurrentModule();
    EXPECT_TRUE(data.constraints.isEmpty());
    EXPECT_FALSE(data.storeCurrentModule());
}

} // namespace
