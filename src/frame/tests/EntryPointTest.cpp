// The module loaded as the host loads it: what its entry point does with the load and unload messages.
#include "platform/host/Acrx.h"
#include "platform/host/ModuleLoader.h"

#include <gtest/gtest.h>

TEST(EntryPoint, LoadUnlocksTheModuleAndUnloadRemovesItsCommandGroup)
{
    KxModuleLoader module;
    ASSERT_TRUE(module.load(KX_MODULE_PATH)) << module.error();
    EXPECT_TRUE(acrxDynamicLinker()->isApplicationLocked(module.packet()));

    EXPECT_EQ(module.send(AcRx::kInitAppMsg), AcRx::kRetOK);
    EXPECT_FALSE(acrxDynamicLinker()->isApplicationLocked(module.packet()));
    EXPECT_TRUE(acrxDynamicLinker()->isAppMDIAware(module.packet()));

    const int removedBefore = acedRegCmds()->removeGroupCalls("KESTRA_SS");
    EXPECT_EQ(module.send(AcRx::kUnloadAppMsg), AcRx::kRetOK);
    EXPECT_EQ(acedRegCmds()->removeGroupCalls("KESTRA_SS"), removedBefore + 1);
}

TEST(EntryPoint, IgnoresOtherMessages)
{
    KxModuleLoader module;
    ASSERT_TRUE(module.load(KX_MODULE_PATH)) << module.error();
    for (auto msg : {AcRx::kNullMsg, AcRx::kLoadDwgMsg, AcRx::kQuitMsg, AcRx::kEndDialogMsg})
        EXPECT_EQ(module.send(msg), AcRx::kRetOK);
}
