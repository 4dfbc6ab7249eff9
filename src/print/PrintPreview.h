// What a print preview shows: which of the planned pages, at which zoom, and how large the page's
// picture is on screen. No window here; the editor's preview window drives it.
#pragma once

#include "print/PageSetup.h"

#include <string>

namespace kxprint {

// Zoom steps in percent of the paper's real size on a 96-dpi screen.
inline constexpr int kPreviewZooms[] = {25, 50, 75, 100, 150, 200, 300, 400};
inline constexpr int kPreviewDefaultZoom = 50;

class PreviewState {
public:
    // At least one page is always shown (an empty sheet still prints one blank page).
    explicit PreviewState(int pageCount, int zoomPercent = kPreviewDefaultZoom);

    int page() const { return m_page; }  // 0-based
    int pageCount() const { return m_pageCount; }
    int zoom() const { return kPreviewZooms[m_zoom]; }

    bool canGoBack() const { return m_page > 0; }
    bool canGoForward() const { return m_page + 1 < m_pageCount; }
    bool canZoomIn() const;
    bool canZoomOut() const { return m_zoom > 0; }
    // Each moves one step; false, with nothing changed, at the first or last page or zoom.
    bool back();
    bool forward();
    bool zoomIn();
    bool zoomOut();

    // `format` with %1 replaced by the page number (1-based) and %2 by the page count.
    std::string pageText(const std::string& format) const;
    // The page's size on screen in pixels at the current zoom.
    int pixelsWide(const PageSetup& setup) const;
    int pixelsHigh(const PageSetup& setup) const;

private:
    int m_pageCount = 1;
    int m_page = 0;
    int m_zoom = 0;  // index into kPreviewZooms
};

} // namespace kxprint
