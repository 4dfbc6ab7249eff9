// Test support for the spreadsheet editing tests: a private settings folder and registry per test,
// the command line emptied before and read after, and a clean window layer.
#pragma once

#include "core/Kx_Settings.h"
#include "core/tests/FileTestSupport.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Registry.h"
#include "platform/win/testing/AgentFailures.h"
#include "sheetedit/SheetSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace kxtest {

class SheetEditTest : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        // The settings folder is the resource folder; its text tables stay reachable through a link.
        const std::string texts = Kx_Settings::resourceDir().str() + "text";
        std::filesystem::create_directories(folder.path() / "res");
        std::error_code ignored;
        std::filesystem::create_directory_symlink(texts, folder.path() / "res" / "text", ignored);
        Kx_Settings::setResourceDir(Kx_String(folder.path().string() + "/res/"));
        registryPath = folder.file("registry.sqlite3");
        kxwin::setRegistryPath(registryPath.c_str());
        kxhost::takeCommandLineText();
    }
    void TearDown() override
    {
        std::string problems;
        EXPECT_EQ(kxwin::checkRegistryIntegrity(&problems), ERROR_SUCCESS) << problems;
        kxwin::setRegistryPath(nullptr);
        Kx_Settings::setResourceDir({});
        WindowLayerTest::TearDown();
    }

    // The native path of the settings file `name`.
    std::string settingsFile(const std::string& name) const { return folder.file("res/" + name + ".znd"); }

    TempFolder folder;
    std::string registryPath;
};

// Every member of two records, with the member's name in the failure message.
inline void expectSameSettings(const SheetSettings& a, const SheetSettings& b)
{
    EXPECT_EQ(a.headerFile, b.headerFile);
    EXPECT_EQ(a.footerFile, b.footerFile);
    EXPECT_EQ(a.defaultFont, b.defaultFont);
    EXPECT_EQ(a.defaultTextHeight, b.defaultTextHeight);
    EXPECT_EQ(a.marginLeft, b.marginLeft);
    EXPECT_EQ(a.marginRight, b.marginRight);
    EXPECT_EQ(a.marginTop, b.marginTop);
    EXPECT_EQ(a.marginBottom, b.marginBottom);
    EXPECT_EQ(a.smartPrint, b.smartPrint);
    EXPECT_EQ(a.colors, b.colors);
    EXPECT_EQ(a.colHeader, b.colHeader);
    EXPECT_EQ(a.rowHeader, b.rowHeader);
    EXPECT_EQ(a.cellSeperators, b.cellSeperators);
    EXPECT_EQ(a.border, b.border);
    ASSERT_EQ(a.varNames.length(), b.varNames.length());
    ASSERT_EQ(a.varValues.length(), b.varValues.length());
    for (int i = 0; i < a.varNames.length(); ++i) {
        EXPECT_EQ(a.varNames[i], b.varNames[i]) << "name " << i;
        EXPECT_EQ(a.varValues[i], b.varValues[i]) << "value " << i;
    }
}

} // namespace kxtest
