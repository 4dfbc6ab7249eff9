// The registry functions: the table of open key handles, argument, limit and access checks, and the
// store they lead to. SQL and the database file are RegistryStore's business.
#include "platform/win/Registry.h"

#include "platform/win/UserFolders.h"

#include "platform/win/RegistryNames.h"
#include "platform/win/RegistryStore.h"

#include <pthread.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <new>
#include <string>
#include <utility>
#include <vector>

using kxwin::detail::ByteSink;
using kxwin::detail::EnumCursor;
using kxwin::detail::NameSink;
using kxwin::detail::RegistryStore;
using kxwin::detail::StoreName;

namespace {

static_assert(sizeof(void*) == 8, "key handles pack a slot and a generation into 64 bits");

// Open handles are slot numbers with the slot's generation, never pointers: whatever value a caller
// passes is looked up, so a closed, stale or made-up handle is recognised instead of dereferenced.
// A slot's generation changes when it is closed; 31 bits of it keep the predefined root values
// (sign-extended 0x8000000x) out of reach.
constexpr std::uint32_t kGenerationMask = 0x7FFFFFFF;
// A program that opens this many keys without closing them leaks handles; refuse rather than grow.
constexpr std::size_t kMaxOpenKeys = std::size_t{1} << 20;
constexpr std::uint32_t kLocalMachineSlot = 0;
constexpr std::uint32_t kCurrentUserSlot = 1;
constexpr DWORD kRootAccess = KEY_ALL_ACCESS;

struct OpenKey {
    std::int64_t id = 0;
    std::size_t pathChars = 0;
    DWORD access = 0;
    std::uint32_t generation = 1;
    bool open = false;
    EnumCursor subKeys;
    EnumCursor values;
};

struct RegistryState {
    std::mutex mutex;
    std::string pathOverride;
    std::unique_ptr<RegistryStore> store;
    std::vector<OpenKey> keys;
    std::vector<std::uint32_t> freeSlots;
    // Set in a child process forked while the store was open. SQLite keeps per-process lock state
    // that a fork copies but the kernel does not (fcntl locks are not inherited), so the child would
    // believe it holds locks it does not; it must not touch that database at all.
    bool forkedWhileOpen = false;
};

RegistryState& state();

void lockForFork()
{
    state().mutex.lock();
}

void unlockInParent()
{
    state().mutex.unlock();
}

void unlockInChild()
{
    RegistryState& s = state();
    if (s.store && s.store->isOpen())
        s.forkedWhileOpen = true;
    s.mutex.unlock();
}

// Closing at exit lets the last connection checkpoint and remove its WAL file.
void closeAtExit()
{
    RegistryState& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.forkedWhileOpen)
        s.store.reset();
}

// Never destroyed: key handles may be closed from static destructors of other libraries that run
// after this one's; the connection itself is closed by closeAtExit.
RegistryState& state()
{
    static RegistryState* const s = [] {
        auto* made = new RegistryState;
        made->keys.resize(2);
        made->keys[kLocalMachineSlot].id = kxwin::detail::kLocalMachineId;
        made->keys[kCurrentUserSlot].id = kxwin::detail::kCurrentUserId;
        for (OpenKey& root : made->keys) {
            root.access = kRootAccess;
            root.open = true;
        }
        pthread_atfork(lockForFork, unlockInParent, unlockInChild);
        std::atexit(closeAtExit);
        return made;
    }();
    return *s;
}

std::string defaultPath()
{
    const std::string folder = kxwin::userConfigFolder();
    return folder.empty() ? std::string() : folder + "/registry.sqlite3";
}

std::string resolvedPath(const RegistryState& s)
{
    return s.pathOverride.empty() ? defaultPath() : s.pathOverride;
}

LONG openStore(RegistryState& s, RegistryStore** store)
{
    if (s.forkedWhileOpen)
        return ERROR_CANTOPEN;
    if (!s.store)
        s.store = std::make_unique<RegistryStore>(resolvedPath(s));
    if (const LONG result = s.store->open(); result != ERROR_SUCCESS)
        return result;
    *store = s.store.get();
    return ERROR_SUCCESS;
}

HKEY handleOf(std::uint32_t slot, std::uint32_t generation)
{
    return reinterpret_cast<HKEY>((static_cast<std::uintptr_t>(generation) << 32) |
                                  (static_cast<std::uintptr_t>(slot) << 4));
}

// The open key behind a handle, or null. The pointer is valid until the next handle is allocated.
OpenKey* lookup(RegistryState& s, HKEY handle)
{
    if (handle == HKEY_LOCAL_MACHINE)
        return &s.keys[kLocalMachineSlot];
    if (handle == HKEY_CURRENT_USER)
        return &s.keys[kCurrentUserSlot];
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    const auto generation = static_cast<std::uint32_t>(value >> 32);
    const auto slot = static_cast<std::uint32_t>((value & 0xFFFFFFFF) >> 4);
    if ((value & 0xF) != 0 || generation == 0 || generation > kGenerationMask || slot <= kCurrentUserSlot ||
        slot >= s.keys.size())
        return nullptr;
    OpenKey& key = s.keys[slot];
    return key.open && key.generation == generation ? &key : nullptr;
}

LONG allocate(RegistryState& s, std::int64_t id, std::size_t pathChars, DWORD access, HKEY* result)
{
    std::uint32_t slot = 0;
    if (!s.freeSlots.empty()) {
        slot = s.freeSlots.back();
        s.freeSlots.pop_back();
    } else {
        if (s.keys.size() >= kMaxOpenKeys)
            return ERROR_OUTOFMEMORY;
        s.keys.emplace_back();
        slot = static_cast<std::uint32_t>(s.keys.size() - 1);
    }
    OpenKey& key = s.keys[slot];
    const std::uint32_t generation = key.generation;
    key = OpenKey{};
    key.id = id;
    key.pathChars = pathChars;
    key.access = access;
    key.generation = generation;
    key.open = true;
    *result = handleOf(slot, generation);
    return ERROR_SUCCESS;
}

void release(RegistryState& s, OpenKey& key)
{
    key.open = false;
    key.subKeys = {};
    key.values = {};
    key.generation = (key.generation & kGenerationMask) == kGenerationMask ? 1 : key.generation + 1;
    s.freeSlots.push_back(static_cast<std::uint32_t>(&key - s.keys.data()));
}

// A key path checked against the rules and limits, split into components with their folds.
struct KeyPath {
    std::vector<std::string> folds;
    std::vector<StoreName> names;
    // Characters of the whole path below the root, for handles opened on it.
    std::size_t chars = 0;
};

LONG parseKeyPath(LPCSTR subKey, std::size_t baseChars, KeyPath* path)
{
    const std::string_view text = subKey != nullptr ? subKey : "";
    const std::optional<std::size_t> length = kxwin::detail::utf8Length(text);
    if (!length)
        return ERROR_INVALID_PARAMETER;
    const std::optional<std::vector<std::string_view>> parts = kxwin::detail::splitKeyPath(text);
    if (!parts)
        return ERROR_INVALID_PARAMETER;
    const std::size_t relative = *length - (!text.empty() && text.back() == '\\' ? 1 : 0);
    path->chars = baseChars + (baseChars > 0 && relative > 0 ? 1 : 0) + relative;
    if (path->chars > kxwin::detail::kMaxKeyPathChars)
        return ERROR_INVALID_PARAMETER;
    path->folds.reserve(parts->size()); // names point into folds: no reallocation after this
    for (std::string_view part : *parts)
        path->folds.push_back(kxwin::detail::foldName(part));
    for (std::size_t i = 0; i < parts->size(); ++i)
        path->names.push_back({(*parts)[i], path->folds[i]});
    return ERROR_SUCCESS;
}

struct ValueName {
    std::string_view written;
    std::string folded;
};

LONG parseValueName(LPCSTR name, ValueName* parsed)
{
    parsed->written = name != nullptr ? name : "";
    const std::optional<std::size_t> length = kxwin::detail::utf8Length(parsed->written);
    if (!length || *length > kxwin::detail::kMaxValueNameChars)
        return ERROR_INVALID_PARAMETER;
    parsed->folded = kxwin::detail::foldName(parsed->written);
    return ERROR_SUCCESS;
}

// Runs one call under the registry's lock; nothing escapes it as an exception.
template <typename Call>
LONG guarded(Call&& call) noexcept
{
    try {
        RegistryState& s = state();
        std::lock_guard lock(s.mutex);
        return call(s);
    } catch (const std::bad_alloc&) {
        return ERROR_OUTOFMEMORY;
    } catch (...) {
        // Nothing else is expected to throw here; report it as a registry that could not be read.
        return ERROR_CANTREAD;
    }
}

bool isStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

LONG openKey(HKEY hKey, LPCSTR subKey, DWORD samDesired, HKEY* result)
{
    if (result != nullptr)
        *result = nullptr;
    return guarded([&](RegistryState& s) -> LONG {
        if (result == nullptr)
            return ERROR_INVALID_PARAMETER;
        const OpenKey* base = lookup(s, hKey);
        if (base == nullptr)
            return ERROR_INVALID_HANDLE;
        const std::int64_t baseId = base->id;
        KeyPath path;
        if (const LONG r = parseKeyPath(subKey, base->pathChars, &path); r != ERROR_SUCCESS)
            return r;
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        std::int64_t id = 0;
        if (const LONG r = store->findKey(baseId, path.names, &id); r != ERROR_SUCCESS)
            return r;
        return allocate(s, id, path.chars, samDesired, result);
    });
}

} // namespace

LONG RegCreateKeyEx(HKEY hKey, LPCSTR subKey, DWORD /*reserved*/, LPSTR /*cls*/, DWORD options, DWORD samDesired,
                    void* /*security*/, HKEY* result, LPDWORD disposition)
{
    if (result != nullptr)
        *result = nullptr;
    return guarded([&](RegistryState& s) -> LONG {
        if (result == nullptr || options != REG_OPTION_NON_VOLATILE)
            return ERROR_INVALID_PARAMETER;
        const OpenKey* base = lookup(s, hKey);
        if (base == nullptr)
            return ERROR_INVALID_HANDLE;
        if ((base->access & KEY_CREATE_SUB_KEY) == 0)
            return ERROR_ACCESS_DENIED;
        const std::int64_t baseId = base->id;
        KeyPath path;
        if (const LONG r = parseKeyPath(subKey, base->pathChars, &path); r != ERROR_SUCCESS)
            return r;
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        std::int64_t id = 0;
        bool created = false;
        if (const LONG r = store->createKey(baseId, path.names, &id, &created); r != ERROR_SUCCESS)
            return r;
        if (const LONG r = allocate(s, id, path.chars, samDesired, result); r != ERROR_SUCCESS)
            return r;
        if (disposition != nullptr)
            *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    });
}

LONG RegCreateKey(HKEY hKey, LPCSTR subKey, HKEY* result)
{
    return RegCreateKeyEx(hKey, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, result,
                          nullptr);
}

LONG RegOpenKeyEx(HKEY hKey, LPCSTR subKey, DWORD /*options*/, DWORD samDesired, HKEY* result)
{
    return openKey(hKey, subKey, samDesired, result);
}

LONG RegOpenKey(HKEY hKey, LPCSTR subKey, HKEY* result)
{
    return openKey(hKey, subKey, KEY_ALL_ACCESS, result);
}

LONG RegCloseKey(HKEY hKey)
{
    return guarded([&](RegistryState& s) -> LONG {
        if (hKey == HKEY_LOCAL_MACHINE || hKey == HKEY_CURRENT_USER)
            return ERROR_SUCCESS;
        OpenKey* key = lookup(s, hKey);
        if (key == nullptr)
            return ERROR_INVALID_HANDLE;
        release(s, *key);
        return ERROR_SUCCESS;
    });
}

LONG RegSetValueEx(HKEY hKey, LPCSTR name, DWORD /*reserved*/, DWORD type, const BYTE* data, DWORD size)
{
    return guarded([&](RegistryState& s) -> LONG {
        const OpenKey* key = lookup(s, hKey);
        if (key == nullptr)
            return ERROR_INVALID_HANDLE;
        if ((key->access & KEY_SET_VALUE) == 0)
            return ERROR_ACCESS_DENIED;
        if (data == nullptr && size > 0)
            return ERROR_INVALID_PARAMETER;
        if ((type == REG_DWORD && size != 4) || (type == REG_QWORD && size != 8))
            return ERROR_INVALID_PARAMETER;
        ValueName value;
        if (const LONG r = parseValueName(name, &value); r != ERROR_SUCCESS)
            return r;
        // A string without its terminating zero would let a reader run off its buffer's end.
        std::vector<BYTE> terminated;
        if (isStringType(type) && (size == 0 || data[size - 1] != 0)) {
            terminated.assign(data, data + size);
            terminated.push_back(0);
            data = terminated.data();
            size = static_cast<DWORD>(terminated.size());
        }
        if (size > kxwin::detail::kMaxValueBytes)
            return ERROR_INVALID_PARAMETER;
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        return store->setValue(key->id, {value.written, value.folded}, type, data, size);
    });
}

LONG RegQueryValueEx(HKEY hKey, LPCSTR name, LPDWORD /*reserved*/, LPDWORD type, LPBYTE data, LPDWORD size)
{
    return guarded([&](RegistryState& s) -> LONG {
        const OpenKey* key = lookup(s, hKey);
        if (key == nullptr)
            return ERROR_INVALID_HANDLE;
        if ((key->access & KEY_QUERY_VALUE) == 0)
            return ERROR_ACCESS_DENIED;
        if (data != nullptr && size == nullptr)
            return ERROR_INVALID_PARAMETER;
        ValueName value;
        if (const LONG r = parseValueName(name, &value); r != ERROR_SUCCESS)
            return r;
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        return store->queryValue(key->id, value.folded, type, ByteSink{data, size});
    });
}

LONG RegDeleteValue(HKEY hKey, LPCSTR name)
{
    return guarded([&](RegistryState& s) -> LONG {
        const OpenKey* key = lookup(s, hKey);
        if (key == nullptr)
            return ERROR_INVALID_HANDLE;
        if ((key->access & KEY_SET_VALUE) == 0)
            return ERROR_ACCESS_DENIED;
        ValueName value;
        if (const LONG r = parseValueName(name, &value); r != ERROR_SUCCESS)
            return r;
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        return store->deleteValue(key->id, value.folded);
    });
}

LONG RegDeleteKey(HKEY hKey, LPCSTR subKey)
{
    return guarded([&](RegistryState& s) -> LONG {
        const OpenKey* base = lookup(s, hKey);
        if (base == nullptr)
            return ERROR_INVALID_HANDLE;
        if (subKey == nullptr)
            return ERROR_INVALID_PARAMETER;
        KeyPath path;
        if (const LONG r = parseKeyPath(subKey, base->pathChars, &path); r != ERROR_SUCCESS)
            return r;
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        return store->deleteKey(base->id, path.names);
    });
}

LONG RegDeleteTree(HKEY hKey, LPCSTR subKey)
{
    return guarded([&](RegistryState& s) -> LONG {
        const OpenKey* base = lookup(s, hKey);
        if (base == nullptr)
            return ERROR_INVALID_HANDLE;
        const bool keepKey = subKey == nullptr || *subKey == '\0';
        const DWORD needed = DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | (keepKey ? KEY_SET_VALUE : 0);
        if ((base->access & needed) != needed)
            return ERROR_ACCESS_DENIED;
        KeyPath path;
        if (const LONG r = parseKeyPath(subKey, base->pathChars, &path); r != ERROR_SUCCESS)
            return r;
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        return store->deleteTree(base->id, path.names, keepKey);
    });
}

LONG RegEnumKeyEx(HKEY hKey, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD /*reserved*/, LPSTR /*cls*/,
                  LPDWORD /*clsSize*/, void* /*lastWriteTime*/)
{
    return guarded([&](RegistryState& s) -> LONG {
        OpenKey* key = lookup(s, hKey);
        if (key == nullptr)
            return ERROR_INVALID_HANDLE;
        if ((key->access & KEY_ENUMERATE_SUB_KEYS) == 0)
            return ERROR_ACCESS_DENIED;
        if (name == nullptr || nameSize == nullptr)
            return ERROR_INVALID_PARAMETER;
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        return store->enumSubKey(key->id, index, key->subKeys, NameSink{name, nameSize});
    });
}

LONG RegEnumValue(HKEY hKey, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD /*reserved*/, LPDWORD type,
                  LPBYTE data, LPDWORD dataSize)
{
    return guarded([&](RegistryState& s) -> LONG {
        OpenKey* key = lookup(s, hKey);
        if (key == nullptr)
            return ERROR_INVALID_HANDLE;
        if ((key->access & KEY_QUERY_VALUE) == 0)
            return ERROR_ACCESS_DENIED;
        if (name == nullptr || nameSize == nullptr || (data != nullptr && dataSize == nullptr))
            return ERROR_INVALID_PARAMETER;
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        return store->enumValue(key->id, index, key->values, NameSink{name, nameSize}, type,
                                ByteSink{data, dataSize});
    });
}

LONG RegQueryInfoKey(HKEY hKey, LPSTR cls, LPDWORD clsSize, LPDWORD /*reserved*/, LPDWORD subKeys,
                     LPDWORD maxSubKeyLen, LPDWORD maxClassLen, LPDWORD values, LPDWORD maxValueNameLen,
                     LPDWORD maxValueLen, LPDWORD securityDescriptor, void* /*lastWriteTime*/)
{
    return guarded([&](RegistryState& s) -> LONG {
        const OpenKey* key = lookup(s, hKey);
        if (key == nullptr)
            return ERROR_INVALID_HANDLE;
        if ((key->access & KEY_QUERY_VALUE) == 0)
            return ERROR_ACCESS_DENIED;
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        RegistryStore::KeyInfo info;
        if (const LONG r = store->keyInfo(key->id, &info); r != ERROR_SUCCESS)
            return r;
        if (cls != nullptr && clsSize != nullptr && *clsSize > 0)
            cls[0] = '\0';
        for (LPDWORD none : {clsSize, maxClassLen, securityDescriptor})
            if (none != nullptr)
                *none = 0;
        const std::pair<LPDWORD, DWORD> outputs[] = {{subKeys, info.subKeys},
                                                     {maxSubKeyLen, info.maxSubKeyLen},
                                                     {values, info.values},
                                                     {maxValueNameLen, info.maxValueNameLen},
                                                     {maxValueLen, info.maxValueLen}};
        for (const auto& [out, value] : outputs)
            if (out != nullptr)
                *out = value;
        return ERROR_SUCCESS;
    });
}

LONG RegFlushKey(HKEY hKey)
{
    return guarded([&](RegistryState& s) -> LONG {
        if (lookup(s, hKey) == nullptr)
            return ERROR_INVALID_HANDLE;
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        return store->flush();
    });
}

namespace kxwin {

void setRegistryPath(const char* path)
{
    guarded([&](RegistryState& s) -> LONG {
        // Keys of the old store mean nothing in the new one.
        for (std::size_t slot = kCurrentUserSlot + 1; slot < s.keys.size(); ++slot)
            if (s.keys[slot].open)
                release(s, s.keys[slot]);
        for (std::uint32_t root : {kLocalMachineSlot, kCurrentUserSlot}) {
            s.keys[root].subKeys = {};
            s.keys[root].values = {};
        }
        // A forked child keeps the inherited connection untouched; see RegistryState.
        if (!s.forkedWhileOpen)
            s.store.reset();
        s.pathOverride = path != nullptr ? path : "";
        return ERROR_SUCCESS;
    });
}

std::string registryPath()
{
    std::string path;
    guarded([&](RegistryState& s) -> LONG {
        path = s.store ? s.store->path() : resolvedPath(s);
        return ERROR_SUCCESS;
    });
    return path;
}

LONG checkRegistryIntegrity(std::string* problems)
{
    return guarded([&](RegistryState& s) -> LONG {
        RegistryStore* store = nullptr;
        if (const LONG r = openStore(s, &store); r != ERROR_SUCCESS)
            return r;
        return store->checkIntegrity(problems);
    });
}

} // namespace kxwin
