// The "Button" class: push and default push buttons, check boxes (two and three states, automatic
// or not), radio buttons with their WS_GROUP groups, push-like check buttons, group boxes, and the
// bitmap or icon a button shows. A click is a press inside the button and a release inside it;
// Space does the same from the keyboard. Drawing is the backend's; this file keeps the state.
#include "platform/win/Messages.h"
#include "platform/win/Window.h"
#include "platform/win/WindowInternal.h"
#include "platform/win/controls/ControlSupport.h"

#include <algorithm>

namespace kxwin::detail {

namespace {

struct ButtonState : ControlState {
    int check = BST_UNCHECKED;
    bool pushed = false;     // drawn pressed (mouse down inside, or Space held)
    bool focused = false;
    bool mouseDown = false;  // the left button went down on this button and is not yet released
    bool spaceDown = false;
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
};

ButtonState* button(HWND hwnd)
{
    return stateOf<ButtonState>(hwnd);
}

DWORD typeOf(HWND hwnd)
{
    return styleOf(hwnd) & BS_TYPEMASK;
}

bool isRadio(DWORD type)
{
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool isCheckKind(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
           isRadio(type);
}

bool isRadioButton(HWND hwnd)
{
    return GetClassName(hwnd) == "Button" && isRadio(typeOf(hwnd));
}

bool hasStyle(HWND hwnd, DWORD bits)
{
    return (styleOf(hwnd) & bits) != 0;
}

void setPushed(HWND hwnd, ButtonState& s, bool pushed)
{
    if (s.pushed == pushed)
        return;
    s.pushed = pushed;
    notifyWindowChanged(hwnd, WindowChange::Content);
}

// The radio buttons of hwnd's group: from the nearest sibling at or before it with WS_GROUP up to
// the next sibling with WS_GROUP, hidden and disabled ones included (their check must follow too).
std::vector<HWND> radioGroupOf(HWND hwnd)
{
    const std::vector<HWND> siblings = GetChildWindows(GetParent(hwnd));
    auto it = std::find(siblings.begin(), siblings.end(), hwnd);
    if (it == siblings.end())
        return {hwnd};
    auto start = it;
    while (start != siblings.begin() && !hasStyle(*start, WS_GROUP))
        --start;
    auto end = it + 1;
    while (end != siblings.end() && !hasStyle(*end, WS_GROUP))
        ++end;
    std::vector<HWND> group;
    for (auto g = start; g != end; ++g) {
        if (isRadioButton(*g))
            group.push_back(*g);
    }
    return group;
}

// A checked radio button becomes its group's tab stop, so that Tab lands on the chosen one. A group
// whose radios had no tab stop at all keeps it that way.
void moveGroupTabStop(HWND checked)
{
    const std::vector<HWND> group = radioGroupOf(checked);
    const bool anyStop = std::any_of(group.begin(), group.end(), [](HWND w) { return hasStyle(w, WS_TABSTOP); });
    if (!anyStop)
        return;
    for (HWND w : group) {
        const DWORD style = styleOf(w);
        const DWORD wanted = w == checked ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (wanted != style)
            SetWindowLong(w, GWL_STYLE, static_cast<LONG>(wanted));
    }
}

void setCheck(HWND hwnd, int state)
{
    ButtonState* s = button(hwnd);
    const DWORD type = typeOf(hwnd);
    if (!isCheckKind(type))
        return;
    // A two-state button shows "indeterminate" as checked.
    const int highest = (type == BS_3STATE || type == BS_AUTO3STATE) ? BST_INDETERMINATE : BST_CHECKED;
    state = std::clamp(state, static_cast<int>(BST_UNCHECKED), highest);
    if (state == s->check)
        return;
    s->check = state;
    if (isRadio(type) && state == BST_CHECKED)
        moveGroupTabStop(hwnd);
    notifyWindowChanged(hwnd, WindowChange::Content);
}

// What a click does: automatic kinds change their check first, then the parent hears BN_CLICKED.
void click(HWND hwnd)
{
    ButtonState* s = button(hwnd);
    switch (typeOf(hwnd)) {
    case BS_AUTOCHECKBOX:
        setCheck(hwnd, s->check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED);
        break;
    case BS_AUTO3STATE:
        setCheck(hwnd, (s->check + 1) % 3);
        break;
    case BS_AUTORADIOBUTTON:
        for (HWND other : radioGroupOf(hwnd)) {
            if (other != hwnd)
                SendMessage(other, BM_SETCHECK, BST_UNCHECKED);
        }
        setCheck(hwnd, BST_CHECKED);
        break;
    default:
        break;
    }
    notifyCommand(hwnd, BN_CLICKED);
}

bool inside(HWND hwnd, POINT p)
{
    RECT r;
    GetClientRect(hwnd, r);
    return r.contains(p);
}

LRESULT dialogCode(HWND hwnd)
{
    const DWORD type = typeOf(hwnd);
    switch (type) {
    case BS_GROUPBOX:
        return DLGC_STATIC;
    case BS_DEFPUSHBUTTON:
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_OWNERDRAW:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    default:
        return isRadio(type) ? (DLGC_BUTTON | DLGC_RADIOBUTTON) : DLGC_BUTTON;
    }
}

void press(HWND hwnd, bool doubleClick)
{
    const DWORD type = typeOf(hwnd);
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return;
    }
    ButtonState* s = button(hwnd);
    s->mouseDown = true;
    setPushed(hwnd, *s, true);
    SetCapture(hwnd);
    // Radio and owner-drawn buttons, and any button with BS_NOTIFY, report double clicks.
    if (doubleClick && (isRadio(type) || type == BS_OWNERDRAW || hasStyle(hwnd, BS_NOTIFY)))
        notifyCommand(hwnd, BN_DOUBLECLICKED);
}

LRESULT buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        setControlState(hwnd, std::make_unique<ButtonState>());
        // A group box is a frame with a caption: the dialog keys never stop on it.
        if (typeOf(hwnd) == BS_GROUPBOX && hasStyle(hwnd, WS_TABSTOP))
            SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>(styleOf(hwnd) & ~WS_TABSTOP));
        return 0;
    }
    ButtonState* s = button(hwnd);
    if (s == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const bool groupBox = typeOf(hwnd) == BS_GROUPBOX;

    switch (message) {
    case WM_GETDLGCODE:
        return dialogCode(hwnd);
    case WM_GETTEXT:
        return copyTextOut(*textOf(hwnd), reinterpret_cast<char*>(lParam), wParam);
    case WM_SETTEXT:
        DefWindowProc(hwnd, message, wParam, lParam);
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (enabled && !groupBox)
            press(hwnd, message == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        if (s->mouseDown)
            setPushed(hwnd, *s, inside(hwnd, pointFrom(lParam)));
        return 0;
    case WM_LBUTTONUP: {
        if (!s->mouseDown)
            return 0;
        const bool wasPushed = s->pushed;
        s->mouseDown = false;
        setPushed(hwnd, *s, false);
        if (GetCapture() == hwnd)
            ReleaseCapture();
        if (IsWindow(hwnd) && enabled && wasPushed && inside(hwnd, pointFrom(lParam)))
            click(hwnd);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (s->mouseDown && reinterpret_cast<HWND>(lParam) != hwnd) {
            s->mouseDown = false;
            setPushed(hwnd, *s, false);
        }
        return 0;
    case WM_KEYDOWN:
        if (enabled && !groupBox && wParam == VK_SPACE && !s->spaceDown) {
            s->spaceDown = true;
            setPushed(hwnd, *s, true);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && s->spaceDown) {
            s->spaceDown = false;
            setPushed(hwnd, *s, false);
            if (enabled)
                click(hwnd);
        }
        return 0;
    case WM_SETFOCUS:
        s->focused = true;
        notifyWindowChanged(hwnd, WindowChange::Content);
        if (hasStyle(hwnd, BS_NOTIFY))
            notifyCommand(hwnd, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        s->spaceDown = false;
        setPushed(hwnd, *s, s->mouseDown && s->pushed);
        notifyWindowChanged(hwnd, WindowChange::Content);
        if (hasStyle(hwnd, BS_NOTIFY))
            notifyCommand(hwnd, BN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        if (!wParam) {
            s->spaceDown = false;
            s->mouseDown = false;
            setPushed(hwnd, *s, false);
        }
        return 0;
    case BM_GETCHECK:
        return isCheckKind(typeOf(hwnd)) ? s->check : BST_UNCHECKED;
    case BM_SETCHECK:
        setCheck(hwnd, static_cast<int>(wParam));
        return 0;
    case BM_GETSTATE:
        return (isCheckKind(typeOf(hwnd)) ? s->check : 0) | (s->pushed ? BST_PUSHED : 0) |
               (s->focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
        setPushed(hwnd, *s, wParam != 0);
        return 0;
    case BM_SETSTYLE: {
        // The low word is the button's own style; window styles stay.
        const DWORD style = (styleOf(hwnd) & 0xFFFF0000u) | (static_cast<DWORD>(wParam) & 0xFFFFu);
        SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>(style));
        setCheck(hwnd, s->check);  // a two-state button cannot stay indeterminate
        return 0;
    }
    case BM_CLICK:
        // As a person's click: press and release inside, which also takes the focus.
        if (enabled && !groupBox) {
            SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessage(hwnd, WM_LBUTTONUP, 0, 0);
        }
        return 0;
    case BM_SETIMAGE: {
        LRESULT previous = 0;
        if (wParam == IMAGE_BITMAP) {
            previous = reinterpret_cast<LRESULT>(s->bitmap);
            s->bitmap = reinterpret_cast<HBITMAP>(lParam);
        } else if (wParam == IMAGE_ICON) {
            previous = reinterpret_cast<LRESULT>(s->icon);
            s->icon = reinterpret_cast<HICON>(lParam);
        } else {
            return 0;
        }
        notifyWindowChanged(hwnd, WindowChange::Content);
        return previous;
    }
    case BM_GETIMAGE:
        if (wParam == IMAGE_BITMAP)
            return reinterpret_cast<LRESULT>(s->bitmap);
        if (wParam == IMAGE_ICON)
            return reinterpret_cast<LRESULT>(s->icon);
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

struct RegisterButtonClass {
    RegisterButtonClass() { RegisterWindowClass("Button", buttonProc); }
} registerButtonClass;

} // namespace

} // namespace kxwin::detail
