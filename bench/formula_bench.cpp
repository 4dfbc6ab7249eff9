// Speed of the formula engine on the in-memory store: reading formulas, evaluating them, and
// recalculating after a single change, on the sheet shapes the engine is measured on:
//   chain      n cells, each "=previous+1" (10,000 and 100,000)
//   wide SUM   one "=SUM(A1:A100000)" over a column of numbers, plus 1,000 formulas on other cells
//   mixed      25,000 rows of =A1*B1+C1, =SUM(A1:J1), =IF(D1>5,D1*2,D1/2), =ROUND(E1/3,2)
//   lookup     10,000 exact case-insensitive VLOOKUPs into a 10,000-row table
//   text       100,000 text formulas with &, LEN, LEFT and UPPER
// "Build" enters every formula with automatic recalculation on, so it includes the first
// evaluation; "Recalc" changes one input and recalculates what depends on it; "Full" recalculates
// the whole sheet. The peak_MB counter is the process's peak resident set: meaningful when a Build
// benchmark runs alone (--benchmark_filter=BM_MixedBuild).
#include "platform/formula/Engine.h"
#include "platform/formula/MemoryCellStore.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>
#include <string>

namespace {

using kxformula::Engine;
using kxformula::MemoryCellStore;
using kxformula::Value;

double peakMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

struct Sheet {
    Sheet(int columns, int rows) : store(columns, rows), engine(store) {}
    MemoryCellStore store;
    Engine engine;
};

// --- Chain --------------------------------------------------------------------------------------
std::unique_ptr<Sheet> buildChain(int n)
{
    auto s = std::make_unique<Sheet>(2, n);
    s->store.setValue(1, 1, Value::number(1));
    for (int row = 2; row <= n; ++row)
        s->engine.setFormula(1, row, "=A" + std::to_string(row - 1) + "+1");
    return s;
}

void BM_ChainBuild(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto s = buildChain(n);
        benchmark::DoNotOptimize(s.get());
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMB();
}
BENCHMARK(BM_ChainBuild)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_ChainRecalcAfterOneChange(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    auto s = buildChain(n);
    double head = 1;
    for (auto _ : state) {
        s->store.setValue(1, 1, Value::number(++head));
        s->engine.cellChanged(1, 1);
    }
    if (s->store.valueAt(1, n).asNumber() != head + n - 1)
        state.SkipWithError("wrong chain result");
}
BENCHMARK(BM_ChainRecalcAfterOneChange)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_ChainFullRecalc(benchmark::State& state)
{
    auto s = buildChain(static_cast<int>(state.range(0)));
    for (auto _ : state)
        s->engine.recalculate();
}
BENCHMARK(BM_ChainFullRecalc)->Arg(100'000)->Unit(benchmark::kMillisecond);

// --- Parse and evaluate one formula -------------------------------------------------------------
void BM_ParseFormula(benchmark::State& state)
{
    Sheet s(30, 1000);
    s.engine.setAutoRecalc(false);
    int row = 0;
    for (auto _ : state) {
        row = row % 1000 + 1;
        s.engine.setFormula(5, row, "=IF(A1>5,ROUND(A1*B1+C1/3,2),SUM(A1:D1))");
    }
}
BENCHMARK(BM_ParseFormula);

void BM_EvaluateSimpleFormula(benchmark::State& state)
{
    // 1,000 formulas "=A<r>*B<r>+C<r>" recalculated whole; the time is per formula.
    Sheet s(5, 1000);
    for (int row = 1; row <= 1000; ++row)
        for (int col = 1; col <= 3; ++col)
            s.store.setValue(col, row, Value::number(row + col));
    for (int row = 1; row <= 1000; ++row) {
        const std::string r = std::to_string(row);
        s.engine.setFormula(4, row, "=A" + r + "*B" + r + "+C" + r);
    }
    for (auto _ : state)
        s.engine.recalculate();
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_EvaluateSimpleFormula);

// --- Wide SUM -----------------------------------------------------------------------------------
void BM_WideSumRecalcAfterOneChange(benchmark::State& state)
{
    const int n = 100'000;
    Sheet s(4, n);
    for (int row = 1; row <= n; ++row)
        s.store.setValue(1, row, Value::number(row));
    for (int row = 1; row <= 1000; ++row)
        s.engine.setFormula(3, row, "=B" + std::to_string(row) + "*2");
    s.engine.setFormula(2, 1, "=SUM(A1:A100000)");
    double x = 0;
    for (auto _ : state) {
        s.store.setValue(1, 50'000, Value::number(++x));
        s.engine.cellChanged(1, 50'000);
    }
}
BENCHMARK(BM_WideSumRecalcAfterOneChange)->Unit(benchmark::kMicrosecond);

// --- Mixed rows ---------------------------------------------------------------------------------
std::unique_ptr<Sheet> buildMixed(int rows)
{
    auto s = std::make_unique<Sheet>(14, rows);
    Engine::UpdateBatch batch(s->engine);
    for (int row = 1; row <= rows; ++row) {
        for (int col = 1; col <= 10; ++col)
            s->store.setValue(col, row, Value::number(row % 7 + col));
        const std::string r = std::to_string(row);
        s->engine.setFormula(11, row, "=A" + r + "*B" + r + "+C" + r);
        s->engine.setFormula(12, row, "=SUM(A" + r + ":J" + r + ")");
        s->engine.setFormula(13, row, "=IF(D" + r + ">5,D" + r + "*2,D" + r + "/2)");
        s->engine.setFormula(14, row, "=ROUND(E" + r + "/3,2)");
    }
    return s;
}

void BM_MixedBuild(benchmark::State& state)
{
    for (auto _ : state) {
        auto s = buildMixed(25'000);
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMB();
}
BENCHMARK(BM_MixedBuild)->Unit(benchmark::kMillisecond);

void BM_MixedRecalcAfterOneChange(benchmark::State& state)
{
    auto s = buildMixed(25'000);
    double x = 0;
    for (auto _ : state) {
        s->store.setValue(1, 12'000, Value::number(++x));
        s->engine.cellChanged(1, 12'000);
    }
}
BENCHMARK(BM_MixedRecalcAfterOneChange)->Unit(benchmark::kMicrosecond);

void BM_MixedFullRecalc(benchmark::State& state)
{
    auto s = buildMixed(25'000);
    for (auto _ : state)
        s->engine.recalculate();
}
BENCHMARK(BM_MixedFullRecalc)->Unit(benchmark::kMillisecond);

// --- Lookups ------------------------------------------------------------------------------------
std::unique_ptr<Sheet> buildLookups(int n)
{
    auto s = std::make_unique<Sheet>(4, n);
    Engine::UpdateBatch batch(s->engine);
    for (int row = 1; row <= n; ++row) {
        s->store.setValue(1, row, Value::text("key" + std::to_string(row)));
        s->store.setValue(2, row, Value::number(row * 1.5));
        s->store.setValue(3, row, Value::text("KEY" + std::to_string((row * 7919) % n + 1)));
        const std::string table = "$A$1:$B$" + std::to_string(n);
        s->engine.setFormula(4, row, "=VLOOKUP(C" + std::to_string(row) + "," + table + ",2,FALSE)");
    }
    return s;
}

void BM_LookupBuild(benchmark::State& state)
{
    for (auto _ : state) {
        auto s = buildLookups(10'000);
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMB();
}
BENCHMARK(BM_LookupBuild)->Unit(benchmark::kMillisecond);

// A key cell of the table changes: every lookup depends on the table, the index is patched in place.
void BM_LookupRecalcAfterOneChange(benchmark::State& state)
{
    auto s = buildLookups(10'000);
    int flip = 0;
    for (auto _ : state) {
        s->store.setValue(1, 5'000, Value::text(++flip % 2 ? "changed" : "key5000"));
        s->engine.cellChanged(1, 5'000);
    }
}
BENCHMARK(BM_LookupRecalcAfterOneChange)->Unit(benchmark::kMillisecond);

// A value cell of the table changes: the key column is untouched, so the index stays as it is.
void BM_LookupRecalcAfterValueChange(benchmark::State& state)
{
    auto s = buildLookups(10'000);
    double x = 0;
    for (auto _ : state) {
        s->store.setValue(2, 5'000, Value::number(++x));
        s->engine.cellChanged(2, 5'000);
    }
}
BENCHMARK(BM_LookupRecalcAfterValueChange)->Unit(benchmark::kMillisecond);

// --- Text ---------------------------------------------------------------------------------------
std::unique_ptr<Sheet> buildText(int rows)
{
    auto s = std::make_unique<Sheet>(5, rows);
    Engine::UpdateBatch batch(s->engine);
    for (int row = 1; row <= rows; ++row) {
        const std::string r = std::to_string(row);
        s->store.setValue(1, row, Value::text("steel item " + r));
        s->engine.setFormula(2, row, "=A" + r + "&\"-x\"");
        s->engine.setFormula(3, row, "=LEN(A" + r + ")");
        s->engine.setFormula(4, row, "=LEFT(A" + r + ",5)");
        s->engine.setFormula(5, row, "=UPPER(A" + r + ")");
    }
    return s;
}

void BM_TextBuild(benchmark::State& state)
{
    for (auto _ : state) {
        auto s = buildText(25'000);
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMB();
}
BENCHMARK(BM_TextBuild)->Unit(benchmark::kMillisecond);

void BM_TextFullRecalc(benchmark::State& state)
{
    auto s = buildText(25'000);
    for (auto _ : state)
        s->engine.recalculate();
}
BENCHMARK(BM_TextFullRecalc)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
