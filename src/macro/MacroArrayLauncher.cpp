// The exported launcher of the array dialog, under the launcher convention.
#include "macro/MacroArrayLauncher.h"

#include "frame/Launcher.h"
#include "macro/ZnDlgMacroArray.h"

#include <memory>

bool StartArrayDlg(DynArrayData& data, const AcArray<AcDbObjectId>& objectIds, const Kx_String& moduleName)
{
    return kxss::runLauncher("StartArrayDlg", false, [&] {
        auto dialog = std::make_unique<ZnDlgMacroArray>(data, objectIds, moduleName);
        if (kxss::runModal("StartArrayDlg", *dialog) != IDOK)
            return false;
        data = dialog->array();
        return true;
    });
}
