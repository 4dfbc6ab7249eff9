// The exported launchers of the detailing dialogs, under the launcher convention.
#include "detailing/DetailingLaunchers.h"

#include "detailing/ZnDlgCladding.h"
#include "detailing/ZnDlgLevels.h"
#include "detailing/ZnDlgProfCuts.h"
#include "detailing/ZnDlgProfFeatures.h"
#include "detailing/ZnDlgSelectImage.h"
#include "frame/Launcher.h"

#include <memory>

namespace {

// On while the module is loaded until a run of the cuts dialog ends with it off.
bool g_previewSwitch = true;

} // namespace

namespace kxss {

bool profCutsPreviewSwitch()
{
    return g_previewSwitch;
}

void setProfCutsPreviewSwitch(bool on)
{
    g_previewSwitch = on;
}

} // namespace kxss

bool StartEditProfCutsDlg(DlgProfCutsData& data)
{
    return kxss::runLauncher("StartEditProfCutsDlg", false, [&] {
        auto dialog = std::make_unique<ZnDlgProfCuts>(g_previewSwitch);
        dialog->data() = data;
        if (kxss::runModal("StartEditProfCutsDlg", *dialog) != IDOK)
            return false;
        g_previewSwitch = dialog->previewSwitch();
        data = dialog->data();
        return true;
    });
}

bool StartDlgProfFeatures(DlgProfFeaturesData& data)
{
    return kxss::launchModal<ZnDlgProfFeatures>("StartDlgProfFeatures", data);
}

bool StartDlgLevels(ZnLevelsDlgData& data)
{
    return kxss::launchModal<ZnDlgLevels>("StartDlgLevels", data);
}

bool StartDlgCladdingSettings(ZnCladdingDlgData& data)
{
    return kxss::launchModal<ZnDlgCladding>("StartDlgCladdingSettings", data);
}

bool StartDlgSelectImage(ZnSelectImageDlgData& data)
{
    return kxss::launchModal<ZnDlgSelectImage>("StartDlgSelectImage", data);
}
