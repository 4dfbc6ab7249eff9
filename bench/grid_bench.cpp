// The grid at its design size, 100,000 rows by 10 columns: writing and reading every cell,
// inserting and deleting a row at the top, saving and loading, copying a 10,000 x 10 block to the
// clipboard, and the memory the sheet takes (heap in use before and after filling it).
#include "platform/grid/Spread.h"
#include "platform/win/Window.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;

std::vector<std::string> texts()
{
    std::vector<std::string> t;
    t.reserve(static_cast<size_t>(kRows) * kCols);
    for (int r = 1; r <= kRows; ++r)
        for (int c = 1; c <= kCols; ++c)
            t.push_back(c % 2 ? "Profile " + std::to_string(r * 7 % 9973) : std::to_string(r * 0.25 + c));
    return t;
}

const std::vector<std::string>& cellTexts()
{
    static const std::vector<std::string> t = texts();
    return t;
}

HWND filledGrid()
{
    HWND g = kxgrid::createStandaloneGrid(kCols, kRows);
    SSSetBool(g, SSB_REDRAW, FALSE);
    const auto& t = cellTexts();
    size_t i = 0;
    for (int r = 1; r <= kRows; ++r)
        for (int c = 1; c <= kCols; ++c)
            SSSetData(g, c, r, t[i++].c_str());
    return g;
}

void BM_WriteAllCells(benchmark::State& state)
{
    const auto& t = cellTexts();
    for (auto _ : state) {
        state.PauseTiming();
        HWND g = kxgrid::createStandaloneGrid(kCols, kRows);
        SSSetBool(g, SSB_REDRAW, FALSE);
        state.ResumeTiming();
        size_t i = 0;
        for (int r = 1; r <= kRows; ++r)
            for (int c = 1; c <= kCols; ++c)
                SSSetData(g, c, r, t[i++].c_str());
        state.PauseTiming();
        DestroyWindow(g);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WriteAllCells)->Unit(benchmark::kMillisecond);

void BM_ReadAllCells(benchmark::State& state)
{
    HWND g = filledGrid();
    char buf[256];
    for (auto _ : state) {
        long total = 0;
        for (int r = 1; r <= kRows; ++r)
            for (int c = 1; c <= kCols; ++c)
                total += SSGetData(g, c, r, buf, sizeof buf);
        benchmark::DoNotOptimize(total);
    }
    DestroyWindow(g);
}
BENCHMARK(BM_ReadAllCells)->Unit(benchmark::kMillisecond);

void BM_InsertRowAtTop(benchmark::State& state)
{
    HWND g = filledGrid();
    int n = kRows;
    for (auto _ : state) {
        SSSetMaxRows(g, ++n);
        SSInsRow(g, 1);
    }
    DestroyWindow(g);
}
BENCHMARK(BM_InsertRowAtTop)->Unit(benchmark::kMicrosecond);

void BM_DeleteRowAtTop(benchmark::State& state)
{
    HWND g = filledGrid();
    int n = kRows;
    for (auto _ : state) {
        SSDelRow(g, 1);
        SSSetMaxRows(g, --n);
        if (n < kRows / 2) {
            state.PauseTiming();
            SSSetMaxRows(g, kRows);
            n = kRows;
            state.ResumeTiming();
        }
    }
    DestroyWindow(g);
}
BENCHMARK(BM_DeleteRowAtTop)->Unit(benchmark::kMicrosecond);

std::string benchFile()
{
    return "/tmp/kx_grid_bench_" + std::to_string(::getpid()) + ".sheet";
}

void BM_SaveToFile(benchmark::State& state)
{
    HWND g = filledGrid();
    const std::string path = benchFile();
    for (auto _ : state)
        if (!SSSaveToFile(g, path.c_str(), FALSE))
            state.SkipWithError(kxgrid::lastError(g).c_str());
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) {
        std::fseek(f, 0, SEEK_END);
        state.counters["file_MB"] = static_cast<double>(std::ftell(f)) / 1e6;
        std::fclose(f);
    }
    DestroyWindow(g);
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond);

void BM_LoadFromFile(benchmark::State& state)
{
    const std::string path = benchFile();
    {
        HWND g = filledGrid();
        SSSaveToFile(g, path.c_str(), FALSE);
        DestroyWindow(g);
    }
    HWND g = kxgrid::createStandaloneGrid();
    SSSetBool(g, SSB_REDRAW, FALSE);
    for (auto _ : state)
        if (!SSLoadFromFile(g, path.c_str()))
            state.SkipWithError(kxgrid::lastError(g).c_str());
    DestroyWindow(g);
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);

void BM_ClipboardCopy10000x10(benchmark::State& state)
{
    HWND g = filledGrid();
    SSSetSelectBlock(g, 1, 1, kCols, 10000);
    for (auto _ : state)
        if (!SSClipboardCopy(g))
            state.SkipWithError("copy failed");
    DestroyWindow(g);
}
BENCHMARK(BM_ClipboardCopy10000x10)->Unit(benchmark::kMillisecond);

void BM_ClipboardPaste10000x10(benchmark::State& state)
{
    HWND g = filledGrid();
    SSSetSelectBlock(g, 1, 1, kCols, 10000);
    SSClipboardCopy(g);
    SSSetActiveCell(g, 1, 50000);
    for (auto _ : state)
        SSClipboardPaste(g);
    DestroyWindow(g);
}
BENCHMARK(BM_ClipboardPaste10000x10)->Unit(benchmark::kMillisecond);

// Heap in use by a filled sheet, measured with mallinfo2 around filling it (the texts the
// benchmark writes are made beforehand and not counted).
void BM_MemoryOfFullSheet(benchmark::State& state)
{
    cellTexts();
    for (auto _ : state) {
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks;
        HWND g = filledGrid();
        const size_t after = mallinfo2().uordblks;
        state.counters["sheet_MB"] = static_cast<double>(after - before) / 1e6;
        for (int i = 0; i < 1000; ++i) {
            SSSetMaxRows(g, kRows + i + 1);
            SSInsRow(g, 1);
        }
        state.counters["after_1000_top_inserts_MB"] = static_cast<double>(mallinfo2().uordblks - before) / 1e6;
        DestroyWindow(g);
    }
}
BENCHMARK(BM_MemoryOfFullSheet)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
