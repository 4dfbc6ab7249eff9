// Picture decoding and encoding. Decoding goes through stb_image, compiled here with only its BMP and
// PNG readers and with an allocation ceiling: the header checks below bound the picture, and the
// ceiling bounds what a corrupt PNG's compressed data could otherwise inflate to (a few kilobytes of
// deflate data can ask for gigabytes).
#include "platform/win/ImageCodec.h"

#include "platform/win/Messages.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace {

// The largest single allocation stb may make while decoding the current picture; see decodePicture.
thread_local std::size_t g_allocationCeiling = 0;

void* ceilingMalloc(std::size_t size)
{
    return size <= g_allocationCeiling ? std::malloc(size) : nullptr;
}

void* ceilingRealloc(void* p, std::size_t size)
{
    return size <= g_allocationCeiling ? std::realloc(p, size) : nullptr;
}

} // namespace

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MALLOC(size) ceilingMalloc(size)
#define STBI_REALLOC(p, size) ceilingRealloc(p, size)
#define STBI_FREE(p) std::free(p)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace kxwin {

namespace {

constexpr BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

std::uint32_t le16(std::span<const BYTE> b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}

std::uint32_t le32(std::span<const BYTE> b, std::size_t at)
{
    return le16(b, at) | (le16(b, at + 2) << 16);
}

std::uint32_t be32(std::span<const BYTE> b, std::size_t at)
{
    return (static_cast<std::uint32_t>(b[at]) << 24) | (static_cast<std::uint32_t>(b[at + 1]) << 16) |
           (static_cast<std::uint32_t>(b[at + 2]) << 8) | static_cast<std::uint32_t>(b[at + 3]);
}

void putLe16(std::vector<BYTE>& out, std::uint32_t v)
{
    out.push_back(static_cast<BYTE>(v & 0xFF));
    out.push_back(static_cast<BYTE>((v >> 8) & 0xFF));
}

void putLe32(std::vector<BYTE>& out, std::uint32_t v)
{
    putLe16(out, v & 0xFFFF);
    putLe16(out, v >> 16);
}

std::optional<PictureInfo> fail(std::string* error, std::string reason)
{
    if (error != nullptr)
        *error = std::move(reason);
    return std::nullopt;
}

std::string sizeText(const char* format, std::int64_t w, std::int64_t h)
{
    return std::string(format) + " of " + std::to_string(w) + " x " + std::to_string(h) + " pixels";
}

std::optional<PictureInfo> readBmpHeader(std::span<const BYTE> b, std::string* error)
{
    if (b.size() < 18)
        return fail(error, "BMP truncated: " + std::to_string(b.size()) + " bytes, too short for its headers");
    const std::uint32_t pixelOffset = le32(b, 10);
    const std::uint32_t infoSize = le32(b, 14);
    if (infoSize != 12 && infoSize != 40 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return fail(error, "BMP with an unknown header size of " + std::to_string(infoSize) + " bytes");
    if (b.size() < 14 + std::size_t{infoSize})
        return fail(error, "BMP truncated: " + std::to_string(b.size()) + " bytes, the headers need " +
                               std::to_string(14 + infoSize));
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    std::size_t headersEnd = 14 + std::size_t{infoSize};
    if (infoSize == 12) {
        width = le16(b, 18);
        height = le16(b, 20);
        planes = le16(b, 22);
        bits = le16(b, 24);
    } else {
        width = static_cast<std::int32_t>(le32(b, 18));
        height = static_cast<std::int32_t>(le32(b, 22));  // negative: rows run from the top
        planes = le16(b, 26);
        bits = le16(b, 28);
        compression = le32(b, 30);
        if (compression == 3 && infoSize == 40)
            headersEnd += 12;  // the three colour masks follow the header
    }
    const std::int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0)
        return fail(error, sizeText("BMP", width, height) + ": a picture needs at least one pixel");
    if (auto reason = checkPictureSize(width, rows))
        return fail(error, sizeText("BMP", width, rows) + ": " + *reason);
    if (planes != 1)
        return fail(error, "BMP with " + std::to_string(planes) + " colour planes (1 expected)");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return fail(error, "BMP with " + std::to_string(bits) + " bits per pixel");
    if (compression == 1 || compression == 2)
        return fail(error, "BMP with run-length compression, which is not supported");
    if (compression != 0 && !(compression == 3 && (bits == 16 || bits == 32)))
        return fail(error, "BMP with compression " + std::to_string(compression) + ", which is not supported");
    if (pixelOffset < headersEnd)
        return fail(error, "BMP pixel data offset " + std::to_string(pixelOffset) + " lies inside its headers");
    // Every row the header declares must be there before anything is allocated for it.
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t needed = std::uint64_t{pixelOffset} + rowBytes * static_cast<std::uint64_t>(rows);
    if (needed > b.size())
        return fail(error, "BMP truncated: " + std::to_string(rows) + " rows of " + std::to_string(rowBytes) +
                               " bytes from byte " + std::to_string(pixelOffset) + " need " + std::to_string(needed) +
                               " bytes, the data has " + std::to_string(b.size()));
    return PictureInfo{PictureFormat::Bmp, static_cast<int>(width), static_cast<int>(rows)};
}

std::optional<PictureInfo> readPngHeader(std::span<const BYTE> b, std::string* error)
{
    if (b.size() < 33)
        return fail(error, "PNG truncated: " + std::to_string(b.size()) + " bytes, the header needs 33");
    if (std::memcmp(b.data() + 12, "IHDR", 4) != 0 || be32(b, 8) != 13)
        return fail(error, "PNG without its IHDR header chunk first");
    const std::int64_t width = be32(b, 16);
    const std::int64_t height = be32(b, 20);
    if (width == 0 || height == 0)
        return fail(error, sizeText("PNG", width, height) + ": a picture needs at least one pixel");
    if (auto reason = checkPictureSize(width, height))
        return fail(error, sizeText("PNG", width, height) + ": " + *reason);
    return PictureInfo{PictureFormat::Png, static_cast<int>(width), static_cast<int>(height)};
}

// An uncompressed 24-bit BMP, the kind layout pictures are, copied row by row into RGBA: a third of
// the general decoder's time for a 1000 x 700 picture, without its intermediate buffer. No value
// for any other kind of BMP, which the general decoder then reads. The header was checked already
// (readBmpHeader): the rows it declares are all there.
std::optional<BitmapPixels> decodePlainBmp24(std::span<const BYTE> b, const PictureInfo& info)
{
    if (info.format != PictureFormat::Bmp || b.size() < 54 || le32(b, 14) < 40 || le16(b, 28) != 24 || le32(b, 30) != 0)
        return std::nullopt;
    const bool topDown = static_cast<std::int32_t>(le32(b, 22)) < 0;
    const std::size_t width = static_cast<std::size_t>(info.width);
    const std::size_t height = static_cast<std::size_t>(info.height);
    const std::size_t rowBytes = (width * 3 + 3) & ~std::size_t{3};
    const std::size_t offset = le32(b, 10);
    if (offset + rowBytes * height > b.size())
        return std::nullopt;
    BitmapPixels out;
    out.width = info.width;
    out.height = info.height;
    out.rgba.resize(width * height * 4);
    for (std::size_t y = 0; y < height; ++y) {
        const BYTE* src = b.data() + offset + (topDown ? y : height - 1 - y) * rowBytes;
        BYTE* dst = out.rgba.data() + y * width * 4;
        for (std::size_t x = 0; x < width; ++x, src += 3, dst += 4) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
            dst[3] = 255;
        }
    }
    return out;
}

} // namespace

std::optional<std::string> checkPictureSize(std::int64_t width, std::int64_t height)
{
    if (width < 0 || height < 0)
        return "a negative size";
    if (width > kMaxPictureSide)
        return "wider than " + std::to_string(kMaxPictureSide) + " pixels";
    if (height > kMaxPictureSide)
        return "higher than " + std::to_string(kMaxPictureSide) + " pixels";
    if (width * height > kMaxPicturePixels)
        return "more than " + std::to_string(kMaxPicturePixels) + " pixels";
    return std::nullopt;
}

BitmapPixels::BitmapPixels(int w, int h, COLORREF fill) : width(std::max(w, 0)), height(std::max(h, 0))
{
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    rgba.resize(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        rgba[i * 4] = GetRValue(fill);
        rgba[i * 4 + 1] = GetGValue(fill);
        rgba[i * 4 + 2] = GetBValue(fill);
        rgba[i * 4 + 3] = 255;
    }
}

COLORREF BitmapPixels::colorAt(int x, int y) const
{
    if (!contains(x, y))
        return 0;
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
    return RGB(rgba[at], rgba[at + 1], rgba[at + 2]);
}

BYTE BitmapPixels::alphaAt(int x, int y) const
{
    if (!contains(x, y))
        return 0;
    return rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4 + 3];
}

void BitmapPixels::setPixel(int x, int y, COLORREF color, BYTE alpha)
{
    if (!contains(x, y))
        return;
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
    rgba[at] = GetRValue(color);
    rgba[at + 1] = GetGValue(color);
    rgba[at + 2] = GetBValue(color);
    rgba[at + 3] = alpha;
}

std::optional<PictureInfo> readPictureHeader(std::span<const BYTE> bytes, std::string* error)
{
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return readBmpHeader(bytes, error);
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0)
        return readPngHeader(bytes, error);
    return fail(error, bytes.empty() ? "no picture data" : "neither a BMP nor a PNG picture");
}

DecodedPicture decodePicture(std::span<const BYTE> bytes)
{
    DecodedPicture result;
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        result.error = "picture data of " + std::to_string(bytes.size()) + " bytes is too large";
        return result;
    }
    auto info = readPictureHeader(bytes, &result.error);
    if (!info)
        return result;
    try {
        if (auto plain = decodePlainBmp24(bytes, *info)) {
            result.pixels = std::move(*plain);
            return result;
        }
    } catch (const std::exception&) {
        result.error = "out of memory for a picture of " + std::to_string(info->width) + " x " +
                       std::to_string(info->height) + " pixels";
        return result;
    }
    const int length = static_cast<int>(bytes.size());
    int w = 0;
    int h = 0;
    int channels = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &w, &h, &channels)) {
        const char* reason = stbi_failure_reason();
        result.error = std::string("unreadable picture header") + (reason ? std::string(": ") + reason : "");
        return result;
    }
    // The decoder reports a top-down BMP's height negative, as its header has it.
    if (w != info->width || (h < 0 ? -std::int64_t{h} : std::int64_t{h}) != info->height) {
        result.error = "picture header read as " + std::to_string(w) + " x " + std::to_string(h) + " pixels, not " +
                       std::to_string(info->width) + " x " + std::to_string(info->height);
        return result;
    }
    // The biggest buffer a sound picture needs is its 16-bit RGBA pixels plus a filter byte a row;
    // the compressed data is copied once more. Anything bigger comes from corrupt data.
    const std::size_t pixels = static_cast<std::size_t>(info->width) * static_cast<std::size_t>(info->height);
    g_allocationCeiling = pixels * 8 + static_cast<std::size_t>(info->height) * 2 + bytes.size() + 65536;
    stbi_uc* decoded = stbi_load_from_memory(bytes.data(), length, &w, &h, &channels, 4);
    g_allocationCeiling = 0;
    if (decoded == nullptr) {
        const char* reason = stbi_failure_reason();
        result.error = std::string(info->format == PictureFormat::Bmp ? "BMP" : "PNG") + " data cannot be decoded" +
                       (reason ? std::string(": ") + reason : "");
        return result;
    }
    if (w != info->width || h != info->height) {
        stbi_image_free(decoded);
        result.error = "picture decoded to another size than its header declares";
        return result;
    }
    try {
        BitmapPixels out;
        out.width = w;
        out.height = h;
        out.rgba.assign(decoded, decoded + pixels * 4);
        result.pixels = std::move(out);
    } catch (const std::exception&) {
        result.error = "out of memory for a picture of " + std::to_string(w) + " x " + std::to_string(h) + " pixels";
    }
    stbi_image_free(decoded);
    return result;
}

std::vector<BYTE> encodeBmp(const BitmapPixels& pixels)
{
    if (pixels.empty() || checkPictureSize(pixels.width, pixels.height) ||
        pixels.rgba.size() != static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height) * 4)
        return {};
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(pixels.width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(pixels.height);
    const std::uint32_t offset = 14 + 40;
    std::vector<BYTE> out;
    out.reserve(offset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    putLe32(out, offset + imageBytes);
    putLe32(out, 0);
    putLe32(out, offset);
    putLe32(out, 40);
    putLe32(out, static_cast<std::uint32_t>(pixels.width));
    putLe32(out, static_cast<std::uint32_t>(pixels.height));  // positive: bottom-up rows
    putLe16(out, 1);
    putLe16(out, 24);
    putLe32(out, 0);  // uncompressed
    putLe32(out, imageBytes);
    putLe32(out, 3780);  // 96 dots per inch
    putLe32(out, 3780);
    putLe32(out, 0);
    putLe32(out, 0);
    for (int y = pixels.height - 1; y >= 0; --y) {
        const BYTE* row = pixels.rgba.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(pixels.width) * 4;
        for (int x = 0; x < pixels.width; ++x) {
            out.push_back(row[x * 4 + 2]);
            out.push_back(row[x * 4 + 1]);
            out.push_back(row[x * 4]);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(pixels.width) * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    return out;
}

} // namespace kxwin
