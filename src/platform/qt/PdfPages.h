// Pages of recorded drawing calls written as a PDF file with Qt's PDF writer. No Qt type appears
// here; the caller draws its pages into kxwin::DrawOp lists in dots of the given resolution.
#pragma once

#include "platform/qt/KxQtExport.h"
#include "platform/win/DrawingContext.h"

#include <functional>
#include <string>
#include <vector>

namespace kxqt {

struct PdfPageFormat {
    double widthMm = 210.0;
    double heightMm = 297.0;
    int dotsPerInch = 300;  // the unit of the drawing calls
    std::string title;      // the document's title in its properties
};

// Writes `pageCount` pages, page i drawn from page(i), to `path` through the one save routine (a
// failed write leaves an old file as it was). Qt must be started (startQt). False with the reason
// in `error` when Qt is not started, there are no pages, or the file cannot be written.
KXQT_API bool writePdfPages(const std::string& path, const PdfPageFormat& format, int pageCount,
                            const std::function<std::vector<kxwin::DrawOp>(int)>& page, std::string* error);

// Draws one page of calls into a picture of `width` by `height` pixels, scaled from the page
// size, on white: what a preview shows. Empty pixels when Qt is not started.
KXQT_API kxwin::BitmapPixels renderPagePixels(const PdfPageFormat& format, const std::vector<kxwin::DrawOp>& ops,
                                              int width, int height);

} // namespace kxqt
