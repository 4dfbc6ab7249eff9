// FileIO: the core module's text-file and folder operations as the add-on's modules call them.
// Every write goes through the save routine (SaveFile.h); every read is bounded by the library
// limits below. Paths may use '\' or '/' between parts. Name arithmetic lives in Paths.h.
#pragma once

#include "core/CTime.h"
#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

#include <cstddef>
#include <string>
#include <string_view>

// Reads a text file into lines, one string per line, replacing what lines held. Lines end with
// LF, CRLF or CR; the end of the last line is optional, so "a\nb" and "a\nb\n" both give two lines
// and an empty file gives none. A UTF-8 byte-order mark is dropped. Bytes are kept as they are
// (UTF-8 or single-byte text alike; NUL bytes included), so formats that split on single bytes
// see the file's own bytes.
// Fails, printing "*Error* Cannot read ..." on the command line and leaving lines untouched, when
// the file is missing or not a regular file, larger than 16 MiB, holds a line longer than 1 MiB,
// or is UTF-16 text.
KXCORE_API bool ObjectExportReadFile(const Kx_String& path, Kx_StringArray& lines);

// Writes lines to path, each followed by LF, through the save routine: path holds the old file or
// the complete new one, never a part. Refuses (message, false, file untouched) a line holding CR or
// LF and anything ObjectExportReadFile would refuse, so that what is written reads back the same.
KXCORE_API bool ObjectExportWriteFile(const Kx_String& path, const Kx_StringArray& lines);

// The regular files directly in folder whose names match pattern ('*' any run, '?' one byte,
// letters compared without regard to ASCII case as on the add-on's home platform), sorted by name.
// Each result is folder + name, the folder as given with a separator added when it has none.
// False (paths emptied) when the folder cannot be read.
KXCORE_API bool ObjectExportFindFiles(const Kx_String& folder, const Kx_String& pattern, Kx_StringArray& paths);
// The same in folder and every folder below it (linked folders are not followed, so a link cannot
// lead out or round in circles; depth is bounded). Sub-folder parts are joined with the separator
// the folder argument uses, so a result minus the folder is a name in the data's own style
// ("sub\frame.txt" under a '\' root). Sorted by that name.
KXCORE_API bool ObjectExportFindFilesRecursive(const Kx_String& folder, const Kx_String& pattern,
                                               Kx_StringArray& paths);

// The last modification time of path; false (time untouched) when it does not exist.
KXCORE_API bool ObjectExportGetFileTime(const Kx_String& path, CTime& time);

// Creates folder and every missing parent; true when the folder exists afterwards.
KXCORE_API bool ObjectExportCreateDirectory(const Kx_String& folder);

// Removes the file at path; true when a file was removed. A folder is never removed.
KXCORE_API bool deleteFile(const Kx_String& path);

// Copies from onto to through the save routine, replacing to. When both name the same file (the
// same name, another spelling, a link or a hard link), nothing is written and the result is true:
// the file stays intact. False with a message when from cannot be read or to cannot be saved.
KXCORE_API bool copyFile(const Kx_String& from, const Kx_String& to);

// True when path names an existing regular file (links followed).
KXCORE_API bool fileExists(const Kx_String& path);

namespace kx {

// Library limits for text files a user or a peer may hand the module.
inline constexpr std::size_t kMaxTextFileBytes = std::size_t{16} << 20;
inline constexpr std::size_t kMaxTextLineBytes = std::size_t{1} << 20;

// Reads the whole regular file at path into bytes. False with a message (without the "*Error*"
// frame, bytes untouched) when it is missing, not a regular file, unreadable or larger than
// maxBytes.
KXCORE_API bool readFileBytes(std::string_view path, std::size_t maxBytes, std::string& bytes, std::string& error);

// Splits text into lines as ObjectExportReadFile does, replacing lines. False with a message
// ("line 7 has more than ... bytes") when a line is longer than maxLineBytes or the text is UTF-16.
KXCORE_API bool splitTextLines(std::string_view text, std::size_t maxLineBytes, Kx_StringArray& lines,
                               std::string& error);

// ObjectExportReadFile with the limits given and the message returned instead of printed.
KXCORE_API bool readTextLines(std::string_view path, Kx_StringArray& lines, std::string& error,
                              std::size_t maxFileBytes = kMaxTextFileBytes,
                              std::size_t maxLineBytes = kMaxTextLineBytes);

// True when name matches pattern as ObjectExportFindFiles matches.
KXCORE_API bool matchesPattern(std::string_view name, std::string_view pattern);

} // namespace kx
