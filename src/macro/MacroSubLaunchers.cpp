// The exported launchers of the macro cuts and select-macro dialogs, under the launcher convention.
#include "macro/MacroSubLaunchers.h"

#include "core/Kx_Array.h"
#include "frame/Launcher.h"
#include "macro/ZnDlgMacroCuts.h"
#include "macro/ZnDlgSelectMacro.h"

#include <memory>

bool StartDlgMacroCuts(DlgMacroCutsData& data, bool& escaped)
{
    escaped = false;
    return kxss::runLauncher("StartDlgMacroCuts", false, [&] {
        auto dialog = std::make_unique<ZnDlgMacroCuts>();
        dialog->data() = data;
        const INT_PTR result = kxss::runModal("StartDlgMacroCuts", *dialog);
        escaped = dialog->escaped();
        if (result != IDOK)
            return false;
        data = dialog->data();
        return true;
    });
}

bool StartDlgSelectMacro(const Kx_String& title, const Kx_StringArray& macros, const AcArray<bool>& enabled,
                         const int& width, const int& height, Kx_String& chosen, bool& flag, bool extraText)
{
    return kxss::runLauncher("StartDlgSelectMacro", false, [&] {
        Kx_Array<bool> on;
        for (bool e : enabled)
            on.append(e);
        auto dialog = std::make_unique<ZnDlgSelectMacro>(title, flag, extraText);
        dialog->filter().initialize(macros, on, width, height);
        if (kxss::runModal("StartDlgSelectMacro", *dialog) != IDOK)
            return false;
        chosen = dialog->chosen();
        flag = dialog->outFlag();
        return true;
    });
}

bool StartDlgSelectMacro(const Kx_String& title, const Kx_StringArray& macros, const int& width, const int& height,
                         Kx_String& chosen, bool& flag, bool extraText)
{
    AcArray<bool> enabled;
    fillArr(enabled, macros.length(), true);
    return StartDlgSelectMacro(title, macros, enabled, width, height, chosen, flag, extraText);
}
