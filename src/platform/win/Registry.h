// The desktop framework's registry functions: keys under two roots, typed values, deletion and
// enumeration, kept in one SQLite database file of the user's configuration folder. Window and dialog
// functions live elsewhere in this folder.
//
// Behaviour callers can rely on:
// - Names are UTF-8, compared without regard to case and kept as first written. Key paths use '\'
//   between components; a leading '\' or an empty component is refused, one trailing '\' ignored.
// - Limits: a key path below its root at most 255 characters, a value name at most 16,383
//   characters, a value at most 1 MiB. Beyond them, and for malformed UTF-8, ERROR_INVALID_PARAMETER.
// - A handle that was closed, never issued or belongs to a store since replaced gives
//   ERROR_INVALID_HANDLE; a handle to a key that was deleted since gives ERROR_KEY_DELETED.
// - Every change is its own committed transaction: other processes see it at once, and it survives
//   the writing process being killed. RegFlushKey makes it survive a power loss as well.
// - Sub-keys and values enumerate in order of their names ignoring case. The order holds between
//   calls as long as nobody changes the key; when something does, an index reads the new order.
// - The store is opened on first use. A file that is not a registry database gives ERROR_BADDB, a
//   file that cannot be opened or created ERROR_CANTOPEN; nothing is changed on such failures.
// - The functions may be called from any thread; calls are serialised.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <string>

// The predefined roots, with the framework's handle values. Only these two are kept; the other
// predefined roots are ERROR_INVALID_HANDLE.
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<LONG>(0x80000001u))))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<LONG>(0x80000002u))))

// Value types. The data of any type is kept as given, with two checks: REG_DWORD data must be 4 bytes
// and REG_QWORD data 8 bytes, and REG_SZ/REG_EXPAND_SZ data that does not end with a zero byte gets
// one, so a reader always finds its string terminated.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

// Access rights asked for when a key is opened. Setting and deleting values needs KEY_SET_VALUE,
// reading values KEY_QUERY_VALUE, enumerating sub-keys KEY_ENUMERATE_SUB_KEYS, creating sub-keys
// KEY_CREATE_SUB_KEY; a handle without the right gives ERROR_ACCESS_DENIED. The roots have all rights.
inline constexpr DWORD KEY_QUERY_VALUE = 0x0001;
inline constexpr DWORD KEY_SET_VALUE = 0x0002;
inline constexpr DWORD KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr DWORD KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr DWORD KEY_NOTIFY = 0x0010;
inline constexpr DWORD KEY_CREATE_LINK = 0x0020;
inline constexpr DWORD KEY_WOW64_64KEY = 0x0100;
inline constexpr DWORD KEY_WOW64_32KEY = 0x0200;
inline constexpr DWORD DELETE = 0x00010000;
inline constexpr DWORD READ_CONTROL = 0x00020000;
inline constexpr DWORD KEY_READ = READ_CONTROL | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;
inline constexpr DWORD KEY_WRITE = READ_CONTROL | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
inline constexpr DWORD KEY_ALL_ACCESS = 0x000F003F;

// RegCreateKeyEx options and dispositions. Only non-volatile keys are kept.
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens the key at subKey below hKey, creating it and any missing keys on the way. cls and security
// are ignored; options must be REG_OPTION_NON_VOLATILE. hKey needs KEY_CREATE_SUB_KEY. On success
// *result holds a new handle with the rights asked for (close it with RegCloseKey) and *disposition,
// when given, says whether the key was made. On failure *result is null.
KXWIN_API LONG RegCreateKeyEx(HKEY hKey, LPCSTR subKey, DWORD reserved, LPSTR cls, DWORD options,
                              DWORD samDesired, void* security, HKEY* result, LPDWORD disposition);
// RegCreateKeyEx with all access and no disposition.
KXWIN_API LONG RegCreateKey(HKEY hKey, LPCSTR subKey, HKEY* result);
// Opens an existing key: ERROR_FILE_NOT_FOUND when it is absent. An empty or null subKey opens hKey's
// own key again. *result is null on failure.
KXWIN_API LONG RegOpenKeyEx(HKEY hKey, LPCSTR subKey, DWORD options, DWORD samDesired, HKEY* result);
// RegOpenKeyEx with all access.
KXWIN_API LONG RegOpenKey(HKEY hKey, LPCSTR subKey, HKEY* result);
// Releases a handle. ERROR_INVALID_HANDLE when it is not open; closing a root does nothing.
KXWIN_API LONG RegCloseKey(HKEY hKey);

// Stores size bytes of data as the value name (null or "" is the key's default value) of the given
// type, replacing an existing value of that name; the name keeps the case it was first written in.
// data may be null only when size is 0.
KXWIN_API LONG RegSetValueEx(HKEY hKey, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
// Reads a value. type, data and size may each be null, but data needs size. With data null, *size
// receives the value's size. When *size is smaller than the value, *size receives the size needed
// and the result is ERROR_MORE_DATA with data untouched. A REG_SZ size counts the terminating zero.
// A missing value gives ERROR_FILE_NOT_FOUND and leaves every destination unchanged.
KXWIN_API LONG RegQueryValueEx(HKEY hKey, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
// Removes one value; ERROR_FILE_NOT_FOUND when there is none of that name.
KXWIN_API LONG RegDeleteValue(HKEY hKey, LPCSTR name);

// Deletes the key at subKey (an empty subKey: hKey's own key) with its values. Like the framework
// this refuses, with ERROR_ACCESS_DENIED, a key that still has sub-keys and a root; use RegDeleteTree
// for a whole branch. The access rights of hKey do not matter.
KXWIN_API LONG RegDeleteKey(HKEY hKey, LPCSTR subKey);
// Deletes the key at subKey with all its sub-keys and values, as one transaction. With subKey null or
// empty it deletes every sub-key and value of hKey but keeps the key itself. hKey needs DELETE,
// KEY_ENUMERATE_SUB_KEYS and KEY_QUERY_VALUE (and KEY_SET_VALUE when subKey is empty).
KXWIN_API LONG RegDeleteTree(HKEY hKey, LPCSTR subKey);

// The name of the index-th sub-key. *nameSize holds the size of name in bytes, terminating zero
// included, and receives the name's length without it. When the buffer is too small, the result is
// ERROR_MORE_DATA, name is untouched and *nameSize receives the size needed with the zero. Past the
// last sub-key: ERROR_NO_MORE_ITEMS. cls, clsSize and lastWriteTime are ignored.
KXWIN_API LONG RegEnumKeyEx(HKEY hKey, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPSTR cls,
                            LPDWORD clsSize, void* lastWriteTime);
// The index-th value: its name as with RegEnumKeyEx, and type, data and size as with RegQueryValueEx
// (each may be null). When either buffer is too small the result is ERROR_MORE_DATA, both buffers
// are untouched and both sizes receive what is needed.
KXWIN_API LONG RegEnumValue(HKEY hKey, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPDWORD type,
                            LPBYTE data, LPDWORD dataSize);
// Counts and largest sizes of a key's sub-keys and values, each output optional: name lengths in
// bytes without the terminating zero, value sizes in bytes. Classes, security descriptors and write
// times are not kept: their outputs receive 0 and lastWriteTime is ignored.
KXWIN_API LONG RegQueryInfoKey(HKEY hKey, LPSTR cls, LPDWORD clsSize, LPDWORD reserved, LPDWORD subKeys,
                               LPDWORD maxSubKeyLen, LPDWORD maxClassLen, LPDWORD values, LPDWORD maxValueNameLen,
                               LPDWORD maxValueLen, LPDWORD securityDescriptor, void* lastWriteTime);
// Makes every committed change durable on disk, also against a power loss (a commit alone survives a
// crash of the process but may be lost with the machine). ERROR_CANTWRITE when the disk refuses.
KXWIN_API LONG RegFlushKey(HKEY hKey);

namespace kxwin {

// Points the registry at another database file and closes the current one; every open key handle
// becomes invalid. A null or empty path goes back to the default: $KESTRA_SS_HOME/registry.sqlite3,
// else $XDG_CONFIG_HOME/kestra-ss/registry.sqlite3, else ~/.config/kestra-ss/registry.sqlite3, read
// from the environment when the store is next opened. Missing folders are created on opening.
KXWIN_API void setRegistryPath(const char* path);
// The database file in use, or the one the next call will open; empty when no home folder is known.
KXWIN_API std::string registryPath();
// Runs SQLite's integrity and foreign-key checks on the store. ERROR_SUCCESS when both pass;
// otherwise ERROR_BADDB (or the opening error) and, when problems is given, what the checks found.
KXWIN_API LONG checkRegistryIntegrity(std::string* problems = nullptr);

} // namespace kxwin
