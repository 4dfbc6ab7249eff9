// The "ListBox" class: strings with item data, optionally sorted, with a single selection or a
// multiple one (LBS_MULTIPLESEL toggles items, LBS_EXTENDEDSEL works with Shift and Ctrl). With
// LBS_NOTIFY the parent hears LBN_SELCHANGE and LBN_DBLCLK for what the person does; the program's
// own changes are never notified. Items are kLineHeight pixels high unless LB_SETITEMHEIGHT says.
#include "platform/win/Messages.h"
#include "platform/win/UserInput.h"
#include "platform/win/Window.h"
#include "platform/win/WindowInternal.h"
#include "platform/win/controls/ControlSupport.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kxwin::detail {

namespace {

struct ListItem {
    std::string text;
    LPARAM data = 0;
    bool selected = false;
};

struct ListState : ControlState {
    std::vector<ListItem> items;
    int current = -1;  // single selection: the selected item; multiple: the focus (caret) item
    int anchor = -1;   // where a Shift range starts
    int topIndex = 0;
    int itemHeight = kLineHeight;
    bool focused = false;
};

enum class SelectionKind { None, Single, Multiple, Extended };

ListState* list(HWND hwnd)
{
    return stateOf<ListState>(hwnd);
}

SelectionKind kindOf(HWND hwnd)
{
    const DWORD style = styleOf(hwnd);
    if (style & LBS_NOSEL)
        return SelectionKind::None;
    if (style & LBS_EXTENDEDSEL)
        return SelectionKind::Extended;
    if (style & LBS_MULTIPLESEL)
        return SelectionKind::Multiple;
    return SelectionKind::Single;
}

bool multi(HWND hwnd)
{
    const SelectionKind k = kindOf(hwnd);
    return k == SelectionKind::Multiple || k == SelectionKind::Extended;
}

int count(const ListState& s)
{
    return static_cast<int>(s.items.size());
}

int indexParam(WPARAM wParam)
{
    return static_cast<int>(static_cast<std::int32_t>(wParam));
}

std::function<const std::string&(int)> textsOf(const ListState& s)
{
    return [&s](int i) -> const std::string& { return s.items[static_cast<size_t>(i)].text; };
}

int visibleItems(HWND hwnd, const ListState& s)
{
    RECT r;
    GetClientRect(hwnd, r);
    return std::max(1, static_cast<int>(r.height()) / std::max(1, s.itemHeight));
}

void ensureVisible(HWND hwnd, ListState& s, int index)
{
    if (index < 0)
        return;
    const int visible = visibleItems(hwnd, s);
    if (index < s.topIndex)
        s.topIndex = index;
    else if (index >= s.topIndex + visible)
        s.topIndex = index - visible + 1;
}

void changed(HWND hwnd)
{
    notifyWindowChanged(hwnd, WindowChange::Content);
}

// Single selection: select `index` (-1 for none).
void selectOnly(HWND hwnd, ListState& s, int index)
{
    for (ListItem& item : s.items)
        item.selected = false;
    if (index >= 0 && index < count(s))
        s.items[static_cast<size_t>(index)].selected = true;
    s.current = (index >= 0 && index < count(s)) ? index : -1;
    ensureVisible(hwnd, s, s.current);
    changed(hwnd);
}

void selectRange(ListState& s, int from, int to, bool on)
{
    if (from > to)
        std::swap(from, to);
    from = std::max(from, 0);
    to = std::min(to, count(s) - 1);
    for (int i = from; i <= to; ++i)
        s.items[static_cast<size_t>(i)].selected = on;
}

void notifySelChange(HWND hwnd)
{
    if (styleOf(hwnd) & LBS_NOTIFY)
        notifyCommand(hwnd, LBN_SELCHANGE);
}

// What a click on an item does, with the modifier keys held now.
void clickItem(HWND hwnd, int index, bool shift, bool ctrl)
{
    ListState* s = list(hwnd);
    switch (kindOf(hwnd)) {
    case SelectionKind::None:
        return;
    case SelectionKind::Single:
        selectOnly(hwnd, *s, index);
        break;
    case SelectionKind::Multiple: {
        ListItem& item = s->items[static_cast<size_t>(index)];
        item.selected = !item.selected;
        s->current = s->anchor = index;
        changed(hwnd);
        break;
    }
    case SelectionKind::Extended:
        if (shift && s->anchor >= 0) {
            if (!ctrl)
                selectRange(*s, 0, count(*s) - 1, false);
            selectRange(*s, s->anchor, index, true);
        } else if (ctrl) {
            ListItem& item = s->items[static_cast<size_t>(index)];
            item.selected = !item.selected;
            s->anchor = index;
        } else {
            selectRange(*s, 0, count(*s) - 1, false);
            s->items[static_cast<size_t>(index)].selected = true;
            s->anchor = index;
        }
        s->current = index;
        changed(hwnd);
        break;
    }
    notifySelChange(hwnd);
}

int itemAt(HWND hwnd, const ListState& s, POINT p)
{
    if (p.y < 0)
        return -1;
    const int index = s.topIndex + p.y / std::max(1, s.itemHeight);
    return index < count(s) ? index : -1;
}

void onKeyDown(HWND hwnd, int key)
{
    ListState* s = list(hwnd);
    const int n = count(*s);
    if (n == 0)
        return;
    const SelectionKind kind = kindOf(hwnd);
    if (key == VK_SPACE) {
        if (kind == SelectionKind::Multiple && s->current >= 0)
            clickItem(hwnd, s->current, false, false);
        return;
    }
    const int page = visibleItems(hwnd, *s);
    int index = s->current;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        index = index < 0 ? 0 : std::max(0, index - 1);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        index = index < 0 ? 0 : std::min(n - 1, index + 1);
        break;
    case VK_PRIOR:
        index = std::max(0, index - page + 1);
        break;
    case VK_NEXT:
        index = std::min(n - 1, std::max(0, index) + page - 1);
        break;
    case VK_HOME:
        index = 0;
        break;
    case VK_END:
        index = n - 1;
        break;
    default:
        return;
    }
    if (kind == SelectionKind::Multiple || kind == SelectionKind::None) {
        // The caret moves; the selection stays until Space.
        s->current = index;
        ensureVisible(hwnd, *s, index);
        changed(hwnd);
        return;
    }
    if (kind == SelectionKind::Single && index == s->current)
        return;
    ensureVisible(hwnd, *s, index);
    clickItem(hwnd, index, keyIsDown(VK_SHIFT), /*ctrl=*/false);
}

// Typing selects the next item starting with the typed character.
void onChar(HWND hwnd, WPARAM wParam)
{
    ListState* s = list(hwnd);
    const char32_t cp = static_cast<char32_t>(wParam);
    if (cp <= 0x20 || cp == 0x7F)
        return;
    const int index = findItem(count(*s), s->current, textsOf(*s), encodeCodePoint(cp), /*exact=*/false);
    if (index < 0 || index == s->current)
        return;
    ensureVisible(hwnd, *s, index);
    clickItem(hwnd, index, false, false);
}

void insertAt(ListState& s, int at, ListItem item)
{
    s.items.insert(s.items.begin() + at, std::move(item));
    if (s.current >= at)
        ++s.current;
    if (s.anchor >= at)
        ++s.anchor;
}

LRESULT listMessage(HWND hwnd, ListState* s, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = indexParam(wParam);
    const bool validIndex = index >= 0 && index < count(*s);
    const bool single = kindOf(hwnd) == SelectionKind::Single;
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        int at = count(*s);
        if (message == LB_INSERTSTRING && index >= 0) {
            if (index > count(*s))
                return LB_ERR;
            at = index;
        } else if (message == LB_ADDSTRING && (styleOf(hwnd) & LBS_SORT)) {
            at = sortedPosition(count(*s), textsOf(*s), textParam(lParam));
        }
        insertAt(*s, at, ListItem{std::string(textParam(lParam)), 0, false});
        changed(hwnd);
        return at;
    }
    case LB_DELETESTRING:
        if (!validIndex)
            return LB_ERR;
        s->items.erase(s->items.begin() + index);
        if (s->current == index)
            s->current = single ? -1 : std::min(index, count(*s) - 1);
        else if (s->current > index)
            --s->current;
        if (s->anchor >= count(*s) || s->anchor == index)
            s->anchor = -1;
        else if (s->anchor > index)
            --s->anchor;
        s->topIndex = std::clamp(s->topIndex, 0, std::max(0, count(*s) - 1));
        changed(hwnd);
        return count(*s);
    case LB_RESETCONTENT:
        s->items.clear();
        s->current = s->anchor = -1;
        s->topIndex = 0;
        changed(hwnd);
        return 0;
    case LB_GETCOUNT:
        return count(*s);
    case LB_GETTEXT: {
        // The caller sized the buffer with LB_GETTEXTLEN, as the framework requires.
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!validIndex || buffer == nullptr)
            return LB_ERR;
        const std::string& text = s->items[static_cast<size_t>(index)].text;
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return static_cast<LRESULT>(text.size());
    }
    case LB_GETTEXTLEN:
        return validIndex ? static_cast<LRESULT>(s->items[static_cast<size_t>(index)].text.size()) : LB_ERR;
    case LB_GETITEMDATA:
        return validIndex ? s->items[static_cast<size_t>(index)].data : LB_ERR;
    case LB_SETITEMDATA:
        if (index == -1) {
            for (ListItem& item : s->items)
                item.data = lParam;
            return TRUE;
        }
        if (!validIndex)
            return LB_ERR;
        s->items[static_cast<size_t>(index)].data = lParam;
        return TRUE;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING: {
        if (lParam == 0)
            return LB_ERR;
        const int found = findItem(count(*s), index, textsOf(*s), textParam(lParam), message == LB_FINDSTRINGEXACT);
        if (found < 0)
            return LB_ERR;
        if (message == LB_SELECTSTRING) {
            if (!single)
                return LB_ERR;
            selectOnly(hwnd, *s, found);
        }
        return found;
    }
    case LB_SETCURSEL:
        if (!single)
            return LB_ERR;
        selectOnly(hwnd, *s, validIndex ? index : -1);
        return validIndex ? index : LB_ERR;
    case LB_GETCURSEL:
        return s->current;
    case LB_SETSEL: {
        // wParam: select or not; lParam: the item, -1 for all.
        if (!multi(hwnd))
            return LB_ERR;
        const int item = static_cast<int>(static_cast<std::int32_t>(lParam));
        if (item == -1) {
            selectRange(*s, 0, count(*s) - 1, wParam != 0);
        } else {
            if (item < 0 || item >= count(*s))
                return LB_ERR;
            s->items[static_cast<size_t>(item)].selected = wParam != 0;
            s->current = s->anchor = item;
        }
        changed(hwnd);
        return 0;
    }
    case LB_GETSEL:
        return validIndex ? (s->items[static_cast<size_t>(index)].selected ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT:
        if (!multi(hwnd))
            return LB_ERR;
        return std::count_if(s->items.begin(), s->items.end(), [](const ListItem& i) { return i.selected; });
    case LB_GETSELITEMS: {
        // wParam: room in the int array at lParam.
        if (!multi(hwnd))
            return LB_ERR;
        int* out = reinterpret_cast<int*>(lParam);
        if (out == nullptr || index < 0)
            return LB_ERR;
        int n = 0;
        for (int i = 0; i < count(*s) && n < index; ++i) {
            if (s->items[static_cast<size_t>(i)].selected)
                out[n++] = i;
        }
        return n;
    }
    case LB_SELITEMRANGE:
    case LB_SELITEMRANGEEX: {
        if (!multi(hwnd) || count(*s) == 0)
            return LB_ERR;
        int from = 0;
        int to = 0;
        bool on = true;
        if (message == LB_SELITEMRANGE) {
            on = wParam != 0;
            from = LOWORD(static_cast<std::uintptr_t>(lParam));
            to = HIWORD(static_cast<std::uintptr_t>(lParam));
        } else {
            // First above last deselects the range.
            from = index;
            to = static_cast<int>(static_cast<std::int32_t>(lParam));
            on = from <= to;
        }
        selectRange(*s, from, to, on);
        changed(hwnd);
        return 0;
    }
    case LB_GETTOPINDEX:
        return s->topIndex;
    case LB_SETTOPINDEX:
        if (!validIndex)
            return LB_ERR;
        s->topIndex = index;
        changed(hwnd);
        return 0;
    case LB_GETCARETINDEX:
        return s->current;
    case LB_SETCARETINDEX:
        if (!validIndex)
            return LB_ERR;
        if (single)
            selectOnly(hwnd, *s, index);
        else
            s->current = index;
        ensureVisible(hwnd, *s, index);
        changed(hwnd);
        return 0;
    case LB_GETANCHORINDEX:
        return s->anchor;
    case LB_SETANCHORINDEX:
        if (!validIndex)
            return LB_ERR;
        s->anchor = index;
        return 0;
    case LB_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr || !(validIndex || index == 0))
            return LB_ERR;
        RECT client;
        GetClientRect(hwnd, client);
        const int top = (index - s->topIndex) * s->itemHeight;
        *rect = RECT{0, top, client.right, top + s->itemHeight};
        return 1;
    }
    case LB_SETITEMHEIGHT: {
        const int height = static_cast<int>(lParam);
        if (height <= 0 || height > 255)
            return LB_ERR;
        s->itemHeight = height;
        changed(hwnd);
        return 0;
    }
    case LB_GETITEMHEIGHT:
        return s->itemHeight;
    case LB_ITEMFROMPOINT: {
        // Low word: the nearest item; high word 1 when the point is outside the client area.
        const POINT p = pointFrom(lParam);
        RECT client;
        GetClientRect(hwnd, client);
        if (count(*s) == 0)
            return MAKELPARAM(0, 1);
        const int raw = s->topIndex + std::max(0, static_cast<int>(p.y)) / std::max(1, s->itemHeight);
        const int nearest = std::min(raw, count(*s) - 1);
        const bool outside = !client.contains(p) || raw != nearest;
        return MAKELPARAM(static_cast<WORD>(nearest), outside ? 1 : 0);
    }
    case LB_INITSTORAGE:
        s->items.reserve(std::min<size_t>(static_cast<size_t>(std::max(0, index)), 4096));
        return std::max(0, index);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT listBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        setControlState(hwnd, std::make_unique<ListState>());
        return 0;
    }
    ListState* s = list(hwnd);
    if (s == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;

    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_GETTEXT:
        return copyTextOut(*textOf(hwnd), reinterpret_cast<char*>(lParam), wParam);
    case WM_SETFOCUS:
        s->focused = true;
        changed(hwnd);
        notifyCommand(hwnd, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        changed(hwnd);
        notifyCommand(hwnd, LBN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (!enabled)
            return 0;
        if (GetFocus() != hwnd) {
            SetFocus(hwnd);
            if (!IsWindow(hwnd))
                return 0;
        }
        const int index = itemAt(hwnd, *s, pointFrom(lParam));
        if (index < 0)
            return 0;
        clickItem(hwnd, index, (wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0);
        if (message == WM_LBUTTONDBLCLK && IsWindow(hwnd) && (styleOf(hwnd) & LBS_NOTIFY))
            notifyCommand(hwnd, LBN_DBLCLK);
        return 0;
    }
    case WM_KEYDOWN:
        if (enabled)
            onKeyDown(hwnd, static_cast<int>(wParam));
        return 0;
    case WM_CHAR:
        if (enabled)
            onChar(hwnd, wParam);
        return 0;
    case KXM_USER_PICK: {
        const int index = indexParam(wParam);
        if (!enabled || index < 0 || index >= count(*s))
            return 0;
        ensureVisible(hwnd, *s, index);
        clickItem(hwnd, index, keyIsDown(VK_SHIFT), keyIsDown(VK_CONTROL));
        return 1;
    }
    case KXM_USER_TOGGLE_ITEM: {
        const int index = indexParam(wParam);
        if (!enabled || !multi(hwnd) || index < 0 || index >= count(*s))
            return 0;
        ensureVisible(hwnd, *s, index);
        clickItem(hwnd, index, /*shift=*/false, /*ctrl=*/kindOf(hwnd) == SelectionKind::Extended);
        return 1;
    }
    case KXM_USER_DBLCLK: {
        const int index = indexParam(wParam);
        if (!enabled || index < 0 || index >= count(*s))
            return 0;
        if (styleOf(hwnd) & LBS_NOTIFY)
            notifyCommand(hwnd, LBN_DBLCLK);
        return 1;
    }
    default:
        return listMessage(hwnd, s, message, wParam, lParam);
    }
}

struct RegisterListBoxClass {
    RegisterListBoxClass() { RegisterWindowClass("ListBox", listBoxProc); }
} registerListBoxClass;

} // namespace

} // namespace kxwin::detail
