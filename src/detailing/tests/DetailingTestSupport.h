// For the detailing tests: a library folder and a resource folder of the test's own, with a clean
// window layer and English as the current language.
#pragma once

#include "core/Kx_Settings.h"
#include "core/MacroLangs.h"
#include "core/SectionCatalogue.h"
#include "core/TextTables.h"
#include "core/tests/FileTestSupport.h"
#include "platform/host/CommandLine.h"
#include "platform/win/testing/AgentFailures.h"

#include <filesystem>
#include <string>

namespace kxtest {

class DetailingTest : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        namespace fs = std::filesystem;
        // The sample library's catalogue, so that the tests see the real section types.
        const std::string sample = Kx_Settings::libDir().str() + "prof/sections.cat";
        fs::create_directories(lib.path() / "prof");
        fs::copy_file(sample, lib.path() / "prof" / "sections.cat");
        fs::create_directories(lib.path() / "User Sections");
        fs::create_directories(res.path() / "icons");
        // The real text tables, so that the tests see the texts a user sees.
        fs::copy(Kx_Settings::resourceDir().str() + "text", res.path() / "text", fs::copy_options::recursive);
        Kx_Settings::setLibDir(Kx_String(lib.path().string() + "/"));
        Kx_Settings::setResourceDir(Kx_String(res.path().string() + "/"));
        MacroLangs::SetCurLanguage(MacroLangs::English);
        kxcore::reloadTextTables();
        SectionGroupArray::reload();
        kxhost::takeCommandLineText();
    }
    void TearDown() override
    {
        Kx_Settings::setLibDir("");
        Kx_Settings::setResourceDir("");
        kxcore::reloadTextTables();
        SectionGroupArray::reload();
        WindowLayerTest::TearDown();
    }
    std::string icon(const std::string& name) const { return (res.path() / "icons" / name).string(); }
    std::string libFile(const std::string& name) const { return (lib.path() / name).string(); }

    TempFolder lib;
    TempFolder res;
};

} // namespace kxtest
