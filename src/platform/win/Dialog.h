// Dialogs: made from templates in the current resources, run modal through the backend or shown
// modeless, with the dialog keys (Tab, Shift+Tab, Enter, Escape, arrows in radio groups).
#pragma once

#include "platform/win/CWnd.h"
#include "platform/win/KxWinExport.h"
#include "platform/win/Resources.h"

// Class name of dialog windows.
inline constexpr const char* kDialogClass = "#32770";

class KXWIN_API CDialog : public CWnd {
public:
    explicit CDialog(int templateId = 0, HWND parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally. Returns the value given to EndDialog (IDOK, IDCANCEL, ...), or -1
    // when the template is not in the current resources or the window could not be made.
    virtual INT_PTR DoModal();
    // Makes the dialog modeless from its template; false as DoModal's -1.
    bool Create(int templateId, HWND parent = nullptr);
    // Ends a modal dialog with result; a modeless dialog is hidden (the caller destroys it).
    void EndDialog(int result);

    int templateId() const { return m_templateId; }
    bool isModal() const { return m_modal; }
    bool modalEnded() const { return m_ended; }
    int modalResult() const { return m_result; }
    // Size of the template in pixels: the minimum track size of resizable dialogs.
    SIZE templateSize() const { return m_templateSize; }
    HWND parentWindow() const { return m_parent; }
    void setParentWindow(HWND parent) { m_parent = parent; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // TRUE puts the focus on the first tab stop; FALSE when the handler set the focus itself.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    bool createFromTemplate(HWND parent);

    int m_templateId = 0;
    HWND m_parent = nullptr;
    bool m_modal = false;
    bool m_ended = false;
    int m_result = 0;
    SIZE m_templateSize;
};

// Makes the window of a dialog template with its controls and sends WM_INITDIALOG. Returns null on
// failure (unknown control class). The object, when given, is attached before WM_INITDIALOG.
KXWIN_API HWND CreateDialogFromTemplate(const DialogTemplate& dialog, HWND parent, CWnd* object);

// Handles the dialog keys for the dialog that contains msg.hwnd. TRUE when the message was used.
KXWIN_API BOOL IsDialogMessage(HWND dialog, const MSG& msg);
// The next (or previous) visible, enabled WS_TABSTOP control in tab order, wrapping around;
// child dialogs marked WS_EX_CONTROLPARENT take part with their own controls.
KXWIN_API HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
KXWIN_API HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
// The id of the default push button (DM_GETDEFID), IDOK when none is marked.
KXWIN_API int GetDefaultButtonId(HWND dialog);
KXWIN_API BOOL EndDialog(HWND dialog, int result);
KXWIN_API BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);
KXWIN_API BOOL SetDlgItemInt(HWND dialog, int id, int value);
KXWIN_API int GetDlgItemInt(HWND dialog, int id, BOOL* ok);
KXWIN_API LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
