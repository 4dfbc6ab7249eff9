// Resources built into a library: each library that has resources links a generated table of its
// resource files (see kx_embed_resources in cmake/Kx.cmake) and registers it under its module name
// when it is loaded.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/WinTypes.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kxwin {

struct EmbeddedResource {
    const char* path;           // relative to the resource folder, e.g. "dialogs/8069-prompt.dlg"
    const unsigned char* data;
    std::size_t size;
};

// Registers the files under the module: "dialogs/*.dlg" are parsed into dialog templates; files in
// "bitmaps/", "icons/", "menus/" and "toolbars/" whose names start with a number become BITMAP,
// ICON, MENU and TOOLBAR resources of that id. Problems (a template that does not parse, a file
// without an id) are collected, printed on standard error and kept for resourceProblems().
KXWIN_API HINSTANCE registerEmbeddedResources(const std::string& moduleName, const EmbeddedResource* resources,
                                              std::size_t count);
KXWIN_API const std::vector<std::string>& resourceProblems();

} // namespace kxwin
