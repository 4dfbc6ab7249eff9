// The window tree, message dispatch, the queue, focus, capture, key state and timers.
// Single-threaded like the user-interface thread it stands in for.
#include "platform/win/Window.h"

#include "platform/win/CWnd.h"
#include "platform/win/Cursor.h"
#include "platform/win/Dialog.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/WindowInternal.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

namespace {

struct Node {
    HWND handle = nullptr;
    std::string className;
    WNDPROC classProc = nullptr;
    int id = 0;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect;  // in the parent's client pixels, screen pixels for a top-level window
    HFONT font = nullptr;
    HWND parent = nullptr;
    HWND owner = nullptr;
    std::vector<HWND> children;  // z-order, top first
    CWnd* object = nullptr;
    std::unique_ptr<kxwin::detail::ControlState> state;
    std::intptr_t userData = 0;
    bool destroying = false;
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    DWORD due = 0;
    std::uint64_t order = 0;  // keeps timers due at the same time in the order they were set
};

struct Layer {
    std::unordered_map<std::uintptr_t, std::unique_ptr<Node>> nodes;
    std::vector<HWND> topLevels;
    std::map<std::string, WNDPROC> classes;
    std::deque<MSG> queue;
    std::vector<Timer> timers;
    std::vector<kxwin::WindowObserver*> observers;
    std::uintptr_t nextHandle = 0x1000;
    UINT_PTR nextTimerId = 0x7000;
    std::uint64_t timerOrder = 0;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    bool keys[256] = {};
    RECT screen{0, 0, 1920, 1080};
};

Layer& layer()
{
    static Layer l;
    return l;
}

Node* find(HWND hwnd)
{
    if (hwnd == nullptr)
        return nullptr;
    auto& nodes = layer().nodes;
    auto it = nodes.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return it == nodes.end() ? nullptr : it->second.get();
}

void notify(HWND hwnd, kxwin::WindowChange change)
{
    // Observers may remove themselves while being told; iterate over a copy.
    const auto observers = layer().observers;
    for (auto* observer : observers)
        observer->windowChanged(hwnd, change);
}

// Far edge of a span that starts at `start`; sizes below zero count as zero and the sum saturates,
// so any coordinates a caller passes give a valid rectangle.
LONG farEdge(LONG start, int size)
{
    const long long edge = static_cast<long long>(start) + std::max(size, 0);
    return static_cast<LONG>(std::min<long long>(edge, INT32_MAX));
}

RECT spanRect(int x, int y, int width, int height)
{
    return RECT{x, y, farEdge(x, width), farEdge(y, height)};
}

POINT originOf(const Node* node)
{
    POINT p{node->rect.left, node->rect.top};
    for (Node* up = find(node->parent); up != nullptr; up = find(up->parent)) {
        p.x += up->rect.left;
        p.y += up->rect.top;
    }
    return p;
}

// The size a top-level window takes when asked for rect's: held between the smallest and largest
// track size the window answers to WM_GETMINMAXINFO, however it is sized, so a resizable dialog
// whose minimum is its template never gets smaller by a program's MoveWindow either. Windows that
// do not answer keep any size. False when the window went away while answering.
bool holdToTrackSize(HWND hwnd, RECT& rect)
{
    const Node* node = find(hwnd);
    if (node == nullptr)
        return false;
    if (node->parent != nullptr)
        return true;
    MINMAXINFO info{};
    info.ptMaxSize = POINT{layer().screen.width(), layer().screen.height()};
    info.ptMaxTrackSize = POINT{INT32_MAX, INT32_MAX};
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    if (find(hwnd) == nullptr)
        return false;
    // The minimum wins over a smaller maximum, so that the controls of the minimum layout fit.
    const auto hold = [](LONG size, LONG least, LONG most) { return std::max(std::min(size, most), least); };
    const LONG width = hold(rect.width(), info.ptMinTrackSize.x, info.ptMaxTrackSize.x);
    const LONG height = hold(rect.height(), info.ptMinTrackSize.y, info.ptMaxTrackSize.y);
    rect.right = farEdge(rect.left, static_cast<int>(width));
    rect.bottom = farEdge(rect.top, static_cast<int>(height));
    return true;
}

void resize(Node* node, RECT rect, bool sendSize)
{
    const bool sized = rect.width() != node->rect.width() || rect.height() != node->rect.height();
    const bool moved = rect.left != node->rect.left || rect.top != node->rect.top;
    if (!sized && !moved)
        return;
    node->rect = rect;
    notify(node->handle, kxwin::WindowChange::Geometry);
    if (moved)
        SendMessage(node->handle, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(rect.left), static_cast<WORD>(rect.top)));
    if (sized && sendSize)
        SendMessage(node->handle, WM_SIZE, SIZE_RESTORED,
                    MAKELPARAM(static_cast<WORD>(rect.width()), static_cast<WORD>(rect.height())));
}

void destroyTree(HWND hwnd)
{
    Node* node = find(hwnd);
    if (node == nullptr || node->destroying)
        return;
    node->destroying = true;
    Layer& l = layer();
    if (l.focus == hwnd || IsChild(hwnd, l.focus)) {
        // The focus leaves without a new owner, as when a focused window disappears.
        l.focus = nullptr;
    }
    if (l.capture == hwnd || IsChild(hwnd, l.capture))
        l.capture = nullptr;
    if (l.active == hwnd)
        l.active = nullptr;

    SendMessage(hwnd, WM_DESTROY);
    // Owned top-level windows go with their owner.
    std::vector<HWND> owned;
    for (const auto& [key, other] : l.nodes) {
        if (other->owner == hwnd && other->parent == nullptr)
            owned.push_back(other->handle);
    }
    for (HWND w : owned)
        destroyTree(w);
    node = find(hwnd);
    const auto children = node ? node->children : std::vector<HWND>{};
    for (HWND child : children)
        destroyTree(child);
    SendMessage(hwnd, WM_NCDESTROY);

    std::erase_if(l.timers, [&](const Timer& t) { return t.hwnd == hwnd; });
    std::erase_if(l.queue, [&](const MSG& m) { return m.hwnd == hwnd; });
    node = find(hwnd);
    if (node == nullptr)
        return;
    if (Node* parent = find(node->parent))
        std::erase(parent->children, hwnd);
    std::erase(l.topLevels, hwnd);
    if (node->object != nullptr)
        node->object->detachOnDestroy();
    notify(hwnd, kxwin::WindowChange::Destroyed);
    l.nodes.erase(reinterpret_cast<std::uintptr_t>(hwnd));
}

} // namespace

namespace kxwin::detail {

ControlState* controlState(HWND hwnd)
{
    Node* node = find(hwnd);
    return node ? node->state.get() : nullptr;
}

void setControlState(HWND hwnd, std::unique_ptr<ControlState> state)
{
    if (Node* node = find(hwnd))
        node->state = std::move(state);
}

void setTextDirect(HWND hwnd, const std::string& text)
{
    if (Node* node = find(hwnd); node && node->text != text) {
        node->text = text;
        notify(hwnd, WindowChange::Text);
    }
}

const std::string* textOf(HWND hwnd)
{
    Node* node = find(hwnd);
    return node ? &node->text : nullptr;
}

} // namespace kxwin::detail

void RegisterWindowClass(const std::string& className, WNDPROC proc)
{
    layer().classes[className] = proc;
}

bool IsWindowClassRegistered(const std::string& className)
{
    return layer().classes.count(className) != 0;
}

HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& text, DWORD style, int x, int y,
                    int width, int height, HWND parent, int id)
{
    Layer& l = layer();
    auto cls = l.classes.find(className);
    if (cls == l.classes.end())
        return nullptr;
    const bool child = (style & WS_CHILD) != 0;
    if (child && find(parent) == nullptr)
        return nullptr;
    if (parent != nullptr && find(parent) == nullptr)
        return nullptr;

    auto node = std::make_unique<Node>();
    HWND hwnd = reinterpret_cast<HWND>(l.nextHandle);
    l.nextHandle += 4;
    node->handle = hwnd;
    node->className = className;
    node->classProc = cls->second;
    node->id = id;
    node->text = text;
    node->style = style;
    node->exStyle = exStyle;
    node->rect = spanRect(x, y, width, height);
    if (child) {
        node->parent = parent;
        find(parent)->children.push_back(hwnd);  // new children go to the bottom of the z-order
        node->font = find(parent)->font;
    } else {
        node->owner = parent;
        l.topLevels.push_back(hwnd);
    }
    l.nodes.emplace(reinterpret_cast<std::uintptr_t>(hwnd), std::move(node));
    notify(hwnd, kxwin::WindowChange::Created);
    if (SendMessage(hwnd, WM_CREATE) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd)
{
    Node* node = find(hwnd);
    if (node == nullptr || node->destroying)
        return FALSE;
    destroyTree(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd)
{
    return find(hwnd) != nullptr;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return 0;
    if (CWnd* object = node->object) {
        // Closes the bracket on every way out, an exception from a handler included.
        struct Dispatch {
            CWnd* object;
            ~Dispatch()
            {
                if (object->endDispatch())
                    delete object;  // deleteWhenIdle asked for it while a handler ran
            }
        } dispatch{object};
        object->beginDispatch();
        return object->WindowProc(message, wParam, lParam);
    }
    return node->classProc(hwnd, message, wParam, lParam);
}

LRESULT CallClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Node* node = find(hwnd);
    return node ? node->classProc(hwnd, message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd != nullptr && find(hwnd) == nullptr)
        return FALSE;
    layer().queue.push_back(MSG{hwnd, message, wParam, lParam, GetTickCount(), {}});
    return TRUE;
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return 0;
    switch (message) {
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        kxwin::detail::setTextDirect(hwnd, text ? text : "");
        return TRUE;
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(node->text.size());
    case WM_GETTEXT: {
        // wParam is the buffer size including the terminating zero, as the framework defines it.
        char* buffer = reinterpret_cast<char*>(lParam);
        if (buffer == nullptr || wParam == 0)
            return 0;
        size_t n = std::min<size_t>(node->text.size(), wParam - 1);
        // Never cut a multi-byte character in two.
        while (n > 0 && n < node->text.size() && (static_cast<unsigned char>(node->text[n]) & 0xC0) == 0x80)
            --n;
        node->text.copy(buffer, n);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_SETFONT:
        node->font = reinterpret_cast<HFONT>(wParam);
        notify(hwnd, kxwin::WindowChange::Font);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(node->font);
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SETCURSOR:
        // Give the parent the first word, as the framework does; when nobody chose a cursor over
        // the client area, it is the arrow.
        if (node->parent != nullptr && SendMessage(node->parent, WM_SETCURSOR, wParam, lParam))
            return TRUE;
        if (node->parent == nullptr && LOWORD(static_cast<std::uintptr_t>(lParam)) == HTCLIENT)
            SetCursor(LoadCursor(nullptr, IDC_ARROW));
        return FALSE;
    case WM_CONTEXTMENU:
        if (node->parent != nullptr)
            return SendMessage(node->parent, WM_CONTEXTMENU, wParam, lParam);
        return 0;
    case WM_RBUTTONUP: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, p);
        SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                    MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
        return 0;
    }
    case WM_GETDLGCODE:
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessage(hwnd, WM_CLOSE);
        return 0;
    default:
        return 0;
    }
}

bool PeekMessage(MSG& msg)
{
    auto& queue = layer().queue;
    if (queue.empty())
        return false;
    msg = queue.front();
    queue.pop_front();
    return true;
}

LRESULT DispatchMessage(const MSG& msg)
{
    if (msg.message == WM_TIMER && msg.lParam != 0 && msg.hwnd == nullptr) {
        auto proc = reinterpret_cast<TIMERPROC>(msg.lParam);
        proc(nullptr, WM_TIMER, msg.wParam, msg.time);
        return 0;
    }
    return SendMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

bool ProcessInputMessage(const MSG& msg)
{
    // The pre-translate chain runs from the target up to its top-level window.
    // Parents only: a top-level window's owner (the frame behind a modal dialog) is not asked.
    std::vector<HWND> chain;
    for (Node* n = find(msg.hwnd); n != nullptr; n = find(n->parent))
        chain.push_back(n->handle);
    for (HWND w : chain) {
        if (CWnd* object = GetWindowObject(w); object && object->PreTranslateMessage(msg))
            return true;
        if (!IsWindow(msg.hwnd))
            return true;
    }
    if (IsDialogMessage(GetTopLevelWindow(msg.hwnd), msg))
        return true;
    DispatchMessage(msg);
    return true;
}

int PumpMessages(int limit)
{
    int count = 0;
    MSG msg;
    while (count < limit && PeekMessage(msg)) {
        const bool input = (msg.message >= WM_KEYDOWN && msg.message <= WM_SYSKEYDOWN + 4) ||
                           (msg.message >= WM_MOUSEMOVE && msg.message <= WM_MOUSEWHEEL);
        if (input)
            ProcessInputMessage(msg);
        else
            DispatchMessage(msg);
        ++count;
    }
    return count;
}

int QueuedMessageCount()
{
    return static_cast<int>(layer().queue.size());
}

std::string GetClassName(HWND hwnd)
{
    Node* node = find(hwnd);
    return node ? node->className : std::string();
}

int GetDlgCtrlID(HWND hwnd)
{
    Node* node = find(hwnd);
    return node ? node->id : 0;
}

std::string GetWindowText(HWND hwnd)
{
    if (find(hwnd) == nullptr)
        return {};
    const auto length = SendMessage(hwnd, WM_GETTEXTLENGTH);
    std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
    const auto copied = SendMessage(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
    return text;
}

int GetWindowTextLength(HWND hwnd)
{
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH));
}

BOOL SetWindowText(HWND hwnd, const std::string& text)
{
    if (find(hwnd) == nullptr)
        return FALSE;
    return static_cast<BOOL>(SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

LONG GetWindowLong(HWND hwnd, int index)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return 0;
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG>(node->style);
    case GWL_EXSTYLE:
        return static_cast<LONG>(node->exStyle);
    case GWL_ID:
        return node->id;
    default:
        return 0;
    }
}

LONG SetWindowLong(HWND hwnd, int index, LONG value)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return 0;
    LONG old = 0;
    switch (index) {
    case GWL_STYLE:
        old = static_cast<LONG>(node->style);
        node->style = static_cast<DWORD>(value);
        notify(hwnd, kxwin::WindowChange::Style);
        break;
    case GWL_EXSTYLE:
        old = static_cast<LONG>(node->exStyle);
        node->exStyle = static_cast<DWORD>(value);
        notify(hwnd, kxwin::WindowChange::Style);
        break;
    case GWL_ID:
        old = node->id;
        node->id = value;
        break;
    default:
        break;
    }
    return old;
}

std::intptr_t GetWindowUserData(HWND hwnd)
{
    Node* node = find(hwnd);
    return node ? node->userData : 0;
}

void SetWindowUserData(HWND hwnd, std::intptr_t value)
{
    if (Node* node = find(hwnd))
        node->userData = value;
}

BOOL ShowWindow(HWND hwnd, int command)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return FALSE;
    const BOOL wasVisible = (node->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (show == static_cast<bool>(wasVisible))
        return wasVisible;
    if (show)
        node->style |= WS_VISIBLE;
    else
        node->style &= ~WS_VISIBLE;
    SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!show && (GetFocus() == hwnd || IsChild(hwnd, GetFocus())))
        SetFocus(nullptr);  // the control that had the focus hears that it lost it
    notify(hwnd, kxwin::WindowChange::Visibility);
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return FALSE;
    for (; node != nullptr; node = find(node->parent)) {
        if ((node->style & WS_VISIBLE) == 0)
            return FALSE;
    }
    return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return FALSE;
    const BOOL wasDisabled = (node->style & WS_DISABLED) != 0;
    if (static_cast<bool>(enable) == !wasDisabled)
        return wasDisabled;
    if (enable)
        node->style &= ~WS_DISABLED;
    else
        node->style |= WS_DISABLED;
    if (!enable && (GetFocus() == hwnd || IsChild(hwnd, GetFocus())))
        SetFocus(nullptr);
    SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    notify(hwnd, kxwin::WindowChange::Enabled);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    Node* node = find(hwnd);
    return node != nullptr && (node->style & WS_DISABLED) == 0;
}

HFONT GetWindowFont(HWND hwnd)
{
    return reinterpret_cast<HFONT>(SendMessage(hwnd, WM_GETFONT));
}

HWND GetParent(HWND hwnd)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return nullptr;
    return node->parent ? node->parent : node->owner;
}

HWND GetOwner(HWND hwnd)
{
    Node* node = find(hwnd);
    return node ? node->owner : nullptr;
}

void SetOwner(HWND hwnd, HWND owner)
{
    if (Node* node = find(hwnd); node && node->parent == nullptr)
        node->owner = find(owner) ? owner : nullptr;
}

HWND GetWindow(HWND hwnd, UINT relation)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return nullptr;
    if (relation == GW_CHILD)
        return node->children.empty() ? nullptr : node->children.front();
    if (relation == GW_OWNER)
        return node->owner;
    const std::vector<HWND>* siblings = &layer().topLevels;
    if (Node* parent = find(node->parent))
        siblings = &parent->children;
    auto it = std::find(siblings->begin(), siblings->end(), hwnd);
    if (it == siblings->end())
        return nullptr;
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings->front();
    case GW_HWNDLAST:
        return siblings->back();
    case GW_HWNDNEXT:
        return (it + 1 == siblings->end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV:
        return it == siblings->begin() ? nullptr : *(it - 1);
    default:
        return nullptr;
    }
}

HWND GetDlgItem(HWND parent, int id)
{
    Node* node = find(parent);
    if (node == nullptr)
        return nullptr;
    for (HWND child : node->children) {
        if (find(child)->id == id)
            return child;
    }
    return nullptr;
}

HWND GetTopLevelWindow(HWND hwnd)
{
    Node* node = find(hwnd);
    while (node != nullptr && node->parent != nullptr)
        node = find(node->parent);
    return node ? node->handle : nullptr;
}

bool IsChild(HWND parent, HWND hwnd)
{
    if (parent == nullptr)
        return false;
    for (Node* node = find(hwnd); node != nullptr; node = find(node->parent)) {
        if (node->parent == parent)
            return true;
    }
    return false;
}

std::vector<HWND> GetChildWindows(HWND parent)
{
    Node* node = find(parent);
    return node ? node->children : std::vector<HWND>{};
}

std::vector<HWND> GetTopLevelWindows()
{
    return layer().topLevels;
}

HWND FindWindowByText(HWND parent, const std::string& className, const std::string& text)
{
    const std::vector<HWND> candidates = parent ? GetChildWindows(parent) : GetTopLevelWindows();
    for (HWND w : candidates) {
        Node* node = find(w);
        if ((className.empty() || node->className == className) && node->text == text)
            return w;
    }
    return nullptr;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    RECT r = spanRect(x, y, width, height);
    if (!holdToTrackSize(hwnd, r))
        return FALSE;
    resize(find(hwnd), r, true);
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return FALSE;
    RECT r = node->rect;
    if ((flags & SWP_NOMOVE) == 0) {
        r = spanRect(x, y, r.width(), r.height());
    }
    if ((flags & SWP_NOSIZE) == 0) {
        r.right = farEdge(r.left, width);
        r.bottom = farEdge(r.top, height);
        if (!holdToTrackSize(hwnd, r))
            return FALSE;
        node = find(hwnd);
    }
    if ((flags & SWP_NOZORDER) == 0 && (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)) {
        const bool topmost = insertAfter == HWND_TOPMOST;
        if (node->parent == nullptr && ((node->exStyle & WS_EX_TOPMOST) != 0) != topmost) {
            node->exStyle = topmost ? (node->exStyle | WS_EX_TOPMOST) : (node->exStyle & ~WS_EX_TOPMOST);
            notify(hwnd, kxwin::WindowChange::Style);
        }
        insertAfter = HWND_TOP;
    }
    if ((flags & SWP_NOZORDER) == 0 && find(node->parent) != nullptr) {
        auto& siblings = find(node->parent)->children;
        std::erase(siblings, hwnd);
        auto pos = siblings.begin();
        if (insertAfter != nullptr) {
            auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
            pos = after == siblings.end() ? siblings.end() : after + 1;
        }
        siblings.insert(pos, hwnd);
        notify(hwnd, kxwin::WindowChange::ZOrder);
    }
    resize(node, r, true);
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(hwnd, SW_SHOW);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT& rect)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return FALSE;
    const POINT o = originOf(node);
    rect = RECT{o.x, o.y, o.x + node->rect.width(), o.y + node->rect.height()};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT& rect)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return FALSE;
    rect = RECT{0, 0, node->rect.width(), node->rect.height()};
    return TRUE;
}

RECT GetWindowRectInParent(HWND hwnd)
{
    Node* node = find(hwnd);
    return node ? node->rect : RECT{};
}

void ClientToScreen(HWND hwnd, POINT& point)
{
    if (Node* node = find(hwnd)) {
        const POINT o = originOf(node);
        point.x += o.x;
        point.y += o.y;
    }
}

void ScreenToClient(HWND hwnd, POINT& point)
{
    if (Node* node = find(hwnd)) {
        const POINT o = originOf(node);
        point.x -= o.x;
        point.y -= o.y;
    }
}

HWND ChildWindowFromPoint(HWND hwnd, POINT point)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return nullptr;
    for (HWND child : node->children) {
        Node* c = find(child);
        if ((c->style & WS_VISIBLE) && c->rect.contains(point)) {
            POINT inner{point.x - c->rect.left, point.y - c->rect.top};
            HWND deeper = ChildWindowFromPoint(child, inner);
            return deeper ? deeper : child;
        }
    }
    return nullptr;
}

namespace {

// A window that answers HTTRANSPARENT to the hit test: the mouse goes to what lies beneath.
bool isTransparentToHits(const Node& n)
{
    if (n.className == "Static")
        return (n.style & SS_NOTIFY) == 0;
    if (n.className == "Button")
        return (n.style & 0xF) == BS_GROUPBOX;
    return false;
}

// The window under `point` (in `node`'s client pixels) among node's children and their children;
// null when only node itself is there.
HWND mouseTargetAmongChildren(Node* node, POINT point, POINT& local)
{
    for (HWND child : node->children) {
        Node* c = find(child);
        if (c == nullptr || !(c->style & WS_VISIBLE) || !c->rect.contains(point) || isTransparentToHits(*c))
            continue;
        // A disabled window takes no mouse input: its parent gets it, at the parent's point.
        if (c->style & WS_DISABLED)
            return nullptr;
        const POINT inner{point.x - c->rect.left, point.y - c->rect.top};
        POINT deeperLocal = inner;
        if (HWND deeper = mouseTargetAmongChildren(c, inner, deeperLocal)) {
            local = deeperLocal;
            return deeper;
        }
        local = inner;
        return child;
    }
    return nullptr;
}

} // namespace

HWND MouseTargetFromPoint(HWND hwnd, POINT point, POINT* local)
{
    Node* node = find(hwnd);
    if (node == nullptr)
        return nullptr;
    POINT at = point;
    HWND target = mouseTargetAmongChildren(node, point, at);
    if (target == nullptr) {
        target = hwnd;
        at = point;
    }
    if (local != nullptr)
        *local = at;
    return target;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    if (find(hwnd) == nullptr)
        return FALSE;
    notify(hwnd, kxwin::WindowChange::Invalidated);
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd)
{
    // Painting is synchronous here: erase, then paint, recorded for tests and mirroring backends.
    return kxwin::paintWindow(hwnd);
}

RECT GetScreenRect()
{
    return layer().screen;
}

void SetScreenRect(const RECT& rect)
{
    layer().screen = rect;
}

HWND GetFocus()
{
    return layer().focus;
}

HWND SetFocus(HWND hwnd)
{
    Layer& l = layer();
    const HWND previous = l.focus;
    if (hwnd == previous)
        return previous;
    // Hidden windows may take the focus (a dialog sets it before it is shown); disabled ones not.
    if (hwnd != nullptr && (!IsWindow(hwnd) || !IsWindowEnabled(hwnd)))
        return previous;
    l.focus = hwnd;
    if (previous != nullptr && IsWindow(previous)) {
        SendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd));
        notify(previous, kxwin::WindowChange::Focus);
    }
    // A kill-focus handler may have moved the focus elsewhere already.
    if (l.focus == hwnd && hwnd != nullptr && IsWindow(hwnd)) {
        l.active = GetTopLevelWindow(hwnd);
        SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous));
        notify(hwnd, kxwin::WindowChange::Focus);
    }
    return previous;
}

HWND GetActiveWindow()
{
    return layer().active;
}

HWND SetActiveWindow(HWND hwnd)
{
    const HWND previous = layer().active;
    if (IsWindow(hwnd))
        layer().active = GetTopLevelWindow(hwnd);
    return previous;
}

HWND SetCapture(HWND hwnd)
{
    const HWND previous = layer().capture;
    layer().capture = IsWindow(hwnd) ? hwnd : nullptr;
    if (previous != nullptr && previous != hwnd)
        SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

BOOL ReleaseCapture()
{
    const HWND previous = layer().capture;
    layer().capture = nullptr;
    if (previous != nullptr)
        SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    return layer().capture;
}

short GetKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    return layer().keys[virtualKey] ? static_cast<short>(0x8000) : 0;
}

short GetAsyncKeyState(int virtualKey)
{
    return GetKeyState(virtualKey);
}

void SetKeyDown(int virtualKey, bool down)
{
    if (virtualKey >= 0 && virtualKey <= 255)
        layer().keys[virtualKey] = down;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
    Layer& l = layer();
    if (hwnd != nullptr && !IsWindow(hwnd))
        return 0;
    if (id == 0)
        id = l.nextTimerId++;
    const DWORD elapse = std::max<UINT>(elapseMs, 1);
    for (Timer& t : l.timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t = Timer{hwnd, id, elapse, proc, GetTickCount() + elapse, ++l.timerOrder};
            return id;
        }
    }
    l.timers.push_back(Timer{hwnd, id, elapse, proc, GetTickCount() + elapse, ++l.timerOrder});
    return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    const auto before = layer().timers.size();
    std::erase_if(layer().timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    return before != layer().timers.size();
}

int ActiveTimerCount()
{
    return static_cast<int>(layer().timers.size());
}

int FireDueTimers()
{
    Layer& l = layer();
    const DWORD now = GetTickCount();
    std::vector<Timer> due;
    for (const Timer& t : l.timers) {
        if (static_cast<std::int32_t>(now - t.due) >= 0)
            due.push_back(t);
    }
    std::sort(due.begin(), due.end(), [](const Timer& a, const Timer& b) {
        return a.due != b.due ? static_cast<std::int32_t>(a.due - b.due) < 0 : a.order < b.order;
    });
    int fired = 0;
    for (const Timer& t : due) {
        // An earlier handler may have killed or re-set this timer.
        auto it = std::find_if(l.timers.begin(), l.timers.end(),
                               [&](const Timer& x) { return x.hwnd == t.hwnd && x.id == t.id; });
        if (it == l.timers.end() || it->order != t.order)
            continue;
        it->due = now + it->elapse;
        ++fired;
        if (t.proc != nullptr)
            t.proc(t.hwnd, WM_TIMER, t.id, now);
        else
            SendMessage(t.hwnd, WM_TIMER, t.id, 0);
    }
    return fired;
}

bool NextTimerDue(DWORD& due)
{
    const Layer& l = layer();
    if (l.timers.empty())
        return false;
    const DWORD now = GetTickCount();
    std::int32_t best = INT32_MAX;
    for (const Timer& t : l.timers)
        best = std::min(best, static_cast<std::int32_t>(t.due - now));
    due = now + static_cast<DWORD>(std::max(best, 0));
    return true;
}

void AttachWindowObject(HWND hwnd, CWnd* object)
{
    if (Node* node = find(hwnd))
        node->object = object;
}

CWnd* GetWindowObject(HWND hwnd)
{
    Node* node = find(hwnd);
    return node ? node->object : nullptr;
}

namespace kxwin {

void addWindowObserver(WindowObserver* observer)
{
    if (observer != nullptr)
        layer().observers.push_back(observer);
}

void removeWindowObserver(WindowObserver* observer)
{
    std::erase(layer().observers, observer);
}

void notifyWindowChanged(HWND hwnd, WindowChange change)
{
    notify(hwnd, change);
}

namespace detail {

void notifyCursorChanged(HCURSOR cursor)
{
    const auto observers = layer().observers;
    for (auto* observer : observers)
        observer->cursorChanged(cursor);
}

} // namespace detail

void resetWindowLayer()
{
    Layer& l = layer();
    const auto tops = l.topLevels;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        DestroyWindow(*it);
    l.queue.clear();
    l.timers.clear();
    l.focus = l.active = l.capture = nullptr;
    std::fill(std::begin(l.keys), std::end(l.keys), false);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    SetCursorPos(0, 0);
}

int liveWindowCount()
{
    return static_cast<int>(layer().nodes.size());
}

} // namespace kxwin
