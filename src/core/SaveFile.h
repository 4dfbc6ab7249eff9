// SaveFile: the core module's door to the one save routine of the program (platform/win/SaveFile.h),
// under the names the module has always used. The routine and its test seam live in the window
// layer so that the grid, which sits below the core module, saves through the same code.
#pragma once

#include "core/KxCoreExport.h"
#include "platform/win/SaveFile.h"

#include <functional>
#include <string>
#include <string_view>

namespace kx {

using kxwin::ByteSink;
using kxwin::FailingFileOps;
using kxwin::FileOps;
using kxwin::fileOps;
using kxwin::ScopedFileOps;

// Saves as kxwin::saveFileAtomically does, with '\' taken as a folder separator as everywhere in
// the module's file names. Failure returns false and a message naming the file, the step and the
// system's reason: in *error when error is given (nothing printed), else printed on the command
// line as "*Error* Cannot save ...".
KXCORE_API bool saveFileAtomically(const std::string& path, std::string_view bytes,
                                   std::string* error = nullptr);
// The same, with the bytes produced by writer as they come (large copies); writer returns false
// when it stopped early.
KXCORE_API bool saveFileAtomically(const std::string& path, const std::function<bool(ByteSink&)>& writer,
                                   std::string* error = nullptr);

} // namespace kx
