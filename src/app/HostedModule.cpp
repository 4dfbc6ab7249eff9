// Hosting the module for the program's dialogs.
#include "app/HostedModule.h"

#include "app/MainJob.h"

#include <dlfcn.h>

namespace kxapp {

bool HostedModule::load(const char* argv0, std::string& error)
{
    if (m_handle != nullptr)
        return true;
    const std::filesystem::path path = programFolder(argv0) / "libkestra_ss.so";
    if (!m_loader.load(path.string())) {
        error = m_loader.error();
        return false;
    }
    if (m_loader.send(AcRx::kInitAppMsg) != AcRx::kRetOK) {
        error = "the module refused the load message";
        m_loader.unload();
        return false;
    }
    // A second reference to the loaded object, for looking up the launchers.
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (m_handle == nullptr) {
        error = "cannot reach the module's launchers";
        unload();
        return false;
    }
    return true;
}

void* HostedModule::symbol(const char* name) const
{
    return m_handle != nullptr ? dlsym(m_handle, name) : nullptr;
}

int HostedModule::unload()
{
    if (!m_loader.isLoaded())
        return -1;
    if (m_handle != nullptr) {
        dlclose(m_handle);
        m_handle = nullptr;
    }
    const int answer = m_loader.send(AcRx::kUnloadAppMsg);
    m_loader.unload();
    return answer;
}

} // namespace kxapp
