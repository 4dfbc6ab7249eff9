// Launchers switch to their module's resources and back on every path out.
#include "core/ZnTempResourceOverride.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class ResourceOverride : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = kxwin::resourceModule("override-test");
        DialogTemplate t;
        t.id = 777;
        kxwin::addDialogTemplate(module, t);
        host = kxwin::resourceModule("host");
        AfxSetResourceHandle(host);
        ZnTempResourceOverride::SaveDefaultResource(module);
    }
    HINSTANCE module = nullptr;
    HINSTANCE host = nullptr;
};

TEST_F(ResourceOverride, TemplatesAreFoundOnlyWhileSwitched)
{
    EXPECT_EQ(FindDialogTemplate(777), nullptr);
    {
        ZnTempResourceOverride switched;
        EXPECT_NE(FindDialogTemplate(777), nullptr);
        switched.SetDefaultResource();  // a second switch keeps the first previous handle
    }
    EXPECT_EQ(AfxGetResourceHandle(), host);
}

TEST_F(ResourceOverride, AnExceptionLeavingTheLauncherRestoresTheHostsResources)
{
    EXPECT_THROW(
        {
            ZnTempResourceOverride switched;
            throw std::runtime_error("dialog failed");
        },
        std::runtime_error);
    EXPECT_EQ(AfxGetResourceHandle(), host);
}

TEST_F(ResourceOverride, RestoringEarlyIsKeptAndNotRepeated)
{
    ZnTempResourceOverride switched;
    switched.RestoreOriginalResource();
    EXPECT_EQ(AfxGetResourceHandle(), host);
    AfxSetResourceHandle(module);
    switched.RestoreOriginalResource();
    EXPECT_EQ(AfxGetResourceHandle(), module);
    AfxSetResourceHandle(host);
}

} // namespace
