// The macro records as the dialogs use them on a large macro: 12 tabs, each with 200 cells, 10
// patterns, 5 arrays of 20 entries and 50 profiles in 5 groups. Targets: a copy and a differences()
// call under 1 ms each, merged properties over 50 profiles under 50 us.
#include "core/MacroData.h"

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

} // namespace

BENCHMARK_MAIN();
