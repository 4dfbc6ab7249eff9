// One line of text for each recorded drawing call, for test messages and snapshots.
#include "platform/win/DrawingContext.h"

#include <cstdio>

namespace {

using kxwin::DrawOp;
using kxwin::DrawOpKind;

std::string hexColour(COLORREF c)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return buffer;
}

std::string rectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default: out += c;
        }
    }
    return out + "\"";
}

std::string fontText(const LOGFONT& f)
{
    return "font " + quoted(f.lfFaceName) + " " + std::to_string(f.lfHeight) + " " + std::to_string(f.lfWeight) +
           (f.lfItalic ? " italic" : "") + (f.lfUnderline ? " underline" : "");
}

std::string sourceText(const DrawOp& op)
{
    if (!op.pixels)
        return "from none";
    return "from " + std::to_string(op.pixels->width) + "x" + std::to_string(op.pixels->height) + " " +
           rectText(op.source);
}

} // namespace

namespace kxwin {

std::string describeDrawOp(const DrawOp& op)
{
    const RECT& r = op.rect;
    switch (op.kind) {
    case DrawOpKind::FillRect:
        return "fill " + rectText(r) + " " + hexColour(op.color);
    case DrawOpKind::FrameRect:
        return "frame " + rectText(r) + " " + hexColour(op.color);
    case DrawOpKind::Line:
        return "line " + std::to_string(r.left) + "," + std::to_string(r.top) + " -> " + std::to_string(r.right) +
               "," + std::to_string(r.bottom) + " pen " +
               (op.outlined ? hexColour(op.color) + " w" + std::to_string(op.penWidth) : std::string("none"));
    case DrawOpKind::Rectangle:
        return "rectangle " + rectText(r) + " pen " +
               (op.outlined ? hexColour(op.color) + " w" + std::to_string(op.penWidth) : std::string("none")) +
               " brush " + (op.filled ? hexColour(op.fillColor) : std::string("none"));
    case DrawOpKind::TextOut:
        return "text " + std::to_string(r.left) + "," + std::to_string(r.top) + " " + quoted(op.text) + " " +
               hexColour(op.color) + " " + fontText(op.font);
    case DrawOpKind::DrawText: {
        char format[16];
        std::snprintf(format, sizeof format, "0x%x", op.format);
        return "drawtext " + rectText(r) + " " + quoted(op.text) + " format " + format + " " + hexColour(op.color) +
               " " + fontText(op.font);
    }
    case DrawOpKind::Blit: {
        char rop[16];
        std::snprintf(rop, sizeof rop, "0x%08x", static_cast<unsigned>(op.rop));
        return "blit " + rectText(r) + " " + sourceText(op) + " rop " + rop;
    }
    case DrawOpKind::TransparentBlit:
        return "transparent " + rectText(r) + " " + sourceText(op) + " key " + hexColour(op.transparent);
    case DrawOpKind::FocusRect:
        return "focus " + rectText(r);
    case DrawOpKind::TrackerHandles:
        return "handles " + rectText(r) + " size " + std::to_string(op.handleSize) + " " + hexColour(op.color);
    case DrawOpKind::Icon:
        return "icon " + rectText(r) + " " +
               (op.pixels ? std::to_string(op.pixels->width) + "x" + std::to_string(op.pixels->height)
                          : std::string("none"));
    }
    return "?";
}

std::string describeDrawOps(const std::vector<DrawOp>& ops)
{
    std::string out;
    for (const DrawOp& op : ops)
        out += describeDrawOp(op) + "\n";
    return out;
}

} // namespace kxwin
