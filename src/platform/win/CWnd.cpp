// CWnd: message routing from the window layer to the C++ handlers.
#include "platform/win/CWnd.h"

#include <tuple>

CWnd::~CWnd()
{
    if (m_hWnd != nullptr && IsWindow(m_hWnd)) {
        HWND hwnd = m_hWnd;
        AttachWindowObject(hwnd, nullptr);
        m_hWnd = nullptr;
        ::DestroyWindow(hwnd);
    }
}

bool CWnd::Create(const std::string& className, const std::string& text, DWORD style, const RECT& rect, HWND parent,
                  int id, DWORD exStyle)
{
    if (m_hWnd != nullptr)
        return false;
    HWND hwnd = CreateWindowEx(exStyle, className, text, style, rect.left, rect.top, rect.width(), rect.height(),
                               parent, id);
    if (hwnd == nullptr)
        return false;
    // WM_CREATE went to the class procedure; the object sees everything from here on.
    return SubclassWindow(hwnd);
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!IsWindow(hwnd) || GetWindowObject(hwnd) != nullptr || m_hWnd != nullptr)
        return false;
    m_hWnd = hwnd;
    AttachWindowObject(hwnd, this);
    return true;
}

bool CWnd::SubclassDlgItem(int id, HWND parent)
{
    return SubclassWindow(::GetDlgItem(parent, id));
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (hwnd != nullptr)
        AttachWindowObject(hwnd, nullptr);
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

void CWnd::ModifyStyle(DWORD remove, DWORD add)
{
    const DWORD style = (GetStyle() & ~remove) | add;
    ::SetWindowLong(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
}

void CWnd::onCommand(int id, WORD code, std::function<void()> handler)
{
    m_commands[{id, code}] = std::move(handler);
}

void CWnd::onCommandRange(int firstId, int lastId, WORD code, std::function<void(int)> handler)
{
    m_commandRanges.emplace_back(firstId, lastId, code, std::move(handler));
}

void CWnd::onNotify(int id, int code, std::function<LRESULT(NMHDR&)> handler)
{
    m_notifies[{id, code}] = std::move(handler);
}

void CWnd::onMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler)
{
    m_messages[message] = std::move(handler);
}

void CWnd::deleteWhenIdle()
{
    if (m_hWnd != nullptr && IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    if (m_dispatchDepth == 0)
        delete this;
    else
        m_deletePending = true;
}

void CWnd::detachOnDestroy()
{
    HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    if (hwnd != nullptr)
        AttachWindowObject(hwnd, nullptr);
    PostNcDestroy();
}

LRESULT CWnd::Default()
{
    if (m_current.empty() || m_hWnd == nullptr)
        return 0;
    const CurrentMessage& m = m_current.back();
    return CallClassProc(m_hWnd, m.message, m.wParam, m.lParam);
}

BOOL CWnd::PreTranslateMessage(const MSG& msg)
{
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (auto it = m_commands.find({id, code}); it != m_commands.end()) {
        auto handler = it->second;  // the handler may replace the map entry
        handler();
        return TRUE;
    }
    for (const auto& [first, last, rangeCode, handler] : m_commandRanges) {
        if (id >= first && id <= last && code == rangeCode) {
            auto copy = handler;
            copy(id);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CWnd::reflectToChild(UINT message, WPARAM wParam, LPARAM lParam, HWND control, LRESULT* result)
{
    // Menus and accelerators send no control; a window does not reflect to itself.
    if (control == nullptr || control == m_hWnd || ::GetParent(control) != m_hWnd)
        return FALSE;
    CWnd* child = FromHandle(control);
    return child != nullptr && child->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr)
        return FALSE;
    if (auto it = m_notifies.find({static_cast<int>(header->idFrom), header->code}); it != m_notifies.end()) {
        auto handler = it->second;
        *result = handler(*header);
        return TRUE;
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_current.push_back({message, wParam, lParam});
    struct Pop {
        std::vector<CurrentMessage>& stack;
        ~Pop() { stack.pop_back(); }
    } pop{m_current};

    if (auto it = m_messages.find(message); it != m_messages.end()) {
        auto handler = it->second;
        return handler(wParam, lParam);
    }
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_DESTROY:
        OnDestroy();
        return Default();
    case WM_COMMAND: {
        LRESULT result = 0;
        if (reflectToChild(message, wParam, lParam, reinterpret_cast<HWND>(lParam), &result))
            return result;
        if (OnCommand(wParam, lParam))
            return 0;
        return Default();
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && reflectToChild(message, wParam, lParam, header->hwndFrom, &result))
            return result;
        if (OnNotify(wParam, lParam, &result))
            return result;
        return Default();
    }
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)),
               HIWORD(static_cast<std::uintptr_t>(lParam)));
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), point);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), point);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), point);
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<UINT>(wParam), point);
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<UINT>(wParam), point);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), point);
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)),
                           HIWORD(static_cast<std::uintptr_t>(lParam)));
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), point);
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), 1, 0);
        return 0;
    case WM_CHAR:
        OnChar(static_cast<UINT>(wParam), 1, 0);
        return 0;
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    default:
        return Default();
    }
}
