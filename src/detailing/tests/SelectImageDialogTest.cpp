// The image selection dialog as StartDlgSelectImage runs it: the thumbnails it makes, what OK needs
// and gives, and the size it keeps between runs.
#include "detailing/DetailingLaunchers.h"
#include "detailing/ZnDlgSelectImage.h"

#include "DetailingTestSupport.h"
#include "core/TextTables.h"
#include "core/tests/DialogTestSupport.h"
#include "core/tests/FileTestSupport.h"
#include "platform/win/ImageCodec.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

#include <filesystem>
#include <string>
#include <vector>

using S = ZnDlgSelectImage;

namespace {

class SelectImageDialog : public kxtest::DetailingTest {
protected:
    void SetUp() override
    {
        DetailingTest::SetUp();
        namespace fs = std::filesystem;
        fs::create_directories(pictures.path() / "a");
        fs::create_directories(pictures.path() / "b");
        data.title = "Choose a picture";
        // The first picture gives every thumbnail its size.
        addPicture("a/Frame.bmp", 40, 30);
        addPicture("a/Knee.bmp", 80, 80);
        addPicture("b/Frame.bmp", 20, 20);
        data.images.append((pictures.path() / "missing.bmp").string());
    }
    void addPicture(const std::string& name, int w, int h)
    {
        const std::string path = (pictures.path() / name).string();
        const std::vector<BYTE> bytes = kxwin::encodeBmp(kxwin::BitmapPixels(w, h, RGB(20, 120, 200)));
        kxtest::writeBytes(path, std::string(bytes.begin(), bytes.end()));
        data.images.append(path);
    }
    static SIZE sizeOf(HWND w)
    {
        const RECT r = kxtest::screenRect(w);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }

    kxtest::TempFolder pictures;
    kxwin::UserAgent agent;
    ZnSelectImageDlgData data;
};

TEST_F(SelectImageDialog, ShowsEveryPictureAndOkNeedsASelectionAndGivesItsName)
{
    agent.onDialog(S::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), "Choose a picture");
        EXPECT_EQ(d.text(IDOK), dialString(1).str());
        // Equal names from two folders are two thumbnails; the missing picture keeps its entry.
        EXPECT_EQ(d.items(S::kThumbnails), (std::vector<std::string>{"Frame", "Knee", "Frame", "missing"}));
        d.ok();
        EXPECT_TRUE(d.isOpen());
        d.pick(S::kThumbnails, 2);
        EXPECT_EQ(d.selectedIndex(S::kThumbnails), 2);
        d.ok();
        EXPECT_FALSE(d.isOpen());
    });
    ASSERT_TRUE(StartDlgSelectImage(data));
    EXPECT_EQ(data.selection, Kx_String("Frame"));
    EXPECT_EQ(data.images.length(), 4);
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(SelectImageDialog, ThumbnailsTakeTheFirstPicturesSizeAndCancelLeavesTheData)
{
    SIZE thumbnail{};
    agent.onDialog(S::kTemplateId, [&](kxwin::DialogDriver& d) {
        auto* dialog = static_cast<ZnDlgSelectImage*>(CWnd::FromHandle(d.dialog()));
        ASSERT_NE(dialog, nullptr);
        thumbnail = dialog->thumbnails().thumbnailSize();
        EXPECT_TRUE(dialog->thumbnails().isPlaceholder(3));
        d.pick(S::kThumbnails, 1).cancel();
    });
    data.selection = "before";
    const ZnSelectImageDlgData before = data;
    EXPECT_FALSE(StartDlgSelectImage(data));
    EXPECT_EQ(thumbnail.cx, 40);
    EXPECT_EQ(thumbnail.cy, 30);
    EXPECT_EQ(data.selection, before.selection);
    EXPECT_EQ(data.images, before.images);
}

TEST_F(SelectImageDialog, TheSizeIsKeptAndTheDialogCanShrinkBackToItsTemplate)
{
    SIZE templateSize{};
    int cancelToEdge = 0;
    auto rightMargin = [](kxwin::DialogDriver& d) {
        RECT client{};
        GetClientRect(d.dialog(), client);
        return client.right - GetWindowRectInParent(d.item(IDCANCEL)).right;
    };
    agent.onDialog(S::kTemplateId, [&](kxwin::DialogDriver& d) {
        templateSize = sizeOf(d.dialog());
        cancelToEdge = rightMargin(d);
        const RECT r = kxtest::screenRect(d.dialog());
        MoveWindow(d.dialog(), r.left, r.top, templateSize.cx + 200, templateSize.cy + 150);
        d.cancel();
    });
    agent.onDialog(S::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(sizeOf(d.dialog()).cx, templateSize.cx + 200);
        EXPECT_EQ(sizeOf(d.dialog()).cy, templateSize.cy + 150);
        MINMAXINFO info{};
        SendMessage(d.dialog(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMinTrackSize.x, templateSize.cx);
        EXPECT_EQ(info.ptMinTrackSize.y, templateSize.cy);
        // The list follows the dialog's edges, the buttons its bottom right corner.
        const RECT list = GetWindowRectInParent(d.item(S::kThumbnails));
        const RECT ok = GetWindowRectInParent(d.item(IDOK));
        EXPECT_GT(ok.top, list.bottom);
        EXPECT_EQ(rightMargin(d), cancelToEdge);
        EXPECT_GT(list.right - list.left, templateSize.cx);
        d.cancel();
    });
    EXPECT_FALSE(StartDlgSelectImage(data));
    EXPECT_FALSE(StartDlgSelectImage(data));
    EXPECT_EQ(agent.unusedScripts(), 0);
}

} // namespace
