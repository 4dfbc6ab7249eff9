// Bitmaps and icons: handles to pictures held as 32-bit RGBA pixels, loaded from the current
// resource handle or from .bmp/.png files, made from pixels, sized, masked for a transparent colour
// and written back as .bmp bytes. Decoding and its limits are ImageCodec.h's; drawing pictures is
// DrawingContext.h's.
#pragma once

#include "platform/win/ImageCodec.h"
#include "platform/win/KxWinExport.h"
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

using HANDLE = void*;

// IMAGE_BITMAP and IMAGE_ICON come from Messages.h.
inline constexpr UINT LR_DEFAULTCOLOR = 0x0000;
inline constexpr UINT LR_LOADFROMFILE = 0x0010;
inline constexpr UINT LR_LOADTRANSPARENT = 0x0020;
inline constexpr UINT LR_DEFAULTSIZE = 0x0040;
inline constexpr UINT LR_CREATEDIBSECTION = 0x2000;

struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 32;  // 1 for masks
    void* bmBits = nullptr;
};

struct ICONINFO {
    BOOL fIcon = TRUE;
    DWORD xHotspot = 0;
    DWORD yHotspot = 0;
    HBITMAP hbmMask = nullptr;   // white where the icon is transparent
    HBITMAP hbmColor = nullptr;
};

// A bitmap resource (kind "BITMAP": the bytes of a .bmp or .png) of the current resource handle.
// Null when the resource is missing or cannot be decoded; kxwin::lastPictureError() says why.
// The caller owns the bitmap and deletes it with DeleteObject.
KXWIN_API HBITMAP LoadBitmap(int resourceId);
// With LR_LOADFROMFILE, `name` is a file path (UTF-8; "\" separators are accepted when no file has
// the literal name). IMAGE_BITMAP gives an HBITMAP, IMAGE_ICON an HICON; a cx or cy other than 0
// scales the picture to that size. Null on failure, kxwin::lastPictureError() says why.
KXWIN_API HANDLE LoadImage(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags);
// A resource of `module` (the current resource handle when null): kind "BITMAP" or "ICON".
KXWIN_API HANDLE LoadImage(HINSTANCE module, int resourceId, UINT type, int cx, int cy, UINT flags);
// FALSE for a dead handle. A bitmap still selected into a memory context goes when the context
// lets it go.
KXWIN_API BOOL DeleteObject(HBITMAP bitmap);
// Returns sizeof(BITMAP), or 0 for a dead handle, a null pointer or a buffer size below sizeof(BITMAP).
KXWIN_API int GetObject(HBITMAP bitmap, int size, BITMAP* out);
// A black bitmap of the size; null when a side is negative or the size is over the picture limits.
// A size of 0 gives a bitmap without pixels. The context is not needed and may be null.
KXWIN_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

// An icon resource (kind "ICON": a .bmp or a .png with its transparency) of the current resource
// handle. Null on failure, kxwin::lastPictureError() says why. Destroy it with DestroyIcon.
KXWIN_API HICON LoadIcon(int resourceId);
// An icon from a colour bitmap and a mask (white: transparent; pixels outside a smaller mask stay
// opaque). Without a mask the colour bitmap's own alpha is used. The bitmaps stay the caller's.
KXWIN_API HICON CreateIconIndirect(const ICONINFO* info);
// New colour and mask bitmaps of the icon, owned by the caller.
KXWIN_API BOOL GetIconInfo(HICON icon, ICONINFO* info);
KXWIN_API BOOL DestroyIcon(HICON icon);

namespace kxwin {

// A bitmap of the pixels; null when the size is over the limits or the pixel bytes do not match it.
KXWIN_API HBITMAP createBitmap(BitmapPixels pixels, bool monochrome = false);
// Decodes .bmp or .png bytes into a bitmap; null with the reason in `error` otherwise.
KXWIN_API HBITMAP decodeBitmap(std::span<const BYTE> bytes, std::string* error = nullptr);
KXWIN_API HBITMAP loadBitmapFile(const std::string& path, std::string* error = nullptr);
KXWIN_API bool isBitmap(HBITMAP bitmap);
// The pixels as they are now (a later drawing into the bitmap does not change them); null for a
// dead handle.
KXWIN_API std::shared_ptr<const BitmapPixels> bitmapPixels(HBITMAP bitmap);
// {0, 0} for a dead handle.
KXWIN_API SIZE bitmapSize(HBITMAP bitmap);
// .bmp bytes (24-bit) of the bitmap, for the caller to save; empty for a dead handle or a bitmap
// without pixels, which is a failed write.
KXWIN_API std::vector<BYTE> encodeBmp(HBITMAP bitmap);
// A monochrome mask of the bitmap: white where a pixel has the transparent colour (or is fully
// transparent), black elsewhere. Null for a dead handle. White is the usual transparent colour of
// the module's pictures.
KXWIN_API HBITMAP makeMask(HBITMAP bitmap, COLORREF transparent);
// Nearest-neighbour scaling; an empty picture for a size of 0 or over the limits.
KXWIN_API BitmapPixels scalePixels(const BitmapPixels& source, int width, int height);

KXWIN_API HICON createIcon(BitmapPixels pixels);
KXWIN_API bool isIcon(HICON icon);
KXWIN_API std::shared_ptr<const BitmapPixels> iconPixels(HICON icon);
KXWIN_API SIZE iconSize(HICON icon);

// Why the last LoadBitmap, LoadImage or LoadIcon of this thread failed ("bitmap resource 8134 is not
// in the resources of module host").
KXWIN_API std::string lastPictureError();

KXWIN_API int liveBitmapCount();
KXWIN_API int liveIconCount();

} // namespace kxwin

// A bitmap object that deletes its bitmap when it goes away.
class KXWIN_API CBitmap {
public:
    CBitmap() = default;
    ~CBitmap() { DeleteObject(); }
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;
    CBitmap(CBitmap&& other) noexcept : m_hObject(other.m_hObject) { other.m_hObject = nullptr; }
    CBitmap& operator=(CBitmap&& other) noexcept;

    HBITMAP m_hObject = nullptr;
    operator HBITMAP() const { return m_hObject; }
    HBITMAP GetSafeHandle() const { return m_hObject; }

    // Each load or create fails (FALSE) when the object already holds a bitmap.
    BOOL LoadBitmap(int resourceId);
    BOOL LoadFromFile(const std::string& path);
    BOOL CreateCompatibleBitmap(HDC dc, int width, int height);
    int GetBitmap(BITMAP* out) const { return ::GetObject(m_hObject, sizeof(BITMAP), out); }
    SIZE size() const { return kxwin::bitmapSize(m_hObject); }
    BOOL Attach(HBITMAP bitmap);
    HBITMAP Detach();
    BOOL DeleteObject();
};
