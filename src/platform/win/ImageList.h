// Image lists: numbered pictures of one size that list views, tab controls and the module's
// thumbnail lists draw from. Controls only keep the HIMAGELIST handle they are given; the image
// list belongs to whoever made it. Loading pictures is Bitmap.h's; this file only keeps and draws them.
//
// Every picture added is fitted to the list's size: scaled (up or down) keeping its proportions and
// centred, the rest of the cell transparent. That is what thumbnails need; a picture of exactly the
// list's size goes in unchanged. One call adds one picture (no strips of several images).
#pragma once

#include "platform/win/Bitmap.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/KxWinExport.h"
#include "platform/win/WinTypes.h"

#include <memory>

// Creation flags. Pictures are always kept as 32-bit colour with transparency; the colour depth
// flags are accepted and make no difference. Without ILC_MASK, masks given with a picture are
// ignored (a picture's own fully transparent pixels stay transparent).
inline constexpr UINT ILC_COLOR = 0x0000;
inline constexpr UINT ILC_MASK = 0x0001;
inline constexpr UINT ILC_COLOR4 = 0x0004;
inline constexpr UINT ILC_COLOR8 = 0x0008;
inline constexpr UINT ILC_COLOR16 = 0x0010;
inline constexpr UINT ILC_COLOR24 = 0x0018;
inline constexpr UINT ILC_COLOR32 = 0x0020;
inline constexpr UINT ILC_COLORDDB = 0x00FE;

// Drawing styles.
inline constexpr UINT ILD_NORMAL = 0x0000;       // over the list's background colour when it has one
inline constexpr UINT ILD_TRANSPARENT = 0x0001;  // never the background colour
inline constexpr UINT ILD_BLEND25 = 0x0002;      // a quarter of the highlight colour over the picture
inline constexpr UINT ILD_FOCUS = ILD_BLEND25;
inline constexpr UINT ILD_BLEND50 = 0x0004;      // half of the highlight colour over the picture
inline constexpr UINT ILD_SELECTED = ILD_BLEND50;
inline constexpr UINT ILD_BLEND = ILD_BLEND50;
inline constexpr UINT ILD_MASK = 0x0010;         // the mask alone: black where the picture is, white elsewhere

// Background colours of a list: none (drawn transparent) or the default (the same here).
inline constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
inline constexpr COLORREF CLR_DEFAULT = 0xFF000000;

// A list for pictures of cx x cy pixels. Null when a side is 0 or less or the size is over the
// picture limits. `initial` and `grow` are hints only. The caller destroys it with ImageList_Destroy.
KXWIN_API HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
// FALSE for a null or stale handle; every image goes with the list.
KXWIN_API BOOL ImageList_Destroy(HIMAGELIST list);

// Adds a picture; white pixels of `mask` (when given, with ILC_MASK) are transparent, and pixels
// outside a smaller mask stay opaque. The bitmaps stay the caller's and are not changed. Returns the
// new image's index, or -1 for a stale list, a dead or empty bitmap, or a dead mask handle.
KXWIN_API int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// Adds a picture whose pixels of colour `transparent` are left out (with ILC_MASK). -1 on failure.
KXWIN_API int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF transparent);
// Adds (index -1) or replaces an image with an icon's picture. The icon stays the caller's.
KXWIN_API int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
KXWIN_API int ImageList_AddIcon(HIMAGELIST list, HICON icon);
// Replaces image `index` as ImageList_Add would add it. FALSE for an index out of range or a bad handle.
KXWIN_API BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask);
// Removes image `index` (later images move down one) or, with -1, every image.
KXWIN_API BOOL ImageList_Remove(HIMAGELIST list, int index);
KXWIN_API BOOL ImageList_RemoveAll(HIMAGELIST list);
// 0 for a stale handle.
KXWIN_API int ImageList_GetImageCount(HIMAGELIST list);
// FALSE for a stale handle; either pointer may be null.
KXWIN_API BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Changes the size of the list's pictures; every image is removed, as in the framework.
KXWIN_API BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy);
// Returns the previous colour; CLR_NONE for a stale handle.
KXWIN_API COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
KXWIN_API COLORREF ImageList_GetBkColor(HIMAGELIST list);
// Draws image `index` with its top-left corner at (x, y), at the list's size. FALSE for a stale
// list, an index out of range or a dead context.
KXWIN_API BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// A new icon of image `index`, owned by the caller (DestroyIcon); null on failure.
KXWIN_API HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);

namespace kxwin {

KXWIN_API bool isImageList(HIMAGELIST list);
// The pixels of image `index` as the list keeps them (list-sized, alpha 0 where transparent), for
// backends that show list views and for tests; null for a stale list or an index out of range.
KXWIN_API std::shared_ptr<const BitmapPixels> imageListPixels(HIMAGELIST list, int index);
KXWIN_API int liveImageListCount();
// Fits a picture into cx x cy: scaled keeping its proportions (at least one pixel a side), centred,
// the rest transparent. An empty picture for a size of 0 or over the limits.
KXWIN_API BitmapPixels fitPixels(const BitmapPixels& source, int cx, int cy);

} // namespace kxwin
