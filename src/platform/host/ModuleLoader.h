// Loads a module's shared object as the host does: checks its API level, sends it entry messages,
// and unloads it. Used by the kestra-ss program and by tests that exercise a module whole.
#pragma once

#include "platform/host/Acrx.h"
#include "platform/host/KxHostExport.h"

#include <string>

class KXHOST_API KxModuleLoader {
public:
    KxModuleLoader() = default;
    ~KxModuleLoader();
    KxModuleLoader(const KxModuleLoader&) = delete;
    KxModuleLoader& operator=(const KxModuleLoader&) = delete;

    // Opens the shared object and finds acrxEntryPoint and acrxGetApiVersion. On failure returns
    // false and error() says what went wrong (missing file, not a module, wrong API level).
    bool load(const std::string& path);
    bool isLoaded() const { return m_handle != nullptr; }
    // Sends one message with this module's packet; kRetError when nothing is loaded.
    AcRx::AppRetCode send(AcRx::AppMsgCode message);
    // The packet the host hands the module with every message: identifies the module to services.
    void* packet() { return this; }
    int apiVersion() const { return m_apiVersion; }
    // Closes the shared object without sending a message (send kUnloadAppMsg first).
    void unload();
    const std::string& error() const { return m_error; }

private:
    void* m_handle = nullptr;
    AcrxEntryPointFn m_entry = nullptr;
    int m_apiVersion = 0;
    std::string m_error;
};
