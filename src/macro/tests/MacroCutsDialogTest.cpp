// The macro cuts dialog as StartDlgMacroCuts runs it, driven by the scripted user: what it shows for
// new and existing cuts, what OK refuses, what goes back, and the owner picked in the drawing.
#include "macro/MacroSubLaunchers.h"
#include "macro/ZnDlgMacroCuts.h"
#include "macro/tests/MacroSubDialogTestSupport.h"

#include "core/TextTables.h"
#include "platform/grid/Spread.h"

#include <string>
#include <vector>

using kxtest::MacroSubDialogTest;
using D = ZnDlgMacroCuts;

namespace {

Kx_StringArray list(std::initializer_list<const char*> texts)
{
    Kx_StringArray out;
    for (const char* t : texts)
        out.append(t);
    return out;
}

std::string cell(HWND dialog, int col, int row)
{
    HWND grid = GetDlgItem(dialog, D::kGrid);
    const int length = SSGetDataLen(grid, col, row);
    if (length < 0)
        return "<none>";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(std::max(SSGetData(grid, col, row, text.data(), length + 1), 0)));
    return text;
}

// A new profile-by-plate cut owned by "End plate", another module "Column" with a cut "C1".
DlgMacroCutsData newCut()
{
    DlgMacroCutsData data;
    data.cutName = "C2";
    data.cutType = kCutProfVsPlate;
    data.owner.modules = list({"End plate", "Column"});
    data.owner.cutNames.append(list({"C1"}));
    data.owner.cutNames.append(list({"C1"}));
    data.moduleName = "End plate";
    data.varNames = list({"Offset", "Offset1", "Extra"});
    data.values = list({"5"});
    data.varFlags.append(true);
    return data;
}

class MacroCutsDialog : public MacroSubDialogTest {
protected:
    // Expects `count` message boxes: records each and answers OK. (Any box beyond fails the test.)
    void recordMessages(int count)
    {
        for (int i = 0; i < count; ++i) {
            agent.onMessageBox([this](const MessageBoxRequest& r) {
                messages.push_back(r.caption + "|" + r.text);
                return IDOK;
            });
        }
    }
    kxwin::UserAgent agent;
    std::vector<std::string> messages;
};

TEST_F(MacroCutsDialog, ShowsANewCutWithItsGridPaddedAndReadsEverythingBackOnOk)
{
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1080).str());
        EXPECT_EQ(d.selectedIndex(D::kType), 0);
        EXPECT_EQ(d.items(D::kType).size(), 6u);
        EXPECT_EQ(d.text(D::kName), "C2");
        EXPECT_TRUE(d.isEnabled(D::kName));
        // Names translated; the missing values show as "0", the missing flags as unchecked.
        EXPECT_EQ(cell(d.dialog(), D::kColName, 1), dialString(1099).str());
        EXPECT_EQ(cell(d.dialog(), D::kColName, 2), dialString(1104).str() + " 1");
        EXPECT_EQ(cell(d.dialog(), D::kColName, 3), "Extra");
        EXPECT_EQ(cell(d.dialog(), D::kColValue, 1), "5");
        EXPECT_EQ(cell(d.dialog(), D::kColValue, 2), "0");
        EXPECT_EQ(cell(d.dialog(), D::kColValue, 3), "0");
        EXPECT_EQ(cell(d.dialog(), D::kColFlag, 1), "1");
        EXPECT_EQ(cell(d.dialog(), D::kColFlag, 3), "0");

        // Type 1 options.
        EXPECT_TRUE(d.isVisible(D::kMode));
        EXPECT_EQ(d.text(D::kRadio1), dialString(1105).str());
        EXPECT_FALSE(d.isVisible(D::kRadio3));
        EXPECT_FALSE(d.isVisible(D::kSecondName));
        EXPECT_EQ(d.checkState(D::kThisMacro), BST_CHECKED);
        EXPECT_FALSE(d.isEnabled(D::kPick));
        EXPECT_EQ(d.items(D::kModule), (std::vector<std::string>{"End plate", "Column"}));

        // The square cut and the outline exclude each other; the third box needs the outline.
        EXPECT_FALSE(d.isEnabled(D::kCheck3));
        d.click(D::kCheck2);
        EXPECT_FALSE(d.isEnabled(D::kOptionCheck));
        EXPECT_TRUE(d.isEnabled(D::kCheck3));
        d.click(D::kCheck3).click(D::kRadio2).pick(D::kMode, 2);
        d.setText(D::kName, "Notch");
        HWND grid = d.item(D::kGrid);
        SSSetData(grid, D::kColValue, 2, "12.5");
        SSSetValue(grid, D::kColFlag, 2, "1");
        d.ok();
    });
    DlgMacroCutsData data = newCut();
    bool escaped = true;
    ASSERT_TRUE(StartDlgMacroCuts(data, escaped));
    EXPECT_FALSE(escaped);
    EXPECT_EQ(data.cutName, Kx_String("Notch"));
    EXPECT_EQ(data.values, list({"5", "12.5", "0"}));
    ASSERT_EQ(data.varFlags.length(), 3);
    EXPECT_TRUE(data.varFlags[1]);
    EXPECT_FALSE(data.varFlags[2]);
    EXPECT_EQ(data.varNames, list({"Offset", "Offset1", "Extra"}));
    EXPECT_TRUE(data.optionFlags[0]);
    EXPECT_TRUE(data.optionFlags[1]);
    EXPECT_TRUE(data.optionFlags[2]);
    EXPECT_EQ(data.optionIndex, 2);
    EXPECT_EQ(data.ownerMode, 1);
    EXPECT_EQ(data.moduleName, Kx_String("End plate"));
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(MacroCutsDialog, AnExistingCutKeepsItsNameAndOwnerAndOkWithItsValuesSucceeds)
{
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1079).str());
        EXPECT_FALSE(d.isEnabled(D::kType));
        EXPECT_FALSE(d.isEnabled(D::kName));
        for (int id : {D::kThisMacro, D::kOtherMacro, D::kPick, D::kModuleLabel, D::kModule})
            EXPECT_FALSE(d.isVisible(id)) << id;
        d.ok();
    });
    // Its own macro has the name already, the module list is empty and it belongs to another macro:
    // none of that may stop an unchanged existing cut.
    DlgMacroCutsData data = newCut();
    data.existing = true;
    data.cutName = "C1";
    data.moduleName = "Column";
    data.ownerMode = 2;
    data.owner.modules.removeAll();
    // No message box is expected: the scripted user fails the test on any.
    bool escaped = true;
    ASSERT_TRUE(StartDlgMacroCuts(data, escaped));
    EXPECT_EQ(data.cutName, Kx_String("C1"));
    EXPECT_EQ(data.moduleName, Kx_String("Column"));
    EXPECT_EQ(data.ownerMode, 2);
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(MacroCutsDialog, OkRefusesNoOwnerATakenNameAndBadVariableNamesAndCancelChangesNothing)
{
    recordMessages(2);
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        d.setText(D::kModule, "").ok();
        EXPECT_TRUE(d.isOpen());
        // Another macro that already has the name (letter case ignored).
        d.pick(D::kModule, "Column").click(D::kOtherMacro).setText(D::kName, "c1").ok();
        EXPECT_TRUE(d.isOpen());
        d.setText(D::kName, "C9").pick(D::kType, 4);  // a chamfer: Offset1, Offset2
        SSSetData(d.item(D::kGrid), D::kColValue, 1, "3");
        d.ok();
        EXPECT_FALSE(d.isOpen());
    });
    DlgMacroCutsData data = newCut();
    data.varNames = list({"gen_a"});
    bool escaped = true;
    // The chamfer's own names are valid, so the last OK goes through.
    ASSERT_TRUE(StartDlgMacroCuts(data, escaped));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], dialString(1091).str() + "|" + dialString(1090).str());
    EXPECT_EQ(messages[1], dialString(1094).str() + "|" + dialString(1092).str() + "\n" + dialString(1093).str());
    EXPECT_EQ(data.cutType, kCutChamfer);
    EXPECT_EQ(data.varNames, list({"Offset1", "Offset2"}));
    EXPECT_EQ(data.values, list({"3", "20"}));
    EXPECT_EQ(data.ownerMode, 2);
    EXPECT_EQ(data.moduleName, Kx_String("Column"));

    messages.clear();
    recordMessages(1);
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        d.ok();
        EXPECT_TRUE(d.isOpen());
        d.setText(D::kName, "Other").cancel();
    });
    DlgMacroCutsData bad = newCut();
    bad.varNames = list({"gen_a", "b"});
    const DlgMacroCutsData before = bad;
    EXPECT_FALSE(StartDlgMacroCuts(bad, escaped));
    EXPECT_FALSE(escaped);
    EXPECT_EQ(bad, before);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], dialString(1098).str() + "|" + dialString(1095).str() + "\n" + dialString(1096).str() + " "
                               + dialString(1097).str() + " \"gen_\".\n");
}

TEST_F(MacroCutsDialog, EscapeIsToldApartFromCancel)
{
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) { d.focus(D::kName).escape(); });
    DlgMacroCutsData data = newCut();
    bool escaped = false;
    EXPECT_FALSE(StartDlgMacroCuts(data, escaped));
    EXPECT_TRUE(escaped);

    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) { d.cancel(); });
    EXPECT_FALSE(StartDlgMacroCuts(data, escaped));
    EXPECT_FALSE(escaped);
    EXPECT_EQ(data, newCut());
}

TEST_F(MacroCutsDialog, ThreeSegmentsWithTheThirdChoiceHidesTheSecondNameAndClearsFlagFour)
{
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.checkState(D::kRadio2), BST_CHECKED);
        EXPECT_TRUE(d.isVisible(D::kSecondName));
        EXPECT_EQ(d.text(D::kSecondNameLabel), dialString(1114).str());
        d.click(D::kRadio1);
        EXPECT_EQ(d.text(D::kSecondNameLabel), dialString(1115).str());
        d.click(D::kRadio3);
        EXPECT_FALSE(d.isVisible(D::kSecondName));
        EXPECT_FALSE(d.isVisible(D::kMode));
        d.ok();
    });
    DlgMacroCutsData data = newCut();
    data.cutType = kCutProf3Segments;
    data.optionFlags = {false, false, false, true, true};
    data.varNames = list({"Offset1", "Offset2"});
    bool escaped = false;
    ASSERT_TRUE(StartDlgMacroCuts(data, escaped));
    EXPECT_FALSE(data.optionFlags[3]);
    EXPECT_TRUE(data.optionFlags[4]) << "flag 5 is kept when flag 4 is cleared";
}

TEST_F(MacroCutsDialog, TheOwnerIsPickedInTheDrawingWithTheDialogHidden)
{
    kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    kxhost::DrawingObject macro;
    macro.kind = "macro";
    macro.name = "Splice";
    macro.properties = {{"modules", "Beam splice;Column"}};
    const AcDbObjectId id = drawing.addObject(macro);
    HWND seenDialog = nullptr;
    bool visibleDuringPick = true;
    drawing.setPickChooser([&](const kxhost::SimulatedDrawing&, const kxhost::PickRequest& request)
                               -> std::optional<kxhost::PickAnswer> {
        EXPECT_EQ(request.objectKind, "macro");
        visibleDuringPick = seenDialog != nullptr && IsWindowVisible(seenDialog);
        return kxhost::PickAnswer{id, {}};
    });
    agent.onDialog(D::kTemplateId, [&](kxwin::DialogDriver& d) {
        seenDialog = d.dialog();
        d.setText(D::kModule, "Typed");
        d.click(D::kOtherMacro);
        EXPECT_TRUE(IsWindowVisible(d.dialog()));
        EXPECT_TRUE(d.isEnabled(D::kPick));
        // The new module joins the list; what was typed stays.
        EXPECT_EQ(d.items(D::kModule), (std::vector<std::string>{"End plate", "Column", "Beam splice"}));
        EXPECT_EQ(d.text(D::kModule), "Typed");
        d.pick(D::kModule, "Beam splice").ok();
    });
    DlgMacroCutsData data = newCut();
    bool escaped = false;
    ASSERT_TRUE(StartDlgMacroCuts(data, escaped));
    EXPECT_FALSE(visibleDuringPick);
    EXPECT_EQ(data.owner.pickedMacro, id);
    EXPECT_EQ(data.ownerMode, 2);
    EXPECT_EQ(data.moduleName, Kx_String("Beam splice"));
}

} // namespace
