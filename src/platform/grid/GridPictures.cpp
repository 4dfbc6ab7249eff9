// The pixels picture cells keep, and the PNG and base64 forms the sheet file stores them in.
#include "platform/grid/GridControl.h"

#include "platform/win/Bitmap.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wcast-qual"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wuseless-cast"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace kxgrid::detail {

namespace {

constexpr int kPngFilter = 0;
constexpr int kPngLevel = 2;
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void appendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

} // namespace

std::shared_ptr<const kxwin::BitmapPixels> picturePixelsOfFile(const std::string& path)
{
    if (path.empty())
        return nullptr;
    HBITMAP bitmap = kxwin::loadBitmapFile(path);
    if (bitmap == nullptr)
        return nullptr;
    std::shared_ptr<const kxwin::BitmapPixels> pixels = kxwin::bitmapPixels(bitmap);
    DeleteObject(bitmap);
    return pixels && !pixels->empty() ? pixels : nullptr;
}

std::shared_ptr<const kxwin::BitmapPixels> picturePixelsOfHandle(void* handle, bool isIcon)
{
    if (handle == nullptr)
        return nullptr;
    std::shared_ptr<const kxwin::BitmapPixels> pixels =
        isIcon ? kxwin::iconPixels(static_cast<HICON>(handle)) : kxwin::bitmapPixels(static_cast<HBITMAP>(handle));
    return pixels && !pixels->empty() ? pixels : nullptr;
}

namespace {

std::uint32_t crc32(std::string_view bytes, std::uint32_t crc = 0)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (const char b : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(b)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBigEndian(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

void putChunk(std::string& out, const char* type, std::string_view data)
{
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string body(type, 4);
    body.append(data);
    out += body;
    putBigEndian(out, crc32(body));
}

// A palette PNG (8-bit indices, one filter byte 0 per row) when the picture has at most 256
// colours, as the module's drawings do; empty otherwise. A quarter of the bytes to compress.
std::string encodePalettePng(const kxwin::BitmapPixels& pixels)
{
    std::unordered_map<std::uint32_t, std::uint8_t> index;
    std::vector<std::uint32_t> palette;
    const size_t rowBytes = static_cast<size_t>(pixels.width) + 1;
    std::string raw(rowBytes * static_cast<size_t>(pixels.height), '\0');
    std::uint32_t last = 0;
    std::uint8_t lastIndex = 0;
    bool haveLast = false;
    bool translucent = false;
    for (int y = 0; y < pixels.height; ++y) {
        const BYTE* p = pixels.rgba.data() + static_cast<size_t>(y) * static_cast<size_t>(pixels.width) * 4;
        char* row = raw.data() + static_cast<size_t>(y) * rowBytes + 1;
        for (int x = 0; x < pixels.width; ++x, p += 4) {
            std::uint32_t colour;
            std::memcpy(&colour, p, 4);
            if (!haveLast || colour != last) {
                auto [it, fresh] = index.emplace(colour, static_cast<std::uint8_t>(palette.size()));
                if (fresh) {
                    if (palette.size() == 256)
                        return {};
                    palette.push_back(colour);
                    translucent = translucent || p[3] != 255;
                }
                last = colour;
                lastIndex = it->second;
                haveLast = true;
            }
            row[x] = static_cast<char>(lastIndex);
        }
    }
    int packedSize = 0;
    unsigned char* packed = stbi_zlib_compress(reinterpret_cast<unsigned char*>(raw.data()), static_cast<int>(raw.size()),
                                               &packedSize, kPngLevel);
    if (packed == nullptr)
        return {};
    std::string out("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    putBigEndian(header, static_cast<std::uint32_t>(pixels.width));
    putBigEndian(header, static_cast<std::uint32_t>(pixels.height));
    header += std::string("\x08\x03\x00\x00\x00", 5);  // 8 bits, palette, deflate, no filter choice, no interlace
    putChunk(out, "IHDR", header);
    std::string colours, alphas;
    for (const std::uint32_t c : palette) {
        const auto* b = reinterpret_cast<const unsigned char*>(&c);
        colours += static_cast<char>(b[0]);
        colours += static_cast<char>(b[1]);
        colours += static_cast<char>(b[2]);
        alphas += static_cast<char>(b[3]);
    }
    putChunk(out, "PLTE", colours);
    if (translucent)
        putChunk(out, "tRNS", alphas);
    putChunk(out, "IDAT", std::string_view(reinterpret_cast<const char*>(packed), static_cast<size_t>(packedSize)));
    STBIW_FREE(packed);
    putChunk(out, "IEND", {});
    return out;
}

} // namespace

std::string encodePicturePng(const kxwin::BitmapPixels& pixels)
{
    std::string out;
    if (pixels.empty() || pixels.rgba.size() != static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height) * 4)
        return out;
    out = encodePalettePng(pixels);
    if (!out.empty())
        return out;
    // Pictures of many colours. Without the per-row filter search and with a short match search
    // they compress nearly as well in a fraction of the time.
    stbi_write_force_png_filter = kPngFilter;
    stbi_write_png_compression_level = kPngLevel;
    if (stbi_write_png_to_func(appendBytes, &out, pixels.width, pixels.height, 4, pixels.rgba.data(), pixels.width * 4) == 0)
        out.clear();
    return out;
}

std::optional<kxwin::BitmapPixels> decodePicturePng(std::string_view bytes, std::string& error)
{
    const kxwin::DecodedPicture decoded = kxwin::decodePicture(
        std::span<const BYTE>(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size()));
    if (!decoded) {
        error = decoded.error;
        return std::nullopt;
    }
    return decoded.pixels;
}

std::string encodeBase64(std::string_view bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += kBase64[(v >> 18) & 63];
        out += kBase64[(v >> 12) & 63];
        out += kBase64[(v >> 6) & 63];
        out += kBase64[v & 63];
    }
    if (i < bytes.size()) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kBase64[(v >> 18) & 63];
        out += kBase64[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kBase64[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

bool decodeBase64(std::string_view text, std::string& out)
{
    if (text.size() % 4 != 0)
        return false;
    auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z')
            return c - 'A';
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 26;
        if (c >= '0' && c <= '9')
            return c - '0' + 52;
        if (c == '+')
            return 62;
        if (c == '/')
            return 63;
        return -1;
    };
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const int pad = last ? (text[i + 3] == '=' ? (text[i + 2] == '=' ? 2 : 1) : 0) : 0;
        int v[4];
        for (int k = 0; k < 4 - pad; ++k)
            if ((v[k] = value(text[i + static_cast<size_t>(k)])) < 0)
                return false;
        for (int k = 4 - pad; k < 4; ++k)
            v[k] = 0;
        const unsigned n = (static_cast<unsigned>(v[0]) << 18) | (static_cast<unsigned>(v[1]) << 12) |
                           (static_cast<unsigned>(v[2]) << 6) | static_cast<unsigned>(v[3]);
        out += static_cast<char>((n >> 16) & 0xFF);
        if (pad < 2)
            out += static_cast<char>((n >> 8) & 0xFF);
        if (pad < 1)
            out += static_cast<char>(n & 0xFF);
    }
    return true;
}

} // namespace kxgrid::detail
