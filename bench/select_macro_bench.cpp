// The select-macro dialog on a large macro library: opening it with 500 macros (target under
// 200 ms) and one click in its filter grid with 2,000 macros, grid and thumbnails rebuilt (target
// under 50 ms). The preview pictures exist beforehand, as they do after the first run.
#include "core/Kx_Settings.h"
#include "core/MacroSubDialogData.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroSubLaunchers.h"
#include "macro/ZnDlgSelectMacro.h"
#include "platform/grid/Spread.h"
#include "platform/win/Registry.h"
#include "platform/win/UserAgent.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// A library of n macros: copies of the sample definitions (six modules each) with their drawings and
// pictures, in a folder of its own.
struct Library {
    explicit Library(int n)
    {
        root = fs::temp_directory_path() / ("kx-select-macro-bench-" + std::to_string(n));
        fs::remove_all(root);
        fs::create_directories(root / "Macros");
        const fs::path sample = fs::path(Kx_Settings::libDir().str()) / "Macros" / "End plate connection.kxm";
        for (int i = 0; i < n; ++i) {
            const std::string name = "Macro " + std::to_string(i);
            fs::copy_file(sample, root / "Macros" / (name + ".kxm"));
            std::ofstream(root / "Macros" / (name + ".dwg")) << "placeholder drawing";
            macros.append((root / "Macros" / (name + ".dwg")).string());
        }
        Kx_Settings::setLibDir((root.string() + "/").c_str());
        CreatePreviewBMPs(96, 72, macros, (root / "Macros").string());
        kxwin::setRegistryPath((root / "registry.sqlite3").c_str());
    }
    ~Library()
    {
        kxwin::setRegistryPath(nullptr);
        Kx_Settings::setLibDir("");
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    fs::path root;
    Kx_StringArray macros;
};

void BM_OpenSelectMacro(benchmark::State& state)
{
    Library library(static_cast<int>(state.range(0)));
    kxss::attachModule();
    kxwin::UserAgent agent;
    for (auto _ : state) {
        agent.onDialog(ZnDlgSelectMacro::kTemplateId, [](kxwin::DialogDriver& d) { d.cancel(); });
        Kx_String chosen;
        bool flag = false;
        StartDlgSelectMacro("", library.macros, 96, 72, chosen, flag, false);
    }
    state.SetLabel("open and close");
}
BENCHMARK(BM_OpenSelectMacro)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_FilterClick(benchmark::State& state)
{
    Library library(static_cast<int>(state.range(0)));
    kxss::attachModule();
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgSelectMacro::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.click(ZnDlgSelectMacro::kFilterButton);
        HWND grid = d.item(ZnDlgSelectMacro::kGrid);
        d.focus(ZnDlgSelectMacro::kGrid);
        // The second module's box ("Bolts"): every macro has it, so each click hides or shows them all.
        for (auto _ : state) {
            SSSetActiveCell(grid, 1, 2);
            d.pressKey(VK_SPACE);
        }
        d.cancel();
    });
    Kx_String chosen;
    bool flag = false;
    StartDlgSelectMacro("", library.macros, 96, 72, chosen, flag, false);
}
BENCHMARK(BM_FilterClick)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
