// The host's main window and the dialog base the host offers its modules: a dialog that can hand
// control to the drawing while the user picks there (BeginEditorCommand), and take it back
// (CompleteEditorCommand).
#pragma once

#include "platform/host/KxHostExport.h"
#include "platform/win/Dialog.h"

// The host's main window: the parent of modeless dialogs, and where the focus goes back to.
// Made on first use; it lives until kxwin::resetWindowLayer or the end of the process.
KXHOST_API HWND adsw_acadMainWnd();

class KXHOST_API KxHostDialog : public CDialog {
public:
    explicit KxHostDialog(int templateId = 0, HWND parent = nullptr) : CDialog(templateId, parent) {}

    // Hides the dialog and gives the host's main window back its input, so that the code that
    // follows can let the user pick in the drawing. A modal dialog stays modal: its DoModal does not
    // return. Calling it twice does nothing the second time.
    void BeginEditorCommand();
    // Shows the dialog again and takes the input back after a pick.
    void CompleteEditorCommand(bool restoreFocus = true);
    // Like CompleteEditorCommand when the pick was cancelled.
    void CancelEditorCommand() { CompleteEditorCommand(true); }
    bool inEditorCommand() const { return m_inEditorCommand; }
    // How many hand-overs this dialog made (tests check that a pick went through the drawing).
    int editorCommandCount() const { return m_editorCommands; }

private:
    bool m_inEditorCommand = false;
    int m_editorCommands = 0;
    HWND m_focusBefore = nullptr;
    bool m_ownerWasDisabled = false;
};
