// Kx_Spread: row and column structure (copy, insert with a name prompt, delete, move), check boxes
// over the selection, the check guard, and find and replace in cell texts.
#include "spread/Kx_Spread.h"

#include "core/PromptDialog.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"

#include <algorithm>
#include <string>
#include <string_view>

// --- Copying and prompting -------------------------------------------------------------------------

bool Kx_Spread::copyRow(int sourceRow, int targetRow)
{
    if (!m_attached)
        return false;
    if (!SSCopyRange(m_hWnd, 0, sourceRow, getColCount(), sourceRow, 0, targetRow))
        return false;
    markChanged();
    return true;
}

bool Kx_Spread::copyColumn(int sourceCol, int targetCol)
{
    if (!m_attached)
        return false;
    if (!SSCopyRange(m_hWnd, sourceCol, 0, sourceCol, getRowCount(), targetCol, 0))
        return false;
    markChanged();
    return true;
}

Kx_String Kx_Spread::askHeaderName(bool forRow)
{
    Kx_String prompt = dialString(1151);
    prompt += " ";
    prompt += dialString(forRow ? 1152 : 1153);
    prompt += ":";
    const std::optional<Kx_String> name =
        runPromptDialog(171, prompt, Kx_String(), 1, 2, m_attached ? m_hWnd : nullptr);
    return name.value_or(Kx_String());
}

// --- Inserting and deleting ------------------------------------------------------------------------

bool Kx_Spread::insertRow(int row, bool copyNext, bool askName)
{
    if (!m_attached)
        return false;
    const int rows = getRowCount();
    if (row < 1 || row > rows + 1)
        return false;
    if (!SSSetMaxRows(m_hWnd, rows + 1))
        return false;
    if (!SSInsRow(m_hWnd, row)) {
        SSSetMaxRows(m_hWnd, rows);
        return false;
    }
    applyRowFont(row, /*headerToo=*/true);
    if (copyNext && row + 1 <= rows + 1)
        copyRow(row + 1, row);
    if (askName) {
        const Kx_String name = askHeaderName(/*forRow=*/true);
        // A cancelled prompt leaves the header as it is.
        if (!name.isEmpty())
            SSSetData(m_hWnd, HEADER, row, name.c_str());
    }
    markChanged();
    return true;
}

bool Kx_Spread::insertColumn(int col, bool copyNext, bool askName)
{
    if (!m_attached)
        return false;
    const int cols = getColCount();
    if (col < 1 || col > cols + 1)
        return false;
    if (!SSSetMaxCols(m_hWnd, cols + 1))
        return false;
    if (!SSInsCol(m_hWnd, col)) {
        SSSetMaxCols(m_hWnd, cols);
        return false;
    }
    applyColFont(col, /*headerToo=*/true);
    if (copyNext && col + 1 <= cols + 1)
        copyColumn(col + 1, col);
    if (askName) {
        const Kx_String name = askHeaderName(/*forRow=*/false);
        if (!name.isEmpty())
            SSSetData(m_hWnd, col, HEADER, name.c_str());
    }
    markChanged();
    return true;
}

bool Kx_Spread::insertRowBelowSelection(bool askName)
{
    if (!m_attached)
        return false;
    const int row = getSelectedRow();
    // A whole-column selection starts at the header row: insert below the header, at row 1. A grid
    // without rows still reports (1, 1) as its active cell: the new row is row 1, not row 2, which
    // does not exist.
    const int below = std::min(std::max(row, 0) + 1, getRowCount() + 1);
    return insertRow(below, /*copyNext=*/false, askName);
}

bool Kx_Spread::deleteRow(int row)
{
    if (!m_attached)
        return false;
    const int rows = getRowCount();
    if (row < 1 || row > rows || !SSDelRow(m_hWnd, row))
        return false;
    SSSetMaxRows(m_hWnd, rows - 1);
    markChanged();
    return true;
}

bool Kx_Spread::deleteColumn(int col)
{
    if (!m_attached)
        return false;
    const int cols = getColCount();
    if (col < 1 || col > cols || !SSDelCol(m_hWnd, col))
        return false;
    SSSetMaxCols(m_hWnd, cols - 1);
    markChanged();
    return true;
}

bool Kx_Spread::deleteSelectedRow()
{
    return m_attached && deleteRow(getSelectedRow());
}

// --- Moving ----------------------------------------------------------------------------------------

bool Kx_Spread::moveRow(int firstRow, int lastRow, int targetRow)
{
    if (!m_attached)
        return false;
    const int rows = getRowCount();
    if (targetRow < 1 || targetRow > rows || firstRow < 1 || lastRow < firstRow)
        return false;
    const int selectedCol = getSelectedColumn();
    if (!SSSwapRange(m_hWnd, 1, firstRow, getColCount(), lastRow, 1, targetRow))
        return false;
    SSSetActiveCell(m_hWnd, std::max(selectedCol, 1), targetRow);
    markChanged();
    return true;
}

bool Kx_Spread::moveSelectedRowUp()
{
    const int row = getSelectedRow();
    return m_attached && moveRow(row, row, row - 1);
}

bool Kx_Spread::moveSelectedRowDown()
{
    const int row = getSelectedRow();
    return m_attached && moveRow(row, row, row + 1);
}

// --- Check boxes -----------------------------------------------------------------------------------

bool Kx_Spread::setChecksInSelection(bool checked)
{
    int col1 = 0, row1 = 0, col2 = 0, row2 = 0;
    if (!getSelection(col1, row1, col2, row2))
        return false;
    // A whole row (column) selected starts at the header: it covers every column (row).
    const int cols = getColCount();
    const int rows = getRowCount();
    if (col1 < 1 || col2 < 1) {
        col1 = 1;
        col2 = cols;
    }
    if (row1 < 1 || row2 < 1) {
        row1 = 1;
        row2 = rows;
    }
    col2 = std::min(col2, cols);
    row2 = std::min(row2, rows);
    bool any = false;
    for (int row = row1; row <= row2; ++row) {
        for (int col = col1; col <= col2; ++col) {
            if (getCellType(col, row) == kTypeCheckBox && setCheck(col, row, checked))
                any = true;
        }
    }
    if (any)
        markChanged();
    return true;
}

bool Kx_Spread::setCheckGuard(int checkCol, int guardedCol)
{
    if (!m_attached)
        return false;
    const int cols = getColCount();
    if (checkCol < 1 || checkCol > cols || guardedCol < 1 || guardedCol > cols)
        return false;
    m_checkColumn = checkCol;
    m_guardedColumn = guardedCol;
    const int rows = getRowCount();
    for (int row = 1; row <= rows; ++row)
        applyCheckGuard(row);
    return true;
}

bool Kx_Spread::applyCheckGuard(int row)
{
    if (!m_attached || m_checkColumn < 1 || m_guardedColumn < 1)
        return false;
    bool checked = false;
    if (!getCheck(m_checkColumn, row, checked))
        return false;
    return SSSetLock(m_hWnd, m_guardedColumn, row, checked ? FALSE : TRUE) != FALSE;
}

void Kx_Spread::setComboNotifyColumn(bool enable, int col)
{
    m_comboNotifyColumn = enable ? col : -1;
}

// --- Find and replace ------------------------------------------------------------------------------

namespace {

bool isAscii(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The search of findNext over a block: the first cell whose searched text holds the text, with the
// core's case folding (hasSubString, not exact). Empty cells read nothing and are skipped. A formula
// cell is searched in "=" and its formula when formulas are searched, and skipped otherwise: its
// value text is a result that a replacement would turn into a constant.
// Between an ASCII text and an ASCII cell the core's folding pairs only A-Z with a-z, so those
// cells are compared here directly; every other cell goes through Kx_String itself.
struct Search {
    Search(const Kx_String& searched, HWND grid, bool inFormulas)
        : text(&searched), ascii(isAscii(searched.view())), grid(grid), inFormulas(inFormulas)
    {
        if (ascii) {
            for (const char c : searched.view())
                folded.push_back(foldAscii(c));
        }
    }
    const Kx_String* text;
    bool ascii;
    HWND grid;
    bool inFormulas;
    std::string folded;
    int col = 0;
    int row = 0;
    bool found = false;
};

bool containsFolded(std::string_view value, const std::string& folded)
{
    if (folded.size() > value.size())
        return false;
    const size_t last = value.size() - folded.size();
    for (size_t start = 0; start <= last; ++start) {
        size_t i = 0;
        while (i < folded.size() && foldAscii(value[start + i]) == folded[i])
            ++i;
        if (i == folded.size())
            return true;
    }
    return false;
}

bool hasFormula(HWND grid, int col, int row)
{
    return SSGetFormulaLen(grid, col, row) > 0;
}

std::string formulaOf(HWND grid, int col, int row)
{
    const int length = SSGetFormulaLen(grid, col, row);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int read = SSGetFormula(grid, col, row, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::clamp(read, 0, length)));
    return text;
}

bool contains(const Search& search, std::string_view text)
{
    return (search.ascii && isAscii(text)) ? containsFolded(text, search.folded)
                                           : Kx_String(text).hasSubString(*search.text, false);
}

bool matchCell(void* context, int col, int row, std::string_view value)
{
    auto* search = static_cast<Search*>(context);
    bool match = false;
    if (search->inFormulas && hasFormula(search->grid, col, row)) {
        match = contains(*search, "=" + formulaOf(search->grid, col, row));
    } else {
        // Formula cells are rare: only a cell whose value matched is asked whether it is one.
        match = !value.empty() && contains(*search, value) && (search->inFormulas || !hasFormula(search->grid, col, row));
    }
    if (!match)
        return true;
    search->col = col;
    search->row = row;
    search->found = true;
    return false;
}

} // namespace

bool Kx_Spread::searchableText(int col, int row, Kx_String& text) const
{
    text.clear();
    if (!m_attached)
        return false;
    if (hasFormula(m_hWnd, col, row)) {
        if (!m_searchInFormulas || !SSGetBool(m_hWnd, SSB_ALLOWUSERFORMULAS))
            return false;
        text = Kx_String("=" + formulaOf(m_hWnd, col, row));
        return true;
    }
    return getCellText(col, row, text, kTextValue);
}

bool Kx_Spread::findInRow(const Kx_String& text, int row, int firstCol, int& col) const
{
    if (!m_attached)
        return false;
    const int cols = getColCount();
    const int first = std::max(firstCol, 1);
    if (row < 1 || row > getRowCount() || first > cols)
        return false;
    Search search(text, m_hWnd, m_searchInFormulas && SSGetBool(m_hWnd, SSB_ALLOWUSERFORMULAS));
    kxgrid::visitValues(m_hWnd, first, row, cols, row, matchCell, &search);
    if (search.found)
        col = search.col;
    return search.found;
}

bool Kx_Spread::findNext(const Kx_String& text, int startCol, int startRow, int& col, int& row)
{
    if (!m_attached)
        return false;
    const int rows = getRowCount();
    const int cols = getColCount();
    const int first = std::max(startRow, 1);
    if (first > rows || cols < 1)
        return false;
    if (findInRow(text, first, startCol, col)) {
        row = first;
        return true;
    }
    if (first == rows)
        return false;
    // The following rows from column 1, in one pass over the grid.
    Search search(text, m_hWnd, m_searchInFormulas && SSGetBool(m_hWnd, SSB_ALLOWUSERFORMULAS));
    kxgrid::visitValues(m_hWnd, 1, first + 1, cols, rows, matchCell, &search);
    if (!search.found)
        return false;
    col = search.col;
    row = search.row;
    return true;
}

bool Kx_Spread::findInCell(const Kx_String& text, int col, int row, int& start, int& length, int from)
{
    Kx_String cell;
    if (!searchableText(col, row, cell))
        return false;
    int pos = 0;
    if (!cell.findFirst(text, false, pos, from))
        return false;
    start = pos;
    length = text.length();
    return true;
}

bool Kx_Spread::findAndSelect(const Kx_String& text, int col, int row, int from)
{
    int start = 0;
    int length = 0;
    if (!findInCell(text, col, row, start, length, from))
        return false;
    SetFocus();
    // Moving the active cell ends an open edit, so the cell is made active before editing starts.
    int activeCol = 0;
    int activeRow = 0;
    if (!SSGetActiveCell(m_hWnd, &activeCol, &activeRow) || activeCol != col || activeRow != row) {
        if (!SSSetActiveCell(m_hWnd, col, row))
            return false;
    }
    if (!SSGetEditMode(m_hWnd) && !SSSetEditMode(m_hWnd, TRUE))
        return false;
    return SSSetSel(m_hWnd, start, start + length) != FALSE;
}

bool Kx_Spread::replaceSelection(const Kx_String& newText)
{
    int start = 0;
    int end = 0;
    if (!getEditSelection(start, end))
        return false;
    // The selection counts characters of the editor's text, so that text is the one replaced in: a
    // formula cell's editor shows "=A3*5", its value text shows the result.
    std::string edited;
    if (!kxgrid::editText(m_hWnd, edited))
        return false;
    // What the person typed becomes the cell's first, so the cell holds the editor's text.
    if (!SSSetEditMode(m_hWnd, FALSE))
        return false;
    int col = 0;
    int row = 0;
    getActiveCell(col, row);
    Kx_String text(std::move(edited));
    if (end < 0 || end > text.length())
        end = text.length();
    if (start < 0 || start >= end)
        return false;
    text.removeAt(start, end - start);
    text.insertAt(start, newText);
    if (!writeSearchedText(col, row, text))
        return false;
    markChanged();
    return true;
}

bool Kx_Spread::replaceInCell(int col, int row, const Kx_String& oldText, const Kx_String& newText)
{
    Kx_String text;
    if (!searchableText(col, row, text))
        return false;
    if (text.replaceSubString(oldText, newText, false) == 0)
        return false;
    return writeSearchedText(col, row, text);
}

bool Kx_Spread::writeSearchedText(int col, int row, const Kx_String& text)
{
    if (!hasFormula(m_hWnd, col, row))
        return writeCell(col, row, text, false);
    // A formula stays a formula: it is written back only while searching formulas, and only as long
    // as the replaced text still is one.
    if (!m_searchInFormulas || !SSGetBool(m_hWnd, SSB_ALLOWUSERFORMULAS) || text.length() < 2 ||
        text.str().front() != '=')
        return false;
    return SSSetFormula(m_hWnd, col, row, text.c_str(), TRUE) != FALSE;
}

int Kx_Spread::replaceAll(const Kx_String& oldText, const Kx_String& newText)
{
    if (!m_attached)
        return -1;
    if (oldText.isEmpty())
        return 0;
    int changed = 0;
    int col = 1;
    int row = 1;
    int foundCol = 0;
    int foundRow = 0;
    // Each pass resumes after the cell just handled: a replacement that holds the searched text
    // (a -> aa) is never searched again, so the loop ends after one sweep.
    while (findNext(oldText, col, row, foundCol, foundRow)) {
        if (replaceInCell(foundCol, foundRow, oldText, newText))
            ++changed;
        col = foundCol + 1;
        row = foundRow;
    }
    if (changed > 0)
        markChanged();
    return changed;
}
