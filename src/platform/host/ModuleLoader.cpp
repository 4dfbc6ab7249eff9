// Module loading through the dynamic linker of the operating system.
#include "platform/host/ModuleLoader.h"

#include <dlfcn.h>

KxModuleLoader::~KxModuleLoader()
{
    unload();
}

bool KxModuleLoader::load(const std::string& path)
{
    unload();
    m_error.clear();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        m_error = "cannot load " + path + ": " + (why ? why : "unknown error");
        return false;
    }
    auto entry = reinterpret_cast<AcrxEntryPointFn>(dlsym(handle, "acrxEntryPoint"));
    auto version = reinterpret_cast<AcrxGetApiVersionFn>(dlsym(handle, "acrxGetApiVersion"));
    if (entry == nullptr || version == nullptr) {
        m_error = path + " is not a module: acrxEntryPoint or acrxGetApiVersion is missing";
        dlclose(handle);
        return false;
    }
    const int level = version();
    if (level != kAcrxApiVersion) {
        m_error = path + " was built for API level " + std::to_string(level) + ", the host runs level " +
                  std::to_string(kAcrxApiVersion);
        dlclose(handle);
        return false;
    }
    m_handle = handle;
    m_entry = entry;
    m_apiVersion = level;
    return true;
}

AcRx::AppRetCode KxModuleLoader::send(AcRx::AppMsgCode message)
{
    if (m_entry == nullptr)
        return AcRx::kRetError;
    return m_entry(message, packet());
}

void KxModuleLoader::unload()
{
    if (m_handle != nullptr)
        dlclose(m_handle);
    m_handle = nullptr;
    m_entry = nullptr;
    m_apiVersion = 0;
}
