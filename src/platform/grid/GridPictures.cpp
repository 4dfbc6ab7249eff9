// The pixels picture cells keep, and the PNG and base64 forms the sheet file stores them in.
#include "platform/grid/GridControl.h"

#include "platform/win/Bitmap.h"

#include <cstring>

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

std::string encodePicturePng(const kxwin::BitmapPixels& pixels)
{
    std::string out;
    if (pixels.empty() || pixels.rgba.size() != static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height) * 4)
        return out;
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
