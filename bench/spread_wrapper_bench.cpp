// The grid wrapper on a 100,000-row by 10-column sheet: whole-column reads and writes, reading every
// row, autosizing, a find that runs to the last row and a replace-all of 100,000 matches.
// Targets: setColumn / getColumn under 20 ms, getAllRows under 150 ms, autoSizeColumns under 200 ms,
// findNext to the last row under 30 ms, replace all under 500 ms.
#include "frame/ModelessDialogs.h"
#include "platform/grid/Spread.h"
#include "platform/win/Dialog.h"
#include "platform/win/Resources.h"
#include "platform/win/Window.h"
#include "spread/Kx_Spread.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kRows = 100'000;
constexpr int kCols = 10;
constexpr int kOwnerTemplate = 9702;
constexpr int kPlaceholder = 1500;

// One owner dialog and one attached wrapper for the whole run.
struct Sheet {
    std::unique_ptr<CDialog> owner;
    std::unique_ptr<Kx_Spread> spread;

    Sheet()
    {
        kxss::attachModule();
        HINSTANCE module = kxwin::resourceModule("kxspread_bench");
        DialogTemplate t;
        t.id = kOwnerTemplate;
        t.style = WS_POPUP;
        t.cx = 400;
        t.cy = 300;
        t.items.push_back(DialogItemTemplate{kPlaceholder, "Static", "", WS_CHILD | WS_VISIBLE, 0, 5, 5, 380, 280});
        kxwin::addDialogTemplate(module, t);
        const HINSTANCE previous = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
        owner = std::make_unique<CDialog>(0);
        owner->Create(kOwnerTemplate);
        AfxSetResourceHandle(previous);
        spread = std::make_unique<Kx_Spread>();
        spread->attach(owner.get(), kPlaceholder, true);
        spread->setStandardLook(1);
        spread->setColCount(kCols);
        spread->setRowCount(kRows);
        refill();
    }

    // "r<row>c<col>" in every cell.
    void refill()
    {
        HWND g = spread->m_hWnd;
        for (int r = 1; r <= kRows; ++r) {
            const std::string row = "r" + std::to_string(r) + "c";
            for (int c = 1; c <= kCols; ++c)
                SSSetData(g, c, r, (row + std::to_string(c)).c_str());
        }
    }
};

Sheet& sheet()
{
    static Sheet s;
    return s;
}

void BM_SetColumn(benchmark::State& state)
{
    Kx_Spread& spread = *sheet().spread;
    Kx_StringArray values;
    for (int r = 1; r <= kRows; ++r)
        values.append(Kx_String("v" + std::to_string(r)));
    for (auto _ : state)
        benchmark::DoNotOptimize(spread.setColumn(5, values));
}

void BM_GetColumn(benchmark::State& state)
{
    Kx_Spread& spread = *sheet().spread;
    Kx_StringArray values;
    for (auto _ : state) {
        spread.getColumn(3, values);
        benchmark::DoNotOptimize(values.length());
    }
}

void BM_GetAllRows(benchmark::State& state)
{
    Kx_Spread& spread = *sheet().spread;
    Kx_Array<Kx_StringArray> rows;
    for (auto _ : state) {
        spread.getAllRows(rows);
        benchmark::DoNotOptimize(rows.length());
    }
}

void BM_AutoSizeColumns(benchmark::State& state)
{
    Kx_Spread& spread = *sheet().spread;
    for (auto _ : state)
        benchmark::DoNotOptimize(spread.autoSizeColumns(false));
}

void BM_FindNextToTheLastRow(benchmark::State& state)
{
    Kx_Spread& spread = *sheet().spread;
    SSSetData(spread.m_hWnd, 7, kRows, "the needle");
    for (auto _ : state) {
        int col = 0, row = 0;
        benchmark::DoNotOptimize(spread.findNext("NEEDLE", 1, 1, col, row));
    }
    SSSetData(spread.m_hWnd, 7, kRows, "r100000c7");
}

void BM_ReplaceAll100000Matches(benchmark::State& state)
{
    Sheet& s = sheet();
    Kx_Spread& spread = *s.spread;
    HWND g = spread.m_hWnd;
    for (auto _ : state) {
        state.PauseTiming();
        // One match per row, in column 4.
        for (int r = 1; r <= kRows; ++r)
            SSSetData(g, 4, r, "x");
        state.ResumeTiming();
        benchmark::DoNotOptimize(spread.replaceAll("x", "xx"));
    }
    s.refill();
}

} // namespace

BENCHMARK(BM_SetColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetAllRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoSizeColumns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNextToTheLastRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAll100000Matches)->Unit(benchmark::kMillisecond);
