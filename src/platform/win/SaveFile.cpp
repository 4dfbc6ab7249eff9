// SaveFile: temporary file, write, sync, close, rename, sync the folder; undo on any failure.
#include "platform/win/SaveFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <system_error>
#include <vector>

namespace kxwin {

namespace {

FileOps& realOps()
{
    static FileOps ops;
    return ops;
}

// The ops a test installed, or null for the real ones. Saves happen on the UI thread only; the
// atomic keeps a stray background writer from reading a torn pointer.
std::atomic<FileOps*> g_installed{nullptr};

std::string systemReason(int err) { return std::generic_category().message(err); }

// The real file a save replaces and the folder that holds it.
struct Target {
    std::string path;
    std::string folder;
    std::string name;
};

// The folder part of path, with its trailing '/', or empty when path names no folder.
std::string folderPrefix(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows path while it names a symbolic link, as opening it would. A link to a file that does not
// exist yet gives that file's name: saving through it creates the file the link promises.
std::optional<std::string> followLinks(std::string path, std::string& why)
{
    constexpr int kMaxLinks = 40;  // the kernel's own limit (ELOOP)
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        if (links == kMaxLinks) {
            why = "the symbolic link cannot be resolved";
            return std::nullopt;
        }
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        ssize_t n = -1;
        for (int attempt = 0; attempt < 8; ++attempt) {
            n = ::readlink(path.c_str(), target.data(), target.size());
            if (n < 0 || static_cast<size_t>(n) < target.size())
                break;
            target.resize(target.size() * 2);  // the link grew since lstat
        }
        if (n <= 0 || static_cast<size_t>(n) >= target.size()) {
            why = "the symbolic link cannot be resolved";
            return std::nullopt;
        }
        target.resize(static_cast<size_t>(n));
        path = target.front() == '/' ? std::move(target) : folderPrefix(path) + target;
    }
}

std::optional<Target> findTarget(const std::string& path, PathSeparators separators, std::string& why)
{
    if (path.empty() || path.find('\0') != std::string::npos) {
        why = "the file name is empty or holds a NUL byte";
        return std::nullopt;
    }
    std::string native = path;
    if (separators == PathSeparators::AcceptBackslash)
        std::replace(native.begin(), native.end(), '\\', '/');
    // Replace what a link points to, not the link: the user set the link up on purpose, and
    // confinement checks judged the file it names.
    std::optional<std::string> followed = followLinks(std::move(native), why);
    if (!followed)
        return std::nullopt;
    Target t;
    t.path = std::move(*followed);
    const size_t slash = t.path.rfind('/');
    t.name = (slash == std::string::npos) ? t.path : t.path.substr(slash + 1);
    t.folder = (slash == std::string::npos) ? std::string(".") : t.path.substr(0, slash == 0 ? 1 : slash);
    struct stat st {};
    if (t.name.empty() || t.name == "." || t.name == ".."
        || (::stat(t.path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) {
        why = "the name is a folder, not a file";
        return std::nullopt;
    }
    return t;
}

std::string temporaryName(const Target& t)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned long long salt = [] {
        try {
            std::random_device rd;
            return (static_cast<unsigned long long>(rd()) << 32) ^ rd();
        } catch (...) {
            return static_cast<unsigned long long>(::getpid()) * 2654435761ULL;
        }
    }();
    // A dot in front hides the file from listings, and the ".tmp" end keeps it out of every
    // pattern a reader searches ("*.txt", "*.shp"). The name part is cut so that the whole stays
    // below the file system's 255-byte limit.
    constexpr size_t kMaxNamePart = 160;
    char tail[64];
    std::snprintf(tail, sizeof tail, ".%ld-%u-%llx.tmp", static_cast<long>(::getpid()),
                  counter.fetch_add(1), salt);
    std::string name = t.folder == "/" ? "/." : t.folder + "/.";
    name.append(t.name, 0, std::min(t.name.size(), kMaxNamePart));
    name += tail;
    return name;
}

// Whether `entry` is a temporary name temporaryName made for `namePart` (cut as it cuts it), and
// the process id it carries: "." namePart "." pid "-" counter "-" hex salt ".tmp".
std::optional<long> temporaryOwner(std::string_view entry, std::string_view namePart)
{
    const std::string_view prefix = ".";
    if (entry.size() < 1 + namePart.size() + 1 || entry.substr(0, 1) != prefix ||
        entry.substr(1, namePart.size()) != namePart || entry[1 + namePart.size()] != '.')
        return std::nullopt;
    std::string_view rest = entry.substr(namePart.size() + 2);
    if (rest.size() < 4 || rest.substr(rest.size() - 4) != ".tmp")
        return std::nullopt;
    rest.remove_suffix(4);
    const auto digits = [](std::string_view part, bool hex) {
        if (part.empty())
            return false;
        for (const char c : part)
            if (!((c >= '0' && c <= '9') || (hex && c >= 'a' && c <= 'f')))
                return false;
        return true;
    };
    const size_t dash1 = rest.find('-');
    const size_t dash2 = dash1 == std::string_view::npos ? dash1 : rest.find('-', dash1 + 1);
    if (dash2 == std::string_view::npos || rest.find('-', dash2 + 1) != std::string_view::npos)
        return std::nullopt;
    const std::string_view pid = rest.substr(0, dash1);
    if (!digits(pid, false) || pid.size() > 9 || !digits(rest.substr(dash1 + 1, dash2 - dash1 - 1), false) ||
        !digits(rest.substr(dash2 + 1), true))
        return std::nullopt;
    long value = 0;
    for (const char c : pid)
        value = value * 10 + (c - '0');
    return value;
}

// Whether no process with this id runs any more (one that runs under another user still counts).
bool processGone(long pid)
{
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

void removeStaleTemporaries(const Target& t)
{
    constexpr size_t kMaxNamePart = 160;  // as temporaryName cuts it
    const std::string namePart = t.name.substr(0, std::min(t.name.size(), kMaxNamePart));
    DIR* dir = ::opendir(t.folder.c_str());
    if (dir == nullptr)
        return;
    std::vector<std::string> stale;
    while (const dirent* e = ::readdir(dir)) {
        const std::optional<long> owner = temporaryOwner(e->d_name, namePart);
        if (owner && *owner != static_cast<long>(::getpid()) && processGone(*owner))
            stale.emplace_back(e->d_name);
    }
    ::closedir(dir);
    const std::string folder = t.folder == "/" ? std::string("/") : t.folder + "/";
    for (const std::string& name : stale) {
        // Only regular files: a folder or link that happens to carry such a name is not ours.
        struct stat st {};
        const std::string full = folder + name;
        if (::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(full.c_str());
    }
}

class DescriptorSink final : public ByteSink {
public:
    DescriptorSink(FileOps& ops, int fd) : m_ops(ops), m_fd(fd) {}

    bool write(std::string_view bytes) override
    {
        if (m_errno != 0 || !m_reason.empty())
            return false;
        while (!bytes.empty()) {
            const long n = m_ops.write(m_fd, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                m_errno = (n == 0) ? ENOSPC : errno;
                return false;
            }
            bytes.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    }
    void fail(std::string reason) override
    {
        if (m_reason.empty())
            m_reason = reason.empty() ? std::string("the writer stopped") : std::move(reason);
    }

    // The failure in words, or empty.
    std::string failure() const
    {
        if (!m_reason.empty())
            return m_reason;
        if (m_errno != 0)
            return "writing failed (" + systemReason(m_errno) + ")";
        return {};
    }

private:
    FileOps& m_ops;
    int m_fd;
    int m_errno = 0;
    std::string m_reason;
};

bool report(const std::string& path, const std::string& what, std::string& error)
{
    error = "Cannot save \"" + path + "\": " + what;
    return false;
}

bool saveThrough(const std::string& path, const std::function<bool(ByteSink&)>& writer, std::string& error,
                 PathSeparators separators)
{
    FileOps& ops = fileOps();
    std::string why;
    const std::optional<Target> target = findTarget(path, separators, why);
    if (!target)
        return report(path, why, error);

    // What a save killed midway left behind; the old file itself was never touched by it.
    removeStaleTemporaries(*target);

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(*target);
        fd = ops.openNew(temporary.c_str(), 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return report(path,
                      "creating a temporary file in \"" + target->folder + "\" failed (" + systemReason(errno) + ")",
                      error);

    // Until the rename succeeds, leaving this function by any path closes and removes the
    // temporary file, so that no failure (or exception) leaves it behind.
    struct TemporaryGuard {
        FileOps& ops;
        const std::string& name;
        int fd;
        bool renamed = false;
        ~TemporaryGuard()
        {
            if (fd >= 0)
                (void)ops.close(fd);
            if (!renamed)
                (void)ops.unlink(name.c_str());
        }
    } guard{ops, temporary, fd};

    // A replaced file keeps its permission bits; a new one gets the usual 0666 less the umask.
    struct stat old {};
    if (::stat(target->path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        (void)::fchmod(fd, old.st_mode & 07777);

    DescriptorSink sink(ops, fd);
    bool written = false;
    try {
        written = writer(sink);
    } catch (const std::bad_alloc&) {
        sink.fail("out of memory");
    } catch (...) {
        sink.fail("the writer failed");
    }
    if (!written || !sink.failure().empty()) {
        const std::string what = sink.failure();
        return report(path, what.empty() ? std::string("the writer stopped") : what, error);
    }
    if (ops.sync(fd) != 0)
        return report(path, "flushing to disk failed (" + systemReason(errno) + ")", error);
    // The descriptor is released even when close fails; a failed close may mean lost data (NFS,
    // delayed allocation), so it fails the save.
    guard.fd = -1;
    if (ops.close(fd) != 0)
        return report(path, "closing failed (" + systemReason(errno) + ")", error);
    if (ops.rename(temporary.c_str(), target->path.c_str()) != 0)
        return report(path, "replacing the file failed (" + systemReason(errno) + ")", error);
    guard.renamed = true;

    // From here the new bytes are in place; the folder sync makes the rename itself durable.
    const int folderFd = ops.openFolder(target->folder.c_str());
    if (folderFd < 0)
        return report(path, "syncing the folder failed (" + systemReason(errno) + ")", error);
    const int synced = ops.sync(folderFd);
    const int syncErrno = errno;
    (void)ops.close(folderFd);
    // Some file systems cannot sync a folder at all and say so; that is not a lost save.
    if (synced != 0 && syncErrno != EINVAL && syncErrno != EOPNOTSUPP)
        return report(path, "syncing the folder failed (" + systemReason(syncErrno) + ")", error);
    return true;
}

} // namespace

FileOps::~FileOps() = default;

int FileOps::openNew(const char* path, unsigned mode)
{
    return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, static_cast<mode_t>(mode));
}

long FileOps::write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int FileOps::sync(int fd) { return ::fsync(fd); }
int FileOps::close(int fd) { return ::close(fd); }
int FileOps::rename(const char* from, const char* to) { return ::rename(from, to); }
int FileOps::unlink(const char* path) { return ::unlink(path); }
int FileOps::openFolder(const char* path) { return ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

FileOps& fileOps()
{
    FileOps* installed = g_installed.load();
    return installed ? *installed : realOps();
}

ScopedFileOps::ScopedFileOps(FileOps& ops) : m_previous(g_installed.exchange(&ops)) {}
ScopedFileOps::~ScopedFileOps() { g_installed.store(m_previous); }

bool FailingFileOps::shouldFail()
{
    if (++m_count != m_failAt)
        return false;
    m_failed = true;
    errno = m_error;
    return true;
}

int FailingFileOps::openNew(const char* path, unsigned mode)
{
    return shouldFail() ? -1 : FileOps::openNew(path, mode);
}

long FailingFileOps::write(int fd, const void* data, std::size_t size)
{
    return shouldFail() ? -1 : FileOps::write(fd, data, size);
}

int FailingFileOps::sync(int fd) { return shouldFail() ? -1 : FileOps::sync(fd); }

int FailingFileOps::close(int fd)
{
    if (shouldFail()) {
        // As on Linux: the descriptor is gone even though close reports an error.
        (void)FileOps::close(fd);
        errno = m_error;
        return -1;
    }
    return FileOps::close(fd);
}

int FailingFileOps::rename(const char* from, const char* to)
{
    if (shouldFail())
        return -1;
    const int result = FileOps::rename(from, to);
    m_renamed = m_renamed || result == 0;
    return result;
}

int FailingFileOps::unlink(const char* path) { return shouldFail() ? -1 : FileOps::unlink(path); }
int FailingFileOps::openFolder(const char* path) { return shouldFail() ? -1 : FileOps::openFolder(path); }

ByteSink::~ByteSink() = default;

bool saveFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                        PathSeparators separators)
{
    return saveFileAtomically(path, [bytes](ByteSink& sink) { return sink.write(bytes); }, error, separators);
}

bool saveFileAtomically(const std::string& path, const std::function<bool(ByteSink&)>& writer, std::string& error,
                        PathSeparators separators)
{
    try {
        return saveThrough(path, writer, error, separators);
    } catch (...) {
        // Only allocation can throw here; the temporary, if any, is already gone or never made.
        try {
            return report(path, "out of memory", error);
        } catch (...) {
            return false;
        }
    }
}

void removeStaleTemporaryFiles(const std::string& path, PathSeparators separators)
{
    try {
        std::string why;
        if (const std::optional<Target> target = findTarget(path, separators, why))
            removeStaleTemporaries(*target);
    } catch (...) {
        // Tidying up is no part of the caller's job: a failure here changes nothing for it.
    }
}

} // namespace kxwin
