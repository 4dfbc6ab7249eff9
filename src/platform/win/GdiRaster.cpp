// Rasterising recorded drawing calls into memory bitmaps.
#include "platform/win/GdiRaster.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace kxwin::detail {

namespace {

// A rectangle clipped to the picture, in 64-bit so that no input overflows.
struct Span {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return left >= right || top >= bottom; }
};

Span clip(const BitmapPixels& p, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    return Span{std::max<std::int64_t>(left, 0), std::max<std::int64_t>(top, 0),
                std::min<std::int64_t>(right, p.width), std::min<std::int64_t>(bottom, p.height)};
}

Span clip(const BitmapPixels& p, const RECT& r)
{
    return clip(p, r.left, r.top, r.right, r.bottom);
}

BYTE* at(BitmapPixels& p, std::int64_t x, std::int64_t y)
{
    return p.rgba.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) + static_cast<std::size_t>(x)) * 4;
}

void put(BYTE* px, COLORREF c)
{
    px[0] = GetRValue(c);
    px[1] = GetGValue(c);
    px[2] = GetBValue(c);
    px[3] = 255;
}

void fill(BitmapPixels& p, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, COLORREF c)
{
    const Span s = clip(p, left, top, right, bottom);
    if (s.empty())
        return;
    for (std::int64_t y = s.top; y < s.bottom; ++y)
        for (std::int64_t x = s.left; x < s.right; ++x)
            put(at(p, x, y), c);
}

void frame(BitmapPixels& p, const RECT& r, COLORREF c, std::int64_t width)
{
    if (r.left >= r.right || r.top >= r.bottom || width <= 0)
        return;
    const std::int64_t w = std::min<std::int64_t>(width, std::max<std::int64_t>(r.right - std::int64_t{r.left}, r.bottom - std::int64_t{r.top}));
    fill(p, r.left, r.top, r.right, std::int64_t{r.top} + w, c);
    fill(p, r.left, std::int64_t{r.bottom} - w, r.right, r.bottom, c);
    fill(p, r.left, r.top, std::int64_t{r.left} + w, r.bottom, c);
    fill(p, std::int64_t{r.right} - w, r.top, r.right, r.bottom, c);
}

// A line without its last point, as the framework draws them. Only the part over the picture is
// walked: along the longer axis, within the picture's range of that axis.
void line(BitmapPixels& p, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, COLORREF c, int width)
{
    const std::int64_t dx = x1 - x0;
    const std::int64_t dy = y1 - y0;
    if (dx == 0 && dy == 0)
        return;
    const std::int64_t half = std::max(width, 1) / 2;
    const std::int64_t size = std::max(width, 1);
    auto dot = [&](std::int64_t x, std::int64_t y) { fill(p, x - half, y - half, x - half + size, y - half + size, c); };
    // i * d / den rounded to nearest, for both signs; the product can pass 2^63 for far-off lines.
    __extension__ typedef __int128 Wide;
    auto rounded = [](std::int64_t i, std::int64_t d, std::int64_t den) {
        const Wide num = static_cast<Wide>(i) * d;
        const Wide q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
        return static_cast<std::int64_t>(q);
    };
    if (std::llabs(dx) >= std::llabs(dy)) {
        const std::int64_t step = dx > 0 ? 1 : -1;
        std::int64_t from = 0;
        std::int64_t to = std::llabs(dx);  // exclusive
        // Keep only the steps whose x lies within the picture (widened by the pen).
        const std::int64_t lo = -half - 1;
        const std::int64_t hi = p.width + half + 1;
        auto stepsTo = [&](std::int64_t x) { return (x - x0) * step; };
        from = std::max(from, std::min(stepsTo(lo), stepsTo(hi)));
        to = std::min(to, std::max(stepsTo(lo), stepsTo(hi)) + 1);
        for (std::int64_t i = from; i < to; ++i)
            dot(x0 + i * step, y0 + rounded(i, dy, std::llabs(dx)));
    } else {
        const std::int64_t step = dy > 0 ? 1 : -1;
        std::int64_t from = 0;
        std::int64_t to = std::llabs(dy);
        const std::int64_t lo = -half - 1;
        const std::int64_t hi = p.height + half + 1;
        auto stepsTo = [&](std::int64_t y) { return (y - y0) * step; };
        from = std::max(from, std::min(stepsTo(lo), stepsTo(hi)));
        to = std::min(to, std::max(stepsTo(lo), stepsTo(hi)) + 1);
        for (std::int64_t i = from; i < to; ++i)
            dot(x0 + rounded(i, dx, std::llabs(dy)), y0 + i * step);
    }
}

void invertDotted(BitmapPixels& p, const RECT& r)
{
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    auto invert = [&](std::int64_t x, std::int64_t y) {
        if (x < 0 || y < 0 || x >= p.width || y >= p.height || ((x + y) & 1) != 0)
            return;
        BYTE* px = at(p, x, y);
        px[0] = static_cast<BYTE>(255 - px[0]);
        px[1] = static_cast<BYTE>(255 - px[1]);
        px[2] = static_cast<BYTE>(255 - px[2]);
    };
    const Span s = clip(p, r);
    const std::int64_t bottom = std::int64_t{r.bottom} - 1;
    const std::int64_t right = std::int64_t{r.right} - 1;
    for (std::int64_t x = s.left; x < s.right; ++x) {
        invert(x, r.top);
        if (bottom != r.top)
            invert(x, bottom);
    }
    for (std::int64_t y = std::max<std::int64_t>(s.top, std::int64_t{r.top} + 1); y < std::min<std::int64_t>(s.bottom, bottom); ++y) {
        invert(r.left, y);
        if (right != r.left)
            invert(right, y);
    }
}

BYTE combine(DWORD rop, BYTE src, BYTE dst, BYTE brush)
{
    switch (rop) {
    case SRCCOPY:
        return src;
    case SRCPAINT:
        return static_cast<BYTE>(src | dst);
    case SRCAND:
        return static_cast<BYTE>(src & dst);
    case SRCINVERT:
        return static_cast<BYTE>(src ^ dst);
    case SRCERASE:
        return static_cast<BYTE>(src & ~dst);
    case NOTSRCCOPY:
        return static_cast<BYTE>(~src);
    case PATCOPY:
        return brush;
    case DSTINVERT:
        return static_cast<BYTE>(~dst);
    case BLACKNESS:
        return 0;
    case WHITENESS:
        return 255;
    default:
        return dst;
    }
}

bool usesSource(DWORD rop)
{
    return rop != PATCOPY && rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS;
}

bool knownRop(DWORD rop)
{
    switch (rop) {
    case SRCCOPY: case SRCPAINT: case SRCAND: case SRCINVERT: case SRCERASE: case NOTSRCCOPY:
    case PATCOPY: case DSTINVERT: case BLACKNESS: case WHITENESS:
        return true;
    default:
        return false;
    }
}

// Copies (stretching by nearest neighbour) the source rectangle onto the target rectangle.
void blit(BitmapPixels& p, const DrawOp& op, bool transparentKey, bool alphaBlend)
{
    const RECT& d = op.rect;
    const std::int64_t dw = std::int64_t{d.right} - d.left;
    const std::int64_t dh = std::int64_t{d.bottom} - d.top;
    if (dw <= 0 || dh <= 0)
        return;
    const bool withSource = alphaBlend || transparentKey || usesSource(op.rop);
    if (!alphaBlend && !transparentKey && !knownRop(op.rop))
        return;
    const BitmapPixels* src = op.pixels.get();
    const RECT& s = op.source;
    const std::int64_t sw = std::int64_t{s.right} - s.left;
    const std::int64_t sh = std::int64_t{s.bottom} - s.top;
    if (withSource && (src == nullptr || sw <= 0 || sh <= 0))
        return;
    const Span target = clip(p, d);
    for (std::int64_t y = target.top; y < target.bottom; ++y) {
        const std::int64_t sy = withSource ? s.top + (y - d.top) * sh / dh : 0;
        for (std::int64_t x = target.left; x < target.right; ++x) {
            BYTE* dst = at(p, x, y);
            if (!withSource) {
                const COLORREF b = op.color;
                dst[0] = combine(op.rop, 0, dst[0], GetRValue(b));
                dst[1] = combine(op.rop, 0, dst[1], GetGValue(b));
                dst[2] = combine(op.rop, 0, dst[2], GetBValue(b));
                dst[3] = 255;
                continue;
            }
            const std::int64_t sx = s.left + (x - d.left) * sw / dw;
            if (sx < 0 || sy < 0 || sx >= src->width || sy >= src->height)
                continue;
            const COLORREF colour = src->colorAt(static_cast<int>(sx), static_cast<int>(sy));
            const BYTE alpha = src->alphaAt(static_cast<int>(sx), static_cast<int>(sy));
            if (transparentKey) {
                if (colour == (op.transparent & 0xFFFFFF))
                    continue;
                put(dst, colour);
            } else if (alphaBlend) {
                const BYTE rgb[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
                for (int k = 0; k < 3; ++k)
                    dst[k] = static_cast<BYTE>((rgb[k] * alpha + dst[k] * (255 - alpha) + 127) / 255);
                dst[3] = 255;
            } else {
                dst[0] = combine(op.rop, GetRValue(colour), dst[0], 0);
                dst[1] = combine(op.rop, GetGValue(colour), dst[1], 0);
                dst[2] = combine(op.rop, GetBValue(colour), dst[2], 0);
                dst[3] = op.rop == SRCCOPY ? alpha : 255;
            }
        }
    }
}

} // namespace

LONG addClamped(std::int64_t a, std::int64_t b)
{
    return static_cast<LONG>(std::clamp<std::int64_t>(a + b, LONG_MIN, LONG_MAX));
}

void rasterise(const DrawOp& op, BitmapPixels& p)
{
    if (p.empty())
        return;
    const RECT& r = op.rect;
    switch (op.kind) {
    case DrawOpKind::FillRect:
        fill(p, r.left, r.top, r.right, r.bottom, op.color);
        break;
    case DrawOpKind::FrameRect:
        frame(p, r, op.color, 1);
        break;
    case DrawOpKind::Line:
        if (op.outlined)
            line(p, r.left, r.top, r.right, r.bottom, op.color, op.penWidth);
        break;
    case DrawOpKind::Rectangle:
        if (op.filled)
            fill(p, r.left, r.top, r.right, r.bottom, op.fillColor);
        if (op.outlined)
            frame(p, r, op.color, std::max(op.penWidth, 1));
        break;
    case DrawOpKind::Blit:
        blit(p, op, /*transparentKey=*/false, /*alphaBlend=*/false);
        break;
    case DrawOpKind::TransparentBlit:
        blit(p, op, /*transparentKey=*/true, /*alphaBlend=*/false);
        break;
    case DrawOpKind::Icon:
        blit(p, op, /*transparentKey=*/false, /*alphaBlend=*/true);
        break;
    case DrawOpKind::FocusRect:
        invertDotted(p, r);
        break;
    case DrawOpKind::TrackerHandles:
        for (const RECT& h : trackerHandleRects(r, op.handleSize))
            fill(p, h.left, h.top, h.right, h.bottom, op.color);
        break;
    case DrawOpKind::TextOut:
    case DrawOpKind::DrawText:
        break;
    }
}

} // namespace kxwin::detail
