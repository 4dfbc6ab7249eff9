// Picture cells keep their pixels: the file they came from may go, the sheet file stores them once
// each (version 2 records), files of version 1 still load, and damaged picture records are refused.
#include "platform/grid/tests/GridTestSupport.h"

#include "platform/win/Bitmap.h"
#include "platform/win/DrawingContext.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

std::string pictureFile(const std::string& name, int width, int height, COLORREF colour)
{
    const auto dir = std::filesystem::temp_directory_path() / ("kxgrid_pictures_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    kxwin::BitmapPixels pixels(width, height, colour);
    pixels.setPixel(0, 0, 0x0000FF);
    const std::vector<BYTE> bytes = kxwin::encodeBmp(pixels);
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::shared_ptr<const kxwin::BitmapPixels> pixelsOf(HWND g, int col, int row)
{
    SS_CELLTYPE t;
    return SSGetCellTypeRecord(g, col, row, &t) ? t.pixels : nullptr;
}

TEST(SheetPictures, CellsKeepThePixelsAndTheFileStoresEachPictureOnce)
{
    const std::string a = pictureFile("a.bmp", 30, 20, 0x00FF00);
    const std::string b = pictureFile("b.bmp", 7, 5, 0xFF0000);
    HWND g = kxgrid::createStandaloneGrid(3, 4);
    SS_CELLTYPE type;
    SSSetTypePicture(g, &type, 0x24, a.c_str());
    ASSERT_TRUE(SSSetCellType(g, 2, 1, &type));
    SSSetTypePicture(g, &type, 0x24, a.c_str());  // the same picture again, a new record
    ASSERT_TRUE(SSSetCellTypeRange(g, 2, 3, 3, 3, &type));
    SSSetTypePicture(g, &type, 0x24, b.c_str());
    ASSERT_TRUE(SSSetCellType(g, 1, 4, &type));
    std::filesystem::remove(a);
    std::filesystem::remove(b);

    const auto kept = pixelsOf(g, 2, 1);
    ASSERT_TRUE(kept) << "pixels taken when the type was set";
    EXPECT_EQ(kept->width, 30);
    EXPECT_EQ(kept->colorAt(0, 0), 0x0000FFu);

    std::string text;
    ASSERT_TRUE(kxgrid::sheetText(g, text));
    EXPECT_EQ(text.rfind("KXSHEET 2\n", 0), 0u);
    size_t pictures = 0;
    for (size_t at = text.find("\npicture "); at != std::string::npos; at = text.find("\npicture ", at + 1))
        ++pictures;
    EXPECT_EQ(pictures, 2u) << "equal pixels are stored once";

    HWND loaded = kxgrid::createStandaloneGrid();
    std::string error;
    ASSERT_TRUE(kxgrid::loadSheetText(loaded, text, &error)) << error;
    for (auto [col, row] : {std::pair{2, 1}, {2, 3}, {3, 3}, {1, 4}}) {
        const auto back = pixelsOf(loaded, col, row);
        const auto was = pixelsOf(g, col, row);
        ASSERT_TRUE(back) << col << "," << row;
        EXPECT_EQ(back->width, was->width);
        EXPECT_EQ(back->rgba, was->rgba);
    }
    std::string again;
    ASSERT_TRUE(kxgrid::sheetText(loaded, again));
    EXPECT_EQ(again, text) << "saving what was loaded writes the same bytes";
    DestroyWindow(loaded);
    DestroyWindow(g);
    kxwin::resetWindowLayer();
}

TEST(SheetPictures, TheGridPaintsAJoinedPictureOverTheCellsItCovers)
{
    const std::string file = pictureFile("wide.bmp", 60, 12, 0x00FF00);
    HWND g = kxgrid::createStandaloneGrid(4, 3);
    ShowWindow(g, SW_SHOW);
    SSSetRowHeightInPixels(g, 2, 12);
    SSAddCellSpan(g, 2, 2, 3, 1);
    SS_CELLTYPE type;
    SSSetTypePicture(g, &type, 0x24, file.c_str());
    ASSERT_TRUE(SSSetCellType(g, 2, 2, &type));
    std::filesystem::remove(file);
    ASSERT_TRUE(kxwin::paintWindow(g));
    const std::vector<kxwin::DrawOp> ops = kxwin::lastPaintRecord(g);
    const auto blit = std::find_if(ops.begin(), ops.end(), [](const kxwin::DrawOp& op) {
        return op.kind == kxwin::DrawOpKind::Blit && op.pixels && op.pixels->width == 60;
    });
    ASSERT_NE(blit, ops.end()) << "the picture is drawn from the pixels the cell kept";
    // Nothing drawn after it fills the cells it lies on.
    for (auto op = blit + 1; op != ops.end(); ++op)
        if (op->kind == kxwin::DrawOpKind::FillRect) {
            EXPECT_FALSE(op->rect.left < blit->rect.right && op->rect.right > blit->rect.left &&
                         op->rect.top < blit->rect.bottom && op->rect.bottom > blit->rect.top);
        }
    // Too high for its row: made smaller, keeping its proportions.
    EXPECT_LE(blit->rect.bottom - blit->rect.top, 10);
    EXPECT_EQ((blit->rect.right - blit->rect.left) / 5, blit->rect.bottom - blit->rect.top);
    DestroyWindow(g);
    kxwin::resetWindowLayer();
}

TEST(SheetPictures, ManyColoursAndTransparencyComeBackExactly)
{
    // 400 colours (more than a palette holds) and a picture with transparent pixels.
    kxwin::BitmapPixels many(40, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x)
            many.setPixel(x, y, RGB(x * 6, y * 25, (x * y) % 256));
    kxwin::BitmapPixels clear(5, 5, RGB(10, 20, 30));
    clear.setPixel(2, 2, RGB(200, 0, 0), 0);
    clear.setPixel(3, 3, RGB(0, 200, 0), 128);
    HBITMAP manyBitmap = kxwin::createBitmap(many);
    HBITMAP clearBitmap = kxwin::createBitmap(clear);
    HWND g = kxgrid::createStandaloneGrid(2, 1);
    SS_CELLTYPE type;
    SSSetTypePictureHandle(g, &type, 0x210024, manyBitmap);
    ASSERT_TRUE(SSSetCellType(g, 1, 1, &type));
    SSSetTypePictureHandle(g, &type, 0x210024, clearBitmap);
    ASSERT_TRUE(SSSetCellType(g, 2, 1, &type));
    DeleteObject(manyBitmap);
    DeleteObject(clearBitmap);
    std::string text;
    ASSERT_TRUE(kxgrid::sheetText(g, text));
    HWND loaded = kxgrid::createStandaloneGrid();
    std::string error;
    ASSERT_TRUE(kxgrid::loadSheetText(loaded, text, &error)) << error;
    for (int col : {1, 2}) {
        const auto back = pixelsOf(loaded, col, 1);
        ASSERT_TRUE(back) << col;
        EXPECT_EQ(back->rgba, pixelsOf(g, col, 1)->rgba) << col;
    }
    EXPECT_EQ(pixelsOf(loaded, 2, 1)->alphaAt(2, 2), 0);
    EXPECT_EQ(pixelsOf(loaded, 2, 1)->alphaAt(3, 3), 128);
    DestroyWindow(loaded);
    DestroyWindow(g);
    kxwin::resetWindowLayer();
}

TEST(SheetPictures, SheetsWithoutPicturesStayVersionOneAndOldFilesLoad)
{
    HWND g = kxgrid::createStandaloneGrid(2, 2);
    SSSetData(g, 1, 1, "x");
    SS_CELLTYPE type;
    SSSetTypePicture(g, &type, 0x24, "/no/such/picture.bmp");
    ASSERT_TRUE(SSSetCellType(g, 2, 2, &type));
    EXPECT_FALSE(pixelsOf(g, 2, 2)) << "a picture that cannot be read shows nothing";
    std::string text;
    ASSERT_TRUE(kxgrid::sheetText(g, text));
    EXPECT_EQ(text.rfind("KXSHEET 1\n", 0), 0u);

    const std::string old = "KXSHEET 1\nsize cols=2 rows=2\ntype 1 kind=2 style=0x24 file=\"a.bmp\"\nstyle 1 type=1\n"
                            "cell 2 2 s=1\ncell 1 1 d=\"kept\"\nend\n";
    std::string error;
    ASSERT_TRUE(kxgrid::loadSheetText(g, old, &error)) << error;
    EXPECT_EQ(SSGetCellType(g, 2, 2), SS_TYPE_PICTURE);
    EXPECT_FALSE(kxgrid::loadSheetText(g, "KXSHEET 1\nsize cols=1 rows=1\npicture 1 width=1 height=1 bytes=4\nend\n", &error))
        << "picture records belong to version 2";
    DestroyWindow(g);
    kxwin::resetWindowLayer();
}

TEST(SheetPictures, DamagedPictureRecordsAreRefusedAndLeaveTheGrid)
{
    const std::string file = pictureFile("c.bmp", 9, 4, 0x123456);
    HWND g = kxgrid::createStandaloneGrid(2, 2);
    SS_CELLTYPE type;
    SSSetTypePicture(g, &type, 0x24, file.c_str());
    ASSERT_TRUE(SSSetCellType(g, 1, 1, &type));
    std::string text;
    ASSERT_TRUE(kxgrid::sheetText(g, text));
    const size_t record = text.find("picture 1 ");
    const size_t data = text.find("picturedata 1 png=\"");
    ASSERT_NE(record, std::string::npos);
    ASSERT_NE(data, std::string::npos);
    const size_t dataEnd = text.find('\n', data);

    HWND target = kxgrid::createStandaloneGrid(1, 1);
    SSSetData(target, 1, 1, "unchanged");
    auto refused = [&](const std::string& damaged, const std::string& what) {
        std::string error;
        EXPECT_FALSE(kxgrid::loadSheetText(target, damaged, &error)) << what;
        EXPECT_FALSE(error.empty()) << what;
        EXPECT_EQ(SSGetMaxCols(target), 1) << what;
        return error;
    };
    // Every prefix cut inside the picture's lines.
    for (size_t n = record + 1; n < dataEnd; n += 5)
        refused(text.substr(0, n) + "\nend\n", "cut at " + std::to_string(n));
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        const size_t at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? t : t.replace(at, from.size(), to);
    };
    EXPECT_NE(refused(replaced("width=9", "width=10"), "size").find("its record says"), std::string::npos);
    refused(replaced("width=9", "width=40000"), "too wide");
    refused(replaced("bytes=", "bytes=9999999999"), "more bytes than the file");
    refused(replaced("png=\"", "png=\"!!!!"), "no base64");
    refused(replaced("picturedata 1", "picturedata 2"), "data of another picture");
    refused(replaced("picture=1", "picture=2"), "unknown picture");
    refused(replaced("kind=2 style=0x24", "kind=1 style=0x24"), "an edit type naming a picture");
    std::string twice = text;
    twice.insert(dataEnd + 1, text.substr(data, dataEnd - data + 1));
    refused(twice, "more data than the record says");
    EXPECT_EQ(SSGetMaxCols(target), 1);
    DestroyWindow(target);
    DestroyWindow(g);
    std::filesystem::remove(file);
    kxwin::resetWindowLayer();
}

} // namespace
