// The module's entry point: what it does when the host loads and unloads it.
#include "core/ZnTempResourceOverride.h"
#include "frame/KxSsExport.h"
#include "frame/ModelessDialogs.h"
#include "platform/host/Acrx.h"
#include "platform/win/Resources.h"

namespace {

// When the shared object is attached: record the module's resource handle.
struct AttachModule {
    AttachModule() { kxss::attachModule(); }
} attachModule;

void onLoad(void* pkt)
{
    if (auto* linker = dynamic_cast<AcRxDynamicLinker*>(acrxSysRegistry()->at("DynamicLinker"))) {
        linker->unlockApplication(pkt);
        linker->registerAppMDIAware(pkt);
    }
    kxss::loadSharedBitmaps();
}

void onUnload()
{
    if (auto* commands = dynamic_cast<AcEdCommandStack*>(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS")))
        commands->removeGroup("KESTRA_SS");
    kxss::destroyAllMacroDialogsAtUnload();
    kxss::endConstraintEditorAtUnload();
    kxss::runUnloadSteps();
    kxss::freeSharedBitmaps();
}

} // namespace

extern "C" KXSS_API AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt)
{
    // Nothing may escape into the host; every message answers 0.
    try {
        switch (msg) {
        case AcRx::kInitAppMsg:
            onLoad(pkt);
            break;
        case AcRx::kUnloadAppMsg:
            onUnload();
            break;
        default:
            break;
        }
    } catch (...) {
        acutPrintf("*Error* KESTRA_SS: message %d failed.\n", static_cast<int>(msg));
    }
    return AcRx::kRetOK;
}

extern "C" KXSS_API int acrxGetApiVersion()
{
    return kAcrxApiVersion;
}
