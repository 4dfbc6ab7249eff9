// Registration of built-in resources.
#include "platform/win/EmbeddedResources.h"

#include "platform/win/ResourceScript.h"
#include "platform/win/Resources.h"

#include <charconv>
#include <cstdio>
#include <string_view>

namespace kxwin {

namespace {

std::vector<std::string>& problems()
{
    static std::vector<std::string> p;
    return p;
}

void report(std::string problem)
{
    std::fprintf(stderr, "%s\n", problem.c_str());
    problems().push_back(std::move(problem));
}

// "bitmaps/8134-buttons.bmp" -> 8134; -1 when the name does not start with a number.
int leadingId(std::string_view path)
{
    const auto slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    int id = -1;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), id);
    if (ec != std::errc() || end == name.data() || id < 0)
        return -1;
    return id;
}

} // namespace

HINSTANCE registerEmbeddedResources(const std::string& moduleName, const EmbeddedResource* resources, std::size_t count)
{
    HINSTANCE module = resourceModule(moduleName);
    for (std::size_t i = 0; i < count; ++i) {
        const EmbeddedResource& r = resources[i];
        const std::string_view path(r.path);
        const std::string_view bytes(reinterpret_cast<const char*>(r.data), r.size);
        if (path.starts_with("dialogs/")) {
            ResourceScriptError error;
            auto dialogs = parseDialogTemplates(bytes, error);
            if (!dialogs) {
                report(moduleName + " resources: " + std::string(path) + " line " + std::to_string(error.line) + ": " +
                       error.message);
                continue;
            }
            for (auto& dialog : *dialogs)
                addDialogTemplate(module, std::move(dialog));
            continue;
        }
        std::string kind;
        if (path.starts_with("bitmaps/"))
            kind = "BITMAP";
        else if (path.starts_with("icons/"))
            kind = "ICON";
        else if (path.starts_with("menus/"))
            kind = "MENU";
        else if (path.starts_with("toolbars/"))
            kind = "TOOLBAR";
        else
            continue;
        const int id = leadingId(path);
        if (id < 0) {
            report(moduleName + " resources: " + std::string(path) + " has no resource id at the start of its name");
            continue;
        }
        addResourceData(module, kind, id, std::vector<BYTE>(r.data, r.data + r.size));
    }
    return module;
}

const std::vector<std::string>& resourceProblems()
{
    return problems();
}

} // namespace kxwin
