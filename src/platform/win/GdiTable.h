// Private to the window layer: the table behind the GDI handles (bitmaps, icons, fonts, brushes,
// pens). Other folders use the handles through Bitmap.h, Font.h and DrawingContext.h.
#pragma once

#include "platform/win/Font.h"
#include "platform/win/ImageCodec.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <memory>
#include <variant>

namespace kxwin::detail {

// What every object that can be selected into a device context keeps about its use.
struct Selection {
    bool stock = false;          // never deleted
    int count = 0;               // device contexts that have it selected
    bool deletePending = false;  // deleted while selected: goes when the last context lets go
};

struct BitmapObject {
    // Shared with the paint records that show it: drawing into the bitmap copies the pixels first
    // when anything else still holds them, so a record never changes after the fact.
    std::shared_ptr<BitmapPixels> pixels;
    bool monochrome = false;  // masks: only black and white pixels, reported as 1 bit per pixel
    HDC selectedInto = nullptr;  // a bitmap is selected into one memory context at most
    Selection use;
};

struct IconObject {
    std::shared_ptr<const BitmapPixels> pixels;  // colour with alpha: 0 where the icon is transparent
};

struct FontObject {
    LOGFONT logFont;
    Selection use;
};

struct BrushObject {
    COLORREF color = 0;
    bool hollow = false;
    Selection use;
};

struct PenObject {
    int style = 0;
    int width = 1;
    COLORREF color = 0;
    Selection use;
};

using GdiObject = std::variant<BitmapObject, IconObject, FontObject, BrushObject, PenObject>;

// Handles are never reused, so a stale handle finds nothing. Single-threaded, like the window tree.
std::uintptr_t addGdiObject(GdiObject object);
GdiObject* findGdiObject(const void* handle);
void removeGdiObject(const void* handle);
// Live objects of one kind, stock objects not counted.
template <typename T>
int gdiObjectCount();

// DeleteObject for every selectable kind: FALSE for a dead handle or one of another kind than T.
// A stock object stays (TRUE). An object still selected into a context is deleted when the last
// context lets it go, so a font object destroyed before the context that uses it leaks nothing.
template <typename T>
BOOL deleteGdiObject(const void* handle);
// Called by the device contexts as they select an object and let it go again.
void retainSelection(const void* handle);
void releaseSelection(const void* handle);

Selection* selectionOf(GdiObject& object);

template <typename T>
T* gdiObject(const void* handle)
{
    GdiObject* object = findGdiObject(handle);
    return object ? std::get_if<T>(object) : nullptr;
}

template <typename Handle>
Handle makeGdiHandle(GdiObject object)
{
    return reinterpret_cast<Handle>(addGdiObject(std::move(object)));
}

// Copies the pixels of a bitmap about to be drawn into when a record or an icon still shares them.
BitmapPixels* writablePixels(BitmapObject& bitmap);

} // namespace kxwin::detail
