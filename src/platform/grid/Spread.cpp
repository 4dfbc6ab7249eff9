// The SS functions: argument checks and the mapping onto one grid's state. Every function catches
// what the store may throw (memory) and reports it as its failure result.
#include "platform/grid/Spread.h"

#include "platform/grid/GridControl.h"
#include "platform/grid/SheetFormulas.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <cmath>
#include <new>

using kxgrid::detail::Cell;
using kxgrid::detail::CellStyle;
using kxgrid::detail::Grid;
using kxgrid::detail::gridOf;

namespace {

// Runs f on the grid of hwnd; `failed` when there is none or f throws.
template <typename R, typename F>
R withGrid(HWND hwnd, R failed, F&& f)
{
    Grid* g = gridOf(hwnd);
    if (g == nullptr)
        return failed;
    try {
        return f(*g);
    } catch (...) {
        return failed;
    }
}

std::string_view textArg(LPCSTR text)
{
    return text ? std::string_view(text) : std::string_view();
}

int readText(HWND hwnd, int col, int row, LPSTR buffer, int size, std::string (*get)(const Grid&, int, int))
{
    return withGrid(hwnd, -1, [&](Grid& g) {
        if (!g.cellArg(col, row))
            return -1;
        return kxgrid::detail::copyOut(get(g, col, row), buffer, size);
    });
}

int textLength(HWND hwnd, int col, int row, std::string (*get)(const Grid&, int, int))
{
    return withGrid(hwnd, -1, [&](Grid& g) {
        if (!g.cellArg(col, row))
            return -1;
        return static_cast<int>(get(g, col, row).size());
    });
}

std::string dataOf(const Grid& g, int c, int r) { return g.data(c, r); }
std::string valueOf(const Grid& g, int c, int r) { return g.value(c, r); }
std::string tagOf(const Grid& g, int c, int r)
{
    const Cell* cell = g.sheet().find(c, r);
    return cell ? cell->tag() : std::string();
}
std::string noteOf(const Grid& g, int c, int r)
{
    const Cell* cell = g.sheet().find(c, r);
    return cell ? cell->note() : std::string();
}
std::string formulaOf(const Grid& g, int c, int r)
{
    const Cell* cell = g.sheet().find(c, r);
    if (!cell || cell->formula().empty())
        return std::string();
    std::string shown;
    if (g.hook && g.hook->formulaText(g.hwnd(), c, r, shown))
        return shown;
    return cell->formula();
}

BOOL restyleBlock(HWND hwnd, int col1, int row1, int col2, int row2, const std::function<void(CellStyle&)>& change)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.blockArg(col1, row1, col2, row2))
            return FALSE;
        g.sheet().restyle(col1, row1, col2, row2, change);
        g.changed();
        return TRUE;
    });
}

void setBorderSides(CellStyle& s, WORD type, const kxgrid::detail::Border& b)
{
    using namespace kxgrid::detail;
    if (type & SS_BORDERTYPE_LEFT)
        s.borders[kLeft] = b;
    if (type & SS_BORDERTYPE_RIGHT)
        s.borders[kRight] = b;
    if (type & SS_BORDERTYPE_TOP)
        s.borders[kTop] = b;
    if (type & SS_BORDERTYPE_BOTTOM)
        s.borders[kBottom] = b;
}

constexpr double kPixelsPerPoint = 4.0 / 3.0;

int clampPixels(double px)
{
    if (!std::isfinite(px))
        return -1;
    return static_cast<int>(std::lround(std::clamp(px, 0.0, 100000.0)));
}

} // namespace

// --- Counts ----------------------------------------------------------------------------------------

BOOL SSSetMaxRows(HWND hwnd, int rows)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (rows == g.sheet().rows())
            return TRUE;
        if (!g.sheet().setRows(rows))
            return FALSE;
        g.clampView();
        if (kxgrid::detail::SheetFormulas* f = g.formulas())
            f->sizeChanged();
        g.changed();
        return TRUE;
    });
}

BOOL SSSetMaxCols(HWND hwnd, int cols)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (cols == g.sheet().cols())
            return TRUE;
        if (!g.sheet().setCols(cols))
            return FALSE;
        g.clampView();
        if (kxgrid::detail::SheetFormulas* f = g.formulas())
            f->sizeChanged();
        g.changed();
        return TRUE;
    });
}

int SSGetMaxRows(HWND hwnd) { return withGrid(hwnd, -1, [](Grid& g) { return g.sheet().rows(); }); }
int SSGetMaxCols(HWND hwnd) { return withGrid(hwnd, -1, [](Grid& g) { return g.sheet().cols(); }); }

// --- Texts -----------------------------------------------------------------------------------------

BOOL SSSetData(HWND hwnd, int col, int row, LPCSTR text)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        return g.cellArg(col, row) && g.setData(col, row, textArg(text)) ? TRUE : FALSE;
    });
}

int SSGetData(HWND hwnd, int col, int row, LPSTR buffer, int size) { return readText(hwnd, col, row, buffer, size, dataOf); }
int SSGetDataLen(HWND hwnd, int col, int row) { return textLength(hwnd, col, row, dataOf); }

BOOL SSSetValue(HWND hwnd, int col, int row, LPCSTR text)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        return g.cellArg(col, row) && g.setValue(col, row, textArg(text)) ? TRUE : FALSE;
    });
}

int SSGetValue(HWND hwnd, int col, int row, LPSTR buffer, int size) { return readText(hwnd, col, row, buffer, size, valueOf); }
int SSGetValueLen(HWND hwnd, int col, int row) { return textLength(hwnd, col, row, valueOf); }

BOOL SSSetFormula(HWND hwnd, int col, int row, LPCSTR formula, BOOL)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        return g.cellArg(col, row) && g.setFormula(col, row, textArg(formula)) ? TRUE : FALSE;
    });
}

int SSGetFormula(HWND hwnd, int col, int row, LPSTR buffer, int size) { return readText(hwnd, col, row, buffer, size, formulaOf); }
int SSGetFormulaLen(HWND hwnd, int col, int row) { return textLength(hwnd, col, row, formulaOf); }

BOOL SSSetCellTag(HWND hwnd, int col, int row, LPCSTR tag)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) { return g.cellArg(col, row) && g.setTag(col, row, textArg(tag)) ? TRUE : FALSE; });
}

int SSGetCellTag(HWND hwnd, int col, int row, LPSTR buffer, int size) { return readText(hwnd, col, row, buffer, size, tagOf); }
int SSGetCellTagLen(HWND hwnd, int col, int row) { return textLength(hwnd, col, row, tagOf); }

BOOL SSSetCellNote(HWND hwnd, int col, int row, LPCSTR note)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) { return g.cellArg(col, row) && g.setNote(col, row, textArg(note)) ? TRUE : FALSE; });
}

int SSGetCellNote(HWND hwnd, int col, int row, LPSTR buffer, int size) { return readText(hwnd, col, row, buffer, size, noteOf); }

BOOL SSSetCellNoteIndicator(HWND hwnd, int indicator)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        g.noteIndicator = indicator;
        return TRUE;
    });
}

BOOL SSGetFloat(HWND hwnd, int col, int row, double* value)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.cellArg(col, row))
            return FALSE;
        const Cell* c = g.sheet().find(col, row);
        const auto v = kxgrid::detail::parseNumber(c ? c->data : std::string());
        if (!v)
            return FALSE;
        if (value)
            *value = *v;
        return TRUE;
    });
}

BOOL SSSetFloat(HWND hwnd, int col, int row, double value)
{
    if (!std::isfinite(value))
        return FALSE;
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        return g.cellArg(col, row) && g.setValue(col, row, kxgrid::detail::shortestNumber(value)) ? TRUE : FALSE;
    });
}

BOOL SSClearData(HWND hwnd, int col1, int row1, int col2, int row2)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.blockArg(col1, row1, col2, row2))
            return FALSE;
        for (int r = row1; r <= row2; ++r)
            for (int c = col1; c <= col2; ++c) {
                const Cell* cell = g.sheet().find(c, r);
                if (!cell || (cell->data.empty() && !cell->extra))
                    continue;
                if (!cell->formula().empty() && g.hook)
                    g.hook->formulaChanged(hwnd, c, r, std::string());
                Cell& w = g.sheet().at(c, r);
                w.data.clear();
                w.extra.reset();
            }
        if (kxgrid::detail::SheetFormulas* f = g.formulas())
            f->blockChanged(col1, row1, col2, row2);
        g.changed();
        return TRUE;
    });
}

// --- Cell types ------------------------------------------------------------------------------------

SS_CELLTYPE* SSSetTypeEdit(HWND, SS_CELLTYPE* type, long style, int maxLength, short charSet, short charCase)
{
    if (!type)
        return nullptr;
    *type = SS_CELLTYPE();
    type->type = SS_TYPE_EDIT;
    type->style = style;
    type->maxLength = std::clamp(maxLength, 0, SS_MAX_TEXT);
    type->charSet = charSet;
    type->charCase = charCase;
    return type;
}

SS_CELLTYPE* SSSetTypeNumber(HWND, SS_CELLTYPE* type, long style, short decimals, double min, double max)
{
    if (!type)
        return nullptr;
    *type = SS_CELLTYPE();
    type->type = SS_TYPE_NUMBER;
    type->style = style;
    type->decimals = std::clamp<int>(decimals, 0, 15);
    if (!std::isfinite(min))
        min = -1e300;
    if (!std::isfinite(max))
        max = 1e300;
    type->minValue = std::min(min, max);
    type->maxValue = std::max(min, max);
    return type;
}

SS_CELLTYPE* SSSetTypeComboBox(HWND, SS_CELLTYPE* type, long style, LPCSTR items)
{
    if (!type)
        return nullptr;
    *type = SS_CELLTYPE();
    type->type = SS_TYPE_COMBOBOX;
    type->style = style;
    const std::string_view list = textArg(items);
    type->items.assign(list.substr(0, std::min(list.size(), static_cast<size_t>(SS_MAX_TEXT))));
    return type;
}

SS_CELLTYPE* SSSetTypeCheckBox(HWND, SS_CELLTYPE* type, long style, LPCSTR text, HBITMAP checked, HBITMAP unchecked)
{
    if (!type)
        return nullptr;
    *type = SS_CELLTYPE();
    type->type = SS_TYPE_CHECKBOX;
    type->style = style;
    type->text.assign(textArg(text).substr(0, 4096));
    type->picture1 = checked;
    type->picture2 = unchecked;
    return type;
}

SS_CELLTYPE* SSSetTypeButton(HWND, SS_CELLTYPE* type, long style, LPCSTR text)
{
    if (!type)
        return nullptr;
    *type = SS_CELLTYPE();
    type->type = SS_TYPE_BUTTON;
    type->style = style;
    type->text.assign(textArg(text).substr(0, 4096));
    return type;
}

SS_CELLTYPE* SSSetTypeStaticText(HWND, SS_CELLTYPE* type, long style)
{
    if (!type)
        return nullptr;
    *type = SS_CELLTYPE();
    type->type = SS_TYPE_STATICTEXT;
    type->style = style;
    return type;
}

SS_CELLTYPE* SSSetTypePicture(HWND, SS_CELLTYPE* type, long style, LPCSTR file)
{
    if (!type)
        return nullptr;
    *type = SS_CELLTYPE();
    type->type = SS_TYPE_PICTURE;
    type->style = style;
    type->pictureFile.assign(textArg(file).substr(0, 4096));
    type->pixels = kxgrid::detail::picturePixelsOfFile(type->pictureFile);
    return type;
}

SS_CELLTYPE* SSSetTypePictureHandle(HWND, SS_CELLTYPE* type, long style, void* handle)
{
    if (!type)
        return nullptr;
    *type = SS_CELLTYPE();
    type->type = SS_TYPE_PICTURE;
    type->style = style;
    type->picture1 = handle;
    type->pixels = kxgrid::detail::picturePixelsOfHandle(handle, (style & SS_PICTURE_ICON) != 0);
    return type;
}

BOOL SSSetCellType(HWND hwnd, int col, int row, const SS_CELLTYPE* type)
{
    return SSSetCellTypeRange(hwnd, col, row, col, row, type);
}

BOOL SSSetCellTypeRange(HWND hwnd, int col1, int row1, int col2, int row2, const SS_CELLTYPE* type)
{
    if (!type)
        return FALSE;
    switch (static_cast<SSCellType>(type->type)) {
    case SSCellType::Edit: case SSCellType::Picture: case SSCellType::StaticText: case SSCellType::Button:
    case SSCellType::ComboBox: case SSCellType::CheckBox: case SSCellType::Number:
        break;
    default:
        return FALSE;
    }
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.blockArg(col1, row1, col2, row2))
            return FALSE;
        // A record made by hand (not by SSSetTypePicture) takes its picture's pixels here.
        if (type->type == SS_TYPE_PICTURE && !type->pixels && (!type->pictureFile.empty() || type->picture1)) {
            SS_CELLTYPE withPixels = *type;
            withPixels.pixels = withPixels.pictureFile.empty()
                                    ? kxgrid::detail::picturePixelsOfHandle(withPixels.picture1, (withPixels.style & SS_PICTURE_ICON) != 0)
                                    : kxgrid::detail::picturePixelsOfFile(withPixels.pictureFile);
            g.setType(col1, row1, col2, row2, withPixels);
            return TRUE;
        }
        g.setType(col1, row1, col2, row2, *type);
        return TRUE;
    });
}

int SSGetCellType(HWND hwnd, int col, int row)
{
    return withGrid(hwnd, -1, [&](Grid& g) { return g.cellArg(col, row) ? g.typeOf(col, row).type : -1; });
}

BOOL SSGetCellTypeRecord(HWND hwnd, int col, int row, SS_CELLTYPE* type)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!type || !g.cellArg(col, row))
            return FALSE;
        *type = g.typeOf(col, row);
        return TRUE;
    });
}

// --- Locks, fonts, colours, borders ----------------------------------------------------------------

BOOL SSSetLock(HWND hwnd, int col, int row, BOOL locked) { return SSSetLockRange(hwnd, col, row, col, row, locked); }

BOOL SSSetLockRange(HWND hwnd, int col1, int row1, int col2, int row2, BOOL locked)
{
    return restyleBlock(hwnd, col1, row1, col2, row2, [&](CellStyle& s) { s.locked = locked != FALSE; });
}

BOOL SSGetLock(HWND hwnd, int col, int row)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) { return g.cellArg(col, row) && g.isLocked(col, row) ? TRUE : FALSE; });
}

BOOL SSSetFont(HWND hwnd, int col, int row, HFONT font, BOOL redraw) { return SSSetFontRange(hwnd, col, row, col, row, font, redraw); }

BOOL SSSetFontRange(HWND hwnd, int col1, int row1, int col2, int row2, HFONT font, BOOL)
{
    if (font != nullptr && !kxwin::isFont(font))
        return FALSE;
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.blockArg(col1, row1, col2, row2))
            return FALSE;
        const std::uint32_t index = font ? g.sheet().internFont(kxwin::fontDescription(font)) : 0;
        g.sheet().restyle(col1, row1, col2, row2, [&](CellStyle& s) { s.font = index; });
        g.changed();
        return TRUE;
    });
}

BOOL SSGetFont(HWND hwnd, int col, int row, LOGFONT* font)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!font || !g.cellArg(col, row))
            return FALSE;
        *font = g.cellFont(col, row);
        return TRUE;
    });
}

BOOL SSSetColor(HWND hwnd, int col, int row, COLORREF back, COLORREF fore) { return SSSetColorRange(hwnd, col, row, col, row, back, fore); }

BOOL SSSetColorRange(HWND hwnd, int col1, int row1, int col2, int row2, COLORREF back, COLORREF fore)
{
    return restyleBlock(hwnd, col1, row1, col2, row2, [&](CellStyle& s) {
        if (back != SS_COLOR_KEEP)
            s.back = back;
        if (fore != SS_COLOR_KEEP)
            s.fore = fore;
    });
}

BOOL SSGetColor(HWND hwnd, int col, int row, COLORREF* back, COLORREF* fore)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.cellArg(col, row))
            return FALSE;
        const CellStyle& s = g.sheet().styleOf(col, row);
        if (back)
            *back = s.back;
        if (fore)
            *fore = s.fore;
        return TRUE;
    });
}

BOOL SSSetBorder(HWND hwnd, int col, int row, WORD type, WORD style, COLORREF color)
{
    return SSSetBorderRange(hwnd, col, row, col, row, type, style, color);
}

BOOL SSSetBorderRange(HWND hwnd, int col1, int row1, int col2, int row2, WORD type, WORD style, COLORREF color)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.blockArg(col1, row1, col2, row2))
            return FALSE;
        const kxgrid::detail::Border b{style, color};
        if (type & SS_BORDERTYPE_OUTLINE) {
            // Only the edges of the block.
            g.sheet().restyle(col1, row1, col1, row2, [&](CellStyle& s) { setBorderSides(s, SS_BORDERTYPE_LEFT, b); });
            g.sheet().restyle(col2, row1, col2, row2, [&](CellStyle& s) { setBorderSides(s, SS_BORDERTYPE_RIGHT, b); });
            g.sheet().restyle(col1, row1, col2, row1, [&](CellStyle& s) { setBorderSides(s, SS_BORDERTYPE_TOP, b); });
            g.sheet().restyle(col1, row2, col2, row2, [&](CellStyle& s) { setBorderSides(s, SS_BORDERTYPE_BOTTOM, b); });
        }
        g.sheet().restyle(col1, row1, col2, row2, [&](CellStyle& s) { setBorderSides(s, type, b); });
        g.changed();
        return TRUE;
    });
}

BOOL SSGetBorder(HWND hwnd, int col, int row, WORD side, WORD* style, COLORREF* color)
{
    using namespace kxgrid::detail;
    int index = -1;
    if (side == SS_BORDERTYPE_LEFT)
        index = kLeft;
    else if (side == SS_BORDERTYPE_RIGHT)
        index = kRight;
    else if (side == SS_BORDERTYPE_TOP)
        index = kTop;
    else if (side == SS_BORDERTYPE_BOTTOM)
        index = kBottom;
    if (index < 0)
        return FALSE;
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.cellArg(col, row))
            return FALSE;
        const Border& b = g.sheet().styleOf(col, row).borders[index];
        if (style)
            *style = b.style;
        if (color)
            *color = b.color;
        return TRUE;
    });
}

// --- Joined cells ----------------------------------------------------------------------------------

BOOL SSAddCellSpan(HWND hwnd, int col, int row, int numCols, int numRows)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.cellArg(col, row) || !g.sheet().addSpan({col, row, numCols, numRows}))
            return FALSE;
        g.changed();
        return TRUE;
    });
}

BOOL SSRemoveCellSpan(HWND hwnd, int col, int row)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.cellArg(col, row) || !g.sheet().removeSpan(col, row))
            return FALSE;
        g.changed();
        return TRUE;
    });
}

int SSGetCellSpan(HWND hwnd, int col, int row, int* anchorCol, int* anchorRow, int* numCols, int* numRows)
{
    return withGrid(hwnd, -1, [&](Grid& g) {
        if (!g.cellArg(col, row))
            return -1;
        const auto span = g.sheet().spanAt(col, row);
        const kxgrid::detail::Span s = span ? *span : kxgrid::detail::Span{col, row, 1, 1};
        if (anchorCol)
            *anchorCol = s.col;
        if (anchorRow)
            *anchorRow = s.row;
        if (numCols)
            *numCols = s.cols;
        if (numRows)
            *numRows = s.rows;
        if (!span)
            return SS_SPAN_NO;
        return (s.col == col && s.row == row) ? SS_SPAN_ANCHOR : SS_SPAN_YES;
    });
}

// --- Sizes -----------------------------------------------------------------------------------------

BOOL SSSetColWidthInPixels(HWND hwnd, int col, int pixels)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        col = Grid::normalise(col);
        if (col < 0 || col > g.sheet().cols())
            return FALSE;
        g.sheet().setColWidth(col, pixels < 0 ? -1 : std::min(pixels, 100000));
        g.changed();
        return TRUE;
    });
}

BOOL SSGetColWidthInPixels(HWND hwnd, int col, int* pixels)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        col = Grid::normalise(col);
        if (col < 0 || col > g.sheet().cols() || !pixels)
            return FALSE;
        *pixels = g.colWidthPx(col);
        return TRUE;
    });
}

BOOL SSSetColWidth(HWND hwnd, int col, double width)
{
    return SSSetColWidthInPixels(hwnd, col, width < 0 ? -1 : clampPixels(width * kxgrid::detail::kCharWidth));
}

BOOL SSGetColWidth(HWND hwnd, int col, double* width)
{
    int px = 0;
    if (!width || !SSGetColWidthInPixels(hwnd, col, &px))
        return FALSE;
    *width = px / static_cast<double>(kxgrid::detail::kCharWidth);
    return TRUE;
}

BOOL SSSetRowHeightInPixels(HWND hwnd, int row, int pixels)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        row = Grid::normalise(row);
        if (row < 0 || row > g.sheet().rows())
            return FALSE;
        g.sheet().setRowHeight(row, pixels < 0 ? -1 : std::min(pixels, 100000));
        g.changed();
        return TRUE;
    });
}

BOOL SSGetRowHeightInPixels(HWND hwnd, int row, int* pixels)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        row = Grid::normalise(row);
        if (row < 0 || row > g.sheet().rows() || !pixels)
            return FALSE;
        *pixels = g.rowHeightPx(row);
        return TRUE;
    });
}

BOOL SSSetRowHeight(HWND hwnd, int row, double height)
{
    return SSSetRowHeightInPixels(hwnd, row, height < 0 ? -1 : clampPixels(height * kPixelsPerPoint));
}

BOOL SSGetRowHeight(HWND hwnd, int row, double* height)
{
    int px = 0;
    if (!height || !SSGetRowHeightInPixels(hwnd, row, &px))
        return FALSE;
    *height = px / kPixelsPerPoint;
    return TRUE;
}

BOOL SSGetMaxTextCellSize(HWND hwnd, int col, int row, double* width, double* height)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.cellArg(col, row))
            return FALSE;
        const SIZE s = g.textSize(col, row);
        if (width)
            *width = s.cx / static_cast<double>(kxgrid::detail::kCharWidth);
        if (height)
            *height = s.cy / kPixelsPerPoint;
        return TRUE;
    });
}

BOOL SSGetMaxTextColWidth(HWND hwnd, int col, double* width)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        col = Grid::normalise(col);
        if (col < 0 || col > g.sheet().cols() || !width)
            return FALSE;
        LONG widest = 0;
        for (int r = 0; r <= g.sheet().rows(); ++r) {
            const Cell* c = g.sheet().find(col, r);
            const int type = g.typeOf(col, r).type;
            if ((!c || c->data.empty()) && type != SS_TYPE_BUTTON && type != SS_TYPE_CHECKBOX)
                continue;
            widest = std::max(widest, g.textSize(col, r).cx);
        }
        *width = widest / static_cast<double>(kxgrid::detail::kCharWidth);
        return TRUE;
    });
}

BOOL SSGetMaxTextRowHeight(HWND hwnd, int row, double* height)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        row = Grid::normalise(row);
        if (row < 0 || row > g.sheet().rows() || !height)
            return FALSE;
        LONG highest = 0;
        for (int c = 0; c <= g.sheet().cols(); ++c)
            highest = std::max(highest, g.textSize(c, row).cy);
        *height = highest / kPixelsPerPoint;
        return TRUE;
    });
}

BOOL SSGetClientRect(HWND hwnd, RECT* rect)
{
    return withGrid(hwnd, FALSE, [&](Grid&) {
        if (!rect)
            return FALSE;
        return GetClientRect(hwnd, *rect);
    });
}

BOOL SSSetAutoSizeVisible(HWND hwnd, int visibleCols, int visibleRows)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (visibleCols < 0 || visibleRows < 0)
            return FALSE;
        g.autoSizeCols = visibleCols;
        g.autoSizeRows = visibleRows;
        return TRUE;
    });
}

// --- Options and look ------------------------------------------------------------------------------

BOOL SSSetBool(HWND hwnd, int option, BOOL value)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) { return g.setOption(option, value != FALSE) ? TRUE : FALSE; });
}

BOOL SSGetBool(HWND hwnd, int option)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) { return g.option(option) ? TRUE : FALSE; });
}

BOOL SSSetAppearance(HWND hwnd, int appearance)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        g.appearance = appearance;
        return TRUE;
    });
}

BOOL SSSetActionKey(HWND hwnd, int action, BOOL shift, BOOL ctrl, WORD key)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (action < 0 || action >= 8)
            return FALSE;
        g.actionKeys[action] = {key != 0, shift != FALSE, ctrl != FALSE, key};
        return TRUE;
    });
}

BOOL SSSetGrayAreaColor(HWND hwnd, COLORREF back, COLORREF fore)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        g.grayBack = back;
        g.grayFore = fore;
        return TRUE;
    });
}

BOOL SSSetCursor(HWND hwnd, int type, long cursor)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        g.cursorType = type;
        g.cursorHandle = cursor;
        return TRUE;
    });
}

BOOL SSSetSelColor(HWND hwnd, COLORREF back, COLORREF fore)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        g.selBack = back;
        g.selFore = fore;
        return TRUE;
    });
}

BOOL SSSetLockColor(HWND hwnd, COLORREF back, COLORREF fore)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        g.lockBack = back;
        g.lockFore = fore;
        return TRUE;
    });
}

BOOL SSSetEditEnterAction(HWND hwnd, int action)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (action < SS_ENTERACTION_NONE || action > SS_ENTERACTION_NEXT)
            return FALSE;
        g.enterAction = action;
        return TRUE;
    });
}

BOOL SSSetGridType(HWND hwnd, WORD type)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        g.gridType = type;
        return TRUE;
    });
}

BOOL SSSetGridColor(HWND hwnd, COLORREF color)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        g.gridColor = color;
        return TRUE;
    });
}

BOOL SSGetTextTip(HWND hwnd, WORD* status, DWORD* delay, LOGFONT* font, COLORREF* back, COLORREF* fore)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (status)
            *status = g.textTip.status;
        if (delay)
            *delay = g.textTip.delay;
        if (font)
            *font = g.textTip.font;
        if (back)
            *back = g.textTip.back;
        if (fore)
            *fore = g.textTip.fore;
        return TRUE;
    });
}

BOOL SSSetTextTip(HWND hwnd, WORD status, DWORD delay, const LOGFONT* font, COLORREF back, COLORREF fore)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (status > SS_TEXTTIP_FLOATING)
            return FALSE;
        g.textTip.status = status;
        g.textTip.delay = delay;
        if (font)
            g.textTip.font = *font;
        if (back != SS_COLOR_KEEP)
            g.textTip.back = back;
        if (fore != SS_COLOR_KEEP)
            g.textTip.fore = fore;
        return TRUE;
    });
}

// --- Active cell, selection, editing ---------------------------------------------------------------

BOOL SSGetActiveCell(HWND hwnd, int* col, int* row)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (g.sheet().rows() < 1 || g.sheet().cols() < 1)
            return FALSE;
        if (col)
            *col = g.activeCol;
        if (row)
            *row = g.activeRow;
        return TRUE;
    });
}

BOOL SSSetActiveCell(HWND hwnd, int col, int row)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (col < 1 || row < 1 || col > g.sheet().cols() || row > g.sheet().rows())
            return FALSE;
        // A caller placing the cursor is no user leaving a cell: no notifications.
        if (!g.commitEdit())
            g.cancelEdit();
        g.activeCol = col;
        g.activeRow = row;
        g.cellEdited = false;
        g.hasBlock = false;
        if (g.option(SSB_REDRAW))
            kxwin::notifyWindowChanged(hwnd, kxwin::WindowChange::Content);
        return TRUE;
    });
}

BOOL SSGetSelectBlock(HWND hwnd, int* col1, int* row1, int* col2, int* row2)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.hasBlock)
            return FALSE;
        if (col1)
            *col1 = g.blockCol1;
        if (row1)
            *row1 = g.blockRow1;
        if (col2)
            *col2 = g.blockCol2;
        if (row2)
            *row2 = g.blockRow2;
        return TRUE;
    });
}

BOOL SSSetSelectBlock(HWND hwnd, int col1, int row1, int col2, int row2)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.blockArg(col1, row1, col2, row2))
            return FALSE;
        g.hasBlock = true;
        g.blockCol1 = col1;
        g.blockRow1 = row1;
        g.blockCol2 = col2;
        g.blockRow2 = row2;
        if (g.option(SSB_REDRAW))
            kxwin::notifyWindowChanged(hwnd, kxwin::WindowChange::Content);
        return TRUE;
    });
}

BOOL SSClearSelection(HWND hwnd)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        g.hasBlock = false;
        return TRUE;
    });
}

BOOL SSGetEditMode(HWND hwnd)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) { return g.editor.active ? TRUE : FALSE; });
}

BOOL SSSetEditMode(HWND hwnd, BOOL on)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (on)
            return g.startEdit(false) ? TRUE : FALSE;
        return g.commitEdit() ? TRUE : FALSE;
    });
}

BOOL SSGetSel(HWND hwnd, int* start, int* end)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.editor.active)
            return FALSE;
        if (start)
            *start = std::min(g.editor.selStart, g.editor.selEnd);
        if (end)
            *end = std::max(g.editor.selStart, g.editor.selEnd);
        return TRUE;
    });
}

BOOL SSSetSel(HWND hwnd, int start, int end)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.editor.active)
            return FALSE;
        const int n = static_cast<int>(g.editor.text.size());
        if (end < 0 || end > n)
            end = n;
        start = std::clamp(start, 0, n);
        g.editor.selStart = std::min(start, end);
        g.editor.selEnd = std::max(start, end);
        return TRUE;
    });
}

BOOL SSGetNotifyCell(HWND hwnd, int* col, int* row)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (col)
            *col = g.notifyCol;
        if (row)
            *row = g.notifyRow;
        return TRUE;
    });
}

// --- Structure -------------------------------------------------------------------------------------

namespace {

BOOL structure(HWND hwnd, bool (kxgrid::detail::Sheet::*op)(int), void (kxgrid::detail::SheetFormulas::*moved)(int),
               int index)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.commitEdit())
            g.cancelEdit();
        if (!(g.sheet().*op)(index))
            return FALSE;
        // The engine moves its formulas after the sheet moved the cells.
        if (kxgrid::detail::SheetFormulas* f = g.formulas())
            (f->*moved)(index);
        g.clampView();
        g.changed();
        return TRUE;
    });
}

} // namespace

using kxgrid::detail::Sheet;
using kxgrid::detail::SheetFormulas;
BOOL SSInsRow(HWND hwnd, int row) { return structure(hwnd, &Sheet::insertRow, &SheetFormulas::rowInserted, row); }
BOOL SSDelRow(HWND hwnd, int row) { return structure(hwnd, &Sheet::deleteRow, &SheetFormulas::rowDeleted, row); }
BOOL SSInsCol(HWND hwnd, int col) { return structure(hwnd, &Sheet::insertCol, &SheetFormulas::colInserted, col); }
BOOL SSDelCol(HWND hwnd, int col) { return structure(hwnd, &Sheet::deleteCol, &SheetFormulas::colDeleted, col); }

BOOL SSCopyRange(HWND hwnd, int col1, int row1, int col2, int row2, int destCol, int destRow)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        col1 = Grid::normalise(col1), row1 = Grid::normalise(row1), col2 = Grid::normalise(col2);
        row2 = Grid::normalise(row2), destCol = Grid::normalise(destCol), destRow = Grid::normalise(destRow);
        SheetFormulas* f = g.formulas();
        if (f && g.blockArg(col1, row1, col2, row2) && g.sheet().validCell(destCol, destRow))
            f->beforeMove(col1, row1, col2, row2, destCol, destRow, false);
        if (!g.sheet().copyRange(col1, row1, col2, row2, destCol, destRow))
            return FALSE;
        if (f)
            f->afterMove();
        g.changed();
        return TRUE;
    });
}

BOOL SSSwapRange(HWND hwnd, int col1, int row1, int col2, int row2, int destCol, int destRow)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        col1 = Grid::normalise(col1), row1 = Grid::normalise(row1), col2 = Grid::normalise(col2);
        row2 = Grid::normalise(row2), destCol = Grid::normalise(destCol), destRow = Grid::normalise(destRow);
        SheetFormulas* f = g.formulas();
        if (f && g.blockArg(col1, row1, col2, row2) && g.sheet().validCell(destCol, destRow))
            f->beforeMove(col1, row1, col2, row2, destCol, destRow, true);
        if (!g.sheet().swapRange(col1, row1, col2, row2, destCol, destRow))
            return FALSE;
        if (f)
            f->afterMove();
        g.changed();
        return TRUE;
    });
}

// --- Formulas --------------------------------------------------------------------------------------

BOOL SSSetRefStyle(HWND hwnd, short style)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (style < SS_REFSTYLE_DEFAULT || style > SS_REFSTYLE_R1C1)
            return FALSE;
        g.refStyle = style;
        if (g.hook)
            g.hook->refStyleChanged(hwnd, style);
        return TRUE;
    });
}

short SSGetRefStyle(HWND hwnd)
{
    return withGrid(hwnd, static_cast<short>(-1), [&](Grid& g) { return g.refStyle; });
}

BOOL SSReCalc(HWND hwnd)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) { return (!g.hook || g.hook->recalculate(hwnd)) ? TRUE : FALSE; });
}

BOOL SSReCalcCell(HWND hwnd, int col, int row)
{
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        if (!g.cellArg(col, row))
            return FALSE;
        return (!g.hook || g.hook->recalculateCell(hwnd, col, row)) ? TRUE : FALSE;
    });
}

BOOL SSAddCustomFunctionExt(HWND hwnd, LPCSTR name, short minArgs, short maxArgs, SSFUNCPROC proc, long flags)
{
    const std::string_view n = textArg(name);
    if (n.empty() || n.size() > 255 || minArgs < 0 || maxArgs < minArgs)
        return FALSE;
    return withGrid(hwnd, FALSE, [&](Grid& g) {
        std::string upper(n);
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
        SheetFormulas* engine = g.formulas();
        if (engine && !proc)
            return FALSE;
        std::erase_if(g.customFunctions, [&](const kxgrid::detail::CustomFunction& f) { return f.name == upper; });
        if (g.hook)
            g.hook->customFunctionAdded(hwnd, upper, minArgs, maxArgs, proc, flags);
        if (engine && !engine->engine().isFunctionRegistered(upper))
            return FALSE;  // a name the engine refuses (a built-in function, bad characters)
        g.customFunctions.push_back({upper, minArgs, maxArgs, proc, flags});
        return TRUE;
    });
}

namespace kxgrid {

FormulaHook::~FormulaHook() = default;

bool FormulaHook::formulaText(HWND, int, int, std::string&) { return false; }

bool setFormulaHook(HWND grid, FormulaHook* hook)
{
    detail::Grid* g = detail::gridOf(grid);
    if (!g)
        return false;
    g->hook = hook;
    if (hook != g->ownedHook.get())
        g->ownedHook.reset();
    return true;
}

bool setFormulaResult(HWND grid, int col, int row, std::string_view text)
{
    return withGrid(grid, false, [&](detail::Grid& g) { return g.cellArg(col, row) && g.setFormulaResult(col, row, text); });
}

bool enterText(HWND grid, int col, int row, std::string_view text)
{
    return withGrid(grid, false, [&](detail::Grid& g) { return g.cellArg(col, row) && g.enterText(col, row, text); });
}

std::string lastError(HWND grid)
{
    detail::Grid* g = detail::gridOf(grid);
    return g ? g->lastError : std::string("the window is no grid");
}

} // namespace kxgrid
