// The undo states of the spreadsheet editor: whole-sheet texts, bounded in count and size.
#include "spread/SheetUndoHistory.h"

#include "platform/grid/Spread.h"
#include "spread/SheetFiles.h"

#include <algorithm>

namespace kxss {

std::optional<SheetUndoHistory::State> SheetUndoHistory::capture(HWND grid) const
{
    State state;
    if (!kxgrid::sheetText(grid, state.text))
        return std::nullopt;
    SSGetActiveCell(grid, &state.activeCol, &state.activeRow);
    return state;
}

void SheetUndoHistory::reset(HWND grid)
{
    m_states.clear();
    m_bytes = 0;
    m_current = 0;
    m_saved.reset();
    m_version = kxgrid::contentVersion(grid);
    if (std::optional<State> now = capture(grid)) {
        m_bytes = now->text.size();
        m_states.push_back(std::move(*now));
        m_saved = 0;
    }
}

bool SheetUndoHistory::record(HWND grid)
{
    const std::uint64_t version = kxgrid::contentVersion(grid);
    if (version == m_version && !m_states.empty())
        return false;
    std::optional<State> now = capture(grid);
    if (!now)
        return false;
    m_version = version;
    if (!m_states.empty() && m_states[m_current].text == now->text) {
        // The same sheet (a recalculation that changed nothing shown, a look at a cell): only
        // where the user stands is news.
        m_states[m_current].activeCol = now->activeCol;
        m_states[m_current].activeRow = now->activeRow;
        return false;
    }
    // A new change after some undos: the undone states cannot be redone any more.
    while (m_states.size() > m_current + 1) {
        m_bytes -= m_states.back().text.size();
        m_states.pop_back();
    }
    if (m_saved && *m_saved > m_current)
        m_saved.reset();
    m_bytes += now->text.size();
    m_states.push_back(std::move(*now));
    m_current = m_states.size() - 1;
    trim();
    return true;
}

void SheetUndoHistory::trim()
{
    const auto tooMany = [&] {
        const std::size_t steps = m_states.size() - 1;
        if (steps > static_cast<std::size_t>(kMaxSteps))
            return true;
        return m_bytes > kMaxBytes && steps > static_cast<std::size_t>(kMinSteps);
    };
    while (m_states.size() > 1 && m_current > 0 && tooMany()) {
        m_bytes -= m_states.front().text.size();
        m_states.pop_front();
        --m_current;
        if (m_saved)
            m_saved = *m_saved == 0 ? std::nullopt : std::optional<std::size_t>(*m_saved - 1);
    }
}

bool SheetUndoHistory::restore(HWND grid, std::size_t index)
{
    const State& state = m_states[index];
    if (!kxgrid::loadSheetText(grid, state.text))
        return false;
    // Loading forgets the grid's functions.
    registerFromTable(grid);
    const int rows = SSGetMaxRows(grid), cols = SSGetMaxCols(grid);
    if (rows > 0 && cols > 0)
        SSSetActiveCell(grid, std::min(state.activeCol, cols), std::min(state.activeRow, rows));
    m_current = index;
    m_version = kxgrid::contentVersion(grid);
    return true;
}

bool SheetUndoHistory::undo(HWND grid)
{
    // A change not heard of yet (a cell committed without a notification) is a step of its own.
    record(grid);
    return canUndo() && restore(grid, m_current - 1);
}

bool SheetUndoHistory::redo(HWND grid)
{
    return canRedo() && restore(grid, m_current + 1);
}

} // namespace kxss
