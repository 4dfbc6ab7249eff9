// The main job of kestra-ss.
#include "app/MainJob.h"

#include "core/Kx_Settings.h"
#include "platform/host/CommandLine.h"
#include "platform/host/ModuleLoader.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace fs = std::filesystem;

namespace kxapp {

fs::path programFolder(const char* argv0)
{
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = fs::absolute(argv0, ec);
    return self.parent_path();
}

std::vector<std::string> listLibrary(const fs::path& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec))
            names.push_back(fs::relative(it->path(), folder, ec).generic_string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

int runMainJob(const char* argv0)
{
    const fs::path modulePath = programFolder(argv0) / "libkestra_ss.so";
    KxModuleLoader module;
    if (!module.load(modulePath.string())) {
        std::fprintf(stderr, "kestra-ss: %s\n", module.error().c_str());
        return 1;
    }
    std::printf("Loaded %s (API level %d)\n", modulePath.c_str(), module.apiVersion());

    kxhost::takeCommandLineText();
    const AcRx::AppRetCode loaded = module.send(AcRx::kInitAppMsg);
    const AcRx::AppRetCode unloaded = module.send(AcRx::kUnloadAppMsg);
    module.unload();
    std::printf("Load message answered %d, unload message answered %d\n", loaded, unloaded);
    const std::string printed = kxhost::takeCommandLineText();
    std::printf("Command line:%s", printed.empty() ? " (nothing printed)\n" : "\n");
    std::fputs(printed.c_str(), stdout);
    if (!printed.empty() && printed.back() != '\n')
        std::putchar('\n');
    if (loaded != AcRx::kRetOK || unloaded != AcRx::kRetOK) {
        std::fprintf(stderr, "kestra-ss: the module refused to load or unload\n");
        return 1;
    }

    const fs::path library = Kx_Settings::libDir().str();
    std::error_code ec;
    if (!fs::is_directory(library, ec)) {
        std::fprintf(stderr, "kestra-ss: library folder %s not found\n", library.c_str());
        return 1;
    }
    const auto files = listLibrary(library);
    std::printf("Library %s: %zu file%s\n", library.c_str(), files.size(), files.size() == 1 ? "" : "s");
    for (const auto& name : files)
        std::printf("  %s\n", name.c_str());
    return 0;
}

} // namespace kxapp
