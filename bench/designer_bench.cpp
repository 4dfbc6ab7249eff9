// Designed dialogs: what a macro page pays to show its layout, and what the dialog designer pays
// for each step of editing a big layout, undo and redo included (BM_Designer*). A layout of 100 controls (edits,
// combos, buttons, check boxes and flex buttons in ten rows) with a 400 x 300 picture is read from
// its files, placed in a host dialog and given its tab order, separately and all together.
#include "core/Kx_Settings.h"
#include "designer/Kx_DlgDesignerData.h"
#include "designer/LayoutFiles.h"
#include "platform/win/Dialog.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/ImageCodec.h"
#include "platform/win/Window.h"

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

constexpr Kx_ControlType kRowTypes[] = {
    Kx_ControlType::Label,         Kx_ControlType::VariableEdit, Kx_ControlType::VariableCombo,
    Kx_ControlType::VariableEdit,  Kx_ControlType::CheckBox,     Kx_ControlType::PatternValueEdit,
    Kx_ControlType::BoltAssemblyList, Kx_ControlType::PatternButton, Kx_ControlType::FlexButton,
    Kx_ControlType::CutModeList,
};

// A library folder of its own with the layout "bench\page" in it, made once.
class Library {
public:
    Library()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kx-designer-bench-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data());
        Kx_Settings::setLibDir(m_folder.string());
        const std::filesystem::path root = m_folder / "Dialog Templates" / "Dialog Design" / "bench";
        std::filesystem::create_directories(root);

        kxwin::BitmapPixels pixels(400, 300, RGB(255, 255, 255));
        for (int x = 0; x < 400; x += 3)
            for (int y = x % 300; y < 300; y += 7)
                pixels.setPixel(x, y, RGB(40, 60, 110));
        const std::vector<BYTE> bmp = kxwin::encodeBmp(pixels);
        std::ofstream(root / "page.bmp", std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()),
                                                                  static_cast<std::streamsize>(bmp.size()));

        Kx_DlgDesignerData layout;
        for (int i = 0; i < 100; ++i) {
            const int row = i / 10;
            const int column = i % 10;
            Kx_DesignerControl c;
            c.setType(kRowTypes[column]);
            // Rows slightly uneven, as drawn by hand.
            const double top = 0.02 + row * 0.095 + (column % 3) * 0.004;
            c.setFactors(0.01 + column * 0.098, top, 0.09 + column * 0.098, top + 0.06);
            c.setContents("var" + Kx_String(i));
            c.setComboList(c.getType() == Kx_ControlType::FlexButton ? "group;;var;" : "");
            layout.append(c);
        }
        std::ofstream(root / "page.txt", std::ios::binary) << layout.toText();

        // The designer's layout: the same 100 controls over a 1000 x 700 picture.
        kxwin::BitmapPixels big(1000, 700, RGB(255, 255, 255));
        for (int x = 0; x < 1000; x += 3)
            for (int y = x % 700; y < 700; y += 7)
                big.setPixel(x, y, RGB(40, 60, 110));
        const std::vector<BYTE> bigBmp = kxwin::encodeBmp(big);
        std::ofstream(root / "big.bmp", std::ios::binary).write(reinterpret_cast<const char*>(bigBmp.data()),
                                                                static_cast<std::streamsize>(bigBmp.size()));
        std::ofstream(root / "big.txt", std::ios::binary) << layout.toText();
    }
    ~Library()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
        Kx_Settings::setLibDir("");
    }

private:
    std::filesystem::path m_folder;
};

const Library& library()
{
    static const Library instance;
    return instance;
}

HWND makeHost()
{
    return CreateWindowEx(0, kDialogClass, "Page", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, 0);
}

void BM_ReadLayout100WithPicture(benchmark::State& state)
{
    library();
    for (auto _ : state) {
        Kx_DlgDesignerData layout;
        benchmark::DoNotOptimize(layout.readFromFile("bench\\page", /*withPicture=*/true));
    }
}
BENCHMARK(BM_ReadLayout100WithPicture)->Unit(benchmark::kMicrosecond);

void BM_ReadLayout100WithoutPicture(benchmark::State& state)
{
    library();
    for (auto _ : state) {
        Kx_DlgDesignerData layout;
        benchmark::DoNotOptimize(layout.readFromFile("bench\\page", /*withPicture=*/false));
    }
}
BENCHMARK(BM_ReadLayout100WithoutPicture)->Unit(benchmark::kMicrosecond);

// Sorting the tab order and making the 100 windows (the windows of the previous round are
// destroyed first, which is counted too).
void BM_DrawLayout100InHost(benchmark::State& state)
{
    library();
    HWND host = makeHost();
    Kx_DlgDesignerData layout;
    layout.initialize(host, kDesignerFirstResourceId, kDesignerLastResourceId, 0, 0, 0, 0, 0, false);
    layout.readFromFile("bench\\page", true);
    for (auto _ : state)
        layout.redrawAllControls();
    DestroyWindow(host);
}
BENCHMARK(BM_DrawLayout100InHost)->Unit(benchmark::kMicrosecond);

void BM_SortTabOrder(benchmark::State& state)
{
    // Controls scattered over the picture, each a hundredth of its height: rows of a few controls.
    Kx_DlgDesignerData layout;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> factor(0.0, 1.0);
    std::string text = "int nrOfControls = " + std::to_string(state.range(0)) + "\n";
    for (int i = 0; i < state.range(0); ++i) {
        const double top = factor(random);
        const std::string n = std::to_string(i);
        text += "int type" + n + " = 2\ndouble topLeftX" + n + " = " + std::to_string(factor(random)) + "\ndouble topLeftY"
            + n + " = " + std::to_string(top) + "\ndouble bottomRightY" + n + " = " + std::to_string(top + 0.01) + "\n";
    }
    layout.readFromText(text, "bench");
    for (auto _ : state)
        layout.sortAllControls();
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SortTabOrder)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The whole of it, as a page does when it opens: read with the picture, place, sort, and close.
void BM_ReadDrawAndSortLayout100(benchmark::State& state)
{
    library();
    HWND host = makeHost();
    for (auto _ : state) {
        Kx_DlgDesignerData layout;
        layout.initialize(host, kDesignerFirstResourceId, kDesignerLastResourceId, 0, 0, 0, 0, 0, false);
        layout.readFromFile("bench\\page", true);
        layout.redrawAllControls();
        layout.removeAllDrawnCtrls();
    }
    DestroyWindow(host);
}
BENCHMARK(BM_ReadDrawAndSortLayout100)->Unit(benchmark::kMicrosecond);

// The background erase of a page: the picture blitted with white left out.
void BM_PaintLayoutBackground(benchmark::State& state)
{
    library();
    HWND host = makeHost();
    Kx_DlgDesignerData layout;
    layout.initialize(host, kDesignerFirstResourceId, kDesignerLastResourceId, 0, 0, 0, 0, 0, false);
    layout.readFromFile("bench\\page", true);
    for (auto _ : state) {
        HDC dc = GetDC(host);
        layout.OnEraseBkgnd(dc);
        ReleaseDC(host, dc);
    }
    DestroyWindow(host);
}
BENCHMARK(BM_PaintLayoutBackground)->Unit(benchmark::kMicrosecond);

// A host of the designer's size with the big layout drawn in designer mode.
struct DesignerPage {
    DesignerPage()
    {
        library();
        host = CreateWindowEx(0, kDialogClass, "Designer", WS_POPUP | WS_VISIBLE, 0, 0, 1200, 800, nullptr, 0);
        layout.initialize(host, kDesignerFirstResourceId, kDesignerLastResourceId, 0, 0, 0, 0, 0, true);
        layout.readFromFile("bench\\big", true);
        layout.redrawAllControls();
    }
    ~DesignerPage()
    {
        layout.removeAllDrawnCtrls();
        DestroyWindow(host);
    }
    HWND host = nullptr;
    Kx_DlgDesignerData layout;
};

// One mouse move while the whole selection of 100 controls is dragged (target: under 16 ms).
void BM_DesignerDragMove100Selected(benchmark::State& state)
{
    DesignerPage page;
    std::vector<int> all(100);
    for (int i = 0; i < 100; ++i)
        all[static_cast<size_t>(i)] = i;
    page.layout.setSelection(all);
    const RECT first = GetWindowRectInParent(page.layout.getDrawnWindow(0));
    const POINT from{(first.left + first.right) / 2, (first.top + first.bottom) / 2};
    page.layout.OnLButtonDown(MK_LBUTTON, from);
    int step = 0;
    for (auto _ : state) {
        ++step;
        page.layout.OnMouseMove(MK_LBUTTON, POINT{from.x + step % 50, from.y + step % 30});
    }
    page.layout.OnLButtonUp(0, from);
}
BENCHMARK(BM_DesignerDragMove100Selected)->Unit(benchmark::kMicrosecond);

// A rubber band over all 100 controls: press, one move, release and the selection it makes
// (target: under 2 ms).
void BM_DesignerRubberBand100(benchmark::State& state)
{
    DesignerPage page;
    for (auto _ : state) {
        page.layout.OnLButtonDown(MK_LBUTTON, POINT{1150, 780});
        page.layout.OnMouseMove(MK_LBUTTON, POINT{0, 0});
        page.layout.OnLButtonUp(0, POINT{0, 0});
    }
    if (page.layout.getSelection().size() != 100)
        state.SkipWithError("the band did not select every control");
}
BENCHMARK(BM_DesignerRubberBand100)->Unit(benchmark::kMicrosecond);

// Saving the drawn layout of 100 controls with its 1000 x 700 picture under another name each
// time, so that the picture is copied every time (target: under 50 ms).
void BM_DesignerSave100With1000x700Picture(benchmark::State& state)
{
    DesignerPage page;
    int n = 0;
    for (auto _ : state) {
        if (!page.layout.writeToFile(++n % 2 ? "bench\\saved-a" : "bench\\saved-b"))
            state.SkipWithError("the save failed");
    }
}
BENCHMARK(BM_DesignerSave100With1000x700Picture)->Unit(benchmark::kMillisecond);

// Opening a layout in the designer: read with its picture and draw (target: under 5 ms).
void BM_DesignerOpenAndDraw100(benchmark::State& state)
{
    library();
    HWND host = CreateWindowEx(0, kDialogClass, "Designer", WS_POPUP | WS_VISIBLE, 0, 0, 1200, 800, nullptr, 0);
    for (auto _ : state) {
        Kx_DlgDesignerData layout;
        layout.readFromFile("bench\\big", true);
        layout.initialize(host, kDesignerFirstResourceId, kDesignerLastResourceId, 0, 0, 0, 0, 0, true);
        layout.redrawAllControls();
        layout.removeAllDrawnCtrls();
    }
    DestroyWindow(host);
}
BENCHMARK(BM_DesignerOpenAndDraw100)->Unit(benchmark::kMicrosecond);

// Undo and redo of a long session on the 100 controls: 200 steps (nudges of changing selections,
// alignments and equal sizes), all undone and then all redone per iteration. Each undo or redo
// puts back a copy of the 100 controls and draws the layout again (target: a step under 16 ms).
void BM_DesignerUndoRedo200Steps(benchmark::State& state)
{
    DesignerPage page;
    page.layout.clearHistory();
    for (int k = 0; k < kMaxUndoSteps; ++k) {
        const int first = (k * 7) % 100;
        page.layout.setSelection({first, (first + 13) % 100, (first + 41) % 100});
        switch (k % 4) {
        case 0: page.layout.nudgeCurCtrls(k % 8 < 4 ? 2 : -2, 1, false); break;
        case 1: page.layout.alignCurCtrls(Kx_DlgDesignerData::AlignEdge::Top); break;
        case 2: page.layout.sameSizeCurCtrls(true, false); break;
        default: page.layout.distributeCurCtrls(true); break;
        }
    }
    const int steps = page.layout.undoCount();
    for (auto _ : state) {
        while (page.layout.undo()) {
        }
        while (page.layout.redo()) {
        }
    }
    state.counters["steps"] = steps;
    state.counters["per_step_us"] = benchmark::Counter(2.0 * steps, benchmark::Counter::kIsIterationInvariantRate
                                                                        | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DesignerUndoRedo200Steps)->Unit(benchmark::kMillisecond);

// What recording a step costs: one nudge of three controls of the 100, the copy of the layout
// before it included (target: under 1 ms).
void BM_DesignerNudgeStep100(benchmark::State& state)
{
    DesignerPage page;
    int k = 0;
    for (auto _ : state) {
        page.layout.setSelection({k % 100, (k + 1) % 100, (k + 2) % 100});
        page.layout.nudgeCurCtrls(k % 2 ? 1 : -1, 0, false);
        ++k;
    }
}
BENCHMARK(BM_DesignerNudgeStep100)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
