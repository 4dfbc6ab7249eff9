// The constraint editor on a large module, driven as a person drives it: choosing another
// constraint after editing the shown one, sorting by a column header, and switching modules.
#include "constraints/ConstraintLaunchers.h"
#include "constraints/ZnDlgEditConstraints.h"
#include "core/EditConstrData.h"
#include "frame/ModelessDialogs.h"
#include "platform/grid/Spread.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/UserAgent.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

ConstraintModule largeModule(const std::string& name)
{
    ConstraintModule m;
    m.name = name;
    const char* types[] = {"Distance", "Parallel", "Angle", "Coincident"};
    for (int i = 0; i < 1000; ++i) {
        ConstraintRow r;
        r.texts = {Kx_String("C" + std::to_string(i)), Kx_String(types[i % 4]),
                   Kx_String("Plate " + std::to_string(i % 97)), Kx_String("Beam " + std::to_string(i % 89))};
        if (i % 2 == 0)
            r.varName = Kx_String("v" + std::to_string(i / 2));
        r.text2 = Kx_String(std::to_string(i));
        m.constraints.append(r);
    }
    for (int i = 0; i < 500; ++i)
        m.variables.append(ConstraintVariable{Kx_String("v" + std::to_string(i)), i * 0.125, i % 8});
    for (int i = 0; i < 200; ++i)
        m.equations.append(Kx_String("v" + std::to_string(i) + " = v" + std::to_string(i + 1) + " * 2"));
    for (int i = 0; i < 500; ++i) {
        GeometryObject g;
        g.name = Kx_String("Object " + std::to_string(i));
        g.kind = "Plate";
        g.flexibility = 1 + i % 3;
        m.geometry.append(g);
    }
    return m;
}

class EditorFixture {
public:
    EditorFixture()
    {
        EditConstrData data;
        data.modules.append(largeModule("First"));
        data.modules.append(largeModule("Second"));
        data.currentModule = "First";
        data.loadCurrentModule();
        StartDlgEditConstraints(data);
        editor = static_cast<ZnDlgEditConstraints*>(kxss::constraintEditor());
    }
    ~EditorFixture() { EndDlgEditConstraints(); }

    kxwin::DialogDriver page(int index) { return kxwin::DialogDriver(editor->GetPage(index)->m_hWnd); }
    POINT cell(int col, int row)
    {
        HWND g = editor->constraintsGrid().GetSafeHwnd();
        int w = 0, h = 0, hh = 0;
        SSGetColWidthInPixels(g, col, &w);
        SSGetRowHeightInPixels(g, row, &h);
        SSGetRowHeightInPixels(g, 0, &hh);
        int x = 0;
        for (int c = 1; c < col; ++c) {
            int cw = 0;
            SSGetColWidthInPixels(g, c, &cw);
            x += cw;
        }
        return POINT{x + w / 2, hh + (row - 1) * h + h / 2};
    }

    kxwin::UserAgent agent;
    ZnDlgEditConstraints* editor = nullptr;
};

// An edit of the shown constraint, then a click on another row: the edit is applied and the new
// row's properties are shown and highlighted.
void BM_RowChangeWithApply(benchmark::State& state)
{
    EditorFixture f;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.page(0).setText(ZnDlgEditConstraints::kText2, std::to_string(n++));
        state.ResumeTiming();
        f.page(0).clickAt(ZnDlgEditConstraints::kGrid, f.cell(1, 1 + n % 2));
    }
    // What reached the drawing: one apply per iteration.
    int applied = 0;
    for (const auto& r : kxhost::activeDrawing().requests())
        applied += r.what.rfind("UpdateConstraint", 0) == 0 ? 1 : 0;
    state.counters["applied"] = applied;
    state.counters["iterations"] = static_cast<double>(state.iterations());
}
BENCHMARK(BM_RowChangeWithApply)->Unit(benchmark::kMillisecond)->Iterations(500);

// A click on a column header: the sort in the drawing and the grid refilled.
void BM_Sort(benchmark::State& state)
{
    EditorFixture f;
    int column = 1;
    for (auto _ : state) {
        column = column == 1 ? 2 : 1;
        f.editor->sortBy(column);
    }
}
BENCHMARK(BM_Sort)->Unit(benchmark::kMillisecond);

// Another module chosen in the list: the pages' edits applied, three pages refilled.
void BM_ModuleSwitch(benchmark::State& state)
{
    EditorFixture f;
    kxwin::DialogDriver main(f.editor->m_hWnd);
    int i = 0;
    for (auto _ : state)
        main.pick(ZnDlgEditConstraints::kModules, ++i % 2);
}
BENCHMARK(BM_ModuleSwitch)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
