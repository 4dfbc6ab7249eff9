// One grid's state and the operations the SS functions and the window procedure share: contents
// with their type rules, the change flag, the active cell, the selection and the in-cell editor.
#include "platform/grid/GridControl.h"
#include "platform/grid/SheetFormulas.h"

#include "platform/win/Window.h"

#include <algorithm>
#include <cmath>

namespace kxgrid::detail {

namespace {

bool takesEditor(int type)
{
    return type == SS_TYPE_EDIT || type == SS_TYPE_NUMBER || type == SS_TYPE_COMBOBOX;
}

} // namespace

Grid::Grid(HWND hwnd) : m_hwnd(hwnd)
{
    for (int n : {SSB_SHOWROWHEADERS, SSB_REDRAW, SSB_SHOWCOLHEADERS, SSB_CLIPBOARDKEYS, SSB_EDITMODEREPLACE,
                  SSB_SCROLLBARS, SSB_ALLOWSELECTBLOCK, SSB_ALLOWUSERRESIZE, SSB_AUTOCALC})
        m_options.set(static_cast<size_t>(n));
    textTip.font.lfHeight = kDefaultFontHeight;
    textTip.font.lfFaceName = "MS Shell Dlg";
}

void Grid::replaceSheet(Sheet&& sheet)
{
    m_sheet = std::move(sheet);
    ++contentVersion;
    editor = EditorState();
    cellEdited = false;
    hasBlock = false;
    activeCol = activeRow = 1;
    leftCol = topRow = 1;
    clampView();
}

bool Grid::cellArg(int& col, int& row) const
{
    col = normalise(col);
    row = normalise(row);
    return m_sheet.validCell(col, row);
}

bool Grid::blockArg(int& col1, int& row1, int& col2, int& row2) const
{
    if (!cellArg(col1, row1) || !cellArg(col2, row2))
        return false;
    if (col1 > col2)
        std::swap(col1, col2);
    if (row1 > row2)
        std::swap(row1, row2);
    return true;
}

bool Grid::setOption(int number, bool on)
{
    if (number < 0 || number >= SSB_COUNT)
        return false;
    const bool was = m_options.test(static_cast<size_t>(number));
    m_options.set(static_cast<size_t>(number), on);
    if (number == SSB_REDRAW && on && !was)
        InvalidateRect(m_hwnd, nullptr, FALSE);
    if (number == SSB_AUTOCALC && on != was)
        if (SheetFormulas* f = formulas())
            f->autoRecalcChanged(on);
    if (number == SSB_AUTOCALC && on && !was && hook)
        hook->dataChanged(m_hwnd, -1, -1);
    if ((number == SSB_SHOWROWHEADERS || number == SSB_SHOWCOLHEADERS) && option(SSB_REDRAW))
        InvalidateRect(m_hwnd, nullptr, FALSE);
    return true;
}

void Grid::changed(int col, int row)
{
    m_options.set(SSB_CHANGEMADE);
    ++contentVersion;
    if (m_options.test(SSB_REDRAW))
        kxwin::notifyWindowChanged(m_hwnd, kxwin::WindowChange::Content);
    if (col >= 0 && row >= 0)
        if (SheetFormulas* f = formulas())
            f->valueChanged(col, row);
    if (hook && m_options.test(SSB_AUTOCALC))
        hook->dataChanged(m_hwnd, col, row);
}

SheetFormulas* Grid::formulas() const
{
    return hook && hook == ownedHook.get() ? dynamic_cast<SheetFormulas*>(hook) : nullptr;
}

namespace {

// Writes a value form into a cell, dropping a formula it had. Writing nothing into a blank cell
// creates no record.
void store(Grid& g, int col, int row, std::string&& value, bool keepFormula)
{
    Sheet& s = g.sheet();
    const Cell* existing = s.find(col, row);
    if (!existing && value.empty())
        return;
    Cell& c = s.at(col, row);
    c.data = std::move(value);
    if (!keepFormula && c.extra && !c.extra->formula.empty()) {
        c.extra->formula.clear();
        c.extra->result = kxformula::Value();
        if (c.extra->empty())
            c.extra.reset();
        if (g.hook)
            g.hook->formulaChanged(g.hwnd(), col, row, std::string());
    }
}

} // namespace

bool Grid::setData(int col, int row, std::string_view text)
{
    std::optional<std::string> v = coerceData(typeOf(col, row), text);
    if (!v)
        return false;
    store(*this, col, row, std::move(*v), false);
    changed(col, row);
    return true;
}

bool Grid::setValue(int col, int row, std::string_view text)
{
    std::optional<std::string> v = coerceValue(typeOf(col, row), text);
    if (!v)
        return false;
    store(*this, col, row, std::move(*v), false);
    changed(col, row);
    return true;
}

bool Grid::enterText(int col, int row, std::string_view text)
{
    if (text.size() > 1 && text.front() == '=' && option(SSB_ALLOWUSERFORMULAS) &&
        takesEditor(typeOf(col, row).type))
        return setFormula(col, row, text);  // setFormula takes off the one "=" that marks it
    return setData(col, row, text);
}

std::string Grid::data(int col, int row) const
{
    const Cell* c = m_sheet.find(col, row);
    if (!c || c->data.empty())
        return std::string();
    // A leading apostrophe marks a typed text ("'5" is the text 5); the cell shows the text.
    if (c->data.front() == '\'' && col >= 1 && row >= 1 && typeOf(col, row).type == SS_TYPE_EDIT &&
        (!c->extra || c->extra->formula.empty()))
        return c->data.substr(1);
    return displayText(typeOf(col, row), c->data);
}

std::string Grid::value(int col, int row) const
{
    const Cell* c = m_sheet.find(col, row);
    if (!c || c->data.empty())
        return std::string();
    return valueText(typeOf(col, row), c->data);
}

namespace {

CellExtra* extraFor(Sheet& s, int col, int row, bool create)
{
    const Cell* existing = s.find(col, row);
    if (!create && (!existing || !existing->extra))
        return nullptr;
    Cell& c = s.at(col, row);
    if (!c.extra)
        c.extra = std::make_unique<CellExtra>();
    return c.extra.get();
}

void pruneExtra(Sheet& s, int col, int row)
{
    const Cell* existing = s.find(col, row);
    if (existing && existing->extra && existing->extra->empty())
        s.at(col, row).extra.reset();
}

} // namespace

bool Grid::setFormula(int col, int row, std::string_view formula)
{
    if (formula.size() > static_cast<size_t>(SS_MAX_TEXT) || formula.find('\0') != std::string_view::npos)
        return false;
    if (!formula.empty() && formula.front() == '=')
        formula.remove_prefix(1);
    CellExtra* e = extraFor(m_sheet, col, row, !formula.empty());
    if (e) {
        e->formula.assign(formula);
        if (!formula.empty())
            m_sheet.at(col, row).data.clear();  // until the engine computes the result
        else
            e->result = kxformula::Value();
        pruneExtra(m_sheet, col, row);
    }
    if (hook)
        hook->formulaChanged(m_hwnd, col, row, std::string(formula));
    changed(col, row);
    return true;
}

bool Grid::setFormulaResult(int col, int row, std::string_view text)
{
    if (text.size() > static_cast<size_t>(SS_MAX_TEXT))
        return false;
    store(*this, col, row, std::string(text), true);
    if (m_options.test(SSB_REDRAW))
        kxwin::notifyWindowChanged(m_hwnd, kxwin::WindowChange::Content);
    return true;
}

bool Grid::setTag(int col, int row, std::string_view tag)
{
    if (tag.size() > static_cast<size_t>(SS_MAX_TEXT) || tag.find('\0') != std::string_view::npos)
        return false;
    if (CellExtra* e = extraFor(m_sheet, col, row, !tag.empty())) {
        e->setTag(tag);
        pruneExtra(m_sheet, col, row);
    }
    changed(col, row);
    return true;
}

bool Grid::setNote(int col, int row, std::string_view note)
{
    if (note.size() > static_cast<size_t>(SS_MAX_TEXT) || note.find('\0') != std::string_view::npos)
        return false;
    if (CellExtra* e = extraFor(m_sheet, col, row, !note.empty())) {
        e->setNote(note);
        pruneExtra(m_sheet, col, row);
    }
    changed(col, row);
    return true;
}

void Grid::setType(int col1, int row1, int col2, int row2, const SS_CELLTYPE& type)
{
    SS_CELLTYPE t = type;
    normaliseType(t);
    if (t.minValue > t.maxValue)
        std::swap(t.minValue, t.maxValue);
    const std::uint32_t index = m_sheet.internType(t);
    m_sheet.restyle(col1, row1, col2, row2, [&](CellStyle& s) { s.type = index; });
    // Data the type cannot hold goes; what it can is normalised (a number typed as "1,5").
    for (int c = col1; c <= col2; ++c)
        for (int r = row1; r <= row2; ++r) {
            const Cell* cell = m_sheet.find(c, r);
            if (!cell || cell->data.empty() || !cell->formula().empty())
                continue;
            std::optional<std::string> v = coerceData(t, cell->data);
            m_sheet.at(c, r).data = v ? std::move(*v) : std::string();
        }
    if (SheetFormulas* f = formulas())
        f->blockChanged(col1, row1, col2, row2);
    changed();
}

bool Grid::isReadOnlyForUser(int col, int row) const
{
    if (option(SSB_PROTECT) && isLocked(col, row))
        return true;
    return typeOf(col, row).type == SS_TYPE_STATICTEXT;
}

int Grid::colWidthPx(int col) const
{
    const int w = m_sheet.colWidth(col);
    if (w >= 0)
        return w;
    return col == 0 ? kDefaultRowHeaderWidthPx : kDefaultColWidthPx;
}

int Grid::rowHeightPx(int row) const
{
    const int h = m_sheet.rowHeight(row);
    return h >= 0 ? h : kDefaultRowHeightPx;
}

LOGFONT Grid::cellFont(int col, int row) const
{
    const std::uint32_t f = m_sheet.styleOf(col, row).font;
    if (f == 0) {
        LOGFONT d;
        d.lfHeight = kDefaultFontHeight;
        d.lfFaceName = "MS Shell Dlg";
        return d;
    }
    return m_sheet.font(f);
}

SIZE Grid::textSize(int col, int row) const
{
    const SS_CELLTYPE& t = typeOf(col, row);
    std::string text = data(col, row);
    if (t.type == SS_TYPE_BUTTON || (t.type == SS_TYPE_CHECKBOX && !t.text.empty()))
        text = t.text;
    if (t.type == SS_TYPE_PICTURE)
        text.clear();
    SIZE s = kxwin::textExtent(kxwin::metricsOf(cellFont(col, row)), text);
    if (text.empty())
        s.cx = 0;
    if (t.type == SS_TYPE_CHECKBOX)
        s.cx += 16;  // the box
    s.cx += 2 * kCellMarginPx;
    s.cy += 2 * kCellMarginPx;
    return s;
}

void Grid::clampView()
{
    const int rows = m_sheet.rows(), cols = m_sheet.cols();
    activeCol = std::clamp(activeCol, 1, std::max(cols, 1));
    activeRow = std::clamp(activeRow, 1, std::max(rows, 1));
    if (hasBlock) {
        blockCol1 = std::clamp(blockCol1, 0, cols);
        blockCol2 = std::clamp(blockCol2, 0, cols);
        blockRow1 = std::clamp(blockRow1, 0, rows);
        blockRow2 = std::clamp(blockRow2, 0, rows);
        if (rows == 0 || cols == 0)
            hasBlock = false;
    }
    leftCol = std::clamp(leftCol, 1, std::max(cols, 1));
    topRow = std::clamp(topRow, 1, std::max(rows, 1));
    if (editor.active && (activeCol > cols || activeRow > rows))
        editor = EditorState();
}

bool Grid::startEdit(bool selectAll, std::u32string_view initial, bool replace)
{
    if (editor.active)
        return true;
    if (m_sheet.rows() < 1 || m_sheet.cols() < 1 || !m_sheet.validCell(activeCol, activeRow))
        return false;
    const SS_CELLTYPE& t = typeOf(activeCol, activeRow);
    if (!takesEditor(t.type) || isReadOnlyForUser(activeCol, activeRow))
        return false;
    editor = EditorState();
    editor.active = true;
    if (replace) {
        editor.text = initial;
        editor.modified = true;
        editor.selStart = editor.selEnd = static_cast<int>(editor.text.size());
    } else {
        const Cell* c = m_sheet.find(activeCol, activeRow);
        std::string shown;
        if (c && !c->formula().empty() && option(SSB_ALLOWUSERFORMULAS))
            shown = "=" + c->formula();
        else
            shown = c ? c->data : std::string();
        editor.text = decodeUtf8(shown);
        const int n = static_cast<int>(editor.text.size());
        editor.selStart = (selectAll || option(SSB_EDITMODEREPLACE)) ? 0 : n;
        editor.selEnd = n;
    }
    notify(SSN_EDITMODEON, activeCol, activeRow);
    if (option(SSB_REDRAW))
        kxwin::notifyWindowChanged(m_hwnd, kxwin::WindowChange::Content);
    return true;
}

bool Grid::commitEdit()
{
    if (!editor.active)
        return true;
    if (editor.modified) {
        const std::string text = encodeUtf8(editor.text);
        if (!enterText(activeCol, activeRow, text))
            return false;
    }
    const bool modified = editor.modified;
    editor = EditorState();
    if (modified) {
        cellEdited = true;
        notify(SSN_CELLCHANGED, activeCol, activeRow);
    }
    if (IsWindow(m_hwnd))
        notify(SSN_EDITMODEOFF, activeCol, activeRow);
    return true;
}

void Grid::cancelEdit()
{
    if (!editor.active)
        return;
    editor = EditorState();
    notify(SSN_EDITMODEOFF, activeCol, activeRow);
    if (option(SSB_REDRAW))
        kxwin::notifyWindowChanged(m_hwnd, kxwin::WindowChange::Content);
}

bool Grid::moveActive(int col, int row, bool extend)
{
    const int rows = m_sheet.rows(), cols = m_sheet.cols();
    if (rows < 1 || cols < 1)
        return false;
    col = std::clamp(col, 1, cols);
    row = std::clamp(row, 1, rows);
    if (extend && option(SSB_ALLOWSELECTBLOCK)) {
        if (!commitEdit())
            return false;
        hasBlock = true;
        blockCol1 = std::min(activeCol, col);
        blockCol2 = std::max(activeCol, col);
        blockRow1 = std::min(activeRow, row);
        blockRow2 = std::max(activeRow, row);
        if (option(SSB_REDRAW))
            kxwin::notifyWindowChanged(m_hwnd, kxwin::WindowChange::Content);
        return true;
    }
    if (!commitEdit())
        return false;
    // The owner may have destroyed the grid or changed its counts while hearing of the commit.
    if (!IsWindow(m_hwnd) || m_sheet.rows() < 1 || m_sheet.cols() < 1)
        return false;
    col = std::min(col, m_sheet.cols());
    row = std::min(row, m_sheet.rows());
    hasBlock = false;
    if (col == activeCol && row == activeRow)
        return true;
    const int oldCol = activeCol, oldRow = activeRow;
    const bool edited = cellEdited;
    activeCol = col;
    activeRow = row;
    cellEdited = false;
    // Keep the active cell in view.
    if (row < topRow)
        topRow = row;
    if (col < leftCol)
        leftCol = col;
    RECT client{};
    GetClientRect(m_hwnd, client);
    while (row > topRow && cellRect(col, row).bottom > client.bottom)
        ++topRow;
    while (col > leftCol && cellRect(col, row).right > client.right)
        ++leftCol;
    if (edited)
        notify(SSN_LEAVECELLAFTEREDIT, oldCol, oldRow);
    notify(SSN_LEAVECELL, oldCol, oldRow);
    if (IsWindow(m_hwnd) && option(SSB_REDRAW))
        kxwin::notifyWindowChanged(m_hwnd, kxwin::WindowChange::Content);
    return true;
}

namespace {

// How many notifications are being handled by owners right now. A grid destroyed inside one is
// still running the code that sent it, so its object must not be freed until all have returned.
int g_notifyDepth = 0;

} // namespace

bool notificationRunning()
{
    return g_notifyDepth > 0;
}

void Grid::notify(WORD code, int col, int row)
{
    notifyCol = col;
    notifyRow = row;
    HWND parent = GetParent(m_hwnd);
    if (parent == nullptr)
        parent = GetOwner(m_hwnd);
    if (parent == nullptr)
        return;
    struct Depth {
        Depth() { ++g_notifyDepth; }
        ~Depth() { --g_notifyDepth; }
        Depth(const Depth&) = delete;
        Depth& operator=(const Depth&) = delete;
    } depth;
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(m_hwnd)), code),
                reinterpret_cast<LPARAM>(m_hwnd));
}

RECT Grid::cellRect(int col, int row) const
{
    RECT r{};
    int x = option(SSB_SHOWROWHEADERS) ? colWidthPx(0) : 0;
    if (col == 0) {
        r.left = 0;
        r.right = x;
    } else {
        for (int c = leftCol; c < col && x < 1'000'000; ++c)
            x += colWidthPx(c);
        r.left = x;
        r.right = x + colWidthPx(col);
    }
    int y = option(SSB_SHOWCOLHEADERS) ? rowHeightPx(0) : 0;
    if (row == 0) {
        r.top = 0;
        r.bottom = y;
    } else {
        for (int rr = topRow; rr < row && y < 1'000'000; ++rr)
            y += rowHeightPx(rr);
        r.top = y;
        r.bottom = y + rowHeightPx(row);
    }
    return r;
}

bool Grid::cellAtPoint(POINT p, int& col, int& row) const
{
    RECT client{};
    GetClientRect(m_hwnd, client);
    if (p.x < 0 || p.y < 0)
        return false;
    const int headerW = option(SSB_SHOWROWHEADERS) ? colWidthPx(0) : 0;
    const int headerH = option(SSB_SHOWCOLHEADERS) ? rowHeightPx(0) : 0;
    col = -1;
    if (p.x < headerW) {
        col = 0;
    } else {
        int x = headerW;
        for (int c = leftCol; c <= m_sheet.cols() && x <= std::max<LONG>(client.right, p.x); ++c) {
            const int w = colWidthPx(c);
            if (p.x < x + w) {
                col = c;
                break;
            }
            x += w;
        }
    }
    row = -1;
    if (p.y < headerH) {
        row = 0;
    } else {
        int y = headerH;
        for (int r = topRow; r <= m_sheet.rows() && y <= std::max<LONG>(client.bottom, p.y); ++r) {
            const int h = rowHeightPx(r);
            if (p.y < y + h) {
                row = r;
                break;
            }
            y += h;
        }
    }
    return col >= 0 && row >= 0;
}

} // namespace kxgrid::detail
