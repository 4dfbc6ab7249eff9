// Helpers of the registry tests: a database of its own per test, checked for integrity at the end,
// and short ways to make keys and read values back.
#pragma once

#include "platform/win/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kxtest {

// A folder of its own under $KESTRA_SS_HOME (set by CTest) or the system's temporary folder.
inline std::string makeTestFolder()
{
    const char* home = std::getenv("KESTRA_SS_HOME");
    std::string pattern = (home != nullptr && *home != '\0' ? std::string(home) : ::testing::TempDir()) + "/kxreg-XXXXXX";
    std::filesystem::create_directories(std::filesystem::path(pattern).parent_path());
    if (mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "cannot make a folder from " << pattern;
    return pattern;
}

class RegistryFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = makeTestFolder();
        m_path = m_folder + "/registry.sqlite3";
        kxwin::setRegistryPath(m_path.c_str());
    }
    void TearDown() override
    {
        if (m_checkIntegrity) {
            kxwin::setRegistryPath(m_path.c_str());
            std::string problems;
            EXPECT_EQ(kxwin::checkRegistryIntegrity(&problems), ERROR_SUCCESS) << problems;
        }
        kxwin::setRegistryPath(m_path.c_str()); // closes the database before its folder goes
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::string m_folder;
    std::string m_path;
    bool m_checkIntegrity = true;
};

// An open key, closed at the end of the scope.
class Key {
public:
    Key() = default;
    explicit Key(HKEY handle)
        : m_handle(handle)
    {
    }
    ~Key()
    {
        if (m_handle != nullptr)
            RegCloseKey(m_handle);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return m_handle; }
    HKEY* out() { return &m_handle; }
    operator HKEY() const { return m_handle; }

private:
    HKEY m_handle = nullptr;
};

inline HKEY createKey(HKEY base, const char* path, DWORD access = KEY_ALL_ACCESS)
{
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(base, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr),
              ERROR_SUCCESS)
        << path;
    return key;
}

inline LONG setString(HKEY key, const char* name, std::string_view text)
{
    const std::string stored(text);
    return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                         static_cast<DWORD>(stored.size() + 1));
}

inline LONG setDword(HKEY key, const char* name, DWORD value)
{
    return RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// A value read the way callers do: ask the size, then read. Empty with *result set on failure.
inline std::vector<BYTE> readValue(HKEY key, const char* name, DWORD* type = nullptr, LONG* result = nullptr)
{
    DWORD size = 0;
    LONG r = RegQueryValueEx(key, name, nullptr, type, nullptr, &size);
    std::vector<BYTE> data(size);
    if (r == ERROR_SUCCESS)
        r = RegQueryValueEx(key, name, nullptr, type, data.data(), &size);
    if (result != nullptr)
        *result = r;
    if (r != ERROR_SUCCESS)
        data.clear();
    return data;
}

inline std::string readString(HKEY key, const char* name)
{
    const std::vector<BYTE> data = readValue(key, name);
    return data.empty() ? std::string() : std::string(reinterpret_cast<const char*>(data.data()), data.size() - 1);
}

inline std::vector<std::string> subKeyNames(HKEY key)
{
    std::vector<std::string> names;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        const LONG r = RegEnumKeyEx(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (r != ERROR_SUCCESS) {
            EXPECT_EQ(r, ERROR_NO_MORE_ITEMS);
            break;
        }
        names.emplace_back(name, size);
    }
    return names;
}

inline std::vector<std::string> valueNames(HKEY key)
{
    std::vector<std::string> names;
    std::string name(1024, '\0');
    for (DWORD index = 0;; ++index) {
        DWORD size = static_cast<DWORD>(name.size());
        const LONG r = RegEnumValue(key, index, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
        if (r != ERROR_SUCCESS) {
            EXPECT_EQ(r, ERROR_NO_MORE_ITEMS);
            break;
        }
        names.emplace_back(name.data(), size);
    }
    return names;
}

} // namespace kxtest
