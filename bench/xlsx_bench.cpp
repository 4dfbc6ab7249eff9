// The .xlsx export of a 100,000-row by 10-column sheet: a text column, eight number columns with
// two decimals, header texts, and a formula column (a product of two cells). Target: under 2 s.
// The file's size is reported as the counter file_mb; the second case has one joined block, which
// takes the writer out of its constant-memory mode.
#include "platform/grid/Spread.h"
#include "platform/win/Window.h"
#include "xlsx/SheetXlsxExport.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int kRows = 100'000;
constexpr int kCols = 10;

HWND buildSheet()
{
    HWND g = kxgrid::createStandaloneGrid(kCols, kRows);
    SSSetBool(g, SSB_ALLOWUSERFORMULAS, TRUE);
    SSSetBool(g, SSB_AUTOCALC, FALSE);
    SS_CELLTYPE number;
    SSSetTypeNumber(g, &number, SS_NUMBER_RIGHT, 2, -1e9, 1e9);
    SSSetCellTypeRange(g, 2, 1, kCols - 1, kRows, &number);
    for (int c = 1; c <= kCols; ++c)
        SSSetData(g, c, 0, ("Column " + std::to_string(c)).c_str());
    for (int r = 1; r <= kRows; ++r) {
        SSSetData(g, 1, r, ("Part " + std::to_string(r)).c_str());
        for (int c = 2; c < kCols; ++c)
            SSSetFloat(g, c, r, r * 0.25 + c);
        const std::string formula = "B" + std::to_string(r) + "*C" + std::to_string(r);
        SSSetFormula(g, kCols, r, formula.c_str(), TRUE);
    }
    SSReCalc(g);
    return g;
}

void exportLoop(benchmark::State& state, HWND grid)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("kxxlsx_bench_" + std::to_string(::getpid()) + ".xlsx")).string();
    for (auto _ : state) {
        const kxxlsx::XlsxExportResult result = kxxlsx::exportSheetToXlsx(grid, path);
        if (!result.ok)
            state.SkipWithError(result.error.c_str());
    }
    std::error_code ec;
    state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(path, ec)) / (1024.0 * 1024.0);
    std::filesystem::remove(path, ec);
}
// Row by row in libxlsxwriter's constant-memory mode.
void BM_ExportXlsx100kBy10(benchmark::State& state)
{
    static HWND grid = buildSheet();
    exportLoop(state, grid);
}
BENCHMARK(BM_ExportXlsx100kBy10)->Unit(benchmark::kMillisecond)->Iterations(3);

// One joined block makes the whole sheet build in memory first.
void BM_ExportXlsx100kBy10WithJoinedCells(benchmark::State& state)
{
    static HWND grid = [] {
        HWND g = buildSheet();
        SSAddCellSpan(g, 1, 1, 2, 1);
        return g;
    }();
    exportLoop(state, grid);
}
BENCHMARK(BM_ExportXlsx100kBy10WithJoinedCells)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
