// Page plan and page drawing of a sheet. The plan is made once from the column widths and row
// heights; a page is drawn on demand, so a long bill never holds all its pages in memory.
#include "print/SheetPrint.h"

#include "core/FileIO.h"
#include "platform/grid/GridTypes.h"
#include "platform/grid/Spread.h"
#include "sheetedit/SheetSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <utility>

namespace kxprint {

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kHeaderBack = 0xC0C0C0;  // the grid's header face on screen
constexpr COLORREF kGridLine = 0xA0A0A0;    // a shade darker than on screen: paper is brighter
constexpr int kCellMarginPx = 2;             // inside a cell, as the grid draws it
constexpr double kHeaderGapMm = 2.0;         // between a header (footer) and the cells
constexpr double kLineSpacing = 1.25;        // header and footer line height per text height

COLORREF resolve(COLORREF c, COLORREF fallback)
{
    if (c == SS_COLOR_KEEP)
        return fallback;
    if (c & SS_SYSCOLOR_FLAG)
        return (c & 0xFF) == 15 ? kHeaderBack : kBlack;
    return c;
}

std::string cellData(HWND grid, int col, int row)
{
    const int n = SSGetDataLen(grid, col, row);
    if (n <= 0)
        return {};
    std::string text(static_cast<size_t>(n) + 1, '\0');
    SSGetData(grid, col, row, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

kxwin::DrawOp fill(const RECT& r, COLORREF color)
{
    kxwin::DrawOp op;
    op.kind = kxwin::DrawOpKind::FillRect;
    op.rect = r;
    op.color = color;
    return op;
}

kxwin::DrawOp line(int x1, int y1, int x2, int y2, COLORREF color, int width)
{
    kxwin::DrawOp op;
    op.kind = kxwin::DrawOpKind::Line;
    op.rect = RECT{x1, y1, x2, y2};
    op.color = color;
    op.penWidth = width;
    return op;
}

kxwin::DrawOp text(const RECT& r, std::string s, UINT format, const LOGFONT& font, COLORREF color)
{
    kxwin::DrawOp op;
    op.kind = kxwin::DrawOpKind::DrawText;
    op.rect = r;
    op.text = std::move(s);
    op.format = format | DT_NOPREFIX;
    op.font = font;
    op.color = color;
    op.bkMode = TRANSPARENT;
    return op;
}

} // namespace

PrintOptions optionsFromSettings(const SheetSettings& settings, const PageSetup& page)
{
    PrintOptions o;
    o.page = page;
    o.page.marginLeft = settings.marginLeft;
    o.page.marginRight = settings.marginRight;
    o.page.marginTop = settings.marginTop;
    o.page.marginBottom = settings.marginBottom;
    o.smartPrint = settings.smartPrint;
    o.colors = settings.colors;
    o.colHeader = settings.colHeader;
    o.rowHeader = settings.rowHeader;
    o.cellSeparators = settings.cellSeperators;
    o.border = settings.border;
    if (!settings.defaultFont.str().empty())
        o.fontFace = settings.defaultFont.str();
    if (settings.defaultTextHeight > 0)
        o.textHeight = settings.defaultTextHeight;
    const int n = std::min(settings.varNames.length(), settings.varValues.length());
    for (int i = 0; i < n; ++i)
        o.variables.emplace_back(settings.varNames[i].str(), settings.varValues[i].str());
    return o;
}

SheetPrint::SheetPrint(HWND grid, PrintOptions options) : m_grid(grid), m_options(std::move(options))
{
    const int maxRows = std::max(0, SSGetMaxRows(grid)), maxCols = std::max(0, SSGetMaxCols(grid));
    // The printed block ends at the last cell that shows something: data, a picture or a joined block.
    // Rows covered by a joined block from above remember the block's first row, so a page break does
    // not cut through a picture or a joined title.
    std::vector<int> spanTop(static_cast<size_t>(maxRows) + 2, 0);
    for (int r = 1; r <= maxRows; ++r)
        for (int c = 1; c <= maxCols; ++c) {
            int ac = 0, ar = 0, nc = 0, nr = 0;
            const int span = SSGetCellSpan(grid, c, r, &ac, &ar, &nc, &nr);
            if (span == SS_SPAN_ANCHOR) {
                m_lastCol = std::max(m_lastCol, std::min(maxCols, c + nc - 1));
                m_lastRow = std::max(m_lastRow, std::min(maxRows, r + nr - 1));
                for (int k = r + 1; k < r + nr && k <= maxRows; ++k)
                    if (spanTop[static_cast<size_t>(k)] == 0 || spanTop[static_cast<size_t>(k)] > r)
                        spanTop[static_cast<size_t>(k)] = r;
            }
            if (SSGetDataLen(grid, c, r) > 0 || SSGetCellType(grid, c, r) == SS_TYPE_PICTURE) {
                m_lastCol = std::max(m_lastCol, c);
                m_lastRow = std::max(m_lastRow, r);
            }
        }
    m_colPixels.assign(static_cast<size_t>(m_lastCol) + 1, 0);
    m_rowPixels.assign(static_cast<size_t>(m_lastRow) + 1, 0);
    for (int c = 0; c <= m_lastCol; ++c)
        SSGetColWidthInPixels(grid, c, &m_colPixels[static_cast<size_t>(c)]);
    for (int r = 0; r <= m_lastRow; ++r)
        SSGetRowHeightInPixels(grid, r, &m_rowPixels[static_cast<size_t>(r)]);
    for (int& w : m_colPixels)
        w = std::max(w, 0);
    for (int& h : m_rowPixels)
        h = std::max(h, 0);

    const PageSetup& p = m_options.page;
    m_pageWidth = mmToDots(p.widthMm());
    m_pageHeight = mmToDots(p.heightMm());
    // A margin outside 0 to a quarter of the page is taken as that limit: a wrong value in a
    // settings file must not leave no room for the cells.
    auto margin = [](int mm, int pageDots) { return std::clamp(mmToDots(std::max(mm, 0)), 0, pageDots / 4); };
    const int left = margin(p.marginLeft, m_pageWidth), right = margin(p.marginRight, m_pageWidth);
    const int top = margin(p.marginTop, m_pageHeight), bottom = margin(p.marginBottom, m_pageHeight);
    m_gridLeft = left;
    m_gridTop = top + headerBlockHeight(m_options.header);
    const int gridBottom = m_pageHeight - bottom - headerBlockHeight(m_options.footer);
    m_rightEdge = m_pageWidth - right;
    m_footerTop = gridBottom + (m_options.footer.empty() ? 0 : mmToDots(kHeaderGapMm));
    const int width = m_pageWidth - left - right;
    const int height = std::max(gridBottom - m_gridTop, m_pageHeight / 4);

    const double screen = static_cast<double>(kDotsPerInch) / kScreenDotsPerInch;
    m_scale = screen;
    long long totalPixels = m_options.rowHeader ? m_colPixels[0] : 0;
    for (int c = 1; c <= m_lastCol; ++c)
        totalPixels += m_colPixels[static_cast<size_t>(c)];
    if (m_options.smartPrint && totalPixels > 0 && totalPixels * screen > width) {
        const double fit = width / (totalPixels * screen);
        if (fit >= kMinSmartScale)
            m_scale = screen * fit * 0.999;  // a hair under, so rounding never pushes the last column off
    }
    planColumns(width - (m_options.rowHeader ? colWidth(0) : 0));
    // Rows: a break inside a joined block moves up to the block's first row when that row is not
    // already the first of its page.
    const int rowsHeight = height - (m_options.colHeader ? rowHeight(0) : 0);
    m_rowBands.clear();
    if (m_lastRow == 0) {
        m_rowBands.push_back({1, 0});
    } else {
        int first = 1, used = 0;
        for (int r = 1; r <= m_lastRow; ++r) {
            const int h = rowHeight(r);
            if (r > first && used + h > rowsHeight) {
                int breakAt = r;
                const int t = spanTop[static_cast<size_t>(r)];
                if (t > first && t < r)
                    breakAt = t;
                m_rowBands.push_back({first, breakAt - 1});
                first = breakAt;
                used = 0;
                for (int k = first; k < r; ++k)
                    used += rowHeight(k);
            }
            used += h;
        }
        m_rowBands.push_back({first, m_lastRow});
    }
}

int SheetPrint::colWidth(int col) const
{
    return static_cast<int>(std::lround(m_colPixels[static_cast<size_t>(col)] * m_scale));
}

int SheetPrint::rowHeight(int row) const
{
    return static_cast<int>(std::lround(m_rowPixels[static_cast<size_t>(row)] * m_scale));
}

void SheetPrint::planColumns(int width)
{
    m_colBands.clear();
    if (m_lastCol == 0) {
        m_colBands.push_back({1, 0});
        return;
    }
    int first = 1, used = 0;
    for (int c = 1; c <= m_lastCol; ++c) {
        const int w = colWidth(c);
        if (c > first && used + w > width) {
            m_colBands.push_back({first, c - 1});
            first = c;
            used = 0;
        }
        used += w;
    }
    m_colBands.push_back({first, m_lastCol});
}

int SheetPrint::headerBlockHeight(const HeaderFooter& block) const
{
    if (block.empty())
        return 0;
    const double screen = static_cast<double>(kDotsPerInch) / kScreenDotsPerInch;
    const int lineHeight = static_cast<int>(std::lround(m_options.textHeight * kLineSpacing * screen));
    return static_cast<int>(block.lines.size()) * lineHeight + mmToDots(kHeaderGapMm);
}

void SheetPrint::drawHeaderFooter(std::vector<kxwin::DrawOp>& ops, const HeaderFooter& block, int top, int page) const
{
    const double screen = static_cast<double>(kDotsPerInch) / kScreenDotsPerInch;
    const int lineHeight = static_cast<int>(std::lround(m_options.textHeight * kLineSpacing * screen));
    LOGFONT font{};
    font.lfHeight = -static_cast<LONG>(std::lround(m_options.textHeight * screen));
    font.lfWeight = FW_NORMAL;
    font.lfFaceName = m_options.fontFace;
    const int left = m_gridLeft;
    const int right = m_rightEdge;
    static constexpr UINT kAlign[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    for (const HeaderFooterLine& l : block.lines) {
        for (int part = 0; part < 3; ++part) {
            if (l.parts[static_cast<size_t>(part)].empty())
                continue;
            std::string shown = fillPlaceholders(l.parts[static_cast<size_t>(part)], m_options.variables, page + 1, pageCount());
            ops.push_back(text(RECT{left, top, std::max(right, left + 1), top + lineHeight}, std::move(shown),
                               kAlign[part] | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP, font, kBlack));
        }
        top += lineHeight;
    }
}

std::vector<kxwin::DrawOp> SheetPrint::renderPage(int index) const
{
    std::vector<kxwin::DrawOp> ops;
    if (index < 0 || index >= pageCount())
        return ops;
    const Band cols = m_colBands[static_cast<size_t>(index) % m_colBands.size()];
    const Band rows = m_rowBands[static_cast<size_t>(index) / m_colBands.size()];
    drawHeaderFooter(ops, m_options.header, m_gridTop - headerBlockHeight(m_options.header), index);

    // Cell edges on the page. Positions come from the running sum in pixels, rounded once, so long
    // pages do not drift.
    const int headerW = m_options.rowHeader ? colWidth(0) : 0;
    const int headerH = m_options.colHeader ? rowHeight(0) : 0;
    std::vector<int> xs, ys;  // xs[i] is the left of column cols.first + i; one more for the right end
    {
        const int x0 = m_gridLeft + headerW;
        long long sum = 0;
        for (int c = cols.first; c <= cols.last + 1; ++c) {
            xs.push_back(x0 + static_cast<int>(std::lround(sum * m_scale)));
            if (c <= cols.last)
                sum += m_colPixels[static_cast<size_t>(c)];
        }
        const int y0 = m_gridTop + headerH;
        sum = 0;
        for (int r = rows.first; r <= rows.last + 1; ++r) {
            ys.push_back(y0 + static_cast<int>(std::lround(sum * m_scale)));
            if (r <= rows.last)
                sum += m_rowPixels[static_cast<size_t>(r)];
        }
    }
    auto xOf = [&](int c) { return xs[static_cast<size_t>(std::clamp(c, cols.first, cols.last + 1) - cols.first)]; };
    auto yOf = [&](int r) { return ys[static_cast<size_t>(std::clamp(r, rows.first, rows.last + 1) - rows.first)]; };
    const int pen = std::max(1, static_cast<int>(std::lround(m_scale * 0.6)));

    std::vector<kxwin::DrawOp> lines;  // grid lines and borders go over every cell's fill
    std::vector<kxwin::DrawOp> pictures;
    auto drawCell = [&](int col, int row, const RECT& area, bool showText) {
        const bool header = col == 0 || row == 0;
        COLORREF back = header ? kHeaderBack : kWhite, fore = kBlack;
        if (!header) {
            COLORREF b = SS_COLOR_KEEP, f = SS_COLOR_KEEP;
            SSGetColor(m_grid, col, row, &b, &f);
            back = resolve(b, kWhite);
            fore = resolve(f, kBlack);
        }
        if (!m_options.colors) {
            back = kWhite;
            fore = kBlack;
        }
        if (back != kWhite)
            ops.push_back(fill(area, back));
        if (m_options.cellSeparators) {
            lines.push_back(line(area.left, area.bottom, area.right, area.bottom, kGridLine, pen));
            lines.push_back(line(area.right, area.top, area.right, area.bottom, kGridLine, pen));
            // Top and left only at the edge of the page's block: inside it they are a neighbour's.
            if (area.top <= yOf(rows.first))
                lines.push_back(line(area.left, area.top, area.right, area.top, kGridLine, pen));
            if (area.left <= xOf(cols.first) || header)
                lines.push_back(line(area.left, area.top, area.left, area.bottom, kGridLine, pen));
        }
        if (!header) {
            static constexpr WORD kSides[4] = {SS_BORDERTYPE_LEFT, SS_BORDERTYPE_RIGHT, SS_BORDERTYPE_TOP,
                                               SS_BORDERTYPE_BOTTOM};
            for (WORD side : kSides) {
                WORD style = SS_BORDERSTYLE_NONE;
                COLORREF color = kBlack;
                if (!SSGetBorder(m_grid, col, row, side, &style, &color) || style == SS_BORDERSTYLE_NONE)
                    continue;
                color = m_options.colors ? resolve(color, kBlack) : kBlack;
                const int x1 = side == SS_BORDERTYPE_RIGHT ? area.right : area.left;
                const int x2 = side == SS_BORDERTYPE_LEFT ? area.left : area.right;
                const int y1 = side == SS_BORDERTYPE_BOTTOM ? area.bottom : area.top;
                const int y2 = side == SS_BORDERTYPE_TOP ? area.top : area.bottom;
                lines.push_back(line(x1, y1, x2, y2, color, pen * 2));
            }
        }
        if (!showText)
            return;
        SS_CELLTYPE t;
        if (!header)
            SSGetCellTypeRecord(m_grid, col, row, &t);
        if (t.type == SS_TYPE_PICTURE) {
            if (!t.pixels || t.pixels->width <= 0 || t.pixels->height <= 0)
                return;
            // At its own size from the top left, or smaller, keeping its proportions, as on screen.
            const int margin = std::max(1, static_cast<int>(std::lround(m_scale)));
            const double roomX = std::max<LONG>(area.right - area.left - 2 * margin, 0);
            const double roomY = std::max<LONG>(area.bottom - area.top - 2 * margin, 0);
            double s = m_scale;
            if (t.pixels->width * s > roomX || t.pixels->height * s > roomY)
                s = std::min(roomX / t.pixels->width, roomY / t.pixels->height);
            const int w = static_cast<int>(t.pixels->width * s), h = static_cast<int>(t.pixels->height * s);
            if (w < 1 || h < 1)
                return;
            kxwin::DrawOp op;
            op.kind = kxwin::DrawOpKind::Blit;
            op.rect = RECT{area.left + margin, area.top + margin, area.left + margin + w, area.top + margin + h};
            op.pixels = t.pixels;
            pictures.push_back(std::move(op));
            return;
        }
        std::string shown = header ? kxgrid::headerLabel(m_grid, col, row) : cellData(m_grid, col, row);
        RECT r = area;
        if (t.type == SS_TYPE_BUTTON || (t.type == SS_TYPE_CHECKBOX && !t.text.empty()))
            shown = t.text;
        if (t.type == SS_TYPE_CHECKBOX) {
            const int box = static_cast<int>(std::lround(12 * m_scale)), inset = static_cast<int>(std::lround(2 * m_scale));
            const RECT b{r.left + inset, r.top + inset, r.left + inset + box, r.top + inset + box};
            lines.push_back(line(b.left, b.top, b.right, b.top, kBlack, pen));
            lines.push_back(line(b.right, b.top, b.right, b.bottom, kBlack, pen));
            lines.push_back(line(b.left, b.bottom, b.right, b.bottom, kBlack, pen));
            lines.push_back(line(b.left, b.top, b.left, b.bottom, kBlack, pen));
            if (cellData(m_grid, col, row) == "1")
                ops.push_back(fill(RECT{b.left + 3 * inset / 2, b.top + 3 * inset / 2, b.right - 3 * inset / 2,
                                        b.bottom - 3 * inset / 2}, fore));
            r.left += static_cast<int>(std::lround(16 * m_scale));
        }
        if (shown.empty())
            return;
        LOGFONT font{};
        SSGetFont(m_grid, col, row, &font);
        font.lfHeight = static_cast<LONG>(std::lround(font.lfHeight * m_scale));
        if (font.lfHeight == 0)
            font.lfHeight = -static_cast<LONG>(std::lround(11 * m_scale));
        const int inner = static_cast<int>(std::lround(kCellMarginPx * m_scale));
        UINT format = DT_SINGLELINE | DT_VCENTER;
        if (header || (t.type == SS_TYPE_NUMBER && (t.style & SS_NUMBER_CENTRE)) || t.type == SS_TYPE_BUTTON ||
            (t.type == SS_TYPE_STATICTEXT && (t.style & SS_STATIC_CENTRE)))
            format |= DT_CENTER;
        else if (t.type == SS_TYPE_NUMBER && (t.style & SS_NUMBER_RIGHT))
            format |= DT_RIGHT;
        ops.push_back(text(RECT{r.left + inner, r.top, std::max(r.left + inner + 1, r.right - inner), r.bottom},
                           std::move(shown), format, font, fore));
    };

    // Headers first; the corner where both are shown.
    const int left = m_gridLeft, top = m_gridTop;
    if (m_options.colHeader && m_options.rowHeader)
        drawCell(0, 0, RECT{left, top, left + headerW, top + headerH}, true);
    if (m_options.colHeader)
        for (int c = cols.first; c <= cols.last; ++c)
            drawCell(c, 0, RECT{xOf(c), top, xOf(c + 1), top + headerH}, true);
    if (m_options.rowHeader)
        for (int r = rows.first; r <= rows.last; ++r)
            drawCell(0, r, RECT{left, yOf(r), left + headerW, yOf(r + 1)}, true);

    // Cells. A joined block is drawn once per page over the part of it on the page; its text and
    // picture only on the page that holds its first cell, so every text is printed once.
    std::set<std::pair<int, int>> blocksDrawn;
    for (int r = rows.first; r <= rows.last; ++r)
        for (int c = cols.first; c <= cols.last; ++c) {
            int ac = 0, ar = 0, nc = 0, nr = 0;
            const int span = SSGetCellSpan(m_grid, c, r, &ac, &ar, &nc, &nr);
            if (span == SS_SPAN_ANCHOR || span == SS_SPAN_YES) {
                if (!blocksDrawn.insert({ac, ar}).second)
                    continue;
                const RECT area{xOf(std::max(ac, cols.first)), yOf(std::max(ar, rows.first)),
                                xOf(std::min(ac + nc, cols.last + 1)), yOf(std::min(ar + nr, rows.last + 1))};
                const bool anchorHere = ac >= cols.first && ar >= rows.first;
                drawCell(ac, ar, area, anchorHere);
                continue;
            }
            drawCell(c, r, RECT{xOf(c), yOf(r), xOf(c + 1), yOf(r + 1)}, true);
        }
    ops.insert(ops.end(), std::make_move_iterator(pictures.begin()), std::make_move_iterator(pictures.end()));
    ops.insert(ops.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    if (m_options.border) {
        const int right = xOf(cols.last + 1), bottom = yOf(rows.last + 1);
        const int outer = pen * 2;
        ops.push_back(line(left, top, right, top, kBlack, outer));
        ops.push_back(line(right, top, right, bottom, kBlack, outer));
        ops.push_back(line(left, bottom, right, bottom, kBlack, outer));
        ops.push_back(line(left, top, left, bottom, kBlack, outer));
    }
    drawHeaderFooter(ops, m_options.footer, m_footerTop, index);
    return ops;
}

std::string headerFooterPath(const std::string& name, const std::string& sheetPath)
{
    if (name.empty())
        return {};
    const bool absolute = name.find(':') != std::string::npos || name.front() == '/' || name.front() == '\\';
    if (absolute)
        return name;
    std::string folder = sheetPath;
    const size_t slash = folder.find_last_of("/\\");
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    const std::string besideSheet = folder + name;
    if (fileExists(Kx_String(besideSheet)))
        return besideSheet;
    const std::string inSettings = SheetSettings::settingsFolder().str() + name;
    if (!SheetSettings::settingsFolder().str().empty() && fileExists(Kx_String(inSettings)))
        return inSettings;
    return besideSheet;
}

} // namespace kxprint
