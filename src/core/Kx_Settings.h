// Kx_Settings: where the core module finds its library and its resources.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"

class KXCORE_API Kx_Settings {
public:
    // The library folder (layouts, tables, pictures, stock lists), ending with '/'.
    // Taken from KESTRA_SS_LIBDIR, else from "libDir" in the configuration file, else the
    // sample library beside the sources.
    static Kx_String libDir();
    // The resource folder (text tables, icons, settings files), ending with '/'.
    // Taken from KESTRA_SS_RESDIR, else from "resourceDir" in the configuration file, else the
    // resources beside the sources.
    static Kx_String resourceDir();
    // Overrides for this process (tests, the program's options); an empty text removes the override.
    static void setLibDir(const Kx_String& folder);
    static void setResourceDir(const Kx_String& folder);
};
