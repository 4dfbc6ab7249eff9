// The module's entry point: what it does when the host loads and unloads it.
#include "frame/KxSsExport.h"
#include "platform/host/Acrx.h"

extern "C" KXSS_API AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt)
{
    switch (msg) {
    case AcRx::kInitAppMsg:
        if (auto* linker = dynamic_cast<AcRxDynamicLinker*>(acrxSysRegistry()->at("DynamicLinker"))) {
            linker->unlockApplication(pkt);
            linker->registerAppMDIAware(pkt);
        }
        break;
    case AcRx::kUnloadAppMsg:
        if (auto* commands =
                dynamic_cast<AcEdCommandStack*>(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS")))
            commands->removeGroup("KESTRA_SS");
        break;
    default:
        break;
    }
    return AcRx::kRetOK;
}

extern "C" KXSS_API int acrxGetApiVersion()
{
    return kAcrxApiVersion;
}
