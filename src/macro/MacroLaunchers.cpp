// Exported launchers of the macro dialog.
#include "frame/Launcher.h"
#include "macro/MacroLaunchers.h"
#include "macro/ZnDlgMacro.h"

void StartDlgMacro(MacroData& data)
{
    kxss::runLauncher("StartDlgMacro", 0, [&] {
        ZnDlgMacro dialog(nullptr, -1);
        dialog.data() = data;
        kxss::runModal("StartDlgMacro", dialog);
        // The caller gets the dialog's data back however it was closed.
        data = dialog.data();
        return 0;
    });
}

bool StartDlgMacroModeless(bool keepFocus, MacroData& data, int& slot)
{
    slot = -1;
    return kxss::runLauncher("StartDlgMacroModeless", false, [&] {
        const int chosen = kxss::pickMacroDialogSlot();
        // The table owns the dialog from storeMacroDialog on; until then this pointer does.
        auto dialog = std::make_unique<ZnDlgMacro>(adsw_acadMainWnd(), chosen);
        dialog->data() = data;
        if (!dialog->Create(ZnDlgMacro::kTemplateId, adsw_acadMainWnd())) {
            acutPrintf("*Error* StartDlgMacroModeless: dialog %d could not be opened.\n", ZnDlgMacro::kTemplateId);
            return false;
        }
        dialog->ShowWindow(SW_SHOW);
        kxss::storeMacroDialog(chosen, dialog.release());
        if (!keepFocus)
            SetFocus(adsw_acadMainWnd());
        slot = chosen;
        return true;
    });
}
