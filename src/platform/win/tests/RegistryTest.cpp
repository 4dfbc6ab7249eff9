// The registry functions in one process: typed values, the size protocol, names, keys and their
// deletion, enumeration, handles, limits, and damaged database files.
#include "platform/win/Registry.h"

#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using kxtest::createKey;
using kxtest::Key;
using kxtest::readString;
using kxtest::readValue;
using kxtest::setDword;
using kxtest::setString;

using RegistryValues = kxtest::RegistryFixture;
using RegistryNames = kxtest::RegistryFixture;
using RegistryKeys = kxtest::RegistryFixture;
using RegistryEnum = kxtest::RegistryFixture;
using RegistryHandles = kxtest::RegistryFixture;
using RegistryThreads = kxtest::RegistryFixture;
using RegistryLimits = kxtest::RegistryFixture;
using RegistryFile = kxtest::RegistryFixture;

const char* const kEditorKey = "Software\\Vormex\\Spreadsheet Editor v1.0";

std::vector<BYTE> bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

TEST_F(RegistryValues, EveryTypeReadsBackByteForByte)
{
    Key key(createKey(HKEY_LOCAL_MACHINE, kEditorKey));
    std::vector<BYTE> binary(256);
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<BYTE>(255 - i); // zero bytes inside and at the end
    const DWORD dword = 0xDEADBEEF;
    const ULONGLONG qword = 0x0123456789ABCDEFull;
    const std::vector<BYTE> text = bytes(std::string_view("Gr\xC3\xB6\xC3\x9F" "e \xE6\x97\xA5\0", 12));
    struct Case {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const std::vector<Case> cases = {
        {"Language", REG_SZ, bytes(std::string_view("EN", 3))},
        {"Default Settings", REG_SZ, bytes(std::string_view("", 1))},
        {"Gr\xC3\xB6\xC3\x9F" "e", REG_SZ, text},
        {"Rect", REG_BINARY, binary},
        {"Empty", REG_BINARY, {}},
        {"Nothing", REG_NONE, {}},
        {"Count", REG_DWORD, {reinterpret_cast<const BYTE*>(&dword), reinterpret_cast<const BYTE*>(&dword) + 4}},
        {"Big", REG_QWORD, {reinterpret_cast<const BYTE*>(&qword), reinterpret_cast<const BYTE*>(&qword) + 8}},
        {"", REG_SZ, bytes(std::string_view("default", 8))},
    };
    for (const Case& c : cases)
        ASSERT_EQ(RegSetValueEx(key, c.name, 0, c.type, c.data.data(), static_cast<DWORD>(c.data.size())),
                  ERROR_SUCCESS)
            << c.name;
    for (const Case& c : cases) {
        DWORD type = 99;
        LONG result = 0;
        EXPECT_EQ(readValue(key, c.name, &type, &result), c.data) << c.name;
        EXPECT_EQ(result, ERROR_SUCCESS) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
    }
    EXPECT_EQ(readString(key, nullptr), "default"); // null and "" both name the default value
}

TEST_F(RegistryValues, StringsWithoutTerminatingZeroGetOne)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    ASSERT_EQ(RegSetValueEx(key, "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, "None", 0, REG_SZ, nullptr, 0), ERROR_SUCCESS);
    EXPECT_EQ(readValue(key, "Bare"), bytes(std::string_view("abc", 4)));
    EXPECT_EQ(readValue(key, "None"), bytes(std::string_view("", 1)));
}

TEST_F(RegistryValues, NumbersOfTheWrongSizeAndMissingDataAreRefused)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    const BYTE eight[8] = {};
    EXPECT_EQ(RegSetValueEx(key, "D", 0, REG_DWORD, eight, 2), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key, "D", 0, REG_DWORD, eight, 8), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key, "Q", 0, REG_QWORD, eight, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key, "B", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueEx(key, "D", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValues, SizeProtocolReportsTheNeedAndLeavesSmallBuffersAlone)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    ASSERT_EQ(setString(key, "Name", "Tahoma"), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueEx(key, "Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 7u); // the terminating zero counts
    EXPECT_EQ(type, REG_SZ);

    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    size = 6; // room for the letters but not the zero
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(std::string(buffer, 6), "######");
    size = 7;
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "Tahoma");
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
}

TEST_F(RegistryValues, MissingValueLeavesEveryDestinationUnchanged)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    DWORD type = 77;
    DWORD size = 4;
    BYTE data[4] = {1, 2, 3, 4};
    EXPECT_EQ(RegQueryValueEx(key, "Absent", nullptr, &type, data, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(type, 77u);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(data[0], 1);
    EXPECT_EQ(RegDeleteValue(key, "Absent"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValues, RewritingReplacesTypeAndDataAndDeletingRemoves)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    ASSERT_EQ(setString(key, "Height", "13"), ERROR_SUCCESS);
    ASSERT_EQ(setDword(key, "HEIGHT", 13), ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(readValue(key, "height", &type).size(), 4u);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(kxtest::valueNames(key), std::vector<std::string>{"Height"}); // first written case stays
    EXPECT_EQ(RegDeleteValue(key, "hEIGHT"), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueEx(key, "Height", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryNames, KeysAndValuesMatchIgnoringCaseButKeepTheirWrittenCase)
{
    Key made(createKey(HKEY_LOCAL_MACHINE, kEditorKey));
    ASSERT_EQ(setString(made, "Language", "NL"), ERROR_SUCCESS);
    Key opened;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\vormex\\spreadsheet EDITOR V1.0", 0, KEY_READ, opened.out()),
              ERROR_SUCCESS);
    EXPECT_EQ(readString(opened, "LANGUAGE"), "NL");
    Key software;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software", 0, KEY_READ, software.out()), ERROR_SUCCESS);
    EXPECT_EQ(kxtest::subKeyNames(software), std::vector<std::string>{"Vormex"});
}

TEST_F(RegistryNames, NonAsciiLettersMatchTheirCapitals)
{
    Key key(createKey(HKEY_CURRENT_USER, "\xC3\xA9t\xC3\xA9\\\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87")); // été\ключ
    ASSERT_EQ(setDword(key, "\xCF\x89mega", 1), ERROR_SUCCESS);                                 // ωmega
    Key again;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "\xC3\x89T\xC3\x89\\\xD0\x9A\xD0\x9B\xD0\xAE\xD0\xA7", 0, KEY_READ,
                           again.out()),
              ERROR_SUCCESS); // ÉTÉ\КЛЮЧ
    EXPECT_EQ(readValue(again, "\xCE\xA9MEGA").size(), 4u); // ΩMEGA
    // Different letters stay different: e and é, and ß is no "SS".
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "ete", 0, KEY_READ, again.out()), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryNames, MalformedUtf8AndBadPathsAreRefused)
{
    HKEY key = reinterpret_cast<HKEY>(1);
    for (const char* path : {"a\\\\b", "\\a", "\xC3", "ab\xC0\xAF", "\xED\xA0\x80"}) {
        EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, path, &key), ERROR_INVALID_PARAMETER) << path;
        EXPECT_EQ(key, nullptr);
    }
    Key trailing(createKey(HKEY_CURRENT_USER, "Software\\Trailing\\"));
    EXPECT_EQ(kxtest::subKeyNames(Key(createKey(HKEY_CURRENT_USER, "Software")).get()),
              std::vector<std::string>{"Trailing"});
    EXPECT_EQ(RegSetValueEx(trailing, "\xFF", 0, REG_NONE, nullptr, 0), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryKeys, CreateSaysWhetherItMadeTheKeyAndOpenFailsWhenAbsent)
{
    Key none;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, kEditorKey, 0, KEY_READ, none.out()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(none.get(), nullptr);
    DWORD disposition = 0;
    Key first;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kEditorKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                             nullptr, first.out(), &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    Key second;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kEditorKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                             nullptr, second.out(), &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    // The two roots are separate trees.
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kEditorKey, 0, KEY_READ, none.out()), ERROR_FILE_NOT_FOUND);
    // A path relative to an open key reaches the same key as the full path.
    Key vormex(createKey(HKEY_LOCAL_MACHINE, "Software\\Vormex"));
    Key relative;
    ASSERT_EQ(RegOpenKeyEx(vormex, "Spreadsheet Editor v1.0", 0, KEY_READ, relative.out()), ERROR_SUCCESS);
    ASSERT_EQ(setString(first, "Language", "DE"), ERROR_SUCCESS);
    EXPECT_EQ(readString(relative, "Language"), "DE");
}

TEST_F(RegistryKeys, DeleteKeyRefusesSubKeysAndDeleteTreeRemovesTheBranch)
{
    Key vormex(createKey(HKEY_LOCAL_MACHINE, "Software\\Vormex"));
    Key editor(createKey(vormex, "Spreadsheet Editor v1.0\\Fonts\\Header"));
    ASSERT_EQ(setString(editor, "lfFaceName", "Tahoma"), ERROR_SUCCESS);
    ASSERT_EQ(setDword(vormex, "Kept", 1), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKey(vormex, "Spreadsheet Editor v1.0"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(vormex, "Spreadsheet Editor v1.0\\Fonts\\Header\\Nope"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteTree(vormex, "spreadsheet editor v1.0"), ERROR_SUCCESS);
    EXPECT_EQ(kxtest::subKeyNames(vormex), std::vector<std::string>{});
    EXPECT_EQ(readValue(vormex, "Kept").size(), 4u);
    // An open handle into the deleted branch reports the deletion, also once the key is made again.
    EXPECT_EQ(RegQueryValueEx(editor, "lfFaceName", nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
    EXPECT_EQ(setDword(editor, "lfHeight", 13), ERROR_KEY_DELETED);
    Key remade(createKey(vormex, "Spreadsheet Editor v1.0\\Fonts\\Header"));
    EXPECT_EQ(RegQueryValueEx(remade, "lfFaceName", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(setDword(editor, "lfHeight", 13), ERROR_KEY_DELETED);

    EXPECT_EQ(RegDeleteKey(remade, ""), ERROR_SUCCESS); // a leaf goes, given by its own handle
    EXPECT_EQ(RegQueryValueEx(remade, "x", nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteKey(vormex, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryKeys, DeleteTreeWithoutSubKeyEmptiesTheKeyButKeepsIt)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    Key child(createKey(key, "A\\B\\C\\D"));
    ASSERT_EQ(setDword(child, "x", 1), ERROR_SUCCESS);
    ASSERT_EQ(setDword(key, "y", 2), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTree(key, nullptr), ERROR_SUCCESS);
    DWORD subKeys = 9;
    DWORD values = 9;
    ASSERT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                              nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 0u);
}

TEST_F(RegistryKeys, RootsCannotBeDeletedAndReadHandlesCannotWrite)
{
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);
    Key rootAgain;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "", 0, KEY_ALL_ACCESS, rootAgain.out()), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(rootAgain, ""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTree(rootAgain, ""), ERROR_SUCCESS); // empties, keeps the root

    RegCloseKey(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    Key reader;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Kestra", 0, KEY_READ, reader.out()), ERROR_SUCCESS);
    EXPECT_EQ(setDword(reader, "x", 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValue(reader, "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTree(reader, nullptr), ERROR_ACCESS_DENIED);
    Key sub;
    EXPECT_EQ(RegCreateKey(reader, "Sub", sub.out()), ERROR_ACCESS_DENIED);
    Key writer;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Kestra", 0, KEY_WRITE, writer.out()), ERROR_SUCCESS);
    EXPECT_EQ(setDword(writer, "x", 1), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueEx(writer, "x", nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryEnum, SortedIgnoringCaseStableAndEndingWithNoMoreItems)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    for (const char* name : {"zeta", "Alpha", "_under", "beta", "\xC3\xA9t\xC3\xA9", "Zulu", "a"}) {
        RegCloseKey(createKey(key, name));
        ASSERT_EQ(setDword(key, name, 0), ERROR_SUCCESS);
    }
    // Capitals order '_' after the letters, as the framework's comparison does.
    const std::vector<std::string> expected = {"a", "Alpha", "beta", "zeta", "Zulu", "_under", "\xC3\xA9t\xC3\xA9"};
    EXPECT_EQ(kxtest::subKeyNames(key), expected);
    EXPECT_EQ(kxtest::subKeyNames(key), expected);
    EXPECT_EQ(kxtest::valueNames(key), expected);
    // Random access agrees with a walk from the start.
    char name[32];
    for (DWORD index : {4u, 1u, 2u, 6u, 0u}) {
        DWORD size = sizeof name;
        ASSERT_EQ(RegEnumKeyEx(key, index, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
        EXPECT_EQ(std::string(name, size), expected[index]);
    }
    DWORD size = sizeof name;
    EXPECT_EQ(RegEnumValue(key, 7, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryEnum, AChangeBetweenCallsIsSeenByTheNextIndex)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    for (const char* name : {"a", "b", "c", "d"})
        ASSERT_EQ(setDword(key, name, 0), ERROR_SUCCESS);
    char name[8];
    DWORD size = sizeof name;
    ASSERT_EQ(RegEnumValue(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteValue(key, "a"), ERROR_SUCCESS);
    size = sizeof name;
    ASSERT_EQ(RegEnumValue(key, 1, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "c"); // index 1 of b, c, d
}

TEST_F(RegistryEnum, SmallBuffersGiveMoreDataWithTheSizesNeeded)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    RegCloseKey(createKey(key, "Fonts"));
    ASSERT_EQ(setString(key, "Language", "EN"), ERROR_SUCCESS);
    char name[16] = "untouched";
    DWORD size = 5; // "Fonts" needs 6 with its zero
    EXPECT_EQ(RegEnumKeyEx(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    EXPECT_STREQ(name, "untouched");
    BYTE data[2] = {};
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    size = sizeof name;
    EXPECT_EQ(RegEnumValue(key, 0, name, &size, nullptr, &type, data, &dataSize), ERROR_MORE_DATA);
    EXPECT_EQ(dataSize, 3u);
    EXPECT_STREQ(name, "untouched");
    dataSize = 3;
    size = sizeof name;
    BYTE enough[3] = {};
    EXPECT_EQ(RegEnumValue(key, 0, name, &size, nullptr, &type, enough, &dataSize), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Language");
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_STREQ(reinterpret_cast<char*>(enough), "EN");
    DWORD maxName = 0;
    DWORD maxValue = 0;
    DWORD maxSubKey = 0;
    ASSERT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, &maxSubKey, nullptr, nullptr, &maxName,
                              &maxValue, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(maxSubKey, 5u);
    EXPECT_EQ(maxName, 8u);
    EXPECT_EQ(maxValue, 3u);
}

// Random sets and deletes with names in varying case, checked against a map ordered by capitals.
TEST_F(RegistryEnum, AgreesWithAReferenceModelUnderRandomChanges)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Model"));
    const std::vector<std::string> names = {"alpha", "Beta", "gamma", "zeta", "_x", "a", "ab", "b\xC3\xA9"};
    std::map<std::string, std::pair<std::string, DWORD>> model; // by capitals: (first written name, value)
    std::mt19937 random(12345);
    for (int step = 0; step < 400; ++step) {
        std::string name = names[random() % names.size()];
        for (char& c : name)
            if (std::isalpha(static_cast<unsigned char>(c)) && random() % 2 == 0)
                c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c));
        std::string capitals = name;
        for (char& c : capitals)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (random() % 3 == 0) {
            EXPECT_EQ(RegDeleteValue(key, name.c_str()), model.erase(capitals) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
        } else {
            const DWORD value = static_cast<DWORD>(step);
            ASSERT_EQ(setDword(key, name.c_str(), value), ERROR_SUCCESS);
            auto [it, inserted] = model.try_emplace(capitals, name, value);
            it->second.second = value;
        }
        std::vector<std::pair<std::string, DWORD>> expected;
        for (const auto& [capital, entry] : model)
            expected.push_back(entry);
        std::vector<std::pair<std::string, DWORD>> actual;
        char buffer[32];
        for (DWORD index = 0;; ++index) {
            DWORD size = sizeof buffer;
            DWORD value = 0;
            DWORD valueSize = sizeof value;
            const LONG r = RegEnumValue(key, index, buffer, &size, nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                                        &valueSize);
            if (r != ERROR_SUCCESS) {
                ASSERT_EQ(r, ERROR_NO_MORE_ITEMS);
                break;
            }
            actual.emplace_back(std::string(buffer, size), value);
        }
        ASSERT_EQ(actual, expected) << "after step " << step;
    }
}

TEST_F(RegistryHandles, ClosedStaleAndMadeUpHandlesGiveInvalidHandle)
{
    HKEY first = createKey(HKEY_CURRENT_USER, "Software\\Kestra");
    ASSERT_EQ(RegCloseKey(first), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE);
    Key reused(createKey(HKEY_CURRENT_USER, "Software\\Other")); // likely takes the freed slot
    const HKEY madeUp[] = {first,
                           nullptr,
                           reinterpret_cast<HKEY>(0x1234),
                           reinterpret_cast<HKEY>(~std::uintptr_t{0}),
                           reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<LONG>(0x80000000u))),
                           reinterpret_cast<HKEY>(reinterpret_cast<std::uintptr_t>(reused.get()) + 16),
                           reinterpret_cast<HKEY>(reinterpret_cast<std::uintptr_t>(reused.get()) + (1ull << 32))};
    for (HKEY bad : madeUp) {
        HKEY out = reinterpret_cast<HKEY>(1);
        DWORD size = 0;
        char name[8];
        EXPECT_EQ(RegSetValueEx(bad, "x", 0, REG_NONE, nullptr, 0), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegQueryValueEx(bad, "x", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegOpenKeyEx(bad, "", 0, KEY_READ, &out), ERROR_INVALID_HANDLE);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(RegEnumKeyEx(bad, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteTree(bad, nullptr), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegFlushKey(bad), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegCloseKey(bad), ERROR_INVALID_HANDLE);
    }
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    EXPECT_EQ(setDword(reused, "still", 1), ERROR_SUCCESS);
}

TEST_F(RegistryHandles, PointingAtAnotherStoreInvalidatesOpenHandles)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    ASSERT_EQ(setDword(key, "x", 1), ERROR_SUCCESS);
    kxwin::setRegistryPath((m_folder + "/other.sqlite3").c_str());
    EXPECT_EQ(setDword(key, "x", 2), ERROR_INVALID_HANDLE);
    EXPECT_EQ(kxwin::registryPath(), m_folder + "/other.sqlite3");
    kxwin::setRegistryPath(m_path.c_str());
    Key again(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    EXPECT_EQ(readValue(again, "x"), std::vector<BYTE>({1, 0, 0, 0}));
}

TEST_F(RegistryThreads, TwoThreadsWritingAndEnumeratingAtOnceLoseNothing)
{
    constexpr int kCount = 500;
    const auto work = [](const char* prefix, int* failures) {
        HKEY key = nullptr;
        if (RegCreateKey(HKEY_CURRENT_USER, "Software\\Threads", &key) != ERROR_SUCCESS) {
            ++*failures;
            return;
        }
        for (int i = 0; i < kCount; ++i) {
            if (setDword(key, (prefix + std::to_string(i)).c_str(), static_cast<DWORD>(i)) != ERROR_SUCCESS)
                ++*failures;
            char name[16];
            DWORD size = sizeof name;
            if (RegEnumValue(key, static_cast<DWORD>(i / 2), name, &size, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                ++*failures;
        }
        RegCloseKey(key);
    };
    int failures[2] = {};
    std::thread first(work, "a", &failures[0]);
    std::thread second(work, "b", &failures[1]);
    first.join();
    second.join();
    EXPECT_EQ(failures[0] + failures[1], 0);
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Threads"));
    EXPECT_EQ(kxtest::valueNames(key).size(), 2u * kCount);
    EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryLimits, KeyPathOf255CharactersIsTheLongest)
{
    // Two-byte characters: the limit counts characters, not bytes.
    const std::string e = "\xC3\xA9";
    std::string path;
    for (int i = 0; i < 127; ++i)
        path += e;
    path += "\\";
    for (int i = 0; i < 127; ++i)
        path += e; // 127 + 1 + 127 = 255 characters
    Key longest;
    EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, path.c_str(), longest.out()), ERROR_SUCCESS);
    Key tooLong;
    EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, (path + "x").c_str(), tooLong.out()), ERROR_INVALID_PARAMETER);
    // Relative to an open key, the whole path below the root counts.
    Key parent(createKey(HKEY_CURRENT_USER, path.substr(0, 127 * 2).c_str()));
    Key child;
    EXPECT_EQ(RegOpenKey(parent, path.substr(127 * 2 + 1).c_str(), child.out()), ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKey(parent, (path.substr(127 * 2 + 1) + "x").c_str(), tooLong.out()), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKey(child, "x", tooLong.out()), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryLimits, ValueNameOf16383CharactersIsTheLongest)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    const std::string longest(16383, 'n');
    EXPECT_EQ(setDword(key, longest.c_str(), 7), ERROR_SUCCESS);
    EXPECT_EQ(readValue(key, longest.c_str()).size(), 4u);
    const std::string tooLong(16384, 'n');
    EXPECT_EQ(setDword(key, tooLong.c_str(), 7), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueEx(key, tooLong.c_str(), nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryLimits, ValueOfOneMebibyteIsTheLargest)
{
    Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
    std::vector<BYTE> largest(1024 * 1024);
    for (std::size_t i = 0; i < largest.size(); ++i)
        largest[i] = static_cast<BYTE>(i * 7);
    ASSERT_EQ(RegSetValueEx(key, "Big", 0, REG_BINARY, largest.data(), static_cast<DWORD>(largest.size())),
              ERROR_SUCCESS);
    EXPECT_EQ(readValue(key, "Big"), largest);
    largest.push_back(0);
    EXPECT_EQ(RegSetValueEx(key, "Big2", 0, REG_BINARY, largest.data(), static_cast<DWORD>(largest.size())),
              ERROR_INVALID_PARAMETER);
    // A string that would need one more byte for its zero is over the limit too.
    std::vector<BYTE> text(1024 * 1024, 'x');
    EXPECT_EQ(RegSetValueEx(key, "Text", 0, REG_SZ, text.data(), static_cast<DWORD>(text.size())),
              ERROR_INVALID_PARAMETER);
}

void writeFile(const std::string& path, const std::string& content, std::size_t offset = 0)
{
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file.is_open())
        file.open(path, std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
}

TEST_F(RegistryFile, GarbageInsteadOfADatabaseGivesBadDb)
{
    m_checkIntegrity = false;
    std::mt19937 random(7);
    std::string garbage(8192, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    const std::string withHeader = std::string("SQLite format 3\0", 16) + garbage;
    for (const std::string& content : {garbage, withHeader}) {
        std::filesystem::remove(m_path);
        writeFile(m_path, content);
        kxwin::setRegistryPath(m_path.c_str());
        Key key;
        EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software", key.out()), ERROR_BADDB);
        EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.out()), ERROR_BADDB);
        EXPECT_EQ(RegQueryValueEx(HKEY_CURRENT_USER, "x", nullptr, nullptr, nullptr, nullptr), ERROR_BADDB);
        EXPECT_EQ(kxwin::checkRegistryIntegrity(), ERROR_BADDB);
    }
}

TEST_F(RegistryFile, DamagedPagesGiveBadDbAndARepairedFileWorksAgain)
{
    m_checkIntegrity = false;
    {
        Key key(createKey(HKEY_CURRENT_USER, "Software\\Kestra"));
        for (int i = 0; i < 200; ++i)
            ASSERT_EQ(setDword(key, ("v" + std::to_string(i)).c_str(), static_cast<DWORD>(i)), ERROR_SUCCESS);
    }
    kxwin::setRegistryPath(m_path.c_str()); // closing folds the log into the file
    const auto size = std::filesystem::file_size(m_path);
    ASSERT_GT(size, 4096u * 2);
    writeFile(m_path, std::string(size - 4096, '\xA5'), 4096); // every page after the schema page
    kxwin::setRegistryPath(m_path.c_str());
    Key key;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Kestra", 0, KEY_READ, key.out()), ERROR_BADDB);
    EXPECT_EQ(setDword(HKEY_CURRENT_USER, "x", 1), ERROR_BADDB);
    std::string problems;
    EXPECT_EQ(kxwin::checkRegistryIntegrity(&problems), ERROR_BADDB);
    EXPECT_FALSE(problems.empty());

    kxwin::setRegistryPath(m_path.c_str());
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(m_path + suffix);
    EXPECT_EQ(setDword(HKEY_CURRENT_USER, "x", 1), ERROR_SUCCESS); // a fresh store is made
}

TEST_F(RegistryFile, AnUnopenablePathGivesCantOpen)
{
    writeFile(m_folder + "/plain", "a file, not a folder");
    kxwin::setRegistryPath((m_folder + "/plain/registry.sqlite3").c_str());
    Key key;
    EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software", key.out()), ERROR_CANTOPEN);
    kxwin::setRegistryPath(m_folder.c_str()); // a folder
    EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software", key.out()), ERROR_CANTOPEN);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

// Sets an environment variable for one scope, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_old = old;
            m_had = true;
        }
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_had)
            setenv(m_name, m_old.c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::string m_old;
    bool m_had = false;
};

TEST_F(RegistryFile, DefaultLocationFollowsTheEnvironment)
{
    ScopedEnv home("HOME", m_folder.c_str());
    {
        ScopedEnv kestra("KESTRA_SS_HOME", (m_folder + "/kestra").c_str());
        kxwin::setRegistryPath(nullptr);
        EXPECT_EQ(kxwin::registryPath(), m_folder + "/kestra/registry.sqlite3");
        ScopedEnv xdg("XDG_CONFIG_HOME", (m_folder + "/xdg").c_str());
        EXPECT_EQ(kxwin::registryPath(), m_folder + "/kestra/registry.sqlite3");
        Key key(createKey(HKEY_CURRENT_USER, "Software")); // folders made on opening
        EXPECT_TRUE(std::filesystem::exists(m_folder + "/kestra/registry.sqlite3"));
    }
    kxwin::setRegistryPath(nullptr);
    ScopedEnv kestra("KESTRA_SS_HOME", nullptr);
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", (m_folder + "/xdg").c_str());
        EXPECT_EQ(kxwin::registryPath(), m_folder + "/xdg/kestra-ss/registry.sqlite3");
    }
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(kxwin::registryPath(), m_folder + "/.config/kestra-ss/registry.sqlite3");
}

} // namespace
