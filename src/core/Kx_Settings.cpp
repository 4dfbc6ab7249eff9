// Kx_Settings: folder lookup in the order override, environment, settings file, default.
#include "core/Kx_Settings.h"

#include "core/FileIO.h"
#include "core/Kx_PropertiesList.h"
#include "platform/win/UserFolders.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace {

struct State {
    std::string libDir;
    std::string resourceDir;
    std::optional<Kx_PropertiesList> file;  // read on first use
};

State& state()
{
    static State s;
    return s;
}

std::string withSeparator(std::string folder)
{
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    return folder;
}

const Kx_PropertiesList& settingsFile()
{
    State& s = state();
    if (!s.file) {
        s.file.emplace();
        const Kx_String path = Kx_Settings::settingsFile();
        // A missing file is the normal case; only a file that exists and is damaged is reported.
        if (!path.isEmpty() && fileExists(path)) {
            Kx_PropertiesList read;
            if (read.readFromFile(path))
                s.file = std::move(read);
        }
    }
    return *s.file;
}

std::string resolve(const std::string& override, const char* envName, const char* key, const char* fallback)
{
    if (!override.empty())
        return withSeparator(override);
    if (const char* env = std::getenv(envName); env && *env)
        return withSeparator(env);
    Kx_String fromFile;
    if (settingsFile().getProperty(key, fromFile) && !fromFile.isEmpty())
        return withSeparator(fromFile.str());
    return withSeparator(fallback);
}

} // namespace

Kx_String Kx_Settings::libDir()
{
    return Kx_String(resolve(state().libDir, "KESTRA_SS_LIBDIR", "libDir", KX_SOURCE_LIBRARY_DIR));
}

Kx_String Kx_Settings::resourceDir()
{
    return Kx_String(resolve(state().resourceDir, "KESTRA_SS_RESDIR", "resourceDir", KX_SOURCE_RESOURCE_DIR));
}

void Kx_Settings::setLibDir(const Kx_String& folder) { state().libDir = folder.str(); }
void Kx_Settings::setResourceDir(const Kx_String& folder) { state().resourceDir = folder.str(); }

Kx_String Kx_Settings::settingsFile()
{
    const std::string folder = kxwin::userConfigFolder();
    return folder.empty() ? Kx_String() : Kx_String(folder + "/settings.txt");
}

void Kx_Settings::reload()
{
    state().file.reset();
}
