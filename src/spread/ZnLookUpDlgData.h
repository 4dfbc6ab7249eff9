// ZnLookUpDlgData: the lists and choices of the table lookup dialog (StartDlgLookUp). The caller
// fills the five lists and the texts to show; the dialog returns the texts as typed or picked, the
// positions in its two fixed lists, the radio choice, the check box and which button closed it.
// The dialog lives in ZnDlgLookUp.h.
#pragma once

#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"

class KXSS_API ZnLookUpDlgData {
public:
    // How the dialog was confirmed (closedBy).
    static constexpr int kClosedByOk = 0;
    static constexpr int kClosedByFillColumn = 2;

    // Defined here so that a caller can make and copy one without linking the module.
    ZnLookUpDlgData() = default;
    virtual ~ZnLookUpDlgData() = default;
    ZnLookUpDlgData(const ZnLookUpDlgData& other) = default;
    ZnLookUpDlgData& operator=(const ZnLookUpDlgData& other) = default;

    Kx_String text1;  // table
    Kx_StringArray list1;
    Kx_String text2;  // name
    Kx_StringArray list2;
    Kx_String text3;  // key column
    Kx_StringArray list3;
    Kx_String text4;  // key value
    Kx_StringArray list4;
    // Position in the match list: 0 exact, 1 next smaller, 2 nearest.
    int choice1 = 2;
    Kx_String text5;  // result column
    Kx_StringArray list5;
    // Position in the rounding list: 0 none, 1 up, 2 down.
    int choice2 = 0;
    // 0 inserts the value, anything else a formula; the dialog gives back 0 or 1.
    int mode = 0;
    // Ignore letter case (only offered while mode is 0).
    bool option = false;
    // kClosedByOk or kClosedByFillColumn after the dialog was confirmed.
    int closedBy = kClosedByOk;
};
