// The pictures of the sample library that the macro and constraint dialogs show from its "icons"
// folder: each one is there, reads with the window layer's picture reader at the size it is drawn
// for, keeps white (the transparent colour) round the drawing and has something drawn on it. The
// pictures come from tools/make_library_pictures.py (docs/library-pictures.md); the test
// generated_library_pictures checks that the committed files are what the generator writes.
#include "core/Paths.h"
#include "platform/win/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct LibraryPicture {
    const char* file;
    int width;
    int height;
};

// Every picture the dialogs name, at the size it is shown: picture-combo entries 48 x 32, large
// pictures beside the fields they explain 160 x 120, command buttons 32 x 32.
constexpr LibraryPicture kPictures[] = {
    {"CutProfvsPlate.bmp", 48, 32},
    {"CutProfvsProf.bmp", 48, 32},
    {"CutProfinProf.bmp", 48, 32},
    {"CutProfvsProf3Segments.bmp", 48, 32},
    {"CutChamfer.bmp", 48, 32},
    {"CutFillet.bmp", 48, 32},
    {"DrawBolt2.bmp", 160, 120},
    {"MacroFilterAngle90.bmp", 160, 120},
    {"MacroFilterAngle180.bmp", 160, 120},
    {"MacroFilterSectionAngle.bmp", 160, 120},
    {"MacroFilterPathDistance.bmp", 160, 120},
    {"MacroFilterSectionSize.bmp", 160, 120},
    {"Parallel.bmp", 32, 32},
    {"Perpendicular.bmp", 32, 32},
    {"Coincident.bmp", 32, 32},
    {"Symmetric.bmp", 32, 32},
    {"Tangent.bmp", 32, 32},
    {"Concentric.bmp", 32, 32},
    {"EqualRadius.bmp", 32, 32},
    {"Distance.bmp", 32, 32},
    {"Angle.bmp", 32, 32},
    {"Radius.bmp", 32, 32},
    {"AddModule.bmp", 32, 32},
    {"BoltPattern.bmp", 32, 32},
    {"CoordSys.bmp", 32, 32},
};

constexpr COLORREF kTransparent = RGB(255, 255, 255);

std::string iconsFolder() { return std::string(KX_SOURCE_LIBRARY_DIR) + "icons/"; }

TEST(LibraryPictures, EveryPictureReadsAtItsSizeWithSomethingDrawnOnATransparentGround)
{
    const int bitmapsBefore = kxwin::liveBitmapCount();
    for (const LibraryPicture& picture : kPictures) {
        SCOPED_TRACE(picture.file);
        // As the dialogs name them: the library folder, "icons\", the file.
        const std::string name = std::string(KX_SOURCE_LIBRARY_DIR) + "icons\\" + picture.file;
        const auto native = kx::toNativePath(name);
        ASSERT_TRUE(native.has_value());
        std::string error;
        HBITMAP bitmap = kxwin::loadBitmapFile(*native, &error);
        ASSERT_NE(bitmap, nullptr) << error;
        EXPECT_EQ(kxwin::bitmapSize(bitmap), (SIZE{picture.width, picture.height}));
        const auto pixels = kxwin::bitmapPixels(bitmap);
        ASSERT_NE(pixels, nullptr);

        int drawn = 0;
        int nearWhite = 0;
        for (int y = 0; y < pixels->height; ++y) {
            for (int x = 0; x < pixels->width; ++x) {
                const COLORREF c = pixels->colorAt(x, y);
                if (c == kTransparent)
                    continue;
                ++drawn;
                if (GetRValue(c) > 248 && GetGValue(c) > 248 && GetBValue(c) > 248)
                    ++nearWhite;
            }
        }
        const int all = picture.width * picture.height;
        EXPECT_GE(drawn, all / 20) << "the picture shows next to nothing";
        EXPECT_LT(drawn, all) << "no transparent ground left";
        EXPECT_EQ(nearWhite, 0) << "a colour next to white would show as a speck against the transparent ground";
        // The ground shows at least at one corner, so the picture sits on the dialog's face.
        const int corners = (pixels->colorAt(0, 0) == kTransparent) + (pixels->colorAt(picture.width - 1, 0) == kTransparent)
                            + (pixels->colorAt(0, picture.height - 1) == kTransparent)
                            + (pixels->colorAt(picture.width - 1, picture.height - 1) == kTransparent);
        EXPECT_GE(corners, 1);
        EXPECT_TRUE(DeleteObject(bitmap));
    }
    EXPECT_EQ(kxwin::liveBitmapCount(), bitmapsBefore);
}

TEST(LibraryPictures, ThePicturesAreTwentyFourBitBmpsAsPeersReadThem)
{
    // The add-on's other tools read these files too: a plain 24-bit BMP with a 40-byte header.
    for (const LibraryPicture& picture : kPictures) {
        SCOPED_TRACE(picture.file);
        std::FILE* f = std::fopen((iconsFolder() + picture.file).c_str(), "rb");
        ASSERT_NE(f, nullptr);
        unsigned char header[30] = {};
        const size_t read = std::fread(header, 1, sizeof header, f);
        std::fclose(f);
        ASSERT_EQ(read, sizeof header);
        EXPECT_EQ(header[0], 'B');
        EXPECT_EQ(header[1], 'M');
        EXPECT_EQ(header[14], 40) << "BITMAPINFOHEADER";
        EXPECT_EQ(header[28], 24) << "bits per pixel";
    }
}

} // namespace
