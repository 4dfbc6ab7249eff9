// System registry of the host stand-in and its two services.
#include "platform/host/Acrx.h"

#include <algorithm>

namespace {

template <typename T>
bool containsItem(const std::vector<T>& items, const T& item)
{
    return std::find(items.begin(), items.end(), item) != items.end();
}

} // namespace

bool AcRxDynamicLinker::unlockApplication(void* pkt)
{
    if (pkt == nullptr)
        return false;
    if (!containsItem(m_unlocked, pkt))
        m_unlocked.push_back(pkt);
    return true;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* pkt)
{
    if (pkt == nullptr)
        return false;
    if (!containsItem(m_mdiAware, pkt))
        m_mdiAware.push_back(pkt);
    return true;
}

bool AcRxDynamicLinker::isApplicationLocked(void* pkt) const { return !containsItem(m_unlocked, pkt); }
bool AcRxDynamicLinker::isAppMDIAware(void* pkt) const { return containsItem(m_mdiAware, pkt); }

void AcEdCommandStack::addCommand(const std::string& group, const std::string& command)
{
    m_commands.emplace_back(group, command);
}

bool AcEdCommandStack::removeGroup(const std::string& group)
{
    m_removedGroups.push_back(group);
    const auto before = m_commands.size();
    std::erase_if(m_commands, [&](const auto& entry) { return entry.first == group; });
    return m_commands.size() != before;
}

bool AcEdCommandStack::hasGroup(const std::string& group) const
{
    return std::any_of(m_commands.begin(), m_commands.end(),
                       [&](const auto& entry) { return entry.first == group; });
}

int AcEdCommandStack::removeGroupCalls(const std::string& group) const
{
    return static_cast<int>(std::count(m_removedGroups.begin(), m_removedGroups.end(), group));
}

AcRxService* AcRxSystemRegistry::at(const std::string& name)
{
    if (name == "DynamicLinker")
        return acrxDynamicLinker();
    if (name == "ACAD_REGISTERED_COMMANDS")
        return acedRegCmds();
    return nullptr;
}

AcRxSystemRegistry* acrxSysRegistry()
{
    static AcRxSystemRegistry registry;
    return &registry;
}

AcRxDynamicLinker* acrxDynamicLinker()
{
    static AcRxDynamicLinker linker;
    return &linker;
}

AcEdCommandStack* acedRegCmds()
{
    static AcEdCommandStack stack;
    return &stack;
}
