// The grid window: its class, the table of live grids, and what a person does to it (keys, mouse,
// focus) turned into edits, moves and the notifications its owner gets. Painting draws the visible
// cells into the window's drawing context. The SS functions are in Spread.cpp.
#include "platform/grid/GridControl.h"
#include "platform/grid/SheetFormulas.h"

#include "platform/win/Bitmap.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/UserInput.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kxgrid::detail {

namespace {

std::unordered_map<HWND, std::unique_ptr<Grid>>& grids()
{
    static std::unordered_map<HWND, std::unique_ptr<Grid>> table;
    return table;
}

// A grid destroyed while one of its own handlers runs (the owner closes the dialog from a
// notification) must outlive that handler: its emptied object waits here until the next grid is
// made outside any notification, instead of being freed under the running code.
std::vector<std::unique_ptr<Grid>>& retired()
{
    static std::vector<std::unique_ptr<Grid>> list;
    return list;
}

FormulaHookFactory g_hookFactory = nullptr;

bool keyDown(int vk)
{
    return (GetKeyState(vk) & 0x8000) != 0;
}

bool isUserEditable(const Grid& g, int col, int row)
{
    return !g.isReadOnlyForUser(col, row);
}

// A check box or button in the active cell: what a click or Space does there.
void pressCell(Grid& g, int col, int row)
{
    HWND hwnd = g.hwnd();
    const SS_CELLTYPE& t = g.typeOf(col, row);
    if (t.type == SS_TYPE_BUTTON) {
        g.notify(SSN_BUTTONCLICKED, col, row);
        return;
    }
    if (t.type != SS_TYPE_CHECKBOX || !isUserEditable(g, col, row))
        return;
    const bool checked = g.value(col, row) == "1";
    g.setData(col, row, checked ? "0" : "1");
    g.cellEdited = true;
    g.notify(SSN_BUTTONCLICKED, col, row);
    if (IsWindow(hwnd))
        g.notify(SSN_CELLCHANGED, col, row);
}

void clearSelectionData(Grid& g)
{
    int c1 = g.activeCol, r1 = g.activeRow, c2 = c1, r2 = r1;
    if (g.hasBlock) {
        c1 = std::max(g.blockCol1, 1);
        r1 = std::max(g.blockRow1, 1);
        c2 = g.blockCol2;
        r2 = g.blockRow2;
    }
    bool any = false;
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c) {
            if (!isUserEditable(g, c, r) || g.typeOf(c, r).type == SS_TYPE_BUTTON)
                continue;
            const Cell* cell = g.sheet().find(c, r);
            if (!cell || (cell->data.empty() && cell->formula().empty()))
                continue;
            g.setData(c, r, "");
            any = true;
        }
    if (any) {
        g.cellEdited = true;
        g.notify(SSN_CELLCHANGED, c1, r1);
    }
}

void moveByEnter(Grid& g, bool back)
{
    int c = g.activeCol, r = g.activeRow;
    switch (g.enterAction) {
    case SS_ENTERACTION_UP: r -= 1; break;
    case SS_ENTERACTION_DOWN: r += 1; break;
    case SS_ENTERACTION_LEFT: c -= 1; break;
    case SS_ENTERACTION_RIGHT: c += 1; break;
    case SS_ENTERACTION_NEXT:
        c += back ? -1 : 1;
        if (c > g.sheet().cols()) {
            c = 1;
            r += 1;
        } else if (c < 1) {
            c = g.sheet().cols();
            r -= 1;
        }
        break;
    default:
        g.commitEdit();
        return;
    }
    g.moveActive(c, r);
}

void moveByTab(Grid& g, bool back)
{
    int c = g.activeCol + (back ? -1 : 1), r = g.activeRow;
    if (c > g.sheet().cols()) {
        c = 1;
        r = r < g.sheet().rows() ? r + 1 : r;
        if (r == g.activeRow)
            c = g.activeCol;
    } else if (c < 1) {
        c = g.sheet().cols();
        r = r > 1 ? r - 1 : r;
        if (r == g.activeRow)
            c = g.activeCol;
    }
    g.moveActive(c, r);
}

int visibleRows(const Grid& g)
{
    RECT client{};
    GetClientRect(g.hwnd(), client);
    return std::max(1, static_cast<int>(client.bottom) / kDefaultRowHeightPx - 1);
}

void editorKey(Grid& g, int key)
{
    EditorState& e = g.editor;
    const int n = static_cast<int>(e.text.size());
    const bool shift = keyDown(VK_SHIFT);
    auto caretTo = [&](int pos) {
        pos = std::clamp(pos, 0, n);
        if (shift)
            e.selEnd = pos;
        else
            e.selStart = e.selEnd = pos;
    };
    switch (key) {
    case VK_LEFT: caretTo(e.selEnd - 1); break;
    case VK_RIGHT: caretTo(e.selEnd + 1); break;
    case VK_HOME: caretTo(0); break;
    case VK_END: caretTo(n); break;
    case VK_DELETE: {
        int a = std::min(e.selStart, e.selEnd), b = std::max(e.selStart, e.selEnd);
        if (a == b && b < n)
            ++b;
        if (a != b) {
            e.text.erase(static_cast<size_t>(a), static_cast<size_t>(b - a));
            e.selStart = e.selEnd = a;
            e.modified = true;
        }
        break;
    }
    case VK_UP:
    case VK_DOWN:
        if (g.option(SSB_ARROWSEXITEDITMODE))
            g.moveActive(g.activeCol, g.activeRow + (key == VK_UP ? -1 : 1));
        break;
    case VK_ESCAPE: g.cancelEdit(); break;
    case VK_RETURN:
        // Without option 13 the grid takes Enter only to end the edit; the enter action belongs
        // to a grid that processes Enter itself.
        if (!g.option(SSB_PROCESSTAB))
            g.commitEdit();
        else
            moveByEnter(g, shift);
        break;
    case VK_TAB: moveByTab(g, shift); break;
    default: break;
    }
}

void gridKey(Grid& g, int key)
{
    if (g.sheet().rows() < 1 || g.sheet().cols() < 1)
        return;
    if (g.editor.active) {
        editorKey(g, key);
        return;
    }
    const bool shift = keyDown(VK_SHIFT), ctrl = keyDown(VK_CONTROL);
    // Shift+arrows grow the block from the active cell to a moving end.
    static thread_local int endCol = 0, endRow = 0;
    if (!g.hasBlock) {
        endCol = g.activeCol;
        endRow = g.activeRow;
    }
    auto go = [&](int c, int r) {
        if (shift && g.option(SSB_ALLOWSELECTBLOCK)) {
            endCol = std::clamp(c, 1, g.sheet().cols());
            endRow = std::clamp(r, 1, g.sheet().rows());
            g.moveActive(endCol, endRow, true);
        } else {
            g.moveActive(c, r);
        }
    };
    const int c = shift ? endCol : g.activeCol, r = shift ? endRow : g.activeRow;
    switch (key) {
    case VK_LEFT: go(c - 1, r); break;
    case VK_RIGHT: go(c + 1, r); break;
    case VK_UP: go(c, r - 1); break;
    case VK_DOWN: go(c, r + 1); break;
    case VK_HOME: go(1, ctrl ? 1 : r); break;
    case VK_END: go(g.sheet().cols(), ctrl ? g.sheet().rows() : r); break;
    case VK_PRIOR: go(c, r - visibleRows(g)); break;
    case VK_NEXT: go(c, r + visibleRows(g)); break;
    case VK_TAB: moveByTab(g, shift); break;
    case VK_RETURN:
        if (g.option(SSB_EDITMODEPERMANENT) && !g.option(SSB_PROCESSTAB))
            g.startEdit(false);
        else
            moveByEnter(g, shift);
        break;
    case VK_F2: g.startEdit(false); break;
    case VK_DELETE: clearSelectionData(g); break;
    case VK_SPACE: pressCell(g, g.activeCol, g.activeRow); break;
    case 'C':
        if (ctrl && g.option(SSB_CLIPBOARDKEYS))
            SSClipboardCopy(g.hwnd());
        break;
    case 'V':
        if (ctrl && g.option(SSB_CLIPBOARDKEYS) && SSClipboardPaste(g.hwnd()))
            g.notify(SSN_CELLCHANGED, g.activeCol, g.activeRow);
        break;
    default: break;
    }
}

void gridChar(Grid& g, char32_t ch)
{
    if (ch < 0x20 && ch != 0x08)
        return;
    if (ch == 0x7F || keyDown(VK_CONTROL))
        return;
    if (!g.editor.active) {
        if (ch == 0x08 || g.sheet().rows() < 1 || g.sheet().cols() < 1)
            return;
        const SS_CELLTYPE& t = g.typeOf(g.activeCol, g.activeRow);
        if (t.type == SS_TYPE_CHECKBOX || t.type == SS_TYPE_BUTTON)
            return;  // Space presses them on key-down
        const std::u32string first(1, ch);
        g.startEdit(false, first, /*replace=*/true);
        return;
    }
    EditorState& e = g.editor;
    int a = std::min(e.selStart, e.selEnd), b = std::max(e.selStart, e.selEnd);
    a = std::clamp(a, 0, static_cast<int>(e.text.size()));
    b = std::clamp(b, a, static_cast<int>(e.text.size()));
    if (ch == 0x08) {
        if (a == b && a > 0)
            --a;
        e.text.erase(static_cast<size_t>(a), static_cast<size_t>(b - a));
    } else {
        const SS_CELLTYPE& t = g.typeOf(g.activeCol, g.activeRow);
        if (t.type == SS_TYPE_EDIT && t.maxLength > 0 &&
            static_cast<int>(e.text.size()) - (b - a) >= t.maxLength)
            return;  // full: the key is refused as an edit box refuses it
        e.text.replace(static_cast<size_t>(a), static_cast<size_t>(b - a), 1, ch);
        ++a;
    }
    e.selStart = e.selEnd = a;
    e.modified = true;
    if (g.option(SSB_REDRAW))
        kxwin::notifyWindowChanged(g.hwnd(), kxwin::WindowChange::Content);
}

void pickItem(Grid& g, int index)
{
    const int col = g.activeCol, row = g.activeRow;
    const SS_CELLTYPE& t = g.typeOf(col, row);
    if (t.type != SS_TYPE_COMBOBOX || !isUserEditable(g, col, row) || !g.commitEdit())
        return;
    HWND hwnd = g.hwnd();
    SS_CELLTYPE asIndex = t;
    asIndex.style |= SS_COMBO_VALUE_INDEX;
    std::optional<std::string> item = coerceValue(asIndex, std::to_string(index));
    if (!item || !g.setData(col, row, *item))
        return;
    g.cellEdited = true;
    g.notify(SSN_COMBOSELCHANGE, col, row);
    if (IsWindow(hwnd))
        g.notify(SSN_CELLCHANGED, col, row);
}

void mouseDown(Grid& g, POINT p)
{
    HWND hwnd = g.hwnd();
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    if (!IsWindow(hwnd))
        return;
    int col = 0, row = 0;
    if (!g.cellAtPoint(p, col, row))
        return;
    const int rows = g.sheet().rows(), cols = g.sheet().cols();
    if (rows < 1 || cols < 1)
        return;
    if (col == 0 || row == 0) {
        // A header selects its whole row or column (the corner: everything).
        if (!g.moveActive(col == 0 ? 1 : col, row == 0 ? 1 : row))
            return;
        g.hasBlock = true;
        g.blockCol1 = col == 0 ? 1 : col;
        g.blockCol2 = col == 0 ? cols : col;
        g.blockRow1 = row == 0 ? 1 : row;
        g.blockRow2 = row == 0 ? rows : row;
        return;
    }
    if (const auto span = g.sheet().spanAt(col, row)) {
        col = span->col;
        row = span->row;
    }
    if (keyDown(VK_SHIFT)) {
        g.moveActive(col, row, true);
        return;
    }
    if (!g.moveActive(col, row) || !IsWindow(hwnd))
        return;
    g.notify(SSN_CLICK, col, row);
    if (!IsWindow(hwnd))
        return;
    pressCell(g, col, row);
    if (IsWindow(hwnd) && g.option(SSB_ALLOWSELECTBLOCK))
        SetCapture(hwnd);
}

void mouseMove(Grid& g, POINT p)
{
    if (GetCapture() != g.hwnd())
        return;
    int col = 0, row = 0;
    if (g.cellAtPoint(p, col, row) && col >= 1 && row >= 1 && (col != g.activeCol || row != g.activeRow || g.hasBlock))
        g.moveActive(col, row, true);
}

COLORREF resolve(COLORREF c, COLORREF fallback)
{
    if (c == SS_COLOR_KEEP)
        return fallback;
    if (c & SS_SYSCOLOR_FLAG)
        return (c & 0xFF) == 15 ? 0xC0C0C0 : 0x000000;  // 3-D face; window text
    return c;
}

void paint(Grid& g, HDC dc)
{
    RECT client{};
    GetClientRect(g.hwnd(), client);
    kxwin::fillSolidRect(dc, client, resolve(g.grayBack, 0xC0C0C0));
    SetBkMode(dc, TRANSPARENT);
    const Sheet& s = g.sheet();
    const bool rowHeaders = g.option(SSB_SHOWROWHEADERS), colHeaders = g.option(SSB_SHOWCOLHEADERS);
    // Picture cells seen; their pictures go on top once every cell is drawn, so a picture joined
    // over several cells is not painted over by the cells it covers.
    std::vector<std::pair<int, int>> pictures;
    auto drawCell = [&](int col, int row) {
        RECT r = g.cellRect(col, row);
        if (r.left >= client.right || r.top >= client.bottom)
            return false;
        const CellStyle& st = s.styleOf(col, row);
        const bool header = col == 0 || row == 0;
        const bool locked = g.option(SSB_PROTECT) && st.locked;
        const bool selected = g.hasBlock && col >= g.blockCol1 && col <= g.blockCol2 && row >= g.blockRow1 &&
                              row <= g.blockRow2 && !header;
        COLORREF back = header ? 0xC0C0C0 : resolve(st.back, 0xFFFFFF);
        COLORREF fore = resolve(st.fore, 0x000000);
        if (locked) {
            back = resolve(g.lockBack, back);
            fore = resolve(g.lockFore, fore);
        }
        if (selected) {
            back = resolve(g.selBack, back);
            fore = resolve(g.selFore, fore);
        }
        kxwin::fillSolidRect(dc, r, back);
        if (g.gridType & (SS_GRID_HORIZONTAL | SS_GRID_VERTICAL)) {
            CBrush line(resolve(g.gridColor, 0xC0C0C0));
            FrameRect(dc, &r, line.m_hObject);
        }
        std::string text = (g.editor.active && col == g.activeCol && row == g.activeRow)
                               ? encodeUtf8(g.editor.text)
                           : header ? kxgrid::headerLabel(g.hwnd(), col, row)
                                    : g.data(col, row);
        const SS_CELLTYPE& t = g.typeOf(col, row);
        if (t.type == SS_TYPE_PICTURE && t.pixels && !header)
            pictures.emplace_back(col, row);
        if (t.type == SS_TYPE_BUTTON || (t.type == SS_TYPE_CHECKBOX && !t.text.empty()))
            text = t.text;
        if (t.type == SS_TYPE_CHECKBOX) {
            RECT box{r.left + 2, r.top + 2, r.left + 14, r.top + 14};
            CBrush frame(0x000000);
            FrameRect(dc, &box, frame.m_hObject);
            if (g.value(col, row) == "1")
                kxwin::fillSolidRect(dc, RECT{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3}, fore);
            r.left += 16;
        }
        if (!text.empty() && t.type != SS_TYPE_PICTURE) {
            CFont font;
            LOGFONT lf = g.cellFont(col, row);
            font.CreateFontIndirect(&lf);
            HFONT old = SelectObject(dc, font.m_hObject);
            SetTextColor(dc, fore);
            RECT inner{r.left + kCellMarginPx, r.top, r.right - kCellMarginPx, r.bottom};
            UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
            if (header || (t.type == SS_TYPE_NUMBER && (t.style & SS_NUMBER_CENTRE)) || t.type == SS_TYPE_BUTTON)
                format |= DT_CENTER;
            else if (t.type == SS_TYPE_NUMBER && (t.style & SS_NUMBER_RIGHT))
                format |= DT_RIGHT;
            DrawText(dc, text, &inner, format);
            SelectObject(dc, old);
        }
        return true;
    };
    if (colHeaders) {
        if (rowHeaders)
            drawCell(0, 0);
        for (int c = g.leftCol; c <= s.cols() && drawCell(c, 0); ++c) {}
    }
    for (int r = g.topRow; r <= s.rows(); ++r) {
        if (g.cellRect(0, r).top >= client.bottom)
            break;
        if (rowHeaders)
            drawCell(0, r);
        for (int c = g.leftCol; c <= s.cols() && drawCell(c, r); ++c) {}
    }
    for (const auto& [col, row] : pictures) {
        RECT area = g.cellRect(col, row);
        if (const auto span = s.spanAt(col, row); span && span->col == col && span->row == row) {
            const RECT last = g.cellRect(col + span->cols - 1, row + span->rows - 1);
            area.right = std::max(area.right, last.right);
            area.bottom = std::max(area.bottom, last.bottom);
        }
        const auto& pixels = g.typeOf(col, row).pixels;
        // At its own size from the top left, or smaller, keeping its proportions, where it would
        // not fit.
        const int roomX = std::max<LONG>(area.right - area.left - 2, 0);
        const int roomY = std::max<LONG>(area.bottom - area.top - 2, 0);
        double scale = 1.0;
        if (pixels->width > roomX || pixels->height > roomY)
            scale = std::min(static_cast<double>(roomX) / pixels->width, static_cast<double>(roomY) / pixels->height);
        const int w = static_cast<int>(pixels->width * scale), h = static_cast<int>(pixels->height * scale);
        if (w < 1 || h < 1)
            continue;
        HBITMAP bitmap = kxwin::createBitmap(*pixels);
        if (bitmap == nullptr)
            continue;
        kxwin::drawBitmap(dc, bitmap, RECT{area.left + 1, area.top + 1, area.left + 1 + w, area.top + 1 + h});
        DeleteObject(bitmap);
    }
    if (s.rows() >= 1 && s.cols() >= 1 && GetFocus() == g.hwnd()) {
        RECT focus = g.cellRect(g.activeCol, g.activeRow);
        DrawFocusRect(dc, &focus);
    }
}

LRESULT gridProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        if (!notificationRunning())
            retired().clear();
        auto grid = std::make_unique<Grid>(hwnd);
        // Every grid computes its formulas with the grid's engine unless a factory provides another.
        grid->ownedHook = g_hookFactory ? g_hookFactory(hwnd) : std::make_unique<SheetFormulas>(hwnd);
        grid->hook = grid->ownedHook.get();
        grids()[hwnd] = std::move(grid);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        auto it = grids().find(hwnd);
        if (it != grids().end()) {
            it->second->replaceSheet(Sheet());
            retired().push_back(std::move(it->second));
            grids().erase(it);
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    Grid* g = gridOf(hwnd);
    if (g == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (g->option(SSB_PROCESSTAB))
            code |= DLGC_WANTTAB | DLGC_WANTALLKEYS;
        else if (g->editor.active)
            code |= DLGC_WANTALLKEYS & ~DLGC_WANTTAB;  // Enter and Escape end the edit
        if (!g->option(SSB_PROCESSTAB) && g->editor.active) {
            // Tab still leaves the grid: claim every key but Tab.
            const auto* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg && msg->wParam == static_cast<WPARAM>(VK_TAB))
                code &= ~DLGC_WANTALLKEYS;
        }
        return code;
    }
    case WM_KEYDOWN:
        gridKey(*g, static_cast<int>(wParam));
        return 0;
    case WM_CHAR:
        gridChar(*g, static_cast<char32_t>(wParam));
        return 0;
    case WM_KILLFOCUS:
        // Leaving the grid ends an edit: the owner hears of it as of leaving the cell.
        if (g->commitEdit() && g->cellEdited && IsWindow(hwnd)) {
            g->cellEdited = false;
            g->notify(SSN_LEAVECELLAFTEREDIT, g->activeCol, g->activeRow);
        }
        return 0;
    case WM_LBUTTONDOWN:
        mouseDown(*g, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        mouseMove(*g, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd)
            ReleaseCapture();
        return 0;
    case WM_LBUTTONDBLCLK: {
        int col = 0, row = 0;
        if (g->cellAtPoint(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, col, row) && col == g->activeCol &&
            row == g->activeRow)
            g->startEdit(false);
        return 0;
    }
    case WM_RBUTTONDOWN: {
        // The menu acts on the selection: a click outside it selects the cell under the pointer.
        int col = 0, row = 0;
        if (g->cellAtPoint(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, col, row) && col >= 1 && row >= 1) {
            const bool inBlock = g->hasBlock && col >= g->blockCol1 && col <= g->blockCol2 && row >= g->blockRow1 &&
                                 row <= g->blockRow2;
            if (!inBlock)
                g->moveActive(col, row);
        }
        return 0;
    }
    case WM_RBUTTONUP: {
        int col = 0, row = 0;
        if (!g->cellAtPoint(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, col, row)) {
            col = g->activeCol;
            row = g->activeRow;
        }
        g->notify(SSN_RBUTTONUP, col, row);
        return 0;
    }
    case KXM_USER_PICK:
        pickItem(*g, static_cast<int>(wParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc)
            paint(*g, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_COPY:
        return SSClipboardCopy(hwnd);
    case WM_PASTE:
        return SSClipboardPaste(hwnd);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT previewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hwnd, message, wParam, lParam);
}

struct RegisterGridClasses {
    RegisterGridClasses()
    {
        RegisterWindowClass(kGridClassName, gridProc);
        RegisterWindowClass(kGridPreviewClassName, previewProc);
    }
} registerGridClasses;

} // namespace

Grid* gridOf(HWND hwnd)
{
    if (hwnd == nullptr)
        return nullptr;
    auto& t = grids();
    auto it = t.find(hwnd);
    return it == t.end() ? nullptr : it->second.get();
}

} // namespace kxgrid::detail

namespace kxgrid {

void setFormulaHookFactory(FormulaHookFactory factory)
{
    detail::g_hookFactory = factory;
}

HWND createStandaloneGrid(int cols, int rows)
{
    HWND hwnd = CreateWindowEx(0, kGridClassName, "", 0, 0, 0, 640, 480, nullptr, 0);
    if (hwnd == nullptr)
        return nullptr;
    if (!SSSetMaxCols(hwnd, cols) || !SSSetMaxRows(hwnd, rows)) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    SSSetBool(hwnd, SSB_CHANGEMADE, FALSE);
    return hwnd;
}

} // namespace kxgrid
