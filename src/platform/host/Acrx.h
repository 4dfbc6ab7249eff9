// The host's extension interface: entry messages sent to a module's acrxEntryPoint, and the system
// registry through which a module reaches the host's services by name.
#pragma once

#include "platform/host/KxHostExport.h"

#include <string>
#include <vector>

namespace AcRx {

// Messages a host sends to a loaded module, numbered as the host numbers them.
enum AppMsgCode : int {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
    kDependencyMsg = 10,
    kNoDependencyMsg = 11,
    kOleUnloadAppMsg = 12,
    kPreQuitMsg = 13,
    kInitDialogMsg = 14,
    kEndDialogMsg = 15,
};

enum AppRetCode : int {
    kRetOK = 0,
    kRetError = 3,
};

} // namespace AcRx

// API level a module reports through acrxGetApiVersion; the host refuses other levels.
inline constexpr int kAcrxApiVersion = 15;

using AcrxEntryPointFn = AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*);
using AcrxGetApiVersionFn = int (*)();

// A service in the system registry.
class KXHOST_API AcRxService {
public:
    virtual ~AcRxService() = default;
};

// "DynamicLinker": loads modules and records what each may do.
class KXHOST_API AcRxDynamicLinker : public AcRxService {
public:
    // Allows the module that owns pkt to be unloaded at the user's request.
    bool unlockApplication(void* pkt);
    // Declares that the module copes with several open drawings.
    bool registerAppMDIAware(void* pkt);
    bool isApplicationLocked(void* pkt) const;
    bool isAppMDIAware(void* pkt) const;

private:
    std::vector<void*> m_unlocked;
    std::vector<void*> m_mdiAware;
};

// "ACAD_REGISTERED_COMMANDS": the host's command stack, grouped by application.
class KXHOST_API AcEdCommandStack : public AcRxService {
public:
    void addCommand(const std::string& group, const std::string& command);
    // Removes every command of the group; false when the group had none.
    bool removeGroup(const std::string& group);
    bool hasGroup(const std::string& group) const;
    int removeGroupCalls(const std::string& group) const;

private:
    std::vector<std::pair<std::string, std::string>> m_commands;
    std::vector<std::string> m_removedGroups;
};

// The system registry: services by name. Returns null for an unknown name.
class KXHOST_API AcRxSystemRegistry {
public:
    AcRxService* at(const std::string& name);
};

KXHOST_API AcRxSystemRegistry* acrxSysRegistry();
KXHOST_API AcRxDynamicLinker* acrxDynamicLinker();
KXHOST_API AcEdCommandStack* acedRegCmds();
