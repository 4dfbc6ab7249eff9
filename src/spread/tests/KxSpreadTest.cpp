// Kx_Spread on its own: attaching, counts and what new rows and columns receive, reading and
// writing, fitting, Tab hand-over, the check guard, F8, find and replace, and structure changes.
#include "spread/tests/KxSpreadTestSupport.h"

#include "core/PromptDialog.h"
#include "core/TextTables.h"
#include "platform/win/UserAgent.h"

#include <random>

using kxtest::KxSpreadTest;

namespace {

using KxSpreadUnattached = kxwin::testing::WindowLayerTest;

TEST_F(KxSpreadUnattached, EveryOperationFailsOrDoesNothing)
{
    Kx_Spread s;
    EXPECT_EQ(s.getRowCount(), -1);
    EXPECT_EQ(s.getColCount(), -1);
    EXPECT_FALSE(s.setRowCount(3));
    EXPECT_FALSE(s.setStandardLook(1));
    Kx_String text = "stale";
    EXPECT_FALSE(s.getCellText(1, 1, text));
    EXPECT_TRUE(text.isEmpty());
    Kx_StringArray column;
    EXPECT_FALSE(s.getColumn(1, column));
    EXPECT_FALSE(s.setColumn(1, column));
    int col = 0, row = 0;
    EXPECT_FALSE(s.findNext("a", 1, 1, col, row));
    EXPECT_EQ(s.replaceAll("a", "b"), -1);
    EXPECT_FALSE(s.insertRow(1));
    EXPECT_FALSE(s.setCheckGuard(1, 2));
    int result = 0;
    EXPECT_FALSE(s.handleTabKey(VK_TAB, result));
    EXPECT_EQ(result, Kx_Spread::kTabNotHandled);
    s.fitToWindow();
    s.applyFonts();
    EXPECT_FALSE(s.openFindDialog());
    EXPECT_FALSE(s.attach(static_cast<HWND>(nullptr), 1500));
}

TEST_F(KxSpreadTest, AttachReplacesThePlaceholderWithAnEmptyGrid)
{
    EXPECT_EQ(GetClassName(grid()), "fpSpread70");
    EXPECT_EQ(GetDlgItem(owner->m_hWnd, kxtest::kPlaceholderId), grid());
    EXPECT_EQ(spread->getRowCount(), 0);
    EXPECT_EQ(spread->getColCount(), 0);
    EXPECT_TRUE(spread->isVisible());
    EXPECT_FALSE(spread->attach(owner.get(), 1)) << "a wrapper holds one grid";

    // Without exactRect the grid moves 5 pixels left and 20 up from where the placeholder was.
    const RECT button = GetWindowRectInParent(GetDlgItem(owner->m_hWnd, 1));
    Kx_Spread second;
    EXPECT_FALSE(second.attach(owner.get(), 4711)) << "no such control";
    ASSERT_TRUE(second.attach(owner.get(), 1));
    const RECT placed = GetWindowRectInParent(second.m_hWnd);
    EXPECT_EQ(placed.left, button.left - 5);
    EXPECT_EQ(placed.top, button.top - 20);
    EXPECT_EQ(placed.width(), button.width());
    EXPECT_EQ(SendMessage(second.m_hWnd, SSM_PRIVATE_1303), 0);
}

TEST_F(KxSpreadTest, GrowingRowsRepeatsTheLastRowButColumnsOnlyWhenAsked)
{
    fill(3, 3);
    spread->setColumnCheckBox(2);
    spread->setLock(3, 3, true);
    SSSetData(grid(), Kx_Spread::HEADER, 3, "third");
    SS_CELLTYPE check;
    ASSERT_TRUE(SSGetCellTypeRecord(grid(), 2, 1, &check));
    EXPECT_NE(check.picture1, nullptr) << "the module's check-box pictures";
    EXPECT_NE(check.picture2, nullptr);
    ASSERT_TRUE(spread->setRowCount(5, /*copyLast=*/false));
    for (int row = 4; row <= 5; ++row) {
        EXPECT_EQ(value(1, row), "1,3");
        EXPECT_EQ(spread->getCellType(2, row), Kx_Spread::kTypeCheckBox);
        EXPECT_TRUE(SSGetLock(grid(), 3, row));
        EXPECT_EQ(value(0, row), "third");
        EXPECT_EQ(fontWeight(1, row), 400);
        EXPECT_EQ(fontWeight(0, row), 700);
    }
    ASSERT_TRUE(spread->setColCount(5, /*copyLast=*/false));
    EXPECT_EQ(value(4, 1), "");
    EXPECT_EQ(fontWeight(5, 0), 700);
    ASSERT_TRUE(spread->setColCount(6, /*copyLast=*/true));
    EXPECT_EQ(value(6, 1), value(5, 1));
    ASSERT_TRUE(spread->setColCount(7, /*copyLast=*/true));
    SSSetData(grid(), 7, 2, "x");
    ASSERT_TRUE(spread->setColCount(8, /*copyLast=*/true));
    EXPECT_EQ(value(8, 2), "x");

    // Shrinking only cuts; a negative count is refused.
    ASSERT_TRUE(spread->setRowCount(2));
    EXPECT_EQ(spread->getRowCount(), 2);
    EXPECT_FALSE(spread->setRowCount(-1));
    EXPECT_EQ(spread->getRowCount(), 2);
}

TEST_F(KxSpreadTest, GrowingFromNoRowsCopiesNothingFromTheHeader)
{
    ASSERT_TRUE(spread->setColCount(2));
    SSSetData(grid(), 1, Kx_Spread::HEADER, "Name");
    ASSERT_TRUE(spread->setRowCount(3));
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ(value(1, row), "") << row;
    EXPECT_EQ(fontWeight(1, 0), 700);
    EXPECT_EQ(fontWeight(0, 2), 700);
    EXPECT_EQ(fontWeight(2, 3), 400);
}

TEST_F(KxSpreadTest, ColumnsAndRowsStopAtTheGridsEdge)
{
    fill(3, 2);
    Kx_StringArray values{"a", "b", "c", "d"};
    EXPECT_TRUE(spread->setColumn(2, values));
    EXPECT_EQ(value(2, 1), "a");
    EXPECT_EQ(value(2, 2), "b");
    EXPECT_FALSE(spread->setColumn(4, values)) << "beyond the column count";
    EXPECT_EQ(spread->getColCount(), 3);
    EXPECT_TRUE(spread->setRow(1, values));
    EXPECT_EQ(value(3, 1), "c");
    EXPECT_FALSE(spread->setRow(3, values));

    Kx_StringArray read;
    ASSERT_TRUE(spread->getColumn(2, read));
    EXPECT_EQ(read, (Kx_StringArray{"b", "b"}));
    EXPECT_FALSE(spread->getColumn(4, read));

    spread->setColumnHeaders(Kx_StringArray{"A", "B"});
    spread->setRowHeaders(Kx_StringArray{"one", "two"});
    spread->getColumnHeaders(read);
    EXPECT_EQ(read, (Kx_StringArray{"A", "B", ""}));
    spread->getRowHeaders(read);
    EXPECT_EQ(read, (Kx_StringArray{"one", "two"}));

    Kx_Array<Kx_StringArray> rows;
    rows.append(Kx_StringArray{"stale"});
    ASSERT_TRUE(spread->getAllRows(rows));
    ASSERT_EQ(rows.length(), 2);
    EXPECT_EQ(rows[0], (Kx_StringArray{"a", "b", "c"}));
    EXPECT_EQ(rows[1], (Kx_StringArray{"1,2", "b", "3,2"}));
    EXPECT_EQ(kxhost::takeCommandLineText(), "");

    EXPECT_TRUE(spread->clearRows(1, 2));
    spread->getRow(2, read);
    EXPECT_EQ(read, (Kx_StringArray{"", "", ""}));
}

TEST_F(KxSpreadTest, NumbersChecksAndComboIndicesConvert)
{
    fill(6, 4);
    ASSERT_TRUE(spread->setDouble(1, 1, 2.345));
    EXPECT_EQ(data(1, 1), Kx_String(2.345, 2).str());
    double number = 0;
    ASSERT_TRUE(spread->getDouble(1, 1, number));
    EXPECT_DOUBLE_EQ(number, std::atof(Kx_String(2.345, 2).c_str()));
    spread->setColumnDoubles(2, Kx_Array<double>{1.5, -0.004, 7});
    EXPECT_EQ(value(2, 1), "1.50");
    EXPECT_EQ(value(2, 2), "0.00");
    EXPECT_EQ(value(2, 3), "7.00");
    EXPECT_EQ(value(2, 4), "2,4") << "a shorter array leaves the other rows";

    bool checked = true;
    SSSetData(grid(), 3, 1, "0");
    EXPECT_TRUE(spread->getCheck(3, 1, checked));
    EXPECT_FALSE(checked);
    SSSetData(grid(), 3, 2, "yes");
    EXPECT_FALSE(spread->getCheck(3, 2, checked));
    SSSetData(grid(), 3, 3, "");
    EXPECT_FALSE(spread->getCheck(3, 3, checked)) << "an empty cell reads nothing";
    EXPECT_FALSE(spread->getDouble(3, 3, number));

    spread->setColumnBools(4, Kx_Array<bool>{true, false});
    Kx_Array<bool> bools;
    spread->getColumnBools(4, bools);
    EXPECT_EQ(bools, (Kx_Array<bool>{true, false, false, false}));

    ASSERT_TRUE(spread->setColumnCombo(5, Kx_StringArray{"x", "y", "z"}, false));
    EXPECT_FALSE(spread->setColumnCombo(7, Kx_StringArray{"x"}, false));
    spread->setColumnComboIndices(5, Kx_Array<int>{-3, 2, 5, 1});
    Kx_Array<int> indices;
    spread->getColumnComboIndices(5, indices);
    EXPECT_EQ(indices, (Kx_Array<int>{0, 2, 0, 1}));

    spread->setCheckLabelPairs(1, Kx_StringArray{"first", "second"}, Kx_Array<bool>{true});
    EXPECT_EQ(value(1, 1), "1");
    EXPECT_EQ(value(2, 1), "first");
    EXPECT_EQ(value(3, 1), "0") << "no check value for the second label: left as it was";
    EXPECT_EQ(value(4, 1), "second");
}

TEST_F(KxSpreadTest, FitModesShareTheClientWidth)
{
    fill(3, 2);
    SSSetBool(grid(), SSB_SHOWROWHEADERS, TRUE);
    RECT client;
    ASSERT_TRUE(SSGetClientRect(grid(), &client));
    const int width = client.right - client.left;

    spread->setFitMode(1);
    spread->fitToWindow();
    for (int col = 0; col <= 3; ++col)
        EXPECT_EQ(colWidth(col), width / 4) << col;

    spread->setFitMode(3, 2, 50);
    spread->fitToWindow();
    const int share = static_cast<int>(width * 50 * 0.01 / 2);
    EXPECT_EQ(colWidth(1), share);
    EXPECT_EQ(colWidth(2), share);
    EXPECT_EQ(colWidth(3), (width - 2 * share) / 2);
    EXPECT_EQ(colWidth(0), (width - 2 * share) / 2);
    spread->setFitMode(3, -1, 40);
    spread->fitToWindow();
    EXPECT_EQ(colWidth(3), static_cast<int>(width * 40 * 0.01));
    spread->setFitMode(3, 0, 40);
    spread->fitToWindow();  // no columns named: nothing changes, no division by zero
    EXPECT_EQ(colWidth(3), static_cast<int>(width * 40 * 0.01));

    spread->setFitMode(4, 2, 100);
    spread->fitToWindow();
    EXPECT_EQ(colWidth(2), 100);
    EXPECT_EQ(colWidth(1), (width - 100) / 3);
    EXPECT_EQ(colWidth(0), (width - 100) / 3);
    // The row-header column named while hidden: the three columns share the rest.
    SSSetBool(grid(), SSB_SHOWROWHEADERS, FALSE);
    spread->setFitMode(4, Kx_Spread::HEADER, 30);
    spread->fitToWindow();
    EXPECT_EQ(colWidth(1), (width - 30) / 3);

    SSSetBool(grid(), SSB_SHOWROWHEADERS, TRUE);
    spread->setFitColumns(5, Kx_Array<int>{1, 0}, Kx_Array<int>{50, 30});
    // A resize applies the mode.
    RECT r = GetWindowRectInParent(grid());
    MoveWindow(grid(), r.left, r.top, r.width() + 40, r.height());
    ASSERT_TRUE(SSGetClientRect(grid(), &client));
    const int wider = client.right - client.left;
    EXPECT_EQ(colWidth(1), 50);
    EXPECT_EQ(colWidth(0), 30);
    EXPECT_EQ(colWidth(2), (wider - 80) / 2);
    EXPECT_EQ(colWidth(3), (wider - 80) / 2);
}

TEST_F(KxSpreadTest, AutosizingMatchesTheWidestTextAndCanSkipComboCells)
{
    fill(2, 3);
    SSSetData(grid(), 1, 2, "a considerably longer text than the others");
    ASSERT_TRUE(spread->autoSizeColumn(1, /*skipType8=*/true));
    double perCell = 0;
    SSGetColWidth(grid(), 1, &perCell);
    ASSERT_TRUE(spread->autoSizeColumn(1, /*skipType8=*/false));
    double bulk = 0;
    SSGetColWidth(grid(), 1, &bulk);
    EXPECT_DOUBLE_EQ(bulk, perCell) << "the grid's scan and the cell loop agree";

    spread->setColumnCombo(1, Kx_StringArray{"a considerably longer text than the others", "b"}, true);
    SSSetData(grid(), 1, 2, "a considerably longer text than the others");
    spread->autoSizeColumn(1, /*skipType8=*/true);
    double skipped = 0;
    SSGetColWidth(grid(), 1, &skipped);
    EXPECT_LT(skipped, bulk);

    EXPECT_TRUE(spread->autoSizeAll());
    EXPECT_EQ(spread->getCellType(1, Kx_Spread::HEADER), SS_TYPE_STATICTEXT);
}

TEST_F(KxSpreadTest, TabLeavesTheGridOnlyAtItsEditableEdges)
{
    fill(3, 3);
    spread->setLock(1, 1, true);
    SSAddCellSpan(grid(), 2, 3, 2, 1);  // (3, 3) is covered: only the anchor takes input
    int col = 0, row = 0;
    ASSERT_TRUE(spread->firstEditableCell(col, row));
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(2, 1));
    ASSERT_TRUE(spread->lastEditableCell(col, row));
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(2, 3));

    int result = -1;
    SetFocus(GetDlgItem(owner->m_hWnd, 1));
    EXPECT_FALSE(spread->handleTabKey(VK_TAB, result)) << "the focus is not on the grid";
    EXPECT_EQ(result, 1);

    SetFocus(grid());
    SSSetActiveCell(grid(), 2, 3);
    EXPECT_TRUE(spread->handleTabKey(VK_TAB, result));
    EXPECT_EQ(result, Kx_Spread::kTabLeaveForward);
    SSSetActiveCell(grid(), 1, 3);
    EXPECT_TRUE(spread->handleTabKey(VK_TAB, result));
    EXPECT_EQ(result, Kx_Spread::kTabInside);
    EXPECT_FALSE(spread->handleTabKey(VK_RETURN, result));
    EXPECT_EQ(result, Kx_Spread::kTabNotHandled);

    SetKeyDown(VK_SHIFT, true);
    SSSetActiveCell(grid(), 2, 1);
    EXPECT_TRUE(spread->handleTabKey(VK_TAB, result));
    EXPECT_EQ(result, Kx_Spread::kTabLeaveBackward);
    SSSetActiveCell(grid(), 3, 1);
    EXPECT_TRUE(spread->handleTabKey(VK_TAB, result));
    EXPECT_EQ(result, Kx_Spread::kTabInside);
    SetKeyDown(VK_SHIFT, false);

    spread->hide();
    EXPECT_FALSE(spread->handleTabKey(VK_TAB, result));
    EXPECT_FALSE(spread->focusEdge(true));
    spread->show();
    ASSERT_TRUE(spread->focusEdge(false));
    EXPECT_EQ(GetFocus(), grid());
    SSGetActiveCell(grid(), &col, &row);
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(2, 3));
}

TEST_F(KxSpreadTest, CheckGuardLocksTheGuardedCellOfUncheckedRows)
{
    fill(3, 3);
    spread->setColumnCheckBox(1);
    spread->setColumnBools(1, Kx_Array<bool>{true, true, false});
    EXPECT_FALSE(spread->setCheckGuard(1, 4));
    ASSERT_TRUE(spread->setCheckGuard(1, 3));
    EXPECT_FALSE(SSGetLock(grid(), 3, 2));
    EXPECT_TRUE(SSGetLock(grid(), 3, 3));

    // The owner hands the grid's change notification on; the guard follows the box.
    const auto notify = [&](WORD code) {
        SendMessage(grid(), WM_COMMAND, MAKEWPARAM(kxtest::kPlaceholderId, code), reinterpret_cast<LPARAM>(grid()));
    };
    SSSetActiveCell(grid(), 1, 2);
    spread->setCheck(1, 2, false);
    notify(SSN_CELLCHANGED);
    EXPECT_TRUE(SSGetLock(grid(), 3, 2));
    spread->setCheck(1, 2, true);
    notify(SSN_BUTTONCLICKED);
    EXPECT_FALSE(SSGetLock(grid(), 3, 2));
    int col = 0, row = 0;
    SSGetActiveCell(grid(), &col, &row);
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(1, 2));
}

TEST_F(KxSpreadTest, CheckGuardFollowsTheUsersClicksWithoutTheOwnersHelp)
{
    fill(3, 3);
    spread->setStandardLook(1);
    spread->setColumnCheckBox(1);
    spread->setColumnBools(1, Kx_Array<bool>{true, true, false});
    ASSERT_TRUE(spread->setCheckGuard(1, 3));
    // The owner is a plain dialog that knows nothing of the guard; the grid notifies it as usual.
    int ownerHeard = 0;
    owner->onCommand(kxtest::kPlaceholderId, SSN_BUTTONCLICKED, [&] { ++ownerHeard; });
    ASSERT_FALSE(SSGetLock(grid(), 3, 2));
    // The user unchecks row 2's box (Space on the active check box, as a click does).
    SetFocus(grid());
    SSSetActiveCell(grid(), 1, 2);
    kxwin::sendUserInput(grid(), WM_KEYDOWN, VK_SPACE, 0);
    kxwin::sendUserInput(grid(), WM_KEYUP, VK_SPACE, 0);
    bool checked = true;
    ASSERT_TRUE(spread->getCheck(1, 2, checked));
    ASSERT_FALSE(checked);
    EXPECT_TRUE(SSGetLock(grid(), 3, 2));
    EXPECT_EQ(ownerHeard, 1) << "the owner still hears the notification";
    // A notification from another control of the owner is not the grid's.
    spread->setCheck(1, 2, true);
    SendMessage(owner->m_hWnd, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(owner->m_hWnd, 1)));
    EXPECT_TRUE(SSGetLock(grid(), 3, 2));
}

TEST_F(KxSpreadTest, F8FlipsTheTabOptionUnlessSwitchedOff)
{
    fill(2, 2);
    spread->setStandardLook(1);
    EXPECT_TRUE(SSGetBool(grid(), SSB_PROCESSTAB));
    kxwin::sendUserInput(grid(), WM_KEYDOWN, VK_F8, 0);
    EXPECT_FALSE(SSGetBool(grid(), SSB_PROCESSTAB));
    kxwin::sendUserInput(grid(), WM_KEYUP, VK_F8, 0);
    EXPECT_FALSE(SSGetBool(grid(), SSB_PROCESSTAB)) << "key-up does nothing";
    spread->setF8Toggles(false);
    kxwin::sendUserInput(grid(), WM_KEYDOWN, VK_F8, 0);
    EXPECT_FALSE(SSGetBool(grid(), SSB_PROCESSTAB));
    spread->setStandardLook(0);
    EXPECT_FALSE(SSGetBool(grid(), SSB_PROCESSTAB));
    EXPECT_TRUE(SSGetBool(grid(), SSB_EDITMODEPERMANENT));
}

TEST_F(KxSpreadTest, FindGoesInRowOrderIgnoringCase)
{
    fill(3, 3);
    SSSetData(grid(), 2, 1, "Alpha");
    SSSetData(grid(), 1, 3, "ALPHABET");
    SSSetData(grid(), 3, 2, "");
    int col = 0, row = 0;
    ASSERT_TRUE(spread->findNext("alp", 1, 1, col, row));
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(2, 1));
    ASSERT_TRUE(spread->findNext("alp", col + 1, row, col, row));
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(1, 3));
    EXPECT_FALSE(spread->findNext("alp", col + 1, row, col, row));
    ASSERT_TRUE(spread->findNext("3,", 9, 1, col, row)) << "past the last column: the next row";
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(3, 3)) << "the emptied cell is skipped";

    int start = 0, length = 0;
    ASSERT_TRUE(spread->findInCell("PHA", 1, 3, start, length, 0));
    EXPECT_EQ(std::make_pair(start, length), std::make_pair(2, 3));
    EXPECT_FALSE(spread->findInCell("PHA", 1, 3, start, length, 3));
}

TEST_F(KxSpreadTest, WholeGridSearchAndReadsAgreeWithCellByCellReading)
{
    // Mixed ASCII and accented texts, so both the direct comparison of ASCII cells and the core's
    // folding of the others are exercised.
    const char* words[] = {"abc", "ABD", "xÉy", "éa", "", "Straße", "STRASSE", "a\xff", "zz"};
    fill(5, 40);
    std::mt19937 random(7);
    for (int r = 1; r <= 40; ++r)
        for (int c = 1; c <= 5; ++c)
            SSSetData(grid(), c, r, words[random() % 9]);
    spread->setColumnNumber(5, 2, false);
    SSSetData(grid(), 5, 3, "1.005");

    for (const char* pattern : {"b", "AB", "é", "É", "xé", "ss", "ß", "\xff", "", "q"}) {
        int col = 1, row = 1;
        int startCol = 1, startRow = 1;
        while (true) {
            // Brute force: the next cell in row order whose text holds the pattern.
            int wantCol = -1, wantRow = -1;
            for (int r = startRow; r <= 40 && wantRow < 0; ++r) {
                for (int c = r == startRow ? startCol : 1; c <= 5; ++c) {
                    Kx_String text;
                    if (spread->getCellText(c, r, text) && text.hasSubString(pattern, false)) {
                        wantCol = c;
                        wantRow = r;
                        break;
                    }
                }
            }
            const bool found = spread->findNext(pattern, startCol, startRow, col, row);
            ASSERT_EQ(found, wantRow > 0) << pattern << " from " << startCol << "," << startRow;
            if (!found)
                break;
            ASSERT_EQ(std::make_pair(col, row), std::make_pair(wantCol, wantRow)) << pattern;
            startCol = col + 1;
            startRow = row;
        }
    }

    Kx_StringArray column;
    spread->getColumn(5, column);
    Kx_StringArray row;
    spread->getRow(3, row);
    for (int r = 1; r <= 40; ++r)
        EXPECT_EQ(column[r - 1].str(), value(5, r));
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(row[c - 1].str(), value(c, 3));
    Kx_StringArray data;
    spread->getColumn(5, data, Kx_Spread::kTextData);
    EXPECT_EQ(data[2].str(), this->data(5, 3));
}

TEST_F(KxSpreadTest, ReplaceAllEndsWhenTheReplacementHoldsTheSearchedText)
{
    fill(2, 3);
    SSSetData(grid(), 1, 1, "a");
    SSSetData(grid(), 2, 1, "banana");
    SSSetData(grid(), 1, 3, "A");
    EXPECT_EQ(spread->replaceAll("a", "aa"), 3);
    EXPECT_EQ(value(1, 1), "aa");
    EXPECT_EQ(value(2, 1), "baanaanaa");
    EXPECT_EQ(value(1, 3), "aa");
    EXPECT_EQ(value(2, 2), "2,2");
    EXPECT_TRUE(SSGetBool(grid(), SSB_CHANGEMADE));
    EXPECT_EQ(spread->replaceAll("", "x"), 0);
    EXPECT_EQ(spread->replaceAll("zzz", "x"), 0);
    EXPECT_FALSE(spread->replaceInCell(1, 2, "zzz", "x"));
}

TEST_F(KxSpreadTest, SelectedTextIsReplacedInTheActiveCell)
{
    fill(2, 2);
    SSSetData(grid(), 2, 2, "hello world");
    int start = 0, end = 0;
    EXPECT_FALSE(spread->getEditSelection(start, end)) << "not editing";
    EXPECT_FALSE(spread->replaceSelection("x"));
    ASSERT_TRUE(spread->findAndSelect("WORLD", 2, 2));
    ASSERT_TRUE(spread->getEditSelection(start, end));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(6, 11));
    ASSERT_TRUE(spread->replaceSelection("there"));
    EXPECT_EQ(value(2, 2), "hello there");
    EXPECT_FALSE(spread->findAndSelect("absent", 2, 2));
}

TEST_F(KxSpreadTest, InsertAsksForTheHeaderNameAndCancelKeepsTheRow)
{
    fill(2, 2);
    kxwin::UserAgent agent;
    std::string title, prompt;
    agent.onDialog(kxcore::kPromptDialogId, [&](kxwin::DialogDriver& d) {
        title = d.title();
        prompt = d.text(kxcore::kPromptLabelId);
        d.setText(kxcore::kPromptValueId, "Total").ok();
    });
    ASSERT_TRUE(spread->insertRow(2, /*copyNext=*/false, /*askName=*/true));
    EXPECT_EQ(title, dialString(171).str());
    EXPECT_EQ(prompt, (dialString(1151) + " " + dialString(1152) + ":").str());
    EXPECT_EQ(spread->getRowCount(), 3);
    EXPECT_EQ(value(0, 2), "Total");
    EXPECT_EQ(value(1, 2), "");
    EXPECT_EQ(value(1, 3), "1,2");

    agent.onDialog(kxcore::kPromptDialogId, [](kxwin::DialogDriver& d) { d.cancel(); });
    ASSERT_TRUE(spread->insertColumn(1, /*copyNext=*/true, /*askName=*/true));
    EXPECT_EQ(spread->getColCount(), 3);
    EXPECT_EQ(value(1, 1), "1,1") << "copied from the column pushed right";

    EXPECT_FALSE(spread->insertRow(5));
    EXPECT_FALSE(spread->insertRow(0));
    EXPECT_TRUE(spread->insertRow(4));
    EXPECT_EQ(spread->getRowCount(), 4);
    EXPECT_FALSE(spread->deleteRow(5));
    EXPECT_TRUE(spread->deleteRow(4));
    EXPECT_EQ(spread->getRowCount(), 3);
}

TEST_F(KxSpreadTest, SelectedRowMovesAndChecksFollowTheSelection)
{
    fill(3, 3);
    SSSetActiveCell(grid(), 2, 2);
    ASSERT_TRUE(spread->moveSelectedRowUp());
    EXPECT_EQ(value(1, 1), "1,2");
    EXPECT_EQ(value(1, 2), "1,1");
    EXPECT_EQ(spread->getSelectedRow(), 1);
    EXPECT_FALSE(spread->moveSelectedRowUp()) << "no row above the first";
    ASSERT_TRUE(spread->moveSelectedRowDown());
    EXPECT_EQ(value(1, 1), "1,1");

    spread->setColumnCheckBox(1);
    spread->setCheckBoxCell(3, 2);
    spread->selectRow(2);
    ASSERT_TRUE(spread->setChecksInSelection(true));
    EXPECT_EQ(value(1, 2), "1");
    EXPECT_EQ(value(2, 2), "2,2") << "only check-box cells change";
    EXPECT_EQ(value(3, 2), "1");
    EXPECT_EQ(value(1, 3), "") << "rows outside the selection stay unset";
}

} // namespace
