// The registry shared between processes: commits seen by others, survival of a killed writer, two
// writers at once, and a child forked while the store was open.
//
// The second processes are this test binary started again with KXREG_CHILD set: the role runs from a
// static initialiser and exits before GoogleTest starts, so every child is a fresh process with its
// own connection, as a second program would be.
#include "platform/win/Registry.h"

#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

using kxtest::createKey;
using kxtest::Key;
using kxtest::setDword;

const char* const kSharedKey = "Software\\Kestra\\Shared";

std::string valueName(const std::string& prefix, int i)
{
    return prefix + std::to_string(i);
}

std::string env(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The child's side. Exit status 0 when every call succeeded, else the number of failures (capped).
int runChildRole()
{
    const std::string role = env("KXREG_CHILD");
    kxwin::setRegistryPath(env("KXREG_PATH").c_str());
    if (const std::string fd = env("KXREG_START_FD"); !fd.empty()) {
        char go = 0;
        if (read(std::atoi(fd.c_str()), &go, 1) != 1)
            return 100;
    }
    int failures = 0;
    if (role == "write") {
        HKEY key = nullptr;
        if (const LONG r = RegCreateKey(HKEY_CURRENT_USER, kSharedKey, &key); r != ERROR_SUCCESS) {
            std::fprintf(stderr, "writer: RegCreateKey gave %d\n", static_cast<int>(r));
            return 101;
        }
        const std::string prefix = env("KXREG_PREFIX");
        const int count = std::atoi(env("KXREG_COUNT").c_str());
        for (int i = 0; i < count; ++i)
            if (setDword(key, valueName(prefix, i).c_str(), static_cast<DWORD>(i)) != ERROR_SUCCESS)
                ++failures;
        // Killed without closing anything: what was committed must be there for the others.
        if (env("KXREG_KILL") == "1")
            raise(SIGKILL);
    } else if (role == "delete") {
        HKEY key = nullptr;
        if (RegOpenKey(HKEY_CURRENT_USER, kSharedKey, &key) != ERROR_SUCCESS)
            return 102;
        if (RegDeleteValue(key, env("KXREG_NAME").c_str()) != ERROR_SUCCESS)
            ++failures;
    } else {
        return 103;
    }
    return failures > 99 ? 99 : failures;
}

[[maybe_unused]] const bool kIsChild = [] {
    if (std::getenv("KXREG_CHILD") != nullptr)
        _exit(runChildRole());
    return false;
}();

pid_t startChild(const std::map<std::string, std::string>& settings)
{
    const pid_t pid = fork();
    if (pid == 0) {
        for (const auto& [name, value] : settings)
            setenv(name.c_str(), value.c_str(), 1);
        char program[] = "kxwin_tests";
        char* argv[] = {program, nullptr};
        execv("/proc/self/exe", argv);
        _exit(127);
    }
    return pid;
}

// The child's exit status, or 1000 + the signal that ended it.
int waitFor(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

using RegistryProcesses = kxtest::RegistryFixture;

TEST_F(RegistryProcesses, ValuesCommittedByAKilledProcessAreSeenByOthers)
{
    Key key(createKey(HKEY_CURRENT_USER, kSharedKey)); // this process's connection stays open
    ASSERT_EQ(setDword(key, "mine", 1), ERROR_SUCCESS);
    const pid_t child = startChild(
        {{"KXREG_CHILD", "write"}, {"KXREG_PATH", m_path}, {"KXREG_PREFIX", "k"}, {"KXREG_COUNT", "100"}, {"KXREG_KILL", "1"}});
    ASSERT_EQ(waitFor(child), 1000 + SIGKILL);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(kxtest::readValue(key, valueName("k", i).c_str()).size(), 4u) << i;
    kxwin::setRegistryPath(m_path.c_str()); // and through a new connection
    Key again(createKey(HKEY_CURRENT_USER, kSharedKey));
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKey(again, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                              nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 101u);
}

TEST_F(RegistryProcesses, TwoProcessesWritingAtOnceLoseNothing)
{
    constexpr int kCount = 10000;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t children[2];
    const char* prefixes[2] = {"p", "q"};
    for (int c = 0; c < 2; ++c)
        children[c] = startChild({{"KXREG_CHILD", "write"},
                                  {"KXREG_PATH", m_path},
                                  {"KXREG_PREFIX", prefixes[c]},
                                  {"KXREG_COUNT", std::to_string(kCount)},
                                  {"KXREG_START_FD", std::to_string(start[0])}});
    // Both wait on the pipe, so their writes overlap from the first one; the database does not exist
    // yet, so they also race to create it.
    ASSERT_EQ(write(start[1], "gg", 2), 2);
    close(start[0]);
    close(start[1]);
    for (pid_t child : children)
        EXPECT_EQ(waitFor(child), 0);

    Key key;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kSharedKey, 0, KEY_READ, key.out()), ERROR_SUCCESS);
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                              nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 2u * kCount);
    int wrong = 0;
    for (const char* prefix : prefixes) {
        for (int i = 0; i < kCount; ++i) {
            DWORD value = 0;
            DWORD size = sizeof value;
            if (RegQueryValueEx(key, valueName(prefix, i).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                                &size) != ERROR_SUCCESS ||
                value != static_cast<DWORD>(i))
                ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(RegistryProcesses, AnotherProcessesChangeIsSeenByTheNextEnumerationIndex)
{
    Key key(createKey(HKEY_CURRENT_USER, kSharedKey));
    for (const char* name : {"a", "b", "c", "d"})
        ASSERT_EQ(setDword(key, name, 0), ERROR_SUCCESS);
    char name[8];
    for (DWORD index : {0u, 1u}) {
        DWORD size = sizeof name;
        ASSERT_EQ(RegEnumValue(key, index, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    }
    ASSERT_EQ(waitFor(startChild({{"KXREG_CHILD", "delete"}, {"KXREG_PATH", m_path}, {"KXREG_NAME", "A"}})), 0);
    DWORD size = sizeof name;
    ASSERT_EQ(RegEnumValue(key, 2, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "d"); // index 2 of b, c, d
}

TEST_F(RegistryProcesses, AChildForkedWithTheStoreOpenLeavesItAlone)
{
    Key key(createKey(HKEY_CURRENT_USER, kSharedKey));
    ASSERT_EQ(setDword(key, "before", 1), ERROR_SUCCESS);
    pid_t child = fork();
    if (child == 0) {
        // The copied connection's locks are not the child's: every call must refuse.
        const bool refused = setDword(key, "child", 1) == ERROR_CANTOPEN &&
                             RegQueryValueEx(key, "before", nullptr, nullptr, nullptr, nullptr) == ERROR_CANTOPEN;
        _exit(refused ? 0 : 1);
    }
    ASSERT_EQ(waitFor(child), 0);
    EXPECT_EQ(RegQueryValueEx(key, "child", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);

    // Closed before the fork, the child opens its own connection and works normally.
    kxwin::setRegistryPath(m_path.c_str());
    child = fork();
    if (child == 0) {
        HKEY own = nullptr;
        const bool wrote = RegCreateKey(HKEY_CURRENT_USER, kSharedKey, &own) == ERROR_SUCCESS &&
                           setDword(own, "child", 2) == ERROR_SUCCESS;
        _exit(wrote ? 0 : 1);
    }
    ASSERT_EQ(waitFor(child), 0);
    Key again(createKey(HKEY_CURRENT_USER, kSharedKey));
    EXPECT_EQ(kxtest::readValue(again, "child"), std::vector<BYTE>({2, 0, 0, 0}));
}

} // namespace
