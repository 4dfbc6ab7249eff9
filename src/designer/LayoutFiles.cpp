// Layout files: the root folder, layout names and their files, and Kx_DlgDesignerData's reading and
// writing of a layout and its picture.
#include "designer/LayoutFiles.h"

#include "core/FileIO.h"
#include "core/Kx_PropertiesList.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "core/SaveFile.h"
#include "designer/DesignerState.h"
#include "designer/Kx_DlgDesignerData.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Bitmap.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTextExtension = ".txt";
constexpr std::string_view kPictureExtension = ".bmp";
constexpr const char* kCountKey = "nrOfControls";
// The largest picture file kept in memory to put it back after a failed save: a picture at the
// window layer's pixel limit, 4 bytes a pixel, with room for its headers.
constexpr size_t kMaxPictureFileBytes = size_t{80} << 20;

bool hasDriveLetter(std::string_view name)
{
    return name.size() >= 2 && name[1] == ':'
        && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

bool endsWithTextExtension(std::string_view file)
{
    if (file.size() < kTextExtension.size())
        return false;
    const std::string_view tail = file.substr(file.size() - kTextExtension.size());
    return Kx_String(tail).equal(Kx_String(kTextExtension), /*exact=*/false);
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// The file as it is spelt on disk. Layouts come from peers whose file system ignores letter case
// ("Frame.TXT" beside "Frame.BMP", listed and asked for as "Frame"): when the path as given does
// not exist, the first entry of its folder (in name order) whose name differs only in ASCII case
// is taken. The path as given when there is none.
std::string existingSpelling(const std::string& path)
{
    std::error_code ec;
    if (fs::exists(path, ec) || ec)
        return path;
    const fs::path asked(path);
    const std::string wanted = asked.filename().string();
    std::optional<std::string> best;
    for (fs::directory_iterator it(asked.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (sameNameIgnoringCase(name, wanted) && (!best || name < *best))
            best = name;
    }
    return best ? (asked.parent_path() / *best).string() : path;
}

bool startsOutside(const fs::path& relative)
{
    return relative.empty() || *relative.begin() == "..";
}

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The name of a file under the root: its path relative to the root without ".txt", with '\'
// between folders. Taken from the path as spelt, so that a layout reached through a link keeps the
// name it was asked by; from the resolved paths when the spelling does not start at the root.
std::optional<Kx_String> layoutNameOf(const std::string& file, const std::string& root)
{
    fs::path relative = fs::path(file).lexically_normal().lexically_relative(fs::path(root).lexically_normal());
    if (startsOutside(relative)) {
        const auto resolvedFile = kx::resolvePath(file);
        const auto resolvedRoot = kx::resolvePath(root);
        if (!resolvedFile || !resolvedRoot)
            return std::nullopt;
        relative = fs::path(*resolvedFile).lexically_relative(fs::path(*resolvedRoot));
        if (startsOutside(relative))
            return std::nullopt;
    }
    std::string name = relative.generic_string();
    if (endsWithTextExtension(name))
        name.resize(name.size() - kTextExtension.size());
    std::replace(name.begin(), name.end(), '/', '\\');
    return Kx_String(std::move(name));
}

// The properties of a layout text, and what could not be read.
struct ParsedLayout {
    Kx_PropertiesList list;
    int skippedLines = 0;
    std::string firstProblem;  // "<source>, line <n>: <why>"
    bool unreadable = false;
};

// The value of `name` in `from`, whatever its type, set in `to`.
void copyProperty(const Kx_PropertiesList& from, const Kx_String& name, Kx_PropertiesList& to)
{
    int whole = 0;
    double number = 0;
    Kx_String text;
    if (from.getProperty(name, whole))
        to.setProperty(name, whole);
    else if (from.getProperty(name, number))
        to.setProperty(name, number);
    else if (from.getProperty(name, text))
        to.setProperty(name, text);
}

// A damaged layout keeps what it can: every line is read on its own, a damaged line or a name
// already set is left out (the first setting wins, as a person reading the file top-down would
// expect), and the first problem is kept for the message. Linear in the size of the text.
void salvageLines(std::string_view text, std::string_view source, ParsedLayout& out)
{
    const std::string_view start = text.substr(0, 2);
    if (start == "\xFF\xFE" || start == "\xFE\xFF") {
        out.unreadable = true;
        out.firstProblem = std::string(source) + ": the file is UTF-16 text; layout files are UTF-8";
        return;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const auto problem = [&](size_t lineNumber, const std::string& why) {
        ++out.skippedLines;
        if (out.firstProblem.empty())
            out.firstProblem = std::string(source) + ", line " + std::to_string(lineNumber) + ": " + why;
    };
    const std::string lineOnePrefix = std::string(source) + ", line 1: ";
    size_t pos = 0;
    size_t lineNumber = 0;
    Kx_PropertiesList one;
    std::string error;
    while (pos < text.size()) {
        ++lineNumber;
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;

        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#')
            continue;
        if (line.size() > kx::kMaxTextLineBytes) {
            problem(lineNumber, "the line has more than " + std::to_string(kx::kMaxTextLineBytes) + " bytes");
            continue;
        }
        if (!one.readFromText(line, source, error)) {
            problem(lineNumber, error.rfind(lineOnePrefix, 0) == 0 ? error.substr(lineOnePrefix.size()) : error);
            continue;
        }
        for (const Kx_String& name : one.getNames()) {
            if (out.list.hasProperty(name))
                problem(lineNumber, "the name \"" + name.str() + "\" is set twice");
            else
                copyProperty(one, name, out.list);
        }
    }
}

ParsedLayout parseLayoutText(std::string_view text, std::string_view source)
{
    ParsedLayout out;
    std::string error;
    if (!out.list.readFromText(text, source, error))
        salvageLines(text, source, out);
    return out;
}

// Control indices of the seven per-control keys ("type12" -> 12); -1 for other names, and for
// indices written with padding ("type012"), which the writer never produces.
int controlIndexOf(const std::string& name)
{
    static constexpr std::string_view kKeys[] = {"type",         "topLeftX", "topLeftY", "bottomRightX",
                                                 "bottomRightY", "contents", "comboList"};
    for (std::string_view key : kKeys) {
        if (name.size() <= key.size() || name.compare(0, key.size(), key) != 0)
            continue;
        const std::string_view digits = std::string_view(name).substr(key.size());
        if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0'))
            return -1;
        int index = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return -1;
            index = index * 10 + (c - '0');
        }
        return index;
    }
    return -1;
}

bool readCount(const Kx_PropertiesList& list, int& count)
{
    if (list.getProperty(kCountKey, count))
        return true;
    Kx_String text;
    return list.getProperty(kCountKey, text) && text.toInt(count);
}

// The number of controls to read: the declared count, but never more than the file describes
// (one past the highest index any control key has) nor kMaxLayoutControls, so that a count of
// 2^31 costs nothing.
int controlCount(const Kx_PropertiesList& list)
{
    int declared = 0;
    if (!readCount(list, declared) || declared <= 0)
        return 0;
    int described = 0;
    for (const Kx_String& name : list.getNames()) {
        const int index = controlIndexOf(name.str());
        if (index >= 0 && index < declared)
            described = std::max(described, index + 1);
    }
    return std::min({declared, described, kxdesigner::kMaxLayoutControls});
}

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

// Replaces the layout's controls by those the list describes.
void loadControls(Kx_DlgDesignerData::State& s, const Kx_PropertiesList& list)
{
    const int count = controlCount(list);
    std::vector<Kx_DesignerControl> controls;
    controls.reserve(static_cast<size_t>(count));
    // The list starts empty, so append would hand out the range in order: the same ids, without
    // searching the list for each control.
    const long long span =
        (s.firstId >= 1 && s.lastId >= s.firstId) ? static_cast<long long>(s.lastId) - s.firstId + 1 : 0;
    for (int i = 0; i < count; ++i) {
        Kx_DesignerControl ctrl;
        ctrl.getFromPropList(list, i);
        ctrl.setResourceId(i < span ? s.firstId + i : 0);
        controls.push_back(std::move(ctrl));
    }
    s.controls = std::move(controls);
    // Another layout: the steps of the one before cannot be undone into it.
    s.history = kxdesigner::History{};
    s.pictureBytes.reset();
}

// The properties a layout file holds, in the order they are written.
Kx_PropertiesList layoutProperties(const Kx_DlgDesignerData::State& s)
{
    Kx_PropertiesList list;
    list.setProperty(kCountKey, static_cast<int>(s.controls.size()));
    for (size_t i = 0; i < s.controls.size(); ++i)
        s.controls[i].setToPropList(list, static_cast<int>(i));
    return list;
}

} // namespace

Kx_String getDesignerRootFolder()
{
    Kx_String root = Kx_Settings::libDir();
    root.append("Dialog Templates\\Dialog Design\\");
    return root;
}

bool getModuleImages(Kx_StringArray& names)
{
    names.removeAll();
    const Kx_String root = getDesignerRootFolder();
    Kx_StringArray paths;
    if (!ObjectExportFindFilesRecursive(root, "*.txt", paths))
        return false;
    for (const Kx_String& path : paths) {
        // A file that is a link out of the root cannot be read as a layout: it is not listed.
        if (auto file = kxdesigner::resolveLayoutFile(path))
            names.append(file->name);
    }
    return true;
}

bool GetImageDlgCtrlNames(const Kx_String& path, Kx_StringArray& names)
{
    Kx_DlgDesignerData layout;
    if (!layout.readFromFile(path, /*withPicture=*/false)) {
        names.removeAll();
        return false;
    }
    layout.getAllCtrlNames(names);
    return true;
}

namespace kxdesigner {

std::optional<LayoutFile> resolveLayoutFile(const Kx_String& pathOrName)
{
    try {
        const Kx_String root = getDesignerRootFolder();
        const std::optional<std::string> nativeRoot = kx::toNativePath(root.view());
        const std::optional<std::string> native = kx::toNativePath(pathOrName.view());
        if (!nativeRoot || !native || native->back() == '/')
            return std::nullopt;
        LayoutFile file;
        if (native->front() == '/') {
            file.text = *native;
        } else {
            if (hasDriveLetter(*native))
                return std::nullopt;
            file.text = withoutTrailingSlashes(*nativeRoot) + "/" + *native;
        }
        if (!endsWithTextExtension(file.text))
            file.text += kTextExtension;
        file.text = existingSpelling(file.text);
        file.picture = file.text.substr(0, file.text.size() - kTextExtension.size());
        file.picture += kPictureExtension;
        file.picture = existingSpelling(file.picture);
        if (!isPathUnderRoot(root, Kx_String(file.text)) || !isPathUnderRoot(root, Kx_String(file.picture)))
            return std::nullopt;
        std::optional<Kx_String> name = layoutNameOf(file.text, withoutTrailingSlashes(*nativeRoot));
        if (!name || name->isEmpty())
            return std::nullopt;
        file.name = std::move(*name);
        return file;
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace kxdesigner

// --- Kx_DlgDesignerData: files ---------------------------------------------------------------------

bool Kx_DlgDesignerData::readFromText(std::string_view text, std::string_view sourceName, int* skippedLines)
{
    try {
        const ParsedLayout parsed = parseLayoutText(text, sourceName);
        if (!parsed.firstProblem.empty())
            acutPrintf("*Error* %s.\n", parsed.firstProblem.c_str());
        if (skippedLines)
            *skippedLines = parsed.skippedLines;
        if (parsed.unreadable)
            return false;
        loadControls(*m_state, parsed.list);
        return true;
    } catch (...) {
        acutPrintf("*Error* Cannot read layout %s: out of memory.\n", std::string(sourceName).c_str());
        return false;
    }
}

std::string Kx_DlgDesignerData::toText() const
{
    try {
        return layoutProperties(*m_state).toText();
    } catch (...) {
        return {};
    }
}

bool Kx_DlgDesignerData::readFromFile(const Kx_String& path, bool withPicture)
{
    Kx_LayoutReadReport report;
    return readFromFile(path, withPicture, report);
}

bool Kx_DlgDesignerData::readFromFile(const Kx_String& path, bool withPicture, Kx_LayoutReadReport& report)
{
    using Status = Kx_LayoutReadReport::Status;
    report = Kx_LayoutReadReport{};
    try {
        const std::optional<kxdesigner::LayoutFile> file = kxdesigner::resolveLayoutFile(path);
        if (!file) {
            report.status = Status::OutsideRoot;
            report.message = "\"" + path.str() + "\" does not lie in the layout folder \""
                + getDesignerRootFolder().str() + "\"";
            return false;
        }
        if (!fileExists(Kx_String(file->text))) {
            report.status = Status::NotFound;
            report.message = "\"" + file->text + "\" does not exist";
            return false;
        }
        std::string bytes;
        std::string error;
        if (!kx::readFileBytes(file->text, kx::kMaxTextFileBytes, bytes, error)) {
            acutPrintf("*Error* %s.\n", error.c_str());
            report.status = Status::Unreadable;
            report.message = error;
            return false;
        }
        const ParsedLayout parsed = parseLayoutText(bytes, file->text);
        if (!parsed.firstProblem.empty())
            acutPrintf("*Error* %s.\n", parsed.firstProblem.c_str());
        if (parsed.unreadable) {
            report.status = Status::Unreadable;
            report.message = parsed.firstProblem;
            return false;
        }
        // From here on the layout takes the file.
        m_state->name = file->name;
        loadControls(*m_state, parsed.list);
        report.status = parsed.skippedLines > 0 ? Status::Salvaged : Status::Read;
        report.message = parsed.firstProblem;
        report.skippedLines = parsed.skippedLines;
        if (withPicture) {
            report.picturePath = file->picture;
            report.pictureAttached = attachBitmap(Kx_String(file->picture));
        }
        return true;
    } catch (...) {
        acutPrintf("*Error* Cannot read layout \"%s\": out of memory.\n", path.c_str());
        report.status = Status::Unreadable;
        report.message = "out of memory";
        return false;
    }
}

bool Kx_DlgDesignerData::attachBitmap(const Kx_String& path)
{
    const std::optional<std::string> native = kx::toNativePath(path.view());
    if (!native || !fileExists(path))
        return false;
    std::string error;
    CBitmap picture;
    if (!picture.Attach(kxwin::loadBitmapFile(*native, &error))) {
        acutPrintf("*Error* Cannot read picture \"%s\": %s.\n", native->c_str(), error.c_str());
        return false;
    }
    const SIZE size = picture.size();
    if (size.cx <= 0 || size.cy <= 0)
        return false;
    State& s = *m_state;
    s.picture = std::move(picture);
    // The mask is made when first asked for (getPictureMask): painting leaves white out by colour,
    // and making it took a quarter of the time of reading a page's layout.
    s.mask.DeleteObject();
    s.width = size.cx;
    s.height = size.cy;
    return true;
}

bool Kx_DlgDesignerData::writeToFile(const Kx_String& path)
{
    State& s = *m_state;
    try {
        const std::optional<kxdesigner::LayoutFile> file = kxdesigner::resolveLayoutFile(path);
        if (!file) {
            acutPrintf("*Error* Cannot save layout \"%s\": it does not lie in the layout folder \"%s\".\n", path.c_str(),
                       getDesignerRootFolder().c_str());
            return false;
        }
        if (!s.controls.empty() && s.drawn.size() == s.controls.size())
            getSizeFromAllControls();
        // A new sub-folder of the root is made on the way (the path is already known to stay inside).
        ObjectExportCreateDirectory(Kx_String(fs::path(file->text).parent_path().string()));
        const Kx_PropertiesList list = layoutProperties(s);
        const std::string text = list.toText();

        // The picture goes first: until the text is saved, the layout file (old or absent) never
        // names a picture that is part-written, and a new layout has no text file yet.
        std::optional<std::string> sourcePicture;
        if (!s.name.isEmpty()) {
            if (auto old = kxdesigner::resolveLayoutFile(s.name); old && fileExists(Kx_String(old->picture)))
                sourcePicture = old->picture;
        }
        bool pictureReplaced = false;
        std::optional<std::string> previousPicture;
        // Puts the target's picture back as it was before this save: its old bytes, or no file.
        const auto restorePicture = [&] {
            const Kx_String picture(file->picture);
            std::string onDisk;
            std::string error;
            if (!previousPicture) {
                if (fileExists(picture))
                    deleteFile(picture);
            } else if (!kx::readFileBytes(file->picture, kMaxPictureFileBytes, onDisk, error)
                       || onDisk != *previousPicture) {
                if (!kx::saveFileAtomically(file->picture, *previousPicture, &error))
                    acutPrintf("*Error* %s.\n", error.c_str());
            }
        };
        if (sourcePicture && !sameFile(*sourcePicture, file->picture)) {
            if (fileExists(Kx_String(file->picture))) {
                std::string bytes;
                std::string error;
                if (!kx::readFileBytes(file->picture, kMaxPictureFileBytes, bytes, error)) {
                    acutPrintf("*Error* Cannot save layout \"%s\": %s.\n", file->text.c_str(), error.c_str());
                    return false;
                }
                previousPicture = std::move(bytes);
            }
            pictureReplaced = true;
            // A copy that failed after its rename (the folder could not be synced) has already
            // replaced the picture: it goes back too.
            if (!copyFile(Kx_String(*sourcePicture), Kx_String(file->picture))) {
                restorePicture();
                return false;
            }
        }

        if (list.writeToFile(Kx_String(file->text))) {
            s.name = file->name;
            return true;
        }
        // The text did not make it. When its rename went through (only the final sync failed),
        // text and picture are both new and stay; otherwise the picture goes back to what it was.
        if (pictureReplaced) {
            std::string onDisk;
            std::string error;
            const bool textIsNew = kx::readFileBytes(file->text, kx::kMaxTextFileBytes, onDisk, error) && onDisk == text;
            if (!textIsNew)
                restorePicture();
        }
        return false;
    } catch (...) {
        acutPrintf("*Error* Cannot save layout \"%s\": out of memory.\n", path.c_str());
        return false;
    }
}
