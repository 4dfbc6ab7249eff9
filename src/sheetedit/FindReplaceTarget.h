// FindReplaceTarget: what the find and replace dialog asks of the grid it searches. The grid
// wrapper (spread/Kx_Spread) implements it; the dialog keeps the grid's window handle as well, to
// notice when the grid is gone. Columns and rows count from 1, as the grid's.
#pragma once

#include "core/Kx_String.h"
#include "platform/win/WinTypes.h"

class FindReplaceTarget {
public:
    virtual ~FindReplaceTarget() = default;

    // A formula cell is never turned into a constant: with searchInFormulas it is searched and
    // replaced in its formula text as its editor shows it ("=A3*5"), without it is left alone (not
    // found, not replaced). Off by default.
    virtual void setSearchInFormulas(bool on) { (void)on; }
    virtual bool searchesInFormulas() const { return false; }

    // The first cell at or after (startCol, startRow) in row order whose value text contains `text`
    // (case folded); the next rows start at column 1. False when none up to the last row.
    virtual bool findNext(const Kx_String& text, int startCol, int startRow, int& col, int& row) = 0;
    // Where `text` lies in the cell's value text, from character `from` on.
    virtual bool findInCell(const Kx_String& text, int col, int row, int& start, int& length, int from) = 0;
    // Focus to the grid, edit mode on, the cell active and the found characters selected.
    virtual bool findAndSelect(const Kx_String& text, int col, int row, int from) = 0;
    // Replaces the edit selection of the active cell with `newText` in the editor's own text (the one
    // the selection counts in) and writes the cell back: a formula as a formula, anything else as data.
    virtual bool replaceSelection(const Kx_String& newText) = 0;
    // Every occurrence of oldText in the cell replaced, written as data; false when the grid refused.
    virtual bool replaceInCell(int col, int row, const Kx_String& oldText, const Kx_String& newText) = 0;
    // The active cell; (1, 1) made active when there is none.
    virtual void getActiveCell(int& col, int& row) = 0;
    // The edit selection while a cell is being edited; false otherwise.
    virtual bool getEditSelection(int& start, int& end) = 0;
    // Told after Replace or Replace all changed cells, so that an owner keeping a history of the
    // sheet (the editor's undo) takes the change as one step.
    virtual void cellsReplaced() {}
};
