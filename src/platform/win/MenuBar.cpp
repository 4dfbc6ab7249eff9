// Menu bars: which window holds which bar, and picks from a bar.
#include "platform/win/MenuBar.h"

#include "platform/win/Messages.h"
#include "platform/win/Window.h"

#include <optional>
#include <unordered_map>
#include <vector>

namespace {

// A bar is found by walking the menus themselves (Menu.h's public calls): the depth guard matches
// the nesting the menu layer allows, so a walk never recurses without end.
constexpr int kMaxNesting = 64;

struct BarTable : kxwin::WindowObserver {
    std::unordered_map<HWND, HMENU> bars;
    bool observing = false;

    // A window that goes takes its bar with it, as the framework does.
    void windowChanged(HWND hwnd, kxwin::WindowChange change) override
    {
        if (change != kxwin::WindowChange::Destroyed)
            return;
        auto it = bars.find(hwnd);
        if (it == bars.end())
            return;
        HMENU menu = it->second;
        bars.erase(it);
        DestroyMenu(menu);
    }
};

// Never destroyed: the window layer may still report windows going away while the process ends.
BarTable& bars()
{
    static BarTable* table = new BarTable;
    if (!table->observing) {
        kxwin::addWindowObserver(table);
        table->observing = true;
    }
    return *table;
}

struct Step {
    HMENU menu;
    int position;
};

// The path to the first command item `command`, depth first in item order (as TrackPopupMenu finds
// it): the pop-ups on the way, then the item itself.
bool findPath(HMENU menu, UINT command, int depth, std::vector<Step>& path)
{
    if (depth > kMaxNesting)
        return false;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if (state == kNoMenuItem)
            continue;
        if (HMENU sub = GetSubMenu(menu, i)) {
            path.push_back(Step{menu, i});
            if (findPath(sub, command, depth + 1, path))
                return true;
            path.pop_back();
            continue;
        }
        if ((state & MF_SEPARATOR) == 0 && GetMenuItemID(menu, i) == command) {
            path.push_back(Step{menu, i});
            return true;
        }
    }
    return false;
}

bool isGreyed(const Step& step)
{
    const UINT state = GetMenuState(step.menu, static_cast<UINT>(step.position), MF_BYPOSITION);
    return state == kNoMenuItem || (state & (MF_GRAYED | MF_DISABLED)) != 0;
}

std::optional<kxwin::MenuBarPick> check(HWND hwnd, UINT command, std::vector<Step>& path)
{
    path.clear();
    if (!IsWindow(hwnd))
        return kxwin::MenuBarPick::NoWindow;
    HMENU bar = GetMenu(hwnd);
    if (bar == nullptr)
        return kxwin::MenuBarPick::NoMenuBar;
    if (command == 0 || !findPath(bar, command, 0, path))
        return kxwin::MenuBarPick::NoItem;
    for (const Step& step : path)
        if (isGreyed(step))
            return kxwin::MenuBarPick::Disabled;
    return std::nullopt;
}

} // namespace

BOOL SetMenu(HWND hwnd, HMENU menu)
{
    if (!IsWindow(hwnd) || (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD) != 0)
        return FALSE;
    if (menu != nullptr && !IsMenu(menu))
        return FALSE;
    BarTable& table = bars();
    for (const auto& [window, bar] : table.bars)
        if (bar == menu && window != hwnd)
            return FALSE;
    if (menu == nullptr)
        table.bars.erase(hwnd);
    else
        table.bars[hwnd] = menu;
    kxwin::notifyWindowChanged(hwnd, kxwin::WindowChange::Content);
    return TRUE;
}

HMENU GetMenu(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return nullptr;
    BarTable& table = bars();
    auto it = table.bars.find(hwnd);
    if (it == table.bars.end())
        return nullptr;
    if (!IsMenu(it->second)) {
        // Someone destroyed the bar behind the window's back: the window has none any more.
        table.bars.erase(it);
        return nullptr;
    }
    return it->second;
}

BOOL DrawMenuBar(HWND hwnd)
{
    if (GetMenu(hwnd) == nullptr)
        return FALSE;
    kxwin::notifyWindowChanged(hwnd, kxwin::WindowChange::Content);
    return TRUE;
}

namespace kxwin {

MenuBarPick pickMenuBarCommand(HWND hwnd, UINT command)
{
    std::vector<Step> path;
    if (auto refused = check(hwnd, command, path))
        return *refused;
    HMENU bar = GetMenu(hwnd);
    SendMessage(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        if (!IsWindow(hwnd))
            return MenuBarPick::NoWindow;
        HMENU popup = GetSubMenu(path[i].menu, path[i].position);
        if (popup == nullptr)
            return MenuBarPick::NoItem;
        SendMessage(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                    MAKELPARAM(static_cast<WORD>(path[i].position), FALSE));
    }
    // The window may have greyed or removed the item while its menu opened.
    if (auto refused = check(hwnd, command, path))
        return *refused;
    SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
    return MenuBarPick::Picked;
}

bool isMenuBarCommandEnabled(HWND hwnd, UINT command)
{
    std::vector<Step> path;
    return !check(hwnd, command, path).has_value();
}

std::string describeMenuBarPick(MenuBarPick result, HWND hwnd, UINT command)
{
    const std::string item = "item " + std::to_string(command);
    switch (result) {
    case MenuBarPick::Picked: return item + " picked";
    case MenuBarPick::NoWindow: return "no window to pick " + item + " from";
    case MenuBarPick::NoMenuBar: return "the window has no menu bar to pick " + item + " from";
    case MenuBarPick::NoItem: return "no " + item + " in the menu bar";
    case MenuBarPick::Disabled: {
        const std::string text = menuString(GetMenu(hwnd), command, MF_BYCOMMAND);
        return item + " \"" + text + "\" of the menu bar is greyed";
    }
    }
    return item;
}

} // namespace kxwin
