// Kx_Spread: the grid's look: the standard options and colours, counts and the fonts that follow
// them, column fitting after a resize, autosizing and the cell types.
#include "spread/Kx_Spread.h"

#include "core/ZnTempResourceOverride.h"
#include "platform/grid/Spread.h"
#include "platform/win/Bitmap.h"
#include "platform/win/Font.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kWeightNormal = 400;
constexpr int kWeightBold = 700;
constexpr COLORREF kSystemFaceColour = SS_SYSCOLOR_FLAG | 15;
constexpr COLORREF kSystemWindowFrame = 0x8000000B;
constexpr long kHeaderStaticStyle = 140;

} // namespace

// --- Standard look ---------------------------------------------------------------------------------

bool Kx_Spread::setStandardLook(int enterMode)
{
    if (!m_attached)
        return false;
    HWND h = m_hWnd;
    // Redraw (8) stays off while the look changes and is switched on last.
    SSSetBool(h, 8, FALSE);
    SSSetBool(h, 12, FALSE);
    SSSetBool(h, 7, FALSE);
    SSSetBool(h, 21, TRUE);
    SSSetBool(h, 26, FALSE);
    SSSetBool(h, 34, TRUE);
    SSSetBool(h, 32, TRUE);
    SSSetBool(h, 18, FALSE);
    SSSetBool(h, 21, TRUE);
    SSSetBool(h, 22, TRUE);
    SSSetBool(h, 21, TRUE);
    SSSetGrayAreaColor(h, kSystemFaceColour, kSystemWindowFrame);
    SSSetCursor(h, 1, -1);
    SSSetSelColor(h, 0x6A240A, 0xFFFFFF);
    SSSetBool(h, 11, TRUE);
    SSSetBool(h, 3, TRUE);
    SSSetBool(h, 4, TRUE);
    SSSetBool(h, 18, TRUE);
    SSSetLockColor(h, 0xE6E6E6, kSystemWindowFrame);
    if (enterMode == 1) {
        SSSetBool(h, SSB_PROCESSTAB, TRUE);
        SSSetBool(h, SSB_EDITMODEPERMANENT, FALSE);
        SSSetEditEnterAction(h, SS_ENTERACTION_NONE);
    } else if (enterMode == 0) {
        SSSetBool(h, SSB_PROCESSTAB, FALSE);
        SSSetBool(h, SSB_EDITMODEPERMANENT, TRUE);
        SSSetEditEnterAction(h, SS_ENTERACTION_NEXT);
    }
    SSSetBool(h, 8, TRUE);
    return true;
}

// --- Counts and fonts ------------------------------------------------------------------------------

int Kx_Spread::getRowCount() const
{
    return m_attached ? SSGetMaxRows(m_hWnd) : -1;
}

int Kx_Spread::getColCount() const
{
    return m_attached ? SSGetMaxCols(m_hWnd) : -1;
}

bool Kx_Spread::setRowCount(int count, bool /*copyLast*/)
{
    if (!m_attached || count < 0)
        return false;
    const int old = getRowCount();
    if (!SSSetMaxRows(m_hWnd, count))
        return false;
    if (count > old) {
        // New rows always repeat the previous last row (types, locks, contents). A grid that had no
        // rows has nothing to repeat: its header row is no row of data.
        if (old > 0) {
            for (int row = old + 1; row <= count; ++row)
                copyRow(old, row);
        }
        applyNewRowFonts(old, count);
    }
    return true;
}

bool Kx_Spread::setColCount(int count, bool copyLast)
{
    if (!m_attached || count < 0)
        return false;
    const int old = getColCount();
    if (!SSSetMaxCols(m_hWnd, count))
        return false;
    if (count > old) {
        if (copyLast && old > 0) {
            for (int col = old + 1; col <= count; ++col)
                copyColumn(old, col);
        }
        applyNewColFonts(old, count);
    }
    return true;
}

void Kx_Spread::applyNewRowFonts(int oldCount, int newCount)
{
    const int cols = getColCount();
    if (oldCount == 0)
        applyHeaderFonts();
    else
        setRangeFont(HEADER, oldCount + 1, HEADER, newCount, m_fontFace, m_textHeight, true);
    if (cols >= 1)
        setRangeFont(1, oldCount == 0 ? 1 : oldCount + 1, cols, newCount, m_fontFace, m_textHeight, false);
}

void Kx_Spread::applyNewColFonts(int oldCount, int newCount)
{
    const int rows = getRowCount();
    if (oldCount == 0)
        applyHeaderFonts();
    else
        setRangeFont(oldCount + 1, HEADER, newCount, HEADER, m_fontFace, m_textHeight, true);
    if (rows >= 1)
        setRangeFont(oldCount == 0 ? 1 : oldCount + 1, 1, newCount, rows, m_fontFace, m_textHeight, false);
}

bool Kx_Spread::setRangeFont(int col1, int row1, int col2, int row2, const Kx_String& face, int height, bool bold)
{
    if (!m_attached)
        return false;
    HFONT font = CreateFont(height, 0, bold ? kWeightBold : kWeightNormal, false, false, face.str());
    if (font == nullptr)
        return false;
    const bool ok = SSSetFontRange(m_hWnd, col1, row1, col2, row2, font, TRUE) != FALSE;
    if (ok && bold) {
        WORD status = 0;
        DWORD delay = 0;
        LOGFONT tipFont;
        COLORREF back = 0;
        COLORREF fore = 0;
        if (SSGetTextTip(m_hWnd, &status, &delay, &tipFont, &back, &fore)) {
            const LOGFONT described = kxwin::fontDescription(font);
            SSSetTextTip(m_hWnd, status, delay, &described, back, fore);
        }
    }
    // The grid keeps the font's description, not the handle.
    DeleteObject(font);
    return ok;
}

void Kx_Spread::applyFonts()
{
    if (!m_attached)
        return;
    applyHeaderFonts();
    const int cols = getColCount();
    const int rows = getRowCount();
    if (cols >= 1 && rows >= 1)
        setRangeFont(1, 1, cols, rows, m_fontFace, m_textHeight, false);
}

void Kx_Spread::applyHeaderFonts()
{
    if (!m_attached)
        return;
    const int cols = getColCount();
    const int rows = getRowCount();
    if (cols >= 1)
        setRangeFont(1, HEADER, cols, HEADER, m_fontFace, m_textHeight, true);
    if (rows >= 1)
        setRangeFont(HEADER, 1, HEADER, rows, m_fontFace, m_textHeight, true);
}

void Kx_Spread::applyRowFont(int row, bool headerToo)
{
    const int rows = getRowCount();
    const int cols = getColCount();
    if (row < 1 || row > rows)
        return;
    if (cols >= 1)
        setRangeFont(1, row, cols, row, m_fontFace, m_textHeight, false);
    if (headerToo)
        setRangeFont(HEADER, row, HEADER, row, m_fontFace, m_textHeight, true);
}

void Kx_Spread::applyColFont(int col, bool headerToo)
{
    const int rows = getRowCount();
    const int cols = getColCount();
    if (col < 1 || col > cols)
        return;
    if (rows >= 1)
        setRangeFont(col, 1, col, rows, m_fontFace, m_textHeight, false);
    if (headerToo)
        setRangeFont(col, HEADER, col, HEADER, m_fontFace, m_textHeight, true);
}

// --- Fitting ---------------------------------------------------------------------------------------

void Kx_Spread::fitToWindow()
{
    if (!m_attached || m_fitMode == 0)
        return;
    HWND h = m_hWnd;
    RECT client;
    if (!SSGetClientRect(h, &client))
        return;
    const int width = client.right - client.left;
    const int cols = getColCount();
    const bool headerShown = SSGetBool(h, SSB_SHOWROWHEADERS) != FALSE;
    const auto setWidth = [h](int col, int px) { SSSetColWidthInPixels(h, col, std::max(px, 0)); };

    switch (m_fitMode) {
    case 1: {
        const int n = cols + (headerShown ? 1 : 0);
        if (n == 0)
            return;
        const int each = width / n;
        for (int col = 1; col <= cols; ++col)
            setWidth(col, each);
        if (headerShown)
            setWidth(0, each);
        break;
    }
    case 2: {
        const int rows = getRowCount();
        if (cols >= 1) {
            SS_CELLTYPE type;
            SSSetTypeStaticText(h, &type, kHeaderStaticStyle);
            SSSetCellTypeRange(h, 1, HEADER, cols, HEADER, &type);
        }
        for (int col = 1; col <= cols; ++col)
            autoSizeColumn(col, false);
        for (int row = 1; row <= rows; ++row)
            autoSizeRow(row);
        break;
    }
    case 3: {
        const int n = m_fitParam1;
        if (n == 0)
            return;  // no columns to give the share to
        const int count = std::abs(n);
        const int each = static_cast<int>(width * m_fitParam2 * 0.01 / count);
        const int given = std::min(count, cols);
        const int first = n > 0 ? 1 : cols - given + 1;
        const int last = n > 0 ? given : cols;
        for (int col = first; col <= last; ++col)
            setWidth(col, each);
        const int others = (cols - given) + (headerShown ? 1 : 0);
        if (others == 0)
            break;
        const int rest = std::max(width - given * each, 0) / others;
        for (int col = 1; col <= cols; ++col) {
            if (col < first || col > last)
                setWidth(col, rest);
        }
        if (headerShown)
            setWidth(0, rest);
        break;
    }
    case 4: {
        const int named = m_fitParam1 == HEADER ? 0 : m_fitParam1;
        const int fixed = m_fitParam2;
        if (named >= 0 && named <= cols)
            setWidth(named, fixed);
        // Shared by the columns that take part: those shown and not the named one.
        int receivers = 0;
        for (int col = 1; col <= cols; ++col)
            receivers += col != named ? 1 : 0;
        const bool headerReceives = headerShown && named != 0;
        receivers += headerReceives ? 1 : 0;
        if (receivers == 0)
            break;
        const int rest = std::max(width - fixed, 0) / receivers;
        for (int col = 1; col <= cols; ++col) {
            if (col != named)
                setWidth(col, rest);
        }
        if (headerReceives)
            setWidth(0, rest);
        break;
    }
    case 5: {
        const int listed = std::min(m_fitColumns.length(), m_fitWidths.length());
        std::vector<bool> fixed(static_cast<size_t>(cols) + 1, false);
        int used = 0;
        for (int i = 0; i < listed; ++i) {
            const int col = m_fitColumns[i] == HEADER ? 0 : m_fitColumns[i];
            if (col < 0 || col > cols || fixed[static_cast<size_t>(col)])
                continue;
            fixed[static_cast<size_t>(col)] = true;
            setWidth(col, m_fitWidths[i]);
            if (col != 0 || headerShown)
                used += m_fitWidths[i];
        }
        int receivers = 0;
        for (int col = 1; col <= cols; ++col)
            receivers += fixed[static_cast<size_t>(col)] ? 0 : 1;
        const bool headerReceives = headerShown && !fixed[0];
        receivers += headerReceives ? 1 : 0;
        if (receivers == 0)
            break;
        const int rest = std::max(width - used, 0) / receivers;
        for (int col = 1; col <= cols; ++col) {
            if (!fixed[static_cast<size_t>(col)])
                setWidth(col, rest);
        }
        if (headerReceives)
            setWidth(0, rest);
        break;
    }
    default:
        break;
    }
}

// --- Autosizing ------------------------------------------------------------------------------------

bool Kx_Spread::autoSizeColumn(int col, bool skipType8)
{
    if (!m_attached)
        return false;
    double widest = 0.0;
    if (!skipType8) {
        // The grid's own scan over the header and every row: the same widths as the cell-by-cell
        // loop below, without a call per cell.
        if (!SSGetMaxTextColWidth(m_hWnd, col, &widest))
            return false;
    } else {
        const int rows = getRowCount();
        for (int row = 0; row <= rows; ++row) {
            const int r = row == 0 ? HEADER : row;
            if (SSGetCellType(m_hWnd, col, r) == kTypeSkippedBySizing)
                continue;
            double w = 0.0;
            double hgt = 0.0;
            if (SSGetMaxTextCellSize(m_hWnd, col, r, &w, &hgt))
                widest = std::max(widest, w);
        }
    }
    return SSSetColWidth(m_hWnd, col, widest) != FALSE;
}

bool Kx_Spread::autoSizeRow(int row)
{
    if (!m_attached)
        return false;
    double highest = 0.0;
    if (!SSGetMaxTextRowHeight(m_hWnd, row, &highest))
        return false;
    return SSSetRowHeight(m_hWnd, row, highest) != FALSE;
}

bool Kx_Spread::autoSizeColumns(bool skipType8)
{
    if (!m_attached)
        return false;
    const int cols = getColCount();
    if (cols >= 1) {
        SS_CELLTYPE type;
        SSSetTypeStaticText(m_hWnd, &type, kHeaderStaticStyle);
        SSSetCellTypeRange(m_hWnd, 1, HEADER, cols, HEADER, &type);
    }
    bool ok = true;
    for (int col = 1; col <= cols; ++col)
        ok = autoSizeColumn(col, skipType8) && ok;
    return ok;
}

bool Kx_Spread::autoSizeRows()
{
    if (!m_attached)
        return false;
    const int rows = getRowCount();
    if (rows >= 1) {
        SS_CELLTYPE type;
        SSSetTypeStaticText(m_hWnd, &type, kHeaderStaticStyle);
        SSSetCellTypeRange(m_hWnd, HEADER, 1, HEADER, rows, &type);
    }
    bool ok = true;
    for (int row = 1; row <= rows; ++row)
        ok = autoSizeRow(row) && ok;
    return ok;
}

bool Kx_Spread::autoSizeAll()
{
    if (!m_attached)
        return false;
    bool ok = autoSizeColumns(false);
    ok = autoSizeRows() && ok;
    ok = autoSizeRow(HEADER) && ok;
    ok = autoSizeColumn(HEADER, false) && ok;
    return ok;
}

// --- Cell types ------------------------------------------------------------------------------------

bool Kx_Spread::setEditType(int col1, int row1, int col2, int row2, long style, int maxLength)
{
    if (!m_attached)
        return false;
    SS_CELLTYPE type;
    SSSetTypeEdit(m_hWnd, &type, style, maxLength, SS_CHRSET_ANY, SS_CASE_ASTYPED);
    return SSSetCellTypeRange(m_hWnd, col1, row1, col2, row2, &type) != FALSE;
}

bool Kx_Spread::setEditRange(int col1, int row1, int col2, int row2)
{
    return setEditType(col1, row1, col2, row2, 0x110000, 200);
}

bool Kx_Spread::setColumnEdit(int col)
{
    const int rows = getRowCount();
    return rows >= 1 && setEditRange(col, 1, col, rows);
}

bool Kx_Spread::setNumberType(int col1, int row1, int col2, int row2, int decimals, bool flag)
{
    if (!m_attached)
        return false;
    SS_CELLTYPE type;
    SSSetTypeNumber(m_hWnd, &type, flag ? 0x10400000 : 0x10100000, static_cast<short>(decimals), -99999999999999.0,
                    99999999999999.0);
    return SSSetCellTypeRange(m_hWnd, col1, row1, col2, row2, &type) != FALSE;
}

bool Kx_Spread::setColumnNumber(int col, int decimals, bool flag)
{
    const int rows = getRowCount();
    return rows >= 1 && setNumberType(col, 1, col, rows, decimals, flag);
}

bool Kx_Spread::setColumnCombo(int col, const Kx_StringArray& items, bool editable)
{
    if (!m_attached || col < 1 || col > getColCount())
        return false;
    const int rows = getRowCount();
    if (rows < 1)
        return false;
    std::string list;
    for (int i = 0; i < items.length(); ++i) {
        if (i > 0)
            list += '\t';
        list += items[i].str();
    }
    SS_CELLTYPE type;
    SSSetTypeComboBox(m_hWnd, &type, editable ? 0x100002 : 0x100000, list.c_str());
    return SSSetCellTypeRange(m_hWnd, col, 1, col, rows, &type) != FALSE;
}

bool Kx_Spread::ensureCheckPictures()
{
    if (!m_checkPicture1 || !m_checkPicture2) {
        // The module's own copies, loaded once from its resources.
        ZnTempResourceOverride resources;
        auto first = std::make_unique<CBitmap>();
        auto second = std::make_unique<CBitmap>();
        first->LoadBitmap(8134);
        second->LoadBitmap(8136);
        m_checkPicture1 = std::move(first);
        m_checkPicture2 = std::move(second);
    }
    return m_checkPicture1->GetSafeHandle() != nullptr && m_checkPicture2->GetSafeHandle() != nullptr;
}

bool Kx_Spread::applyCheckBoxType(int col1, int row1, int col2, int row2)
{
    // Without the pictures the grid draws its plain boxes; the cells still work.
    ensureCheckPictures();
    SS_CELLTYPE type;
    SSSetTypeCheckBox(m_hWnd, &type, 0x300, "", m_checkPicture1->GetSafeHandle(), m_checkPicture2->GetSafeHandle());
    if (col1 == col2 && row1 == row2)
        return SSSetCellType(m_hWnd, col1, row1, &type) != FALSE;
    return SSSetCellTypeRange(m_hWnd, col1, row1, col2, row2, &type) != FALSE;
}

bool Kx_Spread::setColumnCheckBox(int col, bool border, bool joinHeader)
{
    if (!m_attached)
        return false;
    const int rows = getRowCount();
    if (rows < 1)
        return false;
    if (!applyCheckBoxType(col, 1, col, rows))
        return false;
    if (border)
        SSSetBorderRange(m_hWnd, col, 1, col, rows, 2, 6, 0);
    if (joinHeader)
        SSAddCellSpan(m_hWnd, col, HEADER, 2, 1);
    return true;
}

bool Kx_Spread::setCheckBoxCell(int col, int row, bool border)
{
    if (!m_attached || !applyCheckBoxType(col, row, col, row))
        return false;
    if (border)
        SSSetBorder(m_hWnd, col, row, 2, 6, 0);
    return true;
}

bool Kx_Spread::setButtonCell(int col, int row, const Kx_String& caption)
{
    if (!m_attached)
        return false;
    SS_CELLTYPE type;
    SSSetTypeButton(m_hWnd, &type, 0, caption.c_str());
    return SSSetCellType(m_hWnd, col, row, &type) != FALSE;
}

bool Kx_Spread::setImageCell(const Kx_String& imageFile, int col, int row, int& extraRows)
{
    if (!m_attached || imageFile.isEmpty())
        return false;
    HBITMAP picture = kxwin::loadBitmapFile(imageFile.str());
    if (picture == nullptr)
        return false;
    const SIZE size = kxwin::bitmapSize(picture);
    DeleteObject(picture);
    extraRows = 0;
    SSSetRowHeightInPixels(m_hWnd, row, static_cast<int>(size.cy));
    // Joined to the last column: a span as wide as the whole grid from a later column would leave
    // the sheet and be refused.
    const int span = getColCount() - col + 1;
    if (span >= 2)
        SSAddCellSpan(m_hWnd, col, row, span, 1);
    if (col > 1)
        SSSetBorder(m_hWnd, col - 1, row, 18, 6, kSystemWindowFrame);
    SS_CELLTYPE type;
    SSSetTypePicture(m_hWnd, &type, 0x24, imageFile.c_str());
    return SSSetCellType(m_hWnd, col, row, &type) != FALSE;
}

bool Kx_Spread::setResourcePicture(int col, int row, int resourceId, bool isIcon)
{
    if (!m_attached)
        return false;
    ZnTempResourceOverride resources;
    SS_CELLTYPE type;
    if (isIcon) {
        HICON icon = LoadIcon(resourceId);
        if (icon == nullptr)
            return false;
        m_resourceIcons.push_back(icon);
        SSSetTypePictureHandle(m_hWnd, &type, 0x211004, icon);
    } else {
        HBITMAP bitmap = LoadBitmap(resourceId);
        if (bitmap == nullptr)
            return false;
        m_resourceBitmaps.push_back(bitmap);
        SSSetTypePictureHandle(m_hWnd, &type, 0x210024, bitmap);
    }
    return SSSetCellType(m_hWnd, col, row, &type) != FALSE;
}

int Kx_Spread::getCellType(int col, int row) const
{
    return m_attached ? SSGetCellType(m_hWnd, col, row) : -1;
}

bool Kx_Spread::setLock(int col, int row, bool locked)
{
    return m_attached && SSSetLock(m_hWnd, col, row, locked ? TRUE : FALSE) != FALSE;
}

bool Kx_Spread::lockColumn(int col)
{
    const int rows = getRowCount();
    return rows >= 1 && SSSetLockRange(m_hWnd, col, 1, col, rows, TRUE) != FALSE;
}
