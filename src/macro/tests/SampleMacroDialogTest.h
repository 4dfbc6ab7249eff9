// For the tests of the macro dialog and the dialogs it opens on the library's sample macro: a clean
// window layer with a scripted user, the sample frames placed in the simulated drawing, and every
// macro dialog closed afterwards with its pending timers run.
#pragma once

#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroLaunchers.h"
#include "macro/ZnDlgMacro.h"
#include "platform/host/CommandLine.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <string>

namespace kxtest {

class SampleMacroDialogTest : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
        kxhost::activeDrawing().clear();
        kxcore::MacroModel::instance().placeSampleFrames(kxhost::activeDrawing());
        kxhost::takeCommandLineText();
    }
    void TearDown() override
    {
        DestroyAllMacroDlgs();
        agent.advanceClock(1000);
        kxhost::activeDrawing().setPickChooser({});
        Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
        WindowLayerTest::TearDown();
    }
    // The macro dialog opened modeless on data, as a caller opens it.
    static ZnDlgMacro* open(MacroData data)
    {
        int slot = -1;
        EXPECT_TRUE(StartDlgMacroModeless(true, data, slot));
        return dynamic_cast<ZnDlgMacro*>(kxss::macroDialogInSlot(slot));
    }
    // How many of the drawing's requests start with prefix (and were given answer, when one is named).
    static int requests(const std::string& prefix, const std::string& answer = {})
    {
        int n = 0;
        for (const auto& r : kxhost::activeDrawing().requests())
            n += r.what.rfind(prefix, 0) == 0 && (answer.empty() || r.answer == answer);
        return n;
    }
    // How many updates the drawing was asked for.
    static int updates() { return requests("UpdateModule"); }

    kxwin::UserAgent agent;
};

} // namespace kxtest
