// ZnGridDlgData: what the axis grid dialog (StartDlgGrid) edits: counts, spacings and first labels
// of a rectangular grid of axes in two directions. The dialog lives in ZnDlgGrid.h.
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"

class KXSS_API ZnGridDlgData {
public:
    // Defined here so that a caller can make and copy one without linking the module.
    ZnGridDlgData() = default;
    virtual ~ZnGridDlgData() = default;
    ZnGridDlgData(const ZnGridDlgData& other) = default;
    ZnGridDlgData& operator=(const ZnGridDlgData& other) = default;

    // The dialog reads these back as typed: the spacings and labels are free text, the counts are
    // whatever leading number the user typed (0 when none).
    int countA = 4;
    Kx_String spacingA = "5000";
    Kx_String firstLabelA = "A";
    int countB = 3;
    Kx_String spacingB = "5000";
    Kx_String firstLabelB = "1";
    // The "dimension the axes" check box.
    bool option = false;
};
