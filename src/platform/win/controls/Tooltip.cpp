// The tooltip control ("tooltips_class32"): a table of tools, each keyed by (window, id), with the
// text shown when the pointer rests on that window or on a rectangle of it. The text may come from
// the owner when needed (LPSTR_TEXTCALLBACK, answered through TTN_GETDISPINFO). Showing the tip is
// the backend's: it asks kxwin::tooltipTextFor / tooltipTextAt, and tests ask the same.
#include "platform/win/CommCtrl.h"
#include "platform/win/Window.h"
#include "platform/win/WindowInternal.h"
#include "platform/win/controls/ControlSupport.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kxwin::detail {

namespace {

// The classic tooltip buffer: what TTM_GETTEXT assumes without a size.
constexpr size_t kClassicTextSize = 80;

struct Tool {
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect;
    std::string text;
    bool callback = false;
    LPARAM param = 0;
    HINSTANCE instance = nullptr;
};

struct TooltipState : ControlState {
    std::vector<Tool> tools;
    bool active = true;
    int maxWidth = -1;
    int delays[4] = {500, 100, 5000, 500};  // automatic, reshow, autopop, initial (ms)
};

// Live tooltip windows in creation order: the queries look through them.
std::vector<HWND>& tooltipWindows()
{
    static std::vector<HWND> windows;
    return windows;
}

TooltipState* tooltip(HWND hwnd)
{
    return stateOf<TooltipState>(hwnd);
}

Tool* findTool(TooltipState& s, const TOOLINFO* info)
{
    if (info == nullptr)
        return nullptr;
    auto it = std::find_if(s.tools.begin(), s.tools.end(),
                           [&](const Tool& t) { return t.hwnd == info->hwnd && t.id == info->uId; });
    return it == s.tools.end() ? nullptr : &*it;
}

// Texts given as resource ids have no string table to come from in this layer; they show nothing.
void readText(Tool& tool, const TOOLINFO& info)
{
    tool.callback = info.lpszText == LPSTR_TEXTCALLBACK;
    tool.instance = info.hinst;
    tool.text = (tool.callback || info.lpszText == nullptr || IS_INTRESOURCE(info.lpszText)) ? std::string()
                                                                                              : std::string(info.lpszText);
}

// The text the tool shows now, asking its window when the text is a callback.
std::string shownText(HWND tooltipWindow, const Tool& tool)
{
    if (!tool.callback)
        return tool.text;
    NMTTDISPINFO info;
    info.hdr.hwndFrom = tooltipWindow;
    info.hdr.idFrom = tool.id;
    info.hdr.code = TTN_GETDISPINFO;
    info.lParam = tool.param;
    info.uFlags = tool.flags;
    SendMessage(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&info));
    if (info.lpszText != nullptr && info.lpszText != LPSTR_TEXTCALLBACK && !IS_INTRESOURCE(info.lpszText))
        return std::string(info.lpszText);
    const void* zero = std::memchr(info.szText, 0, sizeof info.szText);
    const size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - info.szText)
                               : sizeof info.szText - 1;
    const std::string_view text(info.szText, length);
    return std::string(text.substr(0, fittingPrefix(text, length)));
}

bool toolIsFor(const Tool& tool, HWND window)
{
    if (tool.flags & TTF_IDISHWND)
        return reinterpret_cast<HWND>(tool.id) == window;
    return tool.hwnd == window;
}

void writeInfo(HWND hwnd, const Tool& tool, TOOLINFO& out, size_t textSize)
{
    out.uFlags = tool.flags;
    out.rect = tool.rect;
    out.hinst = tool.instance;
    out.lParam = tool.param;
    if (out.lpszText != nullptr && out.lpszText != LPSTR_TEXTCALLBACK && !IS_INTRESOURCE(out.lpszText))
        copyTextOut(shownText(hwnd, tool), out.lpszText, textSize);
}

LRESULT tooltipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        setControlState(hwnd, std::make_unique<TooltipState>());
        tooltipWindows().push_back(hwnd);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        std::erase(tooltipWindows(), hwnd);
        return 0;
    }
    TooltipState* s = tooltip(hwnd);
    if (s == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    auto* info = reinterpret_cast<TOOLINFO*>(lParam);

    switch (message) {
    case TTM_ADDTOOL: {
        if (info == nullptr)
            return FALSE;
        Tool tool;
        tool.flags = info->uFlags;
        tool.hwnd = info->hwnd;
        tool.id = info->uId;
        tool.rect = info->rect;
        tool.param = info->lParam;
        readText(tool, *info);
        // Adding a tool again replaces it rather than leaving two that answer for one key.
        if (Tool* existing = findTool(*s, info))
            *existing = std::move(tool);
        else
            s->tools.push_back(std::move(tool));
        notifyWindowChanged(hwnd, WindowChange::Content);
        return TRUE;
    }
    case TTM_DELTOOL:
        if (info != nullptr) {
            std::erase_if(s->tools, [&](const Tool& t) { return t.hwnd == info->hwnd && t.id == info->uId; });
            notifyWindowChanged(hwnd, WindowChange::Content);
        }
        return 0;
    case TTM_UPDATETIPTEXT:
        if (Tool* tool = findTool(*s, info)) {
            readText(*tool, *info);
            notifyWindowChanged(hwnd, WindowChange::Content);
        }
        return 0;
    case TTM_SETTOOLINFO:
        if (Tool* tool = findTool(*s, info)) {
            tool->flags = info->uFlags;
            tool->rect = info->rect;
            tool->param = info->lParam;
            readText(*tool, *info);
            notifyWindowChanged(hwnd, WindowChange::Content);
        }
        return 0;
    case TTM_NEWTOOLRECT:
        if (Tool* tool = findTool(*s, info))
            tool->rect = info->rect;
        return 0;
    case TTM_GETTEXT:
        // wParam: the buffer's size in bytes; 0 for the classic 80.
        if (Tool* tool = findTool(*s, info); tool && info->lpszText != nullptr)
            copyTextOut(shownText(hwnd, *tool), info->lpszText, wParam ? static_cast<size_t>(wParam) : kClassicTextSize);
        return 0;
    case TTM_GETTOOLINFO:
        if (Tool* tool = findTool(*s, info)) {
            writeInfo(hwnd, *tool, *info, kClassicTextSize);
            return TRUE;
        }
        return FALSE;
    case TTM_GETTOOLCOUNT:
        return static_cast<LRESULT>(s->tools.size());
    case TTM_ACTIVATE:
        s->active = wParam != 0;
        notifyWindowChanged(hwnd, WindowChange::Content);
        return 0;
    case TTM_SETMAXTIPWIDTH: {
        const int previous = s->maxWidth;
        s->maxWidth = static_cast<int>(lParam);
        return previous;
    }
    case TTM_GETMAXTIPWIDTH:
        return s->maxWidth;
    case TTM_SETDELAYTIME: {
        const int ms = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam)));
        if (wParam == TTDT_AUTOMATIC) {
            const int base = ms < 0 ? 500 : ms;
            s->delays[TTDT_AUTOMATIC] = s->delays[TTDT_INITIAL] = base;
            s->delays[TTDT_RESHOW] = base / 5;
            s->delays[TTDT_AUTOPOP] = base * 10;
        } else if (wParam <= TTDT_INITIAL) {
            s->delays[wParam] = ms < 0 ? 500 : ms;
        }
        return 0;
    }
    case TTM_GETDELAYTIME:
        return wParam <= TTDT_INITIAL ? s->delays[wParam] : 0;
    case TTM_RELAYEVENT:
    case TTM_POP:
        return 0;
    case WM_GETTEXT:
        return copyTextOut(*textOf(hwnd), reinterpret_cast<char*>(lParam), wParam);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

struct RegisterTooltipClass {
    RegisterTooltipClass() { RegisterWindowClass(TOOLTIPS_CLASS, tooltipProc); }
} registerTooltipClass;

std::string tipFor(HWND window, const POINT* at)
{
    if (!IsWindow(window))
        return {};
    const std::vector<HWND> windows = tooltipWindows();
    for (HWND w : windows) {
        TooltipState* s = tooltip(w);
        if (!IsWindow(w) || s == nullptr || !s->active)
            continue;
        for (const Tool& tool : s->tools) {
            if (!toolIsFor(tool, window))
                continue;
            const bool whole = (tool.flags & TTF_IDISHWND) != 0;
            if (!whole && at != nullptr && !tool.rect.contains(*at))
                continue;
            const Tool copy = tool;  // the owner's answer to a callback may change the table
            return shownText(w, copy);
        }
    }
    return {};
}

std::string fixedTipFor(HWND window)
{
    if (!IsWindow(window))
        return {};
    for (HWND w : tooltipWindows()) {
        TooltipState* s = tooltip(w);
        if (!IsWindow(w) || s == nullptr || !s->active)
            continue;
        for (const Tool& tool : s->tools) {
            if ((tool.flags & TTF_IDISHWND) != 0 && toolIsFor(tool, window))
                return tool.callback ? std::string() : tool.text;
        }
    }
    return {};
}

} // namespace

} // namespace kxwin::detail

namespace kxwin {

std::string tooltipTextFor(HWND window)
{
    return detail::tipFor(window, nullptr);
}

std::string tooltipTextAt(HWND window, POINT point)
{
    return detail::tipFor(window, &point);
}

std::string tooltipTextOfWindowTool(HWND window)
{
    return detail::fixedTipFor(window);
}

} // namespace kxwin
