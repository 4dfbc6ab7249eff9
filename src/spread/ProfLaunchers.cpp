// The simple library editor's launcher, under the launcher convention.
#include "spread/ProfLaunchers.h"

#include "frame/Launcher.h"
#include "spread/ZnDlgEditLibSimple.h"

bool StartDlgEditLibSimple(const Kx_String& typeName, Kx_ProfValuesTable& table, int& selected)
{
    return kxss::runLauncher("StartDlgEditLibSimple", false, [&] {
        ZnDlgEditLibSimple dialog(typeName, table, selected);
        if (kxss::runModal("StartDlgEditLibSimple", dialog) != IDOK)
            return false;
        table = dialog.table();
        selected = dialog.selected();
        return true;
    });
}
