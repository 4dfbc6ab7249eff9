// The "ComboBox" class: a list of strings with item data and a current selection, shown as a
// drop-down list (CBS_DROPDOWNLIST), a drop-down with an edit field (CBS_DROPDOWN: an inner "Edit"
// child with id IDC_COMBO_EDIT holds the text) or a list always open under its edit (CBS_SIMPLE).
// The opened list is not a window of its own: the combo keeps whether it is dropped and how high
// it would be, and the person picks through KXM_USER_PICK. As in the framework, a drop-down combo's
// window is only as high as its selection field; the height it was made with is the list's.
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

constexpr int kFieldHeight = 21;  // selection field of the 8-point dialog font
constexpr int kItemHeight = 15;
constexpr int kArrowWidth = 17;
constexpr int kPageItems = 8;

struct ComboItem {
    std::string text;
    LPARAM data = 0;
};

struct ComboState : ControlState {
    std::vector<ComboItem> items;
    int selected = -1;
    bool dropped = false;
    bool focused = false;  // the focus is on the combo or its edit
    HWND edit = nullptr;
    int quiet = 0;  // the combo is setting its edit's text itself: no CBN_EDIT* for that
    int fieldHeight = kFieldHeight;
    int itemHeight = kItemHeight;
    int droppedHeight = 0;
    int droppedWidth = 0;
    int minVisible = 30;
    int topIndex = 0;
    bool extendedUi = false;
};

ComboState* combo(HWND hwnd)
{
    return stateOf<ComboState>(hwnd);
}

DWORD kindOf(HWND hwnd)
{
    const DWORD kind = styleOf(hwnd) & 0x3;
    return kind == 0 ? CBS_DROPDOWN : kind;
}

int count(const ComboState& s)
{
    return static_cast<int>(s.items.size());
}

int indexParam(WPARAM wParam)
{
    return static_cast<int>(static_cast<std::int32_t>(wParam));
}

std::function<const std::string&(int)> textsOf(const ComboState& s)
{
    return [&s](int i) -> const std::string& { return s.items[static_cast<size_t>(i)].text; };
}

std::string shownText(HWND hwnd, const ComboState& s)
{
    if (s.edit != nullptr)
        return GetWindowText(s.edit);
    return s.selected >= 0 ? s.items[static_cast<size_t>(s.selected)].text : std::string();
}

void syncText(HWND hwnd, const ComboState& s)
{
    setTextDirect(hwnd, shownText(hwnd, s));
}

void setEditText(ComboState& s, const std::string& text)
{
    ++s.quiet;
    SetWindowText(s.edit, text);
    --s.quiet;
}

// Selects an item (or none with -1) and shows its text; no notification.
void setSelection(HWND hwnd, ComboState& s, int index)
{
    s.selected = (index >= 0 && index < count(s)) ? index : -1;
    if (s.edit != nullptr) {
        setEditText(s, s.selected >= 0 ? s.items[static_cast<size_t>(s.selected)].text : std::string());
        SendMessage(s.edit, EM_SETSEL, 0, -1);
    }
    syncText(hwnd, s);
    notifyWindowChanged(hwnd, WindowChange::Content);
}

// The entry matching the edit's text (ignoring case) becomes the selection while the person types.
void followEditText(HWND hwnd, ComboState& s)
{
    const std::string text = GetWindowText(s.edit);
    s.selected = findItem(count(s), -1, textsOf(s), text, /*exact=*/true);
    syncText(hwnd, s);
    notifyWindowChanged(hwnd, WindowChange::Content);
}

void openList(HWND hwnd)
{
    ComboState* s = combo(hwnd);
    if (s->dropped || kindOf(hwnd) == CBS_SIMPLE)
        return;
    // The parent may fill the list now, as many do.
    notifyCommand(hwnd, CBN_DROPDOWN);
    if (!IsWindow(hwnd))
        return;
    s->dropped = true;
    notifyWindowChanged(hwnd, WindowChange::Content);
}

void closeList(HWND hwnd, bool accepted)
{
    ComboState* s = combo(hwnd);
    if (!s->dropped)
        return;
    notifyCommand(hwnd, accepted ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!IsWindow(hwnd))
        return;
    s->dropped = false;
    notifyWindowChanged(hwnd, WindowChange::Content);
    notifyCommand(hwnd, CBN_CLOSEUP);
}

// A person chose an entry: open the list if needed, select, tell the parent, close the list.
LRESULT pick(HWND hwnd, int index)
{
    ComboState* s = combo(hwnd);
    if (!IsWindowEnabled(hwnd) || index < 0 || index >= count(*s))
        return 0;
    const bool simple = kindOf(hwnd) == CBS_SIMPLE;
    if (!simple && !s->dropped) {
        openList(hwnd);
        if (!IsWindow(hwnd))
            return 1;
        if (index >= count(*s)) {  // the parent refilled the list with fewer entries
            closeList(hwnd, /*accepted=*/false);
            return 0;
        }
    }
    setSelection(hwnd, *s, index);
    notifyCommand(hwnd, CBN_SELCHANGE);
    if (!IsWindow(hwnd))
        return 1;
    if (simple)
        notifyCommand(hwnd, CBN_SELENDOK);
    else
        closeList(hwnd, /*accepted=*/true);
    return 1;
}

void moveSelection(HWND hwnd, int key)
{
    ComboState* s = combo(hwnd);
    const int n = count(*s);
    if (n == 0)
        return;
    int index = s->selected;
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
        index = std::max(0, index - kPageItems);
        break;
    case VK_NEXT:
        index = std::min(n - 1, std::max(0, index) + kPageItems);
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
    if (index == s->selected)
        return;
    setSelection(hwnd, *s, index);
    notifyCommand(hwnd, CBN_SELCHANGE);
}

void onKeyDown(HWND hwnd, int key)
{
    ComboState* s = combo(hwnd);
    const DWORD kind = kindOf(hwnd);
    if (key == VK_F4) {
        if (s->dropped)
            closeList(hwnd, /*accepted=*/true);
        else
            openList(hwnd);
        return;
    }
    if (s->dropped && (key == VK_RETURN || key == VK_ESCAPE)) {
        closeList(hwnd, key == VK_RETURN);
        return;
    }
    // In a combo with an edit field, Left, Right, Home and End move the caret instead.
    const bool editKeys = key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END;
    if (kind != CBS_DROPDOWNLIST && editKeys)
        return;
    moveSelection(hwnd, key);
}

// Typing on a drop-down list selects the next entry that starts with the typed character.
void onChar(HWND hwnd, WPARAM wParam)
{
    ComboState* s = combo(hwnd);
    const char32_t cp = static_cast<char32_t>(wParam);
    if (kindOf(hwnd) != CBS_DROPDOWNLIST || cp < 0x20 || cp == 0x7F)
        return;
    const std::string prefix = encodeCodePoint(cp);
    if (prefix.empty())
        return;
    const int index = findItem(count(*s), s->selected, textsOf(*s), prefix, /*exact=*/false);
    if (index < 0 || index == s->selected)
        return;
    setSelection(hwnd, *s, index);
    notifyCommand(hwnd, CBN_SELCHANGE);
}

void gainFocus(HWND hwnd)
{
    ComboState* s = combo(hwnd);
    if (s->focused)
        return;
    s->focused = true;
    notifyWindowChanged(hwnd, WindowChange::Content);
    notifyCommand(hwnd, CBN_SETFOCUS);
}

void loseFocus(HWND hwnd, HWND newFocus)
{
    ComboState* s = combo(hwnd);
    if (!s->focused || newFocus == hwnd || IsChild(hwnd, newFocus))
        return;
    s->focused = false;
    notifyWindowChanged(hwnd, WindowChange::Content);
    closeList(hwnd, /*accepted=*/false);
    if (IsWindow(hwnd))
        notifyCommand(hwnd, CBN_KILLFOCUS);
}

// What the inner edit tells its parent becomes what the combo tells its own.
void onEditNotification(HWND hwnd, WORD code)
{
    ComboState* s = combo(hwnd);
    switch (code) {
    case EN_SETFOCUS:
        gainFocus(hwnd);
        break;
    case EN_KILLFOCUS:
        loseFocus(hwnd, GetFocus());
        break;
    case EN_UPDATE:
        if (s->quiet == 0)
            notifyCommand(hwnd, CBN_EDITUPDATE);
        break;
    case EN_CHANGE:
        if (s->quiet != 0) {
            syncText(hwnd, *s);
            break;
        }
        followEditText(hwnd, *s);
        notifyCommand(hwnd, CBN_EDITCHANGE);
        break;
    case EN_MAXTEXT:
        break;
    default:
        break;
    }
}

void layout(HWND hwnd)
{
    ComboState* s = combo(hwnd);
    RECT r;
    GetClientRect(hwnd, r);
    if (kindOf(hwnd) != CBS_SIMPLE && r.height() != s->fieldHeight) {
        // The requested height is the opened list's; the window keeps the field's.
        s->droppedHeight = r.height();
        SetWindowPos(hwnd, nullptr, 0, 0, r.width(), s->fieldHeight, SWP_NOMOVE | SWP_NOZORDER);
        return;
    }
    if (s->edit != nullptr) {
        const int width = std::max(0, static_cast<int>(r.width()) - (kindOf(hwnd) == CBS_SIMPLE ? 0 : kArrowWidth));
        MoveWindow(s->edit, 0, 0, width, s->fieldHeight);
    }
}

void create(HWND hwnd)
{
    setControlState(hwnd, std::make_unique<ComboState>());
    ComboState* s = combo(hwnd);
    RECT r;
    GetClientRect(hwnd, r);
    s->droppedHeight = r.height();
    s->droppedWidth = r.width();
    const DWORD style = styleOf(hwnd);
    if (kindOf(hwnd) != CBS_DROPDOWNLIST) {
        DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
        if (style & CBS_UPPERCASE)
            editStyle |= ES_UPPERCASE;
        if (style & CBS_LOWERCASE)
            editStyle |= ES_LOWERCASE;
        const std::string initial = *textOf(hwnd);
        s->edit = CreateWindowEx(0, "Edit", initial, editStyle, 0, 0, r.width(), s->fieldHeight, hwnd, IDC_COMBO_EDIT);
        s = combo(hwnd);
        syncText(hwnd, *s);
    } else {
        setTextDirect(hwnd, {});
    }
    layout(hwnd);
}

bool inEdit(const ComboState& s, POINT p)
{
    return s.edit != nullptr && GetWindowRectInParent(s.edit).contains(p);
}

LPARAM toEdit(const ComboState& s, LPARAM lParam)
{
    const RECT r = GetWindowRectInParent(s.edit);
    const POINT p = pointFrom(lParam);
    return MAKELPARAM(static_cast<WORD>(p.x - r.left), static_cast<WORD>(p.y - r.top));
}

void onLButtonDown(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    ComboState* s = combo(hwnd);
    const POINT p = pointFrom(lParam);
    if (inEdit(*s, p)) {
        SendMessage(s->edit, WM_LBUTTONDOWN, wParam, toEdit(*s, lParam));
        return;
    }
    if (GetFocus() != hwnd && !IsChild(hwnd, GetFocus())) {
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return;
    }
    if (kindOf(hwnd) == CBS_SIMPLE) {
        if (p.y >= s->fieldHeight) {
            const int index = s->topIndex + (p.y - s->fieldHeight) / s->itemHeight;
            if (index < count(*s))
                pick(hwnd, index);
        }
        return;
    }
    if (s->dropped)
        closeList(hwnd, /*accepted=*/false);
    else
        openList(hwnd);
}

LRESULT comboMessage(HWND hwnd, ComboState* s, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = indexParam(wParam);
    const bool validIndex = index >= 0 && index < count(*s);
    switch (message) {
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
        int at = count(*s);
        if (message == CB_INSERTSTRING && index >= 0) {
            if (index > count(*s))
                return CB_ERR;
            at = index;
        } else if (message == CB_ADDSTRING && (styleOf(hwnd) & CBS_SORT)) {
            at = sortedPosition(count(*s), textsOf(*s), textParam(lParam));
        }
        s->items.insert(s->items.begin() + at, ComboItem{std::string(textParam(lParam)), 0});
        if (s->selected >= at)
            ++s->selected;
        notifyWindowChanged(hwnd, WindowChange::Content);
        return at;
    }
    case CB_DELETESTRING:
        if (!validIndex)
            return CB_ERR;
        s->items.erase(s->items.begin() + index);
        if (index == s->selected) {
            s->selected = -1;
            syncText(hwnd, *s);
        } else if (index < s->selected) {
            --s->selected;
        }
        notifyWindowChanged(hwnd, WindowChange::Content);
        return count(*s);
    case CB_RESETCONTENT:
        s->items.clear();
        s->topIndex = 0;
        setSelection(hwnd, *s, -1);
        return 0;
    case CB_GETCOUNT:
        return count(*s);
    case CB_GETCURSEL:
        return s->selected;
    case CB_SETCURSEL:
        setSelection(hwnd, *s, validIndex ? index : -1);
        return validIndex ? index : CB_ERR;
    case CB_GETLBTEXT: {
        // The caller sized the buffer with CB_GETLBTEXTLEN, as the framework requires.
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!validIndex || buffer == nullptr)
            return CB_ERR;
        const std::string& text = s->items[static_cast<size_t>(index)].text;
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return static_cast<LRESULT>(text.size());
    }
    case CB_GETLBTEXTLEN:
        return validIndex ? static_cast<LRESULT>(s->items[static_cast<size_t>(index)].text.size()) : CB_ERR;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING: {
        if (lParam == 0)
            return CB_ERR;
        const int found = findItem(count(*s), index, textsOf(*s), textParam(lParam), message == CB_FINDSTRINGEXACT);
        if (found >= 0 && message == CB_SELECTSTRING)
            setSelection(hwnd, *s, found);
        return found >= 0 ? found : CB_ERR;
    }
    case CB_GETITEMDATA:
        return validIndex ? s->items[static_cast<size_t>(index)].data : CB_ERR;
    case CB_SETITEMDATA:
        if (!validIndex)
            return CB_ERR;
        s->items[static_cast<size_t>(index)].data = lParam;
        return TRUE;
    case CB_SHOWDROPDOWN:
        if (wParam)
            openList(hwnd);
        else
            closeList(hwnd, /*accepted=*/false);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return s->dropped ? TRUE : FALSE;
    case CB_LIMITTEXT:
        if (s->edit == nullptr)
            return CB_ERR;
        SendMessage(s->edit, EM_LIMITTEXT, wParam);
        return TRUE;
    case CB_GETEDITSEL:
        return s->edit ? SendMessage(s->edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL: {
        if (s->edit == nullptr)
            return CB_ERR;
        const auto start = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam)));
        const auto end = static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(lParam)));
        SendMessage(s->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(start)), end);
        return TRUE;
    }
    case CB_GETDROPPEDCONTROLRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr)
            return CB_ERR;
        GetWindowRect(hwnd, *rect);
        rect->right = rect->left + std::max<LONG>(rect->width(), s->droppedWidth);
        rect->bottom = rect->top + std::max(s->droppedHeight, s->fieldHeight);
        return TRUE;
    }
    case CB_SETITEMHEIGHT: {
        const int height = static_cast<int>(lParam);
        if (height <= 0 || height > 255)
            return CB_ERR;
        if (index == -1) {
            s->fieldHeight = height;
            layout(hwnd);
        } else {
            s->itemHeight = height;
        }
        return 0;
    }
    case CB_GETITEMHEIGHT:
        return index == -1 ? s->fieldHeight : s->itemHeight;
    case CB_SETEXTENDEDUI:
        s->extendedUi = wParam != 0;
        return 0;
    case CB_GETEXTENDEDUI:
        return s->extendedUi ? TRUE : FALSE;
    case CB_GETTOPINDEX:
        return s->topIndex;
    case CB_SETTOPINDEX:
        if (!validIndex)
            return CB_ERR;
        s->topIndex = index;
        return 0;
    case CB_GETDROPPEDWIDTH:
        return s->droppedWidth;
    case CB_SETDROPPEDWIDTH:
        s->droppedWidth = std::max(0, index);
        return s->droppedWidth;
    case CB_INITSTORAGE:
        // A count is only a hint; never let it drive a huge allocation.
        s->items.reserve(std::min<size_t>(static_cast<size_t>(std::max(0, index)), 4096));
        return std::max(0, index);
    case CB_SETMINVISIBLE:
        if (index <= 0)
            return FALSE;
        s->minVisible = index;
        return TRUE;
    case CB_GETMINVISIBLE:
        return s->minVisible;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT comboProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        create(hwnd);
        return IsWindow(hwnd) ? 0 : -1;
    }
    ComboState* s = combo(hwnd);
    if (s == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;

    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | ((s->dropped && isEnterOrEscape(lParam)) ? DLGC_WANTALLKEYS : 0);
    case WM_SETTEXT: {
        const std::string_view text = textParam(lParam);
        if (s->edit != nullptr) {
            setEditText(*s, std::string(text));
            followEditText(hwnd, *s);
            return TRUE;
        }
        const int found = findItem(count(*s), -1, textsOf(*s), text, /*exact=*/true);
        if (found < 0)
            return CB_ERR;
        setSelection(hwnd, *s, found);
        return TRUE;
    }
    case WM_GETTEXT:
        return copyTextOut(shownText(hwnd, *s), reinterpret_cast<char*>(lParam), wParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(shownText(hwnd, *s).size());
    case WM_SETFONT:
        if (s->edit != nullptr)
            SendMessage(s->edit, WM_SETFONT, wParam, lParam);
        return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_SIZE:
        layout(hwnd);
        return 0;
    case WM_ENABLE:
        if (s->edit != nullptr)
            EnableWindow(s->edit, static_cast<BOOL>(wParam));
        if (!wParam && IsWindow(hwnd))
            closeList(hwnd, /*accepted=*/false);
        return 0;
    case WM_SETFOCUS:
        if (s->edit != nullptr) {
            // The focus belongs in the edit field, with its text selected.
            SetFocus(s->edit);
            if (IsWindow(hwnd) && GetFocus() == s->edit)
                SendMessage(s->edit, EM_SETSEL, 0, -1);
        } else {
            gainFocus(hwnd);
        }
        return 0;
    case WM_KILLFOCUS:
        loseFocus(hwnd, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == s->edit && s->edit != nullptr)
            onEditNotification(hwnd, HIWORD(wParam));
        return 0;
    case WM_KEYDOWN:
        if (enabled)
            onKeyDown(hwnd, static_cast<int>(wParam));
        return 0;
    case WM_SYSKEYDOWN:
        if (enabled && (wParam == VK_DOWN || wParam == VK_UP)) {
            if (s->dropped)
                closeList(hwnd, /*accepted=*/true);
            else
                openList(hwnd);
            return 0;
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CHAR:
        if (enabled)
            onChar(hwnd, wParam);
        return 0;
    case WM_LBUTTONDOWN:
        if (enabled)
            onLButtonDown(hwnd, wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (enabled && inEdit(*s, pointFrom(lParam)))
            SendMessage(s->edit, message, wParam, toEdit(*s, lParam));
        else if (enabled)
            onLButtonDown(hwnd, wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        // The edit field holds the capture while a person selects in it.
        if (s->edit != nullptr && GetCapture() == s->edit)
            SendMessage(s->edit, message, wParam, toEdit(*s, lParam));
        return 0;
    case KXM_USER_PICK:
        return pick(hwnd, indexParam(wParam));
    case KXM_USER_DROPDOWN:
        if (!enabled || kindOf(hwnd) == CBS_SIMPLE)
            return 0;
        if (wParam)
            openList(hwnd);
        else
            closeList(hwnd, /*accepted=*/false);
        return 1;
    case KXM_USER_DBLCLK: {
        if (kindOf(hwnd) != CBS_SIMPLE || pick(hwnd, indexParam(wParam)) == 0)
            return 0;
        if (IsWindow(hwnd))
            notifyCommand(hwnd, CBN_DBLCLK);
        return 1;
    }
    default:
        return comboMessage(hwnd, s, message, wParam, lParam);
    }
}

struct RegisterComboBoxClass {
    RegisterComboBoxClass() { RegisterWindowClass("ComboBox", comboProc); }
} registerComboBoxClass;

} // namespace

} // namespace kxwin::detail
