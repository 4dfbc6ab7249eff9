// C++ window classes: CWnd with the message handlers dialogs override, a small message map for
// commands and notifications, and the pre-translate hook; CDialog with modal and modeless use.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/Window.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class KXWIN_API CWnd {
public:
    CWnd() = default;
    // Destroys the window if it is still alive (the object owns its window).
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The C++ object attached to a handle, or null: no temporary wrappers are made.
    static CWnd* FromHandle(HWND hwnd) { return GetWindowObject(hwnd); }

    // Creates a window of a registered class and attaches this object to it.
    bool Create(const std::string& className, const std::string& text, DWORD style, const RECT& rect, HWND parent,
                int id, DWORD exStyle = 0);
    // Routes the messages of an existing window through this object; false when the handle is dead
    // or already has an object.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(int id, HWND parent);
    HWND UnsubclassWindow();
    virtual BOOL DestroyWindow();

    // Convenience over the window functions.
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    std::string GetWindowText() const { return ::GetWindowText(m_hWnd); }
    void SetWindowText(const std::string& text) { ::SetWindowText(m_hWnd, text); }
    std::string GetDlgItemText(int id) const { return ::GetWindowText(GetDlgItem(id)); }
    void SetDlgItemText(int id, const std::string& text) { ::SetWindowText(GetDlgItem(id), text); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void MoveWindow(const RECT& r, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, r.left, r.top, r.width(), r.height(), repaint); }
    void GetClientRect(RECT& r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(RECT& r) const { ::GetWindowRect(m_hWnd, r); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE)); }
    void ModifyStyle(DWORD remove, DWORD add);
    LRESULT SendMessage(UINT message, WPARAM w = 0, LPARAM l = 0) { return ::SendMessage(m_hWnd, message, w, l); }
    BOOL PostMessage(UINT message, WPARAM w = 0, LPARAM l = 0) { return ::PostMessage(m_hWnd, message, w, l); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void SetFont(HFONT font) { SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }
    HFONT GetFont() const { return ::GetWindowFont(m_hWnd); }
    void CheckDlgButton(int id, int state) { ::SendMessage(GetDlgItem(id), BM_SETCHECK, static_cast<WPARAM>(state)); }
    int IsDlgButtonChecked(int id) const { return static_cast<int>(::SendMessage(GetDlgItem(id), BM_GETCHECK)); }

    // Message map: handlers for a command (control id and notification code) or a WM_NOTIFY code
    // from a control. Registered handlers run before OnCommand/OnNotify's defaults.
    void onCommand(int id, WORD code, std::function<void()> handler);
    void onCommandRange(int firstId, int lastId, WORD code, std::function<void(int id)> handler);
    void onNotify(int id, int code, std::function<LRESULT(NMHDR&)> handler);
    void onMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler);

    // Every message of the window comes here first.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Keyboard and mouse messages for this window or its children, before they are dispatched.
    // Return TRUE when the message was used and must not be dispatched.
    virtual BOOL PreTranslateMessage(const MSG& msg);

    // Called by the window layer when the window is gone; the object stays.
    void detachOnDestroy();

    // Deletes a heap object once no message handler of it is running any more: at once when none
    // is, else when the outermost one returns. For objects that are closed from their own handlers
    // (a modeless dialog whose OK button ends it). The window, if still alive, is destroyed first.
    void deleteWhenIdle();
    // The window layer brackets every message it hands this object; true from endDispatch means the
    // object must now be deleted.
    void beginDispatch() { ++m_dispatchDepth; }
    bool endDispatch() { return --m_dispatchDepth == 0 && m_deletePending; }

protected:
    // The class procedure's handling of the message being handled now.
    LRESULT Default();

    virtual int OnCreate() { return 0; }
    virtual void OnDestroy() {}
    // After the window is gone; objects that own themselves delete themselves here.
    virtual void PostNcDestroy() {}
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A control's own look at a WM_COMMAND or WM_NOTIFY it sent to its parent, before the parent
    // handles it: TRUE (with *result) ends it there; FALSE lets the parent handle it as usual.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) { return FALSE; }
    virtual void OnSize(UINT type, int cx, int cy) { Default(); }
    virtual void OnGetMinMaxInfo(MINMAXINFO* info) { Default(); }
    virtual void OnTimer(UINT_PTR id) { Default(); }
    virtual void OnPaint() { Default(); }
    virtual BOOL OnEraseBkgnd(HDC dc) { return static_cast<BOOL>(Default()); }
    virtual void OnLButtonDown(UINT flags, POINT point) { Default(); }
    virtual void OnLButtonUp(UINT flags, POINT point) { Default(); }
    virtual void OnLButtonDblClk(UINT flags, POINT point) { Default(); }
    virtual void OnRButtonDown(UINT flags, POINT point) { Default(); }
    virtual void OnRButtonUp(UINT flags, POINT point) { Default(); }
    virtual void OnMouseMove(UINT flags, POINT point) { Default(); }
    virtual BOOL OnSetCursor(HWND hwnd, UINT hitTest, UINT message) { return static_cast<BOOL>(Default()); }
    virtual void OnContextMenu(HWND hwnd, POINT point) { Default(); }
    virtual void OnSetFocus(HWND oldFocus) { Default(); }
    virtual void OnKillFocus(HWND newFocus) { Default(); }
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags) { Default(); }
    virtual void OnChar(UINT ch, UINT repeat, UINT flags) { Default(); }
    virtual void OnShowWindow(BOOL show, UINT status) { Default(); }
    virtual void OnClose() { Default(); }

private:
    // Offers a control's notification to the control's own object first (OnChildNotify).
    BOOL reflectToChild(UINT message, WPARAM wParam, LPARAM lParam, HWND control, LRESULT* result);

    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<CurrentMessage> m_current;
    int m_dispatchDepth = 0;
    bool m_deletePending = false;
    std::map<std::pair<int, WORD>, std::function<void()>> m_commands;
    std::vector<std::tuple<int, int, WORD, std::function<void(int)>>> m_commandRanges;
    std::map<std::pair<int, int>, std::function<LRESULT(NMHDR&)>> m_notifies;
    std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> m_messages;
};
