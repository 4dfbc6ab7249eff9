// ZnDlgMacro: the dialog in which a connection macro is edited, modal or modeless. It works on its
// own copy of the caller's MacroData; the close routine marks that copy closed.
#pragma once

#include "core/MacroData.h"
#include "frame/ModelessDialogs.h"
#include "platform/host/HostWindow.h"

class ZnDlgMacro : public KxHostDialog, public KxMacroDialogHandle {
public:
    static constexpr int kTemplateId = 8131;

    // modelessIndex is the slot in the table of open macro dialogs, -1 for a modal run.
    ZnDlgMacro(HWND parent, int modelessIndex);

    MacroData& data() { return m_data; }
    MacroData& macroData() override { return m_data; }
    CWnd& dialogWindow() override { return *this; }
    int modelessIndex() const { return m_modelessIndex; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override { close(); }
    void OnCancel() override { close(); }
    void OnClose() override { close(); }

private:
    // OK, Cancel, the close box and Escape all end here.
    void close();

    MacroData m_data;
    int m_modelessIndex;
};
