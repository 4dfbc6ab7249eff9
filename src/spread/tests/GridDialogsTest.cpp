// The axis grid, lookup and string-array dialogs as their launchers run them, and the sheet-headers
// command with its dialog, driven by the scripted user.
#include "spread/SpreadLaunchers.h"
#include "spread/ZnDlgGrid.h"
#include "spread/ZnDlgGridHeaders.h"
#include "spread/ZnDlgLookUp.h"
#include "spread/ZnDlgStringArray.h"
#include "spread/tests/SpreadTestSupport.h"

#include "core/StringLists.h"
#include "core/TextTables.h"
#include "platform/win/UserAgent.h"

#include <climits>
#include <string>
#include <vector>

using kxtest::SpreadTest;

namespace {

Kx_StringArray list(std::initializer_list<const char*> texts)
{
    Kx_StringArray out;
    for (const char* t : texts)
        out.append(t);
    return out;
}

std::string cell(HWND grid, int col, int row)
{
    const int length = SSGetDataLen(grid, col, row);
    if (length < 0)
        return "<none>";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(std::max(SSGetData(grid, col, row, text.data(), length + 1), 0)));
    return text;
}

// --- Axis grid dialog ----------------------------------------------------------------------------

using AxisGridDialog = SpreadTest;

TEST_F(AxisGridDialog, ShowsTheDefaultsAndCancelLeavesTheDataAlone)
{
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgGrid::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1463).str());
        EXPECT_EQ(d.text(1372), dialString(1464).str());
        EXPECT_EQ(d.text(1375), dialString(1465).str());
        // One label text for both directions.
        EXPECT_EQ(d.text(1366), d.text(1373));
        EXPECT_EQ(d.text(1370), dialString(1468).str());
        EXPECT_EQ(d.text(1378), dialString(1468).str());
        std::vector<std::string> shown;
        for (int id : {ZnDlgGrid::kCountA, ZnDlgGrid::kSpacingA, ZnDlgGrid::kFirstLabelA, ZnDlgGrid::kCountB,
                       ZnDlgGrid::kSpacingB, ZnDlgGrid::kFirstLabelB})
            shown.push_back(d.text(id));
        EXPECT_EQ(shown, (std::vector<std::string>{"4", "5000", "A", "3", "5000", "1"}));
        EXPECT_EQ(d.checkState(ZnDlgGrid::kOption), BST_UNCHECKED);
        d.setText(ZnDlgGrid::kCountA, "9").setCheck(ZnDlgGrid::kOption, BST_CHECKED).cancel();
    });
    ZnGridDlgData data;
    EXPECT_FALSE(StartDlgGrid(data));
    EXPECT_EQ(data.countA, 4);
    EXPECT_FALSE(data.option);
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(AxisGridDialog, OkReadsTheFieldsBackAsTyped)
{
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgGrid::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.text(ZnDlgGrid::kCountA), "-2");
        EXPECT_EQ(d.text(ZnDlgGrid::kFirstLabelB), "x");
        d.setText(ZnDlgGrid::kCountA, " 12 axes")
            .setText(ZnDlgGrid::kCountB, "many")
            .setText(ZnDlgGrid::kSpacingA, "3*2500")
            .setText(ZnDlgGrid::kFirstLabelB, "")
            .setCheck(ZnDlgGrid::kOption, BST_CHECKED)
            .ok();
    });
    ZnGridDlgData data;
    data.countA = -2;
    data.firstLabelB = "x";
    EXPECT_TRUE(StartDlgGrid(data));
    EXPECT_EQ(data.countA, 12);
    EXPECT_EQ(data.countB, 0);
    EXPECT_EQ(data.spacingA, Kx_String("3*2500"));
    EXPECT_EQ(data.spacingB, Kx_String("5000"));
    EXPECT_EQ(data.firstLabelB, Kx_String(""));
    EXPECT_TRUE(data.option);
}

TEST(LeadingInt, ReadsAsAtoiButSaturatesInsteadOfOverflowing)
{
    EXPECT_EQ(kxss::leadingInt("  +17x"), 17);
    EXPECT_EQ(kxss::leadingInt("-5"), -5);
    EXPECT_EQ(kxss::leadingInt("x5"), 0);
    EXPECT_EQ(kxss::leadingInt("-"), 0);
    EXPECT_EQ(kxss::leadingInt(""), 0);
    EXPECT_EQ(kxss::leadingInt("2147483647"), INT_MAX);
    EXPECT_EQ(kxss::leadingInt("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(kxss::leadingInt("-2147483648"), INT_MIN);
    EXPECT_EQ(kxss::leadingInt("-99999999999999999999999"), INT_MIN);
}

// --- Lookup dialog -------------------------------------------------------------------------------

using LookUpDialog = SpreadTest;

ZnLookUpDlgData sampleLookUp()
{
    ZnLookUpDlgData data;
    data.list1 = list({"HEA.sss", "IPE.sss"});
    data.text1 = "IPE.sss";
    data.text2 = "typed";
    data.list3 = list({"Name", "h", "b"});
    data.text3 = "Name";
    data.list4 = list({"IPE 100", "IPE 200"});
    data.list5 = list({"h", "b", "tw"});
    data.text5 = "b";
    return data;
}

TEST_F(LookUpDialog, ShowsTheListsTextsAndChoices)
{
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgLookUp::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1499).str());
        EXPECT_EQ(d.text(1385), string(2262).str());
        EXPECT_EQ(d.text(1124), string(2263).str());
        EXPECT_EQ(d.text(ZnDlgLookUp::kFillColumn), dialString(1503).str());
        EXPECT_EQ(d.items(ZnDlgLookUp::kCombo1), (std::vector<std::string>{"HEA.sss", "IPE.sss"}));
        EXPECT_EQ(d.text(ZnDlgLookUp::kCombo1), "IPE.sss");
        EXPECT_EQ(d.text(ZnDlgLookUp::kCombo2), "typed");
        EXPECT_TRUE(d.items(ZnDlgLookUp::kCombo2).empty());
        EXPECT_EQ(d.text(ZnDlgLookUp::kCombo4), "");
        EXPECT_EQ(d.text(ZnDlgLookUp::kCombo5), "b");
        EXPECT_EQ(d.items(ZnDlgLookUp::kMatchList),
                  (std::vector<std::string>{dialString(88).str(), dialString(89).str(), dialString(1511).str()}));
        EXPECT_EQ(d.items(ZnDlgLookUp::kRoundingList),
                  (std::vector<std::string>{dialString(1504).str(), dialString(1505).str(), dialString(1506).str()}));
        // The defaults: nearest match, no rounding, the value inserted.
        EXPECT_EQ(d.selectedIndex(ZnDlgLookUp::kMatchList), 2);
        EXPECT_EQ(d.selectedIndex(ZnDlgLookUp::kRoundingList), 0);
        EXPECT_EQ(d.checkState(ZnDlgLookUp::kInsertValue), BST_CHECKED);
        EXPECT_EQ(d.checkState(ZnDlgLookUp::kInsertFormula), BST_UNCHECKED);

        // The letter-case option follows the radios.
        EXPECT_TRUE(d.isEnabled(ZnDlgLookUp::kIgnoreCase));
        d.click(ZnDlgLookUp::kInsertFormula);
        EXPECT_FALSE(d.isEnabled(ZnDlgLookUp::kIgnoreCase));
        d.click(ZnDlgLookUp::kInsertValue);
        EXPECT_TRUE(d.isEnabled(ZnDlgLookUp::kIgnoreCase));
        d.cancel();
    });
    ZnLookUpDlgData data = sampleLookUp();
    EXPECT_FALSE(StartDlgLookUp(data));
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(LookUpDialog, OkAndFillColumnBothConfirmAndSayWhichClosedIt)
{
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgLookUp::kTemplateId, [](kxwin::DialogDriver& d) {
        d.pick(ZnDlgLookUp::kCombo1, "HEA.sss")
            .setText(ZnDlgLookUp::kCombo2, "other")
            .pick(ZnDlgLookUp::kCombo4, "IPE 200")
            .pick(ZnDlgLookUp::kMatchList, 0)
            .pick(ZnDlgLookUp::kRoundingList, 2)
            .setCheck(ZnDlgLookUp::kIgnoreCase, BST_CHECKED)
            .click(ZnDlgLookUp::kInsertFormula)
            .click(ZnDlgLookUp::kFillColumn);
    });
    ZnLookUpDlgData data = sampleLookUp();
    ASSERT_TRUE(StartDlgLookUp(data));
    EXPECT_EQ(data.text1, Kx_String("HEA.sss"));
    EXPECT_EQ(data.text2, Kx_String("other"));
    EXPECT_EQ(data.text3, Kx_String("Name"));
    EXPECT_EQ(data.text4, Kx_String("IPE 200"));
    EXPECT_EQ(data.text5, Kx_String("b"));
    EXPECT_EQ(data.list5.length(), 3);
    EXPECT_EQ(data.choice1, 0);
    EXPECT_EQ(data.choice2, 2);
    EXPECT_EQ(data.mode, 1);
    // Checked before the formula radio disabled it: the state is kept and read back.
    EXPECT_TRUE(data.option);
    EXPECT_EQ(data.closedBy, ZnLookUpDlgData::kClosedByFillColumn);

    // Any non-zero mode comes in as the formula radio and goes back as 1; OK gives closedBy 0.
    agent.onDialog(ZnDlgLookUp::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.checkState(ZnDlgLookUp::kInsertFormula), BST_CHECKED);
        EXPECT_FALSE(d.isEnabled(ZnDlgLookUp::kIgnoreCase));
        d.ok();
    });
    data.mode = 7;
    ASSERT_TRUE(StartDlgLookUp(data));
    EXPECT_EQ(data.mode, 1);
    EXPECT_EQ(data.closedBy, ZnLookUpDlgData::kClosedByOk);
}

TEST_F(LookUpDialog, CancelLeavesTheDataAloneAndAChoiceTheListLacksComesBackUnchanged)
{
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgLookUp::kTemplateId, [](kxwin::DialogDriver& d) {
        d.setText(ZnDlgLookUp::kCombo1, "changed").click(ZnDlgLookUp::kInsertFormula).escape();
    });
    ZnLookUpDlgData data = sampleLookUp();
    data.closedBy = 5;
    EXPECT_FALSE(StartDlgLookUp(data));
    EXPECT_EQ(data.text1, Kx_String("IPE.sss"));
    EXPECT_EQ(data.mode, 0);
    EXPECT_EQ(data.closedBy, 5);

    agent.onDialog(ZnDlgLookUp::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.selectedIndex(ZnDlgLookUp::kMatchList), -1);
        d.ok();
    });
    data.choice1 = 4;
    ASSERT_TRUE(StartDlgLookUp(data));
    EXPECT_EQ(data.choice1, 4);
    EXPECT_EQ(data.choice2, 0);
}

// --- String-array dialog -------------------------------------------------------------------------

using StringArrayDialog = SpreadTest;

Kx_Array<Kx_StringArray> threeRowsOneShort()
{
    Kx_Array<Kx_StringArray> rows;
    rows.append(list({"IPE 100", "100", "55"}));
    rows.append(list({"IPE 120", "120"}));
    rows.append(list({"IPE 140", "140", "73"}));
    return rows;
}

TEST_F(StringArrayDialog, WithoutColumnTitlesShowsNothing)
{
    kxwin::UserAgent agent;  // no script: a dialog would fail the test
    Kx_Array<Kx_StringArray> rows = threeRowsOneShort();
    EXPECT_FALSE(startGridDialog(Kx_StringArray(), Kx_StringArray(), rows, true, "Profiles", ""));
    EXPECT_EQ(rows.length(), 3);
}

TEST_F(StringArrayDialog, ShowsOnlyRowsOfTheRightLengthAndReturnsTheGridsRows)
{
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgStringArray::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), "Profiles");
        EXPECT_EQ(d.text(ZnDlgStringArray::kInsertRow), dialString(606).str());
        EXPECT_EQ(d.text(ZnDlgStringArray::kDeleteRow), dialString(607).str());
        EXPECT_TRUE(d.isVisible(ZnDlgStringArray::kInsertRow));
        HWND grid = d.item(ZnDlgStringArray::kGrid);
        ASSERT_EQ(SSGetMaxCols(grid), 3);
        ASSERT_EQ(SSGetMaxRows(grid), 2);
        EXPECT_EQ(cell(grid, 2, 0), "h");
        // Each row keeps its own title: the short row's title went with it.
        EXPECT_EQ(cell(grid, 0, 1), "first");
        EXPECT_EQ(cell(grid, 0, 2), "third");
        EXPECT_EQ(cell(grid, 1, 2), "IPE 140");
        EXPECT_TRUE(SSGetBool(grid, SSB_SHOWROWHEADERS));
        ASSERT_TRUE(kxgrid::enterText(grid, 3, 2, "74"));
        // Typing still open in a cell when OK is pressed counts.
        d.focus(ZnDlgStringArray::kGrid);
        ASSERT_TRUE(SSSetActiveCell(grid, 2, 1));
        ASSERT_TRUE(SSSetEditMode(grid, TRUE));
        d.type("101");
        d.ok();
    });
    Kx_Array<Kx_StringArray> rows = threeRowsOneShort();
    ASSERT_TRUE(startGridDialog(list({"Name", "h", "b"}), list({"first", "second", "third"}), rows, true,
                                "Profiles", ""));
    ASSERT_EQ(rows.length(), 2);
    EXPECT_EQ(rows[0][0], Kx_String("IPE 100"));
    EXPECT_EQ(rows[0][1], Kx_String("101"));
    EXPECT_EQ(rows[1][0], Kx_String("IPE 140"));
    EXPECT_EQ(rows[1][2], Kx_String("74"));
}

TEST_F(StringArrayDialog, CancelLeavesEveryRowAlone)
{
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgStringArray::kTemplateId, [](kxwin::DialogDriver& d) {
        d.click(ZnDlgStringArray::kDeleteRow).cancel();
    });
    Kx_Array<Kx_StringArray> rows = threeRowsOneShort();
    EXPECT_FALSE(startGridDialog(list({"Name", "h", "b"}), {}, rows, true, "Profiles", ""));
    ASSERT_EQ(rows.length(), 3);
    EXPECT_EQ(rows[1].length(), 2);
}

TEST_F(StringArrayDialog, InsertAndDeleteRows)
{
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgStringArray::kTemplateId, [](kxwin::DialogDriver& d) {
        HWND grid = d.item(ZnDlgStringArray::kGrid);
        // A row goes in after the active one and becomes active in the same column.
        ASSERT_TRUE(SSSetActiveCell(grid, 2, 1));
        d.click(ZnDlgStringArray::kInsertRow);
        ASSERT_EQ(SSGetMaxRows(grid), 3);
        int col = 0;
        int row = 0;
        SSGetActiveCell(grid, &col, &row);
        EXPECT_EQ(col, 2);
        EXPECT_EQ(row, 2);
        EXPECT_EQ(cell(grid, 1, 2), "");
        EXPECT_EQ(cell(grid, 1, 3), "IPE 140");
        ASSERT_TRUE(kxgrid::enterText(grid, 1, 2, "IPE 120"));

        // The active row goes; deleting the last one leaves it active.
        ASSERT_TRUE(SSSetActiveCell(grid, 1, 3));
        d.click(ZnDlgStringArray::kDeleteRow);
        EXPECT_EQ(SSGetMaxRows(grid), 2);
        SSGetActiveCell(grid, &col, &row);
        EXPECT_EQ(row, 2);
        d.ok();
    });
    Kx_Array<Kx_StringArray> rows = threeRowsOneShort();
    ASSERT_TRUE(startGridDialog(list({"Name", "h", "b"}), {}, rows, true, "Profiles", ""));
    ASSERT_EQ(rows.length(), 2);
    EXPECT_EQ(rows[0][0], Kx_String("IPE 100"));
    EXPECT_EQ(rows[1][0], Kx_String("IPE 120"));
    EXPECT_EQ(rows[1][1], Kx_String(""));
}

TEST_F(StringArrayDialog, DeletingEveryRowReturnsNoneAndAnEmptyGridStillTakesARow)
{
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgStringArray::kTemplateId, [](kxwin::DialogDriver& d) {
        HWND grid = d.item(ZnDlgStringArray::kGrid);
        d.click(ZnDlgStringArray::kDeleteRow);
        EXPECT_EQ(SSGetMaxRows(grid), 0);
        d.click(ZnDlgStringArray::kDeleteRow);  // nothing left to delete
        EXPECT_EQ(SSGetMaxRows(grid), 0);
        d.click(ZnDlgStringArray::kInsertRow);
        EXPECT_EQ(SSGetMaxRows(grid), 1);
        d.click(ZnDlgStringArray::kDeleteRow);
        d.ok();
    });
    Kx_Array<Kx_StringArray> rows;
    rows.append(list({"only", "1"}));
    ASSERT_TRUE(startGridDialog(list({"Name", "Value"}), {}, rows, true, "One", ""));
    EXPECT_EQ(rows.length(), 0);
}

TEST_F(StringArrayDialog, WithoutRowEditingTheButtonsAreHidden)
{
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgStringArray::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_FALSE(d.isVisible(ZnDlgStringArray::kInsertRow));
        EXPECT_FALSE(d.isVisible(ZnDlgStringArray::kDeleteRow));
        // No row titles given: no empty header column either.
        EXPECT_FALSE(SSGetBool(d.item(ZnDlgStringArray::kGrid), SSB_SHOWROWHEADERS));
        d.ok();
    });
    Kx_Array<Kx_StringArray> rows = threeRowsOneShort();
    ASSERT_TRUE(startGridDialog(list({"Name", "h", "b"}), {}, rows, false, "Profiles", ""));
    EXPECT_EQ(rows.length(), 2);
}

TEST_F(StringArrayDialog, KeepsItsSizeUnderTheDefaultKey)
{
    kxwin::UserAgent agent;
    RECT grown{};
    int gridWidth = 0;
    agent.onDialog(ZnDlgStringArray::kTemplateId, [&](kxwin::DialogDriver& d) {
        RECT r{};
        GetWindowRect(d.dialog(), r);
        const RECT gridBefore = GetWindowRectInParent(d.item(ZnDlgStringArray::kGrid));
        MoveWindow(d.dialog(), r.left, r.top, r.width() + 120, r.height() + 60);
        GetWindowRect(d.dialog(), grown);
        const RECT gridAfter = GetWindowRectInParent(d.item(ZnDlgStringArray::kGrid));
        gridWidth = gridAfter.width();
        EXPECT_EQ(gridAfter.width(), gridBefore.width() + 120);
        EXPECT_EQ(gridAfter.height(), gridBefore.height() + 60);
        d.ok();
    });
    Kx_Array<Kx_StringArray> rows = threeRowsOneShort();
    ASSERT_TRUE(startGridDialog(list({"Name", "h", "b"}), {}, rows, true, "Profiles", ""));

    agent.onDialog(ZnDlgStringArray::kTemplateId, [&](kxwin::DialogDriver& d) {
        RECT r{};
        GetWindowRect(d.dialog(), r);
        EXPECT_EQ(r.width(), grown.width());
        EXPECT_EQ(r.height(), grown.height());
        EXPECT_EQ(GetWindowRectInParent(d.item(ZnDlgStringArray::kGrid)).width(), gridWidth);
        d.cancel();
    });
    EXPECT_FALSE(startGridDialog(list({"Name", "h", "b"}), {}, rows, true, "Profiles", "DLG_SS_STRINGARRAY"));
}

// --- Sheet headers command -----------------------------------------------------------------------

class SheetHeadersCommand : public SpreadTest {
protected:
    void SetUp() override
    {
        SpreadTest::SetUp();
        grid = kxgrid::createStandaloneGrid(3, 2);
        SSSetData(grid, 1, 0, "Name");
        SSSetData(grid, 2, 0, "h");
        SSSetData(grid, 3, 0, "b");
        SSSetData(grid, 0, 1, "r1");
        SSSetData(grid, 0, 2, "r2");
        SSSetData(grid, 1, 1, "IPE 100");
        SSSetRowHeightInPixels(grid, 0, 24);
        SSSetColWidthInPixels(grid, 0, 40);
        SSSetBool(grid, SSB_CHANGEMADE, FALSE);
    }
    std::string sheet() const
    {
        std::string text;
        kxgrid::sheetText(grid, text);
        return text;
    }
    HWND grid = nullptr;
};

TEST_F(SheetHeadersCommand, ShowsTheSheetsHeadersAndAppliesTheEditsOnOk)
{
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgGridHeaders::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1369).str());
        EXPECT_EQ(d.text(ZnDlgGridHeaders::kColCount), "3");
        EXPECT_EQ(d.text(ZnDlgGridHeaders::kRowCount), "2");
        EXPECT_EQ(d.text(ZnDlgGridHeaders::kHeaderRowHeight), "24");
        EXPECT_EQ(d.text(ZnDlgGridHeaders::kHeaderColWidth), "40");
        HWND cols = d.item(ZnDlgGridHeaders::kColTitlesGrid);
        HWND rows = d.item(ZnDlgGridHeaders::kRowTitlesGrid);
        ASSERT_EQ(SSGetMaxRows(cols), 3);
        EXPECT_EQ(cell(cols, 1, 1), "Name");
        EXPECT_EQ(cell(cols, 1, 3), "b");
        EXPECT_EQ(cell(cols, 0, 3), "3");
        EXPECT_EQ(cell(rows, 1, 2), "r2");

        // A fourth column gets a row in the titles grid, empty, for its title.
        d.setText(ZnDlgGridHeaders::kColCount, "4").tab();
        ASSERT_EQ(SSGetMaxRows(cols), 4);
        EXPECT_EQ(cell(cols, 1, 4), "");
        EXPECT_EQ(cell(cols, 0, 4), "4");
        ASSERT_TRUE(kxgrid::enterText(cols, 1, 4, "tw"));
        ASSERT_TRUE(kxgrid::enterText(rows, 1, 1, "first"));
        d.setText(ZnDlgGridHeaders::kRowCount, "1").setText(ZnDlgGridHeaders::kHeaderRowHeight, "30").ok();
    });
    ASSERT_TRUE(kxss::runSheetHeadersCommand(grid));
    EXPECT_EQ(SSGetMaxCols(grid), 4);
    EXPECT_EQ(SSGetMaxRows(grid), 1);
    EXPECT_EQ(cell(grid, 4, 0), "tw");
    EXPECT_EQ(cell(grid, 1, 0), "Name");
    EXPECT_EQ(cell(grid, 0, 1), "first");
    EXPECT_EQ(cell(grid, 1, 1), "IPE 100");
    int height = 0;
    int width = 0;
    SSGetRowHeightInPixels(grid, 0, &height);
    SSGetColWidthInPixels(grid, 0, &width);
    EXPECT_EQ(height, 30);
    EXPECT_EQ(width, 40);
    EXPECT_TRUE(SSGetBool(grid, SSB_CHANGEMADE));
}

TEST_F(SheetHeadersCommand, CancelChangesNothing)
{
    const std::string before = sheet();
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgGridHeaders::kTemplateId, [](kxwin::DialogDriver& d) {
        d.setText(ZnDlgGridHeaders::kColCount, "1").tab();
        ASSERT_TRUE(kxgrid::enterText(d.item(ZnDlgGridHeaders::kColTitlesGrid), 1, 1, "changed"));
        d.cancel();
    });
    EXPECT_FALSE(kxss::runSheetHeadersCommand(grid));
    EXPECT_EQ(sheet(), before);
    EXPECT_FALSE(SSGetBool(grid, SSB_CHANGEMADE));
}

TEST_F(SheetHeadersCommand, ABadCountIsRefusedAndTitlesSurviveACountLoweredAndRaisedAgain)
{
    kxwin::UserAgent agent;
    agent.answerMessageBox(IDOK, "<-1>");
    agent.answerMessageBox(IDOK, "<12abc>");
    agent.onDialog(ZnDlgGridHeaders::kTemplateId, [](kxwin::DialogDriver& d) {
        HWND cols = d.item(ZnDlgGridHeaders::kColTitlesGrid);
        d.setText(ZnDlgGridHeaders::kColCount, "1").tab();
        EXPECT_EQ(SSGetMaxRows(cols), 1);
        d.setText(ZnDlgGridHeaders::kColCount, "3").tab();
        EXPECT_EQ(cell(cols, 1, 3), "b");

        d.setText(ZnDlgGridHeaders::kRowCount, "-1").ok();
        ASSERT_TRUE(d.isOpen());
        d.setText(ZnDlgGridHeaders::kRowCount, "2").setText(ZnDlgGridHeaders::kHeaderColWidth, "12abc").ok();
        ASSERT_TRUE(d.isOpen());
        d.setText(ZnDlgGridHeaders::kHeaderColWidth, "0").ok();
    });
    ASSERT_TRUE(kxss::runSheetHeadersCommand(grid));
    EXPECT_EQ(agent.messageBoxes().size(), 2u);
    EXPECT_EQ(SSGetMaxCols(grid), 3);
    EXPECT_EQ(cell(grid, 3, 0), "b");
    int width = -1;
    SSGetColWidthInPixels(grid, 0, &width);
    EXPECT_EQ(width, 0);
}

TEST_F(SheetHeadersCommand, AHandleThatIsNoGridShowsNothing)
{
    kxwin::UserAgent agent;  // no script
    EXPECT_FALSE(kxss::runSheetHeadersCommand(nullptr));
}

} // namespace
