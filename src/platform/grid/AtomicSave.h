// Private to the grid: saving bytes so that the target holds its old bytes or all the new ones.
// The same routine as the core module's save (temporary file in the target's folder, write, sync,
// close, rename, sync the folder), kept here because the grid sits below the core module. The
// file-system calls go through a seam that tests make fail at any step.
#pragma once

#include "platform/grid/KxGridExport.h"

#include <cerrno>
#include <cstddef>
#include <string>
#include <string_view>

namespace kxgrid::detail {

// Exported for the fault tests only; not part of the grid's interface.
class KXGRID_API SaveOps {
public:
    virtual ~SaveOps();
    virtual int openNew(const char* path);
    virtual long write(int fd, const void* data, std::size_t size);
    virtual int sync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
    virtual int openFolder(const char* path);
};

// Installs ops (not owned) for its lifetime.
class KXGRID_API ScopedSaveOps {
public:
    explicit ScopedSaveOps(SaveOps& ops);
    ~ScopedSaveOps();
    ScopedSaveOps(const ScopedSaveOps&) = delete;
    ScopedSaveOps& operator=(const ScopedSaveOps&) = delete;

private:
    SaveOps* m_previous;
};

// Makes the failAt-th call (1-based) fail with `error`; failAt <= 0 counts a clean save.
class KXGRID_API FailingSaveOps : public SaveOps {
public:
    explicit FailingSaveOps(int failAt, int error = EIO) : m_failAt(failAt), m_error(error) {}
    int count() const { return m_count; }
    bool renamed() const { return m_renamed; }
    int openNew(const char* path) override;
    long write(int fd, const void* data, std::size_t size) override;
    int sync(int fd) override;
    int close(int fd) override;
    int rename(const char* from, const char* to) override;
    int unlink(const char* path) override;
    int openFolder(const char* path) override;

private:
    bool fail();
    int m_failAt;
    int m_error;
    int m_count = 0;
    bool m_renamed = false;
};

// False with a message naming the file, the step and the reason. A failure after the rename
// (syncing the folder) leaves the new bytes in place but is still reported.
bool saveAtomically(const std::string& path, std::string_view bytes, std::string& error);

} // namespace kxgrid::detail
