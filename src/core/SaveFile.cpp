// SaveFile: the module's save, which prints its failure unless the caller takes the message.
#include "core/SaveFile.h"

#include "platform/host/CommandLine.h"

namespace kx {

namespace {

bool reportFailure(std::string message, std::string* error)
{
    if (error)
        *error = std::move(message);
    else
        acutPrintf("*Error* %s.\n", message.c_str());
    return false;
}

} // namespace

bool saveFileAtomically(const std::string& path, std::string_view bytes, std::string* error)
{
    std::string message;
    if (kxwin::saveFileAtomically(path, bytes, message, kxwin::PathSeparators::AcceptBackslash))
        return true;
    return reportFailure(std::move(message), error);
}

bool saveFileAtomically(const std::string& path, const std::function<bool(ByteSink&)>& writer, std::string* error)
{
    std::string message;
    if (kxwin::saveFileAtomically(path, writer, message, kxwin::PathSeparators::AcceptBackslash))
        return true;
    return reportFailure(std::move(message), error);
}

} // namespace kx
