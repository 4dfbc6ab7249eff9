// The section library editor's launcher, under the launcher convention.
#include "spread/SectionLibLaunchers.h"

#include "frame/Launcher.h"
#include "spread/ZnDlgEditLibSections.h"

bool StartDlgEditLibSections(DlgEditLibData& data, const Kx_String& profileName)
{
    return kxss::runLauncher("StartDlgEditLibSections", false, [&] {
        ZnDlgEditLibSections dialog(data, profileName);
        if (kxss::runModal("StartDlgEditLibSections", dialog) != IDOK)
            return false;
        data = dialog.data();
        return true;
    });
}
