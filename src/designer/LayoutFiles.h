// Layout files: the folder all designed-dialog layouts live under, the names that travel in data
// ("sub\frame") and the files they stand for, and the listing of the layouts there are. What a
// layout file holds is docs/layout-files.md; reading and writing one is Kx_DlgDesignerData's.
#pragma once

#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"

#include <optional>
#include <string>

// The root folder of all layouts: the library folder followed by "Dialog Templates\Dialog Design\".
KXSS_API Kx_String getDesignerRootFolder();

// The name of every layout under the root folder, sub-folders included: each "*.txt" file's path
// relative to the root, without extension, with '\' between folders, sorted. False (names emptied)
// when the root folder cannot be read.
KXSS_API bool getModuleImages(Kx_StringArray& names);

// The contents of every variable edit (type 2) of the layout at path (read without its picture).
// False, names emptied, when the layout cannot be read.
KXSS_API bool GetImageDlgCtrlNames(const Kx_String& path, Kx_StringArray& names);

namespace kxdesigner {

// A layout's two files, and its name.
struct LayoutFile {
    std::string text;     // the ".txt" file, a native path
    std::string picture;  // the ".bmp" beside it
    Kx_String name;       // "sub\frame"
};

// The files of the layout at `pathOrName`: an absolute file path, or a name relative to the root
// folder; ".txt" is added when the name does not end with it (in any letter case). No value when
// the name is empty or unusable, or when either file would lie outside the root folder once "..",
// symbolic links and absolute names are resolved. The files need not exist.
KXSS_API std::optional<LayoutFile> resolveLayoutFile(const Kx_String& pathOrName);

} // namespace kxdesigner
