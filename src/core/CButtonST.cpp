// CButtonST: pictures and their disabled look, painting, and the button's tooltip.
#include "core/CButtonST.h"

#include "core/Paths.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/DrawingContext.h"

#include <algorithm>
#include <new>

namespace {

using kxwin::BitmapPixels;

// Room between the frame and the picture or text.
constexpr int kMargin = 3;
constexpr int kTextGap = 4;

// The picture with its pixels of colour `transparent` made transparent.
BitmapPixels keyedOut(const BitmapPixels& source, COLORREF transparent)
{
    BitmapPixels out = source;
    transparent &= 0xFFFFFF;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            if (out.colorAt(x, y) == transparent)
                out.setPixel(x, y, transparent, 0);
        }
    }
    return out;
}

BYTE towards(BYTE from, BYTE to)
{
    return static_cast<BYTE>((from + to) / 2);
}

BitmapPixels disabledLook(const BitmapPixels& source, CButtonST::DisabledLook look)
{
    BitmapPixels out = source;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const COLORREF c = source.colorAt(x, y);
            COLORREF shown = c;
            if (look == CButtonST::DisabledLook::Greyed) {
                // Brightness as the eye weighs the channels, lifted into the upper half of the greys
                // so that the picture reads as switched off against the face.
                const int luma = (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
                const auto grey = static_cast<BYTE>(128 + luma / 2);
                shown = RGB(grey, grey, grey);
            } else {
                const COLORREF face = CButtonST::kFace;
                shown = RGB(towards(GetRValue(c), GetRValue(face)), towards(GetGValue(c), GetGValue(face)),
                            towards(GetBValue(c), GetBValue(face)));
            }
            out.setPixel(x, y, shown, source.alphaAt(x, y));
        }
    }
    return out;
}

// The picture's size, made smaller keeping its proportions when it does not fit `room`.
SIZE fittedSize(SIZE picture, SIZE room)
{
    if (picture.cx <= 0 || picture.cy <= 0 || room.cx <= 0 || room.cy <= 0)
        return SIZE{};
    if (picture.cx <= room.cx && picture.cy <= room.cy)
        return picture;
    const std::int64_t w = picture.cx;
    const std::int64_t h = picture.cy;
    if (w * room.cy >= h * room.cx)
        return SIZE{room.cx, static_cast<LONG>(std::max<std::int64_t>(1, h * room.cx / w))};
    return SIZE{static_cast<LONG>(std::max<std::int64_t>(1, w * room.cy / h)), room.cy};
}

void strip(HDC dc, int left, int top, int right, int bottom, COLORREF color)
{
    kxwin::fillSolidRect(dc, RECT{left, top, right, bottom}, color);
}

} // namespace

CButtonST::~CButtonST()
{
    if (m_tooltip != nullptr && IsWindow(m_tooltip))
        ::DestroyWindow(m_tooltip);
    m_tooltip = nullptr;
    freePictures();
}

void CButtonST::freePictures()
{
    if (m_picture != nullptr)
        DestroyIcon(m_picture);
    if (m_disabled != nullptr)
        DestroyIcon(m_disabled);
    m_picture = nullptr;
    m_disabled = nullptr;
    m_disabledGiven = false;
}

bool CButtonST::setPictures(const BitmapPixels& picture, const BitmapPixels* disabled)
{
    if (picture.empty() || (disabled != nullptr && disabled->empty()))
        return false;
    HICON shown = kxwin::createIcon(picture);
    HICON off = disabled ? kxwin::createIcon(*disabled) : nullptr;
    if (shown == nullptr || (disabled != nullptr && off == nullptr)) {
        DestroyIcon(shown);
        DestroyIcon(off);
        return false;
    }
    freePictures();
    m_picture = shown;
    m_disabled = off;
    m_disabledGiven = off != nullptr;
    if (!m_disabledGiven)
        makeDisabledLook();
    repaintIf(true);
    return true;
}

void CButtonST::makeDisabledLook()
{
    if (m_disabledGiven)
        return;
    if (m_disabled != nullptr)
        DestroyIcon(m_disabled);
    m_disabled = nullptr;
    if (auto pixels = kxwin::iconPixels(m_picture)) {
        try {
            m_disabled = kxwin::createIcon(disabledLook(*pixels, m_look));
        } catch (const std::bad_alloc&) {
            m_disabled = nullptr;  // the button then shows its picture as it is
        }
    }
}

BOOL CButtonST::SetBitmaps(HBITMAP picture, COLORREF transparent, HBITMAP disabled, COLORREF disabledTransparent)
{
    const auto pixels = kxwin::bitmapPixels(picture);
    if (!pixels || pixels->empty())
        return FALSE;
    try {
        if (disabled == nullptr)
            return setPictures(keyedOut(*pixels, transparent), nullptr) ? TRUE : FALSE;
        const auto off = kxwin::bitmapPixels(disabled);
        if (!off || off->empty())
            return FALSE;
        const BitmapPixels offKeyed = keyedOut(*off, disabledTransparent);
        return setPictures(keyedOut(*pixels, transparent), &offKeyed) ? TRUE : FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

BOOL CButtonST::SetBitmapFile(const std::string& path, COLORREF transparent)
{
    // A name the file system cannot be given (NUL inside, empty) is refused before it is cut short.
    const auto native = kx::toNativePath(path);
    if (!native)
        return FALSE;
    HBITMAP bitmap = kxwin::loadBitmapFile(*native);
    if (bitmap == nullptr)
        return FALSE;
    const BOOL done = SetBitmaps(bitmap, transparent);
    DeleteObject(bitmap);
    return done;
}

BOOL CButtonST::SetIcon(HICON picture, HICON disabled)
{
    const auto pixels = kxwin::iconPixels(picture);
    if (!pixels)
        return FALSE;
    if (disabled == nullptr)
        return setPictures(*pixels, nullptr) ? TRUE : FALSE;
    const auto off = kxwin::iconPixels(disabled);
    if (!off)
        return FALSE;
    return setPictures(*pixels, off.get()) ? TRUE : FALSE;
}

BOOL CButtonST::SetIcon(int iconResourceId)
{
    HICON icon = LoadIcon(iconResourceId);
    if (icon == nullptr)
        return FALSE;
    const BOOL done = SetIcon(icon);
    DestroyIcon(icon);
    return done;
}

void CButtonST::SetDisabledLook(DisabledLook look)
{
    if (m_look == look)
        return;
    m_look = look;
    makeDisabledLook();
    repaintIf(true);
}

void CButtonST::SetFlat(bool flat, bool repaint)
{
    m_flat = flat;
    repaintIf(repaint);
}

void CButtonST::DrawBorder(bool draw, bool repaint)
{
    m_border = draw;
    repaintIf(repaint);
}

void CButtonST::DrawFlatFocus(bool draw, bool repaint)
{
    m_flatFocus = draw;
    repaintIf(repaint);
}

void CButtonST::repaintIf(bool repaint)
{
    if (repaint && IsWindow(m_hWnd)) {
        kxwin::notifyWindowChanged(m_hWnd, kxwin::WindowChange::Content);
        Invalidate();
    }
}

// --- Tooltip ---------------------------------------------------------------------------------------

bool CButtonST::addTool()
{
    if (!IsWindow(m_hWnd))
        return false;
    if (m_tooltip == nullptr || !IsWindow(m_tooltip)) {
        // Owned by the dialog, so it goes with the dialog even if the button is never told.
        m_tooltip = CreateWindowEx(0, TOOLTIPS_CLASS, "", WS_POPUP, 0, 0, 0, 0, ::GetParent(m_hWnd), 0);
        if (m_tooltip == nullptr)
            return false;
        ::SendMessage(m_tooltip, TTM_ACTIVATE, m_tipActive ? TRUE : FALSE);
    }
    TOOLINFO tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(m_hWnd);
    tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    tool.lpszText = m_tipText.data();
    return ::SendMessage(m_tooltip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

void CButtonST::SetTooltipText(const std::string& text, bool activate)
{
    m_tipText = text;
    if (text.empty()) {
        // No tool at all rather than an empty tip box.
        if (m_tooltip != nullptr && IsWindow(m_tooltip)) {
            TOOLINFO tool;
            tool.hwnd = ::GetParent(m_hWnd);
            tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
            ::SendMessage(m_tooltip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&tool));
        }
        return;
    }
    if (addTool())
        ActivateTooltip(activate);
}

void CButtonST::ActivateTooltip(bool active)
{
    m_tipActive = active;
    if (m_tooltip != nullptr && IsWindow(m_tooltip))
        ::SendMessage(m_tooltip, TTM_ACTIVATE, active ? TRUE : FALSE);
}

void CButtonST::OnDestroy()
{
    if (m_tooltip != nullptr && IsWindow(m_tooltip))
        ::DestroyWindow(m_tooltip);
    m_tooltip = nullptr;
    Default();
}

// --- Painting --------------------------------------------------------------------------------------

void CButtonST::drawFrame(HDC dc, const RECT& r, bool sunken) const
{
    if (r.width() < 2 || r.height() < 2)
        return;
    const COLORREF topLeft = sunken ? kShadow : kHighlight;
    const COLORREF bottomRight = sunken ? kHighlight : kShadow;
    strip(dc, r.left, r.top, r.right, r.top + 1, topLeft);
    strip(dc, r.left, r.top, r.left + 1, r.bottom, topLeft);
    strip(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    strip(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
}

void CButtonST::OnPaint()
{
    CPaintDC dc(this);
    RECT r;
    GetClientRect(r);
    const auto state = static_cast<int>(SendMessage(BM_GETSTATE));
    const bool down = (state & BST_PUSHED) != 0 || (state & (BST_CHECKED | BST_INDETERMINATE)) != 0;
    const bool enabled = IsWindowEnabled() != FALSE;

    dc.FillSolidRect(r, down ? kPressedFace : kFace);
    if (m_border && (!m_flat || down))
        drawFrame(dc, r, down);

    // A pressed button moves its contents one pixel down and right, as a pushed key would.
    const int shift = down ? 1 : 0;
    const RECT room{r.left + kMargin + shift, r.top + kMargin + shift, r.right - kMargin + shift,
                    r.bottom - kMargin + shift};
    const std::string text = GetWindowText();
    int textLeft = room.left;
    HICON shown = (enabled || m_disabled == nullptr) ? m_picture : m_disabled;
    if (shown != nullptr) {
        const SIZE size = fittedSize(kxwin::iconSize(shown), SIZE{room.width(), room.height()});
        if (size.cx > 0) {
            const int x = text.empty() ? room.left + (room.width() - size.cx) / 2 : room.left;
            const int y = room.top + (room.height() - size.cy) / 2;
            DrawIconEx(dc, x, y, shown, size.cx, size.cy, 0, nullptr, DI_NORMAL);
            textLeft = x + size.cx + kTextGap;
        }
    }
    if (!text.empty()) {
        RECT textRect{textLeft, room.top, room.right, room.bottom};
        dc.SelectObject(GetFont());
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(enabled ? kText : kDisabledText);
        dc.DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | (shown ? DT_LEFT : DT_CENTER));
    }
    if ((state & BST_FOCUS) != 0 && (!m_flat || m_flatFocus)) {
        RECT focus{r.left + kMargin - 1, r.top + kMargin - 1, r.right - kMargin + 1, r.bottom - kMargin + 1};
        dc.DrawFocusRect(&focus);
    }
}
