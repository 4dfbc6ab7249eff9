// Recalculation: only what depends on a change, in dependency order, through cells and ranges;
// automatic recalculation off and on; whole-sheet and single-cell recalculation; cycles; long
// chains; replaced and removed formulas; lookup indexes kept in step with their tables.
#include "FormulaTestSupport.h"

#include <map>
#include <new>
#include <random>
#include <string>

namespace {

using kxformula::RefStyle;
using kxtest::sameValue;
using kxtest::Sheet;

std::string row(int r)
{
    return std::to_string(r);
}

TEST(Recalc, AChangeRecalculatesOnlyItsDependents)
{
    Sheet sheet;
    sheet.number("A1", 1);
    sheet.formula("B1", "=A1*2");
    sheet.formula("C1", "=B1+1");
    for (int r = 2; r <= 100; ++r)
        sheet.formula("D" + row(r), "=E" + row(r) + "+1");
    sheet.store.resetCounters();
    const std::size_t before = sheet.engine.evaluationCount();
    sheet.number("A1", 5);
    EXPECT_TRUE(sameValue(sheet.value("C1"), "11"));
    EXPECT_EQ(sheet.engine.evaluationCount() - before, 2u);
    EXPECT_EQ(sheet.store.computedWrites(), 2u);
}

TEST(Recalc, DependencyOrderDoesNotDependOnEntryOrder)
{
    Sheet sheet;
    sheet.formula("D1", "=B1+C1"); // entered before what it reads
    sheet.formula("C1", "=A1*2");
    sheet.formula("B1", "=A1+1");
    sheet.number("A1", 3);
    EXPECT_TRUE(sameValue(sheet.value("D1"), "10"));
    const std::size_t before = sheet.engine.evaluationCount();
    sheet.number("A1", 4);
    EXPECT_TRUE(sameValue(sheet.value("D1"), "13"));
    EXPECT_EQ(sheet.engine.evaluationCount() - before, 3u) << "the diamond's bottom is evaluated once";
}

TEST(Recalc, RangesCarryDependenciesSmallAndLarge)
{
    Sheet sheet(4, 200000);
    for (int r = 1; r <= 100; ++r)
        sheet.number("A" + row(r), 1);
    sheet.formula("B1", "=SUM(A1:A10)");      // filed cell by cell
    sheet.formula("B2", "=SUM(A1:A100)");     // one range node
    sheet.formula("B3", "=SUM($A$1:$A$150000)"); // a range in many buckets
    sheet.formula("C1", "=SUM(B1:B3)");
    EXPECT_TRUE(sameValue(sheet.value("C1"), "210"));
    sheet.number("A5", 11);
    EXPECT_TRUE(sameValue(sheet.value("B1"), "20"));
    EXPECT_TRUE(sameValue(sheet.value("C1"), "240"));
    const std::size_t before = sheet.engine.evaluationCount();
    sheet.number("A99", 2);
    EXPECT_EQ(sheet.engine.evaluationCount() - before, 3u); // B2, B3, C1
    sheet.number("A149999", 1);
    EXPECT_TRUE(sameValue(sheet.value("B3"), "112"));
    EXPECT_TRUE(sameValue(sheet.value("B2"), "111"));
}

TEST(Recalc, WithAutomaticRecalculationOffChangesWaitUntilAsked)
{
    Sheet sheet;
    sheet.engine.setAutoRecalc(false);
    sheet.number("A1", 1);
    sheet.formula("B1", "=A1+1");
    sheet.formula("C1", "=B1*10");
    sheet.formula("D1", "=7");
    EXPECT_TRUE(sheet.engine.recalculateCell(4, 1));
    EXPECT_TRUE(sheet.value("C1").isEmpty());
    EXPECT_TRUE(sheet.engine.isDue(3, 1));
    EXPECT_TRUE(sheet.engine.recalculateCell(2, 1)); // B1 only: C1 stays due
    EXPECT_TRUE(sameValue(sheet.value("B1"), "2"));
    EXPECT_TRUE(sheet.value("C1").isEmpty());
    EXPECT_TRUE(sheet.engine.recalculateCell(3, 1)); // C1 after nothing due upstream
    EXPECT_TRUE(sameValue(sheet.value("C1"), "20"));
    sheet.number("A1", 2);
    EXPECT_TRUE(sheet.engine.isDue(2, 1));
    EXPECT_TRUE(sheet.engine.isDue(3, 1));
    EXPECT_FALSE(sheet.engine.isDue(4, 1));
    EXPECT_TRUE(sheet.engine.recalculateCell(3, 1)); // takes B1 along
    EXPECT_TRUE(sameValue(sheet.value("C1"), "30"));
    EXPECT_FALSE(sheet.engine.isDue(2, 1));
    EXPECT_FALSE(sheet.engine.recalculateCell(9, 9)) << "no formula there";
    sheet.number("A1", 3);
    sheet.engine.recalculateDue();
    EXPECT_TRUE(sameValue(sheet.value("C1"), "40"));
    sheet.engine.setAutoRecalc(true);
    sheet.number("A1", 4);
    EXPECT_TRUE(sameValue(sheet.value("C1"), "50"));
}

TEST(Recalc, WholeSheetRecalculationSeesStoreChangesItWasNotToldAbout)
{
    Sheet sheet;
    sheet.number("A1", 1);
    sheet.formula("B1", "=A1+1");
    sheet.store.setValue(1, 1, kxformula::Value::number(41)); // no cellChanged
    EXPECT_TRUE(sameValue(sheet.value("B1"), "2"));
    sheet.engine.recalculate();
    EXPECT_TRUE(sameValue(sheet.value("B1"), "42"));
}

TEST(Recalc, ReplacedAndRemovedFormulasStopListening)
{
    Sheet sheet;
    sheet.number("A1", 1);
    sheet.number("A2", 100);
    sheet.formula("B1", "=A1");
    sheet.formula("B1", "=A2");
    sheet.formula("C1", "=B1+1");
    const std::size_t before = sheet.engine.evaluationCount();
    sheet.number("A1", 2);
    EXPECT_EQ(sheet.engine.evaluationCount(), before) << "B1 no longer reads A1";
    EXPECT_TRUE(sheet.engine.removeFormula(2, 1));
    EXPECT_FALSE(sheet.engine.removeFormula(2, 1));
    sheet.store.setValue(2, 1, kxformula::Value::number(5));
    sheet.engine.cellChanged(2, 1);
    EXPECT_TRUE(sameValue(sheet.value("C1"), "6"));
    sheet.number("A2", 7);
    EXPECT_TRUE(sameValue(sheet.value("C1"), "6"));
    // Replacing one formula many times keeps the graph small and right.
    for (int i = 0; i < 100000; ++i)
        sheet.formula("B2", i % 2 ? "=A1" : "=A2");
    sheet.formula("C2", "=B2*2");
    sheet.number("A1", 21);
    EXPECT_TRUE(sameValue(sheet.value("C2"), "42")) << "the last entered B2 reads A1";
}

TEST(Recalc, ABatchEvaluatesEachFormulaOnce)
{
    Sheet sheet(2, 10000);
    {
        kxformula::Engine::UpdateBatch batch(sheet.engine);
        for (int r = 10000; r >= 2; --r) // entered from the end: each reads a formula not yet there
            sheet.formula("A" + row(r), "=A" + row(r - 1) + "+1");
        sheet.number("A1", 1);
        EXPECT_TRUE(sheet.value("A10000").isEmpty());
    }
    EXPECT_TRUE(sameValue(sheet.value("A10000"), "10000"));
    EXPECT_EQ(sheet.engine.evaluationCount(), 9999u);
}

TEST(Recalc, LongChainsNeedNoRecursion)
{
    const int n = 100000;
    Sheet sheet(1, n);
    sheet.number("A1", 0);
    for (int r = 2; r <= n; ++r)
        sheet.formula("A" + row(r), "=A" + row(r - 1) + "+1");
    sheet.number("A1", 1);
    EXPECT_TRUE(sameValue(sheet.value("A" + row(n)), std::to_string(n)));
    EXPECT_TRUE(sheet.engine.recalculateCell(1, n));
}

// The reference model: the same constants and formulas entered into a fresh sheet and recalculated
// whole. Incremental recalculation after any sequence of edits must agree with it cell for cell.
TEST(Recalc, IncrementalRecalculationAgreesWithAFreshSheet)
{
    const int columns = 6, rows = 24;
    std::mt19937 random(20240607);
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)) + 1; };
    const auto cell = [](int c, int r) { return std::string(1, static_cast<char>('A' + c - 1)) + std::to_string(r); };
    const auto randomFormula = [&]() -> std::string {
        const std::string a = cell(pick(columns), pick(rows)), b = cell(pick(columns), pick(rows));
        const int r1 = pick(rows), r2 = pick(rows);
        switch (pick(8)) {
        case 1: return "=" + a + "+" + b;
        case 2: return "=SUM(A" + std::to_string(std::min(r1, r2)) + ":C" + std::to_string(std::max(r1, r2)) + ")";
        case 3: return "=IF(" + a + ">5," + b + ",-" + a + ")";
        case 4: return "=COUNTIF($B$1:$B$24,\">\"&" + a + ")";
        case 5: return "=IFERROR(MATCH(" + a + ",$D$1:$D$24,0),0)";
        case 6: return "=" + a + "*2&\"\"";
        case 7: return "=IFERROR(" + a + ",1)+COUNT(E1:F24)";
        default: return "=MAX(" + a + ":" + b + ")";
        }
    };
    Sheet sheet(columns, rows);
    std::map<std::pair<int, int>, std::string> formulas;
    std::map<std::pair<int, int>, double> constants;
    for (int step = 0; step < 600; ++step) {
        const int c = pick(columns), r = pick(rows);
        const int action = pick(10);
        if (action <= 5) {
            const std::string f = randomFormula();
            formulas[{c, r}] = f;
            constants.erase({c, r});
            sheet.engine.setFormula(c, r, f);
        } else if (action <= 8) {
            const double x = pick(10);
            formulas.erase({c, r});
            constants[{c, r}] = x;
            sheet.engine.removeFormula(c, r);
            sheet.store.setValue(c, r, kxformula::Value::number(x));
            sheet.engine.cellChanged(c, r);
        } else {
            sheet.engine.setAutoRecalc(false);
            for (int k = 0; k < 5; ++k) {
                const int cc = pick(columns), rr = pick(rows);
                if (formulas.count({cc, rr}))
                    continue;
                constants[{cc, rr}] = pick(10);
                sheet.store.setValue(cc, rr, kxformula::Value::number(constants[{cc, rr}]));
                sheet.engine.cellChanged(cc, rr);
            }
            sheet.engine.setAutoRecalc(true);
            sheet.engine.recalculateDue();
        }
        if (step % 3 != 0)
            continue;
        Sheet fresh(columns, rows);
        {
            kxformula::Engine::UpdateBatch batch(fresh.engine);
            for (const auto& [at, x] : constants)
                fresh.store.setValue(at.first, at.second, kxformula::Value::number(x));
            for (const auto& [at, f] : formulas)
                fresh.engine.setFormula(at.first, at.second, f);
        }
        for (const auto& [at, f] : formulas)
            ASSERT_EQ(kxtest::describe(sheet.store.valueAt(at.first, at.second)),
                      kxtest::describe(fresh.store.valueAt(at.first, at.second)))
                << cell(at.first, at.second) << " " << f << " at step " << step;
    }
}

TEST(Cycles, CellsOnACycleShowTheCycleError)
{
    Sheet sheet;
    sheet.formula("A1", "=B1+1");
    sheet.formula("B1", "=A1+1");
    sheet.formula("C1", "=C1+1");          // itself
    sheet.formula("D1", "=SUM(D2:D20,D1)"); // through a range
    sheet.formula("E1", "=A1*2");          // behind the cycle
    sheet.formula("F1", "=IFERROR(A1,5)"); // catches it
    sheet.formula("G1", "=IF(FALSE,G1,3)"); // names itself even if it never reads itself
    for (const char* cell : {"A1", "B1", "C1", "D1", "E1", "G1"})
        EXPECT_TRUE(sameValue(sheet.value(cell), "#CYCLE!")) << cell;
    EXPECT_TRUE(sameValue(sheet.value("F1"), "5"));
    sheet.formula("B1", "=10"); // the cycle is broken
    EXPECT_TRUE(sameValue(sheet.value("A1"), "11"));
    EXPECT_TRUE(sameValue(sheet.value("E1"), "22"));
    EXPECT_TRUE(sameValue(sheet.value("F1"), "11"));
    sheet.engine.recalculate();
    EXPECT_TRUE(sameValue(sheet.value("C1"), "#CYCLE!"));
    EXPECT_TRUE(sameValue(sheet.value("A1"), "11"));
}

TEST(Cycles, ALongCycleIsFoundWithoutRecursion)
{
    const int n = 100000;
    Sheet sheet(2, n);
    {
        kxformula::Engine::UpdateBatch batch(sheet.engine);
        for (int r = 1; r < n; ++r)
            sheet.formula("A" + row(r), "=A" + row(r + 1));
        sheet.formula("A" + row(n), "=A1");
    }
    sheet.formula("B1", "=A500+1");
    EXPECT_TRUE(sameValue(sheet.value("A1"), "#CYCLE!"));
    EXPECT_TRUE(sameValue(sheet.value("A" + row(n)), "#CYCLE!"));
    EXPECT_TRUE(sameValue(sheet.value("B1"), "#CYCLE!"));
    EXPECT_TRUE(sheet.engine.recalculateCell(2, 1));
    EXPECT_TRUE(sameValue(sheet.value("B1"), "#CYCLE!"));
}

TEST(Lookups, IndexesFollowChangesOfTheirTables)
{
    Sheet sheet(4, 200);
    for (int r = 1; r <= 200; ++r) {
        sheet.text("A" + row(r), "key" + row(r));
        sheet.number("B" + row(r), r);
    }
    sheet.formula("C1", "=VLOOKUP(\"KEY150\",A1:B200,2,FALSE)");
    sheet.formula("C2", "=MATCH(\"key7\",A1:A200,0)");
    sheet.formula("A100", "=\"key\"&(D1+1)"); // a formula inside the indexed column
    EXPECT_TRUE(sameValue(sheet.value("C1"), "150"));
    sheet.text("A50", "key150"); // an earlier row now matches first
    EXPECT_TRUE(sameValue(sheet.value("C1"), "50"));
    sheet.text("A50", "other");
    EXPECT_TRUE(sameValue(sheet.value("C1"), "150"));
    EXPECT_TRUE(sameValue(sheet.value("C2"), "7"));
    sheet.number("D1", 6); // A100 computes "key7" and comes before nothing: row 7 still first
    EXPECT_TRUE(sameValue(sheet.value("C2"), "7"));
    sheet.text("A7", "gone");
    EXPECT_TRUE(sameValue(sheet.value("C2"), "100"));
    sheet.number("D1", 9);
    EXPECT_TRUE(sameValue(sheet.value("C2"), "#N/A"));
}

// Random edits of a searched column with many repeated keys: after every edit each lookup must
// give what a plain scan of the column gives, whatever the index kept from before.
TEST(Lookups, IndexesAgreeWithAScanAfterEveryEdit)
{
    constexpr int kRows = 100, kKeys = 6;
    Sheet sheet(8, kRows + 10);
    for (int r = 1; r <= kRows; ++r)
        sheet.text("A" + row(r), "k" + row(r % kKeys));
    for (int k = 0; k < kKeys; ++k) {
        sheet.formula("C" + row(k + 1), "=MATCH(\"K" + row(k) + "\",A1:A" + row(kRows) + ",0)");
        sheet.formula("D" + row(k + 1), "=IFNA(XMATCH(" + row(k) + ",A1:A" + row(kRows) + "),0)");
        sheet.formula("E" + row(k + 1), "=IFNA(VLOOKUP(\"k" + row(k) + "\",A1:B" + row(kRows) + ",2,FALSE),0)");
    }
    // First row (from 1) whose cell holds the text "k<key>" in any case (or the number key), else 0.
    const auto scan = [&](int key, bool number) {
        for (int r = 1; r <= kRows; ++r) {
            const kxformula::Value v = sheet.value("A" + row(r));
            if (number ? v.isNumber() && v.asNumber() == key
                       : v.isText() && (v.asText() == "k" + row(key) || v.asText() == "K" + row(key)))
                return r;
        }
        return 0;
    };
    std::mt19937 random(29);
    for (int step = 0; step < 300; ++step) {
        const int r = 1 + static_cast<int>(random() % kRows);
        const int key = static_cast<int>(random() % kKeys);
        const std::string cell = "A" + row(r);
        sheet.engine.removeFormula(1, r);
        sheet.number("B" + row(r), step); // beside the key: the index must not care
        switch (random() % 5) {
        case 0: sheet.text(cell, "k" + row(key)); break;
        case 1: sheet.text(cell, "K" + row(key)); break;
        case 2: sheet.number(cell, key); break;
        case 3: sheet.set(cell, kxformula::Value()); break; // cleared
        default:
            sheet.formula(cell, "=IF($H$1,\"k\"&" + row(key) + "," + row(key) + ")"); // text or number by H1
            sheet.set("H1", kxformula::Value::boolean(random() % 2 == 0));
        }
        for (int k = 0; k < kKeys; ++k) {
            const int text = scan(k, false), number = scan(k, true);
            ASSERT_TRUE(sameValue(sheet.value("C" + row(k + 1)), text ? row(text) : "#N/A"))
                << "step " << step << ", text key " << k;
            ASSERT_TRUE(sameValue(sheet.value("D" + row(k + 1)), row(number))) << "step " << step << ", number " << k;
            const kxformula::Value found = text ? sheet.value("B" + row(text)) : kxformula::Value();
            ASSERT_TRUE(sameValue(sheet.value("E" + row(k + 1)), found.isEmpty() ? "0" : kxtest::describe(found)))
                << "step " << step << ", VLOOKUP of key " << k;
        }
    }
}

TEST(Lookups, RowIndexesFollowTheirRowAndManyChangesAtOnce)
{
    const auto columnName = [](int c) {
        return c <= 26 ? std::string(1, static_cast<char>('A' + c - 1))
                       : std::string{static_cast<char>('A' + (c - 1) / 26 - 1), static_cast<char>('A' + (c - 1) % 26)};
    };
    Sheet sheet(60, 4);
    for (int c = 1; c <= 50; ++c) {
        const std::string col = columnName(c);
        sheet.number(col + "1", c * 10);
        sheet.text(col + "2", "v" + row(c));
    }
    sheet.formula("A4", "=HLOOKUP(250,A1:AX2,2,FALSE)");
    EXPECT_TRUE(sameValue(sheet.value("A4"), "\"v25\""));
    sheet.number("Y1", 1);  // the key leaves column 25
    sheet.number("AX1", 250); // and turns up in column 50
    EXPECT_TRUE(sameValue(sheet.value("A4"), "\"v50\""));
    sheet.text("AX2", "last"); // a value cell: read from the same position
    EXPECT_TRUE(sameValue(sheet.value("A4"), "\"last\""));
    {
        // More changes than an index takes as patches: it is built again.
        kxformula::Engine::UpdateBatch batch(sheet.engine);
        for (int c = 1; c <= 50; ++c)
            sheet.number(columnName(c) + "1", 1000 + c);
        sheet.number("C1", 250);
    }
    EXPECT_TRUE(sameValue(sheet.value("A4"), "\"v3\""));
}

TEST(Lookups, ApproximateAndDescendingMatches)
{
    Sheet sheet;
    const double descending[] = {50, 40, 30, 20, 10};
    for (int r = 1; r <= 5; ++r) {
        sheet.number("A" + row(r), descending[r - 1]);
        sheet.number("B" + row(r), r * 10);
    }
    sheet.text("B6", "x");
    sheet.formula("C1", "=MATCH(25,A1:A5,-1)");
    sheet.formula("C2", "=MATCH(60,A1:A5,-1)");
    sheet.formula("C3", "=MATCH(5,A1:A5,-1)");
    sheet.formula("C4", "=VLOOKUP(35,B1:B6,1)");      // a text after the numbers is skipped
    sheet.formula("C5", "=VLOOKUP(\"z\",B1:B6,1)");
    sheet.formula("C6", "=VLOOKUP(\"a\",B1:B6,1)");
    EXPECT_TRUE(sameValue(sheet.value("C1"), "3"));
    EXPECT_TRUE(sameValue(sheet.value("C2"), "#N/A"));
    EXPECT_TRUE(sameValue(sheet.value("C3"), "5"));
    EXPECT_TRUE(sameValue(sheet.value("C4"), "30"));
    EXPECT_TRUE(sameValue(sheet.value("C5"), "\"x\""));
    EXPECT_TRUE(sameValue(sheet.value("C6"), "#N/A"));
}

// A store whose n-th read fails as if memory ran out.
class FailingStore final : public kxformula::CellStore {
public:
    int columnCount() const override { return inner.columnCount(); }
    int rowCount() const override { return inner.rowCount(); }
    kxformula::Value valueAt(int col, int row) const override
    {
        if (++reads == failAt)
            throw std::bad_alloc();
        return inner.valueAt(col, row);
    }
    void setComputedValue(int col, int row, kxformula::Value value) override
    {
        inner.setComputedValue(col, row, std::move(value));
    }

    kxformula::MemoryCellStore inner{2, 60};
    mutable long reads = 0;
    long failAt = -1;
};

TEST(Faults, AFailedRecalculationLeavesItsFormulasDue)
{
    FailingStore store;
    kxformula::Engine engine(store);
    store.inner.setValue(1, 1, kxformula::Value::number(0));
    for (int r = 2; r <= 50; ++r)
        engine.setFormula(1, r, "=A" + row(r - 1) + "+1");
    for (int k = 1; k <= 60; ++k) {
        store.inner.setValue(1, 1, kxformula::Value::number(k));
        store.failAt = store.reads + k;
        engine.cellChanged(1, 1); // fails somewhere in the chain, without throwing
        store.failAt = -1;
        engine.recalculateDue();
        EXPECT_EQ(store.inner.valueAt(1, 50).asNumber(), k + 49) << "failure at read " << k;
    }
}

TEST(Store, FormulasLoadFromTheStore)
{
    Sheet sheet(5, 5);
    sheet.store.setValue(1, 1, kxformula::Value::number(2));
    sheet.store.setFormulaText(2, 1, "=A1*3");
    sheet.store.setFormulaText(3, 1, "=R[0]C[-1]+1");
    sheet.store.setFormulaText(4, 1, "=(");
    EXPECT_EQ(sheet.engine.loadFromStore(RefStyle::A1), 2) << "the R1C1 text and \"=(\" are not A1";
    EXPECT_EQ(sheet.engine.formulaCount(), 3u);
    EXPECT_TRUE(sameValue(sheet.value("B1"), "6"));
    sheet.store.setFormulaText(2, 1, "=RC[-1]*3");
    EXPECT_EQ(sheet.engine.loadFromStore(RefStyle::R1C1), 1);
    EXPECT_TRUE(sameValue(sheet.value("C1"), "7"));
    EXPECT_TRUE(sheet.engine.clear());
    EXPECT_EQ(sheet.engine.formulaCount(), 0u);
}

} // namespace
