// The open and save file dialog over the window layer's backend.
#include "core/FileDialog.h"

#include "core/FileIO.h"
#include "core/Paths.h"
#include "core/TextTables.h"
#include "platform/win/Backend.h"
#include "platform/win/Window.h"

#include <optional>
#include <string>

namespace {

// A person can refuse as often as they like, but a backend that keeps giving the same refused
// answer by itself must not hold the module in a loop.
constexpr int kMaxRounds = 100;

std::string cleanExtension(const Kx_String& ext)
{
    std::string e = ext.trimmed().str();
    if (e.starts_with("*"))
        e.erase(0, 1);
    if (e.starts_with("."))
        e.erase(0, 1);
    return e;
}

std::string filterList(const Kx_String& filter, const std::string& ext)
{
    const std::string text = filter.str();
    if (text.find('|') != std::string::npos)
        return text;
    std::string pattern = ext.empty() ? "*.*" : "*." + ext;
    const auto open = text.rfind('(');
    const auto close = text.rfind(')');
    if (open != std::string::npos && close != std::string::npos && close > open + 1) {
        const std::string inside = text.substr(open + 1, close - open - 1);
        if (inside.find('*') != std::string::npos)
            pattern = inside;
    }
    const std::string description = text.empty() ? pattern : text;
    return description + "|" + pattern + "||";
}

bool hasExtension(const Kx_String& path)
{
    return removeExtension(path).str() != path.str();
}

// The file the chosen name stands for, with the default extension where it has none.
Kx_String withExtension(const Kx_String& chosen, const std::string& ext, bool open)
{
    if (ext.empty() || hasExtension(chosen) || getFileName(chosen).isEmpty())
        return chosen;
    if (open && fileExists(chosen))
        return chosen;
    Kx_String path = chosen;
    path.append(".");
    path.append(ext.c_str());
    return path;
}

Kx_String quoted(const Kx_String& path)
{
    Kx_String text("\"");
    text.append(path);
    text.append("\"\n");
    return text;
}

} // namespace

Kx_String runFileDialog(const Kx_FileDialogRequest& given)
{
    try {
        const std::string ext = cleanExtension(given.defaultExtension);
        FileDialogRequest request;
        request.open = given.open;
        request.title = given.title.str();
        request.filter = filterList(given.filter, ext);
        request.defaultExtension = ext;
        request.folder = given.folder.str();
        request.fileName = given.fileName.str();
        request.mustExist = given.open;
        request.promptOverwrite = false;  // asked below, about the name with its extension
        request.owner = IsWindow(given.owner) ? given.owner : nullptr;

        for (int round = 0; round < kMaxRounds; ++round) {
            const std::optional<std::string> answer = kxwin::backend().fileDialog(request);
            if (!answer || answer->empty())
                return Kx_String();
            const Kx_String path = withExtension(Kx_String(*answer), ext, given.open);
            if (getFileName(path).isEmpty())
                continue;  // a folder, not a file: the dialog stays
            request.folder = getPath(path).str();
            request.fileName = getFileName(path).str();

            if (given.open) {
                if (fileExists(path))
                    return path;
                Kx_String text = quoted(path);
                text.append(dialString(1150));  // the file was not found
                const Kx_String caption = given.title.isEmpty() ? dialString(1126) : given.title;
                MessageBox(request.owner, text.str(), caption.str(), MB_OK | MB_ICONWARNING);
                continue;
            }
            if (!fileExists(path))
                return path;
            Kx_String text = quoted(path);
            text.append(dialString(1128));
            text.append("\n");
            text.append(dialString(1130));
            // No is the default answer: a slip of the Enter key must not replace a file.
            const UINT question = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
            if (MessageBox(request.owner, text.str(), dialString(1131).str(), question) == IDYES)
                return path;
        }
        return Kx_String();
    } catch (...) {
        return Kx_String();
    }
}

Kx_String runFileDialog(bool open, const Kx_String& filter, const Kx_String& defaultExtension, const Kx_String& title,
                        const Kx_String& folder)
{
    Kx_FileDialogRequest request;
    request.open = open;
    request.filter = filter;
    request.defaultExtension = defaultExtension;
    request.title = title;
    request.folder = folder;
    return runFileDialog(request);
}
