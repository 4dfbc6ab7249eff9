// CBitmapPickerCombo: the entries' pictures kept beside the combo's entries, and the closed field.
#include "core/CBitmapPickerCombo.h"

#include "core/Paths.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace {

using kxwin::BitmapPixels;

constexpr int kArrowWidth = 17;
constexpr int kPadding = 2;
constexpr int kTextGap = 4;
// A picture in the field is at most this many times as wide as the field is high.
constexpr int kMaxAspect = 2;

SIZE fittedSize(int width, int height, int roomWidth, int roomHeight)
{
    if (width <= 0 || height <= 0 || roomWidth <= 0 || roomHeight <= 0)
        return SIZE{};
    const std::int64_t w = width;
    const std::int64_t h = height;
    if (w * roomHeight >= h * roomWidth)
        return SIZE{roomWidth, static_cast<LONG>(std::clamp<std::int64_t>(h * roomWidth / w, 1, roomHeight))};
    return SIZE{static_cast<LONG>(std::clamp<std::int64_t>(w * roomHeight / h, 1, roomWidth)), roomHeight};
}

} // namespace

kxcore::detail::ComboItemValues<CBitmapPickerCombo::Entry>& CBitmapPickerCombo::entries() const
{
    // Entries the combo had before this object took it over have no picture.
    m_entries.syncCount(m_hWnd);
    return m_entries;
}

int CBitmapPickerCombo::insert(int index, std::shared_ptr<const BitmapPixels> picture, const std::string& text)
{
    if (!IsWindow(m_hWnd))
        return CB_ERR;
    const UINT message = index < 0 ? CB_ADDSTRING : CB_INSERTSTRING;
    const auto at = static_cast<int>(::SendMessage(m_hWnd, message, static_cast<WPARAM>(static_cast<std::intptr_t>(index)),
                                                   reinterpret_cast<LPARAM>(text.c_str())));
    if (at < 0)
        return CB_ERR;
    auto& e = entries();
    if (e.has(at))
        e.at(at).picture = std::move(picture);
    kxwin::notifyWindowChanged(m_hWnd, kxwin::WindowChange::Content);
    return at;
}

int CBitmapPickerCombo::AddBitmap(HBITMAP bitmap, const std::string& text)
{
    return InsertBitmap(-1, bitmap, text);
}

int CBitmapPickerCombo::InsertBitmap(int index, HBITMAP bitmap, const std::string& text)
{
    // The pixels are shared, never changed: a later drawing into the caller's bitmap copies them first.
    auto pixels = kxwin::bitmapPixels(bitmap);
    if (pixels && pixels->empty())
        pixels.reset();
    return insert(index, std::move(pixels), text);
}

int CBitmapPickerCombo::AddBitmapFile(const std::string& path, const std::string& text)
{
    std::shared_ptr<const BitmapPixels> pixels;
    if (const auto native = kx::toNativePath(path)) {
        if (HBITMAP bitmap = kxwin::loadBitmapFile(*native)) {
            pixels = kxwin::bitmapPixels(bitmap);
            DeleteObject(bitmap);
        }
    }
    return insert(-1, std::move(pixels), text);
}

int CBitmapPickerCombo::DeleteItem(int index)
{
    return kxcore::detail::comboDeleteString(m_hWnd, index);
}

void CBitmapPickerCombo::ResetContent()
{
    kxcore::detail::comboResetContent(m_hWnd);
}

int CBitmapPickerCombo::GetCount() const
{
    return kxcore::detail::comboCount(m_hWnd);
}

std::string CBitmapPickerCombo::GetItemText(int index) const
{
    return kxcore::detail::comboItemText(m_hWnd, index);
}

std::shared_ptr<const BitmapPixels> CBitmapPickerCombo::GetItemPicture(int index) const
{
    const auto& e = entries();
    return e.has(index) ? e.at(index).picture : nullptr;
}

int CBitmapPickerCombo::GetCurSel() const
{
    return IsWindow(m_hWnd) ? static_cast<int>(::SendMessage(m_hWnd, CB_GETCURSEL)) : CB_ERR;
}

int CBitmapPickerCombo::SetCurSel(int index)
{
    if (!IsWindow(m_hWnd))
        return CB_ERR;
    return static_cast<int>(::SendMessage(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(index))));
}

int CBitmapPickerCombo::SelectText(const std::string& text)
{
    if (!IsWindow(m_hWnd))
        return CB_ERR;
    const auto found = static_cast<int>(
        ::SendMessage(m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
    return found < 0 ? CB_ERR : SetCurSel(found);
}

LRESULT CBitmapPickerCombo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND self = m_hWnd;
    const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    if (IsWindow(self) && m_hWnd == self)
        m_entries.follow(self, message, wParam, result);
    return result;
}

void CBitmapPickerCombo::OnPaint()
{
    CPaintDC dc(this);
    RECT r;
    GetClientRect(r);
    const bool enabled = IsWindowEnabled() != FALSE;
    dc.FillSolidRect(r, kFace);
    const RECT arrow{std::max<LONG>(r.left, r.right - kArrowWidth), r.top, r.right, r.bottom};
    dc.FillSolidRect(arrow, RGB(240, 240, 240));
    CBrush frame(kFrame);
    dc.FrameRect(&r, &frame);

    const int selected = GetCurSel();
    if (selected < 0)
        return;
    const RECT room{r.left + kPadding, r.top + kPadding, arrow.left - kPadding, r.bottom - kPadding};
    int textLeft = room.left;
    if (const auto picture = GetItemPicture(selected)) {
        const SIZE size = fittedSize(picture->width, picture->height,
                                     std::min<int>(room.width(), room.height() * kMaxAspect), room.height());
        if (size.cx > 0) {
            try {
                HICON icon = kxwin::createIcon(*picture);
                DrawIconEx(dc, room.left, room.top + (room.height() - size.cy) / 2, icon, size.cx, size.cy, 0, nullptr,
                           DI_NORMAL);
                DestroyIcon(icon);
            } catch (const std::bad_alloc&) {
                // The field then shows the text alone.
            }
            textLeft = room.left + size.cx + kTextGap;
        }
    }
    RECT textRect{textLeft, room.top, room.right, room.bottom};
    dc.SelectObject(GetFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(enabled ? kText : kDisabledText);
    dc.DrawText(GetItemText(selected), &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    if (GetFocus() == m_hWnd) {
        RECT focus{r.left + 1, r.top + 1, arrow.left - 1, r.bottom - 1};
        dc.DrawFocusRect(&focus);
    }
}
