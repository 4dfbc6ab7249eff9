// Kx_Settings: where the core module finds its library and its resources.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"

class KXCORE_API Kx_Settings {
public:
    // The library folder (layouts, tables, pictures, stock lists), ending with '/'.
    // In order: an override set by setLibDir, KESTRA_SS_LIBDIR, the text property "libDir" of the
    // settings file, the sample library beside the sources.
    static Kx_String libDir();
    // The resource folder (text tables, icons, settings files), ending with '/'. The same order with
    // setResourceDir, KESTRA_SS_RESDIR and "resourceDir".
    static Kx_String resourceDir();
    // Overrides for this process (tests, the program's options); an empty text removes the override.
    static void setLibDir(const Kx_String& folder);
    static void setResourceDir(const Kx_String& folder);
    // The settings file: settings.txt in the user's configuration folder, a property list
    // (docs/property-list-format.md). A missing file is normal; a damaged one is reported once on
    // the command line and ignored.
    static Kx_String settingsFile();
    // Forgets what was read from the settings file so the next query reads it again.
    static void reload();
};
