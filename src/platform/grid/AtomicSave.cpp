// Atomic save: temporary file, write, sync, close, rename, sync the folder; undo on any failure.
#include "platform/grid/AtomicSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <system_error>

namespace kxgrid::detail {

namespace {

SaveOps& realOps()
{
    static SaveOps ops;
    return ops;
}

SaveOps* g_ops = nullptr;

SaveOps& ops() { return g_ops ? *g_ops : realOps(); }

std::string reason(int err) { return std::generic_category().message(err); }

} // namespace

SaveOps::~SaveOps() = default;
int SaveOps::openNew(const char* path) { return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644); }
long SaveOps::write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int SaveOps::sync(int fd) { return ::fsync(fd); }
int SaveOps::close(int fd) { return ::close(fd); }
int SaveOps::rename(const char* from, const char* to) { return ::rename(from, to); }
int SaveOps::unlink(const char* path) { return ::unlink(path); }
int SaveOps::openFolder(const char* path) { return ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

ScopedSaveOps::ScopedSaveOps(SaveOps& o) : m_previous(g_ops) { g_ops = &o; }
ScopedSaveOps::~ScopedSaveOps() { g_ops = m_previous; }

bool FailingSaveOps::fail()
{
    if (++m_count == m_failAt) {
        errno = m_error;
        return true;
    }
    return false;
}
int FailingSaveOps::openNew(const char* p) { return fail() ? -1 : SaveOps::openNew(p); }
long FailingSaveOps::write(int fd, const void* d, std::size_t n) { return fail() ? -1 : SaveOps::write(fd, d, n); }
int FailingSaveOps::sync(int fd) { return fail() ? -1 : SaveOps::sync(fd); }
int FailingSaveOps::close(int fd)
{
    if (fail()) {
        SaveOps::close(fd);  // the descriptor goes either way, as after a real failed close
        errno = EIO;
        return -1;
    }
    return SaveOps::close(fd);
}
int FailingSaveOps::rename(const char* a, const char* b)
{
    if (fail())
        return -1;
    const int r = SaveOps::rename(a, b);
    if (r == 0)
        m_renamed = true;
    return r;
}
int FailingSaveOps::unlink(const char* p) { return fail() ? -1 : SaveOps::unlink(p); }
int FailingSaveOps::openFolder(const char* p) { return fail() ? -1 : SaveOps::openFolder(p); }

bool saveAtomically(const std::string& path, std::string_view bytes, std::string& error)
{
    auto failWith = [&](const std::string& what) {
        error = "Cannot save \"" + path + "\": " + what;
        return false;
    };
    if (path.empty() || path.find('\0') != std::string::npos)
        return failWith("the file name is empty");
    std::string target = path;
    // Replace what a symbolic link points to, keeping the link.
    char resolved[4096];
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (::realpath(path.c_str(), resolved) == nullptr)
            return failWith("the symbolic link cannot be resolved");
        target = resolved;
    }
    if (::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return failWith("it is a folder");
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    static std::atomic<unsigned> counter{0};
    char tail[48];
    std::snprintf(tail, sizeof tail, ".%ld-%u.tmp", static_cast<long>(::getpid()), counter.fetch_add(1));
    const std::string temp = (folder == "/" ? "/." : folder + "/.") + name.substr(0, 160) + tail;

    SaveOps& o = ops();
    const int fd = o.openNew(temp.c_str());
    if (fd < 0)
        return failWith("cannot create a temporary file in the folder (" + reason(errno) + ")");
    auto abandon = [&](const std::string& what) {
        o.unlink(temp.c_str());
        return failWith(what);
    };
    size_t done = 0;
    while (done < bytes.size()) {
        const long n = o.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int err = n == 0 ? ENOSPC : errno;
            o.close(fd);
            return abandon("writing failed (" + reason(err) + ")");
        }
        done += static_cast<size_t>(n);
    }
    if (o.sync(fd) != 0) {
        const int err = errno;
        o.close(fd);
        return abandon("syncing failed (" + reason(err) + ")");
    }
    if (o.close(fd) != 0)
        return abandon("closing failed (" + reason(errno) + ")");
    if (::stat(target.c_str(), &st) == 0)
        ::chmod(temp.c_str(), st.st_mode & 07777);
    if (o.rename(temp.c_str(), target.c_str()) != 0)
        return abandon("renaming the temporary file failed (" + reason(errno) + ")");
    const int dir = o.openFolder(folder.c_str());
    if (dir < 0)
        return failWith("the file was written but the folder could not be synced (" + reason(errno) + ")");
    const bool synced = o.sync(dir) == 0;
    const int err = errno;
    o.close(dir);
    if (!synced)
        return failWith("the file was written but the folder could not be synced (" + reason(err) + ")");
    return true;
}

} // namespace kxgrid::detail
