// Replays a window's paint record with a painter, and the fonts the mirror shows texts in.
#include "platform/qt/QtMirror.h"

#include "platform/win/DrawingContext.h"

#include <QImage>

#include <algorithm>

namespace kxqt {

namespace {

QColor colorOf(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QRect rectOf(const RECT& r)
{
    return QRect(r.left, r.top, std::max<int>(0, r.width()), std::max<int>(0, r.height()));
}

QImage imageOf(const kxwin::BitmapPixels& pixels)
{
    return QImage(pixels.rgba.data(), pixels.width, pixels.height, pixels.width * 4, QImage::Format_RGBA8888).copy();
}

bool isFixedPitchFace(const std::string& face)
{
    static const char* const fixed[] = {"Courier", "Courier New", "Consolas", "Lucida Console", "Fixedsys", "Terminal"};
    return std::any_of(std::begin(fixed), std::end(fixed), [&](const char* name) { return face == name; });
}

QPainter::CompositionMode compositionOf(DWORD rop)
{
    switch (rop) {
    case SRCAND:
        return QPainter::RasterOp_SourceAndDestination;
    case SRCPAINT:
        return QPainter::RasterOp_SourceOrDestination;
    case SRCINVERT:
        return QPainter::RasterOp_SourceXorDestination;
    case NOTSRCCOPY:
        return QPainter::RasterOp_NotSource;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

void drawText(QPainter& painter, const kxwin::DrawOp& op)
{
    painter.setFont(fontFor(op.font));
    const QString text = QString::fromUtf8(op.text.data(), static_cast<qsizetype>(op.text.size()));
    const QRect rect = rectOf(op.rect);
    if (op.bkMode == OPAQUE && op.kind == kxwin::DrawOpKind::TextOut)
        painter.fillRect(rect, colorOf(op.bkColor));
    painter.setPen(colorOf(op.color));
    if (op.kind == kxwin::DrawOpKind::TextOut) {
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
        return;
    }
    int flags = 0;
    flags |= (op.format & DT_CENTER) ? Qt::AlignHCenter : (op.format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (op.format & DT_SINGLELINE)
        flags |= (op.format & DT_VCENTER) ? Qt::AlignVCenter : (op.format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    else
        flags |= Qt::AlignTop;
    if (op.format & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (op.format & DT_NOCLIP)
        flags |= Qt::TextDontClip;
    if (op.format & DT_EXPANDTABS)
        flags |= Qt::TextExpandTabs;
    if (!(op.format & DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    QString shown = text;
    if (op.format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS))
        shown = painter.fontMetrics().elidedText(text, (op.format & DT_PATH_ELLIPSIS) ? Qt::ElideMiddle : Qt::ElideRight,
                                                 rect.width());
    if (op.bkMode == OPAQUE)
        painter.fillRect(painter.boundingRect(rect, flags, shown), colorOf(op.bkColor));
    painter.drawText(rect, flags, shown);
}

void drawPicture(QPainter& painter, const kxwin::DrawOp& op)
{
    const QRect target = rectOf(op.rect);
    if (!op.pixels || op.pixels->empty()) {
        switch (op.rop) {
        case BLACKNESS:
            painter.fillRect(target, Qt::black);
            break;
        case WHITENESS:
            painter.fillRect(target, Qt::white);
            break;
        case PATCOPY:
            painter.fillRect(target, colorOf(op.color));
            break;
        case DSTINVERT:
            painter.setCompositionMode(QPainter::RasterOp_NotDestination);
            painter.fillRect(target, Qt::black);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            break;
        default:
            break;  // a copy from a window: nothing to copy
        }
        return;
    }
    QImage image = imageOf(*op.pixels);
    if (op.kind == kxwin::DrawOpKind::TransparentBlit) {
        image = image.convertToFormat(QImage::Format_RGBA8888);
        const QRgb key = colorOf(op.transparent).rgb() & 0xFFFFFF;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if ((image.pixel(x, y) & 0xFFFFFF) == key)
                    image.setPixelColor(x, y, Qt::transparent);
            }
        }
    }
    const QRect source = op.source.width() > 0 && op.source.height() > 0 ? rectOf(op.source) : image.rect();
    painter.setCompositionMode(compositionOf(op.rop));
    painter.drawImage(target, image, source);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace

QFont fontFor(const LOGFONT& logFont)
{
    QFont font(isFixedPitchFace(logFont.lfFaceName) ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans"));
    // A negative height is the character height; a positive one includes the internal leading,
    // about a sixth of DejaVu's cell. 0 is the 8-point dialog font.
    int pixels = 11;
    if (logFont.lfHeight < 0)
        pixels = -logFont.lfHeight;
    else if (logFont.lfHeight > 0)
        pixels = std::max(1, (logFont.lfHeight * 5 + 3) / 6);
    font.setPixelSize(std::clamp(pixels, 1, 512));
    if (logFont.lfWeight != FW_DONTCARE)
        font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(logFont.lfWeight, 100, 900)));
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    return font;
}

QFont fontForWindow(HWND hwnd)
{
    return fontFor(kxwin::fontDescription(GetWindowFont(hwnd)));
}

void replayPaintRecord(QPainter& painter, HWND hwnd)
{
    replayDrawOps(painter, kxwin::lastPaintRecord(hwnd));
}

void replayDrawOps(QPainter& painter, const std::vector<kxwin::DrawOp>& ops)
{
    using kxwin::DrawOpKind;
    for (const kxwin::DrawOp& op : ops) {
        painter.save();
        switch (op.kind) {
        case DrawOpKind::FillRect:
            painter.fillRect(rectOf(op.rect), colorOf(op.color));
            break;
        case DrawOpKind::FrameRect: {
            const QRect r = rectOf(op.rect);
            const QColor c = colorOf(op.color);
            painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
            painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
            painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
            painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
            break;
        }
        case DrawOpKind::Line: {
            if (op.penStyle == PS_NULL)
                break;
            QPen pen(colorOf(op.color), std::max(1, op.penWidth));
            pen.setStyle(op.penStyle == PS_DASH ? Qt::DashLine : op.penStyle == PS_DOT ? Qt::DotLine : Qt::SolidLine);
            painter.setPen(pen);
            painter.drawLine(op.rect.left, op.rect.top, op.rect.right, op.rect.bottom);
            break;
        }
        case DrawOpKind::Rectangle: {
            const QRect r = rectOf(op.rect);
            if (op.filled)
                painter.fillRect(r, colorOf(op.fillColor));
            if (op.outlined && op.penStyle != PS_NULL) {
                painter.setPen(QPen(colorOf(op.color), std::max(1, op.penWidth)));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(r.adjusted(0, 0, -1, -1));
            }
            break;
        }
        case DrawOpKind::TextOut:
        case DrawOpKind::DrawText:
            drawText(painter, op);
            break;
        case DrawOpKind::Blit:
        case DrawOpKind::TransparentBlit:
        case DrawOpKind::Icon:
            drawPicture(painter, op);
            break;
        case DrawOpKind::FocusRect: {
            QPen pen(Qt::black, 1, Qt::DotLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rectOf(op.rect).adjusted(0, 0, -1, -1));
            break;
        }
        case DrawOpKind::TrackerHandles:
            for (const RECT& handle : kxwin::trackerHandleRects(op.rect, op.handleSize))
                painter.fillRect(rectOf(handle), colorOf(op.color));
            break;
        }
        painter.restore();
    }
}

} // namespace kxqt
