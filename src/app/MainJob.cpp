// The main job of kestra-ss.
#include "app/MainJob.h"

#include "app/HostedModule.h"
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "platform/host/CommandLine.h"
#include "platform/host/ModuleLoader.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

#include <dlfcn.h>

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

namespace {

// The window of a dialog control with this id, searched below `parent` (the macro dialog's pages are
// child dialogs of its tab control's parent).
HWND findControl(HWND parent, int id)
{
    for (HWND child : GetChildWindows(parent)) {
        if (HWND found = GetDlgItem(child, id))
            return found;
        if (HWND deeper = findControl(child, id))
            return deeper;
    }
    return nullptr;
}

// The headless demo: the sample macro opened modeless through the module as the host's add-on would,
// a plate width typed and the field left as a person would, and what the drawing was asked.
void runMacroDemo(const fs::path& modulePath)
{
    void* handle = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_NOLOAD);
    auto* start = handle ? reinterpret_cast<bool (*)(bool, MacroData&, int&)>(dlsym(handle, kStartDlgMacroModeless))
                         : nullptr;
    auto* read = handle ? reinterpret_cast<bool (*)(int, MacroData&)>(dlsym(handle, kGetDlgMacroData)) : nullptr;
    auto* end = handle ? reinterpret_cast<bool (*)(int)>(dlsym(handle, kEndDlgMacroModeless)) : nullptr;
    if (!start || !read || !end) {
        std::printf("Macro demo: the module does not export the macro dialog's launchers\n");
        if (handle)
            dlclose(handle);
        return;
    }
    kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    MacroData data = kxcore::sampleMacroData(0);
    if (data.tabs.isEmpty()) {
        std::printf("Macro demo: the library has no sample macro\n");
        dlclose(handle);
        return;
    }
    const size_t before = drawing.requestCount();
    int slot = -1;
    if (!start(true, data, slot)) {
        std::printf("Macro demo: the macro dialog could not be opened\n");
        dlclose(handle);
        return;
    }
    std::printf("Macro demo: \"%s\" opened modeless in slot %d with %d tabs\n", data.title.c_str(), slot,
                data.tabs.length());
    MacroData shown;
    read(slot, shown);
    int cell = -1;
    const MacroTabData& tab = shown.tabs[0];
    HWND edit = nullptr;
    if (tab.findCellWithName("plateWidth", cell) && tab.cells[cell].ctrlId > 0) {
        // The modeless dialog is a top-level window owned by the host's main window.
        for (HWND top : GetTopLevelWindows())
            if (edit == nullptr && GetWindowText(top) == data.title.str())
                edit = findControl(top, tab.cells[cell].ctrlId);
    }
    if (edit != nullptr) {
        SetWindowText(edit, "220");
        SendMessage(GetParent(edit), WM_COMMAND, MAKEWPARAM(tab.cells[cell].ctrlId, EN_KILLFOCUS),
                    reinterpret_cast<LPARAM>(edit));
        read(slot, shown);
        std::printf("Typed 220 into the plate width of \"%s\" and left the field; the dialog now shows %s\n",
                    tab.caption.c_str(), shown.tabs[0].cells[cell].value.c_str());
    } else {
        std::printf("Macro demo: the plate width field was not found\n");
    }
    end(slot);
    std::printf("Drawing requests:\n");
    const auto& requests = drawing.requests();
    const size_t logged = drawing.requestCount() - before;
    for (size_t i = requests.size() - std::min(logged, requests.size()); i < requests.size(); ++i)
        std::printf("  %s\n", requests[i].text().c_str());
    dlclose(handle);
}

} // namespace

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
    if (loaded == AcRx::kRetOK)
        runMacroDemo(modulePath);
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
