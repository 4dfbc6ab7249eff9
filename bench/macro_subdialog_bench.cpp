// The bolt settings and array dialogs, headless, with a core that refuses every drawing call (so only
// the dialogs' own work is measured): opening the array dialog on an array of 500 entries and 500
// entry columns (target under 50 ms), and one apply from the bolt settings of the sample's bolt tab
// (a click: read-back, hole check, the page's update step with its refresh of every page, the
// dialog's refill; target under 16 ms).
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroArrayLauncher.h"
#include "macro/MacroLaunchers.h"
#include "macro/ZnDlgMacro.h"
#include "macro/ZnDlgMacroArray.h"
#include "macro/ZnDlgMacroTab.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/UserAgent.h"

#include <benchmark/benchmark.h>

namespace {

MacroData sample()
{
    Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
    kxss::attachModule();
    MacroData data = kxcore::sampleMacroData(0);
    kxcore::MacroModel::instance().setRefusal([](std::string_view) { return true; });
    return data;
}

void BM_OpenArrayDialog500Entries(benchmark::State& state)
{
    const MacroData data = sample();
    DynArrayData array = data.tabs[4].arrays[0];
    for (int i = 0; i < 500; ++i) {
        array.entries.append(EntryProps{Kx_String(100 + i), 0, 0});
        array.columns.append(EntryColumn{1 + i % 3, i % 2 == 0, Kx_String("Column ") + Kx_String(i)});
    }
    AcArray<AcDbObjectId> ids = data.moduleIds;
    kxwin::UserAgent agent;
    int opened = 0;
    for (auto _ : state) {
        agent.onDialog(236, [&](kxwin::DialogDriver& d) {
            opened += d.items(ZnDlgMacroArray::kFirstDim).empty() ? 0 : 1;
            d.cancel();
        });
        DynArrayData copy = array;
        benchmark::DoNotOptimize(StartArrayDlg(copy, ids, data.tabs[4].moduleName));
    }
    // Each run really showed the dialog (0 would mean the template was not found).
    state.counters["opened"] = benchmark::Counter(opened, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OpenArrayDialog500Entries)->Unit(benchmark::kMillisecond);

void BM_ApplyFromBoltDialog(benchmark::State& state)
{
    MacroData data = sample();
    kxwin::UserAgent agent;
    int slot = -1;
    StartDlgMacroModeless(true, data, slot);
    auto* dialog = dynamic_cast<ZnDlgMacro*>(kxss::macroDialogInSlot(slot));
    agent.onDialog(8140, [&](kxwin::DialogDriver& d) {
        for (auto _ : state)
            d.click(1116); // second nut: on, off, on...
        d.cancel();
    });
    const int before = dialog->updateCount();
    dialog->page(1)->openBoltAdvanced();
    // Each click reached the (refusing) drawing once.
    state.counters["updates"] = benchmark::Counter(dialog->updateCount() - before, benchmark::Counter::kAvgIterations);
    EndDlgMacroModeless(slot);
}
BENCHMARK(BM_ApplyFromBoltDialog)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
