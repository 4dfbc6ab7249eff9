// The cutting-stock dialog's launcher, under the launcher convention.
#include "detailing/CuttingStockLaunchers.h"

#include "detailing/ZnDlgOptimizeCSP2.h"
#include "frame/Launcher.h"

bool StartDlgCSP2(DlgCSP2Data& data)
{
    return kxss::launchModal<ZnDlgOptimizeCSP2>("StartDlgCSP2", data);
}
