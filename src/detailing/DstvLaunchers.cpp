// The DSTV point groups' launcher, under the launcher convention.
#include "detailing/DstvLaunchers.h"

#include "detailing/ZnDlgDstvPoints.h"
#include "core/FileNameCheck.h"
#include "frame/Launcher.h"

void StartDSTVPointsDlg()
{
    kxss::runLauncher("StartDSTVPointsDlg", false, [] {
        ZnDlgDstvGroups dialog;
        kxss::runModal("StartDSTVPointsDlg", dialog);
        return true;
    });
}

bool kxss::editDstvPointGroup(const Kx_String& name)
{
    return runLauncher("editDstvPointGroup", false, [&] {
        if (kx::invalidFileNameReason(name))
            return false;
        Kx_String folder;
        DlgDstvPoints::getDstvPointsFolder(folder);
        return ZnDlgDstvGroups::editGroupFile(folder + name + ".dat", nullptr);
    });
}
