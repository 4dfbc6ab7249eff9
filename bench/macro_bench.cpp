// The macro records as the dialogs use them on a large macro: 12 tabs, each with 200 cells, 10
// patterns, 5 arrays of 20 entries and 50 profiles in 5 groups. Targets: a copy and a differences()
// call under 1 ms each, merged properties over 50 profiles under 50 us.
#include "core/ClashCheck.h"
#include "core/Kx_Settings.h"
#include "core/MacroData.h"
#include "core/MacroDrawing.h"

#include <benchmark/benchmark.h>

namespace {

MacroData largeMacro()
{
    MacroData macro;
    macro.title = "Large macro";
    for (int t = 0; t < 12; ++t) {
        MacroTabData tab;
        tab.moduleName = Kx_String("Module ") + Kx_String(t);
        tab.caption = tab.moduleName;
        for (int i = 0; i < 200; ++i) {
            MacroCell c;
            c.name = Kx_String("variable") + Kx_String(i);
            c.description = Kx_String("Description of variable ") + Kx_String(i);
            c.value = Kx_String(i * 2.5, 2);
            tab.cells.append(c);
        }
        for (int i = 0; i < 10; ++i) {
            MacroPatternProps p;
            p.name = Kx_String("pattern") + Kx_String(i);
            p.value = "3x70";
            p.count = "3";
            tab.patterns.append(p);
        }
        for (int i = 0; i < 5; ++i) {
            DynArrayData d;
            d.name = Kx_String("array") + Kx_String(i);
            d.value = "4";
            for (int e = 0; e < 20; ++e)
                d.entries.append(EntryProps{Kx_String(e), 0, 0});
            tab.arrays.append(d);
        }
        for (int i = 0; i < 50; ++i) {
            MacroProfData p;
            p.group = Kx_String("group") + Kx_String(i % 5);
            p.profileName = i % 2 ? "HEA200" : "HEA240";
            p.sectionClass = "HEA";
            p.name3 = "S355";
            p.angle = "0";
            tab.profiles.append(p);
        }
        macro.tabs.append(tab);
    }
    return macro;
}

void BM_CopyLargeMacro(benchmark::State& state)
{
    const MacroData macro = largeMacro();
    for (auto _ : state) {
        MacroData copy = macro;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyLargeMacro)->Unit(benchmark::kMicrosecond);

void BM_DifferencesOfLargeMacro(benchmark::State& state)
{
    const MacroData old = largeMacro();
    MacroData changed = old;
    changed.tabs[7].cells[150].value = "1.00";
    Kx_StringArray names;
    Kx_Array<int> a, b;
    for (auto _ : state) {
        changed.differences(old, names, a, b);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_DifferencesOfLargeMacro)->Unit(benchmark::kMicrosecond);

void BM_MergedPropsOver50Profiles(benchmark::State& state)
{
    MacroTabData tab = largeMacro().tabs[0];
    for (auto& p : tab.profiles)
        p.group = "all";
    MacroProfData merged;
    for (auto _ : state) {
        tab.getMergedPropsOfGroup("all", merged);
        benchmark::DoNotOptimize(merged);
    }
}
BENCHMARK(BM_MergedPropsOver50Profiles)->Unit(benchmark::kMicrosecond);

// The drawing side: one plate-width change pushed through UpdateModule, the frame's parts rebuilt
// and redrawn (target under 100 us), and a clash check of one macro against about 1,000 placed
// parts (100 frames of ten parts; target under 2 ms).
void placeFrames(int count)
{
    Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
    kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    drawing.clear();
    kxcore::MacroModel& model = kxcore::MacroModel::instance();
    model.placeSampleFrames(drawing);
    MacroDefinition def;
    def.macro = model.macros()[0]->data;
    for (int i = 2; i < count; ++i)
        model.place(drawing, def, 8000.0 * i);
    drawing.clearRequests();
}

void BM_UpdateModulePlateWidth(benchmark::State& state)
{
    placeFrames(2);
    MacroData macro = kxcore::sampleMacroData(0);
    int cell = 0;
    macro.tabs[0].findCellWithName("plateWidth", cell);
    const Kx_Array<int> kinds{kMacroItemCell}, indexes{cell};
    bool wide = false;
    for (auto _ : state) {
        macro.tabs[0].cells[cell].value = wide ? "220.00" : "200.00";
        wide = !wide;
        benchmark::DoNotOptimize(UpdateModule("End plates\\end plate", macro, kinds, indexes));
    }
}
BENCHMARK(BM_UpdateModulePlateWidth)->Unit(benchmark::kMicrosecond);

void BM_ClashCheckAgainst1000Parts(benchmark::State& state)
{
    placeFrames(100);
    const MacroData macro = kxcore::sampleMacroData(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(clashcheck(-1, macro.moduleIds));
    state.counters["parts"] = 10.0 * static_cast<double>(kxcore::MacroModel::instance().macros().size());
}
BENCHMARK(BM_ClashCheckAgainst1000Parts)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
