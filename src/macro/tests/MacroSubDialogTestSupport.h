// For the tests of the macro cuts and select-macro dialogs: a clean window layer with a scripted
// user, English texts, and a library of the test's own holding copies of the sample macros and the
// cut pictures, so that the pictures the dialogs draw never land in the real library.
#pragma once

#include "core/Kx_Settings.h"
#include "core/MacroLangs.h"
#include "core/tests/FileTestSupport.h"
#include "frame/ModelessDialogs.h"
#include "platform/host/CommandLine.h"
#include "platform/grid/Spread.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace kxtest {

class MacroSubDialogTest : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        namespace fs = std::filesystem;
        MacroLangs::SetCurLanguage(MacroLangs::English);
        const fs::path sample = Kx_Settings::libDir().str();
        library = folder.path() / "library";
        fs::create_directories(library / "icons");
        fs::copy(sample / "Macros", library / "Macros", fs::copy_options::recursive);
        for (const char* picture : {"CutProfvsPlate.bmp", "CutProfvsProf.bmp", "CutFillet.bmp"})
            fs::copy_file(sample / "icons" / picture, library / "icons" / picture);
        // The sample's pictures are not wanted: each test sees them drawn.
        for (const auto& entry : fs::directory_iterator(library / "Macros")) {
            if (entry.path().extension() == ".bmp")
                fs::remove(entry.path());
        }
        Kx_Settings::setLibDir((library.string() + "/").c_str());
        kxss::attachModule();
        kxhost::takeCommandLineText();
    }
    void TearDown() override
    {
        kxhost::activeDrawing().setPickChooser({});
        Kx_Settings::setLibDir("");
        WindowLayerTest::TearDown();
    }

    TempFolder folder;
    std::filesystem::path library;
};

} // namespace kxtest

namespace kxtest {

// A grid cell's text as shown; "<none>" when the grid has no such cell.
inline std::string cellText(HWND grid, int col, int row)
{
    const int length = SSGetDataLen(grid, col, row);
    if (length < 0)
        return "<none>";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(std::max(SSGetData(grid, col, row, text.data(), length + 1), 0)));
    return text;
}

} // namespace kxtest
