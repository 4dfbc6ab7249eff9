// The macro dialog's frame: caption, data copy, and the close routine shared by modal and modeless use.
#include "macro/ZnDlgMacro.h"

#include "platform/host/CommandLine.h"

ZnDlgMacro::ZnDlgMacro(HWND parent, int modelessIndex) : KxHostDialog(kTemplateId, parent), m_modelessIndex(modelessIndex)
{
}

BOOL ZnDlgMacro::OnInitDialog()
{
    SetWindowText(m_data.title.str());
    return TRUE;
}

void ZnDlgMacro::close()
{
    m_data.setClosed(true);
    if (m_modelessIndex >= 0) {
        EndDlgMacroModeless(m_modelessIndex);
        return;
    }
    acedPostCommandPrompt();
    EndDialog(IDOK);
}
