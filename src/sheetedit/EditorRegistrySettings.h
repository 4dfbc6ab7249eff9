// EditorRegistrySettings: the spreadsheet editor's machine-wide settings, kept under
// HKEY_LOCAL_MACHINE "Software\Vormex\Spreadsheet Editor v1.0": the language and the name of the
// appearance settings a sheet falls back on when its own cannot be loaded.
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"

struct KXSS_API EditorRegistrySettings {
    static constexpr const char* kKeyPath = "Software\\Vormex\\Spreadsheet Editor v1.0";
    static constexpr const char* kLanguageValue = "Language";
    static constexpr const char* kDefaultSettingsValue = "Default Settings";

    Kx_String Language = "EN";
    // A settings name without folder and extension; empty: none.
    Kx_String DefaultSettings;

    // Reads both values. True only when both were read; a value that cannot be read leaves its
    // field as it was (a freshly made object: the default).
    bool read();
    // Writes both as REG_SZ, making the key when needed. True only when both were written.
    bool write() const;
};
