// The list view ("SysListView32"): items with a text, sub-item texts, an image index, item data and
// state bits (selected, focused, check mark), shown as icons (a grid of cells) or as a report with
// columns. State changes are asked of the parent (LVN_ITEMCHANGING, which may refuse) and reported
// (LVN_ITEMCHANGED); clicks, double clicks, right clicks and keys are reported as the framework does.
// Image lists belong to whoever made them: the list view only keeps their handles.
#include "platform/win/controls/ListViewInternal.h"

#include "platform/win/CommCtrl.h"
#include "platform/win/UserInput.h"
#include "platform/win/Window.h"
#include "platform/win/WindowInternal.h"
#include "platform/win/controls/ControlSupport.h"

#include <algorithm>
#include <vector>

namespace kxwin::detail::listview {

ListViewState* view(HWND hwnd)
{
    return stateOf<ListViewState>(hwnd);
}

int count(const ListViewState& s)
{
    return static_cast<int>(s.items.size());
}

DWORD viewKind(HWND hwnd)
{
    return styleOf(hwnd) & LVS_TYPEMASK;
}

bool isRowView(HWND hwnd)
{
    const DWORD kind = viewKind(hwnd);
    return kind == LVS_REPORT || kind == LVS_LIST;
}

bool singleSelection(HWND hwnd)
{
    return (styleOf(hwnd) & LVS_SINGLESEL) != 0;
}

void changed(HWND hwnd)
{
    notifyWindowChanged(hwnd, WindowChange::Content);
}

// --- Geometry ------------------------------------------------------------------------------------

namespace {

int headerHeight(HWND hwnd)
{
    return (viewKind(hwnd) == LVS_REPORT && !(styleOf(hwnd) & LVS_NOCOLUMNHEADER)) ? kHeaderHeight : 0;
}

SIZE cellSize(HWND hwnd, const ListViewState& s)
{
    return viewKind(hwnd) == LVS_SMALLICON ? kSmallIconSpacing : s.iconSpacing;
}

} // namespace

int columnsPerRow(HWND hwnd, const ListViewState& s)
{
    RECT r;
    GetClientRect(hwnd, r);
    return std::max(1, static_cast<int>(r.width()) / std::max<int>(1, cellSize(hwnd, s).cx));
}

int rowWidth(HWND hwnd, const ListViewState& s)
{
    RECT r;
    GetClientRect(hwnd, r);
    if (viewKind(hwnd) != LVS_REPORT || s.columns.empty())
        return r.width();
    int width = 0;
    for (const LvColumn& c : s.columns)
        width += c.width;
    return width;
}

int countPerPage(HWND hwnd, const ListViewState& s)
{
    RECT r;
    GetClientRect(hwnd, r);
    if (isRowView(hwnd))
        return std::max(1, (static_cast<int>(r.height()) - headerHeight(hwnd)) / kRowHeight);
    const int rows = std::max(1, static_cast<int>(r.height()) / std::max<int>(1, cellSize(hwnd, s).cy));
    return rows * columnsPerRow(hwnd, s);
}

namespace {

RECT itemBounds(HWND hwnd, const ListViewState& s, int index)
{
    if (isRowView(hwnd)) {
        const int top = headerHeight(hwnd) + (index - s.topIndex) * kRowHeight;
        return RECT{0, top, rowWidth(hwnd, s), top + kRowHeight};
    }
    const SIZE cell = cellSize(hwnd, s);
    const int perRow = columnsPerRow(hwnd, s);
    const int left = (index % perRow) * cell.cx;
    const int top = (index / perRow - s.topIndex) * cell.cy;
    return RECT{left, top, left + cell.cx, top + cell.cy};
}

} // namespace

RECT itemPart(HWND hwnd, const ListViewState& s, int index, int part)
{
    RECT bounds = itemBounds(hwnd, s, index);
    if (part == LVIR_BOUNDS || part == LVIR_SELECTBOUNDS)
        return bounds;
    if (isRowView(hwnd)) {
        const int iconWidth = s.images[LVSIL_SMALL] ? kSmallIcon : 0;
        if (part == LVIR_ICON)
            return RECT{bounds.left, bounds.top, bounds.left + iconWidth, bounds.bottom};
        const int labelRight = s.columns.empty() ? bounds.right : bounds.left + s.columns.front().width;
        return RECT{bounds.left + iconWidth, bounds.top, std::max<LONG>(labelRight, bounds.left + iconWidth),
                    bounds.bottom};
    }
    // Icon cells: the picture above, one or two lines of label below.
    const int labelTop = bounds.bottom - 2 * kLineHeight - 2;
    if (part == LVIR_ICON)
        return RECT{bounds.left, bounds.top, bounds.right, labelTop};
    return RECT{bounds.left, labelTop, bounds.right, bounds.bottom};
}

int hitTest(HWND hwnd, const ListViewState& s, POINT p, UINT* flags)
{
    const int first = isRowView(hwnd) ? s.topIndex : s.topIndex * columnsPerRow(hwnd, s);
    const int last = std::min(count(s), first + countPerPage(hwnd, s) + columnsPerRow(hwnd, s));
    for (int i = std::max(0, first); i < last; ++i) {
        if (itemBounds(hwnd, s, i).contains(p)) {
            if (flags)
                *flags = itemPart(hwnd, s, i, LVIR_ICON).contains(p) ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
            return i;
        }
    }
    if (flags)
        *flags = LVHT_NOWHERE;
    return -1;
}

void ensureVisible(HWND hwnd, ListViewState& s, int index)
{
    if (index < 0 || index >= count(s))
        return;
    const int perRow = isRowView(hwnd) ? 1 : columnsPerRow(hwnd, s);
    const int rows = std::max(1, countPerPage(hwnd, s) / perRow);
    const int row = index / perRow;
    if (row < s.topIndex)
        s.topIndex = row;
    else if (row >= s.topIndex + rows)
        s.topIndex = row - rows + 1;
}

// --- Notifications and state ---------------------------------------------------------------------

NMLISTVIEW listNotice(const ListViewState& s, int index)
{
    NMLISTVIEW nm;
    nm.iItem = index;
    if (index >= 0 && index < count(s)) {
        nm.uOldState = nm.uNewState = s.items[static_cast<size_t>(index)].state;
        nm.lParam = s.items[static_cast<size_t>(index)].param;
    }
    return nm;
}

// Sets state bits of one item, asking the parent first. False when refused, unchanged, or the
// list view died meanwhile.
bool changeOne(HWND hwnd, int index, UINT state, UINT mask)
{
    ListViewState* s = view(hwnd);
    if (index < 0 || index >= count(*s))
        return false;
    const UINT old = s->items[static_cast<size_t>(index)].state;
    const UINT wanted = (old & ~mask) | (state & mask);
    if (wanted == old)
        return false;
    NMLISTVIEW asking = listNotice(*s, index);
    asking.uNewState = wanted;
    asking.uChanged = LVIF_STATE;
    if (notifyParent(hwnd, LVN_ITEMCHANGING, asking.hdr) != 0 || !IsWindow(hwnd))
        return false;
    if (index >= count(*s))
        return false;
    LvItem& item = s->items[static_cast<size_t>(index)];
    const UINT before = item.state;
    item.state = (before & ~mask) | (state & mask);
    changed(hwnd);
    NMLISTVIEW told = listNotice(*s, index);
    told.uOldState = before;
    told.uChanged = LVIF_STATE;
    notifyParent(hwnd, LVN_ITEMCHANGED, told.hdr);
    return true;
}

// Sets state bits keeping the rules: one focused item, and one selected item in LVS_SINGLESEL.
void changeState(HWND hwnd, int index, UINT state, UINT mask)
{
    ListViewState* s = view(hwnd);
    const bool focusing = (mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED);
    const bool selectingOnly = (mask & LVIS_SELECTED) && (state & LVIS_SELECTED) && singleSelection(hwnd);
    if (focusing || selectingOnly) {
        const UINT clear = (focusing ? LVIS_FOCUSED : 0) | (selectingOnly ? LVIS_SELECTED : 0);
        for (int i = 0; IsWindow(hwnd) && i < count(*s); ++i) {
            if (i != index && (s->items[static_cast<size_t>(i)].state & clear))
                changeOne(hwnd, i, 0, clear);
        }
        if (!IsWindow(hwnd))
            return;
    }
    changeOne(hwnd, index, state, mask);
}

namespace {

// What a plain click does: this item selected and focused, every other one not.
void selectOnly(HWND hwnd, int index)
{
    ListViewState* s = view(hwnd);
    for (int i = 0; IsWindow(hwnd) && i < count(*s); ++i) {
        if (i != index && (s->items[static_cast<size_t>(i)].state & LVIS_SELECTED))
            changeOne(hwnd, i, 0, LVIS_SELECTED);
    }
    if (!IsWindow(hwnd) || index < 0)
        return;
    changeState(hwnd, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if (IsWindow(hwnd) && index < count(*s)) {
        s->selectionMark = index;
        ensureVisible(hwnd, *s, index);
    }
}

void selectRange(HWND hwnd, int from, int to)
{
    ListViewState* s = view(hwnd);
    if (from > to)
        std::swap(from, to);
    for (int i = 0; IsWindow(hwnd) && i < count(*s); ++i)
        changeOne(hwnd, i, (i >= from && i <= to) ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

UINT keyFlags()
{
    return (keyIsDown(VK_CONTROL) ? LVKF_CONTROL : 0) | (keyIsDown(VK_SHIFT) ? LVKF_SHIFT : 0) |
           (keyIsDown(VK_MENU) ? LVKF_ALT : 0);
}

LRESULT activation(HWND hwnd, int code, int index, POINT at)
{
    ListViewState* s = view(hwnd);
    NMITEMACTIVATE nm;
    nm.iItem = index;
    nm.ptAction = at;
    nm.uKeyFlags = keyFlags();
    if (index >= 0 && index < count(*s)) {
        nm.uNewState = nm.uOldState = s->items[static_cast<size_t>(index)].state;
        nm.lParam = s->items[static_cast<size_t>(index)].param;
    }
    return notifyParent(hwnd, code, nm.hdr);
}

POINT centreOf(const RECT& r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int focusedItem(const ListViewState& s)
{
    for (int i = 0; i < count(s); ++i) {
        if (s.items[static_cast<size_t>(i)].state & LVIS_FOCUSED)
            return i;
    }
    return -1;
}

// --- Input ---------------------------------------------------------------------------------------

bool takeFocus(HWND hwnd)
{
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    return IsWindow(hwnd) != FALSE;
}

void onLButtonDown(HWND hwnd, WPARAM wParam, POINT p, bool doubleClick)
{
    if (!takeFocus(hwnd))
        return;
    ListViewState* s = view(hwnd);
    const int hit = hitTest(hwnd, *s, p);
    const bool ctrl = (wParam & MK_CONTROL) != 0;
    const bool shift = (wParam & MK_SHIFT) != 0;
    const bool single = singleSelection(hwnd);
    if (hit >= 0 && ctrl && !single) {
        const bool on = (s->items[static_cast<size_t>(hit)].state & LVIS_SELECTED) == 0;
        changeState(hwnd, hit, (on ? LVIS_SELECTED : 0) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        if (IsWindow(hwnd))
            s->selectionMark = hit;
    } else if (hit >= 0 && shift && !single && s->selectionMark >= 0) {
        selectRange(hwnd, s->selectionMark, hit);
        if (IsWindow(hwnd))
            changeState(hwnd, hit, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (hit >= 0) {
        selectOnly(hwnd, hit);
    } else if (!ctrl) {
        selectOnly(hwnd, -1);
    }
    if (!IsWindow(hwnd))
        return;
    if (doubleClick) {
        s->clickPending = false;
        activation(hwnd, NM_DBLCLK, hit, p);
        if (IsWindow(hwnd) && hit >= 0)
            activation(hwnd, LVN_ITEMACTIVATE, hit, p);
        return;
    }
    s->clickPending = true;
    s->clickItem = hit;
    s->clickPoint = p;
}

void onRButtonDown(HWND hwnd, POINT p)
{
    if (!takeFocus(hwnd))
        return;
    ListViewState* s = view(hwnd);
    const int hit = hitTest(hwnd, *s, p);
    // A right click keeps a selection it lands in, and otherwise selects what it lands on.
    if (hit < 0 || !(s->items[static_cast<size_t>(hit)].state & LVIS_SELECTED))
        selectOnly(hwnd, hit);
    if (!IsWindow(hwnd))
        return;
    s->rightClickPending = true;
    s->clickItem = hit;
    s->clickPoint = p;
}

void onKeyDown(HWND hwnd, int key)
{
    NMLVKEYDOWN nm;
    nm.wVKey = static_cast<WORD>(key);
    notifyParent(hwnd, LVN_KEYDOWN, nm.hdr);
    if (!IsWindow(hwnd))
        return;
    ListViewState* s = view(hwnd);
    const int n = count(*s);
    if (key == VK_RETURN) {
        NMHDR header;
        notifyParent(hwnd, NM_RETURN, header);
        return;
    }
    if (n == 0)
        return;
    const int from = focusedItem(*s) >= 0 ? focusedItem(*s) : std::max(0, s->selectionMark);
    const bool rows = isRowView(hwnd);
    const int perRow = rows ? 1 : columnsPerRow(hwnd, *s);
    int to = from;
    switch (key) {
    case VK_UP:
        to = from - perRow;
        break;
    case VK_DOWN:
        to = from + perRow;
        break;
    case VK_LEFT:
        to = rows ? from : from - 1;
        break;
    case VK_RIGHT:
        to = rows ? from : from + 1;
        break;
    case VK_HOME:
        to = 0;
        break;
    case VK_END:
        to = n - 1;
        break;
    case VK_PRIOR:
        to = from - std::max(1, countPerPage(hwnd, *s) - perRow);
        break;
    case VK_NEXT:
        to = from + std::max(1, countPerPage(hwnd, *s) - perRow);
        break;
    case VK_SPACE:
        if (keyIsDown(VK_CONTROL) && !singleSelection(hwnd)) {
            const bool on = (s->items[static_cast<size_t>(from)].state & LVIS_SELECTED) == 0;
            changeState(hwnd, from, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
        } else {
            changeState(hwnd, from, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        }
        return;
    default:
        return;
    }
    to = std::clamp(to, 0, n - 1);
    const bool multi = !singleSelection(hwnd);
    if (multi && keyIsDown(VK_CONTROL)) {
        changeState(hwnd, to, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (multi && keyIsDown(VK_SHIFT) && s->selectionMark >= 0) {
        const int mark = s->selectionMark;
        selectRange(hwnd, mark, to);
        if (IsWindow(hwnd))
            changeState(hwnd, to, LVIS_FOCUSED, LVIS_FOCUSED);
    } else {
        selectOnly(hwnd, to);
    }
    if (IsWindow(hwnd))
        ensureVisible(hwnd, *s, to);
}

void onChar(HWND hwnd, WPARAM wParam)
{
    ListViewState* s = view(hwnd);
    const char32_t cp = static_cast<char32_t>(wParam);
    if (cp <= 0x20 || cp == 0x7F)
        return;
    const std::string prefix = encodeCodePoint(cp);
    const int found = findItem(count(*s), focusedItem(*s),
                               [s](int i) -> const std::string& { return s->items[static_cast<size_t>(i)].text; },
                               prefix, /*exact=*/false);
    if (found >= 0)
        selectOnly(hwnd, found);
}

LRESULT listViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        setControlState(hwnd, std::make_unique<ListViewState>());
        return 0;
    }
    ListViewState* s = view(hwnd);
    if (s == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;

    switch (message) {
    case WM_DESTROY:
        deleteAll(hwnd);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_GETTEXT:
        return copyTextOut(*textOf(hwnd), reinterpret_cast<char*>(lParam), wParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        s->focused = message == WM_SETFOCUS;
        changed(hwnd);
        NMHDR header;
        notifyParent(hwnd, s->focused ? NM_SETFOCUS : NM_KILLFOCUS, header);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (enabled)
            onLButtonDown(hwnd, wParam, pointFrom(lParam), message == WM_LBUTTONDBLCLK);
        return 0;
    case WM_LBUTTONUP:
        if (s->clickPending) {
            s->clickPending = false;
            activation(hwnd, NM_CLICK, s->clickItem, s->clickPoint);
        }
        return 0;
    case WM_RBUTTONDOWN:
        if (enabled)
            onRButtonDown(hwnd, pointFrom(lParam));
        return 0;
    case WM_RBUTTONUP:
        if (s->rightClickPending) {
            s->rightClickPending = false;
            // An owner that handles the right click itself answers nonzero: no context menu then.
            if (activation(hwnd, NM_RCLICK, s->clickItem, s->clickPoint) != 0 || !IsWindow(hwnd))
                return 0;
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_KEYDOWN:
        if (enabled)
            onKeyDown(hwnd, static_cast<int>(wParam));
        return 0;
    case WM_CHAR:
        if (enabled)
            onChar(hwnd, wParam);
        return 0;
    case KXM_USER_PICK: {
        const int index = static_cast<int>(static_cast<std::int32_t>(wParam));
        if (!enabled || index < 0 || index >= count(*s))
            return 0;
        ensureVisible(hwnd, *s, index);
        const POINT at = centreOf(itemBounds(hwnd, *s, index));
        selectOnly(hwnd, index);
        if (IsWindow(hwnd))
            activation(hwnd, NM_CLICK, index, at);
        return 1;
    }
    case KXM_USER_DBLCLK: {
        const int index = static_cast<int>(static_cast<std::int32_t>(wParam));
        if (!enabled || index < 0 || index >= count(*s))
            return 0;
        ensureVisible(hwnd, *s, index);
        const POINT at = centreOf(itemBounds(hwnd, *s, index));
        activation(hwnd, NM_DBLCLK, index, at);
        if (IsWindow(hwnd))
            activation(hwnd, LVN_ITEMACTIVATE, index, at);
        return 1;
    }
    case KXM_USER_TOGGLE_ITEM: {
        const int index = static_cast<int>(static_cast<std::int32_t>(wParam));
        if (!enabled || !(s->exStyle & LVS_EX_CHECKBOXES) || index < 0 || index >= count(*s))
            return 0;
        const bool checked = (s->items[static_cast<size_t>(index)].state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
        changeState(hwnd, index, INDEXTOSTATEIMAGEMASK(checked ? 1 : 2), LVIS_STATEIMAGEMASK);
        return 1;
    }
    default:
        return itemMessage(hwnd, s, message, wParam, lParam);
    }
}

struct RegisterListViewClass {
    RegisterListViewClass() { RegisterWindowClass(WC_LISTVIEW, listViewProc); }
} registerListViewClass;

} // namespace

} // namespace kxwin::detail::listview
