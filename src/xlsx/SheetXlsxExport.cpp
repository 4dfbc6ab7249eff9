// The .xlsx writer of grid sheets (see SheetXlsxExport.h), over libxlsxwriter.
#include "xlsx/SheetXlsxExport.h"

#include "platform/formula/Engine.h"
#include "platform/formula/MemoryCellStore.h"
#include "platform/formula/Value.h"
#include "platform/grid/Spread.h"
#include "platform/win/ImageCodec.h"
#include "platform/win/Window.h"
#include "sheetedit/SheetSettings.h"
#include "xlsx/XlsxFormula.h"
#include "xlsx/XlsxPrintSettings.h"

#include <xlsxwriter.h>

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <compare>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <tuple>

namespace kxxlsx {

namespace {

namespace fs = std::filesystem;

// Everything that decides a cell's format in the file; cells with equal looks share one format,
// so a sheet of a million cells in a few looks makes a few formats.
struct Look {
    std::string face;      // empty: the workbook's default font
    int sizeQuarters = 0;  // font size in quarter points (3 per pixel); 0: default
    bool bold = false, italic = false, underline = false, strike = false;
    COLORREF back = SS_COLOR_KEEP, fore = SS_COLOR_KEEP;
    std::array<WORD, 4> borderStyle{};
    std::array<COLORREF, 4> borderColor{};
    int decimals = -1;     // number cells: fixed decimals; -1 general
    int align = 0;         // 0 as the type draws it, 1 right, 2 centre
    bool unlocked = false;
    bool header = false;   // the header row: bold, as the grid draws header texts apart
    auto operator<=>(const Look&) const = default;
};

bool hasColour(COLORREF c) { return c != SS_COLOR_KEEP; }

// 0x00BBGGRR to libxlsxwriter's 0xRRGGBB, where 0 means "unset" and black has its own value.
// System colours become what the grid paints for them: the 3-D face grey, else window-text black.
lxw_color_t toLxw(COLORREF c)
{
    if (c & SS_SYSCOLOR_FLAG)
        c = (c & 0xFF) == 15 ? 0xC0C0C0 : 0x000000;
    const lxw_color_t rgb = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

uint8_t toLxwBorder(WORD style)
{
    switch (style) {
    case SS_BORDERSTYLE_NONE: return LXW_BORDER_NONE;
    case SS_BORDERSTYLE_FINE: return LXW_BORDER_HAIR;
    default: return LXW_BORDER_THIN;
    }
}

std::string numberFormat(int decimals)
{
    return decimals <= 0 ? std::string("0") : "0." + std::string(static_cast<size_t>(decimals), '0');
}

std::string cellName(int col, int row) { return columnName(col) + std::to_string(row); }

// What a cell of a new grid has: cells showing the default font get the workbook's default font,
// and only columns and rows of another size get a size of their own.
struct GridDefaults {
    LOGFONT font;
    int colWidth = 64;
    int rowHeight = 17;
};

GridDefaults gridDefaults()
{
    GridDefaults d;
    HWND g = kxgrid::createStandaloneGrid(1, 1);
    if (g) {
        SSGetFont(g, 1, 1, &d.font);
        SSGetColWidthInPixels(g, 1, &d.colWidth);
        SSGetRowHeightInPixels(g, 1, &d.rowHeight);
        DestroyWindow(g);
    }
    return d;
}

// Removes a temporary file unless told the rename happened.
struct TempFile {
    std::string path;
    bool keep = false;
    ~TempFile()
    {
        if (!path.empty() && !keep)
            ::unlink(path.c_str());
    }
};

// libxlsxwriter writes numbers, sizes and scales with printf, which follows the locale: with a
// decimal comma the host process may have set, the file would be damaged. This thread uses the C
// numbers while the workbook is written; other threads and the process locale are left alone.
class CNumbersOnThisThread {
public:
    CNumbersOnThisThread()
    {
        m_base = duplocale(uselocale(static_cast<locale_t>(nullptr)));
        if (m_base != nullptr)
            m_c = newlocale(LC_NUMERIC_MASK, "C", m_base);
        if (m_c != nullptr) {
            m_base = nullptr;  // newlocale took it over
            m_previous = uselocale(m_c);
        }
    }
    ~CNumbersOnThisThread()
    {
        if (m_c != nullptr) {
            uselocale(m_previous);
            freelocale(m_c);
        }
        if (m_base != nullptr)
            freelocale(m_base);
    }
    CNumbersOnThisThread(const CNumbersOnThisThread&) = delete;
    CNumbersOnThisThread& operator=(const CNumbersOnThisThread&) = delete;

private:
    locale_t m_base = nullptr;
    locale_t m_c = nullptr;
    locale_t m_previous = nullptr;
};

bool syncPath(const std::string& path, bool directory)
{
    const int fd = ::open(path.c_str(), directory ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

class Writer {
public:
    Writer(HWND grid, lxw_workbook* book, lxw_worksheet* sheet, XlsxExportResult& result)
        : m_grid(grid), m_book(book), m_sheet(sheet), m_result(result), m_defaults(gridDefaults())
    {
    }

    void setShape(int cols, int rows, bool header, bool r1c1)
    {
        m_cols = cols;
        m_rows = rows;
        m_header = header;
        m_r1c1 = r1c1;
    }

    bool write(const std::set<std::pair<int, int>>& anchors)
    {
        // The grid's default row (17 pixels, 12.75 points) is lower than the file's (20).
        worksheet_set_default_row(m_sheet, m_defaults.rowHeight * 0.75, LXW_FALSE);
        for (int c = 1; c <= m_cols; ++c) {
            int px = m_defaults.colWidth;
            SSGetColWidthInPixels(m_grid, c, &px);
            lxw_row_col_options hidden{};
            hidden.hidden = px == 0 ? 1 : 0;
            if (px == 0 || px != m_defaults.colWidth)
                worksheet_set_column_pixels_opt(m_sheet, static_cast<lxw_col_t>(c - 1), static_cast<lxw_col_t>(c - 1),
                                                px == 0 ? m_defaults.colWidth : px, nullptr,
                                                px == 0 ? &hidden : nullptr);
        }
        if (m_header) {
            setRowHeight(0, 0);
            for (int c = 1; c <= m_cols; ++c) {
                const std::string text = dataText(c, 0);
                if (text.empty())
                    continue;
                Look look = cellLook(c, 0);
                look.header = true;
                worksheet_write_string(m_sheet, 0, static_cast<lxw_col_t>(c - 1), text.c_str(), format(look));
            }
            worksheet_freeze_panes(m_sheet, 1, 0);
        }
        std::vector<std::string> values;
        for (int r = 1; r <= m_rows; ++r) {
            const lxw_row_t xr = static_cast<lxw_row_t>(r - 1 + (m_header ? 1 : 0));
            setRowHeight(r, xr);
            values.clear();
            kxgrid::visitValues(
                m_grid, 1, r, m_cols, r,
                [](void* ctx, int, int, std::string_view v) {
                    static_cast<std::vector<std::string>*>(ctx)->emplace_back(v);
                    return true;
                },
                &values);
            for (int c = 1; c <= m_cols; ++c) {
                const std::string& value = c - 1 < static_cast<int>(values.size()) ? values[c - 1] : m_empty;
                const lxw_col_t xc = static_cast<lxw_col_t>(c - 1);
                int spanCols = 1, spanRows = 1;
                const int span = anchors.empty() ? SS_SPAN_NO : SSGetCellSpan(m_grid, c, r, nullptr, nullptr, &spanCols, &spanRows);
                if (span == SS_SPAN_YES)
                    continue;  // the joined block's anchor wrote it
                const int type = SSGetCellType(m_grid, c, r);
                Look look = cellLook(c, r);
                SS_CELLTYPE record;
                if (type == SS_TYPE_NUMBER || type == SS_TYPE_PICTURE) {
                    SSGetCellTypeRecord(m_grid, c, r, &record);
                    if (type == SS_TYPE_NUMBER) {
                        look.decimals = record.decimals;
                        if (record.style & SS_NUMBER_CENTRE)
                            look.align = 2;
                        else if (record.style & SS_NUMBER_RIGHT)
                            look.align = 1;
                    }
                } else if (type == SS_TYPE_STATICTEXT || type == SS_TYPE_BUTTON) {
                    SSGetCellTypeRecord(m_grid, c, r, &record);
                    if (record.style & SS_STATIC_CENTRE)
                        look.align = 2;
                }
                lxw_format* f = format(look);
                if (span == SS_SPAN_ANCHOR) {
                    // The block first, with blanks in its cells; then the anchor's own content.
                    worksheet_merge_range(m_sheet, xr, xc, static_cast<lxw_row_t>(xr + spanRows - 1),
                                          static_cast<lxw_col_t>(xc + spanCols - 1), "", f);
                }
                writeCell(c, r, xr, xc, type, value, record, f);
                if (type == SS_TYPE_PICTURE && record.pixels && !record.pixels->empty())
                    placePicture(c, r, xr, xc, record, spanCols, spanRows);
            }
        }
        if (SSGetBool(m_grid, SSB_PROTECT))
            worksheet_protect(m_sheet, nullptr, nullptr);
        return true;
    }

private:
    void setRowHeight(int r, lxw_row_t xr)
    {
        int px = m_defaults.rowHeight;
        SSGetRowHeightInPixels(m_grid, r, &px);
        if (px == m_defaults.rowHeight)
            return;
        lxw_row_col_options hidden{};
        hidden.hidden = 1;
        worksheet_set_row_pixels_opt(m_sheet, xr, px == 0 ? m_defaults.rowHeight : px, nullptr,
                                     px == 0 ? &hidden : nullptr);
    }

    std::string dataText(int c, int r)
    {
        const int n = SSGetDataLen(m_grid, c, r);
        if (n <= 0)
            return std::string();
        std::string text(static_cast<size_t>(n) + 1, '\0');
        SSGetData(m_grid, c, r, text.data(), n + 1);
        text.resize(static_cast<size_t>(n));
        return text;
    }

    std::string formulaText(int c, int r)
    {
        const int n = SSGetFormulaLen(m_grid, c, r);
        if (n <= 0)
            return std::string();
        std::string text(static_cast<size_t>(n) + 1, '\0');
        SSGetFormula(m_grid, c, r, text.data(), n + 1);
        text.resize(static_cast<size_t>(n));
        return text;
    }

    Look cellLook(int c, int r)
    {
        Look look;
        LOGFONT font;
        if (SSGetFont(m_grid, c, r, &font) && !(font == m_defaults.font)) {
            look.face = font.lfFaceName;
            look.sizeQuarters = static_cast<int>(std::min<long>(std::labs(font.lfHeight), 4000) * 3);
            look.bold = font.lfWeight >= FW_BOLD;
            look.italic = font.lfItalic != 0;
            look.underline = font.lfUnderline != 0;
            look.strike = font.lfStrikeOut != 0;
        }
        SSGetColor(m_grid, c, r, &look.back, &look.fore);
        static constexpr std::array<WORD, 4> sides = {SS_BORDERTYPE_LEFT, SS_BORDERTYPE_RIGHT, SS_BORDERTYPE_TOP,
                                                      SS_BORDERTYPE_BOTTOM};
        for (size_t i = 0; i < sides.size(); ++i) {
            WORD style = SS_BORDERSTYLE_NONE;
            COLORREF colour = 0;
            SSGetBorder(m_grid, c, r, sides[i], &style, &colour);
            look.borderStyle[i] = style;
            look.borderColor[i] = style == SS_BORDERSTYLE_NONE ? 0 : colour;
        }
        look.unlocked = !SSGetLock(m_grid, c, r);
        return look;
    }

    lxw_format* format(const Look& look)
    {
        if (look == Look{})
            return nullptr;
        auto it = m_formats.find(look);
        if (it != m_formats.end())
            return it->second;
        lxw_format* f = workbook_add_format(m_book);
        if (!look.face.empty())
            format_set_font_name(f, look.face.c_str());
        if (look.sizeQuarters > 0)
            format_set_font_size(f, look.sizeQuarters / 4.0);
        if (look.bold || look.header)
            format_set_bold(f);
        if (look.italic)
            format_set_italic(f);
        if (look.underline)
            format_set_underline(f, LXW_UNDERLINE_SINGLE);
        if (look.strike)
            format_set_font_strikeout(f);
        if (hasColour(look.fore))
            format_set_font_color(f, toLxw(look.fore));
        if (hasColour(look.back))
            format_set_bg_color(f, toLxw(look.back));
        if (look.borderStyle[0] != SS_BORDERSTYLE_NONE) {
            format_set_left(f, toLxwBorder(look.borderStyle[0]));
            if (hasColour(look.borderColor[0]))
                format_set_left_color(f, toLxw(look.borderColor[0]));
        }
        if (look.borderStyle[1] != SS_BORDERSTYLE_NONE) {
            format_set_right(f, toLxwBorder(look.borderStyle[1]));
            if (hasColour(look.borderColor[1]))
                format_set_right_color(f, toLxw(look.borderColor[1]));
        }
        if (look.borderStyle[2] != SS_BORDERSTYLE_NONE) {
            format_set_top(f, toLxwBorder(look.borderStyle[2]));
            if (hasColour(look.borderColor[2]))
                format_set_top_color(f, toLxw(look.borderColor[2]));
        }
        if (look.borderStyle[3] != SS_BORDERSTYLE_NONE) {
            format_set_bottom(f, toLxwBorder(look.borderStyle[3]));
            if (hasColour(look.borderColor[3]))
                format_set_bottom_color(f, toLxw(look.borderColor[3]));
        }
        if (look.decimals >= 0)
            format_set_num_format(f, numberFormat(look.decimals).c_str());
        if (look.align == 1)
            format_set_align(f, LXW_ALIGN_RIGHT);
        else if (look.align == 2)
            format_set_align(f, LXW_ALIGN_CENTER);
        if (look.unlocked)
            format_set_unlocked(f);
        m_formats.emplace(look, f);
        return f;
    }

    // A value text as the file stores it: a number when the text is exactly how the number is
    // written (so "007" and "1,5" stay texts as the user sees them), TRUE and FALSE as booleans.
    void writeConstant(lxw_row_t xr, lxw_col_t xc, const std::string& text, lxw_format* f, bool numberCell)
    {
        if (text.empty()) {
            if (f)
                worksheet_write_blank(m_sheet, xr, xc, f);
            return;
        }
        const kxformula::Value v = kxformula::valueFromTyped(text);
        if (v.isNumber() && (numberCell || kxformula::formatGeneral(v.asNumber()) == text))
            worksheet_write_number(m_sheet, xr, xc, v.asNumber(), f);
        else if (v.isBoolean() && !numberCell)
            worksheet_write_boolean(m_sheet, xr, xc, v.asBoolean() ? 1 : 0, f);
        else
            worksheet_write_string(m_sheet, xr, xc, text.c_str(), f);
    }

    void writeCell(int c, int r, lxw_row_t xr, lxw_col_t xc, int type, const std::string& value,
                   const SS_CELLTYPE& record, lxw_format* f)
    {
        const std::string formula = formulaText(c, r);
        if (!formula.empty()) {
            XlsxFormula x = translateFormula(formula, m_r1c1, c, r, m_header ? 1 : 0);
            // A formula the engine could not read is no formula an office program reads either.
            // Only cells showing #ERROR! are asked: it is also what a readable formula over such a
            // cell shows.
            if (value == "#ERROR!" && !readable(formula, c, r))
                x.unreadable = true;
            if (x.travels()) {
                const kxformula::Value v = kxformula::valueFromTyped(value);
                if (v.isNumber())
                    worksheet_write_formula_num(m_sheet, xr, xc, x.text.c_str(), f, v.asNumber());
                else
                    worksheet_write_formula_str(m_sheet, xr, xc, x.text.c_str(), f, value.c_str());
                return;
            }
            std::string why;
            for (const std::string& name : x.foreignFunctions)
                why += (why.empty() ? "" : ", ") + name;
            if (x.outOfRange)
                why += std::string(why.empty() ? "" : ", ") + "a reference beyond the file's size";
            if (x.unreadable)
                why += std::string(why.empty() ? "" : ", ") + "a formula text an office program cannot read";
            m_result.lastValueCells.push_back(cellName(c, r) + " (" + why + ")");
            writeConstant(xr, xc, value, f, false);
            return;
        }
        switch (type) {
        case SS_TYPE_CHECKBOX:
            if (value == "1" || value == "0")
                worksheet_write_boolean(m_sheet, xr, xc, value == "1" ? 1 : 0, f);
            else if (f)
                worksheet_write_blank(m_sheet, xr, xc, f);
            return;
        case SS_TYPE_NUMBER:
            writeConstant(xr, xc, value, f, true);
            return;
        case SS_TYPE_PICTURE:
            // The picture is what the cell shows; its data stays in the grid.
            if (f)
                worksheet_write_blank(m_sheet, xr, xc, f);
            return;
        case SS_TYPE_COMBOBOX:
        case SS_TYPE_BUTTON:
        case SS_TYPE_STATICTEXT: {
            // What the cell shows: a combo box's item text, a button's caption.
            const std::string shown = type == SS_TYPE_BUTTON ? record.text : dataText(c, r);
            if (!shown.empty())
                worksheet_write_string(m_sheet, xr, xc, shown.c_str(), f);
            else if (f)
                worksheet_write_blank(m_sheet, xr, xc, f);
            return;
        }
        default:
            writeConstant(xr, xc, value, f, false);
        }
    }

    // Whether the formula engine reads the text; a scratch engine, so the grid is not touched.
    bool readable(const std::string& formula, int c, int r)
    {
        if (!m_scratch) {
            m_scratchStore = std::make_unique<kxformula::MemoryCellStore>(1, 1);
            m_scratch = std::make_unique<kxformula::Engine>(*m_scratchStore);
            m_scratch->setAutoRecalc(false);
        }
        const bool ok =
            m_scratch->setFormula(c, r, formula, m_r1c1 ? kxformula::RefStyle::R1C1 : kxformula::RefStyle::A1).ok;
        m_scratch->removeFormula(c, r);
        return ok;
    }

    // The picture in its cell (or joined block), scaled down to fit, or to fill when the cell
    // stretches it, keeping its proportions, and centred.
    void placePicture(int c, int r, lxw_row_t xr, lxw_col_t xc, const SS_CELLTYPE& record, int spanCols, int spanRows)
    {
        int w = 0, h = 0;
        for (int i = 0; i < spanCols; ++i) {
            int px = 0;
            SSGetColWidthInPixels(m_grid, c + i, &px);
            w += px;
        }
        for (int i = 0; i < spanRows; ++i) {
            int px = 0;
            SSGetRowHeightInPixels(m_grid, r + i, &px);
            h += px;
        }
        const kxwin::BitmapPixels& pixels = *record.pixels;
        auto found = m_pictureBytes.find(&pixels);
        if (found == m_pictureBytes.end()) {
            m_pictures.push_back(kxwin::encodeBmp(pixels));
            found = m_pictureBytes.emplace(&pixels, &m_pictures.back()).first;
        }
        const std::vector<BYTE>& bytes = *found->second;
        if (bytes.empty() || w <= 0 || h <= 0)
            return;
        double scale = std::min(static_cast<double>(w) / pixels.width, static_cast<double>(h) / pixels.height);
        if (scale > 1 && !(record.style & SS_PICTURE_STRETCH))
            scale = 1;
        lxw_image_options options{};
        options.x_scale = scale;
        options.y_scale = scale;
        options.x_offset = static_cast<int32_t>((w - pixels.width * scale) / 2);
        options.y_offset = static_cast<int32_t>((h - pixels.height * scale) / 2);
        options.object_position = LXW_OBJECT_MOVE_AND_SIZE;
        if (worksheet_insert_image_buffer_opt(m_sheet, xr, xc, bytes.data(), bytes.size(), &options) == LXW_NO_ERROR)
            ++m_result.pictures;
    }

    HWND m_grid;
    lxw_workbook* m_book;
    lxw_worksheet* m_sheet;
    XlsxExportResult& m_result;
    GridDefaults m_defaults;
    int m_cols = 0, m_rows = 0;
    bool m_header = false, m_r1c1 = false;
    const std::string m_empty;
    std::map<Look, lxw_format*> m_formats;
    std::unique_ptr<kxformula::MemoryCellStore> m_scratchStore;
    std::unique_ptr<kxformula::Engine> m_scratch;
    // Encoded pictures, kept until the workbook is closed; one per distinct picture.
    std::deque<std::vector<BYTE>> m_pictures;
    std::map<const kxwin::BitmapPixels*, const std::vector<BYTE>*> m_pictureBytes;
};

// The sheet's print settings as the worksheet's page setup; what cannot go in is named in `result`.
void writePageSetup(HWND grid, lxw_worksheet* sheet, int cols, bool header, const XlsxExportOptions& options,
                    XlsxExportResult& result)
{
    SheetSettings settings;
    settings.readFromSheet(grid);
    kxprint::PageSetup page;
    if (options.paper) {
        page.paper = *options.paper;
        page.landscape = options.landscape;
    }
    kxprint::PrintOptions print = kxprint::optionsFromSettings(settings, page);
    auto readBlock = [&](const char* what, const Kx_String& name, kxprint::HeaderFooter& block) {
        const std::string file = kxprint::headerFooterPath(name.str(), options.sheetPath);
        std::string error;
        if (!file.empty() && !kxprint::readHeaderFooterFile(file, block, error))
            result.printSettingsLeft.push_back(std::string(what) + " file " + error);
    };
    readBlock("header", settings.headerFile, print.header);
    readBlock("footer", settings.footerFile, print.footer);

    long long pixels = 0;
    if (print.rowHeader) {
        int px = 0;
        SSGetColWidthInPixels(grid, 0, &px);
        pixels += std::max(px, 0);
    }
    for (int c = 1; c <= cols; ++c) {
        int px = 0;
        SSGetColWidthInPixels(grid, c, &px);
        pixels += std::max(px, 0);
    }
    const XlsxPageSetup s = xlsxPageSetup(print, header, options.paper.has_value(), pixels);
    worksheet_set_margins(sheet, s.left, s.right, s.top, s.bottom);
    if (s.paper != 0)
        worksheet_set_paper(sheet, static_cast<uint8_t>(s.paper));
    if (s.landscape)
        worksheet_set_landscape(sheet);
    if (s.fitToWidth)
        worksheet_fit_to_pages(sheet, 1, 0);
    worksheet_gridlines(sheet, s.printGridLines ? LXW_SHOW_ALL_GRIDLINES : LXW_SHOW_SCREEN_GRIDLINES);
    if (s.repeatHeaderRow)
        worksheet_repeat_rows(sheet, 0, 0);
    if (s.printHeadings)
        worksheet_print_row_col_headers(sheet);
    lxw_header_footer_options margin{};
    margin.margin = s.header;
    if (!s.headerText.empty() && worksheet_set_header_opt(sheet, s.headerText.c_str(), &margin) != LXW_NO_ERROR)
        result.printSettingsLeft.push_back("header");
    margin.margin = s.footer;
    if (!s.footerText.empty() && worksheet_set_footer_opt(sheet, s.footerText.c_str(), &margin) != LXW_NO_ERROR)
        result.printSettingsLeft.push_back("footer");
    result.printSettingsLeft.insert(result.printSettingsLeft.end(), s.notHeld.begin(), s.notHeld.end());
}

// Whether any column header has a text of its own (not just the letters the grid may show).
bool hasNamedHeaders(HWND grid, int cols)
{
    for (int c = 1; c <= cols; ++c)
        if (SSGetDataLen(grid, c, 0) > 0)
            return true;
    return false;
}

} // namespace

XlsxExportResult exportSheetToXlsx(HWND grid, const std::string& path, const XlsxExportOptions& exportOptions)
{
    XlsxExportResult result;
    const int rows = SSGetMaxRows(grid), cols = SSGetMaxCols(grid);
    if (rows < 0 || cols < 0) {
        result.error = "no sheet to export";
        return result;
    }
    const bool header = hasNamedHeaders(grid, cols);
    if (cols > kXlsxMaxCols) {
        result.error = "the sheet has " + std::to_string(cols) + " columns; an .xlsx sheet holds at most " +
                       std::to_string(kXlsxMaxCols);
        return result;
    }
    if (rows + (header ? 1 : 0) > kXlsxMaxRows) {
        result.error = "the sheet has " + std::to_string(rows) + " rows" + (header ? " and a header row" : "") +
                       "; an .xlsx sheet holds at most " + std::to_string(kXlsxMaxRows);
        return result;
    }
    // Joined blocks decide the mode: libxlsxwriter's constant-memory mode writes row by row and
    // cannot take a block reaching into rows below, so sheets with blocks are built in memory.
    std::set<std::pair<int, int>> anchors;
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c)
            if (SSGetCellSpan(grid, c, r, nullptr, nullptr, nullptr, nullptr) == SS_SPAN_ANCHOR)
                anchors.emplace(c, r);

    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        result.error = "cannot write \"" + path + "\": " + std::strerror(errno);
        return result;
    }
    // mkstemp's file is private to its owner; the workbook is for the office to read.
    ::fchmod(fd, 0644);
    ::close(fd);
    TempFile temp{pattern};

    const CNumbersOnThisThread cNumbers;
    lxw_workbook_options options{};
    options.constant_memory = anchors.empty() ? LXW_TRUE : LXW_FALSE;
    std::string tmpdir = folder.string();
    options.tmpdir = tmpdir.data();
    lxw_workbook* book = workbook_new_opt(temp.path.c_str(), &options);
    if (!book) {
        result.error = "cannot write \"" + path + "\": the workbook cannot be created";
        return result;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet1");
    writePageSetup(grid, sheet, cols, header, exportOptions, result);
    Writer writer(grid, book, sheet, result);
    writer.setShape(cols, rows, header, SSGetRefStyle(grid) == SS_REFSTYLE_R1C1);
    writer.write(anchors);
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        result.error = "cannot write \"" + path + "\": " + lxw_strerror(closed);
        result.lastValueCells.clear();
        result.printSettingsLeft.clear();
        return result;
    }
    if (!syncPath(temp.path, false) || std::rename(temp.path.c_str(), path.c_str()) != 0) {
        result.error = "cannot write \"" + path + "\": " + std::strerror(errno);
        result.lastValueCells.clear();
        result.printSettingsLeft.clear();
        return result;
    }
    temp.keep = true;
    syncPath(folder.string(), true);
    result.headerRow = header;
    result.ok = true;
    return result;
}

std::string lastValueNotice(const XlsxExportResult& result)
{
    if (result.lastValueCells.empty())
        return std::string();
    std::string line = std::to_string(result.lastValueCells.size()) +
                       (result.lastValueCells.size() == 1 ? " cell" : " cells") +
                       " written as the last value, their formulas use what an .xlsx file lacks: ";
    for (size_t i = 0; i < result.lastValueCells.size(); ++i)
        line += (i ? ", " : "") + result.lastValueCells[i];
    return line;
}

std::string printSettingsNotice(const XlsxExportResult& result)
{
    if (result.printSettingsLeft.empty())
        return std::string();
    std::string line = "print settings an .xlsx file cannot hold, left out: ";
    for (size_t i = 0; i < result.printSettingsLeft.size(); ++i)
        line += (i ? "; " : "") + result.printSettingsLeft[i];
    return line;
}

} // namespace kxxlsx
