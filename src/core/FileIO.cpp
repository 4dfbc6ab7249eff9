// FileIO: bounded reading, line splitting, atomic writing, searching, copying and folder making.
#include "core/FileIO.h"

#include "core/Paths.h"
#include "core/SaveFile.h"
#include "platform/host/CommandLine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string systemReason(int err) { return std::generic_category().message(err); }

std::string quoted(std::string_view path)
{
    std::string out = "\"";
    out += path;
    out += '"';
    return out;
}

void printError(const std::string& message) { acutPrintf("*Error* %s.\n", message.c_str()); }

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Opens path for reading without blocking on a FIFO or taking a terminal; -1 with errno.
int openForReading(const std::string& native)
{
    return ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
}

bool isUtf16(std::string_view text)
{
    return text.size() >= 2
        && ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF'));
}

bool startsWithUtf8Bom(std::string_view text) { return text.substr(0, 3) == "\xEF\xBB\xBF"; }

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Length of the UTF-8 sequence that starts at name[i], at least 1, never past the end.
size_t characterLength(std::string_view name, size_t i)
{
    size_t n = 1;
    while (i + n < name.size() && (static_cast<unsigned char>(name[i + n]) & 0xC0) == 0x80 && n < 4)
        ++n;
    return n;
}

// The separator a caller's folder uses, so that results come back in the caller's style.
char separatorOf(std::string_view folder)
{
    const size_t last = folder.find_last_of("/\\");
    return last == std::string_view::npos ? '/' : folder[last];
}

std::string withSeparator(std::string_view folder, char separator)
{
    std::string out(folder);
    if (!out.empty() && out.back() != '/' && out.back() != '\\')
        out += separator;
    return out;
}

} // namespace

namespace kx {

bool readFileBytes(std::string_view path, std::size_t maxBytes, std::string& bytes, std::string& error)
{
    const std::string prefix = "Cannot read " + quoted(path) + ": ";
    const std::optional<std::string> native = toNativePath(path);
    if (!native) {
        error = prefix + "the file name is empty or holds a NUL byte";
        return false;
    }
    const Descriptor fd(openForReading(*native));
    if (fd.get() < 0) {
        error = prefix + systemReason(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        error = prefix + systemReason(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = prefix + "it is not a regular file";
        return false;
    }
    const auto tooLarge = [&](unsigned long long size) {
        error = prefix + "the file has " + std::to_string(size) + " bytes, more than the limit of "
            + std::to_string(maxBytes);
        return false;
    };
    if (static_cast<unsigned long long>(st.st_size) > maxBytes)
        return tooLarge(static_cast<unsigned long long>(st.st_size));

    // Read to the end rather than trusting the size: the file may grow while we read, and the
    // limit must hold for what we really take in.
    std::string buffer;
    buffer.resize(std::min<size_t>(static_cast<size_t>(st.st_size), maxBytes) + 1);
    size_t used = 0;
    for (;;) {
        if (used == buffer.size()) {
            if (buffer.size() > maxBytes)
                return tooLarge(used);
            buffer.resize(std::min(buffer.size() * 2, maxBytes + 1));
        }
        const ssize_t n = ::read(fd.get(), buffer.data() + used, buffer.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = prefix + systemReason(errno);
            return false;
        }
        if (n == 0)
            break;
        used += static_cast<size_t>(n);
    }
    if (used > maxBytes)
        return tooLarge(used);
    buffer.resize(used);
    bytes = std::move(buffer);
    return true;
}

bool splitTextLines(std::string_view text, std::size_t maxLineBytes, Kx_StringArray& lines, std::string& error)
{
    if (isUtf16(text)) {
        error = "the file is UTF-16 text; only UTF-8 and single-byte text can be read";
        return false;
    }
    if (startsWithUtf8Bom(text))
        text.remove_prefix(3);

    const char* const data = text.data();
    const size_t size = text.size();
    std::vector<Kx_String> out;
    out.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);

    // The next CR and LF are each found once with memchr (vectorised) and reused until the scan
    // passes them, so a file without CRs costs one extra pass, not one per line.
    size_t nextLf = 0;
    size_t nextCr = 0;
    const auto findFrom = [&](char c, size_t from) {
        const void* hit = std::memchr(data + from, c, size - from);
        return hit ? static_cast<size_t>(static_cast<const char*>(hit) - data) : size;
    };
    if (size > 0) {
        nextLf = findFrom('\n', 0);
        nextCr = findFrom('\r', 0);
    }
    size_t pos = 0;
    while (pos < size) {
        if (nextLf < pos)
            nextLf = findFrom('\n', pos);
        if (nextCr < pos)
            nextCr = findFrom('\r', pos);
        const size_t end = std::min(nextLf, nextCr);
        if (end - pos > maxLineBytes) {
            error = "line " + std::to_string(out.size() + 1) + " has more than " + std::to_string(maxLineBytes)
                + " bytes";
            return false;
        }
        out.emplace_back(std::string_view(data + pos, end - pos));
        if (end == size)
            break;
        pos = end + 1;
        if (data[end] == '\r' && pos < size && data[pos] == '\n')
            ++pos;
    }
    lines.items() = std::move(out);
    return true;
}

bool readTextLines(std::string_view path, Kx_StringArray& lines, std::string& error, std::size_t maxFileBytes,
                   std::size_t maxLineBytes)
{
    try {
        std::string bytes;
        if (!readFileBytes(path, maxFileBytes, bytes, error))
            return false;
        Kx_StringArray read;
        if (!splitTextLines(bytes, maxLineBytes, read, error)) {
            error = "Cannot read " + quoted(path) + ": " + error;
            return false;
        }
        lines = std::move(read);
        return true;
    } catch (const std::bad_alloc&) {
        error = "Cannot read " + quoted(path) + ": out of memory";
        return false;
    }
}

bool matchesPattern(std::string_view name, std::string_view pattern)
{
    // Greedy match with one backtrack point: the last '*' seen. Linear in practice, at worst
    // name length times pattern length.
    size_t n = 0;
    size_t p = 0;
    size_t starP = std::string_view::npos;
    size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            n += characterLength(name, n);
            ++p;
        } else if (p < pattern.size() && asciiLower(pattern[p]) == asciiLower(name[n])) {
            ++n;
            ++p;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            starN += characterLength(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace kx

bool ObjectExportReadFile(const Kx_String& path, Kx_StringArray& lines)
{
    std::string error;
    if (kx::readTextLines(path.view(), lines, error))
        return true;
    printError(error);
    return false;
}

bool ObjectExportWriteFile(const Kx_String& path, const Kx_StringArray& lines)
{
    try {
        const std::string prefix = "Cannot write " + quoted(path.view()) + ": ";
        size_t total = 0;
        for (int i = 0; i < lines.length(); ++i) {
            const std::string& line = lines[i].str();
            if (line.find_first_of("\r\n") != std::string::npos) {
                printError(prefix + "line " + std::to_string(i + 1) + " holds a line break");
                return false;
            }
            if (line.size() > kx::kMaxTextLineBytes) {
                printError(prefix + "line " + std::to_string(i + 1) + " has more than "
                           + std::to_string(kx::kMaxTextLineBytes) + " bytes");
                return false;
            }
            total += line.size() + 1;
        }
        // A first line that itself begins like a byte-order mark would lose it (UTF-8) or make
        // the file unreadable (UTF-16) on reading; a mark of our own in front keeps it whole.
        const bool markFirst = lines.length() > 0
            && (startsWithUtf8Bom(lines[0].view()) || isUtf16(lines[0].view()));
        if (markFirst)
            total += 3;
        if (total > kx::kMaxTextFileBytes) {
            printError(prefix + "the text has " + std::to_string(total) + " bytes, more than the limit of "
                       + std::to_string(kx::kMaxTextFileBytes));
            return false;
        }
        std::string bytes;
        bytes.reserve(total);
        if (markFirst)
            bytes += "\xEF\xBB\xBF";
        for (const Kx_String& line : lines) {
            bytes += line.view();
            bytes += '\n';
        }
        return kx::saveFileAtomically(path.str(), bytes);
    } catch (const std::bad_alloc&) {
        printError("Cannot write " + quoted(path.view()) + ": out of memory");
        return false;
    }
}

namespace {

bool findFiles(const Kx_String& folder, const Kx_String& pattern, Kx_StringArray& paths, bool recursive)
{
    paths.removeAll();
    try {
        const std::optional<std::string> native = kx::toNativePath(folder.view());
        if (!native)
            return false;
        const char separator = separatorOf(folder.view());
        const std::string base = withSeparator(folder.view(), separator);
        const fs::path root(*native);
        std::vector<std::string> names;
        std::error_code ec;

        if (!recursive) {
            fs::directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
            if (ec)
                return false;
            for (; it != fs::directory_iterator(); it.increment(ec)) {
                std::error_code typeEc;
                const std::string name = it->path().filename().native();
                if (it->is_regular_file(typeEc) && kx::matchesPattern(name, pattern.view()))
                    names.push_back(name);
            }
        } else {
            // Deep enough for any library; shallow enough that a pathological tree cannot run on.
            constexpr int kMaxDepth = 64;
            fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
            if (ec)
                return false;
            for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
                if (it.depth() >= kMaxDepth)
                    it.disable_recursion_pending();
                std::error_code typeEc;
                if (!it->is_regular_file(typeEc)
                    || !kx::matchesPattern(it->path().filename().native(), pattern.view()))
                    continue;
                std::string relative = it->path().lexically_relative(root).native();
                if (separator != '/')
                    std::replace(relative.begin(), relative.end(), '/', separator);
                names.push_back(std::move(relative));
            }
        }
        if (ec)
            return false;
        std::sort(names.begin(), names.end());
        Kx_StringArray found;
        found.setPhysicalLength(static_cast<int>(names.size()));
        for (const std::string& name : names)
            found.append(Kx_String(base + name));
        paths = std::move(found);
        return true;
    } catch (...) {
        paths.removeAll();
        return false;
    }
}

} // namespace

bool ObjectExportFindFiles(const Kx_String& folder, const Kx_String& pattern, Kx_StringArray& paths)
{
    return findFiles(folder, pattern, paths, /*recursive=*/false);
}

bool ObjectExportFindFilesRecursive(const Kx_String& folder, const Kx_String& pattern, Kx_StringArray& paths)
{
    return findFiles(folder, pattern, paths, /*recursive=*/true);
}

bool ObjectExportGetFileTime(const Kx_String& path, CTime& time)
{
    const std::optional<std::string> native = kx::toNativePath(path.view());
    struct stat st {};
    if (!native || ::stat(native->c_str(), &st) != 0)
        return false;
    time = CTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    return true;
}

bool ObjectExportCreateDirectory(const Kx_String& folder)
{
    try {
        std::optional<std::string> native = kx::toNativePath(folder.view());
        if (!native)
            return false;
        while (native->size() > 1 && native->back() == '/')
            native->pop_back();
        std::error_code ec;
        fs::create_directories(*native, ec);
        std::error_code checkEc;
        return fs::is_directory(*native, checkEc);
    } catch (...) {
        return false;
    }
}

bool deleteFile(const Kx_String& path)
{
    const std::optional<std::string> native = kx::toNativePath(path.view());
    struct stat st {};
    if (!native || ::lstat(native->c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return ::unlink(native->c_str()) == 0;
}

bool fileExists(const Kx_String& path)
{
    const std::optional<std::string> native = kx::toNativePath(path.view());
    struct stat st {};
    return native && ::stat(native->c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool copyFile(const Kx_String& from, const Kx_String& to)
{
    try {
        const std::string prefix = "Cannot copy " + quoted(from.view()) + " to " + quoted(to.view()) + ": ";
        const std::optional<std::string> source = kx::toNativePath(from.view());
        const std::optional<std::string> target = kx::toNativePath(to.view());
        if (!source || !target) {
            printError(prefix + "a file name is empty or holds a NUL byte");
            return false;
        }
        const Descriptor in(openForReading(*source));
        struct stat st {};
        if (in.get() < 0 || ::fstat(in.get(), &st) != 0) {
            printError(prefix + systemReason(errno));
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            printError(prefix + "the source is not a regular file");
            return false;
        }
        // Writing a file onto itself through a temporary would be safe, but reading it while
        // it is replaced is pointless: the result is the file as it is.
        std::error_code ec;
        if (fs::equivalent(*source, *target, ec) && !ec)
            return true;

        std::string error;
        const bool saved = kx::saveFileAtomically(
            *target,
            [&](kx::ByteSink& sink) {
                std::vector<char> chunk(size_t{1} << 20);
                for (;;) {
                    const ssize_t n = ::read(in.get(), chunk.data(), chunk.size());
                    if (n < 0 && errno == EINTR)
                        continue;
                    if (n < 0) {
                        sink.fail("reading " + quoted(from.view()) + " failed (" + systemReason(errno) + ")");
                        return false;
                    }
                    if (n == 0)
                        return true;
                    if (!sink.write(std::string_view(chunk.data(), static_cast<size_t>(n))))
                        return false;
                }
            },
            &error);
        if (!saved)
            printError(prefix + error);
        return saved;
    } catch (...) {
        printError("Cannot copy " + quoted(from.view()) + ": out of memory");
        return false;
    }
}
