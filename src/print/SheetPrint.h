// The printed pages of a sheet: the page plan (which columns and rows go on which page, at which
// scale) and the drawing of one page as a list of drawing calls in page dots (PageSetup.h). Works on
// a grid window through the grid's SS functions; turning the calls into PDF is PdfPages' (Qt).
#pragma once

#include "print/HeaderFooter.h"
#include "print/PageSetup.h"

#include "platform/win/DrawingContext.h"
#include "platform/win/WinTypes.h"

#include <string>
#include <vector>

class SheetSettings;

namespace kxprint {

// What a sheet prints with, taken from its settings record.
struct PrintOptions {
    PageSetup page;
    bool smartPrint = true;      // scale the sheet down to the page width when that is not below kMinSmartScale
    bool colors = true;          // cell colours; off: white cells, black text
    bool colHeader = true;       // the column headers on top of every page
    bool rowHeader = true;       // the row headers left of every page
    bool cellSeparators = true;  // grid lines
    bool border = true;          // a frame around the printed cells of each page
    std::string fontFace = "Tahoma";
    int textHeight = 13;         // of the header and footer lines, in screen pixels
    HeaderFooter header;
    HeaderFooter footer;
    PrintVariables variables;
};

// Smart print never shrinks below half size: a sheet that would need more is split across pages
// at full size, because text at less than half its size is no longer readable on paper.
inline constexpr double kMinSmartScale = 0.5;

// The options of a settings record on a page setup: margins, switches, default font and height,
// variables. The header and footer are left empty; the caller reads their files (their names need
// resolving against the sheet's folder first).
PrintOptions optionsFromSettings(const SheetSettings& settings, const PageSetup& page);

struct Band {
    int first = 0;
    int last = 0;
};

class SheetPrint {
public:
    // Reads the sizes of `grid` and plans the pages. The grid must outlive the object; cells are read
    // again when a page is drawn, so a page always shows the cells as they are then.
    SheetPrint(HWND grid, PrintOptions options);

    int pageCount() const { return static_cast<int>(m_colBands.size() * m_rowBands.size()); }
    // Pages go across, then down: page p shows row band p / columnBands and column band p % columnBands.
    const std::vector<Band>& columnBands() const { return m_colBands; }
    const std::vector<Band>& rowBands() const { return m_rowBands; }
    // Page dots per screen pixel of the grid (smart print makes it smaller than kDotsPerInch / 96).
    double scale() const { return m_scale; }
    int pageWidthDots() const { return m_pageWidth; }
    int pageHeightDots() const { return m_pageHeight; }
    const PrintOptions& options() const { return m_options; }

    // The drawing calls of page `index` (0-based), on a white page; empty for an index out of range.
    std::vector<kxwin::DrawOp> renderPage(int index) const;

private:
    int colWidth(int col) const;  // dots
    int rowHeight(int row) const;
    int headerBlockHeight(const HeaderFooter& block) const;
    void drawHeaderFooter(std::vector<kxwin::DrawOp>& ops, const HeaderFooter& block, int top, int page) const;
    void planColumns(int width);

    HWND m_grid = nullptr;
    PrintOptions m_options;
    int m_lastCol = 0;
    int m_lastRow = 0;
    std::vector<int> m_colPixels;  // [0] is the row-header column
    std::vector<int> m_rowPixels;  // [0] is the column-header row
    double m_scale = 1.0;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    int m_gridLeft = 0;
    int m_gridTop = 0;
    int m_rightEdge = 0;  // of the printable area
    int m_footerTop = 0;
    std::vector<Band> m_colBands;
    std::vector<Band> m_rowBands;
};

// The settings' header or footer file name made a path to read: empty stays empty; an absolute
// name stays; a relative one is looked for beside `sheetPath`, then in the settings folder (the
// path beside the sheet when neither exists, so the error names it).
std::string headerFooterPath(const std::string& name, const std::string& sheetPath);

} // namespace kxprint
