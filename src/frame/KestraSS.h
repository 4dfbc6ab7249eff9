// KESTRA_SS: every launcher and exported class of the module, for the add-on's other modules.
#pragma once

#include "constraints/ConstraintLaunchers.h"
#include "designer/DesignerLaunchers.h"
#include "detailing/CuttingStockLaunchers.h"
#include "detailing/DstvLaunchers.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroLaunchers.h"
#include "platform/host/Acrx.h"
#include "spread/SpreadLaunchers.h"

extern "C" {
// The host's entry: 1 loads, 2 unloads; every message answers 0.
KXSS_API AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt);
KXSS_API int acrxGetApiVersion();
}
