// SheetUndoHistory: the states of a sheet that the spreadsheet editor's Undo and Redo walk through.
// A state is the whole sheet as its file text (the grid's own format keeps everything a cell holds
// and looks like, the counts, sizes and joined cells), so one mechanism covers typing, paste, clear,
// find and replace, rows and columns inserted or deleted, and cell formats alike; a step is never
// lost because some command forgot to describe its change. Private to this folder.
#pragma once

#include "platform/win/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace kxss {

class SheetUndoHistory {
public:
    // Undo goes back at least this many steps. Older ones are dropped first when the kept texts
    // pass kMaxBytes, but never below kMinSteps: a sheet of 1 MiB of text keeps 100 steps in 100 MiB.
    static constexpr int kMaxSteps = 200;
    static constexpr int kMinSteps = 100;
    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

    // Forgets every step: the sheet as it is now is the only state, and the saved one.
    void reset(HWND grid);
    // After a change: the sheet as it is now becomes the next step, and the steps that Redo would
    // have gone to are dropped. Nothing when the sheet shows no change since the last state (the
    // grid's content version tells cheaply; equal texts are one state). False when nothing was added.
    bool record(HWND grid);
    bool canUndo() const { return m_current > 0; }
    bool canRedo() const { return m_current + 1 < m_states.size(); }
    // Loads the previous (next) state into the grid, the active cell as it was then. False when
    // there is none or the grid refused the text (the history then stays where it was).
    bool undo(HWND grid);
    bool redo(HWND grid);
    // The current state is the one on disk now (after a save).
    void markSaved() { m_saved = m_current; }
    // Whether the current state is the saved one: the changed mark is its negation.
    bool atSavedState() const { return m_saved && *m_saved == m_current; }
    // States kept, the current one included.
    std::size_t stateCount() const { return m_states.size(); }

private:
    struct State {
        std::string text;
        int activeCol = 1;
        int activeRow = 1;
    };
    std::optional<State> capture(HWND grid) const;
    bool restore(HWND grid, std::size_t index);
    void trim();

    std::deque<State> m_states;
    std::size_t m_current = 0;
    std::optional<std::size_t> m_saved;
    std::uint64_t m_version = 0;
    std::size_t m_bytes = 0;
};

} // namespace kxss
