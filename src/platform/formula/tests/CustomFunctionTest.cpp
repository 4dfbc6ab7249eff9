// Custom functions: registration by name, the arguments they receive (values and references with
// their place), argument counts, "no value", failures, functions that change the sheet while it is
// recalculated, and functions that evaluate further sheets calling themselves again.
#include "FormulaTestSupport.h"

#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

using kxformula::CustomArgument;
using kxformula::Value;
using kxtest::sameValue;
using kxtest::Sheet;

TEST(CustomFunctions, ReceiveValuesAndReferencesWithTheirPlace)
{
    Sheet sheet;
    sheet.number("B3", 7);
    std::vector<CustomArgument> seen;
    int calledFromCol = 0, calledFromRow = 0;
    const auto fromTable = [&](std::span<const CustomArgument> args, int col, int row) {
        seen.assign(args.begin(), args.end());
        calledFromCol = col;
        calledFromRow = row;
        return Value::text("found");
    };
    ASSERT_TRUE(sheet.engine.registerFunction("fromTable", 2, 5, fromTable));
    sheet.formula("E5", "=FROMTABLE(\"t.sss\",B3,C1:D4,1+1,)");
    EXPECT_TRUE(sameValue(sheet.value("E5"), "\"found\""));
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_FALSE(seen[0].isReference);
    EXPECT_EQ(seen[0].value.asText(), "t.sss");
    EXPECT_TRUE(seen[1].isReference);
    EXPECT_EQ(seen[1].column, 2);
    EXPECT_EQ(seen[1].row, 3);
    EXPECT_EQ(seen[1].lastColumn, 2);
    EXPECT_EQ(seen[1].value.asNumber(), 7);
    EXPECT_TRUE(seen[2].isReference);
    EXPECT_EQ(seen[2].column, 3);
    EXPECT_EQ(seen[2].row, 1);
    EXPECT_EQ(seen[2].lastColumn, 4);
    EXPECT_EQ(seen[2].lastRow, 4);
    EXPECT_TRUE(seen[2].value.isEmpty());
    EXPECT_EQ(seen[3].value.asNumber(), 2);
    EXPECT_TRUE(seen[4].value.isEmpty()) << "an omitted argument";
    EXPECT_EQ(calledFromCol, 5);
    EXPECT_EQ(calledFromRow, 5);
    // The function depends on its reference arguments like any formula.
    seen.clear();
    sheet.number("B3", 8);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[1].value.asNumber(), 8);
}

TEST(CustomFunctions, NamesFollowTheRules)
{
    Sheet sheet;
    const auto fn = [](std::span<const CustomArgument>, int, int) { return Value::number(1); };
    EXPECT_FALSE(sheet.engine.registerFunction("SUM", 0, 1, fn)) << "built-in names stay built in";
    EXPECT_FALSE(sheet.engine.registerFunction("", 0, 1, fn));
    EXPECT_FALSE(sheet.engine.registerFunction("1ABC", 0, 1, fn));
    EXPECT_FALSE(sheet.engine.registerFunction("A B", 0, 1, fn));
    EXPECT_FALSE(sheet.engine.registerFunction("OK", 2, 1, fn));
    EXPECT_FALSE(sheet.engine.registerFunction("OK", -1, 1, fn));
    EXPECT_FALSE(sheet.engine.registerFunction("OK", 0, 256, fn));
    EXPECT_FALSE(sheet.engine.registerFunction("OK", 0, 1, nullptr));
    EXPECT_TRUE(sheet.engine.registerFunction("my_fn.2", 0, 1, fn));
    EXPECT_TRUE(sheet.engine.isFunctionRegistered("MY_FN.2"));
    sheet.formula("A1", "=My_Fn.2()");
    EXPECT_TRUE(sameValue(sheet.value("A1"), "1"));
}

TEST(CustomFunctions, FormulasNameThemBeforeTheyExist)
{
    Sheet sheet;
    sheet.formula("A1", "=LATER(2)*10");
    EXPECT_TRUE(sameValue(sheet.value("A1"), "#NAME?"));
    ASSERT_TRUE(sheet.engine.registerFunction("later", 1, 1, [](std::span<const CustomArgument> a, int, int) {
        return Value::number(a[0].value.asNumber() + 1);
    }));
    EXPECT_TRUE(sameValue(sheet.value("A1"), "30")) << "registering recalculates its callers";
    sheet.engine.clearCustomFunctions();
    EXPECT_TRUE(sameValue(sheet.value("A1"), "#NAME?"));
    EXPECT_FALSE(sheet.engine.unregisterFunction("later"));
}

TEST(CustomFunctions, CountsNoValueAndFailures)
{
    Sheet sheet;
    using Args = std::span<const CustomArgument>;
    sheet.engine.registerFunction("TWOTOFOUR", 2, 4, [](Args, int, int) { return Value::number(1); });
    sheet.engine.registerFunction("NOTHING", 0, 0, [](Args, int, int) { return Value(); });
    sheet.engine.registerFunction("THROWS", 0, 0, [](Args, int, int) -> Value { throw std::runtime_error("broken"); });
    sheet.engine.registerFunction("NAN", 0, 0, [](Args, int, int) { return Value::number(std::nan("")); });
    sheet.formula("A1", "=TWOTOFOUR(1)");
    sheet.formula("A2", "=TWOTOFOUR(1,2,3,4,5)");
    sheet.formula("A3", "=TWOTOFOUR(1,2)");
    sheet.formula("A4", "=NOTHING()");
    sheet.formula("A5", "=NOTHING()+1");
    sheet.formula("A6", "=THROWS()");
    sheet.formula("A7", "=NAN()");
    sheet.formula("A8", "=TWOTOFOUR(1/0,2)");
    EXPECT_TRUE(sameValue(sheet.value("A1"), "#VALUE!"));
    EXPECT_TRUE(sameValue(sheet.value("A2"), "#VALUE!"));
    EXPECT_TRUE(sameValue(sheet.value("A3"), "1"));
    EXPECT_TRUE(sheet.value("A4").isEmpty()) << "no value leaves the cell empty";
    EXPECT_TRUE(sameValue(sheet.value("A5"), "1"));
    EXPECT_TRUE(sameValue(sheet.value("A6"), "#VALUE!"));
    EXPECT_TRUE(sameValue(sheet.value("A7"), "#NUM!"));
    EXPECT_TRUE(sameValue(sheet.value("A8"), "1")) << "errors reach the function as values";
}

TEST(CustomFunctions, MayWriteIntoTheSheetWhileItIsRecalculated)
{
    Sheet sheet;
    // Like a lookup that writes its result into a cell named by its last argument.
    sheet.engine.registerFunction("PUT", 2, 2, [&sheet](std::span<const CustomArgument> args, int, int) {
        if (args[1].isReference) {
            sheet.store.setValue(args[1].column, args[1].row, args[0].value);
            sheet.engine.cellChanged(args[1].column, args[1].row);
        }
        return Value();
    });
    sheet.formula("B1", "=C1*2");
    sheet.number("A1", 21);
    sheet.formula("A2", "=PUT(A1,C1)");
    EXPECT_TRUE(sameValue(sheet.value("C1"), "21"));
    EXPECT_TRUE(sameValue(sheet.value("B1"), "42")) << "what depends on the written cell follows";
    sheet.number("A1", 5);
    EXPECT_TRUE(sameValue(sheet.value("B1"), "10"));
    // A function that replaces its own formula while it runs.
    sheet.engine.registerFunction("SELFREPLACE", 0, 0, [&sheet](std::span<const CustomArgument>, int col, int row) {
        sheet.engine.setFormula(col, row, "=99");
        return Value::number(1);
    });
    sheet.formula("D1", "=SELFREPLACE()");
    EXPECT_TRUE(sameValue(sheet.value("D1"), "99"));
    EXPECT_EQ(sheet.formulaText("D1"), "99");
}

TEST(CustomFunctions, NestedEvaluationStopsAtItsDepth)
{
    // Each call evaluates a fresh sheet whose formula calls the function again, as a table file
    // that looks itself up would: the chain ends with #CYCLE! instead of exhausting the stack.
    int deepest = 0;
    std::function<Value(std::span<const CustomArgument>, int, int)> lookup;
    lookup = [&](std::span<const CustomArgument>, int, int) {
        auto inner = std::make_unique<Sheet>(3, 3);
        inner->engine.registerFunction("LOOKSELF", 0, 0, lookup);
        ++deepest;
        inner->formula("A1", "=LOOKSELF()");
        return inner->value("A1");
    };
    Sheet sheet;
    sheet.engine.registerFunction("LOOKSELF", 0, 0, lookup);
    sheet.formula("A1", "=LOOKSELF()");
    EXPECT_TRUE(sameValue(sheet.value("A1"), "#CYCLE!"));
    EXPECT_EQ(deepest, kxformula::kMaxCustomNesting);
}

TEST(CustomFunctions, EvaluateWorksInsideACustomFunction)
{
    Sheet sheet;
    sheet.number("A1", 4);
    sheet.engine.registerFunction("TWICE", 1, 1, [&sheet](std::span<const CustomArgument> args, int col, int row) {
        const Value doubled = sheet.engine.evaluate("=A1*2", col, row);
        return Value::number(doubled.asNumber() + args[0].value.asNumber());
    });
    sheet.formula("B1", "=TWICE(1)");
    EXPECT_TRUE(sameValue(sheet.value("B1"), "9"));
}

} // namespace
