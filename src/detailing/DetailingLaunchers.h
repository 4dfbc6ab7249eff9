// Launchers of the profile cuts, profile features, levels, cladding settings and image selection
// dialogs. Each runs its dialog on a copy of the caller's data and copies it back only on OK.
#pragma once

#include "core/DetailingDlgData.h"
#include "core/ProfCutsData.h"
#include "detailing/ZnSelectImageDlgData.h"
#include "frame/KxSsExport.h"

// Runs the profile cuts dialog. Cuts removed in it are gone from the drawing at once; the dialog's
// only way out is Close (its close box and Escape close it the same way), so the data is copied back
// and true returned whenever the dialog ran; false when it could not be opened. The preview switch
// the user chose is kept for the next run while the module stays loaded.
KXSS_API bool StartEditProfCutsDlg(DlgProfCutsData& data);
KXSS_API bool StartDlgProfFeatures(DlgProfFeaturesData& data);
KXSS_API bool StartDlgLevels(ZnLevelsDlgData& data);
KXSS_API bool StartDlgCladdingSettings(ZnCladdingDlgData& data);
// On OK data.selection is the chosen thumbnail's name (see ZnSelectImageDlgData::selection).
KXSS_API bool StartDlgSelectImage(ZnSelectImageDlgData& data);

namespace kxss {

// The preview switch of the profile cuts dialog, as the next run will start with it (on when the
// module is loaded). For tests and the workbench.
KXSS_API bool profCutsPreviewSwitch();
KXSS_API void setProfCutsPreviewSwitch(bool on);

} // namespace kxss
