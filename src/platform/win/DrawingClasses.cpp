// The drawing object classes: brushes, pens and drawing contexts with their paint and client forms.
#include "platform/win/DrawingContext.h"

#include "platform/win/CWnd.h"
#include "platform/win/DcTable.h"

#include <algorithm>
#include <climits>
#include <utility>

using kxwin::detail::rectFromSize;

CBrush& CBrush::operator=(CBrush&& other) noexcept
{
    if (this != &other) {
        DeleteObject();
        m_hObject = std::exchange(other.m_hObject, nullptr);
    }
    return *this;
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    if (m_hObject != nullptr)
        return FALSE;
    m_hObject = ::CreateSolidBrush(color);
    return m_hObject != nullptr;
}

BOOL CBrush::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    return ::DeleteObject(std::exchange(m_hObject, nullptr));
}

CPen& CPen::operator=(CPen&& other) noexcept
{
    if (this != &other) {
        DeleteObject();
        m_hObject = std::exchange(other.m_hObject, nullptr);
    }
    return *this;
}

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    if (m_hObject != nullptr)
        return FALSE;
    m_hObject = ::CreatePen(style, width, color);
    return m_hObject != nullptr;
}

BOOL CPen::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    return ::DeleteObject(std::exchange(m_hObject, nullptr));
}

CDC::~CDC()
{
    if (m_ownsDc)
        DeleteDC();
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    if (m_hDC != nullptr)
        return FALSE;
    m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    m_ownsDc = m_hDC != nullptr;
    return m_ownsDc;
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == nullptr)
        return FALSE;
    m_ownsDc = false;
    return ::DeleteDC(std::exchange(m_hDC, nullptr));
}

BOOL CDC::Attach(HDC dc)
{
    if (m_hDC != nullptr || dc == nullptr)
        return FALSE;
    m_hDC = dc;
    m_ownsDc = false;
    return TRUE;
}

HDC CDC::Detach()
{
    m_ownsDc = false;
    return std::exchange(m_hDC, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    kxwin::fillSolidRect(m_hDC, rectFromSize(x, y, cx, cy), color);
}

BOOL CDC::Rectangle(const RECT* rect)
{
    return rect ? ::Rectangle(m_hDC, rect->left, rect->top, rect->right, rect->bottom) : FALSE;
}

POINT CDC::MoveTo(int x, int y)
{
    POINT previous;
    ::MoveToEx(m_hDC, x, y, &previous);
    return previous;
}

SIZE CDC::GetTextExtent(std::string_view text) const
{
    SIZE size;
    if (!::GetTextExtentPoint32(m_hDC, text.data(), static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX)), &size))
        return SIZE{};
    return size;
}

BOOL CDC::BitBlt(int x, int y, int cx, int cy, CDC* source, int xSource, int ySource, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, cx, cy, source ? source->m_hDC : nullptr, xSource, ySource, rop);
}

BOOL CDC::StretchBlt(int x, int y, int cx, int cy, CDC* source, int xSource, int ySource, int cxSource, int cySource,
                     DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, cx, cy, source ? source->m_hDC : nullptr, xSource, ySource, cxSource, cySource,
                        rop);
}

BOOL CDC::TransparentBlt(int x, int y, int cx, int cy, CDC* source, int xSource, int ySource, int cxSource,
                         int cySource, UINT transparent)
{
    return ::TransparentBlt(m_hDC, x, y, cx, cy, source ? source->m_hDC : nullptr, xSource, ySource, cxSource,
                            cySource, transparent);
}

CPaintDC::CPaintDC(CWnd* window) : CPaintDC(window ? window->m_hWnd : HWND{})
{
}

CPaintDC::CPaintDC(HWND hwnd) : m_hWnd(hwnd)
{
    m_hDC = ::BeginPaint(hwnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    if (m_hDC != nullptr)
        ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* window) : CClientDC(window ? window->m_hWnd : HWND{})
{
}

CClientDC::CClientDC(HWND hwnd) : m_hWnd(hwnd)
{
    m_hDC = hwnd ? ::GetDC(hwnd) : nullptr;
}

CClientDC::~CClientDC()
{
    if (m_hDC != nullptr)
        ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

