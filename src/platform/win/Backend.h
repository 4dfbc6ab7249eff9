// The one interface through which the window layer reaches a person: modal loops, message boxes,
// pop-up menus, file dialogs, the clipboard and the clock. The headless backend is built in and
// answers through a scripted user agent; other backends (Qt) implement the same interface.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/WinTypes.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDialog;

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT type = 0;  // MB_ flags
};

struct FileDialogRequest {
    bool open = true;                // false: save
    std::string title;
    std::string filter;              // "Layouts (*.txt)|*.txt|All files (*.*)|*.*||"
    std::string defaultExtension;    // without the dot
    std::string folder;              // start folder
    std::string fileName;            // proposed name
    bool mustExist = true;           // open: the chosen file must exist
    bool promptOverwrite = true;     // save: ask before replacing a file
    HWND owner = nullptr;
};

struct PopupMenuRequest {
    HMENU menu = nullptr;
    UINT flags = 0;
    POINT at;
    HWND owner = nullptr;
};

class KXWIN_API KxBackend {
public:
    virtual ~KxBackend() = default;
    // Runs until the dialog has ended (CDialog::EndDialog) or was destroyed.
    virtual void runModalLoop(CDialog& dialog) = 0;
    // Returns the button pressed: IDOK, IDCANCEL, IDYES, IDNO, ...
    virtual int messageBox(const MessageBoxRequest& request) = 0;
    // Returns the chosen command id, 0 when the menu was dismissed.
    virtual UINT trackPopupMenu(const PopupMenuRequest& request) = 0;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<std::string> fileDialog(const FileDialogRequest& request) = 0;
    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    // Milliseconds since the backend started.
    virtual DWORD now() = 0;
};

namespace kxwin {

// The active backend; the headless one unless another was installed.
KXWIN_API KxBackend& backend();
// Installs a backend (null restores the headless one). The layer keeps it until replaced.
KXWIN_API void setBackend(std::unique_ptr<KxBackend> backend);

} // namespace kxwin

// The framework's calls that go through the backend.
KXWIN_API int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);
KXWIN_API int AfxMessageBox(const std::string& text, UINT type = 0);
