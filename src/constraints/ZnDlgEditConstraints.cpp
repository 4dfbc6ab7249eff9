// The constraint editor's frame and its launchers.
#include "constraints/ZnDlgEditConstraints.h"

#include "constraints/ConstraintLaunchers.h"
#include "core/TextTables.h"
#include "frame/Launcher.h"
#include "frame/ModelessDialogs.h"

BOOL ZnDlgEditConstraints::OnInitDialog()
{
    SetWindowText(dialString(869).str());
    return TRUE;
}

void ZnDlgEditConstraints::close(int result)
{
    if (m_modeless) {
        EndDlgEditConstraints();
        return;
    }
    EndDialog(result);
}

bool StartDlgEditConstraints(EditConstrData& data)
{
    return kxss::runLauncher("StartDlgEditConstraints", false, [&] {
        // One editor at a time: a second call neither opens another nor copies the new data in.
        if (kxss::constraintEditor() != nullptr)
            return true;
        auto editor = std::make_unique<ZnDlgEditConstraints>(adsw_acadMainWnd());
        editor->data() = data;
        editor->setModeless(true);
        if (!editor->Create(ZnDlgEditConstraints::kTemplateId, adsw_acadMainWnd())) {
            acutPrintf("*Error* StartDlgEditConstraints: dialog %d could not be opened.\n",
                       ZnDlgEditConstraints::kTemplateId);
            return false;
        }
        editor->ShowWindow(SW_SHOW);
        kxss::setConstraintEditor(editor.release());
        SetFocus(adsw_acadMainWnd());
        return true;
    });
}
