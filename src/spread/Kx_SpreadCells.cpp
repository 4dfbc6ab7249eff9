// Kx_Spread: single cells of form-like grids, where each row is its own kind of field.
#include "spread/Kx_Spread.h"

#include "platform/grid/Spread.h"

#include <string>

bool Kx_Spread::joinCells(int col, int row, int cols, int rows)
{
    return m_attached && cols >= 1 && rows >= 1 && SSAddCellSpan(m_hWnd, col, row, cols, rows) != FALSE;
}

bool Kx_Spread::splitCells(int col, int row)
{
    int anchorCol = 0, anchorRow = 0, cols = 0, rows = 0;
    if (!m_attached || SSGetCellSpan(m_hWnd, col, row, &anchorCol, &anchorRow, &cols, &rows) <= 0)
        return false;
    return SSRemoveCellSpan(m_hWnd, anchorCol, anchorRow) != FALSE;
}

bool Kx_Spread::setComboCell(int col, int row, const Kx_StringArray& items, long style, const Kx_String& text)
{
    if (!m_attached)
        return false;
    // The grid takes the items separated by tabs; an item holding a tab would split in two.
    std::string list;
    for (int i = 0; i < items.length(); ++i) {
        if (items[i].str().find('\t') != std::string::npos)
            return false;
        if (i > 0)
            list += '\t';
        list += items[i].str();
    }
    SS_CELLTYPE type;
    return SSSetCellType(m_hWnd, col, row, SSSetTypeComboBox(m_hWnd, &type, style, list.c_str())) != FALSE
        && SSSetData(m_hWnd, col, row, text.c_str()) != FALSE;
}

bool Kx_Spread::setCheckCell(int col, int row, HBITMAP checked, HBITMAP unchecked, bool check)
{
    if (!m_attached)
        return false;
    SS_CELLTYPE type;
    return SSSetCellType(m_hWnd, col, row, SSSetTypeCheckBox(m_hWnd, &type, 0x300, "", checked, unchecked)) != FALSE
        && SSSetData(m_hWnd, col, row, check ? "1" : "0") != FALSE;
}

bool Kx_Spread::setTextCell(int col, int row, long style, int maxLength, const Kx_String& text)
{
    if (!m_attached)
        return false;
    SS_CELLTYPE type;
    return SSSetCellType(m_hWnd, col, row, SSSetTypeEdit(m_hWnd, &type, style, maxLength, 0, SS_CASE_ASTYPED)) != FALSE
        && SSSetData(m_hWnd, col, row, text.c_str()) != FALSE;
}

bool Kx_Spread::setCellData(int col, int row, const Kx_String& text)
{
    return m_attached && SSSetData(m_hWnd, col, row, text.c_str()) != FALSE;
}

bool Kx_Spread::setActiveCell(int col, int row)
{
    return m_attached && SSSetActiveCell(m_hWnd, col, row) != FALSE;
}

void Kx_Spread::leaveEditMode()
{
    if (m_attached)
        SSSetEditMode(m_hWnd, FALSE);
}
