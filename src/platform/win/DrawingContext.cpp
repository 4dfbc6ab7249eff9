// Drawing contexts: their objects and colours, pens and brushes, and the drawing calls, recorded and,
// in a memory context, rasterised into the selected bitmap. Painting windows is WindowPaint.cpp's.
#include "platform/win/DrawingContext.h"

#include "platform/win/DcTable.h"
#include "platform/win/GdiRaster.h"
#include "platform/win/GdiTable.h"

#include <algorithm>
#include <climits>
#include <new>
#include <unordered_map>
#include <utility>

namespace {

using kxwin::DrawOp;
using kxwin::DrawOpKind;
using kxwin::detail::addClamped;
using kxwin::detail::BitmapObject;
using kxwin::detail::BrushObject;
using kxwin::detail::Dc;
using kxwin::detail::DcKind;
using kxwin::detail::destroyDc;
using kxwin::detail::findDc;
using kxwin::detail::FontObject;
using kxwin::detail::gdiObject;
using kxwin::detail::PenObject;
using kxwin::detail::rectFromSize;

struct DcTable {
    std::unordered_map<std::uintptr_t, std::unique_ptr<Dc>> dcs;
    std::uintptr_t next = 0x20000000;
};

DcTable& table()
{
    static DcTable t;
    return t;
}

template <typename Handle, typename Object>
Handle makeStock(Object object)
{
    object.use.stock = true;
    return kxwin::detail::makeGdiHandle<Handle>(std::move(object));
}

HBRUSH stockBrush(int index)
{
    static const HBRUSH brushes[] = {
        makeStock<HBRUSH>(BrushObject{RGB(255, 255, 255), false, {}}),
        makeStock<HBRUSH>(BrushObject{RGB(192, 192, 192), false, {}}),
        makeStock<HBRUSH>(BrushObject{RGB(128, 128, 128), false, {}}),
        makeStock<HBRUSH>(BrushObject{RGB(64, 64, 64), false, {}}),
        makeStock<HBRUSH>(BrushObject{RGB(0, 0, 0), false, {}}),
        makeStock<HBRUSH>(BrushObject{0, true, {}}),
    };
    return index >= WHITE_BRUSH && index <= NULL_BRUSH ? brushes[index] : nullptr;
}

HPEN stockPen(int index)
{
    static const HPEN pens[] = {
        makeStock<HPEN>(PenObject{PS_SOLID, 1, RGB(255, 255, 255), {}}),
        makeStock<HPEN>(PenObject{PS_SOLID, 1, RGB(0, 0, 0), {}}),
        makeStock<HPEN>(PenObject{PS_NULL, 1, 0, {}}),
    };
    return index >= WHITE_PEN && index <= NULL_PEN ? pens[index - WHITE_PEN] : nullptr;
}

// What a memory context holds before a bitmap is selected: one black pixel, never drawn into.
HBITMAP stockBitmap()
{
    static const HBITMAP bitmap = [] {
        BitmapObject object;
        object.pixels = std::make_shared<kxwin::BitmapPixels>(1, 1, RGB(0, 0, 0));
        object.monochrome = true;
        object.use.stock = true;
        return kxwin::detail::makeGdiHandle<HBITMAP>(std::move(object));
    }();
    return bitmap;
}

// The pixels a memory context draws into, made private to it first; null when it draws nowhere.
kxwin::BitmapPixels* drawTarget(Dc& dc)
{
    if (dc.kind != DcKind::Memory || dc.bitmap == stockBitmap())
        return nullptr;
    auto* bitmap = gdiObject<BitmapObject>(dc.bitmap);
    return bitmap ? kxwin::detail::writablePixels(*bitmap) : nullptr;
}

BOOL emit(Dc& dc, DrawOp op)
{
    try {
        if (kxwin::BitmapPixels* target = drawTarget(dc))
            kxwin::detail::rasterise(op, *target);
        if (dc.ops.size() < kxwin::kMaxRecordedOps)
            dc.ops.push_back(std::move(op));
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

DrawOp textOp(const Dc& dc, DrawOpKind kind)
{
    DrawOp op;
    op.kind = kind;
    op.color = dc.textColor;
    op.bkColor = dc.bkColor;
    op.bkMode = dc.bkMode;
    op.font = kxwin::fontDescription(dc.font);
    return op;
}

std::shared_ptr<const kxwin::BitmapPixels> sourcePixels(HDC source)
{
    Dc* dc = findDc(source);
    if (dc == nullptr || dc->kind != DcKind::Memory)
        return nullptr;
    auto* bitmap = gdiObject<BitmapObject>(dc->bitmap);
    return bitmap ? bitmap->pixels : nullptr;
}

// Text as shown: without DT_NOPREFIX a "&" marks the next character and takes no room.
std::string shownText(std::string_view text, UINT format)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(format & DT_NOPREFIX) && text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                out += '&';
            ++i;
            if (i < text.size() && text[i] != '&')
                out += text[i];
            continue;
        }
        out += text[i];
    }
    return out;
}

// Lines of the text as DrawText lays them out, each as its character count.
std::vector<std::size_t> layoutLines(std::string_view text, UINT format, std::int64_t maxChars)
{
    std::vector<std::size_t> lines;
    if (format & DT_SINGLELINE) {
        lines.push_back(kxwin::utf8Length(text));
        return lines;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!(format & DT_WORDBREAK)) {
            lines.push_back(kxwin::utf8Length(line));
        } else {
            // Greedy wrapping at spaces; a word longer than the width stands on a line of its own.
            std::size_t current = 0;
            bool any = false;
            std::size_t pos = 0;
            while (pos <= line.size()) {
                const std::size_t space = line.find(' ', pos);
                const std::string_view word =
                    line.substr(pos, space == std::string_view::npos ? std::string_view::npos : space - pos);
                const std::size_t length = kxwin::utf8Length(word);
                const std::size_t with = any ? current + 1 + length : length;
                if (any && static_cast<std::int64_t>(with) > maxChars) {
                    lines.push_back(current);
                    current = length;
                } else {
                    current = with;
                }
                any = true;
                if (space == std::string_view::npos)
                    break;
                pos = space + 1;
            }
            lines.push_back(current);
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return lines;
}

} // namespace

namespace kxwin::detail {

Dc* findDc(HDC dc)
{
    if (dc == nullptr)
        return nullptr;
    auto& dcs = table().dcs;
    auto it = dcs.find(reinterpret_cast<std::uintptr_t>(dc));
    return it == dcs.end() ? nullptr : it->second.get();
}

HDC newDc(DcKind kind, HWND hwnd)
{
    auto dc = std::make_unique<Dc>();
    dc->kind = kind;
    dc->hwnd = hwnd;
    dc->font = kxwin::defaultGuiFont();
    dc->brush = stockBrush(WHITE_BRUSH);
    dc->pen = stockPen(BLACK_PEN);
    if (kind == DcKind::Memory)
        dc->bitmap = stockBitmap();
    for (const void* object : {static_cast<const void*>(dc->font), static_cast<const void*>(dc->brush),
                               static_cast<const void*>(dc->pen), static_cast<const void*>(dc->bitmap)})
        kxwin::detail::retainSelection(object);
    DcTable& t = table();
    const std::uintptr_t handle = t.next;
    t.next += 4;
    t.dcs.emplace(handle, std::move(dc));
    return reinterpret_cast<HDC>(handle);
}

std::vector<DrawOp> destroyDc(HDC handle)
{
    auto& dcs = table().dcs;
    auto it = dcs.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == dcs.end())
        return {};
    std::unique_ptr<Dc> dc = std::move(it->second);
    dcs.erase(it);
    for (const void* object : {static_cast<const void*>(dc->font), static_cast<const void*>(dc->brush),
                               static_cast<const void*>(dc->pen), static_cast<const void*>(dc->bitmap)})
        kxwin::detail::releaseSelection(object);
    return std::move(dc->ops);
}

} // namespace kxwin::detail

namespace kxwin {

std::vector<DrawOp> recordedOps(HDC dc)
{
    Dc* d = findDc(dc);
    return d ? d->ops : std::vector<DrawOp>{};
}

std::array<RECT, 8> trackerHandleRects(const RECT& r, int handleSize)
{
    const std::int64_t s = std::max(handleSize, 1);
    const std::int64_t midX = (std::int64_t{r.left} + r.right) / 2 - s / 2;
    const std::int64_t midY = (std::int64_t{r.top} + r.bottom) / 2 - s / 2;
    auto square = [&](std::int64_t x, std::int64_t y) {
        return RECT{addClamped(x, 0), addClamped(y, 0), addClamped(x, s), addClamped(y, s)};
    };
    return {square(std::int64_t{r.left} - s, std::int64_t{r.top} - s), square(r.right, std::int64_t{r.top} - s),
            square(r.right, r.bottom),                                   square(std::int64_t{r.left} - s, r.bottom),
            square(midX, std::int64_t{r.top} - s),                       square(r.right, midY),
            square(midX, r.bottom),                                      square(std::int64_t{r.left} - s, midY)};
}

BOOL drawTrackerHandles(HDC dc, const RECT& rect, int handleSize, COLORREF color)
{
    Dc* d = findDc(dc);
    if (d == nullptr)
        return FALSE;
    DrawOp op;
    op.kind = DrawOpKind::TrackerHandles;
    op.rect = rect;
    op.handleSize = std::max(handleSize, 1);
    op.color = color;
    return emit(*d, std::move(op));
}

BOOL fillSolidRect(HDC dc, const RECT& rect, COLORREF color)
{
    Dc* d = findDc(dc);
    if (d == nullptr)
        return FALSE;
    DrawOp op;
    op.kind = DrawOpKind::FillRect;
    op.rect = rect;
    op.color = color;
    return emit(*d, std::move(op));
}

BOOL drawBitmap(HDC dc, HBITMAP bitmap, const RECT& dest, std::optional<COLORREF> transparent)
{
    Dc* d = findDc(dc);
    auto pixels = bitmapPixels(bitmap);
    if (d == nullptr || !pixels)
        return FALSE;
    DrawOp op;
    op.kind = transparent ? DrawOpKind::TransparentBlit : DrawOpKind::Blit;
    op.rect = dest;
    op.source = RECT{0, 0, pixels->width, pixels->height};
    op.pixels = std::move(pixels);
    op.transparent = transparent.value_or(0);
    return emit(*d, std::move(op));
}

HBITMAP selectedBitmap(HDC dc)
{
    Dc* d = findDc(dc);
    return d && d->bitmap != stockBitmap() ? d->bitmap : nullptr;
}

int liveDcCount()
{
    return static_cast<int>(table().dcs.size());
}

int liveBrushCount()
{
    return detail::gdiObjectCount<BrushObject>();
}

int livePenCount()
{
    return detail::gdiObjectCount<PenObject>();
}

} // namespace kxwin

HDC CreateCompatibleDC(HDC)
{
    try {
        return newDc(DcKind::Memory, nullptr);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL DeleteDC(HDC dc)
{
    Dc* d = findDc(dc);
    if (d == nullptr || d->kind != DcKind::Memory)
        return FALSE;
    destroyDc(dc);
    return TRUE;
}

namespace {

template <typename Handle, typename Object>
Handle selectInto(HDC dc, Handle object, Handle Dc::*slot)
{
    Dc* d = findDc(dc);
    if (d == nullptr || gdiObject<Object>(object) == nullptr)
        return nullptr;
    const Handle previous = d->*slot;
    if (previous == object)
        return previous;
    kxwin::detail::retainSelection(object);
    d->*slot = object;
    kxwin::detail::releaseSelection(previous);
    return previous;
}

} // namespace

HFONT SelectObject(HDC dc, HFONT font)
{
    return selectInto<HFONT, FontObject>(dc, font, &Dc::font);
}

HBITMAP SelectObject(HDC dc, HBITMAP bitmap)
{
    Dc* d = findDc(dc);
    auto* object = gdiObject<BitmapObject>(bitmap);
    if (d == nullptr || d->kind != DcKind::Memory || object == nullptr)
        return nullptr;
    if (object->selectedInto != nullptr && object->selectedInto != dc && bitmap != stockBitmap())
        return nullptr;  // one memory context at a time
    const HBITMAP previous = selectInto<HBITMAP, BitmapObject>(dc, bitmap, &Dc::bitmap);
    if (auto* selected = gdiObject<BitmapObject>(bitmap); selected && bitmap != stockBitmap())
        selected->selectedInto = dc;
    return previous;
}

HBRUSH SelectObject(HDC dc, HBRUSH brush)
{
    return selectInto<HBRUSH, BrushObject>(dc, brush, &Dc::brush);
}

HPEN SelectObject(HDC dc, HPEN pen)
{
    return selectInto<HPEN, PenObject>(dc, pen, &Dc::pen);
}

HFONT GetCurrentFont(HDC dc)
{
    Dc* d = findDc(dc);
    return d ? d->font : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    try {
        return kxwin::detail::makeGdiHandle<HBRUSH>(BrushObject{color & 0xFFFFFF, false, {}});
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    try {
        return kxwin::detail::makeGdiHandle<HPEN>(PenObject{style, std::clamp(width, 1, 1000), color & 0xFFFFFF, {}});
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL DeleteObject(HBRUSH brush)
{
    return kxwin::detail::deleteGdiObject<BrushObject>(brush);
}

BOOL DeleteObject(HPEN pen)
{
    return kxwin::detail::deleteGdiObject<PenObject>(pen);
}

HBRUSH GetStockBrush(int index)
{
    return stockBrush(index);
}

HPEN GetStockPen(int index)
{
    return stockPen(index);
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    Dc* d = findDc(dc);
    if (d == nullptr)
        return CLR_INVALID;
    return std::exchange(d->textColor, color & 0xFFFFFF);
}

COLORREF GetTextColor(HDC dc)
{
    Dc* d = findDc(dc);
    return d ? d->textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    Dc* d = findDc(dc);
    if (d == nullptr)
        return CLR_INVALID;
    return std::exchange(d->bkColor, color & 0xFFFFFF);
}

COLORREF GetBkColor(HDC dc)
{
    Dc* d = findDc(dc);
    return d ? d->bkColor : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode)
{
    Dc* d = findDc(dc);
    if (d == nullptr || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    return std::exchange(d->bkMode, mode);
}

int GetBkMode(HDC dc)
{
    Dc* d = findDc(dc);
    return d ? d->bkMode : 0;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    auto* b = gdiObject<BrushObject>(brush);
    if (rect == nullptr || b == nullptr)
        return 0;
    if (b->hollow)
        return findDc(dc) ? 1 : 0;
    return kxwin::fillSolidRect(dc, *rect, b->color);
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    Dc* d = findDc(dc);
    auto* b = gdiObject<BrushObject>(brush);
    if (d == nullptr || rect == nullptr || b == nullptr)
        return 0;
    if (b->hollow)
        return 1;
    DrawOp op;
    op.kind = DrawOpKind::FrameRect;
    op.rect = *rect;
    op.color = b->color;
    return emit(*d, std::move(op));
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    Dc* d = findDc(dc);
    if (d == nullptr)
        return FALSE;
    DrawOp op;
    op.kind = DrawOpKind::Rectangle;
    op.rect = RECT{left, top, right, bottom};
    if (auto* pen = gdiObject<PenObject>(d->pen); pen && pen->style != PS_NULL) {
        op.outlined = true;
        op.color = pen->color;
        op.penStyle = pen->style;
        op.penWidth = pen->width;
    }
    if (auto* brush = gdiObject<BrushObject>(d->brush); brush && !brush->hollow) {
        op.filled = true;
        op.fillColor = brush->color;
    }
    return emit(*d, std::move(op));
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous)
{
    Dc* d = findDc(dc);
    if (d == nullptr)
        return FALSE;
    if (previous != nullptr)
        *previous = d->position;
    d->position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y)
{
    Dc* d = findDc(dc);
    if (d == nullptr)
        return FALSE;
    DrawOp op;
    op.kind = DrawOpKind::Line;
    op.rect = RECT{d->position.x, d->position.y, x, y};
    if (auto* pen = gdiObject<PenObject>(d->pen); pen && pen->style != PS_NULL) {
        op.outlined = true;
        op.color = pen->color;
        op.penStyle = pen->style;
        op.penWidth = pen->width;
    }
    d->position = POINT{x, y};
    return emit(*d, std::move(op));
}

BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int count)
{
    if (text == nullptr)
        return FALSE;
    return TextOut(dc, x, y, count < 0 ? std::string_view(text) : std::string_view(text, static_cast<std::size_t>(count)));
}

BOOL TextOut(HDC dc, int x, int y, std::string_view text)
{
    Dc* d = findDc(dc);
    if (d == nullptr)
        return FALSE;
    DrawOp op = textOp(*d, DrawOpKind::TextOut);
    const SIZE extent = kxwin::textExtent(kxwin::metricsOf(op.font), text);
    op.rect = rectFromSize(x, y, extent.cx, extent.cy);
    op.text = std::string(text);
    return emit(*d, std::move(op));
}

int DrawText(HDC dc, LPCSTR text, int count, RECT* rect, UINT format)
{
    if (text == nullptr)
        return 0;
    return DrawText(dc, count < 0 ? std::string_view(text) : std::string_view(text, static_cast<std::size_t>(count)),
                    rect, format);
}

int DrawText(HDC dc, std::string_view text, RECT* rect, UINT format)
{
    Dc* d = findDc(dc);
    if (d == nullptr || rect == nullptr)
        return 0;
    const TEXTMETRIC tm = kxwin::metricsOf(kxwin::fontDescription(d->font));
    const std::string shown = shownText(text, format);
    const std::int64_t width = std::int64_t{rect->right} - rect->left;
    const std::int64_t maxChars = std::max<std::int64_t>(1, width / std::max<LONG>(tm.tmAveCharWidth, 1));
    const std::vector<std::size_t> lines = layoutLines(shown, format, maxChars);
    const std::size_t widest = lines.empty() ? 0 : *std::max_element(lines.begin(), lines.end());
    const std::int64_t height = static_cast<std::int64_t>(lines.size()) * tm.tmHeight;
    const LONG result = static_cast<LONG>(std::min<std::int64_t>(height, INT_MAX));
    if (format & DT_CALCRECT) {
        rect->right = addClamped(rect->left, static_cast<std::int64_t>(std::min<std::size_t>(widest, INT_MAX)) * tm.tmAveCharWidth);
        rect->bottom = addClamped(rect->top, height);
        return result;
    }
    DrawOp op = textOp(*d, DrawOpKind::DrawText);
    op.rect = *rect;
    op.text = std::string(text);
    op.format = format;
    return emit(*d, std::move(op)) ? result : 0;
}

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics)
{
    Dc* d = findDc(dc);
    if (d == nullptr || metrics == nullptr)
        return FALSE;
    *metrics = kxwin::fontMetrics(d->font);
    return TRUE;
}

BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int count, SIZE* size)
{
    Dc* d = findDc(dc);
    if (d == nullptr || size == nullptr || (text == nullptr && count != 0))
        return FALSE;
    const std::string_view view =
        text == nullptr ? std::string_view() : count < 0 ? std::string_view(text) : std::string_view(text, static_cast<std::size_t>(count));
    *size = kxwin::textExtent(d->font, view);
    return TRUE;
}

BOOL BitBlt(HDC dc, int x, int y, int cx, int cy, HDC source, int xSource, int ySource, DWORD rop)
{
    return StretchBlt(dc, x, y, cx, cy, source, xSource, ySource, cx, cy, rop);
}

BOOL StretchBlt(HDC dc, int x, int y, int cx, int cy, HDC source, int xSource, int ySource, int cxSource,
                int cySource, DWORD rop)
{
    Dc* d = findDc(dc);
    if (d == nullptr)
        return FALSE;
    DrawOp op;
    op.kind = DrawOpKind::Blit;
    op.rect = rectFromSize(x, y, cx, cy);
    op.source = rectFromSize(xSource, ySource, cxSource, cySource);
    op.rop = rop;
    op.pixels = sourcePixels(source);
    if (auto* brush = gdiObject<BrushObject>(d->brush))
        op.color = brush->color;
    return emit(*d, std::move(op));
}

BOOL TransparentBlt(HDC dc, int x, int y, int cx, int cy, HDC source, int xSource, int ySource, int cxSource,
                    int cySource, UINT transparent)
{
    Dc* d = findDc(dc);
    if (d == nullptr || findDc(source) == nullptr)
        return FALSE;
    DrawOp op;
    op.kind = DrawOpKind::TransparentBlit;
    op.rect = rectFromSize(x, y, cx, cy);
    op.source = rectFromSize(xSource, ySource, cxSource, cySource);
    op.pixels = sourcePixels(source);
    op.transparent = transparent & 0xFFFFFF;
    return emit(*d, std::move(op));
}

BOOL DrawFocusRect(HDC dc, const RECT* rect)
{
    Dc* d = findDc(dc);
    if (d == nullptr || rect == nullptr)
        return FALSE;
    DrawOp op;
    op.kind = DrawOpKind::FocusRect;
    op.rect = *rect;
    return emit(*d, std::move(op));
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon)
{
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH background, UINT)
{
    Dc* d = findDc(dc);
    auto pixels = kxwin::iconPixels(icon);
    if (d == nullptr || !pixels)
        return FALSE;
    const int width = cx > 0 ? cx : pixels->width;
    const int height = cy > 0 ? cy : pixels->height;
    if (background != nullptr) {
        RECT area = rectFromSize(x, y, width, height);
        FillRect(dc, &area, background);
    }
    DrawOp op;
    op.kind = DrawOpKind::Icon;
    op.rect = rectFromSize(x, y, width, height);
    op.source = RECT{0, 0, pixels->width, pixels->height};
    op.pixels = std::move(pixels);
    return emit(*d, std::move(op));
}

