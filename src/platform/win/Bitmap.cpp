// Bitmap and icon handles, loading from resources and files, masks and scaling.
#include "platform/win/Bitmap.h"

#include "platform/win/GdiTable.h"
#include "platform/win/Messages.h"
#include "platform/win/Resources.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>

namespace {

using kxwin::BitmapPixels;
using kxwin::detail::BitmapObject;
using kxwin::detail::IconObject;

// Larger than any file a picture within the limits needs (a 16-million-pixel 32-bit BMP is 64 MB,
// an uncompressed 16-bit RGBA PNG of that size 128 MB), so a wrong path cannot fill the memory.
constexpr std::uintmax_t kMaxPictureFileBytes = 160u * 1024 * 1024;

thread_local std::string t_lastError;

template <typename T>
T failWith(std::string reason)
{
    t_lastError = std::move(reason);
    return T{};
}

bool pixelsMatchSize(const BitmapPixels& p)
{
    return !kxwin::checkPictureSize(p.width, p.height) && p.width >= 0 && p.height >= 0 &&
           p.rgba.size() == static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 4;
}

std::optional<std::vector<BYTE>> readFile(const std::string& path, std::string& error)
{
    std::filesystem::path file(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec) && path.find('\\') != std::string::npos) {
        std::string mapped = path;
        std::replace(mapped.begin(), mapped.end(), '\\', '/');
        file = mapped;
    }
    if (!std::filesystem::is_regular_file(file, ec)) {
        error = "picture file " + path + " does not exist";
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) {
        error = "cannot read picture file " + path + ": " + ec.message();
        return std::nullopt;
    }
    if (size > kMaxPictureFileBytes) {
        error = "picture file " + path + " has " + std::to_string(size) + " bytes, more than a picture within the " +
                "size limits needs";
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::vector<BYTE> bytes(static_cast<std::size_t>(size));
    if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
        error = "cannot read picture file " + path;
        return std::nullopt;
    }
    return bytes;
}

std::optional<BitmapPixels> decodeOrExplain(std::span<const BYTE> bytes, const std::string& what)
{
    auto decoded = kxwin::decodePicture(bytes);
    if (!decoded) {
        t_lastError = what + ": " + decoded.error;
        return std::nullopt;
    }
    return std::move(*decoded.pixels);
}

std::optional<BitmapPixels> scaledIfAsked(BitmapPixels pixels, int cx, int cy)
{
    if (cx < 0 || cy < 0)
        return std::nullopt;
    if ((cx == 0 && cy == 0) || (cx == pixels.width && cy == pixels.height))
        return pixels;
    return kxwin::scalePixels(pixels, cx == 0 ? pixels.width : cx, cy == 0 ? pixels.height : cy);
}

std::string resourceText(HINSTANCE module, const char* kind, int id)
{
    return std::string(kind) + " resource " + std::to_string(id) + " of module " + kxwin::resourceModuleName(module);
}

HANDLE fromPixels(std::optional<BitmapPixels> pixels, UINT type, int cx, int cy)
{
    if (!pixels)
        return nullptr;
    auto sized = scaledIfAsked(std::move(*pixels), cx, cy);
    if (!sized || sized->empty())
        return failWith<HANDLE>("a picture cannot be scaled to " + std::to_string(cx) + " x " + std::to_string(cy) +
                                " pixels");
    if (type == IMAGE_ICON)
        return kxwin::createIcon(std::move(*sized));
    return kxwin::createBitmap(std::move(*sized));
}

} // namespace

HBITMAP LoadBitmap(int resourceId)
{
    return static_cast<HBITMAP>(LoadImage(nullptr, resourceId, IMAGE_BITMAP, 0, 0, 0));
}

HANDLE LoadImage(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    if (type != IMAGE_BITMAP && type != IMAGE_ICON)
        return failWith<HANDLE>("image type " + std::to_string(type) + " is not supported");
    if (name == nullptr || (flags & LR_LOADFROMFILE) == 0)
        return failWith<HANDLE>("an image by name needs LR_LOADFROMFILE and a file path");
    try {
        std::string error;
        auto bytes = readFile(name, error);
        if (!bytes)
            return failWith<HANDLE>(error);
        return fromPixels(decodeOrExplain(*bytes, std::string("picture file ") + name), type, cx, cy);
    } catch (const std::bad_alloc&) {
        return failWith<HANDLE>(std::string("out of memory loading picture file ") + name);
    }
}

HANDLE LoadImage(HINSTANCE module, int resourceId, UINT type, int cx, int cy, UINT flags)
{
    if (type != IMAGE_BITMAP && type != IMAGE_ICON)
        return failWith<HANDLE>("image type " + std::to_string(type) + " is not supported");
    if (module == nullptr)
        module = AfxGetResourceHandle();
    const char* kind = type == IMAGE_ICON ? "ICON" : "BITMAP";
    const std::vector<BYTE>* data = kxwin::findResourceDataIn(module, kind, resourceId);
    if (data == nullptr)
        return failWith<HANDLE>(resourceText(module, kind, resourceId) + " does not exist");
    try {
        return fromPixels(decodeOrExplain(*data, resourceText(module, kind, resourceId)), type, cx, cy);
    } catch (const std::bad_alloc&) {
        return failWith<HANDLE>("out of memory loading " + resourceText(module, kind, resourceId));
    }
}

BOOL DeleteObject(HBITMAP bitmap)
{
    return kxwin::detail::deleteGdiObject<BitmapObject>(bitmap);
}

int GetObject(HBITMAP bitmap, int size, BITMAP* out)
{
    auto* object = kxwin::detail::gdiObject<BitmapObject>(bitmap);
    if (object == nullptr || out == nullptr || size < static_cast<int>(sizeof(BITMAP)))
        return 0;
    BITMAP bm;
    bm.bmWidth = object->pixels ? object->pixels->width : 0;
    bm.bmHeight = object->pixels ? object->pixels->height : 0;
    bm.bmBitsPixel = object->monochrome ? 1 : 32;
    bm.bmWidthBytes = object->monochrome ? (bm.bmWidth + 15) / 16 * 2 : bm.bmWidth * 4;
    *out = bm;
    return static_cast<int>(sizeof(BITMAP));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height)
{
    if (kxwin::checkPictureSize(width, height))
        return nullptr;
    try {
        return kxwin::createBitmap(BitmapPixels(width, height, RGB(0, 0, 0)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

HICON LoadIcon(int resourceId)
{
    return static_cast<HICON>(LoadImage(nullptr, resourceId, IMAGE_ICON, 0, 0, 0));
}

HICON CreateIconIndirect(const ICONINFO* info)
{
    if (info == nullptr)
        return nullptr;
    auto colour = kxwin::bitmapPixels(info->hbmColor);
    if (!colour)
        return nullptr;
    auto mask = kxwin::bitmapPixels(info->hbmMask);
    if (info->hbmMask != nullptr && !mask)
        return nullptr;
    try {
        BitmapPixels pixels = *colour;
        if (mask) {
            for (int y = 0; y < pixels.height; ++y) {
                for (int x = 0; x < pixels.width; ++x) {
                    if (mask->contains(x, y) && mask->colorAt(x, y) == RGB(255, 255, 255))
                        pixels.setPixel(x, y, pixels.colorAt(x, y), 0);
                }
            }
        }
        return kxwin::createIcon(std::move(pixels));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL GetIconInfo(HICON icon, ICONINFO* info)
{
    auto pixels = kxwin::iconPixels(icon);
    if (!pixels || info == nullptr)
        return FALSE;
    try {
        BitmapPixels mask(pixels->width, pixels->height, RGB(0, 0, 0));
        for (int y = 0; y < pixels->height; ++y) {
            for (int x = 0; x < pixels->width; ++x) {
                if (pixels->alphaAt(x, y) == 0)
                    mask.setPixel(x, y, RGB(255, 255, 255));
            }
        }
        ICONINFO out;
        out.hbmColor = kxwin::createBitmap(*pixels);
        out.hbmMask = kxwin::createBitmap(std::move(mask), /*monochrome=*/true);
        if (out.hbmColor == nullptr || out.hbmMask == nullptr) {
            DeleteObject(out.hbmColor);
            DeleteObject(out.hbmMask);
            return FALSE;
        }
        *info = out;
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

BOOL DestroyIcon(HICON icon)
{
    if (kxwin::detail::gdiObject<IconObject>(icon) == nullptr)
        return FALSE;
    kxwin::detail::removeGdiObject(icon);
    return TRUE;
}

namespace kxwin {

HBITMAP createBitmap(BitmapPixels pixels, bool monochrome)
{
    if (!pixelsMatchSize(pixels))
        return nullptr;
    try {
        BitmapObject object;
        object.pixels = std::make_shared<BitmapPixels>(std::move(pixels));
        object.monochrome = monochrome;
        return detail::makeGdiHandle<HBITMAP>(std::move(object));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

HBITMAP decodeBitmap(std::span<const BYTE> bytes, std::string* error)
{
    auto decoded = decodePicture(bytes);
    if (!decoded) {
        if (error != nullptr)
            *error = decoded.error;
        return nullptr;
    }
    return createBitmap(std::move(*decoded.pixels));
}

HBITMAP loadBitmapFile(const std::string& path, std::string* error)
{
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (bitmap == nullptr && error != nullptr)
        *error = t_lastError;
    return bitmap;
}

bool isBitmap(HBITMAP bitmap)
{
    return detail::gdiObject<BitmapObject>(bitmap) != nullptr;
}

std::shared_ptr<const BitmapPixels> bitmapPixels(HBITMAP bitmap)
{
    auto* object = detail::gdiObject<BitmapObject>(bitmap);
    return object ? object->pixels : nullptr;
}

SIZE bitmapSize(HBITMAP bitmap)
{
    auto pixels = bitmapPixels(bitmap);
    return pixels ? SIZE{pixels->width, pixels->height} : SIZE{};
}

std::vector<BYTE> encodeBmp(HBITMAP bitmap)
{
    auto pixels = bitmapPixels(bitmap);
    return pixels ? encodeBmp(*pixels) : std::vector<BYTE>{};
}

HBITMAP makeMask(HBITMAP bitmap, COLORREF transparent)
{
    auto pixels = bitmapPixels(bitmap);
    if (!pixels)
        return nullptr;
    try {
        BitmapPixels mask(pixels->width, pixels->height, RGB(0, 0, 0));
        const COLORREF key = transparent & 0xFFFFFF;
        for (int y = 0; y < pixels->height; ++y) {
            for (int x = 0; x < pixels->width; ++x) {
                if (pixels->colorAt(x, y) == key || pixels->alphaAt(x, y) == 0)
                    mask.setPixel(x, y, RGB(255, 255, 255));
            }
        }
        return createBitmap(std::move(mask), /*monochrome=*/true);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BitmapPixels scalePixels(const BitmapPixels& source, int width, int height)
{
    if (width <= 0 || height <= 0 || checkPictureSize(width, height) || source.empty())
        return BitmapPixels();
    BitmapPixels out(width, height);
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>(static_cast<std::int64_t>(y) * source.height / height);
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>(static_cast<std::int64_t>(x) * source.width / width);
            out.setPixel(x, y, source.colorAt(sx, sy), source.alphaAt(sx, sy));
        }
    }
    return out;
}

HICON createIcon(BitmapPixels pixels)
{
    if (!pixelsMatchSize(pixels))
        return nullptr;
    try {
        return detail::makeGdiHandle<HICON>(IconObject{std::make_shared<const BitmapPixels>(std::move(pixels))});
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool isIcon(HICON icon)
{
    return detail::gdiObject<IconObject>(icon) != nullptr;
}

std::shared_ptr<const BitmapPixels> iconPixels(HICON icon)
{
    auto* object = detail::gdiObject<IconObject>(icon);
    return object ? object->pixels : nullptr;
}

SIZE iconSize(HICON icon)
{
    auto pixels = iconPixels(icon);
    return pixels ? SIZE{pixels->width, pixels->height} : SIZE{};
}

std::string lastPictureError()
{
    return t_lastError;
}

int liveBitmapCount()
{
    return detail::gdiObjectCount<BitmapObject>();
}

int liveIconCount()
{
    return detail::gdiObjectCount<IconObject>();
}

} // namespace kxwin

CBitmap& CBitmap::operator=(CBitmap&& other) noexcept
{
    if (this != &other) {
        DeleteObject();
        m_hObject = other.m_hObject;
        other.m_hObject = nullptr;
    }
    return *this;
}

BOOL CBitmap::LoadBitmap(int resourceId)
{
    if (m_hObject != nullptr)
        return FALSE;
    m_hObject = ::LoadBitmap(resourceId);
    return m_hObject != nullptr;
}

BOOL CBitmap::LoadFromFile(const std::string& path)
{
    if (m_hObject != nullptr)
        return FALSE;
    m_hObject = kxwin::loadBitmapFile(path);
    return m_hObject != nullptr;
}

BOOL CBitmap::CreateCompatibleBitmap(HDC dc, int width, int height)
{
    if (m_hObject != nullptr)
        return FALSE;
    m_hObject = ::CreateCompatibleBitmap(dc, width, height);
    return m_hObject != nullptr;
}

BOOL CBitmap::Attach(HBITMAP bitmap)
{
    if (m_hObject != nullptr || bitmap == nullptr)
        return FALSE;
    m_hObject = bitmap;
    return TRUE;
}

HBITMAP CBitmap::Detach()
{
    HBITMAP bitmap = m_hObject;
    m_hObject = nullptr;
    return bitmap;
}

BOOL CBitmap::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    HBITMAP bitmap = m_hObject;
    m_hObject = nullptr;
    return ::DeleteObject(bitmap);
}
