// The profile advanced dialog, headless, with a core that refuses every drawing call (so only the
// dialog's own work is measured): opening it on the sample's column group (the get callback, the
// lists, the controls), and one apply from the offset list with 50 profiles in the group (read-back,
// merged set and get over the group, showing the result). Targets: 50 ms and 16 ms.
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroProfLaunchers.h"
#include "macro/ZnDlgMacroProfAdv.h"
#include "platform/win/UserAgent.h"

#include <benchmark/benchmark.h>

namespace {

MacroData sample(int profiles)
{
    Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
    kxss::attachModule();
    MacroData data = kxcore::sampleMacroData(0);
    kxcore::MacroModel::instance().setRefusal([](std::string_view) { return true; });
    MacroTabData* tab = data.tabOfModule("Profiles");
    if (tab != nullptr && profiles > 0) {
        const MacroProfData column = tab->profiles[0];
        for (int i = 2; i < profiles; ++i) {
            MacroProfData p = column;
            p.name2 = Kx_String("C") + Kx_String(i + 1);
            p.angle = Kx_String(i % 4 * 90);
            tab->profiles.insertAt(0, p);
        }
    }
    return data;
}

void BM_OpenProfileAdvanced(benchmark::State& state)
{
    kxwin::UserAgent agent;
    const MacroData data = sample(0);
    for (auto _ : state) {
        agent.onDialog(ZnDlgMacroProfAdv::kTemplateId, [](kxwin::DialogDriver& d) { d.escape(); });
        MacroData copy = data;
        StartDlgMacroProfAdv(copy, "Profiles", "columns", false);
    }
}
BENCHMARK(BM_OpenProfileAdvanced)->Unit(benchmark::kMillisecond);

void BM_ApplyWith50Profiles(benchmark::State& state)
{
    kxwin::UserAgent agent;
    MacroData data = sample(50);
    agent.onDialog(ZnDlgMacroProfAdv::kTemplateId, [&](kxwin::DialogDriver& d) {
        bool centre = false;
        for (auto _ : state) {
            d.pick(ZnDlgMacroProfAdv::kOffsetType, centre ? 3 : 5);
            centre = !centre;
        }
        d.escape();
    });
    StartDlgMacroProfAdv(data, "Profiles", "columns", false);
}
BENCHMARK(BM_ApplyWith50Profiles)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
