// The exported launcher of the cutting-stock dialog (ZnDlgOptimizeCSP2.h).
#pragma once

#include "core/DlgCSP2Data.h"
#include "frame/KxSsExport.h"

// Runs the cutting-stock dialog (template 8122) on a copy of data; on OK the edited copy goes back
// and the result is true. Cancel, or a dialog that cannot be opened, changes nothing: false.
KXSS_API bool StartDlgCSP2(DlgCSP2Data& data);
