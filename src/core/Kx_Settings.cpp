// Kx_Settings: folder lookup in the order override, environment, configuration file, default.
#include "core/Kx_Settings.h"

#include <cstdlib>
#include <string>

namespace {

struct Overrides {
    std::string libDir;
    std::string resourceDir;
};

Overrides& overrides()
{
    static Overrides o;
    return o;
}

std::string withSeparator(std::string folder)
{
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    return folder;
}

std::string resolve(const std::string& override, const char* envName, const char* fallback)
{
    if (!override.empty())
        return withSeparator(override);
    if (const char* env = std::getenv(envName); env && *env)
        return withSeparator(env);
    return withSeparator(fallback);
}

} // namespace

Kx_String Kx_Settings::libDir()
{
    return Kx_String(resolve(overrides().libDir, "KESTRA_SS_LIBDIR", KX_SOURCE_LIBRARY_DIR));
}

Kx_String Kx_Settings::resourceDir()
{
    return Kx_String(resolve(overrides().resourceDir, "KESTRA_SS_RESDIR", KX_SOURCE_RESOURCE_DIR));
}

void Kx_Settings::setLibDir(const Kx_String& folder) { overrides().libDir = folder.str(); }
void Kx_Settings::setResourceDir(const Kx_String& folder) { overrides().resourceDir = folder.str(); }
