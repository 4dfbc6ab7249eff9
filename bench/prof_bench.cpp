// Profile tables and the catalogue services: a 5,000-row table of 20 columns read from and written
// to its file, put into a grid with autosizing and read back; the profile list of a 2,000-row table;
// the picture lookup of a section.
// Targets: read and write under 30 ms each, setToSS under 150 ms, getFromSS under 50 ms,
// fillProfileList under 20 ms, sectionPicture under 50 us.
#include "core/Kx_Settings.h"
#include "detailing/ProfileList.h"
#include "detailing/SectionPictures.h"
#include "frame/ModelessDialogs.h"
#include "platform/win/Dialog.h"
#include "platform/win/Messages.h"
#include "platform/win/Resources.h"
#include "platform/win/Window.h"
#include "spread/Kx_ProfValuesTable.h"
#include "spread/Kx_Spread.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kOwnerTemplate = 9703;
constexpr int kPlaceholder = 1500;

fs::path benchFolder()
{
    static const fs::path folder = [] {
        const fs::path f = fs::temp_directory_path() / "kx_prof_bench";
        fs::create_directories(f / "prof");
        fs::create_directories(f / "res" / "icons");
        return f;
    }();
    return folder;
}

Kx_ProfValuesTable makeTable(int rows, int cols)
{
    Kx_ProfValuesTable t;
    t.title = "HEA";
    t.typeName = "1";
    t.columnNames = Kx_StringArray{"SysName", "Active", "Dutch", "English", "French"};
    for (int c = 5; c < cols; ++c)
        t.columnNames.append(Kx_String("value_" + std::to_string(c)));
    for (int r = 0; r < rows; ++r) {
        Kx_StringArray row{Kx_String(std::to_string(100 + r)), r % 7 == 0 ? "0" : "1"};
        const std::string desc = "HE " + std::to_string(100 + r) + " A";
        for (int k = 0; k < 3; ++k)
            row.append(Kx_String(desc));
        for (int c = 5; c < cols; ++c)
            row.append(Kx_String(std::to_string(r * 0.25 + c)));
        t.rows.append(row);
    }
    return t;
}

std::string tablePath() { return (benchFolder() / "prof" / "HEA.pr").string(); }

void BM_ProfTableWrite(benchmark::State& state)
{
    const Kx_ProfValuesTable t = makeTable(5000, 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(t.writeToPath(Kx_String(tablePath())));
}
BENCHMARK(BM_ProfTableWrite)->Unit(benchmark::kMillisecond);

void BM_ProfTableRead(benchmark::State& state)
{
    makeTable(5000, 20).writeToPath(Kx_String(tablePath()));
    for (auto _ : state) {
        Kx_ProfValuesTable t;
        benchmark::DoNotOptimize(t.readFromPath(Kx_String(tablePath())));
    }
}
BENCHMARK(BM_ProfTableRead)->Unit(benchmark::kMillisecond);

struct Owner {
    std::unique_ptr<CDialog> dialog;
    std::unique_ptr<Kx_Spread> spread;
    Owner()
    {
        kxss::attachModule();
        HINSTANCE module = kxwin::resourceModule("kxprof_bench");
        DialogTemplate t;
        t.id = kOwnerTemplate;
        t.style = WS_POPUP;
        t.cx = 400;
        t.cy = 300;
        t.items.push_back(DialogItemTemplate{kPlaceholder, "Static", "", WS_CHILD | WS_VISIBLE, 0, 5, 5, 380, 280});
        kxwin::addDialogTemplate(module, t);
        const HINSTANCE previous = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
        dialog = std::make_unique<CDialog>(0);
        dialog->Create(kOwnerTemplate);
        AfxSetResourceHandle(previous);
        spread = std::make_unique<Kx_Spread>();
        spread->attach(dialog.get(), kPlaceholder, true);
        spread->setStandardLook(1);
    }
};

Owner& owner()
{
    static Owner o;
    return o;
}

void BM_ProfTableSetToSS(benchmark::State& state)
{
    const Kx_ProfValuesTable t = makeTable(5000, 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(t.setToSS(*owner().spread));
}
BENCHMARK(BM_ProfTableSetToSS)->Unit(benchmark::kMillisecond);

void BM_ProfTableGetFromSS(benchmark::State& state)
{
    makeTable(5000, 20).setToSS(*owner().spread);
    for (auto _ : state) {
        Kx_ProfValuesTable t;
        benchmark::DoNotOptimize(t.getFromSS(*owner().spread));
    }
}
BENCHMARK(BM_ProfTableGetFromSS)->Unit(benchmark::kMillisecond);

void BM_FillProfileList(benchmark::State& state)
{
    Kx_Settings::setLibDir(Kx_String(benchFolder().string() + "/"));
    makeTable(2000, 14).writeToPath(Kx_String(tablePath()));
    HWND combo = CreateWindowEx(0, "ComboBox", "", WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, 200, 200, nullptr, 1);
    Kx_StringArray profiles;
    for (auto _ : state)
        benchmark::DoNotOptimize(fillProfileList(combo, "HEA-1500", profiles));
    DestroyWindow(combo);
    Kx_Settings::setLibDir("");
}
BENCHMARK(BM_FillProfileList)->Unit(benchmark::kMillisecond);

void BM_SectionPicture(benchmark::State& state)
{
    Kx_Settings::setResourceDir(Kx_String((benchFolder() / "res").string() + "/"));
    std::ofstream(benchFolder() / "res" / "icons" / "ProfSectionI-big.bmp") << "x";
    const SectionPictureRequest request{"HEA-200", "frame.txt", 1, true};
    for (auto _ : state)
        benchmark::DoNotOptimize(sectionPicture(request));
    Kx_Settings::setResourceDir("");
}
BENCHMARK(BM_SectionPicture)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
