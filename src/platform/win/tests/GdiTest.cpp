// Bitmaps and icons (decoding, limits, encoding, masks, handles), fonts and text extents, window
// painting records and drawing into memory bitmaps.
#include "platform/win/Bitmap.h"
#include "platform/win/CWnd.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Font.h"
#include "platform/win/ImageCodec.h"
#include "platform/win/Resources.h"
#include "platform/win/Window.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Pixel = std::array<BYTE, 4>;  // r, g, b, a
using PixelFn = std::function<Pixel(int x, int y)>;

void le16(std::vector<BYTE>& out, std::uint32_t v)
{
    out.push_back(static_cast<BYTE>(v));
    out.push_back(static_cast<BYTE>(v >> 8));
}

void le32(std::vector<BYTE>& out, std::uint32_t v)
{
    le16(out, v & 0xFFFF);
    le16(out, v >> 16);
}

void be32(std::vector<BYTE>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<BYTE>(v >> shift));
}

// A BMP with a 40-byte header; `height` may be given without pixels to test headers alone.
std::vector<BYTE> makeBmp(int w, int h, int bits, bool topDown, const PixelFn& px, bool withPixels = true)
{
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(w) * static_cast<std::uint32_t>(bits) + 31) / 32 * 4;
    std::vector<BYTE> out{'B', 'M'};
    le32(out, 54 + rowBytes * static_cast<std::uint32_t>(h));
    le32(out, 0);
    le32(out, 54);
    le32(out, 40);
    le32(out, static_cast<std::uint32_t>(w));
    le32(out, static_cast<std::uint32_t>(topDown ? -h : h));
    le16(out, 1);
    le16(out, static_cast<std::uint32_t>(bits));
    le32(out, 0);
    le32(out, rowBytes * static_cast<std::uint32_t>(h));
    le32(out, 2835);
    le32(out, 2835);
    le32(out, 0);
    le32(out, 0);
    if (!withPixels)
        return out;
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        const std::size_t start = out.size();
        for (int x = 0; x < w; ++x) {
            const Pixel p = px(x, y);
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
            if (bits == 32)
                out.push_back(p[3]);
        }
        out.resize(start + rowBytes, 0);
    }
    return out;
}

std::vector<BYTE> bmpHeader(std::int32_t w, std::int32_t h)
{
    std::vector<BYTE> out = makeBmp(1, 1, 24, false, [](int, int) { return Pixel{}; }, false);
    // Patch the size fields of the 1 x 1 header.
    for (int i = 0; i < 4; ++i) {
        out[18 + i] = static_cast<BYTE>(static_cast<std::uint32_t>(w) >> (8 * i));
        out[22 + i] = static_cast<BYTE>(static_cast<std::uint32_t>(h) >> (8 * i));
    }
    return out;
}

std::uint32_t crc32(const BYTE* data, std::size_t n)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void chunk(std::vector<BYTE>& out, const char* type, const std::vector<BYTE>& data)
{
    be32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    be32(out, crc32(out.data() + start, out.size() - start));
}

// An 8-bit RGBA PNG, compressed with stored deflate blocks.
std::vector<BYTE> makePng(int w, int h, const PixelFn& px, bool withData = true)
{
    std::vector<BYTE> out{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<BYTE> ihdr;
    be32(ihdr, static_cast<std::uint32_t>(w));
    be32(ihdr, static_cast<std::uint32_t>(h));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    chunk(out, "IHDR", ihdr);
    if (!withData)
        return out;
    std::vector<BYTE> raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) {
            const Pixel p = px(x, y);
            raw.insert(raw.end(), p.begin(), p.end());
        }
    }
    std::vector<BYTE> z{0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
        z.push_back(pos + n == raw.size() ? 1 : 0);
        le16(z, static_cast<std::uint32_t>(n));
        le16(z, static_cast<std::uint32_t>(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos), raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (BYTE c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    be32(z, (b << 16) | a);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", {});
    return out;
}

// A 1 x 1 PNG whose compressed data inflates to `inflated` bytes: one literal, then matches of
// 258 bytes at distance 1 in a fixed-code deflate block, 13 bits each.
std::vector<BYTE> makeInflatingPng(std::size_t inflated)
{
    std::vector<BYTE> bits;
    int used = 8;
    auto put = [&](unsigned value, int count) {  // deflate fills bytes from their lowest bit
        for (int i = 0; i < count; ++i) {
            if (used == 8) {
                bits.push_back(0);
                used = 0;
            }
            bits.back() = static_cast<BYTE>(bits.back() | (((value >> i) & 1u) << used));
            ++used;
        }
    };
    auto code = [&](unsigned value, int length) {  // Huffman codes go in from their top bit
        for (int i = length - 1; i >= 0; --i)
            put((value >> i) & 1u, 1);
    };
    put(1, 1);                // last block
    put(1, 2);                // fixed codes
    code(0x30, 8);            // literal 0
    for (std::size_t n = 1; n < inflated; n += 258) {
        code(0xC5, 8);        // length 258
        code(0, 5);           // distance 1
    }
    code(0, 7);               // end of block
    std::vector<BYTE> z{0x78, 0x01};
    z.insert(z.end(), bits.begin(), bits.end());
    be32(z, 1);
    std::vector<BYTE> out = makePng(1, 1, [](int, int) { return Pixel{}; }, false);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", {});
    return out;
}

// Distinct colours per pixel, so a swapped row or channel shows.
Pixel pattern(int x, int y)
{
    return Pixel{static_cast<BYTE>(10 + x * 40), static_cast<BYTE>(20 + y * 50), static_cast<BYTE>(200 - x - y), 255};
}

void expectPattern(const kxwin::BitmapPixels& p, int w, int h)
{
    ASSERT_EQ(p.width, w);
    ASSERT_EQ(p.height, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Pixel e = pattern(x, y);
            EXPECT_EQ(p.colorAt(x, y), RGB(e[0], e[1], e[2])) << "at " << x << "," << y;
            EXPECT_EQ(p.alphaAt(x, y), 255) << "at " << x << "," << y;
        }
    }
}

// Switches the current resource handle for one scope.
struct ResourceScope {
    explicit ResourceScope(HINSTANCE module) : previous(AfxGetResourceHandle()) { AfxSetResourceHandle(module); }
    ~ResourceScope() { AfxSetResourceHandle(previous); }
    HINSTANCE previous;
};

std::string tempFile(const std::string& name, const std::vector<BYTE>& bytes)
{
    const char* home = std::getenv("KESTRA_SS_HOME");
    const auto dir = (home ? std::filesystem::path(home) : std::filesystem::temp_directory_path()) / "kxwin-gdi-test";
    std::filesystem::create_directories(dir);
    const auto path = dir / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

} // namespace

TEST(BitmapDecode, TwentyFourBitRowsReadTheSameBottomUpAndTopDown)
{
    // Three pixels a row leave three bytes of row padding.
    for (bool topDown : {false, true}) {
        auto decoded = kxwin::decodePicture(makeBmp(3, 2, 24, topDown, pattern));
        ASSERT_TRUE(decoded) << decoded.error;
        expectPattern(*decoded.pixels, 3, 2);
    }
}

TEST(BitmapDecode, ThirtyTwoBitKeepsAlphaButAllZeroAlphaMeansOpaque)
{
    auto opaque = kxwin::decodePicture(makeBmp(2, 2, 32, false, [](int x, int y) {
        Pixel p = pattern(x, y);
        p[3] = 0;
        return p;
    }));
    ASSERT_TRUE(opaque) << opaque.error;
    expectPattern(*opaque.pixels, 2, 2);

    auto translucent = kxwin::decodePicture(makeBmp(2, 1, 32, true, [](int x, int) {
        return Pixel{1, 2, 3, static_cast<BYTE>(x == 0 ? 0 : 128)};
    }));
    ASSERT_TRUE(translucent) << translucent.error;
    EXPECT_EQ(translucent.pixels->alphaAt(0, 0), 0);
    EXPECT_EQ(translucent.pixels->alphaAt(1, 0), 128);
    EXPECT_EQ(translucent.pixels->colorAt(1, 0), RGB(1, 2, 3));
}

TEST(BitmapDecode, PngKeepsItsTransparency)
{
    auto decoded = kxwin::decodePicture(makePng(2, 2, [](int x, int y) {
        return Pixel{255, 0, 0, static_cast<BYTE>(x == y ? 255 : 0)};
    }));
    ASSERT_TRUE(decoded) << decoded.error;
    EXPECT_EQ(decoded.pixels->alphaAt(0, 0), 255);
    EXPECT_EQ(decoded.pixels->alphaAt(1, 0), 0);
    EXPECT_EQ(decoded.pixels->colorAt(1, 1), RGB(255, 0, 0));
}

TEST(BitmapDecode, TruncatedGarbageAndUnsupportedBytesGiveErrors)
{
    const auto bmp = makeBmp(3, 3, 24, false, pattern);
    const auto png = makePng(3, 3, pattern);
    for (const auto* full : {&bmp, &png}) {
        for (std::size_t n = 0; n < full->size(); ++n) {
            auto decoded = kxwin::decodePicture(std::span(full->data(), n));
            if (!decoded)
                EXPECT_FALSE(decoded.error.empty());
            else
                EXPECT_EQ(decoded.pixels->width, 3);
        }
    }
    auto cut = kxwin::decodePicture(std::span(bmp.data(), bmp.size() - 1));
    EXPECT_FALSE(cut);
    EXPECT_NE(cut.error.find("truncated"), std::string::npos) << cut.error;

    auto rle = bmp;
    rle[30] = 1;  // run-length compression
    EXPECT_NE(kxwin::decodePicture(rle).error.find("run-length"), std::string::npos);
    auto bits = bmp;
    bits[28] = 7;
    EXPECT_NE(kxwin::decodePicture(bits).error.find("7 bits per pixel"), std::string::npos);
    auto offset = bmp;
    offset[10] = 20;  // pixel data inside the headers
    EXPECT_FALSE(kxwin::decodePicture(offset));

    std::vector<BYTE> garbage{'B', 'M'};
    for (int i = 0; i < 200; ++i)
        garbage.push_back(static_cast<BYTE>(i * 37 + 11));
    EXPECT_FALSE(kxwin::decodePicture(garbage));
    auto pngGarbage = png;
    for (std::size_t i = 41; i < pngGarbage.size(); ++i)
        pngGarbage[i] = static_cast<BYTE>(i * 13);
    EXPECT_FALSE(kxwin::decodePicture(pngGarbage));
    const std::string gif = "GIF89a....";
    auto other = kxwin::decodePicture(std::span(reinterpret_cast<const BYTE*>(gif.data()), gif.size()));
    EXPECT_EQ(other.error, "neither a BMP nor a PNG picture");
}

TEST(BitmapLimits, CheckedFromTheHeaderBeforeAnyPixelIsRead)
{
    // Headers without pixel data: within the limits the complaint is the missing rows; beyond them
    // it is the size, so the size was refused before the data was even looked at.
    struct Case {
        std::int32_t w, h;
        const char* expected;
    };
    const Case cases[] = {
        {32767, 1, "truncated"},        {32768, 1, "wider than 32767"},
        {1, 32767, "truncated"},        {1, 32768, "higher than 32767"},
        {1, -32767, "truncated"},       {1, -32768, "higher than 32767"},
        {4000, 4000, "truncated"},      {4000, 4001, "more than 16000000"},
        {INT_MAX, 1, "wider than"},     {1, INT_MIN, "higher than"},
        {0, 5, "at least one pixel"},   {-3, 5, "at least one pixel"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(kxwin::readPictureHeader(bmpHeader(c.w, c.h), &error));
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.w << " x " << c.h << ": " << error;
        EXPECT_NE(kxwin::decodePicture(bmpHeader(c.w, c.h)).error.find(c.expected), std::string::npos);
    }
    // A PNG header alone passes at the limits and fails one beyond.
    const auto none = [](int, int) { return Pixel{}; };
    EXPECT_TRUE(kxwin::readPictureHeader(makePng(32767, 488, none, false)));
    EXPECT_TRUE(kxwin::readPictureHeader(makePng(4000, 4000, none, false)));
    EXPECT_FALSE(kxwin::readPictureHeader(makePng(32768, 1, none, false)));
    EXPECT_FALSE(kxwin::readPictureHeader(makePng(4001, 4000, none, false)));
    EXPECT_FALSE(kxwin::decodePicture(makePng(4000, 4000, none, false)));
    EXPECT_FALSE(kxwin::decodePicture(makePng(0x7FFFFFFF, 0x7FFFFFFF, none, false)));

    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 32768, 1), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 4001, 4000), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, -1, 1), nullptr);
}

TEST(BitmapLimits, CompressedDataCannotInflateFarBeyondThePicture)
{
    // 5 bytes are what a 1 x 1 picture needs (a filter byte and RGBA); 8 MB would be decoded into
    // memory first if nothing stopped it.
    auto small = kxwin::decodePicture(makeInflatingPng(5));
    EXPECT_TRUE(small) << small.error;
    auto bomb = kxwin::decodePicture(makeInflatingPng(8 * 1024 * 1024));
    EXPECT_FALSE(bomb);
    EXPECT_NE(bomb.error.find("PNG data cannot be decoded"), std::string::npos) << bomb.error;
}

TEST(BitmapEncode, WritesTwentyFourBitThatReadsBack)
{
    HBITMAP bitmap = kxwin::decodeBitmap(makePng(5, 3, [](int x, int y) {
        Pixel p = pattern(x, y);
        p[3] = 10;  // alpha is not kept by a 24-bit file
        return p;
    }));
    ASSERT_NE(bitmap, nullptr);
    const auto bytes = kxwin::encodeBmp(bitmap);
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes[28], 24);
    auto back = kxwin::decodePicture(bytes);
    ASSERT_TRUE(back) << back.error;
    expectPattern(*back.pixels, 5, 3);
    DeleteObject(bitmap);

    HBITMAP empty = CreateCompatibleBitmap(nullptr, 0, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(kxwin::encodeBmp(empty).empty()) << "a picture without pixels cannot be written";
    DeleteObject(empty);
    EXPECT_TRUE(kxwin::encodeBmp(empty).empty());
}

TEST(BitmapMask, TransparentColourAndFullyTransparentPixelsBecomeWhite)
{
    HBITMAP picture = kxwin::decodeBitmap(makePng(3, 1, [](int x, int) {
        if (x == 0)
            return Pixel{255, 255, 255, 255};
        if (x == 1)
            return Pixel{9, 9, 9, 0};
        return Pixel{254, 255, 255, 255};
    }));
    HBITMAP mask = kxwin::makeMask(picture, RGB(255, 255, 255));
    auto m = kxwin::bitmapPixels(mask);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->colorAt(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(m->colorAt(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(m->colorAt(2, 0), RGB(0, 0, 0)) << "almost white is not white";
    BITMAP bm;
    ASSERT_EQ(GetObject(mask, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidth, 3);

    HBITMAP empty = CreateCompatibleBitmap(nullptr, 0, 0);
    HBITMAP emptyMask = kxwin::makeMask(empty, RGB(255, 255, 255));
    EXPECT_EQ(kxwin::bitmapSize(emptyMask), (SIZE{0, 0}));
    for (HBITMAP b : {picture, mask, empty, emptyMask})
        EXPECT_TRUE(DeleteObject(b));
    EXPECT_EQ(kxwin::makeMask(picture, 0), nullptr);
}

TEST(BitmapHandles, LoadThroughTheCurrentResourceHandleOnlyAndGoStale)
{
    const int before = kxwin::liveBitmapCount();
    HINSTANCE module = kxwin::resourceModule("gdi-test");
    kxwin::addResourceData(module, "BITMAP", 8134, makeBmp(4, 2, 24, false, pattern));
    kxwin::addResourceData(module, "BITMAP", 8136, {'B', 'M', 1, 2});
    EXPECT_EQ(LoadBitmap(8134), nullptr) << "the host's resources do not hold it";
    EXPECT_NE(kxwin::lastPictureError().find("BITMAP resource 8134"), std::string::npos) << kxwin::lastPictureError();
    {
        ResourceScope scope(module);
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadBitmap(8134)) << kxwin::lastPictureError();
        EXPECT_FALSE(bitmap.LoadBitmap(8134)) << "an object holds one bitmap";
        EXPECT_EQ(bitmap.size(), (SIZE{4, 2}));
        CBitmap moved(std::move(bitmap));
        EXPECT_EQ(bitmap.m_hObject, nullptr);
        EXPECT_EQ(kxwin::liveBitmapCount(), before + 1);

        EXPECT_EQ(LoadBitmap(8136), nullptr);
        EXPECT_NE(kxwin::lastPictureError().find("gdi-test"), std::string::npos) << kxwin::lastPictureError();
    }
    EXPECT_EQ(kxwin::liveBitmapCount(), before);

    HBITMAP gone = CreateCompatibleBitmap(nullptr, 2, 2);
    EXPECT_TRUE(DeleteObject(gone));
    EXPECT_FALSE(DeleteObject(gone));
    BITMAP bm;
    EXPECT_EQ(GetObject(gone, sizeof bm, &bm), 0);
    EXPECT_FALSE(kxwin::bitmapPixels(gone));
    HFONT notABitmap = CreateFont(13, 0, FW_NORMAL, false, false, "Tahoma");
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HBITMAP>(notABitmap))) << "a font handle is no bitmap";
    EXPECT_TRUE(DeleteObject(notABitmap));
}

TEST(BitmapHandles, LoadImageReadsFilesWithEitherSeparatorAndScales)
{
    const std::string path = tempFile("picture.bmp", makeBmp(4, 4, 24, true, pattern));
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(bitmap, nullptr) << kxwin::lastPictureError();
    EXPECT_EQ(kxwin::bitmapSize(bitmap), (SIZE{4, 4}));
    DeleteObject(bitmap);

    std::string windowsPath = path;
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    HICON icon = static_cast<HICON>(LoadImage(nullptr, windowsPath.c_str(), IMAGE_ICON, 2, 2, LR_LOADFROMFILE));
    ASSERT_NE(icon, nullptr) << kxwin::lastPictureError();
    EXPECT_EQ(kxwin::iconSize(icon), (SIZE{2, 2}));
    EXPECT_EQ(kxwin::iconPixels(icon)->colorAt(1, 1), RGB(pattern(2, 2)[0], pattern(2, 2)[1], pattern(2, 2)[2]));
    DestroyIcon(icon);

    EXPECT_EQ(LoadImage(nullptr, (path + ".missing").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_NE(kxwin::lastPictureError().find("does not exist"), std::string::npos);
    const std::string bad = tempFile("bad.bmp", {'B', 'M', 0, 0});
    std::string error;
    EXPECT_EQ(kxwin::loadBitmapFile(bad, &error), nullptr);
    EXPECT_NE(error.find(bad), std::string::npos) << error;
}

TEST(BitmapIcon, FromResourceWithTransparencyOrFromBitmapAndMask)
{
    const int before = kxwin::liveIconCount();
    HINSTANCE module = kxwin::resourceModule("gdi-test");
    kxwin::addResourceData(module, "ICON", 232, makePng(3, 2, [](int x, int) {
                               return Pixel{0, 0, 255, static_cast<BYTE>(x == 1 ? 0 : 255)};
                           }));
    HICON icon = nullptr;
    {
        ResourceScope scope(module);
        icon = LoadIcon(232);
    }
    ASSERT_NE(icon, nullptr) << kxwin::lastPictureError();
    EXPECT_EQ(kxwin::iconSize(icon), (SIZE{3, 2}));
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(kxwin::bitmapPixels(info.hbmMask)->colorAt(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(kxwin::bitmapPixels(info.hbmMask)->colorAt(0, 0), RGB(0, 0, 0));

    // Back through CreateIconIndirect: the mask makes the same pixel transparent.
    HICON copy = CreateIconIndirect(&info);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(kxwin::iconPixels(copy)->alphaAt(1, 1), 0);
    EXPECT_EQ(kxwin::iconPixels(copy)->alphaAt(2, 1), 255);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_EQ(kxwin::iconSize(icon), (SIZE{0, 0}));
    EXPECT_EQ(kxwin::liveIconCount(), before);
    ICONINFO noColour;
    EXPECT_EQ(CreateIconIndirect(&noColour), nullptr);
}

TEST(Font, DefaultGuiFontIsEightPointThirteenBySix)
{
    HFONT font = kxwin::defaultGuiFont();
    EXPECT_EQ(GetStockFont(DEFAULT_GUI_FONT), font);
    const TEXTMETRIC tm = kxwin::fontMetrics(font);
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, 13);
    LOGFONT lf;
    ASSERT_EQ(GetObject(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfFaceName, "MS Shell Dlg");
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_TRUE(kxwin::isFont(font)) << "a stock font stays";

    CFont point;
    ASSERT_TRUE(point.CreatePointFont(80, "MS Shell Dlg"));
    EXPECT_EQ(kxwin::fontMetrics(point).tmHeight, 13);
}

TEST(Font, MetricsFollowTheHeightWhateverItIs)
{
    struct Case {
        int height, width, cell, average;
    };
    for (const Case& c : {Case{13, 0, 13, 6}, Case{-11, 0, 13, 6}, Case{15, 0, 15, 7}, Case{26, 0, 26, 12},
                          Case{0, 0, 13, 6}, Case{-1, 0, 1, 1}, Case{20, 3, 20, 3}}) {
        CFont font;
        ASSERT_TRUE(font.CreateFont(c.height, c.width, 0, 0, FW_BOLD, 0, 0, 0, 1, 2, 1, 0, 0, "Tahoma"));
        const TEXTMETRIC tm = kxwin::fontMetrics(font);
        EXPECT_EQ(tm.tmHeight, c.cell) << c.height;
        EXPECT_EQ(tm.tmAveCharWidth, c.average) << c.height;
        EXPECT_EQ(tm.tmWeight, FW_BOLD);
    }
    for (int extreme : {INT_MIN, INT_MAX}) {
        HFONT font = CreateFont(extreme, extreme, FW_NORMAL, false, false, "x");
        const SIZE size = kxwin::textExtent(font, std::string(1000, 'w'));
        EXPECT_GT(size.cx, 0);
        EXPECT_GT(size.cy, 0);
        DeleteObject(font);
    }
}

TEST(Font, ExtentCountsUtf8CharactersAndLines)
{
    const TEXTMETRIC tm = kxwin::fontMetrics(nullptr);
    EXPECT_EQ(kxwin::textExtent(tm, "Größe"), (SIZE{30, 13}));
    EXPECT_EQ(kxwin::textExtent(tm, "€"), (SIZE{6, 13}));
    EXPECT_EQ(kxwin::textExtent(tm, "ab\nüxyz\r\nc"), (SIZE{24, 39}));
    EXPECT_EQ(kxwin::textExtent(tm, ""), (SIZE{0, 13}));
    EXPECT_EQ(kxwin::textExtent(tm, "\n"), (SIZE{0, 26}));
    EXPECT_EQ(kxwin::utf8Length("\xC3"), 1u) << "a cut sequence counts as one";
    EXPECT_EQ(kxwin::utf8Length("\xE2\x82"), 2u);
    EXPECT_EQ(kxwin::utf8Length("\xC0\xAF"), 2u) << "an overlong form is two bad bytes";
}

TEST(Font, DrawTextMeasuresWrapsAndLeavesOutPrefixes)
{
    HDC dc = CreateCompatibleDC(nullptr);
    RECT r{10, 20, 10, 20};
    EXPECT_EQ(DrawText(dc, "&Save && close", &r, DT_CALCRECT | DT_SINGLELINE), 13);
    EXPECT_EQ(r, (RECT{10, 20, 10 + 12 * 6, 33}));
    RECT raw{0, 0, 0, 0};
    DrawText(dc, "&Save", &raw, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(raw.right, 30);
    RECT wrap{0, 0, 54, 0};
    EXPECT_EQ(DrawText(dc, "one two three four", &wrap, DT_CALCRECT | DT_WORDBREAK), 39);
    EXPECT_EQ(wrap.right, 42) << "nine characters a line: \"one two\", \"three\", \"four\"";
    EXPECT_TRUE(kxwin::recordedOps(dc).empty()) << "measuring draws nothing";
    RECT box{0, 0, 50, 20};
    EXPECT_EQ(DrawText(dc, "x", &box, DT_CENTER), 13);
    ASSERT_EQ(kxwin::recordedOps(dc).size(), 1u);
    EXPECT_EQ(kxwin::recordedOps(dc)[0].format, DT_CENTER);
    DeleteDC(dc);
}

namespace {

LRESULT canvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hwnd, message, wParam, lParam);
}

struct RegisterCanvas {
    RegisterCanvas() { RegisterWindowClass("GdiTestCanvas", canvasProc); }
} registerCanvas;

class Canvas : public CWnd {
public:
    std::function<void(HDC)> erase;
    std::function<void(CDC&)> paint;
    int paints = 0;

protected:
    BOOL OnEraseBkgnd(HDC dc) override
    {
        if (!erase)
            return CWnd::OnEraseBkgnd(dc);
        erase(dc);
        return TRUE;
    }
    void OnPaint() override
    {
        ++paints;
        CPaintDC dc(this);
        if (paint)
            paint(dc);
    }
};

class Paint : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        dcsBefore = kxwin::liveDcCount();
        ASSERT_TRUE(canvas.Create("GdiTestCanvas", "canvas", WS_VISIBLE, RECT{0, 0, 100, 50}, nullptr, 0));
    }
    void TearDown() override
    {
        canvas.DestroyWindow();
        EXPECT_EQ(kxwin::liveDcCount(), dcsBefore) << "a context was left behind";
        WindowLayerTest::TearDown();
    }
    Canvas canvas;
    int dcsBefore = 0;
};

} // namespace

TEST_F(Paint, EraseThenPaintHandlersRecordIntoOneRecord)
{
    CBrush white(RGB(255, 255, 255));
    HDC erased = nullptr;
    canvas.erase = [&](HDC dc) {
        erased = dc;
        RECT all{0, 0, 100, 50};
        FillRect(dc, &all, white);
    };
    canvas.paint = [&](CDC& dc) {
        EXPECT_EQ(dc.m_hDC, erased) << "the erase and the paint share the context";
        CFont bold;
        bold.CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, 1, 0, 0, 0, 0, "Tahoma");
        HFONT old = dc.SelectObject(&bold);
        dc.SetTextColor(RGB(0, 0, 128));
        dc.TextOut(4, 5, "Größe");
        dc.SelectObject(old);
        RECT selected{10, 10, 40, 30};
        CBrush black(RGB(0, 0, 0));
        dc.FrameRect(&selected, &black);
        kxwin::drawTrackerHandles(dc, selected);
        dc.DrawFocusRect(&selected);
    };
    ASSERT_TRUE(kxwin::paintWindow(canvas));
    EXPECT_EQ(kxwin::describeDrawOps(kxwin::lastPaintRecord(canvas)),
              "fill 0,0,100,50 #ffffff\n"
              "text 4,5 \"Größe\" #000080 font \"Tahoma\" -11 700\n"
              "frame 10,10,40,30 #000000\n"
              "handles 10,10,40,30 size 6 #000000\n"
              "focus 10,10,40,30\n");
    const auto record = kxwin::lastPaintRecord(canvas);
    EXPECT_EQ(record[1].rect, (RECT{4, 5, 34, 18})) << "five characters of 6 by 13 pixels";
    const auto handles = kxwin::trackerHandleRects(RECT{10, 10, 40, 30});
    EXPECT_EQ(handles[0], (RECT{4, 4, 10, 10}));
    EXPECT_EQ(handles[2], (RECT{40, 30, 46, 36}));
    EXPECT_EQ(handles[4], (RECT{22, 4, 28, 10}));
    EXPECT_EQ(handles[7], (RECT{4, 17, 10, 23}));

    // The next paint replaces the record.
    canvas.erase = nullptr;
    canvas.paint = [](CDC& dc) { dc.FillSolidRect(1, 2, 3, 4, RGB(1, 2, 3)); };
    kxwin::paintWindow(canvas);
    EXPECT_EQ(kxwin::describeDrawOps(kxwin::lastPaintRecord(canvas)), "fill 1,2,4,6 #010203\n");
}

TEST_F(Paint, DirectPaintMessageErasesThroughBeginPaint)
{
    int erases = 0;
    canvas.erase = [&](HDC dc) {
        ++erases;
        kxwin::fillSolidRect(dc, RECT{0, 0, 1, 1}, RGB(9, 9, 9));
    };
    SendMessage(canvas, WM_PAINT);
    EXPECT_EQ(erases, 1);
    EXPECT_EQ(kxwin::lastPaintRecord(canvas).size(), 1u);

    // A handler that asks for a paint of its own window while painting is not run again.
    canvas.paint = [&](CDC&) { kxwin::paintWindow(canvas); };
    kxwin::paintWindow(canvas);
    EXPECT_EQ(canvas.paints, 2);
}

TEST_F(Paint, RedrawWindowPaintsChildrenAndDrawingOutsidePaintIsAppended)
{
    Canvas child;
    ASSERT_TRUE(child.Create("GdiTestCanvas", "child", WS_CHILD | WS_VISIBLE, RECT{5, 5, 20, 20}, canvas, 7));
    child.paint = [](CDC& dc) { dc.FillSolidRect(RECT{0, 0, 15, 15}, RGB(255, 0, 0)); };
    EXPECT_TRUE(RedrawWindow(canvas, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN));
    EXPECT_EQ(canvas.paints, 1);
    EXPECT_EQ(child.paints, 1);
    EXPECT_EQ(kxwin::describeDrawOps(kxwin::lastPaintRecord(child)), "fill 0,0,15,15 #ff0000\n");
    EXPECT_TRUE(RedrawWindow(canvas, nullptr, nullptr, RDW_INVALIDATE));
    EXPECT_EQ(canvas.paints, 1) << "invalidating alone does not paint";

    {
        CClientDC dc(&child);
        dc.FillSolidRect(RECT{1, 1, 2, 2}, RGB(0, 255, 0));
    }
    EXPECT_EQ(kxwin::lastPaintRecord(child).size(), 2u);

    const HWND childHandle = child;
    child.DestroyWindow();
    EXPECT_TRUE(kxwin::lastPaintRecord(childHandle).empty());
    EXPECT_FALSE(kxwin::paintWindow(nullptr));
}

TEST_F(Paint, AWindowDestroyedWhilePaintingLeavesNoContextBehind)
{
    canvas.paint = [&](CDC& dc) {
        dc.FillSolidRect(RECT{0, 0, 1, 1}, 0);
        ::DestroyWindow(canvas.m_hWnd);
    };
    HWND hwnd = canvas;
    EXPECT_TRUE(kxwin::paintWindow(hwnd));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(kxwin::lastPaintRecord(hwnd).empty());
}

TEST(PaintMemoryDc, FillsAndBlitsLandInTheBitmapPixels)
{
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    CBitmap target;
    ASSERT_TRUE(target.CreateCompatibleBitmap(memory, 6, 4));
    HBITMAP previous = memory.SelectObject(&target);
    EXPECT_NE(previous, nullptr);
    memory.FillSolidRect(RECT{0, 0, 6, 4}, RGB(255, 0, 0));
    memory.FillSolidRect(RECT{INT_MIN, INT_MIN, INT_MAX, 1}, RGB(0, 0, 255));  // clipped, not looped over

    // A 2 x 2 picture with a white corner, drawn with white as the transparent colour.
    CDC source;
    source.CreateCompatibleDC(&memory);
    HBITMAP sprite = kxwin::decodeBitmap(makePng(2, 2, [](int x, int y) {
        return x == 0 && y == 0 ? Pixel{255, 255, 255, 255} : Pixel{0, 128, 0, 255};
    }));
    HBITMAP oldSource = source.SelectObject(sprite);
    EXPECT_TRUE(memory.TransparentBlt(0, 1, 2, 2, &source, 0, 0, 2, 2, RGB(255, 255, 255)));
    EXPECT_TRUE(memory.StretchBlt(2, 0, 4, 4, &source, 0, 0, 2, 2, SRCCOPY));

    auto pixels = kxwin::bitmapPixels(target);
    EXPECT_EQ(pixels->colorAt(0, 1), RGB(255, 0, 0)) << "the transparent corner left the red";
    EXPECT_EQ(pixels->colorAt(1, 1), RGB(0, 128, 0));
    EXPECT_EQ(pixels->colorAt(0, 2), RGB(0, 128, 0));
    EXPECT_EQ(pixels->colorAt(3, 1), RGB(255, 255, 255)) << "stretched: source (0,0) covers 2 x 2";
    EXPECT_EQ(pixels->colorAt(4, 2), RGB(0, 128, 0));
    EXPECT_EQ(pixels->colorAt(5, 0), RGB(0, 128, 0)) << "drawn over the blue row";
    EXPECT_EQ(pixels->colorAt(0, 0), RGB(0, 0, 255));

    // A record keeps the picture as it was when drawn.
    const auto ops = kxwin::recordedOps(memory);
    ASSERT_EQ(ops.size(), 4u);
    memory.FillSolidRect(RECT{0, 0, 6, 4}, RGB(7, 7, 7));
    EXPECT_EQ(pixels->colorAt(1, 1), RGB(0, 128, 0)) << "pixels taken before stay as they were";
    EXPECT_EQ(kxwin::bitmapPixels(target)->colorAt(1, 1), RGB(7, 7, 7));

    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    memory.SelectObject(&pen);
    memory.MoveTo(INT_MIN, INT_MIN);
    EXPECT_TRUE(memory.LineTo(INT_MAX, INT_MAX));  // the diagonal through the picture
    memory.MoveTo(0, 3);
    memory.LineTo(6, 3);
    pixels = kxwin::bitmapPixels(target);
    EXPECT_EQ(pixels->colorAt(2, 2), RGB(0, 0, 0));
    EXPECT_EQ(pixels->colorAt(5, 3), RGB(0, 0, 0));
    EXPECT_EQ(pixels->colorAt(2, 1), RGB(7, 7, 7));

    source.SelectObject(oldSource);
    DeleteObject(sprite);
}

TEST(PaintMemoryDc, BitmapsAndFontsSelectedElsewhereAreHandledSafely)
{
    const int bitmaps = kxwin::liveBitmapCount();
    const int fonts = kxwin::liveFontCount();
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(a, 3, 3);
    EXPECT_NE(SelectObject(a, bitmap), nullptr);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr) << "one memory context at a time";
    HDC window = GetDC(nullptr);
    EXPECT_EQ(SelectObject(window, bitmap), nullptr) << "a bitmap goes into memory contexts only";
    ReleaseDC(nullptr, window);

    // Deleted while selected: it stays usable until the context lets it go.
    HFONT font = CreateFont(20, 0, FW_NORMAL, false, false, "Arial");
    SelectObject(a, font);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(kxwin::fillSolidRect(a, RECT{0, 0, 3, 3}, RGB(1, 1, 1)));
    TEXTMETRIC tm;
    GetTextMetrics(a, &tm);
    EXPECT_EQ(tm.tmHeight, 20);
    EXPECT_TRUE(DeleteDC(a));
    EXPECT_FALSE(kxwin::isBitmap(bitmap));
    EXPECT_FALSE(kxwin::isFont(font));
    EXPECT_EQ(kxwin::liveBitmapCount(), bitmaps);
    EXPECT_EQ(kxwin::liveFontCount(), fonts);

    EXPECT_FALSE(DeleteDC(a));
    EXPECT_EQ(SetTextColor(a, 0), CLR_INVALID);
    EXPECT_FALSE(kxwin::fillSolidRect(a, RECT{}, 0));
    EXPECT_EQ(ReleaseDC(nullptr, b), 0) << "a memory context is deleted, not released";
    EXPECT_TRUE(DeleteDC(b));
}

TEST(PaintMemoryDc, PicturesOfSizeZeroAndEmptyRectanglesNeverFail)
{
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CBitmap empty;
    ASSERT_TRUE(empty.CreateCompatibleBitmap(memory, 0, 0));
    memory.SelectObject(&empty);
    memory.FillSolidRect(RECT{0, 0, 10, 10}, RGB(1, 2, 3));
    kxwin::drawTrackerHandles(memory, RECT{0, 0, 5, 5});
    const RECT none{0, 0, 0, 0};
    memory.DrawFocusRect(&none);
    EXPECT_TRUE(memory.StretchBlt(0, 0, 5, 5, &memory, 0, 0, 0, 0, SRCCOPY));

    CDC other;
    other.CreateCompatibleDC(nullptr);
    CBitmap small;
    small.CreateCompatibleBitmap(other, 2, 2);
    other.SelectObject(&small);
    EXPECT_TRUE(other.StretchBlt(0, 0, 2, 2, &memory, 0, 0, 1, 1, SRCCOPY));
    EXPECT_TRUE(other.TransparentBlt(0, 0, 0, 0, &memory, 0, 0, 0, 0, 0));
    EXPECT_TRUE(other.BitBlt(0, 0, -5, 2, &memory, 0, 0, SRCCOPY));
    EXPECT_TRUE(kxwin::drawBitmap(other, empty, RECT{0, 0, 2, 2}, RGB(255, 255, 255)));
    EXPECT_EQ(kxwin::bitmapPixels(small)->colorAt(0, 0), RGB(0, 0, 0)) << "nothing to copy from";
    EXPECT_TRUE(other.BitBlt(0, 0, 2, 2, nullptr, 0, 0, WHITENESS));
    EXPECT_EQ(kxwin::bitmapPixels(small)->colorAt(1, 1), RGB(255, 255, 255));
}
