// The string-array dialog.
#include "spread/ZnDlgStringArray.h"

#include "core/DialogFunctions.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"

#include <algorithm>

ZnDlgStringArray::ZnDlgStringArray(const Kx_StringArray& colTitles, const Kx_StringArray& rowTitles,
                                   const Kx_Array<Kx_StringArray>& rows, bool allowRowEdit,
                                   const Kx_String& title, const Kx_String& sizeKey)
    : CDialog(kTemplateId),
      m_colTitles(colTitles),
      m_allowRowEdit(allowRowEdit),
      m_title(title),
      m_sizeKey(sizeKey.isEmpty() ? Kx_String(kDefaultSizeKey) : sizeKey)
{
    // A row title names its row: when a row is left out, so is its title, so that the rows shown
    // keep their own titles.
    for (int i = 0; i < rows.length(); ++i) {
        if (rows[i].length() != colTitles.length())
            continue;
        m_rows.append(rows[i]);
        if (i < rowTitles.length())
            m_rowTitles.append(rowTitles[i]);
    }

    onCommand(kInsertRow, BN_CLICKED, [this] { insertRow(); });
    onCommand(kDeleteRow, BN_CLICKED, [this] { deleteRow(); });
}

void ZnDlgStringArray::attachGrid()
{
    // The grid takes the placeholder's exact place: this window layer draws no frame to allow for.
    m_grid.attach(this, kGrid, /*exactRect=*/true);
    m_grid.setStandardLook(1);
    m_grid.setColCount(m_colTitles.length());
    m_grid.setRowCount(m_rows.length());
    m_grid.applyFonts();
    HWND grid = m_grid.GetSafeHwnd();
    for (int c = 0; c < m_colTitles.length(); ++c)
        SSSetData(grid, c + 1, 0, m_colTitles[c].c_str());
    for (int r = 0; r < m_rowTitles.length(); ++r)
        SSSetData(grid, 0, r + 1, m_rowTitles[r].c_str());
    for (int r = 0; r < m_rows.length(); ++r)
        for (int c = 0; c < m_colTitles.length(); ++c)
            SSSetData(grid, c + 1, r + 1, m_rows[r][c].c_str());
    // Without row titles the header column would be an empty strip as wide as a column.
    if (m_rowTitles.isEmpty())
        SSSetBool(grid, SSB_SHOWROWHEADERS, FALSE);
    m_grid.setFitMode(1);
    m_grid.fitToWindow();
}

BOOL ZnDlgStringArray::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_title.str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());
    SetDlgItemText(kInsertRow, dialString(606).str());
    SetDlgItemText(kDeleteRow, dialString(607).str());
    if (!m_allowRowEdit) {
        ShowOrHideCtrl(this, kInsertRow, false);
        ShowOrHideCtrl(this, kDeleteRow, false);
    }

    attachGrid();
    m_resizer.attach(this, {
                               {kGrid, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}},
                               {kInsertRow, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {kDeleteRow, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {IDOK, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {IDCANCEL, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                           });
    ChangeDlgSize(this, m_sizeKey, /*sizeOnly=*/false);
    return TRUE;
}

void ZnDlgStringArray::activeCell(int& col, int& row) const
{
    col = 1;
    row = 1;
    SSGetActiveCell(m_grid.GetSafeHwnd(), &col, &row);
    const int cols = m_grid.getColCount();
    const int rows = m_grid.getRowCount();
    col = std::clamp(col, 1, std::max(cols, 1));
    row = rows > 0 ? std::clamp(row, 1, rows) : 0;
}

void ZnDlgStringArray::insertRow()
{
    HWND grid = m_grid.GetSafeHwnd();
    SSSetEditMode(grid, FALSE);
    int col = 1;
    int row = 0;
    activeCell(col, row);
    // After the active row; into an empty grid as its first row.
    const int at = row + 1;
    // insertRow gives the new row the body font.
    if (!m_grid.insertRow(at))
        return;
    m_grid.SetFocus();
    SSSetActiveCell(grid, col, at);
}

void ZnDlgStringArray::deleteRow()
{
    HWND grid = m_grid.GetSafeHwnd();
    SSSetEditMode(grid, FALSE);
    int col = 1;
    int row = 0;
    activeCell(col, row);
    if (row == 0 || !m_grid.deleteRow(row))
        return;
    m_grid.SetFocus();
    const int rows = m_grid.getRowCount();
    if (rows > 0) {
        SSSetActiveCell(grid, col, std::min(row, rows));
        SSSetSelectBlock(grid, col, std::min(row, rows), col, std::min(row, rows));
    }
}

void ZnDlgStringArray::OnOK()
{
    // A cell still being edited holds the user's last typing: commit it before reading.
    HWND grid = m_grid.GetSafeHwnd();
    SSSetEditMode(grid, FALSE);
    const int cols = m_grid.getColCount();
    const int rows = m_grid.getRowCount();
    Kx_Array<Kx_StringArray> result;
    for (int r = 1; r <= rows; ++r) {
        Kx_StringArray line;
        for (int c = 1; c <= cols; ++c) {
            Kx_String text;
            m_grid.getCellText(c, r, text, Kx_Spread::kTextData);
            line.append(text);
        }
        result.append(std::move(line));
    }
    m_rows = std::move(result);
    CDialog::OnOK();
}

void ZnDlgStringArray::OnDestroy()
{
    WriteDlgSize(this, m_sizeKey);
    m_resizer.detach();
}
