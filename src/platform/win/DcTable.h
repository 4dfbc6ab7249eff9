// Private to the window layer: the table of drawing contexts, shared by the drawing calls
// (DrawingContext.cpp) and the painting of windows (WindowPaint.cpp).
#pragma once

#include "platform/win/DrawingContext.h"
#include "platform/win/GdiRaster.h"

#include <vector>

namespace kxwin::detail {

enum class DcKind {
    Window,  // GetDC: drawing on a window outside its paint
    Paint,   // the context of one paint of a window
    Memory,  // CreateCompatibleDC: drawing into the selected bitmap
    Screen,  // GetDC(nullptr): drawing that goes nowhere
};

struct Dc {
    DcKind kind = DcKind::Memory;
    HWND hwnd = nullptr;
    HFONT font = nullptr;
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    HBITMAP bitmap = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    POINT position;
    std::vector<DrawOp> ops;
};

// Null for a dead handle. Contexts are owned through pointers, so one stays put while a paint
// handler makes others.
Dc* findDc(HDC dc);
// A context with the default objects selected (the default GUI font, a white brush, a black pen;
// for a memory context the stock one-pixel bitmap). Throws std::bad_alloc.
HDC newDc(DcKind kind, HWND hwnd);
// Lets go of the selected objects and returns what the context recorded.
std::vector<DrawOp> destroyDc(HDC dc);

inline RECT rectFromSize(int x, int y, int cx, int cy)
{
    return RECT{x, y, addClamped(x, cx), addClamped(y, cy)};
}

} // namespace kxwin::detail
