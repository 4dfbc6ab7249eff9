// The cutting-stock dialog and the DSTV point groups at size: switching sets of 50 with 500 rows
// in each table (target under 30 ms), the status report over 100 files (under 300 ms), saving and
// loading a 5,000-row stock list (under 20 ms) and a 200-point group (under 5 ms).
#include "core/DlgCSP2Data.h"
#include "core/DstvPoints.h"
#include "core/InfoDialog.h"
#include "core/Kx_Settings.h"
#include "core/StockFiles.h"
#include "detailing/CuttingStockLaunchers.h"
#include "detailing/ZnDlgOptimizeCSP2.h"
#include "platform/win/UserAgent.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

Kx_Array<Kx_StringArray> stockRows(int n, int salt)
{
    Kx_Array<Kx_StringArray> rows;
    for (int i = 0; i < n; ++i) {
        Kx_StringArray r;
        r.append(Kx_String("IPE " + std::to_string(80 + 20 * (i % 30))));
        r.append(Kx_String(std::to_string(2000 + (i * 37 + salt) % 10000)));
        r.append(Kx_String(std::to_string(1 + i % 9)));
        rows.append(r);
    }
    return rows;
}

DlgCSP2Data largeData()
{
    DlgCSP2Data data;
    for (DlgCSP2Table* t : {&data.table1, &data.table2, &data.table3})
        for (const char* name : {"Profile", "Length", "Count"})
            t->columnNames.append(name);
    for (int s = 0; s < 50; ++s) {
        data.setIds.append(s + 1);
        data.setNames.append(Kx_String("Set " + std::to_string(s + 1)));
        for (int t = 1; t <= 3; ++t)
            data.table(t)->appendRows(s + 1, stockRows(500, s * 3 + t));
    }
    return data;
}

// A library of its own under the system's temporary folder, removed at the end.
struct TempLibrary {
    TempLibrary()
    {
        std::string pattern = (fs::temp_directory_path() / "kx-stock-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            path = pattern;
        Kx_Settings::setLibDir(Kx_String(path.string() + "/"));
    }
    ~TempLibrary()
    {
        Kx_Settings::setLibDir("");
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

void BM_SwitchSet(benchmark::State& state)
{
    TempLibrary lib;
    DlgCSP2Data data = largeData();
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgOptimizeCSP2::kTemplateId, [&](kxwin::DialogDriver& d) {
        int next = 1;
        for (auto _ : state) {
            d.pick(ZnDlgOptimizeCSP2::kSetList, next);
            next = (next + 1) % 50;
        }
        d.cancel();
    });
    StartDlgCSP2(data);
}
BENCHMARK(BM_SwitchSet)->Unit(benchmark::kMillisecond);

void BM_StatusReport100Files(benchmark::State& state)
{
    TempLibrary lib;
    DlgCSP2Data data = largeData();
    std::string error;
    for (int s = 0; s < 50; ++s) {
        const fs::path folder = lib.path / "Cutting Stock" / ("Set " + std::to_string(s + 1));
        fs::create_directories(folder);
        kx::writeStockFile(Kx_String((folder / "Stock1.shp").string()), stockRows(500, s), error);
        kx::writeStockFile(Kx_String((folder / "Stock1.buy").string()), stockRows(500, s + 1), error);
    }
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgOptimizeCSP2::kTemplateId, [&](kxwin::DialogDriver& d) {
        auto* dialog = static_cast<ZnDlgOptimizeCSP2*>(CWnd::FromHandle(d.dialog()));
        for (auto _ : state)
            benchmark::DoNotOptimize(dialog->statusReport());
        d.cancel();
    });
    StartDlgCSP2(data);
}
BENCHMARK(BM_StatusReport100Files)->Unit(benchmark::kMillisecond);

void BM_StockFile5000Rows(benchmark::State& state)
{
    TempLibrary lib;
    const Kx_String path(lib.path.string() + "/Stock1.shp");
    const Kx_Array<Kx_StringArray> rows = stockRows(5000, 7);
    std::string error;
    const bool save = state.range(0) == 0;
    kx::writeStockFile(path, rows, error);
    for (auto _ : state) {
        if (save) {
            benchmark::DoNotOptimize(kx::writeStockFile(path, rows, error));
        } else {
            Kx_Array<Kx_StringArray> back;
            benchmark::DoNotOptimize(kx::readStockFile(path, back, error));
        }
    }
    state.SetLabel(save ? "save" : "load");
}
BENCHMARK(BM_StockFile5000Rows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DstvGroup200Points(benchmark::State& state)
{
    TempLibrary lib;
    const Kx_String path(lib.path.string() + "/Welds.dat");
    Kx_Array<Kx_DstvPointInfo> points;
    for (int i = 0; i < 200; ++i) {
        Kx_DstvPointInfo p;
        p.setName(Kx_String("Point " + std::to_string(i)));
        p.setPlateSelection(static_cast<short>(i % 6), 0, 12.5 + i);
        points.append(p);
    }
    const bool write = state.range(0) == 0;
    DlgDstvPoints::writeToFile(path, points);
    for (auto _ : state) {
        if (write) {
            benchmark::DoNotOptimize(DlgDstvPoints::writeToFile(path, points));
        } else {
            Kx_Array<Kx_DstvPointInfo> back;
            benchmark::DoNotOptimize(DlgDstvPoints::readFromFile(path, back));
        }
    }
    state.SetLabel(write ? "write" : "read");
}
BENCHMARK(BM_DstvGroup200Points)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
