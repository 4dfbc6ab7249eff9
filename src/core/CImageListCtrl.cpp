// CImageListCtrl: reading the pictures, sizing and making the thumbnails, and the selection.
#include "core/CImageListCtrl.h"

#include "core/Paths.h"
#include "platform/win/Bitmap.h"
#include "platform/win/ImageList.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>

namespace {

using kxwin::BitmapPixels;

// Room around a thumbnail in its cell, and below it for two lines of its name.
constexpr int kCellMargin = 16;
constexpr int kLabelHeight = 2 * 13 + 10;

// The picture of a file as pixels; nothing when the file is missing, unreadable or no picture
// (the loader checks the size limits before it allocates anything).
std::optional<BitmapPixels> readPicture(const Kx_String& file)
{
    const auto native = kx::toNativePath(file.str());
    if (!native)
        return std::nullopt;
    HBITMAP bitmap = kxwin::loadBitmapFile(*native);
    if (bitmap == nullptr)
        return std::nullopt;
    auto pixels = kxwin::bitmapPixels(bitmap);
    DeleteObject(bitmap);
    if (!pixels || pixels->empty())
        return std::nullopt;
    return *pixels;
}

// A size within the thumbnail limit, keeping its proportions.
SIZE limited(SIZE size)
{
    const int side = CImageListCtrl::kMaxThumbnailSide;
    if (size.cx <= side && size.cy <= side)
        return SIZE{std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1)};
    const std::int64_t w = size.cx;
    const std::int64_t h = size.cy;
    if (w >= h)
        return SIZE{side, static_cast<LONG>(std::clamp<std::int64_t>(h * side / w, 1, side))};
    return SIZE{static_cast<LONG>(std::clamp<std::int64_t>(w * side / h, 1, side)), side};
}

BitmapPixels placeholder(SIZE size)
{
    BitmapPixels p(size.cx, size.cy, CImageListCtrl::kPlaceholderFill);
    for (int x = 0; x < p.width; ++x) {
        p.setPixel(x, 0, CImageListCtrl::kPlaceholderFrame);
        p.setPixel(x, p.height - 1, CImageListCtrl::kPlaceholderFrame);
    }
    for (int y = 0; y < p.height; ++y) {
        p.setPixel(0, y, CImageListCtrl::kPlaceholderFrame);
        p.setPixel(p.width - 1, y, CImageListCtrl::kPlaceholderFrame);
    }
    return p;
}

int addPicture(HIMAGELIST list, BitmapPixels pixels)
{
    HBITMAP bitmap = kxwin::createBitmap(std::move(pixels));
    if (bitmap == nullptr)
        return -1;
    const int index = ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
    return index;
}

} // namespace

CImageListCtrl::~CImageListCtrl()
{
    releaseImages();
}

void CImageListCtrl::releaseImages()
{
    // The list view only keeps the handle: take it away before the list goes.
    if (IsWindow(m_hWnd))
        SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
    if (m_images != nullptr)
        ImageList_Destroy(m_images);
    m_images = nullptr;
}

void CImageListCtrl::OnDestroy()
{
    releaseImages();
    Default();
}

bool CImageListCtrl::initialize(HWND dialog, int id)
{
    HWND list = ::GetDlgItem(dialog, id);
    if (list == nullptr || ::GetClassName(list) != WC_LISTVIEW || !SubclassWindow(list))
        return false;
    return initialize();
}

bool CImageListCtrl::initialize()
{
    if (!IsWindow(m_hWnd) || ::GetClassName(m_hWnd) != WC_LISTVIEW)
        return false;
    // Thumbnails in the data's order, one chosen at a time, the choice visible without the focus.
    ModifyStyle(LVS_TYPEMASK | LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_EDITLABELS,
                LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    return true;
}

SIZE CImageListCtrl::chooseSize() const
{
    if (m_data.thumbnailWidth() > 0 && m_data.thumbnailHeight() > 0)
        return limited(SIZE{m_data.thumbnailWidth(), m_data.thumbnailHeight()});
    return SIZE{kDefaultThumbnailSide, kDefaultThumbnailSide};
}

int CImageListCtrl::setData(const ImageListData& data)
{
    if (!IsWindow(m_hWnd))
        return -1;
    m_data = data;
    return drawThumbnails();
}

int CImageListCtrl::drawThumbnails()
{
    if (!IsWindow(m_hWnd))
        return -1;
    HWND self = m_hWnd;
    SendMessage(LVM_DELETEALLITEMS);
    // The dialog hears the deletions and may close meanwhile.
    if (!IsWindow(self) || m_hWnd != self)
        return -1;
    try {
        // The pictures are read one at a time, so only one full-size picture is in memory at once;
        // the first readable one gives the size when the data names none.
        const int n = m_data.length();
        std::optional<BitmapPixels> first;
        int firstIndex = -1;
        SIZE size = chooseSize();
        if (m_data.thumbnailWidth() <= 0 || m_data.thumbnailHeight() <= 0) {
            for (int i = 0; i < n && !first; ++i) {
                first = readPicture(m_data.getFile(i));
                firstIndex = first ? i : -1;
            }
            if (first)
                size = limited(SIZE{first->width, first->height});
        }
        HIMAGELIST images = ImageList_Create(size.cx, size.cy, ILC_COLOR32 | ILC_MASK, n, 8);
        if (images == nullptr)
            return -1;
        std::vector<bool> placeholders(static_cast<size_t>(n), false);
        int read = 0;
        for (int i = 0; i < n; ++i) {
            std::optional<BitmapPixels> picture = i == firstIndex ? std::move(first) : readPicture(m_data.getFile(i));
            int image = -1;
            if (picture)
                image = addPicture(images, std::move(*picture));
            if (image < 0) {
                placeholders[static_cast<size_t>(i)] = true;
                image = addPicture(images, placeholder(size));
            } else {
                ++read;
            }
            const Kx_String name = m_data.getName(i);
            LVITEM item;
            item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
            item.iItem = i;
            item.pszText = const_cast<char*>(name.c_str());
            item.iImage = image;
            item.lParam = i;
            SendMessage(LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
            if (!IsWindow(self) || m_hWnd != self) {
                ImageList_Destroy(images);
                return -1;
            }
        }
        // The new list goes in before the old one is destroyed, so the list view never holds a
        // dead handle.
        SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
        if (m_images != nullptr)
            ImageList_Destroy(m_images);
        m_images = images;
        m_size = size;
        m_placeholder = std::move(placeholders);
        const int cellWidth = std::min<int>(size.cx + kCellMargin, 0x7FFF);
        const int cellHeight = std::min<int>(size.cy + kLabelHeight, 0x7FFF);
        SendMessage(LVM_SETICONSPACING, 0, MAKELPARAM(static_cast<WORD>(cellWidth), static_cast<WORD>(cellHeight)));
        kxwin::notifyWindowChanged(m_hWnd, kxwin::WindowChange::Content);
        return read;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

int CImageListCtrl::getSelectedIndex() const
{
    if (!IsWindow(m_hWnd))
        return -1;
    const auto item = static_cast<int>(
        ::SendMessage(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
    if (item < 0)
        return -1;
    LVITEM query;
    query.mask = LVIF_PARAM;
    query.iItem = item;
    if (!::SendMessage(m_hWnd, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&query)))
        return -1;
    // Items someone else added to the list view carry no entry of the data.
    return query.lParam >= 0 && query.lParam < m_data.length() ? static_cast<int>(query.lParam) : -1;
}

Kx_String CImageListCtrl::getSelectedFile() const
{
    return m_data.getFile(getSelectedIndex());
}

Kx_String CImageListCtrl::getSelectedName() const
{
    return m_data.getName(getSelectedIndex());
}

bool CImageListCtrl::setSelectedIndex(int index)
{
    if (!IsWindow(m_hWnd) || index < -1 || index >= m_data.length())
        return false;
    LVITEM state;
    if (index == -1) {
        state.stateMask = LVIS_SELECTED;
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        return true;
    }
    LVFINDINFO find;
    find.flags = LVFI_PARAM;
    find.lParam = index;
    const auto item = static_cast<int>(SendMessage(LVM_FINDITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    if (item < 0)
        return false;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
    if (IsWindow(m_hWnd))
        SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
    return true;
}

bool CImageListCtrl::selectFile(const Kx_String& file)
{
    const int index = m_data.findFile(file);
    return index >= 0 && setSelectedIndex(index);
}

bool CImageListCtrl::isPlaceholder(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < m_placeholder.size() && m_placeholder[static_cast<size_t>(index)];
}
