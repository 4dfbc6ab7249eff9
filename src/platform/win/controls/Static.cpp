// The "Static" class: a label, frame or picture. It never takes the focus; with SS_NOTIFY it tells
// its parent about clicks (STN_CLICKED, STN_DBLCLK) and about being enabled or disabled. Pictures
// are kept as the handles given (SS_ICON, SS_BITMAP); drawing them is the backend's.
#include "platform/win/Messages.h"
#include "platform/win/Window.h"
#include "platform/win/WindowInternal.h"
#include "platform/win/controls/ControlSupport.h"

namespace kxwin::detail {

namespace {

struct StaticState : ControlState {
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
};

bool notifies(HWND hwnd)
{
    return (styleOf(hwnd) & SS_NOTIFY) != 0;
}

LRESULT setImage(HWND hwnd, StaticState& s, WPARAM type, LPARAM handle)
{
    LRESULT previous = 0;
    switch (type) {
    case IMAGE_BITMAP:
        previous = reinterpret_cast<LRESULT>(s.bitmap);
        s.bitmap = reinterpret_cast<HBITMAP>(handle);
        break;
    case IMAGE_ICON:
        previous = reinterpret_cast<LRESULT>(s.icon);
        s.icon = reinterpret_cast<HICON>(handle);
        break;
    case IMAGE_CURSOR:
        previous = reinterpret_cast<LRESULT>(s.cursor);
        s.cursor = reinterpret_cast<HCURSOR>(handle);
        break;
    default:
        return 0;
    }
    notifyWindowChanged(hwnd, WindowChange::Content);
    return previous;
}

LRESULT staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        setControlState(hwnd, std::make_unique<StaticState>());
        return 0;
    }
    auto* s = stateOf<StaticState>(hwnd);
    if (s == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_GETTEXT:
        return copyTextOut(*textOf(hwnd), reinterpret_cast<char*>(lParam), wParam);
    case WM_LBUTTONDOWN:
        if (notifies(hwnd) && IsWindowEnabled(hwnd))
            notifyCommand(hwnd, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (notifies(hwnd) && IsWindowEnabled(hwnd))
            notifyCommand(hwnd, STN_DBLCLK);
        return 0;
    case WM_ENABLE:
        if (notifies(hwnd))
            notifyCommand(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
        return 0;
    case STM_SETIMAGE:
        return setImage(hwnd, *s, wParam, lParam);
    case STM_GETIMAGE:
        if (wParam == IMAGE_BITMAP)
            return reinterpret_cast<LRESULT>(s->bitmap);
        if (wParam == IMAGE_ICON)
            return reinterpret_cast<LRESULT>(s->icon);
        if (wParam == IMAGE_CURSOR)
            return reinterpret_cast<LRESULT>(s->cursor);
        return 0;
    case STM_SETICON:
        return setImage(hwnd, *s, IMAGE_ICON, static_cast<LPARAM>(wParam));
    case STM_GETICON:
        return reinterpret_cast<LRESULT>(s->icon);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

struct RegisterStaticClass {
    RegisterStaticClass() { RegisterWindowClass("Static", staticProc); }
} registerStaticClass;

} // namespace

} // namespace kxwin::detail
