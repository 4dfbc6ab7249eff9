// CColorStatic: painting in its colours and clicks told to the parent.
#include "core/CColorStatic.h"

#include "platform/win/DrawingContext.h"

namespace {

// SS_NOPREFIX: "&" is shown as it is instead of marking a mnemonic.
constexpr DWORD kNoPrefix = 0x80;

UINT textFormat(DWORD style)
{
    UINT format = DT_WORDBREAK;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format |= DT_CENTER;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT;
        break;
    default:
        format |= DT_LEFT;
        break;
    }
    if (style & kNoPrefix)
        format |= DT_NOPREFIX;
    return format;
}

} // namespace

COLORREF CColorStatic::SetTextColor(COLORREF color)
{
    const COLORREF previous = m_text;
    m_text = color & 0xFFFFFF;
    changed();
    return previous;
}

COLORREF CColorStatic::SetBkColor(COLORREF color)
{
    const COLORREF previous = m_background;
    m_background = color & 0xFFFFFF;
    changed();
    return previous;
}

void CColorStatic::changed()
{
    if (IsWindow(m_hWnd)) {
        kxwin::notifyWindowChanged(m_hWnd, kxwin::WindowChange::Content);
        Invalidate();
    }
}

BOOL CColorStatic::OnEraseBkgnd(HDC dc)
{
    RECT r;
    GetClientRect(r);
    kxwin::fillSolidRect(dc, r, m_background);
    return TRUE;
}

void CColorStatic::OnPaint()
{
    CPaintDC dc(this);
    RECT r;
    GetClientRect(r);
    // Painted whole even when the erase was skipped, so the label never shows what was under it.
    dc.FillSolidRect(r, m_background);
    dc.SelectObject(GetFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(IsWindowEnabled() ? m_text : kDisabledText);
    dc.DrawText(GetWindowText(), &r, textFormat(GetStyle()));
}

void CColorStatic::notifyParent(WORD code)
{
    // The parent may destroy the label while it handles the command: nothing is touched after.
    HWND self = m_hWnd;
    if (!IsWindowEnabled())
        return;
    ::SendMessage(::GetParent(self), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(::GetDlgCtrlID(self)), code),
                  reinterpret_cast<LPARAM>(self));
}

void CColorStatic::OnLButtonDown(UINT, POINT)
{
    // Not passed on: the Static class would tell the parent a second time when it has SS_NOTIFY.
    notifyParent(STN_CLICKED);
}

void CColorStatic::OnLButtonDblClk(UINT, POINT)
{
    notifyParent(STN_DBLCLK);
}
