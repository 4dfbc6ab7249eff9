// Volatile functions (RAND, RANDBETWEEN): their formulas and everything depending on them are
// recalculated on every recalculation, whatever changed; formulas without them are not. Values are
// random, so the tests check properties that hold for every draw.
#include "FormulaTestSupport.h"

#include <cmath>
#include <set>
#include <string>

namespace {

using kxtest::sameValue;
using kxtest::Sheet;

TEST(Volatile, RandIsDrawnAgainOnEveryRecalculationWithItsDependents)
{
    Sheet sheet;
    sheet.formula("A1", "=RAND()");
    sheet.formula("B1", "=A1*2");
    sheet.formula("C1", "=D1+1"); // not volatile, not downstream of A1
    std::set<double> seen;
    for (int i = 0; i < 20; ++i) {
        const std::size_t before = sheet.engine.evaluationCount();
        sheet.number("X1", i); // a change nobody reads
        EXPECT_EQ(sheet.engine.evaluationCount() - before, 2u) << "RAND and what reads it, nothing else";
        const double a = sheet.value("A1").asNumber();
        EXPECT_GE(a, 0.0);
        EXPECT_LT(a, 1.0);
        EXPECT_DOUBLE_EQ(sheet.value("B1").asNumber(), 2 * a);
        seen.insert(a);
    }
    EXPECT_GT(seen.size(), 10u) << "a new number on each recalculation";
}

TEST(Volatile, OnlyVolatileFormulasPayOnceTheyAreGone)
{
    Sheet sheet;
    sheet.formula("A1", "=RAND()+0");
    sheet.formula("B1", "=A1");
    sheet.formula("A1", "=5"); // replaced by a constant formula
    std::size_t before = sheet.engine.evaluationCount();
    sheet.number("X1", 1);
    sheet.number("X1", 2);
    EXPECT_EQ(sheet.engine.evaluationCount(), before);
    EXPECT_TRUE(sameValue(sheet.value("B1"), "5"));

    // A volatile call nested anywhere in the formula makes the whole formula volatile.
    sheet.formula("C1", "=IF(TRUE,1,RANDBETWEEN(1,9))");
    before = sheet.engine.evaluationCount();
    sheet.number("X1", 3);
    EXPECT_EQ(sheet.engine.evaluationCount() - before, 1u);
}

TEST(Volatile, RandBetweenStaysWithinItsBoundsAndVaries)
{
    Sheet sheet;
    sheet.formula("A1", "=RANDBETWEEN(1,6)");
    sheet.formula("A2", "=RANDBETWEEN(-3.5,-1.5)"); // -3 and -2 only
    std::set<double> faces, negatives;
    for (int i = 0; i < 200; ++i) {
        sheet.engine.recalculateDue();
        const double x = sheet.value("A1").asNumber();
        EXPECT_EQ(x, std::floor(x));
        EXPECT_GE(x, 1.0);
        EXPECT_LE(x, 6.0);
        faces.insert(x);
        negatives.insert(sheet.value("A2").asNumber());
    }
    EXPECT_EQ(faces.size(), 6u);
    EXPECT_EQ(negatives, (std::set<double>{-3, -2}));
}

TEST(Volatile, ManualRecalculationLeavesRandAloneUntilAsked)
{
    Sheet sheet;
    sheet.formula("A1", "=RAND()");
    sheet.engine.setAutoRecalc(false);
    const double first = sheet.value("A1").asNumber();
    sheet.number("X1", 1);
    EXPECT_EQ(sheet.value("A1").asNumber(), first);
    sheet.engine.recalculate();
    EXPECT_NE(sheet.value("A1").asNumber(), first);
}

} // namespace

namespace {

// INDIRECT reads a cell the dependency graph does not link it to; it must still see that cell's
// new value, even when the cell sits at the end of a chain the change runs through.
TEST(Volatile, IndirectSeesTheCellItNamesUpToDate)
{
    Sheet sheet;
    sheet.formula("B1", "=A1*2");
    for (int r = 2; r <= 5; ++r)
        sheet.formula("B" + std::to_string(r), "=B" + std::to_string(r - 1) + "+1");
    sheet.formula("C1", "=INDIRECT(\"B5\")");
    sheet.formula("C2", "=C1*10");
    sheet.formula("D1", "=SUM(OFFSET(B1,0,0,5,1))");
    for (int a = 1; a <= 5; ++a) {
        sheet.number("A1", a);
        EXPECT_TRUE(sameValue(sheet.value("C1"), std::to_string(2 * a + 4))) << a;
        EXPECT_TRUE(sameValue(sheet.value("C2"), std::to_string(10 * (2 * a + 4)))) << a;
        EXPECT_TRUE(sameValue(sheet.value("D1"), std::to_string(5 * 2 * a + 10))) << a;
    }
    // Pointed elsewhere by the text it reads.
    sheet.text("E1", "A1");
    sheet.formula("C3", "=INDIRECT(E1)");
    EXPECT_TRUE(sameValue(sheet.value("C3"), "5"));
    sheet.text("E1", "B1");
    EXPECT_TRUE(sameValue(sheet.value("C3"), "10"));
}

// Cycles made through INDIRECT and OFFSET cannot be seen in the graph; they must neither hang nor
// crash, and every recalculation ends.
TEST(Volatile, CyclesThroughIndirectEnd)
{
    Sheet sheet;
    sheet.formula("A1", "=INDIRECT(\"A1\")+1");
    sheet.formula("B1", "=INDIRECT(\"B2\")+1");
    sheet.formula("B2", "=OFFSET(B1,0,0)+1");
    for (int i = 0; i < 50; ++i)
        sheet.number("X1", i);
    for (const char* cell : {"A1", "B1", "B2"}) {
        const auto v = sheet.value(cell);
        EXPECT_TRUE(v.isNumber() || v.isError()) << cell;
    }
}

} // namespace
