// Image lists: a table of lists behind HIMAGELIST handles, each a size, flags, a background colour
// and list-sized pictures with transparency. Drawing goes through a temporary icon, so a record
// shows an image list's picture as any other picture with transparency.
#include "platform/win/ImageList.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

using kxwin::BitmapPixels;
using Picture = std::shared_ptr<const BitmapPixels>;

// The system's highlight colour, which the selected and focused styles blend in.
constexpr COLORREF kHighlight = RGB(0, 120, 215);

struct ImageListObject {
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    COLORREF background = CLR_NONE;
    std::vector<Picture> images;
};

struct ImageListTable {
    // Handles count up and are never reused, so a stale handle finds nothing.
    std::uintptr_t next = 0x10;
    std::unordered_map<std::uintptr_t, ImageListObject> lists;
};

ImageListTable& table()
{
    static ImageListTable t;
    return t;
}

ImageListObject* find(HIMAGELIST list)
{
    auto& lists = table().lists;
    auto it = lists.find(reinterpret_cast<std::uintptr_t>(list));
    return it == lists.end() ? nullptr : &it->second;
}

bool validSize(int cx, int cy)
{
    return cx > 0 && cy > 0 && !kxwin::checkPictureSize(cx, cy);
}

// A mask pixel counts as white (transparent) when it is light: masks made by the layer are pure
// black and white, colour masks from elsewhere are read the way a conversion to one bit reads them.
bool maskIsSet(const BitmapPixels& mask, int x, int y)
{
    const COLORREF c = mask.colorAt(x, y);
    return GetRValue(c) + GetGValue(c) + GetBValue(c) >= 3 * 128;
}

// The picture as the list keeps it, with the mask or the transparent colour applied at the
// picture's own size before fitting, so that scaling never mixes the two.
std::optional<BitmapPixels> prepare(const ImageListObject& l, HBITMAP image, HBITMAP mask,
                                    std::optional<COLORREF> transparent)
{
    const Picture source = kxwin::bitmapPixels(image);
    if (!source || source->empty())
        return std::nullopt;
    Picture maskPixels;
    if (mask != nullptr) {
        maskPixels = kxwin::bitmapPixels(mask);
        if (!maskPixels)
            return std::nullopt;
    }
    BitmapPixels pixels = *source;
    if (l.flags & ILC_MASK) {
        for (int y = 0; y < pixels.height; ++y) {
            for (int x = 0; x < pixels.width; ++x) {
                const bool masked = maskPixels ? (maskPixels->contains(x, y) && maskIsSet(*maskPixels, x, y))
                                               : (transparent && pixels.colorAt(x, y) == (*transparent & 0xFFFFFF));
                if (masked)
                    pixels.setPixel(x, y, pixels.colorAt(x, y), 0);
            }
        }
    }
    BitmapPixels fitted = kxwin::fitPixels(pixels, l.cx, l.cy);
    if (fitted.empty())
        return std::nullopt;
    return fitted;
}

int addOrReplace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask, std::optional<COLORREF> transparent)
{
    ImageListObject* l = find(list);
    if (l == nullptr || index < -1 || index >= static_cast<int>(l->images.size()))
        return -1;
    try {
        auto pixels = prepare(*l, image, mask, transparent);
        if (!pixels)
            return -1;
        auto picture = std::make_shared<const BitmapPixels>(std::move(*pixels));
        if (index >= 0) {
            l->images[static_cast<size_t>(index)] = std::move(picture);
            return index;
        }
        l->images.push_back(std::move(picture));
        return static_cast<int>(l->images.size()) - 1;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

Picture imageAt(const ImageListObject* l, int index)
{
    if (l == nullptr || index < 0 || index >= static_cast<int>(l->images.size()))
        return nullptr;
    return l->images[static_cast<size_t>(index)];
}

BYTE mix(BYTE from, BYTE to, int parts)
{
    return static_cast<BYTE>((from * (4 - parts) + to * parts) / 4);
}

// The picture as a style draws it: blended with the highlight colour, or its mask.
BitmapPixels styled(const BitmapPixels& source, UINT style)
{
    BitmapPixels out = source;
    if (style & ILD_MASK) {
        for (int y = 0; y < out.height; ++y) {
            for (int x = 0; x < out.width; ++x)
                out.setPixel(x, y, source.alphaAt(x, y) == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0));
        }
        return out;
    }
    const int parts = (style & ILD_BLEND50) ? 2 : ((style & ILD_BLEND25) ? 1 : 0);
    if (parts == 0)
        return out;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const COLORREF c = source.colorAt(x, y);
            out.setPixel(x, y,
                         RGB(mix(GetRValue(c), GetRValue(kHighlight), parts), mix(GetGValue(c), GetGValue(kHighlight), parts),
                             mix(GetBValue(c), GetBValue(kHighlight), parts)),
                         source.alphaAt(x, y));
        }
    }
    return out;
}

} // namespace

namespace kxwin {

bool isImageList(HIMAGELIST list)
{
    return find(list) != nullptr;
}

std::shared_ptr<const BitmapPixels> imageListPixels(HIMAGELIST list, int index)
{
    return imageAt(find(list), index);
}

int liveImageListCount()
{
    return static_cast<int>(table().lists.size());
}

BitmapPixels fitPixels(const BitmapPixels& source, int cx, int cy)
{
    if (!validSize(cx, cy) || source.empty())
        return BitmapPixels();
    if (source.width == cx && source.height == cy)
        return source;
    // The side that limits the picture gets the whole cell; the other keeps the proportion.
    const std::int64_t w = source.width;
    const std::int64_t h = source.height;
    int width = cx;
    int height = cy;
    if (w * cy >= h * cx)
        height = static_cast<int>(std::clamp<std::int64_t>((h * cx + w / 2) / w, 1, cy));
    else
        width = static_cast<int>(std::clamp<std::int64_t>((w * cy + h / 2) / h, 1, cx));
    const BitmapPixels scaled = scalePixels(source, width, height);
    BitmapPixels out(cx, cy, RGB(0, 0, 0));
    std::fill(out.rgba.begin(), out.rgba.end(), BYTE{0});
    const int left = (cx - width) / 2;
    const int top = (cy - height) / 2;
    for (int y = 0; y < scaled.height; ++y) {
        for (int x = 0; x < scaled.width; ++x)
            out.setPixel(left + x, top + y, scaled.colorAt(x, y), scaled.alphaAt(x, y));
    }
    return out;
}

} // namespace kxwin

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int)
{
    if (!validSize(cx, cy))
        return nullptr;
    try {
        ImageListTable& t = table();
        const std::uintptr_t id = t.next++;
        t.lists.emplace(id, ImageListObject{cx, cy, flags, CLR_NONE, {}});
        return reinterpret_cast<HIMAGELIST>(id);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL ImageList_Destroy(HIMAGELIST list)
{
    return table().lists.erase(reinterpret_cast<std::uintptr_t>(list)) != 0 ? TRUE : FALSE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask)
{
    return addOrReplace(list, -1, image, mask, std::nullopt);
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF transparent)
{
    return addOrReplace(list, -1, image, nullptr, transparent);
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon)
{
    ImageListObject* l = find(list);
    const Picture source = kxwin::iconPixels(icon);
    if (l == nullptr || !source || source->empty() || index < -1 || index >= static_cast<int>(l->images.size()))
        return -1;
    try {
        BitmapPixels fitted = kxwin::fitPixels(*source, l->cx, l->cy);
        if (fitted.empty())
            return -1;
        auto picture = std::make_shared<const BitmapPixels>(std::move(fitted));
        if (index >= 0) {
            l->images[static_cast<size_t>(index)] = std::move(picture);
            return index;
        }
        l->images.push_back(std::move(picture));
        return static_cast<int>(l->images.size()) - 1;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

int ImageList_AddIcon(HIMAGELIST list, HICON icon)
{
    return ImageList_ReplaceIcon(list, -1, icon);
}

BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask)
{
    if (index < 0)
        return FALSE;
    return addOrReplace(list, index, image, mask, std::nullopt) == index ? TRUE : FALSE;
}

BOOL ImageList_Remove(HIMAGELIST list, int index)
{
    ImageListObject* l = find(list);
    if (l == nullptr)
        return FALSE;
    if (index == -1) {
        l->images.clear();
        return TRUE;
    }
    if (index < 0 || index >= static_cast<int>(l->images.size()))
        return FALSE;
    l->images.erase(l->images.begin() + index);
    return TRUE;
}

BOOL ImageList_RemoveAll(HIMAGELIST list)
{
    return ImageList_Remove(list, -1);
}

int ImageList_GetImageCount(HIMAGELIST list)
{
    const ImageListObject* l = find(list);
    return l ? static_cast<int>(l->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy)
{
    const ImageListObject* l = find(list);
    if (l == nullptr)
        return FALSE;
    if (cx != nullptr)
        *cx = l->cx;
    if (cy != nullptr)
        *cy = l->cy;
    return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy)
{
    ImageListObject* l = find(list);
    if (l == nullptr || !validSize(cx, cy))
        return FALSE;
    l->cx = cx;
    l->cy = cy;
    l->images.clear();
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color)
{
    ImageListObject* l = find(list);
    if (l == nullptr)
        return CLR_NONE;
    const COLORREF previous = l->background;
    l->background = color;
    return previous;
}

COLORREF ImageList_GetBkColor(HIMAGELIST list)
{
    const ImageListObject* l = find(list);
    return l ? l->background : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style)
{
    const ImageListObject* l = find(list);
    const Picture picture = imageAt(l, index);
    // A live context always has a background mode: 0 means the handle is dead.
    if (!picture || GetBkMode(dc) == 0)
        return FALSE;
    try {
        const bool withBackground = !(style & (ILD_TRANSPARENT | ILD_MASK)) && l->background != CLR_NONE &&
                                    l->background != CLR_DEFAULT;
        if (withBackground)
            kxwin::fillSolidRect(dc, RECT{x, y, x + l->cx, y + l->cy}, l->background & 0xFFFFFF);
        HICON icon = (style & (ILD_MASK | ILD_BLEND25 | ILD_BLEND50)) ? kxwin::createIcon(styled(*picture, style))
                                                                       : kxwin::createIcon(*picture);
        if (icon == nullptr)
            return FALSE;
        const BOOL drawn = DrawIconEx(dc, x, y, icon, l->cx, l->cy, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
        return drawn;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags)
{
    const Picture picture = imageAt(find(list), index);
    if (!picture)
        return nullptr;
    try {
        return kxwin::createIcon(styled(*picture, flags & (ILD_MASK | ILD_BLEND25 | ILD_BLEND50)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
