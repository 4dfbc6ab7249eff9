// The module's button icons: every icon id the dialogs use loads from the module's resources as a
// 16x16 picture with something drawn on it. The pictures come from tools/make_icons.py (see
// docs/icons.md).
#include "core/ZnTempResourceOverride.h"
#include "frame/ModelessDialogs.h"
#include "platform/win/Bitmap.h"

#include <gtest/gtest.h>

namespace {

struct IconUse {
    int id;
    const char* use;
};

// Every icon id of the module, with what its button does.
constexpr IconUse kIcons[] = {
    {148, "dialog designer window"},
    {206, "remove / delete the selection"},
    {212, "add"},
    {217, "select another macro"},
    {218, "view from the front"},
    {219, "spare id of the button range"},
    {220, "view from above"},
    {221, "view from the right"},
    {222, "view from the left"},
    {223, "copy"},
    {224, "paste"},
    {225, "insert a row"},
    {226, "delete a row"},
    {227, "move a row up"},
    {228, "move a row down"},
    {229, "spare id of the button range"},
    {230, "spare id of the button range"},
    {231, "load a background picture"},
    {232, "open / read a file"},
    {233, "save / write a file"},
    {234, "zoom"},
    {235, "set width"},
    {236, "set height"},
    {237, "clash checking on/off"},
    {238, "find and replace"},
    {239, "flex button"},
    {240, "filter options hidden"},
    {241, "show or hide the filter options"},
};

constexpr COLORREF kTransparent = RGB(255, 255, 255);

TEST(Icons, EveryIconLoadsFromTheModulesResourcesAs16x16AndIsNotBlank)
{
    kxss::attachModule();
    const int iconsBefore = kxwin::liveIconCount();
    {
        ZnTempResourceOverride moduleResources;
        for (const IconUse& icon : kIcons) {
            SCOPED_TRACE(testing::Message() << "icon " << icon.id << " (" << icon.use << ")");
            HICON handle = LoadIcon(icon.id);
            ASSERT_NE(handle, nullptr) << kxwin::lastPictureError();
            EXPECT_EQ(kxwin::iconSize(handle), (SIZE{16, 16}));
            const auto pixels = kxwin::iconPixels(handle);
            ASSERT_NE(pixels, nullptr);
            int drawn = 0;
            for (int y = 0; y < pixels->height; ++y) {
                for (int x = 0; x < pixels->width; ++x) {
                    if (pixels->alphaAt(x, y) != 0 && pixels->colorAt(x, y) != kTransparent)
                        ++drawn;
                }
            }
            EXPECT_GE(drawn, 16) << "the icon shows next to nothing";
            EXPECT_LT(drawn, 16 * 16 + 1);
            EXPECT_TRUE(DestroyIcon(handle));
        }
    }
    EXPECT_EQ(kxwin::liveIconCount(), iconsBefore);
    EXPECT_EQ(kxwin::resourceModuleName(AfxGetResourceHandle()), "host") << "the host's resources are current again";
}

TEST(Icons, TheIdsAreListedOnceInAscendingOrder)
{
    for (std::size_t i = 1; i < std::size(kIcons); ++i)
        EXPECT_LT(kIcons[i - 1].id, kIcons[i].id) << "at entry " << i;
}

TEST(Icons, AnIdOutsideTheSetIsNotAnIcon)
{
    kxss::attachModule();
    ZnTempResourceOverride moduleResources;
    EXPECT_EQ(LoadIcon(242), nullptr);
    EXPECT_FALSE(kxwin::lastPictureError().empty());
}

} // namespace
