// Find and replace: replace all of 100,000 matches on a 100,000 x 10 sheet (target: well under
// 500 ms through the grid wrapper). Measured twice: over an in-memory sheet, which leaves the
// dialog's own share, and over a grid searched with the grid's functions cell by cell.
#include "core/Kx_String.h"
#include "frame/ModelessDialogs.h"
#include "platform/grid/Spread.h"
#include "platform/host/HostWindow.h"
#include "platform/win/Backend.h"
#include "platform/win/Registry.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"
#include "sheetedit/FindReplaceTarget.h"
#include "sheetedit/ZnDlgFindReplace.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kCols = 10;
constexpr int kRows = 100'000;
constexpr int kMatchCol = 5;

// What replace all does not use.
class ReplaceAllTarget : public FindReplaceTarget {
public:
    bool findAndSelect(const Kx_String&, int, int, int) override { return false; }
    bool replaceSelection(const Kx_String&) override { return false; }
    void getActiveCell(int& col, int& row) override { col = row = 1; }
    bool getEditSelection(int&, int&) override { return false; }
};

// Row-order search over cells held in memory (a stand-in for a fast wrapper).
class MemoryTarget : public ReplaceAllTarget {
public:
    MemoryTarget() : m_cells(static_cast<std::size_t>(kCols) * kRows, Kx_String("text"))
    {
        for (int r = 1; r <= kRows; ++r)
            at(kMatchCol, r) = Kx_String("cell a");
    }
    bool findNext(const Kx_String& text, int startCol, int startRow, int& col, int& row) override
    {
        for (int r = std::max(startRow, 1); r <= kRows; ++r) {
            for (int c = r == startRow ? std::max(startCol, 1) : 1; c <= kCols; ++c) {
                if (at(c, r).hasSubString(text, false)) {
                    col = c;
                    row = r;
                    return true;
                }
            }
        }
        return false;
    }
    bool findInCell(const Kx_String& text, int col, int row, int& start, int& length, int from) override
    {
        length = text.length();
        return at(col, row).findFirst(text, false, start, from);
    }
    bool replaceInCell(int col, int row, const Kx_String& oldText, const Kx_String& newText) override
    {
        return at(col, row).replaceSubString(oldText, newText, false) > 0;
    }

private:
    Kx_String& at(int col, int row) { return m_cells[static_cast<std::size_t>(row - 1) * kCols + (col - 1)]; }
    std::vector<Kx_String> m_cells;
};

std::string valueText(HWND grid, int col, int row)
{
    char buffer[64];
    const int n = SSGetValue(grid, col, row, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

// Row-order search with one value read per cell, as a plain wrapper would do it.
class GridTarget : public ReplaceAllTarget {
public:
    explicit GridTarget(HWND grid) : m_grid(grid) {}
    bool findNext(const Kx_String& text, int startCol, int startRow, int& col, int& row) override
    {
        for (int r = std::max(startRow, 1); r <= kRows; ++r) {
            for (int c = r == startRow ? std::max(startCol, 1) : 1; c <= kCols; ++c) {
                if (Kx_String(valueText(m_grid, c, r)).hasSubString(text, false)) {
                    col = c;
                    row = r;
                    return true;
                }
            }
        }
        return false;
    }
    bool findInCell(const Kx_String& text, int col, int row, int& start, int& length, int from) override
    {
        length = text.length();
        return Kx_String(valueText(m_grid, col, row)).findFirst(text, false, start, from);
    }
    bool replaceInCell(int col, int row, const Kx_String& oldText, const Kx_String& newText) override
    {
        Kx_String text(valueText(m_grid, col, row));
        text.replaceSubString(oldText, newText, false);
        return SSSetData(m_grid, col, row, text.c_str()) != FALSE;
    }

private:
    HWND m_grid;
};

void runReplaceAll(benchmark::State& state, HWND grid, FindReplaceTarget& target)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kx_sheetedit_bench";
    std::filesystem::create_directories(folder);
    kxwin::setRegistryPath((folder / "registry.sqlite3").c_str());
    kxss::attachModule();
    kxwin::UserAgent agent;
    ZnDlgFindReplace dialog(grid, target, {});
    if (!dialog.open(adsw_acadMainWnd())) {
        state.SkipWithError("the dialog did not open");
        return;
    }
    // Each pass turns every "a" into "b" or back, so every pass finds 100,000 cells.
    bool forth = true;
    for (auto _ : state) {
        state.PauseTiming();
        SetWindowText(GetDlgItem(dialog.m_hWnd, ZnDlgFindReplace::kFindEdit), forth ? "a" : "b");
        SetWindowText(GetDlgItem(dialog.m_hWnd, ZnDlgFindReplace::kReplaceEdit), forth ? "b" : "a");
        forth = !forth;
        agent.onMessageBox([](const MessageBoxRequest&) { return IDOK; });
        state.ResumeTiming();
        dialog.replaceAll();
    }
    state.SetLabel(agent.messageBoxes().empty() ? "no count shown" : agent.messageBoxes().back().text);
    state.SetItemsProcessed(state.iterations() * kRows);
    dialog.DestroyWindow();
    kxwin::setRegistryPath(nullptr);
}

void BM_ReplaceAllInMemory(benchmark::State& state)
{
    HWND grid = kxgrid::createStandaloneGrid(1, 1);  // only alive; the search never reads it
    MemoryTarget target;
    runReplaceAll(state, grid, target);
    DestroyWindow(grid);
}

void BM_ReplaceAllThroughTheGrid(benchmark::State& state)
{
    HWND grid = kxgrid::createStandaloneGrid(kCols, kRows);
    SSSetBool(grid, SSB_REDRAW, FALSE);
    for (int r = 1; r <= kRows; ++r)
        SSSetData(grid, kMatchCol, r, "cell a");
    GridTarget target(grid);
    runReplaceAll(state, grid, target);
    DestroyWindow(grid);
}

} // namespace

BENCHMARK(BM_ReplaceAllInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAllThroughTheGrid)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
