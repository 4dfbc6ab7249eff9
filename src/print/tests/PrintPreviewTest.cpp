// The preview's page and zoom: bounds, the page text and the page's size on screen.
#include "print/PrintPreview.h"

#include <gtest/gtest.h>

using kxprint::PreviewState;

TEST(PrintPreviewState, PagesTurnWithinTheirBounds)
{
    PreviewState state(3);
    EXPECT_EQ(state.pageText("Page %1 of %2"), "Page 1 of 3");
    EXPECT_FALSE(state.canGoBack());
    EXPECT_FALSE(state.back()) << "no page before the first";
    EXPECT_EQ(state.page(), 0);
    EXPECT_TRUE(state.forward());
    EXPECT_TRUE(state.forward());
    EXPECT_FALSE(state.canGoForward());
    EXPECT_FALSE(state.forward()) << "no page after the last";
    EXPECT_EQ(state.pageText("%1/%2 (%1)"), "3/3 (3)");
    EXPECT_TRUE(state.back());
    EXPECT_EQ(state.page(), 1);

    // A plan without pages still shows one blank page.
    PreviewState empty(0);
    EXPECT_EQ(empty.pageCount(), 1);
    EXPECT_EQ(empty.pageText("%1 of %2"), "1 of 1");
    EXPECT_FALSE(empty.canGoForward());
}

TEST(PrintPreviewState, ZoomStopsAtItsSmallestAndLargestStep)
{
    PreviewState state(1);
    EXPECT_EQ(state.zoom(), kxprint::kPreviewDefaultZoom);
    int steps = 0;
    while (state.zoomIn())
        ++steps;
    EXPECT_EQ(state.zoom(), 400);
    EXPECT_EQ(steps, 6);
    EXPECT_FALSE(state.canZoomIn());
    while (state.zoomOut())
        ++steps;
    EXPECT_EQ(state.zoom(), 25);
    EXPECT_FALSE(state.canZoomOut());
    // A wish between steps takes the step below it; one below every step the smallest.
    EXPECT_EQ(PreviewState(1, 120).zoom(), 100);
    EXPECT_EQ(PreviewState(1, 5).zoom(), 25);
}

TEST(PrintPreviewState, PageSizeOnScreenFollowsPaperOrientationAndZoom)
{
    kxprint::PageSetup a4;
    PreviewState state(1, 100);
    // 210 x 297 mm at 96 dpi.
    EXPECT_EQ(state.pixelsWide(a4), 794);
    EXPECT_EQ(state.pixelsHigh(a4), 1123);
    kxprint::PageSetup letter;
    letter.paper = kxprint::Paper::Letter;
    letter.landscape = true;
    EXPECT_EQ(state.pixelsWide(letter), 1056);
    EXPECT_EQ(state.pixelsHigh(letter), 816);
    state.zoomOut();
    state.zoomOut();
    EXPECT_EQ(state.zoom(), 50);
    EXPECT_EQ(state.pixelsWide(letter), 528);
}
