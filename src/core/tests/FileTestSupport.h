// Test support for the file tests of the core module: a private temporary folder per test and raw
// file access that does not go through the code under test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kxtest {

// A fresh folder under $KESTRA_SS_HOME (the build's test home) or the system's temporary folder,
// removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder()
    {
        const char* home = std::getenv("KESTRA_SS_HOME");
        std::filesystem::path base = (home && *home) ? std::filesystem::path(home) : std::filesystem::temp_directory_path();
        std::filesystem::create_directories(base);
        std::string pattern = (base / "kxfiles-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "mkdtemp failed under " << base;
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder's path joined with name, as a string.
    std::string file(const std::string& name) const { return (m_path / name).string(); }

    // Every entry of the folder (not below it), by name.
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_path))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path m_path;
};

inline void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

inline std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Switches the whole process to the German locale (decimal comma) for its lifetime, as a host
// application may do, and back to what it was. isActive() is false when the locale is not
// installed (scripts/deps generates it).
class GermanLocale {
public:
    GermanLocale()
    {
        const char* current = std::setlocale(LC_ALL, nullptr);
        m_previous = current ? current : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8"}) {
            if (std::setlocale(LC_ALL, name)) {
                m_active = true;
                break;
            }
        }
    }
    ~GermanLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;
    bool isActive() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

} // namespace kxtest
