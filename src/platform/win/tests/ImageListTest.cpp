// Image lists: pictures fitted to the list's size, masks and transparent colours, replacing and
// removing, drawing into a memory bitmap and a window's paint record, and stale handles.
#include "platform/win/ImageList.h"

#include "platform/win/Bitmap.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Window.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using kxwin::BitmapPixels;

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kWhite = RGB(255, 255, 255);

HBITMAP solid(int w, int h, COLORREF colour)
{
    return kxwin::createBitmap(BitmapPixels(w, h, colour));
}

HBITMAP painted(int w, int h, const std::function<COLORREF(int, int)>& colourAt)
{
    BitmapPixels p(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            p.setPixel(x, y, colourAt(x, y));
    }
    return kxwin::createBitmap(std::move(p));
}

// Owns the list and the bitmaps a test makes, so that a failing assertion leaks nothing.
class ImageListTest : public kxwin::testing::WindowLayerTest {
protected:
    void TearDown() override
    {
        for (HIMAGELIST l : lists)
            ImageList_Destroy(l);
        for (HBITMAP b : bitmaps)
            DeleteObject(b);
        EXPECT_EQ(kxwin::liveImageListCount(), 0);
        WindowLayerTest::TearDown();
    }
    HIMAGELIST make(int cx, int cy, UINT flags = ILC_COLOR32 | ILC_MASK)
    {
        HIMAGELIST l = ImageList_Create(cx, cy, flags, 4, 4);
        if (l != nullptr)
            lists.push_back(l);
        return l;
    }
    HBITMAP keep(HBITMAP b)
    {
        bitmaps.push_back(b);
        return b;
    }
    std::vector<HIMAGELIST> lists;
    std::vector<HBITMAP> bitmaps;
};

TEST_F(ImageListTest, CreateRefusesSizesOutsideThePictureLimits)
{
    EXPECT_EQ(make(0, 16), nullptr);
    EXPECT_EQ(make(16, -1), nullptr);
    EXPECT_EQ(make(kxwin::kMaxPictureSide + 1, 1), nullptr);
    EXPECT_EQ(make(8000, 8000), nullptr) << "64 million pixels a picture is over the limit";
    HIMAGELIST l = make(48, 32);
    ASSERT_NE(l, nullptr);
    int cx = 0;
    int cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(l, &cx, &cy));
    EXPECT_EQ(cx, 48);
    EXPECT_EQ(cy, 32);
    EXPECT_EQ(ImageList_GetImageCount(l), 0);
}

TEST_F(ImageListTest, WidePictureIsScaledToTheWidthAndCentredVertically)
{
    HIMAGELIST l = make(16, 16);
    ASSERT_EQ(ImageList_Add(l, keep(solid(32, 16, kRed)), nullptr), 0);
    auto p = kxwin::imageListPixels(l, 0);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->width, 16);
    ASSERT_EQ(p->height, 16);
    // 32 x 16 becomes 16 x 8, rows 4 to 11.
    for (int y = 0; y < 16; ++y) {
        const bool inside = y >= 4 && y < 12;
        EXPECT_EQ(p->alphaAt(0, y), inside ? 255 : 0) << "row " << y;
        EXPECT_EQ(p->alphaAt(15, y), inside ? 255 : 0) << "row " << y;
        if (inside) {
            EXPECT_EQ(p->colorAt(7, y), kRed);
        }
    }
}

TEST_F(ImageListTest, TallAndSmallPicturesKeepTheirProportions)
{
    HIMAGELIST l = make(20, 10);
    ASSERT_EQ(ImageList_Add(l, keep(solid(5, 50, kBlue)), nullptr), 0);  // 1 x 10 after fitting
    ASSERT_EQ(ImageList_Add(l, keep(solid(2, 1, kRed)), nullptr), 1);    // scaled up to 20 x 10
    auto tall = kxwin::imageListPixels(l, 0);
    ASSERT_TRUE(tall);
    int opaqueColumns = 0;
    for (int x = 0; x < 20; ++x)
        opaqueColumns += tall->alphaAt(x, 5) == 255 ? 1 : 0;
    EXPECT_EQ(opaqueColumns, 1) << "a picture never shrinks below one pixel a side";
    EXPECT_EQ(tall->alphaAt((20 - 1) / 2, 0), 255) << "centred";
    auto small = kxwin::imageListPixels(l, 1);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->colorAt(0, 0), kRed);
    EXPECT_EQ(small->alphaAt(19, 9), 255);
}

TEST_F(ImageListTest, PictureOfTheListSizeIsKeptPixelForPixel)
{
    HIMAGELIST l = make(4, 3);
    HBITMAP b = keep(painted(4, 3, [](int x, int y) { return RGB(x * 60, y * 80, 7); }));
    ASSERT_EQ(ImageList_Add(l, b, nullptr), 0);
    auto p = kxwin::imageListPixels(l, 0);
    auto source = kxwin::bitmapPixels(b);
    ASSERT_TRUE(p && source);
    EXPECT_EQ(p->rgba, source->rgba);
}

TEST_F(ImageListTest, TransparentColourAndMasksNeedTheMaskFlag)
{
    auto checker = [](int x, int y) { return (x + y) % 2 ? kWhite : kRed; };
    HIMAGELIST masked = make(4, 4);
    HIMAGELIST plain = make(4, 4, ILC_COLOR24);
    ASSERT_EQ(ImageList_AddMasked(masked, keep(painted(4, 4, checker)), kWhite), 0);
    ASSERT_EQ(ImageList_AddMasked(plain, keep(painted(4, 4, checker)), kWhite), 0);
    auto m = kxwin::imageListPixels(masked, 0);
    auto p = kxwin::imageListPixels(plain, 0);
    ASSERT_TRUE(m && p);
    EXPECT_EQ(m->alphaAt(1, 0), 0);
    EXPECT_EQ(m->alphaAt(0, 0), 255);
    EXPECT_EQ(p->alphaAt(1, 0), 255) << "without ILC_MASK the picture is opaque";

    // A mask bitmap: white is transparent; outside a smaller mask the picture stays opaque.
    HBITMAP mask = keep(painted(2, 4, [](int x, int) { return x == 0 ? kWhite : RGB(0, 0, 0); }));
    ASSERT_EQ(ImageList_Add(masked, keep(solid(4, 4, kBlue)), mask), 1);
    auto withMask = kxwin::imageListPixels(masked, 1);
    ASSERT_TRUE(withMask);
    EXPECT_EQ(withMask->alphaAt(0, 2), 0);
    EXPECT_EQ(withMask->alphaAt(1, 2), 255);
    EXPECT_EQ(withMask->alphaAt(3, 2), 255);
}

TEST_F(ImageListTest, BadPicturesAreRefusedAndChangeNothing)
{
    HIMAGELIST l = make(8, 8);
    ASSERT_EQ(ImageList_Add(l, keep(solid(8, 8, kRed)), nullptr), 0);
    HBITMAP dead = solid(8, 8, kRed);
    DeleteObject(dead);
    EXPECT_EQ(ImageList_Add(l, dead, nullptr), -1);
    EXPECT_EQ(ImageList_Add(l, keep(solid(8, 8, kRed)), dead), -1) << "a dead mask is an error, not no mask";
    EXPECT_EQ(ImageList_Add(l, keep(kxwin::createBitmap(BitmapPixels())), nullptr), -1);
    EXPECT_EQ(ImageList_Add(l, nullptr, nullptr), -1);
    EXPECT_FALSE(ImageList_Replace(l, 0, dead, nullptr));
    EXPECT_EQ(ImageList_GetImageCount(l), 1);
    EXPECT_EQ(kxwin::imageListPixels(l, 0)->colorAt(3, 3), kRed);
}

TEST_F(ImageListTest, ReplaceAndRemoveKeepTheOtherImagesInOrder)
{
    HIMAGELIST l = make(2, 2);
    for (COLORREF c : {kRed, kBlue, kWhite})
        ImageList_Add(l, keep(solid(2, 2, c)), nullptr);
    ASSERT_EQ(ImageList_GetImageCount(l), 3);
    EXPECT_TRUE(ImageList_Replace(l, 1, keep(solid(2, 2, RGB(1, 2, 3))), nullptr));
    EXPECT_FALSE(ImageList_Replace(l, 3, keep(solid(2, 2, kRed)), nullptr));
    EXPECT_FALSE(ImageList_Replace(l, -1, keep(solid(2, 2, kRed)), nullptr));
    EXPECT_TRUE(ImageList_Remove(l, 0));
    EXPECT_FALSE(ImageList_Remove(l, 2));
    ASSERT_EQ(ImageList_GetImageCount(l), 2);
    EXPECT_EQ(kxwin::imageListPixels(l, 0)->colorAt(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(kxwin::imageListPixels(l, 1)->colorAt(0, 0), kWhite);
    EXPECT_EQ(kxwin::imageListPixels(l, 2), nullptr);
    EXPECT_TRUE(ImageList_Remove(l, -1));
    EXPECT_EQ(ImageList_GetImageCount(l), 0);
}

TEST_F(ImageListTest, ImagesOutliveTheBitmapsTheyWereMadeFrom)
{
    HIMAGELIST l = make(3, 3);
    HBITMAP b = solid(3, 3, kBlue);
    ASSERT_EQ(ImageList_Add(l, b, nullptr), 0);
    DeleteObject(b);
    EXPECT_EQ(kxwin::imageListPixels(l, 0)->colorAt(1, 1), kBlue);
}

TEST_F(ImageListTest, StaleHandlesAreHarmlessAndNeverComeBack)
{
    HIMAGELIST l = ImageList_Create(8, 8, ILC_MASK, 1, 1);
    ASSERT_NE(l, nullptr);
    ImageList_Add(l, keep(solid(8, 8, kRed)), nullptr);
    EXPECT_TRUE(ImageList_Destroy(l));
    EXPECT_FALSE(ImageList_Destroy(l));
    EXPECT_FALSE(kxwin::isImageList(l));
    EXPECT_EQ(ImageList_Add(l, keep(solid(8, 8, kRed)), nullptr), -1);
    EXPECT_EQ(ImageList_AddMasked(l, keep(solid(8, 8, kRed)), kWhite), -1);
    EXPECT_FALSE(ImageList_Replace(l, 0, keep(solid(8, 8, kRed)), nullptr));
    EXPECT_FALSE(ImageList_Remove(l, -1));
    EXPECT_EQ(ImageList_GetImageCount(l), 0);
    int cx = -5;
    EXPECT_FALSE(ImageList_GetIconSize(l, &cx, nullptr));
    EXPECT_EQ(cx, -5);
    EXPECT_EQ(ImageList_GetIcon(l, 0, ILD_NORMAL), nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_FALSE(ImageList_Draw(l, 0, dc, 0, 0, ILD_NORMAL));
    DeleteDC(dc);
    EXPECT_FALSE(ImageList_Destroy(nullptr));
    HIMAGELIST next = make(8, 8);
    EXPECT_NE(next, l) << "a handle value is never reused";
}

TEST_F(ImageListTest, DrawingIntoAMemoryBitmapLeavesTheTransparentPartsAlone)
{
    HIMAGELIST l = make(4, 4);
    ImageList_AddMasked(l, keep(painted(4, 4, [](int x, int) { return x < 2 ? kRed : kWhite; })), kWhite);
    HBITMAP target = keep(solid(8, 8, kBlue));
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, target);
    EXPECT_TRUE(ImageList_Draw(l, 0, dc, 2, 2, ILD_TRANSPARENT));
    EXPECT_FALSE(ImageList_Draw(l, 1, dc, 0, 0, ILD_NORMAL)) << "no image 1";
    DeleteDC(dc);
    auto p = kxwin::bitmapPixels(target);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->colorAt(2, 2), kRed);
    EXPECT_EQ(p->colorAt(3, 5), kRed);
    EXPECT_EQ(p->colorAt(4, 2), kBlue) << "transparent part";
    EXPECT_EQ(p->colorAt(1, 1), kBlue) << "outside the image";
    HDC deadDc = CreateCompatibleDC(nullptr);
    DeleteDC(deadDc);
    EXPECT_FALSE(ImageList_Draw(l, 0, deadDc, 0, 0, ILD_NORMAL));
}

TEST_F(ImageListTest, DrawStylesShowInTheWindowsPaintRecord)
{
    HIMAGELIST l = make(4, 4);
    ImageList_Add(l, keep(solid(4, 4, RGB(0, 0, 0))), nullptr);
    ImageList_SetBkColor(l, RGB(10, 20, 30));
    HWND window = CreateWindowEx(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, 0);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    ImageList_Draw(l, 0, dc, 5, 6, ILD_NORMAL);
    ImageList_Draw(l, 0, dc, 20, 6, ILD_TRANSPARENT | ILD_SELECTED);
    ReleaseDC(window, dc);
    auto record = kxwin::lastPaintRecord(window);
    ASSERT_GE(record.size(), 3u) << kxwin::describeDrawOps(record);
    record.erase(record.begin(), record.end() - 3);
    EXPECT_EQ(record[0].kind, kxwin::DrawOpKind::FillRect) << "ILD_NORMAL fills the list's background colour";
    EXPECT_EQ(record[0].color, RGB(10, 20, 30));
    EXPECT_EQ(record[1].kind, kxwin::DrawOpKind::Icon);
    EXPECT_EQ(record[1].rect, (RECT{5, 6, 9, 10}));
    EXPECT_EQ(record[1].pixels->colorAt(0, 0), RGB(0, 0, 0));
    ASSERT_EQ(record[2].kind, kxwin::DrawOpKind::Icon);
    const COLORREF selected = record[2].pixels->colorAt(0, 0);
    EXPECT_GT(GetBValue(selected), 50) << "the selected style blends in the highlight colour";
    EXPECT_EQ(kxwin::imageListPixels(l, 0)->colorAt(0, 0), RGB(0, 0, 0)) << "drawing never changes the image";
}

TEST_F(ImageListTest, IconsGoInFittedAndComeOutAsNewIcons)
{
    HIMAGELIST l = make(8, 8);
    BitmapPixels pixels(4, 4, kRed);
    pixels.setPixel(0, 0, kRed, 0);
    HICON icon = kxwin::createIcon(pixels);
    ASSERT_EQ(ImageList_AddIcon(l, icon), 0);
    DestroyIcon(icon);
    EXPECT_EQ(ImageList_AddIcon(l, icon), -1) << "a destroyed icon";
    HICON out = ImageList_GetIcon(l, 0, ILD_NORMAL);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(kxwin::iconSize(out), (SIZE{8, 8}));
    EXPECT_EQ(kxwin::iconPixels(out)->alphaAt(1, 1), 0) << "the transparent corner, scaled up";
    EXPECT_EQ(kxwin::iconPixels(out)->alphaAt(4, 4), 255);
    DestroyIcon(out);
}

TEST_F(ImageListTest, ChangingTheSizeEmptiesTheList)
{
    HIMAGELIST l = make(8, 8);
    ImageList_Add(l, keep(solid(8, 8, kRed)), nullptr);
    EXPECT_FALSE(ImageList_SetIconSize(l, 0, 8));
    EXPECT_EQ(ImageList_GetImageCount(l), 1);
    EXPECT_TRUE(ImageList_SetIconSize(l, 16, 4));
    EXPECT_EQ(ImageList_GetImageCount(l), 0);
    ASSERT_EQ(ImageList_Add(l, keep(solid(8, 8, kRed)), nullptr), 0);
    EXPECT_EQ(kxwin::imageListPixels(l, 0)->width, 16);
}

} // namespace
