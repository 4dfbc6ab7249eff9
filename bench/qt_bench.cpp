// The Qt backend's grid at its design size, 100,000 rows by 10 columns, in a dialog offscreen:
// setting up the model and the table view for a new grid (target under 30 ms) and one paint of the
// view (target under 10 ms). Every cell holds a text, so a paint reads real data.
#include "platform/grid/Spread.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtMirror.h"
#include "platform/qt/ShowcaseDialog.h"
#include "platform/win/Window.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;

struct Sheet {
    kxqt::ShowcaseDialog dialog;
    HWND grid = nullptr;

    bool open()
    {
        if (!dialog.createModeless())
            return false;
        ShowWindow(dialog.m_hWnd, SW_SHOW);
        kxqt::syncMirror();
        grid = CreateWindowEx(0, kGridClassName, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 4, 4, 300, 160,
                              dialog.m_hWnd, 1900);
        if (grid == nullptr || !SSSetMaxCols(grid, kCols) || !SSSetMaxRows(grid, kRows))
            return false;
        for (int r = 1; r <= kRows; r += 97)
            for (int c = 1; c <= kCols; ++c)
                SSSetData(grid, c, r, ("Profile " + std::to_string(r * 7 % 9973)).c_str());
        return true;
    }
    void close()
    {
        if (IsWindow(dialog.m_hWnd))
            DestroyWindow(dialog.m_hWnd);
        kxqt::syncMirror();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

bool startBackend(benchmark::State& state)
{
    std::string error;
    const bool started = kxqt::startQt(kxqt::QtDisplay::Offscreen, &error);
    if (!started || (!kxqt::qtBackendInstalled() && !kxqt::installQtBackend())) {
        state.SkipWithError(("Qt cannot start offscreen: " + error).c_str());
        return false;
    }
    return true;
}

void BM_QtGridSetup(benchmark::State& state)
{
    if (!startBackend(state))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        Sheet sheet;
        if (!sheet.open()) {
            state.SkipWithError("the grid could not be made");
            break;
        }
        state.ResumeTiming();
        kxqt::syncMirror();
        benchmark::DoNotOptimize(kxqt::installedMirror()->widgetFor(sheet.grid));
        state.PauseTiming();
        sheet.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_QtGridSetup)->Unit(benchmark::kMillisecond);

void BM_QtGridPaint(benchmark::State& state)
{
    if (!startBackend(state))
        return;
    Sheet sheet;
    if (!sheet.open()) {
        state.SkipWithError("the grid could not be made");
        return;
    }
    kxqt::syncMirror();
    QWidget* view = kxqt::installedMirror()->widgetFor(sheet.grid);
    if (view == nullptr) {
        state.SkipWithError("the grid has no view");
        return;
    }
    for (auto _ : state) {
        const QPixmap picture = view->grab();
        benchmark::DoNotOptimize(picture.cacheKey());
    }
    sheet.close();
}
BENCHMARK(BM_QtGridPaint)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
