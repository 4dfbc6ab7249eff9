// The host's main window and the editor-command hand-off.
#include "platform/host/HostWindow.h"

#include "platform/host/SimulatedDrawing.h"

namespace {

constexpr const char* kMainWindowClass = "KxHostMainWindow";

LRESULT mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Closing the host's window is not the module's business.
    if (message == WM_CLOSE)
        return 0;
    return DefWindowProc(hwnd, message, wParam, lParam);
}

} // namespace

HWND adsw_acadMainWnd()
{
    static HWND main = nullptr;
    if (!IsWindow(main)) {
        if (!IsWindowClassRegistered(kMainWindowClass))
            RegisterWindowClass(kMainWindowClass, mainWindowProc);
        const RECT screen = GetScreenRect();
        main = CreateWindowEx(0, kMainWindowClass, "Drawing1", WS_OVERLAPPEDWINDOW | WS_VISIBLE, screen.left,
                              screen.top, screen.width(), screen.height(), nullptr, 0);
    }
    return main;
}

void KxHostDialog::BeginEditorCommand()
{
    if (m_inEditorCommand || m_hWnd == nullptr)
        return;
    m_inEditorCommand = true;
    ++m_editorCommands;
    m_focusBefore = GetFocus();
    kxhost::activeDrawing().logRequest("hand the drawing to the user", {}, "\"" + ::GetWindowText(m_hWnd) + "\" hidden");
    ShowWindow(SW_HIDE);
    HWND main = adsw_acadMainWnd();
    m_ownerWasDisabled = !::IsWindowEnabled(main);
    ::EnableWindow(main, TRUE);
    ::SetFocus(main);
}

void KxHostDialog::CompleteEditorCommand(bool restoreFocus)
{
    if (!m_inEditorCommand || m_hWnd == nullptr)
        return;
    m_inEditorCommand = false;
    HWND main = adsw_acadMainWnd();
    if (m_ownerWasDisabled && isModal())
        ::EnableWindow(main, FALSE);
    ShowWindow(SW_SHOW);
    kxhost::activeDrawing().logRequest("back to the dialog", {}, "\"" + ::GetWindowText(m_hWnd) + "\" shown");
    if (restoreFocus) {
        if (IsWindow(m_focusBefore) && IsChild(m_hWnd, m_focusBefore))
            ::SetFocus(m_focusBefore);
        else
            ::SetFocus(m_hWnd);
    }
}
