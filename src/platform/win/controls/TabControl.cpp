// The tab control ("SysTabControl32"): a strip of tabs with texts, images and item data, one of
// them current. A person's choice asks the parent first (TCN_SELCHANGING; a nonzero answer keeps
// the old tab) and then reports it (TCN_SELCHANGE); the program's TCM_SETCURSEL says nothing.
// Pages are the parent's windows: TCM_ADJUSTRECT tells where they go. Ctrl+Tab is the parent's.
#include "platform/win/CommCtrl.h"
#include "platform/win/UserInput.h"
#include "platform/win/Window.h"
#include "platform/win/WindowInternal.h"
#include "platform/win/controls/ControlSupport.h"

#include <algorithm>
#include <vector>

namespace kxwin::detail {

namespace {

constexpr int kStripHeight = 21;  // one row of tabs for the 8-point dialog font
constexpr int kTabPadding = 12;
constexpr int kMinTabWidth = 42;
constexpr int kPageMargin = 4;

struct TabItem {
    std::string text;
    int image = -1;
    LPARAM param = 0;
    DWORD state = 0;
};

struct TabState : ControlState {
    std::vector<TabItem> items;
    int current = -1;
    int focusItem = -1;
    HIMAGELIST images = nullptr;
};

TabState* tabs(HWND hwnd)
{
    return stateOf<TabState>(hwnd);
}

int count(const TabState& s)
{
    return static_cast<int>(s.items.size());
}

int tabWidth(const TabItem& item)
{
    return std::max(kMinTabWidth, static_cast<int>(countChars(item.text)) * kCharWidth + kTabPadding);
}

// Tabs sit side by side in one row from the left edge.
RECT tabRect(const TabState& s, int index)
{
    int left = 2;
    for (int i = 0; i < index; ++i)
        left += tabWidth(s.items[static_cast<size_t>(i)]);
    return RECT{left, 0, left + tabWidth(s.items[static_cast<size_t>(index)]), kStripHeight};
}

int tabAt(const TabState& s, POINT p)
{
    for (int i = 0; i < count(s); ++i) {
        if (tabRect(s, i).contains(p))
            return i;
    }
    return -1;
}

void changed(HWND hwnd)
{
    notifyWindowChanged(hwnd, WindowChange::Content);
}

// A person selects a tab: the parent may refuse. Returns false when the tab did not change.
bool choose(HWND hwnd, int index)
{
    TabState* s = tabs(hwnd);
    if (index < 0 || index >= count(*s) || index == s->current)
        return false;
    NMHDR asking;
    if (notifyParent(hwnd, TCN_SELCHANGING, asking) != 0 || !IsWindow(hwnd))
        return false;
    if (index >= count(*s))  // the parent removed tabs while deciding
        return false;
    s->current = s->focusItem = index;
    changed(hwnd);
    NMHDR told;
    notifyParent(hwnd, TCN_SELCHANGE, told);
    return true;
}

bool readItem(const TCITEM* in, TabItem& item)
{
    if (in == nullptr)
        return false;
    if (in->mask & TCIF_TEXT)
        item.text = in->pszText && in->pszText != LPSTR_TEXTCALLBACK ? std::string(in->pszText) : std::string();
    if (in->mask & TCIF_IMAGE)
        item.image = in->iImage;
    if (in->mask & TCIF_PARAM)
        item.param = in->lParam;
    if (in->mask & TCIF_STATE)
        item.state = (item.state & ~in->dwStateMask) | (in->dwState & in->dwStateMask);
    return true;
}

LRESULT tabMessage(HWND hwnd, TabState* s, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<std::int32_t>(wParam));
    const bool validIndex = index >= 0 && index < count(*s);
    switch (message) {
    case TCM_GETITEMCOUNT:
        return count(*s);
    case TCM_INSERTITEM: {
        TabItem item;
        if (index < 0 || !readItem(reinterpret_cast<const TCITEM*>(lParam), item))
            return -1;
        const int at = std::min(index, count(*s));
        s->items.insert(s->items.begin() + at, std::move(item));
        // The first tab becomes the current one, as the framework shows it.
        if (s->current < 0)
            s->current = 0;
        else if (s->current >= at)
            ++s->current;
        if (s->focusItem >= at)
            ++s->focusItem;
        changed(hwnd);
        return at;
    }
    case TCM_SETITEM:
        if (!validIndex || !readItem(reinterpret_cast<const TCITEM*>(lParam), s->items[static_cast<size_t>(index)]))
            return FALSE;
        changed(hwnd);
        return TRUE;
    case TCM_GETITEM: {
        auto* out = reinterpret_cast<TCITEM*>(lParam);
        if (!validIndex || out == nullptr)
            return FALSE;
        const TabItem& item = s->items[static_cast<size_t>(index)];
        if (out->mask & TCIF_TEXT)
            copyTextOut(item.text, out->pszText, static_cast<size_t>(std::max(0, out->cchTextMax)));
        if (out->mask & TCIF_IMAGE)
            out->iImage = item.image;
        if (out->mask & TCIF_PARAM)
            out->lParam = item.param;
        if (out->mask & TCIF_STATE)
            out->dwState = item.state & out->dwStateMask;
        return TRUE;
    }
    case TCM_DELETEITEM:
        if (!validIndex)
            return FALSE;
        s->items.erase(s->items.begin() + index);
        if (s->current == index)
            s->current = -1;
        else if (s->current > index)
            --s->current;
        if (s->focusItem == index)
            s->focusItem = -1;
        else if (s->focusItem > index)
            --s->focusItem;
        changed(hwnd);
        return TRUE;
    case TCM_DELETEALLITEMS:
        s->items.clear();
        s->current = s->focusItem = -1;
        changed(hwnd);
        return TRUE;
    case TCM_GETCURSEL:
        return s->current;
    case TCM_SETCURSEL: {
        if (!validIndex)
            return -1;
        const int previous = s->current;
        s->current = s->focusItem = index;
        changed(hwnd);
        return previous;
    }
    case TCM_GETCURFOCUS:
        return s->focusItem >= 0 ? s->focusItem : s->current;
    case TCM_SETCURFOCUS:
        if (validIndex) {
            s->focusItem = index;
            changed(hwnd);
        }
        return 0;
    case TCM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (!validIndex || rect == nullptr)
            return FALSE;
        *rect = tabRect(*s, index);
        return TRUE;
    }
    case TCM_HITTEST: {
        auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
        if (info == nullptr)
            return -1;
        const int hit = tabAt(*s, info->pt);
        info->flags = hit < 0 ? TCHT_NOWHERE : TCHT_ONITEMLABEL;
        return hit;
    }
    case TCM_ADJUSTRECT: {
        // FALSE: from the control's rectangle to its page area; TRUE: the other way.
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr)
            return 0;
        const int sign = wParam ? -1 : 1;
        rect->left += sign * kPageMargin;
        rect->top += sign * (kStripHeight + kPageMargin);
        rect->right -= sign * kPageMargin;
        rect->bottom -= sign * kPageMargin;
        return 0;
    }
    case TCM_GETROWCOUNT:
        return 1;
    case TCM_SETIMAGELIST: {
        const HIMAGELIST previous = s->images;
        s->images = reinterpret_cast<HIMAGELIST>(lParam);
        changed(hwnd);
        return reinterpret_cast<LRESULT>(previous);
    }
    case TCM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(s->images);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT tabProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        setControlState(hwnd, std::make_unique<TabState>());
        return 0;
    }
    TabState* s = tabs(hwnd);
    if (s == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_GETTEXT:
        return copyTextOut(*textOf(hwnd), reinterpret_cast<char*>(lParam), wParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        changed(hwnd);
        NMHDR header;
        notifyParent(hwnd, message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS, header);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        if (!enabled)
            return 0;
        const int hit = tabAt(*s, pointFrom(lParam));
        if (hit < 0)
            return 0;
        if ((styleOf(hwnd) & TCS_FOCUSONBUTTONDOWN) && !(styleOf(hwnd) & TCS_FOCUSNEVER) && GetFocus() != hwnd) {
            SetFocus(hwnd);
            if (!IsWindow(hwnd))
                return 0;
        }
        choose(hwnd, hit);
        return 0;
    }
    case WM_LBUTTONUP: {
        if (!enabled || tabAt(*s, pointFrom(lParam)) < 0)
            return 0;
        NMHDR header;
        notifyParent(hwnd, NM_CLICK, header);
        return 0;
    }
    case WM_KEYDOWN: {
        if (!enabled || count(*s) == 0)
            return 0;
        const int from = s->current < 0 ? 0 : s->current;
        int to = from;
        if (wParam == VK_LEFT || wParam == VK_UP)
            to = std::max(0, from - 1);
        else if (wParam == VK_RIGHT || wParam == VK_DOWN)
            to = std::min(count(*s) - 1, from + 1);
        else if (wParam == VK_HOME)
            to = 0;
        else if (wParam == VK_END)
            to = count(*s) - 1;
        choose(hwnd, to);
        return 0;
    }
    case KXM_USER_PICK: {
        const int index = static_cast<int>(static_cast<std::int32_t>(wParam));
        if (!enabled || index < 0 || index >= count(*s))
            return 0;
        choose(hwnd, index);
        return 1;
    }
    default:
        return tabMessage(hwnd, s, message, wParam, lParam);
    }
}

struct RegisterTabClass {
    RegisterTabClass() { RegisterWindowClass(WC_TABCONTROL, tabProc); }
} registerTabClass;

} // namespace

} // namespace kxwin::detail
