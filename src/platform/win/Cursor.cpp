// The standard cursors and the cursor shown now. A standard cursor's handle is its id, so handles
// compare equal however often they are loaded, as the desktop's shared cursors do.
#include "platform/win/Cursor.h"

#include "platform/win/Window.h"
#include "platform/win/WindowInternal.h"

#include <cstdint>

namespace {

bool isStandardCursor(int id)
{
    switch (id) {
    case IDC_ARROW:
    case IDC_IBEAM:
    case IDC_WAIT:
    case IDC_CROSS:
    case IDC_SIZENWSE:
    case IDC_SIZENESW:
    case IDC_SIZEWE:
    case IDC_SIZENS:
    case IDC_SIZEALL:
        return true;
    default:
        return false;
    }
}

HCURSOR& current()
{
    static HCURSOR cursor = LoadCursor(nullptr, IDC_ARROW);
    return cursor;
}

} // namespace

HCURSOR LoadCursor(HINSTANCE instance, int cursorId)
{
    if (instance != nullptr || !isStandardCursor(cursorId))
        return nullptr;
    return reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(cursorId));
}

HCURSOR SetCursor(HCURSOR cursor)
{
    HCURSOR previous = current();
    if (cursor == previous)
        return previous;
    current() = cursor;
    kxwin::detail::notifyCursorChanged(cursor);
    return previous;
}

HCURSOR GetCursor()
{
    return current();
}

namespace {

POINT& position()
{
    static POINT at{0, 0};
    return at;
}

} // namespace

BOOL GetCursorPos(POINT* point)
{
    if (point == nullptr)
        return FALSE;
    *point = position();
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    position() = POINT{x, y};
    return TRUE;
}

namespace kxwin {

int cursorId(HCURSOR cursor)
{
    const auto id = static_cast<int>(reinterpret_cast<std::uintptr_t>(cursor));
    return cursor != nullptr && isStandardCursor(id) ? id : 0;
}

} // namespace kxwin
