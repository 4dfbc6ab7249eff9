// Paths: name arithmetic on '\'- or '/'-separated paths and the resolution behind the root check.
#include "core/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <vector>

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

bool hasDriveLetter(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// Index just past the folder part: after the last separator, or after a drive prefix "C:" of a
// drive-relative name, else 0.
size_t fileNameStart(std::string_view path)
{
    for (size_t i = path.size(); i > 0; --i) {
        if (isSeparator(path[i - 1]))
            return i;
    }
    return hasDriveLetter(path) ? 2 : 0;
}

// Position of the extension's dot, or npos. A dot that opens the name (".hidden", "..") is not one.
size_t extensionDot(std::string_view path)
{
    const size_t start = fileNameStart(path);
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot <= start)
        return std::string_view::npos;
    // "." and ".." name folders; their dots are no extension.
    if (path.find_first_not_of('.', start) == std::string_view::npos)
        return std::string_view::npos;
    return dot;
}

std::string joinParts(const std::vector<std::string>& parts)
{
    std::string out;
    for (const std::string& part : parts) {
        out += '/';
        out += part;
    }
    return out.empty() ? std::string("/") : out;
}

void pushPartsReversed(std::string_view path, std::vector<std::string>& pending)
{
    size_t end = path.size();
    while (end > 0) {
        size_t begin = path.rfind('/', end - 1);
        begin = (begin == std::string_view::npos) ? 0 : begin + 1;
        if (end > begin)
            pending.emplace_back(path.substr(begin, end - begin));
        end = (begin == 0) ? 0 : begin - 1;
    }
}

// The target of the link at path, or no value when it cannot be read.
std::optional<std::string> readLink(const std::string& path, off_t sizeHint)
{
    std::string target(static_cast<size_t>(sizeHint > 0 ? sizeHint : 256) + 1, '\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return std::nullopt;
        if (static_cast<size_t>(n) < target.size()) {
            target.resize(static_cast<size_t>(n));
            return target;
        }
        target.resize(target.size() * 2);
    }
    return std::nullopt;
}

} // namespace

Kx_String changeExtension(const Kx_String& path, const Kx_String& ext)
{
    std::string out(removeExtension(path).view());
    std::string_view e = ext.view();
    if (!e.empty() && e.front() == '.')
        e.remove_prefix(1);
    if (!e.empty()) {
        out += '.';
        out += e;
    }
    return Kx_String(std::move(out));
}

Kx_String removeExtension(const Kx_String& path)
{
    const std::string_view p = path.view();
    const size_t dot = extensionDot(p);
    return Kx_String(dot == std::string_view::npos ? p : p.substr(0, dot));
}

Kx_String getFileName(const Kx_String& path)
{
    const std::string_view p = path.view();
    return Kx_String(p.substr(fileNameStart(p)));
}

void getFileName(const Kx_String& path, Kx_String& name) { name = getFileName(path); }

Kx_String getPath(const Kx_String& path)
{
    const std::string_view p = path.view();
    return Kx_String(p.substr(0, fileNameStart(p)));
}

bool isPathUnderRoot(const Kx_String& root, const Kx_String& path)
{
    try {
        const std::optional<std::string> r = kx::resolvePath(root.view());
        const std::optional<std::string> p = kx::resolvePath(path.view());
        if (!r || !p)
            return false;
        if (*r == "/")
            return true;
        return p->size() >= r->size() && p->compare(0, r->size(), *r) == 0
            && (p->size() == r->size() || (*p)[r->size()] == '/');
    } catch (...) {
        return false;
    }
}

namespace kx {

std::optional<std::string> toNativePath(std::string_view path)
{
    if (path.empty() || path.find('\0') != std::string_view::npos)
        return std::nullopt;
    try {
        std::string native(path);
        for (char& c : native) {
            if (c == '\\')
                c = '/';
        }
        return native;
    } catch (...) {
        return std::nullopt;
    }
}

namespace {

std::optional<std::string> resolveParts(std::string_view path)
{
    std::optional<std::string> native = toNativePath(path);
    if (!native)
        return std::nullopt;
    std::vector<std::string> pending;
    pushPartsReversed(*native, pending);
    if (native->front() != '/') {
        std::error_code ec;
        const std::filesystem::path cwd = std::filesystem::current_path(ec);
        if (ec)
            return std::nullopt;
        pushPartsReversed(cwd.native(), pending);
    }

    // Walk the parts as the kernel does, so that ".." after a link climbs from the link's target.
    // Parts that do not exist are kept as plain names: that is the folder a later create makes.
    constexpr int kMaxLinks = 40; // the kernel's own limit (ELOOP)
    int links = 0;
    std::vector<std::string> parts;
    while (!pending.empty()) {
        std::string part = std::move(pending.back());
        pending.pop_back();
        if (part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(std::move(part));
        const std::string candidate = joinParts(parts);
        struct stat st {};
        if (::lstat(candidate.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            continue;
        if (++links > kMaxLinks)
            return std::nullopt;
        std::optional<std::string> target = readLink(candidate, st.st_size);
        if (!target || target->empty())
            return std::nullopt;
        parts.pop_back();
        if (target->front() == '/')
            parts.clear();
        pushPartsReversed(*target, pending);
    }
    return joinParts(parts);
}

} // namespace

std::optional<std::string> resolvePath(std::string_view path)
{
    try {
        return resolveParts(path);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::string> resolveUnderRoot(std::string_view root, std::string_view name)
{
    try {
        std::optional<std::string> nativeRoot = toNativePath(root);
        std::optional<std::string> nativeName = toNativePath(name);
        if (!nativeRoot || !nativeName || nativeName->front() == '/' || hasDriveLetter(*nativeName))
            return std::nullopt;
        std::string joined = *nativeRoot;
        if (joined.back() != '/')
            joined += '/';
        joined += *nativeName;
        if (!isPathUnderRoot(Kx_String(*nativeRoot), Kx_String(joined)))
            return std::nullopt;
        return joined;
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace kx
