// Picture bytes to pixels and back: BMP and PNG decoding from memory, 24-bit BMP encoding, and the
// size limits every picture is checked against before anything is allocated. No handles here:
// Bitmap.h turns pixels into HBITMAP and HICON handles.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kxwin {

// The largest picture the layer accepts: a side of at most 32,767 pixels and at most 16 million
// pixels in all (64 MB of pixels), whether decoded, created or drawn into.
inline constexpr int kMaxPictureSide = 32767;
inline constexpr std::int64_t kMaxPicturePixels = 16'000'000;

// Checks a picture size against the limits; the reason when it is refused.
KXWIN_API std::optional<std::string> checkPictureSize(std::int64_t width, std::int64_t height);

// Pixels as 32-bit RGBA, 4 bytes a pixel (red, green, blue, alpha), rows from the top.
// A picture of size 0 has no pixels; every accessor copes with it.
struct KXWIN_API BitmapPixels {
    int width = 0;
    int height = 0;
    std::vector<BYTE> rgba;

    BitmapPixels() = default;
    // A picture filled with one colour (opaque). The size must already be checked.
    BitmapPixels(int w, int h, COLORREF fill = 0);

    bool empty() const { return width <= 0 || height <= 0; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // The colour at (x, y) as RGB(); 0 outside the picture.
    COLORREF colorAt(int x, int y) const;
    // 0 outside the picture.
    BYTE alphaAt(int x, int y) const;
    void setPixel(int x, int y, COLORREF color, BYTE alpha = 255);
};

enum class PictureFormat { Bmp, Png };

struct PictureInfo {
    PictureFormat format = PictureFormat::Bmp;
    int width = 0;
    int height = 0;
};

// Reads the format and size from the header alone and checks them against the limits (and, for a
// BMP, that the pixel rows the header declares are really there). Nothing is decoded or allocated.
// On failure `error` says why ("BMP of 40000 x 10 pixels: wider than 32767 pixels").
KXWIN_API std::optional<PictureInfo> readPictureHeader(std::span<const BYTE> bytes, std::string* error = nullptr);

struct DecodedPicture {
    std::optional<BitmapPixels> pixels;  // set on success
    std::string error;                   // the reason otherwise
    explicit operator bool() const { return pixels.has_value(); }
};

// Decodes a BMP (1, 4, 8, 16, 24 or 32 bits, bottom-up or top-down, uncompressed or bit fields) or a
// PNG. The header is checked first (readPictureHeader); truncated or garbage bytes give an error,
// never a crash. A 32-bit BMP whose alpha bytes are all 0 is taken as opaque. The entry point for
// fuzzing pictures.
KXWIN_API DecodedPicture decodePicture(std::span<const BYTE> bytes);

// A 24-bit bottom-up BMP of the pixels (alpha is dropped). Empty when the picture has no pixels,
// which the format cannot hold: callers treat an empty result as a failed write.
KXWIN_API std::vector<BYTE> encodeBmp(const BitmapPixels& pixels);

} // namespace kxwin
