// The module loaded as the host loads it: its entry point and its exported symbols.
#include "platform/host/Acrx.h"
#include "platform/host/CommandLine.h"
#include "platform/host/ModuleLoader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

TEST(EntryPoint, LoadUnlocksTheModuleAndUnloadRemovesItsCommandGroupQuietly)
{
    KxModuleLoader module;
    ASSERT_TRUE(module.load(KX_MODULE_PATH)) << module.error();
    kxhost::takeCommandLineText();
    EXPECT_TRUE(acrxDynamicLinker()->isApplicationLocked(module.packet()));

    EXPECT_EQ(module.send(AcRx::kInitAppMsg), AcRx::kRetOK);
    EXPECT_FALSE(acrxDynamicLinker()->isApplicationLocked(module.packet()));
    EXPECT_TRUE(acrxDynamicLinker()->isAppMDIAware(module.packet()));

    const int removedBefore = acedRegCmds()->removeGroupCalls("KESTRA_SS");
    EXPECT_EQ(module.send(AcRx::kUnloadAppMsg), AcRx::kRetOK);
    EXPECT_EQ(acedRegCmds()->removeGroupCalls("KESTRA_SS"), removedBefore + 1);
    // The shared bitmaps loaded and nothing complained.
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST(EntryPoint, IgnoresOtherMessages)
{
    KxModuleLoader module;
    ASSERT_TRUE(module.load(KX_MODULE_PATH)) << module.error();
    for (auto msg : {AcRx::kNullMsg, AcRx::kLoadDwgMsg, AcRx::kQuitMsg, AcRx::kEndDialogMsg})
        EXPECT_EQ(module.send(msg), AcRx::kRetOK);
}

// The module exports what the add-on's modules call, and nothing of its inner classes.
TEST(Exports, EveryLauncherIsVisibleInTheSharedObject)
{
    const std::string command = std::string("nm -DC --defined-only '") + KX_MODULE_PATH + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_NE(pipe, nullptr);
    std::string symbols;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe.get()))
        symbols.append(buffer, n);
    for (const char* name : {"acrxEntryPoint", "acrxGetApiVersion", "StartDlgMacro(MacroData&)",
                             "StartDlgMacroModeless(bool, MacroData&, int&)", "EndDlgMacroModeless(int)",
                             "GetDlgMacroData(int, MacroData&)", "DestroyAllMacroDlgs()",
                             "StartDlgEditConstraints(EditConstrData&)", "EndDlgEditConstraints()",
                             "StartDlgGrid(ZnGridDlgData&)", "StartDlgLookUp(ZnLookUpDlgData&)",
                             "startGridDialog(Kx_StringArray const&, Kx_StringArray const&, "
                             "Kx_Array<Kx_StringArray>&, bool, Kx_String, Kx_String)",
                             "kxss::runSheetHeadersCommand(HWND__*)"})
        EXPECT_NE(symbols.find(name), std::string::npos) << name << " is not exported";
    EXPECT_EQ(symbols.find("pickMacroDialogSlot"), std::string::npos) << "inner functions stay hidden";
}

} // namespace
