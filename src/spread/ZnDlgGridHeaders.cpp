// The grid headers dialog and the sheet-headers command.
#include "spread/ZnDlgGridHeaders.h"

#include "core/DialogFunctions.h"
#include "core/TextTables.h"
#include "frame/Launcher.h"
#include "platform/grid/Spread.h"
#include "platform/win/Backend.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace {

// Labels of the four edits, and the frame round them.
constexpr int kColCountLabel = 1018;
constexpr int kRowCountLabel = 1020;
constexpr int kHeaderRowHeightLabel = 1022;
constexpr int kHeaderColWidthLabel = 1026;
constexpr int kSizesFrame = 1016;

Kx_String headerText(HWND grid, int col, int row)
{
    const int length = SSGetDataLen(grid, col, row);
    if (length <= 0)
        return {};
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    const int read = SSGetData(grid, col, row, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(std::max(read, 0)));
    return Kx_String(std::move(buffer));
}

} // namespace

ZnDlgGridHeaders::ZnDlgGridHeaders() : CDialog(kTemplateId)
{
    onCommand(kColCount, EN_KILLFOCUS, [this] { countChanged(kColCount, m_cols, SS_MAX_COLS); });
    onCommand(kRowCount, EN_KILLFOCUS, [this] { countChanged(kRowCount, m_rows, SS_MAX_ROWS); });
}

void ZnDlgGridHeaders::attachTitles(TitleList& list, int gridId, const Kx_StringArray& titles, int headerText)
{
    list.kept = titles;
    // The grid takes the placeholder's exact place: this window layer draws no frame to allow for.
    list.grid.attach(this, gridId, /*exactRect=*/true);
    list.grid.setStandardLook(1);
    list.grid.setColCount(1);
    SSSetData(list.grid.GetSafeHwnd(), 1, 0, dialString(headerText).c_str());
    showTitles(list, titles.length());
    list.grid.setFitMode(1);
    list.grid.fitToWindow();
}

void ZnDlgGridHeaders::showTitles(TitleList& list, int count)
{
    HWND grid = list.grid.GetSafeHwnd();
    SSSetEditMode(grid, FALSE);
    const int shown = std::max(list.grid.getRowCount(), 0);
    for (int r = 1; r <= shown; ++r) {
        Kx_String text;
        list.grid.getCellText(1, r, text, Kx_Spread::kTextData);
        if (r <= list.kept.length())
            list.kept[r - 1] = text;
        else
            list.kept.append(text);
    }
    // Straight to the grid rather than setRowCount, which would copy the last title into new rows.
    if (!SSSetMaxRows(grid, count))
        return;
    const int filled = std::min(count, list.kept.length());
    for (int r = 1; r <= filled; ++r)
        SSSetData(grid, 1, r, list.kept[r - 1].c_str());
    // Row r holds the title of column (row) r of the sheet: say so in its header.
    for (int r = shown + 1; r <= count; ++r)
        SSSetData(grid, 0, r, std::to_string(r).c_str());
    list.grid.applyFonts();
}

std::optional<int> ZnDlgGridHeaders::readNumber(int id, int max) const
{
    const std::string text = Kx_String(GetDlgItemText(id)).trimmed().str();
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 0 || value > max)
        return std::nullopt;
    return value;
}

void ZnDlgGridHeaders::countChanged(int editId, TitleList& list, int maxCount)
{
    if (const std::optional<int> count = readNumber(editId, maxCount))
        showTitles(list, *count);
}

bool ZnDlgGridHeaders::readField(int id, int labelText, int max, int& value)
{
    if (const std::optional<int> number = readNumber(id, max)) {
        value = *number;
        return true;
    }
    const Kx_String text = dialString(labelText) + ": " + dialString(1098) + " <" + GetDlgItemText(id) + "> ";
    MessageBox(m_hWnd, text.str(), dialString(888).str(), MB_OK | MB_ICONWARNING);
    ::SetFocus(GetDlgItem(id));
    ::SendMessage(GetDlgItem(id), EM_SETSEL, 0, -1);
    return false;
}

BOOL ZnDlgGridHeaders::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(1369).str());
    SetDlgItemText(kColCountLabel, dialString(1370).str());
    SetDlgItemText(kRowCountLabel, dialString(1371).str());
    SetDlgItemText(kHeaderRowHeightLabel, dialString(1372).str());
    SetDlgItemText(kHeaderColWidthLabel, dialString(1373).str());
    SetDlgItemText(kSizesFrame, dialString(1376).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());

    SetDlgItemText(kColCount, Kx_String(m_data.colCount).str());
    SetDlgItemText(kRowCount, Kx_String(m_data.rowCount).str());
    SetDlgItemText(kHeaderRowHeight, Kx_String(m_data.headerRowHeight).str());
    SetDlgItemText(kHeaderColWidth, Kx_String(m_data.headerColWidth).str());
    attachTitles(m_cols, kColTitlesGrid, m_data.colTitles, 1374);
    attachTitles(m_rows, kRowTitlesGrid, m_data.rowTitles, 1375);
    return TRUE;
}

void ZnDlgGridHeaders::OnOK()
{
    SheetHeaders result;
    if (!readField(kColCount, 1370, SS_MAX_COLS, result.colCount) ||
        !readField(kRowCount, 1371, SS_MAX_ROWS, result.rowCount) ||
        !readField(kHeaderRowHeight, 1372, kMaxHeaderPixels, result.headerRowHeight) ||
        !readField(kHeaderColWidth, 1373, kMaxHeaderPixels, result.headerColWidth))
        return;
    showTitles(m_cols, result.colCount);
    showTitles(m_rows, result.rowCount);
    result.colTitles = m_cols.kept;
    result.colTitles.setLogicalLength(result.colCount);
    result.rowTitles = m_rows.kept;
    result.rowTitles.setLogicalLength(result.rowCount);
    m_data = std::move(result);
    CDialog::OnOK();
}

bool kxss::collectSheetHeaders(HWND grid, SheetHeaders& headers)
{
    const int cols = SSGetMaxCols(grid);
    const int rows = SSGetMaxRows(grid);
    if (cols < 0 || rows < 0)
        return false;
    SheetHeaders collected;
    collected.colCount = cols;
    collected.rowCount = rows;
    SSGetRowHeightInPixels(grid, 0, &collected.headerRowHeight);
    SSGetColWidthInPixels(grid, 0, &collected.headerColWidth);
    for (int c = 1; c <= cols; ++c)
        collected.colTitles.append(headerText(grid, c, 0));
    for (int r = 1; r <= rows; ++r)
        collected.rowTitles.append(headerText(grid, 0, r));
    headers = std::move(collected);
    return true;
}

bool kxss::applySheetHeaders(HWND grid, const SheetHeaders& headers)
{
    if (SSGetMaxCols(grid) < 0 || !SSSetMaxCols(grid, headers.colCount) || !SSSetMaxRows(grid, headers.rowCount))
        return false;
    SSSetColWidthInPixels(grid, 0, headers.headerColWidth);
    SSSetRowHeightInPixels(grid, 0, headers.headerRowHeight);
    for (int r = 1; r <= headers.rowCount; ++r)
        SSSetData(grid, 0, r, r <= headers.rowTitles.length() ? headers.rowTitles[r - 1].c_str() : "");
    for (int c = 1; c <= headers.colCount; ++c)
        SSSetData(grid, c, 0, c <= headers.colTitles.length() ? headers.colTitles[c - 1].c_str() : "");
    SSSetBool(grid, SSB_CHANGEMADE, TRUE);
    return true;
}

bool kxss::runSheetHeadersCommand(HWND grid) noexcept
{
    return runLauncher("runSheetHeadersCommand", false, [&] {
        SheetHeaders headers;
        if (!collectSheetHeaders(grid, headers))
            return false;
        ZnDlgGridHeaders dialog;
        dialog.setParentWindow(getDlgOwnerWindow(grid));
        dialog.data() = headers;
        if (runModal("runSheetHeadersCommand", dialog) != IDOK)
            return false;
        return applySheetHeaders(grid, dialog.data());
    });
}
