// Menu bars of top-level windows: setting and reading a window's menu bar, and picking one of its
// commands as a person does (open the menu, choose the item). Menus themselves are Menu.h's.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/Menu.h"
#include "platform/win/WinTypes.h"

#include <string>

// Sent before a menu of the bar opens (wParam: the menu bar); WM_INITMENUPOPUP follows for the
// pop-up that opens. The window may grey or check items there.
inline constexpr UINT WM_INITMENU = 0x0116;

// Gives a top-level window its menu bar (null takes it away). The window owns the bar from then on:
// it is destroyed with the window. A bar that is replaced is the caller's again, as is the menu of a
// SetMenu(hwnd, nullptr). FALSE for a dead or child window, a stale menu, or a menu that is already
// another window's bar.
KXWIN_API BOOL SetMenu(HWND hwnd, HMENU menu);
// The window's menu bar; null when it has none.
KXWIN_API HMENU GetMenu(HWND hwnd);
// Tells the backend the bar's items changed (texts, grey and check states).
KXWIN_API BOOL DrawMenuBar(HWND hwnd);

namespace kxwin {

enum class MenuBarPick {
    Picked,     // the window got WM_COMMAND with the command
    NoWindow,   // dead window
    NoMenuBar,  // the window has no menu bar
    NoItem,     // no command item with that id in the bar
    Disabled,   // the item, or a sub-menu on the way to it, is greyed or disabled
};

// Picks `command` from the window's menu bar as a person does: WM_INITMENU, WM_INITMENUPOPUP for each
// pop-up on the way to the item (the window may change the items there), then, when the item can
// still be chosen, WM_COMMAND with the command and notification code 0, sent to the window.
KXWIN_API MenuBarPick pickMenuBarCommand(HWND hwnd, UINT command);
// Whether `command` is an item of the window's bar that a person could choose now. The window is
// not asked to update its items first.
KXWIN_API bool isMenuBarCommandEnabled(HWND hwnd, UINT command);
// "no menu bar", "no item 32806 in the menu bar", "item 32806 \"Save\" is greyed", ...
KXWIN_API std::string describeMenuBarPick(MenuBarPick result, HWND hwnd, UINT command);

} // namespace kxwin
