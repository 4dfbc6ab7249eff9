// The registry's SQLite store: one database file holding keys and values, its schema, its cached
// statements, and the mapping of SQLite's failures onto the framework's result codes. Handles,
// access rights and argument checks belong to Registry.cpp; this header is private to this folder.
#pragma once

#include "platform/win/WinTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kxwin::detail {

// Database ids of the two roots; every other key gets a fresh id that is never reused, so a handle
// to a deleted key cannot come to address a newer key.
inline constexpr std::int64_t kLocalMachineId = 1;
inline constexpr std::int64_t kCurrentUserId = 2;

// A name as the store takes it: as written, and folded for matching (foldName).
struct StoreName {
    std::string_view written;
    std::string_view folded;
};

// Where the last enumeration of a key stopped. Asking for the next index continues from the last
// name instead of counting from the first, which keeps walking a key of n entries linear; the
// shortcut is taken only while the database is unchanged since, so an index always means the same
// as counting from the start.
struct EnumCursor {
    bool valid = false;
    DWORD index = 0;
    std::string folded;
    std::uint64_t changeCount = 0;
    std::int64_t dataVersion = 0;
};

// Output buffers of the framework's "size in, size out" protocol.
struct ByteSink {
    BYTE* data = nullptr;
    DWORD* size = nullptr;
};
struct NameSink {
    char* name = nullptr;
    DWORD* size = nullptr;
};

class RegistryStore {
public:
    explicit RegistryStore(std::string path);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    const std::string& path() const { return m_path; }
    bool isOpen() const { return m_db != nullptr; }
    // Opens the file (making missing folders), sets up WAL mode and the schema, prepares the
    // statements. Does nothing when already open. ERROR_CANTOPEN, ERROR_BADDB or ERROR_OUTOFMEMORY
    // on failure, after which the store is closed again and the next call retries.
    LONG open();

    // Resolves path components below a key (none: the key itself). ERROR_FILE_NOT_FOUND when one is
    // missing, ERROR_KEY_DELETED when the starting key is gone.
    LONG findKey(std::int64_t base, const std::vector<StoreName>& path, std::int64_t* id);
    // Resolves the components, making the missing ones, in one transaction.
    LONG createKey(std::int64_t base, const std::vector<StoreName>& path, std::int64_t* id, bool* created);
    // Deletes a key that has no sub-keys (ERROR_ACCESS_DENIED when it has some).
    LONG deleteKey(std::int64_t base, const std::vector<StoreName>& path);
    // Deletes a key with its whole branch, or with keepKey only its sub-keys and values.
    LONG deleteTree(std::int64_t base, const std::vector<StoreName>& path, bool keepKey);

    LONG setValue(std::int64_t key, StoreName name, DWORD type, const BYTE* data, DWORD size);
    LONG queryValue(std::int64_t key, std::string_view folded, DWORD* type, ByteSink out);
    LONG deleteValue(std::int64_t key, std::string_view folded);

    LONG enumSubKey(std::int64_t key, DWORD index, EnumCursor& cursor, NameSink name);
    LONG enumValue(std::int64_t key, DWORD index, EnumCursor& cursor, NameSink name, DWORD* type, ByteSink out);
    struct KeyInfo {
        DWORD subKeys = 0;
        DWORD maxSubKeyLen = 0;
        DWORD values = 0;
        DWORD maxValueNameLen = 0;
        DWORD maxValueLen = 0;
    };
    LONG keyInfo(std::int64_t key, KeyInfo* info);

    // Syncs the write-ahead log to disk.
    LONG flush();
    // PRAGMA integrity_check and foreign_key_check; ERROR_BADDB with what they found.
    LONG checkIntegrity(std::string* problems);

private:
    enum Statement : int {
        FindChild,
        InsertKey,
        KeyExists,
        HasChildren,
        DeleteKeyRow,
        DeleteBranch,
        DeleteChildren,
        DeleteValuesOfKey,
        SetValue,
        QueryValue,
        DeleteValueRow,
        SubKeyAt,
        SubKeyAfter,
        ValueAt,
        ValueAfter,
        SubKeyInfo,
        ValueInfo,
        Begin,
        BeginRead,
        Commit,
        Rollback,
        DataVersion,
        StatementCount
    };
    class Use;
    class Transaction;
    class ReadTransaction;

    LONG openConnection();
    // Journal mode, pragmas and the schema (made when missing); an SQLite result code, and the
    // schema version found.
    int setUp(int* version);
    void close();
    // Steps a statement that returns no rows; the mapped result.
    LONG run(Statement which, bool writing);
    // After a lookup found nothing: ERROR_FILE_NOT_FOUND when the key exists, ERROR_KEY_DELETED when not.
    LONG missingKeyResult(std::int64_t key);
    LONG currentDataVersion(std::int64_t* version);
    // Steps to the index-th row of an ordered listing and hands it to emit(sqlite3_stmt*).
    template <typename Emit>
    LONG enumerate(Statement at, Statement after, std::int64_t key, DWORD index, EnumCursor& cursor, Emit&& emit);

    std::string m_path;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statements[StatementCount] = {};
    // Writes committed through this connection; data_version only counts other connections' commits.
    std::uint64_t m_changeCount = 0;
};

// The result code for an SQLite result: success codes give ERROR_SUCCESS, a file that is not a
// database or is corrupt ERROR_BADDB, a lock not obtained within the busy timeout or a failed disk
// access ERROR_CANTWRITE (or ERROR_CANTREAD when only reading).
LONG resultFromSqlite(int rc, bool writing);

} // namespace kxwin::detail
