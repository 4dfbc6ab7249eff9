// The constraint editor's window-free rules: equations through the text box, variable names,
// selections after removals and the variables read back from the grid.
#include "constraints/ConstraintEditing.h"

#include <gtest/gtest.h>

using namespace kxconstr;

TEST(Equations, RoundTripThroughTheBoxUnchanged)
{
    const Kx_StringArray equations({"a = b + 2", "c = a * 0.5", "d=c"});
    EXPECT_EQ(splitEquations(joinEquations(equations).str()), equations);
    // Once more, as the box gives the text back after a second round.
    EXPECT_EQ(splitEquations(joinEquations(splitEquations(joinEquations(equations).str())).str()), equations);
}

TEST(Equations, SplitOnEveryLineEndAndDropEmptyLines)
{
    const Kx_StringArray expected({"a=1", "b=2", "c=3", "d=4"});
    EXPECT_EQ(splitEquations("a=1\r\nb=2\rc=3\nd=4"), expected);
    // The line feed then carriage return that older boxes wrote gives no empty equations.
    EXPECT_EQ(splitEquations("a=1\n\rb=2\n\r\n\rc=3\r\n\r\nd=4\n"), expected);
    EXPECT_TRUE(splitEquations("").isEmpty());
    EXPECT_TRUE(splitEquations("\r\n\n\r").isEmpty());
    // A line is kept as typed, blanks included.
    EXPECT_EQ(splitEquations(" x = 1 "), Kx_StringArray({" x = 1 "}));
}

TEST(VariableNames, CheckedInOrderInUseOperatorDigit)
{
    EXPECT_FALSE(checkVariableName("width", false));
    EXPECT_FALSE(checkVariableName("a1", false));

    const auto inUse = checkVariableName("width", true);
    ASSERT_TRUE(inUse);
    EXPECT_EQ(inUse->text.str().rfind("\"width\"\n", 0), 0u);
    // In use is reported before the other faults of the same name.
    const auto both = checkVariableName("1a+", true);
    ASSERT_TRUE(both);
    EXPECT_EQ(both->caption, checkVariableName("x", true)->caption);

    const auto op = checkVariableName("a+", false);
    ASSERT_TRUE(op);
    const auto digit = checkVariableName("1a", false);
    ASSERT_TRUE(digit);
    EXPECT_EQ(op->caption, digit->caption);
    EXPECT_NE(op->text, digit->text);
    for (const char* name : {"a-", "a*", "a/"})
        EXPECT_TRUE(checkVariableName(name, false)) << name;
    // Ends with an operator: checked before the leading digit.
    EXPECT_EQ(checkVariableName("1a-", false)->text.str().substr(6), op->text.str().substr(5));
}

TEST(Selection, AfterRemovingAModule)
{
    EXPECT_EQ(positionAfterRemoval(0, 2), 0);  // the first went: the new first
    EXPECT_EQ(positionAfterRemoval(2, 2), 1);  // the last went: the one before it
    EXPECT_EQ(positionAfterRemoval(1, 2), 1);  // the same position
    EXPECT_EQ(positionAfterRemoval(0, 0), -1); // the only one went: nothing
}

TEST(Selection, AfterDeletingAConstraint)
{
    EXPECT_EQ(rowAfterDelete(3, 4), 2); // the row above
    EXPECT_EQ(rowAfterDelete(1, 3), 1); // none above: the first
    EXPECT_EQ(rowAfterDelete(1, 0), 0); // the only one went: nothing
}

TEST(Sorting, PreviousColumnBeforeTheFirstSort)
{
    EXPECT_EQ(previousSortColumn(1, 0), 2);
    EXPECT_EQ(previousSortColumn(3, 0), 4);
    EXPECT_EQ(previousSortColumn(4, 0), 1);
    EXPECT_EQ(previousSortColumn(2, 4), 4);
}

TEST(ConstraintEdits, TextsCompareIgnoringCase)
{
    ConstraintRow stored;
    stored.varName = "Gap";
    stored.text2 = "x + 1";
    ConstraintRow shown = stored;
    shown.varName = "GAP";
    shown.text2 = "X + 1";
    EXPECT_FALSE(constraintDiffers(stored, shown));
    shown.enumChoice = 2;
    EXPECT_TRUE(constraintDiffers(stored, shown));
    shown = stored;
    shown.flag2 = true;
    EXPECT_TRUE(constraintDiffers(stored, shown));
}

TEST(VariablesFromGrid, UntouchedValuesKeepTheirPrecision)
{
    const Kx_Array<ConstraintVariable> before({{"gap", 0.125, 0}, {"angle", 33.3333333, 4}, {"w", 10.0, 0}});
    Kx_Array<VariableRow> rows;
    rows.append({"gap", true, 0.13, 0});        // shown rounded, not touched
    rows.append({"angle", true, 33.33, 4});     // shown rounded, not touched
    rows.append({"w", true, 12.5, 0});          // typed
    const auto after = variablesFromRows(rows, before, 2);
    ASSERT_EQ(after.length(), 3);
    EXPECT_EQ(after[0].value, 0.125);
    EXPECT_EQ(after[1].value, 33.3333333);
    EXPECT_EQ(after[2].value, 12.5);
    // Applying again changes nothing.
    EXPECT_EQ(variablesFromRows(rows, after, 2), after);
}

TEST(VariablesFromGrid, BlankRowsAreNoVariables)
{
    const Kx_Array<ConstraintVariable> before({{"gap", 0.125, 0}});
    Kx_Array<VariableRow> rows;
    rows.append({"gap", true, 0.13, 0});
    rows.append({"", false, 0.0, 0});     // an added row left empty
    rows.append({"  ", true, 4.0, 1});    // a number without a name
    rows.append({"h", false, 0.0, 2});    // a name without a number
    const auto after = variablesFromRows(rows, before, 2);
    ASSERT_EQ(after.length(), 2);
    EXPECT_EQ(after[0].name, Kx_String("gap"));
    EXPECT_EQ(after[1].name, Kx_String("h"));
    EXPECT_EQ(after[1].value, 0.0);
    EXPECT_EQ(after[1].kind, 2);
}

TEST(VariablesFromGrid, ARenamedRowTakesTheShownValue)
{
    // A row whose name changed is a new variable: the number it shows is what it gets.
    const Kx_Array<ConstraintVariable> before({{"gap", 0.125, 0}});
    Kx_Array<VariableRow> rows;
    rows.append({"gap2", true, 0.13, 0});
    EXPECT_EQ(variablesFromRows(rows, before, 2)[0].value, 0.13);
}

TEST(ContextMenu, SeparatorsDisabledItemsAndItemsBeyondSixPositions)
{
    const Kx_StringArray items({"Highlight", "%BREAK%", "Driven", "Delete", "A", "B", "Seventh", "Eighth"});
    const Kx_Array<int> ids({1, 0, 2, 3, 4, 5, 6, 7});
    const std::vector<int> kinds = contextMenuKinds(items, ids, Kx_Array<int>({2}));
    EXPECT_EQ(kinds, (std::vector<int>{1, 5, 4, 1, 1, 1, 4, 4}));
    // An item without an id cannot be chosen either.
    EXPECT_EQ(contextMenuKinds(Kx_StringArray({"A", "B"}), Kx_Array<int>({9}), {}), (std::vector<int>{1, 4}));
}
