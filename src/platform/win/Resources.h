// Resources and resource handles. Each module registers its resources (dialog templates, bitmaps,
// icons, menus) under its own handle; loading looks in the current resource handle only, so code
// that forgets to switch to its module's resources fails to find them, as on the real platform.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/WinTypes.h"

#include <string>
#include <vector>

struct DialogItemTemplate {
    int id = 0;
    std::string className;  // "Button", "Edit", "Static", "ComboBox", "ListBox", ...
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    friend bool operator==(const DialogItemTemplate&, const DialogItemTemplate&) = default;
};

struct DialogTemplate {
    int id = 0;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    std::string fontFace = "MS Shell Dlg";
    int fontPointSize = 8;
    std::vector<DialogItemTemplate> items;
    friend bool operator==(const DialogTemplate&, const DialogTemplate&) = default;
};

namespace kxwin {

// A module's resource handle, made on first use of the name ("host", "kestra_ss", ...).
KXWIN_API HINSTANCE resourceModule(const std::string& name);
KXWIN_API std::string resourceModuleName(HINSTANCE module);
// Adds or replaces a template in a module's resources.
KXWIN_API void addDialogTemplate(HINSTANCE module, DialogTemplate dialog);
// Raw resource data of other kinds (bitmaps, icons, menus...) by kind and id.
KXWIN_API void addResourceData(HINSTANCE module, const std::string& kind, int id, std::vector<BYTE> data);
KXWIN_API const std::vector<BYTE>* findResourceDataIn(HINSTANCE module, const std::string& kind, int id);

} // namespace kxwin

// The handle resources are loaded from now. Starts as the host's.
KXWIN_API HINSTANCE AfxGetResourceHandle();
KXWIN_API void AfxSetResourceHandle(HINSTANCE module);
// Looks in the current resource handle only; null when it has no such template.
KXWIN_API const DialogTemplate* FindDialogTemplate(int id);
KXWIN_API const std::vector<BYTE>* FindResourceData(const std::string& kind, int id);

// Dialog units to pixels from the dialog font, as the framework converts them: a horizontal unit is
// a quarter of the font's average character width, a vertical unit an eighth of its height.
// For the 8-point dialog font the character cell is 6 x 13 pixels.
KXWIN_API SIZE DialogBaseUnits(const std::string& fontFace, int pointSize);
KXWIN_API RECT DialogUnitsToPixels(const RECT& units, SIZE baseUnits);
