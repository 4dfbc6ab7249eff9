// The dialog designer's launcher.
#include "designer/DesignerLaunchers.h"

#include "designer/ZnDlgDesigner.h"
#include "frame/Launcher.h"

bool StartDlgDesigner(const Kx_String& path)
{
    return kxss::runLauncher("StartDlgDesigner", false, [&] {
        ZnDlgDesigner dialog(path);
        return kxss::runModal("StartDlgDesigner", dialog) == IDOK;
    });
}
