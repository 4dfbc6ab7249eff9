// Where the library and resource folders come from: override, environment, settings file, default.
#include "core/Kx_Settings.h"
#include "platform/host/CommandLine.h"

#include "FileTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Points the user's configuration folder at a scratch folder and clears the folder variables for
// the life of the test.
class SettingsFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedHome = getenvOr("KESTRA_SS_HOME");
        savedLib = getenvOr("KESTRA_SS_LIBDIR");
        ::setenv("KESTRA_SS_HOME", folder.path().c_str(), 1);
        ::unsetenv("KESTRA_SS_LIBDIR");
        Kx_Settings::setLibDir("");
        Kx_Settings::reload();
        kxhost::takeCommandLineText();
    }
    void TearDown() override
    {
        restore("KESTRA_SS_HOME", savedHome);
        restore("KESTRA_SS_LIBDIR", savedLib);
        Kx_Settings::setLibDir("");
        Kx_Settings::reload();
    }
    static std::string getenvOr(const char* name)
    {
        const char* v = std::getenv(name);
        return v ? v : "\x01unset";
    }
    static void restore(const char* name, const std::string& value)
    {
        if (value == "\x01unset")
            ::unsetenv(name);
        else
            ::setenv(name, value.c_str(), 1);
    }
    kxtest::TempFolder folder;
    std::string savedHome;
    std::string savedLib;
};

TEST_F(SettingsFolders, EachSourceWinsOverTheOnesAfterItAndFoldersEndWithASeparator)
{
    EXPECT_EQ(Kx_Settings::libDir().str(), KX_SOURCE_LIBRARY_DIR);

    kxtest::writeBytes(folder.file("settings.txt"), "text libDir = \"/srv/lib\"\n");
    Kx_Settings::reload();
    EXPECT_EQ(Kx_Settings::libDir().str(), "/srv/lib/");

    ::setenv("KESTRA_SS_LIBDIR", "/env/lib", 1);
    EXPECT_EQ(Kx_Settings::libDir().str(), "/env/lib/");

    Kx_Settings::setLibDir("C:\\Lib\\");
    EXPECT_EQ(Kx_Settings::libDir().str(), "C:\\Lib\\");
}

TEST_F(SettingsFolders, ADamagedSettingsFileIsReportedAndIgnored)
{
    kxtest::writeBytes(folder.file("settings.txt"), "text libDir = \"/srv/lib\n");
    Kx_Settings::reload();
    EXPECT_EQ(Kx_Settings::libDir().str(), KX_SOURCE_LIBRARY_DIR);
    const std::string printed = kxhost::takeCommandLineText();
    EXPECT_NE(printed.find("settings.txt"), std::string::npos) << printed;
    EXPECT_NE(printed.find("line 1"), std::string::npos) << printed;
}

} // namespace
