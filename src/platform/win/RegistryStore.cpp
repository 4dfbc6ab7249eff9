// The registry's SQLite store. Keys form a tree of rows (id, parent, name, fold); values hang off a
// key by (key, fold). Names are kept as written and matched through their fold, so "Software" and
// "SOFTWARE" are one key that still enumerates as first written.
//
// Choices, with the measurements behind them (Release build, ext4 on the build machine):
// - WAL journal: readers never wait for a writer, and a commit appends to one file. Two processes
//   writing at once serialise on the WAL write lock; the busy timeout makes the loser wait instead of
//   failing, so neither loses a write.
// - synchronous=NORMAL: a commit is durable against a crash of the process (it is in the WAL file the
//   moment COMMIT returns) but not against a power loss until the next checkpoint or RegFlushKey.
//   FULL syncs the WAL on every commit: RegSetValueEx measured 11 us with NORMAL and 180 us with
//   FULL (bench/win_bench.cpp). The framework's own registry writes lazily too and offers
//   RegFlushKey for the moments that need it.
// - Every statement is prepared once per connection (SQLITE_PREPARE_PERSISTENT) and reset after use:
//   preparing costs more than running a point lookup, and reads are the common case.
// - A read outside a transaction takes and drops a WAL read lock, two fcntl calls that profiled as
//   more than half of a warm read. A single value read cannot avoid that (about 2 us), but a key path
//   is resolved inside one read transaction instead of one per component.
// - Key ids come from AUTOINCREMENT so that an id is never reused: a handle to a deleted key then
//   keeps reporting the deletion instead of silently addressing whatever key was made next.
#include "platform/win/RegistryStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <thread>
#include <utility>

namespace kxwin::detail {

namespace {

// Long enough to ride out another process's burst of commits or a checkpoint, short enough that a
// process holding the lock for good (a debugger stopped in a transaction) shows as a failed call.
constexpr int kBusyTimeoutMs = 10000;
constexpr int kSchemaVersion = 1;

// Key parents reference their key without a cascade: a branch is deleted in one statement and the
// constraint, checked at its end, refuses a delete that would orphan a sub-key. Values go with their
// key.
constexpr const char* kSchema = R"sql(
CREATE TABLE keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER REFERENCES keys(id),
    name TEXT NOT NULL,
    fold TEXT NOT NULL);
CREATE UNIQUE INDEX keys_by_parent ON keys(parent, fold);
CREATE TABLE vals(
    key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
    fold TEXT NOT NULL,
    name TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(key, fold)) WITHOUT ROWID;
INSERT INTO keys(id, parent, name, fold) VALUES
    (1, NULL, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE'),
    (2, NULL, 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER');
PRAGMA user_version = 1;
)sql";

// Indexed by RegistryStore::Statement. The branch walks use UNION, not UNION ALL, so that a damaged
// file whose parents form a loop ends the walk instead of running it forever.
constexpr const char* kStatementSql[] = {
    "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2",
    "INSERT INTO keys(parent, name, fold) VALUES(?1, ?2, ?3)",
    "SELECT 1 FROM keys WHERE id = ?1",
    "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1",
    "DELETE FROM keys WHERE id = ?1",
    "WITH RECURSIVE branch(id) AS (SELECT ?1 UNION SELECT keys.id FROM keys JOIN branch ON keys.parent = branch.id)"
    " DELETE FROM keys WHERE id IN (SELECT id FROM branch)",
    "WITH RECURSIVE branch(id) AS (SELECT id FROM keys WHERE parent = ?1"
    " UNION SELECT keys.id FROM keys JOIN branch ON keys.parent = branch.id)"
    " DELETE FROM keys WHERE id IN (SELECT id FROM branch)",
    "DELETE FROM vals WHERE key = ?1",
    "INSERT INTO vals(key, fold, name, type, data) VALUES(?1, ?2, ?3, ?4, ?5)"
    " ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
    "SELECT type, data FROM vals WHERE key = ?1 AND fold = ?2",
    "DELETE FROM vals WHERE key = ?1 AND fold = ?2",
    "SELECT name, fold FROM keys WHERE parent = ?1 ORDER BY fold LIMIT 1 OFFSET ?2",
    "SELECT name, fold FROM keys WHERE parent = ?1 AND fold > ?2 ORDER BY fold LIMIT 1",
    "SELECT name, fold, type, data FROM vals WHERE key = ?1 ORDER BY fold LIMIT 1 OFFSET ?2",
    "SELECT name, fold, type, data FROM vals WHERE key = ?1 AND fold > ?2 ORDER BY fold LIMIT 1",
    "SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0) FROM keys WHERE parent = ?1",
    "SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0), coalesce(max(length(data)), 0)"
    " FROM vals WHERE key = ?1",
    "BEGIN IMMEDIATE",
    "BEGIN",
    "COMMIT",
    "ROLLBACK",
    "PRAGMA data_version",
};

// What a failure while opening means to the caller: the file is there but not ours, or not usable.
LONG openFailure(int rc)
{
    switch (rc & 0xFF) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return ERROR_BADDB;
    case SQLITE_NOMEM:
        return ERROR_OUTOFMEMORY;
    default:
        return ERROR_CANTOPEN;
    }
}

// Copies bytes out by the framework's protocol: with no buffer only the size is reported; a buffer
// too small is left alone and the size needed reported with ERROR_MORE_DATA.
LONG copyBytes(const void* source, DWORD size, ByteSink out)
{
    if (out.size == nullptr)
        return ERROR_SUCCESS;
    if (out.data == nullptr) {
        *out.size = size;
        return ERROR_SUCCESS;
    }
    if (*out.size < size) {
        *out.size = size;
        return ERROR_MORE_DATA;
    }
    if (size > 0)
        std::memcpy(out.data, source, size);
    *out.size = size;
    return ERROR_SUCCESS;
}

bool nameFits(std::string_view name, NameSink out)
{
    return name.size() < *out.size;
}

void copyName(std::string_view name, NameSink out)
{
    std::memcpy(out.name, name.data(), name.size());
    out.name[name.size()] = '\0';
    *out.size = static_cast<DWORD>(name.size());
}

std::string_view columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    const int size = sqlite3_column_bytes(statement, column);
    return text == nullptr ? std::string_view() : std::string_view(text, static_cast<std::size_t>(size));
}

DWORD columnDword(sqlite3_stmt* statement, int column)
{
    return static_cast<DWORD>(sqlite3_column_int64(statement, column));
}

} // namespace

LONG resultFromSqlite(int rc, bool writing)
{
    switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return ERROR_SUCCESS;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return ERROR_BADDB;
    case SQLITE_NOMEM:
        return ERROR_OUTOFMEMORY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return ERROR_ACCESS_DENIED;
    case SQLITE_CANTOPEN:
        return ERROR_CANTOPEN;
    case SQLITE_TOOBIG:
        return ERROR_INVALID_PARAMETER;
    default:
        return writing ? ERROR_CANTWRITE : ERROR_CANTREAD;
    }
}

// One use of a cached statement: binds, steps, and resets it when the scope ends so that its read
// lock is released and the next use starts clean. Text and blobs are bound without copying; they
// must outlive the use.
class RegistryStore::Use {
public:
    Use(RegistryStore& store, Statement which)
        : m_statement(store.m_statements[which])
    {
    }
    ~Use() { sqlite3_reset(m_statement); }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

    Use& bind(int index, std::int64_t value)
    {
        sqlite3_bind_int64(m_statement, index, value);
        return *this;
    }
    Use& bind(int index, std::string_view text)
    {
        // A null pointer would bind SQL NULL; an empty name is an empty text.
        sqlite3_bind_text(m_statement, index, text.data() ? text.data() : "", static_cast<int>(text.size()),
                          SQLITE_STATIC);
        return *this;
    }
    Use& bindBlob(int index, const BYTE* data, DWORD size)
    {
        if (size == 0)
            sqlite3_bind_zeroblob(m_statement, index, 0);
        else
            sqlite3_bind_blob(m_statement, index, data, static_cast<int>(size), SQLITE_STATIC);
        return *this;
    }
    int step() { return sqlite3_step(m_statement); }
    sqlite3_stmt* row() const { return m_statement; }

private:
    sqlite3_stmt* m_statement;
};

// BEGIN IMMEDIATE takes the write lock up front (waiting out other writers through the busy
// timeout), so that what a transaction reads cannot change before it writes. Rolls back unless
// committed.
class RegistryStore::Transaction {
public:
    explicit Transaction(RegistryStore& store)
        : m_store(store)
    {
    }
    ~Transaction()
    {
        if (m_begun && !sqlite3_get_autocommit(m_store.m_db))
            m_store.run(Rollback, /*writing=*/true);
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    LONG begin()
    {
        const LONG result = m_store.run(Begin, /*writing=*/true);
        m_begun = result == ERROR_SUCCESS;
        return result;
    }
    LONG commit()
    {
        const LONG result = m_store.run(Commit, /*writing=*/true);
        if (result == ERROR_SUCCESS)
            ++m_store.m_changeCount;
        return result;
    }

private:
    RegistryStore& m_store;
    bool m_begun = false;
};

// A deferred transaction for a run of reads, when none is open yet; ends when the scope does.
class RegistryStore::ReadTransaction {
public:
    ReadTransaction(RegistryStore& store, bool wanted)
        : m_store(store)
        , m_open(wanted && sqlite3_get_autocommit(store.m_db) && store.run(BeginRead, /*writing=*/false) == ERROR_SUCCESS)
    {
    }
    ~ReadTransaction()
    {
        if (m_open && !sqlite3_get_autocommit(m_store.m_db))
            m_store.run(Commit, /*writing=*/false);
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    RegistryStore& m_store;
    bool m_open;
};

RegistryStore::RegistryStore(std::string path)
    : m_path(std::move(path))
{
}

RegistryStore::~RegistryStore()
{
    close();
}

void RegistryStore::close()
{
    for (sqlite3_stmt*& statement : m_statements) {
        sqlite3_finalize(statement);
        statement = nullptr;
    }
    // sqlite3_close_v2 cannot fail for want of finalised statements; the last connection to close
    // checkpoints and removes the WAL file.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

LONG RegistryStore::open()
{
    if (m_db != nullptr)
        return ERROR_SUCCESS;
    const LONG result = openConnection();
    if (result != ERROR_SUCCESS)
        close();
    return result;
}

LONG RegistryStore::openConnection()
{
    if (m_path.empty())
        return ERROR_CANTOPEN;
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ignored); // a failure shows when opening
    int rc = sqlite3_open_v2(m_path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc != SQLITE_OK)
        return openFailure(rc);
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    // Two processes opening a new file at once meet in the switch to WAL or in making the schema,
    // where SQLite reports the conflict at once instead of waiting (waiting there could deadlock).
    // Both steps can be repeated, so they are, until the busy timeout has passed.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    auto pause = std::chrono::microseconds(200);
    int version = 0;
    while (true) {
        rc = setUp(&version);
        const int primary = rc & 0xFF;
        if ((primary != SQLITE_BUSY && primary != SQLITE_LOCKED) || std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
    // Tables of another program under our file name are not a registry database, and a newer layout
    // is left alone rather than misread.
    if (rc != SQLITE_OK)
        return (rc & 0xFF) == SQLITE_ERROR ? ERROR_BADDB : openFailure(rc);
    if (version != kSchemaVersion)
        return ERROR_BADDB;
    static_assert(std::size(kStatementSql) == StatementCount, "one SQL text per statement");
    for (int i = 0; i < StatementCount; ++i) {
        rc = sqlite3_prepare_v3(m_db, kStatementSql[i], -1, SQLITE_PREPARE_PERSISTENT, &m_statements[i], nullptr);
        // A statement that does not fit the tables means a database of another layout.
        if (rc != SQLITE_OK)
            return (rc & 0xFF) == SQLITE_ERROR ? ERROR_BADDB : openFailure(rc);
    }
    return ERROR_SUCCESS;
}

int RegistryStore::setUp(int* version)
{
    // The first statement reads the file's header: a file that is not a database fails here.
    int rc = sqlite3_exec(m_db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; PRAGMA foreign_keys = ON;",
                          nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    const auto readVersion = [this](int* out) {
        sqlite3_stmt* statement = nullptr;
        int result = sqlite3_prepare_v2(m_db, "PRAGMA user_version", -1, &statement, nullptr);
        if (result == SQLITE_OK) {
            result = sqlite3_step(statement);
            if (result == SQLITE_ROW)
                *out = sqlite3_column_int(statement, 0);
        }
        sqlite3_finalize(statement);
        return result == SQLITE_ROW ? SQLITE_OK : result;
    };
    if (rc = readVersion(version); rc != SQLITE_OK || *version != 0)
        return rc;
    // Decide under the write lock whether the schema is still missing: another process may be making
    // it at this moment.
    rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = readVersion(version);
    if (rc == SQLITE_OK && *version == 0)
        rc = sqlite3_exec(m_db, kSchema, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        if (!sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return rc;
    }
    return readVersion(version);
}

LONG RegistryStore::run(Statement which, bool writing)
{
    Use use(*this, which);
    return resultFromSqlite(use.step(), writing);
}

LONG RegistryStore::missingKeyResult(std::int64_t key)
{
    Use use(*this, KeyExists);
    const int rc = use.bind(1, key).step();
    if (rc == SQLITE_ROW)
        return ERROR_FILE_NOT_FOUND;
    return rc == SQLITE_DONE ? ERROR_KEY_DELETED : resultFromSqlite(rc, /*writing=*/false);
}

LONG RegistryStore::findKey(std::int64_t base, const std::vector<StoreName>& path, std::int64_t* id)
{
    if (path.empty()) {
        const LONG result = missingKeyResult(base);
        if (result != ERROR_FILE_NOT_FOUND)
            return result;
        *id = base;
        return ERROR_SUCCESS;
    }
    // Outside a transaction, each lookup would take and drop the WAL read lock (two fcntl calls, the
    // larger part of a lookup's cost); one read transaction around the walk takes it once and sees
    // one state of the tree.
    ReadTransaction snapshot(*this, /*wanted=*/path.size() > 1);
    std::int64_t current = base;
    for (const StoreName& part : path) {
        Use use(*this, FindChild);
        const int rc = use.bind(1, current).bind(2, part.folded).step();
        if (rc == SQLITE_ROW) {
            current = sqlite3_column_int64(use.row(), 0);
        } else if (rc == SQLITE_DONE) {
            // Missing at the first step may mean the starting key itself is gone.
            return current == base ? missingKeyResult(base) : ERROR_FILE_NOT_FOUND;
        } else {
            return resultFromSqlite(rc, /*writing=*/false);
        }
    }
    *id = current;
    return ERROR_SUCCESS;
}

LONG RegistryStore::createKey(std::int64_t base, const std::vector<StoreName>& path, std::int64_t* id,
                              bool* created)
{
    *created = false;
    // Most calls find the key in place; only a missing key takes the write lock.
    LONG result = findKey(base, path, id);
    if (result != ERROR_FILE_NOT_FOUND)
        return result;
    Transaction transaction(*this);
    if (result = transaction.begin(); result != ERROR_SUCCESS)
        return result;
    if (result = missingKeyResult(base); result != ERROR_FILE_NOT_FOUND)
        return result;
    std::int64_t current = base;
    bool madeLast = false;
    for (const StoreName& part : path) {
        int rc = SQLITE_DONE;
        {
            Use find(*this, FindChild);
            rc = find.bind(1, current).bind(2, part.folded).step();
            if (rc == SQLITE_ROW)
                current = sqlite3_column_int64(find.row(), 0);
        }
        madeLast = false;
        if (rc == SQLITE_DONE) {
            Use insert(*this, InsertKey);
            rc = insert.bind(1, current).bind(2, part.written).bind(3, part.folded).step();
            if (rc != SQLITE_DONE)
                return resultFromSqlite(rc, /*writing=*/true);
            current = sqlite3_last_insert_rowid(m_db);
            madeLast = true;
        } else if (rc != SQLITE_ROW) {
            return resultFromSqlite(rc, /*writing=*/false);
        }
    }
    if (result = transaction.commit(); result != ERROR_SUCCESS)
        return result;
    *id = current;
    *created = madeLast;
    return ERROR_SUCCESS;
}

LONG RegistryStore::deleteKey(std::int64_t base, const std::vector<StoreName>& path)
{
    Transaction transaction(*this);
    LONG result = transaction.begin();
    if (result != ERROR_SUCCESS)
        return result;
    std::int64_t id = 0;
    if (result = findKey(base, path, &id); result != ERROR_SUCCESS)
        return result;
    if (id == kLocalMachineId || id == kCurrentUserId)
        return ERROR_ACCESS_DENIED;
    {
        Use children(*this, HasChildren);
        const int rc = children.bind(1, id).step();
        if (rc == SQLITE_ROW)
            return ERROR_ACCESS_DENIED;
        if (rc != SQLITE_DONE)
            return resultFromSqlite(rc, /*writing=*/false);
    }
    {
        Use remove(*this, DeleteKeyRow);
        if (const int rc = remove.bind(1, id).step(); rc != SQLITE_DONE)
            return resultFromSqlite(rc, /*writing=*/true);
    }
    return transaction.commit();
}

LONG RegistryStore::deleteTree(std::int64_t base, const std::vector<StoreName>& path, bool keepKey)
{
    Transaction transaction(*this);
    LONG result = transaction.begin();
    if (result != ERROR_SUCCESS)
        return result;
    std::int64_t id = 0;
    if (result = findKey(base, path, &id); result != ERROR_SUCCESS)
        return result;
    if (keepKey) {
        {
            Use branch(*this, DeleteChildren);
            if (const int rc = branch.bind(1, id).step(); rc != SQLITE_DONE)
                return resultFromSqlite(rc, /*writing=*/true);
        }
        Use values(*this, DeleteValuesOfKey);
        if (const int rc = values.bind(1, id).step(); rc != SQLITE_DONE)
            return resultFromSqlite(rc, /*writing=*/true);
    } else {
        if (id == kLocalMachineId || id == kCurrentUserId)
            return ERROR_ACCESS_DENIED;
        Use branch(*this, DeleteBranch);
        if (const int rc = branch.bind(1, id).step(); rc != SQLITE_DONE)
            return resultFromSqlite(rc, /*writing=*/true);
    }
    return transaction.commit();
}

LONG RegistryStore::setValue(std::int64_t key, StoreName name, DWORD type, const BYTE* data, DWORD size)
{
    // One statement in autocommit mode is one transaction; the foreign key refuses a deleted key.
    Use use(*this, SetValue);
    const int rc = use.bind(1, key)
                       .bind(2, name.folded)
                       .bind(3, name.written)
                       .bind(4, static_cast<std::int64_t>(type))
                       .bindBlob(5, data, size)
                       .step();
    if (rc == SQLITE_CONSTRAINT_FOREIGNKEY)
        return ERROR_KEY_DELETED;
    if (rc != SQLITE_DONE)
        return resultFromSqlite(rc, /*writing=*/true);
    ++m_changeCount;
    return ERROR_SUCCESS;
}

LONG RegistryStore::queryValue(std::int64_t key, std::string_view folded, DWORD* type, ByteSink out)
{
    {
        Use use(*this, QueryValue);
        const int rc = use.bind(1, key).bind(2, folded).step();
        if (rc == SQLITE_ROW) {
            const void* data = sqlite3_column_blob(use.row(), 1);
            const auto size = static_cast<DWORD>(sqlite3_column_bytes(use.row(), 1));
            const LONG result = copyBytes(data, size, out);
            if (type != nullptr)
                *type = columnDword(use.row(), 0);
            return result;
        }
        if (rc != SQLITE_DONE)
            return resultFromSqlite(rc, /*writing=*/false);
    }
    return missingKeyResult(key);
}

LONG RegistryStore::deleteValue(std::int64_t key, std::string_view folded)
{
    {
        Use use(*this, DeleteValueRow);
        const int rc = use.bind(1, key).bind(2, folded).step();
        if (rc != SQLITE_DONE)
            return resultFromSqlite(rc, /*writing=*/true);
    }
    if (sqlite3_changes(m_db) == 0)
        return missingKeyResult(key);
    ++m_changeCount;
    return ERROR_SUCCESS;
}

LONG RegistryStore::currentDataVersion(std::int64_t* version)
{
    Use use(*this, DataVersion);
    const int rc = use.step();
    if (rc != SQLITE_ROW)
        return resultFromSqlite(rc, /*writing=*/false);
    *version = sqlite3_column_int64(use.row(), 0);
    return ERROR_SUCCESS;
}

template <typename Emit>
LONG RegistryStore::enumerate(Statement at, Statement after, std::int64_t key, DWORD index, EnumCursor& cursor,
                              Emit&& emit)
{
    // The version and the row come from one snapshot, so the cursor cannot pair a row with a version
    // it was not read under.
    ReadTransaction snapshot(*this, /*wanted=*/true);
    std::int64_t version = 0;
    if (const LONG result = currentDataVersion(&version); result != ERROR_SUCCESS)
        return result;
    const bool continues = cursor.valid && index == cursor.index + 1 && cursor.changeCount == m_changeCount &&
                           cursor.dataVersion == version;
    {
        Use use(*this, continues ? after : at);
        use.bind(1, key);
        if (continues)
            use.bind(2, std::string_view(cursor.folded));
        else
            use.bind(2, static_cast<std::int64_t>(index));
        const int rc = use.step();
        if (rc == SQLITE_ROW) {
            const LONG result = emit(use.row());
            cursor.valid = true;
            cursor.index = index;
            cursor.folded.assign(columnText(use.row(), 1));
            cursor.changeCount = m_changeCount;
            cursor.dataVersion = version;
            return result;
        }
        cursor.valid = false;
        if (rc != SQLITE_DONE)
            return resultFromSqlite(rc, /*writing=*/false);
    }
    const LONG result = missingKeyResult(key);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_NO_MORE_ITEMS : result;
}

LONG RegistryStore::enumSubKey(std::int64_t key, DWORD index, EnumCursor& cursor, NameSink name)
{
    return enumerate(SubKeyAt, SubKeyAfter, key, index, cursor, [&](sqlite3_stmt* row) {
        const std::string_view written = columnText(row, 0);
        if (!nameFits(written, name)) {
            *name.size = static_cast<DWORD>(written.size() + 1);
            return ERROR_MORE_DATA;
        }
        copyName(written, name);
        return ERROR_SUCCESS;
    });
}

LONG RegistryStore::enumValue(std::int64_t key, DWORD index, EnumCursor& cursor, NameSink name, DWORD* type,
                              ByteSink out)
{
    return enumerate(ValueAt, ValueAfter, key, index, cursor, [&](sqlite3_stmt* row) {
        const std::string_view written = columnText(row, 0);
        const void* data = sqlite3_column_blob(row, 3);
        const auto size = static_cast<DWORD>(sqlite3_column_bytes(row, 3));
        if (type != nullptr)
            *type = columnDword(row, 2);
        const bool dataFits = out.size == nullptr || out.data == nullptr || *out.size >= size;
        if (!nameFits(written, name) || !dataFits) {
            *name.size = static_cast<DWORD>(written.size() + 1);
            if (out.size != nullptr)
                *out.size = size;
            return ERROR_MORE_DATA;
        }
        copyName(written, name);
        return copyBytes(data, size, out);
    });
}

LONG RegistryStore::keyInfo(std::int64_t key, KeyInfo* info)
{
    ReadTransaction snapshot(*this, /*wanted=*/true);
    {
        Use use(*this, SubKeyInfo);
        const int rc = use.bind(1, key).step();
        if (rc != SQLITE_ROW)
            return resultFromSqlite(rc, /*writing=*/false);
        info->subKeys = columnDword(use.row(), 0);
        info->maxSubKeyLen = columnDword(use.row(), 1);
    }
    {
        Use use(*this, ValueInfo);
        const int rc = use.bind(1, key).step();
        if (rc != SQLITE_ROW)
            return resultFromSqlite(rc, /*writing=*/false);
        info->values = columnDword(use.row(), 0);
        info->maxValueNameLen = columnDword(use.row(), 1);
        info->maxValueLen = columnDword(use.row(), 2);
    }
    // Counts of zero may mean the key is gone.
    const LONG result = missingKeyResult(key);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

LONG RegistryStore::flush()
{
    // With synchronous=NORMAL, commits reach the WAL file without a sync; syncing that file makes all
    // of them durable. The database file itself is synced by every checkpoint.
    for (const int op : {SQLITE_FCNTL_JOURNAL_POINTER, SQLITE_FCNTL_FILE_POINTER}) {
        sqlite3_file* file = nullptr;
        if (sqlite3_file_control(m_db, "main", op, &file) != SQLITE_OK || file == nullptr ||
            file->pMethods == nullptr)
            continue;
        if (file->pMethods->xSync(file, SQLITE_SYNC_NORMAL) != SQLITE_OK)
            return ERROR_CANTWRITE;
    }
    return ERROR_SUCCESS;
}

LONG RegistryStore::checkIntegrity(std::string* problems)
{
    std::string found;
    for (const char* sql : {"PRAGMA integrity_check", "PRAGMA foreign_key_check"}) {
        sqlite3_stmt* statement = nullptr;
        int rc = sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr);
        while (rc == SQLITE_OK || rc == SQLITE_ROW) {
            rc = sqlite3_step(statement);
            if (rc != SQLITE_ROW)
                break;
            std::string line;
            for (int column = 0; column < sqlite3_column_count(statement); ++column) {
                if (column > 0)
                    line += ' ';
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
                line += text ? text : "NULL";
            }
            if (line != "ok")
                found += std::string(sql) + ": " + line + '\n';
        }
        if (rc != SQLITE_DONE)
            found += std::string(sql) + ": " + sqlite3_errmsg(m_db) + '\n';
        sqlite3_finalize(statement);
    }
    if (problems != nullptr)
        *problems = found;
    return found.empty() ? ERROR_SUCCESS : ERROR_BADDB;
}

} // namespace kxwin::detail
