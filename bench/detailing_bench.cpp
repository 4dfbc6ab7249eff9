// The detailing dialogs: selecting a cut in the profile cuts dialog (its previous preview removed,
// its own drawn; target under 5 ms), switching levels in the levels dialog (the shown level stored,
// the next shown; target under 5 ms), and the image selection dialog with 500 thumbnails: its
// first paint (target within 200 ms) and the whole run from opening to closing (target under 1 s).
#include "core/ProfCutsData.h"
#include "core/DetailingDlgData.h"
#include "detailing/DetailingLaunchers.h"
#include "detailing/ZnDlgLevels.h"
#include "detailing/ZnDlgProfCuts.h"
#include "detailing/ZnDlgSelectImage.h"
#include "frame/ModelessDialogs.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/ImageCodec.h"
#include "platform/win/Messages.h"
#include "platform/win/Registry.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Registry {
    Registry()
    {
        root = fs::temp_directory_path() / "kx-detailing-bench";
        fs::remove_all(root);
        fs::create_directories(root);
        kxwin::setRegistryPath((root / "registry.sqlite3").c_str());
    }
    ~Registry()
    {
        kxwin::setRegistryPath(nullptr);
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    fs::path root;
};

void BM_SelectCut(benchmark::State& state)
{
    Registry registry;
    kxss::attachModule();
    kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    drawing.clear();
    const AcDbObjectId beam = drawing.addSampleFrame()[2];
    std::vector<kxcore::ProfileCut> cuts;
    for (int i = 0; i < 50; ++i)
        cuts.push_back({i % 2 ? "notch" : "chamfer", i % 3 == 0, 50.0 + i, 20.0 + i % 7});
    kxcore::setProfileCuts(beam, cuts);
    DlgProfCutsData data;
    data.profile = static_cast<int>(beam.handle());
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgProfCuts::kTemplateId, [&](kxwin::DialogDriver& d) {
        int i = 0;
        const std::size_t before = drawing.requestCount();
        for (auto _ : state) {
            i = (i + 1) % 50;
            d.pick(ZnDlgProfCuts::kCutList, i);
        }
        // Two per pick (the old preview removed, the new one drawn) shows each pick did its work.
        state.counters["requests per pick"] =
            static_cast<double>(drawing.requestCount() - before) / static_cast<double>(state.iterations());
        d.ok();
    });
    StartEditProfCutsDlg(data);
    state.SetLabel("remove the previous preview, draw the next (50 cuts)");
    drawing.clear();
    kxcore::clearProfileCuts();
}
BENCHMARK(BM_SelectCut)->Unit(benchmark::kMicrosecond);

void BM_SwitchLevel(benchmark::State& state)
{
    Registry registry;
    kxss::attachModule();
    ZnLevelsDlgData data = kxcore::sampleLevelsData();
    for (int i = 0; i < 200; ++i)
        data.addLevel(Kx_String("Level " + std::to_string(i)));
    kxwin::UserAgent agent;
    agent.onDialog(ZnDlgLevels::kTemplateId, [&](kxwin::DialogDriver& d) {
        int i = 0;
        for (auto _ : state) {
            i = (i + 7) % 200;
            d.pick(ZnDlgLevels::kLevels, i);
        }
        d.ok();
    });
    StartDlgLevels(data);
    state.SetLabel("store the shown level, show the next (204 levels)");
}
BENCHMARK(BM_SwitchLevel)->Unit(benchmark::kMicrosecond);

// 500 pictures of 96 x 72 pixels.
struct Pictures {
    Pictures()
    {
        const std::vector<BYTE> bytes = kxwin::encodeBmp(kxwin::BitmapPixels(96, 72, RGB(40, 90, 160)));
        for (int i = 0; i < 500; ++i) {
            const fs::path file = registry.root / ("Picture " + std::to_string(i) + ".bmp");
            std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                       static_cast<std::streamsize>(bytes.size()));
            data.images.append(file.string());
        }
        data.title = "Pictures";
    }
    Registry registry;
    ZnSelectImageDlgData data;
};

void BM_SelectImageFirstPaint(benchmark::State& state)
{
    Pictures pictures;
    kxss::attachModule();
    kxwin::UserAgent agent;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        double firstPaint = 0;
        agent.onDialog(ZnDlgSelectImage::kTemplateId, [&](kxwin::DialogDriver& d) {
            // The dialog is up with its thumbnails made: paint it once, as the screen would.
            UpdateWindow(d.dialog());
            firstPaint = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            d.cancel();
        });
        ZnSelectImageDlgData data = pictures.data;
        StartDlgSelectImage(data);
        state.SetIterationTime(firstPaint);
    }
    state.SetLabel("500 thumbnails, open to first paint");
}
BENCHMARK(BM_SelectImageFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SelectImageWholeRun(benchmark::State& state)
{
    Pictures pictures;
    kxss::attachModule();
    kxwin::UserAgent agent;
    for (auto _ : state) {
        agent.onDialog(ZnDlgSelectImage::kTemplateId, [](kxwin::DialogDriver& d) {
            UpdateWindow(d.dialog());
            d.pick(ZnDlgSelectImage::kThumbnails, 250).ok();
        });
        ZnSelectImageDlgData data = pictures.data;
        StartDlgSelectImage(data);
    }
    state.SetLabel("500 thumbnails, open, paint, choose, close");
}
BENCHMARK(BM_SelectImageWholeRun)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
