// Paths: names of files and folders as the add-on's data carries them, with '\' or '/' between the
// parts, and the check that a name taken from data stays inside its root folder. Reading and
// writing files live in FileIO.h.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"

#include <optional>
#include <string>
#include <string_view>

// path with its extension replaced by ext, given without the dot (a leading dot is tolerated).
// An empty ext removes the extension. "a\b.txt" + "bmp" -> "a\b.bmp"; "a\b" + "bmp" -> "a\b.bmp".
// Only the last part counts: "v1.2\name" has no extension, and neither has ".hidden".
[[nodiscard]] KXCORE_API Kx_String changeExtension(const Kx_String& path, const Kx_String& ext);
// path without its extension and its dot: "a\b.tar.gz" -> "a\b.tar". The result is returned;
// path itself is not changed.
[[nodiscard]] KXCORE_API Kx_String removeExtension(const Kx_String& path);
// The last part of path, after the last '\' or '/': "C:\Lib\a.txt" -> "a.txt"; empty when path
// ends with a separator.
[[nodiscard]] KXCORE_API Kx_String getFileName(const Kx_String& path);
KXCORE_API void getFileName(const Kx_String& path, Kx_String& name);
// The folder part of path including its final separator, so getPath(p) + getFileName(p) == p:
// "C:\Lib\a.txt" -> "C:\Lib\"; empty when path has no folder part.
[[nodiscard]] KXCORE_API Kx_String getPath(const Kx_String& path);

// True when path, opened as the file system would open it (relative to the current folder when
// not absolute), lies in root or below it. Both are resolved first: both separators, ".." and ".",
// and symbolic links of every part that exists (a part that does not exist yet is taken as the
// folder it would become). Parts are compared whole, so "C:\Lib2\x" is not under "C:\Lib".
// False for an empty name or one holding a NUL byte, or when a link cannot be resolved (a loop).
// The check and a later open are two steps: a link created in between is not seen.
KXCORE_API bool isPathUnderRoot(const Kx_String& root, const Kx_String& path);

namespace kx {

// The name the file system is given for path: every '\' becomes '/'. No value for an empty
// path or one holding a NUL byte (the operating system would cut it short there).
KXCORE_API std::optional<std::string> toNativePath(std::string_view path);

// root joined with a relative name taken from data ("sub\frame.txt"), in native form, when the
// result lies under root (isPathUnderRoot). No value for an absolute name, one with a drive
// letter ("C:..."), or one that leaves root through ".." or a link.
KXCORE_API std::optional<std::string> resolveUnderRoot(std::string_view root, std::string_view name);

// The absolute form of path with "..", "." and every existing symbolic link resolved, as
// isPathUnderRoot compares it. No value when the name is unusable or a link cannot be resolved.
KXCORE_API std::optional<std::string> resolvePath(std::string_view path);

} // namespace kx
