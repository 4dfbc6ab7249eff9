// The macro dialog, headless, with a core that refuses every drawing call (so only the dialog's own
// work is measured): opening the sample macro (6 tabs, layouts of about 25 controls) and a large one
// (12 tabs with layouts and 200 grid rows each), leaving a changed field (read-back, differences,
// update, refresh of every page) and GetDlgMacroData. Targets: 50 ms, 200 ms, 16 ms and 1 ms.
// A filter change on the large macro rebuilds its pages (target 100 ms); the filtered file dialog's
// list is in open_save_filtered_bench.cpp.
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroLaunchers.h"
#include "macro/ZnDlgMacro.h"
#include "macro/ZnDlgMacroTab.h"
#include "platform/win/Messages.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"

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

MacroData large()
{
    const MacroData base = sample();
    MacroData data = base;
    data.tabs.removeAll();
    for (int t = 0; t < 12; ++t) {
        MacroTabData tab = base.tabs[t % 2 == 0 ? 0 : 4];
        tab.moduleName.append(Kx_String(t));
        tab.caption = Kx_String("Tab ") + Kx_String(t);
        for (int i = 0; i < 200; ++i) {
            MacroCell c;
            c.name = Kx_String("extra") + Kx_String(i);
            c.description = Kx_String("Extra value ") + Kx_String(i);
            c.value = Kx_String(i * 1.5, 2);
            tab.cells.append(c);
        }
        data.tabs.append(tab);
    }
    return data;
}

void open(benchmark::State& state, const MacroData& data)
{
    kxwin::UserAgent agent;
    for (auto _ : state) {
        MacroData copy = data;
        int slot = -1;
        StartDlgMacroModeless(true, copy, slot);
        EndDlgMacroModeless(slot);
    }
}

void BM_OpenSampleMacro(benchmark::State& state) { open(state, sample()); }
BENCHMARK(BM_OpenSampleMacro)->Unit(benchmark::kMillisecond);

void BM_OpenLargeMacro(benchmark::State& state) { open(state, large()); }
BENCHMARK(BM_OpenLargeMacro)->Unit(benchmark::kMillisecond);

void BM_LeaveAChangedField(benchmark::State& state)
{
    kxwin::UserAgent agent;
    MacroData data = sample();
    int slot = -1;
    StartDlgMacroModeless(true, data, slot);
    auto* dialog = dynamic_cast<ZnDlgMacro*>(kxss::macroDialogInSlot(slot));
    ZnDlgMacroTab* page = dialog->page(0);
    int cell = 0;
    dialog->data().tabs[0].findCellWithName("plateWidth", cell);
    const int id = dialog->data().tabs[0].cells[cell].ctrlId;
    HWND edit = page->GetDlgItem(id);
    bool wide = false;
    for (auto _ : state) {
        SetWindowText(edit, wide ? "220" : "210");
        wide = !wide;
        SendMessage(page->m_hWnd, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit));
    }
    EndDlgMacroModeless(slot);
}
BENCHMARK(BM_LeaveAChangedField)->Unit(benchmark::kMicrosecond);

// A change of the first filter on the large macro: the filter call, then every page made again from
// its layout and grid rows, the combos refilled and the tab kept (target under 100 ms).
void BM_FilterChangeRebuildsLargeMacro(benchmark::State& state)
{
    kxwin::UserAgent agent;
    MacroData data = large();
    int slot = -1;
    StartDlgMacroModeless(true, data, slot);
    auto* dialog = dynamic_cast<ZnDlgMacro*>(kxss::macroDialogInSlot(slot));
    HWND combo = dialog->GetDlgItem(ZnDlgMacro::kFirstFilter);
    int entry = 0;
    for (auto _ : state) {
        entry = 1 - entry;
        SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        SendMessage(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(ZnDlgMacro::kFirstFilter, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(combo));
    }
    state.counters["pages"] = dialog->pageCount();
    EndDlgMacroModeless(slot);
}
BENCHMARK(BM_FilterChangeRebuildsLargeMacro)->Unit(benchmark::kMillisecond);

void BM_GetDlgMacroData(benchmark::State& state)
{
    kxwin::UserAgent agent;
    MacroData data = sample();
    int slot = -1;
    StartDlgMacroModeless(true, data, slot);
    MacroData out;
    for (auto _ : state)
        benchmark::DoNotOptimize(GetDlgMacroData(slot, out));
    EndDlgMacroModeless(slot);
}
BENCHMARK(BM_GetDlgMacroData)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
