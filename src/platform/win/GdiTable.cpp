// The handle table of GDI objects.
#include "platform/win/GdiTable.h"

#include <unordered_map>

namespace kxwin::detail {

namespace {

struct Table {
    std::unordered_map<std::uintptr_t, GdiObject> objects;
    // Apart from the window, context and menu handles, so a handle of one kind never finds another.
    std::uintptr_t next = 0x10000000;
};

Table& table()
{
    static Table t;
    return t;
}

} // namespace

std::uintptr_t addGdiObject(GdiObject object)
{
    Table& t = table();
    const std::uintptr_t handle = t.next;
    t.objects.emplace(handle, std::move(object));
    t.next += 4;
    return handle;
}

GdiObject* findGdiObject(const void* handle)
{
    if (handle == nullptr)
        return nullptr;
    auto& objects = table().objects;
    auto it = objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == objects.end() ? nullptr : &it->second;
}

void removeGdiObject(const void* handle)
{
    table().objects.erase(reinterpret_cast<std::uintptr_t>(handle));
}

Selection* selectionOf(GdiObject& object)
{
    return std::visit(
        [](auto& o) -> Selection* {
            if constexpr (requires { o.use; })
                return &o.use;
            else
                return nullptr;
        },
        object);
}

template <typename T>
int gdiObjectCount()
{
    int count = 0;
    for (auto& [handle, object] : table().objects) {
        if (std::holds_alternative<T>(object)) {
            Selection* use = selectionOf(object);
            if (use == nullptr || (!use->stock && !use->deletePending))
                ++count;
        }
    }
    return count;
}

template <typename T>
BOOL deleteGdiObject(const void* handle)
{
    GdiObject* object = findGdiObject(handle);
    if (object == nullptr || !std::holds_alternative<T>(*object))
        return FALSE;
    Selection* use = selectionOf(*object);
    if (use != nullptr && use->stock)
        return TRUE;
    if (use != nullptr && use->count > 0) {
        use->deletePending = true;
        return TRUE;
    }
    removeGdiObject(handle);
    return TRUE;
}

void retainSelection(const void* handle)
{
    if (GdiObject* object = findGdiObject(handle))
        if (Selection* use = selectionOf(*object))
            ++use->count;
}

void releaseSelection(const void* handle)
{
    GdiObject* object = findGdiObject(handle);
    if (object == nullptr)
        return;
    Selection* use = selectionOf(*object);
    if (use == nullptr)
        return;
    if (use->count > 0)
        --use->count;
    if (auto* bitmap = std::get_if<BitmapObject>(object); bitmap && use->count == 0)
        bitmap->selectedInto = nullptr;
    if (use->count == 0 && use->deletePending)
        removeGdiObject(handle);
}

BitmapPixels* writablePixels(BitmapObject& bitmap)
{
    if (!bitmap.pixels)
        bitmap.pixels = std::make_shared<BitmapPixels>();
    else if (bitmap.pixels.use_count() > 1)
        bitmap.pixels = std::make_shared<BitmapPixels>(*bitmap.pixels);
    return bitmap.pixels.get();
}

template int gdiObjectCount<BitmapObject>();
template int gdiObjectCount<IconObject>();
template int gdiObjectCount<FontObject>();
template int gdiObjectCount<BrushObject>();
template int gdiObjectCount<PenObject>();
template BOOL deleteGdiObject<BitmapObject>(const void*);
template BOOL deleteGdiObject<FontObject>(const void*);
template BOOL deleteGdiObject<BrushObject>(const void*);
template BOOL deleteGdiObject<PenObject>(const void*);

} // namespace kxwin::detail
