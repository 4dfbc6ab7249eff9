// Kx_Spread: the active cell, the selection, the editor's character selection, editable-cell
// navigation and the Tab hand-over to the owner dialog.
#include "spread/Kx_Spread.h"

#include "platform/grid/Spread.h"

#include <string>

// --- Active cell and selection ---------------------------------------------------------------------

void Kx_Spread::getActiveCell(int& col, int& row)
{
    col = -1;
    row = -1;
    if (!m_attached)
        return;
    if (SSGetActiveCell(m_hWnd, &col, &row) && col >= 1 && row >= 1)
        return;
    SSSetActiveCell(m_hWnd, 1, 1);
    col = 1;
    row = 1;
}

bool Kx_Spread::getSelection(int& col1, int& row1, int& col2, int& row2)
{
    if (!m_attached)
        return false;
    if (SSGetSelectBlock(m_hWnd, &col1, &row1, &col2, &row2))
        return true;
    getActiveCell(col1, row1);
    col2 = col1;
    row2 = row1;
    return true;
}

int Kx_Spread::getSelectedColumn()
{
    int col1 = -1, row1 = -1, col2 = -1, row2 = -1;
    if (!getSelection(col1, row1, col2, row2))
        return -1;
    return col1;
}

int Kx_Spread::getSelectedRow()
{
    int col1 = -1, row1 = -1, col2 = -1, row2 = -1;
    if (!getSelection(col1, row1, col2, row2))
        return -1;
    return row1;
}

bool Kx_Spread::setSelection(int col1, int row1, int col2, int row2)
{
    return m_attached && SSSetSelectBlock(m_hWnd, col1, row1, col2, row2) != FALSE;
}

bool Kx_Spread::selectRow(int row)
{
    return m_attached && SSSetSelectBlock(m_hWnd, HEADER, row, getColCount(), row) != FALSE;
}

bool Kx_Spread::getEditSelection(int& start, int& end)
{
    if (!m_attached || !SSGetEditMode(m_hWnd))
        return false;
    return SSGetSel(m_hWnd, &start, &end) != FALSE;
}

// --- Editable cells --------------------------------------------------------------------------------

bool Kx_Spread::isEditableCell(int col, int row) const
{
    if (SSGetLock(m_hWnd, col, row))
        return false;
    int anchorCol = col;
    int anchorRow = row;
    const int span = SSGetCellSpan(m_hWnd, col, row, &anchorCol, &anchorRow, nullptr, nullptr);
    if (span == SS_SPAN_YES)
        return false;  // covered by a joined block: only its anchor takes input
    if (span == SS_SPAN_ANCHOR)
        return !SSGetLock(m_hWnd, anchorCol, anchorRow);
    return span == SS_SPAN_NO;
}

bool Kx_Spread::firstEditableCell(int& col, int& row) const
{
    if (!m_attached)
        return false;
    const int rows = getRowCount();
    const int cols = getColCount();
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= cols; ++c) {
            if (isEditableCell(c, r)) {
                col = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

bool Kx_Spread::lastEditableCell(int& col, int& row) const
{
    if (!m_attached)
        return false;
    const int rows = getRowCount();
    const int cols = getColCount();
    for (int r = rows; r >= 1; --r) {
        for (int c = cols; c >= 1; --c) {
            if (isEditableCell(c, r)) {
                col = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

bool Kx_Spread::isFirstEditableCell(int col, int row) const
{
    if (!m_attached)
        return false;
    const int cols = getColCount();
    // Any editable cell before (col, row) in row order makes it not the first.
    for (int r = 1; r <= row; ++r) {
        const int lastCol = r == row ? col - 1 : cols;
        for (int c = 1; c <= lastCol; ++c) {
            if (isEditableCell(c, r))
                return false;
        }
    }
    return true;
}

bool Kx_Spread::isLastEditableCell(int col, int row) const
{
    if (!m_attached)
        return false;
    const int rows = getRowCount();
    const int cols = getColCount();
    for (int r = row; r <= rows; ++r) {
        for (int c = r == row ? col + 1 : 1; c <= cols; ++c) {
            if (isEditableCell(c, r))
                return false;
        }
    }
    return true;
}

bool Kx_Spread::focusEdge(bool first)
{
    if (!isVisible())
        return false;
    int col = 0;
    int row = 0;
    if (!(first ? firstEditableCell(col, row) : lastEditableCell(col, row)))
        return false;
    SetFocus();
    return SSSetActiveCell(m_hWnd, col, row) != FALSE;
}

bool Kx_Spread::handleTabKey(UINT key, int& result)
{
    result = kTabNotHandled;
    if (key != VK_TAB || !m_attached || !isVisible())
        return false;
    HWND focus = ::GetFocus();
    if (focus == nullptr)
        return false;
    const std::string cls = ::GetClassName(focus);
    if (cls.rfind("SPR32", 0) != 0 && cls.rfind("fpSpr", 0) != 0)
        return false;
    // Another grid of the same dialog has its own wrapper; its active cell is not ours to judge.
    if (focus != m_hWnd && !::IsChild(m_hWnd, focus))
        return false;
    int col = 0;
    int row = 0;
    getActiveCell(col, row);
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    if (shift)
        result = isFirstEditableCell(col, row) ? kTabLeaveBackward : kTabInside;
    else
        result = isLastEditableCell(col, row) ? kTabLeaveForward : kTabInside;
    return true;
}
