// The host stand-in: command line, system registry services and module loading errors.
#include "platform/host/AcDb.h"
#include "platform/host/Acrx.h"
#include "platform/host/CommandLine.h"
#include "platform/host/ModuleLoader.h"

#include <gtest/gtest.h>

#include <string>

TEST(CommandLine, KeepsEverythingPrintedUntilTakenWhateverItsLength)
{
    kxhost::takeCommandLineText();
    const std::string longName(5000, 'x');
    EXPECT_EQ(acutPrintf("*Error* %s.\n", longName.c_str()), static_cast<int>(longName.size()) + 10);
    acutPrintf("%d%%\n", 50);
    EXPECT_EQ(kxhost::takeCommandLineText(), "*Error* " + longName + ".\n50%\n");
    EXPECT_EQ(kxhost::commandLineText(), "");
}

TEST(CommandLine, PostedPromptsAreCountedAndShown)
{
    kxhost::takeCommandLineText();
    const int before = kxhost::commandPromptCount();
    acedPostCommandPrompt();
    EXPECT_EQ(kxhost::commandPromptCount(), before + 1);
    EXPECT_EQ(kxhost::takeCommandLineText(), "\nCommand: ");
}

TEST(SystemRegistry, NamedServicesAreSingletonsAndUnknownNamesGiveNull)
{
    EXPECT_EQ(acrxSysRegistry()->at("DynamicLinker"), acrxDynamicLinker());
    EXPECT_EQ(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"), acedRegCmds());
    EXPECT_EQ(acrxSysRegistry()->at("dynamiclinker"), nullptr);
}

TEST(SystemRegistry, LinkerRecordsUnlockAndMdiAwarenessPerPacket)
{
    int a = 0;
    int b = 0;
    AcRxDynamicLinker linker;
    EXPECT_TRUE(linker.isApplicationLocked(&a));
    EXPECT_TRUE(linker.unlockApplication(&a));
    EXPECT_TRUE(linker.registerAppMDIAware(&a));
    EXPECT_FALSE(linker.isApplicationLocked(&a));
    EXPECT_TRUE(linker.isAppMDIAware(&a));
    EXPECT_TRUE(linker.isApplicationLocked(&b));
    EXPECT_FALSE(linker.unlockApplication(nullptr));
}

TEST(SystemRegistry, RemovingAGroupLeavesOtherGroupsCommands)
{
    AcEdCommandStack stack;
    stack.addCommand("KESTRA_SS", "A");
    stack.addCommand("OTHER", "B");
    EXPECT_TRUE(stack.removeGroup("KESTRA_SS"));
    EXPECT_FALSE(stack.removeGroup("KESTRA_SS"));
    EXPECT_FALSE(stack.hasGroup("KESTRA_SS"));
    EXPECT_TRUE(stack.hasGroup("OTHER"));
    EXPECT_EQ(stack.removeGroupCalls("KESTRA_SS"), 2);
}

TEST(ModuleLoader, ExplainsWhyALibraryCannotBeUsedAsAModule)
{
    KxModuleLoader loader;
    EXPECT_FALSE(loader.load("/nonexistent/libnothing.so"));
    EXPECT_NE(loader.error().find("cannot load /nonexistent/libnothing.so"), std::string::npos);

    EXPECT_FALSE(loader.load(KX_HOST_LIBRARY_PATH));
    EXPECT_NE(loader.error().find("is not a module"), std::string::npos);
    EXPECT_FALSE(loader.isLoaded());
    EXPECT_EQ(loader.send(AcRx::kInitAppMsg), AcRx::kRetError);
}

TEST(Transaction, EndsOnce)
{
    AcTransaction transaction;
    EXPECT_TRUE(transaction.isOpen());
    EXPECT_TRUE(transaction.end());
    EXPECT_FALSE(transaction.abort());
}

TEST(ObjectIds, NullIdAndOrderingFollowTheHandle)
{
    EXPECT_TRUE(AcDbObjectId::kNull.isNull());
    AcDbObjectIdArray ids{AcDbObjectId(7), AcDbObjectId(3)};
    int index = -1;
    EXPECT_TRUE(ids.find(AcDbObjectId(3), index));
    EXPECT_EQ(index, 1);
    EXPECT_LT(AcDbObjectId(3), AcDbObjectId(7));
}
