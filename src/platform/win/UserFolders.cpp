// Per-user configuration folder of the host.
#include "platform/win/UserFolders.h"

#include <cstdlib>

namespace kxwin {

namespace {

std::string withoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace

std::string userConfigFolder()
{
    if (const char* home = std::getenv("KESTRA_SS_HOME"); home != nullptr && *home != '\0')
        return withoutTrailingSlash(home);
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/')
        return withoutTrailingSlash(config) + "/kestra-ss";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return withoutTrailingSlash(home) + "/.config/kestra-ss";
    return {};
}

} // namespace kxwin
