// RegistryStore: typed values in the registry for the whole module (strings, integers, 8-byte
// values, rectangles, integer arrays, font descriptions), deletion and enumeration. Each operation
// takes a root (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE), a key path below it with "\" between the
// parts, and a value name (or the sub-key name of a font).
//
// Every operation returns whether it succeeded and never throws. Keys are made on writing (all
// access) and opened with read access for reading; every handle is closed before returning. A read
// that fails (missing key or value, another value type, another size) leaves the destination as it
// was.
#pragma once

#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"
#include "platform/win/Font.h"
#include "platform/win/WinTypes.h"

#include <cstdint>

class KXSS_API RegistryStore {
public:
    // REG_SZ, written with its terminating zero. Reading also takes REG_EXPAND_SZ (unexpanded) and
    // ends the text at its first zero.
    static bool writeString(HKEY root, const Kx_String& keyPath, const Kx_String& name, const Kx_String& value);
    static bool readString(HKEY root, const Kx_String& keyPath, const Kx_String& name, Kx_String& value);

    // REG_DWORD, 4 bytes.
    static bool writeInt(HKEY root, const Kx_String& keyPath, const Kx_String& name, std::int32_t value);
    static bool readInt(HKEY root, const Kx_String& keyPath, const Kx_String& name, std::int32_t& value);

    // REG_BINARY, 8 bytes: the value's own bytes.
    static bool writeInt64(HKEY root, const Kx_String& keyPath, const Kx_String& name, std::int64_t value);
    static bool readInt64(HKEY root, const Kx_String& keyPath, const Kx_String& name, std::int64_t& value);
    static bool writeDouble(HKEY root, const Kx_String& keyPath, const Kx_String& name, double value);
    static bool readDouble(HKEY root, const Kx_String& keyPath, const Kx_String& name, double& value);

    // REG_BINARY, 16 bytes: left, top, right, bottom.
    static bool writeRect(HKEY root, const Kx_String& keyPath, const Kx_String& name, const RECT& value);
    static bool readRect(HKEY root, const Kx_String& keyPath, const Kx_String& name, RECT& value);

    // REG_BINARY, 4 bytes an element. Reading asks the size first; a size that is no multiple of 4
    // fails.
    static bool writeIntArray(HKEY root, const Kx_String& keyPath, const Kx_String& name,
                              const Kx_Array<std::int32_t>& values);
    static bool readIntArray(HKEY root, const Kx_String& keyPath, const Kx_String& name,
                             Kx_Array<std::int32_t>& values);

    // A sub-key `fontName` of keyPath holding "lfHeight" and "lfWeight" (REG_DWORD), "lfItalic",
    // "lfUnderline" and "lfStrikeOut" (REG_BINARY, 1 byte each) and "lfFaceName" (REG_SZ). Writing
    // null deletes the sub-key. Reading fills only those six fields and succeeds only when all six
    // are there; the other fields of `font` stay as they were.
    static bool writeFont(HKEY root, const Kx_String& keyPath, const Kx_String& fontName, const LOGFONT* font);
    static bool readFont(HKEY root, const Kx_String& keyPath, const Kx_String& fontName, LOGFONT& font);

    static bool deleteValue(HKEY root, const Kx_String& keyPath, const Kx_String& name);
    // Removes the key with all its sub-keys and values. An empty path is refused: it would empty
    // the whole root.
    static bool deleteKey(HKEY root, const Kx_String& keyPath);

    // The names in registry order (names ignoring case), replacing what names held. False (names
    // emptied) when the key cannot be opened.
    static bool enumerateSubKeys(HKEY root, const Kx_String& keyPath, Kx_StringArray& names);
    static bool enumerateValues(HKEY root, const Kx_String& keyPath, Kx_StringArray& names);
};
