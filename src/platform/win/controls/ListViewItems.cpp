// The list view's item and column messages: inserting, changing, reading, finding, sorting and
// deleting items, the columns of the report view, image lists, colours and view settings.
#include "platform/win/controls/ListViewInternal.h"

#include "platform/win/CommCtrl.h"
#include "platform/win/Window.h"
#include "platform/win/controls/ControlSupport.h"

#include <algorithm>
#include <vector>

namespace kxwin::detail::listview {

namespace {

// --- Items and columns ---------------------------------------------------------------------------

std::string readText(LPCSTR text)
{
    return (text == nullptr || text == LPSTR_TEXTCALLBACK) ? std::string() : std::string(text);
}

const std::string& subText(const LvItem& item, int sub)
{
    static const std::string empty;
    if (sub <= 0)
        return item.text;
    const size_t i = static_cast<size_t>(sub - 1);
    return i < item.subTexts.size() ? item.subTexts[i] : empty;
}

int insertItem(HWND hwnd, const LVITEM* in)
{
    ListViewState* s = view(hwnd);
    if (in == nullptr || in->iSubItem != 0)
        return -1;
    LvItem item;
    if (in->mask & LVIF_TEXT)
        item.text = readText(in->pszText);
    if (in->mask & LVIF_IMAGE)
        item.image = in->iImage;
    if (in->mask & LVIF_PARAM)
        item.param = in->lParam;
    if (in->mask & LVIF_STATE)
        item.state = in->state & in->stateMask;
    if (in->mask & LVIF_INDENT)
        item.indent = in->iIndent;
    if ((s->exStyle & LVS_EX_CHECKBOXES) && (item.state & LVIS_STATEIMAGEMASK) == 0)
        item.state |= INDEXTOSTATEIMAGEMASK(1);
    int at = std::clamp(in->iItem, 0, count(*s));
    const DWORD style = styleOf(hwnd);
    if (style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) {
        const bool descending = (style & LVS_SORTDESCENDING) != 0;
        at = 0;
        while (at < count(*s)) {
            const int c = compareNoCase(s->items[static_cast<size_t>(at)].text, item.text);
            if (descending ? c < 0 : c > 0)
                break;
            ++at;
        }
    }
    if ((item.state & LVIS_SELECTED) && singleSelection(hwnd)) {
        for (LvItem& other : s->items)
            other.state &= ~LVIS_SELECTED;
    }
    if (item.state & LVIS_FOCUSED) {
        for (LvItem& other : s->items)
            other.state &= ~LVIS_FOCUSED;
    }
    s->items.insert(s->items.begin() + at, std::move(item));
    if (s->selectionMark >= at)
        ++s->selectionMark;
    changed(hwnd);
    NMLISTVIEW nm = listNotice(*s, at);
    notifyParent(hwnd, LVN_INSERTITEM, nm.hdr);
    return at;
}

// LVM_SETITEM and LVM_SETITEMTEXT. Attribute changes are asked and reported like state changes.
BOOL setItem(HWND hwnd, int index, const LVITEM* in, UINT mask)
{
    ListViewState* s = view(hwnd);
    if (in == nullptr || index < 0 || index >= count(*s) || in->iSubItem < 0 || in->iSubItem >= kMaxSubItems)
        return FALSE;
    if (in->iSubItem > 0 && (mask & ~(LVIF_TEXT | LVIF_STATE)))
        mask &= LVIF_TEXT | LVIF_STATE;
    LvItem after = s->items[static_cast<size_t>(index)];
    if (mask & LVIF_TEXT) {
        if (in->iSubItem == 0) {
            after.text = readText(in->pszText);
        } else {
            if (after.subTexts.size() < static_cast<size_t>(in->iSubItem))
                after.subTexts.resize(static_cast<size_t>(in->iSubItem));
            after.subTexts[static_cast<size_t>(in->iSubItem - 1)] = readText(in->pszText);
        }
    }
    if (mask & LVIF_IMAGE)
        after.image = in->iImage;
    if (mask & LVIF_PARAM)
        after.param = in->lParam;
    if (mask & LVIF_INDENT)
        after.indent = in->iIndent;
    const LvItem& before = s->items[static_cast<size_t>(index)];
    UINT what = 0;
    if (after.text != before.text || after.subTexts != before.subTexts)
        what |= LVIF_TEXT;
    if (after.image != before.image)
        what |= LVIF_IMAGE;
    if (after.param != before.param)
        what |= LVIF_PARAM;
    if (after.indent != before.indent)
        what |= LVIF_INDENT;
    if (what != 0) {
        NMLISTVIEW asking = listNotice(*s, index);
        asking.uChanged = what;
        if (notifyParent(hwnd, LVN_ITEMCHANGING, asking.hdr) != 0 || !IsWindow(hwnd) || index >= count(*s))
            return FALSE;
        after.state = s->items[static_cast<size_t>(index)].state;
        s->items[static_cast<size_t>(index)] = std::move(after);
        changed(hwnd);
        NMLISTVIEW told = listNotice(*s, index);
        told.uChanged = what;
        notifyParent(hwnd, LVN_ITEMCHANGED, told.hdr);
        if (!IsWindow(hwnd))
            return TRUE;
    }
    if (mask & LVIF_STATE)
        changeState(hwnd, index, in->state, in->stateMask);
    return TRUE;
}

BOOL getItem(const ListViewState& s, int index, LVITEM* out)
{
    if (out == nullptr || index < 0 || index >= count(s) || out->iSubItem < 0)
        return FALSE;
    const LvItem& item = s.items[static_cast<size_t>(index)];
    if (out->mask & LVIF_TEXT)
        copyTextOut(subText(item, out->iSubItem), out->pszText, static_cast<size_t>(std::max(0, out->cchTextMax)));
    if (out->mask & LVIF_IMAGE)
        out->iImage = item.image;
    if (out->mask & LVIF_PARAM)
        out->lParam = item.param;
    if (out->mask & LVIF_STATE)
        out->state = item.state & out->stateMask;
    if (out->mask & LVIF_INDENT)
        out->iIndent = item.indent;
    return TRUE;
}

BOOL deleteItem(HWND hwnd, int index)
{
    ListViewState* s = view(hwnd);
    if (index < 0 || index >= count(*s))
        return FALSE;
    // The owner frees what its item data points at now.
    NMLISTVIEW nm = listNotice(*s, index);
    notifyParent(hwnd, LVN_DELETEITEM, nm.hdr);
    if (!IsWindow(hwnd) || index >= count(*s))
        return FALSE;
    s->items.erase(s->items.begin() + index);
    if (s->selectionMark == index)
        s->selectionMark = -1;
    else if (s->selectionMark > index)
        --s->selectionMark;
    s->topIndex = std::min(s->topIndex, std::max(0, count(*s) - 1));
    changed(hwnd);
    return TRUE;
}

} // namespace

void deleteAll(HWND hwnd)
{
    ListViewState* s = view(hwnd);
    if (s->items.empty())
        return;
    NMLISTVIEW all = listNotice(*s, -1);
    // An owner that answers TRUE does not want one notice per item.
    const bool perItem = notifyParent(hwnd, LVN_DELETEALLITEMS, all.hdr) == 0;
    for (int i = 0; perItem && IsWindow(hwnd) && i < count(*s); ++i) {
        NMLISTVIEW nm = listNotice(*s, i);
        notifyParent(hwnd, LVN_DELETEITEM, nm.hdr);
    }
    if (!IsWindow(hwnd))
        return;
    s->items.clear();
    s->selectionMark = -1;
    s->topIndex = 0;
    changed(hwnd);
}

namespace {

int nextItem(HWND hwnd, const ListViewState& s, int start, UINT flags)
{
    const UINT need = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
    const auto matches = [&](int i) { return (s.items[static_cast<size_t>(i)].state & need) == need; };
    const UINT direction = flags & (LVNI_ABOVE | LVNI_BELOW | LVNI_TOLEFT | LVNI_TORIGHT);
    if (direction == 0) {
        for (int i = std::max(0, start + 1); i < count(s); ++i) {
            if (matches(i))
                return i;
        }
        return -1;
    }
    if (start < 0 || start >= count(s))
        return -1;
    const int perRow = isRowView(hwnd) ? 1 : columnsPerRow(hwnd, s);
    int step = 0;
    if (direction & LVNI_ABOVE)
        step = -perRow;
    else if (direction & LVNI_BELOW)
        step = perRow;
    else if (!isRowView(hwnd))
        step = (direction & LVNI_TOLEFT) ? -1 : 1;
    if (step == 0)
        return -1;
    for (int i = start + step; i >= 0 && i < count(s); i += step) {
        if (step == 1 || step == -1) {
            if (i / perRow != start / perRow)
                return -1;  // left and right stay in the row
        }
        if (matches(i))
            return i;
    }
    return -1;
}

int findItemIn(const ListViewState& s, int start, const LVFINDINFO* info)
{
    if (info == nullptr)
        return -1;
    const int n = count(s);
    const int first = std::max(0, start + 1);
    const int span = (info->flags & LVFI_WRAP) ? n : n - first;
    for (int k = 0; k < span; ++k) {
        const int i = (first + k) % std::max(1, n);
        if (i >= n)
            break;
        const LvItem& item = s.items[static_cast<size_t>(i)];
        if (info->flags & LVFI_PARAM) {
            if (item.param == info->lParam)
                return i;
            continue;
        }
        if (info->psz == nullptr)
            return -1;
        const bool partial = (info->flags & LVFI_PARTIAL) != 0;
        if (partial ? startsWithNoCase(item.text, info->psz) : equalsNoCase(item.text, info->psz))
            return i;
    }
    return -1;
}

// A merge sort that stays in bounds whatever the owner's compare function answers.
void sortItems(std::vector<LvItem>& items, PFNLVCOMPARE compare, LPARAM sortParam)
{
    std::vector<LvItem> buffer(items.size());
    for (size_t width = 1; width < items.size(); width *= 2) {
        for (size_t lo = 0; lo < items.size(); lo += 2 * width) {
            const size_t mid = std::min(lo + width, items.size());
            const size_t hi = std::min(lo + 2 * width, items.size());
            size_t a = lo;
            size_t b = mid;
            size_t out = lo;
            while (a < mid && b < hi) {
                if (compare(items[b].param, items[a].param, sortParam) < 0)
                    buffer[out++] = std::move(items[b++]);
                else
                    buffer[out++] = std::move(items[a++]);
            }
            while (a < mid)
                buffer[out++] = std::move(items[a++]);
            while (b < hi)
                buffer[out++] = std::move(items[b++]);
        }
        items.swap(buffer);
    }
}

int autoWidth(const ListViewState& s, int column, bool withHeader)
{
    const int sub = s.columns[static_cast<size_t>(column)].subItem;
    size_t widest = withHeader ? countChars(s.columns[static_cast<size_t>(column)].text) : 0;
    for (const LvItem& item : s.items)
        widest = std::max(widest, countChars(subText(item, sub)));
    return static_cast<int>(widest) * kCharWidth + 12;
}

bool readColumn(const LVCOLUMN* in, LvColumn& column)
{
    if (in == nullptr)
        return false;
    if (in->mask & LVCF_TEXT)
        column.text = readText(in->pszText);
    if (in->mask & LVCF_WIDTH)
        column.width = std::max(0, in->cx);
    if (in->mask & LVCF_FMT)
        column.fmt = in->fmt;
    if (in->mask & LVCF_SUBITEM)
        column.subItem = in->iSubItem;
    return true;
}

LRESULT columnMessage(HWND hwnd, ListViewState* s, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<std::int32_t>(wParam));
    const bool valid = index >= 0 && index < static_cast<int>(s->columns.size());
    switch (message) {
    case LVM_INSERTCOLUMN: {
        LvColumn column;
        column.subItem = std::max(0, index);
        if (index < 0 || !readColumn(reinterpret_cast<const LVCOLUMN*>(lParam), column))
            return -1;
        const int at = std::min(index, static_cast<int>(s->columns.size()));
        s->columns.insert(s->columns.begin() + at, std::move(column));
        changed(hwnd);
        return at;
    }
    case LVM_SETCOLUMN:
        if (!valid || !readColumn(reinterpret_cast<const LVCOLUMN*>(lParam), s->columns[static_cast<size_t>(index)]))
            return FALSE;
        changed(hwnd);
        return TRUE;
    case LVM_GETCOLUMN: {
        auto* out = reinterpret_cast<LVCOLUMN*>(lParam);
        if (!valid || out == nullptr)
            return FALSE;
        const LvColumn& column = s->columns[static_cast<size_t>(index)];
        if (out->mask & LVCF_TEXT)
            copyTextOut(column.text, out->pszText, static_cast<size_t>(std::max(0, out->cchTextMax)));
        if (out->mask & LVCF_WIDTH)
            out->cx = column.width;
        if (out->mask & LVCF_FMT)
            out->fmt = column.fmt;
        if (out->mask & LVCF_SUBITEM)
            out->iSubItem = column.subItem;
        return TRUE;
    }
    case LVM_DELETECOLUMN:
        if (!valid)
            return FALSE;
        s->columns.erase(s->columns.begin() + index);
        changed(hwnd);
        return TRUE;
    case LVM_GETCOLUMNWIDTH:
        if (!isRowView(hwnd) || s->columns.empty())
            return viewKind(hwnd) == LVS_LIST ? rowWidth(hwnd, *s) : 0;
        return valid ? s->columns[static_cast<size_t>(index)].width : 0;
    case LVM_SETCOLUMNWIDTH: {
        if (!valid)
            return FALSE;
        const int width = static_cast<int>(static_cast<std::int32_t>(lParam));
        LvColumn& column = s->columns[static_cast<size_t>(index)];
        if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER)
            column.width = autoWidth(*s, index, width == LVSCW_AUTOSIZE_USEHEADER);
        else
            column.width = std::max(0, width);
        changed(hwnd);
        return TRUE;
    }
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

} // namespace

LRESULT itemMessage(HWND hwnd, ListViewState* s, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<std::int32_t>(wParam));
    const bool valid = index >= 0 && index < count(*s);
    switch (message) {
    case LVM_GETITEMCOUNT:
        return count(*s);
    case LVM_INSERTITEM:
        return insertItem(hwnd, reinterpret_cast<const LVITEM*>(lParam));
    case LVM_SETITEM: {
        const auto* in = reinterpret_cast<const LVITEM*>(lParam);
        return in ? setItem(hwnd, in->iItem, in, in->mask) : FALSE;
    }
    case LVM_SETITEMTEXT:
        return setItem(hwnd, index, reinterpret_cast<const LVITEM*>(lParam), LVIF_TEXT);
    case LVM_GETITEM: {
        auto* out = reinterpret_cast<LVITEM*>(lParam);
        return out ? getItem(*s, out->iItem, out) : FALSE;
    }
    case LVM_GETITEMTEXT: {
        auto* out = reinterpret_cast<LVITEM*>(lParam);
        if (out == nullptr || !valid || out->iSubItem < 0)
            return 0;
        return copyTextOut(subText(s->items[static_cast<size_t>(index)], out->iSubItem), out->pszText,
                           static_cast<size_t>(std::max(0, out->cchTextMax)));
    }
    case LVM_DELETEITEM:
        return deleteItem(hwnd, index);
    case LVM_DELETEALLITEMS:
        deleteAll(hwnd);
        return TRUE;
    case LVM_GETNEXTITEM:
        return nextItem(hwnd, *s, index, LOWORD(static_cast<std::uintptr_t>(lParam)));
    case LVM_SETITEMSTATE: {
        const auto* in = reinterpret_cast<const LVITEM*>(lParam);
        if (in == nullptr || (index != -1 && !valid))
            return FALSE;
        if (index != -1) {
            changeState(hwnd, index, in->state, in->stateMask);
            return TRUE;
        }
        const UINT mask = in->stateMask & ~LVIS_FOCUSED;  // one item at most can have the focus
        for (int i = 0; IsWindow(hwnd) && i < count(*s); ++i)
            changeOne(hwnd, i, in->state, mask);
        return TRUE;
    }
    case LVM_GETITEMSTATE:
        return valid ? static_cast<LRESULT>(s->items[static_cast<size_t>(index)].state & static_cast<UINT>(lParam)) : 0;
    case LVM_GETSELECTEDCOUNT:
        return std::count_if(s->items.begin(), s->items.end(), [](const LvItem& i) { return i.state & LVIS_SELECTED; });
    case LVM_ENSUREVISIBLE:
        if (!valid)
            return FALSE;
        ensureVisible(hwnd, *s, index);
        changed(hwnd);
        return TRUE;
    case LVM_GETTOPINDEX:
        return isRowView(hwnd) ? s->topIndex : 0;
    case LVM_GETCOUNTPERPAGE:
        return countPerPage(hwnd, *s);
    case LVM_SETIMAGELIST: {
        if (wParam > LVSIL_STATE)
            return 0;
        const HIMAGELIST previous = s->images[wParam];
        s->images[wParam] = reinterpret_cast<HIMAGELIST>(lParam);
        changed(hwnd);
        return reinterpret_cast<LRESULT>(previous);
    }
    case LVM_GETIMAGELIST:
        return wParam <= LVSIL_STATE ? reinterpret_cast<LRESULT>(s->images[wParam]) : 0;
    case LVM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr || !valid)
            return FALSE;
        *rect = itemPart(hwnd, *s, index, rect->left);
        return TRUE;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
        auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
        if (info == nullptr)
            return -1;
        info->iItem = hitTest(hwnd, *s, info->pt, &info->flags);
        info->iSubItem = 0;
        if (message == LVM_SUBITEMHITTEST && info->iItem >= 0 && viewKind(hwnd) == LVS_REPORT) {
            int left = 0;
            for (const LvColumn& column : s->columns) {
                if (info->pt.x >= left && info->pt.x < left + column.width) {
                    info->iSubItem = column.subItem;
                    break;
                }
                left += column.width;
            }
        }
        return info->iItem;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD previous = s->exStyle;
        const DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
        s->exStyle = (s->exStyle & ~mask) | (static_cast<DWORD>(lParam) & mask);
        // Check boxes start unchecked (state image 1).
        if ((s->exStyle & LVS_EX_CHECKBOXES) && !(previous & LVS_EX_CHECKBOXES)) {
            for (LvItem& item : s->items) {
                if ((item.state & LVIS_STATEIMAGEMASK) == 0)
                    item.state |= INDEXTOSTATEIMAGEMASK(1);
            }
        }
        changed(hwnd);
        return previous;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return s->exStyle;
    case LVM_GETSELECTIONMARK:
        return s->selectionMark;
    case LVM_SETSELECTIONMARK: {
        const int previous = s->selectionMark;
        const int mark = static_cast<int>(static_cast<std::int32_t>(lParam));
        s->selectionMark = (mark >= 0 && mark < count(*s)) ? mark : -1;
        return previous;
    }
    case LVM_SETBKCOLOR:
        s->background = static_cast<COLORREF>(lParam);
        changed(hwnd);
        return TRUE;
    case LVM_GETBKCOLOR:
        return s->background;
    case LVM_SETTEXTCOLOR:
        s->textColour = static_cast<COLORREF>(lParam);
        changed(hwnd);
        return TRUE;
    case LVM_GETTEXTCOLOR:
        return s->textColour;
    case LVM_SETTEXTBKCOLOR:
        s->textBackground = static_cast<COLORREF>(lParam);
        changed(hwnd);
        return TRUE;
    case LVM_GETTEXTBKCOLOR:
        return s->textBackground;
    case LVM_SETICONSPACING: {
        const LRESULT previous = MAKELPARAM(static_cast<WORD>(s->iconSpacing.cx), static_cast<WORD>(s->iconSpacing.cy));
        const auto cx = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam)));
        const auto cy = static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(lParam)));
        s->iconSpacing.cx = cx <= 0 ? kIconSpacing.cx : cx;
        s->iconSpacing.cy = cy <= 0 ? kIconSpacing.cy : cy;
        changed(hwnd);
        return previous;
    }
    case LVM_GETITEMSPACING: {
        const SIZE cell = wParam ? kSmallIconSpacing : s->iconSpacing;
        return MAKELPARAM(static_cast<WORD>(cell.cx), static_cast<WORD>(cell.cy));
    }
    case LVM_SETVIEW:
        if (wParam > LV_VIEW_LIST)
            return -1;
        SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>((styleOf(hwnd) & ~LVS_TYPEMASK) | static_cast<DWORD>(wParam)));
        s->topIndex = 0;
        changed(hwnd);
        return 1;
    case LVM_GETVIEW:
        return viewKind(hwnd);
    case LVM_FINDITEM:
        return findItemIn(*s, index, reinterpret_cast<const LVFINDINFO*>(lParam));
    case LVM_SORTITEMS: {
        auto compare = reinterpret_cast<PFNLVCOMPARE>(lParam);
        if (compare == nullptr)
            return FALSE;
        sortItems(s->items, compare, static_cast<LPARAM>(wParam));
        s->selectionMark = -1;
        changed(hwnd);
        return TRUE;
    }
    case LVM_GETSTRINGWIDTH:
        return static_cast<LRESULT>(countChars(textParam(lParam))) * kCharWidth;
    case LVM_SETITEMCOUNT:
        s->items.reserve(std::min<size_t>(static_cast<size_t>(std::max(0, index)), 4096));
        return TRUE;
    case LVM_ARRANGE:
    case LVM_UPDATE:
    case LVM_REDRAWITEMS:
        changed(hwnd);
        return TRUE;
    default:
        return columnMessage(hwnd, s, message, wParam, lParam);
    }
}

} // namespace kxwin::detail::listview
