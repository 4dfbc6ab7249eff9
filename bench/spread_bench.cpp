// FROMTABLE: a sheet of 10,000 key lookups into one 10,000-row table file, recalculated.
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Window.h"
#include "spread/SheetFiles.h"
#include "spread/TableCache.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kRows = 10'000;

std::string writeTable()
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kx_spread_bench";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "profiles.sss").string();
    HWND g = kxgrid::createStandaloneGrid(3, kRows);
    SSSetData(g, 1, 0, "Name");
    SSSetData(g, 3, 0, "Weight");
    for (int r = 1; r <= kRows; ++r) {
        SSSetData(g, 1, r, ("IPE" + std::to_string(r)).c_str());
        SSSetData(g, 3, r, std::to_string(r * 0.5).c_str());
    }
    SSSaveToFile(g, path.c_str(), FALSE);
    DestroyWindow(g);
    return path;
}

void BM_FromTableLookups(benchmark::State& state)
{
    const std::string table = writeTable();
    HWND sheet = kxgrid::createStandaloneGrid(1, kRows);
    SSSetBool(sheet, SSB_AUTOCALC, FALSE);
    kxss::registerFromTable(sheet);
    for (int r = 1; r <= kRows; ++r) {
        const std::string f = "FROMTABLE(\"" + table + "\",\"name\",\"WEIGHT\",\"ipe" + std::to_string(kRows + 1 - r) + "\")";
        SSSetFormula(sheet, 1, r, f.c_str(), TRUE);
    }
    // The first pass loads the table; every pass after finds it loaded and unchanged.
    SSReCalc(sheet);
    kxhost::takeCommandLineText();
    for (auto _ : state) {
        SSReCalc(sheet);
        state.PauseTiming();
        kxhost::takeCommandLineText();
        state.ResumeTiming();
    }
    char buffer[64] = {};
    SSGetData(sheet, 1, 1, buffer, sizeof buffer);
    state.SetLabel(std::string("A1=") + buffer + " loads=" + std::to_string(kxss::TableCache::instance().loads()));
    state.SetItemsProcessed(state.iterations() * kRows);
    DestroyWindow(sheet);
    kxss::TableCache::instance().clear();
}
BENCHMARK(BM_FromTableLookups)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
