// The constraint editor's launchers: modeless single instance and modal.
#include "constraints/ConstraintLaunchers.h"

#include "constraints/ZnDlgEditConstraints.h"
#include "frame/Launcher.h"
#include "frame/ModelessDialogs.h"
#include "platform/host/CommandLine.h"

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
        // The registry owns the editor from here on (EndDlgEditConstraints deletes it).
        kxss::setConstraintEditor(editor.release());
        SetFocus(adsw_acadMainWnd());
        return true;
    });
}

bool StartDlgEditConstrModal(EditConstrData& data)
{
    return kxss::runLauncher("StartDlgEditConstrModal", false, [&] {
        ZnDlgEditConstraints editor(adsw_acadMainWnd());
        editor.data() = data;
        return kxss::runModal("StartDlgEditConstrModal", editor) == IDOK;
    });
}
