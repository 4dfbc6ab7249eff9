// The exported launchers of the profile advanced dialog, under the launcher convention.
#include "macro/MacroProfLaunchers.h"

#include "frame/Launcher.h"
#include "macro/MacroProfSupport.h"
#include "macro/ZnDlgMacroProfAdv.h"

void StartDlgMacroProfAdv(MacroData& macro, const Kx_String& module, const Kx_String& group, bool openMode)
{
    kxss::runLauncher("StartDlgMacroProfAdv", 0, [&] {
        ZnMACallBackData data;
        data.moduleName = module;
        data.groupName = group;
        data.initDataClass(macro);
        {
            ZnDlgMacroProfAdv dialog(data, kxss::macroDataProfileCallback, openMode);
            kxss::runModal("StartDlgMacroProfAdv", dialog);
        }
        // What was applied is in the drawing: the caller's data says so too, its own flags kept.
        const bool temporary = macro.temporary;
        macro = *data.macroData();
        macro.temporary = temporary;
        if (macro.temporary && macro.kind == 1 && !macro.objectIds.isEmpty()) {
            // The temporary object goes once: afterwards the data no longer calls it temporary, so a
            // later run does not erase the same id again.
            kxss::eraseTemporaryObject(macro.objectIds[0]);
            macro.temporary = false;
        }
        return 0;
    });
}

void StartDlgMacroProfAdv(AcArray<AcDbObjectId>* ids, bool& option, ZnMACallBack callback)
{
    if (ids == nullptr || ids->isEmpty() || callback == nullptr)
        return;
    const AcArray<AcDbObjectId> copy = *ids;
    kxss::runLauncher("StartDlgMacroProfAdv", 0, [&] {
        // The caller's callback knows its profiles; the data tells it how many the dialog was opened on.
        ZnMACallBackData data;
        data.value1 = copy.length();
        ZnDlgMacroProfAdv dialog(data, callback, /*optionMode=*/true, option);
        if (kxss::runModal("StartDlgMacroProfAdv", dialog) == IDOK)
            option = dialog.option();
        return 0;
    });
}
