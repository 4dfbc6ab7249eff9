// The window tree and the message functions: creating and destroying windows, their attributes and
// geometry, sending and posting messages, the queue and its pump, focus, capture and timers.
// Every window is a node with a handle; a handle that was destroyed never comes back, so stale
// handles are recognised and calls on them do nothing (returning 0, false or null).
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"

#include <functional>
#include <string>
#include <vector>

class CWnd;

// Registers a window class: its procedure handles every message its windows get that no C++
// window object handles first. Re-registering a name replaces the procedure.
KXWIN_API void RegisterWindowClass(const std::string& className, WNDPROC proc);
KXWIN_API bool IsWindowClassRegistered(const std::string& className);

// Creates a window of a registered class. A child (WS_CHILD) needs a live parent; rect is in the
// parent's client pixels. Sends WM_CREATE; returns null for an unknown class, a dead parent or a
// WM_CREATE answered with -1.
KXWIN_API HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& text, DWORD style,
                              int x, int y, int width, int height, HWND parent, int id);
// Destroys the window and its children (children first get WM_DESTROY after their parent, as the
// framework does), releasing focus and capture they held and killing their timers.
KXWIN_API BOOL DestroyWindow(HWND hwnd);
KXWIN_API BOOL IsWindow(HWND hwnd);

KXWIN_API LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
KXWIN_API BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The procedure of the window's class, bypassing any C++ object: what CWnd::Default calls.
KXWIN_API LRESULT CallClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Default handling every class proc falls back to (texts, geometry, close, erase, ...).
KXWIN_API LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Takes the first queued message; false when the queue is empty.
KXWIN_API bool PeekMessage(MSG& msg);
// Runs the pre-translate chain of the C++ windows from msg.hwnd up to its top-level window, then
// the dialog keys of the innermost dialog, then dispatches. Returns true when something used it.
KXWIN_API bool ProcessInputMessage(const MSG& msg);
KXWIN_API LRESULT DispatchMessage(const MSG& msg);
// Dispatches queued messages until the queue is empty (messages posted meanwhile included).
// Returns the number dispatched; stops after `limit` to break a window that keeps posting itself.
KXWIN_API int PumpMessages(int limit = 100000);
KXWIN_API int QueuedMessageCount();

// Attributes.
KXWIN_API std::string GetClassName(HWND hwnd);
KXWIN_API int GetDlgCtrlID(HWND hwnd);
KXWIN_API std::string GetWindowText(HWND hwnd);
KXWIN_API int GetWindowTextLength(HWND hwnd);
KXWIN_API BOOL SetWindowText(HWND hwnd, const std::string& text);
KXWIN_API LONG GetWindowLong(HWND hwnd, int index);
KXWIN_API LONG SetWindowLong(HWND hwnd, int index, LONG value);
KXWIN_API std::intptr_t GetWindowUserData(HWND hwnd);
KXWIN_API void SetWindowUserData(HWND hwnd, std::intptr_t value);
KXWIN_API BOOL ShowWindow(HWND hwnd, int command);
// Visible means the window and all its ancestors have WS_VISIBLE.
KXWIN_API BOOL IsWindowVisible(HWND hwnd);
KXWIN_API BOOL EnableWindow(HWND hwnd, BOOL enable);
KXWIN_API BOOL IsWindowEnabled(HWND hwnd);
KXWIN_API HFONT GetWindowFont(HWND hwnd);

// Tree.
KXWIN_API HWND GetParent(HWND hwnd);
KXWIN_API HWND GetOwner(HWND hwnd);
KXWIN_API void SetOwner(HWND hwnd, HWND owner);
KXWIN_API HWND GetWindow(HWND hwnd, UINT relation);
KXWIN_API HWND GetDlgItem(HWND parent, int id);
KXWIN_API HWND GetTopLevelWindow(HWND hwnd);
KXWIN_API bool IsChild(HWND parent, HWND hwnd);
// Children in z-order, top first.
KXWIN_API std::vector<HWND> GetChildWindows(HWND parent);
// Top-level windows in creation order.
KXWIN_API std::vector<HWND> GetTopLevelWindows();
KXWIN_API HWND FindWindowByText(HWND parent, const std::string& className, const std::string& text);

// Geometry, in pixels. A window has no frame: its client area is its whole rectangle.
KXWIN_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint = TRUE);
KXWIN_API BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
// Rectangle in screen pixels.
KXWIN_API BOOL GetWindowRect(HWND hwnd, RECT& rect);
// (0, 0, width, height).
KXWIN_API BOOL GetClientRect(HWND hwnd, RECT& rect);
// Rectangle in the parent's client pixels (screen pixels for a top-level window).
KXWIN_API RECT GetWindowRectInParent(HWND hwnd);
KXWIN_API void ClientToScreen(HWND hwnd, POINT& point);
KXWIN_API void ScreenToClient(HWND hwnd, POINT& point);
// The deepest visible, enabled-or-not child of hwnd under a point in hwnd's client pixels.
KXWIN_API HWND ChildWindowFromPoint(HWND hwnd, POINT point);
// The window that gets the mouse at a point of hwnd's client area, as the desktop decides it: the
// deepest visible child under the point, where a disabled child hands the mouse to its parent and
// a window that is transparent to hits (a static without SS_NOTIFY, a group box) lets it through
// to the sibling beneath it or to its parent. hwnd itself when no child takes it; null for a dead
// hwnd. `local` (optional) gets the point in the target's client pixels.
KXWIN_API HWND MouseTargetFromPoint(HWND hwnd, POINT point, POINT* local = nullptr);
KXWIN_API BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
KXWIN_API BOOL UpdateWindow(HWND hwnd);
// The screen the layer lays windows out on (the headless screen is 1920 x 1080).
KXWIN_API RECT GetScreenRect();
KXWIN_API void SetScreenRect(const RECT& rect);

// Focus, activation and capture.
KXWIN_API HWND GetFocus();
// Sends WM_KILLFOCUS to the old and WM_SETFOCUS to the new window; a disabled window or a dead
// handle does not take the focus. Returns the previous focus.
KXWIN_API HWND SetFocus(HWND hwnd);
KXWIN_API HWND GetActiveWindow();
KXWIN_API HWND SetActiveWindow(HWND hwnd);
KXWIN_API HWND SetCapture(HWND hwnd);
KXWIN_API BOOL ReleaseCapture();
KXWIN_API HWND GetCapture();
// State of a key as seen by the message being handled: the high bit set while it is down.
KXWIN_API short GetKeyState(int virtualKey);
KXWIN_API short GetAsyncKeyState(int virtualKey);
KXWIN_API void SetKeyDown(int virtualKey, bool down);

// Timers. With a procedure the timer calls it; without, it posts WM_TIMER to the window. A timer
// with no window and id 0 gets a fresh id, returned. Timers run on the backend's clock.
KXWIN_API UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
KXWIN_API BOOL KillTimer(HWND hwnd, UINT_PTR id);
KXWIN_API int ActiveTimerCount();
// Milliseconds on the backend's clock.
KXWIN_API DWORD GetTickCount();
// Fires every timer due at the clock's current time, in due order; the backend calls this.
KXWIN_API int FireDueTimers();
// Clock time at which the next timer is due; false when no timer is set.
KXWIN_API bool NextTimerDue(DWORD& due);

// C++ window objects attached to handles (used by CWnd; one object per handle).
KXWIN_API void AttachWindowObject(HWND hwnd, CWnd* object);
KXWIN_API CWnd* GetWindowObject(HWND hwnd);

namespace kxwin {

// Observers see every change to the tree (the Qt backend mirrors windows through this).
enum class WindowChange {
    Created,
    Destroyed,
    Text,
    Style,
    Geometry,
    Visibility,
    Enabled,
    Focus,
    Font,
    ZOrder,
    Content,  // control-specific contents (items, selection, check state, picture)
    Invalidated,
};

class KXWIN_API WindowObserver {
public:
    virtual ~WindowObserver() = default;
    virtual void windowChanged(HWND hwnd, WindowChange change) = 0;
    // The mouse cursor was set (SetCursor); most observers need not care.
    virtual void cursorChanged(HCURSOR cursor) {}
};

KXWIN_API void addWindowObserver(WindowObserver* observer);
KXWIN_API void removeWindowObserver(WindowObserver* observer);
// Controls call this when their own contents change.
KXWIN_API void notifyWindowChanged(HWND hwnd, WindowChange change);

// Destroys every window and timer and empties the queue: a clean slate between tests.
KXWIN_API void resetWindowLayer();
KXWIN_API int liveWindowCount();

} // namespace kxwin
