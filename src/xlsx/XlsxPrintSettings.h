// A sheet's print settings as an .xlsx page setup: margins in inches, paper and orientation,
// fit-to-width, grid lines, the repeated header row, and the header and footer texts in the
// format's section and page codes. What the format cannot hold is named, never dropped unseen.
#pragma once

#include "print/SheetPrint.h"

#include <string>
#include <vector>

namespace kxxlsx {

// libxlsxwriter's paper numbers.
inline constexpr int kXlsxPaperLetter = 1;
inline constexpr int kXlsxPaperA4 = 9;
// The most characters an .xlsx header or footer holds.
inline constexpr size_t kXlsxHeaderFooterMax = 255;

struct XlsxPageSetup {
    // Inches. The cells start below the header's lines, as printed; the header itself sits at the
    // printed top margin (the footer likewise at the bottom).
    double left = 0, right = 0, top = 0, bottom = 0, header = 0, footer = 0;
    int paper = 0;  // 0: left to the reader
    bool landscape = false;
    bool fitToWidth = false;
    bool printGridLines = false;
    bool repeatHeaderRow = false;   // the file's first row on every page
    bool printHeadings = false;     // the file's column letters and row numbers
    std::string headerText, footerText;  // empty: none
    // Each setting the format cannot hold, as the user knows it: "border around the cells".
    std::vector<std::string> notHeld;
};

// The page setup of `options`. `headerRow`: the file's first row holds the sheet's column
// headers. `paperKnown`: options.page's paper and orientation were chosen, not defaults.
// `sheetPixels`: the printed columns' width on screen (with the row headers when printed); smart
// print fits a sheet to the width only where printing would, not below kMinSmartScale.
XlsxPageSetup xlsxPageSetup(const kxprint::PrintOptions& options, bool headerRow, bool paperKnown,
                            long long sheetPixels);

// A header or footer in the format's codes: each line's left, centre and right parts joined into
// the "&L", "&C" and "&R" sections, "&P" and "&N" for the page number and count, print variables
// filled in, "&" doubled, and the font of the printed header lines. Empty for an empty block.
std::string xlsxHeaderFooter(const kxprint::HeaderFooter& block, const kxprint::PrintOptions& options);

} // namespace kxxlsx
