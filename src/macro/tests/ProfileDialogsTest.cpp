// The profile page, the profile advanced and segmented dialogs and ZnMACallBackData, on the
// library's sample macro as a caller opens them and a person uses them: what they show, what reaches
// the macro data and the drawing, and what never does (text 695, words typed for numbers).
#include "core/DlgSelectProf.h"
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "core/TextTables.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroLaunchers.h"
#include "macro/MacroProfLaunchers.h"
#include "macro/ZnDlgMacro.h"
#include "macro/ZnDlgMacroProfAdv.h"
#include "macro/ZnDlgMacroProfSegmented.h"
#include "macro/ZnDlgMacroProfTab.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/Messages.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include "macro/tests/SampleMacroDialogTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Adv = ZnDlgMacroProfAdv;
using Page = ZnDlgMacroProfTab;

constexpr int kProfileTab = 2;
constexpr int kBaseTab = 4;

class ProfileDialogs : public kxtest::SampleMacroDialogTest {
protected:
    // The top of the first placed frame's beam, from its boxes.
    static double beamTop()
    {
        for (const auto& part : kxcore::MacroModel::instance().macros()[0]->parts)
            if (part.role == "beam B1") {
                double top = -1e9;
                for (const auto& b : part.boxes)
                    top = std::max(top, b.y1);
                return top;
            }
        return -1;
    }
    static const MacroProfData& placedProfile(const std::string& mark)
    {
        const MacroTabData* tab = kxcore::MacroModel::instance().macros()[0]->data.tabOfModule("Profiles");
        for (const MacroProfData& p : tab->profiles)
            if (p.name2.str() == mark)
                return p;
        static MacroProfData none;
        return none;
    }
    static void choose(CWnd& page, int id, int index)
    {
        HWND combo = page.GetDlgItem(id);
        ASSERT_NE(combo, nullptr) << id;
        SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessage(page.m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    static void click(CWnd& page, int id)
    {
        SendMessage(page.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(page.GetDlgItem(id)));
    }
};

// --- ZnMACallBackData ---

TEST(MACallBackData, CopiesShareOneMacroDataThatTheLastOneFrees)
{
    MacroData macro;
    macro.title = "first";
    auto* original = new ZnMACallBackData;
    original->groupName = "beam";
    original->value1 = 4;
    original->intList.append(7);
    original->initDataClass(macro);
    MacroData other;
    other.title = "second";
    original->initDataClass(other);
    ASSERT_NE(original->macroData(), nullptr);
    EXPECT_EQ(original->macroData()->title, Kx_String("first")) << "a second init keeps the first copy";

    ZnMACallBackData copy(*original);
    EXPECT_EQ(copy.macroData(), original->macroData()) << "the copy refers to the same macro data";
    EXPECT_EQ(copy.groupName, Kx_String("beam"));
    EXPECT_EQ(copy.value1, 4);
    EXPECT_EQ(copy.intList.length(), 1);
    EXPECT_EQ(copy.macroDataUseCount(), 2);
    delete original; // the copy keeps the data alive: the sanitizers report a use after free otherwise
    EXPECT_EQ(copy.macroData()->title, Kx_String("first"));
    EXPECT_EQ(copy.macroDataUseCount(), 1);

    ZnMACallBackData& self = copy;
    copy = self;
    EXPECT_EQ(copy.macroData()->title, Kx_String("first")) << "assigning an object to itself keeps its data";

    ZnMACallBackData fresh;
    fresh.initDataClass(other);
    const MacroData* freshData = fresh.macroData();
    ZnMACallBackData sharer(fresh);
    fresh = copy; // releases its own data; the sharer still holds it
    EXPECT_EQ(fresh.macroData(), copy.macroData());
    EXPECT_EQ(sharer.macroData(), freshData);
    EXPECT_EQ(sharer.macroDataUseCount(), 1);
    EXPECT_EQ(copy.macroDataUseCount(), 2);

    ZnMACallBackData empty;
    fresh = empty;
    EXPECT_EQ(fresh.macroData(), nullptr);
    EXPECT_EQ(copy.macroDataUseCount(), 1);
}

// --- The offset positions ---

TEST(ProfileOffsetPositions, TheNinePositionsAndTheListMeetBothWays)
{
    const int expected[9] = {9, 5, 10, 7, 3, 8, 11, 6, 12};
    for (int position = 1; position <= 9; ++position) {
        EXPECT_EQ(Adv::comboIndexOfPosition(position), expected[position - 1]) << position;
        EXPECT_EQ(Adv::positionOfComboIndex(expected[position - 1]), position);
    }
    for (int index : {0, 1, 2, 4, 13, -1})
        EXPECT_EQ(Adv::positionOfComboIndex(index), 0) << "index " << index << " has no position";
    EXPECT_EQ(Adv::comboIndexOfPosition(0), 0);
    EXPECT_EQ(Adv::comboIndexOfPosition(10), 0);
}

TEST_F(ProfileDialogs, PositionButtonsAndTheOffsetListShowOneChoiceAndEachApplies)
{
    MacroData data = kxcore::sampleMacroData(0);
    const double before = beamTop();
    int updates = 0;
    agent.onDialog(Adv::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.text(Adv::kGroupName), "beam");
        EXPECT_EQ(d.selectedIndex(Adv::kOffsetType), 5) << "top centre";
        EXPECT_EQ(d.checkState(1236), BST_CHECKED) << "position 2 is top centre";
        EXPECT_EQ(d.text(Adv::kInsertion), "Top");
        const int start = requests("UpdateModule");
        d.click(1050); // position 5: the centre
        EXPECT_EQ(requests("UpdateModule"), start + 1) << "one apply, one update";
        EXPECT_EQ(d.selectedIndex(Adv::kOffsetType), 3);
        for (int id : Adv::kPositionButtons)
            EXPECT_EQ(d.checkState(id), id == 1050 ? BST_CHECKED : BST_UNCHECKED) << id;
        d.pick(Adv::kOffsetType, 0); // no offset: no position, no values
        EXPECT_EQ(d.checkState(1050), BST_UNCHECKED);
        EXPECT_FALSE(d.isEnabled(Adv::kStartX));
        EXPECT_FALSE(d.isEnabled(Adv::kStartY));
        d.pick(Adv::kOffsetType, 12);
        EXPECT_EQ(d.checkState(1054), BST_CHECKED) << "bottom right is position 9";
        EXPECT_EQ(d.text(Adv::kInsertion), "Bottom right");
        EXPECT_TRUE(d.isEnabled(Adv::kStartX));
        d.pick(Adv::kInsertion, "Centre");
        EXPECT_EQ(d.selectedIndex(Adv::kOffsetType), 3);
        updates = requests("UpdateModule") - start;
        d.ok();
    });
    StartDlgMacroProfAdv(data, "Profiles", "beam", false);
    EXPECT_EQ(updates, 4);
    // Applied with {-13}: the group's new offset reached the drawing, and the beam's middle now lies
    // on the system line, half its depth higher than its top did.
    EXPECT_EQ(placedProfile("B1").offsetType, 3);
    EXPECT_EQ(placedProfile("B1").offsetOn, 1);
    EXPECT_DOUBLE_EQ(beamTop(), before + 150);
    const MacroTabData* tab = data.tabOfModule("Profiles");
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->profiles[2].offsetType, 3) << "the caller's data holds what was applied";
}

TEST_F(ProfileDialogs, MergedValuesThatDifferShowTheMarkAndSurviveAnApplyOfAnotherField)
{
    MacroData data = kxcore::sampleMacroData(0);
    agent.onDialog(Adv::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.text(Adv::kSection), "*VARIES*") << "HEA200 and HEA240";
        EXPECT_EQ(d.text(Adv::kMark), "*VARIES*");
        EXPECT_EQ(d.checkState(Adv::kAngleVaries), BST_CHECKED) << "0 and 90 degrees";
        EXPECT_FALSE(d.isEnabled(Adv::kAngleOtherValue));
        d.setText(Adv::kMaterial, "S275");
        d.pick(Adv::kOffsetType, 3);
        d.ok();
    });
    StartDlgMacroProfAdv(data, "Profiles", "columns", false);
    EXPECT_EQ(placedProfile("C1").profileName, Kx_String("HEA200"));
    EXPECT_EQ(placedProfile("C2").profileName, Kx_String("HEA240"));
    EXPECT_EQ(placedProfile("C1").angle, Kx_String("0"));
    EXPECT_EQ(placedProfile("C2").angle, Kx_String("90"));
    EXPECT_EQ(placedProfile("C1").name2, Kx_String("C1"));
    EXPECT_EQ(placedProfile("C2").name3, Kx_String("S275")) << "the field that was changed went to both";
    EXPECT_EQ(placedProfile("C1").name3, Kx_String("S275"));
}

TEST_F(ProfileDialogs, WordsTypedForNumbersAreRefusedAndTheMarkIsNeverWritten)
{
    MacroData data = kxcore::sampleMacroData(0);
    agent.answerMessageBox(IDOK, "\"wide\"");
    agent.onDialog(Adv::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.setText(Adv::kStartY, "wide");
        d.click(Adv::kAngleOther);
        EXPECT_TRUE(d.isEnabled(Adv::kAngleOtherValue));
        d.setText(Adv::kAngleOtherValue, "*VARIES*");
        d.ok(); // refused: the dialog stays open and shows the old value again
        EXPECT_TRUE(d.isOpen());
        EXPECT_EQ(d.text(Adv::kStartY), "0.000");
        d.setText(Adv::kStartY, "25");
        d.ok();
    });
    StartDlgMacroProfAdv(data, "Profiles", "beam", false);
    EXPECT_EQ(agent.messageBoxes().size(), 1u);
    EXPECT_EQ(placedProfile("B1").offsets[1], Kx_String("25"));
    EXPECT_EQ(placedProfile("B1").angle, Kx_String("0")) << "text 695 as an angle writes nothing";
}

// --- The id-list launcher and its callback ---

struct CallbackLog {
    std::vector<int> kinds;
    bool refuseSet = false;
};
CallbackLog g_log;

bool recordingCallback(ZnMACallBackType kind, const ZnMACallBackData& data, MacroProfData& prof)
{
    g_log.kinds.push_back(kind);
    if (kind == kMACallBackGet) {
        prof.profileName = "IPE200";
        prof.offsetType = 3;
        prof.angle = "45";
        EXPECT_EQ(data.value1, 2) << "the callback is told how many profiles";
    }
    return !(kind == kMACallBackSet && g_log.refuseSet);
}

TEST_F(ProfileDialogs, TheIdListLauncherReturnsAtOnceWithoutIdsOrCallbackAndReturnsTheOption)
{
    bool option = true;
    AcArray<AcDbObjectId> none;
    StartDlgMacroProfAdv(nullptr, option, recordingCallback);
    StartDlgMacroProfAdv(&none, option, recordingCallback);
    AcArray<AcDbObjectId> ids{AcDbObjectId(5), AcDbObjectId(6)};
    StartDlgMacroProfAdv(&ids, option, nullptr);
    EXPECT_TRUE(g_log.kinds.empty()) << "no dialog, no callback";

    g_log = {};
    g_log.refuseSet = true;
    agent.onDialog(Adv::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.text(Adv::kSection), "IPE200");
        EXPECT_EQ(d.checkState(Adv::kAngleOther), BST_CHECKED);
        EXPECT_EQ(d.text(Adv::kAngleOtherValue), "45");
        EXPECT_EQ(d.checkState(Adv::kOption), BST_CHECKED) << "the caller's option";
        d.pick(Adv::kOffsetType, 5);
        EXPECT_EQ(d.selectedIndex(Adv::kOffsetType), 3) << "a refused apply leaves the dialog as it was";
        g_log.refuseSet = false;
        d.setCheck(Adv::kOption, BST_UNCHECKED);
        d.ok();
    });
    StartDlgMacroProfAdv(&ids, option, recordingCallback);
    EXPECT_FALSE(option);
    EXPECT_EQ(g_log.kinds, (std::vector<int>{kMACallBackGet, kMACallBackSet, kMACallBackSet}));
}

TEST_F(ProfileDialogs, APickHidesTheDialogBetweenTheCallbacksAndTakesThePoint)
{
    g_log = {};
    bool hiddenWhilePicking = false;
    HWND dialog = nullptr;
    kxhost::activeDrawing().setPickChooser([&](const kxhost::SimulatedDrawing&, const kxhost::PickRequest&) {
        hiddenWhilePicking = dialog != nullptr && !IsWindowVisible(dialog);
        EXPECT_EQ(g_log.kinds.back(), kMACallBackBeginPick);
        kxhost::PickAnswer answer;
        answer.point = {12.5, -30};
        return std::optional<kxhost::PickAnswer>(answer);
    });
    agent.onDialog(Adv::kTemplateId, [&](kxwin::DialogDriver& d) {
        dialog = d.dialog();
        d.click(Adv::kPickPoint);
        EXPECT_TRUE(IsWindowVisible(d.dialog()));
        EXPECT_EQ(d.selectedIndex(Adv::kOffsetType), 4) << "a picked point is a user-defined offset";
        EXPECT_EQ(d.text(Adv::kStartX), "12.500");
        EXPECT_EQ(d.text(Adv::kStartY), "-30.000");
        d.escape();
    });
    bool option = false;
    AcArray<AcDbObjectId> ids{AcDbObjectId(5), AcDbObjectId(9)};
    StartDlgMacroProfAdv(&ids, option, recordingCallback);
    EXPECT_TRUE(hiddenWhilePicking);
    EXPECT_EQ(g_log.kinds, (std::vector<int>{kMACallBackGet, kMACallBackBeginPick, kMACallBackEndPick}));
}

// --- Temporary objects ---

TEST_F(ProfileDialogs, ATemporaryObjectIsErasedOnceAfterTheAdvancedDialog)
{
    MacroData data = kxcore::sampleMacroData(0);
    kxhost::DrawingObject temporary;
    temporary.kind = "profile";
    temporary.name = "temporary profile";
    data.kind = 1;
    data.temporary = true;
    AcArray<AcDbObjectId> ids;
    ids.append(kxhost::activeDrawing().addObject(temporary));
    for (const AcDbObjectId& other : data.objectIds)
        ids.append(other);
    data.objectIds = ids;
    const AcDbObjectId id = data.objectIds[0];
    agent.onDialog(Adv::kTemplateId, [](kxwin::DialogDriver& d) { d.escape(); });
    StartDlgMacroProfAdv(data, "Profiles", "beam", false);
    EXPECT_TRUE(kxhost::activeDrawing().wasErased(id));
    EXPECT_FALSE(data.temporary);
    agent.onDialog(Adv::kTemplateId, [](kxwin::DialogDriver& d) { d.escape(); });
    StartDlgMacroProfAdv(data, "Profiles", "beam", false);
    EXPECT_EQ(requests("erase temporary object"), 1) << "the second dialog erases nothing";

    // A kind-1 macro that names no object has nothing to erase, before or after the dialog.
    MacroData empty = data;
    empty.temporary = true;
    empty.objectIds.setLogicalLength(0);
    agent.onDialog(Adv::kTemplateId, [](kxwin::DialogDriver& d) { d.escape(); });
    StartDlgMacroProfAdv(empty, "Profiles", "beam", false);
    ZnDlgMacro* withoutObjects = open(empty);
    auto* emptyPage = dynamic_cast<Page*>(withoutObjects->page(kProfileTab));
    ASSERT_NE(emptyPage, nullptr);
    EXPECT_TRUE(emptyPage->temporaryObject().isNull());
    EXPECT_EQ(requests("erase temporary object"), 1);
    DestroyAllMacroDlgs();

    // The same on the profile page of a kind-1 macro.
    data.temporary = true;
    data.objectIds[0] = kxhost::activeDrawing().addObject(temporary);
    const AcDbObjectId second = data.objectIds[0];
    ZnDlgMacro* macro = open(data);
    auto* page = dynamic_cast<Page*>(macro->page(kProfileTab));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->temporaryObject(), second);
    agent.onDialog(Adv::kTemplateId, [](kxwin::DialogDriver& d) { d.escape(); });
    click(*page, Page::kAdvanced);
    EXPECT_TRUE(kxhost::activeDrawing().wasErased(second));
    agent.onDialog(Adv::kTemplateId, [](kxwin::DialogDriver& d) { d.escape(); });
    click(*page, Page::kAdvanced);
    EXPECT_EQ(requests("erase temporary object"), 2);
    EXPECT_FALSE(macro->data().temporary) << "pages made again later get no temporary object";
}

// --- The profile page ---

TEST_F(ProfileDialogs, TheProfilePageShowsItsGroupAndACommitMovesTheBeam)
{
    ZnDlgMacro* macro = open(kxcore::sampleMacroData(0));
    auto* page = dynamic_cast<Page*>(macro->page(kProfileTab));
    ASSERT_NE(page, nullptr) << "a kind-2 tab gets the profile page";
    kxwin::DialogDriver d(page->m_hWnd);
    EXPECT_EQ(d.items(Page::kGroup), (std::vector<std::string>{"columns", "beam"}));
    EXPECT_EQ(d.text(Page::kGroup), "columns");
    EXPECT_EQ(d.items(Page::kObject).size(), 3u) << "the whole group and its two columns";
    EXPECT_EQ(d.items(Page::kObject)[0], "All profiles of the group");
    EXPECT_EQ(d.text(Page::kProfile), "*VARIES*");
    EXPECT_EQ(d.text(Page::kRotation), "*VARIES*");
    EXPECT_EQ(d.text(Page::kRotationLabel), "Rotation (°):");

    choose(*page, Page::kGroup, 1);
    EXPECT_EQ(page->group(), Kx_String("beam"));
    EXPECT_EQ(d.text(Page::kProfile), "IPE300");
    EXPECT_EQ(d.text(Page::kPosition), "Top centre");
    const double before = beamTop();
    const int updates = requests("UpdateModule");
    choose(*page, Page::kPosition, 6); // bottom centre: the beam's bottom on the line
    EXPECT_EQ(requests("UpdateModule"), updates + 1);
    EXPECT_DOUBLE_EQ(beamTop(), before + 300);
    EXPECT_EQ(macro->data().tabs[kProfileTab].profiles[2].offsetType, 6);

    // The columns' section differs: an apply of their rotation leaves each its own section.
    choose(*page, Page::kGroup, 0);
    choose(*page, Page::kRotation, 2);
    const MacroTabData& tab = macro->data().tabs[kProfileTab];
    EXPECT_EQ(tab.profiles[0].angle, Kx_String("180"));
    EXPECT_EQ(tab.profiles[1].angle, Kx_String("180"));
    EXPECT_EQ(tab.profiles[0].profileName, Kx_String("HEA200"));
    EXPECT_EQ(tab.profiles[1].profileName, Kx_String("HEA240"));
    EXPECT_EQ(d.text(Page::kRotation), "180°");
}

TEST_F(ProfileDialogs, ABasePlaneThatIsPickedHidesTheMacroDialogAndACancelledPickWritesNothing)
{
    ZnDlgMacro* macro = open(kxcore::sampleMacroData(0));
    auto* page = dynamic_cast<Page*>(macro->page(kProfileTab));
    choose(*page, Page::kGroup, 1);
    bool hidden = false;
    bool answer = false;
    kxhost::activeDrawing().setPickChooser([&](const kxhost::SimulatedDrawing&, const kxhost::PickRequest&) {
        hidden = !IsWindowVisible(macro->m_hWnd);
        return answer ? std::optional<kxhost::PickAnswer>(kxhost::PickAnswer{}) : std::nullopt;
    });
    const int updates = requests("UpdateModule");
    choose(*page, Page::kBasePlane, 2); // a coordinate system, picked: cancelled
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(IsWindowVisible(macro->m_hWnd));
    EXPECT_EQ(requests("UpdateModule"), updates);
    kxwin::DialogDriver d(page->m_hWnd);
    EXPECT_EQ(d.selectedIndex(Page::kBasePlane), 1) << "the work plane the beam had";

    answer = true;
    choose(*page, Page::kBasePlane, 2);
    EXPECT_EQ(requests("UpdateModule"), updates + 1);
    const MacroProfData& beam = macro->data().tabs[kProfileTab].profiles[2];
    EXPECT_EQ(beam.basePlane, 2);
    EXPECT_EQ(beam.planeName, Kx_String("xp"));
    choose(*page, Page::kBasePlane, 3); // the profile plane needs no pick
    EXPECT_EQ(macro->data().tabs[kProfileTab].profiles[2].basePlane, 3);
    EXPECT_EQ(requests("UpdateModule"), updates + 2);
}

TEST_F(ProfileDialogs, GroupsWithTheirOwnButtonsHideThePageControlsAndNeedLessHeight)
{
    MacroData data = kxcore::sampleMacroData(0);
    ZnDlgMacro* macro = open(data);
    const SIZE with = macro->page(kProfileTab)->neededSize();
    DestroyAllMacroDlgs();
    for (MacroProfData& p : data.tabs[kProfileTab].profiles)
        p.ownAdvancedButton = true;
    macro = open(data);
    auto* page = macro->page(kProfileTab);
    EXPECT_EQ(with.cy - page->neededSize().cy, 162 - 20) << "only the segments button stays";
    const auto shown = [](HWND h) { return h != nullptr && (GetWindowLong(h, GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_FALSE(shown(page->GetDlgItem(Page::kGroup)));
    EXPECT_FALSE(shown(page->GetDlgItem(ZnDlgMacroTab::kAdvanced)));
    EXPECT_TRUE(shown(page->GetDlgItem(Page::kSegments)));
}

TEST_F(ProfileDialogs, TheOpenProfileFlagOpensTheAdvancedDialogAtOnceOnItsGroup)
{
    MacroData data = kxcore::sampleMacroData(0);
    data.initialTab = "Profiles";
    data.openProfile = true;
    data.openProfileGroup = "beam";
    std::string group;
    agent.onDialog(Adv::kTemplateId, [&](kxwin::DialogDriver& d) {
        group = d.text(Adv::kGroupName);
        d.escape();
    });
    ZnDlgMacro* macro = open(data);
    EXPECT_EQ(group, "beam");
    EXPECT_TRUE(macro->data().openProfileGroup.isEmpty()) << "the group is used once";
}

TEST_F(ProfileDialogs, TheSegmentsDialogReplacesTheTabsListAndRefusesALengthThatIsNoNumber)
{
    ZnDlgMacro* macro = open(kxcore::sampleMacroData(0));
    auto* page = dynamic_cast<Page*>(macro->page(kProfileTab));
    const int updates = requests("UpdateModule");
    agent.answerMessageBox(IDOK, "\"long\"");
    agent.onDialog(ZnDlgMacroProfSegmented::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), "Segmented profile");
        EXPECT_EQ(d.text(ZnDlgMacroProfSegmented::kTotal), "5000");
        auto* dialog = dynamic_cast<ZnDlgMacroProfSegmented*>(GetWindowObject(d.dialog()));
        ASSERT_NE(dialog, nullptr);
        HWND grid = dialog->grid().GetSafeHwnd();
        d.click(ZnDlgMacroProfSegmented::kAdd);
        EXPECT_EQ(SSGetMaxRows(grid), 3);
        SSSetData(grid, ZnDlgMacroProfSegmented::kColLength, 3, "long");
        d.ok();
        EXPECT_TRUE(d.isOpen()) << "refused";
        d.setText(ZnDlgMacroProfSegmented::kTotal, "6000");
        d.click(ZnDlgMacroProfSegmented::kDivide);
        d.ok();
    });
    click(*page, Page::kSegments);
    const MacroTabData& tab = macro->data().tabs[kProfileTab];
    ASSERT_EQ(tab.segments.length(), 3);
    EXPECT_EQ(tab.segments[2].profileName, Kx_String("IPE330")) << "a new segment continues the last section";
    for (const MacroProfSegmentedData& s : tab.segments)
        EXPECT_EQ(s.length, Kx_String("2000"));
    EXPECT_EQ(requests("UpdateModule"), updates + 1);
}

// --- Profile buttons on a standard page ---

TEST_F(ProfileDialogs, AStandardPagesProfileButtonsOpenTheSelectionAndTheAdvancedDialogOfTheirGroup)
{
    ZnDlgMacro* macro = open(kxcore::sampleMacroData(0));
    ZnDlgMacroTab* page = macro->page(kBaseTab);
    const MacroTabData& tab = macro->data().tabs[kBaseTab];
    const int select = tab.profiles[0].ids[1];
    const int advanced = tab.profiles[0].ids[4];
    ASSERT_GT(select, 0) << "the base plate's layout has a type-14 button";
    ASSERT_GT(advanced, 0) << "and a type-17 button";

    agent.onDialog(kxcore::kSelectProfDialogId, [](kxwin::DialogDriver& d) {
        d.pick(kxcore::kSelectProfSizeId, "HE 220 A");
        d.ok();
    });
    click(*page, select);
    EXPECT_EQ(tab.profiles[0].profileName, Kx_String("HEA220"));
    EXPECT_EQ(tab.profiles[0].sectionClass, Kx_String("HEA"));
    EXPECT_EQ(GetWindowText(page->GetDlgItem(tab.profiles[0].ids[0])), "HEA220") << "the section list follows";

    std::string group;
    agent.onDialog(Adv::kTemplateId, [&](kxwin::DialogDriver& d) {
        group = d.text(Adv::kGroupName);
        d.pick(Adv::kOffsetType, 5);
        d.ok();
    });
    click(*page, advanced);
    EXPECT_EQ(group, "column");
    EXPECT_EQ(tab.profiles[0].offsetType, 5);
    kxwin::DialogDriver driver(page->m_hWnd);
    EXPECT_EQ(driver.text(tab.profiles[0].ids[2]), "Top centre") << "the layout's offset list shows it";
}

} // namespace
