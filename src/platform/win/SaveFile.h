// SaveFile: the one routine every file of the program is saved through (the core module's files
// and the grid's sheets alike), and the seam beneath it that tests use to make the file system fail
// at any step. It lives in the window layer because that is the lowest library both link. Formats
// and line ends belong to the writers; this file only moves finished bytes safely onto the disk.
#pragma once

#include "platform/win/KxWinExport.h"

#include <cerrno>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kxwin {

// The file-system calls the save routine makes, one virtual call each. Each behaves as the POSIX
// call of the same name: a negative result is a failure with errno set.
class KXWIN_API FileOps {
public:
    virtual ~FileOps();
    // Creates path for writing; fails when it exists (O_CREAT | O_EXCL). Returns a descriptor.
    virtual int openNew(const char* path, unsigned mode);
    virtual long write(int fd, const void* data, std::size_t size);
    virtual int sync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
    // Opens a folder so that it can be synced after a rename. Returns a descriptor.
    virtual int openFolder(const char* path);
};

// The operations in use: the real ones unless a test installed others.
KXWIN_API FileOps& fileOps();

// Installs ops for its lifetime and puts the previous ones back. Does not own ops.
class KXWIN_API ScopedFileOps {
public:
    explicit ScopedFileOps(FileOps& ops);
    ~ScopedFileOps();
    ScopedFileOps(const ScopedFileOps&) = delete;
    ScopedFileOps& operator=(const ScopedFileOps&) = delete;

private:
    FileOps* m_previous;
};

// Counts every operation and makes the failAt-th one (1-based) fail with errno `error`; all others
// are the real calls. failAt <= 0 never fails, which counts the operations of a clean save.
class KXWIN_API FailingFileOps : public FileOps {
public:
    explicit FailingFileOps(int failAt, int error = EIO) : m_failAt(failAt), m_error(error) {}

    int operationCount() const { return m_count; }
    bool hasFailed() const { return m_failed; }
    // True once a rename succeeded: from then on the target holds the new bytes.
    bool hasRenamed() const { return m_renamed; }

    int openNew(const char* path, unsigned mode) override;
    long write(int fd, const void* data, std::size_t size) override;
    int sync(int fd) override;
    int close(int fd) override;
    int rename(const char* from, const char* to) override;
    int unlink(const char* path) override;
    int openFolder(const char* path) override;

private:
    bool shouldFail();

    int m_failAt;
    int m_error;
    int m_count = 0;
    bool m_failed = false;
    bool m_renamed = false;
};

// Where a writer hands its bytes to the save routine piece by piece.
class KXWIN_API ByteSink {
public:
    virtual ~ByteSink();
    // False when the bytes could not be written; the writer should stop then.
    virtual bool write(std::string_view bytes) = 0;
    // The writer gives up for a reason of its own (a source it copies cannot be read); the save
    // fails with that reason.
    virtual void fail(std::string reason) = 0;
};

// How the save reads the file name. Names that travel in the module's data may use '\' between
// folders; the grid takes its file names as the system spells them.
enum class PathSeparators {
    Native,           // the name is used as it is
    AcceptBackslash,  // '\' is a folder separator too, mapped to '/' at the file system
};

// Writes bytes to path so that path holds either its old bytes or all the new ones, whatever
// happens: a unique temporary file in path's folder is written in full, synced and closed (each
// step checked), renamed over path, and the folder is synced. When path is a symbolic link, the
// file it points to is replaced (created when the link dangles) and the link stays. An existing
// file's permission bits are kept.
//
// On failure the temporary file is removed and the old file is untouched, with one exception:
// the rename is the point of no return, so when syncing the folder fails after it, path already
// holds the new bytes, but the save is still reported as failed, because it may not survive a
// power cut; the caller keeps its data and the user can save again.
//
// Failure returns false and sets error to "Cannot save "<path>": " plus the step and the
// system's reason (path as the caller gave it). Nothing is printed.
KXWIN_API bool saveFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                                  PathSeparators separators = PathSeparators::Native);
// The same, with the bytes produced by writer as they come (large copies); writer returns false
// when it stopped early. An exception from writer fails the save; it does not pass through.
KXWIN_API bool saveFileAtomically(const std::string& path, const std::function<bool(ByteSink&)>& writer,
                                  std::string& error, PathSeparators separators = PathSeparators::Native);

// Removes what saves of `path` killed midway left behind: the temporary files saveFileAtomically
// names for that file whose process no longer runs. Nothing else is touched (other files'
// temporaries, those of a running process, anything not named as a temporary). Every save does it
// first; a reader calls it when it opens the file, so stale files go at the next load as well.
KXWIN_API void removeStaleTemporaryFiles(const std::string& path, PathSeparators separators = PathSeparators::Native);

} // namespace kxwin
