// The file-name check and its message.
#include "core/FileNameCheck.h"

#include "core/TextTables.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"

#include <string_view>

namespace {

// Texts of the first table.
constexpr int kTextCaption = 2300;   // "Invalid name"
constexpr int kTextCannotUse = 2301; // "cannot be used as a file or folder name."
constexpr int kTextEmpty = 2302;
constexpr int kTextReserved = 2303;
constexpr int kTextDots = 2304;
constexpr int kTextTrailing = 2305;

} // namespace

namespace kx {

std::optional<int> invalidFileNameReason(const Kx_String& name)
{
    const std::string_view s = name.view();
    if (s.empty())
        return kTextEmpty;
    if (s == "." || s == "..")
        return kTextDots;
    for (const char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b == 0x7F || std::string_view("\\/:*?\"<>|").find(ch) != std::string_view::npos)
            return kTextReserved;
    }
    if (s.back() == '.' || s.back() == ' ')
        return kTextTrailing;
    return std::nullopt;
}

} // namespace kx

bool warnInvalidFileName(const Kx_String& name, HWND owner)
{
    const auto reason = kx::invalidFileNameReason(name);
    if (!reason)
        return true;
    Kx_String text;
    if (!name.isEmpty()) {
        text.append("\"").append(name).append("\" ").append(dialString(kTextCannotUse)).append("\n");
    }
    text.append(dialString(*reason));
    MessageBox(owner, text.str(), dialString(kTextCaption).str(), MB_OK | MB_ICONWARNING);
    return false;
}
