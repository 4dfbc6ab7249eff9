// The PDF writer a backend offers: the module draws pages as recorded drawing calls and hands them
// here; a backend that can write PDF (the Qt backend) registers itself when it is loaded. The
// headless backend has none, so printing there reports that it is not available.
#pragma once

#include "platform/win/DrawingContext.h"
#include "platform/win/KxWinExport.h"

#include <functional>
#include <string>
#include <vector>

namespace kxwin {

struct PdfDocument {
    double widthMm = 210.0;
    double heightMm = 297.0;
    int dotsPerInch = 300;  // the unit of the drawing calls
    std::string title;
    int pageCount = 0;
    std::function<std::vector<DrawOp>(int)> page;  // the calls of page i, 0-based
};

// Writes `document` to `path`; false with the reason in `error`.
using PdfWriter = bool (*)(const std::string& path, const PdfDocument& document, std::string* error);

// The writer in use (null: none); setting null removes it.
KXWIN_API void setPdfWriter(PdfWriter writer);
KXWIN_API PdfWriter pdfWriter();

// Draws one page of `document` (its size and unit; pageCount and page are not used) from its calls
// into a picture of `width` by `height` pixels on white: what a print preview shows. A backend
// that can rasterise text offers one; empty pixels when it cannot draw now.
using PagePixelsRenderer = BitmapPixels (*)(const PdfDocument& document, const std::vector<DrawOp>& ops, int width,
                                            int height);
KXWIN_API void setPagePixelsRenderer(PagePixelsRenderer renderer);
KXWIN_API PagePixelsRenderer pagePixelsRenderer();

} // namespace kxwin
